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
#include "store/FieldCodec.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QHash>
#include <QKeyEvent>

#include <algorithm>
#include <stdexcept>

namespace {

void addCents(qint64 &total, qint64 cents) {
    if (__builtin_add_overflow(total, cents, &total))
        throw std::runtime_error(QCoreApplication::translate("TTransactionsPanel",
                                                             "The amounts of the records found "
                                                             "add up to more than Ledgerly can "
                                                             "show.")
                                     .toStdString());
}

// The records found (newest first, as they stay) with everything a search
// adds up: the totals of their days and months in date order, and of their
// categories, ordered as a search orders them (largest sum first, equal sums
// by their stored text).
TPeriod FoundPeriod(QList<TRecord> records, int unreadable) {
    TPeriod period;
    period.Unreadable = unreadable;
    QHash<QString, TCategoryTotal> categories[2]; // expense, income
    for (auto rec = records.crbegin(); rec != records.crend(); ++rec) {
        const bool income = rec->Type == TRecordType::Income;
        if (period.Days.isEmpty() || period.Days.last().Day != rec->Date)
            period.Days.append({rec->Date, 0, 0});
        if (period.Months.isEmpty() || period.Months.last().Year != rec->Date.year() ||
            period.Months.last().Month != rec->Date.month())
            period.Months.append({rec->Date.year(), rec->Date.month(), 0, 0});
        TCategoryTotal &category = categories[income][rec->Category];
        category.Category = rec->Category;
        ++category.Count;
        addCents(category.Cents, rec->Cents);
        addCents(income ? period.IncomeCents : period.ExpenseCents, rec->Cents);
        addCents(income ? period.Days.last().InCents : period.Days.last().OutCents, rec->Cents);
        addCents(income ? period.Months.last().InCents : period.Months.last().OutCents, rec->Cents);
    }
    for (const bool income : {false, true}) {
        QList<std::pair<QString, TCategoryTotal>> ordered;
        for (const TCategoryTotal &total : std::as_const(categories[income]))
            ordered.append({EncodeField(total.Category), total});
        std::sort(ordered.begin(), ordered.end(), [](const auto &a, const auto &b) {
            return a.second.Cents != b.second.Cents ? a.second.Cents > b.second.Cents
                                                    : a.first < b.first;
        });
        QList<TCategoryTotal> &totals = income ? period.IncomeCategories : period.ExpenseCategories;
        for (const auto &entry : std::as_const(ordered))
            totals.append(entry.second);
    }
    period.Records = std::move(records);
    return period;
}

} // namespace

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

    // Enter in the find box finds, showing the Transactions panel; Esc hands
    // the keys back to the list; emptying the box (the clear button, or
    // deleting the text) ends a find.
    connect(ui->edtTransFind, &QLineEdit::returnPressed, this,
            [this] { RunReported(window(), [&] { edtTransFindEnter(); }); });
    connect(ui->edtTransFind, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (text.isEmpty() && !FFound.isEmpty())
            RunReported(window(), [&] { EndFind(); });
    });
    new TEventHook(ui->edtTransFind, [this](QEvent *event) {
        if (event->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent *>(event)->key() != Qt::Key_Escape)
            return false;
        FList->FocusRecords();
        return true;
    });

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
    if (!FFound.isEmpty())
        ui->edtTransFind->clear();
    SearchPeriod(sender, ui->dtpTransDate1->date(), ui->dtpTransDate2->date());
}

QLineEdit *TTransactionsPanel::FindBox() const {
    return ui->edtTransFind;
}

void TTransactionsPanel::FocusFind() {
    ui->edtTransFind->setFocus(Qt::ShortcutFocusReason);
    ui->edtTransFind->selectAll();
}

void TTransactionsPanel::edtTransFindEnter() {
    const QString text = ui->edtTransFind->text().trimmed();
    if (text.isEmpty()) {
        if (!FFound.isEmpty())
            EndFind();
        return;
    }
    if (FFound.isEmpty()) {
        FPickedFrom = ui->dtpTransDate1->date();
        FPickedTo = ui->dtpTransDate2->date();
        FShownFrom = FSearchFrom;
        FShownTo = FSearchTo;
    }
    ui->rdoTransTransactions->setChecked(true);
    FindRecords(text);
}

void TTransactionsPanel::FindRecords(const QString &text) {
    TBusyGuard busy;
    // As for a period: the old rows go first, and a failed find shows
    // nothing rather than the earlier rows.
    FFound = text;
    FSearchFrom = FSearchTo = QDate();
    FPeriod = TPeriod();
    ShowResult(false);
    int unreadable = 0;
    QList<TRecord> found = FSession.DbMan->FindRecords(FSession.UserName, text, &unreadable);
    if (!found.isEmpty()) {
        // Newest first: the span runs from the last record to the first.
        FSearchFrom = found.last().Date;
        FSearchTo = found.first().Date;
        ui->dtpTransDate1->setDate(FSearchFrom);
        ui->dtpTransDate2->setDate(FSearchTo);
    }
    FPeriod = FoundPeriod(std::move(found), unreadable);
    ShowResult(FSearchFrom.isValid());
    busy.Release();
    if (unreadable > 0) {
        ShowWarning(window(), ApplicationTitle(),
                    unreadable == 1
                        ? tr("1 record of the book could not be read, so the find could not "
                             "look at it.")
                        : tr("%1 records of the book could not be read, so the find could not "
                             "look at them.")
                              .arg(unreadable));
    }
}

void TTransactionsPanel::EndFind() {
    FFound.clear();
    ui->edtTransFind->clear();
    ui->dtpTransDate1->setDate(FPickedFrom);
    ui->dtpTransDate2->setDate(FPickedTo);
    if (FShownFrom.isValid() && FShownTo.isValid()) {
        SearchPeriod(nullptr, FShownFrom, FShownTo);
    } else {
        FSearchFrom = FSearchTo = QDate();
        FPeriod = TPeriod();
        ShowResult(false);
    }
}

void TTransactionsPanel::SearchPeriod(QWidget *sender, QDate from, QDate to) {
    TBusyGuard busy(sender);
    // The old rows go first, so a long period never holds two sets of rows
    // at once; when the search fails, the lists stay empty and the totals
    // show nothing rather than an earlier period.
    // Until the period is read, the sub-panels are told of no period at all:
    // a failed read must not look like a period without records.
    FFound.clear();
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
    FCates->ShowPeriod(head, FPeriod, !FFound.isEmpty());
    const QList<TBudget> budgets = read ? FBudgetList : QList<TBudget>();
    FCharts->ShowPeriod(head, FPeriod, budgets);
    FBudgets->ShowPeriod(head, FPeriod, budgets);
}

void TTransactionsPanel::RefreshSearch() {
    if (!FFound.isEmpty()) {
        FindRecords(FFound);
        return;
    }
    if (!FSearchFrom.isValid())
        return;
    // With reversed pickers Search is disabled; the lists are then refreshed
    // for the period they show, so no row of a changed record stays behind.
    if (ui->btnTransSearch->isEnabled())
        btnTransSearchClick(ui->btnTransSearch);
    else if (FSearchFrom.isValid() && FSearchTo.isValid())
        SearchPeriod(nullptr, FSearchFrom, FSearchTo);
}
