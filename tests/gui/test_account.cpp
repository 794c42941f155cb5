// The account menu through the real main window: switch user, set password,
// delete user, backup, restore, About and Exit.
#include "app/Process.h"
#include "forms/MainForm.h"
#include "store/DbClass.h"
#include "store/FieldCodec.h"
#include "store/Sqlite.h"
#include "tests/support/MainFixture.h"
#include "tests/support/ModalAnswer.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

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
        QVERIFY(ModalAnswer::AllUsed());
    }
    void cleanup() {
        ModalAnswer::Clear();
        fixture.reset();
    }

    void answeringNoChangesNothing() {
        ModalAnswer::MessageBox(QMessageBox::No);
        trigger("mnuMenu_SwitchUser");
        QString text;
        ModalAnswer::MessageBox(QMessageBox::No, &text);
        trigger("mnuMenu_DeleteUser");
        QVERIFY(ModalAnswer::AllUsed());
        QCOMPARE(text, QString("You want to delete alice?"));
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
        QString text;
        Qt::TextFormat format = Qt::AutoText;
        ModalAnswer::Next([&](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            QVERIFY(box);
            text = box->text();
            format = box->textFormat();
            box->button(QMessageBox::No)->click();
        });
        trigger("mnuMenu_DeleteUser");
        QVERIFY(ModalAnswer::AllUsed());
        QCOMPARE(text, QString("You want to delete <i>al</i>?"));
        QCOMPARE(format, Qt::PlainText);
        QVERIFY(fixture->Restarts.isEmpty());
    }

    void switchUserRestarts() {
        QString text, caption;
        ModalAnswer::MessageBox(QMessageBox::Yes, &text, &caption);
        trigger("mnuMenu_SwitchUser");
        QVERIFY(ModalAnswer::AllUsed());
        QCOMPARE(text, QString("You want to switch user?"));
        QCOMPARE(caption, QString("?"));
        QCOMPARE(fixture->Restarts, QStringList{QString()});
        QVERIFY(!main->isVisible());
    }

    void setPassword() {
        // Blank input asks again; the trimmed password is stored.
        QString text, caption;
        ModalAnswer::InputDialog("   ");
        ModalAnswer::Next([](QWidget *w) {
            auto *dlg = qobject_cast<QInputDialog *>(w);
            QVERIFY(dlg);
            QCOMPARE(dlg->windowTitle(), QString("Set Password"));
            QCOMPARE(dlg->labelText(), QString("Enter a new password:"));
            QCOMPARE(dlg->textValue(), QString());
            dlg->setTextValue("  new pw  ");
            dlg->accept();
        });
        ModalAnswer::MessageBox(QMessageBox::Ok, &text, &caption);
        trigger("mnuMenu_SetPwd");
        QVERIFY(ModalAnswer::AllUsed());
        QCOMPARE(text, QString("SUCCESS!"));
        QCOMPARE(caption, QString("Set Password"));
        TDbMan db(fixture->DataFile());
        QVERIFY(db.CheckPassword("alice", "new pw"));
        QVERIFY(!db.CheckPassword("alice", "pw1"));
        QVERIFY(main->isVisible());

        // Cancel leaves the password as it is and shows nothing.
        ModalAnswer::InputDialog("ignored", false);
        trigger("mnuMenu_SetPwd");
        QVERIFY(ModalAnswer::AllUsed());
        QTest::qWait(50);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(db.CheckPassword("alice", "new pw"));
    }

    void deleteUserKeepsRecords() {
        {
            TDbMan db(fixture->DataFile());
            db.AddRecord("alice", TestRecord("03/04/2024", "Expense", "Food", "12.50", "lunch"));
            db.SetCategories("alice", "out", {"Food"});
        }
        ModalAnswer::MessageBox(QMessageBox::Yes);
        trigger("mnuMenu_DeleteUser");
        QVERIFY(ModalAnswer::AllUsed());
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
        QString text, caption;
        ModalAnswer::FileDialog(dir.filePath("first"));
        ModalAnswer::MessageBox(QMessageBox::Ok, &text, &caption);
        trigger("mnuMenu_Backup");
        QVERIFY(ModalAnswer::AllUsed());
        QCOMPARE(text, QString("SUCCESS!"));
        QCOMPARE(caption, QString("Backup"));
        // A copy of every row, the owner's alone.
        QCOMPARE(rows(dir.filePath("first.ledgerly")), rows(fixture->DataFile()));
        QVERIFY(rows(fixture->DataFile()).contains("d1" + EncodeField("alice")));
        QCOMPARE(QFile::permissions(dir.filePath("first.ledgerly")),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QVERIFY(!QFile::exists(dir.filePath("first")));

        // "first" again: the dialog confirmed only that name, so replacing the
        // existing "first.ledgerly" is asked; No keeps the old backup.
        QVERIFY(QFile::resize(dir.filePath("first.ledgerly"), 10));
        QString question;
        ModalAnswer::FileDialog(dir.filePath("first"));
        ModalAnswer::MessageBox(QMessageBox::No, &question);
        trigger("mnuMenu_Backup");
        QVERIFY(ModalAnswer::AllUsed());
        QVERIFY2(question.contains("first.ledgerly already exists."), qPrintable(question));
        QCOMPARE(QFileInfo(dir.filePath("first.ledgerly")).size(), qint64(10));
        ModalAnswer::FileDialog(dir.filePath("first"));
        ModalAnswer::MessageBox(QMessageBox::Yes);
        ModalAnswer::MessageBox(QMessageBox::Ok, &text);
        trigger("mnuMenu_Backup");
        QVERIFY(ModalAnswer::AllUsed());
        QCOMPARE(text, QString("SUCCESS!"));
        QCOMPARE(rows(dir.filePath("first.ledgerly")), rows(fixture->DataFile()));

        // Another extension is kept and ".ledgerly" added; capitals count.
        ModalAnswer::FileDialog(dir.filePath("notes.txt"));
        ModalAnswer::MessageBox(QMessageBox::Ok);
        trigger("mnuMenu_Backup");
        ModalAnswer::FileDialog(dir.filePath("CAPS.LEDGERLY"));
        ModalAnswer::MessageBox(QMessageBox::Ok);
        trigger("mnuMenu_Backup");
        QVERIFY(ModalAnswer::AllUsed());
        QVERIFY(QFile::exists(dir.filePath("notes.txt.ledgerly")));
        QVERIFY(QFile::exists(dir.filePath("CAPS.LEDGERLY")));
        QVERIFY(!QFile::exists(dir.filePath("CAPS.LEDGERLY.ledgerly")));

        // The dialog remembers the last name; cancelling does nothing.
        ModalAnswer::Next([&](QWidget *w) {
            auto *dlg = qobject_cast<QFileDialog *>(w);
            QVERIFY(dlg);
            QCOMPARE(QFileInfo(dlg->selectedFiles().value(0)).fileName(), QString("CAPS.LEDGERLY"));
            QCOMPARE(dlg->nameFilters(), QStringList{"*.ledgerly (*.ledgerly)"});
            dlg->reject();
        });
        trigger("mnuMenu_Backup");
        QVERIFY(ModalAnswer::AllUsed());
        QTest::qWait(50);
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        // A copy that cannot be made is reported, naming the file; no success.
        QVERIFY(QDir(dir.path()).mkdir("blocked.ledgerly"));
        ModalAnswer::FileDialog(dir.filePath("blocked"));
        ModalAnswer::MessageBox(QMessageBox::Yes); // replace what is there
        ModalAnswer::MessageBox(QMessageBox::Ok, &text, &caption);
        trigger("mnuMenu_Backup");
        QVERIFY(ModalAnswer::AllUsed());
        QVERIFY2(text.contains("blocked.ledgerly"), qPrintable(text));
        QCOMPARE(caption, QString("Ledgerly - Username: alice"));
        QTest::qWait(50);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        // Nothing is left behind beside the target.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3);
    }

    void restore() {
        QTemporaryDir dir;
        const QString good = dir.filePath("My Backup.LEDGERLY");
        QVERIFY(QFile::copy(fixture->DataFile(), good));

        // The dialog opens among the automatic backups.
        QString opened;
        ModalAnswer::Next([&](QWidget *w) {
            opened = qobject_cast<QFileDialog *>(w)->directory().absolutePath();
            qobject_cast<QFileDialog *>(w)->reject();
        });
        trigger("mnuMenu_Restore");
        QVERIFY(ModalAnswer::AllUsed());
        QCOMPARE(opened, QFileInfo(fixture->DataFile()).dir().filePath("backups"));

        // Another extension, or a missing file: silently nothing.
        const QString other = dir.filePath("copy.bak");
        QVERIFY(QFile::copy(good, other));
        ModalAnswer::FileDialog(other);
        trigger("mnuMenu_Restore");
        ModalAnswer::FileDialog(dir.filePath("missing.ledgerly"));
        trigger("mnuMenu_Restore");
        QVERIFY(ModalAnswer::AllUsed());
        QTest::qWait(50);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
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
            QString text;
            ModalAnswer::FileDialog(file);
            ModalAnswer::MessageBox(QMessageBox::Ok, &text);
            trigger("mnuMenu_Restore");
            QVERIFY(ModalAnswer::AllUsed());
            QVERIFY2(text.contains("not a Ledgerly data file") && text.contains(file),
                     qPrintable(text));
        }
        QVERIFY(fixture->Restarts.isEmpty());
        QVERIFY(main->isVisible());

        // A real backup: restart with its quoted name, and close.
        ModalAnswer::FileDialog(good);
        trigger("mnuMenu_Restore");
        QVERIFY(ModalAnswer::AllUsed());
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
        ModalAnswer::FileDialog(backup);
        trigger("mnuMenu_Restore");
        QVERIFY(ModalAnswer::AllUsed());
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
        ModalAnswer::Next([&](QWidget *w) {
            QCOMPARE(w->windowTitle(), QString("About"));
            title = w->findChild<QLabel *>("lblTitle")->text();
            version = w->findChild<QLabel *>("lblVersion")->text();
            QMetaObject::invokeMethod(w, "accept", Qt::QueuedConnection);
        });
        trigger("mnuMenu_About");
        QVERIFY(ModalAnswer::AllUsed());
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
