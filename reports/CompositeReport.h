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

    // The print dialog: starts from the printer settings, offers copies and a
    // page range within 1 and PageCount(), and on confirmation stores the
    // choices in the printer settings and leaves `printer` configured.
    // Returns false when the user cancels or there is no printer to print on
    // (the user has then been told so).
    bool PrintSetup(QPrinter &printer, QWidget *parent);

    // Renders the chained reports afresh and prints them on `printer` with
    // the paper, orientation, copies and page range of the printer settings.
    // Throws TReportError when the printer fails.
    void Print(QPrinter &printer);

    // Replaces the print dialog (used where there is no printer to choose,
    // such as automated checks): it configures `printer` and returns whether
    // the print goes ahead, as the dialog's confirmation would.
    using TPrintDialogHook = std::function<bool(QPrinter &printer, int pageCount)>;
    static TPrintDialogHook PrintDialogHook;

private:
    TRenderedPages RenderAll();

    TRenderedPages FPages;
};
