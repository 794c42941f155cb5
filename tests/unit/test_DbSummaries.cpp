// Period summaries and category records, cross-checked against an
// independent computation over a few thousand random records.
#include "store/DbClass.h"

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
    qint64 Id = 0;
    QString User;
    QDate Date;
    QString Type;
    QString Cate;
    qint64 Cents = 0;
    QString Notes;
};

QString cents(qint64 c) {
    return QString::asprintf("%s%lld.%02lld", c < 0 ? "-" : "", qAbs(c) / 100, qAbs(c) % 100);
}

QString mdy(const QDate &d) {
    return d.toString("MM/dd/yyyy");
}

// Everything QueryPeriod gives, computed here from the records alone.
struct Expected {
    qint64 OutCents = 0, InCents = 0;
    TStringsArray Day, Month, Trans, OutCates, InCates;
};

Expected expectedFor(const QList<Rec> &all, const QString &user, const QDate &from,
                     const QDate &to) {
    Expected e;
    QList<Rec> recs;
    for (const Rec &r : all)
        if (r.User == user && r.Date >= from && r.Date <= to)
            recs << r;
    std::map<QDate, std::pair<qint64, qint64>> days;
    std::map<std::pair<int, int>, std::pair<qint64, qint64>> months;
    std::map<QString, std::pair<qint64, qint64>> outCates, inCates; // cate -> count, cents
    for (const Rec &r : recs) {
        const bool income = r.Type == "Income";
        (income ? e.InCents : e.OutCents) += r.Cents;
        auto &day = days[r.Date];
        (income ? day.first : day.second) += r.Cents;
        auto &month = months[{r.Date.year(), r.Date.month()}];
        (income ? month.first : month.second) += r.Cents;
        auto &cate = (income ? inCates : outCates)[r.Cate];
        cate.first += 1;
        cate.second += r.Cents;
    }
    for (const auto &[d, s] : days)
        e.Day << QStringList{mdy(d), cents(s.first), cents(s.second)};
    for (const auto &[m, s] : months)
        e.Month << QStringList{QString::asprintf("%02d/%04d", m.second, m.first), cents(s.first),
                               cents(s.second)};
    std::sort(recs.begin(), recs.end(), [](const Rec &a, const Rec &b) {
        if (a.Date != b.Date)
            return a.Date < b.Date;
        if (a.Type != b.Type)
            return a.Type > b.Type;
        return a.Id < b.Id;
    });
    for (const Rec &r : recs) {
        const bool income = r.Type == "Income";
        e.Trans << QStringList{
            QString::number(r.Id),        mdy(r.Date), r.Cate, income ? cents(r.Cents) : "",
            income ? "" : cents(r.Cents), r.Notes};
    }
    const auto cateRows = [](const QString &type, const auto &map, qint64 total,
                             TStringsArray &rows) {
        for (const auto &[cate, s] : map)
            rows << QStringList{type, cate, QString::number(s.first), cents(s.second),
                                total ? QString::asprintf("%0.2f%%", s.second * 100.0 / total)
                                      : "0.00%"};
    };
    cateRows("Expense", outCates, e.OutCents, e.OutCates);
    cateRows("Income", inCates, e.InCents, e.InCates);
    return e;
}

// Category rows: the same rows as expected (in any order), ordered by sum
// descending. Shares may differ in the last rounding digit, since the
// store sums in floating point.
void compareCateRows(const TStringsArray &got, TStringsArray expected) {
    QCOMPARE(got.size(), expected.size());
    for (qsizetype i = 1; i < got.size(); ++i)
        QVERIFY2(got[i - 1][3].toDouble() >= got[i][3].toDouble(), qPrintable(got[i].join(',')));
    TStringsArray sorted = got;
    const auto byCate = [](const QStringList &a, const QStringList &b) { return a[1] < b[1]; };
    std::sort(sorted.begin(), sorted.end(), byCate);
    std::sort(expected.begin(), expected.end(), byCate);
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        QCOMPARE(sorted[i].mid(0, 4), expected[i].mid(0, 4));
        QVERIFY(sorted[i][4].endsWith('%'));
        const double shareGot = sorted[i][4].chopped(1).toDouble();
        const double shareWant = expected[i][4].chopped(1).toDouble();
        QVERIFY2(qAbs(shareGot - shareWant) < 0.0100001,
                 qPrintable(sorted[i][4] + " vs " + expected[i][4]));
    }
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
        const Expected e = expectedFor(FRecs, user, from, to);
        double outTotal = -1, inTotal = -1;
        TStringsArray day, month, trans, outCates, inCates;
        db.QueryPeriod(user, mdy(from), mdy(to), outTotal, inTotal, day, month, trans, outCates,
                       inCates);
        QVERIFY(qAbs(outTotal - e.OutCents / 100.0) < 1e-6);
        QVERIFY(qAbs(inTotal - e.InCents / 100.0) < 1e-6);
        QCOMPARE(day, e.Day);
        QCOMPARE(month, e.Month);
        QCOMPARE(trans, e.Trans);
        compareCateRows(outCates, e.OutCates);
        compareCateRows(inCates, e.InCates);

        // The records behind every category of the period.
        for (const TStringsArray *cateRows : {&e.OutCates, &e.InCates}) {
            for (const QStringList &cateRow : *cateRows) {
                TStringsArray rows;
                db.QueryCategoryRecords(user, mdy(from), mdy(to), cateRow[0], cateRow[1], rows);
                TStringsArray want;
                qint64 sum = 0;
                for (const QStringList &t : e.Trans) {
                    const QString amount = cateRow[0] == "Income" ? t[3] : t[4];
                    if (t[2] == cateRow[1] && !amount.isEmpty())
                        want << QStringList{t[1], t[2], amount, t[5]};
                }
                // Within a day the transaction list has income first, the
                // category list only its type: id order in both.
                QCOMPARE(rows, want);
                for (const QStringList &r : rows)
                    sum += qRound64(r[2].toDouble() * 100);
                QCOMPARE(cents(sum), cateRow[3]);
            }
        }
    }

private slots:
    void initTestCase() {
        freshFile("random.ledgerly");
        QRandomGenerator rng(42);
        // Categories that differ only in letter case, or hold quotes and
        // accents, are kept apart exactly as typed.
        const QStringList outCates{
            "Food", "food",  "Rent",        "O'Neil's pub", QString::fromUtf8("Café"),
            "Car",  "Books", "Fun & games", "Tax"};
        const QStringList inCates{"Salary", "Gifts", "Interest", "salary"};
        const QDate first(2009, 11, 1);
        TDbMan db(FFile);
        for (const QString &user : FUsers) {
            TStringsArray pending;
            QList<Rec> recs;
            for (int i = 0; i < 1500; ++i) {
                Rec r;
                r.User = user;
                r.Date = first.addDays(rng.bounded(0, 800));
                r.Type = rng.bounded(100) < 20 ? "Income" : "Expense";
                const QStringList &cates = r.Type == "Income" ? inCates : outCates;
                r.Cate = cates.at(rng.bounded(int(cates.size())));
                // Many small amounts and a few large ones; equal sums happen.
                r.Cents = rng.bounded(100) < 10 ? rng.bounded(1, 5000000) : rng.bounded(1, 3000);
                if (rng.bounded(100) < 60)
                    r.Notes = QStringLiteral("note %1 'x' \"y\"").arg(rng.bounded(50));
                pending << QStringList{mdy(r.Date), r.Type, r.Cate, cents(r.Cents), r.Notes};
                recs << r;
            }
            db.AddRecords(user, pending);
            FRecs += recs;
        }
        // Ids in insertion order.
        sqlite3 *raw = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(FFile).constData(), &raw), SQLITE_OK);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(raw, "select id from data order by id", -1, &st, nullptr);
        for (Rec &r : FRecs) {
            QCOMPARE(sqlite3_step(st), SQLITE_ROW);
            r.Id = sqlite3_column_int64(st, 0);
        }
        sqlite3_finalize(st);
        sqlite3_close(raw);
    }

    void summariesMatchIndependentComputation() {
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
    }

    void emptyAndReversedPeriods() {
        TDbMan db(FFile);
        for (const auto &[from, to] :
             {std::pair{"01/01/2001", "12/31/2001"}, std::pair{"12/31/2010", "01/01/2010"}}) {
            double outTotal = -1, inTotal = -1;
            TStringsArray day, month, trans, outCates, inCates;
            db.QueryPeriod("ann", from, to, outTotal, inTotal, day, month, trans, outCates,
                           inCates);
            QCOMPARE(outTotal, 0.0);
            QCOMPARE(inTotal, 0.0);
            QVERIFY(day.isEmpty() && month.isEmpty() && trans.isEmpty() && outCates.isEmpty() &&
                    inCates.isEmpty());
        }
    }

    // Amounts are written with the digits the entry windows show ("%0.2f"
    // rounding the exact binary value, halves away from zero), halfway
    // cases and long numbers included.
    void amountsFormatLikePrintf() {
        freshFile("amounts.ledgerly");
        TDbMan db(FFile);
        const QStringList amounts{"0.125",
                                  "0.375",
                                  "1.005",
                                  "2.675",
                                  "0.005",
                                  "-0.005",
                                  "0.045",
                                  "1234567.895",
                                  "0.994999",
                                  "-12.5",
                                  "-0.3",
                                  "0",
                                  "123456789012.345",
                                  "99999999999999.995",
                                  "12345678901234567890.5",
                                  "0.0000001"};
        TStringsArray pending;
        for (const QString &amount : amounts)
            pending << QStringList{"07/04/2012", "Expense", "A", amount, amount};
        db.AddRecords("u", pending);
        TStringsArray rows;
        db.QueryCategoryRecords("u", "07/04/2012", "07/04/2012", "Expense", "A", rows);
        QCOMPARE(rows.size(), amounts.size());
        for (const QStringList &row : rows) {
            QString want = QString::asprintf("%0.2f", row[3].toDouble());
            if (want == "-0.00")
                want = "0.00";
            QCOMPARE(row[2], want);
        }
    }

    void sharesAndOrders() {
        freshFile("shares.ledgerly");
        TDbMan db(FFile);
        db.AddRecords("u", {{"03/01/2011", "Expense", "Small", "10.00", ""},
                            {"03/01/2011", "Expense", "Big", "30.00", ""},
                            {"03/01/2011", "Income", "Pay", "5", ""},
                            {"03/02/2011", "Income", "Tiny", "0.001", ""},
                            {"03/02/2011", "Income", "Tiny", "-0.001", ""}});
        double outTotal = 0, inTotal = 0;
        TStringsArray day, month, trans, outCates, inCates;
        db.QueryPeriod("u", "03/01/2011", "03/01/2011", outTotal, inTotal, day, month, trans,
                       outCates, inCates);
        QCOMPARE(outCates, (TStringsArray{{"Expense", "Big", "1", "30.00", "75.00%"},
                                          {"Expense", "Small", "1", "10.00", "25.00%"}}));
        // Income first within the day, then ids in order.
        QCOMPARE(trans[0][2], QString("Pay"));
        QCOMPARE(trans[1][2], QString("Small"));
        QCOMPARE(trans[2][2], QString("Big"));
        // A type whose total is nothing: its share is 0.00%, its sums never -0.00.
        inCates.clear();
        db.QueryPeriod("u", "03/02/2011", "03/02/2011", outTotal, inTotal, day, month, trans,
                       outCates, inCates);
        QCOMPARE(inCates, (TStringsArray{{"Income", "Tiny", "2", "0.00", "0.00%"}}));
        QCOMPARE(day.last(), (QStringList{"03/02/2011", "0.00", "0.00"}));
    }
};

QTEST_GUILESS_MAIN(TestDbSummaries)
#include "test_DbSummaries.moc"
