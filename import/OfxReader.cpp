#include "import/OfxReader.h"

#include "import/MoneyText.h"
#include "import/StatementBuilder.h"

#include <QCoreApplication>

namespace {

// The fields of one STMTTRN, as written.
struct TEntry {
    int Line = 0;
    QString Posted, Amount, Name, Payee, Memo, Id, Correction, Corrected;
    bool Open = false;
};

// Values with the five XML entities and numeric character references made
// plain characters; anything else is kept as written.
QString Unescape(QStringView text) {
    if (!text.contains(u'&'))
        return text.toString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype semi = text[i] == u'&' ? text.indexOf(u';', i) : -1;
        if (semi < 0 || semi - i > 10) {
            out += text[i];
            continue;
        }
        const QStringView name = text.mid(i + 1, semi - i - 1);
        char32_t code = 0;
        if (name == u"amp")
            code = '&';
        else if (name == u"lt")
            code = '<';
        else if (name == u"gt")
            code = '>';
        else if (name == u"quot")
            code = '"';
        else if (name == u"apos")
            code = '\'';
        else if (name == u"nbsp")
            code = 0xA0;
        else if (name.startsWith(u'#')) {
            bool ok = false;
            const uint v = name.size() > 1 && (name[1] == u'x' || name[1] == u'X')
                               ? name.mid(2).toUInt(&ok, 16)
                               : name.mid(1).toUInt(&ok, 10);
            if (ok && v > 0 && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF))
                code = v;
        }
        if (code == 0) {
            out += text[i];
            continue;
        }
        out += QString::fromUcs4(&code, 1);
        i = semi;
    }
    return out;
}

// DTPOSTED is yyyyMMdd[HHmmss[.xxx]][[offset:zone]]; the day is the one
// written, whatever the time zone.
QDate PostedDate(const QString &text) {
    if (text.size() < 8)
        return QDate();
    for (int i = 0; i < 8; ++i)
        if (!text[i].isDigit() || text[i].unicode() > '9')
            return QDate();
    if (text.size() > 8 && text[8].isDigit() && text.size() < 12)
        return QDate(); // neither a bare date nor one with a time
    const int year = text.left(4).toInt();
    if (year < 1900 || year > 2100)
        return QDate();
    return QDate(year, text.mid(4, 2).toInt(), text.mid(6, 2).toInt());
}

void Finish(TEntry &e, const QString &account, TStatementBuilder &statement) {
    if (!e.Open)
        return;
    e.Open = false;
    auto problem = [&](const QString &reason) { statement.AddProblem(e.Line, reason); };
    if (!e.Correction.isEmpty())
        return problem(QCoreApplication::translate(
                           "TOfxReader", "the bank corrects an earlier entry (%1 of FITID %2); "
                                         "check that entry by hand")
                           .arg(e.Correction, QuotedForReport(e.Corrected)));
    if (e.Posted.isEmpty())
        return problem(QCoreApplication::translate("TOfxReader", "the entry has no DTPOSTED date"));
    TStatementLine line;
    line.Line = e.Line;
    line.Date = PostedDate(e.Posted);
    if (!line.Date.isValid())
        return problem(QCoreApplication::translate("TOfxReader", "%1 is not a date")
                           .arg(QuotedForReport(e.Posted)));
    if (e.Amount.isEmpty())
        return problem(QCoreApplication::translate("TOfxReader", "the entry has no TRNAMT amount"));
    // OFX amounts carry no thousands separators; some banks write a
    // decimal comma.
    const bool comma = e.Amount.contains(u',') && !e.Amount.contains(u'.');
    QString reason;
    if (!TMoneyText::Parse(e.Amount, comma, &line.Cents, &reason))
        return problem(reason);
    if (line.Cents == 0)
        return problem(QCoreApplication::translate("TOfxReader", "the amount is zero"));
    line.Payee = CleanStatementText(e.Name.isEmpty() ? e.Payee : e.Name);
    line.Memo = CleanStatementText(e.Memo);
    line.Id = e.Id.trimmed();
    line.Account = account;
    statement.AddLine(line);
}

} // namespace

bool TOfxReader::Recognises(QStringView text) {
    const QStringView s = text.trimmed().left(4096);
    if (s.startsWith(QLatin1String("OFXHEADER"), Qt::CaseInsensitive) ||
        s.startsWith(QLatin1String("<OFX>"), Qt::CaseInsensitive))
        return true;
    return s.startsWith(QLatin1String("<?xml"), Qt::CaseInsensitive) &&
           (s.contains(QLatin1String("<?OFX"), Qt::CaseInsensitive) ||
            s.contains(QLatin1String("<OFX>"), Qt::CaseInsensitive));
}

TStatement TOfxReader::Read(QStringView text) {
    TStatementBuilder statement;
    TEntry entry;
    QString bank, account, entryAccount;
    const qsizetype n = text.size();
    qsizetype pos = 0, counted = 0;
    int line = 1;
    auto lineAt = [&](qsizetype at) {
        line += int(text.mid(counted, at - counted).count(u'\n'));
        counted = at;
        return line;
    };
    auto damaged = [&](int near, const QString &what) {
        return TImportError(QCoreApplication::translate(
                                "TOfxReader", "The OFX file is damaged near line %1: %2. Download "
                                              "the statement from the bank again.")
                                .arg(near)
                                .arg(what)
                                .toStdString());
    };
    // The root element, whether the file is inside a list of entries, and
    // what an investment statement holds besides bank entries: its
    // investment transactions (each with one INVTRAN).
    bool root = false, inList = false;
    int entries = 0, investments = 0, investmentLine = 0;
    while (pos < n) {
        const qsizetype lt = text.indexOf(u'<', pos);
        if (lt < 0)
            break;
        // Comments, processing instructions and declarations.
        if (text.mid(lt, 4) == u"<!--") {
            const qsizetype end = text.indexOf(QLatin1String("-->"), lt + 4);
            pos = end < 0 ? n : end + 3;
            continue;
        }
        if (lt + 1 < n && (text[lt + 1] == u'?' || text[lt + 1] == u'!')) {
            const qsizetype end = text.indexOf(u'>', lt + 2);
            pos = end < 0 ? n : end + 1;
            continue;
        }
        const qsizetype gt = text.indexOf(u'>', lt + 1);
        if (gt < 0)
            throw damaged(lineAt(lt),
                          QCoreApplication::translate("TOfxReader", "the tag %1 is cut off")
                              .arg(QuotedForReport(text.mid(lt, 20).trimmed())));
        const bool closing = lt + 1 < gt && text[lt + 1] == u'/';
        QStringView tag = text.mid(lt + 1 + closing, gt - lt - 1 - closing).trimmed();
        if (const qsizetype space = tag.indexOf(u' '); space >= 0)
            tag = tag.left(space); // attributes
        if (tag.endsWith(u'/'))
            tag.chop(1);
        const QString name = tag.toString().toUpper();
        pos = gt + 1;
        if (name == QLatin1String("OFX")) {
            root = true;
        } else if (name == QLatin1String("BANKTRANLIST") || name == QLatin1String("INVTRANLIST")) {
            inList = !closing;
        } else if (name == QLatin1String("INVTRAN") && !closing && investments++ == 0) {
            investmentLine = lineAt(lt);
        }
        if (name == QLatin1String("STMTTRN")) {
            Finish(entry, entryAccount, statement);
            if (!closing) {
                entry = TEntry();
                entry.Open = true;
                entry.Line = lineAt(lt);
                ++entries;
            }
            continue;
        }
        if (closing) {
            // The end of a transaction list ends an entry left open by a
            // file that omits </STMTTRN>.
            if (name == QLatin1String("BANKTRANLIST") || name == QLatin1String("OFX") ||
                name.endsWith(QLatin1String("STMTRS")) || name == QLatin1String("INVBANKTRAN"))
                Finish(entry, entryAccount, statement);
            continue;
        }
        if (!entry.Open) {
            // The account of the statement's entries (BANKACCTFROM or
            // CCACCTFROM; the ...ACCTTO of a transfer lies inside its entry).
            if (name.endsWith(QLatin1String("STMTRS"))) {
                bank.clear();
                account.clear();
                entryAccount.clear();
            } else if (name == QLatin1String("BANKID") || name == QLatin1String("ACCTID")) {
                qsizetype end = text.indexOf(u'<', pos);
                (name == QLatin1String("BANKID") ? bank : account) =
                    CleanStatementText(Unescape(text.mid(pos, (end < 0 ? n : end) - pos)));
                entryAccount = bank.isEmpty() ? account : bank + u' ' + account;
            }
            continue;
        }
        qsizetype end = text.indexOf(u'<', pos);
        if (end < 0)
            end = n;
        const QString value = Unescape(text.mid(pos, end - pos)).trimmed();
        QString *field = nullptr;
        if (name == QLatin1String("DTPOSTED"))
            field = &entry.Posted;
        else if (name == QLatin1String("TRNAMT"))
            field = &entry.Amount;
        else if (name == QLatin1String("NAME"))
            field = &entry.Name;
        else if (name == QLatin1String("PAYEE"))
            field = &entry.Payee;
        else if (name == QLatin1String("MEMO"))
            field = &entry.Memo;
        else if (name == QLatin1String("FITID"))
            field = &entry.Id;
        else if (name == QLatin1String("CORRECTACTION"))
            field = &entry.Correction;
        else if (name == QLatin1String("CORRECTFITID"))
            field = &entry.Corrected;
        if (field && field->isEmpty())
            *field = value;
        pos = end;
    }
    if (!root)
        throw damaged(1, QCoreApplication::translate("TOfxReader", "it has no <OFX> element"));
    // A file cut short after its entries lost none of them.
    if (inList)
        throw damaged(lineAt(text.trimmed().data() + text.trimmed().size() - text.data()),
                      QCoreApplication::translate("TOfxReader",
                                                  "it ends inside its list of entries, cut short"));
    Finish(entry, entryAccount, statement);
    if (investments > 0) {
        if (entries == 0)
            throw TImportError(QCoreApplication::translate("Statement", kInvestmentStatement));
        statement.AddProblem(
            investmentLine,
            investments == 1
                ? QCoreApplication::translate("TOfxReader",
                                              "1 investment transaction was (buys, sells, income) "
                                              "not read; Ledgerly imports bank entries only")
                : QCoreApplication::translate("TOfxReader",
                                              "%1 investment transactions were (buys, sells, "
                                              "income) not read; Ledgerly imports bank entries "
                                              "only")
                      .arg(investments));
    }
    return statement.Take();
}
