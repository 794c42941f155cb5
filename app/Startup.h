#pragma once

#include "app/CommandLine.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <optional>
#include <thread>

class TDataFile;
class TfrmMain;
struct TSession;

// The program's start, in one place and in this order:
//  1. the platform check and the command line, before the application
//     object exists (--help and --version need no window system);
//  2. the application object, the translations of the system's language
//     (app/Translations.h), the program's folder as the current one, the
//     process marker;
//  3. the data file: located, made private, the temporary files of killed
//     writers removed; a backup named on the command line restored; made on
//     the first run; brought to the current format (after a copy);
//  4. the sign-in window on that data file;
//  5. the main window, handed the signed-in session, shown;
//  6. the day's first automatic backup, made away from the window's thread
//     while the user works.
// Then the event loop runs until the main window closes.
class TStartup : public QObject {
    Q_OBJECT
public:
    TStartup();
    // Stops a daily backup still being made and waits for it: its
    // temporary copy is removed, nothing incomplete is kept.
    ~TStartup() override;

    // The whole program; the process's exit status.
    int Exec(int argc, char *argv[]);

    // Step 1 without the platform check, on the command line's words (the
    // program's name first): the exit status when the program ends there.
    std::optional<int> ReadCommandLine(const QStringList &words);
    // Steps 3 to 6, once the application object exists: true when a user
    // signed in and the main window is shown. A failure is shown to the
    // user; then nothing is shown and false is returned.
    bool Run();

    // The day of the run, for the recurring entries due at sign-in; invalid:
    // the system's date (tests give another).
    QDate Today;

    // The main window once made (null when nobody signed in).
    TfrmMain *MainWindow() const { return FMain.get(); }

signals:
    // The day's automatic backup has ended: made, not due, or failed (and
    // the failure shown).
    void DailyBackupDone();

private:
    // Step 3 up to the restore: the data file, private, without leftovers.
    TDataFile LocateDataFile();
    void RestoreFromCommandLine(const TDataFile &dataFile);
    // The rest of step 3 and step 4: fills `session` with the data file, its
    // store and the signed-in user; false when the sign-in was cancelled.
    bool SignIn(const TDataFile &dataFile, TSession &session);
    void StartDailyBackup();
    void DailyBackupEnded(const QString &problem, bool diskFull);
    void StopDailyBackup();

    TCommandLine FCommandLine;
    std::unique_ptr<TfrmMain> FMain;
    // Why the data file could not be written at sign-in, shown once the main
    // window is up.
    QString FWriteProblem;
    std::thread FBackup;
    std::atomic_bool FCancelBackup{false};
};
