#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <QStringList>
#include <memory>

#include "store/DbClass.h"

class TDataFile;

namespace Ui {
class TfrmLogin;
}
class QPushButton;

// The sign-in window. While it is created it settles which data file the run
// uses (through TDataFile: the day's automatic backup, a backup named on the
// command line restored, the first creation, the format upgrade); it then
// lets the user sign in as a known user or create a new account. After an
// accepted exec() the caller reads FDataFile and FUserName.
class TfrmLogin : public QDialog {
    Q_OBJECT
public:
    // `arguments` is the program's command line (argument 1 may name a
    // backup file to restore).
    explicit TfrmLogin(QWidget *owner = nullptr,
                       const QStringList &arguments = QCoreApplication::arguments());
    ~TfrmLogin() override;

    // Full path of the data file.
    QString FDataFile;
    // The signed-in user as stored; empty unless the window closed with OK.
    QString FUserName;
    // Why today's automatic backup could not be made (for the main window to
    // show once); empty when it was made or was not due, or when the disk is
    // full (FWriteProblem says so).
    QString FAutoBackupProblem;
    // Why the data file could not be written at sign-in, for the main window
    // to show once: one line when the disk is full. Signing in never depends
    // on writing. Empty when nothing failed.
    QString FWriteProblem;

    // The stored spelling of `typed` among the known users (letters A-Z
    // compared without case, blanks trimmed); empty when unknown.
    QString FindUser(const QString &typed);
    // Submit is enabled exactly when both boxes hold more than blanks.
    void UpdateSubmit();

    void btnSubmitClick(QPushButton *sender);
    void btnCancelClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate(const QStringList &arguments);
    void RestoreFromArgument(const TDataFile &dataFile, const QStringList &arguments);
    void SubmitBody(QPushButton *sender);
    void MoveUserToTop(const QString &password);

    std::unique_ptr<Ui::TfrmLogin> ui;
    std::unique_ptr<TDbMan> FDbMan;
};
