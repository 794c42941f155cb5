// The exports on the rows of a real search of the benchmark book: carol's ten
// years (about 200,000 transactions) to an HTML page, and 65,000 of them into
// the XLS template (the most a worksheet takes with the heading and totals).
#include "bench/BookGenerator.h"
#include "export/HtmlExport.h"
#include "export/XlsExport.h"
#include "store/DbClass.h"
#include "store/KestrelClass.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct TSearch {
    TExportHead Head;
    TStringsArray Trans;
    TStringsArray Cates;
};

// One search of the whole book, made once for all export benchmarks.
const TSearch &BookSearch() {
    static const TSearch search = [] {
        TSearch s;
        s.Head.UserName = QStringLiteral("carol");
        s.Head.SearchFrom = TBookGenerator::FirstDay();
        s.Head.SearchTo = TBookGenerator::LastDay();
        TDbMan db(TBookGenerator::BookPath());
        TStringsArray day, month, outCates, inCates;
        db.QueryPeriod(s.Head.UserName, s.Head.SearchFrom.toString("MM/dd/yyyy"),
                       s.Head.SearchTo.toString("MM/dd/yyyy"), s.Head.PeriodExpenses,
                       s.Head.PeriodIncome, day, month, s.Trans, outCates, inCates);
        s.Cates = inCates + outCates;
        return s;
    }();
    return search;
}

void exportHtml(benchmark::State &state, TExportKind kind, const TStringsArray &rows) {
    QTemporaryDir dir;
    const QString out = dir.filePath("page.html");
    const QString templ =
        TKestrel::ProgramPath() + (kind == TExportKind::Categories ? "cates.html" : "trans.html");
    for (auto _ : state)
        THtmlExport::Export(kind, templ, out, BookSearch().Head, rows);
    state.counters["rows"] = double(rows.size());
    state.counters["MB"] = double(QFileInfo(out).size()) / 1e6;
}

void exportXls(benchmark::State &state, TExportKind kind, const TStringsArray &rows) {
    QTemporaryDir dir;
    const QString out = dir.filePath("book.xls");
    const QString templ =
        TKestrel::ProgramPath() + (kind == TExportKind::Categories ? "cates.xls" : "trans.xls");
    for (auto _ : state)
        TXlsExport::Export(kind, templ, out, BookSearch().Head, rows);
    state.counters["rows"] = double(rows.size());
    state.counters["MB"] = double(QFileInfo(out).size()) / 1e6;
    // Keep the last workbook for a look in a spreadsheet program.
    if (!qEnvironmentVariableIsEmpty("LEDGERLY_BENCH_KEEP"))
        QFile::copy(out, qEnvironmentVariable("LEDGERLY_BENCH_KEEP"));
}

void BM_ExportHtml_Trans200k(benchmark::State &state) {
    exportHtml(state, TExportKind::Transactions, BookSearch().Trans);
}
void BM_ExportHtml_Cates(benchmark::State &state) {
    exportHtml(state, TExportKind::Categories, BookSearch().Cates);
}
void BM_ExportXls_Trans65k(benchmark::State &state) {
    exportXls(state, TExportKind::Transactions, BookSearch().Trans.mid(0, 65000));
}
void BM_ExportXls_Cates(benchmark::State &state) {
    exportXls(state, TExportKind::Categories, BookSearch().Cates);
}

} // namespace

BENCHMARK(BM_ExportHtml_Trans200k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportHtml_Cates)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportXls_Trans65k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportXls_Cates)->Unit(benchmark::kMillisecond);
