#include "forms/BudgetsForm.h"
#include "ui_BudgetsForm.h"

#include "forms/Anchors.h"
#include "forms/BusyGuard.h"
#include "forms/Dialogs.h"
#include "forms/ErrorReport.h"
#include "forms/RowsModel.h"
#include "forms/Session.h"
#include "forms/UndoCommands.h"
#include "store/AmountText.h"
#include "store/DbError.h"
#include "store/Planning.h"

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <algorithm>

namespace {

enum { kCategory, kBudget, kAverage };

// Only the budget is typed into; the category and its average stay.
class TBudgetOnlyDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override {
        return index.column() == kBudget ? QStyledItemDelegate::createEditor(parent, option, index)
                                         : nullptr;
    }
};

// The budgets in the store's order (expense first, each type by category),
// so that two lists of the same budgets compare equal.
QList<TBudget> Sorted(QList<TBudget> budgets) {
    std::sort(budgets.begin(), budgets.end(), [](const TBudget &a, const TBudget &b) {
        if (a.Type != b.Type)
            return a.Type == TRecordType::Expense;
        return a.Category < b.Category;
    });
    return budgets;
}

// An amount as the entry panel reads it; a budget may also be 0.
bool ReadBudget(const QString &text, qint64 *cents) {
    double value = 0;
    if (IsDecimalText(text, &value) && value == 0) {
        *cents = 0;
        return true;
    }
    return IsAcceptableAmount(text, cents);
}

} // namespace

TfrmBudgets::TfrmBudgets(TSession &session, QWidget *owner)
    : QDialog(owner), FSession(session), ui(std::make_unique<Ui::TfrmBudgets>()) {
    ui->setupUi(this);
    TAnchors &anchors = TAnchors::Of(this);
    anchors.Share(ui->lblBudgetsOut, 0, 0.5, Qt::TopEdge)
        .Share(ui->lvwBudgetsOut, 0, 0.5, Qt::TopEdge | Qt::BottomEdge)
        .Share(ui->lblBudgetsIn, 0.5, 1, Qt::TopEdge)
        .Share(ui->lvwBudgetsIn, 0.5, 1, Qt::TopEdge | Qt::BottomEdge);
    anchors.Pin(ui->btnUseAverages, Qt::LeftEdge | Qt::BottomEdge);
    for (QWidget *button : {ui->btnSave, ui->btnCancel})
        anchors.Pin(button, Qt::RightEdge | Qt::BottomEdge);

    TDbMan &db = *FSession.DbMan;
    const QString &user = FSession.UserName;
    TMonthlyAverages averages;
    {
        TBusyGuard busy;
        FRead = db.Budgets(user);
        averages = db.MonthlyAverages(user, QDate::currentDate());
    }
    ui->lblAverages->setText(averages.Months > 0
                                 ? tr("Average per month from %1 to %2 (%3 months).")
                                       .arg(averages.From.toString(QStringLiteral("MM/yyyy")),
                                            averages.To.toString(QStringLiteral("MM/yyyy")))
                                       .arg(averages.Months)
                                 : tr("No records in the last 12 full months to average."));
    Fill(ui->lvwBudgetsOut, TRecordType::Expense,
         BudgetCategories(db.GetCategories(user, QStringLiteral("out")), averages, FRead,
                          TRecordType::Expense),
         averages);
    Fill(ui->lvwBudgetsIn, TRecordType::Income,
         BudgetCategories(db.GetCategories(user, QStringLiteral("in")), averages, FRead,
                          TRecordType::Income),
         averages);

    connect(ui->btnUseAverages, &QPushButton::clicked, this, [this] { btnUseAveragesClick(); });
    connect(ui->btnSave, &QPushButton::clicked, this,
            [this] { RunReported(this, [&] { btnSaveClick(); }); });
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmBudgets::~TfrmBudgets() = default;

void TfrmBudgets::Fill(QTreeWidget *list, TRecordType type, const QStringList &categories,
                       const TMonthlyAverages &averages) {
    list->setHeaderLabels({tr("Category"), tr("Budget"), tr("Average")});
    list->setRootIsDecorated(false);
    list->setItemDelegate(new TBudgetOnlyDelegate(list));
    list->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    // A double-click anywhere on a row, or Enter, types its budget.
    connect(list, &QTreeWidget::itemDoubleClicked, list,
            [list](QTreeWidgetItem *item) { list->editItem(item, kBudget); });
    connect(list, &QTreeWidget::itemActivated, list,
            [list](QTreeWidgetItem *item) { list->editItem(item, kBudget); });
    list->header()->setSectionResizeMode(kCategory, QHeaderView::Stretch);
    list->header()->setStretchLastSection(false);
    for (const int column : {kBudget, kAverage}) {
        list->header()->setSectionResizeMode(column, QHeaderView::Fixed);
        list->header()->resizeSection(column, 80);
        list->headerItem()->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (const QString &category : categories) {
        auto *item = new QTreeWidgetItem(list);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        item->setText(kCategory, category);
        const auto budget = std::find_if(FRead.cbegin(), FRead.cend(), [&](const TBudget &b) {
            return b.Type == type && b.Category == category;
        });
        if (budget != FRead.cend())
            item->setText(kBudget, CentsText(budget->Cents));
        const QList<TCategoryAverage> &spent = averages.Of(type);
        const auto average = std::find_if(spent.cbegin(), spent.cend(),
                                          [&](const auto &a) { return a.Category == category; });
        if (average != spent.cend())
            item->setText(kAverage, CentsText(average->Cents));
        for (const int column : {kBudget, kAverage})
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
}

void TfrmBudgets::btnUseAveragesClick() {
    for (QTreeWidget *list : {ui->lvwBudgetsOut, ui->lvwBudgetsIn}) {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = list->topLevelItem(i);
            if (item->text(kBudget).trimmed().isEmpty() && !item->text(kAverage).isEmpty())
                item->setText(kBudget, item->text(kAverage));
        }
    }
}

void TfrmBudgets::btnSaveClick() {
    QList<TBudget> edited;
    QStringList unreadable;
    for (const TRecordType type : {TRecordType::Expense, TRecordType::Income}) {
        QTreeWidget *list = type == TRecordType::Income ? ui->lvwBudgetsIn : ui->lvwBudgetsOut;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = list->topLevelItem(i);
            const QString text = item->text(kBudget).trimmed();
            if (text.isEmpty())
                continue;
            TBudget budget{type, item->text(kCategory), 0};
            if (ReadBudget(text, &budget.Cents))
                edited.append(budget);
            else
                unreadable
                    << tr("%1 (%2): \"%3\"").arg(budget.Category, RecordTypeText(type), text);
        }
    }
    if (!unreadable.isEmpty()) {
        ShowWarning(this, ApplicationTitle(),
                    tr("These budgets are not amounts such as 250.00; nothing was saved. "
                       "Correct or empty them and save again:\n%1")
                        .arg(unreadable.join(QLatin1Char('\n'))));
        return;
    }
    edited = Sorted(edited);
    if (edited != Sorted(FRead)) {
        try {
            TBusyGuard busy;
            FSession.DbMan->SetBudgets(FSession.UserName, FRead, edited);
        } catch (const TBookChangedError &) {
            throw TDbError(tr("The budgets were changed in another Ledgerly window meanwhile; "
                              "nothing was saved. Close this window and open Budgets... again "
                              "to see them as they are."));
        }
        if (FSession.Steps) {
            FSession.Steps->Push(new TBudgetsStep(FRead, edited));
            FSession.Steps->Changed();
        }
    }
    accept();
}
