#pragma once

#include "store/Records.h"

#include <QDate>
#include <QString>

#include <array>
#include <stdexcept>

// What the exports and the printouts show above and below the rows: who
// searched, which period, and the period's totals.
struct TReportHead {
    QString UserName;
    QDate SearchFrom;
    QDate SearchTo;
    qint64 IncomeCents = 0;
    qint64 ExpenseCents = 0;

    static TReportHead Of(const QString &user, QDate from, QDate to, const TPeriod &period);
};

// The category totals of a period, or its records.
enum class TExportKind { Categories, Transactions };

// Raised by a failing export; what() says what went wrong in words for the user.
class TExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    explicit TExportError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

// The texts of a category row as the category lists show them: type,
// category, qty, the sum under "In" or "Out" (the other one empty), share.
using TCategoryTexts = std::array<QString, 6>;
// Income categories first, then expense categories, each in list order.
QList<TCategoryTexts> CategoryRowTexts(const TPeriod &period);

// The texts of a record as the transaction list shows it: date, category,
// the amount under "In" or "Out" (the other one empty), notes.
using TRecordTexts = std::array<QString, 5>;
TRecordTexts RecordRowTexts(const TRecord &record);

// "user (mm/dd/yyyy - mm/dd/yyyy)", the period line of both exports.
QString ExportPeriodLine(const TReportHead &head);
