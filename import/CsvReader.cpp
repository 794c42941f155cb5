#include "import/CsvReader.h"

#include "import/DateText.h"
#include "import/MoneyText.h"
#include "import/StatementBuilder.h"

#include <QCryptographicHash>
#include <QSet>

#include <algorithm>
#include <functional>

namespace {

// Rows looked at to tell the columns apart (every row counts for the date
// order and the decimal separator).
constexpr int kSampleRows = 2000;
constexpr const char *kNotStatement =
    "Not a statement Ledgerly can read (CSV, OFX or QIF): the file has ";
// Columns kept of a row, and characters of a field: no statement has more.
constexpr int kMaxFields = 256;
constexpr qsizetype kMaxFieldChars = 10000;

// Calls `f` with each row of `text` (see TCsvReader::Split) until it
// returns false. Fields past kMaxFields are read but not kept; a field is
// cut at kMaxFieldChars and its row marked.
template <typename F> void EachRecord(QStringView text, QChar delimiter, int firstLine, F &&f) {
    const qsizetype n = text.size();
    // Past the last quote no field can be quoted. A quote with no closing
    // one is read as an ordinary character; after the first such quote every
    // later opening quote finds its closing one, so the text is scanned in
    // linear time.
    const qsizetype lastQuote = text.lastIndexOf(u'"');
    qsizetype pos = 0;
    int line = firstLine;
    while (pos < n) {
        TCsvRecord record;
        record.Line = line;
        for (;;) {
            QString field;
            auto append = [&](QStringView part) {
                if (field.size() + part.size() > kMaxFieldChars) {
                    part = part.left(kMaxFieldChars - field.size());
                    record.Cut = true;
                }
                field += part;
            };
            if (pos < lastQuote && text[pos] == u'"') {
                qsizetype p = pos + 1;
                int l = line;
                bool closed = false;
                for (;;) {
                    const qsizetype q = text.indexOf(u'"', p);
                    if (q < 0)
                        break;
                    const QStringView chunk = text.mid(p, q - p);
                    append(chunk);
                    l += int(chunk.count(u'\n'));
                    if (q + 1 < n && text[q + 1] == u'"') {
                        append(u"\"");
                        p = q + 2;
                        continue;
                    }
                    p = q + 1;
                    closed = true;
                    break;
                }
                if (closed) {
                    pos = p;
                    line = l;
                } else {
                    field.clear();
                }
            }
            qsizetype end = pos;
            while (end < n && text[end] != delimiter && text[end] != u'\n')
                ++end;
            append(text.mid(pos, end - pos));
            pos = end;
            if (record.Fields.size() < kMaxFields)
                record.Fields << field;
            if (pos < n && text[pos] == delimiter) {
                ++pos;
                continue;
            }
            break;
        }
        if (pos < n) { // the line break
            ++pos;
            ++line;
        }
        if ((record.Fields.size() > 1 || !record.Fields.first().trimmed().isEmpty()) &&
            !f(std::move(record)))
            return;
    }
}

// `text` from the start of line `skip` (0-based) on.
QStringView FromLine(QStringView text, int skip) {
    qsizetype pos = 0;
    for (int i = 0; i < skip; ++i) {
        const qsizetype nl = text.indexOf(u'\n', pos);
        if (nl < 0)
            return QStringView();
        pos = nl + 1;
    }
    return text.mid(pos);
}

QList<QStringView> FirstLines(QStringView text, int count) {
    QList<QStringView> lines;
    qsizetype pos = 0;
    while (pos <= text.size() && lines.size() < count) {
        qsizetype nl = text.indexOf(u'\n', pos);
        if (nl < 0)
            nl = text.size();
        lines << text.mid(pos, nl - pos);
        pos = nl + 1;
    }
    return lines;
}

QStringList FieldsOfLine(QStringView line, QChar delimiter) {
    const QList<TCsvRecord> records = TCsvReader::Split(line, delimiter, 1, 1);
    return records.isEmpty() ? QStringList() : records.first().Fields;
}

QString Field(const QStringList &fields, int column) {
    return column >= 0 && column < fields.size() ? fields.at(column).trimmed() : QString();
}

bool IsDateField(const QString &field) {
    return TDateText::Orders(field) != 0;
}

// A line that holds an entry: a date and, elsewhere, an amount.
bool LooksLikeEntry(const QStringList &fields) {
    if (fields.size() < 2)
        return false;
    bool date = false, amount = false;
    for (const QString &f : fields) {
        const QString t = f.trimmed();
        if (t.isEmpty())
            continue;
        if (IsDateField(t))
            date = true;
        else if (TMoneyText::LooksLikeAmount(t))
            amount = true;
    }
    return date && amount;
}

// What the rows of one column hold.
struct TColumn {
    int NonEmpty = 0, Dates = 0, Amounts = 0, Money = 0, Negative = 0;
    QSet<QString> Distinct; // up to 100 values
    QString Name;           // header text, folded (see Folded)
};

// A header name or a mark as the words below are written: case and accents
// folded away ("Débit" is "debit", "ÜBERWEISUNG" is "uberweisung"), blanks
// made one space.
QString Folded(const QString &text) {
    QString out;
    for (QChar c : text.simplified().normalized(QString::NormalizationForm_KD))
        if (c.category() != QChar::Mark_NonSpacing)
            out += c;
    return out.toCaseFolded();
}

bool NameHas(const QString &name, std::initializer_list<const char *> words) {
    for (const char *w : words)
        if (name.contains(QLatin1String(w)))
            return true;
    return false;
}

bool IsBalanceName(const QString &n) {
    return NameHas(n, {"balance", "saldo", "kontostand", "solde", "running"});
}
bool IsDebitName(const QString &n) {
    return n == QLatin1String("out") ||
           NameHas(n, {"debit", "withdrawal", "paid out", "money out", "outflow", "soll", "ausgang",
                       "ausgabe", "belastung", "charge", "uscite", "addebit", "cargo"});
}
bool IsCreditName(const QString &n) {
    return n == QLatin1String("in") ||
           NameHas(n, {"credit", "deposit", "paid in", "money in", "inflow", "haben", "eingang",
                       "einnahme", "gutschrift", "entrate", "accredit", "abono"});
}
bool IsAmountName(const QString &n) {
    return NameHas(n, {"amount", "betrag", "umsatz", "montant", "importe", "importo", "bedrag",
                       "belopp", "belob", "belop", "kwota", "value", "sum"});
}
// A header name that says the column holds money: an amount, money out or
// money in.
bool IsMoneyName(const QString &n) {
    return IsAmountName(n) || IsDebitName(n) || IsCreditName(n);
}

// The texts of a column that tells money out from money in.
bool IsOutMark(const QString &f) {
    for (const char *w : {"debit", "dr", "d", "db", "withdrawal", "out", "s", "soll"})
        if (f == QLatin1String(w))
            return true;
    return false;
}
bool IsInMark(const QString &f) {
    for (const char *w : {"credit", "cr", "c", "deposit", "in", "h", "haben"})
        if (f == QLatin1String(w))
            return true;
    return false;
}

// The first column whose name holds one of `words`, tried in order.
int ColumnNamed(const QList<TColumn> &columns, const QList<int> &allowed,
                std::initializer_list<const char *> words) {
    for (const char *w : words)
        for (int c : allowed)
            if (columns[c].Name.contains(QLatin1String(w)))
                return c;
    return -1;
}

// Whether column `b` is the running balance after the amounts that
// `amount` reads from a row (in either row order).
bool IsBalanceOf(const QList<TCsvRecord> &rows, int b, bool decimalComma,
                 const std::function<bool(const QStringList &, qint64 *)> &amount) {
    int pairs = 0, fits = 0;
    qint64 prevA = 0, prevB = 0;
    bool havePrev = false;
    for (const TCsvRecord &r : rows) {
        qint64 va = 0, vb = 0;
        if (!amount(r.Fields, &va) || !TMoneyText::Parse(Field(r.Fields, b), decimalComma, &vb)) {
            havePrev = false;
            continue;
        }
        if (havePrev) {
            ++pairs;
            if (vb == prevB + va || prevB == vb + prevA)
                ++fits;
        }
        prevA = va;
        prevB = vb;
        havePrev = true;
    }
    return pairs >= 2 && fits * 10 >= pairs * 8;
}

bool DecimalCommaOf(const QList<TCsvRecord> &rows, const QList<int> &columns) {
    int points = 0, commas = 0;
    for (const TCsvRecord &r : rows)
        for (int c : columns) {
            const int hint = TMoneyText::DecimalHint(Field(r.Fields, c));
            points += hint > 0;
            commas += hint < 0;
        }
    return commas > points;
}

// The layout of one CSV file, guessed step by step: the delimiter and the
// width of an entry row, the date column, the lines above the data and the
// header, the amount columns, the text columns, and last the date order and
// the decimal separator over every row.
class TLayoutGuess {
public:
    TLayoutGuess(const QString &text, TTextEncoding encoding) : Text(text) {
        Layout.Format = TStatementFormat::Csv;
        Layout.Encoding = encoding;
        DelimiterAndWidth();
        DateColumn();
        PreambleAndHeader();
        AmountColumns();
        TextColumns();
        DateOrderAndDecimals();
    }
    TStatementGuess Take() { return std::move(Guess); }

private:
    void DelimiterAndWidth();
    void DateColumn();
    void PreambleAndHeader();
    void AmountColumns();
    void TextColumns();
    void DateOrderAndDecimals();
    // The parts of AmountColumns. Money out and money in, or one amount,
    // told by the header's names of the money columns.
    void AmountsByNames(const QList<int> &money);
    // Amounts told by the values alone: running balances (and the named
    // ones) are no amounts, and where one follows a pair of columns it
    // tells which of them is money out.
    void AmountsByValues(const QList<int> &money, const QList<int> &balances);
    // Amounts without a sign, and a column that says debit or credit.
    void SignColumn();
    QString ColumnName(int c) const { return QuotedForReport(Guess.Columns.value(c)); }
    QStringList FieldsOf(int line) const { return FieldsOfLine(Lines[line], Layout.Delimiter); }

    const QString &Text;
    TStatementGuess Guess;
    TStatementLayout &Layout = Guess.Layout;
    QList<QStringView> Lines; // the first lines
    int First = 0;            // the first line that may hold data (after "sep=")
    int Width = 0;            // the fields of an entry row
    int FirstEntry = 0;       // the first line that looks like an entry
    int Start = 0;            // the first line of data
    QList<TCsvRecord> Rows;   // the first rows of data
    QList<TColumn> Columns;   // over the first rows from FirstEntry on
    int Sampled = 0;
    QList<int> TextLike;
};

void TLayoutGuess::DelimiterAndWidth() {
    Lines = FirstLines(Text, TCsvReader::kGuessLines);
    QList<QChar> delimiters = {u',', u';', u'\t', u'|'};
    // A spreadsheet's own hint line: "sep=;".
    if (!Lines.isEmpty()) {
        const QStringView l0 = Lines.first().trimmed();
        if (l0.size() == 5 && l0.left(4).compare(QLatin1String("sep="), Qt::CaseInsensitive) == 0) {
            delimiters = {l0[4]};
            First = 1;
        }
    }

    // The delimiter that makes the most entry lines of one width.
    int bestScore = 0;
    QChar delimiter = delimiters.first();
    bool anyDate = false, dateHeader = false;
    for (QChar d : delimiters) {
        QHash<int, int> widths;
        for (int i = First; i < Lines.size(); ++i) {
            const QStringList fields = FieldsOfLine(Lines[i], d);
            if (LooksLikeEntry(fields)) {
                ++widths[int(fields.size())];
                continue;
            }
            for (const QString &f : fields) {
                anyDate = anyDate || IsDateField(f.trimmed());
                dateHeader =
                    dateHeader ||
                    (fields.size() >= 2 &&
                     NameHas(Folded(f), {"date", "datum", "buchungstag", "fecha", "data"}));
            }
        }
        for (auto it = widths.cbegin(); it != widths.cend(); ++it)
            if (it.value() > bestScore ||
                (it.value() == bestScore && d == delimiter && it.key() > Width)) {
                bestScore = it.value();
                Width = it.key();
                delimiter = d;
            }
    }
    if (bestScore == 0)
        throw TImportError(dateHeader && !anyDate
                               ? "The file holds no entries, only the names of its columns."
                           : anyDate ? kNotStatement + std::string("no column of amounts.")
                                     : kNotStatement + std::string("no column of dates."));
    Layout.Delimiter = delimiter;

    // The first entry line, and the rows from it on.
    FirstEntry = First;
    while (FirstEntry < Lines.size()) {
        const QStringList fields = FieldsOf(FirstEntry);
        if (fields.size() == Width && LooksLikeEntry(fields))
            break;
        ++FirstEntry;
    }
    Rows = TCsvReader::Split(FromLine(Text, FirstEntry), delimiter, FirstEntry + 1, kSampleRows);
}

void TLayoutGuess::DateColumn() {
    // What each column holds, over the first rows.
    Sampled = int(Rows.size());
    Columns = QList<TColumn>(Width);
    for (const TCsvRecord &row : std::as_const(Rows)) {
        for (int c = 0; c < Width && c < row.Fields.size(); ++c) {
            const QString f = row.Fields[c].trimmed();
            if (f.isEmpty())
                continue;
            TColumn &col = Columns[c];
            ++col.NonEmpty;
            if (IsDateField(f)) {
                ++col.Dates;
            } else if (TMoneyText::LooksLikeAmount(f)) {
                ++col.Amounts;
                col.Money += TMoneyText::LooksLikeMoney(f);
                qint64 cents = 0;
                col.Negative +=
                    (TMoneyText::Parse(f, false, &cents) || TMoneyText::Parse(f, true, &cents)) &&
                    cents < 0;
            }
            if (col.Distinct.size() < 100)
                col.Distinct.insert(f);
        }
    }
    // The first column that holds a date in nearly every row.
    for (int c = 0; c < Width && Layout.DateColumn < 0; ++c)
        if (Columns[c].Dates * 10 >= Sampled * 8)
            Layout.DateColumn = c;
    if (Layout.DateColumn < 0)
        throw TImportError(kNotStatement + std::string("no column of dates."));
}

void TLayoutGuess::PreambleAndHeader() {
    // Entries above the first one found (one with an unreadable amount, say)
    // belong to the data too; the line above them is the header when it
    // holds names, else it is part of the lines skipped.
    Start = FirstEntry;
    auto dateAt = [&](int i) { return IsDateField(Field(FieldsOf(i), Layout.DateColumn)); };
    while (Start - 1 >= First && !Lines[Start - 1].trimmed().isEmpty() && dateAt(Start - 1))
        --Start;
    int above = Start - 1;
    while (above >= First && Lines[above].trimmed().isEmpty())
        --above;
    QStringList header;
    if (above >= First) {
        const QStringList fields = FieldsOf(above);
        int names = 0;
        for (const QString &f : fields)
            names += !f.trimmed().isEmpty() && !TMoneyText::LooksLikeAmount(f.trimmed());
        if (fields.size() >= 2 && names >= 2 && !dateAt(above))
            header = fields;
    }
    Layout.HasHeader = !header.isEmpty();
    Layout.SkipLines = Layout.HasHeader ? above : Start;
    if (Start < FirstEntry)
        Rows = TCsvReader::Split(FromLine(Text, Start), Layout.Delimiter, Start + 1, kSampleRows);
    for (int c = 0; c < Width; ++c) {
        Columns[c].Name = Folded(Field(header, c));
        Guess.Columns << (Field(header, c).isEmpty() ? QStringLiteral("Column %1").arg(c + 1)
                                                     : Field(header, c));
    }
    if (Layout.HasHeader)
        Layout.HeaderSignature = TCsvReader::HeaderSignature(header);
}

void TLayoutGuess::AmountColumns() {
    // Amount columns: three values in four amounts (the others are entries
    // with a mistake, reported when read), and not dates. A column the
    // header names as money needs only most of its values readable.
    QList<int> money, balances;
    const bool header = Layout.HasHeader;
    for (int c = 0; c < Width; ++c) {
        const TColumn &col = Columns[c];
        if (col.NonEmpty == 0 || col.Dates * 2 >= col.NonEmpty)
            continue;
        const bool named = header && IsMoneyName(col.Name) && !IsBalanceName(col.Name);
        if (col.Amounts * 4 >= col.NonEmpty * 3 || (named && col.Amounts * 2 >= col.NonEmpty)) {
            // A balance is never an amount; plain counts (reference or
            // cheque numbers) are none either.
            if (header && IsBalanceName(col.Name))
                balances << c;
            else if (col.Money > 0 || named)
                money << c;
        } else if (col.Amounts * 2 < col.NonEmpty) {
            TextLike << c;
        }
    }
    if (header)
        AmountsByNames(money);
    if (Layout.AmountColumn < 0 && Layout.DebitColumn < 0)
        AmountsByValues(money, balances);
    if (Layout.AmountColumn < 0 && Layout.DebitColumn < 0)
        throw TImportError(kNotStatement + std::string("no column of amounts."));
    if (Layout.AmountColumn >= 0)
        SignColumn();
}

void TLayoutGuess::AmountsByNames(const QList<int> &money) {
    int debit = -1, credit = -1, amount = -1;
    for (int c : money) {
        const QString &n = Columns[c].Name;
        const bool d = IsDebitName(n), cr = IsCreditName(n);
        if (d && !cr && debit < 0)
            debit = c;
        else if (cr && !d && credit < 0)
            credit = c;
        else if (amount < 0 && (IsAmountName(n) || (d && cr)))
            amount = c;
    }
    if (debit >= 0 && credit >= 0) {
        Layout.DebitColumn = debit;
        Layout.CreditColumn = credit;
    } else if (amount >= 0) {
        Layout.AmountColumn = amount;
    }
}

void TLayoutGuess::SignColumn() {
    const TColumn &amount = Columns[Layout.AmountColumn];
    if (amount.Negative == 0)
        for (int c = 0; c < Width && Layout.SignColumn < 0; ++c) {
            const TColumn &col = Columns[c];
            if (c == Layout.AmountColumn || col.Distinct.size() > 2 ||
                col.NonEmpty * 10 < Sampled * 9)
                continue;
            QString out;
            bool marks = true;
            for (const QString &v : col.Distinct) {
                const QString f = Folded(v);
                if (IsOutMark(f))
                    out = v;
                else if (!IsInMark(f))
                    marks = false;
            }
            if (marks && !out.isEmpty()) {
                Layout.SignColumn = c;
                Layout.OutMarker = out;
            }
        }
    if (Layout.SignColumn < 0 && amount.Negative * 2 < amount.Amounts)
        Guess.Warnings << QStringLiteral("Most amounts in %1 are positive, and are read as money "
                                         "in; if the file writes money out as positive amounts "
                                         "(as credit-card statements often do), say so.")
                              .arg(ColumnName(Layout.AmountColumn));
}

void TLayoutGuess::AmountsByValues(const QList<int> &money, const QList<int> &balances) {
    const bool comma = DecimalCommaOf(Rows, money);
    auto value = [comma](const QStringList &fields, int c, qint64 *cents) {
        const QString f = Field(fields, c);
        *cents = 0;
        return f.isEmpty() || TMoneyText::Parse(f, comma, cents);
    };
    QList<int> left;
    int balanceOut = -1; // the money-out column a balance column was told by
    for (int b : money + balances) {
        bool balance = balances.contains(b);
        for (int a : money) {
            if (a == b)
                continue;
            balance = balance || IsBalanceOf(Rows, b, comma, [&](const QStringList &f, qint64 *v) {
                          return !Field(f, a).isEmpty() && value(f, a, v);
                      });
            // After money out in `a` and money in in `o`.
            for (int o : money)
                if (o != a && o != b && balanceOut < 0 &&
                    IsBalanceOf(Rows, b, comma, [&](const QStringList &f, qint64 *v) {
                        qint64 out = 0, in = 0;
                        if (!value(f, a, &out) || !value(f, o, &in) || (out == 0 && in == 0))
                            return false;
                        *v = qAbs(in) - qAbs(out);
                        return true;
                    })) {
                    balance = true;
                    balanceOut = a;
                }
        }
        if (!balance)
            left << b;
    }
    if (left.isEmpty())
        return;
    if (left.size() == 2) {
        // Two columns of which each row fills one: money out and money in.
        const int a = left[0], b = left[1];
        int either = 0, one = 0;
        for (const TCsvRecord &r : std::as_const(Rows)) {
            qint64 va = 0, vb = 0;
            const bool ha = TMoneyText::Parse(Field(r.Fields, a), comma, &va) && va != 0;
            const bool hb = TMoneyText::Parse(Field(r.Fields, b), comma, &vb) && vb != 0;
            either += ha || hb;
            one += ha != hb;
        }
        if (either > 0 && one * 10 >= either * 9) {
            // Money out is the column a running balance goes down by, or the
            // one written negative.
            const TColumn &ca = Columns[a], &cb = Columns[b];
            const bool aOut =
                balanceOut == a ||
                (balanceOut < 0 && ca.Negative * 10 >= ca.NonEmpty * 9 && cb.Negative == 0);
            const bool bOut =
                balanceOut == b ||
                (balanceOut < 0 && cb.Negative * 10 >= cb.NonEmpty * 9 && ca.Negative == 0);
            Layout.DebitColumn = bOut ? b : a;
            Layout.CreditColumn = bOut ? a : b;
            if (!aOut && !bOut)
                Guess.Questions << QStringLiteral("Which of %1 and %2 holds money out cannot be "
                                                  "told from the data; %1 was taken as money out.")
                                       .arg(ColumnName(a), ColumnName(b));
            return;
        }
    }
    Layout.AmountColumn = left.first();
    if (left.size() > 1)
        Guess.Questions << QStringLiteral("Several columns hold amounts; %1 was taken.")
                               .arg(ColumnName(left.first()));
}

void TLayoutGuess::TextColumns() {
    // Payee and memo: by their names, else the text columns with the most
    // different values.
    QList<int> texts;
    for (int c : std::as_const(TextLike))
        if (Columns[c].NonEmpty * 10 >= Sampled * 3 && !IsBalanceName(Columns[c].Name))
            texts << c;
    if (Layout.HasHeader) {
        QList<int> named = TextLike;
        Layout.PayeeColumn = ColumnNamed(Columns, named,
                                         {"payee", "beneficiary", "counterpart", "merchant",
                                          "empfanger", "auftraggeber", "begunstigter", "name",
                                          "description", "narrative", "details", "libelle"});
        named.removeAll(Layout.PayeeColumn);
        Layout.MemoColumn =
            ColumnNamed(Columns, named,
                        {"memo", "verwendungszweck", "purpose", "reference", "remittance", "notes",
                         "buchungstext", "details", "description", "narrative"});
    }
    auto mostVaried = [&](int except) {
        int best = -1;
        for (int c : texts)
            if (c != except && c != Layout.PayeeColumn && Columns[c].Distinct.size() > 1 &&
                (best < 0 || Columns[c].Distinct.size() > Columns[best].Distinct.size()))
                best = c;
        return best;
    };
    if (Layout.PayeeColumn < 0)
        Layout.PayeeColumn = mostVaried(Layout.MemoColumn);
    if (Layout.MemoColumn < 0 && !Layout.HasHeader)
        Layout.MemoColumn = mostVaried(Layout.PayeeColumn);
}

void TLayoutGuess::DateOrderAndDecimals() {
    // From every row, not the first ones only.
    QList<int> used;
    for (int c : {Layout.AmountColumn, Layout.DebitColumn, Layout.CreditColumn})
        if (c >= 0)
            used << c;
    TDateText::Tally tally;
    int points = 0, commas = 0;
    EachRecord(FromLine(Text, Start), Layout.Delimiter, Start + 1, [&](TCsvRecord &&r) {
        tally.Add(Field(r.Fields, Layout.DateColumn));
        for (int c : used) {
            const int hint = TMoneyText::DecimalHint(Field(r.Fields, c));
            points += hint > 0;
            commas += hint < 0;
        }
        return true;
    });
    Layout.DateOrder = tally.Settle(&Guess.DateOrders);
    Layout.DecimalComma = commas > points;
    if (Layout.DateOrder == TDateOrder::Unknown) {
        QStringList orders;
        for (TDateOrder o : std::as_const(Guess.DateOrders))
            orders << DateOrderText(o);
        // The first question: the import window asks it before reading.
        Guess.Questions.prepend(QStringLiteral("Every date fits %1; choose the order of the dates.")
                                    .arg(orders.join(QStringLiteral(" and "))));
    }
}

// One row read with `layout`: an entry, or a problem.
void ReadRow(const TCsvRecord &r, const TStatementLayout &layout, TStatementBuilder &statement) {
    auto problem = [&](const QString &reason) { statement.AddProblem(r.Line, reason); };
    if (r.Cut)
        return problem(QStringLiteral("a field is longer than %L1 characters").arg(kMaxFieldChars));
    TStatementLine line;
    line.Line = r.Line;
    const QString date = Field(r.Fields, layout.DateColumn);
    if (date.isEmpty())
        return problem(QStringLiteral("no date"));
    line.Date = TDateText::Parse(date, layout.DateOrder);
    if (!line.Date.isValid())
        return problem(QStringLiteral("%1 is not a %2 date")
                           .arg(QuotedForReport(date), DateOrderText(layout.DateOrder)));
    QString reason;
    if (layout.AmountColumn >= 0) {
        const QString amount = Field(r.Fields, layout.AmountColumn);
        if (amount.isEmpty())
            return problem(QStringLiteral("no amount"));
        if (!TMoneyText::Parse(amount, layout.DecimalComma, &line.Cents, &reason))
            return problem(reason);
        if (layout.SignColumn >= 0)
            line.Cents =
                Field(r.Fields, layout.SignColumn).compare(layout.OutMarker, Qt::CaseInsensitive) ==
                        0
                    ? -qAbs(line.Cents)
                    : qAbs(line.Cents);
        else if (layout.MoneyOutPositive)
            line.Cents = -line.Cents;
    } else {
        // Money out and money in: a column's sign says nothing, as banks
        // write money out with and without a minus.
        const QString out = Field(r.Fields, layout.DebitColumn);
        const QString in = Field(r.Fields, layout.CreditColumn);
        qint64 outCents = 0, inCents = 0;
        if (!out.isEmpty() && !TMoneyText::Parse(out, layout.DecimalComma, &outCents, &reason))
            return problem(reason);
        if (!in.isEmpty() && !TMoneyText::Parse(in, layout.DecimalComma, &inCents, &reason))
            return problem(reason);
        if (out.isEmpty() && in.isEmpty())
            return problem(QStringLiteral("no amount"));
        if (outCents != 0 && inCents != 0)
            return problem(QStringLiteral("both money out (%1) and money in (%2) hold an amount")
                               .arg(QuotedForReport(out), QuotedForReport(in)));
        line.Cents = inCents != 0 ? qAbs(inCents) : -qAbs(outCents);
    }
    if (line.Cents == 0)
        return problem(QStringLiteral("the amount is zero"));
    line.Payee = CleanStatementText(Field(r.Fields, layout.PayeeColumn));
    line.Memo = CleanStatementText(Field(r.Fields, layout.MemoColumn));
    statement.AddLine(line);
}

} // namespace

QList<TCsvRecord> TCsvReader::Split(QStringView text, QChar delimiter, int firstLine,
                                    qsizetype maxRecords) {
    QList<TCsvRecord> records;
    EachRecord(text, delimiter, firstLine, [&](TCsvRecord &&record) {
        records << std::move(record);
        return maxRecords < 0 || records.size() < maxRecords;
    });
    return records;
}

QString TCsvReader::HeaderSignature(const QStringList &header) {
    QStringList names;
    for (const QString &h : header)
        names << h.simplified().toCaseFolded();
    while (!names.isEmpty() && names.last().isEmpty())
        names.removeLast();
    if (names.isEmpty())
        return QString();
    return QString::fromLatin1(
        QCryptographicHash::hash(names.join(QChar(0x1F)).toUtf8(), QCryptographicHash::Sha1)
            .toHex());
}

TStatementGuess TCsvReader::Guess(const QString &text, TTextEncoding encoding) {
    return TLayoutGuess(text, encoding).Take();
}

TStatement TCsvReader::Read(const QString &text, const TStatementLayout &layout) {
    if (layout.DateColumn < 0)
        throw TImportError("Choose the column of dates.");
    if (layout.AmountColumn < 0 && (layout.DebitColumn < 0 || layout.CreditColumn < 0))
        throw TImportError("Choose the column of amounts, or the columns of money out and in.");
    if (layout.DateOrder == TDateOrder::Unknown)
        throw TImportError("Choose the order of day, month and year in the dates.");

    TStatementBuilder statement;
    bool header = layout.HasHeader;
    EachRecord(FromLine(text, layout.SkipLines), layout.Delimiter, layout.SkipLines + 1,
               [&](TCsvRecord &&r) {
                   if (header)
                       header = false;
                   else
                       ReadRow(r, layout, statement);
                   return true;
               });
    return statement.Take();
}

QStringList TCsvReader::Columns(const QString &text, const TStatementLayout &layout,
                                QString *headerSignature) {
    const QList<TCsvRecord> first =
        Split(FromLine(text, layout.SkipLines), layout.Delimiter, layout.SkipLines + 1, 1);
    if (first.isEmpty())
        return {};
    QStringList names;
    const QStringList &fields = first.first().Fields;
    if (headerSignature && layout.HasHeader)
        *headerSignature = HeaderSignature(fields);
    for (int c = 0; c < fields.size(); ++c) {
        const QString name = layout.HasHeader ? CleanStatementText(fields[c]) : QString();
        names << (name.isEmpty() ? QStringLiteral("Column %1").arg(c + 1) : name);
    }
    return names;
}

std::optional<TStatementLayout> TCsvReader::Fit(const QString &text,
                                                const TStatementLayout &profile) {
    if (profile.Format != TStatementFormat::Csv || profile.HeaderSignature.isEmpty())
        return std::nullopt;
    const QList<QStringView> lines = FirstLines(text, kGuessLines);
    for (int i = 0; i < lines.size(); ++i)
        if (HeaderSignature(FieldsOfLine(lines[i], profile.Delimiter)) == profile.HeaderSignature) {
            TStatementLayout fitted = profile;
            fitted.SkipLines = i;
            fitted.HasHeader = true;
            return fitted;
        }
    return std::nullopt;
}
