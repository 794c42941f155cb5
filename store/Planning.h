#pragma once

#include "store/Records.h"

#include <QStringList>

// Budgets and recurring entries as plain arithmetic, without the data file:
// the dates of a schedule, the occurrences that are due, the budget of a
// searched period and the averages a budget can be set from.

// --- recurring entries --------------------------------------------------------------

// The most rows one entry brings at once (after a long absence); the rest
// come the next time.
inline constexpr int kMaxDueRows = 62;

// The n-th date of the schedule, n = 0 being First: First plus n times Every
// days, weeks, months or years. A month or year without First's day gives
// its last day (monthly from 31 January: 28 or 29 February, 31 March, 30
// April). Invalid when n < 0, when the date lies after Last, beyond
// 31 December 9999, or when the schedule has no valid First or an Every
// below 1.
QDate NextDate(const TSchedule &schedule, qint64 n);
// How many dates of the schedule lie on or before `day` (Last respected).
qint64 DatesUpTo(const TSchedule &schedule, QDate day);
// The first date of the entry after its booked date: the next one to book
// (shown in the list of entries); invalid when none is left.
QDate NextToBook(const TRecurring &entry);

// The occurrences of one entry that are due: dated on or before today and
// after the entry's booked date, oldest first.
struct TDueEntry {
    TRecurring Entry;
    // At most kMaxDueRows pending records, each carrying its
    // TRecurringOrigin (the entry, Entry.Booked, the occurrence's date).
    QList<TRecord> Rows;
    int Left = 0; // due occurrences beyond Rows, for the next time
    // What saving them books: Entry.Booked to the date of the last row.
    // Pass it to TDbMan::SavePending even when the user deleted rows: a
    // row deleted before saving is skipped, and booked all the same.
    TBookingAdvance Advance;

    bool operator==(const TDueEntry &) const = default;
};
// `entry`'s due occurrences on `today`; no rows when none is due.
TDueEntry DueRows(const TRecurring &entry, QDate today, int limit = kMaxDueRows);

// --- budgets ------------------------------------------------------------------------

// The budget of the days `from` to `to` (both included) for a monthly budget
// of `monthlyCents`: the monthly budget times the months the days cover,
// each part month by its share of days (1-15 March is 15/31 of a month),
// rounded to the cent once. 0 when `to` is before `from`.
qint64 PeriodBudgetCents(qint64 monthlyCents, QDate from, QDate to);

// One row of a period's budgets.
struct TBudgetRow {
    QString Category;       // empty for the rest
    bool Rest = false;      // the records of categories without a budget
    qint64 BudgetCents = 0; // for the period; 0 for the rest, which has none
    qint64 SpentCents = 0;
    qint64 LeftCents = 0; // budget - spent: negative when over

    bool operator==(const TBudgetRow &) const = default;
};

struct TPeriodBudget {
    // A row per budget of the type, in the order of the budgets given, then
    // the rest.
    QList<TBudgetRow> Rows;
    // The sums of the rows: spent is the type's total of the period.
    qint64 BudgetCents = 0, SpentCents = 0, LeftCents = 0;

    bool operator==(const TPeriodBudget &) const = default;
};
// The budgets of `type` against what a search of `from`..`to` found (its
// category totals); budgets of the other type are passed over.
TPeriodBudget PeriodBudget(const QList<TBudget> &budgets, TRecordType type, QDate from, QDate to,
                           const TPeriod &period);

// What was spent (or received) per month in a category, over some months.
struct TCategoryAverage {
    QString Category;
    qint64 Cents = 0; // the category's total over the months / Months, rounded

    bool operator==(const TCategoryAverage &) const = default;
};

struct TMonthlyAverages {
    QDate From, To; // the full months averaged over
    int Months = 0; // their number (the divisor); 0: no records in them
    // Every category of each type with records in those months, largest
    // first (as a search lists them).
    QList<TCategoryAverage> ExpenseCategories, IncomeCategories;

    const QList<TCategoryAverage> &Of(TRecordType type) const {
        return type == TRecordType::Income ? IncomeCategories : ExpenseCategories;
    }
    bool operator==(const TMonthlyAverages &) const = default;
};

// The categories of the budgets window for one type: the category list
// (lines trimmed, empty ones and repeats left out), then the categories of
// the averaged months that the list lacks, then budgeted categories of the
// type that neither has.
QStringList BudgetCategories(const QStringList &list, const TMonthlyAverages &averages,
                             const QList<TBudget> &budgets, TRecordType type);
