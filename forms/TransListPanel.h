#pragma once

#include "export/ExportTypes.h"

#include <QFrame>
#include <memory>

namespace Ui {
class TTransListPanel;
}
class QMenu;
class QTreeView;
template <typename Row> class TTypedRowsModel;
struct TSession;

// The Transactions sub-panel: the period's totals by day or by month, its
// records (Edit, Delete) and the More menu (exports, printout). Choosing a
// day or a month tints its records and scrolls to the first of them.
class TTransListPanel : public QFrame {
    Q_OBJECT
public:
    TTransListPanel(TSession &session, QWidget *parent = nullptr);
    ~TTransListPanel() override;

    // Shows the result of a search (an empty period clears the lists).
    void ShowPeriod(const TReportHead &head, const TPeriod &period);

    // Chooses the day `day` in the day totals, or (`month`) the month of
    // `day` in the month totals, as clicking its row does.
    void ChooseTotal(QDate day, bool month);
    // The keyboard focus into the list of records.
    void FocusRecords();

    void TabSet1Click();
    // A row of lvwDayTotal or lvwMonthTotal became selected (or stopped being).
    void lvwDayTotalSelectItem(QTreeView *sender, int row, bool selected);
    void lvwTransSelectItem();
    // Delete key released in lvwTrans; sets `key` to 0 when it was used.
    void lvwTransKeyUp(int &key);
    void btnTransEditClick(QWidget *sender);
    void btnTransDeleteClick(QWidget *sender);
    void btnTransMoreClick();

signals:
    // A record was edited or deleted: the period should be searched again.
    void RecordsChanged();

private:
    void UpdateButtons();
    // True when `date` lies in the chosen day or month.
    bool IsMarked(QDate date) const;
    QVariant lvwTransCustomDrawItem(int row, int role) const;

    TSession &FSession;
    std::unique_ptr<Ui::TTransListPanel> ui;
    QMenu *mnuTransMenu = nullptr;
    TTypedRowsModel<TDayTotal> *FDays = nullptr;
    TTypedRowsModel<TMonthTotal> *FMonths = nullptr;
    TTypedRowsModel<TRecord> *FTrans = nullptr;
    TReportHead FHead;
    TPeriod FPeriod;
    // The chosen day (or any day of the chosen month); invalid when none.
    QDate FMarked;
    bool FMarkedMonth = false;
};
