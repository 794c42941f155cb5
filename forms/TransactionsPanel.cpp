#include "forms/TransactionsPanel.h"
#include "ui_TransactionsPanel.h"

#include "forms/Anchors.h"
#include "forms/BudgetsPanel.h"
#include "forms/BusyGuard.h"
#include "forms/CategoriesPanel.h"
#include "forms/ChartsPanel.h"
#include "forms/Dialogs.h"
#include "forms/ErrorReport.h"
#include "forms/EventHook.h"
#include "forms/Session.h"
#include "forms/TransListPanel.h"

#include <QButtonGroup>
#include <QKeyEvent>

TTransactionsPanel::TTransactionsPanel(TSession &session, QWidget *parent)
    : QFrame(parent), FSession(session), ui(std::make_unique<Ui::TTransactionsPanel>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("pnlTransactions"));
    // The sub-panels lie on top of each other under the pickers.
    FList = new TTransListPanel(session, this);
    FCates = new TCategoriesPanel(session, this);
    FCharts = new TChartsPanel(session, this);
    FBudgets = new TBudgetsPanel(session, this);
    // As the window grows, the pickers and Search stay, the sub-panel
    // buttons keep to the right edge and the sub-panels take the rest.
    TAnchors &anchors = TAnchors::Of(this);
    for (QWidget *sub : std::initializer_list<QWidget *>{FList, FCates, FCharts, FBudgets}) {
        sub->setGeometry(0, 38, 696, 407);
        anchors.Pin(sub, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    }
    for (QWidget *sub : {ui->rdoTransBudgets, ui->rdoTransTransactions, ui->rdoTransCategories,
                         ui->rdoTransCharts})
        anchors.Pin(sub, Qt::TopEdge | Qt::RightEdge);

    // One exclusive group: left to themselves, radio buttons count every
    // radio button below their parent as one of theirs, the charts' own
    // included, and a click on the checked one then cleared the choice and
    // left no sub-panel shown.
    auto *subPanels = new QButtonGroup(this);
    for (QRadioButton *sub : {ui->rdoTransTransactions, ui->rdoTransCategories, ui->rdoTransCharts,
                              ui->rdoTransBudgets}) {
        subPanels->addButton(sub);
        connect(sub, &QRadioButton::toggled, this, [this] { rdoTransTransactionsClick(); });
    }
    // The drill-downs of the charts: a category's records in More Info, a
    // day or month chosen in the transaction list.
    connect(FCharts, &TChartsPanel::CategoryChosen, this,
            [this](TRecordType type, const QString &category) {
                RunReported(window(),
                            [&] { FCates->ShowMoreInfo(type, category, FCharts->CatesView()); });
            });
    connect(FBudgets, &TBudgetsPanel::CategoryChosen, this,
            [this](TRecordType type, const QString &category) {
                RunReported(window(),
                            [&] { FCates->ShowMoreInfo(type, category, FBudgets->ListView()); });
            });
    connect(FCharts, &TChartsPanel::TotalChosen, this, [this](QDate day, bool month) {
        RunReported(window(), [&] {
            ui->rdoTransTransactions->setChecked(true);
            FList->ChooseTotal(day, month);
        });
    });
    connect(ui->dtpTransDate1, &QDateEdit::dateChanged, this, [this] { dtpTransDate1Change(); });
    connect(ui->dtpTransDate2, &QDateEdit::dateChanged, this, [this] { dtpTransDate1Change(); });
    connect(ui->btnTransSearch, &QPushButton::clicked, this,
            [this] { RunReported(window(), [&] { btnTransSearchClick(ui->btnTransSearch); }); });
    connect(FList, &TTransListPanel::RecordsChanged, this,
            [this] { RunReported(window(), [&] { RefreshSearch(); }); });

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
}

TTransactionsPanel::~TTransactionsPanel() = default;

void TTransactionsPanel::Start() {
    ui->rdoTransTransactions->setChecked(true);
    rdoTransTransactionsClick();
    const QDate today = QDate::currentDate();
    ui->dtpTransDate1->setDate(today.addDays(1 - today.day()));
    ui->dtpTransDate2->setDate(today);
    dtpTransDate1Change();
    // Nothing searched yet: the sub-panels know the user, and no period.
    ShowResult(false);
}

void TTransactionsPanel::rdoTransTransactionsClick() {
    FList->setVisible(ui->rdoTransTransactions->isChecked());
    FCates->setVisible(ui->rdoTransCategories->isChecked());
    FCharts->setVisible(ui->rdoTransCharts->isChecked());
    FBudgets->setVisible(ui->rdoTransBudgets->isChecked());
}

void TTransactionsPanel::dtpTransDate1Change() {
    // QDateEdit holds bare dates, so there is no time of day to clear.
    ui->btnTransSearch->setEnabled(ui->dtpTransDate1->date() <= ui->dtpTransDate2->date());
}

void TTransactionsPanel::btnTransSearchClick(QWidget *sender) {
    if (sender && !sender->isEnabled())
        return;
    SearchPeriod(sender, ui->dtpTransDate1->date(), ui->dtpTransDate2->date());
}

void TTransactionsPanel::SearchPeriod(QWidget *sender, QDate from, QDate to) {
    TBusyGuard busy(sender);
    // The old rows go first, so a long period never holds two sets of rows
    // at once; when the search fails, the lists stay empty and the totals
    // show nothing rather than an earlier period.
    // Until the period is read, the sub-panels are told of no period at all:
    // a failed read must not look like a period without records.
    FSearchFrom = from;
    FSearchTo = to;
    FPeriod = TPeriod();
    ShowResult(false);
    FPeriod = FSession.DbMan->ReadPeriod(FSession.UserName, from, to);
    // The budgets are few: read with every search, so that the Budgets
    // sub-panel computes them from the period just read.
    FBudgetList = FSession.DbMan->Budgets(FSession.UserName);
    ShowResult(true);
    busy.Release();
    if (sender)
        sender->setFocus();
    if (FPeriod.Unreadable > 0) {
        ShowWarning(window(), ApplicationTitle(),
                    FPeriod.Unreadable == 1
                        ? tr("1 record of this period could not be read and is not "
                             "shown.")
                        : tr("%1 records of this period could not be read and are "
                             "not shown.")
                              .arg(FPeriod.Unreadable));
    }
}

void TTransactionsPanel::ShowResult(bool read) {
    const TReportHead head = TReportHead::Of(FSession.UserName, read ? FSearchFrom : QDate(),
                                             read ? FSearchTo : QDate(), FPeriod);
    FList->ShowPeriod(head, FPeriod);
    FCates->ShowPeriod(head, FPeriod);
    const QList<TBudget> budgets = read ? FBudgetList : QList<TBudget>();
    FCharts->ShowPeriod(head, FPeriod, budgets);
    FBudgets->ShowPeriod(head, FPeriod, budgets);
}

void TTransactionsPanel::RefreshSearch() {
    if (!FSearchFrom.isValid())
        return;
    // With reversed pickers Search is disabled; the lists are then refreshed
    // for the period they show, so no row of a changed record stays behind.
    if (ui->btnTransSearch->isEnabled())
        btnTransSearchClick(ui->btnTransSearch);
    else if (FSearchFrom.isValid() && FSearchTo.isValid())
        SearchPeriod(nullptr, FSearchFrom, FSearchTo);
}
