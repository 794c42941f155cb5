// The data store on the 1,000,000-record book: period searches, saving a
// pending list, checking a password, and the raw cost of the same
// statements through the sqlite3 C API.
#include "bench/BookGenerator.h"
#include "bench/RawQueries.h"
#include "store/DbClass.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString kUser = QStringLiteral("carol");

QString mdy(const QDate &d) {
    return d.toString("MM/dd/yyyy");
}

void queryPeriod(benchmark::State &state, const QString &from, const QString &to) {
    TDbMan db(TBookGenerator::BookPath());
    qint64 rows = 0;
    for (auto _ : state) {
        double out = 0, in = 0;
        TStringsArray day, month, trans, outCates, inCates;
        db.QueryPeriod(kUser, from, to, out, in, day, month, trans, outCates, inCates);
        rows = trans.size();
        benchmark::DoNotOptimize(out);
    }
    state.counters["records"] = double(rows);
}

void BM_QueryPeriod_1Year(benchmark::State &state) {
    queryPeriod(state, "01/01/2024", "12/31/2024");
}
void BM_QueryPeriod_10Years(benchmark::State &state) {
    queryPeriod(state, mdy(TBookGenerator::FirstDay()), mdy(TBookGenerator::LastDay()));
}

void rawQueryPeriod(benchmark::State &state, const QString &from, const QString &to) {
    const QString book = TBookGenerator::BookPath();
    long long rows = 0;
    for (auto _ : state)
        rows = TRawQueries::QueryPeriod(book, kUser, from, to);
    state.counters["rows"] = double(rows);
}

void BM_RawQueryPeriod_1Year(benchmark::State &state) {
    rawQueryPeriod(state, "01/01/2024", "12/31/2024");
}
void BM_RawQueryPeriod_10Years(benchmark::State &state) {
    rawQueryPeriod(state, mdy(TBookGenerator::FirstDay()), mdy(TBookGenerator::LastDay()));
}

void BM_QueryCategoryRecords_10Years(benchmark::State &state) {
    TDbMan db(TBookGenerator::BookPath());
    qint64 rows = 0;
    for (auto _ : state) {
        TStringsArray out;
        db.QueryCategoryRecords(kUser, mdy(TBookGenerator::FirstDay()),
                                mdy(TBookGenerator::LastDay()), "Expense", "Food", out);
        rows = out.size();
    }
    state.counters["records"] = double(rows);
}

// Saving a pending list of 1,000 rows into the big book (one transaction,
// synchronous=FULL: the cost of the disk syncs is part of the figure).
void BM_AddRecords_1000(benchmark::State &state) {
    QTemporaryDir dir;
    const QString copy = TBookGenerator::WritableCopy(dir.path());
    TStringsArray pending;
    for (int i = 0; i < 1000; ++i)
        pending << QStringList{"06/15/2025", i % 7 ? "Expense" : "Income",
                               i % 7 ? "Food" : "Salary", QString::asprintf("%d.%02d", i, i % 100),
                               i % 3 ? "weekly shop" : ""};
    TDbMan db(copy);
    for (auto _ : state)
        db.AddRecords(kUser, pending);
    state.SetItemsProcessed(state.iterations() * 1000);
}

void BM_CheckPassword(benchmark::State &state) {
    TDbMan db(TBookGenerator::BookPath());
    for (auto _ : state)
        benchmark::DoNotOptimize(db.CheckPassword(kUser, TBookGenerator::Password()));
}

void BM_GetUserNames(benchmark::State &state) {
    TDbMan db(TBookGenerator::BookPath());
    for (auto _ : state)
        benchmark::DoNotOptimize(db.GetUserNames());
}

} // namespace

BENCHMARK(BM_QueryPeriod_1Year)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QueryPeriod_10Years)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawQueryPeriod_1Year)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawQueryPeriod_10Years)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QueryCategoryRecords_10Years)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddRecords_1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckPassword)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetUserNames)->Unit(benchmark::kMillisecond);
