// The exports on the rows of a real search of the benchmark book: carol's ten
// years (about 200,000 transactions) to an HTML page, to .xlsx and to .csv
// for spreadsheets, and 65,000 of them into the XLS template (the most a
// worksheet takes with the heading and totals).
#include "bench/BookGenerator.h"
#include "export/HtmlExport.h"
#include "export/SheetExport.h"
#include "export/XlsExport.h"
#include "store/DbClass.h"
#include "store/ProgramFiles.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct TSearch {
    TReportHead Head;
    TPeriod Period;
    TPeriod First65k; // the first 65,000 records only
};

// One search of the whole book, made once for all export benchmarks.
const TSearch &BookSearch() {
    static const TSearch search = [] {
        TSearch s;
        TDbMan db(TBookGenerator::BookPath());
        TBookGenerator::SignIn(db, QStringLiteral("carol"));
        s.Period = db.ReadPeriod(QStringLiteral("carol"), TBookGenerator::FirstDay(),
                                 TBookGenerator::LastDay());
        s.Head = TReportHead::Of(QStringLiteral("carol"), TBookGenerator::FirstDay(),
                                 TBookGenerator::LastDay(), s.Period);
        s.First65k.Records = s.Period.Records.mid(0, 65000);
        return s;
    }();
    return search;
}

qsizetype rowCount(TExportKind kind, const TPeriod &period) {
    return kind == TExportKind::Categories
               ? period.IncomeCategories.size() + period.ExpenseCategories.size()
               : period.Records.size();
}

void exportHtml(benchmark::State &state, TExportKind kind, const TPeriod &period) {
    QTemporaryDir dir;
    const QString out = dir.filePath("page.html");
    const QString templ =
        InstalledFile(kind == TExportKind::Categories ? "cates.html" : "trans.html");
    for (auto _ : state)
        THtmlExport::Export(kind, templ, out, BookSearch().Head, period);
    state.counters["rows"] = double(rowCount(kind, period));
    state.counters["MB"] = double(QFileInfo(out).size()) / 1e6;
}

void exportXls(benchmark::State &state, TExportKind kind, const TPeriod &period) {
    QTemporaryDir dir;
    const QString out = dir.filePath("book.xls");
    const QString templ =
        InstalledFile(kind == TExportKind::Categories ? "cates.xls" : "trans.xls");
    for (auto _ : state)
        TXlsExport::Export(kind, templ, out, BookSearch().Head, period);
    state.counters["rows"] = double(rowCount(kind, period));
    state.counters["MB"] = double(QFileInfo(out).size()) / 1e6;
}

void exportSheet(benchmark::State &state, TExportKind kind, TSheetFormat format) {
    QTemporaryDir dir;
    const QString out = dir.filePath(format == TSheetFormat::Csv ? QStringLiteral("rows.csv")
                                                                 : QStringLiteral("rows.xlsx"));
    const TSearch &search = BookSearch();
    for (auto _ : state)
        TSheetExport::Export(kind, format, out, search.Head, search.Period,
                             QStringLiteral("M/d/yy"));
    state.counters["rows"] = double(rowCount(kind, search.Period));
    state.counters["MB"] = double(QFileInfo(out).size()) / 1e6;
}

void BM_ExportHtml_Trans200k(benchmark::State &state) {
    exportHtml(state, TExportKind::Transactions, BookSearch().Period);
}
void BM_ExportHtml_Cates(benchmark::State &state) {
    exportHtml(state, TExportKind::Categories, BookSearch().Period);
}
void BM_ExportXls_Trans65k(benchmark::State &state) {
    exportXls(state, TExportKind::Transactions, BookSearch().First65k);
}
void BM_ExportXls_Cates(benchmark::State &state) {
    exportXls(state, TExportKind::Categories, BookSearch().Period);
}
void BM_ExportXlsx_Trans200k(benchmark::State &state) {
    exportSheet(state, TExportKind::Transactions, TSheetFormat::Xlsx);
}
void BM_ExportCsv_Trans200k(benchmark::State &state) {
    exportSheet(state, TExportKind::Transactions, TSheetFormat::Csv);
}
void BM_ExportXlsx_Cates(benchmark::State &state) {
    exportSheet(state, TExportKind::Categories, TSheetFormat::Xlsx);
}

} // namespace

BENCHMARK(BM_ExportHtml_Trans200k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportHtml_Cates)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportXls_Trans65k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportXls_Cates)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportXlsx_Trans200k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv_Trans200k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportXlsx_Cates)->Unit(benchmark::kMillisecond);
