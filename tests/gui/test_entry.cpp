// The Expense and Income panels through the real main window, signed in as a
// test user on a data file in a temporary XDG data folder.
#include "forms/EntryPanel.h"
#include "forms/MainForm.h"
#include "forms/RowsModel.h"
#include "store/AmountText.h"
#include "store/DbClass.h"
#include "store/Sqlite.h"
#include "tests/support/MainFixture.h"
#include "tests/support/TestDialogs.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <memory>

using TestDialogs::Answer;
using TestDialogs::LastMessage;

namespace {

const QString kUser = QStringLiteral("Tester");

// The controls of one entry panel.
struct Panel {
    QDateEdit *Date;
    QComboBox *Cate;
    QLineEdit *Amount;
    QLineEdit *Notes;
    QPushButton *Add;
    QPushButton *Save;
    QPushButton *Edit;
    QPushButton *Delete;
    QPushButton *EditCates;
    QPushButton *Help;
    QPushButton *Calc;
    QTreeView *List;
    QLabel *Total;

    TRowsModel *Model() const { return ListModel(List); }
    QList<QStringList> Rows() const { return ListTexts(List); }
    QStringList Items() const {
        QStringList items;
        for (int i = 0; i < Cate->count(); ++i)
            items << Cate->itemText(i);
        return items;
    }
};

template <typename T> T *Find(QWidget *w, const QString &name) {
    T *c = w->findChild<T *>(name);
    if (!c)
        qFatal("missing control %s", qPrintable(name));
    return c;
}

Panel PanelOf(QWidget *w, const QString &part) {
    return {Find<QDateEdit>(w, "dtp" + part + "Date"),
            Find<QComboBox>(w, "cbo" + part + "Cate"),
            Find<QLineEdit>(w, "edt" + part + "Amount"),
            Find<QLineEdit>(w, "edt" + part + "Notes"),
            Find<QPushButton>(w, "btn" + part + "Add"),
            Find<QPushButton>(w, "btn" + part + "Save"),
            Find<QPushButton>(w, "btn" + part + "Edit"),
            Find<QPushButton>(w, "btn" + part + "Delete"),
            Find<QPushButton>(w, "btn" + part + "EditCates"),
            Find<QPushButton>(w, "btn" + part + "Help"),
            Find<QPushButton>(w, "btn" + part + "Calc"),
            Find<QTreeView>(w, "lvw" + part + "Recs"),
            Find<QLabel>(w, "lbl" + part + "Total")};
}

void Type(QWidget *box, const QString &text) {
    if (auto *combo = qobject_cast<QComboBox *>(box))
        combo->setEditText(QString());
    else
        static_cast<QLineEdit *>(box)->clear();
    QTest::keyClicks(box, text);
}

// Types one record and presses Add.
void AddRow(const Panel &p, const QString &cate, const QString &amount,
            const QString &notes = QString(), const QDate &date = QDate()) {
    if (date.isValid())
        p.Date->setDate(date);
    Type(p.Cate, cate);
    Type(p.Amount, amount);
    Type(p.Notes, notes);
    QTest::mouseClick(p.Add, Qt::LeftButton);
}

bool CateHasFocus(const Panel &p) {
    QWidget *f = QApplication::focusWidget();
    return f && (f == p.Cate || f == p.Cate->lineEdit());
}

// Runs statements on the data file beside the program's own connections.
void ExecOnDataFile(const QString &file, const QStringList &statements) {
    TSqlConnection db(file, TSqlConnection::TMode::ReadWrite);
    for (const QString &s : statements)
        db.Exec(s.toUtf8().constData());
}

// The stored records of one category on one day, as More Info lists them.
QList<QStringList> StoredRecords(const QString &file, const QString &user, const QDate &day,
                                 TRecordType type, const QString &category) {
    QList<QStringList> rows;
    for (const TRecord &r :
         SignedInStore(file, user).ReadCategoryRecords(user, day, day, type, category))
        rows << QStringList{r.Date.toString("MM/dd/yyyy"), r.Category, CentsText(r.Cents), r.Notes};
    return rows;
}

int StoredRecordCount(const QString &file) {
    TSqlConnection db(file, TSqlConnection::TMode::ReadOnly);
    TSqlStatement count(db, "select count(*) from data");
    return count.Next() ? int(count.Int(0)) : -1;
}

} // namespace

class TestEntry : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void workedExampleAndCategoryMemory();
    void addRule_data();
    void addRule();
    void enterWalksTheFields();
    void takeBackTheMiddleRow();
    void saveStoresTheListForTheUser();
    void deleteKeyAndButton();
    void saveFailureKeepsTheList();
    void saveUndoneAndRedone();
    void closingAsksAboutPendingRows();
    void longNotesAndLinesImportedMeanwhile();
    void categoryFailureStillAddsTheRow();
    void categoryEditorRoundTrip();
    void commonCategoriesForAnEmptyList();
    void incomeTwinAndHelp();
    void calcStartsTheFirstCalculatorFound();
    void recurringRowsBookedAtSignIn();
    void repeatEveryMonth();

private:
    // The user's stored category list "out" or "in".
    QString StoredCategories(const QString &list) {
        return SignedInStore(FFixture->DataFile(), kUser).GetCategories(kUser, list).join("\r\n");
    }

    std::unique_ptr<TMainFixture> FFixture;
    TfrmMain *FMain = nullptr;
    Panel Out{};
    Panel In{};
};

void TestEntry::init() {
    FFixture = std::make_unique<TMainFixture>();
    FMain = FFixture->SignIn(kUser);
    QVERIFY(FMain && FMain->SignedIn());
    FMain->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(FMain));
    Out = PanelOf(FMain, "Out");
    In = PanelOf(FMain, "In");
}

void TestEntry::cleanup() {
    FFixture.reset();
    FMain = nullptr;
    QVERIFY(!QApplication::overrideCursor());
}

void TestEntry::workedExampleAndCategoryMemory() {
    // A fresh user has no rows, a total of 0.00 and nothing to save.
    QCOMPARE(Out.Total->text(), QStringLiteral("Total: 0.00"));
    QVERIFY(!Out.Add->isEnabled() && !Out.Save->isEnabled() && !Out.Edit->isEnabled() &&
            !Out.Delete->isEnabled());

    AddRow(Out, " Food ", "49.9", "", QDate(2009, 12, 31));
    QCOMPARE(Out.Rows(), QList<QStringList>({{"12/31/2009", "Expense", "Food", "49.90", ""}}));
    QCOMPARE(Out.Total->text(), QStringLiteral("Total: 49.90"));
    // The fields are emptied for the next record of the same day.
    QCOMPARE(Out.Cate->currentText(), QString());
    QCOMPARE(Out.Amount->text(), QString());
    QCOMPARE(Out.Date->date(), QDate(2009, 12, 31));
    QVERIFY(CateHasFocus(Out));
    QVERIFY(!Out.Add->isEnabled());
    // Only Save is possible until a row is selected.
    QVERIFY(Out.Save->isEnabled() && !Out.Edit->isEnabled() && !Out.Delete->isEnabled());
    SelectRow(Out.List, 0);
    QVERIFY(Out.Edit->isEnabled() && Out.Delete->isEnabled());

    // The new category heads the list and is stored at once.
    QCOMPARE(Out.Items(), QStringList({"Food"}));
    QCOMPARE(StoredCategories("out"), QStringLiteral("Food"));

    // Another spelling of a known category keeps its own spelling in the row
    // but does not change the list; a new one goes to the top.
    AddRow(Out, "FOOD", "1");
    AddRow(Out, "Rent", "700", " March ");
    QCOMPARE(Out.Model()->Text(1, 2), QStringLiteral("FOOD"));
    QCOMPARE(Out.Rows().at(2), QStringList({"12/31/2009", "Expense", "Rent", "700.00", "March"}));
    QCOMPARE(Out.Items(), QStringList({"Rent", "Food"}));
    QCOMPARE(StoredCategories("out"), QStringLiteral("Rent\r\nFood"));
    QCOMPARE(Out.Total->text(), QStringLiteral("Total: 750.90"));
    // The Income list is a list of its own.
    QCOMPARE(StoredCategories("in"), QString());
    QCOMPARE(In.Model()->Count(), 0);
}

void TestEntry::addRule_data() {
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("stored");
    QTest::newRow("one cent") << "Food"
                              << "0.01" << true << "0.01";
    QTest::newRow("below a cent") << "Food"
                                  << "0.009" << false << "";
    QTest::newRow("zero") << "Food"
                          << "0" << false << "";
    QTest::newRow("negative") << "Food"
                              << "-5" << false << "";
    QTest::newRow("letters") << "Food"
                             << "abc" << false << "";
    QTest::newRow("empty") << "Food"
                           << "" << false << "";
    QTest::newRow("exponent") << "Food"
                              << "1e3" << false << "";
    QTest::newRow("hexadecimal") << "Food"
                                 << "0x10" << false << "";
    QTest::newRow("not a number") << "Food"
                                  << "nan" << false << "";
    QTest::newRow("largest") << "Food"
                             << "999999999999.99" << true << "999999999999.99";
    QTest::newRow("too large") << "Food"
                               << "1000000000000" << false << "";
    QTest::newRow("blank category") << "   "
                                    << "5" << false << "";
}

void TestEntry::addRule() {
    QFETCH(QString, category);
    QFETCH(QString, amount);
    QFETCH(bool, enabled);
    QFETCH(QString, stored);
    Type(Out.Cate, category);
    Type(Out.Amount, amount);
    QCOMPARE(Out.Add->isEnabled(), enabled);
    // Enter in the notes box calls Add past the rule: it adds nothing.
    QTest::keyClick(Out.Notes, Qt::Key_Return);
    QCOMPARE(Out.Model()->Count(), enabled ? 1 : 0);
    if (enabled)
        QCOMPARE(Out.Model()->Text(0, 3), stored);
}

void TestEntry::enterWalksTheFields() {
    // Tab visits the four boxes and Add, in this order, and nothing between.
    Type(Out.Cate, "x");
    Type(Out.Amount, "1");
    QVERIFY(Out.Add->isEnabled());
    Out.Date->setFocus();
    QList<QWidget *> visited;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *f = QApplication::focusWidget();
        visited << (f == Out.Cate->lineEdit() ? Out.Cate : f);
    }
    QCOMPARE(visited, QList<QWidget *>({Out.Cate, Out.Amount, Out.Notes, Out.Add}));
    // Entering a box by Tab does not select its text.
    QVERIFY(!Out.Amount->hasSelectedText());
    Type(Out.Cate, "");
    Type(Out.Amount, "");

    Out.Date->setDate(QDate(2010, 3, 4));
    Out.Date->setFocus();
    QTest::keyClick(Out.Date, Qt::Key_Return);
    QVERIFY(CateHasFocus(Out));
    QTest::keyClicks(QApplication::focusWidget(), "Fuel");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(Out.Amount->hasFocus());
    QTest::keyClicks(Out.Amount, "12,5"); // not an amount
    QTest::keyClick(Out.Amount, Qt::Key_Enter);
    QVERIFY(Out.Notes->hasFocus());
    QTest::keyClicks(Out.Notes, "tank");
    // Enter in the notes box while Add is refused: back to the category.
    QTest::keyClick(Out.Notes, Qt::Key_Return);
    QVERIFY(CateHasFocus(Out));
    QCOMPARE(Out.Model()->Count(), 0);
    QCOMPARE(Out.Notes->text(), QStringLiteral("tank"));

    Type(Out.Amount, "12.5");
    Out.Notes->setFocus();
    QTest::keyClick(Out.Notes, Qt::Key_Return);
    QCOMPARE(Out.Rows(), QList<QStringList>({{"03/04/2010", "Expense", "Fuel", "12.50", "tank"}}));
    QVERIFY(CateHasFocus(Out));
    // Enter never reached the boxes: the combo holds no item made by Enter.
    QCOMPARE(Out.Items(), QStringList({"Fuel"}));

    // Tab brings the focus to Add; Enter there adds like a click.
    Type(Out.Cate, "Rent");
    Type(Out.Amount, "7");
    Out.Add->setFocus();
    QTest::keyClick(Out.Add, Qt::Key_Return);
    QCOMPARE(Out.Model()->Count(), 2);
    QCOMPARE(Out.Model()->Text(1, 2), QStringLiteral("Rent"));
    QVERIFY(CateHasFocus(Out));
}

void TestEntry::takeBackTheMiddleRow() {
    AddRow(Out, "Food", "10", "a", QDate(2011, 1, 1));
    AddRow(Out, "Fuel", "20.5", "b", QDate(2011, 1, 2));
    AddRow(Out, "Rent", "30", "c", QDate(2011, 1, 3));
    QCOMPARE(Out.Total->text(), QStringLiteral("Total: 60.50"));
    SelectRow(Out.List, 1);

    // No keeps everything.
    Answer(TButton::No);
    QTest::mouseClick(Out.Edit, Qt::LeftButton);
    QCOMPARE(Out.Model()->Count(), 3);

    Answer(TButton::Yes);
    QTest::mouseClick(Out.Edit, Qt::LeftButton);
    QCOMPARE(LastMessage(), QStringLiteral("You want to edit it?"));
    QCOMPARE(TestDialogs::Asked().last().Caption, QStringLiteral("?"));
    QCOMPARE(Out.Model()->Count(), 2);
    QCOMPARE(Out.Model()->Text(1, 2), QStringLiteral("Rent"));
    QCOMPARE(Out.Date->date(), QDate(2011, 1, 2));
    QCOMPARE(Out.Cate->currentText(), QStringLiteral("Fuel"));
    QCOMPARE(Out.Amount->text(), QStringLiteral("20.50"));
    QCOMPARE(Out.Notes->text(), QStringLiteral("b"));
    QCOMPARE(Out.Total->text(), QStringLiteral("Total: 40.00"));
    QVERIFY(Out.Add->isEnabled());
    QVERIFY(!Out.Edit->isEnabled() && !Out.Delete->isEnabled());

    // Added again, the row goes to the end.
    QTest::mouseClick(Out.Add, Qt::LeftButton);
    QCOMPARE(Out.Model()->Count(), 3);
    QCOMPARE(Out.Rows().at(2), QStringList({"01/02/2011", "Expense", "Fuel", "20.50", "b"}));
    QCOMPARE(Out.Total->text(), QStringLiteral("Total: 60.50"));
}

void TestEntry::saveStoresTheListForTheUser() {
    AddRow(Out, "Food", "49.9", "", QDate(2009, 12, 31));
    AddRow(Out, "Food", "5", "bread", QDate(2009, 12, 31));

    // No leaves everything as it was.
    Answer(TButton::No);
    QTest::mouseClick(Out.Save, Qt::LeftButton);
    QCOMPARE(LastMessage(), QStringLiteral("Do you want to save?"));
    QCOMPARE(Out.Model()->Count(), 2);
    QVERIFY(Out.Save->isEnabled());
    QCOMPARE(StoredRecordCount(FFixture->DataFile()), 0);

    Answer(TButton::Yes);
    Answer(TButton::Ok);
    QTest::mouseClick(Out.Save, Qt::LeftButton);
    QCOMPARE(TestDialogs::Asked().last().Caption, QStringLiteral("SUCCESS"));
    QCOMPARE(LastMessage(), QStringLiteral("SUCCESS!\n\nTo view transactions, click on the "
                                           "\"Transactions\" radio button."));
    QCOMPARE(Out.Model()->Count(), 0);
    QCOMPARE(Out.Total->text(), QStringLiteral("Total: 0.00"));
    QVERIFY(!Out.Save->isEnabled() && !Out.Edit->isEnabled() && !Out.Delete->isEnabled());

    const QDate day(2009, 12, 31);
    QCOMPARE(StoredRecords(FFixture->DataFile(), kUser, day, TRecordType::Expense, "Food"),
             QList<QStringList>(
                 {{"12/31/2009", "Food", "49.90", ""}, {"12/31/2009", "Food", "5.00", "bread"}}));
    QVERIFY(StoredRecords(FFixture->DataFile(), "someone else", day, TRecordType::Expense, "Food")
                .isEmpty());
    QCOMPARE(StoredRecordCount(FFixture->DataFile()), 2);
}

void TestEntry::deleteKeyAndButton() {
    AddRow(Out, "Food", "1");
    AddRow(Out, "Fuel", "2");
    // The Delete key without a selected row asks nothing and drops nothing.
    SelectRow(Out.List, -1);
    Out.List->setFocus();
    QTest::keyClick(Out.List, Qt::Key_Delete);
    QCOMPARE(Out.Model()->Count(), 2);

    // With a selected row it asks; No keeps the row.
    SelectRow(Out.List, 0);
    Answer(TButton::No);
    QTest::keyClick(Out.List, Qt::Key_Delete);
    QCOMPARE(LastMessage(), QStringLiteral("You want to delete it?"));
    QCOMPARE(Out.Model()->Count(), 2);

    Answer(TButton::Yes);
    QTest::keyClick(Out.List, Qt::Key_Delete);
    QCOMPARE(Out.Model()->Count(), 1);
    QCOMPARE(Out.Model()->Text(0, 2), QStringLiteral("Fuel"));
    QCOMPARE(Out.Total->text(), QStringLiteral("Total: 2.00"));
    // The row that moved up is not chosen for the user: a second Delete
    // asks nothing.
    QCOMPARE(SelectedRow(Out.List), -1);
    QVERIFY(!Out.Delete->isEnabled());
    QTest::keyClick(Out.List, Qt::Key_Delete);
    QCOMPARE(Out.Model()->Count(), 1);

    SelectRow(Out.List, 0);
    Answer(TButton::Yes);
    QTest::mouseClick(Out.Delete, Qt::LeftButton);
    QCOMPARE(Out.Model()->Count(), 0);
    QVERIFY(!Out.Save->isEnabled() && !Out.Delete->isEnabled());
    QCOMPARE(Out.Total->text(), QStringLiteral("Total: 0.00"));
}

void TestEntry::saveFailureKeepsTheList() {
    AddRow(Out, "Food", "10", "first", QDate(2012, 5, 1));
    AddRow(Out, "Food", "20", "second", QDate(2012, 5, 1));
    // The second insert of the save fails.
    ExecOnDataFile(FFixture->DataFile(),
                   {"create trigger refuse_second before insert on data "
                    "when (select count(*) from data) >= 1 "
                    "begin select raise(abort, 'the disk refused the record'); end"});

    Answer(TButton::Yes);
    Answer(TButton::Ok);
    QTest::mouseClick(Out.Save, Qt::LeftButton);
    QVERIFY2(LastMessage().contains("the disk refused the record"), qPrintable(LastMessage()));
    // Nothing is stored, the rows stay, Save can be tried again.
    QCOMPARE(StoredRecordCount(FFixture->DataFile()), 0);
    QCOMPARE(Out.Model()->Count(), 2);
    QCOMPARE(Out.Total->text(), QStringLiteral("Total: 30.00"));
    QVERIFY(Out.Save->isEnabled());
    QVERIFY(!QApplication::overrideCursor());

    // Once the fault is gone, the second Save stores each record once.
    ExecOnDataFile(FFixture->DataFile(), {"drop trigger refuse_second"});
    Answer(TButton::Yes);
    Answer(TButton::Ok);
    QTest::mouseClick(Out.Save, Qt::LeftButton);
    QCOMPARE(StoredRecordCount(FFixture->DataFile()), 2);
    QCOMPARE(Out.Model()->Count(), 0);
}

void TestEntry::saveUndoneAndRedone() {
    auto *undo = FMain->findChild<QAction *>("mnuMenu_Undo");
    auto *redo = FMain->findChild<QAction *>("mnuMenu_Redo");
    for (const char *cate : {"Food", "Fuel", "Rent"})
        AddRow(Out, cate, "1", "", QDate(2020, 1, 1));
    Answer(TButton::Yes);
    Answer(TButton::Ok);
    QTest::mouseClick(Out.Save, Qt::LeftButton);
    QCOMPARE(undo->text(), QStringLiteral("Undo Save of 3 expenses"));
    const auto stored = [&] {
        return SignedInStore(FFixture->DataFile(), kUser)
            .ReadPeriod(kUser, {2020, 1, 1}, {2020, 1, 1})
            .Records;
    };
    const QList<TRecord> saved = stored();
    // The keys, from anywhere in the window: the three rows go, and come
    // back with their ids.
    for (const QKeyCombination key : {Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::SHIFT | Qt::Key_Z,
                                      Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::Key_Y}) {
        const bool undoing =
            key.keyboardModifiers() == Qt::ControlModifier && key.key() == Qt::Key_Z;
        QTest::keyClick(Out.List, key.key(), key.keyboardModifiers());
        QCOMPARE(stored(), undoing ? QList<TRecord>() : saved);
        QCOMPARE(undo->isEnabled(), !undoing);
        QCOMPARE(redo->text(),
                 undoing ? QStringLiteral("Redo Save of 3 expenses") : QStringLiteral("Redo"));
    }
}

void TestEntry::closingAsksAboutPendingRows() {
    AddRow(Out, "Food", "1");
    AddRow(Out, "Fuel", "2");
    QTest::mouseClick(Find<QRadioButton>(FMain, "rdoIncome"), Qt::LeftButton);
    AddRow(In, "Pay", "3");
    Answer(TButton::Cancel);
    FMain->close();
    QCOMPARE(LastMessage(),
             QStringLiteral("Save the 2 pending expenses and 1 pending income before closing?"));
    QVERIFY(FMain->isVisible());

    // Switch User asks too; a Save that fails keeps the window and the rows.
    ExecOnDataFile(FFixture->DataFile(), {"create trigger refuse before insert on data "
                                          "begin select raise(abort, 'disk refused'); end"});
    Answer(TButton::Yes);
    Answer(TButton::Save);
    Answer(TButton::Ok);
    FMain->findChild<QAction *>("mnuMenu_SwitchUser")->trigger();
    QVERIFY2(LastMessage().contains("disk refused"), qPrintable(LastMessage()));
    QVERIFY(FMain->isVisible() && FFixture->Restarts.isEmpty());
    QCOMPARE(Out.Model()->Count() + In.Model()->Count(), 3);

    ExecOnDataFile(FFixture->DataFile(), {"drop trigger refuse"});
    Answer(TButton::Save);
    FMain->close();
    QVERIFY(!FMain->isVisible());
    QCOMPARE(StoredRecordCount(FFixture->DataFile()), 3);
}

void TestEntry::longNotesAndLinesImportedMeanwhile() {
    // A paste longer than a line edit's usual 32,767 characters is kept whole.
    const QString note(40000, QLatin1Char('n'));
    Type(Out.Cate, "Food");
    Type(Out.Amount, "5");
    Out.Notes->insert(note);
    QTest::mouseClick(Out.Add, Qt::LeftButton);
    // Two statement lines; another window saved the first one meanwhile.
    TRecord first = TestRecord("03/01/2024", "Expense", "Food", "1.00");
    TRecord second = TestRecord("03/02/2024", "Expense", "Food", "2.00");
    first.Import = TImportId{"giro", "T1"};
    second.Import = TImportId{"giro", "T2"};
    FMain->ExpensePanel()->AppendPending({first, second});
    SignedInStore(FFixture->DataFile(), kUser).AddRecords(kUser, {first});
    Answer(TButton::Yes);
    Answer(TButton::Ok);
    QTest::mouseClick(Out.Save, Qt::LeftButton);
    QVERIFY2(LastMessage().startsWith("SUCCESS!\n\n1 imported entry was left out: it had been "
                                      "imported meanwhile, in another Ledgerly window."),
             qPrintable(LastMessage()));
    QCOMPARE(StoredRecordCount(FFixture->DataFile()), 3);
    QCOMPARE(SignedInStore(FFixture->DataFile(), kUser)
                 .ReadPeriod(kUser, QDate(2000, 1, 1), QDate::currentDate())
                 .Records.last()
                 .Notes,
             note);
}

void TestEntry::categoryFailureStillAddsTheRow() {
    AddRow(Out, "Food", "1");
    ExecOnDataFile(FFixture->DataFile(),
                   {"create trigger refuse_update before update on cates "
                    "begin select raise(abort, 'categories are read-only'); end",
                    "create trigger refuse_insert before insert on cates "
                    "begin select raise(abort, 'categories are read-only'); end"});
    Answer(TButton::Ok);
    AddRow(Out, "Books", "12", "novel");
    QVERIFY2(LastMessage().contains("categories are read-only"), qPrintable(LastMessage()));
    // The record is in the list, the fields are free for the next one, the
    // box still shows only what is stored, and no busy state is left.
    QCOMPARE(Out.Model()->Count(), 2);
    QCOMPARE(Out.Model()->Text(1, 2), QStringLiteral("Books"));
    QCOMPARE(Out.Amount->text(), QString());
    QCOMPARE(Out.Items(), QStringList({"Food"}));
    QVERIFY(Out.Add->isVisible());
    QVERIFY(Out.Save->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(StoredCategories("out"), QStringLiteral("Food"));

    // Once the list can be stored again, the next Add of it stores it.
    ExecOnDataFile(FFixture->DataFile(),
                   {"drop trigger refuse_update", "drop trigger refuse_insert"});
    AddRow(Out, "books", "3");
    QCOMPARE(Out.Items(), QStringList({"books", "Food"}));
    QCOMPARE(StoredCategories("out"), QStringLiteral("books\r\nFood"));
}

void TestEntry::categoryEditorRoundTrip() {
    AddRow(Out, "Food", "1");
    AddRow(Out, "Rent", "2");
    Type(Out.Cate, "half typ");

    // Cancel: no message, nothing reloaded or stored.
    QString shown;
    TestDialogs::Dialog([&](QDialog *w) {
        shown = Find<QPlainTextEdit>(w, "memText")->toPlainText();
        QTest::keyClicks(Find<QPlainTextEdit>(w, "memText"), "junk");
        QTest::mouseClick(Find<QPushButton>(w, "btnCancel"), Qt::LeftButton);
    });
    QTest::mouseClick(Out.EditCates, Qt::LeftButton);
    QCOMPARE(TestDialogs::Asked().size(), 1);
    QCOMPARE(shown, QStringLiteral("Rent\nFood"));
    QCOMPARE(StoredCategories("out"), QStringLiteral("Rent\r\nFood"));
    QVERIFY(Out.EditCates->isEnabled());

    // Save: stored, reloaded, "SUCCESS!" shown; the typed text stays.
    TestDialogs::Dialog([&](QDialog *w) {
        auto *memo = Find<QPlainTextEdit>(w, "memText");
        memo->setPlainText("Food\n\nTravel\nRent\n\n");
        QTest::mouseClick(Find<QPushButton>(w, "btnSave"), Qt::LeftButton);
    });
    Answer(TButton::Ok);
    QTest::mouseClick(Out.EditCates, Qt::LeftButton);
    QCOMPARE(LastMessage(), QStringLiteral("SUCCESS!"));
    QCOMPARE(TestDialogs::Asked().last().Caption, QStringLiteral("Ledgerly"));
    QCOMPARE(StoredCategories("out"), QStringLiteral("Food\r\n\r\nTravel\r\nRent"));
    QCOMPARE(Out.Items(), QStringList({"Food", "", "Travel", "Rent"}));
    QCOMPARE(Out.Cate->currentText(), QStringLiteral("half typ"));
    QVERIFY(Out.EditCates->isEnabled());
    QCOMPARE(FMain->focusWidget(), Out.EditCates);
    QVERIFY(!QApplication::overrideCursor());
    // The pending rows are untouched by editing the list.
    QCOMPARE(Out.Model()->Count(), 2);

    // Undone: stored and shown as before, the typed text still there.
    auto *undo = FMain->findChild<QAction *>("mnuMenu_Undo");
    QCOMPARE(undo->text(), QStringLiteral("Undo Save of the expense categories"));
    undo->trigger();
    QCOMPARE(StoredCategories("out"), QStringLiteral("Rent\r\nFood"));
    QCOMPARE(Out.Items(), QStringList({"Rent", "Food"}));
    QCOMPARE(Out.Cate->currentText(), QStringLiteral("half typ"));
}

void TestEntry::commonCategoriesForAnEmptyList() {
    // The editor of an empty list puts its type's common categories into the
    // text; only Save stores them. A list with items is not offered them.
    QTest::mouseClick(Find<QRadioButton>(FMain, "rdoIncome"), Qt::LeftButton);
    for (const bool save : {false, true, false}) {
        const bool empty = StoredCategories("in").isEmpty();
        TestDialogs::Dialog([&](QDialog *w) {
            auto *add = Find<QPushButton>(w, "btnAddCommon");
            QCOMPARE(add->isVisible(), empty);
            if (empty)
                QTest::mouseClick(add, Qt::LeftButton);
            QVERIFY(!add->isVisible());
            QTest::mouseClick(Find<QPushButton>(w, save ? "btnSave" : "btnCancel"), Qt::LeftButton);
        });
        if (save)
            Answer(TButton::Ok);
        QTest::mouseClick(In.EditCates, Qt::LeftButton);
        QCOMPARE(StoredCategories("in"), save || !empty ? QString("Salary\r\nInterest\r\nGifts\r\n"
                                                                  "Refunds\r\nOther")
                                                        : QString());
    }
}

void TestEntry::incomeTwinAndHelp() {
    QTest::mouseClick(Find<QRadioButton>(FMain, "rdoIncome"), Qt::LeftButton);
    QTRY_VERIFY(In.Add->isVisible());
    AddRow(In, " Lottery ", "89.95", "Happy", QDate(2009, 12, 1));
    QCOMPARE(In.Rows(),
             QList<QStringList>({{"12/01/2009", "Income", "Lottery", "89.95", "Happy"}}));
    QCOMPARE(In.Total->text(), QStringLiteral("Total: 89.95"));
    QCOMPARE(StoredCategories("in"), QStringLiteral("Lottery"));
    QCOMPARE(StoredCategories("out"), QString());
    QCOMPARE(Out.Model()->Count(), 0);
    QVERIFY(In.Save->isEnabled() && !Out.Save->isEnabled());

    Answer(TButton::Yes);
    Answer(TButton::Ok);
    QTest::mouseClick(In.Save, Qt::LeftButton);
    QCOMPARE(StoredRecords(FFixture->DataFile(), kUser, QDate(2009, 12, 1), TRecordType::Income,
                           "Lottery"),
             QList<QStringList>({{"12/01/2009", "Lottery", "89.95", "Happy"}}));

    // Each panel's help text, caption "Help".
    const QString tail = "  Step 5. Click on the Add button.\n"
                         "  Step 6. Click on the Save Button.\n"
                         "\n"
                         "- To view transactions, click on the \"Transactions\" radio button.";
    Answer(TButton::Ok);
    QTest::mouseClick(In.Help, Qt::LeftButton);
    QCOMPARE(TestDialogs::Asked().last().Caption, QStringLiteral("Help"));
    QCOMPARE(LastMessage(),
             "- Example:\n  Step 1. Date: 12/01/2009.\n  Step 2. Category: Lottery.\n"
             "  Step 3. Amount: 89.95.\n  Step 4. Notes: Happy.\n" +
                 tail);
    QTest::mouseClick(Find<QRadioButton>(FMain, "rdoExpense"), Qt::LeftButton);
    Answer(TButton::Ok);
    QTest::mouseClick(Out.Help, Qt::LeftButton);
    QCOMPARE(LastMessage(), "- Example:\n  Step 1. Date: 12/31/2009.\n  Step 2. Category: Food.\n"
                            "  Step 3. Amount: 49.95.\n  Step 4. Notes: Walmart.\n" +
                                tail);
}

void TestEntry::calcStartsTheFirstCalculatorFound() {
    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    const QByteArray oldPath = qgetenv("PATH");
    const auto restorePath = qScopeGuard([&] { qputenv("PATH", oldPath); });

    // Without a calculator on the search path nothing happens.
    qputenv("PATH", QFile::encodeName(bin.path()));
    QTest::mouseClick(Out.Calc, Qt::LeftButton);

    // With two of them, the first in the order of preference is started.
    const QString marker = bin.filePath("started");
    for (const QString &name : {QStringLiteral("xcalc"), QStringLiteral("galculator")}) {
        QFile script(bin.filePath(name));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\necho %1 >> '%2'\n").arg(name, marker).toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QTest::mouseClick(In.Calc, Qt::LeftButton);
    const auto startedOnes = [&marker] {
        QFile started(marker);
        return started.open(QIODevice::ReadOnly) ? started.readAll() : QByteArray();
    };
    QTRY_COMPARE(startedOnes(), QByteArray("galculator\n"));
}

void TestEntry::recurringRowsBookedAtSignIn() {
    const QString file = FFixture->DataFile();
    TRecurring rent{0,      TRecordType::Expense,
                    "Rent", 70000,
                    "Flat", {QDate(2026, 1, 31), 1, TRepeatUnit::Months, {}},
                    {}};
    rent.Id = TDbMan(file).AddRecurring(kUser, rent);
    FFixture->AnswersAtStart = {TButton::Ok};
    const auto signIn = [&](QDate today) {
        FFixture->Today = today;
        FMain = FFixture->SignIn(kUser, "secret", false);
        Out = PanelOf(FMain, "Out");
        In = PanelOf(FMain, "In");
    };
    const auto booked = [&](qint64 id) {
        for (const TRecurring &entry : SignedInStore(file, kUser).RecurringEntries(kUser))
            if (entry.Id == id)
                return entry.Booked;
        return QDate();
    };
    const auto stored = [&] {
        return SignedInStore(file, kUser).ReadPeriod(kUser, {2026, 1, 1}, {2026, 12, 31}).Records;
    };

    // Monthly on the 31st: the last day of the shorter months; marked in the
    // list only; nothing stored before Save.
    signIn({2026, 4, 30});
    QCOMPARE(FFixture->SignInMessages,
             QStringList("4 recurring entries are due: review them in the pending lists."));
    QCOMPARE(Out.Rows(),
             QList<QStringList>({{"01/31/2026", "Expense", "Rent", "700.00", "↻ Flat"},
                                 {"02/28/2026", "Expense", "Rent", "700.00", "↻ Flat"},
                                 {"03/31/2026", "Expense", "Rent", "700.00", "↻ Flat"},
                                 {"04/30/2026", "Expense", "Rent", "700.00", "↻ Flat"}}));
    QCOMPARE(StoredRecordCount(file), 0);

    // A row deleted before Save is skipped: booked all the same.
    SelectRow(Out.List, 1);
    Answer(TButton::Yes);
    QTest::mouseClick(Out.Delete, Qt::LeftButton);
    Answer(TButton::Yes);
    Answer(TButton::Ok);
    QTest::mouseClick(Out.Save, Qt::LeftButton);
    QCOMPARE(stored().size(), 3);
    QCOMPARE(stored().first().Notes, QStringLiteral("Flat"));
    QCOMPARE(booked(rent.Id), QDate(2026, 4, 30));
    // Undo takes the rows and the booking back, redo makes both again.
    FMain->findChild<QAction *>("mnuMenu_Undo")->trigger();
    QVERIFY(stored().isEmpty() && !booked(rent.Id).isValid());
    FMain->findChild<QAction *>("mnuMenu_Redo")->trigger();
    QCOMPARE(stored().size(), 3);
    QCOMPARE(booked(rent.Id), QDate(2026, 4, 30));

    // Nothing due again (nothing shown); a daily entry after a long absence brings 62 rows
    // at most and the rest the next time.
    TRecurring pay{
        0, TRecordType::Income, "Tips", 100, {}, {QDate(2026, 1, 1), 1, TRepeatUnit::Days, {}}, {}};
    pay.Id = TDbMan(file).AddRecurring(kUser, pay);
    signIn({2026, 4, 30});
    QCOMPARE(Out.Model()->Count(), 0);
    QCOMPARE(In.Model()->Count(), 62);
    QCOMPARE(FFixture->SignInMessages,
             QStringList("62 recurring entries are due: review them in the pending lists. 58 "
                         "more are left for the next time: at most 62 rows of an entry come at "
                         "once."));

    // Another window books them first: this Save takes them out, stores none.
    TDbMan &other = SignedInStore(file, kUser);
    const QList<TDueEntry> due = other.DueOccurrences(kUser, {2026, 4, 30});
    QCOMPARE(due.size(), 1);
    other.SavePending(kUser, due.first().Rows, {due.first().Advance});
    Answer(TButton::Yes);
    Answer(TButton::Ok);
    QTest::mouseClick(In.Save, Qt::LeftButton);
    QVERIFY2(LastMessage().contains("62 rows of recurring entries were taken out"),
             qPrintable(LastMessage()));
    QCOMPARE(In.Model()->Count(), 0);
    QCOMPARE(stored().size(), 3 + 62);
}

void TestEntry::repeatEveryMonth() {
    // The editor comes filled from the row and is accepted as it is.
    const auto repeat = [&](const QString &action) {
        TestDialogs::Dialog([](QDialog *w) {
            QCOMPARE(w->objectName(), QString("frmEditRecurring"));
            Find<QPushButton>(w, "btnRecurringOk")->click();
        });
        Find<QAction>(FMain, action)->trigger();
        return SignedInStore(FFixture->DataFile(), kUser).RecurringEntries(kUser);
    };
    // A pending row: monthly from its date; the row is its first occurrence
    // once the list is saved.
    AddRow(Out, "Rent", "700", "Flat", QDate(2026, 1, 31));
    SelectRow(Out.List, 0);
    QList<TRecurring> entries = repeat("actOutRepeat");
    const TSchedule monthly{QDate(2026, 1, 31), 1, TRepeatUnit::Months, {}};
    TRecurring rent{entries.value(0).Id, TRecordType::Expense, "Rent", 70000, "Flat", monthly, {}};
    QCOMPARE(entries, QList<TRecurring>{rent});
    Answer(TButton::Yes);
    Answer(TButton::Ok);
    QTest::mouseClick(Out.Save, Qt::LeftButton);

    // A stored record: booked on its date already.
    FFixture->Search(QDate(2026, 1, 1), QDate(2026, 1, 31));
    SelectRow(Find<QTreeView>(FMain, "lvwTrans"), 0);
    entries = repeat("btnTransMore_Repeat");
    rent.Id = entries.value(1).Id;
    rent.Booked = QDate(2026, 1, 31);
    QCOMPARE(entries.value(1), rent);

    // The next sign-in brings February of both, never January again.
    FFixture->Today = QDate(2026, 2, 28);
    FFixture->AnswersAtStart = {TButton::Ok};
    FMain = FFixture->SignIn(kUser, "secret", false);
    Out = PanelOf(FMain, "Out");
    QCOMPARE(Out.Rows(),
             QList<QStringList>(2, {"02/28/2026", "Expense", "Rent", "700.00", "↻ Flat"}));
}

QTEST_MAIN(TestEntry)
#include "test_entry.moc"
