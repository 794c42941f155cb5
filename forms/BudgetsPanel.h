#pragma once

#include "export/ExportTypes.h"
#include "store/Planning.h"

#include <QFrame>
#include <memory>

namespace Ui {
class TBudgetsPanel;
}
template <typename Row> class TTypedRowsModel;
struct TSession;

// The Budgets sub-panel: for the searched period, each budgeted category of
// the chosen type with its budget for the period, what was spent, what is
// left (negative when over) and a bar of spent against budget, then the
// rest (the categories without a budget) and the totals.
class TBudgetsPanel : public QFrame {
    Q_OBJECT
public:
    TBudgetsPanel(TSession &session, QWidget *parent = nullptr);
    ~TBudgetsPanel() override;

    // Shows the budgets against a search's result (an empty period clears
    // the list); `budgets` are the user's, read with the search.
    void ShowPeriod(const TReportHead &head, const TPeriod &period, const QList<TBudget> &budgets);

    // The type shown.
    TRecordType Type() const;
    // The list (disabled while the records of a row are shown).
    QWidget *ListView() const;

signals:
    // A category's row was opened (double-click or Enter): its records.
    void CategoryChosen(TRecordType type, const QString &category);

private:
    void ShowRows();
    void OpenRow();

    std::unique_ptr<Ui::TBudgetsPanel> ui;
    TTypedRowsModel<TBudgetRow> *FRows = nullptr;
    TReportHead FHead;
    TPeriod FPeriod;
    QList<TBudget> FBudgets;
};
