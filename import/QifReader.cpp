#include "import/QifReader.h"

#include "import/DateText.h"
#include "import/MoneyText.h"
#include "import/StatementBuilder.h"

#include <QCoreApplication>
#include <functional>

namespace {

enum class TSection { None, Bank, Investment, Other, List };

// One entry as written, and the line its first field is on.
struct TEntry {
    int Line = 0;
    QString Date, Amount, Payee, Memo, Category;
    bool Any = false;
    bool InSplits = false; // the lines from here on belong to its splits
};

// An account section whose entries are not read.
struct TOtherSection {
    int Line = 0;
    QString Name;
    int Entries = 0;
    bool Investment = false;
};

// What a "!" line starts; `name` is the section name for reports.
TSection SectionOf(QStringView bang, QString *name) {
    const QStringView s = bang.trimmed();
    *name = s.toString();
    if (!s.startsWith(QLatin1String("!Type:"), Qt::CaseInsensitive))
        return TSection::List; // !Account, !Option:..., !Clear:...
    const QString type = s.mid(6).trimmed().toString().toLower();
    if (type == QLatin1String("bank") || type == QLatin1String("ccard") ||
        type == QLatin1String("cash"))
        return TSection::Bank;
    if (type == QLatin1String("cat") || type == QLatin1String("class") ||
        type == QLatin1String("memorized") || type == QLatin1String("prices"))
        return TSection::List;
    return type == QLatin1String("invst") ? TSection::Investment : TSection::Other;
}

// Whether `line` can be a line of an entry: a field letter, or the marks of
// splits ("$", "%") and of the entry's end.
bool IsEntryLine(QStringView line) {
    const QChar c = line.front();
    return c.isLetter() || c == u'^' || c == u'$' || c == u'%';
}

// Walks the entries of the bank sections, and reports the other account
// sections with how many entries they held. `firstStray` receives the first
// line of a bank section that no entry has (0 when there is none).
void Walk(QStringView text, const std::function<void(const TEntry &)> &onEntry,
          const std::function<void(const TOtherSection &)> &onOther, int *firstStray = nullptr,
          QString *strayText = nullptr) {
    TSection section = TSection::None;
    TOtherSection other;
    bool otherOpen = false;
    TEntry entry;
    if (firstStray)
        *firstStray = 0;
    auto endSection = [&] {
        if (section == TSection::Bank && entry.Any)
            onEntry(entry);
        if ((section == TSection::Other || section == TSection::Investment) &&
            (other.Entries > 0 || otherOpen)) {
            other.Entries += otherOpen;
            onOther(other);
        }
        entry = TEntry();
        otherOpen = false;
    };
    qsizetype pos = 0;
    int lineNo = 0;
    while (pos < text.size()) {
        qsizetype nl = text.indexOf(u'\n', pos);
        if (nl < 0)
            nl = text.size();
        const QStringView line = text.mid(pos, nl - pos);
        pos = nl + 1;
        ++lineNo;
        if (line.trimmed().isEmpty())
            continue;
        if (line.front() == u'!') {
            // "!Option:AutoSwitch" and "!Clear:AutoSwitch" only frame the
            // account list; they start no section of entries.
            QString name;
            const TSection next = SectionOf(line, &name);
            endSection();
            section = next;
            other = TOtherSection{lineNo, name, 0, next == TSection::Investment};
            continue;
        }
        if (section == TSection::Other || section == TSection::Investment) {
            if (line.front() == u'^') {
                ++other.Entries;
                otherOpen = false;
            } else {
                otherOpen = true;
            }
            continue;
        }
        if (section != TSection::Bank)
            continue;
        if (line.front() == u'^') {
            if (entry.Any)
                onEntry(entry);
            entry = TEntry();
            continue;
        }
        if (!IsEntryLine(line) && firstStray && *firstStray == 0) {
            *firstStray = lineNo;
            *strayText = line.trimmed().toString();
        }
        if (!entry.Any) {
            entry.Any = true;
            entry.Line = lineNo;
        }
        const char16_t code = line.front().toUpper().unicode();
        // A split's lines (S category, E memo, $ amount, % share, and
        // whatever else a program writes there) never change the entry's
        // own date, payee, amount or category.
        if (code == 'S' || code == 'E' || code == '$' || code == '%')
            entry.InSplits = true;
        if (entry.InSplits)
            continue;
        const QString value = line.mid(1).trimmed().toString();
        switch (code) {
        case 'D':
            entry.Date = value;
            break;
        case 'T':
            entry.Amount = value;
            break;
        case 'U':
            if (entry.Amount.isEmpty())
                entry.Amount = value;
            break;
        case 'P':
            entry.Payee = value;
            break;
        case 'M':
            entry.Memo = value;
            break;
        case 'L':
            entry.Category = value;
            break;
        default: // number, cleared, address: not used here
            break;
        }
    }
    endSection();
}

} // namespace

bool TQifReader::Recognises(QStringView text) {
    // Some programs write comment lines ("#", ";") above the first header.
    QStringView s = text.trimmed();
    while (s.startsWith(u'#') || s.startsWith(u';')) {
        const qsizetype nl = s.indexOf(u'\n');
        s = nl < 0 ? QStringView() : s.mid(nl + 1).trimmed();
    }
    for (const char *start : {"!Type:", "!Account", "!Option:", "!Clear:"})
        if (s.startsWith(QLatin1String(start), Qt::CaseInsensitive))
            return true;
    return false;
}

TStatementGuess TQifReader::Guess(const QString &text, TTextEncoding encoding) {
    TStatementGuess guess;
    guess.Layout.Format = TStatementFormat::Qif;
    guess.Layout.Encoding = encoding;
    TDateText::Tally tally;
    int points = 0, commas = 0;
    Walk(
        text,
        [&](const TEntry &e) {
            tally.Add(e.Date);
            const int hint = TMoneyText::DecimalHint(e.Amount);
            points += hint > 0;
            commas += hint < 0;
        },
        [](const TOtherSection &) {});
    guess.Layout.DecimalComma = commas > points;
    guess.Layout.DateOrder = tally.Settle(&guess.DateOrders);
    if (guess.Layout.DateOrder == TDateOrder::Unknown && !guess.DateOrders.isEmpty()) {
        QStringList orders;
        for (TDateOrder o : guess.DateOrders)
            orders << DateOrderText(o);
        guess.Questions << QCoreApplication::translate(
                               "TQifReader", "Every date fits %1; choose the order of the dates.")
                               .arg(
                                   orders.join(QCoreApplication::translate("TQifReader", " and ")));
    }
    return guess;
}

TStatement TQifReader::Read(QStringView text, const TStatementLayout &layout) {
    TStatementBuilder statement;
    bool anyDate = false;
    int entries = 0, investments = 0, stray = 0;
    QString strayText;
    Walk(
        text,
        [&](const TEntry &e) {
            ++entries;
            auto problem = [&](const QString &reason) { statement.AddProblem(e.Line, reason); };
            if (e.Date.isEmpty())
                return problem(
                    QCoreApplication::translate("TQifReader", "the entry has no D date"));
            anyDate = true;
            if (layout.DateOrder == TDateOrder::Unknown)
                return;
            TStatementLine line;
            line.Line = e.Line;
            line.Date = TDateText::Parse(e.Date, layout.DateOrder);
            if (!line.Date.isValid())
                return problem(QCoreApplication::translate("TQifReader", "%1 is not a %2 date")
                                   .arg(QuotedForReport(e.Date), DateOrderText(layout.DateOrder)));
            if (e.Amount.isEmpty())
                return problem(
                    QCoreApplication::translate("TQifReader", "the entry has no T amount"));
            QString reason;
            if (!TMoneyText::Parse(e.Amount, layout.DecimalComma, &line.Cents, &reason))
                return problem(reason);
            if (line.Cents == 0)
                return problem(QCoreApplication::translate("TQifReader", "the amount is zero"));
            line.Payee = CleanStatementText(e.Payee);
            line.Memo = CleanStatementText(e.Memo);
            line.Category = CleanStatementText(e.Category);
            statement.AddLine(line);
        },
        [&](const TOtherSection &other) {
            investments += other.Investment ? other.Entries : 0;
            statement.AddProblem(
                other.Line,
                other.Entries == 1
                    ? QCoreApplication::translate("TQifReader",
                                                  "the section %1 was not read (1 entry; only "
                                                  "bank, credit-card and cash sections are)")
                          .arg(other.Name)
                    : QCoreApplication::translate("TQifReader",
                                                  "the section %1 was not read (%2 entries; only "
                                                  "bank, credit-card and cash sections are)")
                          .arg(other.Name)
                          .arg(other.Entries));
        },
        &stray, &strayText);
    if (anyDate && layout.DateOrder == TDateOrder::Unknown)
        throw TImportError(QCoreApplication::translate(
            "TQifReader", "Choose the order of day, month and year in the dates."));
    TStatement read = statement.Take();
    if (read.Lines.isEmpty() && stray > 0)
        throw TImportError(QCoreApplication::translate(
                               "TQifReader", "The QIF file is damaged near line %1: %2 is no line "
                                             "of a QIF entry. Export the statement from the bank "
                                             "again.")
                               .arg(stray)
                               .arg(QuotedForReport(strayText))
                               .toStdString());
    if (entries == 0 && investments > 0)
        throw TImportError(QCoreApplication::translate("Statement", kInvestmentStatement));
    return read;
}
