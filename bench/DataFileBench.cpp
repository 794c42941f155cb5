// Copies of the 1,000,000-record book (about 150 MB): a backup through
// SQLite's online backup with its check and sync, and the automatic backup
// at sign-in, when the day's copy is due and when it was made already.
#include "bench/BookGenerator.h"
#include "store/DataFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Backup of the book to a file beside it (replacing the previous one, as a
// second backup to the same name does).
void BM_Backup_1M(benchmark::State &state) {
    QTemporaryDir dir;
    const TDataFile book(TBookGenerator::BookPath());
    const QString target = dir.filePath("backup.ledgerly");
    for (auto _ : state)
        book.Backup(target);
    state.SetBytesProcessed(state.iterations() * QFileInfo(target).size());
}

// The first sign-in of a day: the day's copy is made and the older ones
// thinned out (copies of earlier days, thinned out as they were made, are there).
void BM_DailyBackupDue_1M(benchmark::State &state) {
    QTemporaryDir dir;
    const TDataFile book(TBookGenerator::WritableCopy(dir.path()));
    const QDate today(2025, 6, 30);
    for (int back = 1; back <= 40; back += 3)
        book.MakeDailyBackup(today.addDays(-back));
    const QString todays = QDir(book.BackupFolder()).filePath("db-2025-06-30.ledgerly");
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(todays);
        state.ResumeTiming();
        if (!book.MakeDailyBackup(today).isEmpty())
            state.SkipWithError("the daily copy failed");
    }
}

// Every later sign-in of the day: today's copy is there, nothing is copied.
void BM_DailyBackupDone_1M(benchmark::State &state) {
    QTemporaryDir dir;
    const TDataFile book(TBookGenerator::WritableCopy(dir.path()));
    const QDate today(2025, 6, 30);
    book.MakeDailyBackup(today);
    for (auto _ : state)
        benchmark::DoNotOptimize(book.MakeDailyBackup(today));
}

} // namespace

BENCHMARK(BM_Backup_1M)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_DailyBackupDue_1M)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_DailyBackupDone_1M)->Unit(benchmark::kMicrosecond);
