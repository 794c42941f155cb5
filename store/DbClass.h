#pragma once

#include "store/DbError.h"
#include "store/Planning.h"
#include "store/Records.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>

class TBookKey;
class TSqlConnection;

// Raised by the operations of undo and redo when what they would change is
// no longer as the step left it: another instance changed or deleted it
// meanwhile. Nothing was changed; what() says what and what to do.
class TBookChangedError : public TDbError {
public:
    using TDbError::TDbError;
};

// Raised by TDbMan::SavePending when the booked date of a recurring entry
// is no longer the one the save's rows were made from: another instance
// booked those occurrences (or changed or deleted the entry) meanwhile.
// Nothing was stored. Entries: the ids of those entries, so that their rows
// can be taken out and the rest saved again.
class TBookedMeanwhileError : public TBookChangedError {
public:
    TBookedMeanwhileError(const QString &message, QList<qint64> entries)
        : TBookChangedError(message), Entries(std::move(entries)) {}
    QList<qint64> Entries;
};

// What a save of pending records did (TDbMan::SavePending).
struct TPendingSave {
    // Imported records left out: another instance stored their statement
    // lines meanwhile.
    int LeftOut = 0;
    // One record per record given, as stored: with its new id (0 when it
    // was left out), with the import id only when this save remembered it,
    // and without a recurring origin (the bookings are in Advanced).
    QList<TRecord> Stored;
    // The entries' booked dates this save moved (the advances given). Undo
    // of the save: ChangeRecords(user, Stored, {}, <each Advanced
    // reversed>); redo: ChangeRecords(user, {}, Stored, Advanced).
    QList<TBookingAdvance> Advanced;
};

// The only road from the program to its records. Every operation opens the
// connection, runs its statements and closes it again (two program
// instances may use the file). Values cross this boundary typed.
//
// Each user's book is sealed under a data key of that user's (see
// TBookKey). A store holds the key of the one user who signed in through it
// (CheckPassword, AddUser, SealBook), in memory only; that user's values are
// stored sealed and read with it. Without the key a user's values are
// written plain and only plain ones read (a sealed one counts as unreadable).
class TDbMan {
public:
    explicit TDbMan(const QString &dataFile);
    ~TDbMan();
    TDbMan(const TDbMan &) = delete;
    TDbMan &operator=(const TDbMan &) = delete;

    // Makes the user with a new data key wrapped under the password, and
    // holds that key.
    bool AddUser(const QString &name, const QString &password);
    // Deletes the user's row and with it the wrapped key: the records the
    // user leaves in the file can never be opened again, and an account
    // made later under that name starts with an empty book.
    bool DeleteUser(const QString &name);
    bool UserExists(const QString &name);
    // Whether the password is the user's. For a user with a data key it is
    // the password that opens the key, which the store then holds.
    bool CheckPassword(const QString &name, const QString &password);
    // Whether the store holds the data key of `user`.
    bool HasKey(const QString &user) const;
    // The number of the user's records still plain: written before the
    // user's book was sealed, or by another program since.
    int PlainRecords(const QString &user);
    // Seals the book of a user who has signed in (CheckPassword): makes the
    // user's data key when there is none yet, then seals every value of the
    // user's that is still plain (records, category lists, rules, bank
    // profiles and ids, budgets, recurring entries), all in one
    // transaction: after a failure, or the program killed, the book is as
    // it was. `progress` is told (records sealed, records to seal) as the
    // records are sealed. Returns the number of records sealed.
    int SealBook(const QString &user, const QString &password,
                 const std::function<void(int done, int total)> &progress = {});
    // The users as stored, the one who signed in last first.
    QStringList GetUserNames();
    // The user's category list "out" (expenses) or "in" (income), its items
    // in their order, empty ones among them as stored. Setting a list
    // stores it whole and leaves the other one exactly as it was.
    QStringList GetCategories(const QString &user, const QString &listName);
    void SetCategories(const QString &user, const QString &listName, const QStringList &items);

    // Everything a search shows of the user's records from `from` to `to`
    // (both included), read in one ordered pass over the user's records.
    TPeriod ReadPeriod(const QString &user, QDate from, QDate to);
    // The same period's sums only: IncomeCents, ExpenseCents, the category
    // lists and Unreadable (no records, days or months). What was spent per
    // category for a period's budgets (PeriodBudget) when no search holds it.
    TPeriod ReadTotals(const QString &user, QDate from, QDate to);
    // The user's records of one type and category in the period, by date
    // then id (More Info).
    QList<TRecord> ReadCategoryRecords(const QString &user, QDate from, QDate to, TRecordType type,
                                       const QString &category);

    void AddRecord(const QString &user, const TRecord &record);
    // Stores the records in one transaction: all of them or none. The import
    // ids of imported records are remembered in the same transaction; an
    // imported record whose id is stored by then (another instance saved the
    // same statement line meanwhile) is left out, unless the user chose to
    // keep it (TImportId::Wanted). Returns how many were left out.
    // `stored`, when given, receives one record per record given, as stored:
    // with its new id (0 when it was left out) and with the import id only
    // when this save remembered it (so that ChangeRecords can take the save
    // back, and make it again).
    int AddRecords(const QString &user, const QList<TRecord> &records,
                   QList<TRecord> *stored = nullptr);
    // The same save of pending records, with the rows of recurring entries:
    // `advances` holds, per entry whose due rows the user was offered, its
    // TDueEntry::Advance (booked date from what the rows were made from to
    // the last occurrence offered), whether or not rows of it are among
    // `records`; a row the user deleted is thereby skipped. A record with a
    // TRecurringOrigin needs the advance of its entry (same From, its date
    // after From and not after To); a save without it is refused and stores
    // nothing. In the save's transaction each entry's booked date is checked
    // and moved from From to To; when one is no longer From (another
    // instance booked those occurrences, or the entry was changed or
    // deleted) nothing at all is stored and TBookedMeanwhileError names the
    // entries. So no occurrence is ever stored twice.
    TPendingSave SavePending(const QString &user, const QList<TRecord> &records,
                             const QList<TBookingAdvance> &advances);

    // --- statement import ---------------------------------------------------------
    // The ids among `ids` that records stored before were imported with.
    QSet<TImportId> KnownImportIds(const QString &user, const QList<TImportId> &ids);
    // Calls `row` once for each distinct (type, notes, category) of the
    // user's records, with the number of records that have it.
    void ForEachNotesCategory(const QString &user,
                              const std::function<void(TRecordType type, const QString &notes,
                                                       const QString &category, int count)> &row);
    // The user's category rules in the order they are tried, and all of
    // them replaced in one transaction.
    QList<TCategoryRule> CategoryRules(const QString &user);
    void SetCategoryRules(const QString &user, const QList<TCategoryRule> &rules);
    // The user's bank profiles by name; saving one replaces the profile of
    // the same name.
    QList<TBankProfile> BankProfiles(const QString &user);
    void SaveBankProfile(const QString &user, const TBankProfile &profile);
    void DeleteBankProfile(const QString &user, const QString &name);
    // Deletes the user's record `id` (nothing when it is gone already).
    void DeleteRecord(const QString &user, qint64 id);

    // Atomic compositions: each runs in one transaction, whole or not at all.
    // Delete the user's row and insert it again with the same password, so the
    // user heads the sign-in list.
    void ReinsertUser(const QString &name, const QString &password);
    // Replace the user's password hash, and wrap the user's data key (held
    // by this store) under the new password, in one transaction: no record
    // is sealed again, and after a failure the old password still works.
    void SetPassword(const QString &name, const QString &password);
    // Replaces the user's record `record.Id` by `record` (the record gets a
    // new id, which is returned); fails when the record no longer exists.
    qint64 ReplaceRecord(const QString &user, const TRecord &record);

    // --- undo and redo ---------------------------------------------------------------
    // Each runs in one transaction and first checks that what it changes is
    // as the step left it; when not (another instance changed it meanwhile)
    // it changes nothing and raises TBookChangedError.

    // Removes the user's records `remove` (each by its id, and only while it
    // still has exactly that date, type, category, amount and notes), then
    // stores `insert`, each with its own id (a new one when it is 0; refused
    // when that id is in use). A record's import id goes with it: forgotten
    // with a removed record, remembered with an inserted one (refused when
    // known by then). Returns the ids of `insert`, in order.
    //   undo of a save, redo of a delete:  ChangeRecords(user, records, {})
    //   undo of a delete, redo of a save:  ChangeRecords(user, {}, records)
    //   undo of an edit:  ChangeRecords(user, {edited}, {original}), and back
    // `bookings` move recurring entries' booked dates in the same
    // transaction, each only while the date is still its From (an invalid
    // To: nothing booked):
    //   undo of a save:  ChangeRecords(user, save.Stored, {}, <save.Advanced reversed>)
    //   redo of a save:  ChangeRecords(user, {}, save.Stored, save.Advanced)
    QList<qint64> ChangeRecords(const QString &user, const QList<TRecord> &remove,
                                const QList<TRecord> &insert,
                                const QList<TBookingAdvance> &bookings = {});
    // Sets the user's category list of `type` to `items` while it is still
    // `expected`.
    void ChangeCategories(const QString &user, TRecordType type, const QStringList &expected,
                          const QStringList &items);

    // --- find ------------------------------------------------------------------------
    // The user's records, newest first (the transaction list's order
    // reversed), that every word of `text` matches: a word matches when the
    // notes or the category contain it, ignoring case and accents ("cafe"
    // finds "Café"); a word that reads as an amount ("12.5", "12,50") also
    // matches records of exactly that amount. No word, no record.
    // `unreadable` receives the number of the user's stored records that
    // could not be read (left out, as a search leaves them out).
    QList<TRecord> FindRecords(const QString &user, const QString &text, int *unreadable = nullptr);

    // --- renaming categories -----------------------------------------------------------
    // The number of the user's records of that type and category.
    int CountCategory(const QString &user, TRecordType type, const QString &name);
    // Renames the category `from` to `to` in one transaction: in every record
    // of that type of the user, in the category list of that type (where a
    // line `to` exists already, the line `from` goes: the two are merged) and
    // in the import rules of that type or of both types, in the budgets (where
    // `to` of that type has a budget, it keeps it and the budget of `from`
    // goes) and in the recurring entries of that type. Returns what changed.
    TCategoryRename RenameCategory(const QString &user, TRecordType type, const QString &from,
                                   const QString &to);
    // Makes a rename again as it was returned (a redo), or the other way with
    // rename.Reversed() (an undo): the records of rename.Ids must still have
    // the category rename.From, and the list, the rules, the budgets and the
    // recurring entries be as before.
    void ApplyRename(const QString &user, const TCategoryRename &rename);

    // --- budgets -------------------------------------------------------------------------
    // Changes here and of recurring entries check first that what they
    // change is as the caller read it; when not (another instance changed
    // it meanwhile) they change nothing and raise TBookChangedError.

    // The user's budgets: expense ones first, each type by category.
    QList<TBudget> Budgets(const QString &user);
    // Replaces all the user's budgets by `budgets` in one transaction while
    // they are still `expected` (as Budgets() read them; the order does not
    // matter). Refuses an amount below 0 or above the largest amount, and
    // two budgets of one type and category.
    //   Save of the window:  SetBudgets(user, read, edited); undo: SetBudgets(user, edited, read)
    void SetBudgets(const QString &user, const QList<TBudget> &expected,
                    const QList<TBudget> &budgets);
    // The average per month of the user's records, per type and category,
    // over the `months` full months before today's month, from the month of
    // the user's first record on when that lies within them (a book begun
    // two months ago is averaged over those two).
    TMonthlyAverages MonthlyAverages(const QString &user, QDate today, int months = 12);

    // --- recurring entries -----------------------------------------------------------------
    // The user's recurring entries in the order they were made; entries
    // another program stored unreadably are left out.
    QList<TRecurring> RecurringEntries(const QString &user);
    // Stores `entry` and returns its id: a new one when entry.Id is 0, else
    // entry.Id (an undo of its delete, a redo of its add; refused when that
    // id is in use). Refuses an entry without a first date, with an amount
    // a record could not have, an Every outside 1-999 or a last date before
    // the first one.
    qint64 AddRecurring(const QString &user, const TRecurring &entry);
    // Replaces the entry `before` (by its id) by `after` (all of it, the
    // booked date included, which the caller keeps or sets) while it is
    // still `before`. Undo: UpdateRecurring(user, after, before).
    void UpdateRecurring(const QString &user, const TRecurring &before, const TRecurring &after);
    // Deletes the entry while it is still `entry`. Undo: AddRecurring(user, entry).
    void DeleteRecurring(const QString &user, const TRecurring &entry);
    // For each of the user's entries with due occurrences on `today`, the
    // pending rows to offer (at most kMaxDueRows each) and how many are left
    // for the next time; see DueRows() and SavePending(). Reads only.
    QList<TDueEntry> DueOccurrences(const QString &user, QDate today);

    QString DataFile() const { return FDataFile; }

private:
    // The key for the values of `user`; null when the store holds none.
    const TBookKey *KeyOf(const QString &user) const {
        return user == FKeyUser ? FKey.get() : nullptr;
    }
    // Whether the password opens the user's row (its key, or its hash when
    // it has no key yet); a key opened is held.
    bool OpensRow(const QString &name, const QByteArray &hash, const QByteArray &wrapped,
                  const QString &password);
    // The parts of SealBook, in its transaction.
    static bool AnyPlain(TSqlConnection &db, const QByteArray &storedUser);
    static int SealPlainRecords(TSqlConnection &db, const TBookKey &key,
                                const QByteArray &storedUser,
                                const std::function<void(int, int)> &progress);
    static void SealPlainTexts(TSqlConnection &db, const TBookKey &key,
                               const QByteArray &storedUser);

    QString FDataFile;
    std::shared_ptr<const TBookKey> FKey;
    QString FKeyUser;
};
