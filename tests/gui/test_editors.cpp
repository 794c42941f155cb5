// The record editor, the category-list editor and the More Info window,
// driven through their real widgets; the message and input boxes the user
// sees behind the dialog seam.
#include "forms/Dialogs.h"
#include "forms/EditCateForm.h"
#include "forms/EditRecForm.h"
#include "forms/MoreInfoForm.h"
#include "forms/RowsModel.h"
#include "tests/support/MainFixture.h"
#include "tests/support/TestDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace {

template <typename T> T *Child(QWidget *parent, const char *name) {
    T *w = parent->findChild<T *>(QLatin1String(name));
    if (!w)
        qFatal("missing control %s", name);
    return w;
}

// The record editor's category box (an editable combo box) as a line edit.
QLineEdit *CateEdit(QWidget *dlg) {
    return Child<QComboBox>(dlg, "edtCate")->lineEdit();
}

void ReplaceText(QLineEdit *edit, const QString &text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// Names of the window's own controls that Tab visits, in focus-chain order.
QStringList TabStops(QWidget *window) {
    QStringList names;
    QWidget *w = window;
    do {
        w = w->nextInFocusChain();
        if (w->parentWidget() == window && (w->focusPolicy() & Qt::TabFocus))
            names << w->objectName();
    } while (w != window);
    return names;
}

} // namespace

class TestEditors : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TestDialogs::Install(); }
    void cleanup() { TestDialogs::Clear(); }

    void recordEditorLayout();
    void recordEditorOpensWithTheRecordAndSaveDisabled();
    void recordEditorReturnsNormalisedFields();
    void recordEditorSaveRule_data();
    void recordEditorSaveRule();
    void recordEditorLimitsTypingButKeepsLongerStoredTexts();
    void recordEditorKeysAndResults();
    void tabbingIntoABoxDoesNotSelectItsText();

    void categoryEditorNeedsAChangeAndTrimsTheText();
    void categoryEditorKeepsInnerEmptyLines();
    void categoryEditorCancelAndEscape();

    void moreInfoColumnsCaptionAndRows();

    void boxesTheUserSees();
};

void TestEditors::recordEditorLayout() {
    QWidget owner;
    TfrmEditRec dlg(&owner);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Edit"));
    QCOMPARE(dlg.size(), QSize(380, 196));
    QCOMPARE(dlg.minimumSize(), dlg.maximumSize());
    QVERIFY(!(dlg.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(dlg.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(dlg.windowFlags() & Qt::WindowCloseButtonHint);

    auto *date = Child<QDateEdit>(&dlg, "dtpDate");
    QCOMPARE(date->displayFormat(), QStringLiteral("MM/dd/yyyy"));
    auto *save = Child<QPushButton>(&dlg, "btnSave");
    auto *cancel = Child<QPushButton>(&dlg, "btnCancel");
    for (QPushButton *b : {save, cancel})
        QVERIFY(!b->isDefault() && !b->autoDefault());

    // Tab visits the picker, the three boxes and the two buttons in order.
    const QStringList order = {"dtpDate",  "edtCate", "edtAmount",
                               "edtNotes", "btnSave", "btnCancel"};
    QCOMPARE(TabStops(&dlg), order);
}

void TestEditors::recordEditorOpensWithTheRecordAndSaveDisabled() {
    QWidget owner;
    TfrmEditRec dlg(&owner);
    dlg.RecDate = "12/31/2009";
    dlg.RecCate = "Food";
    dlg.RecAmount = "49.90";
    dlg.RecNotes = "Market";
    dlg.show();
    QCOMPARE(Child<QDateEdit>(&dlg, "dtpDate")->date(), QDate(2009, 12, 31));
    QCOMPARE(Child<QDateEdit>(&dlg, "dtpDate")->text(), QStringLiteral("12/31/2009"));
    QCOMPARE(CateEdit(&dlg)->text(), QStringLiteral("Food"));
    QCOMPARE(Child<QLineEdit>(&dlg, "edtAmount")->text(), QStringLiteral("49.90"));
    QCOMPARE(Child<QLineEdit>(&dlg, "edtNotes")->text(), QStringLiteral("Market"));
    QVERIFY(!Child<QPushButton>(&dlg, "btnSave")->isEnabled());

    // Changing only the date does not enable Save.
    Child<QDateEdit>(&dlg, "dtpDate")->setDate(QDate(2010, 1, 5));
    QVERIFY(!Child<QPushButton>(&dlg, "btnSave")->isEnabled());

    // A change that brings the opening text back still counts as a change.
    auto *notes = Child<QLineEdit>(&dlg, "edtNotes");
    QTest::keyClick(notes, Qt::Key_Backspace);
    QTest::keyClicks(notes, "t");
    QCOMPARE(notes->text(), QStringLiteral("Market"));
    QVERIFY(Child<QPushButton>(&dlg, "btnSave")->isEnabled());
}

void TestEditors::recordEditorReturnsNormalisedFields() {
    QWidget owner;
    TfrmEditRec dlg(&owner);
    dlg.RecDate = "12/31/2009";
    dlg.RecCate = "Food";
    dlg.RecAmount = "49.9";
    dlg.RecNotes = "";
    dlg.show();
    Child<QDateEdit>(&dlg, "dtpDate")->setDate(QDate(2010, 1, 5));
    ReplaceText(CateEdit(&dlg), "  Groceries  ");
    QTest::keyClicks(Child<QLineEdit>(&dlg, "edtNotes"), "  weekly shop ");
    QTest::mouseClick(Child<QPushButton>(&dlg, "btnSave"), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.RecDate, QStringLiteral("01/05/2010"));
    QCOMPARE(dlg.RecCate, QStringLiteral("Groceries"));
    QCOMPARE(dlg.RecAmount, QStringLiteral("49.90"));
    QCOMPARE(dlg.RecNotes, QStringLiteral("weekly shop"));

    // Amounts are read and written with "." whatever the locale.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TfrmEditRec again(&owner);
    again.RecDate = "02/28/2011";
    again.RecCate = "Rent";
    again.RecAmount = "1200";
    again.RecNotes = "x";
    again.show();
    ReplaceText(Child<QLineEdit>(&again, "edtAmount"), " 1234.5 ");
    QTest::mouseClick(Child<QPushButton>(&again, "btnSave"), Qt::LeftButton);
    QLocale::setDefault(QLocale::c());
    QCOMPARE(again.result(), int(QDialog::Accepted));
    QCOMPARE(again.RecAmount, QStringLiteral("1234.50"));
    QCOMPARE(again.RecDate, QStringLiteral("02/28/2011"));
}

void TestEditors::recordEditorSaveRule_data() {
    // The amount rule itself is covered through the entry panels' Add.
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("smallest amount") << "Food"
                                     << "0.01" << true;
    QTest::newRow("blanks around both") << "  Food "
                                        << " 12.5 " << true;
    QTest::newRow("below a cent") << "Food"
                                  << "0.009" << false;
    QTest::newRow("exponent") << "Food"
                              << "1e3" << false;
    QTest::newRow("empty category") << ""
                                    << "10" << false;
    QTest::newRow("blank category") << " "
                                    << "10" << false;
}

void TestEditors::recordEditorSaveRule() {
    QFETCH(QString, category);
    QFETCH(QString, amount);
    QFETCH(bool, enabled);
    QWidget owner;
    TfrmEditRec dlg(&owner);
    dlg.RecDate = "03/15/2012";
    dlg.RecCate = "Old";
    dlg.RecAmount = "1.00";
    dlg.show();
    ReplaceText(CateEdit(&dlg), category);
    ReplaceText(Child<QLineEdit>(&dlg, "edtAmount"), amount);
    auto *save = Child<QPushButton>(&dlg, "btnSave");
    QCOMPARE(save->isEnabled(), enabled);
    // A refused record never comes out, even when Save is forced.
    dlg.btnSaveClick();
    QCOMPARE(dlg.isVisible(), !enabled);
    if (!enabled)
        QCOMPARE(dlg.RecAmount, QStringLiteral("1.00"));
}

void TestEditors::recordEditorLimitsTypingButKeepsLongerStoredTexts() {
    QWidget owner;
    TfrmEditRec dlg(&owner);
    // Longer than the 100 characters, and than a line edit's usual 32,767.
    const QString longNotes = QString(40000, QLatin1Char('n'));
    dlg.RecDate = "01/01/2020";
    dlg.RecCate = "Food";
    dlg.RecAmount = "5";
    dlg.RecNotes = longNotes;
    dlg.show();
    auto *cate = CateEdit(&dlg);
    QTest::keyClicks(cate, QString(120, QLatin1Char('c')));
    QCOMPARE(cate->text().size(), 100);
    auto *amount = Child<QLineEdit>(&dlg, "edtAmount");
    QTest::keyClicks(amount, QString(120, QLatin1Char('0')));
    QCOMPARE(amount->text().size(), 100);
    // Notes stored longer than the box's limit are not cut by opening the
    // record to change its category.
    auto *notes = Child<QLineEdit>(&dlg, "edtNotes");
    QCOMPARE(notes->text(), longNotes);
    QTest::keyClicks(notes, "more");
    QCOMPARE(notes->text(), longNotes);
    ReplaceText(cate, "Fuel");
    ReplaceText(amount, "5");
    QTest::mouseClick(Child<QPushButton>(&dlg, "btnSave"), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(dlg.RecNotes, longNotes);
    QCOMPARE(dlg.RecCate, QStringLiteral("Fuel"));
    // A longer item of the category list is chosen whole.
    dlg.Categories = {QString(150, QLatin1Char('k'))};
    dlg.show();
    Child<QComboBox>(&dlg, "edtCate")->setCurrentIndex(0);
    QCOMPARE(cate->text().size(), 150);
}

void TestEditors::recordEditorKeysAndResults() {
    QWidget owner;
    owner.resize(700, 525);
    owner.show();
    {
        TfrmEditRec dlg(&owner);
        dlg.RecDate = "12/31/2009";
        dlg.RecCate = "Food";
        dlg.RecAmount = "49.9";
        bool stillOpen = false;
        TestDialogs::Dialog([&](QDialog *w) {
            auto *notes = Child<QLineEdit>(w, "edtNotes");
            QTest::keyClicks(notes, "x");
            QTest::keyClick(notes, Qt::Key_Return);
            QTest::keyClick(notes, Qt::Key_Enter);
            QTest::keyClick(w, Qt::Key_Escape);
            QTest::keyClick(notes, Qt::Key_Escape);
            stillOpen = w->isVisible();
            QTest::mouseClick(Child<QPushButton>(w, "btnCancel"), Qt::LeftButton);
        });
        QCOMPARE(ExecDialog(&dlg), int(QDialog::Rejected));
        QVERIFY(stillOpen);
        // Cancel leaves the fields as the caller wrote them.
        QCOMPARE(dlg.RecAmount, QStringLiteral("49.9"));
        QCOMPARE(dlg.RecNotes, QString());
    }
    {
        // Enter on the focused Save button saves like a click.
        TfrmEditRec dlg(&owner);
        dlg.RecDate = "12/31/2009";
        dlg.RecCate = "Food";
        dlg.RecAmount = "49.9";
        TestDialogs::Dialog([](QDialog *w) {
            QTest::keyClicks(Child<QLineEdit>(w, "edtNotes"), "x");
            auto *save = Child<QPushButton>(w, "btnSave");
            save->setFocus();
            QTest::keyClick(save, Qt::Key_Return);
        });
        QCOMPARE(ExecDialog(&dlg), int(QDialog::Accepted));
        QCOMPARE(dlg.RecAmount, QStringLiteral("49.90"));
        QCOMPARE(dlg.RecNotes, QStringLiteral("x"));
    }
    {
        // Closing through the window frame counts as Cancel.
        TfrmEditRec dlg(&owner);
        dlg.RecDate = "12/31/2009";
        dlg.RecCate = "Food";
        dlg.RecAmount = "49.9";
        TestDialogs::Dialog([](QDialog *w) {
            QTest::keyClicks(Child<QLineEdit>(w, "edtNotes"), "x");
            w->close();
        });
        QCOMPARE(ExecDialog(&dlg), int(QDialog::Rejected));
        QCOMPARE(dlg.RecNotes, QString());
    }
}

void TestEditors::tabbingIntoABoxDoesNotSelectItsText() {
    QWidget owner;
    owner.show();
    TfrmEditRec dlg(&owner);
    dlg.RecDate = "12/31/2009";
    dlg.RecCate = "Food";
    dlg.RecAmount = "12";
    dlg.RecNotes = "note";
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    auto *cate = CateEdit(&dlg);
    auto *amount = Child<QLineEdit>(&dlg, "edtAmount");
    // Tab leaves the picker at once (not walking its month, day and year).
    auto *date = Child<QDateEdit>(&dlg, "dtpDate");
    date->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(date, Qt::Key_Tab);
    QTRY_VERIFY(cate->hasFocus());
    QVERIFY(!cate->hasSelectedText());
    QTest::keyClick(cate, Qt::Key_Backtab);
    QTRY_VERIFY(date->hasFocus());
    cate->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(cate, Qt::Key_Tab);
    QTRY_VERIFY(amount->hasFocus());
    QVERIFY(!amount->hasSelectedText());
    QTest::keyClicks(amount, "3");
    QCOMPARE(amount->text(), QStringLiteral("123"));
}

void TestEditors::categoryEditorNeedsAChangeAndTrimsTheText() {
    QWidget owner;
    TfrmEditCate dlg(&owner);
    dlg.Categories = {"Food", "Rent", "Fuel", ""};
    dlg.show();
    auto *memo = Child<QPlainTextEdit>(&dlg, "memText");
    auto *save = Child<QPushButton>(&dlg, "btnSave");
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Edit"));
    QCOMPARE(TabStops(&dlg), QStringList({"memText", "btnAddCommon", "btnSave", "btnCancel"}));
    QVERIFY(!Child<QPushButton>(&dlg, "btnAddCommon")->isVisible());
    QVERIFY(!save->autoDefault() && !Child<QPushButton>(&dlg, "btnCancel")->autoDefault());
    QCOMPARE(memo->toPlainText(), QStringLiteral("Food\nRent\nFuel\n"));
    QVERIFY(!save->isEnabled());

    // Typing a character and deleting it counts as a change.
    memo->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo, "x");
    QTest::keyClick(memo, Qt::Key_Backspace);
    QVERIFY(save->isEnabled());
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(dlg.Categories, QStringList({"Food", "Rent", "Fuel"}));
}

void TestEditors::categoryEditorKeepsInnerEmptyLines() {
    QWidget owner;
    TfrmEditCate dlg(&owner);
    dlg.Categories = {"  Food", "", "Rent", "rent"};
    dlg.show();
    auto *memo = Child<QPlainTextEdit>(&dlg, "memText");
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "  ");
    QTest::mouseClick(Child<QPushButton>(&dlg, "btnSave"), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(dlg.Categories, QStringList({"Food", "", "Rent", "rent"}));
}

void TestEditors::categoryEditorCancelAndEscape() {
    QWidget owner;
    owner.show();
    TfrmEditCate dlg(&owner);
    dlg.Categories = {"Food"};
    bool stillOpen = false;
    TestDialogs::Dialog([&](QDialog *w) {
        auto *memo = Child<QPlainTextEdit>(w, "memText");
        memo->moveCursor(QTextCursor::End);
        QTest::keyClick(memo, Qt::Key_Return); // a new line, not a close
        QTest::keyClicks(memo, "Rent");
        QTest::keyClick(w, Qt::Key_Escape);
        stillOpen = w->isVisible();
        // Enter on the focused Cancel button cancels like a click.
        auto *cancel = Child<QPushButton>(w, "btnCancel");
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Enter);
    });
    QCOMPARE(ExecDialog(&dlg), int(QDialog::Rejected));
    QVERIFY(stillOpen);
    QCOMPARE(dlg.Categories, QStringList{"Food"});
}

void TestEditors::moreInfoColumnsCaptionAndRows() {
    QWidget owner;
    TfrmMoreInfo dlg(&owner);
    QCOMPARE(dlg.size(), QSize(631, 453));
    QVERIFY(!(dlg.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(dlg.findChildren<QPushButton *>().isEmpty());
    auto *list = Child<QTreeView>(&dlg, "lvwRecs");
    // Enlarged, the list grows with it.
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    dlg.resize(731, 503);
    QCOMPARE(list->geometry(), QRect(20, 20, 692, 457));
    dlg.hide();

    dlg.SetCaption("Qty: 3  Total: 45.00");
    dlg.SetAmountCaption("Out");
    dlg.SetRows({TestRecord("01/02/2010", "Expense", "Food", "10.00", "a"),
                 TestRecord("01/03/2010", "Expense", "Food", "15.00"),
                 TestRecord("01/09/2010", "Expense", "Food", "20.00", "c")});
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Qty: 3  Total: 45.00"));

    QAbstractItemModel *model = list->model();
    QCOMPARE(model->columnCount(), 5);
    const QStringList captions = {"", "Date", "Category", "Out", "Notes"};
    const QList<int> widths = {0, 80, 180, 80, 220};
    for (int c = 0; c < 5; ++c) {
        QCOMPARE(model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), captions.at(c));
        QCOMPARE(list->header()->sectionSize(c), widths.at(c));
    }
    QVERIFY(model->headerData(3, Qt::Horizontal, Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    QVERIFY(model->data(model->index(0, 3), Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    QVERIFY(model->data(model->index(0, 2), Qt::TextAlignmentRole).toInt() & Qt::AlignLeft);
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->index(1, 1).data().toString(), QStringLiteral("01/03/2010"));
    QCOMPARE(model->index(2, 3).data().toString(), QStringLiteral("20.00"));
    QCOMPARE(model->index(0, 4).data().toString(), QStringLiteral("a"));
    QVERIFY(model->index(0, 0).data().toString().isEmpty());

    // Opening again for an income category changes only the caption; a
    // new row set replaces the old one.
    dlg.SetAmountCaption("In");
    dlg.SetRows({TestRecord("05/05/2010", "Income", "Salary", "900.00")});
    QCOMPARE(model->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("In"));
    QCOMPARE(model->rowCount(), 1);
}

void TestEditors::boxesTheUserSees() {
    TDialogs &real = TestDialogs::Real();
    // Runs `answer` on the box that the next call shows, inside its event loop.
    const auto next = [](std::function<void(QWidget *)> answer) {
        QTimer::singleShot(0, [answer] { answer(QApplication::activeModalWidget()); });
    };
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    next([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        shown = box->text();
        format = box->textFormat();
        box->button(QMessageBox::No)->click();
    });
    QCOMPARE(
        real.Message(nullptr, TMessageKind::Question, "?", "<b>x</b>", TButton::Yes | TButton::No),
        TButton::No);
    // Texts quote names as typed: never read as markup.
    QCOMPARE(shown, QString("<b>x</b>"));
    QCOMPARE(format, Qt::PlainText);

    next([](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); });
    QCOMPARE(real.Message(nullptr, TMessageKind::Warning, "c", "t",
                          TButton::Save | TButton::Discard | TButton::Cancel),
             TButton::Cancel);

    next([](QWidget *w) {
        for (QAbstractButton *b : qobject_cast<QMessageBox *>(w)->buttons())
            if (b->text() == "later")
                b->click();
    });
    QCOMPARE(real.Choose(nullptr, "?", "t", {"sooner", "later"}), 1);
    next([](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); });
    QCOMPARE(real.Choose(nullptr, "?", "t", {"sooner", "later"}), -1);

    next([&](QWidget *w) {
        auto *input = qobject_cast<QInputDialog *>(w);
        shown = input->objectName() + " " + input->textValue();
        input->setTextValue("typed");
        input->accept();
    });
    QCOMPARE(real.Text(nullptr, "dlgName", "c", "l", "start"), std::optional<QString>("typed"));
    QCOMPARE(shown, QString("dlgName start"));
}

QTEST_MAIN(TestEditors)
#include "test_editors.moc"
