#include "export/ExportTypes.h"

#include "store/AmountText.h"

TReportHead TReportHead::Of(const QString &user, QDate from, QDate to, const TPeriod &period) {
    return {user, from, to, period.IncomeCents, period.ExpenseCents};
}

QList<TCategoryTexts> CategoryRowTexts(const TPeriod &period) {
    QList<TCategoryTexts> rows;
    rows.reserve(period.IncomeCategories.size() + period.ExpenseCategories.size());
    const auto add = [&rows](TRecordType type, const QList<TCategoryTotal> &totals, qint64 all) {
        const bool income = type == TRecordType::Income;
        for (const TCategoryTotal &total : totals) {
            const QString sum = CentsText(total.Cents);
            rows.append({RecordTypeWord(type), total.Category, QString::number(total.Count),
                         income ? sum : QString(), income ? QString() : sum,
                         ShareText(total.Cents, all)});
        }
    };
    add(TRecordType::Income, period.IncomeCategories, period.IncomeCents);
    add(TRecordType::Expense, period.ExpenseCategories, period.ExpenseCents);
    return rows;
}

TRecordTexts RecordRowTexts(const TRecord &record) {
    const bool income = record.Type == TRecordType::Income;
    const QString amount = CentsText(record.Cents);
    return {record.Date.toString(QStringLiteral("MM/dd/yyyy")), record.Category,
            income ? amount : QString(), income ? QString() : amount, record.Notes};
}

QString ExportPeriodLine(const TReportHead &head) {
    const QString format = QStringLiteral("MM/dd/yyyy");
    return QStringLiteral("%1 (%2 - %3)")
        .arg(head.UserName, head.SearchFrom.toString(format), head.SearchTo.toString(format));
}
