#pragma once

#include "store/DbError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <atomic>

struct sqlite3;
struct sqlite3_stmt;

// The store's one road to SQLite: a connection, prepared statements and
// transactions as small RAII objects over the C API. Every failure raises
// TDbError whose text names the file and says what to do (a full disk, a
// read-only file, another instance keeping the file busy, a damaged file),
// with SQLite's own message as its Reason.
class TSqlConnection {
public:
    enum class TMode {
        ReadWrite, // an existing file; never creates one
        ReadOnly,  // an existing file, read only
        // An existing file that nothing changes (a backup, a copy being
        // checked): read without locks, and nothing is ever made beside it
        // (no -wal or -shm of a file in WAL mode, no journal rolled back).
        Immutable,
        Create // created when missing (copies and backups)
    };
    // Opens `path`; a missing file is refused unless the mode creates it.
    TSqlConnection(const QString &path, TMode mode);
    ~TSqlConnection();
    TSqlConnection(const TSqlConnection &) = delete;
    TSqlConnection &operator=(const TSqlConnection &) = delete;

    // The options of the data file in use: pages read through a memory map;
    // for an operation that writes, a rollback journal and every commit on
    // the disk.
    void UseBookOptions(bool writing);

    // Runs statements without parameters or rows.
    void Exec(const char *sql);
    // The value of `PRAGMA <name>` (first column of its first row).
    qint64 PragmaInt(const char *name);
    // Replaces this database's whole content with `source`'s through
    // SQLite's online backup: `source` is read under a shared lock and this
    // file written under an exclusive one, so the copy is consistent
    // whatever other connections do, and they see this file's old or new
    // content, never a mix. The copy keeps the program's own journal mode
    // even when `source` was in WAL mode. A reason from the system (a full
    // disk, a size limit) is added to SQLite's message.
    //
    // By default the copy is made in one step. With `pagesPerStep` > 0 it
    // is made that many pages at a time, and `source` is free between two
    // steps: another connection may write to it then (the copy starts again
    // from its first page after such a write). `cancel`, when given, is
    // looked at between two steps: once it is set the copy stops and false
    // is returned, this file left incomplete.
    bool CopyFrom(TSqlConnection &source, int pagesPerStep = -1,
                  const std::atomic_bool *cancel = nullptr);

    sqlite3 *Handle() const { return FDb; }
    const QString &Path() const { return FPath; }
    qint64 Changes() const;

    // Raises the connection's last error.
    [[noreturn]] void Fail() const;
    [[noreturn]] void Fail(int code) const;

private:
    QString FPath;
    sqlite3 *FDb = nullptr;
};

class TSqlStatement {
public:
    TSqlStatement(TSqlConnection &connection, const char *sql);
    ~TSqlStatement();
    TSqlStatement(const TSqlStatement &) = delete;
    TSqlStatement &operator=(const TSqlStatement &) = delete;

    // Parameters are 1-based, as in SQL ("?1").
    TSqlStatement &Bind(int index, QByteArrayView utf8);
    TSqlStatement &Bind(int index, const QByteArray &utf8) {
        return Bind(index, QByteArrayView(utf8));
    }
    TSqlStatement &Bind(int index, const QString &text);
    // Bytes that are no text (a sealed value), stored as a blob.
    TSqlStatement &BindBlob(int index, QByteArrayView bytes);
    TSqlStatement &Bind(int index, qint64 value);
    TSqlStatement &Bind(int index, int value) { return Bind(index, qint64(value)); }
    TSqlStatement &Bind(int index, double value);

    // Steps to the next row; false when there is none.
    bool Next();
    // Steps to the end (statements that return no rows).
    void Run();
    // Ready to run again with new parameters.
    void Reset();

    // Column values of the current row (0-based). Bytes stay valid until the
    // next step.
    QByteArrayView Bytes(int column) const;
    QString Text(int column) const;
    qint64 Int(int column) const;
    double Real(int column) const;
    bool IsNull(int column) const;
    // True when the column holds a number (integer or real), not text.
    bool IsNumber(int column) const;

private:
    TSqlConnection &FConnection;
    sqlite3_stmt *FStmt = nullptr;
};

// A transaction: committed by Commit(), rolled back when it goes out of
// scope without (an error unwinding through it).
class TSqlTransaction {
public:
    enum class TKind {
        Read, // BEGIN: one consistent view of the file
        Write // BEGIN IMMEDIATE: the write lock at once, so two instances
              // never deadlock between a read and a write
    };
    TSqlTransaction(TSqlConnection &connection, TKind kind);
    ~TSqlTransaction();
    TSqlTransaction(const TSqlTransaction &) = delete;
    TSqlTransaction &operator=(const TSqlTransaction &) = delete;
    void Commit();

private:
    TSqlConnection &FConnection;
    bool FDone = false;
};
