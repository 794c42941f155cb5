#include "store/DataFile.h"

#include "store/CheckedFile.h"
#include "store/ProgramFiles.h"
#include "store/Sqlite.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <initializer_list>
#include <iterator>
#include <sys/stat.h>

namespace {

using TMode = TSqlConnection::TMode;

// --- what a data file holds -----------------------------------------------

// The tables and columns the program reads and writes, and the format
// version that brought each table (a file of an older format gets it when
// it is upgraded).
struct TTable {
    const char *Name;
    std::initializer_list<const char *> Columns;
    int Since = 0;
};
const TTable kTables[] = {
    {"users", {"name", "pwd"}},
    {"cates", {"user", "out", "in"}},
    {"data", {"id", "user", "date", "type", "cate", "amount", "notes"}},
    {"rules", {"user", "pos", "text", "cate"}, 2},
    {"rules", {"type"}, 3}, // the column that version 3 brought
    {"profiles", {"user", "name", "layout"}, 2},
    {"fitids", {"user", "account", "fitid"}, 2},
    {"budgets", {"id", "user", "type", "cate", "cents"}, 4},
    {"recurring",
     {"id", "user", "type", "cate", "cents", "notes", "first_day", "every", "unit", "last_day",
      "booked"},
     4},
    {"users", {"key"}, 5}, // the column that version 5 brought
};

// --- format upgrades --------------------------------------------------------
// Step i brings a file of format version i to version i + 1. A new format
// adds its step here, raises TDataFile::kFormatVersion and makes the same
// change in templates/schema.sql: the steps run on an empty file make the
// schema of the empty data file (test_DataFile compares them). The steps
// run in one transaction.

// Version 1: files made before the format carried a version. Their tables
// are made where they are missing (a file that has them keeps its own); they
// may still have the narrow index of the records, which is replaced by the
// covering one that the period statements read.
void toVersion1(TSqlConnection &db) {
    db.Exec("CREATE TABLE IF NOT EXISTS users ("
            " name TEXT NOT NULL DEFAULT '', pwd TEXT NOT NULL DEFAULT '');"
            "CREATE TABLE IF NOT EXISTS cates ("
            " user TEXT NOT NULL DEFAULT '', out TEXT NOT NULL DEFAULT '',"
            " \"in\" TEXT NOT NULL DEFAULT '');"
            "CREATE TABLE IF NOT EXISTS data ("
            " id INTEGER PRIMARY KEY AUTOINCREMENT, user TEXT NOT NULL DEFAULT '',"
            " date TEXT NOT NULL, type TEXT NOT NULL, cate TEXT NOT NULL DEFAULT '',"
            " amount REAL NOT NULL, notes TEXT NOT NULL DEFAULT '');");
    {
        TSqlStatement columns(db, "SELECT count(*) FROM pragma_index_info('data_user_date')");
        if (columns.Next() && columns.Int(0) == 7)
            return;
    }
    db.Exec("DROP INDEX IF EXISTS data_user_date;"
            "CREATE INDEX data_user_date ON data (user, date, type DESC, id, cate, amount, notes)");
}

// Version 2: statement import. Per user, the category rules in their order,
// the bank profiles (statement layouts kept under a name) and the bank ids
// (OFX FITIDs) of the imported entries, which a bank keeps unique within one
// account only. Texts are stored encoded like every other text.
void toVersion2(TSqlConnection &db) {
    db.Exec(
        "CREATE TABLE IF NOT EXISTS rules ("
        " user TEXT NOT NULL DEFAULT '', pos INTEGER NOT NULL DEFAULT 0,"
        " text TEXT NOT NULL DEFAULT '', cate TEXT NOT NULL DEFAULT '');"
        "CREATE INDEX IF NOT EXISTS rules_user ON rules (user, pos);"
        "CREATE TABLE IF NOT EXISTS profiles ("
        " user TEXT NOT NULL DEFAULT '', name TEXT NOT NULL DEFAULT '',"
        " layout TEXT NOT NULL DEFAULT '');"
        "CREATE UNIQUE INDEX IF NOT EXISTS profiles_user_name ON profiles (user, name);"
        "CREATE TABLE IF NOT EXISTS fitids ("
        " user TEXT NOT NULL DEFAULT '', account TEXT NOT NULL DEFAULT '',"
        " fitid TEXT NOT NULL DEFAULT '');"
        "CREATE UNIQUE INDEX IF NOT EXISTS fitids_user_account ON fitids (user, account, fitid);");
}

// Version 3: a category rule applies to money out, money in or both
// ("out", "in", "both"); the rules kept before apply to money out.
void toVersion3(TSqlConnection &db) {
    db.Exec("ALTER TABLE rules ADD COLUMN type TEXT NOT NULL DEFAULT 'out'");
}

// Version 4: planning. Per user, the monthly budgets per type and category
// and the recurring entries with their schedules and booked dates.
void toVersion4(TSqlConnection &db) {
    db.Exec("CREATE TABLE IF NOT EXISTS budgets ("
            " id INTEGER PRIMARY KEY, user TEXT NOT NULL DEFAULT '',"
            " type TEXT NOT NULL DEFAULT 'Expense', cate TEXT NOT NULL DEFAULT '',"
            " cents INTEGER NOT NULL DEFAULT 0);"
            "CREATE INDEX IF NOT EXISTS budgets_user ON budgets (user);"
            "CREATE TABLE IF NOT EXISTS recurring ("
            " id INTEGER PRIMARY KEY AUTOINCREMENT, user TEXT NOT NULL DEFAULT '',"
            " type TEXT NOT NULL DEFAULT 'Expense', cate TEXT NOT NULL DEFAULT '',"
            " cents INTEGER NOT NULL DEFAULT 0, notes TEXT NOT NULL DEFAULT '',"
            " first_day TEXT NOT NULL DEFAULT '', every INTEGER NOT NULL DEFAULT 1,"
            " unit TEXT NOT NULL DEFAULT 'month', last_day TEXT NOT NULL DEFAULT '',"
            " booked TEXT NOT NULL DEFAULT '');"
            "CREATE INDEX IF NOT EXISTS recurring_user ON recurring (user);");
}

// Version 5: each user's book sealed under a data key of the user's own,
// stored wrapped under the user's password (empty: not made yet; the book
// is sealed at the user's next sign-in). The records still plain are found
// through an index of their own, which holds none once every book is sealed.
void toVersion5(TSqlConnection &db) {
    bool hasKey = false;
    {
        TSqlStatement has(db, "SELECT 1 FROM pragma_table_info('users') WHERE name = 'key'");
        hasKey = has.Next();
    }
    if (!hasKey)
        db.Exec("ALTER TABLE users ADD COLUMN key BLOB NOT NULL DEFAULT ''");
    db.Exec("CREATE INDEX IF NOT EXISTS data_plain ON data (user) WHERE typeof(notes) <> 'blob'");
}

using TUpgradeStep = void (*)(TSqlConnection &);
const TUpgradeStep kUpgradeSteps[] = {toVersion1, toVersion2, toVersion3, toVersion4, toVersion5};
static_assert(std::size(kUpgradeSteps) == TDataFile::kFormatVersion,
              "one upgrade step for each format version");

// --- helpers ------------------------------------------------------------------

QString shown(const QString &path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// Removes the group's and others' rights; `ownRights` are added for the
// owner. Files of other users, or a file system without modes, are left as
// they are.
void tighten(const QString &path, mode_t ownRights) {
    struct stat st = {};
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &st) != 0)
        return;
    const mode_t wanted = (st.st_mode & 0700) | ownRights;
    if ((st.st_mode & 0777) != wanted)
        (void)::chmod(name.constData(), wanted);
}

QString newerFormat(int version) {
    return QCoreApplication::translate(
               "TDataFile", "was made by a newer Ledgerly (data format version %1); this Ledgerly "
                            "reads data format version %2 and older")
        .arg(version)
        .arg(TDataFile::kFormatVersion);
}

// Why `path` cannot serve as a data file, as the end of a sentence that
// begins with the file; empty when it can. `mode` opens it: immutable for
// any file but the data file in use, whose leftover journal SQLite may have
// to roll back first.
QString problemOf(const QString &path, TMode mode) {
    if (!QFileInfo(path).isFile())
        return QCoreApplication::translate("TDataFile", "does not exist");
    // An immutable file is read without what lies beside it: a journal or a
    // WAL file there would hold part of its content.
    for (const char *side : {"-wal", "-journal"}) {
        if (mode == TMode::Immutable && QFileInfo(path + QLatin1String(side)).size() > 0)
            return QCoreApplication::translate(
                       "TDataFile", "is not complete on its own: \"%1\" beside it holds part of "
                                    "its content. Open it once with the program that wrote it, or "
                                    "choose another file")
                .arg(shown(path + QLatin1String(side)));
    }
    try {
        TSqlConnection db(path, mode);
        QStringList faults;
        TSqlStatement check(db, "PRAGMA quick_check(3)");
        while (check.Next()) {
            if (check.Text(0) != QLatin1String("ok"))
                faults << check.Text(0);
        }
        if (!faults.isEmpty())
            return QCoreApplication::translate("TDataFile", "is damaged (%1)")
                .arg(faults.join(QStringLiteral("; ")));
        const int version = int(db.PragmaInt("user_version"));
        for (const TTable &table : kTables) {
            // A file of an older format gets the table when it is upgraded.
            if (version < table.Since)
                continue;
            TSqlStatement info(db, "SELECT lower(name) FROM pragma_table_info(?1)");
            info.Bind(1, QByteArrayView(table.Name));
            QStringList have;
            while (info.Next())
                have << info.Text(0);
            if (have.isEmpty())
                return QCoreApplication::translate(
                           "TDataFile", "is not a Ledgerly data file: it has no table \"%1\"")
                    .arg(QLatin1String(table.Name));
            for (const char *column : table.Columns) {
                if (!have.contains(QLatin1String(column)))
                    return QCoreApplication::translate(
                               "TDataFile", "is not a Ledgerly data file: its table \"%1\" has no "
                                            "column \"%2\"")
                        .arg(QLatin1String(table.Name), QLatin1String(column));
            }
        }
        if (version > TDataFile::kFormatVersion)
            return newerFormat(version);
    } catch (const TDbError &error) {
        const QString reason =
            error.Reason.isEmpty() ? QString::fromUtf8(error.what()) : error.Reason;
        if ((error.Code & 0xff) == SQLITE_CORRUPT)
            return QCoreApplication::translate("TDataFile", "is damaged (%1)").arg(reason);
        return QCoreApplication::translate("TDataFile", "is not a Ledgerly data file (%1)")
            .arg(reason);
    }
    return QString();
}

// Fills `out`'s temporary file with a consistent copy of the database
// `source` and checks the copy; nothing is put in place yet. With
// `pagesPerStep` and `cancel`, as TSqlConnection::CopyFrom; false when the
// copy was cancelled.
bool copyInto(const QString &source, TMode mode, TCheckedFile &out, int pagesPerStep = -1,
              const std::atomic_bool *cancel = nullptr) {
    try {
        TSqlConnection from(source, mode);
        TSqlConnection to(out.TempPath(), TMode::Create);
        // The copy is checked and synced as a whole before it is used, and
        // thrown away on any failure: it needs no journal of its own.
        to.Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
        if (!to.CopyFrom(from, pagesPerStep, cancel))
            return false;
    } catch (const TDbError &error) {
        const int code = error.Code & 0xff;
        const QString own = error.Reason.isEmpty() ? QString::fromUtf8(error.what()) : error.Reason;
        QString reason;
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
            reason = QCoreApplication::translate(
                "TDataFile", "another Ledgerly window kept it busy. Try again in a moment.");
        else if (error.DiskFull())
            reason =
                QCoreApplication::translate(
                    "TDataFile", "the disk is full (%1). Free some space on the disk that holds "
                                 "\"%2\" and try again.")
                    .arg(own, shown(QFileInfo(out.Target()).absolutePath()));
        else if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB)
            reason =
                QCoreApplication::translate(
                    "TDataFile", "the file is damaged (%1). Restore a backup of it with Restore "
                                 "from Backup in the menu.")
                    .arg(own);
        else
            reason = QCoreApplication::translate("TDataFile", "%1. Try again.").arg(own);
        throw TFileError(
            QCoreApplication::translate("TDataFile", "\"%1\" could not be copied to \"%2\": %3")
                .arg(shown(source), shown(out.Target()), reason),
            error.DiskFull() ? ENOSPC : error.SystemError);
    }
    const QString problem = problemOf(out.TempPath(), TMode::Immutable);
    if (!problem.isEmpty())
        throw TFileError(
            QCoreApplication::translate(
                "TDataFile", "The copy of \"%1\" made for \"%2\" %3, so it was not kept.")
                .arg(shown(source), shown(out.Target()), problem));
    return true;
}

// The daily backup is copied this many pages (4 MB of a book's 4 KB pages)
// at a time: a save waits for one step at most.
constexpr int kDailyBackupStepPages = 1024;

QString dailyName(const QDate &day) {
    return QStringLiteral("db-%1.ledgerly").arg(day.toString(QStringLiteral("yyyy-MM-dd")));
}

QDate weekOf(const QDate &day) {
    return day.addDays(1 - day.dayOfWeek());
}

} // namespace

QString TDataFile::DefaultPath() {
    // The per-user application-data folder (XDG data home).
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString folder = QDir(home).filePath(QStringLiteral("Ledgerly"));
    // The user's books are private: a folder made here is the owner's alone.
    if (!home.isEmpty() && !QFileInfo(folder).isDir() && QDir().mkpath(folder))
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
    if (home.isEmpty() || !QFileInfo(folder).isDir())
        throw TFileError(
            QCoreApplication::translate("TDataFile",
                                        "The folder for Ledgerly's data file could not be made in "
                                        "the application-data folder \"%1\". Make that folder "
                                        "writable for you and start Ledgerly again.")
                .arg(home));
    return QDir(folder).filePath(QStringLiteral("db.ledgerly"));
}

QString TDataFile::TemplatePath() {
    return InstalledFile(QStringLiteral("db.ledgerly"));
}

bool TDataFile::HasBackupExtension(const QString &fileName) {
    const QString name = QFileInfo(fileName).fileName();
    const int dot = name.lastIndexOf('.');
    return dot >= 0 && name.mid(dot).toLower() == QLatin1String(".ledgerly");
}

TDataFile::TDataFile(const QString &path) : FPath(QFileInfo(path).absoluteFilePath()) {}

QString TDataFile::BackupFolder() const {
    const QString folder = QFileInfo(FPath).dir().filePath(QStringLiteral("backups"));
    if (QFileInfo(folder).isDir())
        return folder;
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST) {
        const int error = errno;
        throw TFileError(QCoreApplication::translate(
                             "TDataFile", "The backup folder \"%1\" could not be made: %2. Make "
                                          "the folder of the data file writable for you (or free "
                                          "some space on its disk) and try again.")
                             .arg(shown(folder), qt_error_string(error)),
                         error);
    }
    if (!QFileInfo(folder).isDir())
        throw TFileError(QCoreApplication::translate(
                             "TDataFile", "The backup folder \"%1\" could not be made: a file of "
                                          "that name is in the way. Move that file elsewhere and "
                                          "try again.")
                             .arg(shown(folder)));
    return folder;
}

void TDataFile::TightenPermissions() const {
    const QFileInfo file(FPath);
    tighten(file.absolutePath(), 0700);
    // Also writable for its owner: a data file is never meant to be read-only.
    tighten(FPath, 0600);
    const QDir backups(file.dir().filePath(QStringLiteral("backups")));
    if (!backups.exists())
        return;
    tighten(backups.path(), 0700);
    for (const QString &name : backups.entryList(QDir::Files | QDir::Hidden))
        tighten(backups.filePath(name), 0);
}

void TDataFile::RemoveLeftovers() const {
    const QString folder = QFileInfo(FPath).absolutePath();
    const QString suffix = QStringLiteral(".ledgerly");
    TCheckedFile::RemoveAbandoned(folder, suffix);
    const QString backups = QDir(folder).filePath(QStringLiteral("backups"));
    if (QFileInfo(backups).isDir())
        TCheckedFile::RemoveAbandoned(backups, suffix);
}

QString TDataFile::MakeDailyBackup(const QDate &today, bool *diskFull,
                                   const std::atomic_bool *cancel) const {
    if (diskFull)
        *diskFull = false;
    if (!QFileInfo(FPath).isFile())
        return QString();
    try {
        const QDir folder(BackupFolder());
        const QString target = folder.filePath(dailyName(today));
        if (QFileInfo::exists(target))
            return QString();
        TCheckedFile out(target, TCheckedFile::TAccess::Private);
        if (!copyInto(FPath, TMode::ReadWrite, out, kDailyBackupStepPages, cancel))
            return QString(); // the temporary copy goes with `out`
        // Another instance may have made today's copy meanwhile; one is enough.
        out.CommitNew();

        // Only once today's copy is safe are older ones thinned out, and only
        // the daily copies: every other file there stays.
        static const QRegularExpression daily(
            QStringLiteral("^db-(\\d{4}-\\d{2}-\\d{2})\\.ledgerly$"));
        QList<QDate> copies;
        for (const QString &name : folder.entryList(QDir::Files)) {
            const QRegularExpressionMatch match = daily.match(name);
            const QDate day = QDate::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd"));
            if (match.hasMatch() && day.isValid() && dailyName(day) == name)
                copies << day;
        }
        for (const QDate &day : DailyCopiesToDrop(copies))
            QFile::remove(folder.filePath(dailyName(day)));
    } catch (const TFileError &error) {
        if (diskFull)
            *diskFull = error.DiskFull();
        return QString::fromUtf8(error.what());
    } catch (const std::exception &error) {
        return QString::fromUtf8(error.what());
    }
    return QString();
}

QString TDataFile::DiskFullNotice() const {
    return QCoreApplication::translate(
               "TDataFile",
               "The disk that holds \"%1\" is full: free some space on it (delete files "
               "you no longer need, empty the trash) so that Ledgerly can save your "
               "changes and make its daily backup.")
        .arg(QDir::toNativeSeparators(QFileInfo(FPath).absolutePath()));
}

QList<QDate> TDataFile::DailyCopiesToDrop(QList<QDate> copies) {
    std::sort(copies.begin(), copies.end(), std::greater<>());
    copies.erase(std::unique(copies.begin(), copies.end()), copies.end());
    constexpr int kDaily = 7, kWeekly = 4;
    QList<QDate> drop;
    QList<QDate> weeksKept;
    for (int i = kDaily; i < copies.size(); ++i) {
        const QDate week = weekOf(copies.at(i));
        // Newest first: the first copy met in a week is the one kept.
        if (!weeksKept.contains(week) && weeksKept.size() < kWeekly)
            weeksKept << week;
        else
            drop << copies.at(i);
    }
    return drop;
}

bool TDataFile::CreateIfMissing() const {
    if (QFileInfo::exists(FPath))
        return false;
    QString source;
    try {
        source = TemplatePath();
    } catch (const std::exception &error) {
        throw TFileError(QCoreApplication::translate(
                             "TDataFile", "Ledgerly cannot create its data file \"%1\": %2")
                             .arg(shown(FPath), QString::fromUtf8(error.what())));
    }
    TCheckedFile out(FPath, TCheckedFile::TAccess::Private);
    copyInto(source, TMode::Immutable, out);
    // Another instance starting at the same moment may have made it first.
    return out.CommitNew();
}

void TDataFile::Upgrade() const {
    int version = 0;
    bool empty = false;
    {
        TSqlConnection db(FPath, TMode::ReadWrite);
        version = int(db.PragmaInt("user_version"));
        TSqlStatement objects(db, "SELECT count(*) FROM sqlite_master");
        empty = objects.Next() && objects.Int(0) == 0;
    }
    if (version > kFormatVersion)
        throw TFileError(
            QCoreApplication::translate("TDataFile",
                                        "Ledgerly cannot use its data file \"%1\": it %2. Start "
                                        "the newer Ledgerly, or restore a backup made by this one.")
                .arg(shown(FPath), newerFormat(version)));
    if (version == kFormatVersion)
        return;
    QString copy;
    try {
        // A file without any table holds nothing to keep.
        if (!empty)
            copy = KeepCopy(QStringLiteral("before-upgrade"));
    } catch (const std::exception &error) {
        throw TFileError(QCoreApplication::translate(
                             "TDataFile", "Ledgerly brings its data file \"%1\" to data format "
                                          "version %2 and keeps a copy of it first, but the copy "
                                          "could not be made: %3\n\nNothing was changed.")
                             .arg(shown(FPath))
                             .arg(kFormatVersion)
                             .arg(QString::fromUtf8(error.what())));
    }
    TSqlConnection db(FPath, TMode::ReadWrite);
    db.UseBookOptions(true);
    TSqlTransaction upgrade(db, TSqlTransaction::TKind::Write);
    // Read again under the write lock: another instance may have been first.
    version = int(db.PragmaInt("user_version"));
    if (version >= kFormatVersion)
        return;
    for (; version < kFormatVersion; ++version)
        kUpgradeSteps[version](db);
    db.Exec(QByteArray("PRAGMA user_version = ").append(QByteArray::number(kFormatVersion)));
    upgrade.Commit();
}

void TDataFile::Backup(const QString &target) const {
    // Renaming a copy over the file in use would take it from under other
    // instances; a backup of a file onto itself is no backup anyway.
    if (QFileInfo::exists(target) &&
        QFileInfo(target).canonicalFilePath() == QFileInfo(FPath).canonicalFilePath())
        throw TFileError(QCoreApplication::translate(
                             "TDataFile", "Cannot write \"%1\": it is the data file itself. "
                                          "Choose another name for the backup.")
                             .arg(shown(target)));
    TCheckedFile out(target, TCheckedFile::TAccess::Private);
    copyInto(FPath, TMode::ReadWrite, out);
    out.Commit();
}

QString TDataFile::KeepCopy(const QString &why) const {
    const QDir folder(BackupFolder());
    const QString stem =
        QStringLiteral("db-%1-%2")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss")), why);
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? stem : QStringLiteral("%1-%2").arg(stem).arg(n);
        TCheckedFile out(folder.filePath(name + QStringLiteral(".ledgerly")),
                         TCheckedFile::TAccess::Private);
        copyInto(FPath, TMode::ReadWrite, out);
        if (out.CommitNew())
            return out.Target();
    }
}

QString TDataFile::Restore(const QString &backup) const {
    const auto refuse = [&](const QString &reason) {
        return TFileError(QCoreApplication::translate(
                              "TDataFile", "The backup \"%1\" was not restored: %2\n\nThe current "
                                           "data is kept.")
                              .arg(shown(backup), reason));
    };
    const QString problem = problemOf(backup, TMode::Immutable);
    if (!problem.isEmpty())
        throw refuse(QCoreApplication::translate("TDataFile", "the file %1.").arg(problem));
    if (QFileInfo(backup).canonicalFilePath() == QFileInfo(FPath).canonicalFilePath())
        throw refuse(QCoreApplication::translate("TDataFile", "it is the data file itself."));

    if (!QFileInfo::exists(FPath)) {
        TCheckedFile out(FPath, TCheckedFile::TAccess::Private);
        copyInto(backup, TMode::Immutable, out);
        if (out.CommitNew())
            return QString();
    }

    QString kept;
    try {
        kept = KeepCopy(QStringLiteral("before-restore"));
    } catch (const std::exception &error) {
        throw refuse(QCoreApplication::translate(
                         "TDataFile", "a copy of the current data file could not be kept first. %1")
                         .arg(QString::fromUtf8(error.what())));
    }
    // Into the file in use, under its locks: other instances wait, and its
    // own journal (from a crash) is rolled back before and never after.
    try {
        TSqlConnection to(FPath, TMode::ReadWrite);
        to.UseBookOptions(true);
        TSqlConnection from(backup, TMode::Immutable);
        to.CopyFrom(from);
    } catch (const TDbError &error) {
        const int code = error.Code & 0xff;
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
            throw refuse(QCoreApplication::translate(
                             "TDataFile", "another Ledgerly window is using the data file \"%1\". "
                                          "Close it and try again.")
                             .arg(shown(FPath)));
        throw refuse(QString::fromUtf8(error.what()));
    }
    const QString after = problemOf(FPath, TMode::ReadWrite);
    if (!after.isEmpty())
        throw TFileError(
            QCoreApplication::translate("TDataFile",
                                        "After restoring the backup \"%1\", the data file \"%2\" "
                                        "%3.\n\nThe data file as it was before is kept as \"%4\"; "
                                        "restore that file to go back.")
                .arg(shown(backup), shown(FPath), after, shown(kept)));
    return kept;
}

QString TDataFile::Problem(const QString &path) {
    const QString problem = problemOf(path, TMode::Immutable);
    return problem.isEmpty() ? problem
                             : QCoreApplication::translate("TDataFile", "The file \"%1\" %2.")
                                   .arg(shown(path), problem);
}

int TDataFile::FormatVersion(const QString &path) {
    TSqlConnection db(path, TMode::Immutable);
    return int(db.PragmaInt("user_version"));
}
