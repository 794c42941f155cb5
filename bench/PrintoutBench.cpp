// The transactions printout of a long search: 10,000 rows make 193 pages.
// What the user waits for is the preview showing its first page: building
// the page reports, rendering them into pages and painting page 1.

#include "forms/PrintForm.h"
#include "reports/CompositeReport.h"
#include "reports/Printout.h"
#include "reports/ReportPreview.h"

#include <QCoreApplication>
#include <QDate>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

TPeriod TransactionRows(int count) {
    static const char *categories[] = {"Food",      "Rent",       "Transport", "Books",
                                       "Utilities", "Eating out", "Salary",    "Health"};
    static const char *notes[] = {"",
                                  "weekly shop",
                                  "bus pass for the month",
                                  "",
                                  "dinner with friends at the corner place",
                                  "refund",
                                  ""};
    TPeriod period;
    period.Records.reserve(count);
    const QDate start(2016, 1, 1);
    for (int i = 0; i < count; ++i) {
        const bool income = i % 7 == 6;
        period.Records.append(
            {100000 + i, start.addDays(i / 3), income ? TRecordType::Income : TRecordType::Expense,
             categories[i % 8], (1 + (i * 37) % 500) * 100 + (i * 13) % 100, notes[i % 7]});
    }
    return period;
}

TReportHead Head() {
    return {"carol", QDate(2016, 1, 1), QDate(2025, 12, 31), 52345678, 41234567};
}

void BM_PrintoutBuild10k(benchmark::State &state) {
    const TPeriod rows = TransactionRows(10000);
    for (auto _ : state) {
        TPrintout printout;
        printout.BuildTransactionsPrintout(Head(), rows);
        benchmark::DoNotOptimize(printout.Reports.size());
    }
}
BENCHMARK(BM_PrintoutBuild10k)->Unit(benchmark::kMillisecond);

// From the rows to page 1 on screen: build, prepare, create the preview
// window, show it and paint the page.
void BM_PrintoutPreviewFirstPage10k(benchmark::State &state) {
    const TPeriod rows = TransactionRows(10000);
    int pages = 0;
    for (auto _ : state) {
        TPrintout printout;
        printout.BuildTransactionsPrintout(Head(), rows);
        TCompositeReport composite;
        composite.OnAddReports = [&](TCompositeReport &c) { printout.AddReports(c); };
        composite.Prepare();
        TfrmPrint form(nullptr);
        form.CompositeReport = &composite;
        form.ShowPages();
        form.show();
        QCoreApplication::processEvents();
        auto *preview = form.findChild<TReportPreview *>("QRPreview1");
        benchmark::DoNotOptimize(preview->widget()->grab());
        pages = preview->PageCount();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_PrintoutPreviewFirstPage10k)->Unit(benchmark::kMillisecond);

// Printing all 193 pages to a PDF file (the printer path).
void BM_PrintoutPrintPdf10k(benchmark::State &state) {
    const TPeriod rows = TransactionRows(10000);
    QTemporaryDir dir;
    TPrintout printout;
    printout.BuildTransactionsPrintout(Head(), rows);
    TCompositeReport composite;
    composite.OnAddReports = [&](TCompositeReport &c) { printout.AddReports(c); };
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("out.pdf"));
        composite.Print(printer);
    }
}
BENCHMARK(BM_PrintoutPrintPdf10k)->Unit(benchmark::kMillisecond);

} // namespace
