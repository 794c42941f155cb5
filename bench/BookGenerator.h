#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// A large book for benchmarks: 1,000,000 records of 5 users over 10 years,
// about 30 categories, 15% income, 60% with notes. The content depends only
// on a fixed seed, so every run measures the same file.
//
// The book is generated once (a few seconds) from the empty data file beside
// the program and kept in the build folder (bin/bench/); it is made again
// whenever that empty data file (its schema and indexes) changes.
class TBookGenerator {
public:
    static constexpr int kRecords = 1000000;

    // Path of the cached book; generates it first when missing.
    static QString BookPath();
    // A private copy of the book in `folder`, for benchmarks that write.
    static QString WritableCopy(const QString &folder);
    // The users of the book, in the order they were added (the last one
    // heads the sign-in list); all have the password Password().
    static QStringList UserNames();
    static QString Password() { return QStringLiteral("secret"); }
    // The first and last day that hold records.
    static QDate FirstDay() { return QDate(2016, 1, 1); }
    static QDate LastDay() { return QDate(2025, 12, 31); }
    // The user's expense and income category lists (as stored with SetCategories).
    static QStringList ExpenseCategories();
    static QStringList IncomeCategories();

private:
    static void Generate(const QString &path);
};
