// Statement import. Without the store: a generated 10,000-line bank CSV of
// one year is read (layout guessed), its categories proposed (50 rules, then
// a history of 100,000 notes rows) and its duplicates found among the 20,000
// records of that year plus 500 pending rows, 3,000 of the lines being
// stored already. With the store: the same file against a user of the
// 1,000,000-record book (the records of the file's dates, the user's whole
// history, the rules and the category lists read from it), and the import
// window opened on it until its table is drawn.
#include "bench/BookGenerator.h"
#include "forms/EntryPanel.h"
#include "forms/ImportForm.h"
#include "forms/Session.h"
#include "forms/StatementImport.h"
#include "import/CategoryProposer.h"
#include "import/Duplicates.h"
#include "import/Statement.h"
#include "store/DbClass.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTreeView>

#include <benchmark/benchmark.h>

namespace {

constexpr int kLines = 10000, kRecords = 20000, kPending = 500, kStored = 3000;
constexpr int kHistoryRows = 100000, kRules = 50;

const QStringList &Merchants() {
    static const QStringList merchants = [] {
        const QStringList names = {"CORNER SHOP", "SHELL OIL", "AMAZON MKTP US", "STARBUCKS",
                                   "CITY WATER",  "TESCO",     "NETFLIX.COM",    "BAKERY",
                                   "PHARMACY",    "CINEMA",    "BOOKSHOP",       "GYM"};
        QStringList all;
        for (int i = 0; i < 300; ++i)
            all << QStringLiteral("%1 #%2").arg(names[i % names.size()]).arg(1000 + i * 7);
        return all;
    }();
    return merchants;
}

QStringList Categories() {
    return {"Food", "Fuel", "Books", "Fun", "Health", "Home", "Car", "Café", "Utilities", "Gifts"};
}

struct TInput {
    QTemporaryDir Dir;
    QString CsvPath;
    QList<TRecord> Records; // the year's stored records and the pending rows
    QList<std::tuple<TRecordType, QString, QString, int>> HistoryRows;
    QList<TCategoryRule> Rules;
};

QString Amount(qint64 cents) {
    QString whole = QString::number(qAbs(cents) / 100);
    for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
        whole.insert(at, u',');
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? "-" : "", whole)
        .arg(qAbs(cents) % 100, 2, 10, QLatin1Char('0'));
}

// Made once, from a fixed seed.
const TInput &Input() {
    static TInput *input = [] {
        auto *in = new TInput;
        QRandomGenerator rng(2024);
        const QDate first(2024, 1, 1);
        QByteArray csv = "Date,Description,Memo,Amount,Balance\r\n";
        qint64 balance = 500000;
        QList<TRecord> lines;
        for (int i = 0; i < kLines; ++i) {
            const QDate day = first.addDays(i * 366 / kLines);
            const bool income = rng.bounded(100) < 15;
            const qint64 cents = income ? 5000 + rng.bounded(500000) : -(100 + rng.bounded(50000));
            balance += cents;
            const QString payee = Merchants()[rng.bounded(Merchants().size())];
            csv += QStringLiteral("%1,\"%2, CARD 4411\",REF%3,\"%4\",\"%5\"\r\n")
                       .arg(day.toString("MM/dd/yyyy"), payee)
                       .arg(i)
                       .arg(Amount(cents), Amount(balance))
                       .toUtf8();
            TRecord r;
            r.Date = day.addDays(rng.bounded(5) - 2);
            r.Type = income ? TRecordType::Income : TRecordType::Expense;
            r.Cents = qAbs(cents);
            lines << r;
        }
        in->CsvPath = in->Dir.filePath("statement.csv");
        QFile file(in->CsvPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size())
            throw std::runtime_error("cannot write the benchmark statement");
        for (int i = 0; i < kStored; ++i)
            in->Records << lines[rng.bounded(kLines)];
        for (int i = in->Records.size(); i < kRecords + kPending; ++i) {
            TRecord r;
            r.Date = first.addDays(rng.bounded(366));
            r.Type = rng.bounded(100) < 15 ? TRecordType::Income : TRecordType::Expense;
            r.Cents = 100 + rng.bounded(50000);
            in->Records << r;
        }
        for (int i = 0; i < kHistoryRows; ++i)
            in->HistoryRows << std::tuple(TRecordType::Expense,
                                          QStringLiteral("%1, CARD 4411 - REF%2")
                                              .arg(Merchants()[rng.bounded(Merchants().size())])
                                              .arg(rng.bounded(1000000)),
                                          Categories()[rng.bounded(Categories().size())],
                                          1 + rng.bounded(3));
        for (int i = 0; i < kRules; ++i)
            in->Rules << TCategoryRule{QStringLiteral("NO SUCH SHOP %1").arg(i), "Fun"};
        in->Rules << TCategoryRule{"NETFLIX", "Fun"};
        return in;
    }();
    return *input;
}

// The proposals for the lines, the user's history passing by once.
int Classify(const TStatement &statement) {
    TCategoryProposer proposer(Input().Rules, statement.Lines);
    for (const auto &[type, notes, category, count] : Input().HistoryRows)
        proposer.AddHistory(type, notes, category, count);
    int filled = 0;
    for (const TStatementLine &l : statement.Lines)
        filled += proposer.Propose(l).Source != TCategorySource::None;
    return filled;
}

int Duplicates(const TStatement &statement) {
    int found = 0;
    for (const TDuplicate &d : TDuplicates::Find(statement.Lines, Input().Records, {}))
        found += d.Kind != TDuplicateKind::None;
    return found;
}

void BM_ImportRead10k(benchmark::State &state) {
    qsizetype lines = 0;
    for (auto _ : state)
        lines = ReadStatementFile(Input().CsvPath).Lines.size();
    state.counters["lines"] = double(lines);
}

void BM_ImportClassify10k(benchmark::State &state) {
    const TStatement statement = ReadStatementFile(Input().CsvPath);
    int filled = 0;
    for (auto _ : state)
        filled = Classify(statement);
    state.counters["filled"] = double(filled);
    state.counters["history"] = double(Input().HistoryRows.size());
}

void BM_ImportDuplicates10k(benchmark::State &state) {
    const TStatement statement = ReadStatementFile(Input().CsvPath);
    int found = 0;
    for (auto _ : state)
        found = Duplicates(statement);
    state.counters["duplicates"] = double(found);
    state.counters["records"] = double(Input().Records.size());
}

// Everything the import window does before it fills its table.
void BM_ImportAll10k(benchmark::State &state) {
    Input();
    for (auto _ : state) {
        const TStatement statement = ReadStatementFile(Input().CsvPath);
        benchmark::DoNotOptimize(Classify(statement));
        benchmark::DoNotOptimize(Duplicates(statement));
    }
}

// The rows of both pending lists in the benchmarks with the store.
QList<TRecord> Pending() {
    return Input().Records.mid(Input().Records.size() - kPending);
}

// Everything the import window does before it fills its table, with the
// store's queries on the 1,000,000-record book: read and guess the file,
// the records of its dates (plus 500 pending rows), the user's history of
// notes and categories, the rules and the category lists.
void BM_ImportBook10k(benchmark::State &state) {
    TDbMan db(TBookGenerator::BookPath());
    const QString user = TBookGenerator::UserNames().first();
    TBookGenerator::SignIn(db, user);
    const QList<TRecord> pending = Pending();
    int duplicates = 0, filled = 0;
    for (auto _ : state) {
        TStatementImport import(db, user);
        import.Open(Input().CsvPath);
        import.Read(import.Layout(), pending);
        duplicates = filled = 0;
        for (const TImportRow &row : import.Rows()) {
            duplicates += row.Duplicate.Kind != TDuplicateKind::None;
            filled += !row.Category.isEmpty();
        }
    }
    state.counters["duplicates"] = double(duplicates);
    state.counters["filled"] = double(filled);
}

// The store's query of the history alone: each distinct (type, notes,
// category) of a user with 200,000 records, decoded once.
void BM_ImportHistoryQuery(benchmark::State &state) {
    TDbMan db(TBookGenerator::BookPath());
    const QString user = TBookGenerator::UserNames().first();
    TBookGenerator::SignIn(db, user);
    int rows = 0;
    for (auto _ : state) {
        rows = 0;
        db.ForEachNotesCategory(
            user, [&](TRecordType, const QString &, const QString &, int) { ++rows; });
    }
    state.counters["rows"] = double(rows);
}

// The known-FITID lookup of an OFX file of 10,000 entries.
void BM_ImportKnownIds10k(benchmark::State &state) {
    TDbMan db(TBookGenerator::BookPath());
    TBookGenerator::SignIn(db, TBookGenerator::UserNames().first());
    QList<TImportId> ids;
    for (int i = 0; i < kLines; ++i)
        ids << TImportId{QStringLiteral("12345678 0001234567"), QStringLiteral("2024%1").arg(i)};
    for (auto _ : state)
        benchmark::DoNotOptimize(db.KnownImportIds(TBookGenerator::UserNames().first(), ids));
}

// Import Statement... on the 10,000-line file: the window made, the file
// read and checked against the book, the table filled and the window drawn.
void BM_ImportWindow10k(benchmark::State &state) {
    TSession session;
    session.UserName = TBookGenerator::UserNames().first();
    session.DataFile = TBookGenerator::BookPath();
    session.DbMan = std::make_unique<TDbMan>(session.DataFile);
    TBookGenerator::SignIn(*session.DbMan, session.UserName);
    TEntryPanel expense(session, TEntryPanelKind::Expense());
    TEntryPanel income(session, TEntryPanelKind::Income());
    expense.AppendPending(Pending());
    QFileDialog files;
    qsizetype rows = 0;
    for (auto _ : state) {
        TfrmImport window(session, &expense, &income, &files, nullptr);
        if (!window.OpenFile(Input().CsvPath))
            throw std::runtime_error("bench: the statement was not opened");
        window.show();
        window.repaint();
        QCoreApplication::processEvents();
        rows = window.findChild<QTreeView *>("lvwImport")->model()->rowCount();
    }
    state.counters["rows"] = double(rows);
}

} // namespace

BENCHMARK(BM_ImportBook10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportHistoryQuery)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportKnownIds10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportWindow10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportRead10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportClassify10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportDuplicates10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportAll10k)->Unit(benchmark::kMillisecond);
