#include "export/ChartSeries.h"

#include <algorithm>

TChartSeries::TChartSeries(const TPeriod &period, QDate from, QDate to)
    : FFrom(from), FTo(to), FIncomeCents(period.IncomeCents), FExpenseCents(period.ExpenseCents) {
    FOutSlices = MakeSlices(period.ExpenseCategories, period.ExpenseCents);
    FInSlices = MakeSlices(period.IncomeCategories, period.IncomeCents);
    if (!Searched() || from > to)
        return;

    // Both lists of totals are in date order and hold only days and months
    // with records; the bars walk the calendar and take each total in turn.
    FByDay = from.daysTo(to) + 1 <= DayBarsUpTo;
    if (FByDay) {
        FBars.reserve(from.daysTo(to) + 1);
        auto day = period.Days.cbegin();
        for (QDate d = from; d <= to; d = d.addDays(1)) {
            while (day != period.Days.cend() && day->Day < d)
                ++day;
            TChartBar bar{d};
            if (day != period.Days.cend() && day->Day == d)
                bar = {d, day->InCents, day->OutCents};
            FBars.append(bar);
        }
    } else {
        auto month = period.Months.cbegin();
        const auto key = [](int year, int month) { return year * 12 + month - 1; };
        for (QDate m(from.year(), from.month(), 1); m <= to; m = m.addMonths(1)) {
            const int k = key(m.year(), m.month());
            while (month != period.Months.cend() && key(month->Year, month->Month) < k)
                ++month;
            TChartBar bar{m};
            if (month != period.Months.cend() && key(month->Year, month->Month) == k)
                bar = {m, month->InCents, month->OutCents};
            FBars.append(bar);
        }
    }
}

QList<TChartSlice> TChartSeries::MakeSlices(const QList<TCategoryTotal> &totals, qint64 typeCents) {
    QList<TChartSlice> slices;
    TChartSlice other{QStringLiteral("Other"), 0, 0, true, {}};
    QList<TChartSlice> small;
    for (const TCategoryTotal &total : totals) {
        const TChartSlice slice{total.Category, total.Count, total.Cents, false, {}};
        // Under 2 %: cents / typeCents < 1 / 50, exactly in integers.
        if (total.Cents * 50 < typeCents) {
            small.append(slice);
            other.Count += total.Count;
            other.Cents += total.Cents;
            other.Members.append(total.Category);
        } else {
            slices.append(slice);
        }
    }
    // One small category alone keeps its own name: an "Other" slice would
    // only hide which category it is.
    if (small.size() == 1)
        slices.append(small.constFirst());
    else if (!small.isEmpty())
        slices.append(other);
    return slices;
}

const QList<TChartSlice> &TChartSeries::Slices(TRecordType type) const {
    return type == TRecordType::Income ? FInSlices : FOutSlices;
}

qint64 TChartSeries::TypeCents(TRecordType type) const {
    return type == TRecordType::Income ? FIncomeCents : FExpenseCents;
}

TChartAxis TChartSeries::AmountAxis(qint64 reach) const {
    qint64 low = 0, high = std::max<qint64>(reach, 0);
    for (const TChartBar &bar : FBars) {
        low = std::min(low, bar.NetCents());
        high = std::max({high, bar.InCents, bar.OutCents, bar.NetCents()});
    }
    // A step of 1, 2 or 5 times a power of ten that cuts the range into at
    // most five parts.
    const qint64 span = std::max<qint64>(high - low, 1);
    qint64 step = 1;
    for (qint64 power = 1;; power *= 10) {
        const qint64 candidates[] = {power, 2 * power, 5 * power};
        const auto fits = std::find_if(std::begin(candidates), std::end(candidates),
                                       [span](qint64 s) { return span <= 5 * s; });
        if (fits != std::end(candidates)) {
            step = *fits;
            break;
        }
    }
    // low <= 0 <= high: rounded away from zero to whole steps.
    TChartAxis axis{-((-low + step - 1) / step * step), (high + step - 1) / step * step, step};
    if (axis.Max == axis.Min)
        axis.Max = axis.Min + step;
    return axis;
}

int TChartSeries::LabelStep(int bars, int room, bool byDay) {
    static const QList<int> dayStepList = {1, 2, 7, 14, 28};
    static const QList<int> monthStepList = {1, 2, 3, 6, 12, 24, 60, 120};
    const QList<int> &steps = byDay ? dayStepList : monthStepList;
    room = std::max(room, 1);
    const auto fits = [bars, room](int step) { return (bars + step - 1) / step <= room; };
    for (const int step : steps)
        if (fits(step))
            return step;
    // Beyond the list: multiples of its last step.
    int step = steps.constLast();
    while (!fits(step))
        step += steps.constLast();
    return step;
}
