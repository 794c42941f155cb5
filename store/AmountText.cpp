#include "store/AmountText.h"

#include <QRegularExpression>

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

QString FormatAmount(double value) {
    return QString::asprintf("%0.2f", value);
}
