#pragma once

#include <QDate>
#include <QHashFunctions>
#include <QList>
#include <QSharedData>
#include <QString>
#include <QStringList>

// The values that cross the store's boundary: records and the totals of a
// period, typed; texts are made where they are shown.

enum class TRecordType { Expense, Income };

// Where an imported record came from: the bank's account and the bank's own
// id of the entry (an OFX FITID), which banks keep unique within one account
// only. Empty for records typed by hand.
struct TImportId {
    QString Account;
    QString Id;
    // The user ticked the line although it was taken for a duplicate: the
    // record is stored even when its id is known by then. Not part of the
    // id: ids compare and hash without it.
    bool Wanted = false;

    bool IsEmpty() const { return Id.isEmpty(); }
    bool operator==(const TImportId &other) const {
        return Account == other.Account && Id == other.Id;
    }
};

inline size_t qHash(const TImportId &id, size_t seed = 0) {
    return qHashMulti(seed, id.Account, id.Id);
}

// A value that few records carry (an import id, the recurring entry a
// pending record was made from) behind one shared pointer: records read back
// from the store never carry one, and a search holds hundreds of thousands
// of those (each byte of a record costs about 200 KB there). The pointer is
// intrusive, so a record pays one pointer per such value. Compared by value;
// empty when the value is.
template <typename T> class TValueRef {
public:
    TValueRef() = default;
    TValueRef(T value) : FHeld(value.IsEmpty() ? nullptr : new THeld(std::move(value))) {}
    bool IsEmpty() const { return !FHeld; }
    const T &operator*() const { return FHeld ? FHeld->Value : kNone; }
    const T *operator->() const { return &**this; }
    friend bool operator==(const TValueRef &a, const TValueRef &b) { return *a == *b; }

private:
    struct THeld : QSharedData {
        explicit THeld(T value) : Value(std::move(value)) {}
        const T Value;
    };
    static inline const T kNone = {};
    QExplicitlySharedDataPointer<const THeld> FHeld;
};

using TImportRef = TValueRef<TImportId>;

// A pending record made from a recurring entry: the entry, the entry's
// booked date the record was made from (invalid when nothing was booked
// yet) and the date of the occurrence. Saving the record advances the
// entry's booked date (see TDbMan::SavePending); never stored with the
// record, never read back with it.
struct TRecurringOrigin {
    qint64 Entry = 0;
    QDate BookedFrom;
    QDate Date;

    bool IsEmpty() const { return Entry == 0; }
    bool operator==(const TRecurringOrigin &) const = default;
};

using TRecurringRef = TValueRef<TRecurringOrigin>;

struct TRecord {
    qint64 Id = 0; // 0 for a record not stored yet
    QDate Date;
    TRecordType Type = TRecordType::Expense;
    QString Category;
    qint64 Cents = 0;
    QString Notes;
    // Set on a pending record made from a statement line; remembered when
    // the record is stored, never read back with it.
    TImportRef Import = {};
    // Set on a pending record made from a recurring entry.
    TRecurringRef Recurring = {};

    bool operator==(const TRecord &) const = default;
};

struct TDayTotal {
    QDate Day;
    qint64 InCents = 0;
    qint64 OutCents = 0;

    bool operator==(const TDayTotal &) const = default;
};

struct TMonthTotal {
    int Year = 0;
    int Month = 0;
    qint64 InCents = 0;
    qint64 OutCents = 0;

    bool operator==(const TMonthTotal &) const = default;
};

struct TCategoryTotal {
    QString Category;
    int Count = 0;
    qint64 Cents = 0;

    bool operator==(const TCategoryTotal &) const = default;
};

// Everything a search shows of one period.
struct TPeriod {
    qint64 IncomeCents = 0, ExpenseCents = 0;
    QList<TDayTotal> Days;     // date order, days with records only
    QList<TMonthTotal> Months; // month order, months with records only
    QList<TRecord> Records;    // the transaction list's order
    QList<TCategoryTotal> ExpenseCategories, IncomeCategories; // the category lists' order
    // Stored records of the period that could not be read (a date or type
    // written by another program); they are left out of everything above.
    int Unreadable = 0;
};

// The lines of a statement a category rule applies to: money out, money in,
// or both.
enum class TRuleType { Expense, Income, Both };

// A rule of statement import: a line of the rule's type whose payee or memo
// contains Text (ignoring case) gets Category. Rules kept before rules had a
// type apply to money out.
struct TCategoryRule {
    QString Text;
    QString Category;
    TRuleType Type = TRuleType::Expense;

    bool operator==(const TCategoryRule &) const = default;
};

// A statement layout kept under a name (a bank profile); Layout is the text
// the import code makes of it.
struct TBankProfile {
    QString Name;
    QString Layout;

    bool operator==(const TBankProfile &) const = default;
};

// A monthly budget of one user for the records of one type and category,
// in cents. A category without a budget has none (no row), which is not a
// budget of 0.
struct TBudget {
    TRecordType Type = TRecordType::Expense;
    QString Category;
    qint64 Cents = 0;

    bool operator==(const TBudget &) const = default;
};

// How a recurring entry comes back: every Every days, weeks, months or years
// from First, up to Last when it is valid (else without end). The n-th date
// is counted from First, never from the date before it: monthly from 31
// January gives 28 (or 29) February, then 31 March. See NextDate().
enum class TRepeatUnit { Days, Weeks, Months, Years };

struct TSchedule {
    QDate First;
    int Every = 1;
    TRepeatUnit Unit = TRepeatUnit::Months;
    QDate Last; // invalid: no end

    bool operator==(const TSchedule &) const = default;
};

// A recurring entry of one user: the record it makes on each date of its
// schedule, and the date up to which it is booked (its occurrences up to and
// including Booked are stored or were skipped; invalid: none yet).
struct TRecurring {
    qint64 Id = 0; // 0 for an entry not stored yet
    TRecordType Type = TRecordType::Expense;
    QString Category;
    qint64 Cents = 0;
    QString Notes;
    TSchedule Schedule;
    QDate Booked;

    bool operator==(const TRecurring &) const = default;
};

// A recurring entry's booked date moved by a save: from From (invalid: none
// booked yet) to To. Reversed() moves it back (the undo of that save).
struct TBookingAdvance {
    qint64 Entry = 0;
    QDate From, To;

    TBookingAdvance Reversed() const { return {Entry, To, From}; }
    bool operator==(const TBookingAdvance &) const = default;
};

// A category renamed in one user's book (or merged into a category of that
// name), with everything the change touched, before and after: what an undo
// needs to put it back exactly, and a redo to make it again.
struct TCategoryRename {
    TRecordType Type = TRecordType::Expense;
    QString From, To;
    QList<qint64> Ids;                 // the records of Type whose category went From -> To
    QStringList ListBefore, ListAfter; // the category list of Type
    QList<TCategoryRule> RulesBefore, RulesAfter; // all the user's rules, in order
    QList<TBudget> BudgetsBefore, BudgetsAfter; // all the user's budgets (as Budgets() reads them)
    // The user's recurring entries of Type and category From, and the same
    // entries with the category To.
    QList<TRecurring> RecurringBefore, RecurringAfter;

    // The same change the other way: To back to From.
    TCategoryRename Reversed() const {
        return {
            Type,       To,          From,         Ids,           ListAfter,      ListBefore,
            RulesAfter, RulesBefore, BudgetsAfter, BudgetsBefore, RecurringAfter, RecurringBefore};
    }
    bool operator==(const TCategoryRename &) const = default;
};

Q_DECLARE_TYPEINFO(TImportId, Q_RELOCATABLE_TYPE);
static_assert(sizeof(TRecord) <= 96, "a search holds every record of its period");

Q_DECLARE_TYPEINFO(TImportRef, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(TRecurringRef, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(TRecord, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(TDayTotal, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(TMonthTotal, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(TCategoryTotal, Q_RELOCATABLE_TYPE);

// "Expense" / "Income", the words stored and shown.
QString RecordTypeWord(TRecordType type);
