#pragma once

#include "forms/Session.h"

#include <QWidget>
#include <functional>
#include <memory>

namespace Ui {
class TfrmMain;
}
class QFileDialog;
class QMenu;
class TEntryPanel;
class TSkinMan;
class TTransactionsPanel;
class TUndoSteps;

// The main window: a borderless window whose frame the skin manager draws,
// a mode bar (Expense, Income, Transactions and the account menu picture)
// and a stack of panels under it, one visible at a time. Each panel owns its
// controls, handlers and state; the window itself switches the panels and
// runs the account menu. It is 700 x 525 at first; the user can resize and
// maximise it, and it opens again where that user left it.
//
// It is made for a signed-in user (the start-up, app/Startup.h, signs the
// user in and hands the session over) and fills itself at once; the
// start-up shows it.
class TfrmMain : public QWidget {
    Q_OBJECT
public:
    // `session` holds the signed-in user, the data file and its store.
    explicit TfrmMain(TSession session, QWidget *parent = nullptr);
    ~TfrmMain() override;

    // Shows the window for the first time, centred on the primary screen
    // and in front.
    void ShowAtStart();

    // Starts a fresh instance of the program with the given parameter text
    // (switch user, delete user, restore); set by the start-up. Tests
    // replace it so that nothing is spawned.
    std::function<void(const QString &params)> StartNewInstance;

    // True while the window has its store.
    bool SignedIn() const { return FSession.DbMan != nullptr; }
    const QString &UserName() const { return FSession.UserName; }
    const QString &DataFile() const { return FSession.DataFile; }
    // The data store of the session: it holds the signed-in user's key.
    TDbMan &Store() const { return *FSession.DbMan; }

    TEntryPanel *ExpensePanel() const { return FOutPanel; }
    TEntryPanel *IncomePanel() const { return FInPanel; }
    TTransactionsPanel *TransactionsPanel() const { return FTransPanel; }
    TUndoSteps *UndoSteps() const { return FSteps; }
    // True while a pending list holds rows not saved yet.
    bool HasPending() const;

    // At sign-in: the recurring entries' rows due on `today` go into the
    // pending lists, and the user is told how many (nothing is stored).
    void OfferDueEntries(QDate today);

    // --- mode bar -----------------------------------------------------------------
    void rdoExpenseClick();
    void imgMenuMouseDown(Qt::MouseButton button);
    void imgMenuMouseUp(Qt::MouseButton button);
    // Shows the "up" (blue) or the "down" (red) menu picture.
    void SetMenuImage(bool up);

    // --- account menu ---------------------------------------------------------------
    // Undo (Ctrl+Z) and Redo (Ctrl+Shift+Z, Ctrl+Y) of the book's last change.
    void mnuMenu_UndoClick();
    void mnuMenu_RedoClick();
    void mnuMenu_SwitchUserClick();
    void mnuMenu_SetPwdClick();
    void mnuMenu_DeleteUserClick();
    // Import Statement... (also Ctrl+I): a statement file into the pending lists.
    void mnuMenu_ImportClick();
    // Recurring Entries...: the user's recurring entries, added, changed, deleted.
    void mnuMenu_RecurringClick();
    void mnuMenu_BackupClick();
    void mnuMenu_RestoreClick();
    void mnuMenu_AboutClick();
    void mnuMenu_ExitClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void SetupComponents();
    void SetupMenus();
    void FormCreate();
    void FormDestroy();
    // Places the window where the signed-in user left it, on the screens
    // present; KeepPlace remembers that place for the next start.
    void RestorePlace();
    void KeepPlace();
    // Starts a fresh instance with `params` and closes this window.
    void Restart(const QString &params);
    // Before the window closes or another instance takes over: asks whether
    // the rows of the pending lists are saved (Save stores them as Save of
    // the list does), discarded or kept with the window (Cancel). False when
    // the window stays: Cancel, or a Save that failed (its rows stay).
    bool SettlePending();
    // After an undo or redo: the menu's step texts, the category boxes and
    // the searched period as the book now is.
    void ShowBookAgain();
    void UpdateUndoItems();
    // Runs a menu handler; an exception it raises is shown in the error box.
    void RunGuarded(const std::function<void()> &body);
    // The panels under the mode bar, one visible at a time.
    QList<QWidget *> Panels() const;

    std::unique_ptr<Ui::TfrmMain> ui;
    TSession FSession;
    std::unique_ptr<TSkinMan> SkinMan;
    QMenu *mnuMenu = nullptr;
    QFileDialog *OpenDialog1 = nullptr;
    // The open dialog of statement files; it remembers the folder for the run.
    QFileDialog *ImportDialog1 = nullptr;
    TEntryPanel *FOutPanel = nullptr;
    TEntryPanel *FInPanel = nullptr;
    TTransactionsPanel *FTransPanel = nullptr;
    TUndoSteps *FSteps = nullptr;
};
