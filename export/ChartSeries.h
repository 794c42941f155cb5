#pragma once

#include "store/Records.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// One slice of the category donut: a category of the period, or the
// categories too small to tell apart grouped into "Other".
struct TChartSlice {
    QString Category; // "Other" for the grouped slice
    int Count = 0;
    qint64 Cents = 0;
    bool Other = false;
    QStringList Members; // the grouped categories, in list order
};

// One bar pair of the income and expense chart: a day, or a month (First is
// then the first of the month).
struct TChartBar {
    QDate First;
    qint64 InCents = 0;
    qint64 OutCents = 0;
    qint64 NetCents() const { return InCents - OutCents; }
};

// The amount axis: from Min to Max in steps of Step, all in cents and all
// multiples of Step, 0 among the ticks.
struct TChartAxis {
    qint64 Min = 0;
    qint64 Max = 0;
    qint64 Step = 1;
};

// What the charts of a searched period show, worked out from the period
// result alone: the category slices of either type and the bars of every
// day or month of the period, empty ones included. Amounts stay in cents;
// texts are made where the charts are drawn.
class TChartSeries {
public:
    // A period of at most this many days is shown day by day.
    static constexpr int DayBarsUpTo = 62;

    // Nothing searched.
    TChartSeries() = default;
    // The period from `from` to `to` (both included) and its result.
    TChartSeries(const TPeriod &period, QDate from, QDate to);

    bool Searched() const { return FFrom.isValid() && FTo.isValid(); }
    // True when the period holds records to draw.
    bool HasRecords() const { return FIncomeCents > 0 || FExpenseCents > 0; }
    QDate From() const { return FFrom; }
    QDate To() const { return FTo; }

    // The slices of the income or expense categories, in the order of the
    // category list; a category under 2 % of its type's total goes into
    // one "Other" slice at the end, unless it is the only one that small.
    const QList<TChartSlice> &Slices(TRecordType type) const;
    // The total of the type, which the slices add up to.
    qint64 TypeCents(TRecordType type) const;

    // True when the bars are days, false when they are months.
    bool ByDay() const { return FByDay; }
    // Every day or month from the first to the last of the period.
    const QList<TChartBar> &Bars() const { return FBars; }
    // The amount axis that holds every bar, the net of every bar and
    // `reach` (a budget drawn beside the bars).
    TChartAxis AmountAxis(qint64 reach = 0) const;

    // Every how many bars a label fits when `room` labels fit the axis:
    // days by 1, 2, 7, 14, 28...; months by 1, 2, 3, 6, 12, 24, 60, 120...
    static int LabelStep(int bars, int room, bool byDay);

private:
    static QList<TChartSlice> MakeSlices(const QList<TCategoryTotal> &totals, qint64 typeCents);

    QDate FFrom;
    QDate FTo;
    qint64 FIncomeCents = 0;
    qint64 FExpenseCents = 0;
    QList<TChartSlice> FOutSlices;
    QList<TChartSlice> FInSlices;
    bool FByDay = false;
    QList<TChartBar> FBars;
};
