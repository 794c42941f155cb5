#include "import/QifReader.h"

#include "import/DateText.h"
#include "import/MoneyText.h"
#include "import/StatementBuilder.h"

#include <functional>

namespace {

enum class TSection { None, Bank, Other, List };

// One entry as written, and the line its first field is on.
struct TEntry {
    int Line = 0;
    QString Date, Amount, Payee, Memo, Category;
    bool Any = false;
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
    return TSection::Other;
}

// Walks the entries of the bank sections, and reports the other account
// sections with how many entries they held.
void Walk(QStringView text, const std::function<void(const TEntry &)> &onEntry,
          const std::function<void(int line, const QString &section, int entries)> &onOther) {
    TSection section = TSection::None;
    QString sectionName;
    int sectionLine = 0, otherEntries = 0;
    bool otherOpen = false;
    TEntry entry;
    auto endSection = [&] {
        if (section == TSection::Bank && entry.Any)
            onEntry(entry);
        if (section == TSection::Other && (otherEntries > 0 || otherOpen))
            onOther(sectionLine, sectionName, otherEntries + otherOpen);
        entry = TEntry();
        otherEntries = 0;
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
            sectionName = name;
            sectionLine = lineNo;
            continue;
        }
        if (section == TSection::Other) {
            if (line.front() == u'^') {
                ++otherEntries;
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
        if (!entry.Any) {
            entry.Any = true;
            entry.Line = lineNo;
        }
        const QString value = line.mid(1).trimmed().toString();
        switch (line.front().toUpper().unicode()) {
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
        default: // number, cleared, address, splits: not used here
            break;
        }
    }
    endSection();
}

} // namespace

bool TQifReader::Recognises(QStringView text) {
    const QStringView s = text.trimmed();
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
            tally.Add(TDateText::Orders(e.Date));
            const int hint = TMoneyText::DecimalHint(e.Amount);
            points += hint > 0;
            commas += hint < 0;
        },
        [](int, const QString &, int) {});
    guess.Layout.DecimalComma = commas > points;
    guess.Layout.DateOrder = tally.Settle(&guess.DateOrders);
    if (guess.Layout.DateOrder == TDateOrder::Unknown && !guess.DateOrders.isEmpty()) {
        QStringList orders;
        for (TDateOrder o : guess.DateOrders)
            orders << DateOrderText(o);
        guess.Questions << QStringLiteral("Every date fits %1; choose the order of the dates.")
                               .arg(orders.join(QStringLiteral(" and ")));
    }
    return guess;
}

TStatement TQifReader::Read(QStringView text, const TStatementLayout &layout) {
    TStatementBuilder statement;
    bool anyDate = false;
    Walk(
        text,
        [&](const TEntry &e) {
            auto problem = [&](const QString &reason) { statement.AddProblem(e.Line, reason); };
            if (e.Date.isEmpty())
                return problem(QStringLiteral("the entry has no D date"));
            anyDate = true;
            if (layout.DateOrder == TDateOrder::Unknown)
                return;
            TStatementLine line;
            line.Line = e.Line;
            line.Date = TDateText::Parse(e.Date, layout.DateOrder);
            if (!line.Date.isValid())
                return problem(QStringLiteral("%1 is not a %2 date")
                                   .arg(QuotedForReport(e.Date), DateOrderText(layout.DateOrder)));
            if (e.Amount.isEmpty())
                return problem(QStringLiteral("the entry has no T amount"));
            QString reason;
            if (!TMoneyText::Parse(e.Amount, layout.DecimalComma, &line.Cents, &reason))
                return problem(reason);
            if (line.Cents == 0)
                return problem(QStringLiteral("the amount is zero"));
            line.Payee = CleanStatementText(e.Payee);
            line.Memo = CleanStatementText(e.Memo);
            line.Category = CleanStatementText(e.Category);
            statement.AddLine(line);
        },
        [&](int line, const QString &section, int entries) {
            statement.AddProblem(
                line, QStringLiteral("the section %1 was not read (%2 %3; only bank, credit-card "
                                     "and cash sections are)")
                          .arg(section)
                          .arg(entries)
                          .arg(entries == 1 ? QStringLiteral("entry") : QStringLiteral("entries")));
        });
    if (anyDate && layout.DateOrder == TDateOrder::Unknown)
        throw TImportError("Choose the order of day, month and year in the dates.");
    return statement.Take();
}
