#include "store/Sqlite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cerrno>

namespace {

// How long a statement waits for another program instance that holds the
// file locked before it gives up with "database is locked".
constexpr int kBusyTimeoutMs = 5000;

QString shownPath(const QString &path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// The system's error behind a failed read, write or open; other failures
// leave SQLite's last system error as it was, so it is not theirs.
int systemErrorOf(sqlite3 *db, int code) {
    const int primary = code & 0xff;
    return db && (primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN || primary == SQLITE_FULL)
               ? sqlite3_system_errno(db)
               : 0;
}

// The sentence shown for a failure of SQLite on `path`: what went wrong
// (`reason`, SQLite's own words), the file, and what to do.
QString failureText(const QString &path, int code, const QString &reason, int systemError) {
    const QString file = shownPath(path);
    const bool full =
        (code & 0xff) == SQLITE_FULL || systemError == ENOSPC || systemError == EDQUOT;
    switch (full ? SQLITE_FULL : code & 0xff) {
    case SQLITE_READONLY:
        return QCoreApplication::translate(
                   "TSqlConnection",
                   "Ledgerly cannot write to its data file \"%1\" (%2): the file or its "
                   "folder is read-only. Make both writable for your user (for example "
                   "with chmod u+w) and try again.")
            .arg(file, reason);
    case SQLITE_FULL:
        return QCoreApplication::translate(
                   "TSqlConnection",
                   "Ledgerly cannot write to its data file \"%1\": the disk is full "
                   "(%2). Free some space on the disk that holds \"%3\" and try again.")
            .arg(file, reason, QDir::toNativeSeparators(QFileInfo(file).absolutePath()));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QCoreApplication::translate(
                   "TSqlConnection",
                   "The data file \"%1\" is kept busy by another Ledgerly window (%2). "
                   "Wait until it has finished and try again.")
            .arg(file, reason);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QCoreApplication::translate(
                   "TSqlConnection",
                   "The data file \"%1\" is damaged or is not a Ledgerly data file "
                   "(%2). Restore a backup of it with Restore from Backup in the menu.")
            .arg(file, reason);
    case SQLITE_IOERR:
        return QCoreApplication::translate(
                   "TSqlConnection",
                   "Ledgerly could not read or write its data file \"%1\" (%2). Check "
                   "that its disk is connected and working, then try again.")
            .arg(file, reason);
    case SQLITE_CANTOPEN:
        return QCoreApplication::translate(
                   "TSqlConnection",
                   "Ledgerly cannot open its data file \"%1\" (%2). Check that the file "
                   "and its folder exist and that you may read and write them, then "
                   "try again.")
            .arg(file, reason);
    default:
        return QCoreApplication::translate(
                   "TSqlConnection",
                   "Ledgerly could not use its data file \"%1\" (%2). Try again; if it "
                   "fails again, restore a backup of it with Restore from Backup in the "
                   "menu.")
            .arg(file, reason);
    }
}

// SQLite's message with the system's reason, when there is one.
QString reasonOf(const QString &own, int systemError) {
    return systemError == 0 ? own : QStringLiteral("%1: %2").arg(own, qt_error_string(systemError));
}

} // namespace

bool TDbError::DiskFull() const {
    return (Code & 0xff) == SQLITE_FULL || SystemError == ENOSPC || SystemError == EDQUOT;
}

TSqlConnection::TSqlConnection(const QString &path, TMode mode) : FPath(path) {
    // SQLite would silently create a missing file; an empty database in
    // place of the user's book must never appear.
    if (mode != TMode::Create && !QFileInfo(path).isFile())
        throw TDbError(
            QCoreApplication::translate("TSqlConnection",
                                        "The data file \"%1\" was not found: it was moved, renamed "
                                        "or deleted. Put it back, or restore a backup of it with "
                                        "Restore from Backup in the menu.")
                .arg(shownPath(path)),
            SQLITE_CANTOPEN);
    QByteArray file = QFile::encodeName(path);
    int flags = SQLITE_OPEN_NOMUTEX;
    switch (mode) {
    case TMode::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case TMode::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    case TMode::Immutable:
        // Only a URI names that property; every byte of the name but the
        // separators is escaped, so no name can add properties of its own.
        flags |= SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
        file =
            "file:" + QFile::encodeName(QFileInfo(path).absoluteFilePath()).toPercentEncoding("/") +
            "?immutable=1";
        break;
    case TMode::Create:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    }
    const int rc = sqlite3_open_v2(file.constData(), &FDb, flags, nullptr);
    if (rc != SQLITE_OK) {
        const int system = systemErrorOf(FDb, rc);
        const QString reason = reasonOf(FDb ? QString::fromUtf8(sqlite3_errmsg(FDb))
                                            : QString::fromUtf8(sqlite3_errstr(rc)),
                                        system);
        sqlite3_close_v2(FDb);
        FDb = nullptr;
        throw TDbError(failureText(path, rc, reason, system), rc, reason, system);
    }
    sqlite3_extended_result_codes(FDb, 1);
    sqlite3_busy_timeout(FDb, kBusyTimeoutMs);
}

TSqlConnection::~TSqlConnection() {
    // Every statement is finalized by its own object before this runs.
    sqlite3_close_v2(FDb);
}

void TSqlConnection::UseBookOptions(bool writing) {
    // Pages are read through a memory map: a long period is read without
    // copying every page out of the system's cache.
    Exec("PRAGMA mmap_size=1073741824");
    // Rollback journal (the file is complete on its own when closed) and
    // every commit on the disk.
    if (writing)
        Exec("PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;");
}

void TSqlConnection::Exec(const char *sql) {
    if (sqlite3_exec(FDb, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail();
}

qint64 TSqlConnection::PragmaInt(const char *name) {
    TSqlStatement pragma(*this, QByteArray("PRAGMA ").append(name).constData());
    return pragma.Next() ? pragma.Int(0) : 0;
}

bool TSqlConnection::CopyFrom(TSqlConnection &source, int pagesPerStep,
                              const std::atomic_bool *cancel) {
    sqlite3_backup *backup = sqlite3_backup_init(FDb, "main", source.FDb, "main");
    if (!backup)
        Fail();
    int rc = SQLITE_OK;
    while (rc == SQLITE_OK) {
        if (cancel && cancel->load()) {
            sqlite3_backup_finish(backup);
            return false;
        }
        rc = sqlite3_backup_step(backup, pagesPerStep);
    }
    // The system's reason is taken before anything else can change errno.
    const int systemError = rc == SQLITE_DONE ? 0 : errno;
    const int finished = sqlite3_backup_finish(backup);
    if (rc == SQLITE_DONE)
        rc = finished;
    if (rc != SQLITE_OK) {
        if ((rc & 0xff) == SQLITE_READONLY)
            Fail(rc);
        const int primary = rc & 0xff;
        const int system = primary == SQLITE_IOERR || primary == SQLITE_FULL ? systemError : 0;
        const QString reason = reasonOf(QString::fromUtf8(sqlite3_errstr(rc)), system);
        throw TDbError(failureText(FPath, rc, reason, system), rc, reason, system);
    }
    // A source in WAL mode hands its mode on with its first page: the copy
    // takes the program's own rollback journal again (which also removes the
    // -wal and -shm files that reading it in WAL mode made). Should another
    // instance hold it open in WAL mode meanwhile, its next save does that.
    TSqlStatement journal(*this, "PRAGMA journal_mode");
    if (journal.Next() && journal.Text(0) == QLatin1String("wal")) {
        journal.Reset();
        Exec("PRAGMA journal_mode=DELETE");
    }
    return true;
}

qint64 TSqlConnection::Changes() const {
    return sqlite3_changes64(FDb);
}

void TSqlConnection::Fail() const {
    Fail(sqlite3_extended_errcode(FDb));
}

void TSqlConnection::Fail(int code) const {
    const int system = systemErrorOf(FDb, code);
    const QString reason = reasonOf(QString::fromUtf8(sqlite3_errmsg(FDb)), system);
    throw TDbError(failureText(FPath, code, reason, system), code, reason, system);
}

TSqlStatement::TSqlStatement(TSqlConnection &connection, const char *sql)
    : FConnection(connection) {
    if (sqlite3_prepare_v2(FConnection.Handle(), sql, -1, &FStmt, nullptr) != SQLITE_OK)
        FConnection.Fail();
}

TSqlStatement::~TSqlStatement() {
    sqlite3_finalize(FStmt);
}

TSqlStatement &TSqlStatement::Bind(int index, QByteArrayView utf8) {
    // A null pointer would bind NULL; an empty text stays an empty text.
    if (sqlite3_bind_text64(FStmt, index, utf8.data() ? utf8.data() : "", quint64(utf8.size()),
                            SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK)
        FConnection.Fail();
    return *this;
}

TSqlStatement &TSqlStatement::BindBlob(int index, QByteArrayView bytes) {
    if (sqlite3_bind_blob64(FStmt, index, bytes.data() ? bytes.data() : "", quint64(bytes.size()),
                            SQLITE_TRANSIENT) != SQLITE_OK)
        FConnection.Fail();
    return *this;
}

TSqlStatement &TSqlStatement::Bind(int index, const QString &text) {
    return Bind(index, QByteArrayView(text.toUtf8()));
}

TSqlStatement &TSqlStatement::Bind(int index, qint64 value) {
    if (sqlite3_bind_int64(FStmt, index, value) != SQLITE_OK)
        FConnection.Fail();
    return *this;
}

TSqlStatement &TSqlStatement::Bind(int index, double value) {
    if (sqlite3_bind_double(FStmt, index, value) != SQLITE_OK)
        FConnection.Fail();
    return *this;
}

bool TSqlStatement::Next() {
    const int rc = sqlite3_step(FStmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        FConnection.Fail(rc);
    return false;
}

void TSqlStatement::Run() {
    while (Next()) {
    }
}

void TSqlStatement::Reset() {
    sqlite3_reset(FStmt);
    sqlite3_clear_bindings(FStmt);
}

QByteArrayView TSqlStatement::Bytes(int column) const {
    // As a blob: a text value is then handed out where it lies in the page,
    // without the copy that adding a terminating zero would take.
    const auto *data = static_cast<const char *>(sqlite3_column_blob(FStmt, column));
    return QByteArrayView(data, data ? sqlite3_column_bytes(FStmt, column) : 0);
}

QString TSqlStatement::Text(int column) const {
    const QByteArrayView bytes = Bytes(column);
    return QString::fromUtf8(bytes.data(), bytes.size());
}

qint64 TSqlStatement::Int(int column) const {
    return sqlite3_column_int64(FStmt, column);
}

double TSqlStatement::Real(int column) const {
    return sqlite3_column_double(FStmt, column);
}

bool TSqlStatement::IsNull(int column) const {
    return sqlite3_column_type(FStmt, column) == SQLITE_NULL;
}

bool TSqlStatement::IsNumber(int column) const {
    const int type = sqlite3_column_type(FStmt, column);
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
}

TSqlTransaction::TSqlTransaction(TSqlConnection &connection, TKind kind) : FConnection(connection) {
    FConnection.Exec(kind == TKind::Write ? "BEGIN IMMEDIATE" : "BEGIN");
}

TSqlTransaction::~TSqlTransaction() {
    if (!FDone)
        sqlite3_exec(FConnection.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void TSqlTransaction::Commit() {
    FConnection.Exec("COMMIT");
    FDone = true;
}
