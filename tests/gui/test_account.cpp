// The account menu through the real main window: switch user, set password,
// delete user, backup, restore, About and Exit.
#include "app/Process.h"
#include "forms/MainForm.h"
#include "store/DbClass.h"
#include "store/FieldCodec.h"
#include "store/Sqlite.h"
#include "tests/support/MainFixture.h"
#include "tests/support/TestDialogs.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using TestDialogs::Answer;
using TestDialogs::LastMessage;

namespace {

// Every stored row of a data file, read back through SQLite.
QString rows(const QString &path) {
    TSqlConnection db(path, TSqlConnection::TMode::ReadOnly);
    TSqlStatement all(db, "SELECT 'u', name, pwd FROM users UNION ALL SELECT 'c', user, "
                          "out || \"in\" FROM cates UNION ALL SELECT 'd', id, user || date || "
                          "type || cate || amount || notes FROM data");
    QStringList out;
    while (all.Next())
        out << all.Text(0) + all.Text(1) + all.Text(2);
    return out.join('\n');
}

} // namespace

class TestAccount : public QObject {
    Q_OBJECT

    std::unique_ptr<TMainFixture> fixture;
    TfrmMain *main = nullptr;

    void trigger(const char *item) {
        QAction *action = main->findChild<QAction *>(item);
        QVERIFY2(action, item);
        action->trigger();
    }

private slots:
    void init() {
        fixture = std::make_unique<TMainFixture>();
        main = fixture->SignIn("alice", "pw1");
        QVERIFY(main && main->SignedIn());
    }
    void cleanup() { fixture.reset(); }

    void answeringNoChangesNothing() {
        Answer(TButton::No);
        trigger("mnuMenu_SwitchUser");
        Answer(TButton::No);
        trigger("mnuMenu_DeleteUser");
        QCOMPARE(LastMessage(), QString("You want to delete alice?"));
        QVERIFY(main->isVisible());
        QVERIFY(fixture->Restarts.isEmpty());
        QVERIFY(TDbMan(fixture->DataFile()).UserExists("alice"));
    }

    void questionsShowNamesAsTyped() {
        // A user name that looks like markup is shown as typed.
        fixture.reset();
        fixture = std::make_unique<TMainFixture>();
        main = fixture->SignIn("<i>al</i>", "pw1");
        QVERIFY(main && main->SignedIn());
        Answer(TButton::No);
        trigger("mnuMenu_DeleteUser");
        QCOMPARE(LastMessage(), QString("You want to delete <i>al</i>?"));
        QVERIFY(fixture->Restarts.isEmpty());
    }

    void switchUserRestarts() {
        Answer(TButton::Yes);
        trigger("mnuMenu_SwitchUser");
        QCOMPARE(LastMessage(), QString("You want to switch user?"));
        QCOMPARE(TestDialogs::Asked().first().Caption, QString("?"));
        QCOMPARE(fixture->Restarts, QStringList{QString()});
        QVERIFY(!main->isVisible());
    }

    void setPassword() {
        // Blank input asks again; the trimmed password is stored.
        TestDialogs::Text("   ");
        TestDialogs::Text("  new pw  ");
        Answer(TButton::Ok);
        trigger("mnuMenu_SetPwd");
        const QList<TestDialogs::TAsked> &asked = TestDialogs::Asked();
        QCOMPARE(asked.size(), 3);
        QCOMPARE(asked.at(1).Caption, QString("Set Password"));
        QCOMPARE(asked.at(1).Text, QString("Enter a new password:"));
        QCOMPARE(asked.at(1).Start, QString());
        QCOMPARE(asked.at(2).Caption, QString("Set Password"));
        QCOMPARE(LastMessage(), QString("SUCCESS!"));
        TDbMan db(fixture->DataFile());
        QVERIFY(db.CheckPassword("alice", "new pw"));
        QVERIFY(!db.CheckPassword("alice", "pw1"));
        QVERIFY(main->isVisible());

        // Cancel leaves the password as it is and shows nothing.
        TestDialogs::Text(std::nullopt);
        trigger("mnuMenu_SetPwd");
        QCOMPARE(asked.size(), 4);
        QVERIFY(db.CheckPassword("alice", "new pw"));
    }

    void deleteUserKeepsRecords() {
        {
            TDbMan db(fixture->DataFile());
            db.AddRecord("alice", TestRecord("03/04/2024", "Expense", "Food", "12.50", "lunch"));
            db.SetCategories("alice", "out", {"Food"});
        }
        Answer(TButton::Yes);
        trigger("mnuMenu_DeleteUser");
        QCOMPARE(fixture->Restarts, QStringList{QString()});
        QVERIFY(!main->isVisible());

        TDbMan db(fixture->DataFile());
        QVERIFY(!db.UserExists("alice"));
        QVERIFY(!db.GetUserNames().contains("alice"));
        const TPeriod period = db.ReadPeriod("alice", QDate(2024, 1, 1), QDate(2024, 12, 31));
        QCOMPARE(period.Records.size(), 1);
        QCOMPARE(period.ExpenseCents, 1250);
        QCOMPARE(db.GetCategories("alice", "out"), QStringList{"Food"});
    }

    void backup() {
        QTemporaryDir dir;
        TDbMan(fixture->DataFile())
            .AddRecord("alice", TestRecord("03/04/2024", "Expense", "Food", "12.50", "lunch"));
        // No extension: ".ledgerly" is appended.
        TestDialogs::File(dir.filePath("first"));
        Answer(TButton::Ok);
        trigger("mnuMenu_Backup");
        QCOMPARE(LastMessage(), QString("SUCCESS!"));
        QCOMPARE(TestDialogs::Asked().last().Caption, QString("Backup"));
        // A copy of every row, the owner's alone.
        QCOMPARE(rows(dir.filePath("first.ledgerly")), rows(fixture->DataFile()));
        QVERIFY(rows(fixture->DataFile()).contains("d1" + EncodeField("alice")));
        QCOMPARE(QFile::permissions(dir.filePath("first.ledgerly")),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QVERIFY(!QFile::exists(dir.filePath("first")));

        // "first" again: the dialog confirmed only that name, so replacing the
        // existing "first.ledgerly" is asked; No keeps the old backup.
        QVERIFY(QFile::resize(dir.filePath("first.ledgerly"), 10));
        TestDialogs::File(dir.filePath("first"));
        Answer(TButton::No);
        trigger("mnuMenu_Backup");
        QVERIFY2(LastMessage().contains("first.ledgerly already exists."),
                 qPrintable(LastMessage()));
        QCOMPARE(QFileInfo(dir.filePath("first.ledgerly")).size(), qint64(10));
        TestDialogs::File(dir.filePath("first"));
        Answer(TButton::Yes);
        Answer(TButton::Ok);
        trigger("mnuMenu_Backup");
        QCOMPARE(LastMessage(), QString("SUCCESS!"));
        QCOMPARE(rows(dir.filePath("first.ledgerly")), rows(fixture->DataFile()));

        // Another extension is kept and ".ledgerly" added; capitals count.
        TestDialogs::File(dir.filePath("notes.txt"));
        Answer(TButton::Ok);
        trigger("mnuMenu_Backup");
        TestDialogs::File(dir.filePath("CAPS.LEDGERLY"));
        Answer(TButton::Ok);
        trigger("mnuMenu_Backup");
        QVERIFY(QFile::exists(dir.filePath("notes.txt.ledgerly")));
        QVERIFY(QFile::exists(dir.filePath("CAPS.LEDGERLY")));
        QVERIFY(!QFile::exists(dir.filePath("CAPS.LEDGERLY.ledgerly")));

        // The dialog starts at the last name chosen; cancelling does nothing.
        TestDialogs::File(QString());
        trigger("mnuMenu_Backup");
        QCOMPARE(TestDialogs::Asked().last().Start, dir.filePath("CAPS.LEDGERLY"));
        QCOMPARE(TestDialogs::Asked().last().Text, QString("*.ledgerly (*.ledgerly)"));

        // A copy that cannot be made is reported, naming the file; no success.
        QVERIFY(QDir(dir.path()).mkdir("blocked.ledgerly"));
        TestDialogs::File(dir.filePath("blocked"));
        Answer(TButton::Yes); // replace what is there
        Answer(TButton::Ok);
        trigger("mnuMenu_Backup");
        QVERIFY2(LastMessage().contains("blocked.ledgerly"), qPrintable(LastMessage()));
        QCOMPARE(TestDialogs::Asked().last().Caption, QString("Ledgerly - Username: alice"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        // Nothing is left behind beside the target.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3);
    }

    void restore() {
        QTemporaryDir dir;
        const QString good = dir.filePath("My Backup.LEDGERLY");
        QVERIFY(QFile::copy(fixture->DataFile(), good));

        // The dialog opens among the automatic backups.
        TestDialogs::File(QString());
        trigger("mnuMenu_Restore");
        QCOMPARE(TestDialogs::Asked().last().Start,
                 QFileInfo(fixture->DataFile()).dir().filePath("backups"));

        // Another extension, or a missing file: silently nothing.
        const QString other = dir.filePath("copy.bak");
        QVERIFY(QFile::copy(good, other));
        TestDialogs::File(other);
        trigger("mnuMenu_Restore");
        TestDialogs::File(dir.filePath("missing.ledgerly"));
        trigger("mnuMenu_Restore");
        QCOMPARE(TestDialogs::Asked().size(), 3);
        QVERIFY(fixture->Restarts.isEmpty());

        // Not a data file, or one without the columns the program uses:
        // refused with a message before anything happens.
        const QString junk = dir.filePath("junk.ledgerly");
        {
            QFile f(junk);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        }
        const QString odd = dir.filePath("odd.ledgerly");
        TSqlConnection(odd, TSqlConnection::TMode::Create)
            .Exec("create table users(a); create table cates(b); create table data(c);");
        for (const QString &file : {junk, odd}) {
            TestDialogs::File(file);
            Answer(TButton::Ok);
            trigger("mnuMenu_Restore");
            QVERIFY2(LastMessage().contains("not a Ledgerly data file") &&
                         LastMessage().contains(file),
                     qPrintable(LastMessage()));
        }
        QVERIFY(fixture->Restarts.isEmpty());
        QVERIFY(main->isVisible());

        // A real backup: restart with its quoted name, and close.
        TestDialogs::File(good);
        trigger("mnuMenu_Restore");
        QCOMPARE(fixture->Restarts, QStringList{"--restore-chosen \"" + good + "\""});
        QVERIFY(!main->isVisible());
    }

    void restoreThroughRestart() {
        // What the restarted program receives restores the backup's accounts.
        // Apostrophes, blanks and backslashes in the name reach it unchanged.
        QTemporaryDir dir;
        const QString backup = dir.filePath("Bob's b \\\\1.ledgerly");
        QVERIFY(QFile::copy(fixture->DataFile(), backup));
        TDbMan(backup).AddUser("bob", "pw2");
        TestDialogs::File(backup);
        trigger("mnuMenu_Restore");
        QCOMPARE(fixture->Restarts.size(), 1);

        // The parameter text, split as a started program gets it, names the
        // chosen file after the option: copying "it" through a real start
        // gives the backup.
        const QString received = dir.filePath("received.ledgerly");
        RunProgram("/bin/sh", "-c 'cp \"$2\" received.ledgerly' sh " + fixture->Restarts.first(),
                   dir.path());
        QTRY_VERIFY(QFileInfo(received).size() == QFileInfo(backup).size());

        QStringList args{QCoreApplication::applicationFilePath()};
        args << received << "--restore-chosen";
        main = fixture->SignIn("bob", "pw2", false, args);
        QVERIFY(main->SignedIn());
        QCOMPARE(main->UserName(), QString("bob"));
    }

    void aboutAndExit() {
        QString title, version;
        TestDialogs::Dialog([&](QDialog *w) {
            QCOMPARE(w->windowTitle(), QString("About"));
            title = w->findChild<QLabel *>("lblTitle")->text();
            version = w->findChild<QLabel *>("lblVersion")->text();
            w->accept();
        });
        trigger("mnuMenu_About");
        QCOMPARE(title, QString("Ledgerly"));
        QCOMPARE(version, QString("Version 6.22"));
        QVERIFY(main->isVisible());

        trigger("mnuMenu_Exit");
        QVERIFY(!main->isVisible());
        QVERIFY(fixture->Restarts.isEmpty());
    }
};

QTEST_MAIN(TestAccount)
#include "test_account.moc"
