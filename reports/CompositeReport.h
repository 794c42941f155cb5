#pragma once

#include "reports/RenderedPage.h"

#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include <functional>
#include <stdexcept>

class QPrinter;
class QWidget;
class TPageReport;

// Raised when a printout cannot be rendered or printed; what() says why in
// words for the user.
class TReportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the composite report prints with. A confirmed print dialog stores its
// choices here, and the next dialog starts from them.
struct TPrinterSettings {
    int PrinterIndex = -1; // -1: the system's default printer, nothing chosen yet
    QString PrinterName;   // the printer last chosen, empty for the default
    int Copies = 1;
    bool Collate = true;
    int FirstPage = 0; // 0 and 0: all pages
    int LastPage = 0;
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;
    QPageSize::PageSizeId PaperSize = QPageSize::A4;
};

// Chains page reports into one printout. Preparing asks OnAddReports for the
// reports to chain and renders them, in list order, into one set of pages;
// printing renders them again, to a printer. The composite does not own the
// reports in its list.
class TCompositeReport {
public:
    std::function<void(TCompositeReport &)> OnAddReports;

    TPrinterSettings PrinterSettings;

    // The chained reports (filled by OnAddReports).
    QList<TPageReport *> Reports;

    // Renders the chained reports into a fresh set of pages.
    void Prepare();
    const TRenderedPages &Pages() const { return FPages; }
    int PageCount() const { return static_cast<int>(FPages.size()); }

    // Asks the user how to print on `printer`, which starts from the printer
    // settings on A4 portrait, offering pages 1 to `pageCount`; true when the
    // user confirmed, with `printer` configured as chosen. The window layer
    // gives it (the print dialog), so that this layer shows no window itself.
    using TPrintDialogHook = std::function<bool(QPrinter &printer, int pageCount)>;

    // Sets `printer` up from the printer settings, asks through `askUser`
    // and on confirmation stores the choices in the printer settings.
    // Returns false when the user cancels.
    bool PrintSetup(QPrinter &printer, const TPrintDialogHook &askUser);

    // Renders the chained reports afresh and prints them on `printer` with
    // the paper, orientation, copies and page range of the printer settings.
    // Throws TReportError when the printer fails.
    void Print(QPrinter &printer);

private:
    TRenderedPages RenderAll();

    TRenderedPages FPages;
};
