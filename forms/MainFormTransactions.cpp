// The Transactions panel of the main window: the period search, the day and
// month totals, the records of the period (tint of a chosen day or month,
// Edit, Delete), and the category summary with its More Info window.
#include "forms/MainForm.h"
#include "ui_MainForm.h"

#include "forms/BusyGuard.h"
#include "forms/EditRecForm.h"
#include "forms/MoreInfoForm.h"
#include "forms/RowsModel.h"
#include "store/AmountText.h"

#include <QApplication>
#include <QColor>
#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPalette>

#include <cmath>

namespace {

const QColor kDayTint(224, 255, 224);
const QColor kCurrentBack(0, 0, 128);
const QColor kCurrentText(255, 255, 255);

// Sub-items of a lvwTrans row.
enum TransItem {
    TransId = 0,
    TransDate = 1,
    TransCate = 2,
    TransIn = 3,
    TransOut = 4,
    TransNotes = 5
};
// Sub-items of a category row.
enum CateItem { CateType = 0, CateName = 1, CateQty = 2, CateSum = 3 };

QString dateText(const QDate &date) {
    return date.toString(QStringLiteral("MM/dd/yyyy"));
}

// Runs a function for the events of one object (a key released, the focus
// coming in); returning true eats the event.
class TEventHook : public QObject {
public:
    TEventHook(QObject *watched, std::function<bool(QEvent *)> handler)
        : QObject(watched), FHandler(std::move(handler)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override { return FHandler(event); }

private:
    std::function<bool(QEvent *)> FHandler;
};

// Colours of a category list's selection highlight: the current list shows
// its selected row navy on white; any other list hides its old selection.
void SetCatesHighlight(QTreeView *list, bool current) {
    QPalette palette = list->palette();
    const QPalette base = QApplication::palette(list);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight,
                         current ? kCurrentBack : base.color(group, QPalette::Base));
        palette.setColor(group, QPalette::HighlightedText,
                         current ? kCurrentText : base.color(group, QPalette::Text));
    }
    list->setPalette(palette);
}

} // namespace

// --- set-up ---------------------------------------------------------------------

void TfrmMain::SetupTransactions() {
    ListModel(ui->lvwTrans)->RowStyle = [this](int row, int role) {
        return lvwTransCustomDrawItem(row, role);
    };
    for (QTreeView *list : {ui->lvwInCates, ui->lvwOutCates})
        ListModel(list)->RowStyle = [this, list](int row, int role) {
            return CatesCustomDrawItem(list, row, role);
        };

    // Every handler that reaches the data file runs through RunGuarded: an
    // error is reported and the window goes on.
    connect(ui->btnTransSearch, &QPushButton::clicked, this,
            [this] { RunGuarded([&] { btnTransSearchClick(ui->btnTransSearch); }); });
    connect(ui->btnTransEdit, &QPushButton::clicked, this,
            [this] { RunGuarded([&] { btnTransEditClick(ui->btnTransEdit); }); });
    connect(ui->btnTransDelete, &QPushButton::clicked, this,
            [this] { RunGuarded([&] { btnTransDeleteClick(ui->btnTransDelete); }); });
    connect(ui->btnMoreInfo, &QPushButton::clicked, this,
            [this] { RunGuarded([&] { btnMoreInfoClick(ui->btnMoreInfo); }); });

    for (QTreeView *list : {ui->lvwDayTotal, ui->lvwMonthTotal}) {
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, list](const QItemSelection &selected, const QItemSelection &deselected) {
                    if (!deselected.isEmpty() && selected.isEmpty())
                        lvwDayTotalSelectItem(list, deselected.indexes().first().row(), false);
                    else if (!selected.isEmpty())
                        lvwDayTotalSelectItem(list, selected.indexes().first().row(), true);
                });
    }

    // Tab reaches Search; Enter there searches as Space does.
    new TEventHook(ui->btnTransSearch, [this](QEvent *event) {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if (!key->isAutoRepeat())
            ui->btnTransSearch->click();
        return true;
    });

    new TEventHook(ui->lvwTrans, [this](QEvent *event) {
        if (event->type() != QEvent::KeyRelease || static_cast<QKeyEvent *>(event)->isAutoRepeat())
            return false;
        int key = static_cast<QKeyEvent *>(event)->key();
        RunGuarded([&] { lvwTransKeyUp(key); });
        return key == 0;
    });

    // lvwInCatesEnter / lvwOutCatesEnter and the selection handlers.
    for (QTreeView *list : {ui->lvwInCates, ui->lvwOutCates}) {
        new TEventHook(list, [this, list](QEvent *event) {
            if (event->type() == QEvent::FocusIn)
                MakeCurrentCatesList(list);
            return false;
        });
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, list] { MakeCurrentCatesList(list); });
        SetCatesHighlight(list, false);
    }
    connect(ui->lvwInCates, &QTreeView::doubleClicked, this,
            [this] { RunGuarded([&] { lvwInCatesDblClick(); }); });
    connect(ui->lvwOutCates, &QTreeView::doubleClicked, this,
            [this] { RunGuarded([&] { lvwOutCatesDblClick(); }); });
}

// --- period and search ----------------------------------------------------------

void TfrmMain::ShowPeriodTotals(double income, double expenses) {
    // The net is rounded to cents first: the sums carry binary fractions, and
    // equal totals must not show as "-0.00".
    double net = std::round((income - expenses) * 100.0) / 100.0;
    if (net == 0)
        net = 0; // no negative zero
    const QString text = QStringLiteral("Income: %1    Expenses: %2    Net Income: %3")
                             .arg(FormatAmount(income), FormatAmount(expenses), FormatAmount(net));
    ui->lblTransTotal->setText(text);
    ui->lblCatesTotal->setText(text);
}

void TfrmMain::dtpTransDate1Change() {
    // QDateEdit holds bare dates, so there is no time of day to clear.
    ui->btnTransSearch->setEnabled(ui->dtpTransDate1->date() <= ui->dtpTransDate2->date());
}

void TfrmMain::btnTransSearchClick(QWidget *sender) {
    if (sender && !sender->isEnabled())
        return;
    SearchPeriod(sender, ui->dtpTransDate1->date(), ui->dtpTransDate2->date());
}

void TfrmMain::SearchPeriod(QWidget *sender, const QDate &from, const QDate &to) {
    TBusyGuard busy(sender);
    MarkedDate.clear();
    // The old rows go first, so a long period never holds two sets of rows
    // at once. Resetting a model drops its selection without a selection
    // signal, so CurrentCatesList stays as it is.
    for (QTreeView *list :
         {ui->lvwDayTotal, ui->lvwMonthTotal, ui->lvwTrans, ui->lvwOutCates, ui->lvwInCates})
        ListModel(list)->Clear();
    SearchFrom = from;
    SearchTo = to;

    double expenses = 0, income = 0;
    TStringsArray days, months, trans, outCates, inCates;
    try {
        DbMan->QueryPeriod(UserName, dateText(from), dateText(to), expenses, income, days, months,
                           trans, outCates, inCates);
    } catch (...) {
        // The totals must not describe an earlier period while the lists
        // are empty and SearchFrom/SearchTo name this one.
        PeriodExpenses = 0;
        PeriodIncome = 0;
        ShowPeriodTotals(0, 0);
        throw;
    }
    PeriodExpenses = expenses;
    PeriodIncome = income;
    ListModel(ui->lvwDayTotal)->SetRows(std::move(days));
    ListModel(ui->lvwMonthTotal)->SetRows(std::move(months));
    ListModel(ui->lvwTrans)->SetRows(std::move(trans));
    ListModel(ui->lvwOutCates)->SetRows(std::move(outCates));
    ListModel(ui->lvwInCates)->SetRows(std::move(inCates));
    ShowPeriodTotals(PeriodIncome, PeriodExpenses);

    busy.Release();
    if (sender)
        sender->setFocus();
    UpdateButtons();
}

void TfrmMain::RefreshSearch() {
    // With reversed pickers Search is disabled; the lists are then refreshed
    // for the period they show, so no row of a changed record stays behind.
    if (ui->btnTransSearch->isEnabled())
        btnTransSearchClick(ui->btnTransSearch);
    else if (SearchFrom.isValid() && SearchTo.isValid())
        SearchPeriod(nullptr, SearchFrom, SearchTo);
}

// --- totals lists and the tint ---------------------------------------------------

void TfrmMain::TabSet1Click() {
    ui->lvwDayTotal->hide();
    ui->lvwMonthTotal->hide();
    if (ui->TabSet1->currentIndex() == 1)
        ui->lvwMonthTotal->show();
    else
        ui->lvwDayTotal->show();
}

bool TfrmMain::IsMarked(const QString &date) const {
    if (MarkedDate.isEmpty())
        return false;
    const QString day = date.trimmed();
    if (day == MarkedDate)
        return true;
    // A month row "mm/yyyy" marks every day of that month.
    return MarkedDate.size() == 7 && day.size() == 10 && day.startsWith(MarkedDate.left(3)) &&
           day.endsWith(MarkedDate.mid(3));
}

void TfrmMain::lvwDayTotalSelectItem(QTreeView *sender, int row, bool selected) {
    MarkedDate = selected ? ListModel(sender)->Text(row, 0).trimmed() : QString();
    ui->lvwTrans->viewport()->update();
    if (!selected)
        return;

    const TRowsModel *trans = ListModel(ui->lvwTrans);
    int anchor = -1;
    for (int i = 0; i < trans->Count(); ++i) {
        if (IsMarked(trans->Text(i, TransDate))) {
            anchor = i;
            break;
        }
    }
    if (anchor < 0)
        return;

    // Scrolling to the last row first makes the anchor the topmost visible
    // row whenever enough rows follow it.
    QTreeView *list = ui->lvwTrans;
    list->setProperty("Tag", -1);
    const int last = trans->Count() - 1;
    SelectRow(list, last);
    list->scrollTo(list->model()->index(last, 0));
    SelectRow(list, anchor);
    list->scrollTo(list->model()->index(anchor, 0));
    SelectRow(list, -1);
    list->setProperty("Tag", 0);
}

QVariant TfrmMain::lvwTransCustomDrawItem(int row, int role) const {
    if (role == Qt::BackgroundRole && IsMarked(ListModel(ui->lvwTrans)->Text(row, TransDate)))
        return kDayTint;
    return QVariant();
}

void TfrmMain::lvwTransSelectItem() {
    // Tag -1: the view itself is moving the selection (a chosen day).
    if (ui->lvwTrans->property("Tag").toInt() != -1)
        UpdateButtons();
}

// --- edit and delete --------------------------------------------------------------

void TfrmMain::lvwTransKeyUp(int &key) {
    if (key != Qt::Key_Delete || SelectedRow(ui->lvwTrans) < 0)
        return;
    key = 0;
    btnTransDeleteClick(ui->btnTransDelete);
}

void TfrmMain::btnTransDeleteClick(QWidget *sender) {
    const int row = SelectedRow(ui->lvwTrans);
    if (row < 0)
        return;
    const QString id = ListModel(ui->lvwTrans)->Text(row, TransId).trimmed();
    if (!Ask(QStringLiteral("You want to delete it?")))
        return;
    {
        TBusyGuard busy(sender);
        DbMan->DeleteRecord(id);
    }
    if (sender)
        sender->setFocus();
    UpdateButtons();
    RefreshSearch();
}

void TfrmMain::btnTransEditClick(QWidget *sender) {
    const int row = SelectedRow(ui->lvwTrans);
    if (row < 0)
        return;
    const QStringList record = ListModel(ui->lvwTrans)->Row(row);
    const auto item = [&record](int i) { return i < record.size() ? record.at(i) : QString(); };
    if (!Ask(QStringLiteral("You want to edit it?")))
        return;

    const bool income = !item(TransIn).isEmpty();
    QString date, category, amount, notes;
    {
        TfrmEditRec editor(this);
        editor.RecDate = item(TransDate);
        editor.RecCate = item(TransCate);
        editor.RecAmount = income ? item(TransIn) : item(TransOut);
        editor.RecNotes = item(TransNotes);
        if (editor.exec() != QDialog::Accepted)
            return;
        date = editor.RecDate;
        category = editor.RecCate;
        amount = editor.RecAmount;
        notes = editor.RecNotes;
    }
    // Editing never changes a record's type.
    const QString type = income ? QStringLiteral("Income") : QStringLiteral("Expense");
    {
        TBusyGuard busy(sender);
        // Delete and insert in one transaction: a failure keeps the old record.
        DbMan->ReplaceRecord(item(TransId).trimmed(), UserName, date, type, category, amount,
                             notes);
    }
    if (sender)
        sender->setFocus();
    UpdateButtons();
    RefreshSearch();
}

void TfrmMain::btnTransMoreClick() {
    mnuTransMenu->popup(QCursor::pos());
}

// --- category summary ----------------------------------------------------------------

void TfrmMain::MakeCurrentCatesList(QTreeView *list) {
    CurrentCatesList = SelectedRow(list) >= 0 ? list : nullptr;
    for (QTreeView *cates : {ui->lvwInCates, ui->lvwOutCates}) {
        SetCatesHighlight(cates, cates == CurrentCatesList);
        cates->viewport()->update();
    }
    UpdateButtons();
}

QVariant TfrmMain::CatesCustomDrawItem(QTreeView *list, int row, int role) const {
    if (list != CurrentCatesList || SelectedRow(list) != row)
        return QVariant();
    if (role == Qt::BackgroundRole)
        return kCurrentBack;
    if (role == Qt::ForegroundRole)
        return kCurrentText;
    return QVariant();
}

void TfrmMain::lvwInCatesDblClick() {
    if (SelectedRow(ui->lvwInCates) >= 0)
        btnMoreInfoClick(ui->btnMoreInfo);
}

void TfrmMain::lvwOutCatesDblClick() {
    if (SelectedRow(ui->lvwOutCates) >= 0)
        btnMoreInfoClick(ui->btnMoreInfo);
}

void TfrmMain::btnMoreInfoClick(QWidget *sender) {
    if (!CurrentCatesList)
        return;
    const int row = SelectedRow(CurrentCatesList);
    if (row < 0)
        return;
    const TRowsModel *cates = ListModel(CurrentCatesList);
    const QString type = cates->Text(row, CateType);
    const QString category = cates->Text(row, CateName);

    TBusyGuard busy(sender);
    TfrmMoreInfo form(this);
    form.SetCaption(QStringLiteral("Qty: %1  Total: %2")
                        .arg(cates->Text(row, CateQty), cates->Text(row, CateSum)));
    form.SetAmountCaption(type == QLatin1String("Income") ? QStringLiteral("In")
                                                          : QStringLiteral("Out"));
    // The records of the period the category lists show, so that they add up
    // to the Qty and Total of the caption even when the pickers moved since.
    TStringsArray rows;
    DbMan->QueryCategoryRecords(UserName, dateText(SearchFrom), dateText(SearchTo), type, category,
                                rows);
    form.SetRows(std::move(rows));

    // The button stays disabled while the window is open, but the window
    // itself shows the normal cursor.
    TBusyGuard::SetBusy(false, nullptr);
    form.exec();
    busy.Release();
    UpdateButtons();
}

void TfrmMain::btnCatesExportClick() {
    mnuCatesExport->popup(QCursor::pos());
}
