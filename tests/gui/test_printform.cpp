// The print preview window, driven through its buttons as a user would:
// turning pages, printing a page range (to a PDF file, as there is no
// printer here), cancelling, and a preview that cannot be made.

#include "forms/PrintForm.h"
#include "reports/CompositeReport.h"
#include "reports/Printout.h"
#include "tests/support/PdfWords.h"
#include "tests/support/TestDialogs.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
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

QString Status(QWidget *form) {
    return static_cast<TfrmPrint *>(form)->StatusText();
}

// Shows the preview of `composite` and runs `action` on it; closes it after.
void Preview(QWidget *owner, TCompositeReport &composite,
             const std::function<void(QDialog *)> &action) {
    TestDialogs::Dialog([&](QDialog *w) {
        action(w);
        w->close();
    });
    TfrmPrint::ShowReportPreview(owner, composite);
}

} // namespace

class TestPrintForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestDialogs::Install(); }
    void init();
    void cleanup();
    void opensOnFirstPageAndTurnsPages();
    void lastPageOfOnePagePrintout();
    void printsChosenRangeInPortraitTwice();
    void cancelPrintsNothing();
    void failedPrepareDestroysWindow();

private:
    QWidget *FOwner = nullptr;
    QTemporaryDir FDir;
};

void TestPrintForm::init() {
    FOwner = new QWidget;
    FOwner->show();
}

void TestPrintForm::cleanup() {
    TestDialogs::Clear();
    delete FOwner;
    FOwner = nullptr;
}

void TestPrintForm::opensOnFirstPageAndTurnsPages() {
    TFixture fixture(180); // 4 pages
    QStringList seen;
    Preview(FOwner, fixture.Composite, [&](QDialog *w) {
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
    QCOMPARE(seen,
             QStringList({"Page 1 of 4", "Page 1 of 4", "Page 2 of 4", "Page 3 of 4", "Page 4 of 4",
                          "Page 4 of 4", "Page 1 of 4", "Page 4 of 4", "Page 3 of 4"}));
    QVERIFY(FOwner->findChildren<TfrmPrint *>().isEmpty());
}

void TestPrintForm::lastPageOfOnePagePrintout() {
    TFixture fixture(3);
    QString status;
    Preview(FOwner, fixture.Composite, [&](QDialog *w) {
        QTest::mouseClick(Button(w, "btnLastPage"), Qt::LeftButton);
        status = Status(w);
    });
    QCOMPARE(status, QString("Page 1 of 1"));
}

void TestPrintForm::printsChosenRangeInPortraitTwice() {
    TFixture fixture(180);
    const QString first = FDir.filePath("range.pdf");
    const QString second = FDir.filePath("again.pdf");
    Preview(FOwner, fixture.Composite, [&](QDialog *w) {
        QToolButton *print = Button(w, "btnPrint");
        // Landscape chosen in the dialog still prints portrait.
        PrintToPdf(first, 2, 3, QPageLayout::Landscape);
        QTest::mouseClick(print, Qt::LeftButton);
        QVERIFY(print->isEnabled());
        PrintToPdf(second);
        QTest::mouseClick(print, Qt::LeftButton);
        QCOMPARE(Status(w), QString("Page 1 of 4"));
    });
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
    int lastPage = 0;
    bool offersFile = false;
    QPageLayout layout;
    Preview(FOwner, fixture.Composite, [&](QDialog *w) {
        TestDialogs::Dialog([&](QDialog *dialog) {
            auto *print = qobject_cast<QPrintDialog *>(dialog);
            QVERIFY(print);
            offersFile = print->testOption(QAbstractPrintDialog::PrintToFile);
            lastPage = print->maxPage();
            layout = print->printer()->pageLayout();
            dialog->reject();
        });
        QTest::mouseClick(Button(w, "btnPrint"), Qt::LeftButton);
        QVERIFY(Button(w, "btnPrint")->isEnabled());
        QCOMPARE(Status(w), QString("Page 1 of 2"));
    });
    // The dialog offered a PDF file and started in portrait on A4 with the
    // page count known.
    QVERIFY(offersFile);
    QCOMPARE(lastPage, 2);
    QCOMPARE(layout.orientation(), QPageLayout::Portrait);
    QCOMPARE(layout.pageSize().id(), QPageSize::A4);
    QCOMPARE(fixture.Composite.PrinterSettings.PrinterIndex, -1);
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
