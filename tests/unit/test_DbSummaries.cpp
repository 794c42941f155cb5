// Period results and category records, cross-checked against an independent
// computation over a few thousand random records; amounts and records that
// another program wrote.
#include "export/ExportTypes.h"
#include "store/AmountText.h"
#include "store/DbClass.h"
#include "store/FieldCodec.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

#include <algorithm>
#include <map>

namespace {

struct Rec {
    QString User;
    TRecord Record;
};

void rawExec(const QString &file, const QString &sql) {
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// Everything ReadPeriod gives, computed here from the records alone.
TPeriod expectedFor(const QList<Rec> &all, const QString &user, const QDate &from,
                    const QDate &to) {
    TPeriod e;
    QList<TRecord> recs;
    for (const Rec &r : all)
        if (r.User == user && r.Record.Date >= from && r.Record.Date <= to)
            recs << r.Record;
    std::map<QDate, std::pair<qint64, qint64>> days;
    std::map<std::pair<int, int>, std::pair<qint64, qint64>> months;
    std::map<QString, std::pair<int, qint64>> cates[2]; // expense, income
    for (const TRecord &r : recs) {
        const bool income = r.Type == TRecordType::Income;
        (income ? e.IncomeCents : e.ExpenseCents) += r.Cents;
        auto &day = days[r.Date];
        (income ? day.first : day.second) += r.Cents;
        auto &month = months[{r.Date.year(), r.Date.month()}];
        (income ? month.first : month.second) += r.Cents;
        auto &cate = cates[income][r.Category];
        cate.first += 1;
        cate.second += r.Cents;
    }
    for (const auto &[d, s] : days)
        e.Days << TDayTotal{d, s.first, s.second};
    for (const auto &[m, s] : months)
        e.Months << TMonthTotal{m.first, m.second, s.first, s.second};
    std::sort(recs.begin(), recs.end(), [](const TRecord &a, const TRecord &b) {
        if (a.Date != b.Date)
            return a.Date < b.Date;
        if (a.Type != b.Type)
            return a.Type == TRecordType::Income;
        return a.Id < b.Id;
    });
    e.Records = recs;
    for (int income = 0; income < 2; ++income) {
        QList<TCategoryTotal> &list = income ? e.IncomeCategories : e.ExpenseCategories;
        for (const auto &[cate, s] : cates[income])
            list << TCategoryTotal{cate, s.first, s.second};
        // Largest sum first; equal sums in the order of the stored texts.
        std::sort(list.begin(), list.end(), [](const TCategoryTotal &a, const TCategoryTotal &b) {
            return a.Cents != b.Cents ? a.Cents > b.Cents
                                      : EncodeField(a.Category) < EncodeField(b.Category);
        });
    }
    return e;
}

} // namespace

class TestDbSummaries : public QObject {
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FFile;
    QList<Rec> FRecs;
    const QStringList FUsers{"ann", "Bob O'Neil", QString::fromUtf8("Zoë")};

    void freshFile(const QString &name) {
        FFile = FDir.filePath(name);
        QVERIFY(QFile::copy(QDir::current().filePath("db.ledgerly"), FFile));
        QFile::setPermissions(FFile, QFile::ReadOwner | QFile::WriteOwner);
    }

    void checkPeriod(TDbMan &db, const QString &user, const QDate &from, const QDate &to) {
        const TPeriod e = expectedFor(FRecs, user, from, to);
        const TPeriod got = db.ReadPeriod(user, from, to);
        QCOMPARE(got.ExpenseCents, e.ExpenseCents);
        QCOMPARE(got.IncomeCents, e.IncomeCents);
        QCOMPARE(got.Days, e.Days);
        QCOMPARE(got.Months, e.Months);
        QCOMPARE(got.Records, e.Records);
        QCOMPARE(got.ExpenseCategories, e.ExpenseCategories);
        QCOMPARE(got.IncomeCategories, e.IncomeCategories);
        QCOMPARE(got.Unreadable, 0);
        // The sums alone (budgets) are the search's.
        const TPeriod sums = db.ReadTotals(user, from, to);
        QCOMPARE(QList<qint64>({sums.ExpenseCents, sums.IncomeCents}),
                 QList<qint64>({e.ExpenseCents, e.IncomeCents}));
        QCOMPARE(sums.ExpenseCategories, e.ExpenseCategories);
        QCOMPARE(sums.IncomeCategories, e.IncomeCategories);

        // The records behind every category of the period add up to its row.
        for (const TRecordType type : {TRecordType::Expense, TRecordType::Income}) {
            for (const TCategoryTotal &cate :
                 type == TRecordType::Income ? e.IncomeCategories : e.ExpenseCategories) {
                const QList<TRecord> rows =
                    db.ReadCategoryRecords(user, from, to, type, cate.Category);
                QList<TRecord> want;
                for (const TRecord &r : e.Records)
                    if (r.Type == type && r.Category == cate.Category)
                        want << r;
                QCOMPARE(rows, want);
            }
        }
    }

private slots:
    void initTestCase() {
        freshFile("random.ledgerly");
        QRandomGenerator rng(42);
        // Categories that differ only in letter case, or hold quotes and
        // accents, are kept apart exactly as typed; so are the two household
        // ones, whose stored texts share their length and both ends, and
        // the empty one.
        const QStringList outCates{
            "Food",  "food",        "Rent", "O'Neil's pub",      QString::fromUtf8("Café"), "Car",
            "Books", "Fun & games", "Tax",  "Household A items", "Household B items",       ""};
        const QStringList inCates{"Salary", "Gifts", "Interest", "salary"};
        const QDate first(2009, 11, 1);
        TDbMan db(FFile);
        for (const QString &user : FUsers) {
            QList<TRecord> pending;
            for (int i = 0; i < 1500; ++i) {
                TRecord r;
                r.Date = first.addDays(rng.bounded(0, 800));
                r.Type = rng.bounded(100) < 20 ? TRecordType::Income : TRecordType::Expense;
                const QStringList &cates = r.Type == TRecordType::Income ? inCates : outCates;
                r.Category = cates.at(rng.bounded(int(cates.size())));
                // Many small amounts and a few large ones; equal sums happen.
                r.Cents = rng.bounded(100) < 10 ? rng.bounded(1, 5000000) : rng.bounded(1, 3000);
                if (rng.bounded(100) < 60)
                    r.Notes = QStringLiteral("note %1 'x' \"y\"").arg(rng.bounded(50));
                pending << r;
            }
            db.AddRecords(user, pending);
            for (const TRecord &r : pending)
                FRecs << Rec{user, r};
        }
        // Records in the Januaries of two years only: two months.
        const QList<TRecord> januaries{
            {0, QDate(2011, 1, 5), TRecordType::Expense, "Tax", 100, ""},
            {0, QDate(2012, 1, 5), TRecordType::Expense, "Tax", 200, ""}};
        db.AddRecords("jan", januaries);
        for (const TRecord &r : januaries)
            FRecs << Rec{"jan", r};
        // Ids in insertion order.
        qint64 id = 0;
        for (Rec &r : FRecs)
            r.Record.Id = ++id;
    }

    void periodsMatchIndependentComputation() {
        TDbMan db(FFile);
        QRandomGenerator rng(99);
        for (const QString &user : FUsers) {
            // The whole span, a turn of the year, single days, a day with
            // no record and random periods.
            checkPeriod(db, user, QDate(2009, 1, 1), QDate(2012, 12, 31));
            checkPeriod(db, user, QDate(2010, 12, 1), QDate(2011, 1, 31));
            checkPeriod(db, user, QDate(2010, 2, 14), QDate(2010, 2, 14));
            checkPeriod(db, user, QDate(2009, 10, 31), QDate(2009, 10, 31));
            for (int i = 0; i < 8; ++i) {
                const QDate from = QDate(2009, 10, 1).addDays(rng.bounded(0, 850));
                checkPeriod(db, user, from, from.addDays(rng.bounded(0, 200)));
            }
        }
        checkPeriod(db, "nobody", QDate(2009, 1, 1), QDate(2012, 12, 31));
        checkPeriod(db, "jan", QDate(2011, 1, 1), QDate(2012, 12, 31));
        // A reversed period holds nothing.
        const TPeriod reversed = db.ReadPeriod("ann", QDate(2010, 12, 31), QDate(2010, 1, 1));
        QVERIFY(reversed.Records.isEmpty() && reversed.Days.isEmpty() &&
                reversed.ExpenseCents == 0);
    }

    // Amounts another program stored with more decimals read as the cents
    // "%0.2f" shows (halfway cases and long numbers included); totals are
    // the sums of those cents; a type whose total is nothing has 0.00% shares
    // and never -0.00.
    void storedAmountsReadAsShownCents() {
        freshFile("amounts.ledgerly");
        const QStringList amounts{"0.125", "0.375",    "1.005", "2.675",           "0.005",
                                  "0.045", "0.994999", "12.5",  "123456789012.345"};
        const QString user = EncodeField("u");
        QString sql = "begin;";
        for (const QString &amount : amounts)
            sql += QStringLiteral("insert into data (user, date, type, cate, amount, notes) "
                                  "values ('%1', '2012-07-04', 'Expense', '%2', %3, '');")
                       .arg(user, EncodeField("A"), amount);
        sql += QStringLiteral("insert into data (user, date, type, cate, amount, notes) values "
                              "('%1', '2012-07-05', 'Income', '%2', 0.001, ''),"
                              "('%1', '2012-07-05', 'Income', '%2', -0.004, '');commit;")
                   .arg(user, EncodeField("Tiny"));
        rawExec(FFile, sql);
        TDbMan db(FFile);
        const QList<TRecord> rows = db.ReadCategoryRecords(
            "u", QDate(2012, 7, 4), QDate(2012, 7, 4), TRecordType::Expense, "A");
        QCOMPARE(rows.size(), amounts.size());
        qint64 sum = 0;
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QCOMPARE(CentsText(rows[i].Cents), QString::asprintf("%0.2f", amounts[i].toDouble()));
            sum += rows[i].Cents;
        }
        const TPeriod p = db.ReadPeriod("u", QDate(2012, 7, 4), QDate(2012, 7, 5));
        QCOMPARE(p.ExpenseCents, sum);
        QCOMPARE(p.IncomeCents, 0);
        const QList<TCategoryTexts> texts = CategoryRowTexts(p);
        QCOMPARE(texts.first(), (TCategoryTexts{"Income", "Tiny", "2", "0.00", "", "0.00%"}));
        QCOMPARE(texts.last()[5], QString("100.00%"));
        QCOMPARE(FormatAmount(-0.004), QString("0.00"));
    }

    // Records another program wrote with a date, type or amount this program
    // cannot read are left out and counted; the rest of the period is shown.
    void unreadableRecordsAreSkippedAndCounted() {
        freshFile("foreign.ledgerly");
        TDbMan db(FFile);
        db.AddRecords("u", {{0, QDate(2011, 3, 1), TRecordType::Expense, "Food", 1250, ""},
                            {0, QDate(2011, 3, 2), TRecordType::Income, "Pay", 5000, ""}});
        const QString user = EncodeField("u");
        rawExec(FFile,
                QStringLiteral("insert into data (user, date, type, cate, amount, notes) values "
                               "('%1', '20110302', 'Expense', '', 1, ''),"
                               "('%1', '2011-03-02', 'Transfer', '', 1, ''),"
                               "('%1', '2011-02-30', 'Expense', '', 1, ''),"
                               "('%1', '2011-03-02', 'Expense', '', 'abc', ''),"
                               "('%1', '2011-03-02', ' income ', '', 2, '')")
                    .arg(user));
        const TPeriod p = db.ReadPeriod("u", QDate(2011, 1, 1), QDate(2012, 12, 31));
        QCOMPARE(p.Unreadable, 4);
        QCOMPARE(db.ReadTotals("u", QDate(2011, 1, 1), QDate(2012, 12, 31)).Unreadable, 4);
        QCOMPARE(p.Records.size(), 3);
        QCOMPARE(p.ExpenseCents, 1250);
        QCOMPARE(p.IncomeCents, 5200); // a type word in another letter case still reads
    }
};

QTEST_GUILESS_MAIN(TestDbSummaries)
#include "test_DbSummaries.moc"
