#pragma once

#include <QByteArray>
#include <QString>

// Amount texts: "." is the decimal separator whatever the locale, so a stored
// amount is always a plain decimal number.

// The largest amount the program accepts (it still fits the amount columns).
inline constexpr double kMaxAmount = 999999999999.99;

// True when `text` (already trimmed) is a plain decimal number: optional sign,
// digits with at most one ".", no exponent, no "inf"/"nan", no hexadecimal.
bool IsDecimalText(const QString &text, double *value = nullptr);

// The rule of the Add and Save buttons: trimmed text is a plain decimal
// number of at least 0.01 and at most kMaxAmount. `cents` receives the
// amount rounded to whole cents.
bool IsAcceptableAmount(const QString &text, double *value = nullptr);
bool IsAcceptableAmount(const QString &text, qint64 *cents);

// The whole cents that "%0.2f" writes for `value` (the exact binary value
// rounded to two decimals); values beyond the amount limit are not asked for.
qint64 AmountCents(double value);

// "%0.2f" with "." as separator; a value that rounds to zero is "0.00",
// never "-0.00".
QString FormatAmount(double value);
// The same text of a number of cents, exactly.
QString CentsText(qint64 cents);
// The same text appended to `out` as Latin-1 bytes.
void AppendCentsText(QByteArray &out, qint64 cents);
// `part` as a share of `total`, "%0.2f%%"; "0.00%" when the total is nothing.
QString ShareText(qint64 part, qint64 total);
