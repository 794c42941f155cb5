#include "forms/PeriodCharts.h"

#include "store/AmountText.h"

#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QSignalBlocker>
#include <QValueAxis>

#include <algorithm>

namespace {

constexpr int kTextPx = 11;
constexpr int kHolePx = 13;
constexpr qreal kPieSize = 0.9;
constexpr qreal kHoleSize = 0.55;

// Charts in a window speak the user's language; those of a picture file or
// a printout keep the program's own words, as the exports do.
const char *const kTranslated = "ledgerlyTranslated";

QString Word(const QChart *chart, const char *english) {
    return chart->property(kTranslated).toBool()
               ? QCoreApplication::translate("TPeriodCharts", english)
               : QString::fromUtf8(english);
}

QFont TextFont(int pixels, bool bold = false) {
    QFont font = QApplication::font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// What a fill put on a chart besides its series and axes: text and boxes
// drawn by the program, and the connections that keep them in place. They
// carry this mark and are owned by one object that a new fill deletes.
constexpr int kDrawnKey = 0;
const char *const kDrawnOwner = "ledgerlyDrawn";

QObject *NewDrawnOwner(QChart *chart) {
    auto *owner = new QObject(chart);
    owner->setObjectName(QLatin1String(kDrawnOwner));
    return owner;
}

template <class Item> Item *Drawn(Item *item) {
    item->setData(kDrawnKey, true);
    return item;
}

// Takes away what an earlier fill put on `chart` besides its series.
void ClearDrawn(QChart *chart) {
    delete chart->findChild<QObject *>(QLatin1String(kDrawnOwner), Qt::FindDirectChildrenOnly);
    const QList<QGraphicsItem *> items = chart->childItems();
    for (QGraphicsItem *item : items)
        if (item->data(kDrawnKey).toBool())
            delete item;
}

// Lines of text centred on the middle of the plot area, kept there as the
// chart is laid out. With `fitHole`, the font shrinks until the lines fit
// the hole of the donut.
void AddCentreText(QChart *chart, QObject *owner, const QStringList &texts, bool fitHole) {
    QList<QGraphicsSimpleTextItem *> lines;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        auto *line = Drawn(new QGraphicsSimpleTextItem(texts.at(i), chart));
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
    QObject::connect(chart, &QChart::plotAreaChanged, owner, place);
    place();
}

// The legend of the donut at its right: per slice a box in its colour and
// its text, as many lines as the height holds (the last one then says how
// many more there are). Plain text items: the chart's own legend measures
// every text as a rich-text document on each layout, which made a donut of
// many categories slow to show.
// A text too long for the legend's part of `chartWidth` (at most 45 %) is
// cut short with "…".
void AddSliceLegend(QChart *chart, QObject *owner, QStringList texts, const QList<QColor> &colors,
                    int chartWidth) {
    const QFont font = TextFont(kTextPx);
    const QFontMetrics metrics(font);
    const int box = 8, gap = 6, lineHeight = metrics.height() + 3;
    const int widest = std::max(60, chartWidth * 45 / 100 - box - gap);
    const QString more = Word(chart, QT_TRANSLATE_NOOP("TPeriodCharts", "... %1 more"));
    int textWidth = metrics.horizontalAdvance(more.arg(texts.size()));
    for (QString &text : texts) {
        int w = metrics.horizontalAdvance(text);
        if (w > widest) {
            text = metrics.elidedText(text, Qt::ElideMiddle, widest);
            w = metrics.horizontalAdvance(text);
        }
        textWidth = std::max(textWidth, w);
    }
    const int width = box + gap + textWidth;
    chart->setMargins(QMargins(4, 4, width + 16, 4));

    QList<std::pair<QGraphicsRectItem *, QGraphicsSimpleTextItem *>> lines;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        auto *mark = Drawn(new QGraphicsRectItem(0, 0, box, box, chart));
        mark->setBrush(colors.at(i));
        mark->setPen(Qt::NoPen);
        auto *text = Drawn(new QGraphicsSimpleTextItem(texts.at(i), chart));
        text->setFont(font);
        text->setBrush(Qt::black);
        lines.append({mark, text});
    }
    auto *rest = Drawn(new QGraphicsSimpleTextItem(chart));
    rest->setFont(font);
    rest->setBrush(Qt::black);
    const auto place = [=] {
        const QRectF area = chart->plotArea();
        const qreal x = chart->size().width() - 4 - width;
        const qsizetype room = std::max<qsizetype>(1, qsizetype(area.height() / lineHeight));
        const qsizetype shown = lines.size() <= room ? lines.size() : room - 1;
        qreal y = area.center().y() - (shown < lines.size() ? shown + 1 : shown) * lineHeight / 2.0;
        const qreal textTop = (lineHeight - metrics.height()) / 2.0;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            lines.at(i).first->setVisible(i < shown);
            lines.at(i).second->setVisible(i < shown);
            if (i >= shown)
                continue;
            lines.at(i).first->setPos(x, y + (lineHeight - box) / 2.0);
            lines.at(i).second->setPos(x + box + gap, y + textTop);
            y += lineHeight;
        }
        rest->setVisible(shown < lines.size());
        rest->setText(more.arg(lines.size() - shown));
        rest->setPos(x + box + gap, y + textTop);
    };
    QObject::connect(chart, &QChart::plotAreaChanged, owner, place);
    place();
}

// Texts at places along an axis: days or months at their bars, amounts at
// their values.
using TAxisLabels = QList<std::pair<QString, qreal>>;

// The labels of both axes of the bars, drawn as plain text items as the
// legends are: each bar's label centred under it (`bars` bars), each
// amount's at the left of its grid line between `low` and `high`. The
// chart's own axis labels are laid out as rich text and again for every
// label changed.
void AddAxisLabels(QChart *chart, QObject *owner, const TAxisLabels &days, int bars,
                   const TAxisLabels &amounts, qreal low, qreal high) {
    const QFont font = TextFont(kTextPx);
    const QFontMetrics metrics(font);
    int amountWidth = 0;
    const auto texts = [&](const TAxisLabels &labels) {
        QList<std::pair<QGraphicsSimpleTextItem *, qreal>> items;
        for (const auto &[label, value] : labels) {
            auto *text = Drawn(new QGraphicsSimpleTextItem(label, chart));
            text->setFont(font);
            text->setBrush(Qt::black);
            items.append({text, value});
            amountWidth = std::max(amountWidth, metrics.horizontalAdvance(label));
        }
        return items;
    };
    const auto under = texts(days);
    amountWidth = 0;
    const auto beside = texts(amounts);
    // Room at the left for the amounts, under the plot for the days, above
    // it for the legend, and after the last bar.
    chart->setMargins(QMargins(amountWidth + 12, metrics.height() + 12, 12, metrics.height() + 6));
    const auto place = [chart, under, beside, bars, low, high] {
        const QRectF area = chart->plotArea();
        for (const auto &[text, bar] : under) {
            const qreal x = area.left() + (bar + 0.5) / bars * area.width();
            text->setPos(x - text->boundingRect().width() / 2, area.bottom() + 3);
        }
        for (const auto &[text, value] : beside) {
            const qreal y = area.bottom() - (value - low) / (high - low) * area.height();
            const QRectF box = text->boundingRect();
            text->setPos(area.left() - 6 - box.width(), y - box.height() / 2);
        }
    };
    QObject::connect(chart, &QChart::plotAreaChanged, owner, place);
    place();
}

// The legend above the bars: boxes for income and expenses, a line for the
// net and, while the budget line is shown, a dashed one in its pen, drawn as
// plain items as the donut's legend is. Made once per chart; the entries
// shown are centred above the plot.
void AddBarsLegend(QChart *chart, QLineSeries *budget) {
    const QFont font = TextFont(kTextPx);
    const QFontMetrics metrics(font);
    const int mark = 14, gap = 4, space = 16, lineHeight = metrics.height();
    struct TEntry {
        QGraphicsItem *Mark;
        QGraphicsSimpleTextItem *Text;
    };
    QList<TEntry> entries;
    const auto add = [&](QGraphicsItem *marker, const QString &caption) {
        auto *text = new QGraphicsSimpleTextItem(caption, chart);
        text->setFont(font);
        text->setBrush(Qt::black);
        entries.append({marker, text});
    };
    for (const auto &[color, caption] :
         {std::pair{TPeriodCharts::IncomeColor(),
                    Word(chart, QT_TRANSLATE_NOOP("TPeriodCharts", "Income"))},
          {TPeriodCharts::ExpenseColor(),
           Word(chart, QT_TRANSLATE_NOOP("TPeriodCharts", "Expenses"))}}) {
        auto *box = new QGraphicsRectItem(3, 3, 8, 8, chart);
        box->setBrush(color);
        box->setPen(QPen(color.darker(130), 1));
        add(box, caption);
    }
    auto *line = new QGraphicsLineItem(0, 7, mark, 7, chart);
    line->setPen(QPen(TPeriodCharts::NetColor(), 2));
    add(line, Word(chart, QT_TRANSLATE_NOOP("TPeriodCharts", "Net Income")));
    auto *budgetLine = new QGraphicsLineItem(0, 7, mark, 7, chart);
    budgetLine->setPen(budget->pen());
    add(budgetLine, Word(chart, QT_TRANSLATE_NOOP("TPeriodCharts", "Expense budget")));
    // Centred above the plot; in a narrow chart the entries move closer
    // and the legend keeps inside the chart's width.
    const auto place = [chart, entries, budget, lineHeight] {
        const bool budgeted = budget->isVisible();
        entries.last().Mark->setVisible(budgeted);
        entries.last().Text->setVisible(budgeted);
        const qsizetype shown = budgeted ? entries.size() : entries.size() - 1;
        qreal texts = 0;
        for (qsizetype i = 0; i < shown; ++i)
            texts += mark + gap + entries.at(i).Text->boundingRect().width();
        const qreal room = chart->size().width() - 8;
        const qreal between = std::clamp((room - texts) / qreal(shown - 1), 6.0, qreal(space));
        const qreal width = texts + between * qreal(shown - 1);
        const QRectF area = chart->plotArea();
        qreal x = std::max(4.0, std::min(area.center().x() - width / 2.0, 4.0 + room - width));
        const qreal y = area.top() - lineHeight - 8;
        for (qsizetype i = 0; i < shown; ++i) {
            entries.at(i).Mark->setPos(x, y + (lineHeight - mark) / 2.0);
            entries.at(i).Text->setPos(x + mark + gap, y);
            x += mark + gap + entries.at(i).Text->boundingRect().width() + between;
        }
    };
    QObject::connect(chart, &QChart::plotAreaChanged, chart, place);
    QObject::connect(budget, &QAbstractSeries::visibleChanged, chart, place);
    place();
}

// The income and expense bars, the net line and both axes on a new chart.
QBarSeries *SetUpBars(QChart *chart) {
    auto *in = new QBarSet(QStringLiteral("Income"));
    auto *out = new QBarSet(QStringLiteral("Expenses"));
    in->setColor(TPeriodCharts::IncomeColor());
    in->setBorderColor(TPeriodCharts::IncomeColor().darker(130));
    out->setColor(TPeriodCharts::ExpenseColor());
    out->setBorderColor(TPeriodCharts::ExpenseColor().darker(130));
    auto *bars = new QBarSeries;
    bars->setBarWidth(0.8);
    bars->append(in);
    bars->append(out);
    auto *net = new QLineSeries;
    net->setName(QStringLiteral("Net Income"));
    net->setPen(QPen(TPeriodCharts::NetColor(), 2));
    // The expense budget: a step line, hidden while there is none.
    auto *budget = new QLineSeries;
    budget->setObjectName(QStringLiteral("BudgetLine"));
    budget->setName(QStringLiteral("Expense budget"));
    budget->setPen(QPen(TPeriodCharts::ExpenseColor().darker(160), 2, Qt::DashLine));
    budget->setVisible(false);
    chart->addSeries(bars);
    chart->addSeries(net);
    chart->addSeries(budget);

    // Axes without labels of their own (see AddAxisLabels); the amounts have
    // grid lines at whole steps from zero.
    auto *x = new QValueAxis;
    x->setLabelsVisible(false);
    x->setGridLineVisible(false);
    x->setTickCount(2);
    auto *y = new QValueAxis;
    y->setLabelsVisible(false);
    y->setGridLinePen(QPen(QColor(0xD0, 0xD0, 0xD0), 1));
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickAnchor(0);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries *series : chart->series()) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
    AddBarsLegend(chart, budget);
    return bars;
}

QString DayOrMonthText(QDate first, bool byDay) {
    return first.toString(byDay ? QStringLiteral("MM/dd/yyyy") : QStringLiteral("MM/yyyy"));
}

} // namespace

QChart *TPeriodCharts::NewChart(bool translated) {
    auto *chart = new QChart;
    chart->setProperty(kTranslated, translated);
    // The white of the chart reaches the edges of its box.
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundRoundness(0);
    chart->setDropShadowEnabled(false);
    chart->setMargins(QMargins(4, 4, 4, 4));
    // No background of its own: the view and the picture under it are white
    // already, and a second white fill of the whole box cost a tenth of
    // every paint.
    chart->setBackgroundVisible(false);
    // The program draws the legends itself (see AddSliceLegend).
    chart->legend()->hide();
    return chart;
}

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

QString TPeriodCharts::SliceText(const TChartSlice &slice, qint64 typeCents, bool amount,
                                 bool translated) {
    const QString category = slice.Other && translated
                                 ? tr("Other", "the slice of the small categories")
                                 : slice.Category;
    if (!amount)
        return QStringLiteral("%1 (%2)").arg(category, ShareText(slice.Cents, typeCents));
    return QStringLiteral("%1: %2 (%3)")
        .arg(category, CentsText(slice.Cents), ShareText(slice.Cents, typeCents));
}

QString TPeriodCharts::BarText(const TChartBar &bar, bool byDay) {
    return tr("%1\nIncome: %2\nExpenses: %3\nNet Income: %4")
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

void TPeriodCharts::ShowCates(QChart *chart, const TChartSeries &series, TRecordType type,
                              bool amounts, int width) {
    ClearDrawn(chart);
    QObject *owner = NewDrawnOwner(chart);
    // One donut per chart, given new slices each time.
    auto *pie = chart->series().isEmpty()
                    ? nullptr
                    : qobject_cast<QPieSeries *>(chart->series().constFirst());
    if (!pie) {
        pie = new QPieSeries;
        pie->setPieSize(kPieSize);
        pie->setHoleSize(kHoleSize);
        chart->addSeries(pie);
    }
    const QList<TChartSlice> &slices = series.Slices(type);
    const qint64 total = series.TypeCents(type);
    const bool income = type == TRecordType::Income;
    // The slices of the last period are given the new values, and only the
    // difference is added or taken away: new slices cost the donut much
    // more than new values.
    if (slices.isEmpty())
        pie->clear();
    const QList<QPieSlice *> old = pie->slices();
    for (qsizetype i = old.size() - 1; i >= slices.size(); --i)
        pie->remove(old.at(i));
    const QList<QColor> colors = SliceColors(slices);
    QStringList texts;
    QList<QPieSlice *> added;
    // Every value a slice is given lays the whole donut out again, so the
    // slices kept are given theirs quietly; one value set aloud at the end
    // lays the donut out once with all of them (its shares and angles and
    // each slice's drawing come from the slices' values and looks).
    for (qsizetype i = 0; i < slices.size(); ++i) {
        texts.append(
            SliceText(slices.at(i), total, amounts, chart->property(kTranslated).toBool()));
        QPieSlice *slice = i < old.size() ? old.at(i) : new QPieSlice;
        const QSignalBlocker quiet(i < old.size() ? slice : nullptr);
        slice->setValue(double(slices.at(i).Cents));
        slice->setBrush(colors.at(i));
        // A white border keeps neighbours apart on paper too.
        slice->setPen(QPen(Qt::white, 1));
        slice->setLabelVisible(false);
        if (i >= old.size())
            added.append(slice);
    }
    if (const qsizetype kept = std::min(old.size(), slices.size()); kept > 0) {
        QPieSlice *last = old.at(kept - 1);
        const qreal value = last->value();
        {
            const QSignalBlocker quiet(last);
            last->setValue(value + 1);
        }
        last->setValue(value);
    }
    // All at once: each slice added alone lays the donut out again. The
    // slices carry no label: the donut's texts are the program's own legend
    // and tooltips, and a label would be measured as rich text on every
    // layout of the chart's hidden legend.
    pie->append(added);
    if (slices.isEmpty()) {
        chart->setMargins(QMargins(4, 4, 4, 4));
        AddCentreText(
            chart, owner,
            {income
                 ? Word(chart, QT_TRANSLATE_NOOP("TPeriodCharts", "No income in this period."))
                 : Word(chart, QT_TRANSLATE_NOOP("TPeriodCharts", "No expenses in this period."))},
            false);
        return;
    }
    AddSliceLegend(chart, owner, texts, colors, width);
    AddCentreText(chart, owner,
                  {income ? Word(chart, QT_TRANSLATE_NOOP("TPeriodCharts", "Income"))
                          : Word(chart, QT_TRANSLATE_NOOP("TPeriodCharts", "Expenses")),
                   CentsText(total)},
                  true);
}

void TPeriodCharts::ShowBars(QChart *chart, const TChartSeries &series, int width,
                             const QList<qint64> &budgetCents) {
    // The series and axes are made once per chart and then given new values:
    // taking series and axes off a chart leaves graphics items behind.
    auto *barSeries = chart->series().isEmpty()
                          ? nullptr
                          : qobject_cast<QBarSeries *>(chart->series().constFirst());
    if (!barSeries)
        barSeries = SetUpBars(chart);
    QBarSet *in = barSeries->barSets().at(0);
    QBarSet *out = barSeries->barSets().at(1);
    auto *net = qobject_cast<QLineSeries *>(chart->series().at(1));
    auto *x = qobject_cast<QValueAxis *>(chart->axes(Qt::Horizontal).constFirst());
    auto *y = qobject_cast<QValueAxis *>(chart->axes(Qt::Vertical).constFirst());
    ClearDrawn(chart);
    QObject *owner = NewDrawnOwner(chart);

    const QList<TChartBar> &bars = series.Bars();
    const bool byDay = series.ByDay();
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
    in->remove(0, in->count());
    in->append(inValues);
    out->remove(0, out->count());
    out->append(outValues);
    net->replace(netPoints);
    net->setPointsVisible(bars.size() <= 31);

    // The budget: a level line across each bar's width, steps between them.
    auto *budget = qobject_cast<QLineSeries *>(chart->series().at(2));
    const bool budgeted = !budgetCents.isEmpty() && budgetCents.size() == bars.size();
    qint64 reach = 0;
    QList<QPointF> steps;
    if (budgeted) {
        steps.reserve(2 * bars.size());
        for (qsizetype i = 0; i < bars.size(); ++i) {
            const double level = double(budgetCents.at(i)) / 100;
            steps << QPointF(double(i) - 0.5, level) << QPointF(double(i) + 0.5, level);
            reach = std::max(reach, budgetCents.at(i));
        }
    }
    budget->replace(steps);
    budget->setVisible(budgeted);

    // Days or months: as many labels as fit side by side.
    const auto axisText = [byDay](QDate first) {
        return first.toString(byDay ? QStringLiteral("MM/dd") : QStringLiteral("MM/yyyy"));
    };
    const int labelWidth =
        QFontMetrics(TextFont(kTextPx)).horizontalAdvance(axisText(QDate(2000, 12, 28))) + 12;
    const int room = std::max(1, (width - 90) / labelWidth);
    const int step = TChartSeries::LabelStep(int(bars.size()), room, byDay);
    TAxisLabels days;
    for (qsizetype i = 0; i < bars.size(); i += step)
        days.append({axisText(bars.at(i).First), double(i)});

    // Amounts written as the lists write them, at whole steps from the axis's
    // low end through zero to its high end.
    const TChartAxis range = series.AmountAxis(reach);
    TAxisLabels amounts;
    for (qint64 v = range.Min; v <= range.Max; v += range.Step)
        amounts.append({CentsText(v), double(v) / 100});

    // Each change of an axis lays the chart out at once: only what differs.
    const qreal low = double(range.Min) / 100, high = double(range.Max) / 100;
    if (x->min() != -0.5 || x->max() != double(bars.size()) - 0.5)
        x->setRange(-0.5, double(bars.size()) - 0.5);
    if (y->tickInterval() != double(range.Step) / 100)
        y->setTickInterval(double(range.Step) / 100);
    if (y->min() != low || y->max() != high)
        y->setRange(low, high);
    AddAxisLabels(chart, owner, days, int(bars.size()), amounts, low, high);
}
