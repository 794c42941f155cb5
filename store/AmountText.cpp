#include "store/AmountText.h"

#include <QRegularExpression>

#include <cmath>

bool IsDecimalText(const QString &text, double *value) {
    static const QRegularExpression decimal(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    if (!decimal.match(text).hasMatch())
        return false;
    bool ok = false;
    const double v = text.toDouble(&ok); // QString::toDouble always uses "."
    if (!ok)
        return false;
    if (value)
        *value = v;
    return true;
}

bool IsAcceptableAmount(const QString &text, double *value) {
    double v = 0;
    if (!IsDecimalText(text.trimmed(), &v))
        return false;
    if (v < 0.01 || v > kMaxAmount)
        return false;
    if (value)
        *value = v;
    return true;
}

bool IsAcceptableAmount(const QString &text, qint64 *cents) {
    double v = 0;
    if (!IsAcceptableAmount(text, &v))
        return false;
    if (cents)
        *cents = AmountCents(v);
    return true;
}

qint64 AmountCents(double value) {
    // Fast path: when value * 100 lies well away from a halfway point (always
    // so for amounts of whole cents), its nearest integer is the correctly
    // rounded number of cents, the digits printf would write.
    const double scaled = value * 100;
    const double whole = std::nearbyint(scaled);
    if (std::fabs(scaled - whole) < 0.49)
        return qint64(whole);
    // Near a halfway point the product may have been rounded across it: the
    // digits printf writes for the exact value decide.
    const QString text = QString::asprintf("%0.2f", value);
    const qsizetype dot = text.indexOf(u'.');
    const qint64 units = text.left(dot).toLongLong();
    const qint64 hundredths = text.mid(dot + 1).toLongLong();
    return text.startsWith(u'-') ? units * 100 - hundredths : units * 100 + hundredths;
}

QString FormatAmount(double value) {
    QString text = QString::asprintf("%0.2f", value);
    if (text == QLatin1String("-0.00"))
        text.remove(0, 1);
    return text;
}

namespace {

// Writes "-1234.56" for -123456 cents at the end of `buf`; its first
// character. Written by hand: this runs for every row of a long list.
const char *WriteCents(char (&buf)[24], qint64 cents) {
    const bool negative = cents < 0;
    quint64 n = negative ? 0 - quint64(cents) : quint64(cents);
    char *p = buf + sizeof buf;
    *--p = char('0' + n % 10);
    *--p = char('0' + n / 10 % 10);
    *--p = '.';
    n /= 100;
    do {
        *--p = char('0' + n % 10);
        n /= 10;
    } while (n);
    if (negative)
        *--p = '-';
    return p;
}

} // namespace

QString CentsText(qint64 cents) {
    char buf[24];
    const char *p = WriteCents(buf, cents);
    return QString::fromLatin1(p, buf + sizeof buf - p);
}

void AppendCentsText(QByteArray &out, qint64 cents) {
    char buf[24];
    const char *p = WriteCents(buf, cents);
    out.append(p, buf + sizeof buf - p);
}

QString ShareText(qint64 part, qint64 total) {
    if (total == 0)
        return QStringLiteral("0.00%");
    return FormatAmount(double(part) * 100 / double(total)) + u'%';
}
