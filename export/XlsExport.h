#pragma once

#include "export/ExportTypes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Fills a copy of an Excel 97-2003 template workbook: the rows, then the
// period line and the three totals go below the rows of its sheet "Sheet1",
// every cell as text, each value in the column whose heading (in the sheet's
// first row) names it. Everything else in the file is copied unchanged.
class TXlsExport {
public:
    // Headings the template's first row must hold.
    static QStringList ColumnNames(TExportKind kind);

    // The sheet rows the export appends, in order, as texts by column name:
    // row i has one text per name of ColumnNames(kind); a summary row has
    // text under "Category" only (empty texts elsewhere).
    static QList<QStringList> SheetRows(TExportKind kind, const TReportHead &head,
                                        const TPeriod &period);

    // The filled workbook file made from the template file's bytes.
    static QByteArray BuildWorkbook(TExportKind kind, const QByteArray &templateFile,
                                    const TReportHead &head, const TPeriod &period);

    // Reads the template, fills it and writes the workbook in one piece
    // (temporary file renamed into place): a failure leaves no partial file
    // and keeps a file that was there. Throws TExportError with the reason.
    static void Export(TExportKind kind, const QString &templateFile, const QString &outFile,
                       const TReportHead &head, const TPeriod &period);
};
