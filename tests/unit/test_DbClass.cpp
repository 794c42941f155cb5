// The data store: users, category lists, records, validation at the boundary,
// all-or-nothing changes and two managers sharing one file.
#include "store/DbClass.h"
#include "store/KestrelClass.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

#include <mutex>
#include <stdexcept>
#include <thread>

namespace {

// Runs SQL directly on the file, outside the manager (for setting up faults
// and reading what really is stored).
QStringList rawSql(const QString &file, const QString &sql) {
    sqlite3 *db = nullptr;
    QStringList out;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        qFatal("cannot open %s", qPrintable(file));
    }
    sqlite3_stmt *st = nullptr;
    const QByteArray text = sql.toUtf8();
    const char *tail = text.constData();
    while (tail && *tail) {
        if (sqlite3_prepare_v2(db, tail, -1, &st, &tail) != SQLITE_OK)
            qFatal("bad sql %s: %s", tail, sqlite3_errmsg(db));
        if (!st)
            break;
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList cols;
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                cols << QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(st, i)));
            out << cols.join('|');
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}

QString contentOf(const QString &file) {
    return rawSql(file, "select 'u', rowid, name, pwd from users "
                        "union all select 'c', rowid, user, out || ':' || \"in\" from cates "
                        "union all select 'd', id, user || date || type || cate || notes, amount "
                        "from data order by 1, 2")
        .join('\n');
}

} // namespace

class TestDbClass : public QObject {
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FFile;

    void freshFile() {
        FFile = FDir.filePath(
            QStringLiteral("book%1.ledgerly").arg(QDateTime::currentMSecsSinceEpoch()));
        QFile::remove(FFile);
        QVERIFY(QFile::copy(QDir::current().filePath("db.ledgerly"), FFile));
        QFile::setPermissions(FFile, QFile::ReadOwner | QFile::WriteOwner);
    }

    // The failure that `action` raises; fails the test when none comes.
    template <typename F> QString errorOf(F action) {
        try {
            action();
        } catch (const TDbError &e) {
            return QString::fromStdString(e.what());
        }
        return QString();
    }

private slots:
    void init() { freshFile(); }

    void missingFileIsReportedAndNotCreated() {
        const QString missing = FDir.filePath("nothing-here.ledgerly");
        TDbMan db(missing);
        const QString err = errorOf([&] { db.UserExists("a"); });
        QVERIFY2(err.contains("not found") && err.contains(missing), qPrintable(err));
        QVERIFY(!QFile::exists(missing));
    }

    void notADataFileIsReportedAndLeftAlone() {
        const QString junk = FDir.filePath("junk.ledgerly");
        QFile file(junk);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray bytes(5000, 'x');
        file.write(bytes);
        file.close();
        TDbMan db(junk);
        const QString err = errorOf([&] { db.GetUserNames(); });
        QVERIFY2(err.contains("not a database"), qPrintable(err));
        QVERIFY(
            !errorOf([&] { db.AddRecord("u", "01/01/2011", "Expense", "c", "1", ""); }).isEmpty());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
    }

    // Folder and file names with blanks, "#", "%", "?" and accents are opened
    // as they are (the file is reached through a file: URI).
    void oddPathsOpen() {
        const QString folder = FDir.filePath(QString::fromUtf8("a b#c%20d ü?"));
        QVERIFY(QDir().mkpath(folder));
        const QString odd = QDir(folder).filePath(QString::fromUtf8("my bóok #1?.ledgerly"));
        QVERIFY(QFile::copy(FFile, odd));
        TDbMan db(odd);
        QVERIFY(db.AddUser("u", "p"));
        QCOMPARE(rawSql(odd, "select count(*) from users"), QStringList{"1"});
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"my bóok #1?.ledgerly"});
    }

    void usersListNewestFirstAndReinsertMovesToTop() {
        TDbMan db(FFile);
        QCOMPARE(db.GetUserNames(), QString());
        QVERIFY(db.AddUser("A", "pa"));
        QVERIFY(db.AddUser("B", "pb"));
        QVERIFY(db.AddUser("C", "pc"));
        QCOMPARE(db.GetUserNames(), QString("C\r\nB\r\nA"));
        // Sign-in of B: B heads the list, password unchanged.
        db.ReinsertUser("B", "pb");
        QCOMPARE(db.GetUserNames(), QString("B\r\nC\r\nA"));
        QVERIFY(db.CheckPassword("B", "pb"));
        QVERIFY(!db.CheckPassword("B", "pc"));
        // Re-inserting never changes a password, whatever it is given.
        db.ReinsertUser("C", "wrong");
        QCOMPARE(db.GetUserNames(), QString("C\r\nB\r\nA"));
        QVERIFY(db.CheckPassword("C", "pc"));
        QVERIFY(!db.CheckPassword("C", "wrong"));
        // Where one name has two rows, the password picks the row to keep;
        // a password that opens none changes nothing.
        QVERIFY(db.AddUser("C", "other"));
        const QString before = contentOf(FFile);
        QVERIFY(!errorOf([&] { db.ReinsertUser("C", "wrong"); }).isEmpty());
        QVERIFY(!errorOf([&] { db.ReinsertUser("nobody", "pc"); }).isEmpty());
        QCOMPARE(contentOf(FFile), before);
        db.ReinsertUser("C", "pc");
        QCOMPARE(db.GetUserNames(), QString("C\r\nB\r\nA"));
        QVERIFY(db.CheckPassword("C", "pc"));
        QVERIFY(!db.CheckPassword("C", "other"));
        QCOMPARE(rawSql(FFile, "select count(*) from users"), QStringList{"3"});
        // The same through delete + add.
        QVERIFY(db.DeleteUser("A"));
        QVERIFY(db.AddUser("A", "pa"));
        QCOMPARE(db.GetUserNames(), QString("A\r\nC\r\nB"));
    }

    void passwordsAreHashedAndChecked() {
        TDbMan db(FFile);
        const QString odd = QString::fromUtf8("O'Brien \"x\" ünï");
        QVERIFY(db.AddUser(odd, "it's secret"));
        QVERIFY(db.UserExists(odd));
        QVERIFY(!db.UserExists("O'Brien"));
        QVERIFY(db.CheckPassword(odd, "it's secret"));
        QVERIFY(!db.CheckPassword(odd, "it's secreT"));
        QVERIFY(!db.CheckPassword(odd, ""));
        QVERIFY(!db.CheckPassword("nobody", "it's secret"));
        QVERIFY(db.UserExists(odd));
        const QStringList rows = rawSql(FFile, "select name, pwd from users");
        QCOMPARE(rows.size(), 1);
        QVERIFY(!rows[0].contains("secret"));
        QVERIFY(!rows[0].contains(TKestrel::EncodeField("it's secret")));
        QVERIFY(rows[0].startsWith(TKestrel::EncodeField(odd) + "|$argon2id$"));

        db.SetPassword(odd, "new one");
        QVERIFY(db.CheckPassword(odd, "new one"));
        QVERIFY(!db.CheckPassword(odd, "it's secret"));
        QCOMPARE(rawSql(FFile, "select count(*) from users"), QStringList{"1"});

        QVERIFY(db.AddUser("empty", ""));
        QVERIFY(db.CheckPassword("empty", ""));
        QVERIFY(!db.CheckPassword("empty", " "));
    }

    void deletedUserKeepsRecordsAndLists() {
        TDbMan db(FFile);
        QVERIFY(db.AddUser("ann", "p"));
        db.SetCategories("ann", "out", "Food\r\nRent");
        db.AddRecord("ann", "03/15/2011", "Expense", "Food", "12.50", "lunch");
        QVERIFY(db.DeleteUser("ann"));
        QVERIFY(!db.UserExists("ann"));
        QVERIFY(db.AddUser("ann", "q"));
        QCOMPARE(db.GetCategories("ann", "out"), QString("Food\r\nRent"));
        TStringsArray rows;
        db.QueryCategoryRecords("ann", "01/01/2011", "12/31/2011", "Expense", "Food", rows);
        QCOMPARE(rows, TStringsArray{QStringList({"03/15/2011", "Food", "12.50", "lunch"})});
    }

    void categoryListsAreKeptApart() {
        TDbMan db(FFile);
        QCOMPARE(db.GetCategories("bo", "out"), QString());
        db.SetCategories("bo", "in", "Salary\r\nGifts");
        QCOMPARE(db.GetCategories("bo", "out"), QString());
        QCOMPARE(db.GetCategories("bo", "in"), QString("Salary\r\nGifts"));
        db.SetCategories("bo", "out", QString::fromUtf8("Café\r\nO'Neil's"));
        QCOMPARE(db.GetCategories("bo", "in"), QString("Salary\r\nGifts"));
        QCOMPARE(db.GetCategories("bo", "out"), QString::fromUtf8("Café\r\nO'Neil's"));
        // Another name rewrites the row with both lists unchanged.
        db.SetCategories("bo", "other", "ignored");
        QCOMPARE(db.GetCategories("bo", "in"), QString("Salary\r\nGifts"));
        QCOMPARE(rawSql(FFile, "select count(*) from cates"), QStringList{"1"});
        // Other users are not touched; an emptied list stays empty.
        db.SetCategories("cy", "out", "X");
        db.SetCategories("bo", "in", "");
        QCOMPARE(db.GetCategories("bo", "in"), QString());
        QCOMPARE(db.GetCategories("cy", "out"), QString("X"));
        QVERIFY(!errorOf([&] { db.GetCategories("bo", "Out"); }).isEmpty());
    }

    void recordsRoundTripAndDelete() {
        TDbMan db(FFile);
        TStringsArray pending{{"12/31/2010", "Income", "Salary", "1000.00", ""},
                              {"01/01/2011", "Expense", "Food", "0.10", "a 'quoted' note"},
                              {"01/01/2011", "Expense", "Food", "0.20", ""}};
        db.AddRecords("u", pending);
        db.AddRecords("u", {}); // stores nothing, fails nothing
        db.AddRecord("other", "01/01/2011", "Expense", "Food", "5.00", "not mine");
        QCOMPARE(rawSql(FFile, "select count(*) from data"), QStringList{"4"});
        QCOMPARE(rawSql(FFile, "select date from data order by id limit 1"),
                 QStringList{"2010-12-31"});

        double out = -1, in = -1;
        TStringsArray day, month, trans, outCates, inCates;
        const QStringList marker{"kept"};
        trans << marker; // results are appended, never cleared
        db.QueryPeriod("u", "12/31/2010", "01/01/2011", out, in, day, month, trans, outCates,
                       inCates);
        QCOMPARE(out, 0.30000000000000004);
        QCOMPARE(in, 1000.0);
        QCOMPARE(day, (TStringsArray{{"12/31/2010", "1000.00", "0.00"},
                                     {"01/01/2011", "0.00", "0.30"}}));
        QCOMPARE(month,
                 (TStringsArray{{"12/2010", "1000.00", "0.00"}, {"01/2011", "0.00", "0.30"}}));
        QCOMPARE(trans.size(), 4);
        QCOMPARE(trans[0], marker);
        const QStringList ids = rawSql(FFile, "select id from data order by id");
        QCOMPARE(trans[1], (QStringList{ids[0], "12/31/2010", "Salary", "1000.00", "", ""}));
        QCOMPARE(trans[2],
                 (QStringList{ids[1], "01/01/2011", "Food", "", "0.10", "a 'quoted' note"}));
        QCOMPARE(outCates, (TStringsArray{{"Expense", "Food", "2", "0.30", "100.00%"}}));
        QCOMPARE(inCates, (TStringsArray{{"Income", "Salary", "1", "1000.00", "100.00%"}}));

        db.DeleteRecord(ids[1]);
        db.DeleteRecord("999999"); // gone already: nothing happens
        TStringsArray rows;
        db.QueryCategoryRecords("u", "01/01/2011", "01/01/2011", "Expense", "food", rows);
        QVERIFY(rows.isEmpty()); // categories match exactly as stored
        db.QueryCategoryRecords("u", "01/01/2011", "01/01/2011", "Expense", "Food", rows);
        QCOMPARE(rows, (TStringsArray{{"01/01/2011", "Food", "0.20", ""}}));

        db.ReplaceRecord(ids[2], "u", "02/02/2011", "Income", "Bonus", "7", "edited");
        QCOMPARE(rawSql(FFile, "select count(*) from data where id = " + ids[2]), QStringList{"0"});
        rows.clear();
        db.QueryCategoryRecords("u", "01/01/2000", "12/31/2099", "Income", "Bonus", rows);
        QCOMPARE(rows, (TStringsArray{{"02/02/2011", "Bonus", "7.00", "edited"}}));

        // A record deleted meanwhile (or another user's) is not brought back by an edit.
        const QString countBefore = rawSql(FFile, "select count(*) from data").value(0);
        QVERIFY(!errorOf([&] {
                     db.ReplaceRecord(ids[1], "u", "02/02/2011", "Expense", "X", "1", "");
                 }).isEmpty());
        QVERIFY(!errorOf([&] {
                     db.ReplaceRecord(ids[0], "someone else", "02/02/2011", "Expense", "X", "1",
                                      "");
                 }).isEmpty());
        QCOMPARE(rawSql(FFile, "select count(*) from data").value(0), countBefore);
    }

    void badValuesAreRefusedAndStoreNothing() {
        TDbMan db(FFile);
        db.AddRecord("u", "02/29/2012", "Expense", "Leap", "1", ""); // a real date
        const QString before = contentOf(FFile);
        const QStringList badDates{"02/29/2011",  "13/01/2011", "1/2/2011", "2011-01-02",
                                   "01/32/2011",  "00/10/2011", "01/01/11", "",
                                   " 01/01/2011", "ab/cd/efgh"};
        for (const QString &date : badDates) {
            QVERIFY2(!errorOf([&] { db.AddRecord("u", date, "Expense", "c", "1", ""); }).isEmpty(),
                     qPrintable(date));
            double a, b;
            TStringsArray r1, r2, r3, r4, r5;
            QVERIFY2(!errorOf([&] {
                          db.QueryPeriod("u", date, "01/01/2012", a, b, r1, r2, r3, r4, r5);
                      }).isEmpty(),
                     qPrintable(date));
            QVERIFY(!errorOf([&] {
                         db.QueryCategoryRecords("u", "01/01/2011", date, "Expense", "c", r1);
                     }).isEmpty());
            QVERIFY(!errorOf([&] {
                         db.QueryCategoryRecords("u", "01/01/2011", "01/01/2012", "Leap", "c", r1);
                     }).isEmpty());
        }
        for (const QString &amount :
             QStringList{"", "abc", "1e5", "inf", "nan", "0x10", "1,5", "1.2.3", QString(400, '9')})
            QVERIFY2(!errorOf([&] {
                          db.AddRecord("u", "01/01/2011", "Expense", "c", amount, "");
                      }).isEmpty(),
                     qPrintable(amount));
        for (const QString &type : QStringList{"expense", "Expenses", "", " Income"})
            QVERIFY(
                !errorOf([&] { db.AddRecord("u", "01/01/2011", type, "c", "1", ""); }).isEmpty());
        for (const QString &id : QStringList{"", "1 or 1=1", "abc", "1.5"})
            QVERIFY(!errorOf([&] { db.DeleteRecord(id); }).isEmpty());
        // One bad row in a list stores none of the list.
        const QString err = errorOf([&] {
            db.AddRecords("u", {{"01/01/2011", "Expense", "c", "1", ""},
                                {"01/02/2011", "Expense", "c", "oops", ""}});
        });
        QVERIFY2(err.contains("oops"), qPrintable(err));
        QVERIFY(!errorOf([&] { db.AddRecords("u", {{"01/01/2011", "Expense", "c"}}); }).isEmpty());
        QVERIFY(!errorOf([&] {
                     db.ReplaceRecord("1", "u", "01/01/2011", "Other", "c", "1", "");
                 }).isEmpty());
        QCOMPARE(contentOf(FFile), before);
    }

    // A trigger added to the file makes the n-th step of an operation fail;
    // the file must then be exactly as before.
    void failedChangesLeaveNothingBehind() {
        TDbMan db(FFile);
        QVERIFY(db.AddUser("ann", "pw"));
        db.SetCategories("ann", "out", "Food");
        db.AddRecord("ann", "01/01/2011", "Expense", "Food", "3.00", "x");
        const QString id = rawSql(FFile, "select id from data")[0];

        const auto expectFailure = [&](const QString &trigger, auto action) {
            rawSql(FFile, trigger);
            const QString before = contentOf(FFile);
            QCOMPARE(errorOf(action), QString("injected failure"));
            QCOMPARE(contentOf(FFile), before);
            rawSql(FFile, "drop trigger fault");
        };
        // The insert after the delete fails: the deleted rows come back.
        expectFailure("create trigger fault before insert on cates begin "
                      "select raise(abort, 'injected failure'); end",
                      [&] { db.SetCategories("ann", "out", "Rent"); });
        expectFailure("create trigger fault before insert on users begin "
                      "select raise(abort, 'injected failure'); end",
                      [&] { db.ReinsertUser("ann", "pw"); });
        expectFailure("create trigger fault before insert on users begin "
                      "select raise(abort, 'injected failure'); end",
                      [&] { db.SetPassword("ann", "new"); });
        expectFailure("create trigger fault before insert on data begin "
                      "select raise(abort, 'injected failure'); end",
                      [&] { db.ReplaceRecord(id, "ann", "01/02/2011", "Expense", "F", "1", ""); });
        // The third row of a list fails: the first two are not kept.
        expectFailure("create trigger fault before insert on data when new.amount = 3 begin "
                      "select raise(abort, 'injected failure'); end",
                      [&] {
                          db.AddRecords("ann", {{"01/05/2011", "Expense", "a", "1", ""},
                                                {"01/05/2011", "Expense", "a", "2", ""},
                                                {"01/05/2011", "Expense", "a", "3", ""}});
                      });
        // After all that the manager still works normally.
        QVERIFY(db.CheckPassword("ann", "pw"));
        db.SetCategories("ann", "out", "Rent");
        QCOMPARE(db.GetCategories("ann", "out"), QString("Rent"));
    }

    void twoManagersShareOneFile() {
        TDbMan first(FFile), second(FFile);
        QVERIFY(first.AddUser("a", "1"));
        QVERIFY(second.UserExists("a"));
        for (int i = 0; i < 20; ++i) {
            TDbMan &writer = i % 2 ? second : first;
            writer.AddRecords("a", {{"01/01/2011", "Expense", "c", QString::number(i + 1), ""}});
            writer.SetCategories("a", i % 2 ? "in" : "out", QString::number(i));
        }
        double out = 0, in = 0;
        TStringsArray r1, r2, r3, r4, r5;
        first.QueryPeriod("a", "01/01/2011", "01/01/2011", out, in, r1, r2, r3, r4, r5);
        QCOMPARE(out, 210.0);
        QCOMPARE(r3.size(), 20);
        QCOMPARE(second.GetCategories("a", "out"), QString("18"));
        QCOMPARE(first.GetCategories("a", "in"), QString("19"));
        // The file stays a rollback-journal database, complete on its own.
        QCOMPARE(rawSql(FFile, "pragma journal_mode"), QStringList{"delete"});
        QVERIFY(!QFile::exists(FFile + "-wal"));
    }

    // Two writers and a reader at the same time (as two program instances
    // would be): nobody fails with "database is locked", nothing is lost.
    void simultaneousUseWaitsInsteadOfFailing() {
        QStringList errors;
        std::mutex lock;
        const auto guarded = [&](auto action) {
            return [&, action] {
                try {
                    action();
                } catch (const std::exception &e) {
                    std::lock_guard<std::mutex> g(lock);
                    errors << QString::fromStdString(e.what());
                }
            };
        };
        const auto writer = [&](const QString &user) {
            return guarded([&, user] {
                TDbMan db(FFile);
                for (int i = 0; i < 25; ++i) {
                    db.AddRecords(user, {{"05/05/2015", "Expense", "c", "1", ""},
                                         {"05/06/2015", "Income", "d", "2", "n"}});
                    db.SetCategories(user, "out", QString::number(i));
                }
            });
        };
        std::thread a(writer("a")), b(writer("b"));
        std::thread reader(guarded([&] {
            TDbMan db(FFile);
            for (int i = 0; i < 25; ++i) {
                double out = 0, in = 0;
                TStringsArray r1, r2, r3, r4, r5;
                db.QueryPeriod("a", "01/01/2015", "12/31/2015", out, in, r1, r2, r3, r4, r5);
                // Every search sees whole saves only.
                if (out * 2 != in)
                    throw std::runtime_error("a search saw half a save");
            }
        }));
        a.join();
        b.join();
        reader.join();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        QCOMPARE(
            rawSql(FFile, "select user, count(*) from data group by user order by user"),
            (QStringList{TKestrel::EncodeField("a") + "|50", TKestrel::EncodeField("b") + "|50"}));
        QCOMPARE(rawSql(FFile, "select count(*) from cates"), QStringList{"2"});
    }

    void lockedFileWaitsThenReports() {
        TDbMan db(FFile);
        sqlite3 *holder = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(FFile).constData(), &holder), SQLITE_OK);
        QCOMPARE(sqlite3_exec(holder, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
        QElapsedTimer timer;
        timer.start();
        const QString err =
            errorOf([&] { db.AddRecord("u", "01/01/2011", "Expense", "c", "1", ""); });
        QVERIFY2(err.contains("locked"), qPrintable(err));
        QVERIFY(timer.elapsed() >= 3000); // it waited for the other instance first
        sqlite3_exec(holder, "rollback", nullptr, nullptr, nullptr);
        sqlite3_close(holder);
        db.AddRecord("u", "01/01/2011", "Expense", "c", "1", "");
        QCOMPARE(rawSql(FFile, "select count(*) from data"), QStringList{"1"});
    }
};

QTEST_GUILESS_MAIN(TestDbClass)
#include "test_DbClass.moc"
