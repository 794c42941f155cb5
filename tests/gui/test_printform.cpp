// The print preview window, driven through its buttons as a user would:
// turning pages, printing a page range (to a PDF file, as there is no
// printer here), cancelling, and the failures a user must hear about.

#include "forms/PrintForm.h"
#include "reports/CompositeReport.h"
#include "reports/Printout.h"
#include "tests/support/ModalAnswer.h"
#include "tests/support/PdfWords.h"

#include <QApplication>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "reports/ReportPreview.h"

namespace {

// A printout of `rows` expense records chained into `composite`.
struct TFixture {
    TPrintout Printout;
    TCompositeReport Composite;
    explicit TFixture(int rows) {
        TPeriod period;
        for (int i = 0; i < rows; ++i) {
            period.Records.append({i + 1, QDate(2026, 3, 1), TRecordType::Expense,
                                   QString("Cat%1").arg(i), (i + 1) * 100, QString("n%1").arg(i)});
            period.ExpenseCents += (i + 1) * 100;
        }
        Printout.BuildTransactionsPrintout(
            TReportHead::Of("Bob", QDate(2026, 3, 1), QDate(2026, 3, 31), period), period);
        Composite.OnAddReports = [this](TCompositeReport &c) { Printout.AddReports(c); };
    }
};

QToolButton *Button(QWidget *form, const char *name) {
    auto *button = form->findChild<QToolButton *>(name);
    if (!button)
        qWarning("no button %s", name);
    return button;
}

// Closes the preview when the answer ends, also when a check in it fails,
// so that a failure never leaves the test waiting on a modal window.
struct TCloseOnExit {
    QWidget *Window;
    ~TCloseOnExit() { Window->close(); }
};

QString Status(QWidget *form) {
    return static_cast<TfrmPrint *>(form)->StatusText();
}

// Prints to `path` instead of asking for a printer.
void PrintToFile(const QString &path, int from = 0, int to = 0, int copies = 1,
                 QPageLayout::Orientation orientation = QPageLayout::Portrait) {
    TCompositeReport::PrintDialogHook = [=](QPrinter &printer, int) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setCopyCount(copies);
        printer.setPageOrientation(orientation);
        if (from > 0) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(from, to);
        }
        return true;
    };
}

} // namespace

class TestPrintForm : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensOnFirstPageAndTurnsPages();
    void lastPageOfOnePagePrintout();
    void printsChosenRangeInPortraitTwice();
    void cancelPrintsNothing();
    void printDialogOffersPdf();
    void printerFailureIsReported();
    void failedPrepareDestroysWindow();

private:
    QWidget *FOwner = nullptr;
    QTemporaryDir FDir;
};

void TestPrintForm::init() {
    FOwner = new QWidget;
    FOwner->show();
    TCompositeReport::PrintDialogHook = nullptr;
    ModalAnswer::Clear();
}

void TestPrintForm::cleanup() {
    TCompositeReport::PrintDialogHook = nullptr;
    ModalAnswer::Clear();
    delete FOwner;
    FOwner = nullptr;
}

void TestPrintForm::opensOnFirstPageAndTurnsPages() {
    TFixture fixture(180); // 4 pages
    QStringList seen;
    ModalAnswer::Next([&](QWidget *w) {
        TCloseOnExit closer{w};
        QCOMPARE(w->windowTitle(), QString("Print"));
        const QRect area = QApplication::primaryScreen()->availableGeometry();
        // The whole window, frame included, fills the work area.
        QTRY_COMPARE(w->frameGeometry(), area);
        seen << Status(w);
        if (!qEnvironmentVariableIsEmpty("LEDGERLY_KEEP_OUTPUT"))
            w->grab().save(QDir::temp().filePath("ledgerly-preview.png"));
        auto *preview = w->findChild<TReportPreview *>("QRPreview1");
        QVERIFY(preview);
        QCOMPARE(preview->PageNumber(), 1);
        QCOMPARE(preview->PageCount(), 4);

        const char *clicks[] = {"btnPrevPage", "btnNextPage", "btnNextPage",
                                "btnLastPage", "btnNextPage", "btnFirstPage"};
        for (const char *name : clicks) {
            if (!Button(w, name))
                break;
            // Scroll away; a page change scrolls back to the top left.
            preview->verticalScrollBar()->setValue(preview->verticalScrollBar()->maximum());
            QTest::mouseClick(Button(w, name), Qt::LeftButton);
            seen << Status(w);
        }
        QCOMPARE(preview->verticalScrollBar()->value(), 0);
        // The same from the keyboard.
        QTest::keyClick(w, Qt::Key_End, Qt::ControlModifier);
        seen << Status(w);
        QTest::keyClick(w, Qt::Key_PageUp, Qt::ControlModifier);
        seen << Status(w);
        QCOMPARE(Button(w, "btnPrint")->text(), QString("Print (A4)"));
        // The five glyphs of the program's resources, 18 x 18.
        for (const char *name :
             {"btnFirstPage", "btnPrevPage", "btnNextPage", "btnLastPage", "btnPrint"}) {
            QVERIFY2(!Button(w, name)->icon().isNull(), name);
            QCOMPARE(Button(w, name)->iconSize(), QSize(18, 18));
        }
        QCOMPARE(Button(w, "btnFirstPage")->geometry(), QRect(0, 0, 78, 23));
        QCOMPARE(Button(w, "btnPrint")->geometry(), QRect(312, 0, 78, 23));
    });
    TfrmPrint::ShowReportPreview(FOwner, fixture.Composite);
    QVERIFY(ModalAnswer::AllUsed());
    QCOMPARE(seen,
             QStringList({"Page 1 of 4", "Page 1 of 4", "Page 2 of 4", "Page 3 of 4", "Page 4 of 4",
                          "Page 4 of 4", "Page 1 of 4", "Page 4 of 4", "Page 3 of 4"}));
    QVERIFY(FOwner->findChildren<TfrmPrint *>().isEmpty());
}

void TestPrintForm::lastPageOfOnePagePrintout() {
    TFixture fixture(3);
    QString status;
    ModalAnswer::Next([&](QWidget *w) {
        TCloseOnExit closer{w};
        QTest::mouseClick(Button(w, "btnLastPage"), Qt::LeftButton);
        status = Status(w);
    });
    TfrmPrint::ShowReportPreview(FOwner, fixture.Composite);
    QVERIFY(ModalAnswer::AllUsed());
    QCOMPARE(status, QString("Page 1 of 1"));
}

void TestPrintForm::printsChosenRangeInPortraitTwice() {
    TFixture fixture(180);
    const QString first = FDir.filePath("range.pdf");
    const QString second = FDir.filePath("again.pdf");
    ModalAnswer::Next([&](QWidget *w) {
        TCloseOnExit closer{w};
        QToolButton *print = Button(w, "btnPrint");
        // Landscape chosen in the dialog still prints portrait.
        PrintToFile(first, 2, 3, 1, QPageLayout::Landscape);
        QTest::mouseClick(print, Qt::LeftButton);
        QVERIFY(print->isEnabled());
        PrintToFile(second);
        QTest::mouseClick(print, Qt::LeftButton);
        QCOMPARE(Status(w), QString("Page 1 of 4"));
    });
    TfrmPrint::ShowReportPreview(FOwner, fixture.Composite);
    QVERIFY(ModalAnswer::AllUsed());
    QCOMPARE(fixture.Composite.PrinterSettings.FirstPage, 0);
    QVERIFY(fixture.Composite.PrinterSettings.PrinterIndex >= 0);

    const QList<TPdfPage> pages = ReadPdfWords(first);
    QCOMPARE(pages.size(), 2);
    for (int i = 0; i < 2; ++i) {
        QVERIFY(pages.at(i).Size.width() < pages.at(i).Size.height());
        QVERIFY(pages.at(i).Contains(QString("Page %1").arg(i + 2)));
        QVERIFY(pages.at(i).Contains("Bob"));
    }
    QVERIFY(pages.at(0).Contains("Cat52"));
    QVERIFY(pages.at(1).Contains("Cat155"));
    QCOMPARE(ReadPdfWords(second).size(), 4);
}

void TestPrintForm::cancelPrintsNothing() {
    TFixture fixture(60);
    int asked = 0;
    int pages = 0;
    QPageLayout layout;
    TCompositeReport::PrintDialogHook = [&](QPrinter &printer, int pageCount) {
        ++asked;
        pages = pageCount;
        layout = printer.pageLayout();
        return false;
    };
    ModalAnswer::Next([&](QWidget *w) {
        TCloseOnExit closer{w};
        QTest::mouseClick(Button(w, "btnPrint"), Qt::LeftButton);
        QVERIFY(Button(w, "btnPrint")->isEnabled());
        QCOMPARE(Status(w), QString("Page 1 of 2"));
    });
    TfrmPrint::ShowReportPreview(FOwner, fixture.Composite);
    QVERIFY(ModalAnswer::AllUsed());
    QCOMPARE(asked, 1);
    // The dialog started in portrait on A4 with the page count known.
    QCOMPARE(pages, 2);
    QCOMPARE(layout.orientation(), QPageLayout::Portrait);
    QCOMPARE(layout.pageSize().id(), QPageSize::A4);
    QCOMPARE(fixture.Composite.PrinterSettings.PrinterIndex, -1);
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void TestPrintForm::printDialogOffersPdf() {
    TFixture fixture(10);
    const auto hook = TCompositeReport::PrintDialogHook;
    TCompositeReport::PrintDialogHook = nullptr; // the real dialog this time
    bool offersFile = false;
    ModalAnswer::Next([&](QWidget *w) {
        TCloseOnExit closer{w};
        ModalAnswer::Next([&](QWidget *dialog) {
            auto *print = qobject_cast<QPrintDialog *>(dialog);
            offersFile = print && print->testOption(QAbstractPrintDialog::PrintToFile);
            dialog->close();
        });
        QTest::mouseClick(Button(w, "btnPrint"), Qt::LeftButton);
        QVERIFY(Button(w, "btnPrint")->isEnabled());
    });
    TfrmPrint::ShowReportPreview(FOwner, fixture.Composite);
    TCompositeReport::PrintDialogHook = hook;
    QVERIFY(ModalAnswer::AllUsed());
    QVERIFY(offersFile);
    // Cancelled: nothing stored.
    QCOMPARE(fixture.Composite.PrinterSettings.PrinterIndex, -1);
}

void TestPrintForm::printerFailureIsReported() {
    TFixture fixture(10);
    QString text;
    ModalAnswer::Next([&](QWidget *w) {
        TCloseOnExit closer{w};
        PrintToFile(FDir.filePath("no/such/folder/out.pdf"));
        ModalAnswer::MessageBox(QMessageBox::Ok, &text);
        QTest::mouseClick(Button(w, "btnPrint"), Qt::LeftButton);
        QVERIFY(Button(w, "btnPrint")->isEnabled());
    });
    TfrmPrint::ShowReportPreview(FOwner, fixture.Composite);
    QVERIFY(ModalAnswer::AllUsed());
    QVERIFY2(text.startsWith("The printout was not printed."), qPrintable(text));
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void TestPrintForm::failedPrepareDestroysWindow() {
    TCompositeReport composite;
    composite.OnAddReports = [](TCompositeReport &) { throw TReportError("broken"); };
    bool thrown = false;
    try {
        TfrmPrint::ShowReportPreview(FOwner, composite);
    } catch (const TReportError &) {
        thrown = true;
    }
    QVERIFY(thrown);
    QVERIFY(FOwner->findChildren<TfrmPrint *>().isEmpty());
}

QTEST_MAIN(TestPrintForm)
#include "test_printform.moc"
