#pragma once

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class TfrmLogin;
}
class QPushButton;
class TDbMan;

// The sign-in window: it lists the users of the data file (the one who
// signed in last first) and lets the user sign in as one of them or create
// a new account. The start-up settles the data file before and hands it
// over as `db`. After an accepted exec() the caller reads FUserName.
class TfrmLogin : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLogin(TDbMan &db, QWidget *owner = nullptr);
    ~TfrmLogin() override;

    // The signed-in user as stored; empty unless the window closed with OK.
    QString FUserName;
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
    void SubmitBody(QPushButton *sender);
    void MoveUserToTop(const QString &password);
    void SealBook(const QString &password);
    // From this many records to seal on, a bar shows the progress.
    static constexpr int kSealBarFrom = 2000;

    std::unique_ptr<Ui::TfrmLogin> ui;
    TDbMan &FDbMan;
    // False once the window has closed: it reads no more users.
    bool FOpen = true;
};
