#pragma once

#include <QDate>
#include <QString>

#include <stdexcept>

// What both exports write besides the rows: who searched, which period, and
// the period's totals.
struct TExportHead {
    QString UserName;
    QDate SearchFrom;
    QDate SearchTo;
    double PeriodIncome = 0;
    double PeriodExpenses = 0;
};

// Categories rows: type, category, qty, sum, share.
// Transactions rows: id, date, category, income, expense, notes.
enum class TExportKind { Categories, Transactions };

// Raised by a failing export; what() says what went wrong in words for the user.
class TExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    explicit TExportError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

// "%0.2f" with "." as separator; a value that rounds to zero is written
// "0.00", never "-0.00".
QString ExportMoney(double value);

// "user (mm/dd/yyyy - mm/dd/yyyy)", the period line of both exports.
QString ExportPeriodLine(const TExportHead &head);
