#pragma once

#include "import/Statement.h"
#include "store/Records.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

namespace Ui {
class TfrmImport;
}
class QComboBox;
class QFileDialog;
class TEntryPanel;
class TImportRowsModel;
class TStatementImport;
struct TSession;
template <typename Row> class TTypedRowsModel;

// The import window: a bank statement (CSV, OFX or QIF, told by its
// content) read into a table of its lines, each with its date, type,
// category and where the category came from, amount, notes (payee and memo)
// and whether it is already in the book. Duplicates start unticked. The
// CSV layout can be changed (the table is read again) and kept as a bank
// profile; the category rules (each for money out, money in or both) are
// edited here and kept. "Add to Lists"
// appends the ticked lines to the Expense and Income pending lists, which
// the user then reviews and saves as usual: nothing but the rules and the
// profiles the user keeps is written before that Save.
class TfrmImport : public QDialog {
    Q_OBJECT
public:
    // `expense` and `income` are the pending lists the lines go to;
    // `fileDialog` is the open dialog of statements, kept by the caller so
    // that it remembers the folder during the run.
    TfrmImport(TSession &session, TEntryPanel *expense, TEntryPanel *income,
               QFileDialog *fileDialog, QWidget *owner);
    ~TfrmImport() override;

    // Reads `path` and fills the table. A file that is no statement is
    // refused with a message and false; the file shown before stays.
    bool OpenFile(const QString &path);
    // The name filters of the dialog that picks a statement.
    static QStringList StatementFilters();

    // --- handlers -------------------------------------------------------------------
    void btnImportBrowseClick();
    // Any layout choice changed: read the file again with the choices shown.
    void LayoutChange();
    void cboImportProfileChange();
    void btnImportProfileSaveClick();
    void btnImportProfileDeleteClick();
    void btnImportSetCateClick();
    void btnImportTickClick(bool ticked);
    void btnImportRuleAddClick();
    void btnImportRuleDeleteClick();
    void btnImportRuleMoveClick(int by);
    void btnImportAddClick();

private:
    // The layout controls from the statement's layout.
    void ShowLayout();
    TStatementLayout LayoutOfControls() const;
    // Reads with `layout`; a layout that cannot read the file leaves the
    // table empty and says why.
    void ReadWith(const TStatementLayout &layout);
    void ReadProfile(const QString &name);
    // Runs `read`, keeping the reason when it fails, and shows the result.
    void ReadStatement(const std::function<void()> &read);
    // The table, the problems, the rules, the notice and the summary.
    void ShowRows();
    void UpdateSummary();
    // Asks which order the dates are written in; Unknown when cancelled.
    TDateOrder AskDateOrder();
    void FillCategoryBoxes();
    QList<TRecord> PendingRows() const;
    QWidget *MessageOwner();

    TSession &FSession;
    TEntryPanel *FExpense;
    TEntryPanel *FIncome;
    QFileDialog *FFileDialog;
    std::unique_ptr<Ui::TfrmImport> ui;
    std::unique_ptr<TStatementImport> FImport;
    TImportRowsModel *FModel = nullptr;
    TTypedRowsModel<TStatementProblem> *FProblems = nullptr;
    TTypedRowsModel<TCategoryRule> *FRules = nullptr;
    // Why the last read gave nothing ("" when it read).
    QString FReadError;
    // The controls are being filled from code: no reading again.
    bool FFilling = false;
};
