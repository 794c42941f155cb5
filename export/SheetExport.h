#pragma once

#include "export/ExportTypes.h"

#include <QString>
#include <QStringList>

// The file types of the export for spreadsheets.
enum class TSheetFormat { Xlsx, Csv };

// Writes the records or the category lists of a search as one table that a
// spreadsheet can sort, filter and sum: a header row, then a row per record
// or category. Amounts are numbers signed by their direction, money in
// positive and money out negative, so the sum of the column is the net
// income, and a filter on the type gives the income or the expenses.
//
//   Transactions: Date, Type, Category, Amount, Notes (the list's order)
//   Categories:   Type, Category, Count, Amount, Share (income first; the
//                 share is of its type's total)
//
// .xlsx: dates are date cells, amounts numbers with two decimals, shares
// percentages; the header row is frozen and holds an autofilter, and every
// column is as wide as its content. Below the rows, after an empty one, come
// the totals of money in, money out and the net as formulas over the rows
// (their values stored too, for readers that do not calculate), then the
// period line.
//
// .csv: UTF-8 with byte-order mark, commas, CRLF line ends, fields quoted as
// RFC 4180 says; ISO dates, amounts with a point and two decimals, no totals
// (they would count twice in a sum of the column). A text that a spreadsheet
// would run as a formula (starting with = + - @) gets a leading apostrophe.
class TSheetExport {
public:
    // The header row.
    static QStringList ColumnNames(TExportKind kind);

    // The spreadsheet number format that shows dates as the Qt date format
    // `qtFormat` does ("M/d/yy" -> "m/d/yy", "dd.MM.yyyy" -> "dd.mm.yyyy");
    // other text of the format is kept as literal text.
    static QString ExcelDateFormat(const QString &qtFormat);

    // Writes the file through the checked writer: a failure leaves no partial
    // file and keeps a file that was there. `dateFormat` is the Qt date
    // format the .xlsx shows dates in, as QLocale().dateFormat(
    // QLocale::ShortFormat) gives it; empty is yyyy-MM-dd (the .csv always
    // writes ISO dates). Throws TExportError naming the file, the reason and
    // what to do.
    static void Export(TExportKind kind, TSheetFormat format, const QString &outFile,
                       const TReportHead &head, const TPeriod &period,
                       const QString &dateFormat = QString());
};
