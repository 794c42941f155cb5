// The category summary through the real main window: the two lists with
// their shares, the current list and its navy row, and More Info for the
// searched period.
#include "forms/MainForm.h"
#include "forms/MoreInfoForm.h"
#include "forms/RowsModel.h"
#include "store/DbClass.h"
#include "tests/support/MainFixture.h"
#include "tests/support/TestDialogs.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>

namespace {

const QColor kNavy(0, 0, 128);
const QColor kWhite(255, 255, 255);

// What the More Info window showed.
struct TShown {
    QString Caption;
    QString AmountCaption;
    QList<QStringList> Rows;
    bool ButtonEnabled = true;
    bool WaitCursor = true;
};

} // namespace

class TestCategories : public QObject {
    Q_OBJECT

    std::unique_ptr<TMainFixture> fixture;
    std::unique_ptr<TDbMan> db;

    template <class T> T *find(const QString &name) { return fixture->Need<T>(name); }
    QTreeView *inCates() { return find<QTreeView>("lvwInCates"); }
    QTreeView *outCates() { return find<QTreeView>("lvwOutCates"); }
    bool enabled(const QString &name) { return find<QWidget>(name)->isEnabled(); }

    void add(const QString &date, const QString &type, const QString &cate, const QString &amount,
             const QString &notes = QString()) {
        db->AddRecord("alice", TestRecord(date, type, cate, amount, notes));
    }
    void search(const QDate &from, const QDate &to) {
        QTest::mouseClick(find<QRadioButton>("rdoTransTransactions"), Qt::LeftButton);
        fixture->Search(from, to);
        QTest::mouseClick(find<QRadioButton>("rdoTransCategories"), Qt::LeftButton);
    }
    QRect rowRect(QTreeView *list, int row) {
        return list->visualRect(list->model()->index(row, 2));
    }
    void clickRow(QTreeView *list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowRect(list, row).center());
    }
    void clickEmptyArea(QTreeView *list) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          QPoint(5, list->viewport()->height() - 3));
    }
    // Rows of `list` drawn navy on white.
    QList<int> marked(QTreeView *list) {
        QList<int> rows;
        const TRowsModel *m = ListModel(list);
        for (int r = 0; r < m->Count(); ++r) {
            const QModelIndex at = m->index(r, 2);
            if (m->data(at, Qt::BackgroundRole) == QVariant(kNavy) &&
                m->data(at, Qt::ForegroundRole) == QVariant(kWhite))
                rows << r;
        }
        return rows;
    }
    // Queues the reading and closing of the next More Info window.
    void expectMoreInfo(TShown &shown) {
        TestDialogs::Dialog([this, &shown](QDialog *w) {
            auto *form = qobject_cast<TfrmMoreInfo *>(w);
            QVERIFY(form);
            auto *list = form->findChild<QTreeView *>("lvwRecs");
            shown.Caption = form->windowTitle();
            shown.AmountCaption =
                list->model()->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString();
            shown.Rows = ListTexts(list);
            shown.ButtonEnabled = find<QPushButton>("btnMoreInfo")->isEnabled();
            shown.WaitCursor = QApplication::overrideCursor() != nullptr;
            form->close();
        });
    }

private slots:
    void init() {
        fixture = std::make_unique<TMainFixture>();
        QVERIFY(fixture->SignIn("alice", "pw1"));
        db = std::make_unique<TDbMan>(fixture->DataFile());
        QVERIFY(db->CheckPassword("alice", "pw1"));
        QTest::mouseClick(find<QRadioButton>("rdoTransactions"), Qt::LeftButton);
    }
    void cleanup() {
        db.reset();
        fixture.reset();
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void sharesAndOrder() {
        add("02/01/2024", "Expense", "Fuel", "10.00");
        add("02/02/2024", "Expense", "Food", "12.00");
        add("02/03/2024", "Expense", "Food", "18.00");
        search(QDate(2024, 2, 1), QDate(2024, 2, 29));
        // No income in the period: the income list is empty, Export and
        // Print still work from the expense list.
        QCOMPARE(ListModel(inCates())->Count(), 0);
        QCOMPARE(ListTexts(outCates()),
                 QList<QStringList>({{"Expense", "Food", "2", "30.00", "75.00%"},
                                     {"Expense", "Fuel", "1", "10.00", "25.00%"}}));
        QVERIFY(enabled("btnCatesExport"));
        QVERIFY(enabled("btnCatesPrint"));
        QVERIFY(!enabled("btnMoreInfo"));

        add("02/04/2024", "Income", "Gift", "1.00");
        add("02/05/2024", "Income", "Salary", "3.00");
        search(QDate(2024, 2, 1), QDate(2024, 2, 29));
        QCOMPARE(ListTexts(inCates()),
                 QList<QStringList>({{"Income", "Salary", "1", "3.00", "75.00%"},
                                     {"Income", "Gift", "1", "1.00", "25.00%"}}));
    }

    void currentListMarking() {
        add("03/01/2024", "Expense", "Food", "5.00");
        add("03/01/2024", "Expense", "Fuel", "4.00");
        add("03/01/2024", "Income", "Salary", "9.00");
        search(QDate(2024, 3, 1), QDate(2024, 3, 31));
        QVERIFY(!enabled("btnMoreInfo"));

        clickRow(inCates(), 0);
        QCOMPARE(marked(inCates()), QList<int>({0}));
        QVERIFY(enabled("btnMoreInfo"));

        // The other list's row takes over the marking.
        clickRow(outCates(), 1);
        QCOMPARE(marked(outCates()), QList<int>({1}));
        QVERIFY(marked(inCates()).isEmpty());
        // The marking stays while the focus is elsewhere.
        find<QPushButton>("btnMoreInfo")->setFocus();
        QCOMPARE(marked(outCates()), QList<int>({1}));

        // Entering the list that still holds its earlier row makes it current.
        inCates()->setFocus();
        QCOMPARE(marked(inCates()), QList<int>({0}));
        QVERIFY(marked(outCates()).isEmpty());

        // The empty area under the rows: no marking, More Info disabled.
        clickEmptyArea(inCates());
        QVERIFY(marked(inCates()).isEmpty());
        QVERIFY(marked(outCates()).isEmpty());
        QVERIFY(!enabled("btnMoreInfo"));

        // A search keeps the current list but leaves no row: More Info does
        // nothing then.
        clickRow(outCates(), 0);
        search(QDate(2024, 3, 1), QDate(2024, 3, 31));
        QVERIFY(enabled("btnMoreInfo"));
        QCOMPARE(SelectedRow(outCates()), -1);
        QTest::mouseClick(find<QPushButton>("btnMoreInfo"), Qt::LeftButton);
        QVERIFY(TestDialogs::Asked().isEmpty());
    }

    void moreInfoForSearchedPeriod() {
        add("04/03/2024", "Expense", "Food", "20.00", "market");
        add("04/01/2024", "Expense", "Food", "10.00");
        add("04/01/2024", "Expense", "Food", "15.00", "bakery");
        add("04/02/2024", "Expense", "Fuel", "7.00");
        add("04/02/2024", "Income", "Food", "99.00");  // same name, other type
        add("05/01/2024", "Expense", "Food", "50.00"); // after the period
        search(QDate(2024, 4, 1), QDate(2024, 4, 30));
        QCOMPARE(ListModel(outCates())->Text(0, 1), QString("Food"));

        clickRow(outCates(), 0);
        TShown shown;
        expectMoreInfo(shown);
        QTest::mouseClick(find<QPushButton>("btnMoreInfo"), Qt::LeftButton);
        QCOMPARE(shown.Caption, QString("Qty: 3  Total: 45.00"));
        QCOMPARE(shown.AmountCaption, QString("Out"));
        const QList<QStringList> food = {{"04/01/2024", "Food", "10.00", ""},
                                         {"04/01/2024", "Food", "15.00", "bakery"},
                                         {"04/03/2024", "Food", "20.00", "market"}};
        QCOMPARE(shown.Rows, food);
        // While it is open: the button disabled, the normal cursor.
        QVERIFY(!shown.ButtonEnabled);
        QVERIFY(!shown.WaitCursor);
        QVERIFY(enabled("btnMoreInfo"));

        // Pickers moved since the search: still the period the lists show.
        find<QDateEdit>("dtpTransDate2")->setDate(QDate(2024, 5, 31));
        TShown again;
        expectMoreInfo(again);
        QTest::mouseClick(find<QPushButton>("btnMoreInfo"), Qt::LeftButton);
        QCOMPARE(again.Caption, shown.Caption);
        QCOMPARE(again.Rows, food);

        // A double-click on an income row opens it for that row.
        TShown income;
        expectMoreInfo(income);
        const QPoint at = rowRect(inCates(), 0).center();
        QTest::mouseClick(inCates()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(inCates()->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(income.Caption, QString("Qty: 1  Total: 99.00"));
        QCOMPARE(income.AmountCaption, QString("In"));
        QCOMPARE(income.Rows, QList<QStringList>({{"04/02/2024", "Food", "99.00", ""}}));
    }

    // F2 on a category: merged across 1,000 records after the question,
    // undone; Rename... of the context menu renames.
    void renameAndMerge() {
        QList<TRecord> records(1000, TestRecord("07/01/2024", "Expense", "Food", "1.00"));
        records += QList<TRecord>(30, TestRecord("07/02/2024", "Expense", "Groceries", "2.00"));
        db->AddRecords("alice", records);
        db->SetCategories("alice", "out", {"Food", "Groceries"});
        search(QDate(2024, 7, 1), QDate(2024, 7, 31));
        const QList<QStringList> before = ListTexts(outCates());
        QCOMPARE(before.value(0).value(1), QString("Food"));
        fixture->Main()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fixture->Main()));
        clickRow(outCates(), 0);
        TestDialogs::Text("Groceries");
        TestDialogs::Answer(TButton::Yes);
        QTest::keyClick(outCates(), Qt::Key_F2);
        QCOMPARE(TestDialogs::LastMessage(),
                 QString("Food has 1000 records and Groceries has 30. Merge Food into Groceries?"));
        QCOMPARE(ListTexts(outCates()),
                 QList<QStringList>({{"Expense", "Groceries", "1030", "1060.00", "100.00%"}}));
        QCOMPARE(db->GetCategories("alice", "out"), QStringList({"Groceries"}));
        QCOMPARE(find<QComboBox>("cboOutCate")->count(), 1);
        auto *undo = find<QAction>("mnuMenu_Undo");
        QCOMPARE(undo->text(), QString("Undo Merge of Food into Groceries"));
        undo->trigger();
        QCOMPARE(ListTexts(outCates()), before);
        QCOMPARE(db->GetCategories("alice", "out"), QStringList({"Food", "Groceries"}));

        clickRow(outCates(), 1);
        QVERIFY(outCates()->actions().contains(find<QAction>("actCateRename")));
        TestDialogs::Text("Market");
        find<QAction>("actCateRename")->trigger();
        QCOMPARE(ListTexts(outCates()).value(1).value(1), QString("Market"));
        QCOMPARE(undo->text(), QString("Undo Rename of Groceries to Market"));
    }

    void moreInfoFailureLeavesNothingBusy() {
        add("06/01/2024", "Expense", "Food", "1.00");
        search(QDate(2024, 6, 1), QDate(2024, 6, 30));
        clickRow(outCates(), 0);
        QFile file(fixture->DataFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(4096, 'x'));
        file.close();

        TestDialogs::Answer(TButton::Ok);
        QTest::mouseClick(find<QPushButton>("btnMoreInfo"), Qt::LeftButton);
        QVERIFY(!TestDialogs::LastMessage().isEmpty());
        QVERIFY(enabled("btnMoreInfo"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(TestCategories)
#include "test_categories.moc"
