// The start-up and the sign-in window through their real controls: the
// order of the start, first run and creation, sign-in in another letter
// case, wrong password, the user list order, the keyboard, restore from the
// command line, a cancelled start, the daily backup away from the window,
// and the start of another instance.
#include "app/Process.h"
#include "app/Startup.h"
#include "forms/LoginForm.h"
#include "forms/MainForm.h"
#include "store/CheckedFile.h"
#include "store/DataFile.h"
#include "store/DbClass.h"
#include "store/FieldCodec.h"
#include "store/Sqlite.h"
#include "tests/support/MainFixture.h"
#include "tests/support/TestDialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
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

QStringList appArgs(const QStringList &extra = {}) {
    return QStringList{QCoreApplication::applicationFilePath()} + extra;
}

QStringList comboItems(QWidget *login) {
    QStringList items;
    auto *combo = login->findChild<QComboBox *>("cboUsername");
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

void type(QWidget *login, const QString &user, const QString &password) {
    login->findChild<QComboBox *>("cboUsername")->setEditText(user);
    login->findChild<QLineEdit *>("edtPassword")->setText(password);
}

QPushButton *submit(QWidget *login) {
    return login->findChild<QPushButton *>("btnSubmit");
}

// The next sign-in window is answered: `user` and `password` submitted.
void answerSignIn(const QString &user, const QString &password) {
    TestDialogs::Dialog([=](QDialog *login) {
        type(login, user, password);
        submit(login)->click();
    });
}

// The next sign-in window is cancelled, after its list of users was read.
void cancelSignIn(QStringList *users = nullptr) {
    TestDialogs::Dialog([=](QDialog *login) {
        if (users)
            *users = comboItems(login);
        login->findChild<QPushButton *>("btnCancel")->click();
    });
}

// Today's automatic backup of `dataFile`.
QString todaysCopy(const QString &dataFile) {
    return QFileInfo(dataFile).dir().filePath(
        QDate::currentDate().toString("'backups/db-'yyyy-MM-dd'.ledgerly'"));
}

} // namespace

class TestLogin : public QObject {
    Q_OBJECT

    std::unique_ptr<TMainFixture> fixture;
    std::unique_ptr<TStartup> startup;

    // Runs the start-up with the command line `args`; true when the main
    // window is shown.
    bool start(const QStringList &args = appArgs()) {
        startup = std::make_unique<TStartup>();
        return !startup->ReadCommandLine(args) && startup->Run();
    }
    // Waits for the end of the daily backup of the last start.
    bool backupDone() {
        QSignalSpy done(startup.get(), &TStartup::DailyBackupDone);
        return done.wait(60000);
    }

    // The data file as a first run makes it, with these users.
    QString addUsers(const QStringList &names) {
        const TDataFile file(TDataFile::DefaultPath());
        file.CreateIfMissing();
        TDbMan db(file.Path());
        for (const QString &name : names)
            db.AddUser(name, "pw-" + name);
        return file.Path();
    }

private slots:
    void initTestCase() { TestDialogs::Install(); }
    void init() { fixture = std::make_unique<TMainFixture>(); }
    void cleanup() {
        startup.reset();
        QVERIFY(TestDialogs::AllUsed());
        TestDialogs::Clear();
        fixture.reset();
    }

    // First run: the data file is made and settled before the sign-in window
    // reads it; the main window comes after the sign-in, and the day's
    // backup only once the main window is shown.
    void firstRunInOrder() {
        const QString data = fixture->DataFile();
        QVERIFY(!QFile::exists(data));
        TestDialogs::Dialog([&](QDialog *login) {
            QCOMPARE(TDataFile::FormatVersion(data), TDataFile::kFormatVersion);
            QVERIFY(!startup->MainWindow());
            QVERIFY(!QFile::exists(todaysCopy(data)));
            QCOMPARE(login->windowTitle(), QString("Login"));
            QVERIFY(comboItems(login).isEmpty());
            QVERIFY(!submit(login)->isEnabled());
            // A password of blanks keeps Submit disabled.
            type(login, "Guest", "   ");
            QVERIFY(!submit(login)->isEnabled());
            // Declining the question creates nothing and keeps the window.
            type(login, " Guest ", " 24680 ");
            submit(login)->click();
            QVERIFY(login->isVisible());
            QVERIFY(TDbMan(data).GetUserNames().isEmpty());
            QVERIFY(submit(login)->isEnabled());
            submit(login)->click();
        });
        TestDialogs::Answer(TButton::No);
        TestDialogs::Answer(TButton::Yes);
        QVERIFY(start());
        QCOMPARE(TestDialogs::Asked().size(), 3);
        QCOMPARE(TestDialogs::Asked().at(1).Caption, QString("?"));
        QCOMPARE(TestDialogs::LastMessage(), QString("You want to create a new Username and "
                                                     "Password?\n\n- Username: Guest\n- "
                                                     "Password: 24680\n\nYour book is encrypted "
                                                     "under this password. A forgotten password "
                                                     "cannot be recovered, and the book is lost "
                                                     "with it."));
        QCOMPARE(startup->MainWindow()->UserName(), QString("Guest"));
        QVERIFY(startup->MainWindow()->isVisible());
        TDbMan db(data);
        QVERIFY(db.CheckPassword("Guest", "24680"));
        QVERIFY(backupDone());
        QCOMPARE(TDataFile::Problem(todaysCopy(data)), QString());
    }

    void signInCaseAndWrongPassword() {
        TDbMan db(addUsers({"Bob"}));
        TfrmLogin login(db);
        QCOMPARE(comboItems(&login), QStringList{"Bob"});

        type(&login, "bob", "wrong");
        TestDialogs::Answer(TButton::Ok);
        submit(&login)->click();
        QCOMPARE(TestDialogs::Asked().constLast().Caption, QString("ERROR"));
        QCOMPARE(TestDialogs::LastMessage(), QString("ERROR: Invalid password."));
        QCOMPARE(login.result(), 0);
        QCOMPARE(login.findChild<QLineEdit *>("edtPassword")->text(), QString("wrong"));
        QVERIFY(submit(&login)->isEnabled());

        QCOMPARE(login.FindUser("BOB"), QString("Bob"));
        QCOMPARE(login.FindUser("nobody"), QString());

        // Typed in another case with a trailing blank: the stored spelling.
        type(&login, "bOB ", "pw-Bob");
        submit(&login)->click();
        QCOMPARE(login.result(), int(QDialog::Accepted));
        QCOMPARE(login.FUserName, QString("Bob"));
    }

    void findUserFoldsOnlyAsciiLetters() {
        TDbMan db(addUsers({QString::fromUtf8("Ämil")}));
        TfrmLogin login(db);
        QCOMPARE(login.FindUser(QString::fromUtf8("ÄMIL")), QString::fromUtf8("Ämil"));
        QCOMPARE(login.FindUser(QString::fromUtf8("ämil")), QString());
    }

    void listOrderAfterSignIn() {
        TDbMan db(addUsers({"alice", "bob", "carol"}));
        {
            TfrmLogin login(db);
            QCOMPARE(comboItems(&login), QStringList({"carol", "bob", "alice"}));
            type(&login, "bob", "pw-bob");
            submit(&login)->click();
            QCOMPARE(login.result(), int(QDialog::Accepted));
        }
        TfrmLogin login(db);
        QCOMPARE(comboItems(&login), QStringList({"bob", "carol", "alice"}));
        QCOMPARE(login.findChild<QComboBox *>("cboUsername")->currentText(), QString("bob"));
        login.show();
        QVERIFY(QTest::qWaitForWindowExposed(&login));
        QTRY_COMPARE(QApplication::focusWidget(), login.findChild<QLineEdit *>("edtPassword"));
        // The password still checks after the re-insert.
        QVERIFY(db.CheckPassword("bob", "pw-bob"));
    }

    void keyboard() {
        TDbMan db(addUsers({"dave"}));
        TfrmLogin login(db);
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

        // Enter on a focused button presses it: Submit signs in, Cancel
        // cancels; so does Esc.
        for (const char *key : {"btnSubmit", "btnCancel", "Esc"}) {
            TfrmLogin again(db);
            again.show();
            QVERIFY(QTest::qWaitForWindowExposed(&again));
            type(&again, "dave", "pw-dave");
            auto *focused = again.findChild<QPushButton *>(key);
            if (focused) {
                focused->setFocus();
                QTest::keyClick(focused, Qt::Key_Return);
            } else {
                QTest::keyClick(&again, Qt::Key_Escape);
            }
            const bool isSubmit = QByteArray(key) == "btnSubmit";
            QCOMPARE(again.result(), int(isSubmit ? QDialog::Accepted : QDialog::Rejected));
            QCOMPARE(again.FUserName, QString(isSubmit ? "dave" : ""));
            QVERIFY(!again.isVisible());
        }
    }

    void cancelledSignInEndsQuietly() {
        // No main window, no message (any box would fail the test unanswered).
        cancelSignIn();
        QVERIFY(!start());
        QVERIFY(!startup->MainWindow());
        QCOMPARE(TestDialogs::Asked().size(), 1);
    }

    void restoreFromCommandLine() {
        const QString data = addUsers({"current"});
        // A backup holding another account, named with capitals.
        QTemporaryDir dir;
        const QString backup = dir.filePath("Saved.LEDGERLY");
        QVERIFY(QFile::copy(TDataFile::TemplatePath(), backup));
        TDbMan(backup).AddUser("restored", "pw");
        const auto usersAfterStart = [&](const QStringList &args) {
            QStringList users;
            cancelSignIn(&users);
            start(appArgs(args));
            return users;
        };

        // A backup with another extension, or a missing file: ignored.
        const QString other = dir.filePath("Saved.bak");
        QVERIFY(QFile::copy(backup, other));
        for (const QString &arg : {other, dir.filePath("missing.ledgerly")})
            QCOMPARE(usersAfterStart({arg}), QStringList{"current"});

        // A file that is not a data file, or an SQLite file without the
        // program's tables, is refused with a message.
        const QString junk = dir.filePath("junk.ledgerly");
        TCheckedFile::WriteWhole(junk, "not a database at all", {});
        const QString foreign = dir.filePath("foreign.ledgerly");
        {
            QFile src(backup), to(foreign);
            QVERIFY(src.open(QIODevice::ReadOnly) && to.open(QIODevice::WriteOnly));
            to.write(src.read(100)); // a valid header, but a broken database
        }
        for (const QString &file : {junk, foreign}) {
            TestDialogs::Answer(TButton::Ok);
            QCOMPARE(usersAfterStart({file}), QStringList{"current"});
            const QString text = TestDialogs::LastMessage();
            QVERIFY2(text.contains(file) &&
                         (file != junk || text.contains("not a Ledgerly data file")),
                     qPrintable(text));
        }

        // A backup from outside the program is restored only after a
        // question; one chosen in the program's Restore without one.
        TestDialogs::Answer(TButton::No);
        QCOMPARE(usersAfterStart({backup}), QStringList{"current"});
        QVERIFY2(TestDialogs::LastMessage().contains(backup), qPrintable(backup));
        TestDialogs::Answer(TButton::Yes);
        QCOMPARE(usersAfterStart({backup}), QStringList{"restored"});
        TDbMan(data).AddUser("later", "pw");
        TestDialogs::Clear();
        QCOMPARE(usersAfterStart({"--restore-chosen", backup}), QStringList{"restored"});
        QCOMPARE(TestDialogs::Asked().size(), 1);
        QVERIFY(QFileInfo(data).isWritable());
        // The data each restore replaced is kept among the backups.
        const QDir backups(QFileInfo(data).dir().filePath("backups"));
        const QStringList kept = backups.entryList({"*-before-restore*.ledgerly"});
        QCOMPARE(kept.size(), 2);
        QVERIFY(std::any_of(kept.begin(), kept.end(), [&](const QString &name) {
            return TDbMan(backups.filePath(name)).UserExists("current");
        }));
    }

    void failedAutomaticBackupIsShownAndSignInGoesOn() {
        addUsers({"erin"});
        // The day's copy cannot be made: a file stands where its folder goes.
        const QString backups = QFileInfo(fixture->DataFile()).dir().filePath("backups");
        TCheckedFile::WriteWhole(backups, "", {});
        answerSignIn("erin", "pw-erin");
        TestDialogs::Answer(TButton::Ok);
        QVERIFY(start());
        QVERIFY(backupDone());
        QCOMPARE(TestDialogs::Asked().constLast().Caption, QString("Backup"));
        const QString text = TestDialogs::LastMessage();
        QVERIFY2(text.contains("automatic backup") && text.contains(backups), qPrintable(text));
    }

    // On a full disk the user signs in all the same (the list keeps its
    // order), once the copies killed writers left are gone, and the main
    // window says once, in one line, what is wrong and what to do.
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
        answerSignIn("erin", "pw-erin");
        TestDialogs::Answer(TButton::Ok);
        TFullDisk full;
        QVERIFY(start());
        QVERIFY(backupDone());
        QCOMPARE(TestDialogs::Asked().size(), 2);
        QCOMPARE(TestDialogs::LastMessage(),
                 "The disk that holds \"" + folder +
                     "\" is full: free some space on it (delete files you no longer need, empty "
                     "the trash) so that Ledgerly can save your changes and make its daily "
                     "backup.");
        QCOMPARE(TDbMan(fixture->DataFile()).GetUserNames(), QStringList({"finn", "erin"}));
        QCOMPARE(QDir(folder).entryList({".*.tmp"}, QDir::Files | QDir::Hidden).size(), 2);
        QVERIFY(QFile::exists(writing.TempPath()) &&
                QFile::exists(folder + "/.db.ledgerly.k2.tmp"));
        QVERIFY(QDir(folder + "/backups").isEmpty(QDir::Files | QDir::Hidden));
    }

    void unreadableDataFileSaysWhichAndWhatToDo() {
        addUsers({"kept"});
        TCheckedFile::WriteWhole(fixture->DataFile(), QByteArray(8192, 'x'), {});
        TestDialogs::Answer(TButton::Ok);
        QVERIFY(!start());
        const QString text = TestDialogs::LastMessage();
        QVERIFY2(text.contains(fixture->DataFile()) && text.contains("backup file's name"),
                 qPrintable(text));
        // Nothing replaced it: the file is still there as it was.
        QCOMPARE(QFileInfo(fixture->DataFile()).size(), qint64(8192));
    }

    // A book kept by an older Ledgerly is sealed at its user's first
    // sign-in, behind a progress bar, and reads as before.
    void oldBookIsSealedAtFirstSignIn() {
        const QString data = addUsers({"hal"});
        TSqlConnection(data, TSqlConnection::TMode::ReadWrite)
            .Exec(("UPDATE users SET key = ''; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT "
                   "i + 1 FROM n WHERE i < 3000) INSERT INTO data (user, date, type, cate, "
                   "amount, notes) SELECT '" +
                   EncodeField("hal") + "', '2020-01-01', 'Expense', 'Rm9vZA==', 1.5, '' FROM n")
                      .toUtf8()
                      .constData());
        struct TShown : QObject {
            bool Bar = false;
            bool eventFilter(QObject *object, QEvent *event) override {
                Bar = Bar || (event->type() == QEvent::Show &&
                              object->objectName() == QLatin1String("dlgSealProgress"));
                return false;
            }
        } shown;
        qApp->installEventFilter(&shown);
        answerSignIn("hal", "pw-hal");
        QVERIFY(start());
        qApp->removeEventFilter(&shown);
        QVERIFY(shown.Bar);
        TSqlConnection raw(data, TSqlConnection::TMode::ReadOnly);
        TSqlStatement sealed(raw, "SELECT count(*) FROM data WHERE typeof(notes) = 'blob'");
        QVERIFY(sealed.Next() && sealed.Int(0) == 3000);
        const TPeriod period =
            startup->MainWindow()->Store().ReadPeriod("hal", QDate(2020, 1, 1), QDate(2020, 1, 1));
        QCOMPARE(period.ExpenseCents, 450000);
    }

    // The daily backup of a large book runs once the window is shown, while
    // the user saves; closing the window stops it and leaves nothing behind.
    void dailyBackupAwayFromTheWindow() {
        const QString data = addUsers({"gus"});
        TSqlConnection(data, TSqlConnection::TMode::ReadWrite)
            .Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                  "40000) INSERT INTO data (user, date, type, cate, amount, notes) SELECT 'x', "
                  "'2020-01-01', 'Expense', 'y', i, printf('%.60c', 'z') FROM n");
        answerSignIn("gus", "pw-gus");
        QVERIFY(start());
        QVERIFY(!QFile::exists(todaysCopy(data)));
        TDbMan(data).AddRecord("gus", TestRecord("03/04/2024", "Expense", "Food", "1.00"));
        QVERIFY(backupDone());
        QCOMPARE(TDataFile::Problem(todaysCopy(data)), QString());
        QVERIFY(TDbMan(todaysCopy(data)).UserExists("gus"));
        QCOMPARE(TDataFile::Problem(data), QString());

        QVERIFY(QFile::remove(todaysCopy(data)));
        answerSignIn("gus", "pw-gus");
        QVERIFY(start());
        startup.reset();
        const QDir backups(QFileInfo(todaysCopy(data)).path());
        QVERIFY(backups.entryList({".*"}, QDir::Files | QDir::Hidden).isEmpty());
        QVERIFY(!QFile::exists(todaysCopy(data)) || TDataFile::Problem(todaysCopy(data)).isEmpty());
    }

    void programRestoresRelativeBackupName() {
        // The program itself, started from the backup's folder with the
        // backup's bare name, restores it before the sign-in window shows.
        const QString program = QCoreApplication::applicationDirPath() + "/ledgerly";
        if (!QFileInfo(program).isExecutable())
            QSKIP("the ledgerly program is not built");
        QTemporaryDir dir;
        QVERIFY(QFile::copy(TDataFile::TemplatePath(), dir.filePath("saved.ledgerly")));
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

    void runProgramStartsDetached() {
        QTemporaryDir dir;
        // Quotes group words as a shell would; quotes in the file name go.
        RunProgram("\"/usr/bin/touch\"", "\"a b\" 'c d' e", dir.path());
        QTRY_VERIFY(QFile::exists(dir.filePath("a b")));
        QTRY_VERIFY(QFile::exists(dir.filePath("c d")));
        QTRY_VERIFY(QFile::exists(dir.filePath("e")));
        // A missing working folder: the new process starts in ours.
        const QString old = QDir::currentPath();
        QDir::setCurrent(dir.path());
        RunProgram("/usr/bin/touch", "here", dir.filePath("missing"));
        QDir::setCurrent(old);
        QTRY_VERIFY(QFile::exists(dir.filePath("here")));
        // A program that does not exist: nothing happens, nothing is raised.
        RunProgram(dir.filePath("no-such-program"), "", dir.path());
        // Repeated blanks between words make no empty arguments.
        RunProgram("/bin/sh",
                   "-c  'printf \"[%s]\\n\" \"$@\" > args.tmp; mv args.tmp args.txt'"
                   "   sh  \"a b\"   'c d'  e  ",
                   dir.path());
        QTRY_VERIFY(QFile::exists(dir.filePath("args.txt")));
        QFile args(dir.filePath("args.txt"));
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(args.readAll(), QByteArray("[a b]\n[c d]\n[e]\n"));
    }
};

QTEST_MAIN(TestLogin)
#include "test_login.moc"
