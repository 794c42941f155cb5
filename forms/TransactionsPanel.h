#pragma once

#include "export/ExportTypes.h"

#include <QFrame>
#include <memory>

namespace Ui {
class TTransactionsPanel;
}
class QLineEdit;
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
    // Searches the pickers' period (nothing when `sender` is disabled); a
    // find shown before ends, its box is emptied.
    void btnTransSearchClick(QWidget *sender);
    void rdoTransTransactionsClick();
    // The find box, which the main window places in its mode bar.
    QLineEdit *FindBox() const;
    // Ctrl+F: the cursor into the find box, its text selected.
    void FocusFind();
    // Enter in the find box: every record of the user, of any period, that
    // the text finds, newest first; the pickers show their span. With the
    // box empty, the period shown before the find comes back.
    void edtTransFindEnter();

    // Runs what the lists show again, so they show the book as it now is:
    // the find when its results are shown, else the searched period. The
    // one refresh after anything changed records (Edit, Delete, undo);
    // nothing before the first search or find.
    void RefreshSearch();

private:
    // The period search behind Search and the refresh after Edit and Delete.
    void SearchPeriod(QWidget *sender, QDate from, QDate to);
    // Lists the records that `text` finds (see edtTransFindEnter).
    void FindRecords(const QString &text);
    // Ends a find: the pickers as they were before it, and the period
    // searched then searched again (nothing shown when there was none).
    void EndFind();
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
    // The text whose results are shown; empty while a period is shown.
    QString FFound;
    // Before the first find: the pickers' dates, and the period then shown
    // (invalid when none), which ending the find brings back.
    QDate FPickedFrom, FPickedTo, FShownFrom, FShownTo;
    QList<TBudget> FBudgetList; // the user's, read with the search
};
