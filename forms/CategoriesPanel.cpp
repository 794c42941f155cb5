#include "forms/CategoriesPanel.h"
#include "ui_CategoriesPanel.h"

#include "forms/Anchors.h"
#include "forms/BusyGuard.h"
#include "forms/Dialogs.h"
#include "forms/ErrorReport.h"
#include "forms/EventHook.h"
#include "forms/MoreInfoForm.h"
#include "forms/PeriodOutput.h"
#include "forms/RowsModel.h"
#include "forms/Session.h"
#include "forms/UndoCommands.h"
#include "store/AmountText.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>

#include <algorithm>

namespace {

const QColor kCurrentBack(0, 0, 128);
const QColor kCurrentText(255, 255, 255);

QString CategoryCell(const TCategoryRow &row, int subItem) {
    switch (subItem) {
    case 0:
        return RecordTypeText(row.Type);
    case 1:
        return row.Total.Category;
    case 2:
        return QString::number(row.Total.Count);
    case 3:
        return CentsText(row.Total.Cents);
    default:
        return ShareText(row.Total.Cents, row.TypeCents);
    }
}

QList<TCategoryRow> CategoryRows(TRecordType type, const QList<TCategoryTotal> &totals,
                                 qint64 typeCents) {
    QList<TCategoryRow> rows;
    rows.reserve(totals.size());
    for (const TCategoryTotal &total : totals)
        rows.append({type, total, typeCents});
    return rows;
}

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

TCategoriesPanel::TCategoriesPanel(TSession &session, QWidget *parent)
    : QFrame(parent), FSession(session), ui(std::make_unique<Ui::TCategoriesPanel>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("pnlTransCategories"));
    ui->Splitter3->setSizes({156, 200});
    // As the window grows, the lists take the room; the total and the
    // buttons under them keep to the bottom, the buttons to the right.
    TAnchors &anchors = TAnchors::Of(this);
    anchors.Pin(ui->Splitter3, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge)
        .Pin(ui->lblCatesTotal, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);
    for (QWidget *button : {ui->btnMoreInfo, ui->btnCatesExport, ui->btnCatesPrint})
        anchors.Pin(button, Qt::RightEdge | Qt::BottomEdge);

    const Qt::Alignment L = Qt::AlignLeft, R = Qt::AlignRight;
    FInCates = new TTypedRowsModel<TCategoryRow>({{tr("Type"), 80, L},
                                                  {tr("Category"), 320, L},
                                                  {tr("Qty"), 80, R},
                                                  {tr("In"), 80, R},
                                                  {QStringLiteral("0 - 100%"), 80, R}},
                                                 CategoryCell, ui->lvwInCates);
    SetupListView(ui->lvwInCates, FInCates);
    FOutCates = new TTypedRowsModel<TCategoryRow>({{tr("Type"), 80, L},
                                                   {tr("Category"), 320, L},
                                                   {tr("Qty"), 80, R},
                                                   {tr("Out"), 80, R},
                                                   {QStringLiteral("0 - 100%"), 80, R}},
                                                  CategoryCell, ui->lvwOutCates);
    SetupListView(ui->lvwOutCates, FOutCates);

    mnuCatesExport = new QMenu(this);
    mnuCatesExport->setObjectName("mnuCatesExport");
    for (const bool xls : {true, false}) {
        QAction *action =
            mnuCatesExport->addAction(xls ? tr("Export to XLS") : tr("Export to HTML"));
        action->setObjectName(xls ? "mnuCatesExport_ToXls" : "mnuCatesExport_ToHtml");
        connect(action, &QAction::triggered, this, [this, xls] {
            RunReported(window(), [&] {
                ExportPeriod(window(), FSession.SaveDialog1, TExportKind::Categories, xls, FHead,
                             FPeriod);
            });
        });
    }
    QAction *sheet = mnuCatesExport->addAction(tr("Export for Spreadsheets..."));
    sheet->setObjectName("actExportSheet");
    connect(sheet, &QAction::triggered, this, [this] {
        RunReported(window(), [&] {
            ExportSheet(window(), FSession.SaveDialog1, TExportKind::Categories, FHead, FPeriod);
        });
    });

    connect(ui->btnMoreInfo, &QPushButton::clicked, this,
            [this] { RunReported(window(), [&] { btnMoreInfoClick(ui->btnMoreInfo); }); });
    connect(ui->btnCatesExport, &QPushButton::clicked, this, [this] { btnCatesExportClick(); });
    connect(ui->btnCatesPrint, &QPushButton::clicked, this,
            [this] { RunReported(window(), [&] { btnCatesPrintClick(); }); });
    for (QTreeView *list : {ui->lvwInCates, ui->lvwOutCates}) {
        ListModel(list)->RowStyle = [this, list](int row, int role) {
            return CatesCustomDrawItem(list, row, role);
        };
        // lvwInCatesEnter / lvwOutCatesEnter and the selection handlers.
        new TEventHook(list, [this, list](QEvent *event) {
            if (event->type() == QEvent::FocusIn)
                MakeCurrentCatesList(list);
            return false;
        });
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, list] { MakeCurrentCatesList(list); });
        SetCatesHighlight(list, false);
    }
    // Rename... in both lists' context menu, and F2 in either list.
    actCateRename = new QAction(tr("Rename..."), this);
    actCateRename->setObjectName(QStringLiteral("actCateRename"));
    actCateRename->setShortcut(QKeySequence(Qt::Key_F2));
    actCateRename->setShortcutContext(Qt::WidgetShortcut);
    for (QTreeView *list : {ui->lvwInCates, ui->lvwOutCates}) {
        list->setContextMenuPolicy(Qt::ActionsContextMenu);
        list->addAction(actCateRename);
    }
    connect(actCateRename, &QAction::triggered, this,
            [this] { RunReported(window(), [&] { actCateRenameClick(); }); });
    connect(ui->lvwInCates, &QTreeView::doubleClicked, this,
            [this] { RunReported(window(), [&] { lvwInCatesDblClick(); }); });
    connect(ui->lvwOutCates, &QTreeView::doubleClicked, this,
            [this] { RunReported(window(), [&] { lvwOutCatesDblClick(); }); });

    ui->lblCatesTotal->setText(PeriodTotalsText(0, 0));
    UpdateButtons();
}

TCategoriesPanel::~TCategoriesPanel() = default;

void TCategoriesPanel::ShowPeriod(const TReportHead &head, const TPeriod &period, bool found) {
    // Resetting a model drops its selection without a selection signal, so
    // CurrentCatesList stays as it is.
    FFound = found;
    FHead = head;
    FPeriod = period;
    FInCates->SetRows(
        CategoryRows(TRecordType::Income, period.IncomeCategories, period.IncomeCents));
    FOutCates->SetRows(
        CategoryRows(TRecordType::Expense, period.ExpenseCategories, period.ExpenseCents));
    ui->lblCatesTotal->setText(PeriodTotalsText(head.IncomeCents, head.ExpenseCents));
    UpdateButtons();
}

void TCategoriesPanel::UpdateButtons() {
    ui->btnMoreInfo->setEnabled(FCurrentCatesList != nullptr);
    actCateRename->setEnabled(FCurrentCatesList != nullptr);
    const bool anyCates = FInCates->Count() > 0 || FOutCates->Count() > 0;
    ui->btnCatesExport->setEnabled(anyCates);
    ui->btnCatesPrint->setEnabled(anyCates);
}

void TCategoriesPanel::MakeCurrentCatesList(QTreeView *list) {
    FCurrentCatesList = SelectedRow(list) >= 0 ? list : nullptr;
    for (QTreeView *cates : {ui->lvwInCates, ui->lvwOutCates}) {
        SetCatesHighlight(cates, cates == FCurrentCatesList);
        cates->viewport()->update();
    }
    UpdateButtons();
}

QVariant TCategoriesPanel::CatesCustomDrawItem(QTreeView *list, int row, int role) const {
    if (list != FCurrentCatesList || SelectedRow(list) != row)
        return QVariant();
    if (role == Qt::BackgroundRole)
        return kCurrentBack;
    if (role == Qt::ForegroundRole)
        return kCurrentText;
    return QVariant();
}

void TCategoriesPanel::lvwInCatesDblClick() {
    if (SelectedRow(ui->lvwInCates) >= 0)
        btnMoreInfoClick(ui->btnMoreInfo);
}

void TCategoriesPanel::lvwOutCatesDblClick() {
    if (SelectedRow(ui->lvwOutCates) >= 0)
        btnMoreInfoClick(ui->btnMoreInfo);
}

void TCategoriesPanel::btnMoreInfoClick(QWidget *sender) {
    if (!FCurrentCatesList)
        return;
    const int row = SelectedRow(FCurrentCatesList);
    if (row < 0)
        return;
    const TCategoryRow &cate =
        static_cast<TTypedRowsModel<TCategoryRow> *>(ListModel(FCurrentCatesList))->At(row);
    ShowMoreInfo(cate.Type, cate.Total.Category, sender);
}

void TCategoriesPanel::ShowMoreInfo(TRecordType type, const QString &category, QWidget *sender) {
    const QList<TCategoryTotal> &totals =
        type == TRecordType::Income ? FPeriod.IncomeCategories : FPeriod.ExpenseCategories;
    const auto total = std::find_if(totals.cbegin(), totals.cend(), [&](const TCategoryTotal &t) {
        return t.Category == category;
    });
    if (total == totals.cend())
        return;

    TBusyGuard busy(sender);
    TfrmMoreInfo form(window());
    form.SetCaption(tr("Qty: %1  Total: %2").arg(total->Count).arg(CentsText(total->Cents)));
    form.SetAmountCaption(type == TRecordType::Income ? tr("In") : tr("Out"));
    // The records of the period the category lists show, so that they add up
    // to the Qty and Total of the caption even when the pickers moved since;
    // after a find, the category's records among those it found.
    if (FFound) {
        QList<TRecord> records;
        records.reserve(total->Count);
        for (const TRecord &record : std::as_const(FPeriod.Records))
            if (record.Type == type && record.Category == category)
                records.append(record);
        form.SetRows(std::move(records));
    } else {
        form.SetRows(FSession.DbMan->ReadCategoryRecords(FSession.UserName, FHead.SearchFrom,
                                                         FHead.SearchTo, type, category));
    }

    // The button stays disabled while the window is open, but the window
    // itself shows the normal cursor.
    TBusyGuard::SetBusy(false, nullptr);
    ExecDialog(&form);
    busy.Release();
    UpdateButtons();
}

void TCategoriesPanel::btnCatesExportClick() {
    mnuCatesExport->popup(QCursor::pos());
}

void TCategoriesPanel::btnCatesPrintClick() {
    TBusyGuard busy(ui->btnCatesPrint);
    PrintPeriod(window(), TExportKind::Categories, FHead, FPeriod);
    busy.Release();
    if (ui->btnCatesPrint->isEnabled())
        ui->btnCatesPrint->setFocus();
}

void TCategoriesPanel::actCateRenameClick() {
    if (!FCurrentCatesList)
        return;
    const int row = SelectedRow(FCurrentCatesList);
    if (row < 0)
        return;
    const TCategoryRow cate =
        static_cast<TTypedRowsModel<TCategoryRow> *>(ListModel(FCurrentCatesList))->At(row);
    const TRecordType type = cate.Type;
    const QString from = cate.Total.Category;
    QString to = from;
    if (!AskText(window(), QStringLiteral("dlgCateRename"), tr("Rename Category"),
                 tr("New name of the category %1:").arg(from), to) ||
        to == from)
        return;
    TDbMan &db = *FSession.DbMan;
    const QString &user = FSession.UserName;
    // A name in use, by records or in the category list, means a merge.
    bool merge = false;
    int fromCount = 0, toCount = 0;
    {
        TBusyGuard busy;
        toCount = db.CountCategory(user, type, to);
        const QStringList list = db.GetCategories(
            user, type == TRecordType::Income ? QStringLiteral("in") : QStringLiteral("out"));
        merge = toCount > 0 || std::any_of(list.cbegin(), list.cend(), [&](const QString &line) {
                    return line.trimmed() == to;
                });
        if (merge)
            fromCount = db.CountCategory(user, type, from);
    }
    if (merge && !AskQuestion(window(), tr("%1 has %2 and %3 has %4. Merge %1 into %3?")
                                            .arg(from,
                                                 fromCount == 1 ? tr("1 record")
                                                                : tr("%1 records").arg(fromCount),
                                                 to, QString::number(toCount))))
        return;
    TCategoryRename rename;
    {
        TBusyGuard busy;
        rename = db.RenameCategory(user, type, from, to);
    }
    if (FSession.Steps) {
        FSession.Steps->Push(new TRenameStep(rename, merge));
        // The lists, totals and category boxes show the new name.
        FSession.Steps->Changed();
    }
}
