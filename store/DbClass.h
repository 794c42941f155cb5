#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "store/DbError.h"

using TStringsArray = QList<QStringList>;

// The only road from the program to its data file. Every operation opens the
// connection, runs its statements and closes it again.
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
    QString GetUserNames(); // lines joined by CR LF, newest sign-in first
    QString GetCategories(const QString &user, const QString &listName);
    void SetCategories(const QString &user, const QString &listName, const QString &text);
    void QueryPeriod(const QString &user, const QString &dateFrom, const QString &dateTo,
                     double &expenseTotal, double &incomeTotal, TStringsArray &dayRows,
                     TStringsArray &monthRows, TStringsArray &transRows,
                     TStringsArray &expenseCateRows, TStringsArray &incomeCateRows);
    void QueryCategoryRecords(const QString &user, const QString &dateFrom, const QString &dateTo,
                              const QString &type, const QString &category, TStringsArray &rows);
    void AddRecord(const QString &user, const QString &date, const QString &type,
                   const QString &category, const QString &amount, const QString &notes);
    void AddRecords(const QString &user, const TStringsArray &rows);
    void DeleteRecord(const QString &id);

    // Atomic compositions: each runs in one transaction, whole or not at all.
    // Delete the user's row and insert it again with the same password, so the
    // user heads the sign-in list.
    void ReinsertUser(const QString &name, const QString &password);
    // Replace the user's password hash.
    void SetPassword(const QString &name, const QString &password);
    // Delete record `id` and insert the new values (the record gets a new id).
    void ReplaceRecord(const QString &id, const QString &user, const QString &date,
                       const QString &type, const QString &category, const QString &amount,
                       const QString &notes);

    QString DataFile() const { return FDataFile; }

private:
    QString FDataFile;
};
