#pragma once

#include "store/Planning.h"

#include <QFrame>
#include <QString>
#include <memory>

namespace Ui {
class TEntryPanel;
}
class QPushButton;
template <typename Row> class TTypedRowsModel;
struct TSession;

// What tells the Expense panel and the Income panel apart.
struct TEntryPanelKind {
    QString Part;         // "Out" or "In": the middle of the controls' names
    TRecordType Type;     // type of the panel's records
    QString ListName;     // the user's category list: "out" or "in"
    QString HelpResource; // "RES_HELP1" or "RES_HELP2"
    QString PanelName;    // "pnlExpense" or "pnlIncome"
    QStringList Example;  // the date, category, amount and notes of the steps

    static TEntryPanelKind Expense();
    static TEntryPanelKind Income();
};

// One entry panel, written once for both twins: a day's records are typed
// into the pending list, corrected or dropped there, and saved together.
// Its controls are named from the kind's part (dtpOutDate, cboOutCate, ...
// for Out), as every other window of the program names them.
//
// Every handler reports its own failures through the application's error
// report and leaves no button disabled and no wait cursor behind.
class TEntryPanel : public QFrame {
    Q_OBJECT
public:
    TEntryPanel(TSession &session, const TEntryPanelKind &kind, QWidget *parent = nullptr);
    ~TEntryPanel() override;

    const TEntryPanelKind &Kind() const { return FKind; }

    // Once a user has signed in: today's date, the user's categories, the
    // empty list's total and the buttons.
    void Start();

    // Appends records to the pending list (statement import), as Add does
    // for one.
    void AppendPending(const QList<TRecord> &records);
    const QList<TRecord> &Pending() const;
    // Appends the due rows of recurring entries of the panel's type; Save
    // books each of those entries up to its last row offered, rows the user
    // deleted meanwhile included (skipped). Returns how many rows came.
    int OfferDue(const QList<TDueEntry> &due);
    // What Save books of the recurring entries offered (and not saved yet).
    const QList<TBookingAdvance> &Advances() const { return FAdvances; }

    // Add: a record of date, type, category, amount and notes goes to the
    // end of the pending list, a new category to the top of the user's list.
    // `sender` is the Add button (also when Enter in the notes box adds).
    void AddClick(QPushButton *sender);
    // Enables Add exactly when the category is not blank and the amount is
    // an acceptable amount.
    void CateChange();
    // Stores the whole pending list in one transaction, then empties it; says
    // how many imported lines were left out because another window had
    // saved them meanwhile.
    void SaveClick(QPushButton *sender);
    // Save without the question and the message (the window is closing):
    // the whole list in one transaction, an undo step; then the list is
    // empty. Returns how many imported lines were left out. Throws when the
    // list could not be stored; its rows then stay.
    // Rows of entries another window booked meanwhile are taken out first
    // and the rest saved; `meanwhile` receives how many rows went so.
    int SavePending(int *meanwhile = nullptr);
    // Opens the recurring entry editor prefilled from the selected row.
    void RepeatClick();
    // Empties the pending list without storing anything.
    void DiscardPending();
    // Takes the selected row back into the fields.
    void EditClick();
    // Drops the selected row.
    void DeleteClick();
    // Edits the user's category list of this panel as text.
    void EditCatesClick(QPushButton *sender);
    // Starts the desktop's calculator when one is installed.
    void CalcClick();
    void HelpClick();

    // Puts `category` at the top of the panel's category box and stores the
    // list, unless an item equals it ignoring case and outer blanks.
    // Throws when the list cannot be stored (the box is then unchanged).
    void RememberCategory(const QString &category);
    // Reloads the category box's items from the stored list; the typed text stays.
    void LoadCategories();

    // The calculators tried by Calc, in order.
    static const QStringList &Calculators();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void UpdateButtons();
    void UpdateTotal();
    void RemovePendingRow(int row);
    bool Ask(const QString &question);

    TSession &FSession;
    TEntryPanelKind FKind;
    std::unique_ptr<Ui::TEntryPanel> ui;
    TTypedRowsModel<TRecord> *FModel = nullptr;
    QList<TBookingAdvance> FAdvances;
};
