// Budgets and recurring entries on the 1,000,000-record book: the monthly
// averages the budgets window shows, the budgets of a searched period, and
// the due occurrences read at sign-in.
#include "bench/BookGenerator.h"
#include "store/DbClass.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString kUser = QStringLiteral("carol");
// The day after the book's last record: its last 12 full months are 2025.
const QDate kToday(2026, 1, 15);

// The averages of the last 12 full months, both types, of a user with
// 200,000 records (about 20,000 of them in those months).
void BM_MonthlyAverages_12Months(benchmark::State &state) {
    TDbMan db(TBookGenerator::BookPath());
    TBookGenerator::SignIn(db, kUser);
    qint64 categories = 0;
    for (auto _ : state)
        categories = db.MonthlyAverages(kUser, kToday).ExpenseCategories.size();
    state.counters["categories"] = double(categories);
}

// The same over all ten years: every one of the user's 200,000 records.
void BM_MonthlyAverages_120Months(benchmark::State &state) {
    TDbMan db(TBookGenerator::BookPath());
    TBookGenerator::SignIn(db, kUser);
    for (auto _ : state)
        benchmark::DoNotOptimize(db.MonthlyAverages(kUser, kToday, 120));
}

// The Budgets sub-panel's rows for a ten-year search of 40 budgets, from
// the period the search read: what it adds to the search.
void BM_PeriodBudget_40Budgets(benchmark::State &state) {
    TDbMan db(TBookGenerator::BookPath());
    TBookGenerator::SignIn(db, kUser);
    const TPeriod period = db.ReadTotals(kUser, TBookGenerator::FirstDay(), kToday);
    QList<TBudget> budgets;
    for (const QString &category : TBookGenerator::ExpenseCategories() + QStringList{"A", "B"})
        if (budgets.size() < 40)
            budgets.append({TRecordType::Expense, category, 100 * (budgets.size() + 1)});
    for (int i = 0; budgets.size() < 40; ++i)
        budgets.append({TRecordType::Expense, QString::number(i), 500});
    for (auto _ : state)
        benchmark::DoNotOptimize(PeriodBudget(budgets, TRecordType::Expense,
                                              TBookGenerator::FirstDay(), kToday, period));
}

// What sign-in reads for the pending lists: the user's recurring entries
// and their due rows. With 50 entries not booked for 12 months (30 monthly,
// 15 weekly, 5 daily, these at the 62-row limit), and with none.
void dueOccurrences(benchmark::State &state, int entries) {
    QTemporaryDir dir;
    TDbMan db(TBookGenerator::WritableCopy(dir.path()));
    TBookGenerator::SignIn(db, kUser);
    const TRepeatUnit units[] = {TRepeatUnit::Months, TRepeatUnit::Weeks, TRepeatUnit::Days};
    for (int i = 0; i < entries; ++i) {
        const TRepeatUnit unit = units[i < 30 ? 0 : i < 45 ? 1 : 2];
        db.AddRecurring(kUser, {0,
                                TRecordType::Expense,
                                "Rent",
                                1000 + i,
                                "every month",
                                {QDate(2020, 1, 1 + i % 28), 1, unit, {}},
                                QDate(2025, 1, 14)});
    }
    qint64 rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (const TDueEntry &due : db.DueOccurrences(kUser, kToday))
            rows += due.Rows.size();
    }
    state.counters["rows"] = double(rows);
}

void BM_DueOccurrences_50Entries12Months(benchmark::State &state) {
    dueOccurrences(state, 50);
}
void BM_DueOccurrences_None(benchmark::State &state) {
    dueOccurrences(state, 0);
}

} // namespace

BENCHMARK(BM_MonthlyAverages_12Months)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonthlyAverages_120Months)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeriodBudget_40Budgets)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DueOccurrences_50Entries12Months)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DueOccurrences_None)->Unit(benchmark::kMillisecond);
