#pragma once

#include <QString>

// Amount texts: "." is the decimal separator whatever the locale, so a stored
// amount is always a plain decimal number.

// The largest amount the program accepts (it still fits the amount columns).
inline constexpr double kMaxAmount = 999999999999.99;

// True when `text` (already trimmed) is a plain decimal number: optional sign,
// digits with at most one ".", no exponent, no "inf"/"nan", no hexadecimal.
bool IsDecimalText(const QString &text, double *value = nullptr);

// The rule of the Add and Save buttons: trimmed text is a plain decimal
// number of at least 0.01 and at most kMaxAmount.
bool IsAcceptableAmount(const QString &text, double *value = nullptr);

// "%0.2f" with "." as separator.
QString FormatAmount(double value);
