#pragma once

#include "export/ChartSeries.h"

#include <QColor>
#include <QCoreApplication>
#include <QList>
#include <QString>

class QChart;

// Builds the two charts of a searched period from its chart series, the
// same for the screen, the saved picture and the printed page:
// - the category donut: one slice per category (or "Other") in list order,
//   each in the legend with its share (and amount, where there is room),
//   the type and its total in the hole, or one line saying there is
//   nothing of that type;
// - the income and expense bars of every day or month with the net as a
//   line, on an amount axis labelled as the lists write amounts.
// The legends and the texts in the donut are plain text items of the
// program's own, and all texts have pixel sizes, so a chart drawn on paper
// or into a file keeps the proportions it has on the screen.
class TPeriodCharts {
    Q_DECLARE_TR_FUNCTIONS(TPeriodCharts)

public:
    // The fixed palette of the slices: neighbours differ in hue and in
    // lightness, so they stay apart in print and for red-green blindness.
    static const QList<QColor> &SlicePalette();
    static QColor OtherColor();
    static QColor IncomeColor();
    static QColor ExpenseColor();
    static QColor NetColor();
    // The colour of each slice: the palette in turn, Other in grey, and the
    // last slice never in the colour of the first one it touches.
    static QList<QColor> SliceColors(const QList<TChartSlice> &slices);

    // "Food: 120.50 (12.05%)"; without the amount "Food (12.05%)". With
    // `translated`, the slice of the small categories is named in the
    // user's language.
    static QString SliceText(const TChartSlice &slice, qint64 typeCents, bool amount = true,
                             bool translated = false);
    // The bar's day "MM/dd/yyyy" or month "MM/yyyy" and its three figures,
    // one per line, in the user's language (a tooltip).
    static QString BarText(const TChartBar &bar, bool byDay);

    // A new chart with the look of the program's charts and nothing on it
    // yet (the caller owns it). The words drawn on a `translated` chart are
    // in the user's language (a window's chart); otherwise they stay in the
    // program's English, as in every file and printout it makes.
    static QChart *NewChart(bool translated = false);
    // Puts the donut of the type's categories, or the bars of the period, on
    // `chart`, in place of whatever an earlier call put there (the chart,
    // its series and axes stay and take the new values, which costs far
    // less than a new chart). The donut's legend gives the amounts too when
    // there is room for them (`amounts`); the screen leaves them to the
    // tooltips. `width` is the width the chart is laid out for, to size the
    // legend and to space the labels of the bars.
    static void ShowCates(QChart *chart, const TChartSeries &series, TRecordType type, bool amounts,
                          int width);
    // With `budgetCents` (one amount per bar), the budget of each bar is drawn
    // beside it as a step line; without, no such line is shown.
    static void ShowBars(QChart *chart, const TChartSeries &series, int width,
                         const QList<qint64> &budgetCents = {});

    // "Expenses by category", "Income and expenses by month", ...
    static QString CatesTitle(TRecordType type);
    static QString BarsTitle(const TChartSeries &series);
};
