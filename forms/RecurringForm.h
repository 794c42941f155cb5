#pragma once

#include "store/Records.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeView;
template <typename Row> class TTypedRowsModel;
struct TSession;

// The editor of one recurring entry: the record's fields (type, category,
// amount, notes) and its schedule (every N days, weeks, months or years from
// a first date, up to an optional last date). The caller reads Entry() after
// Accepted; the booked date is the one given. It never touches the data file
// but to read the category lists.
class TfrmEditRecurring : public QDialog {
    Q_OBJECT
public:
    TfrmEditRecurring(TSession &session, const TRecurring &entry, QWidget *owner);

    TRecurring Entry() const { return FEntry; }
    // OK: reads the fields; an amount that cannot be read or a last date
    // before the first one is said, and the editor stays.
    void btnOkClick();

private:
    void LoadCategories();

    TSession &FSession;
    TRecurring FEntry;
    QComboBox *cboType, *cboCate, *cboUnit;
    QLineEdit *edtAmount, *edtNotes;
    QSpinBox *spnEvery;
    QDateEdit *dtpFirst, *dtpLast;
    QCheckBox *chkLast;
};

// The user's recurring entries with their schedule and next date to book;
// Add, Edit and Delete each change the book at once, as one undo step.
class TfrmRecurring : public QDialog {
    Q_OBJECT
public:
    TfrmRecurring(TSession &session, QWidget *owner);

    void btnRecurringAddClick();
    void btnRecurringEditClick();
    void btnRecurringDeleteClick();
    // Reads the entries again.
    void LoadEntries();

private:
    void UpdateButtons();

    TSession &FSession;
    QTreeView *lvwRecurring;
    TTypedRowsModel<TRecurring> *FModel;
    QPushButton *btnRecurringAdd, *btnRecurringEdit, *btnRecurringDelete, *btnClose;
};

// "Every month from 01/31/2026", "Every 2 weeks from 01/05/2026 to
// 12/28/2026": a schedule as the lists show it.
QString ScheduleText(const TSchedule &schedule);

// Repeat Every Month...: the editor prefilled from `record` (monthly from
// its date); on OK the entry is stored as one undo step. A stored record
// counts as booked on its date (not booked twice); a pending one is saved
// with its list. True when an entry was stored; it is then in `added`.
bool RepeatRecord(TSession &session, const TRecord &record, bool stored, QWidget *owner,
                  TRecurring *added = nullptr);
