#pragma once

#include "store/Records.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

class QTreeView;
class TfrmMain;

// A signed-in main window for GUI tests.
//
// TMainFixture points XDG_DATA_HOME at a fresh temporary folder (so the
// program's data file is a first-run copy of bin/db.ledgerly), and SignIn
// creates the user through the real sign-in window. Restarts never spawn a
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

    // Constructs a TfrmMain whose sign-in window is answered with `user` and
    // `password` (and Yes to the creation question when `create` is true),
    // and waits until the window is shown; TestDialogs then starts afresh.
    // `arguments` is its command line.
    TfrmMain *SignIn(const QString &user = QStringLiteral("tester"),
                     const QString &password = QStringLiteral("secret"), bool create = true,
                     const QStringList &arguments = QStringList());

    // The window made by SignIn (null before).
    TfrmMain *Main() const { return FMain.get(); }
    QObject *MainObject() const;
    // Closes and destroys it.
    void CloseMain();

    // Sets the Transactions panel's pickers to `from` and `to` and clicks
    // Search, as a user does (the panel need not be the visible one).
    void Search(const QDate &from, const QDate &to);

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
    QTemporaryDir FHome;
    QByteArray FOldHome;
    bool FHadHome = false;
    std::unique_ptr<TfrmMain> FMain;
};

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
