#pragma once

#include "forms/Dialogs.h"
#include "store/Records.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

class QTreeView;
class TDbMan;
class TStartup;
class TfrmMain;

// A signed-in main window for GUI tests.
//
// TMainFixture points XDG_DATA_HOME at a fresh temporary folder (so the
// program's data file is a first-run copy of bin/db.ledgerly) and the
// program's settings at another one (so that no test reads or writes the
// settings of the user running it), and SignIn runs the program's start-up,
// creating the user through the real sign-in window. Restarts never spawn a
// process: StartNewInstance only records its parameter text in Restarts.
class TMainFixture {
public:
    TMainFixture();
    ~TMainFixture();
    TMainFixture(const TMainFixture &) = delete;
    TMainFixture &operator=(const TMainFixture &) = delete;

    // The temporary XDG_DATA_HOME and the data file inside it.
    QString DataHome() const { return FHome.path(); }
    QString DataFile() const;

    // Runs the start-up with `arguments` as the command line, its sign-in
    // window answered with `user` and `password` (and Yes to the creation
    // question when `create` is true), and waits until the main window is
    // shown; null when nobody signed in. TestDialogs then starts afresh.
    TfrmMain *SignIn(const QString &user = QStringLiteral("tester"),
                     const QString &password = QStringLiteral("secret"), bool create = true,
                     const QStringList &arguments = QStringList());

    // The start-up run by SignIn and its main window (null before).
    TStartup *Startup() const { return FStartup.get(); }
    TfrmMain *Main() const;
    QObject *MainObject() const;
    // Closes and destroys it; rows left in a pending list are discarded.
    void CloseMain();

    // Sets the Transactions panel's pickers to `from` and `to` and clicks
    // Search, as a user does (the panel need not be the visible one).
    void Search(const QDate &from, const QDate &to);

    // The day SignIn's start-up takes for today (invalid: the system's).
    QDate Today;
    // Answers to the message boxes the start-up shows after the sign-in.
    QList<TButton> AnswersAtStart;
    // What the start-up asked or told until the main window was shown.
    QStringList SignInMessages;

    // Parameter texts of the restarts the window asked for.
    QStringList Restarts;

    // A window's child by objectName, or null.
    template <class T> static T *Find(QObject *root, const QString &name) {
        return root ? root->findChild<T *>(name) : nullptr;
    }
    // A child of the signed-in main window that the test cannot go on without.
    template <class T> T *Need(const QString &name) {
        T *w = Find<T>(MainObject(), name);
        if (!w)
            qFatal("no %s", qPrintable(name));
        return w;
    }

private:
    QTemporaryDir FHome, FConfig;
    QByteArray FOldHome, FOldConfig;
    bool FHadHome = false, FHadConfig = false;
    std::unique_ptr<TStartup> FStartup;
};

// Before the application object exists: the offscreen platform that the
// GUI checks run on gets screens of these sizes, side by side, the first one
// primary (its one screen is 800 x 600 otherwise).
void UseOffscreenScreens(const QList<QSize> &sizes);

// Answers the next sign-in window: types `user` and `password` and presses
// Submit; the boxes that opens take the answers queued after this one.
void AnswerSignIn(const QString &user, const QString &password);

// The texts a report-style list shows, row by row, from its model's data()
// (column 0, the empty image column, left out).
QList<QStringList> ListTexts(const QTreeView *list);

// A record to store, from the texts a user types: "MM/dd/yyyy", "Expense" or
// "Income", and an amount such as "12.50".
TRecord TestRecord(const QString &date, const QString &type, const QString &category,
                   const QString &amount, const QString &notes = QString());

// A store of `file` holding the data key of `user`, who signs in with
// `password`: what the program stored sealed is read through it. Made once
// per file and user (a key takes a while to derive); taken again from the
// password while the user's book is not sealed yet.
TDbMan &SignedInStore(const QString &file, const QString &user,
                      const QString &password = QStringLiteral("secret"));
