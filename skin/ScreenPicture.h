#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>

#include <optional>

class QWidget;

// Pictures of the program's resources at the resolution of the screen they
// are shown on.
//
// Each picture ":/NAME" comes with the same picture drawn twice as large,
// ":/NAME@2x". On a screen with more than one device pixel per pixel the
// large drawing is used, so that lines, gradients and diagonals are drawn
// with the screen's own pixels instead of being enlarged; at ratios other
// than 1 and 2 the drawing is scaled smoothly down (or up) to the screen's
// pixels. Either way the picture covers the same size in pixels as the plain
// one, so it is placed exactly as at 100 %.
class TScreenPicture {
public:
    // The drawing of `resource` made for `ratio`: the plain one up to a ratio
    // of 1, the large one above (the plain one when there is no large one).
    // `scale` receives 1 or 2. A null image when the resource is missing.
    static QImage Drawing(const QString &resource, qreal ratio, int *scale = nullptr);
    // The picture for a screen of `ratio`: round(size × ratio) device pixels
    // with that device pixel ratio. Pixels of colour `key` (in the drawing)
    // are transparent. A null pixmap when the resource is missing.
    static QPixmap Pixmap(const QString &resource, qreal ratio,
                          std::optional<QColor> key = std::nullopt);
    // Device pixels per pixel where `widget` is shown (the primary screen's
    // before it is shown).
    static qreal RatioOf(const QWidget *widget);
    // `image` with every pixel of colour `key` made transparent.
    static QImage Keyed(const QImage &image, QColor key);
    // Device pixels that `length` pixels cover at `ratio`.
    static int DeviceLength(int length, qreal ratio);
};
