// The print commands of the main window, driven through its button and
// menu: the preview opens on the printout of the last search, prints to a
// PDF file, and the window is left as it was, also when the preview fails.
#include "forms/MainForm.h"
#include "forms/PrintForm.h"
#include "forms/RowsModel.h"
#include "reports/CompositeReport.h"
#include "tests/support/MainFixture.h"
#include "tests/support/ModalAnswer.h"
#include "tests/support/PdfWords.h"

#include <QAction>
#include <QApplication>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

class TestPrintGui : public QObject {
    Q_OBJECT

    std::unique_ptr<TMainFixture> fixture;
    QTemporaryDir dir;

    // Answers the preview: notes its status text and whether the command's
    // control was busy, prints everything to `pdf`, closes it.
    void answerPreview(const QString &pdf, QString *status, bool *busy, QWidget *control) {
        ModalAnswer::Next([=](QWidget *w) {
            auto *form = qobject_cast<TfrmPrint *>(w);
            if (!form) {
                w->close();
                return;
            }
            *status = form->StatusText();
            *busy =
                QApplication::overrideCursor() != nullptr && (!control || !control->isEnabled());
            TCompositeReport::PrintDialogHook = [pdf](QPrinter &printer, int) {
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(pdf);
                return true;
            };
            QTest::mouseClick(form->findChild<QToolButton *>("btnPrint"), Qt::LeftButton);
            TCompositeReport::PrintDialogHook = nullptr;
            form->close();
        });
    }

private slots:
    void init() {
        QVERIFY(dir.isValid());
        fixture = std::make_unique<TMainFixture>();
        QVERIFY(fixture->SignIn("Ann", "pw"));
        TfrmMain *main = fixture->Main();
        main->SearchFrom = QDate(2009, 3, 1);
        main->SearchTo = QDate(2009, 3, 31);
        main->PeriodIncome = 100;
        main->PeriodExpenses = 112.5;
        ListModel(main->findChild<QTreeView *>("lvwInCates"))
            ->SetRows({{"Income", "Salary", "1", "100.00", "100.00%"}});
        ListModel(main->findChild<QTreeView *>("lvwOutCates"))
            ->SetRows({{"Expense", "Fish & Chips", "2", "12.50", "11.11%"},
                       {"Expense", "Rent", "1", "100.00", "88.89%"}});
        TStringsArray trans;
        for (int i = 0; i < 60; ++i)
            trans.append({QString::number(i + 1), "03/02/2009", QString("Cat%1").arg(i), "", "1.00",
                          QString("note %1").arg(i)});
        ListModel(main->findChild<QTreeView *>("lvwTrans"))->SetRows(trans);
    }
    void cleanup() {
        fixture.reset();
        ModalAnswer::Clear();
        TCompositeReport::PrintDialogHook = nullptr;
    }

    void categoriesButtonPreviewsAndPrints() {
        TfrmMain *main = fixture->Main();
        auto *button = main->findChild<QPushButton *>("btnCatesPrint");
        QVERIFY(button && button->isEnabled());
        const QString pdf = dir.filePath("cates.pdf");
        QString status;
        bool busy = false;
        answerPreview(pdf, &status, &busy, button);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(ModalAnswer::AllUsed());
        QCOMPARE(status, QString("Page 1 of 1"));
        QVERIFY(busy);
        // The window is as before: button enabled with the focus, normal
        // cursor, no page reports left.
        QVERIFY(button->isEnabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(main->Reports.isEmpty());
        QVERIFY(main->QRCompositeReport1.Reports.isEmpty());
        QVERIFY(main->findChildren<TfrmPrint *>().isEmpty());

        const QList<TPdfPage> pages = ReadPdfWords(pdf);
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.at(0).Contains("Ann"));
        QVERIFY(pages.at(0).Contains("(03/01/2009 - 03/31/2009)"));
        QVERIFY(pages.at(0).Contains("Net Income: -12.50"));
        // Income first, then the expense rows.
        const double salary = pages.at(0).Find("Salary").first().Box.top();
        const double fish = pages.at(0).Find("Fish").first().Box.top();
        const double rent = pages.at(0).Find("Rent").first().Box.top();
        QVERIFY(salary < fish && fish < rent);
        QCOMPARE(pages.at(0).LineAt(fish), QString("Expense Fish & Chips 2 12.50 11.11%"));
    }

    void transactionsMenuItemPreviewsAndPrints() {
        TfrmMain *main = fixture->Main();
        QAction *item = main->findChild<QAction *>("btnTransMore_Print");
        QVERIFY(item && item->isEnabled());
        const QString pdf = dir.filePath("trans.pdf");
        QString status;
        bool busy = false;
        answerPreview(pdf, &status, &busy, nullptr);
        item->trigger();
        QVERIFY(ModalAnswer::AllUsed());
        QCOMPARE(status, QString("Page 1 of 2"));
        QVERIFY(busy);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(main->Reports.isEmpty());
        const QList<TPdfPage> pages = ReadPdfWords(pdf);
        QCOMPARE(pages.size(), 2);
        QVERIFY(pages.at(1).Contains("Page 2"));
        QVERIFY(pages.at(1).Contains("03/02/2009 Cat59 1.00 note 59"));
    }

    void failedPreviewIsReportedAndUndone() {
        TfrmMain *main = fixture->Main();
        main->QRCompositeReport1.OnAddReports = [](TCompositeReport &) {
            throw TReportError("The pages could not be laid out.");
        };
        QString text;
        ModalAnswer::MessageBox(QMessageBox::Ok, &text);
        auto *button = main->findChild<QPushButton *>("btnCatesPrint");
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(ModalAnswer::AllUsed());
        QVERIFY2(text.contains("The pages could not be laid out."), qPrintable(text));
        QVERIFY(button->isEnabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(main->Reports.isEmpty());
        QVERIFY(main->findChildren<TfrmPrint *>().isEmpty());
    }
};

QTEST_MAIN(TestPrintGui)
#include "test_print_gui.moc"
