#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class TDbMan;

// A large book for benchmarks: 1,000,000 records of 5 users over 10 years,
// about 30 categories, 15% income, 60% with notes. The content depends only
// on a fixed seed, so every run measures the same file.
//
// The book is generated once (a few seconds) from the empty data file beside
// the program and kept in the build folder (bin/bench/); it is made again
// whenever that empty data file (its schema and indexes) changes. It is
// plain, as an earlier Ledgerly left it: no user has a data key yet.
//
// With LEDGERLY_BENCH_SEALED=1 the benchmarks run on the sealed book
// instead: the same book after each user's first sign-in with this Ledgerly
// (CheckPassword and SealBook), made once from the plain one and kept
// beside it. A store reads a sealed book only with the user's key: every
// benchmark that makes one calls SignIn.
class TBookGenerator {
public:
    static constexpr int kRecords = 1000000;

    // Whether the benchmarks run on the sealed book (LEDGERLY_BENCH_SEALED=1).
    static bool Sealed();
    // Path of the cached book the benchmarks run on, plain or sealed;
    // generates it first when missing.
    static QString BookPath();
    // The plain and the sealed book, whatever the environment says.
    static QString PlainBookPath();
    static QString SealedBookPath();
    // Has `db` hold the key of `user` when the book is sealed, as the
    // sign-in does (CheckPassword, about 0.2 s); nothing for the plain book.
    static void SignIn(TDbMan &db, const QString &user);
    // A private copy of the book in `folder`, for benchmarks that write.
    static QString WritableCopy(const QString &folder);
    // A private copy of `book` in `folder`, on disk before it returns (so a
    // later sync of the copy does not write it out again).
    static QString CopyOf(const QString &book, const QString &folder);
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
    static void Seal(const QString &path);
    // The cached book `name`-<digest>.ledgerly, made by `make` when missing.
    static QString Cached(const QString &name, void (*make)(const QString &path));
};
