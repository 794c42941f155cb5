// The sign-in window through its real controls: first run, creation,
// sign-in in another letter case, wrong password, the user list order, the
// keyboard, restore from the command line, and a cancelled start.
#include "forms/LoginForm.h"
#include "forms/MainForm.h"
#include "store/CheckedFile.h"
#include "store/DbClass.h"
#include "tests/support/MainFixture.h"
#include "tests/support/TestDialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

using TestDialogs::Answer;
using TestDialogs::LastMessage;

namespace {

// While it lives, every write of SQLite fails as on a full disk.
struct TFullDisk {
    static inline sqlite3_vfs *Base = nullptr, Vfs = {};
    static inline sqlite3_io_methods Files = {};
    static int Full(sqlite3_file *, const void *, int, sqlite3_int64) { return SQLITE_FULL; }
    static int Open(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *file, int flags, int *out) {
        const int rc = Base->xOpen(Base, name, file, flags, out);
        if (rc == SQLITE_OK && file->pMethods) {
            Files = *file->pMethods;
            Files.xWrite = Full;
            file->pMethods = &Files;
        }
        return rc;
    }
    TFullDisk() {
        Base = sqlite3_vfs_find(nullptr);
        Vfs = *Base;
        Vfs.zName = "full-disk";
        Vfs.xOpen = Open;
        sqlite3_vfs_register(&Vfs, 1);
    }
    ~TFullDisk() { sqlite3_vfs_register(Base, 1); }
};

QStringList appArgs(const QString &extra = QString()) {
    QStringList args{QCoreApplication::applicationFilePath()};
    if (!extra.isEmpty())
        args << extra;
    return args;
}

QStringList comboItems(TfrmLogin &login) {
    QStringList items;
    auto *combo = login.findChild<QComboBox *>("cboUsername");
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

void type(TfrmLogin &login, const QString &user, const QString &password) {
    login.findChild<QComboBox *>("cboUsername")->setEditText(user);
    login.findChild<QLineEdit *>("edtPassword")->setText(password);
}

QPushButton *submit(TfrmLogin &login) {
    return login.findChild<QPushButton *>("btnSubmit");
}

} // namespace

class TestLogin : public QObject {
    Q_OBJECT

    std::unique_ptr<TMainFixture> fixture;

    void addUsers(const QStringList &names) {
        {
            TfrmLogin first(nullptr, appArgs()); // makes the data file
        }
        TDbMan db(fixture->DataFile());
        for (const QString &name : names)
            db.AddUser(name, "pw-" + name);
    }

private slots:
    void init() { fixture = std::make_unique<TMainFixture>(); }
    void cleanup() { fixture.reset(); }

    void firstRunAndCreation() {
        QVERIFY(!QFile::exists(fixture->DataFile()));
        TfrmLogin login(nullptr, appArgs());
        QCOMPARE(login.FDataFile, fixture->DataFile());
        QVERIFY(QFile::exists(fixture->DataFile()));
        QVERIFY(comboItems(login).isEmpty());
        QVERIFY(!submit(login)->isEnabled());
        QCOMPARE(login.windowTitle(), QString("Login"));

        // A password of blanks keeps Submit disabled.
        type(login, "Guest", "   ");
        QVERIFY(!submit(login)->isEnabled());

        // Declining the question creates nothing and keeps the window.
        type(login, " Guest ", " 24680 ");
        QVERIFY(submit(login)->isEnabled());
        Answer(TButton::No);
        submit(login)->click();
        QCOMPARE(TestDialogs::Asked().last().Caption, QString("?"));
        QCOMPARE(LastMessage(), QString("You want to create a new Username and Password?\n\n"
                                        "- Username: Guest\n- Password: 24680"));
        QCOMPARE(login.result(), 0);
        QVERIFY(TDbMan(fixture->DataFile()).GetUserNames().isEmpty());
        QVERIFY(submit(login)->isEnabled());

        Answer(TButton::Yes);
        submit(login)->click();
        QCOMPARE(login.result(), int(QDialog::Accepted));
        QCOMPARE(login.FUserName, QString("Guest"));
        TDbMan db(fixture->DataFile());
        QVERIFY(db.UserExists("Guest"));
        QVERIFY(db.CheckPassword("Guest", "24680"));
    }

    void signInCaseAndWrongPassword() {
        addUsers({"Bob"});
        TfrmLogin login(nullptr, appArgs());
        QCOMPARE(comboItems(login), QStringList{"Bob"});

        type(login, "bob", "wrong");
        Answer(TButton::Ok);
        submit(login)->click();
        QCOMPARE(LastMessage(), QString("ERROR: Invalid password."));
        QCOMPARE(TestDialogs::Asked().last().Caption, QString("ERROR"));
        QCOMPARE(login.result(), 0);
        QCOMPARE(login.findChild<QLineEdit *>("edtPassword")->text(), QString("wrong"));
        QVERIFY(submit(login)->isEnabled());

        QCOMPARE(login.FindUser("BOB"), QString("Bob"));
        QCOMPARE(login.FindUser("nobody"), QString());

        // Typed in another case with a trailing blank: the stored spelling.
        type(login, "bOB ", "pw-Bob");
        submit(login)->click();
        QCOMPARE(login.result(), int(QDialog::Accepted));
        QCOMPARE(login.FUserName, QString("Bob"));
    }

    void findUserFoldsOnlyAsciiLetters() {
        addUsers({QString::fromUtf8("Ämil")});
        TfrmLogin login(nullptr, appArgs());
        QCOMPARE(login.FindUser(QString::fromUtf8("ÄMIL")), QString::fromUtf8("Ämil"));
        QCOMPARE(login.FindUser(QString::fromUtf8("ämil")), QString());
    }

    void listOrderAfterSignIn() {
        addUsers({"alice", "bob", "carol"});
        {
            TfrmLogin login(nullptr, appArgs());
            QCOMPARE(comboItems(login), QStringList({"carol", "bob", "alice"}));
            type(login, "bob", "pw-bob");
            submit(login)->click();
            QCOMPARE(login.result(), int(QDialog::Accepted));
        }
        TfrmLogin login(nullptr, appArgs());
        QCOMPARE(comboItems(login), QStringList({"bob", "carol", "alice"}));
        QCOMPARE(login.findChild<QComboBox *>("cboUsername")->currentText(), QString("bob"));
        login.show();
        QVERIFY(QTest::qWaitForWindowExposed(&login));
        QTRY_COMPARE(QApplication::focusWidget(), login.findChild<QLineEdit *>("edtPassword"));
        // The password still checks after the re-insert.
        QVERIFY(TDbMan(fixture->DataFile()).CheckPassword("bob", "pw-bob"));
    }

    void keyboard() {
        addUsers({"dave"});
        TfrmLogin login(nullptr, appArgs());
        login.show();
        QVERIFY(QTest::qWaitForWindowExposed(&login));
        auto *name = login.findChild<QComboBox *>("cboUsername");
        auto *pwd = login.findChild<QLineEdit *>("edtPassword");

        // Enter in the name box moves on to the password box.
        name->setFocus();
        QTest::keyClick(name->lineEdit(), Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), pwd);
        QVERIFY(login.isVisible());

        // Enter in a blank password box does nothing.
        pwd->setText("  ");
        QTest::keyClick(pwd, Qt::Key_Return);
        QVERIFY(login.isVisible());
        QCOMPARE(login.result(), 0);

        // Enter with a password submits.
        pwd->setText("pw-dave");
        QTest::keyClick(pwd, Qt::Key_Return);
        QCOMPARE(login.result(), int(QDialog::Accepted));
        QCOMPARE(login.FUserName, QString("dave"));

        // Enter on a focused button presses it: Submit signs in, Cancel cancels.
        for (const char *button : {"btnSubmit", "btnCancel"}) {
            TfrmLogin again(nullptr, appArgs());
            again.show();
            QVERIFY(QTest::qWaitForWindowExposed(&again));
            type(again, "dave", "pw-dave");
            auto *focused = again.findChild<QPushButton *>(button);
            focused->setFocus();
            QTest::keyClick(focused, Qt::Key_Return);
            const bool isSubmit = QByteArray(button) == "btnSubmit";
            QCOMPARE(again.result(), int(isSubmit ? QDialog::Accepted : QDialog::Rejected));
            QCOMPARE(again.FUserName, QString(isSubmit ? "dave" : ""));
        }
    }

    void escapeCancels() {
        addUsers({"erin"});
        TfrmLogin login(nullptr, appArgs());
        login.show();
        QVERIFY(QTest::qWaitForWindowExposed(&login));
        type(login, "erin", "pw-erin");
        QTest::keyClick(&login, Qt::Key_Escape);
        QCOMPARE(login.result(), int(QDialog::Rejected));
        QVERIFY(login.FUserName.isEmpty());
        QVERIFY(!login.isVisible());
    }

    void cancelledSignInEndsQuietly() {
        // Cancel: no window shown, no message (an unanswered box fails).
        TestDialogs::Dialog([](QDialog *w) { w->findChild<QPushButton *>("btnCancel")->click(); });
        TfrmMain main(nullptr, appArgs());
        QVERIFY(!main.SignedIn());
        QVERIFY(main.UserName().isEmpty());
        QVERIFY(!main.isVisible());
        QCOMPARE(TestDialogs::Asked().size(), 1);
    }

    void restoreFromCommandLine() {
        addUsers({"current"});
        // A backup holding another account, named with capitals.
        QTemporaryDir dir;
        const QString backup = dir.filePath("Saved.LEDGERLY");
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/db.ledgerly", backup));
        TDbMan(backup).AddUser("restored", "pw");

        // A backup with another extension, or a missing file: ignored.
        const QString other = dir.filePath("Saved.bak");
        QVERIFY(QFile::copy(backup, other));
        for (const QString &arg : {other, dir.filePath("missing.ledgerly")}) {
            TfrmLogin login(nullptr, appArgs(arg));
            QCOMPARE(comboItems(login), QStringList{"current"});
        }

        // A file that is not a data file is refused with a message.
        const QString junk = dir.filePath("junk.ledgerly");
        {
            QFile f(junk);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not a database at all");
        }
        Answer(TButton::Ok);
        {
            TfrmLogin login(nullptr, appArgs(junk));
            QCOMPARE(comboItems(login), QStringList{"current"});
        }
        QVERIFY2(LastMessage().contains("not a Ledgerly data file"), qPrintable(LastMessage()));

        // An SQLite file without the program's tables is refused too.
        const QString foreign = dir.filePath("foreign.ledgerly");
        {
            QFile f(foreign);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QFile src(backup);
            QVERIFY(src.open(QIODevice::ReadOnly));
            f.write(src.read(100)); // a valid header, but a broken database
        }
        Answer(TButton::Ok);
        {
            TfrmLogin login(nullptr, appArgs(foreign));
            QCOMPARE(comboItems(login), QStringList{"current"});
        }

        // A backup from outside the program is restored only after a question.
        Answer(TButton::No);
        {
            TfrmLogin declined(nullptr, appArgs(backup));
            QCOMPARE(comboItems(declined), QStringList{"current"});
        }
        QVERIFY2(LastMessage().contains(backup), qPrintable(LastMessage()));
        Answer(TButton::Yes);
        TfrmLogin login(nullptr, appArgs(backup));
        QCOMPARE(comboItems(login), QStringList{"restored"});
        QVERIFY(QFileInfo(fixture->DataFile()).isWritable());
        // The data it replaced is kept among the backups, where the user finds it.
        const QDir backups(QFileInfo(fixture->DataFile()).dir().filePath("backups"));
        const QStringList kept = backups.entryList({"*-before-restore.ledgerly"});
        QCOMPARE(kept.size(), 1);
        QVERIFY(TDbMan(backups.filePath(kept.first())).UserExists("current"));
    }

    void failedAutomaticBackupIsShownAndSignInGoesOn() {
        addUsers({"erin"});
        // The day's copy cannot be made: a file stands where its folder goes.
        const QString backups = QFileInfo(fixture->DataFile()).dir().filePath("backups");
        QVERIFY(!QFileInfo::exists(backups));
        {
            QFile blocker(backups);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        AnswerSignIn("erin", "pw-erin");
        Answer(TButton::Ok);
        TfrmMain main(nullptr, appArgs());
        main.StartNewInstance = [](const QString &) {};
        QVERIFY(main.SignedIn());
        QTRY_VERIFY(TestDialogs::AllUsed());
        QCOMPARE(TestDialogs::Asked().last().Caption, QString("Backup"));
        const QString text = LastMessage();
        QVERIFY2(text.contains("automatic backup") && text.contains(backups), qPrintable(text));
    }

    // On a full disk the user signs in all the same (the list keeps its
    // order), once the copies killed writers left are gone, and the main
    // window says in one line what is wrong and what to do.
    void fullDiskSignInGoesOn() {
        addUsers({"erin", "finn"});
        const QString folder = QFileInfo(fixture->DataFile()).absolutePath();
        QVERIFY(QDir().mkpath(folder + "/backups"));
        TCheckedFile writing(fixture->DataFile(), {}), stuck(fixture->DataFile(), {});
        writing.Write("a copy being written");
        QFile old(stuck.TempPath()); // locked, but not written for over an hour
        QVERIFY(old.open(QIODevice::ReadWrite) &&
                old.setFileTime(QDateTime::currentDateTime().addSecs(-3700),
                                QFileDevice::FileModificationTime));
        TCheckedFile::WriteWhole(folder + "/backups/.db-2024-01-02.ledgerly.k1.tmp", "killed", {});
        TCheckedFile::WriteWhole(folder + "/.db.ledgerly.k2.tmp", "", {});
        AnswerSignIn("erin", "pw-erin");
        Answer(TButton::Ok);
        TFullDisk full;
        TfrmMain main(nullptr, appArgs());
        QTRY_VERIFY(TestDialogs::AllUsed());
        QVERIFY(main.SignedIn() && main.isVisible());
        QCOMPARE(LastMessage(),
                 "The disk that holds \"" + folder +
                     "\" is full: free some space on it (delete files you no longer need, "
                     "empty the trash) so that Ledgerly can save your changes and make its "
                     "daily backup.");
        QCOMPARE(TDbMan(fixture->DataFile()).GetUserNames(), QString("finn\r\nerin"));
        QCOMPARE(QDir(folder).entryList({".*.tmp"}, QDir::Files | QDir::Hidden).size(), 2);
        QVERIFY(QFile::exists(writing.TempPath()) &&
                QFile::exists(folder + "/.db.ledgerly.k2.tmp"));
        QVERIFY(QDir(folder + "/backups").isEmpty(QDir::Files | QDir::Hidden));
    }

    void unreadableDataFileSaysWhichAndWhatToDo() {
        addUsers({"kept"});
        QFile file(fixture->DataFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(8192, 'x'));
        file.close();
        try {
            TfrmLogin login(nullptr, appArgs());
            QFAIL("an unreadable data file was taken");
        } catch (const std::exception &error) {
            const QString text = QString::fromUtf8(error.what());
            QVERIFY2(text.contains(fixture->DataFile()), qPrintable(text));
            QVERIFY2(text.contains("backup file's name"), qPrintable(text));
        }
        // Nothing replaced it: the file is still there as it was.
        QCOMPARE(QFileInfo(fixture->DataFile()).size(), qint64(8192));
    }

    void programRestoresRelativeBackupName() {
        // The program itself, started from the backup's folder with the
        // backup's bare name, restores it before the sign-in window shows.
        const QString program = QCoreApplication::applicationDirPath() + "/ledgerly";
        if (!QFileInfo(program).isExecutable())
            QSKIP("the ledgerly program is not built");
        QTemporaryDir dir;
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/db.ledgerly",
                            dir.filePath("saved.ledgerly")));
        TDbMan(dir.filePath("saved.ledgerly")).AddUser("restored", "pw");

        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", fixture->DataHome());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        process.start(program, {"--restore-chosen", "saved.ledgerly"});
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(fixture->DataFile()).size() ==
                                         QFileInfo(dir.filePath("saved.ledgerly")).size() &&
                                     TDbMan(fixture->DataFile()).UserExists("restored"),
                                 30000);
        process.kill();
        process.waitForFinished();
    }
};

QTEST_MAIN(TestLogin)
#include "test_login.moc"
