// Statement import through the real main window: Import Statement... opens
// the window on a file, its lines go to the pending lists and are stored by
// Save, once; the same file again is all duplicates; files that are no
// statement are refused; an ambiguous date order is asked and a layout kept
// as a bank profile is offered again.
#include "forms/MainForm.h"
#include "store/AmountText.h"
#include "store/DbClass.h"
#include "tests/support/MainFixture.h"
#include "tests/support/TestDialogs.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>

#include <functional>

namespace {

QString Data(const QString &name) {
    return QStringLiteral(LEDGERLY_TEST_DATA_DIR "/import/") + name;
}

template <class T> T *Child(QWidget *w, const QString &name) {
    T *c = w->findChild<T *>(name);
    if (!c)
        qFatal("no %s", qPrintable(name));
    return c;
}

// Selects `rows` of the table, gives them `category` and checks where the
// category now comes from.
void SetCategory(QWidget *w, const QList<int> &rows, const QString &category) {
    auto *list = Child<QTreeView>(w, "lvwImport");
    list->selectionModel()->clearSelection();
    for (int row : rows)
        list->selectionModel()->select(list->model()->index(row, 1),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    Child<QComboBox>(w, "cboImportCate")->setEditText(category);
    QTest::mouseClick(Child<QPushButton>(w, "btnImportSetCate"), Qt::LeftButton);
}

// "date type category amount notes" of the user's stored records.
QStringList Stored(const QString &file, const QString &user) {
    QStringList out;
    for (const TRecord &r :
         SignedInStore(file, user).ReadPeriod(user, QDate(2000, 1, 1), QDate(2100, 1, 1)).Records)
        out << QStringLiteral("%1 %2 %3 %4 %5")
                   .arg(r.Date.toString(Qt::ISODate), RecordTypeWord(r.Type), r.Category,
                        CentsText(r.Cents), r.Notes);
    out.sort();
    return out;
}

} // namespace

class TestImportGui : public QObject {
    Q_OBJECT

    std::unique_ptr<TMainFixture> fixture;
    TfrmMain *main = nullptr;

    // Import Statement... on `path`; `inWindow` runs on the import window
    // (which it must close).
    void Import(const QString &path, const std::function<void(QDialog *)> &inWindow) {
        TestDialogs::File(path);
        TestDialogs::Dialog([inWindow](QDialog *w) {
            QCOMPARE(w->objectName(), QStringLiteral("frmImport"));
            inWindow(w);
        });
        Child<QAction>(main, "mnuMenu_Import")->trigger();
    }

    QList<QStringList> Pending(const QString &part) {
        return ListTexts(Child<QTreeView>(main, "lvw" + part + "Recs"));
    }

    void Save(const QString &part) {
        TestDialogs::Answer(TButton::Yes);
        TestDialogs::Answer(TButton::Ok);
        QTest::mouseClick(Child<QPushButton>(main, "btn" + part + "Save"), Qt::LeftButton);
    }

private slots:
    void init() {
        fixture = std::make_unique<TMainFixture>();
        main = fixture->SignIn();
        QVERIFY(main && main->SignedIn());
    }
    void cleanup() { fixture.reset(); }

    void importAddSaveAndImportAgain() {
        Import(Data("us_checking.csv"), [](QDialog *w) {
            auto *list = Child<QTreeView>(w, "lvwImport");
            auto *add = Child<QPushButton>(w, "btnImportAdd");
            QCOMPARE(ListTexts(list).size(), 6);
            // Enlarged, the table takes the room; the rule editor and the
            // buttons keep to the right.
            const QSize table = list->size();
            const QPoint rule = Child<QWidget>(w, "btnImportRuleAdd")->pos();
            w->resize(w->size() + QSize(100, 50));
            QCOMPARE(list->size(), table + QSize(100, 50));
            QCOMPARE(Child<QWidget>(w, "btnImportRuleAdd")->pos(), rule + QPoint(100, 0));
            // No line has a category yet: nothing can be added.
            QVERIFY(!add->isEnabled());
            QCOMPARE(ListTexts(list)[0].last(), QStringLiteral("Choose a category"));

            // A rule made here for money in is kept and fills in the salary
            // at once.
            QTest::keyClicks(Child<QLineEdit>(w, "edtImportRuleText"), "payroll");
            Child<QComboBox>(w, "cboImportRuleCate")->setEditText("Salary");
            Child<QComboBox>(w, "cboImportRuleType")->setCurrentText("Money in");
            QTest::mouseClick(Child<QPushButton>(w, "btnImportRuleAdd"), Qt::LeftButton);
            QCOMPARE(ListTexts(list)[2].mid(1, 4),
                     (QStringList{"01/03/2024", "Income", "Salary", "Rule"}));
            SetCategory(w, {0, 1, 3, 4}, "Shopping");
            QVERIFY(!add->isEnabled());
            SetCategory(w, {5}, "Interest");
            QCOMPARE(ListTexts(list)[5].mid(3, 2), (QStringList{"Interest", "Chosen"}));
            QVERIFY(add->isEnabled());
            QTest::mouseClick(add, Qt::LeftButton);
        });
        // Both lists hold their lines and totals; the Expense list is shown.
        QCOMPARE(Pending("Out").size(), 4);
        QCOMPARE(Pending("Out")[0], (QStringList{"01/02/2024", "Expense", "Shopping", "4.50",
                                                 "STARBUCKS STORE 00123, SEATTLE WA"}));
        QCOMPARE(Child<QLabel>(main, "lblOutTotal")->text(), QStringLiteral("Total: 1383.55"));
        QCOMPARE(Child<QLabel>(main, "lblInTotal")->text(), QStringLiteral("Total: 2500.12"));
        QVERIFY(Child<QRadioButton>(main, "rdoExpense")->isChecked());
        // Only the rule the user kept is in the data file before Save.
        const QString file = fixture->DataFile();
        QCOMPARE(Stored(file, "tester"), QStringList());
        QCOMPARE(SignedInStore(file, "tester").CategoryRules("tester"),
                 (QList<TCategoryRule>{{"payroll", "Salary", TRuleType::Income}}));
        QCOMPARE(TestDialogs::Asked().first().Text,
                 QStringLiteral("Statements (*.csv *.txt *.ofx *.qfx *.qif);;All files (*)"));

        Save("Out");
        Save("In");
        const QStringList stored = Stored(file, "tester");
        QCOMPARE(stored,
                 (QStringList{"2024-01-02 Expense Shopping 4.50 STARBUCKS STORE 00123, SEATTLE WA",
                              "2024-01-02 Expense Shopping 4.50 STARBUCKS STORE 00123, SEATTLE WA",
                              "2024-01-03 Income Salary 2500.00 PAYROLL ACME CORP",
                              "2024-01-15 Expense Shopping 139.99 AMAZON.COM*2K4 \"PRIME\"",
                              "2024-01-20 Expense Shopping 1234.56 CHECK 1042",
                              "2024-01-31 Income Interest 0.12 INTEREST PAYMENT"}));

        // The same file again: every line is a duplicate and starts unticked,
        // so nothing can be added; the salary's category comes from the rule
        // and the shopping's from the records just saved.
        Import(Data("us_checking.csv"), [](QDialog *w) {
            const QList<QStringList> rows = ListTexts(Child<QTreeView>(w, "lvwImport"));
            QCOMPARE(rows.size(), 6);
            for (const QStringList &row : rows)
                QVERIFY2(row.last().startsWith("Duplicate: stored"), qPrintable(row.join('|')));
            QCOMPARE(rows[0].mid(3, 2), (QStringList{"Shopping", "History"}));
            QCOMPARE(rows[2].mid(3, 2), (QStringList{"Salary", "Rule"}));
            QVERIFY(!Child<QPushButton>(w, "btnImportAdd")->isEnabled());
            QTest::mouseClick(Child<QPushButton>(w, "btnImportClose"), Qt::LeftButton);
        });
        QCOMPARE(Pending("Out").size() + Pending("In").size(), 0);
        QCOMPARE(Stored(file, "tester"), stored);
    }

    void ofxIdsAreRememberedBySave() {
        Import(Data("card.ofx"), [](QDialog *w) {
            SetCategory(w, {0, 1, 2, 3}, "Card");
            QTest::mouseClick(Child<QPushButton>(w, "btnImportAdd"), Qt::LeftButton);
        });
        // Pending, the lines of another import are duplicates already.
        Import(Data("card.ofx"), [](QDialog *w) {
            for (const QStringList &row : ListTexts(Child<QTreeView>(w, "lvwImport")))
                QCOMPARE(row.last(), QStringLiteral("Duplicate: imported before"));
            QTest::mouseClick(Child<QPushButton>(w, "btnImportClose"), Qt::LeftButton);
        });
        const QString file = fixture->DataFile();
        const TImportId netflix{"4111111111111111", "2024020300001"};
        QVERIFY(SignedInStore(file, "tester").KnownImportIds("tester", {netflix}).isEmpty());
        Save("Out");
        Save("In");
        QCOMPARE(SignedInStore(file, "tester")
                     .KnownImportIds("tester", {netflix, {"another card", netflix.Id}}),
                 QSet<TImportId>{netflix});
        QCOMPARE(Stored(file, "tester").size(), 4);
    }

    void badFilesAreRefusedAndAddNothing() {
        const struct {
            const char *File, *Says;
        } cases[] = {{"binary.bin", "binary data"},
                     {"empty.csv", "The file is empty."},
                     {"no_dates.csv", "no column of dates"},
                     {"investment.ofx", "This statement holds investment transactions, which "
                                        "Ledgerly does not import."},
                     {"damaged.ofx", "The OFX file is damaged near line 48"}};
        for (const auto &c : cases) {
            TestDialogs::File(Data(c.File));
            TestDialogs::Answer(TButton::Ok);
            // Ctrl+I does what the menu item does.
            QApplication::setActiveWindow(main);
            QTest::keyClick(main, Qt::Key_I, Qt::ControlModifier);
            const QString text = TestDialogs::LastMessage();
            QVERIFY2(
                text.startsWith(QStringLiteral("\u201C%1\u201D cannot be imported.").arg(c.File)) &&
                    text.contains(c.Says) && text.endsWith("Nothing was added."),
                qPrintable(text));
            QCOMPARE(TestDialogs::Asked().last().Caption, QStringLiteral("Import Statement"));
            QVERIFY(!main->findChild<QDialog *>("frmImport"));
        }
        // A statement without entries opens and says so.
        Import(Data("empty.ofx"), [](QDialog *w) {
            QCOMPARE(Child<QLabel>(w, "lblImportNotice")->text(),
                     QStringLiteral("The statement has no entries. Nothing can be added."));
            QTest::mouseClick(Child<QPushButton>(w, "btnImportClose"), Qt::LeftButton);
        });
        QCOMPARE(Pending("Out").size() + Pending("In").size(), 0);
        QCOMPARE(Stored(fixture->DataFile(), "tester"), QStringList());
    }

    void dateOrderIsAskedAndAKeptLayoutIsOfferedAgain() {
        // Every date fits both orders: the user is asked.
        TestDialogs::File(Data("ambiguous.csv"));
        TestDialogs::Choose(1);
        TestDialogs::Dialog([](QDialog *w) {
            QVERIFY(TestDialogs::Asked().at(1).Text.contains(
                "fits month/day/year and day/month/year."));
            QCOMPARE(ListTexts(Child<QTreeView>(w, "lvwImport"))[0][1],
                     QStringLiteral("04/03/2024"));
            QCOMPARE(Child<QComboBox>(w, "cboImportDateOrder")->currentText(),
                     QStringLiteral("day/month/year"));
            TestDialogs::Text("My bank");
            QTest::mouseClick(Child<QPushButton>(w, "btnImportProfileSave"), Qt::LeftButton);
            QCOMPARE(Child<QComboBox>(w, "cboImportProfile")->currentText(),
                     QStringLiteral("My bank"));
            w->reject();
        });
        Child<QAction>(main, "mnuMenu_Import")->trigger();
        QCOMPARE(SignedInStore(fixture->DataFile(), "tester").BankProfiles("tester").size(), 1);

        // Next time the same header is found, the kept layout reads the file
        // without a question.
        Import(Data("ambiguous.csv"), [](QDialog *w) {
            QVERIFY(Child<QLabel>(w, "lblImportNotice")->text().contains("My bank"));
            auto *list = Child<QTreeView>(w, "lvwImport");
            QCOMPARE(ListTexts(list)[2].mid(1, 5),
                     (QStringList{"12/11/2024", "Income", "", "None", "1500.00"}));
            // A choice changed reads the file again.
            Child<QComboBox>(w, "cboImportDateOrder")->setCurrentText("month/day/year");
            QCOMPARE(ListTexts(list)[2][1], QStringLiteral("11/12/2024"));
            QCOMPARE(Child<QComboBox>(w, "cboImportProfile")->currentIndex(), 0);
            QTest::mouseClick(Child<QPushButton>(w, "btnImportClose"), Qt::LeftButton);
        });
    }
};

QTEST_MAIN(TestImportGui)
#include "test_import_gui.moc"
