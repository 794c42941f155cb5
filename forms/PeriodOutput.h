#pragma once

#include "export/ExportTypes.h"
#include "reports/RenderedPage.h"

#include <functional>

class QFileDialog;
class QWidget;

// The exports and printouts of a searched period, shared by the panels that
// show it. Both work on the typed period result of the last search.

// Asks for the file in `dialog` (the extension of the format is appended
// when the name lacks it, asking before an existing file is replaced),
// writes the rows of `kind` as an HTML page or an Excel 97-2003 workbook
// from the template beside the program, and reports success. Throws when
// the export fails; nothing is then left half-written.
void ExportPeriod(QWidget *owner, QFileDialog *dialog, TExportKind kind, bool xls,
                  const TReportHead &head, const TPeriod &period);

// Export for Spreadsheets: asks for the file in `dialog`, offering Excel
// workbooks and CSV; a name that ends in ".xlsx" or ".csv" (any letter case)
// says the type, any other name gets the extension of the chosen filter
// appended (asking before an existing file is replaced). Writes the rows of
// `kind` (TSheetExport), dates shown in the system's short format, and
// reports success. Throws when the export fails; an existing file is then
// left as it was.
void ExportSheet(QWidget *owner, QFileDialog *dialog, TExportKind kind, const TReportHead &head,
                 const TPeriod &period);

// Lays the rows of `kind` out on A4 pages and shows them in the print
// preview, from where they are printed. Nothing happens without rows.
void PrintPeriod(QWidget *owner, TExportKind kind, const TReportHead &head, const TPeriod &period);

// Asks for a picture file in `dialog`, offering PNG images and SVG drawings;
// a name that ends in ".png" or ".svg" (any letter case) says the format,
// any other name gets the extension of the chosen filter appended (asking
// before an existing file is replaced). `picture` makes the bytes of the
// format (true: SVG); they are written whole through the checked writer,
// and success is reported. Throws when the picture cannot be made or
// written; an existing file is then left as it was.
void SavePicture(QWidget *owner, QFileDialog *dialog,
                 const std::function<QByteArray(bool svg)> &picture);

// Shows one A4 page in the print preview, from where it is printed: the page
// head of the printouts and under it the drawing that `draw` paints.
void PrintPicture(QWidget *owner, const TReportHead &head, const TRenderedPage::TDraw &draw);

// "Income: %0.2f    Expenses: %0.2f    Net Income: %0.2f"
QString PeriodTotalsText(qint64 incomeCents, qint64 expenseCents);
