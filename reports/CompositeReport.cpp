#include "reports/CompositeReport.h"

#include "reports/PageReport.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

TRenderedPages TCompositeReport::RenderAll() {
    if (OnAddReports)
        OnAddReports(*this);
    TRenderedPages pages;
    pages.reserve(Reports.size());
    for (const TPageReport *report : Reports) {
        if (report)
            pages.append(report->Render());
    }
    return pages;
}

void TCompositeReport::Prepare() {
    FPages = RenderAll();
}

bool TCompositeReport::PrintSetup(QPrinter &printer, const TPrintDialogHook &askUser) {
    TPrinterSettings &settings = PrinterSettings;
    if (!settings.PrinterName.isEmpty())
        printer.setPrinterName(settings.PrinterName);
    printer.setCopyCount(settings.Copies);
    printer.setCollateCopies(settings.Collate);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPrintRange(QPrinter::AllPages);

    if (!askUser(printer, PageCount()))
        return false;

    settings.PrinterName = printer.printerName();
    const QStringList names = QPrinterInfo::availablePrinterNames();
    settings.PrinterIndex = qMax(0, static_cast<int>(names.indexOf(settings.PrinterName)));
    settings.Copies = qMax(1, printer.copyCount());
    settings.Collate = printer.collateCopies();
    settings.Orientation = printer.pageLayout().orientation();
    if (printer.printRange() == QPrinter::PageRange) {
        settings.FirstPage = printer.fromPage();
        settings.LastPage = printer.toPage();
    } else {
        settings.FirstPage = 0;
        settings.LastPage = 0;
    }
    return true;
}

void TCompositeReport::Print(QPrinter &printer) {
    const TRenderedPages pages = RenderAll();
    const int count = static_cast<int>(pages.size());
    if (count == 0)
        throw TReportError("The printout has no pages.");

    int first = PrinterSettings.FirstPage;
    int last = PrinterSettings.LastPage;
    if (first == 0 && last == 0) {
        first = 1;
        last = count;
    }
    first = qMax(1, first);
    last = qMin(count, last == 0 ? count : last);
    if (first > last)
        throw TReportError(QString("The page range %1 to %2 lies outside the printout's %3 pages.")
                               .arg(PrinterSettings.FirstPage)
                               .arg(PrinterSettings.LastPage)
                               .arg(count)
                               .toStdString());

    // The page is laid out for the paper; nothing of the printer's own
    // margins is added on top.
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(PrinterSettings.PaperSize),
                                      PrinterSettings.Orientation, QMarginsF(0, 0, 0, 0)));
    printer.setCopyCount(PrinterSettings.Copies);
    printer.setCollateCopies(PrinterSettings.Collate);
    printer.setFromTo(first, last);
    printer.setDocName("Ledgerly");

    // A printer that makes copies itself gets each page once.
    const int copies = printer.supportsMultipleCopies() ? 1 : qMax(1, PrinterSettings.Copies);
    const bool collate = PrinterSettings.Collate;

    QPainter painter;
    if (!painter.begin(&printer))
        throw TReportError("The printer could not be started. Check that it is installed and "
                           "ready, then print again.");
    bool firstSheet = true;
    auto printPage = [&](int number) {
        if (!firstSheet && !printer.newPage())
            throw TReportError("The printer did not take the next page.");
        firstSheet = false;
        pages.at(number - 1).Paint(painter, QPointF(0, 0));
    };
    try {
        const int outer = collate ? copies : 1;
        const int inner = collate ? 1 : copies;
        for (int c = 0; c < outer; ++c)
            for (int page = first; page <= last; ++page)
                for (int i = 0; i < inner; ++i)
                    printPage(page);
    } catch (...) {
        printer.abort();
        painter.end();
        throw;
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw TReportError("The printer reported an error; the printout may be incomplete.");
}
