#include "store/Planning.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <limits>

namespace {

// Months and years count from the first date's month; the largest step any
// schedule can take inside the years 1 to 9999 bounds n before it is used.
constexpr qint64 kMaxMonths = 9999 * 12;
constexpr qint64 kMaxDays = 9999 * 366;

qint64 monthIndex(QDate day) {
    return qint64(day.year()) * 12 + day.month() - 1;
}

// The unit of the schedule in days (days and weeks), 0 for months and years.
qint64 stepDays(const TSchedule &schedule) {
    switch (schedule.Unit) {
    case TRepeatUnit::Days:
        return schedule.Every;
    case TRepeatUnit::Weeks:
        return qint64(schedule.Every) * 7;
    default:
        return 0;
    }
}

// The unit in months (months and years).
qint64 stepMonths(const TSchedule &schedule) {
    return schedule.Unit == TRepeatUnit::Years ? qint64(schedule.Every) * 12 : schedule.Every;
}

// A part of a month as a whole number: this many parts make a month of any
// length (28, 29, 30 and 31 all divide it), so a share of days is exact.
constexpr qint64 kMonthParts = 377580;

// The months `from`..`to` cover, in kMonthParts.
qint64 monthParts(QDate from, QDate to) {
    const auto share = [](int days, int of) { return days * (kMonthParts / of); };
    if (monthIndex(from) == monthIndex(to))
        return share(int(from.daysTo(to)) + 1, from.daysInMonth());
    const qint64 between = monthIndex(to) - monthIndex(from) - 1;
    return share(from.daysInMonth() - from.day() + 1, from.daysInMonth()) +
           share(to.day(), to.daysInMonth()) + between * kMonthParts;
}

// A monthly budget (never negative) for `parts` of a month, rounded to the
// cent once.
qint64 budgetFor(qint64 monthlyCents, qint64 parts) {
    const __int128 cents = __int128(monthlyCents) * parts;
    return qint64((cents + kMonthParts / 2) / kMonthParts);
}

} // namespace

// --- recurring entries --------------------------------------------------------------

QDate NextDate(const TSchedule &schedule, qint64 n) {
    if (n < 0 || !schedule.First.isValid() || schedule.Every < 1)
        return {};
    QDate date;
    if (const qint64 days = stepDays(schedule)) {
        if (n > kMaxDays / days)
            return {};
        date = schedule.First.addDays(n * days);
    } else {
        const qint64 months = stepMonths(schedule);
        if (n > kMaxMonths / months)
            return {};
        // Counted from First: a day beyond the month's end gives its last day.
        date = schedule.First.addMonths(int(n * months));
    }
    if (!date.isValid() || date.year() > 9999 || (schedule.Last.isValid() && date > schedule.Last))
        return {};
    return date;
}

qint64 DatesUpTo(const TSchedule &schedule, QDate day) {
    if (!schedule.First.isValid() || schedule.Every < 1 || !day.isValid())
        return 0;
    if (schedule.Last.isValid() && schedule.Last < day)
        day = schedule.Last;
    if (day < schedule.First)
        return 0;
    if (const qint64 days = stepDays(schedule))
        return schedule.First.daysTo(day) / days + 1;
    // The last date that can fall into day's month; it may lie after day.
    qint64 n = (monthIndex(day) - monthIndex(schedule.First)) / stepMonths(schedule);
    const QDate date = NextDate(schedule, n);
    return date.isValid() && date <= day ? n + 1 : n;
}

QDate NextToBook(const TRecurring &entry) {
    return NextDate(entry.Schedule,
                    entry.Booked.isValid() ? DatesUpTo(entry.Schedule, entry.Booked) : 0);
}

TDueEntry DueRows(const TRecurring &entry, QDate today, int limit) {
    TDueEntry due;
    due.Entry = entry;
    const qint64 first = entry.Booked.isValid() ? DatesUpTo(entry.Schedule, entry.Booked) : 0;
    const qint64 all = std::max<qint64>(0, DatesUpTo(entry.Schedule, today) - first);
    const qint64 taken = std::min<qint64>(all, std::max(limit, 0));
    for (qint64 n = first; n < first + taken; ++n) {
        const QDate date = NextDate(entry.Schedule, n);
        due.Rows.append({0,
                         date,
                         entry.Type,
                         entry.Category,
                         entry.Cents,
                         entry.Notes,
                         {},
                         TRecurringOrigin{entry.Id, entry.Booked, date}});
    }
    due.Left = int(std::min<qint64>(all - taken, std::numeric_limits<int>::max()));
    if (!due.Rows.isEmpty())
        due.Advance = {entry.Id, entry.Booked, due.Rows.last().Date};
    return due;
}

// --- budgets ------------------------------------------------------------------------

qint64 PeriodBudgetCents(qint64 monthlyCents, QDate from, QDate to) {
    if (!from.isValid() || !to.isValid() || to < from)
        return 0;
    return budgetFor(monthlyCents, monthParts(from, to));
}

TPeriodBudget PeriodBudget(const QList<TBudget> &budgets, TRecordType type, QDate from, QDate to,
                           const TPeriod &period) {
    const bool income = type == TRecordType::Income;
    QHash<QString, qint64> spent;
    for (const TCategoryTotal &total : income ? period.IncomeCategories : period.ExpenseCategories)
        spent.insert(total.Category, total.Cents);
    // The months are counted once for all budgets.
    const qint64 parts = from.isValid() && to.isValid() && from <= to ? monthParts(from, to) : 0;
    TPeriodBudget result;
    qint64 budgeted = 0;
    QSet<QString> seen;
    for (const TBudget &budget : budgets) {
        if (budget.Type != type || seen.contains(budget.Category))
            continue;
        seen.insert(budget.Category);
        TBudgetRow row;
        row.Category = budget.Category;
        row.BudgetCents = budgetFor(budget.Cents, parts);
        row.SpentCents = spent.value(budget.Category);
        row.LeftCents = row.BudgetCents - row.SpentCents;
        budgeted += row.SpentCents;
        result.BudgetCents += row.BudgetCents;
        result.Rows.append(row);
    }
    TBudgetRow rest;
    rest.Rest = true;
    rest.SpentCents = (income ? period.IncomeCents : period.ExpenseCents) - budgeted;
    rest.LeftCents = -rest.SpentCents;
    result.Rows.append(rest);
    result.SpentCents = income ? period.IncomeCents : period.ExpenseCents;
    result.LeftCents = result.BudgetCents - result.SpentCents;
    return result;
}

QStringList BudgetCategories(const QStringList &list, const TMonthlyAverages &averages,
                             const QList<TBudget> &budgets, TRecordType type) {
    QStringList names;
    QSet<QString> seen;
    const auto add = [&](const QString &name) {
        if (!name.trimmed().isEmpty() && !seen.contains(name)) {
            seen.insert(name);
            names << name;
        }
    };
    for (const QString &line : list)
        add(line.trimmed());
    for (const TCategoryAverage &average : averages.Of(type))
        add(average.Category);
    for (const TBudget &budget : budgets)
        if (budget.Type == type)
            add(budget.Category);
    return names;
}
