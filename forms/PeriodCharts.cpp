#include "forms/PeriodCharts.h"

#include "store/AmountText.h"

#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>

#include <algorithm>

namespace {

constexpr int kTextPx = 11;
constexpr int kTitlePx = 13;
constexpr int kHolePx = 13;
constexpr qreal kPieSize = 0.9;
constexpr qreal kHoleSize = 0.55;

QFont TextFont(int pixels, bool bold = false) {
    QFont font = QApplication::font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QChart *NewChart(const QString &title) {
    auto *chart = new QChart;
    // The white of the chart reaches the edges of its box.
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundRoundness(0);
    chart->setDropShadowEnabled(false);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundPen(Qt::NoPen);
    chart->legend()->setFont(TextFont(kTextPx));
    chart->legend()->setLabelColor(Qt::black);
    chart->legend()->setShowToolTips(true);
    if (!title.isEmpty()) {
        chart->setTitleFont(TextFont(kTitlePx, true));
        chart->setTitleBrush(Qt::black);
        chart->setTitle(title);
    }
    return chart;
}

// Lines of text centred on the middle of the plot area, kept there as the
// chart is laid out. With `fitHole`, the font shrinks until the lines fit
// the hole of the donut.
void AddCentreText(QChart *chart, const QStringList &texts, bool fitHole) {
    QList<QGraphicsSimpleTextItem *> lines;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        auto *line = new QGraphicsSimpleTextItem(texts.at(i), chart);
        line->setBrush(Qt::black);
        line->setZValue(10);
        lines.append(line);
    }
    const auto place = [chart, lines, fitHole] {
        const QRectF area = chart->plotArea();
        const qreal room = std::min(area.width(), area.height()) * kPieSize * kHoleSize * 0.85;
        // Larger on a larger donut (paper, a picture file), smaller where
        // the total is long.
        const int largest = fitHole ? std::clamp(int(room / 6), kHolePx, 20) : kHolePx;
        for (int px = largest; px >= 7; --px) {
            qreal widest = 0;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                lines.at(i)->setFont(TextFont(px, fitHole && i > 0));
                widest = std::max(widest, lines.at(i)->boundingRect().width());
            }
            if (!fitHole || widest <= room)
                break;
        }
        qreal height = 0;
        for (const QGraphicsSimpleTextItem *line : lines)
            height += line->boundingRect().height();
        qreal y = area.center().y() - height / 2;
        for (QGraphicsSimpleTextItem *line : lines) {
            const QRectF box = line->boundingRect();
            line->setPos(area.center().x() - box.width() / 2, y);
            y += box.height();
        }
    };
    QObject::connect(chart, &QChart::plotAreaChanged, chart, place);
    place();
}

QString DayOrMonthText(QDate first, bool byDay) {
    return first.toString(byDay ? QStringLiteral("MM/dd/yyyy") : QStringLiteral("MM/yyyy"));
}

} // namespace

const QList<QColor> &TPeriodCharts::SlicePalette() {
    // Colours safe for the common colour-vision deficiencies, ordered so
    // that dark and light ones alternate.
    static const QList<QColor> palette = {
        QColor(0x00, 0x72, 0xB2), // blue
        QColor(0xE6, 0x9F, 0x00), // orange
        QColor(0x00, 0x9E, 0x73), // bluish green
        QColor(0xF0, 0xE4, 0x42), // yellow
        QColor(0xCC, 0x79, 0xA7), // reddish purple
        QColor(0x56, 0xB4, 0xE9), // sky blue
        QColor(0xD5, 0x5E, 0x00), // vermilion
        QColor(0x4D, 0x4D, 0x4D), // dark grey
    };
    return palette;
}

QColor TPeriodCharts::OtherColor() {
    return QColor(0xC8, 0xC8, 0xC8);
}
QColor TPeriodCharts::IncomeColor() {
    return QColor(0x00, 0x72, 0xB2);
}
QColor TPeriodCharts::ExpenseColor() {
    return QColor(0xE6, 0x9F, 0x00);
}
QColor TPeriodCharts::NetColor() {
    return QColor(0x1A, 0x1A, 0x1A);
}

QList<QColor> TPeriodCharts::SliceColors(const QList<TChartSlice> &slices) {
    const QList<QColor> &palette = SlicePalette();
    QList<QColor> colors;
    for (qsizetype i = 0; i < slices.size(); ++i)
        colors.append(slices.at(i).Other ? OtherColor() : palette.at(i % palette.size()));
    // The ring closes: the last slice also touches the first.
    const qsizetype last = colors.size() - 1;
    if (last >= 2 && colors.at(last) == colors.at(0)) {
        for (const QColor &color : palette) {
            if (color != colors.at(0) && color != colors.at(last - 1)) {
                colors[last] = color;
                break;
            }
        }
    }
    return colors;
}

QString TPeriodCharts::SliceText(const TChartSlice &slice, qint64 typeCents, bool amount) {
    if (!amount)
        return QStringLiteral("%1 (%2)").arg(slice.Category, ShareText(slice.Cents, typeCents));
    return QStringLiteral("%1: %2 (%3)")
        .arg(slice.Category, CentsText(slice.Cents), ShareText(slice.Cents, typeCents));
}

QString TPeriodCharts::BarText(const TChartBar &bar, bool byDay) {
    return QStringLiteral("%1\nIncome: %2\nExpenses: %3\nNet Income: %4")
        .arg(DayOrMonthText(bar.First, byDay), CentsText(bar.InCents), CentsText(bar.OutCents),
             CentsText(bar.NetCents()));
}

QString TPeriodCharts::CatesTitle(TRecordType type) {
    return type == TRecordType::Income ? QStringLiteral("Income by category")
                                       : QStringLiteral("Expenses by category");
}

QString TPeriodCharts::BarsTitle(const TChartSeries &series) {
    return series.ByDay() ? QStringLiteral("Income and expenses by day")
                          : QStringLiteral("Income and expenses by month");
}

QChart *TPeriodCharts::NewCatesChart(const TChartSeries &series, TRecordType type,
                                     const QString &title, bool amounts) {
    QChart *chart = NewChart(title);
    const QList<TChartSlice> &slices = series.Slices(type);
    const qint64 total = series.TypeCents(type);
    const bool income = type == TRecordType::Income;
    if (slices.isEmpty()) {
        chart->legend()->hide();
        AddCentreText(chart,
                      {income ? QStringLiteral("No income in this period.")
                              : QStringLiteral("No expenses in this period.")},
                      false);
        return chart;
    }

    auto *pie = new QPieSeries;
    pie->setPieSize(kPieSize);
    pie->setHoleSize(kHoleSize);
    const QList<QColor> colors = SliceColors(slices);
    for (qsizetype i = 0; i < slices.size(); ++i) {
        auto *slice =
            new QPieSlice(SliceText(slices.at(i), total, amounts), double(slices.at(i).Cents));
        slice->setBrush(colors.at(i));
        // A white border keeps neighbours apart on paper too.
        slice->setPen(QPen(Qt::white, 1.5));
        slice->setLabelVisible(false);
        pie->append(slice);
    }
    chart->addSeries(pie);
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->legend()->setMarkerShape(QLegend::MarkerShapeRectangle);
    AddCentreText(
        chart, {income ? QStringLiteral("Income") : QStringLiteral("Expenses"), CentsText(total)},
        true);
    return chart;
}

QChart *TPeriodCharts::NewBarsChart(const TChartSeries &series, int width, const QString &title) {
    QChart *chart = NewChart(title);
    // Room after the last bar, which the plot would otherwise end with.
    chart->setMargins(QMargins(4, 4, 12, 4));
    const QList<TChartBar> &bars = series.Bars();
    const bool byDay = series.ByDay();

    auto *in = new QBarSet(QStringLiteral("Income"));
    auto *out = new QBarSet(QStringLiteral("Expenses"));
    in->setColor(IncomeColor());
    in->setBorderColor(IncomeColor().darker(130));
    out->setColor(ExpenseColor());
    out->setBorderColor(ExpenseColor().darker(130));
    auto *net = new QLineSeries;
    net->setName(QStringLiteral("Net Income"));
    net->setPen(QPen(NetColor(), 2));
    net->setPointsVisible(bars.size() <= 31);
    QList<qreal> inValues, outValues;
    QList<QPointF> netPoints;
    inValues.reserve(bars.size());
    outValues.reserve(bars.size());
    netPoints.reserve(bars.size());
    for (qsizetype i = 0; i < bars.size(); ++i) {
        inValues.append(double(bars.at(i).InCents) / 100);
        outValues.append(double(bars.at(i).OutCents) / 100);
        netPoints.append(QPointF(double(i), double(bars.at(i).NetCents()) / 100));
    }
    in->append(inValues);
    out->append(outValues);
    net->append(netPoints);
    auto *barSeries = new QBarSeries;
    barSeries->setBarWidth(0.8);
    barSeries->append(in);
    barSeries->append(out);
    chart->addSeries(barSeries);
    chart->addSeries(net);

    // Days or months: as many labels as fit side by side.
    const QFont font = TextFont(kTextPx);
    auto *x = new QCategoryAxis;
    x->setLabelsFont(font);
    x->setLabelsColor(Qt::black);
    x->setGridLineVisible(false);
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    x->setStartValue(-0.5);
    x->setRange(-0.5, double(bars.size()) - 0.5);
    const auto axisText = [byDay](QDate first) {
        return first.toString(byDay ? QStringLiteral("MM/dd") : QStringLiteral("MM/yyyy"));
    };
    const int labelWidth = QFontMetrics(font).horizontalAdvance(axisText(QDate(2000, 12, 28))) + 12;
    const int room = std::max(1, (width - 90) / labelWidth);
    const int step = TChartSeries::LabelStep(int(bars.size()), room, byDay);
    for (qsizetype i = 0; i < bars.size(); i += step)
        x->append(axisText(bars.at(i).First), double(i));

    // Amounts written as the lists write them, at whole steps from the axis's
    // low end through zero to its high end.
    const TChartAxis range = series.AmountAxis();
    auto *y = new QCategoryAxis;
    y->setLabelsFont(font);
    y->setLabelsColor(Qt::black);
    y->setGridLinePen(QPen(QColor(0xD0, 0xD0, 0xD0), 1));
    y->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    y->setStartValue(double(range.Min) / 100);
    y->setRange(double(range.Min) / 100, double(range.Max) / 100);
    for (qint64 v = range.Min; v <= range.Max; v += range.Step)
        y->append(CentsText(v), double(v) / 100);

    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries *s : chart->series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    chart->legend()->setAlignment(Qt::AlignTop);
    // The net shows as a line in the legend, the bars as boxes.
    for (QLegendMarker *marker : chart->legend()->markers(net))
        marker->setShape(QLegend::MarkerShapeFromSeries);
    return chart;
}
