#pragma once

#include <QString>
#include <QStringView>

// Amounts as banks write them, read into whole cents from the decimal text
// itself (never through a floating-point number): "1,234.56", "1.234,56",
// "1 234,56", "1'234.56", "-12.50", "12.50-", "(12.50)", "$12.50",
// "-$12.50", "12,50 €", "EUR 12,50", "+3", ".50", "12.50 DR", "12.50 CR".
class TMoneyText {
public:
    // The largest amount accepted, in cents (the largest the program stores).
    static constexpr qint64 kMaxCents = 99999999999999;

    // Reads `text` with "," (decimalComma) or "." as the decimal separator;
    // the other one, spaces and apostrophes may group thousands. More than
    // two decimal places are refused unless the extra ones are zeros. On
    // failure returns false and says why in `reason`.
    static bool Parse(QStringView text, bool decimalComma, qint64 *cents,
                      QString *reason = nullptr);
    // Whether `text` is an amount with either separator.
    static bool LooksLikeAmount(QStringView text);
    // What `text` tells of the decimal separator: +1 a point, -1 a comma,
    // 0 nothing ("12", "-7"). A separator followed by exactly three digits
    // groups thousands; one followed by one or two digits is the decimal
    // separator; with both present the last one is.
    static int DecimalHint(QStringView text);
    // Whether `text` reads as money rather than a plain count: it has a
    // decimal separator, a sign, parentheses or a currency.
    static bool LooksLikeMoney(QStringView text);
};
