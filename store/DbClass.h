#pragma once

#include "store/DbError.h"
#include "store/Records.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

// The only road from the program to its records. Every operation opens the
// connection, runs its statements and closes it again (two program
// instances may use the file). Values cross this boundary typed.
class TDbMan {
public:
    explicit TDbMan(const QString &dataFile);
    ~TDbMan();
    TDbMan(const TDbMan &) = delete;
    TDbMan &operator=(const TDbMan &) = delete;

    bool AddUser(const QString &name, const QString &password);
    bool DeleteUser(const QString &name);
    bool UserExists(const QString &name);
    bool CheckPassword(const QString &name, const QString &password);
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
    int AddRecords(const QString &user, const QList<TRecord> &records);

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
    // Replace the user's password hash.
    void SetPassword(const QString &name, const QString &password);
    // Replaces the user's record `record.Id` by `record` (the record gets a
    // new id); fails when the record no longer exists.
    void ReplaceRecord(const QString &user, const TRecord &record);

    QString DataFile() const { return FDataFile; }

private:
    QString FDataFile;
};
