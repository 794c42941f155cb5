#include "forms/PeriodOutput.h"

#include "export/HtmlExport.h"
#include "export/SheetExport.h"
#include "export/XlsExport.h"
#include "forms/BusyGuard.h"
#include "forms/Dialogs.h"
#include "forms/PrintForm.h"
#include "reports/CompositeReport.h"
#include "reports/Printout.h"
#include "reports/ReportMetrics.h"
#include "store/AmountText.h"
#include "store/CheckedFile.h"
#include "store/ProgramFiles.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QLocale>

void ExportPeriod(QWidget *owner, QFileDialog *dialog, TExportKind kind, bool xls,
                  const TReportHead &head, const TPeriod &period) {
    // The wait cursor shows from before the dialog opens; the guard takes it
    // away again whether the export succeeds, is cancelled or fails.
    TBusyGuard busy;
    const QString extension = xls ? QStringLiteral(".xls") : QStringLiteral(".html");
    const QString pattern = QLatin1Char('*') + extension;
    const QString chosen = RunFileDialog(dialog, QStringLiteral("%1 (%1)").arg(pattern));
    if (chosen.isEmpty())
        return;
    const QString fileName = WithExtension(chosen, extension);
    if (fileName != chosen && !MayReplace(owner, fileName))
        return;

    const QString templateFile = InstalledFile(
        (kind == TExportKind::Categories ? QStringLiteral("cates") : QStringLiteral("trans")) +
        extension);
    if (xls)
        TXlsExport::Export(kind, templateFile, fileName, head, period);
    else
        THtmlExport::Export(kind, templateFile, fileName, head, period);
    busy.Release();
    ShowInformation(
        owner, QStringLiteral("Ledgerly"),
        QCoreApplication::translate("PeriodOutput", "SUCCESS!\r\n\r\n%1").arg(fileName));
}

void ExportSheet(QWidget *owner, QFileDialog *dialog, TExportKind kind, const TReportHead &head,
                 const TPeriod &period) {
    TBusyGuard busy;
    const QString xlsx = QCoreApplication::translate("PeriodOutput", "Excel Workbook (*.xlsx)");
    const QString csv = QCoreApplication::translate("PeriodOutput", "CSV (*.csv)");
    QString filter;
    const QString chosen = RunFileDialog(dialog, {xlsx, csv}, &filter);
    if (chosen.isEmpty())
        return;
    const QString dotCsv = QStringLiteral(".csv");
    const bool named = chosen.endsWith(dotCsv, Qt::CaseInsensitive) ||
                       chosen.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive);
    const bool asCsv = named ? chosen.endsWith(dotCsv, Qt::CaseInsensitive) : filter == csv;
    const QString fileName =
        named ? chosen : WithExtension(chosen, asCsv ? dotCsv : QStringLiteral(".xlsx"));
    if (fileName != chosen && !MayReplace(owner, fileName))
        return;
    TSheetExport::Export(kind, asCsv ? TSheetFormat::Csv : TSheetFormat::Xlsx, fileName, head,
                         period, QLocale().dateFormat(QLocale::ShortFormat));
    busy.Release();
    ShowInformation(owner, QStringLiteral("Ledgerly"),
                    QStringLiteral("SUCCESS!\r\n\r\n") + fileName);
}

void PrintPeriod(QWidget *owner, TExportKind kind, const TReportHead &head, const TPeriod &period) {
    const bool categories = kind == TExportKind::Categories;
    const qsizetype rows = categories
                               ? period.IncomeCategories.size() + period.ExpenseCategories.size()
                               : period.Records.size();
    if (rows == 0)
        return;
    // The page reports live as long as the preview; they are freed on every
    // way out, also when building or previewing fails.
    TPrintout printout(TReportMetrics::ScreenDpi(Qt::Horizontal),
                       TReportMetrics::ScreenDpi(Qt::Vertical));
    if (categories)
        printout.BuildCategoriesPrintout(head, period);
    else
        printout.BuildTransactionsPrintout(head, period);
    TCompositeReport composite;
    composite.OnAddReports = [&printout](TCompositeReport &c) { printout.AddReports(c); };
    TfrmPrint::ShowReportPreview(owner, composite);
    composite.Reports.clear();
}

void SavePicture(QWidget *owner, QFileDialog *dialog,
                 const std::function<QByteArray(bool svg)> &picture) {
    TBusyGuard busy;
    // The descriptions are the user's words; the patterns stay as they are.
    const QString png =
        QCoreApplication::translate("PeriodOutput", "PNG image (%1)").arg(QStringLiteral("*.png"));
    const QString svg = QCoreApplication::translate("PeriodOutput", "SVG drawing (%1)")
                            .arg(QStringLiteral("*.svg"));
    QString filter;
    const QString chosen = RunFileDialog(dialog, {png, svg}, &filter);
    if (chosen.isEmpty())
        return;
    const QString dotSvg = QStringLiteral(".svg");
    const bool named = chosen.endsWith(dotSvg, Qt::CaseInsensitive) ||
                       chosen.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
    const bool asSvg = named ? chosen.endsWith(dotSvg, Qt::CaseInsensitive) : filter == svg;
    const QString fileName =
        named ? chosen : WithExtension(chosen, asSvg ? dotSvg : QStringLiteral(".png"));
    if (fileName != chosen && !MayReplace(owner, fileName))
        return;
    TCheckedFile::WriteWhole(fileName, picture(asSvg), TCheckedFile::TAccess::Shared);
    busy.Release();
    ShowInformation(
        owner, QStringLiteral("Ledgerly"),
        QCoreApplication::translate("PeriodOutput", "SUCCESS!\r\n\r\n%1").arg(fileName));
}

void PrintPicture(QWidget *owner, const TReportHead &head, const TRenderedPage::TDraw &draw) {
    TPrintout printout(TReportMetrics::ScreenDpi(Qt::Horizontal),
                       TReportMetrics::ScreenDpi(Qt::Vertical));
    printout.BuildPicturePrintout(head, draw);
    TCompositeReport composite;
    composite.OnAddReports = [&printout](TCompositeReport &c) { printout.AddReports(c); };
    TfrmPrint::ShowReportPreview(owner, composite);
    composite.Reports.clear();
}

QString PeriodTotalsText(qint64 incomeCents, qint64 expenseCents) {
    return QCoreApplication::translate("PeriodOutput",
                                       "Income: %1    Expenses: %2    Net Income: %3")
        .arg(CentsText(incomeCents), CentsText(expenseCents),
             CentsText(incomeCents - expenseCents));
}
