#pragma once

#include <QObject>
#include <QString>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class QWidget;
class TRowsModel;
class TfrmMain;

// What tells the Expense panel and the Income panel apart.
struct TEntryPanelKind {
    QString Part;         // "Out" or "In": the middle of the controls' names
    QString TypeWord;     // type of the panel's records: "Expense" or "Income"
    QString ListName;     // the user's category list: "out" or "in"
    QString HelpResource; // "RES_HELP1" or "RES_HELP2"

    static TEntryPanelKind Expense();
    static TEntryPanelKind Income();
};

// The behaviour of one entry panel of the main window, written once for both
// twins: a day's records are typed into the pending list, corrected or
// dropped there, and saved together. The panel's widgets are the main
// window's, found by their names (dtpOutDate, cboOutCate, ... for Out).
//
// Every handler reports its own failures through the main window's error
// report and leaves no button disabled and no wait cursor behind.
class TEntryPanel : public QObject {
    Q_OBJECT
public:
    TEntryPanel(TfrmMain *owner, const TEntryPanelKind &kind);

    const TEntryPanelKind &Kind() const { return FKind; }

    // Add: a row of date, type, category, amount and notes goes to the end
    // of the pending list, a new category to the top of the user's list.
    // `sender` is the Add button (also when Enter in the notes box adds).
    void AddClick(QPushButton *sender);
    // Enables Add exactly when the category is not blank and the amount is
    // an acceptable amount.
    void CateChange();
    // Stores the whole pending list in one transaction, then empties it.
    void SaveClick(QPushButton *sender);
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

    // "Total: %0.2f" of the Amount texts of a pending list.
    static void UpdatePendingTotal(QTreeView *list, QLabel *label);
    static void ShowSaveSuccess(QWidget *owner);

    // The calculators tried by Calc, in order.
    static const QStringList &Calculators();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    template <typename T> T *Control(const QString &kind, const QString &role) const;
    bool Ask(const QString &question) const;

    TfrmMain *FOwner;
    TEntryPanelKind FKind;
    QDateEdit *FDate;
    QComboBox *FCate;
    QLineEdit *FAmount;
    QLineEdit *FNotes;
    QPushButton *FHelp;
    QPushButton *FEditCates;
    QPushButton *FCalc;
    QPushButton *FAdd;
    QTreeView *FList;
    QLabel *FTotal;
    QPushButton *FDelete;
    QPushButton *FEdit;
    QPushButton *FSave;
    TRowsModel *FModel;
};
