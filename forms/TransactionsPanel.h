#pragma once

#include "export/ExportTypes.h"

#include <QFrame>
#include <memory>

namespace Ui {
class TTransactionsPanel;
}
class TBudgetsPanel;
class TCategoriesPanel;
class TChartsPanel;
class TTransListPanel;
struct TSession;

// The Transactions view: the period pickers and Search, and the sub-panels
// that show the searched period (the records with their day and month
// totals, the category summary, the charts), one at a time. It owns the result of the
// last search; the sub-panels show it.
class TTransactionsPanel : public QFrame {
    Q_OBJECT
public:
    TTransactionsPanel(TSession &session, QWidget *parent = nullptr);
    ~TTransactionsPanel() override;

    // Once a user has signed in: the pickers on the first of this month and
    // today, nothing searched yet.
    void Start();

    TTransListPanel *ListPanel() const { return FList; }
    TCategoriesPanel *CategoriesPanel() const { return FCates; }
    TChartsPanel *ChartsPanel() const { return FCharts; }
    TBudgetsPanel *BudgetsPanel() const { return FBudgets; }

    void dtpTransDate1Change();
    // Searches the pickers' period (nothing when `sender` is disabled).
    void btnTransSearchClick(QWidget *sender);
    void rdoTransTransactionsClick();
    // Searches again what the lists show, after the book changed under them
    // (a record edited or deleted, a step undone or redone); nothing before
    // the first search.
    void RefreshSearch();

private:
    // The period search behind Search and the refresh after Edit and Delete.
    void SearchPeriod(QWidget *sender, QDate from, QDate to);
    // Hands the result to the sub-panels; unless `read`, as no period at all.
    void ShowResult(bool read);

    TSession &FSession;
    std::unique_ptr<Ui::TTransactionsPanel> ui;
    TTransListPanel *FList = nullptr;
    TCategoriesPanel *FCates = nullptr;
    TChartsPanel *FCharts = nullptr;
    TBudgetsPanel *FBudgets = nullptr;
    // The searched period and its result; invalid dates before any search.
    QDate FSearchFrom;
    QDate FSearchTo;
    TPeriod FPeriod;
    QList<TBudget> FBudgetList; // the user's, read with the search
};
