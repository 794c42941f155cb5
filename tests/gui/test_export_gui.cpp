// The export commands of the main window, driven through its menus: the save
// dialog and its extension rules, the success box, failures, and the files
// read back.
#include "forms/MainForm.h"
#include "store/DbClass.h"
#include "tests/support/MainFixture.h"
#include "tests/support/TestDialogs.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

class TestExportGui : public QObject {
    Q_OBJECT

    std::unique_ptr<TMainFixture> fixture;
    QTemporaryDir dir;

    // Runs one export item and answers its dialog with `chosen` and the
    // boxes after it with `answers`; returns the last box's text.
    QString runExport(const char *item, const QString &chosen,
                      std::initializer_list<TButton> answers = {TButton::Ok}) {
        TestDialogs::File(chosen);
        for (TButton answer : answers)
            TestDialogs::Answer(answer);
        QAction *action = fixture->Main()->findChild<QAction *>(item);
        if (!action || !action->isEnabled())
            return QStringLiteral("no enabled item %1").arg(item);
        action->trigger();
        return TestDialogs::LastMessage();
    }
    QString lastCaption() { return TestDialogs::Asked().last().Caption; }

    static QString readText(const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

private slots:
    void init() {
        QVERIFY(dir.isValid());
        fixture = std::make_unique<TMainFixture>();
        QVERIFY(fixture->SignIn("Ann", "pw"));
        {
            // "#internet" begins like the "#in" field of the page templates.
            TDbMan db(fixture->DataFile());
            db.AddRecord("Ann", TestRecord("03/02/2009", "Income", "Salary", "100.00"));
            db.AddRecord("Ann", TestRecord("03/03/2009", "Expense", "#internet", "12.50", "   "));
            db.AddRecord(
                "Ann", TestRecord("03/04/2009", "Expense", "Fish & Chips", "100.00", "Größe <XL>"));
        }
        fixture->Main()->findChild<QRadioButton *>("rdoTransactions")->click();
        fixture->Search(QDate(2009, 3, 1), QDate(2009, 3, 31));
    }
    void cleanup() { fixture.reset(); }

    void htmlFromBothPanelsWithExtensionRules() {
        const QString page = dir.filePath("report.htm");
        QCOMPARE(runExport("btnTransMore_ToHtml", page), "SUCCESS!\r\n\r\n" + page + ".html");
        QCOMPARE(lastCaption(), QString("Ledgerly"));
        QCOMPARE(TestDialogs::Asked().first().Text, QString("*.html (*.html)"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        const QString trans = readText(page + ".html");
        QVERIFY(trans.contains("Ann (03/01/2009 - 03/31/2009)"));
        QVERIFY(trans.contains("<td>#internet</td><td class=\"num\">&nbsp;</td><td "
                               "class=\"num\">12.50</td><td>&nbsp;</td>"));
        QVERIFY(trans.contains("Größe &lt;XL&gt;"));
        QVERIFY(trans.contains("Net Income: -12.50"));

        const QString upper = dir.filePath("Cates.HTML");
        QCOMPARE(runExport("mnuCatesExport_ToHtml", upper), "SUCCESS!\r\n\r\n" + upper);
        const QString cates = readText(upper);
        // Income categories first, then expense categories, largest first.
        QVERIFY(cates.indexOf("Salary") < cates.indexOf("Fish &amp; Chips"));
        QVERIFY(cates.indexOf("Fish &amp; Chips") < cates.indexOf("#internet"));
        QVERIFY(!QFile::exists(upper + ".html"));

        // Chosen again (the file dialog asked before replacing it): the page
        // is written afresh.
        QFile::resize(upper, 10);
        QCOMPARE(runExport("mnuCatesExport_ToHtml", upper), "SUCCESS!\r\n\r\n" + upper);
        QCOMPARE(readText(upper), cates);
    }

    void appendedExtensionAsksBeforeReplacing() {
        // The dialog saw the name "kept", which does not exist; the page
        // goes to "kept.html", which does.
        const QString kept = dir.filePath("kept.html");
        QFile old(kept);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("kept");
        old.close();

        QCOMPARE(runExport("btnTransMore_ToHtml", dir.filePath("kept"), {TButton::No}),
                 QDir::toNativeSeparators(kept) + " already exists.\r\nDo you want to replace it?");
        QCOMPARE(lastCaption(), QString("?"));
        QCOMPARE(readText(kept), QString("kept"));
        QVERIFY(QApplication::overrideCursor() == nullptr);

        QCOMPARE(
            runExport("btnTransMore_ToHtml", dir.filePath("kept"), {TButton::Yes, TButton::Ok}),
            "SUCCESS!\r\n\r\n" + kept);
        QVERIFY(readText(kept).contains("#internet"));
    }

    void xlsFromBothPanelsReadBack() {
        const QString book = dir.filePath("book.XLS");
        QCOMPARE(runExport("btnTransMore_ToXls", book), "SUCCESS!\r\n\r\n" + book);
        QCOMPARE(TestDialogs::Asked().first().Text, QString("*.xls (*.xls)"));
        const QString wrong = dir.filePath("cates.xlsx");
        QCOMPARE(runExport("mnuCatesExport_ToXls", wrong), "SUCCESS!\r\n\r\n" + wrong + ".xls");
        QVERIFY(!QFile::exists(wrong));

        for (const auto &[file, cell] : {std::pair{book, QString("Fish & Chips")},
                                         std::pair{wrong + ".xls", QString("#internet")}}) {
            QProcess python;
            python.start(qEnvironmentVariable("LEDGERLY_PYTHON", "/usr/bin/python3"),
                         {QDir(LEDGERLY_TEST_DATA_DIR).filePath("xls_dump.py"), file});
            QVERIFY(python.waitForFinished(60000));
            QCOMPARE(python.exitCode(), 0);
            const QJsonArray rows = QJsonDocument::fromJson(python.readAllStandardOutput())
                                        .object()["sheets"]
                                        .toArray()[0]
                                        .toObject()["rows"]
                                        .toArray();
            QCOMPARE(rows.size(), 1 + 3 + 4); // headings, data, period and totals
            QCOMPARE(rows[3].toArray()[1].toArray()[1].toString(), cell);
            QCOMPARE(rows[7].toArray()[1].toArray()[1].toString(), QString("Net Income: -12.50"));
        }
    }

    // Export for Spreadsheets from the category lists and from the records
    // a find listed: the type from the extension, else from the filter.
    void sheetsFromBothPanelsReadBack() {
        const QString cates = dir.filePath("cates.CSV"), found = dir.filePath("found");
        for (const auto &[menu, file] :
             {std::pair{"mnuCatesExport", cates}, {"mnuTransMenu", found}}) {
            if (file == found) {
                fixture->Need<QLineEdit>("edtTransFind")->setText("chips");
                QTest::keyClick(fixture->Need<QLineEdit>("edtTransFind"), Qt::Key_Return);
            }
            TestDialogs::File(file, "Excel Workbook (*.xlsx)");
            TestDialogs::Answer(TButton::Ok);
            fixture->Need<QMenu>(menu)->findChild<QAction *>("actExportSheet")->trigger();
        }
        QCOMPARE(TestDialogs::LastMessage(), "SUCCESS!\r\n\r\n" + found + ".xlsx");
        const char *script =
            "import csv, sys, openpyxl\n"
            "print([r[1] for r in csv.reader(open(sys.argv[1], encoding='utf-8-sig'))])\n"
            "print([c.value for c in openpyxl.load_workbook(sys.argv[2]).active[2]])";
        QProcess python;
        python.start(qEnvironmentVariable("LEDGERLY_PYTHON", "/usr/bin/python3"),
                     {"-c", script, cates, found + ".xlsx"});
        QVERIFY(python.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(python.readAllStandardOutput()),
                 QString("['Category', 'Salary', 'Fish & Chips', '#internet']\n"
                         "[datetime.datetime(2009, 3, 4, 0, 0), 'Expense', 'Fish & Chips', "
                         "-100, 'Größe <XL>']\n"));
    }

    void exportsTheRowsOfTheLastSearch() {
        {
            TDbMan db(fixture->DataFile());
            db.AddRecord("Ann", TestRecord("05/02/2010", "Income", "Pay", "50.00"));
            db.AddRecord(
                "Ann", TestRecord("05/03/2010", "Expense", "Fish & Chips", "62.25", "with <Bob>"));
        }
        fixture->Search(QDate(2010, 5, 1), QDate(2010, 5, 31));
        const QString page = dir.filePath("search.html");
        QCOMPARE(runExport("btnTransMore_ToHtml", page), "SUCCESS!\r\n\r\n" + page);
        const QString html = readText(page);
        QVERIFY(html.contains("Ann (05/01/2010 - 05/31/2010)"));
        QVERIFY(html.contains("with &lt;Bob&gt;"));
        QVERIFY(html.contains(
            "Income: 50.00&nbsp;&nbsp;Expenses: 62.25&nbsp;&nbsp;Net Income: -12.25"));
        QVERIFY(!html.contains("Salary")); // not the rows of the earlier search
    }

    void cancelAndFailureRestoreTheCursor() {
        // Cancelled: nothing written, no box.
        const QStringList before = QDir(dir.path()).entryList(QDir::Files);
        QCOMPARE(runExport("btnTransMore_ToXls", QString(), {}), QString());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);

        // A name whose ".html" form is a folder cannot be written: after the
        // question, the error box shows instead of the success box, quoting
        // the name as it is (never as markup), and the cursor comes back.
        const QString taken = dir.filePath("<b>taken.html");
        QVERIFY(QDir().mkdir(taken));
        const QString error =
            runExport("btnTransMore_ToHtml", dir.filePath("<b>taken"), {TButton::Yes, TButton::Ok});
        const QString question = TestDialogs::Asked().at(TestDialogs::Asked().size() - 2).Text;
        QVERIFY2(question.contains("already exists"), qPrintable(question));
        QVERIFY2(!error.startsWith("SUCCESS!") && error.contains(taken), qPrintable(error));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(QFileInfo(taken).isDir());
    }
};

QTEST_MAIN(TestExportGui)
#include "test_export_gui.moc"
