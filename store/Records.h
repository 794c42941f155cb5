#pragma once

#include <QDate>
#include <QList>
#include <QString>

// The values that cross the store's boundary: records and the totals of a
// period, typed; texts are made where they are shown.

enum class TRecordType { Expense, Income };

struct TRecord {
    qint64 Id = 0; // 0 for a record not stored yet
    QDate Date;
    TRecordType Type = TRecordType::Expense;
    QString Category;
    qint64 Cents = 0;
    QString Notes;

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

Q_DECLARE_TYPEINFO(TRecord, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(TDayTotal, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(TMonthTotal, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(TCategoryTotal, Q_RELOCATABLE_TYPE);

// "Expense" / "Income", the words stored and shown.
QString RecordTypeWord(TRecordType type);
