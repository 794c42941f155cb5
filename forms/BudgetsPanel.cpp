#include "forms/BudgetsPanel.h"
#include "ui_BudgetsPanel.h"

#include "forms/Anchors.h"
#include "forms/EventHook.h"
#include "forms/ListDelegate.h"
#include "forms/RowsModel.h"
#include "store/AmountText.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace {

// The bar column: spent against budget. The budget's end lies at two
// thirds of the cell, so that spending past it is drawn past that mark (up
// to half again the budget), in red.
class TBudgetBarDelegate : public TListDelegate {
public:
    using TListDelegate::TListDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        const auto *model = static_cast<const TTypedRowsModel<TBudgetRow> *>(index.model());
        const TBudgetRow &row = model->At(index.row());
        if (row.Rest || row.BudgetCents <= 0) {
            TListDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem plain = option;
        plain.text.clear();
        TListDelegate::paint(painter, plain, index);
        const QRect cell = option.rect.adjusted(3, 3, -3, -3);
        const int end = cell.left() + cell.width() * 2 / 3;
        const double share = std::min(1.5, double(row.SpentCents) / double(row.BudgetCents));
        const int width = int(std::max(0.0, share) * (end - cell.left()));
        const bool over = row.LeftCents < 0;
        painter->save();
        painter->fillRect(QRect(cell.left(), cell.top(), width, cell.height()),
                          over ? QColor(208, 48, 48) : QColor(64, 160, 64));
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawRect(QRect(cell.left(), cell.top(), end - cell.left(), cell.height() - 1));
        painter->restore();
    }
};

} // namespace

TBudgetsPanel::TBudgetsPanel(TSession &, QWidget *parent)
    : QFrame(parent), ui(std::make_unique<Ui::TBudgetsPanel>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("pnlTransBudgets"));
    TAnchors &anchors = TAnchors::Of(this);
    anchors.Pin(ui->lvwBudgets, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge)
        .Pin(ui->lblBudgetsTotal, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);

    const Qt::Alignment L = Qt::AlignLeft, R = Qt::AlignRight;
    FRows = new TTypedRowsModel<TBudgetRow>(
        {{tr("Category"), 250, L},
         {tr("Budget"), 90, R},
         {tr("Spent"), 90, R},
         {tr("Left"), 90, R},
         {tr("Spent of Budget"), 130, L}},
        [](const TBudgetRow &row, int subItem) -> QString {
            switch (subItem) {
            case 0:
                return row.Rest ? tr("(Without a budget)") : row.Category;
            case 1:
                return row.Rest ? QString() : CentsText(row.BudgetCents);
            case 2:
                return CentsText(row.SpentCents);
            case 3:
                // Over budget: the minus of the amount and a "!".
                return row.Rest ? QString()
                                : CentsText(row.LeftCents) +
                                      (row.LeftCents < 0 ? QStringLiteral(" !") : QString());
            default:
                return QString();
            }
        },
        ui->lvwBudgets);
    SetupListView(ui->lvwBudgets, FRows);
    ui->lvwBudgets->setItemDelegateForColumn(5, new TBudgetBarDelegate(ui->lvwBudgets));

    auto *types = new QButtonGroup(this);
    for (QRadioButton *type : {ui->rdoBudgetsOut, ui->rdoBudgetsIn}) {
        types->addButton(type);
        connect(type, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                ShowRows();
        });
    }
    ui->rdoBudgetsOut->setChecked(true);
    connect(ui->lvwBudgets, &QTreeView::doubleClicked, this, [this] { OpenRow(); });
    new TEventHook(ui->lvwBudgets, [this](QEvent *event) {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        OpenRow();
        return true;
    });
    ShowRows();
}

TBudgetsPanel::~TBudgetsPanel() = default;

QWidget *TBudgetsPanel::ListView() const {
    return ui->lvwBudgets;
}

TRecordType TBudgetsPanel::Type() const {
    return ui->rdoBudgetsIn->isChecked() ? TRecordType::Income : TRecordType::Expense;
}

void TBudgetsPanel::ShowPeriod(const TReportHead &head, const TPeriod &period,
                               const QList<TBudget> &budgets) {
    FHead = head;
    FPeriod = period;
    FBudgets = budgets;
    ShowRows();
}

void TBudgetsPanel::ShowRows() {
    if (!FHead.SearchFrom.isValid()) {
        FRows->Clear();
        ui->lblBudgetsTotal->clear();
        return;
    }
    const TPeriodBudget budget =
        PeriodBudget(FBudgets, Type(), FHead.SearchFrom, FHead.SearchTo, FPeriod);
    FRows->SetRows(budget.Rows);
    ui->lblBudgetsTotal->setText(tr("Budget: %1    Spent: %2    Left: %3")
                                     .arg(CentsText(budget.BudgetCents),
                                          CentsText(budget.SpentCents),
                                          CentsText(budget.LeftCents)));
}

void TBudgetsPanel::OpenRow() {
    const int row = SelectedRow(ui->lvwBudgets);
    if (row < 0 || FRows->At(row).Rest)
        return;
    emit CategoryChosen(Type(), FRows->At(row).Category);
}
