// The data store on the 1,000,000-record book: period searches, saving a
// pending list, checking a password, and the raw cost of the same
// statements through the sqlite3 C API (on the plain book, also when the
// others run on the sealed one).
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

void readPeriod(benchmark::State &state, const QDate &from, const QDate &to) {
    TDbMan db(TBookGenerator::BookPath());
    TBookGenerator::SignIn(db, kUser);
    qint64 rows = 0;
    for (auto _ : state) {
        const TPeriod period = db.ReadPeriod(kUser, from, to);
        rows = period.Records.size();
        benchmark::DoNotOptimize(period.IncomeCents);
    }
    state.counters["records"] = double(rows);
}

void BM_ReadPeriod_1Year(benchmark::State &state) {
    readPeriod(state, QDate(2024, 1, 1), QDate(2024, 12, 31));
}
void BM_ReadPeriod_10Years(benchmark::State &state) {
    readPeriod(state, TBookGenerator::FirstDay(), TBookGenerator::LastDay());
}

void rawQueryPeriod(benchmark::State &state, const QString &from, const QString &to) {
    const QString book = TBookGenerator::PlainBookPath();
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

void rawScan(benchmark::State &state, const QString &from, const QString &to) {
    const QString book = TBookGenerator::PlainBookPath();
    long long rows = 0;
    for (auto _ : state)
        rows = TRawQueries::Scan(book, kUser, from, to);
    state.counters["rows"] = double(rows);
}

void BM_RawScan_1Year(benchmark::State &state) {
    rawScan(state, "01/01/2024", "12/31/2024");
}
void BM_RawScan_10Years(benchmark::State &state) {
    rawScan(state, mdy(TBookGenerator::FirstDay()), mdy(TBookGenerator::LastDay()));
}

void BM_ReadCategoryRecords_10Years(benchmark::State &state) {
    TDbMan db(TBookGenerator::BookPath());
    TBookGenerator::SignIn(db, kUser);
    qint64 rows = 0;
    for (auto _ : state) {
        rows = db.ReadCategoryRecords(kUser, TBookGenerator::FirstDay(), TBookGenerator::LastDay(),
                                      TRecordType::Expense, "Food")
                   .size();
    }
    state.counters["records"] = double(rows);
}

// Find over all the user's records (200,113): a word of notes and of a
// category, a word without its accent, two words, an amount. The floor is
// the raw scan of the same rows (BM_RawScan_10Years).
void findRecords(benchmark::State &state, const QString &text) {
    TDbMan db(TBookGenerator::BookPath());
    TBookGenerator::SignIn(db, kUser);
    qint64 rows = 0;
    for (auto _ : state)
        rows = db.FindRecords(kUser, text).size();
    state.counters["records"] = double(rows);
}

void BM_FindRecords_Word(benchmark::State &state) {
    findRecords(state, "dentist");
}
void BM_FindRecords_AccentFree(benchmark::State &state) {
    findRecords(state, "cafe");
}
void BM_FindRecords_TwoWords(benchmark::State &state) {
    findRecords(state, "Lunch FAMILY");
}
void BM_FindRecords_Amount(benchmark::State &state) {
    findRecords(state, "12,50");
}

// Renaming the user's most used category and taking it back, each in one
// transaction (synchronous=FULL).
void BM_RenameCategoryAndRevert(benchmark::State &state) {
    QTemporaryDir dir;
    TDbMan db(TBookGenerator::WritableCopy(dir.path()));
    TBookGenerator::SignIn(db, kUser);
    qint64 rows = 0;
    for (auto _ : state) {
        const TCategoryRename rename =
            db.RenameCategory(kUser, TRecordType::Expense, "Food", "Groceries");
        db.ApplyRename(kUser, rename.Reversed());
        rows = rename.Ids.size();
    }
    state.counters["records"] = double(rows);
}

// Saving a pending list of 1,000 rows into the big book (one transaction,
// synchronous=FULL: the cost of the disk syncs is part of the figure).
void BM_AddRecords_1000(benchmark::State &state) {
    QTemporaryDir dir;
    const QString copy = TBookGenerator::WritableCopy(dir.path());
    QList<TRecord> pending;
    for (int i = 0; i < 1000; ++i)
        pending << TRecord{0,
                           QDate(2025, 6, 15),
                           i % 7 ? TRecordType::Expense : TRecordType::Income,
                           i % 7 ? "Food" : "Salary",
                           i * 100 + i % 100 + 1,
                           i % 3 ? "weekly shop" : ""};
    TDbMan db(copy);
    TBookGenerator::SignIn(db, kUser);
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

BENCHMARK(BM_ReadPeriod_1Year)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPeriod_10Years)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawQueryPeriod_1Year)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawQueryPeriod_10Years)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawScan_1Year)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawScan_10Years)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadCategoryRecords_10Years)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindRecords_Word)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindRecords_AccentFree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindRecords_TwoWords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindRecords_Amount)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenameCategoryAndRevert)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddRecords_1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckPassword)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetUserNames)->Unit(benchmark::kMillisecond);
