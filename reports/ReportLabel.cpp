#include "reports/ReportLabel.h"

#include "reports/PageReport.h"
#include "reports/RenderedPage.h"
#include "reports/ReportBand.h"
#include "reports/ReportMetrics.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>
#include <QList>

#include <cmath>

namespace {

// A paint device with the given resolution, so that fonts given in points
// are measured at that resolution whatever the screen's.
QImage MeasuringDevice(int dpiX, int dpiY) {
    QImage image(1, 1, QImage::Format_ARGB32);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpiX / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dpiY / 0.0254)));
    return image;
}

// Building a printout measures tens of thousands of labels in a handful of
// fonts; font metrics are made once per font and resolution and then found
// again by a short linear search. The cache is emptied when the application
// object goes, before the fonts do.
struct TMetricsEntry {
    QFont Font;
    int DpiX;
    int DpiY;
    QFontMetrics Metrics;
};
QList<TMetricsEntry> *metricsCache = nullptr;

void DropMetricsCache() {
    delete metricsCache;
    metricsCache = nullptr;
}

QFontMetrics MetricsFor(const QFont &font, int dpiX, int dpiY) {
    if (!metricsCache) {
        metricsCache = new QList<TMetricsEntry>;
        qAddPostRoutine(DropMetricsCache);
    }
    for (const TMetricsEntry &entry : std::as_const(*metricsCache))
        if (entry.DpiX == dpiX && entry.DpiY == dpiY && entry.Font == font)
            return entry.Metrics;
    const QImage device = MeasuringDevice(dpiX, dpiY);
    const QFontMetrics metrics(font, &device);
    // Few fonts are ever used; should many come, the oldest make room.
    if (metricsCache->size() >= 32)
        metricsCache->removeFirst();
    metricsCache->append(TMetricsEntry{font, dpiX, dpiY, metrics});
    return metrics;
}

} // namespace

TReportLabel::TReportLabel() {
    FFont.setFamily("Tahoma");
    FFont.setStyleHint(QFont::SansSerif);
    FFont.setPointSize(8);
    UpdateSize();
}

void TReportLabel::SetCaption(const QString &caption) {
    FCaption = caption;
    UpdateSize();
}

void TReportLabel::SetFont(const QFont &font) {
    FFont = font;
    UpdateSize();
}

void TReportLabel::SetFontName(const QString &family) {
    FFont.setFamily(family);
    UpdateSize();
}

void TReportLabel::SetFontSize(int points) {
    FFont.setPointSize(points);
    UpdateSize();
}

void TReportLabel::SetFontBold(bool bold) {
    FFont.setBold(bold);
    UpdateSize();
}

void TReportLabel::SetAutoSize(bool autoSize) {
    FAutoSize = autoSize;
    UpdateSize();
}

QSize TReportLabel::MeasureText(const QFont &font, const QString &text, int dpiX, int dpiY) {
    const QFontMetrics metrics = MetricsFor(font, dpiX, dpiY);
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

void TReportLabel::UpdateSize() {
    if (!FAutoSize)
        return;
    int dpiX = 0;
    int dpiY = 0;
    if (Parent() && Parent()->Report()) {
        dpiX = Parent()->Report()->DpiX();
        dpiY = Parent()->Report()->DpiY();
    } else {
        dpiX = TReportMetrics::ScreenDpi(Qt::Horizontal);
        dpiY = TReportMetrics::ScreenDpi(Qt::Vertical);
    }
    const QSize size = MeasureText(FFont, FCaption, dpiX, dpiY);
    FWidth = size.width();
    FHeight = size.height();
}

void TReportLabel::Render(TRenderedPage &page, const QPointF &origin) const {
    const QRectF box(origin.x() + FLeft, origin.y() + FTop, FWidth, FHeight);
    if (!Transparent)
        page.AddRect(box, Color);
    if (!FCaption.isEmpty())
        page.AddText(box, FCaption, FFont, FontColor);
}
