#include "app/Startup.h"

#include "app/Process.h"
#include "app/Translations.h"
#include "forms/BusyGuard.h"
#include "forms/Dialogs.h"
#include "forms/ErrorReport.h"
#include "forms/LoginForm.h"
#include "forms/MainForm.h"
#include "forms/WindowFont.h"
#include "store/DataFile.h"
#include "store/DbClass.h"
#include "store/Memory.h"
#include "store/ProgramFiles.h"

#include "LedgerlyVersion.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QIcon>

#include <exception>
#include <stdexcept>

namespace {

// The last net of the error report: an exception that escaped every handler
// is shown and the program goes on.
class TLedgerlyApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override {
        bool result = false;
        RunReported(activeWindow(), [&] { result = QApplication::notify(receiver, event); });
        return result;
    }
};

// Runs `body`, which reads the data file `path` for the first time; a
// failure says which file failed and how to get the books back (SQLite's
// words for a failure of the database, as the file is named here).
template <class F> void readFirstTime(const QString &path, F body) {
    try {
        body();
    } catch (const TFileError &) {
        throw; // says already which file and what to do
    } catch (const std::exception &error) {
        const auto *db = dynamic_cast<const TDbError *>(&error);
        throw std::runtime_error(
            TStartup::tr("Ledgerly cannot read its data file \"%1\": %2\n\nTo go on with "
                         "a backup, start Ledgerly with the backup file's name as its "
                         "argument (the automatic backups are in \"%3\").")
                .arg(path,
                     db && !db->Reason.isEmpty() ? db->Reason : QString::fromUtf8(error.what()),
                     QFileInfo(path).dir().filePath(QStringLiteral("backups")))
                .toStdString());
    }
}

} // namespace

TStartup::TStartup() = default;

TStartup::~TStartup() {
    StopDailyBackup();
}

int TStartup::Exec(int argc, char *argv[]) {
    CheckPlatform();
    QStringList words;
    for (int i = 0; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<int> status = ReadCommandLine(words))
        return *status;

    KeepFreedMemoryForReuse();
    TLedgerlyApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ledgerly"));
    QApplication::setApplicationVersion(QStringLiteral(LEDGERLY_VERSION));
    // Ties the windows to the installed desktop entry (icon, name).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.ledgerly.Ledgerly"));
    QApplication::setFont(DefaultWindowFont());
    // The windows speak the user's language where the program has it.
    const TTranslations translations(QLocale::system());
    QDir::setCurrent(ProgramFolder());
    CreateProcessMarker(QStringLiteral("Kestrel-Software-Ledgerly-AppMutex"));

    if (Run())
        app.exec();
    // Everything of the run ends while the application object exists.
    StopDailyBackup();
    FMain.reset();
    return 0;
}

std::optional<int> TStartup::ReadCommandLine(const QStringList &words) {
    return ::ReadCommandLine(words, FCommandLine);
}

bool TStartup::Run() {
    SetApplicationTitle(QStringLiteral("Ledgerly"));
    const QIcon icon(QStringLiteral(":/APP_ICON"));
    if (!icon.isNull())
        QApplication::setWindowIcon(icon);

    // Nothing of the main window is shown yet, so a failure is reported
    // without an owner; the program then ends quietly.
    TSession session;
    bool signedIn = false;
    RunReported(nullptr, [&] { signedIn = SignIn(LocateDataFile(), session); });
    if (!signedIn)
        return false;
    RunReported(nullptr, [&] { FMain = std::make_unique<TfrmMain>(std::move(session)); });
    if (!FMain)
        return false;
    FMain->StartNewInstance = [](const QString &params) {
        RunProgram(QCoreApplication::applicationFilePath(), params);
    };
    FMain->ShowAtStart();
    if (!FWriteProblem.isEmpty())
        ShowWarning(FMain.get(), QStringLiteral("Ledgerly"), FWriteProblem);
    // The main window is shown on a settled data file: the place where the
    // day's due recurring entries are handed to it.
    FMain->OfferDueEntries(Today.isValid() ? Today : QDate::currentDate());
    StartDailyBackup();
    return true;
}

TDataFile TStartup::LocateDataFile() {
    // The data file is settled before anything is read or written: made
    // private, the temporary copies of killed instances removed.
    const TDataFile dataFile(TDataFile::DefaultPath());
    TBusyGuard busy;
    dataFile.TightenPermissions();
    dataFile.RemoveLeftovers();
    return dataFile;
}

void TStartup::RestoreFromCommandLine(const TDataFile &dataFile) {
    const QString &backup = FCommandLine.Backup;
    if (backup.isEmpty() || !QFileInfo(backup).isFile() || !TDataFile::HasBackupExtension(backup))
        return;
    // A backup opened from outside the program (a file manager, a command
    // line) replaces every user's books only after a question; one chosen in
    // the program's own Restore has been asked for already. A file that
    // cannot be restored is reported without asking.
    if (!FCommandLine.Chosen && TDataFile::Problem(backup).isEmpty() &&
        !AskQuestion(nullptr, tr("You want to restore the backup %1?\n\nThe accounts "
                                 "and records of every user in the current data are "
                                 "replaced by those of the backup; the current data "
                                 "is kept among the automatic backups.")
                                  .arg(QDir::toNativeSeparators(backup))))
        return;
    // A failed restore is reported and the data in use is kept; sign-in goes on.
    RunReported(nullptr, [&] {
        TBusyGuard busy;
        dataFile.Restore(backup);
    });
}

bool TStartup::SignIn(const TDataFile &dataFile, TSession &session) {
    RestoreFromCommandLine(dataFile);
    dataFile.CreateIfMissing();
    session.DataFile = dataFile.Path();
    session.DbMan = std::make_unique<TDbMan>(session.DataFile);
    std::unique_ptr<TfrmLogin> login;
    readFirstTime(session.DataFile, [&] {
        {
            TBusyGuard busy;
            dataFile.Upgrade();
        }
        login = std::make_unique<TfrmLogin>(*session.DbMan); // reads the users
    });
    if (ExecDialog(login.get()) != QDialog::Accepted)
        return false;
    session.UserName = login->FUserName;
    FWriteProblem = login->FWriteProblem;
    return true;
}

void TStartup::StartDailyBackup() {
    FCancelBackup = false;
    FBackup = std::thread([this, dataFile = FMain->DataFile(), today = QDate::currentDate()] {
        bool diskFull = false;
        const QString problem =
            TDataFile(dataFile).MakeDailyBackup(today, &diskFull, &FCancelBackup);
        QMetaObject::invokeMethod(
            this, [this, problem, diskFull] { DailyBackupEnded(problem, diskFull); },
            Qt::QueuedConnection);
    });
}

void TStartup::DailyBackupEnded(const QString &problem, bool diskFull) {
    if (FBackup.joinable())
        FBackup.join(); // it has ended: this was its last word
    if (!FMain)
        return;
    if (diskFull) {
        // Said once: the sign-in may have found the disk full already.
        const QString notice = TDataFile(FMain->DataFile()).DiskFullNotice();
        if (notice != FWriteProblem)
            ShowWarning(FMain.get(), QStringLiteral("Ledgerly"), notice);
    } else if (!problem.isEmpty()) {
        ShowWarning(FMain.get(), tr("Backup"),
                    tr("Today's automatic backup of your data could not be made. %1\n\nYour "
                       "data file is unchanged and you can go on working; a backup is tried "
                       "again at the next start. You can also make one now with Backup in "
                       "the menu.")
                        .arg(problem));
    }
    emit DailyBackupDone();
}

void TStartup::StopDailyBackup() {
    FCancelBackup = true;
    if (FBackup.joinable())
        FBackup.join();
}
