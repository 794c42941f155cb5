#pragma once

#include "store/Planning.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmBudgets;
}
class QTreeWidget;
struct TSession;

// The monthly budgets of the signed-in user, one list per type: each
// category (the category list, and those of the last 12 months' records it
// lacks) with its budget, editable in place (empty: none), beside the
// average per month of the last 12 full months. Save stores them all in one
// transaction and adds one undo step; a budget that cannot be read as an
// amount is named and nothing is stored.
class TfrmBudgets : public QDialog {
    Q_OBJECT
public:
    TfrmBudgets(TSession &session, QWidget *owner);
    ~TfrmBudgets() override;

    // Fills empty budgets from the averages.
    void btnUseAveragesClick();
    void btnSaveClick();

private:
    void Fill(QTreeWidget *list, TRecordType type, const QStringList &categories,
              const TMonthlyAverages &averages);

    TSession &FSession;
    std::unique_ptr<Ui::TfrmBudgets> ui;
    QList<TBudget> FRead; // as the store gave them when the window opened
};
