// The Transactions panel through the real main window: the pickers and
// Search, the five lists and the totals, the tint of a chosen day or month,
// Edit, Delete and the refresh after them, and failures that must not leave
// the window busy.
#include "forms/CategoriesPanel.h"
#include "forms/MainForm.h"
#include "forms/RowsModel.h"
#include "forms/TransactionsPanel.h"
#include "store/DbClass.h"
#include "store/FieldCodec.h"
#include "store/Sqlite.h"
#include "tests/support/MainFixture.h"
#include "tests/support/TestDialogs.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

using TestDialogs::Answer;
using TestDialogs::LastMessage;

namespace {

const QColor kTint(224, 255, 224);

QString totals(const QString &income, const QString &expenses, const QString &net) {
    return QStringLiteral("Income: %1    Expenses: %2    Net Income: %3")
        .arg(income, expenses, net);
}

} // namespace

class TestTransactions : public QObject {
    Q_OBJECT

    std::unique_ptr<TMainFixture> fixture;
    std::unique_ptr<TDbMan> db;

    template <class T> T *find(const QString &name) { return fixture->Need<T>(name); }
    TRowsModel *model(const QString &list) { return ListModel(find<QTreeView>(list)); }
    QTreeView *trans() { return find<QTreeView>("lvwTrans"); }

    void add(const QString &date, const QString &type, const QString &cate, const QString &amount,
             const QString &notes = QString()) {
        db->AddRecord("alice", TestRecord(date, type, cate, amount, notes));
    }
    void setPeriod(const QDate &from, const QDate &to) {
        find<QDateEdit>("dtpTransDate1")->setDate(from);
        find<QDateEdit>("dtpTransDate2")->setDate(to);
    }
    void search(const QDate &from, const QDate &to) { fixture->Search(from, to); }
    // Texts of one column of a list, row by row.
    QStringList column(const QString &list, int subItem) {
        QStringList texts;
        for (const QStringList &row : ListTexts(find<QTreeView>(list)))
            texts << row.value(subItem);
        return texts;
    }
    void clickRow(QTreeView *list, int row) {
        list->scrollTo(list->model()->index(row, 1));
        const QRect rect = list->visualRect(list->model()->index(row, 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void clickEmptyArea(QTreeView *list) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          QPoint(5, list->viewport()->height() - 3));
    }
    int topRow(QTreeView *list) { return list->indexAt(QPoint(5, 2)).row(); }
    bool tinted(int row) {
        return model("lvwTrans")->data(model("lvwTrans")->index(row, 2), Qt::BackgroundRole) ==
               QVariant(kTint);
    }
    QList<int> tintedRows() {
        QList<int> rows;
        for (int r = 0; r < model("lvwTrans")->Count(); ++r)
            if (tinted(r))
                rows << r;
        return rows;
    }
    bool enabled(const QString &name) { return find<QWidget>(name)->isEnabled(); }
    // Types `text` into the find box in place of its text and presses Enter
    // (an empty text: the text deleted).
    void findText(const QString &text) {
        auto *box = find<QLineEdit>("edtTransFind");
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
        if (!text.isEmpty())
            QTest::keyClick(box, Qt::Key_Return);
    }
    // The pickers' dates, "from|to".
    QString span() {
        return find<QDateEdit>("dtpTransDate1")->text() + '|' +
               find<QDateEdit>("dtpTransDate2")->text();
    }
    // A record another program wrote with a date that does not exist.
    void addUnreadable() {
        TSqlConnection(fixture->DataFile(), TSqlConnection::TMode::ReadWrite)
            .Exec(QStringLiteral("insert into data (user, date, type, cate, amount, notes) values "
                                 "('%1', '2024-02-30', 'Expense', '', 1, '')")
                      .arg(EncodeField("alice"))
                      .toUtf8()
                      .constData());
    }
    // Makes every further operation on the data file fail.
    void breakDataFile() {
        QFile file(fixture->DataFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(4096, 'x'));
    }

private slots:
    void init() {
        fixture = std::make_unique<TMainFixture>();
        QVERIFY(fixture->SignIn("alice", "pw1"));
        db = std::make_unique<TDbMan>(fixture->DataFile());
        QVERIFY(db->CheckPassword("alice", "pw1"));
        QTest::mouseClick(find<QRadioButton>("rdoTransactions"), Qt::LeftButton);
        QVERIFY(find<QWidget>("pnlTransactions")->isVisible());
    }
    void cleanup() {
        db.reset();
        fixture.reset();
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void pickersEnableSearch() {
        add("03/09/2024", "Expense", "Food", "1.00");
        add("03/10/2024", "Expense", "Food", "2.00");
        add("03/11/2024", "Expense", "Food", "3.00");

        // The same day at both ends: Search is enabled and lists that day.
        search(QDate(2024, 3, 10), QDate(2024, 3, 10));
        QVERIFY(enabled("btnTransSearch"));
        QCOMPARE(column("lvwTrans", 1), QStringList({"03/10/2024"}));
        QVERIFY(find<QPushButton>("btnTransSearch")->hasFocus());

        // Reversed: disabled, and a click changes nothing.
        setPeriod(QDate(2024, 3, 11), QDate(2024, 3, 9));
        QVERIFY(!enabled("btnTransSearch"));
        QTest::mouseClick(find<QPushButton>("btnTransSearch"), Qt::LeftButton);
        QCOMPARE(column("lvwTrans", 1), QStringList({"03/10/2024"}));

        // Moving either picker back enables it again.
        find<QDateEdit>("dtpTransDate2")->setDate(QDate(2024, 3, 11));
        QVERIFY(enabled("btnTransSearch"));
        find<QDateEdit>("dtpTransDate1")->setDate(QDate(2024, 3, 9));
        // Enter on the focused Search button searches like a click.
        find<QPushButton>("btnTransSearch")->setFocus();
        QTest::keyClick(find<QPushButton>("btnTransSearch"), Qt::Key_Return);
        QCOMPARE(column("lvwTrans", 1), QStringList({"03/09/2024", "03/10/2024", "03/11/2024"}));
    }

    void emptyPeriod() {
        add("01/15/2024", "Income", "Salary", "100.00");
        search(QDate(2024, 1, 1), QDate(2024, 1, 31));
        QCOMPARE(model("lvwTrans")->Count(), 1);
        SelectRow(trans(), 0);
        QVERIFY(enabled("btnTransEdit"));

        search(QDate(2024, 2, 1), QDate(2024, 2, 28));
        for (const char *list :
             {"lvwDayTotal", "lvwMonthTotal", "lvwTrans", "lvwInCates", "lvwOutCates"})
            QCOMPARE(model(list)->Count(), 0);
        const QString zero = totals("0.00", "0.00", "0.00");
        QCOMPARE(find<QLabel>("lblTransTotal")->text(), zero);
        QCOMPARE(find<QLabel>("lblCatesTotal")->text(), zero);
        for (const char *button :
             {"btnTransMore", "btnTransEdit", "btnTransDelete", "btnCatesExport", "btnCatesPrint"})
            QVERIFY2(!enabled(button), button);

        // A record another program wrote with a date that does not exist is
        // left out, and the search says so instead of failing.
        addUnreadable();
        Answer(TButton::Ok);
        search(QDate(2024, 2, 1), QDate(2024, 3, 31));
        QCOMPARE(LastMessage(),
                 QString("1 record of this period could not be read and is not shown."));
        QCOMPARE(model("lvwTrans")->Count(), 0);
    }

    void listsAndTotals() {
        // Two records of one day, both types, entered expense first: income
        // is listed first; same type in id order.
        add("12/31/2023", "Expense", "Food", "20.00", "late dinner");
        add("12/31/2023", "Income", "Gift", "5.00");
        add("12/31/2023", "Expense", "Fuel", "2.50");
        add("01/02/2024", "Expense", "Rent", "7.50");
        add("01/03/2024", "Expense", "Old", "99.00"); // outside the period
        search(QDate(2023, 12, 31), QDate(2024, 1, 2));

        QCOMPARE(
            ListTexts(find<QTreeView>("lvwDayTotal")),
            QList<QStringList>({{"12/31/2023", "5.00", "22.50"}, {"01/02/2024", "0.00", "7.50"}}));
        QCOMPARE(ListTexts(find<QTreeView>("lvwMonthTotal")),
                 QList<QStringList>({{"12/2023", "5.00", "22.50"}, {"01/2024", "0.00", "7.50"}}));
        QCOMPARE(column("lvwTrans", 2), QStringList({"Gift", "Food", "Fuel", "Rent"}));
        QCOMPARE(column("lvwTrans", 3), QStringList({"5.00", "", "", ""}));
        QCOMPARE(column("lvwTrans", 4), QStringList({"", "20.00", "2.50", "7.50"}));
        QCOMPARE(column("lvwTrans", 5), QStringList({"", "late dinner", "", ""}));
        // Expenses larger than income: a negative net.
        const QString text = totals("5.00", "30.00", "-25.00");
        QCOMPARE(find<QLabel>("lblTransTotal")->text(), text);
        QCOMPARE(find<QLabel>("lblCatesTotal")->text(), text);

        // Equal totals whose binary sums differ by a rounding error show a
        // net of 0.00, never -0.00.
        add("05/01/2024", "Expense", "A", "0.10");
        add("05/01/2024", "Expense", "B", "0.20");
        add("05/01/2024", "Income", "C", "0.30");
        search(QDate(2024, 5, 1), QDate(2024, 5, 1));
        QCOMPARE(find<QLabel>("lblTransTotal")->text(), totals("0.30", "0.30", "0.00"));
    }

    void dayTintAndScroll() {
        // 40 days with two records each: the list scrolls.
        for (int d = 0; d < 40; ++d) {
            const QString date = QDate(2024, 1, 1).addDays(d).toString("MM/dd/yyyy");
            add(date, "Expense", "Food", "1.00");
            add(date, "Income", "Pay", "2.00");
        }
        search(QDate(2024, 1, 1), QDate(2024, 2, 9));
        QTreeView *days = find<QTreeView>("lvwDayTotal");
        QCOMPARE(model("lvwDayTotal")->Count(), 40);
        SelectRow(trans(), 3); // a selection that choosing a day must remove
        QVERIFY(enabled("btnTransEdit"));

        clickRow(days, 10); // 01/11/2024
        QCOMPARE(tintedRows(), QList<int>({20, 21}));
        QCOMPARE(topRow(trans()), 20);
        QCOMPARE(SelectedRow(trans()), -1);
        QCOMPARE(trans()->property("Tag").toInt(), 0);
        // The buttons were not updated for the view's own selection moves.
        QVERIFY(enabled("btnTransEdit"));
        // Edit without a selected row asks nothing.
        QTest::mouseClick(find<QPushButton>("btnTransEdit"), Qt::LeftButton);
        QVERIFY(TestDialogs::Asked().isEmpty());

        // Switching tabs keeps the selections and the tint.
        find<QTabBar>("TabSet1")->setCurrentIndex(1);
        QVERIFY(find<QWidget>("lvwMonthTotal")->isVisible());
        QVERIFY(!days->isVisible());
        find<QTabBar>("TabSet1")->setCurrentIndex(0);
        QCOMPARE(SelectedRow(days), 10);
        QCOMPARE(tintedRows(), QList<int>({20, 21}));

        // The last day: its rows cannot reach the top, but they are in view.
        clickRow(days, 39);
        QCOMPARE(tintedRows(), QList<int>({78, 79}));
        QVERIFY(trans()->viewport()->rect().contains(
            trans()->visualRect(model("lvwTrans")->index(78, 1))));

        // Clicking the empty area of a totals list: the tint goes, the list
        // does not scroll.
        find<QTabBar>("TabSet1")->setCurrentIndex(1);
        QTreeView *months = find<QTreeView>("lvwMonthTotal");
        clickRow(months, 1); // 02/2024: records 62..79
        QCOMPARE(tintedRows().first(), 62);
        const int top = topRow(trans());
        QVERIFY(top > 50);
        clickEmptyArea(months);
        QCOMPARE(SelectedRow(months), -1);
        QVERIFY(tintedRows().isEmpty());
        QCOMPARE(topRow(trans()), top);
    }

    void monthTint() {
        add("03/10/2023", "Expense", "Food", "1.00");
        add("01/20/2024", "Expense", "Food", "1.00");
        for (int d = 1; d <= 25; ++d)
            add(QDate(2024, 2, d).toString("MM/dd/yyyy"), "Expense", "Food", "1.00");
        add("03/01/2024", "Income", "Pay", "9.00");
        search(QDate(2023, 3, 1), QDate(2024, 3, 31));
        find<QTabBar>("TabSet1")->setCurrentIndex(1);
        QTreeView *months = find<QTreeView>("lvwMonthTotal");
        QCOMPARE(model("lvwMonthTotal")->Count(), 4);

        clickRow(months, 2);
        QList<int> february;
        for (int r = 2; r <= 26; ++r)
            february << r;
        QCOMPARE(tintedRows(), february);
        QCOMPARE(topRow(trans()), 2);
        QCOMPARE(SelectedRow(trans()), -1);

        // Another year's month of the same number is not marked.
        clickRow(months, 3);
        QCOMPARE(tintedRows(), QList<int>({27}));
    }

    // The lists draw their cells themselves (faster); every pixel must be
    // what the standard delegate draws: plain, tinted, selected and focused
    // rows, texts aligned left and right, a note cut short, a note of two
    // lines and empty cells.
    void cellsLookAsTheStandardDelegateDraws() {
        add("05/01/2024", "Income", "Salary", "123456789.01",
            "a note far too long to be shown "
            "whole in its column of the list");
        add("05/01/2024", "Expense", "Food", "0.01", "two\nlines");
        add("05/02/2024", "Expense", "Household items", "42.50");
        add("05/03/2024", "Expense", "Food", "7.25", "shop");
        search(QDate(2024, 5, 1), QDate(2024, 5, 31));
        clickRow(find<QTreeView>("lvwDayTotal"), 0);
        QCOMPARE(tintedRows(), QList<int>({0, 1}));
        clickRow(trans(), 2);
        QVERIFY(trans()->hasFocus());
        // The lists' models answer for indexes and flags in their own way.
        for (const char *name : {"lvwTrans", "lvwDayTotal"})
            QAbstractItemModelTester(model(name),
                                     QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (const char *name : {"lvwTrans", "lvwDayTotal"}) {
            QTreeView *list = find<QTreeView>(name);
            const QImage own = list->viewport()->grab().toImage();
            QStyledItemDelegate standard;
            QAbstractItemDelegate *kept = list->itemDelegate();
            list->setItemDelegate(&standard);
            const QImage expected = list->viewport()->grab().toImage();
            list->setItemDelegate(kept);
            QVERIFY2(own == expected, name);
        }
    }

    void editKeepsTypeAndReplaces() {
        add("04/01/2024", "Income", "Salary", "100.00", "april");
        add("04/01/2024", "Income", "Bonus", "50.00");
        search(QDate(2024, 4, 1), QDate(2024, 4, 30));
        QCOMPARE(column("lvwTrans", 2), QStringList({"Salary", "Bonus"}));
        const QString oldId = model("lvwTrans")->Text(0, 0);

        // No: nothing opens, nothing changes.
        clickRow(trans(), 0);
        Answer(TButton::No);
        QTest::mouseClick(find<QPushButton>("btnTransEdit"), Qt::LeftButton);
        QCOMPARE(model("lvwTrans")->Text(0, 0), oldId);

        // Yes, then the editor: it starts with the record's texts.
        QStringList shown;
        Answer(TButton::Yes);
        TestDialogs::Dialog([&shown](QDialog *w) {
            auto *cate = w->findChild<QComboBox *>("edtCate");
            auto *amount = w->findChild<QLineEdit *>("edtAmount");
            auto *notes = w->findChild<QLineEdit *>("edtNotes");
            auto *date = w->findChild<QDateEdit *>("dtpDate");
            QVERIFY(cate && amount && notes && date);
            shown << date->date().toString("MM/dd/yyyy") << cate->currentText() << amount->text()
                  << notes->text();
            date->setDate(QDate(2024, 4, 2));
            cate->setEditText("Wages");
            amount->setText("120.5");
            QTest::mouseClick(w->findChild<QPushButton *>("btnSave"), Qt::LeftButton);
        });
        QTest::mouseClick(find<QPushButton>("btnTransEdit"), Qt::LeftButton);
        QCOMPARE(TestDialogs::Asked().at(1).Text, QString("You want to edit it?"));
        QCOMPARE(TestDialogs::Asked().at(1).Caption, QString("?"));
        QCOMPARE(shown, QStringList({"04/01/2024", "Salary", "100.00", "april"}));

        // Fresh search: same type (In column), new values, a new id.
        QCOMPARE(model("lvwTrans")->Count(), 2);
        const QStringList edited = ListTexts(trans()).at(1);
        QCOMPARE(edited.mid(1), QStringList({"04/02/2024", "Wages", "120.50", "", "april"}));
        QVERIFY(edited.at(0).toLongLong() > oldId.toLongLong());
        QVERIFY(!column("lvwTrans", 0).contains(oldId));
        QCOMPARE(find<QLabel>("lblTransTotal")->text(), totals("170.50", "0.00", "170.50"));
        QCOMPARE(SelectedRow(trans()), -1);
        QVERIFY(!enabled("btnTransEdit"));

        // Cancelling the editor changes nothing.
        clickRow(trans(), 0);
        Answer(TButton::Yes);
        TestDialogs::Dialog([](QDialog *w) { w->reject(); });
        QTest::mouseClick(find<QPushButton>("btnTransEdit"), Qt::LeftButton);
        QCOMPARE(column("lvwTrans", 2), QStringList({"Bonus", "Wages"}));
        QVERIFY(enabled("btnTransEdit"));
    }

    void deleteByKeyAndButton() {
        add("06/01/2024", "Expense", "A", "1.00");
        add("06/02/2024", "Expense", "B", "2.00");
        add("06/03/2024", "Expense", "C", "3.00");
        search(QDate(2024, 6, 1), QDate(2024, 6, 30));

        // Delete key without a selected row: no question.
        trans()->setFocus();
        QTest::keyClick(trans(), Qt::Key_Delete);
        QVERIFY(TestDialogs::Asked().isEmpty());

        // With one: asked, deleted, searched afresh.
        clickRow(trans(), 1);
        Answer(TButton::Yes);
        QTest::keyClick(trans(), Qt::Key_Delete);
        QCOMPARE(LastMessage(), QString("You want to delete it?"));
        QCOMPARE(TestDialogs::Asked().last().Caption, QString("?"));
        QCOMPARE(column("lvwTrans", 2), QStringList({"A", "C"}));
        QCOMPARE(find<QLabel>("lblTransTotal")->text(), totals("0.00", "4.00", "-4.00"));

        // The button.
        clickRow(trans(), 0);
        Answer(TButton::Yes);
        QTest::mouseClick(find<QPushButton>("btnTransDelete"), Qt::LeftButton);
        QCOMPARE(column("lvwTrans", 2), QStringList({"C"}));
        QVERIFY(enabled("btnTransDelete") == false);
    }

    // Delete and Edit undone and redone; a step whose record another window
    // changed is refused and dropped, the steps before it stay.
    void undoAndRedo() {
        add("05/01/2024", "Expense", "Food", "12.50");
        add("05/02/2024", "Expense", "Rent", "700.00");
        search(QDate(2024, 5, 1), QDate(2024, 5, 31));
        const QList<QStringList> both = ListTexts(trans());
        auto *undo = find<QAction>("mnuMenu_Undo");
        auto *redo = find<QAction>("mnuMenu_Redo");
        clickRow(trans(), 0);
        Answer(TButton::Yes);
        QTest::mouseClick(find<QPushButton>("btnTransDelete"), Qt::LeftButton);
        QCOMPARE(undo->text(), QString("Undo Delete of 12.50 Food"));
        // A file that refuses the change: nothing undone, the step stays.
        const auto sql = [this](const char *statement) {
            TSqlConnection(fixture->DataFile(), TSqlConnection::TMode::ReadWrite).Exec(statement);
        };
        sql("create trigger refuse before insert on data begin select raise(abort, 'no'); end");
        Answer(TButton::Ok);
        undo->trigger();
        QCOMPARE(ListTexts(trans()), both.mid(1));
        QCOMPARE(undo->text(), QString("Undo Delete of 12.50 Food"));
        QVERIFY(!redo->isEnabled());
        sql("drop trigger refuse");
        undo->trigger();
        QCOMPARE(ListTexts(trans()), both); // the same id
        QCOMPARE(redo->text(), QString("Redo Delete of 12.50 Food"));
        redo->trigger();
        QCOMPARE(ListTexts(trans()), both.mid(1));
        QCOMPARE(find<QLabel>("lblTransTotal")->text(), totals("0.00", "700.00", "-700.00"));

        clickRow(trans(), 0);
        Answer(TButton::Yes);
        TestDialogs::Dialog([](QDialog *w) {
            w->findChild<QLineEdit *>("edtAmount")->setText("650");
            QTest::mouseClick(w->findChild<QPushButton *>("btnSave"), Qt::LeftButton);
        });
        QTest::mouseClick(find<QPushButton>("btnTransEdit"), Qt::LeftButton);
        QCOMPARE(undo->text(), QString("Undo Edit of 700.00 Rent"));
        undo->trigger();
        QCOMPARE(ListTexts(trans()), both.mid(1));
        redo->trigger();
        // Another window deletes the edited record: its undo changes nothing.
        db->DeleteRecord("alice", model("lvwTrans")->Text(0, 0).toLongLong());
        Answer(TButton::Ok);
        undo->trigger();
        QVERIFY2(LastMessage().contains("nothing was undone"), qPrintable(LastMessage()));
        QCOMPARE(model("lvwTrans")->Count(), 0);
        QCOMPARE(db->ReadPeriod("alice", QDate(2024, 5, 1), QDate(2024, 5, 31)).Records.size(), 0);
        QCOMPARE(undo->text(), QString("Undo Delete of 12.50 Food"));
        undo->trigger();
        QCOMPARE(ListTexts(trans()), both.mid(0, 1));

        // A record another window deleted meanwhile is not deleted again.
        db->DeleteRecord("alice", model("lvwTrans")->Text(0, 0).toLongLong());
        clickRow(trans(), 0);
        Answer(TButton::Yes);
        Answer(TButton::Ok);
        QTest::mouseClick(find<QPushButton>("btnTransDelete"), Qt::LeftButton);
        QVERIFY2(LastMessage().contains("nothing was deleted"), qPrintable(LastMessage()));
        QCOMPARE(model("lvwTrans")->Count(), 0);
        QCOMPARE(undo->text(), QString("Undo"));
    }

    void budgetsOfPeriods() {
        add("03/05/2024", "Expense", "Food", "400.00");
        add("03/20/2024", "Expense", "Rent", "700.00");
        add("03/06/2024", "Expense", "Fun", "20.00");
        add("04/02/2024", "Expense", "Food", "100.00");
        db->SetCategories("alice", "out", {"Food", "Rent"});
        // Budgets typed into the window; Save, and the window closed if it stayed.
        const auto setBudgets = [this](const QString &food, const QString &rent, bool refused) {
            TestDialogs::Dialog([=](QDialog *w) {
                if (refused)
                    Answer(TButton::Ok);
                auto *out = w->findChild<QTreeWidget *>("lvwBudgetsOut");
                out->topLevelItem(0)->setText(1, food);
                out->topLevelItem(1)->setText(1, rent);
                QTest::mouseClick(w->findChild<QPushButton *>("btnSave"), Qt::LeftButton);
                if (w->isVisible())
                    w->reject();
            });
            find<QAction>("mnuMenu_Budgets")->trigger();
        };
        setBudgets("310", "12,50", true);
        QVERIFY2(LastMessage().contains("Rent (Expense): \"12,50\""), qPrintable(LastMessage()));
        QVERIFY(db->Budgets("alice").isEmpty());
        setBudgets("310", " 800.00 ", false);
        QCOMPARE(db->Budgets("alice").size(), 2);

        QTest::mouseClick(find<QRadioButton>("rdoTransBudgets"), Qt::LeftButton);
        QVERIFY(find<QWidget>("pnlTransBudgets")->isVisible());
        const auto rows = [this] { return ListTexts(find<QTreeView>("lvwBudgets")); };
        const auto foot = [this] { return find<QLabel>("lblBudgetsTotal")->text(); };
        const QStringList rest = {"(Without a budget)", "", "20.00", "", ""};
        search(QDate(2024, 3, 1), QDate(2024, 3, 31));
        QCOMPARE(rows(), (QList<QStringList>{{"Food", "310.00", "400.00", "-90.00 !", ""},
                                             {"Rent", "800.00", "700.00", "100.00", ""},
                                             rest}));
        QCOMPARE(foot(), QString("Budget: 1110.00    Spent: 1120.00    Left: -10.00"));
        search(QDate(2024, 3, 1), QDate(2024, 3, 15)); // 15/31 of a month
        QCOMPARE(rows(), (QList<QStringList>{{"Food", "150.00", "400.00", "-250.00 !", ""},
                                             {"Rent", "387.10", "0.00", "387.10", ""},
                                             rest}));
        search(QDate(2024, 3, 1), QDate(2024, 5, 31));
        QCOMPARE(rows(), (QList<QStringList>{{"Food", "930.00", "500.00", "430.00", ""},
                                             {"Rent", "2400.00", "700.00", "1700.00", ""},
                                             rest}));
        // Enter on a row: the category's records in More Info.
        SelectRow(find<QTreeView>("lvwBudgets"), 0);
        TestDialogs::Dialog([](QDialog *w) { w->reject(); });
        QTest::keyClick(find<QTreeView>("lvwBudgets"), Qt::Key_Return);
        QCOMPARE(TestDialogs::Asked().last().Text, QString("TfrmMoreInfo"));

        auto *undo = find<QAction>("mnuMenu_Undo");
        QCOMPARE(undo->text(), QString("Undo Change of the budgets"));
        undo->trigger();
        QVERIFY(db->Budgets("alice").isEmpty());
        QCOMPARE(rows(), (QList<QStringList>{{"(Without a budget)", "", "1220.00", "", ""}}));
    }

    void refreshWithReversedPickers() {
        add("07/01/2024", "Expense", "A", "1.00");
        add("07/02/2024", "Expense", "B", "2.00");
        add("07/03/2024", "Income", "C", "3.00");
        search(QDate(2024, 7, 1), QDate(2024, 7, 31));
        setPeriod(QDate(2024, 8, 1), QDate(2024, 7, 1)); // reversed
        QVERIFY(!enabled("btnTransSearch"));

        // Delete: the lists show the searched period without the record.
        clickRow(trans(), 0);
        Answer(TButton::Yes);
        QTest::mouseClick(find<QPushButton>("btnTransDelete"), Qt::LeftButton);
        QCOMPARE(column("lvwTrans", 2), QStringList({"B", "C"}));
        QVERIFY(!enabled("btnTransSearch"));

        // Edit: the old row is gone, so editing it again cannot duplicate it.
        clickRow(trans(), 0);
        const QString oldId = model("lvwTrans")->Text(0, 0);
        Answer(TButton::Yes);
        TestDialogs::Dialog([](QDialog *w) {
            w->findChild<QLineEdit *>("edtAmount")->setText("4");
            QTest::mouseClick(w->findChild<QPushButton *>("btnSave"), Qt::LeftButton);
        });
        QTest::mouseClick(find<QPushButton>("btnTransEdit"), Qt::LeftButton);
        QVERIFY(!column("lvwTrans", 0).contains(oldId));
        QCOMPARE(column("lvwTrans", 4), QStringList({"4.00", ""}));
        QCOMPARE(find<QLabel>("lblTransTotal")->text(), totals("3.00", "4.00", "-1.00"));
        QVERIFY(!enabled("btnTransSearch"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // Ctrl+F from another panel, a text and Enter: every record of any
    // period it finds, newest first, with totals and the span in the pickers.
    void findByWordAccentAndAmount() {
        add("01/15/2020", "Expense", "Health", "80.00", "Dentist Dr. Müller");
        add("05/05/2022", "Expense", "Food", "3.00", "market");
        add("06/03/2023", "Expense", "Café", "12.50", "lunch");
        add("03/01/2024", "Income", "Salary", "12.50", "odd");
        add("11/20/2024", "Expense", "Health", "95.00", "dentist checkup");
        find<QRadioButton>("rdoExpense")->click();
        QApplication::setActiveWindow(fixture->Main());
        QTest::keyClick(fixture->Main(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(find<QLineEdit>("edtTransFind")->hasFocus());
        const char *cases[][4] = {
            {"DENTIST", "dentist checkup|Dentist Dr. Müller", "0.00|175.00|-175.00",
             "01/15/2020|11/20/2024"},
            {"cafe", "lunch", "0.00|12.50|-12.50", "06/03/2023|06/03/2023"},
            {"12,50", "odd|lunch", "12.50|12.50|0.00", "06/03/2023|03/01/2024"},
            {"health muller", "Dentist Dr. Müller", "0.00|80.00|-80.00", "01/15/2020|01/15/2020"}};
        for (const auto &c : cases) {
            findText(c[0]);
            QCOMPARE(column("lvwTrans", 5).join('|'), QString(c[1]));
            const QStringList sums = QString(c[2]).split('|');
            QCOMPARE(find<QLabel>("lblTransTotal")->text(), totals(sums[0], sums[1], sums[2]));
            QCOMPARE(span(), QString(c[3]));
        }
        QCOMPARE(column("lvwDayTotal", 0), QStringList({"01/15/2020"}));
        // A record that cannot be read is mentioned, not left out silently.
        addUnreadable();
        Answer(TButton::Ok);
        findText("health muller");
        QVERIFY(LastMessage().startsWith("1 record of the book could not be read"));
    }

    // Edit and Delete on found records find again; Esc hands the keys to
    // the list; emptying the box brings back the period, and so does Search.
    void findResultsEditDeleteAndBack() {
        add("03/05/2024", "Expense", "Food", "4.00", "bakery");
        add("02/01/2019", "Expense", "Food", "6.00", "bakery");
        add("02/02/2019", "Expense", "Health", "30.00", "pharmacy");
        add("06/01/2020", "Expense", "Food", "9.00", "groceries");
        db->SetCategories("alice", "out", {"Food", "", "Health", "Rent"});
        search(QDate(2024, 3, 1), QDate(2024, 3, 31));
        findText("bakery");
        QCOMPARE(column("lvwTrans", 1), QStringList({"03/05/2024", "02/01/2019"}));
        QTest::keyClick(find<QLineEdit>("edtTransFind"), Qt::Key_Escape);
        QVERIFY(trans()->hasFocus());
        // More Info of a category lists its records found, not all of the span.
        int moreInfoRows = -1;
        TestDialogs::Dialog([&](QDialog *w) {
            moreInfoRows = w->findChild<QTreeView *>("lvwRecs")->model()->rowCount();
            w->reject();
        });
        fixture->Main()->TransactionsPanel()->CategoriesPanel()->ShowMoreInfo(TRecordType::Expense,
                                                                              "Food", nullptr);
        QCOMPARE(moreInfoRows, 2);

        // Edit: the category box offers the expense list; found again.
        clickRow(trans(), 1);
        QStringList offered;
        Answer(TButton::Yes);
        TestDialogs::Dialog([&offered](QDialog *w) {
            auto *cate = w->findChild<QComboBox *>("edtCate");
            for (int i = 0; i < cate->count(); ++i)
                offered << cate->itemText(i);
            cate->setEditText("Treats");
            QTest::mouseClick(w->findChild<QPushButton *>("btnSave"), Qt::LeftButton);
        });
        QTest::mouseClick(find<QPushButton>("btnTransEdit"), Qt::LeftButton);
        QCOMPARE(offered, QStringList({"Food", "Health", "Rent"}));
        QCOMPARE(column("lvwTrans", 2), QStringList({"Food", "Treats"}));
        // Delete: gone from the results, which span what is left.
        clickRow(trans(), 0);
        Answer(TButton::Yes);
        QTest::mouseClick(find<QPushButton>("btnTransDelete"), Qt::LeftButton);
        QCOMPARE(column("lvwTrans", 2), QStringList({"Treats"}));
        QCOMPARE(span(), QString("02/01/2019|02/01/2019"));

        // Emptying the box: the period searched before, in the pickers too.
        findText("");
        QCOMPARE(span(), QString("03/01/2024|03/31/2024"));
        QCOMPARE(model("lvwTrans")->Count(), 0);
        // Search after a find searches the pickers and empties the box.
        findText("pharmacy");
        search(QDate(2019, 1, 1), QDate(2019, 12, 31));
        QCOMPARE(column("lvwTrans", 5), QStringList({"bakery", "pharmacy"}));
        QCOMPARE(find<QLineEdit>("edtTransFind")->text(), QString());
    }

    void failuresLeaveNothingBusy() {
        add("08/01/2024", "Expense", "A", "1.00");
        search(QDate(2024, 8, 1), QDate(2024, 8, 31));
        clickRow(trans(), 0);
        breakDataFile();

        // A failing delete: the error is shown under the window's title;
        // Delete and the cursor recover.
        Answer(TButton::Yes);
        Answer(TButton::Ok);
        QTest::mouseClick(find<QPushButton>("btnTransDelete"), Qt::LeftButton);
        QVERIFY(!LastMessage().isEmpty());
        QCOMPARE(TestDialogs::Asked().last().Caption, QString("Ledgerly - Username: alice"));
        QVERIFY(enabled("btnTransDelete"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);

        // A failing search: Search enabled, normal cursor, lists and totals
        // emptied rather than left from the earlier period.
        Answer(TButton::Ok);
        QTest::mouseClick(find<QPushButton>("btnTransSearch"), Qt::LeftButton);
        QCOMPARE(TestDialogs::Asked().size(), 3);
        QVERIFY(enabled("btnTransSearch"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(model("lvwTrans")->Count(), 0);
        QCOMPARE(find<QLabel>("lblTransTotal")->text(), totals("0.00", "0.00", "0.00"));
        QVERIFY(!enabled("btnTransMore"));
    }
};

QTEST_MAIN(TestTransactions)
#include "test_transactions.moc"
