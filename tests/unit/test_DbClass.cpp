// The data store: users, category lists, records, validation at the boundary,
// all-or-nothing changes, two managers sharing one file, and files that
// another program has written or damaged.
#include "store/DataFile.h"
#include "store/DbClass.h"
#include "store/FieldCodec.h"
#include "store/Planning.h"
#include "store/Sqlite.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

#include <iostream>
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

TRecord rec(const QDate &date, TRecordType type, const QString &category, qint64 cents,
            const QString &notes = QString()) {
    return {0, date, type, category, cents, notes};
}

const auto Expense = TRecordType::Expense;
const auto Income = TRecordType::Income;

TRecurring entry(const QString &category, const QDate &first, TRepeatUnit unit,
                 const QDate &booked = {}) {
    return {0, Expense, category, 90000, "flat", {first, 1, unit, {}}, booked};
}

// The rows of every due entry, and their advances: all that was offered.
QPair<QList<TRecord>, QList<TBookingAdvance>> offered(const QList<TDueEntry> &due) {
    QPair<QList<TRecord>, QList<TBookingAdvance>> all;
    for (const TDueEntry &d : due) {
        all.first << d.Rows;
        all.second << d.Advance;
    }
    return all;
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

    // The failure that `action` raises, in SQLite's own words where it has
    // them (`shown`: the sentence a user sees); empty when none comes.
    template <typename F> QString errorOf(F action, bool shown = false) {
        try {
            action();
        } catch (const TDbError &e) {
            return e.Reason.isEmpty() || shown ? QString::fromStdString(e.what()) : e.Reason;
        }
        return QString();
    }

private slots:
    void init() { freshFile(); }

    void missingOrForeignFilesAreReportedAndLeftAlone() {
        const QString missing = FDir.filePath("nothing-here.ledgerly");
        TDbMan none(missing);
        const QString err = errorOf([&] { none.UserExists("a"); });
        QVERIFY2(err.contains("not found") && err.contains(missing), qPrintable(err));
        QVERIFY(!QFile::exists(missing));

        const QString junk = FDir.filePath("junk.ledgerly");
        QFile file(junk);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray bytes(5000, 'x');
        file.write(bytes);
        file.close();
        TDbMan db(junk);
        QVERIFY(errorOf([&] { db.GetUserNames(); }).contains("not a database"));
        // Shown to a user: the file and what to do, never only SQLite's words.
        QVERIFY(errorOf([&] { db.GetUserNames(); }, true)
                    .contains(junk + "\" is damaged or is not a Ledgerly data file (file is not a "
                                     "database). Restore a backup"));
        TSqlConnection full(FFile, TSqlConnection::TMode::ReadWrite);
        full.Exec("PRAGMA max_page_count = 1");
        QVERIFY(
            errorOf([&] { full.Exec("insert into users (name, pwd) values (1, zeroblob(9000))"); },
                    true)
                .contains(FFile +
                          "\": the disk is full (database or disk is full). Free some "
                          "space on the disk that holds \"" +
                          FDir.path() + "\""));
        QVERIFY(!errorOf([&] {
                     db.AddRecord("u", rec(QDate(2011, 1, 1), Expense, "c", 100));
                 }).isEmpty());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);

        // Folder and file names with blanks, "#", "%", "?" and accents are
        // opened as they are.
        const QString folder = FDir.filePath(QString::fromUtf8("a b#c%20d ü?"));
        QVERIFY(QDir().mkpath(folder));
        const QString odd = QDir(folder).filePath(QString::fromUtf8("my bóok #1?.ledgerly"));
        QVERIFY(QFile::copy(FFile, odd));
        QVERIFY(TDbMan(odd).AddUser("u", "p"));
        QCOMPARE(rawSql(odd, "select count(*) from users"), QStringList{"1"});
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"my bóok #1?.ledgerly"});
    }

    // A write refused because the file is read-only names the file and says
    // what to do (the program's own connection may be opened read-only; the
    // same refusal comes from a file without write permission).
    void readOnlyFileIsNamedInTheError() {
        TSqlConnection db(FFile, TSqlConnection::TMode::ReadOnly);
        QString err;
        try {
            db.Exec("insert into users (name, pwd) values ('a', 'b')");
        } catch (const TDbError &e) {
            err = QString::fromStdString(e.what());
        }
        QVERIFY2(err.contains(QFileInfo(FFile).absoluteFilePath()) && err.contains("read-only") &&
                     err.contains("chmod"),
                 qPrintable(err));
    }

    void usersListNewestFirstAndReinsertMovesToTop() {
        TDbMan db(FFile);
        QCOMPARE(db.GetUserNames(), QStringList());
        QVERIFY(db.AddUser("A", "pa"));
        QVERIFY(db.AddUser("B", "pb"));
        QVERIFY(db.AddUser("C", "pc"));
        QCOMPARE(db.GetUserNames(), QStringList({"C", "B", "A"}));
        // Sign-in of B: B heads the list, password unchanged.
        db.ReinsertUser("B", "pb");
        QCOMPARE(db.GetUserNames(), QStringList({"B", "C", "A"}));
        QVERIFY(db.CheckPassword("B", "pb"));
        QVERIFY(!db.CheckPassword("B", "pc"));
        // Re-inserting never changes a password, whatever it is given.
        db.ReinsertUser("C", "wrong");
        QCOMPARE(db.GetUserNames(), QStringList({"C", "B", "A"}));
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
        QCOMPARE(db.GetUserNames(), QStringList({"C", "B", "A"}));
        QVERIFY(db.CheckPassword("C", "pc"));
        QVERIFY(!db.CheckPassword("C", "other"));
        QCOMPARE(rawSql(FFile, "select count(*) from users"), QStringList{"3"});
        QVERIFY(db.DeleteUser("A"));
        QVERIFY(db.AddUser("A", "pa"));
        QCOMPARE(db.GetUserNames(), QStringList({"A", "C", "B"}));
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
        const QStringList rows = rawSql(FFile, "select name, pwd from users");
        QCOMPARE(rows.size(), 1);
        QVERIFY(!rows[0].contains("secret"));
        QVERIFY(rows[0].startsWith(EncodeField(odd) + "|$argon2id$"));

        db.SetPassword(odd, "new one");
        QVERIFY(db.CheckPassword(odd, "new one"));
        QVERIFY(!db.CheckPassword(odd, "it's secret"));
        QCOMPARE(rawSql(FFile, "select count(*) from users"), QStringList{"1"});
    }

    // A stored hash that asks for more memory and passes than the program
    // ever uses (written by another program) is refused at once instead of
    // freezing the sign-in.
    void costlyStoredHashIsRefused() {
        TDbMan db(FFile);
        rawSql(FFile, "insert into users (name, pwd) values ('" + EncodeField("eve") +
                          "', '$argon2id$v=19$m=2097152,t=40,p=1$c2FsdHNhbHRzYWx0c2FsdA$"
                          "aGFzaGhhc2hoYXNoaGFzaGhhc2hoYXNoaGFzaGhhc2g')");
        const QString err = errorOf([&] { db.CheckPassword("eve", "x"); });
        QVERIFY2(err.contains("asks for 2048 MiB, 40 passes, 1 lane, more than Ledgerly ever uses "
                              "(64 MiB, 2 passes, 1 lane)") &&
                     err.contains(FFile) && err.contains("restore a backup"),
                 qPrintable(err));
    }

    // A list is stored as one text, its items joined by CR LF and trimmed;
    // setting one list leaves the other exactly as the file holds it.
    void categoryListsAreKeptApart() {
        TDbMan db(FFile);
        QCOMPARE(db.GetCategories("bo", "out"), QStringList());
        db.SetCategories("bo", "in", {"Salary", "", "Gifts "});
        QCOMPARE(db.GetCategories("bo", "out"), QStringList());
        const QString odd = EncodeField("Tips\nBonus\r\n\r\n");
        rawSql(FFile, "update cates set \"in\" = '" + odd + "'");
        db.SetCategories("bo", "out", {QString::fromUtf8(" Café"), "O'Neil's"});
        QCOMPARE(db.GetCategories("bo", "in"), QStringList({"Tips", "Bonus"}));
        QCOMPARE(db.GetCategories("bo", "out"),
                 QStringList({QString::fromUtf8("Café"), "O'Neil's"}));
        QCOMPARE(rawSql(FFile, "select out, \"in\" from cates"),
                 QStringList{EncodeField(QString::fromUtf8("Café\r\nO'Neil's")) + "|" + odd});
        // Other users are not touched; an emptied list stays empty.
        db.SetCategories("cy", "out", {"X"});
        db.SetCategories("bo", "in", {});
        QCOMPARE(db.GetCategories("bo", "in"), QStringList());
        QCOMPARE(db.GetCategories("cy", "out"), QStringList{"X"});
        QVERIFY(!errorOf([&] { db.GetCategories("bo", "Out"); }).isEmpty());
        QVERIFY(!errorOf([&] { db.SetCategories("bo", "other", {"x"}); }).isEmpty());
    }

    void recordsRoundTripEditAndDelete() {
        TDbMan db(FFile);
        db.AddRecords("u", {rec(QDate(2010, 12, 31), Income, "Salary", 100000),
                            rec(QDate(2011, 1, 1), Expense, "Food", 10, "a 'quoted' note"),
                            rec(QDate(2011, 1, 1), Expense, "Food", 20)});
        db.AddRecords("u", {}); // stores nothing, fails nothing
        db.AddRecord("other", rec(QDate(2011, 1, 1), Expense, "Food", 500, "not mine"));
        QCOMPARE(rawSql(FFile, "select date, type, amount from data order by id limit 1"),
                 QStringList{"2010-12-31|Income|1000.0"});
        const QList<qint64> ids = [&] {
            QList<qint64> out;
            for (const QString &id : rawSql(FFile, "select id from data order by id"))
                out << id.toLongLong();
            return out;
        }();

        const TPeriod p = db.ReadPeriod("u", QDate(2010, 12, 31), QDate(2011, 1, 1));
        QCOMPARE(p.ExpenseCents, 30);
        QCOMPARE(p.IncomeCents, 100000);
        QCOMPARE(p.Records.size(), 3);
        QCOMPARE(p.Records[1].Id, ids[1]);
        QCOMPARE(p.Records[1].Notes, QString("a 'quoted' note"));

        db.DeleteRecord("u", ids[1]);
        db.DeleteRecord("u", 999999); // gone already: nothing happens
        db.DeleteRecord("u", ids[3]); // another user's: nothing happens
        QVERIFY(db.ReadCategoryRecords("u", QDate(2011, 1, 1), QDate(2011, 1, 1), Expense, "food")
                    .isEmpty()); // categories match exactly as stored
        const QList<TRecord> food =
            db.ReadCategoryRecords("u", QDate(2011, 1, 1), QDate(2011, 1, 1), Expense, "Food");
        QCOMPARE(food.size(), 1);
        QCOMPARE(food[0].Cents, 20);

        TRecord edited = rec(QDate(2011, 2, 2), Income, "Bonus", 700, "edited");
        edited.Id = ids[2];
        db.ReplaceRecord("u", edited);
        QCOMPARE(rawSql(FFile, "select count(*) from data where id = " + QString::number(ids[2])),
                 QStringList{"0"});
        const QList<TRecord> bonus =
            db.ReadCategoryRecords("u", QDate(2000, 1, 1), QDate(2099, 12, 31), Income, "Bonus");
        QCOMPARE(bonus.size(), 1);
        QCOMPARE(bonus[0].Notes, QString("edited"));

        // A record deleted meanwhile (or another user's) is not brought back
        // by an edit.
        const QString before = contentOf(FFile);
        edited.Id = ids[1];
        QVERIFY(!errorOf([&] { db.ReplaceRecord("u", edited); }).isEmpty());
        edited.Id = ids[0];
        QVERIFY(!errorOf([&] { db.ReplaceRecord("someone else", edited); }).isEmpty());
        QCOMPARE(contentOf(FFile), before);
    }

    void badValuesAreRefusedAndStoreNothing() {
        TDbMan db(FFile);
        db.AddRecord("u", rec(QDate(2012, 2, 29), Expense, "Leap", 1)); // a real date
        // The amount limits: 0.01 and 999,999,999,999.99 are kept.
        db.AddRecord("u", rec(QDate(2012, 3, 1), Expense, "Max", 99999999999999));
        QCOMPARE(rawSql(FFile, "select amount from data where amount > 1"),
                 QStringList{"999999999999.99"});
        const QString before = contentOf(FFile);
        for (const QDate &date :
             {QDate(), QDate(2011, 2, 29), QDate(0, 1, 1), QDate(10000, 1, 1)}) {
            QVERIFY(!errorOf([&] { db.AddRecord("u", rec(date, Expense, "c", 1)); }).isEmpty());
            QVERIFY(!errorOf([&] { db.ReadPeriod("u", date, QDate(2012, 1, 1)); }).isEmpty());
        }
        for (const qint64 cents : {qint64(0), qint64(-1), qint64(100000000000000)})
            QVERIFY(!errorOf([&] {
                         db.AddRecord("u", rec(QDate(2011, 1, 1), Expense, "c", cents));
                     }).isEmpty());
        // One bad record in a list stores none of the list.
        QVERIFY(!errorOf([&] {
                     db.AddRecords("u", {rec(QDate(2011, 1, 1), Expense, "c", 100),
                                         rec(QDate(2011, 1, 2), Expense, "c", 0)});
                 }).isEmpty());
        QCOMPARE(contentOf(FFile), before);
    }

    // Imported records: their ids are remembered by the save that stores
    // them, per user and bank account, and not at all when the save fails.
    void importIdsGoWithTheirRecords() {
        TDbMan db(FFile);
        TRecord coffee = rec(QDate(2024, 1, 2), Expense, "Food", 450, "Cafe");
        coffee.Import = TImportId{"bank 1", "F1"};
        TRecord salary = rec(QDate(2024, 1, 3), Income, "Salary", 250000, "ACME");
        salary.Import = TImportId{"bank 1", "F2"};
        const TRecord typed = rec(QDate(2024, 1, 4), Expense, "Food", 300);
        for (const char *table : {"data when new.amount = 3", "fitids when new.fitid != ''"}) {
            rawSql(FFile, QStringLiteral("create trigger fault before insert on ") + table +
                              " begin select raise(abort, 'injected failure'); end");
            QCOMPARE(errorOf([&] {
                         db.AddRecords("ann", {coffee, salary, typed});
                     }),
                     QString("injected failure"));
            rawSql(FFile, "drop trigger fault");
            QVERIFY(db.KnownImportIds("ann", {*coffee.Import, *salary.Import}).isEmpty());
            QCOMPARE(rawSql(FFile, "select count(*) from data"), QStringList{"0"});
        }
        // A duplicate the user chose to keep is stored; its id once. Saved
        // again (another instance was first), the imported ones are left out.
        TRecord kept = coffee;
        kept.Import = TImportId{"bank 1", "F1", true};
        QCOMPARE(db.AddRecords("ann", {coffee, salary, typed, kept}), 0);
        QCOMPARE(db.AddRecords("ann", {coffee, salary, kept}), 2);
        QCOMPARE(rawSql(FFile, "select count(*) from fitids"), QStringList{"2"});
        const TImportId otherAccount{"bank 2", "F1"}, noAccount{"", "F1"};
        QCOMPARE(
            db.KnownImportIds("ann", {*coffee.Import, otherAccount, *salary.Import, noAccount}),
            (QSet<TImportId>{*coffee.Import, *salary.Import}));
        QVERIFY(db.KnownImportIds("bob", {*coffee.Import}).isEmpty());

        // The records of a span, in date order, without the import ids.
        db.AddRecord("bob", rec(QDate(2024, 1, 3), Expense, "Other", 100));
        QList<TRecord> span = db.ReadPeriod("ann", QDate(2024, 1, 2), QDate(2024, 1, 3)).Records;
        QCOMPARE(span.size(), 4);
        for (TRecord &r : span)
            r.Id = 0;
        coffee.Import = salary.Import = {};
        QCOMPARE(span, (QList<TRecord>{coffee, coffee, coffee, salary}));
    }

    // Two instances save the same statement at the same moment, again and
    // again: each line is stored once; the second one leaves all out.
    void sameImportAndDueRowsSavedByTwoInstancesAreStoredOnce() {
        for (int round = 0; round < 20; ++round) {
            freshFile();
            // And the 13 due rows of a weekly entry, in the same saves.
            TDbMan(FFile).AddRecurring("ann", entry("Rent", QDate(2024, 1, 1), TRepeatUnit::Weeks));
            QProcess a, b;
            for (QProcess *p : {&a, &b})
                p->start(QCoreApplication::applicationFilePath(), {"--save-import", FFile});
            // Both have read the due rows, and wait for this line to save.
            QVERIFY(a.waitForReadyRead() && b.waitForReadyRead());
            QCOMPARE(a.readLine() + b.readLine(), QByteArray("ready\nready\n"));
            a.write("go\n");
            b.write("go\n");
            QVERIFY(a.waitForFinished() && b.waitForFinished());
            const QList<QByteArray> left =
                a.readAll().simplified().split(' ') + b.readAll().simplified().split(' ');
            QCOMPARE(left.value(0).toInt() + left.value(2).toInt(), 40);
            QCOMPARE(left.value(1).toInt() + left.value(3).toInt(), 1); // one lost the race
            QCOMPARE(rawSql(FFile, "select count(*) from data"), QStringList{"53"});
        }
    }

    void rulesAndProfilesAreKeptPerUser() {
        TDbMan db(FFile);
        const QList<TCategoryRule> rules = {{"shop", "Food"},
                                            {"Über \"Taxi\" 🚕", "Travel, local", TRuleType::Both},
                                            {"shop", "Other", TRuleType::Income}};
        db.SetCategoryRules("ann", rules);
        db.SetCategoryRules("bob", {{"x", "y"}});
        QCOMPARE(db.CategoryRules("ann"), rules);
        db.SetCategoryRules("ann", {rules[2], rules[0]});
        QCOMPARE(db.CategoryRules("ann"), (QList<TCategoryRule>{rules[2], rules[0]}));
        rawSql(FFile, "create trigger fault before insert on rules when new.pos = 1 "
                      "begin select raise(abort, 'injected failure'); end");
        QCOMPARE(errorOf([&] { db.SetCategoryRules("ann", rules); }), QString("injected failure"));
        rawSql(FFile, "drop trigger fault");
        QCOMPARE(db.CategoryRules("ann"), (QList<TCategoryRule>{rules[2], rules[0]}));
        QCOMPARE(db.CategoryRules("bob"), (QList<TCategoryRule>{{"x", "y"}}));

        db.SaveBankProfile("ann", {"Giro", "{\"a\":1}"});
        db.SaveBankProfile("ann", {"Card", "c"});
        db.SaveBankProfile("ann", {"Giro", "g"});
        db.SaveBankProfile("bob", {"Giro", "b"});
        QCOMPARE(db.BankProfiles("ann"), (QList<TBankProfile>{{"Card", "c"}, {"Giro", "g"}}));
        db.DeleteBankProfile("ann", "Card");
        QCOMPARE(db.BankProfiles("ann"), (QList<TBankProfile>{{"Giro", "g"}}));
        QCOMPARE(db.BankProfiles("bob"), (QList<TBankProfile>{{"Giro", "b"}}));
        QVERIFY(!errorOf([&] { db.SaveBankProfile("ann", {" ", "x"}); }).isEmpty());
    }

    // The history rows against a count over every record.
    void notesAndCategoriesAreCountedOnce() {
        TDbMan db(FFile);
        QRandomGenerator rng(7);
        const QStringList notes = {"", "Cafe", "café", "Rent - May", "cafe", "Ünï"};
        const QStringList categories = {"Food", "Rent", "food"};
        QMap<QString, int> expected;
        QList<TRecord> records;
        for (int i = 0; i < 500; ++i) {
            const TRecord r = rec(
                QDate(2024, 1, 1).addDays(rng.bounded(300)), rng.bounded(4) ? Expense : Income,
                categories[rng.bounded(categories.size())], 100, notes[rng.bounded(notes.size())]);
            records << r;
            ++expected[RecordTypeWord(r.Type) + '|' + r.Notes + '|' + r.Category];
        }
        db.AddRecords("ann", records);
        db.AddRecords("bob", records.mid(0, 50));
        QMap<QString, int> counted;
        db.ForEachNotesCategory(
            "ann", [&](TRecordType type, const QString &n, const QString &category, int count) {
                const QString key = RecordTypeWord(type) + '|' + n + '|' + category;
                QVERIFY2(!counted.contains(key), qPrintable(key));
                counted[key] = count;
            });
        QCOMPARE(counted, expected);
    }

    // Undo and redo: a save, a delete and an edit taken back and made again
    // with the same ids; each step refuses, changing nothing, once another
    // instance changed what it would revert.
    void undoAndRedoKeepIdsAndRefuseChangesMadeElsewhere() {
        TDbMan db(FFile), other(FFile);
        TRecord imported = rec(QDate(2024, 5, 1), Expense, "Food", 1250, QString::fromUtf8("Café"));
        imported.Import = TImportId{"giro", "F1"};
        QList<TRecord> saved;
        QCOMPARE(
            db.AddRecords("ann", {rec(QDate(2024, 5, 2), Income, "Pay", 900), imported}, &saved),
            0);
        QCOMPARE(saved[1].Import, TImportRef(TImportId{"giro", "F1"}));
        const auto records = [&] {
            return db.ReadPeriod("ann", QDate(2024, 1, 1), QDate(2024, 12, 31)).Records;
        };
        const QList<TRecord> afterSave = records();
        db.ChangeRecords("ann", saved, {}); // undo of the save: records and import id go
        QVERIFY(records().isEmpty() && db.KnownImportIds("ann", {*imported.Import}).isEmpty());
        QCOMPARE(db.ChangeRecords("ann", {}, saved), (QList<qint64>{saved[0].Id, saved[1].Id}));
        QCOMPARE(records(), afterSave);
        QCOMPARE(db.KnownImportIds("ann", {*imported.Import}).size(), 1);

        const TRecord original = afterSave[1];
        TRecord edited = original;
        edited.Notes = "edited";
        edited.Id = db.ReplaceRecord("ann", edited);
        QVERIFY(edited.Id > original.Id);
        db.ChangeRecords("ann", {edited}, {original}); // undo of the edit
        QCOMPARE(records(), afterSave);
        db.ChangeRecords("ann", {original}, {}); // a delete, and its undo
        db.ChangeRecords("ann", {}, {original});
        QCOMPARE(records(), afterSave);

        const auto refused = [&](auto step) {
            const QString before = contentOf(FFile);
            QString err;
            try {
                step();
            } catch (const TBookChangedError &e) {
                err = QString::fromStdString(e.what());
            }
            QVERIFY2(err.contains("in another Ledgerly window; nothing was undone or redone."),
                     qPrintable(err));
            QCOMPARE(contentOf(FFile), before);
        };
        TRecord changed = original;
        changed.Cents = 1251;
        refused([&] { db.ChangeRecords("ann", {afterSave[0], changed}, {}); });
        refused([&] { db.ChangeRecords("bob", {original}, {}); });
        refused([&] {
            db.ChangeRecords("ann", {}, {rec(QDate(2024, 1, 1), Expense, "x", 1), original});
        });
        other.ChangeRecords("ann", {original}, {}); // another window deletes it
        refused([&] { db.ChangeRecords("ann", {afterSave[0], original}, {}); });
        TRecord again = original;
        again.Id = 0;
        again.Import = imported.Import;
        refused([&] { db.ChangeRecords("ann", {}, {again}); }); // imported meanwhile
        // A duplicate the user kept: taking its save back keeps the import id.
        TRecord kept = imported;
        kept.Import = TImportId{"giro", "F1", true};
        QList<TRecord> keptSaved;
        db.AddRecords("ann", {kept}, &keptSaved);
        QVERIFY(keptSaved[0].Id > 0 && keptSaved[0].Import.IsEmpty());
        db.ChangeRecords("ann", keptSaved, {});
        QCOMPARE(db.KnownImportIds("ann", {*imported.Import}).size(), 1);

        db.ChangeCategories("ann", Expense, {}, {"Food", "Rent"});
        other.ChangeCategories("ann", Expense, {"Food", "Rent"}, {"Rent"});
        refused([&] { db.ChangeCategories("ann", Expense, {"Food", "Rent"}, {}); });
        QCOMPARE(db.GetCategories("ann", "out"), QStringList{"Rent"});
    }

    // Budgets: read back in their order, replaced whole; a save over budgets
    // another window changed meanwhile, or with bad values, changes nothing.
    void budgetsAreReplacedWholeWhileUnchanged() {
        TDbMan db(FFile);
        const QList<TBudget> budgets = {{Income, "Salary", 300000},
                                        {Expense, "Rent", 90000},
                                        {Expense, QString::fromUtf8("Café"), 0}};
        db.SetBudgets("ann", {}, budgets);
        db.SetBudgets("bob", {}, {{Expense, "Rent", 1}});
        const QList<TBudget> read = db.Budgets("ann");
        QCOMPARE(read, (QList<TBudget>{budgets[2], budgets[1], budgets[0]}));
        QCOMPARE(rawSql(FFile, "select count(*) from budgets where cate = '" +
                                   EncodeField(QString::fromUtf8("Café")) + "'"),
                 QStringList{"1"});
        TDbMan(FFile).SetBudgets("ann", budgets, {budgets[0]}); // another window
        QVERIFY_THROWS_EXCEPTION(TBookChangedError, db.SetBudgets("ann", read, {}));
        for (const QList<TBudget> &bad : {QList<TBudget>{{Expense, "Rent", -1}},
                                          QList<TBudget>{budgets[1], {Expense, "Rent", 5}}})
            QVERIFY(!errorOf([&] { db.SetBudgets("ann", {budgets[0]}, bad); }).isEmpty());
        QCOMPARE(db.Budgets("ann"), (QList<TBudget>{budgets[0]}));
    }

    // The budget of a period: whole months, part months by their share of
    // days; spent from the period's sums, categories without a budget in a
    // row of their own; averages over the full months before today's.
    void periodBudgetsAndAverages() {
        QCOMPARE(PeriodBudgetCents(31000, QDate(2024, 3, 1), QDate(2024, 3, 31)), 31000);
        QCOMPARE(PeriodBudgetCents(31000, QDate(2024, 1, 1), QDate(2024, 3, 31)), 93000);
        QCOMPARE(PeriodBudgetCents(10000, QDate(2024, 2, 15), QDate(2024, 3, 15)), 10011);
        TDbMan db(FFile);
        db.AddRecords("ann", {rec(QDate(2024, 2, 10), Expense, "Food", 4000),
                              rec(QDate(2024, 3, 2), Expense, "Food", 20000),
                              rec(QDate(2024, 3, 9), Expense, "Fun", 500),
                              rec(QDate(2024, 3, 20), Income, "Pay", 9001),
                              rec(QDate(2024, 4, 2), Expense, "Food", 7)});
        const QList<TBudget> budgets = {
            {Expense, "Food", 31000}, {Expense, "Rent", 62000}, {Income, "Pay", 1}};
        const QDate from(2024, 3, 1), to(2024, 3, 15);
        const TPeriodBudget half =
            PeriodBudget(budgets, Expense, from, to, db.ReadTotals("ann", from, to));
        QCOMPARE(half.Rows, (QList<TBudgetRow>{{"Food", false, 15000, 20000, -5000},
                                               {"Rent", false, 30000, 0, 30000},
                                               {"", true, 0, 500, -500}}));
        QCOMPARE(QList<qint64>({half.BudgetCents, half.SpentCents, half.LeftCents}),
                 QList<qint64>({45000, 20500, 24500}));
        const TMonthlyAverages averages = db.MonthlyAverages("ann", QDate(2024, 4, 30));
        QCOMPARE(averages.From, QDate(2024, 2, 1)); // the first record's month
        QCOMPARE(averages.Months, 2);
        QCOMPARE(averages.ExpenseCategories,
                 (QList<TCategoryAverage>{{"Food", 12000}, {"Fun", 250}}));
        QCOMPARE(averages.IncomeCategories, (QList<TCategoryAverage>{{"Pay", 4501}}));
        QCOMPARE(BudgetCategories({" Fun", "", "Fun"}, averages, budgets, Expense),
                 QStringList({"Fun", "Food", "Rent"}));
    }

    // The dates of schedules; the number of dates up to a day, against
    // counting them one by one.
    void scheduleDates() {
        const auto dates = [](const TSchedule &schedule) {
            QStringList out;
            for (int n = 0; n < 4; ++n)
                out << NextDate(schedule, n).toString("MM/dd/yy");
            return out.join(' ').trimmed();
        };
        using U = TRepeatUnit;
        QCOMPARE(dates({QDate(2024, 1, 31), 1, U::Months, {}}),
                 QString("01/31/24 02/29/24 03/31/24 04/30/24"));
        QCOMPARE(dates({QDate(2023, 1, 31), 1, U::Months, {}}),
                 QString("01/31/23 02/28/23 03/31/23 04/30/23"));
        QCOMPARE(dates({QDate(2024, 12, 18), 1, U::Weeks, {}}),
                 QString("12/18/24 12/25/24 01/01/25 01/08/25"));
        QCOMPARE(dates({QDate(2024, 2, 29), 1, U::Years, {}}),
                 QString("02/29/24 02/28/25 02/28/26 02/28/27"));
        QCOMPARE(dates({QDate(2024, 1, 31), 2, U::Months, QDate(2024, 5, 30)}),
                 QString("01/31/24 03/31/24")); // the last date is respected
        QRandomGenerator rng(5);
        for (int i = 0; i < 300; ++i) {
            const TSchedule schedule{QDate(2020, 1, 1).addDays(rng.bounded(800)),
                                     1 + rng.bounded(3), U(rng.bounded(4)),
                                     rng.bounded(2) ? QDate(2022, 6, 30) : QDate()};
            const QDate day = QDate(2019, 6, 1).addDays(rng.bounded(2500));
            qint64 n = 0;
            while (NextDate(schedule, n).isValid() && NextDate(schedule, n) <= day)
                ++n;
            QCOMPARE(DatesUpTo(schedule, day), n);
        }
    }

    // Recurring entries: changed, taken back and made again with their ids;
    // a change over one another window changed, or of bad values, is refused.
    void recurringEntriesChangeAndRevert() {
        TDbMan db(FFile), other(FFile);
        TRecurring rent = entry("Rent", QDate(2024, 1, 31), TRepeatUnit::Months);
        rent.Schedule.Last = QDate(2025, 1, 1);
        rent.Id = db.AddRecurring("ann", rent);
        QCOMPARE(db.RecurringEntries("ann"), QList<TRecurring>{rent});
        QVERIFY(db.RecurringEntries("bob").isEmpty());
        TRecurring raised = rent;
        raised.Cents = 95000;
        raised.Booked = QDate(2024, 2, 29);
        db.UpdateRecurring("ann", rent, raised);
        QCOMPARE(NextToBook(db.RecurringEntries("ann").value(0)), QDate(2024, 3, 31));
        QVERIFY_THROWS_EXCEPTION(TBookChangedError, db.UpdateRecurring("ann", rent, raised));
        db.UpdateRecurring("ann", raised, rent); // undo
        other.DeleteRecurring("ann", rent);
        QVERIFY_THROWS_EXCEPTION(TBookChangedError, db.DeleteRecurring("ann", rent));
        QCOMPARE(db.AddRecurring("ann", rent), rent.Id); // undo of the delete
        QCOMPARE(db.RecurringEntries("ann"), QList<TRecurring>{rent});
        QVERIFY_THROWS_EXCEPTION(TBookChangedError, db.AddRecurring("ann", rent));
        TRecurring bad = rent;
        bad.Schedule.Every = 0;
        QVERIFY_THROWS_EXCEPTION(TDbError, db.UpdateRecurring("ann", rent, bad));
        bad = rent;
        bad.Schedule.Last = QDate(2023, 1, 1);
        QVERIFY_THROWS_EXCEPTION(TDbError, db.AddRecurring("ann", bad));
        QCOMPARE(db.RecurringEntries("ann"), QList<TRecurring>{rent});
    }

    // Due rows: at most 62 per entry, none before the first date; a save
    // books them (a row deleted before it counts as skipped), once only, and
    // its undo and redo move the booked dates too.
    void dueRowsAreBookedOnce() {
        TDbMan db(FFile);
        TRecurring rent = entry("Rent", QDate(2024, 1, 31), TRepeatUnit::Months);
        rent.Id = db.AddRecurring("ann", rent);
        TRecurring daily = entry("Food", QDate(2024, 1, 1), TRepeatUnit::Days, QDate(2023, 1, 1));
        daily.Id = db.AddRecurring("ann", daily);
        db.AddRecurring("ann", entry("Later", QDate(2024, 5, 1), TRepeatUnit::Days));
        const QDate today(2024, 4, 30);
        const QList<TDueEntry> due = db.DueOccurrences("ann", today);
        QCOMPARE(due.size(), 2);
        QStringList dates;
        for (const TRecord &r : due[0].Rows)
            dates << r.Date.toString("MM/dd");
        QCOMPARE(dates.join(' '), QString("01/31 02/29 03/31 04/30"));
        QCOMPARE(*due[0].Rows[1].Recurring, (TRecurringOrigin{rent.Id, {}, QDate(2024, 2, 29)}));
        QCOMPARE(due[1].Rows.size(), 62);
        QCOMPARE(due[1].Left, 121 - 62);
        QCOMPARE(due[1].Advance, (TBookingAdvance{daily.Id, QDate(2023, 1, 1), QDate(2024, 3, 2)}));

        auto [rows, advances] = offered(due);
        QVERIFY_THROWS_EXCEPTION(TDbError, db.SavePending("ann", rows, {advances[0]}));
        rows.removeAt(1); // the user deleted the row of February
        const QString before = contentOf(FFile);
        const TPendingSave save = db.SavePending("ann", rows, advances);
        QCOMPARE(save.Advanced, advances);
        QCOMPARE(db.ReadPeriod("ann", QDate(2024, 1, 1), today).Records.size(), 3 + 62);
        const QList<TDueEntry> next = db.DueOccurrences("ann", today);
        QCOMPARE(next.size(), 1);
        QCOMPARE(next[0].Rows.value(0).Date, QDate(2024, 3, 3));
        QCOMPARE(next[0].Left, 0);
        // The same rows saved again (by a window that read them before):
        // nothing is stored, and the error names the entries.
        const QString after = contentOf(FFile);
        try {
            db.SavePending("ann", rows + QList<TRecord>{rec(today, Expense, "x", 1)}, advances);
            QFAIL("saved twice");
        } catch (const TBookedMeanwhileError &e) {
            QCOMPARE(e.Entries, (QList<qint64>{rent.Id, daily.Id}));
        }
        QCOMPARE(contentOf(FFile), after);

        QList<TBookingAdvance> back;
        for (const TBookingAdvance &a : save.Advanced)
            back << a.Reversed();
        db.ChangeRecords("ann", save.Stored, {}, back);
        QCOMPARE(contentOf(FFile), before);
        QCOMPARE(db.DueOccurrences("ann", today), due);
        db.ChangeRecords("ann", {}, save.Stored, save.Advanced);
        QCOMPARE(contentOf(FFile), after);
        QVERIFY_THROWS_EXCEPTION(TBookChangedError, db.ChangeRecords("ann", {}, {}, save.Advanced));
    }

    void findMatchesWordsIgnoringCaseAndAccents() {
        TDbMan db(FFile);
        db.AddRecords("ann",
                      {rec(QDate(2020, 1, 1), Expense, QString::fromUtf8("Café"), 1250, "Lunch"),
                       rec(QDate(2021, 1, 1), Expense, "Health", 1250, "DENTIST visit"),
                       rec(QDate(2022, 1, 1), Expense, "Food", 300,
                           QString::fromUtf8("crème brûlée, paid 12.50")),
                       rec(QDate(2019, 1, 1), Income, "Gift", 5000, "from the cafe")});
        db.AddRecord("bob", rec(QDate(2023, 1, 1), Expense, "cafe", 1250));
        rawSql(FFile, "insert into data (user, date, type, amount) values ('" + EncodeField("ann") +
                          "', 'someday', 'Expense', 1)");
        const auto found = [&](const QString &text) {
            QStringList notes;
            for (const TRecord &r : db.FindRecords("ann", text))
                notes << r.Notes;
            return notes.join('|');
        };
        QCOMPARE(found("CAFE"), QString("Lunch|from the cafe"));
        QCOMPARE(found(QString::fromUtf8("brulee CRÈME")),
                 QString::fromUtf8("crème brûlée, paid 12.50"));
        // An amount in either notation; the text is matched as typed.
        QCOMPARE(found("12,50"), QString("DENTIST visit|Lunch"));
        QCOMPARE(found("12.50"), QString::fromUtf8("crème brûlée, paid 12.50|DENTIST visit|Lunch"));
        QCOMPARE(found("12.5 health"), QString("DENTIST visit"));
        QCOMPARE(found("12.51"), QString());
        QCOMPARE(found("  "), QString());
        int unreadable = 0;
        QCOMPARE(
            db.FindRecords("ann", "lunch", &unreadable).value(0),
            (TRecord{1, QDate(2020, 1, 1), Expense, QString::fromUtf8("Café"), 1250, "Lunch"}));
        QCOMPARE(unreadable, 1);
    }

    // Renaming a category across its records, the list and the rules, taken
    // back exactly; a merge into an existing category; an undo that another
    // instance's change would spoil refuses.
    void renameAndMergeCategoriesThenRevert() {
        TDbMan db(FFile);
        QList<TRecord> records(1000, rec(QDate(2024, 2, 1), Expense, "Food", 100));
        records << rec(QDate(2024, 2, 1), Income, "Food", 100)
                << rec(QDate(2024, 2, 1), Expense, "Meals", 100);
        db.AddRecords("ann", records);
        db.AddRecords("bob", records.mid(0, 1));
        db.SetCategories("ann", "out", {"Rent", "Food", "Meals"});
        db.SetCategoryRules(
            "ann",
            {{"shop", "Food"}, {"x", "Food", TRuleType::Income}, {"y", "Food", TRuleType::Both}});
        db.SetBudgets("ann", {},
                      {{Expense, "Food", 100}, {Expense, "Meals", 50}, {Income, "Food", 7}});
        TRecurring food = entry("Food", QDate(2024, 1, 1), TRepeatUnit::Weeks);
        food.Id = db.AddRecurring("ann", food);
        const auto state = [&] {
            return contentOf(FFile) +
                   rawSql(FFile, "select user, pos, text, cate, type from rules order by 1, 2")
                       .join('\n') +
                   rawSql(FFile, "select user, type, cate, cents from budgets union all select "
                                 "user, type, cate, booked from recurring order by 1, 2, 3")
                       .join('\n');
        };
        const QString before = state();
        QCOMPARE(db.CountCategory("ann", Expense, "Food"), 1000);
        const TCategoryRename rename = db.RenameCategory("ann", Expense, "Food", "Groceries");
        QCOMPARE(rename.Ids.size(), 1000);
        QCOMPARE(db.GetCategories("ann", "out"), QStringList({"Rent", "Groceries", "Meals"}));
        QCOMPARE(db.CategoryRules("ann"),
                 (QList<TCategoryRule>{{"shop", "Groceries"},
                                       {"x", "Food", TRuleType::Income},
                                       {"y", "Groceries", TRuleType::Both}}));
        QCOMPARE(db.CountCategory("ann", Income, "Food"), 1);
        QCOMPARE(db.CountCategory("bob", Expense, "Food"), 1);
        QCOMPARE(db.RecurringEntries("ann").value(0).Category, QString("Groceries"));
        const QString after = state();
        db.ApplyRename("ann", rename.Reversed());
        QCOMPARE(state(), before);
        db.ApplyRename("ann", rename);
        QCOMPARE(state(), after);

        const TCategoryRename merge = db.RenameCategory("ann", Expense, "Meals", "Groceries");
        QCOMPARE(db.CountCategory("ann", Expense, "Groceries"), 1001);
        QCOMPARE(db.GetCategories("ann", "out"), QStringList({"Rent", "Groceries"}));
        QCOMPARE(db.Budgets("ann"),
                 (QList<TBudget>{{Expense, "Groceries", 100}, {Income, "Food", 7}}));
        db.ApplyRename("ann", merge.Reversed());
        QCOMPARE(state(), after);
        TDbMan(FFile).ChangeRecords("ann", {db.FindRecords("ann", "groceries").value(5)}, {});
        const QString now = state(); // another window deleted a record of the rename
        QVERIFY_THROWS_EXCEPTION(TBookChangedError, db.ApplyRename("ann", rename.Reversed()));
        QCOMPARE(state(), now);
    }

    // What a signed-in user stores is sealed: it reads back through the
    // user's key, and no category, amount, note, rule, profile, budget,
    // recurring entry or bank id is in the file's bytes, in any form.
    void signedInBookIsSealedAndReadsBack() {
        TDbMan db(FFile);
        QVERIFY(db.AddUser("ann", "pw") && db.HasKey("ann"));
        db.SetCategories("ann", "out", {"Zanzibar"});
        TRecord bought = rec(QDate(2024, 2, 3), Expense, "Zanzibar", 123457, "kumquat-note");
        bought.Import = TImportId{"acct-445566", "FITID-778899"};
        db.AddRecords("ann", {bought, rec(QDate(2024, 2, 4), Income, "Zanzibar", 5000)});
        db.SetCategoryRules("ann", {{"rule-walrus", "Zanzibar"}});
        db.SaveBankProfile("ann", {"profile-okapi", "layout-quokka"});
        db.SetBudgets("ann", {}, {{Expense, "budget-tapir", 777}});
        const TRecurring rent{
            0,    Expense,         "Zanzibar",
            4242, "recur-narwhal", {QDate(2024, 1, 31), 1, TRepeatUnit::Months, {}},
            {}};
        db.AddRecurring("ann", rent);

        const TPeriod period = db.ReadPeriod("ann", QDate(2024, 1, 1), QDate(2024, 12, 31));
        QCOMPARE(period.Records.size(), 2);
        QCOMPARE(period.ExpenseCents, 123457);
        QCOMPARE(period.Records.value(0).Notes, QString("kumquat-note"));
        QCOMPARE(db.FindRecords("ann", "kumquat").size(), 1);
        QCOMPARE(db.ReadCategoryRecords("ann", QDate(2024, 1, 1), QDate(2024, 12, 31), Expense,
                                        "Zanzibar")
                     .size(),
                 1);
        QCOMPARE(db.GetCategories("ann", "out"), QStringList{"Zanzibar"});
        QCOMPARE(db.CategoryRules("ann"), (QList<TCategoryRule>{{"rule-walrus", "Zanzibar"}}));
        QCOMPARE(db.BankProfiles("ann").value(0).Layout, QString("layout-quokka"));
        QCOMPARE(db.Budgets("ann"), (QList<TBudget>{{Expense, "budget-tapir", 777}}));
        QCOMPARE(db.RecurringEntries("ann").value(0).Notes, QString("recur-narwhal"));
        QCOMPARE(db.KnownImportIds("ann", {*bought.Import}).size(), 1);
        const TCategoryRename rename = db.RenameCategory("ann", Expense, "Zanzibar", "Zanzibar2");
        QCOMPARE(db.CountCategory("ann", Expense, "Zanzibar2"), 1);
        db.ApplyRename("ann", rename.Reversed());

        QFile file(FFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const double amount = 1234.57;
        for (const QByteArray &secret :
             {QByteArray("Zanzibar"), QByteArray("kumquat"), QByteArray("walrus"),
              QByteArray("okapi"), QByteArray("quokka"), QByteArray("tapir"), QByteArray("narwhal"),
              QByteArray("778899"), QByteArray("445566"), QByteArray("1234.57"),
              QByteArray(reinterpret_cast<const char *>(&amount), 8)})
            QVERIFY2(!bytes.contains(secret) && !bytes.contains(secret.toBase64()),
                     secret.constData());

        // Without the key the records are unreadable and the texts empty.
        TDbMan other(FFile);
        QCOMPARE(other.ReadPeriod("ann", QDate(2024, 1, 1), QDate(2024, 12, 31)).Unreadable, 2);
        QVERIFY(other.GetCategories("ann", "out").isEmpty() && other.Budgets("ann").isEmpty());
    }

    // A sealed value opens only where it was sealed: moved to another
    // record or list it is unreadable there, never read as the other's.
    void sealedValuesOpenOnlyWhereTheyWereSealed() {
        TDbMan db(FFile);
        QVERIFY(db.AddUser("ann", "pw"));
        db.AddRecords("ann", {rec(QDate(2024, 2, 3), Expense, "Food", 100, "a"),
                              rec(QDate(2024, 2, 3), Expense, "Rent", 90000, "b")});
        db.SetCategories("ann", "out", {"Food"});
        rawSql(FFile, "update data set notes = (select notes from data order by id limit 1) "
                      "where id = (select max(id) from data); update cates set \"in\" = out");
        const TPeriod period = db.ReadPeriod("ann", QDate(2024, 1, 1), QDate(2024, 12, 31));
        QCOMPARE(period.Records.size(), 1);
        QCOMPARE(period.Unreadable, 1);
        QCOMPARE(period.ExpenseCents, 100);
        QVERIFY(db.GetCategories("ann", "in").isEmpty());
    }

    // Set Password wraps the same key again (no record sealed again, the
    // old password gone); a backup opens with the passwords it was made
    // with; a deleted user's records stay sealed for good, and a new
    // account of the same name starts with an empty book.
    void passwordsBackupsAndDeletedUsers() {
        TDbMan db(FFile);
        QVERIFY(db.AddUser("ann", "old"));
        db.AddRecord("ann", rec(QDate(2024, 2, 3), Expense, "Food", 500, "lunch"));
        const QStringList sealed = rawSql(FFile, "select hex(notes) from data");
        const QString backup = FDir.filePath("made-with-old.ledgerly");
        TDataFile(FFile).Backup(backup);
        db.SetPassword("ann", "new");
        QCOMPARE(rawSql(FFile, "select hex(notes) from data"), sealed);
        TDbMan fresh(FFile);
        QVERIFY(!fresh.CheckPassword("ann", "old"));
        QVERIFY(fresh.CheckPassword("ann", "new"));
        QCOMPARE(fresh.FindRecords("ann", "lunch").size(), 1);

        TDataFile(FFile).Restore(backup);
        TDbMan restored(FFile);
        QVERIFY(!restored.CheckPassword("ann", "new"));
        QVERIFY(restored.CheckPassword("ann", "old"));
        QCOMPARE(restored.FindRecords("ann", "lunch").size(), 1);

        QVERIFY(restored.DeleteUser("ann") && !restored.HasKey("ann"));
        TDbMan again(FFile);
        QVERIFY(again.AddUser("ann", "old"));
        const TPeriod period = again.ReadPeriod("ann", QDate(2024, 1, 1), QDate(2024, 12, 31));
        QVERIFY(period.Records.isEmpty());
        QCOMPARE(period.Unreadable, 0);
        QVERIFY(again.FindRecords("ann", "lunch").isEmpty());
        QCOMPARE(rawSql(FFile, "select count(*) from data"), QStringList{"1"});
    }

    // A book of an older Ledgerly is sealed user by user at each one's sign-in:
    // both books read the same all along, and a record another program adds
    // plain later is read, then sealed at the next sign-in.
    void oldBooksAreSealedUserByUser() {
        TDbMan(FFile).AddUser("ann", "pa");
        TDbMan(FFile).AddUser("bob", "pb");
        rawSql(FFile, "update users set key = ''");
        TDbMan old(FFile); // as an older Ledgerly writes: plain
        for (const QString user : {"ann", "bob"}) {
            old.AddRecords(user, {rec(QDate(2024, 1, 5), Expense, "Food", 250, user),
                                  rec(QDate(2024, 1, 6), Income, "Pay", 9000)});
            old.SetCategories(user, "out", {"Food", user});
            old.SetCategoryRules(user, {{"shop", "Food"}});
            old.SetBudgets(user, {}, {{Expense, "Food", 300}});
            old.AddRecurring(user, entry("Rent", QDate(2024, 1, 31), TRepeatUnit::Months));
            old.SaveBankProfile(user, {"giro", "layout"});
        }
        TRecord imported = rec(QDate(2024, 1, 7), Expense, "Food", 1, "x");
        imported.Import = TImportId{"giro", "T1"};
        old.AddRecords("ann", {imported});
        const auto state = [&](TDbMan &db, const QString &user) {
            return QStringList{
                QString::number(
                    db.ReadPeriod(user, QDate(2024, 1, 1), QDate(2024, 12, 31)).Records.size()),
                db.GetCategories(user, "out").join(','),
                db.CategoryRules(user).value(0).Text,
                QString::number(db.Budgets(user).value(0).Cents),
                db.RecurringEntries(user).value(0).Category,
                db.BankProfiles(user).value(0).Layout,
                QString::number(db.KnownImportIds(user, {*imported.Import}).size())};
        };
        const QStringList annBefore = state(old, "ann"), bobBefore = state(old, "bob");
        QCOMPARE(annBefore, QStringList({"3", "Food,ann", "shop", "300", "Rent", "layout", "1"}));

        TDbMan ann(FFile);
        QVERIFY(ann.CheckPassword("ann", "pa") && !ann.HasKey("ann"));
        QCOMPARE(ann.SealBook("ann", "pa"), 3);
        QCOMPARE(state(ann, "ann"), annBefore);
        QCOMPARE(state(old, "bob"), bobBefore);
        QCOMPARE(rawSql(FFile, "select user, typeof(notes), count(*) from data group by 1, 2"),
                 QStringList({EncodeField("ann") + "|blob|3", EncodeField("bob") + "|text|2"}));
        QCOMPARE(rawSql(FFile, "select count(*) from fitids where typeof(fitid) = 'text'"),
                 QStringList{"0"});

        old.AddRecord("ann", rec(QDate(2024, 1, 8), Expense, "Food", 75, "plain"));
        QCOMPARE(ann.ReadPeriod("ann", QDate(2024, 1, 1), QDate(2024, 12, 31)).Records.size(), 4);
        TDbMan annAgain(FFile);
        QVERIFY(annAgain.CheckPassword("ann", "pa") && annAgain.HasKey("ann"));
        QCOMPARE(annAgain.SealBook("ann", "pa"), 1);
        QCOMPARE(annAgain.SealBook("ann", "pa"), 0);
        TDbMan bob(FFile);
        QVERIFY(bob.CheckPassword("bob", "pb"));
        QCOMPARE(bob.SealBook("bob", "pb"), 2);
        QCOMPARE(state(bob, "bob"), bobBefore);
    }

    // The program killed at any moment of the first sealing leaves the
    // book all plain (sealed at the next sign-in) or all sealed.
    void killedSealingLeavesTheBookWhole() {
        const int records = 20000;
        TDbMan(FFile).AddUser("ann", "pw");
        rawSql(FFile, QStringLiteral("update users set key = ''; with recursive n(i) as (select "
                                     "1 union all select i + 1 from n where i < %1) insert into "
                                     "data (user, date, type, cate, amount, notes) select '%2', "
                                     "date('2020-01-01', '+' || (i %% 900) || ' days'), "
                                     "'Expense', 'Rm9vZA==', 1.25, 'bm90ZQ==' from n")
                          .arg(records)
                          .arg(EncodeField("ann"))
                          .replace("%%", "%"));
        const QString plain = FDir.filePath("plain.ledgerly");
        QVERIFY(QFile::copy(FFile, plain));
        for (const int killAfter : {-1, 0, 3, 9, 14, 19, 99}) {
            QFile::remove(FFile);
            QVERIFY(QFile::copy(plain, FFile));
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {"--seal", FFile});
            // Lines: "open" once the key is known, then one per 1000 sealed.
            for (int line = -1; line < killAfter && child.waitForReadyRead(); ++line)
                child.readLine();
            child.kill();
            child.waitForFinished();
            const QStringList sealed =
                rawSql(FFile, "select count(*), (select length(key) from users) from data "
                              "where typeof(notes) = 'blob'");
            QVERIFY2(sealed == QStringList{"0|0"} || sealed == QStringList{"20000|101"},
                     qPrintable(sealed.join(' ')));
            TDbMan db(FFile);
            QVERIFY(db.CheckPassword("ann", "pw"));
            db.SealBook("ann", "pw");
            const TPeriod period = db.ReadPeriod("ann", QDate(2020, 1, 1), QDate(2030, 1, 1));
            QCOMPARE(period.Records.size(), records);
            QCOMPARE(period.ExpenseCents, 125 * records);
        }
    }

    // A trigger added to the file makes the n-th step of an operation fail;
    // the file must then be exactly as before.
    void failedChangesLeaveNothingBehind() {
        TDbMan db(FFile);
        QVERIFY(db.AddUser("ann", "pw"));
        db.SetCategories("ann", "out", {"Food"});
        db.AddRecord("ann", rec(QDate(2011, 1, 1), Expense, "Food", 300, "x"));
        TRecord edit = rec(QDate(2011, 1, 2), Expense, "F", 100);
        edit.Id = rawSql(FFile, "select id from data")[0].toLongLong();

        const auto expectFailure = [&](const QString &table, auto action) {
            rawSql(FFile, QStringLiteral("create trigger fault before insert on ") + table +
                              " begin select raise(abort, 'injected failure'); end");
            const QString before = contentOf(FFile);
            QCOMPARE(errorOf(action), QString("injected failure"));
            QCOMPARE(contentOf(FFile), before);
            rawSql(FFile, "drop trigger fault");
        };
        // The insert after the delete fails: the deleted rows come back.
        expectFailure("cates", [&] { db.SetCategories("ann", "out", {"Rent"}); });
        expectFailure("users", [&] { db.ReinsertUser("ann", "pw"); });
        expectFailure("users", [&] { db.SetPassword("ann", "new"); });
        expectFailure("data", [&] { db.ReplaceRecord("ann", edit); });
        // The third record of a list fails: the first two are not kept.
        expectFailure("data when (select count(*) from data) = 3", [&] {
            db.AddRecords("ann", {rec(QDate(2011, 1, 5), Expense, "a", 100),
                                  rec(QDate(2011, 1, 5), Expense, "a", 200),
                                  rec(QDate(2011, 1, 5), Expense, "a", 300)});
        });
        QVERIFY(db.CheckPassword("ann", "pw"));
        db.SetCategories("ann", "out", {"Rent"});
        QCOMPARE(db.GetCategories("ann", "out"), QStringList{"Rent"});
    }

    // Two writers and a reader at the same time (as two program instances
    // would be): nobody fails with "database is locked", nothing is lost,
    // and a search sees whole saves only.
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
                    db.AddRecords(user, {rec(QDate(2015, 5, 5), Expense, "c", 100),
                                         rec(QDate(2015, 5, 6), Income, "d", 200, "n")});
                    db.SetCategories(user, "out", {QString::number(i)});
                }
            });
        };
        std::thread a(writer("a")), b(writer("b"));
        std::thread reader(guarded([&] {
            TDbMan db(FFile);
            for (int i = 0; i < 25; ++i) {
                const TPeriod p = db.ReadPeriod("a", QDate(2015, 1, 1), QDate(2015, 12, 31));
                if (p.ExpenseCents * 2 != p.IncomeCents)
                    throw std::runtime_error("a search saw half a save");
            }
        }));
        a.join();
        b.join();
        reader.join();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        QCOMPARE(rawSql(FFile, "select user, count(*) from data group by user order by user"),
                 (QStringList{EncodeField("a") + "|50", EncodeField("b") + "|50"}));
        // The file stays a rollback-journal database, complete on its own.
        QCOMPARE(rawSql(FFile, "pragma journal_mode"), QStringList{"delete"});
    }

    void lockedFileWaitsThenReports() {
        TDbMan db(FFile);
        sqlite3 *holder = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(FFile).constData(), &holder), SQLITE_OK);
        QCOMPARE(sqlite3_exec(holder, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
        QElapsedTimer timer;
        timer.start();
        const QString err =
            errorOf([&] { db.AddRecord("u", rec(QDate(2011, 1, 1), Expense, "c", 100)); }, true);
        QVERIFY2(err.contains("locked") && err.contains(FFile) && err.contains("try again"),
                 qPrintable(err));
        QVERIFY(timer.elapsed() >= 3000); // it waited for the other instance first
        sqlite3_exec(holder, "rollback", nullptr, nullptr, nullptr);
        sqlite3_close(holder);
        db.AddRecord("u", rec(QDate(2011, 1, 1), Expense, "c", 100));
        QCOMPARE(rawSql(FFile, "select count(*) from data"), QStringList{"1"});
    }
};

#include "test_DbClass.moc"

// As `--save-import <file>`, a second instance: saves the 40 lines of one
// statement and the rows of ann's recurring entries due on 31 March 2024
// once a line comes in; when those were booked meanwhile, saves again
// without them, as the pending lists would. Prints how many lines it left
// out, and 1 when it lost the race for the recurring rows.
int main(int argc, char **argv) {
    // As `--seal <file>`: ann's first sign-in, telling each step on a line.
    if (argc == 3 && qstrcmp(argv[1], "--seal") == 0) {
        TDbMan db(QString::fromLocal8Bit(argv[2]));
        if (!db.CheckPassword("ann", "pw"))
            return 1;
        std::cout << "open" << std::endl;
        db.SealBook("ann", "pw", [](int done, int) { std::cout << done << std::endl; });
        return 0;
    }
    if (argc == 3 && qstrcmp(argv[1], "--save-import") == 0) {
        QList<TRecord> lines(40, rec(QDate(2024, 3, 1), Expense, "Food", 100));
        for (int i = 0; i < 40; ++i)
            lines[i].Import = TImportId{"giro", QString::number(i)};
        TDbMan db(QString::fromLocal8Bit(argv[2]));
        const auto [due, advances] = offered(db.DueOccurrences("ann", QDate(2024, 3, 31)));
        std::cout << "ready" << std::endl;
        std::string go;
        std::getline(std::cin, go);
        try {
            std::cout << db.SavePending("ann", lines + due, advances).LeftOut << " 0" << std::endl;
        } catch (const TBookedMeanwhileError &) {
            std::cout << db.SavePending("ann", lines, {}).LeftOut << " 1" << std::endl;
        }
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestDbClass test;
    return QTest::qExec(&test, argc, argv);
}
