#include "import/MoneyText.h"
#include "import/StatementBuilder.h"

#include <QCoreApplication>

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool IsMinus(QChar c) {
    return c == u'-' || c == QChar(0x2212) || c == QChar(0x2013); // hyphen, minus, en dash
}

bool IsGroupMark(QChar c) {
    return c.isSpace() || c == u'\'' || c == QChar(0x2019);
}

bool IsAsciiUpper(QChar c) {
    return c >= u'A' && c <= u'Z';
}

// The number left when signs and currency are taken off.
struct TBare {
    QStringView Number;
    int Signs = 0; // how many sign marks were found
    bool Negative = false;
    bool Decorated = false; // sign, parentheses or currency present
};

TBare StripDecoration(QStringView s) {
    TBare b;
    s = s.trimmed();
    bool parens = false;
    for (int round = 0; round < 8 && !s.isEmpty(); ++round) {
        const qsizetype before = s.size();
        if (!parens && s.size() >= 2 && s.front() == u'(' && s.back() == u')') {
            parens = true;
            b.Negative = !b.Negative;
            ++b.Signs;
            s = s.mid(1, s.size() - 2);
        } else if (IsMinus(s.front()) || s.front() == u'+') {
            b.Negative ^= IsMinus(s.front());
            ++b.Signs;
            s = s.mid(1);
        } else if (IsMinus(s.back()) || s.back() == u'+') {
            b.Negative ^= IsMinus(s.back());
            ++b.Signs;
            s.chop(1);
        } else if (s.size() > 2 && !s[s.size() - 3].isLetter() &&
                   (s.endsWith(QLatin1String("CR"), Qt::CaseInsensitive) ||
                    s.endsWith(QLatin1String("DR"), Qt::CaseInsensitive))) {
            // "12.50 CR" credit, "12.50 DR" debit.
            b.Negative ^= s[s.size() - 2].toUpper() == u'D';
            ++b.Signs;
            s.chop(2);
        } else if (s.front().category() == QChar::Symbol_Currency) {
            s = s.mid(1);
        } else if (s.back().category() == QChar::Symbol_Currency) {
            s.chop(1);
        } else if (s.size() > 3 && IsAsciiUpper(s[0]) && IsAsciiUpper(s[1]) && IsAsciiUpper(s[2]) &&
                   !s[3].isLetter()) {
            s = s.mid(3); // "EUR 12.50"
        } else if (s.size() > 3 && IsAsciiUpper(s.back()) && IsAsciiUpper(s[s.size() - 2]) &&
                   IsAsciiUpper(s[s.size() - 3]) && !s[s.size() - 4].isLetter()) {
            s.chop(3); // "12.50 EUR"
        }
        s = s.trimmed();
        if (s.size() == before)
            break;
        b.Decorated = true;
    }
    b.Number = s;
    return b;
}

bool Fail(QString *reason, const QString &why) {
    if (reason)
        *reason = why;
    return false;
}

} // namespace

bool TMoneyText::Parse(QStringView text, bool decimalComma, qint64 *cents, QString *reason) {
    const TBare bare = StripDecoration(text);
    const QStringView s = bare.Number;
    if (s.isEmpty() || bare.Signs > 1)
        return Fail(reason, QCoreApplication::translate("TMoneyText", "%1 is not an amount")
                                .arg(QuotedForReport(text.trimmed())));
    const QChar decimal = decimalComma ? u',' : u'.';
    const QChar group = decimalComma ? u'.' : u',';
    const qsizetype point = s.lastIndexOf(decimal);
    if (point >= 0 && s.indexOf(decimal) != point)
        return Fail(reason, QCoreApplication::translate("TMoneyText", "%1 is not an amount")
                                .arg(QuotedForReport(text.trimmed())));
    const QStringView whole = point >= 0 ? s.left(point) : s;
    const QStringView fraction = point >= 0 ? s.mid(point + 1) : QStringView();

    // Whole part: digits, grouped by threes when grouped at all.
    qint64 units = 0;
    int digits = 0, groupDigits = 0, groups = 0;
    bool lastWasMark = false;
    for (QChar c : whole) {
        if (IsDigit(c)) {
            if (digits > 0 || c != u'0') {
                if (digits >= 12)
                    return Fail(reason, QCoreApplication::translate("TMoneyText", "%1 is too large")
                                            .arg(QuotedForReport(text.trimmed())));
                units = units * 10 + (c.unicode() - '0');
                ++digits;
            }
            ++groupDigits;
            lastWasMark = false;
        } else if ((c == group || IsGroupMark(c)) && !lastWasMark &&
                   (groups == 0 ? groupDigits >= 1 && groupDigits <= 3 : groupDigits == 3)) {
            ++groups;
            groupDigits = 0;
            lastWasMark = true;
        } else {
            return Fail(reason, QCoreApplication::translate("TMoneyText", "%1 is not an amount")
                                    .arg(QuotedForReport(text.trimmed())));
        }
    }
    if (lastWasMark || (groups > 0 && groupDigits != 3))
        return Fail(reason, QCoreApplication::translate("TMoneyText", "%1 is not an amount")
                                .arg(QuotedForReport(text.trimmed())));
    const bool anyWhole = groups > 0 || groupDigits > 0;

    // Fraction: digits only; beyond two places only zeros.
    qint64 hundredths = 0;
    for (qsizetype i = 0; i < fraction.size(); ++i) {
        const QChar c = fraction[i];
        if (!IsDigit(c))
            return Fail(reason, QCoreApplication::translate("TMoneyText", "%1 is not an amount")
                                    .arg(QuotedForReport(text.trimmed())));
        if (i < 2)
            hundredths += (c.unicode() - '0') * (i == 0 ? 10 : 1);
        else if (c != u'0')
            return Fail(reason, QCoreApplication::translate("TMoneyText",
                                                            "%1 has more than two decimal places")
                                    .arg(QuotedForReport(text.trimmed())));
    }
    if (!anyWhole && fraction.isEmpty())
        return Fail(reason, QCoreApplication::translate("TMoneyText", "%1 is not an amount")
                                .arg(QuotedForReport(text.trimmed())));
    const qint64 value = units * 100 + hundredths;
    if (value > kMaxCents)
        return Fail(reason, QCoreApplication::translate("TMoneyText", "%1 is too large")
                                .arg(QuotedForReport(text.trimmed())));
    *cents = bare.Negative ? -value : value;
    return true;
}

bool TMoneyText::LooksLikeAmount(QStringView text) {
    qint64 cents = 0;
    return Parse(text, false, &cents) || Parse(text, true, &cents);
}

int TMoneyText::DecimalHint(QStringView text) {
    const QStringView s = StripDecoration(text).Number;
    const qsizetype point = s.lastIndexOf(u'.'), comma = s.lastIndexOf(u',');
    if (point >= 0 && comma >= 0)
        return point > comma ? 1 : -1;
    const qsizetype at = point >= 0 ? point : comma;
    if (at < 0)
        return 0;
    const bool isPoint = point >= 0;
    if (s.indexOf(s[at]) != at) // the same mark twice groups thousands
        return isPoint ? -1 : 1;
    qsizetype after = 0;
    while (at + 1 + after < s.size() && IsDigit(s[at + 1 + after]))
        ++after;
    if (at + 1 + after != s.size())
        return 0;
    if (after == 3)
        return isPoint ? -1 : 1;
    if (after == 1 || after == 2)
        return isPoint ? 1 : -1;
    return 0;
}

bool TMoneyText::LooksLikeMoney(QStringView text) {
    const TBare bare = StripDecoration(text);
    return bare.Decorated || bare.Number.contains(u'.') || bare.Number.contains(u',');
}
