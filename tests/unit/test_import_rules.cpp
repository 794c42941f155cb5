// The duplicate rule and the category proposals of statement import,
// cross-checked against brute-force computations on random data.
#include "import/CategoryProposer.h"
#include "import/Duplicates.h"

#include <QRandomGenerator>
#include <QtTest>

#include <functional>

namespace {

TStatementLine Line(const QDate &date, qint64 cents, const QString &payee = QString(),
                    const QString &id = QString()) {
    TStatementLine l;
    l.Date = date;
    l.Cents = cents;
    l.Payee = payee;
    l.Id = id;
    return l;
}

TRecord Record(const QDate &date, TRecordType type, qint64 cents) {
    TRecord r;
    r.Date = date;
    r.Type = type;
    r.Cents = cents;
    return r;
}

QList<TDuplicateKind> Kinds(const QList<TDuplicate> &found) {
    QList<TDuplicateKind> kinds;
    for (const TDuplicate &d : found)
        kinds << d.Kind;
    return kinds;
}

bool Fits(const TStatementLine &l, const TRecord &r) {
    const TRecordType type = l.Cents < 0 ? TRecordType::Expense : TRecordType::Income;
    return r.Type == type && r.Cents == qAbs(l.Cents) &&
           qAbs(l.Date.daysTo(r.Date)) <= TDuplicates::kMaxDays;
}

// The size of the largest pairing of lines with records (augmenting paths).
int LargestPairing(const QList<TStatementLine> &lines, const QList<TRecord> &records) {
    QList<int> owner(records.size(), -1);
    int pairs = 0;
    for (int l = 0; l < lines.size(); ++l) {
        QList<bool> seen(records.size(), false);
        std::function<bool(int)> augment = [&](int line) {
            for (int r = 0; r < records.size(); ++r) {
                if (seen[r] || !Fits(lines[line], records[r]))
                    continue;
                seen[r] = true;
                if (owner[r] < 0 || augment(owner[r])) {
                    owner[r] = line;
                    return true;
                }
            }
            return false;
        };
        pairs += augment(l);
    }
    return pairs;
}

} // namespace

class TestImportRules : public QObject {
    Q_OBJECT

private slots:
    void twoCoffeesStayTwoLines();
    void windowTypeAndIds();
    void reimportedFileIsAllDuplicates();
    void pairingIsTheLargestPossible();
    void rulesAreTriedInOrder();
    void historyGivesTheCategoryGivenMostOften();
    void proposalsSayWhereTheyCameFrom();
};

void TestImportRules::twoCoffeesStayTwoLines() {
    const QDate day(2024, 5, 6);
    const QList<TStatementLine> coffees = {Line(day, -450, "Cafe"), Line(day, -450, "Cafe")};
    const TRecord stored = Record(day, TRecordType::Expense, 450);
    using K = TDuplicateKind;
    QCOMPARE(Kinds(TDuplicates::Find(coffees, {stored}, {})), (QList<K>{K::Record, K::None}));
    QCOMPARE(Kinds(TDuplicates::Find(coffees, {stored, stored}, {})),
             (QList<K>{K::Record, K::Record}));
    // Two equal lines of one file are two payments, not one listed twice.
    QCOMPARE(Kinds(TDuplicates::Find(coffees, {}, {})), (QList<K>{K::None, K::None}));
    const QList<TDuplicate> found = TDuplicates::Find(coffees, {stored, stored}, {});
    QVERIFY(found[0].Record != found[1].Record);
}

void TestImportRules::windowTypeAndIds() {
    using K = TDuplicateKind;
    const QDate day(2024, 2, 28);
    QList<TStatementLine> lines = {
        Line(day, -1000),          Line(day, -2000),          Line(day, 3000),
        Line(day, -4000),          Line(day, 5000, "", "F1"), Line(day, 6000, "", "F2"),
        Line(day, 7000, "", "F2"), Line(day, 8000, "", "F1"), // another account's F1
    };
    lines.last().Account = QStringLiteral("other");
    const QList<TRecord> records = {
        Record(day.addDays(3), TRecordType::Expense, 1000),  // three days: a duplicate
        Record(day.addDays(-4), TRecordType::Expense, 2000), // four days: not
        Record(day, TRecordType::Expense, 3000),             // money in is Income
        Record(day.addDays(-3), TRecordType::Expense, 4000),
    };
    const QList<TDuplicate> found = TDuplicates::Find(lines, records, {TImportId{{}, "F1"}});
    QCOMPARE(Kinds(found), (QList<K>{K::Record, K::None, K::None, K::Record, K::KnownId, K::None,
                                     K::RepeatedId, K::None}));
    QCOMPARE(found[0].Record, 0);
    QCOMPARE(found[3].Record, 3);
    QCOMPARE(found[6].Line, 5);

    // A line repeating a FITID stands for the earlier line: it takes no
    // record that a later line of the file needs.
    const QList<TStatementLine> repeat = {Line(day, -900, "", "R"), Line(day, -900, "", "R"),
                                          Line(day, -900)};
    const TRecord stored = Record(day, TRecordType::Expense, 900);
    QCOMPARE(Kinds(TDuplicates::Find(repeat, {stored, stored}, {})),
             (QList<K>{K::Record, K::RepeatedId, K::Record}));
}

void TestImportRules::reimportedFileIsAllDuplicates() {
    // Each line as the pending lists would store it, some dated a day or
    // two off; the same file again is nothing but duplicates.
    const TStatement first =
        ReadStatementFile(QStringLiteral(LEDGERLY_TEST_DATA_DIR "/import/us_checking.csv"));
    QList<TRecord> stored;
    for (const TStatementLine &l : first.Lines)
        stored << Record(l.Date.addDays(int(stored.size() % 5) - 2),
                         l.Cents < 0 ? TRecordType::Expense : TRecordType::Income, qAbs(l.Cents));
    const QList<TDuplicate> again = TDuplicates::Find(first.Lines, stored, {});
    QCOMPARE(Kinds(again), QList<TDuplicateKind>(first.Lines.size(), TDuplicateKind::Record));

    const TStatement card =
        ReadStatementFile(QStringLiteral(LEDGERLY_TEST_DATA_DIR "/import/card.ofx"));
    QSet<TImportId> ids;
    for (const TStatementLine &l : card.Lines)
        ids.insert(StatementImportId(l));
    QCOMPARE(Kinds(TDuplicates::Find(card.Lines, {}, ids)),
             QList<TDuplicateKind>(card.Lines.size(), TDuplicateKind::KnownId));
}

void TestImportRules::pairingIsTheLargestPossible() {
    // Random small books: the lines taken for duplicates are as many as the
    // largest pairing found by brute force, each with a record that fits and
    // no record used twice.
    QRandomGenerator rng(11);
    const QDate base(2024, 1, 1);
    for (int round = 0; round < 400; ++round) {
        QList<TStatementLine> lines;
        QList<TRecord> records;
        const int nLines = rng.bounded(12), nRecords = rng.bounded(12);
        for (int i = 0; i < nLines; ++i)
            lines << Line(base.addDays(rng.bounded(15)),
                          qint64(1 + rng.bounded(2)) * 450 * (rng.bounded(4) ? -1 : 1));
        for (int i = 0; i < nRecords; ++i)
            records << Record(base.addDays(rng.bounded(15)),
                              rng.bounded(4) ? TRecordType::Expense : TRecordType::Income,
                              qint64(1 + rng.bounded(2)) * 450);
        const QList<TDuplicate> found = TDuplicates::Find(lines, records, {});
        QSet<int> used;
        for (int i = 0; i < lines.size(); ++i) {
            if (found[i].Kind == TDuplicateKind::None)
                continue;
            QVERIFY(Fits(lines[i], records[found[i].Record]));
            QVERIFY(!used.contains(found[i].Record));
            used.insert(found[i].Record);
        }
        QCOMPARE(int(used.size()), LargestPairing(lines, records));
    }
}

void TestImportRules::rulesAreTriedInOrder() {
    const QList<TCategoryRule> rules = {
        {"  ", "Never"}, {"coffee", "Food"}, {"STARBUCKS", "Coffee"}, {"Zoë", "Friends"}};
    TStatementLine l = Line(QDate(2024, 1, 1), -450, "Starbucks Store 12");
    QCOMPARE(TCategoryRules::Match(rules, l), 2);
    l.Memo = "morning Coffee";
    QCOMPARE(TCategoryRules::Match(rules, l), 1);
    l = Line(QDate(2024, 1, 1), -450, "ZOË'S PLACE");
    QCOMPARE(TCategoryRules::Match(rules, l), 3);
    QCOMPARE(TCategoryRules::Match(rules, Line(QDate(2024, 1, 1), -1, "Bakery")), -1);
    QCOMPARE(TCategoryRules::Match(rules, Line(QDate(2024, 1, 1), 450, "Starbucks")), -1);

    QList<TCategoryRule> odd = rules;
    odd << TCategoryRule{"say \"hi\"\t\\ ok", "Ünïcode \n category", TRuleType::Both};
    QCOMPARE(TCategoryRules::FromText(TCategoryRules::ToText(odd)), std::optional(odd));
    QCOMPARE(TCategoryRules::FromText("[]"), std::optional(QList<TCategoryRule>{}));
    for (const char *bad :
         {"", "{}", "[1]", "[{\"text\":\"a\"}]", "[{\"text\":1,\"category\":\"b\"}]"})
        QVERIFY2(!TCategoryRules::FromText(bad), bad);
}

void TestImportRules::historyGivesTheCategoryGivenMostOften() {
    TCategoryHistory h;
    const auto E = TRecordType::Expense, I = TRecordType::Income;
    for (const char *payee : {"Amazon Mktp US", "Mktp Amazon", "Corner Shop", "Unknown Payee"})
        h.Ask(E, payee);
    h.Ask(I, "AMAZON MKTP");
    h.Add(E, "AMAZON Mktp US*2K4 - Order 1", "Shopping", 2);
    h.Add(E, "amazon mktp us", "Books", 1);
    h.Add(E, "Amazon Mktp US", "Shopping", 1);
    h.Add(I, "Amazon Mktp US refund", "Refunds", 9);
    h.Add(E, "Corner Shop", "Food", 2);
    h.Add(E, "corner shop - milk", "Household", 2);
    QCOMPARE(h.MostGiven(E, "Amazon Mktp US"), QStringLiteral("Shopping"));
    QCOMPARE(h.MostGiven(I, "AMAZON MKTP"), QStringLiteral("Refunds"));
    QCOMPARE(h.MostGiven(E, "Mktp Amazon"), QString()); // words out of order
    QCOMPARE(h.MostGiven(E, "Corner Shop"), QString()); // a tie picks nothing
    QCOMPARE(h.MostGiven(E, "Unknown Payee"), QString());
    QCOMPARE(h.MostGiven(E, "AMAZON MKTP"), QString()); // not asked

    // Random notes against a brute-force count over every record.
    QRandomGenerator rng(5);
    const QStringList vocabulary = {"shell", "Oil", "co", "shop", "#12", "café", "CAFÉ", "x"};
    const QStringList categories = {"A", "B", "C"};
    struct TRow {
        QList<QString> Words;
        QString Category;
    };
    QList<TRow> rows;
    QList<QString> payees;
    TCategoryHistory random;
    for (int q = 0; q < 200; ++q) {
        QStringList payee;
        for (int w = 1 + rng.bounded(2); w > 0; --w)
            payee << vocabulary[rng.bounded(vocabulary.size())];
        payees << payee.join(' ');
        random.Ask(E, payees.last());
    }
    for (int i = 0; i < 400; ++i) {
        QStringList notes;
        for (int w = 1 + rng.bounded(4); w > 0; --w)
            notes << vocabulary[rng.bounded(vocabulary.size())];
        const QString text = notes.join(rng.bounded(2) ? " " : " - ");
        const QString category = categories[rng.bounded(categories.size())];
        random.Add(E, text, category);
        rows << TRow{TCategoryHistory::Words(text), category};
    }
    for (const QString &payee : payees) {
        const QList<QString> words = TCategoryHistory::Words(payee);
        QHash<QString, int> counts;
        for (const TRow &r : rows)
            for (qsizetype at = 0; at + words.size() <= r.Words.size(); ++at)
                if (r.Words.mid(at, words.size()) == words) {
                    ++counts[r.Category];
                    break;
                }
        QString expected;
        int most = 0;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            if (it.value() > most)
                most = it.value(), expected = it.key();
        if (std::count(counts.cbegin(), counts.cend(), most) > 1)
            expected.clear();
        QCOMPARE(random.MostGiven(E, payee), expected);
    }
}

void TestImportRules::proposalsSayWhereTheyCameFrom() {
    const QDate day(2024, 1, 1);
    TStatementLine fromFile = Line(day, -100, "Corner Shop");
    fromFile.Category = "Groceries:Bread";
    const QList<TStatementLine> lines = {fromFile, Line(day, -100, "Corner Shop"),
                                         Line(day, 100, "ACME SALARY"), Line(day, -5, "Bus"),
                                         Line(day, -100, "CORNER SHOP")};
    TCategoryProposer proposer({{"shop", "Shopping"}, {"salary", "Wages", TRuleType::Income}},
                               lines);
    proposer.AddHistory(TRecordType::Expense, "Corner Shop - bread", "Food", 3);
    using S = TCategorySource;
    auto propose = [&](const TStatementLine &l) {
        const TCategoryProposal p = proposer.Propose(l);
        return QStringLiteral("%1:%2:%3").arg(p.Category).arg(int(p.Source)).arg(p.Rule);
    };
    QCOMPARE(propose(fromFile), QStringLiteral("Groceries:Bread:%1:-1").arg(int(S::File)));
    QCOMPARE(propose(Line(day, -100, "Corner Shop")),
             QStringLiteral("Shopping:%1:0").arg(int(S::Rule)));
    QCOMPARE(propose(Line(day, 100, "ACME SALARY")),
             QStringLiteral("Wages:%1:1").arg(int(S::Rule)));
    QCOMPARE(propose(Line(day, -5, "Bus")), QStringLiteral(":%1:-1").arg(int(S::None)));

    // With the user's lists known, a rule naming a category of the other
    // type's list only is passed over and the history answers; a category
    // in neither list is new and used.
    proposer.SetCategories({"Food"}, {"Salary", "Shopping"});
    QCOMPARE(propose(Line(day, -100, "CORNER SHOP")),
             QStringLiteral("Food:%1:-1").arg(int(S::History)));
    QCOMPARE(propose(Line(day, 100, "ACME SALARY")),
             QStringLiteral("Wages:%1:1").arg(int(S::Rule)));
    proposer.SetCategories({"Food", "Wages"}, {"Salary", "Shopping"});
    QCOMPARE(propose(Line(day, 100, "ACME SALARY")), QStringLiteral(":%1:-1").arg(int(S::None)));
    // New rules apply at once; the history stays.
    proposer.SetRules({{"salary", "Salary", TRuleType::Both}});
    QCOMPARE(propose(Line(day, 100, "ACME SALARY")),
             QStringLiteral("Salary:%1:0").arg(int(S::Rule)));
    QCOMPARE(propose(Line(day, -100, "Corner Shop")),
             QStringLiteral("Food:%1:-1").arg(int(S::History)));

    // Rules are tried in the user's order whether the payee or the memo
    // matches; one without a category is passed over; a rule for money out
    // gives a refund nothing.
    TStatementLine card = Line(day, -300, "Corner Shop");
    card.Memo = "Card fee";
    proposer.SetRules({{"shop", ""},
                       {"fee", "Fees"},
                       {"shop", "Household"},
                       {"corner", "Refunds", TRuleType::Income},
                       {"corner", "Any", TRuleType::Both}});
    QCOMPARE(propose(card), QStringLiteral("Fees:%1:1").arg(int(S::Rule)));
    card.Cents = 300;
    QCOMPARE(propose(card), QStringLiteral("Refunds:%1:3").arg(int(S::Rule)));
}

QTEST_GUILESS_MAIN(TestImportRules)
#include "test_import_rules.moc"
