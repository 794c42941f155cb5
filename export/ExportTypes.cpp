#include "export/ExportTypes.h"

QString ExportMoney(double value) {
    QString text = QString::asprintf("%0.2f", value);
    // A difference of sums such as 0.1 + 0.2 - 0.3 is a tiny negative number;
    // it must not show as a loss.
    if (text == QLatin1String("-0.00"))
        text = QStringLiteral("0.00");
    return text;
}

QString ExportPeriodLine(const TExportHead &head) {
    const QString format = QStringLiteral("MM/dd/yyyy");
    return QStringLiteral("%1 (%2 - %3)")
        .arg(head.UserName, head.SearchFrom.toString(format), head.SearchTo.toString(format));
}
