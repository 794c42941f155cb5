// Copies of the 1,000,000-record book (about 150 MB): a backup through
// SQLite's online backup with its check and sync, the automatic backup when
// the day's copy is due and when it was made already, and the whole start
// up to the shown main window on the first start of a day and a later one.
#include "app/Startup.h"
#include "bench/BookGenerator.h"
#include "forms/Dialogs.h"
#include "forms/MainForm.h"
#include "store/DataFile.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
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

// Answers the sign-in window as a user does (a known user, the right
// password, Submit); counts any other question or message.
class TSignInAnswers : public TDialogs {
public:
    int Others = 0;

    TButton Message(QWidget *, TMessageKind, const QString &, const QString &, TButtons,
                    const QString &) override {
        ++Others;
        return TButton::Ok;
    }
    int Choose(QWidget *, const QString &, const QString &, const QStringList &) override {
        ++Others;
        return -1;
    }
    std::optional<QString> Text(QWidget *, const QString &, const QString &, const QString &,
                                const QString &) override {
        ++Others;
        return std::nullopt;
    }
    QString File(QFileDialog *, QString *) override {
        ++Others;
        return QString();
    }
    int Exec(QDialog *dialog) override {
        dialog->findChild<QComboBox *>("cboUsername")->setEditText(TBookGenerator::UserNames()[0]);
        dialog->findChild<QLineEdit *>("edtPassword")->setText(TBookGenerator::Password());
        dialog->findChild<QPushButton *>("btnSubmit")->click();
        return dialog->result();
    }
};

// The start from the command line to the shown main window (data file
// settled, sign-in with its password check, main window filled and shown,
// the daily backup started): the first start of a day, when the day's copy
// is due, and a later one. The backup that then runs beside the window is
// waited for outside the measured time; its duration is the counter
// "backup_ms".
void signIn(benchmark::State &state, bool firstOfDay) {
    QTemporaryDir home;
    const QString folder = QDir(home.path()).filePath("Ledgerly");
    QDir().mkpath(folder);
    const QString book = QDir(folder).filePath("db.ledgerly");
    QFile::rename(TBookGenerator::WritableCopy(folder), book);
    const QByteArray oldHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    auto *answers = new TSignInAnswers;
    std::unique_ptr<TDialogs> real = TDialogs::Install(std::unique_ptr<TDialogs>(answers));
    const QString todays =
        QDir(folder).filePath(QDate::currentDate().toString("'backups/db-'yyyy-MM-dd'.ledgerly'"));
    TDataFile(book).MakeDailyBackup(QDate::currentDate());
    double backupMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (firstOfDay)
            QFile::remove(todays);
        auto startup = std::make_unique<TStartup>();
        startup->ReadCommandLine({QStringLiteral("ledgerly")});
        state.ResumeTiming();
        const bool shown = startup->Run();
        state.PauseTiming();
        QElapsedTimer backup;
        backup.start();
        QEventLoop loop;
        QObject::connect(startup.get(), &TStartup::DailyBackupDone, &loop, &QEventLoop::quit);
        if (shown)
            loop.exec();
        backupMs += double(backup.elapsed());
        if (!shown || answers->Others > 0 || !QFileInfo::exists(todays))
            state.SkipWithError("the start did not end with the main window and today's copy");
        startup.reset();
        state.ResumeTiming();
    }
    state.counters["backup_ms"] = backupMs / double(state.iterations());
    TDialogs::Install(std::move(real));
    qputenv("XDG_DATA_HOME", oldHome);
}

void BM_SignIn_FirstOfDay_1M(benchmark::State &state) {
    signIn(state, true);
}
void BM_SignIn_Later_1M(benchmark::State &state) {
    signIn(state, false);
}

} // namespace

BENCHMARK(BM_SignIn_FirstOfDay_1M)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_SignIn_Later_1M)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Backup_1M)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_DailyBackupDue_1M)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_DailyBackupDone_1M)->Unit(benchmark::kMicrosecond);
