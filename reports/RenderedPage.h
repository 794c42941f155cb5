#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <functional>

class QPainter;

// One rendered page: what is drawn where, in the report's pixels from the
// page's top left corner, together with the resolution those pixels belong
// to. Painting maps it onto any device at its physical size, so the same page
// serves the preview on screen and the printer.
class TRenderedPage {
public:
    TRenderedPage() = default;
    TRenderedPage(const QSizeF &sizePx, int dpiX, int dpiY);

    QSizeF SizePx() const { return FSizePx; }
    int DpiX() const { return FDpiX; }
    int DpiY() const { return FDpiY; }

    // The page's physical size in inches.
    QSizeF SizeInches() const;

    // Paints a drawing into `box`, given in the device's pixels.
    using TDraw = std::function<void(QPainter &painter, const QRectF &box)>;

    void AddText(const QRectF &box, const QString &text, const QFont &font, const QColor &color);
    void AddRect(const QRectF &box, const QColor &color);
    void AddPicture(const QRectF &box, const TDraw &draw);

    struct TItem {
        QRectF Box;
        QString Text; // empty for a filled rectangle or a picture
        QFont Font;
        QColor Color;
        TDraw Draw; // set for a picture
    };
    const QList<TItem> &Items() const { return FItems; }

    // Paints the page with its top left corner at `topLeft` (device pixels)
    // at physical size on the painter's device.
    void Paint(QPainter &painter, const QPointF &topLeft) const;

private:
    QSizeF FSizePx;
    int FDpiX = 96;
    int FDpiY = 96;
    QList<TItem> FItems;
};

using TRenderedPages = QList<TRenderedPage>;
