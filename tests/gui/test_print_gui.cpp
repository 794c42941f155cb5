// The print commands of the main window, driven through its button and
// menu: the preview opens on the printout of the last search, prints to a
// PDF file, and the window is left as it was, also when printing fails.
#include "forms/MainForm.h"
#include "forms/PrintForm.h"
#include "store/DbClass.h"
#include "tests/support/MainFixture.h"
#include "tests/support/PdfWords.h"
#include "tests/support/TestDialogs.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

class TestPrintGui : public QObject {
    Q_OBJECT

    std::unique_ptr<TMainFixture> fixture;
    QTemporaryDir dir;

    // Answers the preview: notes its status text and whether the command's
    // control was busy, prints everything to `pdf`, closes it.
    void answerPreview(const QString &pdf, QString *status, bool *busy, QWidget *control) {
        TestDialogs::Dialog([=](QDialog *w) {
            auto *form = qobject_cast<TfrmPrint *>(w);
            QVERIFY(form);
            *status = form->StatusText();
            *busy =
                QApplication::overrideCursor() != nullptr && (!control || !control->isEnabled());
            QTest::mouseClick(form->findChild<QToolButton *>("btnPrint"), Qt::LeftButton);
            form->close();
        });
        PrintToPdf(pdf);
    }

private slots:
    void init() {
        QVERIFY(dir.isValid());
        fixture = std::make_unique<TMainFixture>();
        QVERIFY(fixture->SignIn("Ann", "pw"));
        // March: three categories; April: sixty records, two pages.
        QList<TRecord> records = {TestRecord("03/02/2009", "Income", "Salary", "100.00"),
                                  TestRecord("03/03/2009", "Expense", "Fish & Chips", "5.00"),
                                  TestRecord("03/04/2009", "Expense", "Rent", "100.00"),
                                  TestRecord("03/05/2009", "Expense", "Fish & Chips", "7.50")};
        for (int i = 0; i < 60; ++i)
            records << TestRecord("04/02/2009", "Expense", QString("Cat%1").arg(i), "1.00",
                                  QString("note %1").arg(i));
        TDbMan(fixture->DataFile()).AddRecords("Ann", records);
        fixture->Main()->findChild<QRadioButton *>("rdoTransactions")->click();
        fixture->Search(QDate(2009, 3, 1), QDate(2009, 3, 31));
    }
    void cleanup() { fixture.reset(); }

    void categoriesButtonPreviewsAndPrints() {
        TfrmMain *main = fixture->Main();
        auto *button = main->findChild<QPushButton *>("btnCatesPrint");
        QVERIFY(button && button->isEnabled());
        const QString pdf = dir.filePath("cates.pdf");
        QString status;
        bool busy = false;
        answerPreview(pdf, &status, &busy, button);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(status, QString("Page 1 of 1"));
        QVERIFY(busy);
        // The window is as before: button enabled, normal cursor, no
        // preview left.
        QVERIFY(button->isEnabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(main->findChildren<TfrmPrint *>().isEmpty());

        const QList<TPdfPage> pages = ReadPdfWords(pdf);
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.at(0).Contains("Ann"));
        QVERIFY(pages.at(0).Contains("(03/01/2009 - 03/31/2009)"));
        QVERIFY(pages.at(0).Contains("Net Income: -12.50"));
        // Income first, then the expense rows, largest first.
        const double salary = pages.at(0).Find("Salary").first().Box.top();
        const double fish = pages.at(0).Find("Fish").first().Box.top();
        const double rent = pages.at(0).Find("Rent").first().Box.top();
        QVERIFY(salary < rent && rent < fish);
        QCOMPARE(pages.at(0).LineAt(fish), QString("Expense Fish & Chips 2 12.50 11.11%"));
    }

    void transactionsMenuItemPreviewsAndPrints() {
        TfrmMain *main = fixture->Main();
        fixture->Search(QDate(2009, 4, 1), QDate(2009, 4, 30));
        QAction *item = main->findChild<QAction *>("btnTransMore_Print");
        QVERIFY(item && item->isEnabled());
        const QString pdf = dir.filePath("trans.pdf");
        QString status;
        bool busy = false;
        answerPreview(pdf, &status, &busy, nullptr);
        item->trigger();
        QCOMPARE(status, QString("Page 1 of 2"));
        QVERIFY(busy);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(main->findChildren<TfrmPrint *>().isEmpty());
        const QList<TPdfPage> pages = ReadPdfWords(pdf);
        QCOMPARE(pages.size(), 2);
        QVERIFY(pages.at(1).Contains("Page 2"));
        QVERIFY(pages.at(1).Contains("04/02/2009 Cat59 1.00 note 59"));
    }

    void failedPrintIsReportedAndUndone() {
        // The printer cannot be started (its file cannot be made): the
        // preview says so, and once it is closed the window is as before.
        TfrmMain *main = fixture->Main();
        auto *button = main->findChild<QPushButton *>("btnCatesPrint");
        const QString pdf = dir.filePath("no such folder/cates.pdf");
        QString status;
        bool busy = false;
        answerPreview(pdf, &status, &busy, button);
        TestDialogs::Answer(TButton::Ok);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY2(TestDialogs::LastMessage().startsWith("The printout was not printed."),
                 qPrintable(TestDialogs::LastMessage()));
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(button->isEnabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(main->findChildren<TfrmPrint *>().isEmpty());
    }
};

QTEST_MAIN(TestPrintGui)
#include "test_print_gui.moc"
