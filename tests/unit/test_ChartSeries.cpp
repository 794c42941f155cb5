// The series of the period charts against the period result of stored
// records: slices in the order of the category list with the small ones in
// "Other", every day or month of the period with the empty ones as zero,
// days up to 62 days and months beyond, an amount axis holding every bar.
#include "export/ChartSeries.h"
#include "store/DbClass.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

TRecord Rec(QDate date, TRecordType type, const QString &category, qint64 cents) {
    TRecord record;
    record.Date = date;
    record.Type = type;
    record.Category = category;
    record.Cents = cents;
    return record;
}

} // namespace

class TestChartSeries : public QObject {
    Q_OBJECT

    QTemporaryDir FDir;
    std::unique_ptr<TDbMan> FDb;

    TChartSeries series(QDate from, QDate to, TPeriod *period = nullptr) {
        const TPeriod read = FDb->ReadPeriod("ann", from, to);
        if (period)
            *period = read;
        return TChartSeries(read, from, to);
    }

private slots:
    void initTestCase() {
        const QString file = FDir.filePath("db.ledgerly");
        QVERIFY(QFile::copy(QDir::current().filePath("db.ledgerly"), file));
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        FDb = std::make_unique<TDbMan>(file);
        const auto out = TRecordType::Expense, in = TRecordType::Income;
        // Expenses 1690.00: Gifts, Books and Stamps each under 2 % (33.80).
        // Income 2030.00: Bonus alone under 2 % (40.60). Nothing in February.
        FDb->AddRecords(
            "ann", {Rec({2024, 1, 1}, in, "Salary", 200000), Rec({2024, 1, 5}, out, "Rent", 100000),
                    Rec({2024, 1, 10}, out, "Food", 30000), Rec({2024, 3, 1}, in, "Bonus", 3000),
                    Rec({2024, 3, 2}, out, "Food", 20000), Rec({2024, 3, 20}, out, "Fuel", 15000),
                    Rec({2024, 3, 21}, out, "Gifts", 2000), Rec({2024, 3, 22}, out, "Books", 1500),
                    Rec({2024, 3, 23}, out, "Stamps", 500), Rec({2023, 11, 30}, out, "Food", 700)});
    }

    void slicesFollowTheCategoryList() {
        TPeriod period;
        const TChartSeries s = series({2024, 1, 1}, {2024, 3, 31}, &period);
        QVERIFY(s.HasRecords());
        const QList<TChartSlice> &out = s.Slices(TRecordType::Expense);
        QStringList names;
        QList<qint64> cents;
        for (const TChartSlice &slice : out)
            names << slice.Category, cents << slice.Cents;
        QCOMPARE(names, QStringList({"Rent", "Food", "Fuel", "Other"}));
        QCOMPARE(cents, QList<qint64>({100000, 50000, 15000, 4000}));
        QVERIFY(out.last().Other);
        QCOMPARE(out.last().Members, QStringList({"Gifts", "Books", "Stamps"}));
        QCOMPARE(out.last().Count, 3);
        QCOMPARE(s.TypeCents(TRecordType::Expense), period.ExpenseCents);
        // The slices before "Other" are the list's rows, in its order.
        for (int i = 0; i < 3; ++i)
            QCOMPARE(out.at(i).Cents, period.ExpenseCategories.at(i).Cents);

        // One small category alone keeps its name; exactly 2 % is not small.
        const QList<TChartSlice> &in = s.Slices(TRecordType::Income);
        QCOMPARE(in.size(), 2);
        QCOMPARE(in.at(1).Category, QString("Bonus"));
        QVERIFY(!in.at(1).Other);
        TPeriod edge;
        edge.ExpenseCents = 10000;
        edge.ExpenseCategories = {{"A", 1, 9600}, {"B", 1, 200}, {"C", 1, 199}, {"D", 1, 1}};
        const QList<TChartSlice> edges =
            TChartSeries(edge, {2024, 1, 1}, {2024, 1, 1}).Slices(TRecordType::Expense);
        QCOMPARE(edges.size(), 3);
        QCOMPARE(edges.at(1).Category, QString("B"));
        QCOMPARE(edges.at(2).Members, QStringList({"C", "D"}));
    }

    void barsCoverEveryDayOrMonth() {
        // 91 days: months, February as zero.
        TPeriod period;
        TChartSeries s = series({2024, 1, 1}, {2024, 3, 31}, &period);
        QVERIFY(!s.ByDay());
        QCOMPARE(s.Bars().size(), 3);
        QCOMPARE(s.Bars().at(1).First, QDate(2024, 2, 1));
        QCOMPARE(s.Bars().at(1).InCents + s.Bars().at(1).OutCents, 0);
        QCOMPARE(s.Bars().at(0).InCents, period.Months.at(0).InCents);
        QCOMPARE(s.Bars().at(2).OutCents, period.Months.at(1).OutCents);

        // 62 days are days, every one of them; 63 are months.
        s = series({2024, 1, 1}, {2024, 3, 2}, &period);
        QVERIFY(s.ByDay());
        QCOMPARE(s.Bars().size(), 62);
        qint64 in = 0, out = 0;
        for (int i = 0; i < 62; ++i) {
            QCOMPARE(s.Bars().at(i).First, QDate(2024, 1, 1).addDays(i));
            in += s.Bars().at(i).InCents, out += s.Bars().at(i).OutCents;
        }
        QCOMPARE(in, period.IncomeCents);
        QCOMPARE(out, period.ExpenseCents);
        QCOMPARE(s.Bars().at(61).OutCents, 20000);
        QVERIFY(!series({2024, 1, 1}, {2024, 3, 3}).ByDay());

        // Across the year's end; only a month in the middle holds records.
        s = series({2023, 10, 15}, {2024, 2, 10});
        QCOMPARE(s.Bars().size(), 5);
        QCOMPARE(s.Bars().at(1).OutCents, 700);
        QCOMPARE(s.Bars().at(3).OutCents, 130000);
        QCOMPARE(s.Bars().at(4).First, QDate(2024, 2, 1));

        // An empty period has bars but nothing to chart; no search has none.
        s = series({2022, 1, 1}, {2022, 1, 31});
        QVERIFY(!s.HasRecords());
        QCOMPARE(s.Bars().size(), 31);
        QVERIFY(!TChartSeries().Searched());
        QVERIFY(TChartSeries().Bars().isEmpty());
    }

    void amountAxisHoldsEveryBar() {
        for (const auto &[from, to] : {std::pair{QDate(2024, 1, 1), QDate(2024, 3, 31)},
                                       {QDate(2024, 3, 1), QDate(2024, 3, 31)},
                                       {QDate(2023, 11, 1), QDate(2023, 11, 30)}}) {
            const TChartSeries s = series(from, to);
            const TChartAxis axis = s.AmountAxis();
            QCOMPARE(axis.Min % axis.Step, 0);
            QCOMPARE(axis.Max % axis.Step, 0);
            QVERIFY(axis.Min <= 0 && axis.Max > 0);
            QVERIFY((axis.Max - axis.Min) / axis.Step <= 5);
            for (const TChartBar &bar : s.Bars()) {
                QVERIFY(bar.NetCents() >= axis.Min);
                QVERIFY(std::max(bar.InCents, bar.OutCents) <= axis.Max);
            }
        }
        // A day's loss goes below zero: 03/02 has 200.00 out and nothing in.
        QCOMPARE(series({2024, 3, 1}, {2024, 3, 31}).AmountAxis().Min, -20000);
    }
};

QTEST_GUILESS_MAIN(TestChartSeries)
#include "test_ChartSeries.moc"
