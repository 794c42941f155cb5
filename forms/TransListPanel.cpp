#include "forms/TransListPanel.h"
#include "ui_TransListPanel.h"

#include "forms/Anchors.h"
#include "forms/BusyGuard.h"
#include "forms/Dialogs.h"
#include "forms/EditRecForm.h"
#include "forms/ErrorReport.h"
#include "forms/EventHook.h"
#include "forms/PeriodOutput.h"
#include "forms/RecurringForm.h"
#include "forms/RowsModel.h"
#include "forms/Session.h"
#include "forms/UndoCommands.h"
#include "store/AmountText.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMenu>

namespace {

const QColor kDayTint(224, 255, 224);

QString MoneyOrEmpty(bool shown, qint64 cents) {
    return shown ? CentsText(cents) : QString();
}

QString RecordCell(const TRecord &record, int subItem) {
    const bool income = record.Type == TRecordType::Income;
    switch (subItem) {
    case 0:
        return QString::number(record.Id);
    case 1:
        return record.Date.toString(QStringLiteral("MM/dd/yyyy"));
    case 2:
        return record.Category;
    case 3:
        return MoneyOrEmpty(income, record.Cents);
    case 4:
        return MoneyOrEmpty(!income, record.Cents);
    default:
        return record.Notes;
    }
}

QString DayCell(const TDayTotal &day, int subItem) {
    switch (subItem) {
    case 0:
        return day.Day.toString(QStringLiteral("MM/dd/yyyy"));
    case 1:
        return CentsText(day.InCents);
    default:
        return CentsText(day.OutCents);
    }
}

QString MonthCell(const TMonthTotal &month, int subItem) {
    switch (subItem) {
    case 0:
        return QStringLiteral("%1/%2")
            .arg(month.Month, 2, 10, QLatin1Char('0'))
            .arg(month.Year, 4, 10, QLatin1Char('0'));
    case 1:
        return CentsText(month.InCents);
    default:
        return CentsText(month.OutCents);
    }
}

} // namespace

TTransListPanel::TTransListPanel(TSession &session, QWidget *parent)
    : QFrame(parent), FSession(session), ui(std::make_unique<Ui::TTransListPanel>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("pnlTransTransactions"));

    ui->TabSet1->setShape(QTabBar::RoundedSouth);
    ui->TabSet1->setExpanding(false);
    ui->TabSet1->setDrawBase(false);
    ui->TabSet1->addTab(tr("By the Day"));
    ui->TabSet1->addTab(tr("By the Month"));
    ui->Splitter1->setSizes({162, 200});
    // As the window grows, the lists take the room; the total and the
    // buttons under them keep to the bottom, the buttons to the right.
    TAnchors &anchors = TAnchors::Of(this);
    anchors.Pin(ui->Splitter1, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge)
        .Pin(ui->lblTransTotal, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);
    for (QWidget *button : {ui->btnTransDelete, ui->btnTransEdit, ui->btnTransMore})
        anchors.Pin(button, Qt::RightEdge | Qt::BottomEdge);

    const Qt::Alignment L = Qt::AlignLeft, R = Qt::AlignRight;
    FDays = new TTypedRowsModel<TDayTotal>(
        {{tr("Date"), 220, L}, {tr("In"), 210, R}, {tr("Out"), 210, R}}, DayCell, ui->lvwDayTotal);
    SetupListView(ui->lvwDayTotal, FDays);
    FMonths = new TTypedRowsModel<TMonthTotal>(
        {{tr("Month/Year"), 220, L}, {tr("In"), 210, R}, {tr("Out"), 210, R}}, MonthCell,
        ui->lvwMonthTotal);
    SetupListView(ui->lvwMonthTotal, FMonths);
    FTrans = new TTypedRowsModel<TRecord>({{"", 0, L},
                                           {tr("Date"), 80, L},
                                           {tr("Category"), 180, L},
                                           {tr("In"), 80, R},
                                           {tr("Out"), 80, R},
                                           {tr("Notes"), 220, L}},
                                          RecordCell, ui->lvwTrans);
    SetupListView(ui->lvwTrans, FTrans);
    ui->lvwTrans->setProperty("Tag", 0);
    FTrans->RowStyle = [this](int row, int role) { return lvwTransCustomDrawItem(row, role); };

    mnuTransMenu = new QMenu(this);
    mnuTransMenu->setObjectName("mnuTransMenu");
    const auto item = [this](const char *name, const QString &caption, auto handler) {
        QAction *action = mnuTransMenu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this,
                [this, handler] { RunReported(window(), [&] { handler(); }); });
    };
    item("btnTransMore_ToXls", tr("Export to XLS"), [this] {
        ExportPeriod(window(), FSession.SaveDialog1, TExportKind::Transactions, true, FHead,
                     FPeriod);
    });
    item("btnTransMore_ToHtml", tr("Export to HTML"), [this] {
        ExportPeriod(window(), FSession.SaveDialog1, TExportKind::Transactions, false, FHead,
                     FPeriod);
    });
    item("actExportSheet", tr("Export for Spreadsheets..."), [this] {
        ExportSheet(window(), FSession.SaveDialog1, TExportKind::Transactions, FHead, FPeriod);
    });
    mnuTransMenu->addSeparator()->setObjectName("btnTransMore_Separator");
    item("btnTransMore_Print", tr("Print"), [this] {
        TBusyGuard busy;
        PrintPeriod(window(), TExportKind::Transactions, FHead, FPeriod);
    });
    // The selected record as a monthly recurring entry, from the More menu
    // and the list's own menu; the record counts as booked.
    mnuTransMenu->addSeparator()->setObjectName("btnTransMore_Separator2");
    item("btnTransMore_Repeat", tr("Repeat Every Month..."), [this] {
        const int row = SelectedRow(ui->lvwTrans);
        if (row >= 0)
            RepeatRecord(FSession, FTrans->At(row), true, window());
    });
    ui->lvwTrans->setContextMenuPolicy(Qt::ActionsContextMenu);
    ui->lvwTrans->addAction(mnuTransMenu->findChild<QAction *>("btnTransMore_Repeat"));

    connect(ui->TabSet1, &QTabBar::currentChanged, this, [this] { TabSet1Click(); });
    connect(ui->btnTransMore, &QPushButton::clicked, this, [this] { btnTransMoreClick(); });
    connect(ui->btnTransEdit, &QPushButton::clicked, this,
            [this] { RunReported(window(), [&] { btnTransEditClick(ui->btnTransEdit); }); });
    connect(ui->btnTransDelete, &QPushButton::clicked, this,
            [this] { RunReported(window(), [&] { btnTransDeleteClick(ui->btnTransDelete); }); });
    for (QTreeView *list : {ui->lvwDayTotal, ui->lvwMonthTotal}) {
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, list](const QItemSelection &selected, const QItemSelection &deselected) {
                    if (!deselected.isEmpty() && selected.isEmpty())
                        lvwDayTotalSelectItem(list, deselected.indexes().first().row(), false);
                    else if (!selected.isEmpty())
                        lvwDayTotalSelectItem(list, selected.indexes().first().row(), true);
                });
    }
    connect(ui->lvwTrans->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { lvwTransSelectItem(); });
    connect(FTrans, &QAbstractItemModel::modelReset, this, [this] { UpdateButtons(); });
    new TEventHook(ui->lvwTrans, [this](QEvent *event) {
        if (event->type() != QEvent::KeyRelease || static_cast<QKeyEvent *>(event)->isAutoRepeat())
            return false;
        int key = static_cast<QKeyEvent *>(event)->key();
        RunReported(window(), [&] { lvwTransKeyUp(key); });
        return key == 0;
    });

    ui->lblTransTotal->setText(PeriodTotalsText(0, 0));
    TabSet1Click();
    UpdateButtons();
}

TTransListPanel::~TTransListPanel() = default;

void TTransListPanel::ShowPeriod(const TReportHead &head, const TPeriod &period) {
    FMarked = QDate();
    FHead = head;
    FPeriod = period;
    FDays->SetRows(period.Days);
    FMonths->SetRows(period.Months);
    FTrans->SetRows(period.Records);
    ui->lblTransTotal->setText(PeriodTotalsText(head.IncomeCents, head.ExpenseCents));
    UpdateButtons();
}

void TTransListPanel::UpdateButtons() {
    const bool selected = SelectedRow(ui->lvwTrans) >= 0;
    ui->btnTransMore->setEnabled(FTrans->Count() > 0);
    ui->btnTransEdit->setEnabled(selected);
    ui->btnTransDelete->setEnabled(selected);
    if (QAction *repeat = mnuTransMenu->findChild<QAction *>("btnTransMore_Repeat"))
        repeat->setEnabled(selected);
}

// --- totals lists and the tint ---------------------------------------------------

void TTransListPanel::TabSet1Click() {
    const bool months = ui->TabSet1->currentIndex() == 1;
    ui->lvwDayTotal->setVisible(!months);
    ui->lvwMonthTotal->setVisible(months);
}

void TTransListPanel::ChooseTotal(QDate day, bool month) {
    ui->TabSet1->setCurrentIndex(month ? 1 : 0);
    QTreeView *list = month ? ui->lvwMonthTotal : ui->lvwDayTotal;
    int row = -1;
    if (month) {
        for (int i = 0; i < FMonths->Count() && row < 0; ++i)
            if (FMonths->At(i).Year == day.year() && FMonths->At(i).Month == day.month())
                row = i;
    } else {
        for (int i = 0; i < FDays->Count() && row < 0; ++i)
            if (FDays->At(i).Day == day)
                row = i;
    }
    SelectRow(list, row);
    if (row >= 0)
        list->scrollTo(list->model()->index(row, 0));
}

void TTransListPanel::FocusRecords() {
    ui->lvwTrans->setFocus(Qt::OtherFocusReason);
}

bool TTransListPanel::IsMarked(QDate date) const {
    if (!FMarked.isValid())
        return false;
    if (FMarkedMonth)
        return date.year() == FMarked.year() && date.month() == FMarked.month();
    return date == FMarked;
}

void TTransListPanel::lvwDayTotalSelectItem(QTreeView *sender, int row, bool selected) {
    FMarked = QDate();
    FMarkedMonth = sender == ui->lvwMonthTotal;
    if (selected && row >= 0) {
        if (FMarkedMonth)
            FMarked = QDate(FMonths->At(row).Year, FMonths->At(row).Month, 1);
        else
            FMarked = FDays->At(row).Day;
    }
    ui->lvwTrans->viewport()->update();
    if (!FMarked.isValid())
        return;

    int anchor = -1;
    for (int i = 0; i < FTrans->Count(); ++i) {
        if (IsMarked(FTrans->At(i).Date)) {
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
    const int last = FTrans->Count() - 1;
    SelectRow(list, last);
    list->scrollTo(list->model()->index(last, 0));
    SelectRow(list, anchor);
    list->scrollTo(list->model()->index(anchor, 0));
    SelectRow(list, -1);
    list->setProperty("Tag", 0);
}

QVariant TTransListPanel::lvwTransCustomDrawItem(int row, int role) const {
    if (role == Qt::BackgroundRole && IsMarked(FTrans->At(row).Date))
        return kDayTint;
    return QVariant();
}

void TTransListPanel::lvwTransSelectItem() {
    // Tag -1: the view itself is moving the selection (a chosen day).
    if (ui->lvwTrans->property("Tag").toInt() != -1)
        UpdateButtons();
}

// --- edit and delete --------------------------------------------------------------

void TTransListPanel::lvwTransKeyUp(int &key) {
    if (key != Qt::Key_Delete || SelectedRow(ui->lvwTrans) < 0)
        return;
    key = 0;
    btnTransDeleteClick(ui->btnTransDelete);
}

void TTransListPanel::btnTransDeleteClick(QWidget *sender) {
    const int row = SelectedRow(ui->lvwTrans);
    if (row < 0)
        return;
    const TRecord record = FTrans->At(row);
    if (!AskQuestion(window(), tr("You want to delete it?")))
        return;
    try {
        // Deleted only while it is as listed, so that its undo brings back
        // exactly the record deleted.
        TBusyGuard busy(sender);
        FSession.DbMan->ChangeRecords(FSession.UserName, {record}, {});
    } catch (const TBookChangedError &) {
        emit RecordsChanged();
        throw TDbError(tr("The record was changed or deleted in another Ledgerly window "
                          "meanwhile; nothing was deleted. The list now shows the records as "
                          "they are."));
    }
    if (FSession.Steps)
        FSession.Steps->Push(new TDeleteStep(record));
    if (sender)
        sender->setFocus();
    emit RecordsChanged();
}

void TTransListPanel::btnTransEditClick(QWidget *sender) {
    const int row = SelectedRow(ui->lvwTrans);
    if (row < 0)
        return;
    const TRecord before = FTrans->At(row);
    TRecord record = before;
    if (!AskQuestion(window(), tr("You want to edit it?")))
        return;
    {
        TfrmEditRec editor(window());
        editor.RecDate = record.Date.toString(QStringLiteral("MM/dd/yyyy"));
        editor.RecCate = record.Category;
        editor.RecAmount = CentsText(record.Cents);
        editor.RecNotes = record.Notes;
        editor.Categories = FSession.DbMan->GetCategories(
            FSession.UserName,
            record.Type == TRecordType::Income ? QStringLiteral("in") : QStringLiteral("out"));
        if (ExecDialog(&editor) != QDialog::Accepted)
            return;
        // Editing never changes a record's type; the editor's Save rule
        // holds for the amount, so it reads as cents.
        record.Date = QDate::fromString(editor.RecDate, QStringLiteral("MM/dd/yyyy"));
        record.Category = editor.RecCate;
        if (!IsAcceptableAmount(editor.RecAmount, &record.Cents))
            return;
        record.Notes = editor.RecNotes;
    }
    {
        TBusyGuard busy(sender);
        // Delete and insert in one transaction: a failure keeps the old record.
        record.Id = FSession.DbMan->ReplaceRecord(FSession.UserName, record);
    }
    if (FSession.Steps)
        FSession.Steps->Push(new TEditStep(before, record));
    if (sender)
        sender->setFocus();
    emit RecordsChanged();
}

void TTransListPanel::btnTransMoreClick() {
    mnuTransMenu->popup(QCursor::pos());
}
