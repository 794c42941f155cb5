#pragma once

#include <QDate>
#include <QHashFunctions>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

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

// A record's import id behind one shared pointer: a record made from a
// statement line has one, records read back from the store never do, and a
// search holds hundreds of thousands of those (each byte of a record costs
// about 200 KB there). Compared by value; empty when it has none.
class TImportRef {
public:
    TImportRef() = default;
    TImportRef(TImportId id)
        : FId(id.IsEmpty() ? nullptr : std::make_shared<const TImportId>(std::move(id))) {}
    bool IsEmpty() const { return !FId; }
    const TImportId &operator*() const { return FId ? *FId : kNone; }
    const TImportId *operator->() const { return &**this; }
    friend bool operator==(const TImportRef &a, const TImportRef &b) { return *a == *b; }

private:
    static inline const TImportId kNone = {};
    std::shared_ptr<const TImportId> FId;
};

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

// A category renamed in one user's book (or merged into a category of that
// name), with everything the change touched, before and after: what an undo
// needs to put it back exactly, and a redo to make it again.
struct TCategoryRename {
    TRecordType Type = TRecordType::Expense;
    QString From, To;
    QList<qint64> Ids;                 // the records of Type whose category went From -> To
    QStringList ListBefore, ListAfter; // the category list of Type
    QList<TCategoryRule> RulesBefore, RulesAfter; // all the user's rules, in order
    // Budgets and recurring entries join here when they exist.

    // The same change the other way: To back to From.
    TCategoryRename Reversed() const {
        return {Type, To, From, Ids, ListAfter, ListBefore, RulesAfter, RulesBefore};
    }
    bool operator==(const TCategoryRename &) const = default;
};

Q_DECLARE_TYPEINFO(TImportId, Q_RELOCATABLE_TYPE);
static_assert(sizeof(TRecord) <= 96, "a search holds every record of its period");

Q_DECLARE_TYPEINFO(TImportRef, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(TRecord, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(TDayTotal, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(TMonthTotal, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(TCategoryTotal, Q_RELOCATABLE_TYPE);

// "Expense" / "Income", the words stored and shown.
QString RecordTypeWord(TRecordType type);
