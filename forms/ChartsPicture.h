#pragma once

#include "export/ChartSeries.h"

#include <QByteArray>
#include <QRectF>
#include <QSize>
#include <QString>

#include <memory>

class QGraphicsScene;
class QPainter;

// Both charts of a period laid out on one picture of a given size, away
// from any window: side by side for a picture file, one above the other for
// an A4 page. Each chart has its title; `heading` (user and period) is
// written above them when not empty.
class TChartsPicture {
public:
    enum class TArrange { SideBySide, Stacked };

    TChartsPicture(const TChartSeries &series, TRecordType cates, QSize size, TArrange arrange,
                   const QString &heading = QString());
    ~TChartsPicture();
    TChartsPicture(const TChartsPicture &) = delete;
    TChartsPicture &operator=(const TChartsPicture &) = delete;

    QSize Size() const { return FSize; }

    // Draws the picture stretched into `target` (device pixels of the
    // painter's device); lines and texts stay vectors.
    void Paint(QPainter &painter, const QRectF &target) const;

    // The picture as a PNG image or an SVG drawing of Size(), on white.
    // Throw TExportError when the picture cannot be made.
    QByteArray Png() const;
    QByteArray Svg() const;

private:
    QSize FSize;
    std::unique_ptr<QGraphicsScene> FScene;
};
