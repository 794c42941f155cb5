// The two printouts: their layout in pixels at the screen's and another
// resolution, and the pages they print, read back from a PDF with pdftotext.

#include "reports/CompositeReport.h"
#include "reports/PageReport.h"
#include "reports/Printout.h"
#include "reports/ReportBand.h"
#include "reports/ReportLabel.h"
#include "reports/ReportMetrics.h"
#include "reports/ReportShape.h"
#include "tests/support/CategoryPeriod.h"
#include "tests/support/PdfWords.h"

#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

namespace {

TReportHead Head(qint64 incomeCents = 123450, qint64 expenseCents = 23425) {
    return {"Alice", QDate(2026, 1, 1), QDate(2026, 12, 31), incomeCents, expenseCents};
}

// `count` records, every third an income.
TPeriod Transactions(int count) {
    TPeriod period;
    for (int i = 0; i < count; ++i) {
        const bool income = i % 3 == 0;
        period.Records.append({1000 + i, QDate(2026, 1, 1).addDays(i),
                               income ? TRecordType::Income : TRecordType::Expense,
                               income ? "Salary" : QString("Food%1").arg(i),
                               (10 + i) * 100 + i % 100, QString("note%1").arg(i)});
    }
    return period;
}

// The texts of those records as the transaction list shows them: id, date,
// category, in, out, notes.
QList<QStringList> TransactionRows(int count) {
    QList<QStringList> rows;
    for (int i = 0; i < count; ++i) {
        const bool income = i % 3 == 0;
        const QString amount = QString::asprintf("%d.%02d", 10 + i, i % 100);
        rows.append({QString::number(1000 + i), QDate(2026, 1, 1).addDays(i).toString("MM/dd/yyyy"),
                     income ? "Salary" : QString("Food%1").arg(i), income ? amount : QString(),
                     income ? QString() : amount, QString("note%1").arg(i)});
    }
    return rows;
}

// The labels of a page report, by caption.
QList<TReportLabel *> Labels(TPageReport *report, const QString &caption) {
    QList<TReportLabel *> found;
    for (TReportControl *control : report->Detail()->Controls())
        if (auto *label = dynamic_cast<TReportLabel *>(control);
            label && label->Caption() == caption)
            found.append(label);
    return found;
}

TReportLabel *Label(TPageReport *report, const QString &caption) {
    const QList<TReportLabel *> found = Labels(report, caption);
    return found.size() == 1 ? found.first() : nullptr;
}

// Prints the printout's page reports to a PDF through the composite report
// and reads the words back.
QList<TPdfPage> PrintToPdf(const TPrintout &printout, const QString &path) {
    TCompositeReport composite;
    composite.OnAddReports = [&](TCompositeReport &c) { printout.AddReports(c); };
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    composite.Print(printer);
    QString error;
    QList<TPdfPage> pages = ReadPdfWords(path, &error);
    if (pages.isEmpty())
        qWarning("%s", qPrintable(error));
    return pages;
}

// Points on paper from the left/top paper edge for n pixels from the band's
// corner at `dpi`.
double Pt(double px, int dpi) {
    return 10 / 25.4 * 72 + px / dpi * 72;
}

} // namespace

class TestPrintouts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void lengthsRoundHalfToEven();
    void pageHeadAndRowsAt96Dpi();
    void layoutAt120Dpi();
    void longUserNameStartsLeftOfContent();
    void transactionsPdfPagesAndHead();
    void categoriesPdfColumns();
    void freeReportsEmptiesAndComposesAfresh();
    void copiesOfARangeOnAPrinterWithoutCopies();

private:
    QTemporaryDir FDir;
};

void TestPrintouts::initTestCase() {
    // LEDGERLY_KEEP_OUTPUT=1 keeps the printed PDF files to look at.
    if (!qEnvironmentVariableIsEmpty("LEDGERLY_KEEP_OUTPUT")) {
        FDir.setAutoRemove(false);
        qInfo("PDF files in %s", qPrintable(FDir.path()));
    }
}

void TestPrintouts::lengthsRoundHalfToEven() {
    QCOMPARE(TReportMetrics::RoundHalfEven(722.5), 722);
    QCOMPARE(TReportMetrics::RoundHalfEven(107.5), 108);
    QCOMPARE(TReportMetrics::RoundHalfEven(-0.5), 0);
    QCOMPARE(TReportMetrics::RoundHalfEven(2.4999), 2);
    QCOMPARE(TReportMetrics::RoundHalfEven(2.5001), 3);

    QCOMPARE(TReportMetrics::Scale(578, 120), 722);
    QCOMPARE(TReportMetrics::Scale(86, 120), 108);
    QCOMPARE(TReportMetrics::Scale(578, 96), 578);

    const struct {
        int Dpi, PageW, PageH, PrintW, PrintH;
    } sizes[] = {{96, 794, 1123, 718, 1047}, {120, 992, 1403, 898, 1309}};
    for (const auto &s : sizes) {
        QCOMPARE(TReportMetrics::PageWidthPx(s.Dpi), s.PageW);
        QCOMPARE(TReportMetrics::PageHeightPx(s.Dpi), s.PageH);
        QCOMPARE(TReportMetrics::PrintWidthPx(s.Dpi), s.PrintW);
        QCOMPARE(TReportMetrics::PrintHeightPx(s.Dpi), s.PrintH);
    }
}

void TestPrintouts::pageHeadAndRowsAt96Dpi() {
    TPrintout printout(96, 96);
    printout.BuildTransactionsPrintout(Head(), Transactions(53));
    QCOMPARE(printout.Reports.size(), 2);

    for (int p = 0; p < 2; ++p) {
        TPageReport *report = printout.Reports.at(p);
        QCOMPARE(report->Width(), 794);
        QCOMPARE(report->Height(), 1123);
        QVERIFY(report->HasDetail());
        QCOMPARE(report->Detail()->Width(), 718);
        QCOMPARE(report->Detail()->Height(), 1047);
        QVERIFY(report->Detail()->ForceNewPage);
        QVERIFY(!report->Detail()->ForceNewColumn);

        // The head: captions at 578, amounts ending at the print width.
        const struct {
            const char *Caption, *Amount;
            int Top;
        } head[] = {
            {"Income:", "1234.50", 0}, {"Expenses:", "234.25", 18}, {"Net Income:", "1000.25", 36}};
        for (const auto &h : head) {
            TReportLabel *caption = Label(report, h.Caption);
            TReportLabel *amount = Label(report, h.Amount);
            QVERIFY2(caption && amount, h.Caption);
            QCOMPARE(caption->Left(), 578);
            QCOMPARE(caption->Top(), h.Top);
            QCOMPARE(amount->Left() + amount->Width(), 718);
            QCOMPARE(amount->Top(), h.Top);
        }
        TReportLabel *title = Label(report, "Alice");
        QVERIFY(title);
        QVERIFY(title->Font().bold());
        QCOMPARE(title->Font().pointSize(), 14);
        QCOMPARE(title->Left(), (578 - title->Width()) / 2);
        TReportLabel *period = Label(report, "(01/01/2026 - 12/31/2026)");
        QVERIFY(period);
        QCOMPARE(period->Top(), 36);
        QCOMPARE(period->Font().pointSize(), 8);

        TReportLabel *number = Label(report, QString("Page %1").arg(p + 1));
        QVERIFY(number);
        QCOMPARE(number->Left(), (718 - number->Width()) / 2);
        QCOMPARE(number->Top() + number->Height(), 1047);

        // The rule and the headings.
        int rules = 0;
        for (TReportControl *control : report->Detail()->Controls())
            if (auto *shape = dynamic_cast<TReportShape *>(control)) {
                ++rules;
                QCOMPARE(shape->BrushColor, QColor(Qt::black));
                QCOMPARE(QRect(shape->Left(), shape->Top(), shape->Width(), shape->Height()),
                         QRect(0, 58, 718, 1));
            }
        QCOMPARE(rules, 1);
        QCOMPARE(Label(report, "Date")->Left(), 0);
        QCOMPARE(Label(report, "Date")->Top(), 68);
        QCOMPARE(Label(report, "Category")->Left(), 78);
        QCOMPARE(Label(report, "In")->Left() + Label(report, "In")->Width(), 394);
        QCOMPARE(Label(report, "Out")->Left() + Label(report, "Out")->Width(), 486);
        QCOMPARE(Label(report, "Notes")->Left(), 494);
    }

    // Row 0 at 86, row 51 at 1004 on page 1; row 52 first on page 2.
    const QList<QStringList> rows = TransactionRows(53);
    TReportLabel *first = Label(printout.Reports.at(0), rows.at(0).at(1));
    QVERIFY(first);
    QCOMPARE(first->Top(), 86);
    QCOMPARE(first->Left(), 0);
    TReportLabel *income = Label(printout.Reports.at(0), rows.at(0).at(3));
    QVERIFY(income);
    QCOMPARE(income->Left() + income->Width(), 394);
    TReportLabel *expense = Label(printout.Reports.at(0), rows.at(1).at(4));
    QVERIFY(expense);
    QCOMPARE(expense->Left() + expense->Width(), 486);
    QCOMPARE(Label(printout.Reports.at(0), rows.at(51).at(5))->Top(), 1004);
    QCOMPARE(Label(printout.Reports.at(0), rows.at(51).at(5))->Left(), 494);
    QVERIFY(!Label(printout.Reports.at(0), rows.at(52).at(5)));
    QCOMPARE(Label(printout.Reports.at(1), rows.at(52).at(5))->Top(), 86);
    // Head (title, period, 6 totals, 5 headings, number) + rule + 1 row.
    QCOMPARE(printout.Reports.at(1)->Detail()->ControlCount(), 14 + 1 + 5);
}

void TestPrintouts::layoutAt120Dpi() {
    TPrintout printout(120, 120);
    QCOMPARE(printout.ScaleX(578), 722);
    QCOMPARE(printout.ScaleY(86), 108);
    printout.BuildCategoriesPrintout(Head(), CategoryPeriod({{"Salary", 2, 123450}}, {}));
    TPageReport *report = printout.Reports.at(0);
    QCOMPARE(report->Width(), 992);
    QCOMPARE(report->Height(), 1403);
    QCOMPARE(Label(report, "Income:")->Left(), 722);
    QCOMPARE(Label(report, "Salary")->Top(), 108);
    QCOMPARE(Label(report, "Salary")->Left(), 98);
    TReportLabel *share = Label(report, "100.00%");
    QCOMPARE(share->Left() + share->Width(), 898);
    // Text is measured at the report's resolution, not the screen's.
    TPrintout at96(96, 96);
    at96.BuildCategoriesPrintout(Head(), CategoryPeriod({{"Salary", 2, 123450}}, {}));
    const int width96 = Label(at96.Reports.at(0), "Salary")->Width();
    QVERIFY2(qAbs(Label(report, "Salary")->Width() - width96 * 1.25) <= 3,
             qPrintable(QString("%1 vs %2").arg(Label(report, "Salary")->Width()).arg(width96)));
}

void TestPrintouts::longUserNameStartsLeftOfContent() {
    TPrintout printout(96, 96);
    TReportHead head = Head();
    head.UserName = QString("W").repeated(80);
    printout.BuildTransactionsPrintout(head, Transactions(1));
    TReportLabel *title = Label(printout.Reports.at(0), head.UserName);
    QVERIFY(title->Width() > 578);
    QVERIFY(title->Left() < 0);
    QCOMPARE(title->Left(), (578 - title->Width()) / 2);
}

void TestPrintouts::transactionsPdfPagesAndHead() {
    QVERIFY(FDir.isValid());
    for (int count : {52, 53}) {
        TPrintout printout(96, 96);
        const QList<QStringList> rows = TransactionRows(count);
        printout.BuildTransactionsPrintout(Head(10000, 15050), Transactions(count));
        const QList<TPdfPage> pages =
            PrintToPdf(printout, FDir.filePath(QString("trans%1.pdf").arg(count)));
        QCOMPARE(pages.size(), count == 52 ? 1 : 2);
        for (int p = 0; p < pages.size(); ++p) {
            const TPdfPage &page = pages.at(p);
            // A4 portrait.
            QVERIFY(qAbs(page.Size.width() - 595.3) < 1);
            QVERIFY(qAbs(page.Size.height() - 841.9) < 1);
            QVERIFY(page.Contains("Alice"));
            QVERIFY(page.Contains("(01/01/2026 - 12/31/2026)"));
            QVERIFY(page.Contains("Net Income: -50.50"));
            QVERIFY(page.Contains("Date Category In Out Notes"));
            // The amounts end at the print width.
            for (const char *amount : {"100.00", "150.50", "-50.50"}) {
                const QList<TPdfWord> found = page.Find(amount);
                QVERIFY2(!found.isEmpty(), amount);
                QVERIFY2(
                    qAbs(found.last().Box.right() - Pt(718, 96)) < 1.5,
                    qPrintable(QString("%1 ends at %2").arg(amount).arg(found.last().Box.right())));
            }
            // "Page n" centred at the bottom of the content area.
            const QList<TPdfWord> label = page.Find("Page");
            QCOMPARE(label.size(), 1);
            const QString line = page.LineAt(label.first().Box.top());
            QCOMPARE(line, QString("Page %1").arg(p + 1));
            const QList<TPdfWord> number = page.Find(QString::number(p + 1));
            const double left = label.first().Box.left();
            const double right = number.last().Box.right();
            QVERIFY2(qAbs((left + right) / 2 - Pt(359, 96)) < 2,
                     qPrintable(QString("centre %1").arg((left + right) / 2)));
            QVERIFY(label.first().Box.bottom() <= Pt(1047, 96) + 1);
            QVERIFY(label.first().Box.bottom() > Pt(1047, 96) - 8);
        }
        // The rows: the first at 86 px below the band's top, the 53rd alone
        // on the second page at the same place.
        const QList<TPdfWord> first = pages.at(0).Find(rows.at(0).at(1));
        QCOMPARE(first.size(), 1);
        QVERIFY(qAbs(first.first().Box.left() - Pt(0, 96)) < 1);
        QVERIFY(qAbs(first.first().Box.top() - Pt(86, 96)) < 3);
        if (count == 53) {
            const TPdfPage &second = pages.at(1);
            const QList<TPdfWord> last = second.Find(rows.at(52).at(1));
            QCOMPARE(last.size(), 1);
            QVERIFY(qAbs(last.first().Box.top() - first.first().Box.top()) < 0.5);
            QVERIFY(!second.Contains(rows.at(51).at(1)));
            QVERIFY(second.Contains(rows.at(52).at(5)));
        }
    }
}

void TestPrintouts::categoriesPdfColumns() {
    // Income rows first, then expense rows, with no break between them.
    // Expenses of 1.00 to 55.00, 1540.00 in all.
    QList<TCategoryTotal> expense;
    for (int i = 0; i < 55; ++i)
        expense.append({QString("Cat%1").arg(i), 1, (i + 1) * 100});
    const TPeriod period = CategoryPeriod({{"Salary", 2, 300000}, {"Gifts", 1, 100000}}, expense);
    TPrintout printout(96, 96);
    printout.BuildCategoriesPrintout(
        TReportHead::Of("Alice", QDate(2026, 1, 1), QDate(2026, 12, 31), period), period);
    const QList<TPdfPage> pages = PrintToPdf(printout, FDir.filePath("cates.pdf"));
    QCOMPARE(pages.size(), 2);
    const TPdfPage &page = pages.at(0);
    QVERIFY(page.Contains("Type Category Qty In Out 0 - 100%"));
    QVERIFY(page.Contains("Net Income: 2460.00"));

    const double inRight = Pt(510, 96), outRight = Pt(602, 96);
    const QList<TPdfWord> salary = page.Find("3000.00");
    QCOMPARE(salary.size(), 1);
    QVERIFY(qAbs(salary.first().Box.right() - inRight) < 1.5);
    QCOMPARE(page.LineAt(salary.first().Box.top()), QString("Income Salary 2 3000.00 75.00%"));
    const QList<TPdfWord> cat16 = page.Find("17.00");
    QCOMPARE(cat16.size(), 1);
    QVERIFY(qAbs(cat16.first().Box.right() - outRight) < 1.5);
    QCOMPARE(page.LineAt(cat16.first().Box.top()), QString("Expense Cat16 1 17.00 1.10%"));
    // The first expense row follows the income rows directly.
    const double gap = page.Find("Cat0").first().Box.top() - page.Find("Gifts").first().Box.top();
    QVERIFY(qAbs(gap - 18 * 0.75) < 0.5);
    // The share column ends at the print width.
    QVERIFY(qAbs(page.Find("75.00%").first().Box.right() - Pt(718, 96)) < 1.5);
    // 2 income + 50 expense rows on page 1; the other 5 on page 2.
    QVERIFY(page.Contains("Cat49"));
    QVERIFY(!page.Contains("Cat50"));
    QVERIFY(pages.at(1).Contains("Expense Cat50 1 51.00 3.31%"));
    QVERIFY(pages.at(1).Contains("Page 2"));
}

void TestPrintouts::freeReportsEmptiesAndComposesAfresh() {
    TPrintout printout(96, 96);
    printout.BuildTransactionsPrintout(Head(), Transactions(120));
    QCOMPARE(printout.Reports.size(), 3);
    TCompositeReport composite;
    composite.OnAddReports = [&](TCompositeReport &c) { printout.AddReports(c); };
    composite.Reports.append(nullptr); // a stale entry is dropped
    composite.Prepare();
    QCOMPARE(composite.Reports, printout.Reports);
    QCOMPARE(composite.PageCount(), 3);

    // A second build replaces the first printout's pages.
    printout.BuildTransactionsPrintout(Head(), Transactions(10));
    QCOMPARE(printout.Reports.size(), 1);
    composite.Prepare();
    QCOMPARE(composite.PageCount(), 1);

    TReportBand *band = printout.Reports.first()->Detail();
    QVERIFY(band->ControlCount() > 0);
    TPrintout::FreeBandControls(band);
    QCOMPARE(band->ControlCount(), 0);
    printout.FreeReports();
    QVERIFY(printout.Reports.isEmpty());
}

void TestPrintouts::copiesOfARangeOnAPrinterWithoutCopies() {
    // A PDF file takes no copy count of its own: the copies are printed
    // page by page, collated or not, and only the chosen range.
    TPrintout printout(96, 96);
    printout.BuildTransactionsPrintout(Head(), Transactions(52 * 3 + 1));
    TCompositeReport composite;
    composite.OnAddReports = [&](TCompositeReport &c) { printout.AddReports(c); };
    composite.PrinterSettings.Copies = 2;
    composite.PrinterSettings.FirstPage = 2;
    composite.PrinterSettings.LastPage = 3;
    for (bool collate : {true, false}) {
        composite.PrinterSettings.Collate = collate;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString path = FDir.filePath(collate ? "collated.pdf" : "uncollated.pdf");
        printer.setOutputFileName(path);
        QVERIFY(!printer.supportsMultipleCopies());
        composite.Print(printer);
        QStringList numbers;
        for (const TPdfPage &page : ReadPdfWords(path)) {
            const QList<TPdfWord> label = page.Find("Page");
            numbers << (label.isEmpty() ? "?" : page.LineAt(label.first().Box.top()));
        }
        QCOMPARE(numbers, collate ? QStringList({"Page 2", "Page 3", "Page 2", "Page 3"})
                                  : QStringList({"Page 2", "Page 2", "Page 3", "Page 3"}));
    }

    // A range outside the printout is refused, not printed empty.
    composite.PrinterSettings.Copies = 1;
    composite.PrinterSettings.FirstPage = 7;
    composite.PrinterSettings.LastPage = 9;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(FDir.filePath("outside.pdf"));
    QVERIFY_THROWS_EXCEPTION(TReportError, composite.Print(printer));
    QVERIFY(!QFile::exists(FDir.filePath("outside.pdf")));
}

QTEST_MAIN(TestPrintouts)
#include "test_printouts.moc"
