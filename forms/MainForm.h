#pragma once

#include <QCoreApplication>
#include <QDate>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

#include "export/ExportTypes.h"
#include "reports/CompositeReport.h"
#include "reports/Printout.h"
#include "store/DbClass.h"

namespace Ui {
class TfrmMain;
}
class QFileDialog;
class QLabel;
class QMenu;
class QAction;
class QTreeView;
class TEntryPanel;
class TSkinMan;
class TPageReport;
class TReportBand;
class TReportLabel;

// The main window: a borderless 700 x 525 window whose frame the skin
// manager draws, a mode bar (Expense, Income, Transactions and the account
// menu picture) and the three panels under it, one visible at a time.
//
// Constructing it signs the user in (the sign-in window runs modally inside
// the constructor). Without a user the window never shows and the
// application is asked to quit; with one it fills itself and shows itself
// once the event loop runs.
class TfrmMain : public QWidget {
    Q_OBJECT
public:
    // `arguments` is the program's command line (argument 1 may name a
    // backup file for the sign-in window to restore).
    explicit TfrmMain(QWidget *parent = nullptr,
                      const QStringList &arguments = QCoreApplication::arguments());
    ~TfrmMain() override;

    // --- window state -------------------------------------------------------
    QDate SearchFrom;
    QDate SearchTo;
    double PeriodIncome = 0;
    double PeriodExpenses = 0;
    std::unique_ptr<TSkinMan> SkinMan;
    QString UserName;
    QString DataFile;
    std::unique_ptr<TDbMan> DbMan;
    QString MarkedDate;
    // Why today's automatic backup failed, shown once the window is up.
    QString AutoBackupProblem;
    // The category list that More Info acts on; null when none.
    QTreeView *CurrentCatesList = nullptr;

    // Starts a fresh instance of the program with the given parameter text
    // (switch user, delete user, restore). Tests replace it so that nothing
    // is spawned.
    std::function<void(const QString &params)> StartNewInstance;

    // True once a user has signed in (otherwise the window is never shown).
    bool SignedIn() const { return DbMan != nullptr; }

    // --- components ------------------------------------------------------------
    QMenu *mnuMenu = nullptr;
    QMenu *mnuTransMenu = nullptr;
    QMenu *mnuCatesExport = nullptr;
    QFileDialog *SaveDialog1 = nullptr;
    QFileDialog *OpenDialog1 = nullptr;

    // --- helpers shared by the panels ---------------------------------------
    // Runs a handler body; an exception it raises is shown in the error box
    // (the application title as caption) and the program goes on.
    void RunGuarded(const std::function<void()> &body);
    // Enables the twelve list-dependent buttons from the lists' rows and
    // selections.
    void UpdateButtons();
    // Marks a long action busy (control disabled, wait cursor) or ends it.
    void SetBusy(bool busy, QWidget *control);
    // Appends every row of `list` (its texts after column 0), in display order.
    void CollectRows(QTreeView *list, TStringsArray &rows);
    // Shows the "up" (blue) or the "down" (red) menu picture.
    void SetMenuImage(bool up);
    // Shows `dialog` with the given name filter; the chosen file name, or
    // empty when cancelled. The dialog keeps the chosen name for next time.
    QString RunFileDialog(QFileDialog *dialog, const QString &filter);

    // --- mode bar -----------------------------------------------------------------
    void rdoExpenseClick();
    void rdoTransTransactionsClick();
    void imgMenuMouseDown(Qt::MouseButton button);
    void imgMenuMouseUp(Qt::MouseButton button);

    // --- entry panels (MainFormEntry.cpp) -----------------------------------------
    // "Total: %0.2f" of the Amount texts of `list` into `label`.
    void UpdatePendingTotal(QTreeView *list, QLabel *label);
    // Puts a category that the list ("out" or "in") lacks at its top and
    // stores the list; throws when it cannot be stored.
    void RememberCategory(const QString &listName, const QString &category);
    void ShowSaveSuccess();
    void cboOutCateChange();
    void cboInCateChange();
    void btnOutAddClick();
    void btnInAddClick();
    void btnOutSaveClick();
    void btnInSaveClick();
    void btnOutEditClick();
    void btnInEditClick();
    void btnOutDeleteClick();
    void btnInDeleteClick();
    void btnOutEditCatesClick();
    void btnInEditCatesClick();
    void btnOutCalcClick();
    void btnInCalcClick();
    void btnOutHelpClick();
    void btnInHelpClick();
    // The behaviour of the panel of the list "out" or "in".
    TEntryPanel *EntryPanel(const QString &listName) const;

    // --- transactions panel (MainFormTransactions.cpp) ----------------------------------
    // "Income: ...    Expenses: ...    Net Income: ..." on both totals labels.
    void ShowPeriodTotals(double income, double expenses);
    void dtpTransDate1Change();
    // Searches the pickers' period (nothing when `sender` is disabled).
    void btnTransSearchClick(QWidget *sender);
    void TabSet1Click();
    // A row of lvwDayTotal or lvwMonthTotal became selected (or stopped being).
    void lvwDayTotalSelectItem(QTreeView *sender, int row, bool selected);
    void lvwTransSelectItem();
    // Delete key released in lvwTrans; sets `key` to 0 when it was used.
    void lvwTransKeyUp(int &key);
    void btnTransEditClick(QWidget *sender);
    void btnTransDeleteClick(QWidget *sender);
    void btnTransMoreClick();

    // --- category summary (MainFormTransactions.cpp) -------------------------------
    // CurrentCatesList := `list` when it has a selected row, else none.
    void MakeCurrentCatesList(QTreeView *list);
    void lvwInCatesDblClick();
    void lvwOutCatesDblClick();
    void btnMoreInfoClick(QWidget *sender);
    void btnCatesExportClick();

    // --- exports (MainFormExport.cpp) ---------------------------------------------
    void mnuCatesExport_ToHtmlClick();
    void btnTransMore_ToHtmlClick();
    void mnuCatesExport_ToXlsClick();
    void btnTransMore_ToXlsClick();

    // --- printouts (MainFormPrint.cpp) --------------------------------------------
    // Builds the printouts and owns their page reports while they are shown.
    TPrintout Printout;
    // The page reports of the printout being built or previewed, in page
    // order; empty between printouts.
    QList<TPageReport *> &Reports = Printout.Reports;
    // Chains the page reports into the printout that is previewed and printed.
    TCompositeReport QRCompositeReport1;
    int ScreenDpi(Qt::Orientation axis) const;
    int ScaleX(int n) const;
    int ScaleY(int n) const;
    int PageWidthPx() const;
    int PageHeightPx() const;
    int PrintWidthPx() const;
    int PrintHeightPx() const;
    TReportLabel *NewReportLabel(TPageReport *report);
    void ShowReportPreview();
    void FreeReports();
    void FreeBandControls(TReportBand *band);
    void QRCompositeReport1AddReports();
    void btnCatesPrintClick();
    void btnTransMore_PrintClick();

    // --- account menu ---------------------------------------------------------------
    void mnuMenu_SwitchUserClick();
    void mnuMenu_SetPwdClick();
    void mnuMenu_DeleteUserClick();
    void mnuMenu_BackupClick();
    void mnuMenu_RestoreClick();
    void mnuMenu_AboutClick();
    void mnuMenu_ExitClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void SetupComponents();
    void SetupLists();
    void SetupMenus();
    void ConnectHandlers();
    void SetupTransactions();
    // The period search behind Search and the refresh after Edit and Delete.
    void SearchPeriod(QWidget *sender, const QDate &from, const QDate &to);
    // The fresh search after Edit or Delete.
    void RefreshSearch();
    // True when the date text `date` ("mm/dd/yyyy") lies in MarkedDate (a
    // day or a "mm/yyyy" month).
    bool IsMarked(const QString &date) const;
    // Row colours of the lists: the marked day's tint, the current category.
    QVariant lvwTransCustomDrawItem(int row, int role) const;
    QVariant CatesCustomDrawItem(QTreeView *list, int row, int role) const;
    void ConnectExportMenus();
    void ConnectPrintCommands();
    // Builds the printout of the category rows or of the transaction rows
    // of the last search and previews it; `control` is busy meanwhile.
    void PrintRows(bool categories, QWidget *control);
    // Asks for the file and writes the rows of the last search into it.
    void ExportRows(TExportKind kind, bool xls);
    void FormCreate();
    void FormDestroy();
    // Runs the sign-in window; both results empty unless a user signed in.
    void RunSignIn(QString &dataFile, QString &userName);
    // Starts a fresh instance with `params` and closes this window.
    void Restart(const QString &params);
    // Asks a Yes/No question with the caption "?"; true on Yes.
    bool Ask(const QString &text);
    // True when `fileName` does not exist or the user agrees to replace it.
    // Used where the file written is not the name the save dialog confirmed
    // (an extension was appended), so nothing is replaced unasked.
    bool MayReplace(const QString &fileName);

    std::unique_ptr<Ui::TfrmMain> ui;
    QStringList FArguments;
    // The two entry panels (owned as children of the window).
    void CreateEntryPanels();
    TEntryPanel *FOutPanel = nullptr;
    TEntryPanel *FInPanel = nullptr;
};
