#pragma once

#include "export/ExportTypes.h"

#include <QFrame>
#include <memory>

namespace Ui {
class TCategoriesPanel;
}
class QAction;
class QMenu;
class QTreeView;
template <typename Row> class TTypedRowsModel;
struct TSession;

// A category row of the summary: the category's totals and its type's total
// (for the share).
struct TCategoryRow {
    TRecordType Type = TRecordType::Expense;
    TCategoryTotal Total;
    qint64 TypeCents = 0;
};

// The Categories sub-panel: the period's income and expense categories
// with their shares, More Info on the records behind one, export and print.
class TCategoriesPanel : public QFrame {
    Q_OBJECT
public:
    TCategoriesPanel(TSession &session, QWidget *parent = nullptr);
    ~TCategoriesPanel() override;

    // Shows the result of a search (an empty period clears the lists);
    // `found`: the records a find listed, not all records of the head's dates.
    void ShowPeriod(const TReportHead &head, const TPeriod &period, bool found = false);

    // The records of the period behind one category, in the More Info window.
    void ShowMoreInfo(TRecordType type, const QString &category, QWidget *sender);

    // The category list that More Info acts on; null when none.
    QTreeView *CurrentCatesList() const { return FCurrentCatesList; }
    // CurrentCatesList := `list` when it has a selected row, else none.
    void MakeCurrentCatesList(QTreeView *list);
    void lvwInCatesDblClick();
    void lvwOutCatesDblClick();
    void btnMoreInfoClick(QWidget *sender);
    void btnCatesExportClick();
    void btnCatesPrintClick();
    // Rename... (context menu of the lists, F2): renames the selected
    // category in all the user's records of its type, in its category list
    // and in the import rules, after asking for the new name; onto a name
    // that exists, after asking, the two are merged. One undo step.
    void actCateRenameClick();

private:
    void UpdateButtons();
    QVariant CatesCustomDrawItem(QTreeView *list, int row, int role) const;

    TSession &FSession;
    std::unique_ptr<Ui::TCategoriesPanel> ui;
    QMenu *mnuCatesExport = nullptr;
    QAction *actCateRename = nullptr;
    TTypedRowsModel<TCategoryRow> *FInCates = nullptr;
    TTypedRowsModel<TCategoryRow> *FOutCates = nullptr;
    QTreeView *FCurrentCatesList = nullptr;
    TReportHead FHead;
    TPeriod FPeriod;
    bool FFound = false;
};
