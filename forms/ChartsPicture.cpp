#include "forms/ChartsPicture.h"

#include "export/ExportTypes.h"
#include "forms/PeriodCharts.h"

#include <QApplication>
#include <QBuffer>
#include <QChart>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include <tuple>

TChartsPicture::TChartsPicture(const TChartSeries &series, TRecordType cates, QSize size,
                               TArrange arrange, const QString &heading)
    : FSize(size), FScene(std::make_unique<QGraphicsScene>()) {
    FScene->setSceneRect(0, 0, size.width(), size.height());
    FScene->setBackgroundBrush(Qt::white);
    int top = 0;
    if (!heading.isEmpty()) {
        auto *text = FScene->addSimpleText(heading);
        QFont font = QApplication::font();
        font.setPixelSize(14);
        font.setBold(true);
        text->setFont(font);
        text->setBrush(Qt::black);
        text->setPos((size.width() - text->boundingRect().width()) / 2, 6);
        top = int(text->boundingRect().height()) + 12;
    }
    const int height = size.height() - top;
    QRect catesBox, barsBox;
    if (arrange == TArrange::SideBySide) {
        // The donut with its legend needs less room than the bars.
        const int catesWidth = size.width() * 9 / 20;
        catesBox = QRect(0, top, catesWidth, height);
        barsBox = QRect(catesWidth, top, size.width() - catesWidth, height);
    } else {
        const int catesHeight = height * 9 / 20;
        catesBox = QRect(0, top, size.width(), catesHeight);
        barsBox = QRect(0, top + catesHeight, size.width(), height - catesHeight);
    }
    QChart *catesChart = TPeriodCharts::NewChart();
    TPeriodCharts::ShowCates(catesChart, series, cates, true, catesBox.width());
    QChart *barsChart = TPeriodCharts::NewChart();
    TPeriodCharts::ShowBars(barsChart, series, barsBox.width());
    QFont titleFont = QApplication::font();
    titleFont.setPixelSize(13);
    titleFont.setBold(true);
    for (const auto &[chart, box, title] :
         {std::tuple{catesChart, catesBox, TPeriodCharts::CatesTitle(cates)},
          {barsChart, barsBox, TPeriodCharts::BarsTitle(series)}}) {
        // Each chart under its title.
        auto *text = FScene->addSimpleText(title, titleFont);
        text->setBrush(Qt::black);
        text->setPos(box.left() + (box.width() - text->boundingRect().width()) / 2, box.top() + 4);
        const int below = int(text->boundingRect().height()) + 8;
        FScene->addItem(chart);
        chart->setPos(box.left(), box.top() + below);
        chart->resize(box.width(), box.height() - below);
    }
}

TChartsPicture::~TChartsPicture() = default;

void TChartsPicture::Paint(QPainter &painter, const QRectF &target) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    FScene->render(&painter, target, QRectF(QPointF(0, 0), FSize), Qt::IgnoreAspectRatio);
}

QByteArray TChartsPicture::Png() const {
    QImage image(FSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        Paint(painter, QRectF(QPointF(0, 0), FSize));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        throw TExportError(QCoreApplication::translate(
            "TChartsPicture", "The charts could not be made into a PNG image."));
    return bytes;
}

QByteArray TChartsPicture::Svg() const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(FSize);
    generator.setViewBox(QRect(QPoint(0, 0), FSize));
    generator.setTitle(QStringLiteral("Ledgerly charts"));
    QPainter painter;
    if (!painter.begin(&generator))
        throw TExportError(QCoreApplication::translate(
            "TChartsPicture", "The charts could not be made into an SVG drawing."));
    Paint(painter, QRectF(QPointF(0, 0), FSize));
    if (!painter.end() || bytes.isEmpty())
        throw TExportError(QCoreApplication::translate(
            "TChartsPicture", "The charts could not be made into an SVG drawing."));
    // The generator gives the drawing's size in millimetres, which readers
    // turn into pixels at differing resolutions; in pixels it is the size
    // asked for in every reader.
    static const QRegularExpression size(QStringLiteral("<svg width=\"[^\"]*\" height=\"[^\"]*\""));
    const qsizetype head = bytes.indexOf('>', bytes.indexOf("<svg"));
    QString start = QString::fromUtf8(bytes.left(head));
    start.replace(
        size,
        QStringLiteral("<svg width=\"%1\" height=\"%2\"").arg(FSize.width()).arg(FSize.height()));
    return start.toUtf8() + bytes.mid(head);
}
