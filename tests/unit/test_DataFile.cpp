// The data file and whole-file writes: a full disk, backups while another
// process saves, broken and newer files, restores into the file in use over
// a crash's journal, private files, format upgrades and the daily backups.
#include "store/CheckedFile.h"
#include "store/DataFile.h"
#include "store/DbClass.h"
#include "store/Sqlite.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

using TMode = TSqlConnection::TMode;

// Drops the tables that formats after the first brought.
const char *const kLaterTables = "DROP TABLE rules; DROP TABLE profiles; DROP TABLE fitids; "
                                 "DROP TABLE budgets; DROP TABLE recurring;";

// Writes beyond `bytes` fail with "File too large", as on a full disk.
struct TFileSizeLimit {
    rlimit Old = {};
    explicit TFileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &Old);
        const rlimit limit{bytes, Old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &Old); }
};

// The step of the checked writer that fails, and its error.
const char *failingStep = "";
int failingError = 0;

// The text of the exception `action` raises; empty when it raises none.
template <class F> QString failureOf(F action) {
    try {
        action();
    } catch (const std::exception &error) {
        return QString::fromUtf8(error.what());
    }
    return QString();
}

// A data file made as on a first run, holding `records` records.
QString makeBook(const QString &path, int records) {
    TDataFile(path).CreateIfMissing();
    TSqlConnection(path, TMode::ReadWrite)
        .Exec(
            QByteArray(
                "INSERT INTO users (name, pwd) VALUES ('dXNlcg==', 'hash'); WITH RECURSIVE n(i) AS "
                "(SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) INSERT INTO data "
                "(user, date, type, cate, amount, notes) SELECT 'dXNlcg==', "
                "date('2020-01-01', '+' || (i % 1500) || ' days'), 'Expense', "
                "'Rm9vZA==', i % 900 + 0.25, printf('%.40c', char(97 + i % 26)) FROM n")
                .replace("%1", QByteArray::number(records))
                .constData());
    return path;
}

// Every stored row, in one text.
QString rows(const QString &path) {
    TSqlConnection db(path, TMode::ReadOnly);
    TSqlStatement all(db, "SELECT 'u', name || pwd FROM users UNION ALL SELECT 'd', id || user "
                          "|| date || type || cate || amount || notes FROM data");
    QStringList out;
    while (all.Next())
        out << all.Text(0) + all.Text(1);
    return out.join('\n');
}

// The first value of the first row of `sql` on the file.
double valueOf(const QString &path, const char *sql) {
    TSqlConnection db(path, TMode::ReadOnly);
    TSqlStatement query(db, sql);
    return query.Next() ? query.Real(0) : -1;
}

// The file's format version and schema (sqlite_master, blanks normalised),
// to compare two files' schemas.
QStringList schemaOf(const QString &path) {
    TSqlConnection db(path, TMode::ReadOnly);
    QStringList out{QString::number(db.PragmaInt("user_version"))};
    TSqlStatement all(db, "SELECT type, name, tbl_name, coalesce(sql, '') FROM sqlite_master "
                          "ORDER BY name");
    static const QRegularExpression blanks("\\s*([(),])\\s*");
    while (all.Next())
        out << QStringList{all.Text(0), all.Text(1), all.Text(2),
                           all.Text(3).simplified().replace(blanks, "\\1")}
                   .join(" | ");
    return out;
}

// Writes a whole file as the exports do.
void writeFile(const QString &path, QByteArrayView bytes) {
    TCheckedFile::WriteWhole(path, bytes, TCheckedFile::TAccess::Shared);
}

QByteArray bytesOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int modeOf(const QString &path) {
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

void setMode(const QString &path, mode_t mode) {
    ::chmod(QFile::encodeName(path).constData(), mode);
}

QStringList filesIn(const QString &folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TestDataFile : public QObject {
    Q_OBJECT

private slots:
    void fullDiskKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString page = dir.filePath("page.html");
        writeFile(page, "kept");
        const QString book = makeBook(dir.filePath("db.ledgerly"), 3000);
        const QString backup = dir.filePath("saved.ledgerly");
        writeFile(backup, "old backup");
        const QStringList before = filesIn(dir.path());
        {
            TFileSizeLimit limit(64 * 1024);
            QString text = failureOf([&] { writeFile(page, QByteArray(1 << 20, 'x')); });
            QVERIFY2(text.contains(page) && text.contains("File too large"), qPrintable(text));
            text = failureOf([&] { TDataFile(book).Backup(backup); });
            QVERIFY2(text.contains(backup) && text.contains("File too large"), qPrintable(text));
            // A failed sync or final rename, the same.
            TCheckedFile::FailStep = [](const char *step) {
                return qstrcmp(step, failingStep) ? 0 : failingError;
            };
            for (const char *step : {"fsync", "rename"}) {
                failingStep = step;
                failingError = EIO;
                text = failureOf([&] { writeFile(page, "lost"); });
                QVERIFY2(text.contains(page) && text.contains(qt_error_string(EIO)),
                         qPrintable(text));
            }
            failingStep = "";
        }
        QCOMPARE(bytesOf(page), QByteArray("kept"));
        QCOMPARE(bytesOf(backup), QByteArray("old backup"));
        QCOMPARE(filesIn(dir.path()), before); // no temporary file left behind
        QVERIFY(failureOf([&] { TDataFile(book).Backup(book); }).contains("data file itself"));
        // Without the limit the same backup is complete, and the owner's alone.
        TDataFile(book).Backup(backup);
        QCOMPARE(rows(backup), rows(book));
        QCOMPARE(modeOf(backup), 0600);
        // Two writers race for a new file: the first keeps it, the second is
        // told (also without the rename that refuses to replace).
        for (const char *step : {"", "renameat2"}) {
            failingStep = step;
            failingError = EINVAL;
            TCheckedFile first(backup + step + "new", {}), second(backup + step + "new", {});
            first.Write("first");
            second.Write("second");
            QVERIFY(first.CommitNew() && !second.CommitNew());
            QCOMPARE(bytesOf(backup + step + "new"), QByteArray("first"));
        }
        TCheckedFile::FailStep = nullptr;
    }

    void backupIsConsistentWhileAnotherProcessSaves() {
        QTemporaryDir dir;
        const QString book = makeBook(dir.filePath("db.ledgerly"), 8000);
        const char *updated = "SELECT total(amount) FROM data WHERE id % 16 = 0";
        const double before = valueOf(book, updated);
        // Another process saves a large change: 1 more on the amount of
        // every 16th record, longer notes everywhere. Its small cache puts
        // changed pages into the file before the save is complete.
        // It marks the moment its changes are made and not yet committed.
        const QString changed = dir.filePath("changed");
        QProcess writer;
        writer.start("sqlite3", {book});
        QVERIFY(writer.waitForStarted());
        writer.write(".timeout 20000\nPRAGMA cache_size = 100;\nBEGIN IMMEDIATE;\n"
                     "UPDATE data SET amount = amount + 1 WHERE id % 16 = 0;\n"
                     "UPDATE data SET notes = notes || notes;\n"
                     ".shell touch '" +
                     changed.toUtf8() + "'\n.shell sleep 1\nCOMMIT;\n");
        writer.closeWriteChannel();
        QTRY_VERIFY(QFile::exists(changed));
        QVERIFY(QFileInfo(book + "-journal").size() > 100000);
        QVERIFY(writer.state() == QProcess::Running);

        // The backup waits for the save and copies it whole.
        const QString copy = dir.filePath("copy.ledgerly");
        TDataFile(book).Backup(copy);
        QCOMPARE(TDataFile::Problem(copy), QString());
        QCOMPARE(valueOf(copy, updated) - before, double(8000 / 16));
        QVERIFY(writer.waitForFinished());
        QCOMPARE(writer.exitCode(), 0);
        QCOMPARE(rows(copy), rows(book));
    }

    void brokenFilesAreRefused() {
        QTemporaryDir dir;
        const QString data = makeBook(dir.filePath("db.ledgerly"), 10);
        const QString good = makeBook(dir.filePath("good.ledgerly"), 4000);
        QCOMPARE(TDataFile::Problem(good), QString());

        const auto write = [&](const QString &name, const QByteArray &bytes) {
            writeFile(dir.filePath(name), bytes);
            return dir.filePath(name);
        };
        QByteArray book = bytesOf(good);
        QByteArray damaged = book;
        damaged.replace(book.size() / 2, 4096, QByteArray(4096, '\x5a'));
        const QString tables = dir.filePath("tables.ledgerly");
        TSqlConnection(tables, TMode::Create)
            .Exec("create table users(a); create table cates(b); create table data(c);");
        const QString newer = dir.filePath("newer.ledgerly");
        QVERIFY(QFile::copy(good, newer));
        const QByteArray next = QByteArray::number(TDataFile::kFormatVersion + 1);
        TSqlConnection(newer, TMode::ReadWrite).Exec("PRAGMA user_version = " + next);
        // One entry of an index leaf dropped from its page's count: SQLite
        // still reads the records, quick_check finds the page damaged.
        QByteArray dropped = bytesOf(data);
        const auto leaf = qsizetype(valueOf(data, "SELECT (rootpage - 1) * (SELECT page_size FROM "
                                                  "pragma_page_size) FROM sqlite_master WHERE "
                                                  "name = 'data_user_date'"));
        QCOMPARE(dropped.at(leaf), '\x0a');
        --dropped[leaf + 4];

        const struct {
            QString File;
            QString Says;
        } cases[] = {
            {write("junk.ledgerly", QByteArray(4096, 'x')), "not a Ledgerly data file"},
            {tables, "its table \"users\" has no column \"name\""},
            {write("half.ledgerly", book.left(book.size() / 2)), "damaged"},
            {write("damaged.ledgerly", damaged), "damaged"},
            {write("dropped.ledgerly", dropped), "damaged (*** in database main ***"},
            {newer, "newer Ledgerly (data format version " + next +
                        "); this Ledgerly reads data format version " +
                        QByteArray::number(TDataFile::kFormatVersion)},
        };
        const QString before = rows(data);
        QCOMPARE(rows(dir.filePath("dropped.ledgerly")), before);
        for (const auto &c : cases) {
            const QString problem = TDataFile::Problem(c.File);
            QVERIFY2(problem.contains(c.File) && problem.contains(c.Says), qPrintable(problem));
            QVERIFY_THROWS_EXCEPTION(TFileError, TDataFile(data).Restore(c.File));
            QCOMPARE(rows(data), before);
        }
        QVERIFY(!QFileInfo::exists(dir.filePath("backups")));
    }

    void restoreWritesIntoTheFileInUse() {
        QTemporaryDir dir;
        const QString data = makeBook(dir.filePath("db.ledgerly"), 500);
        const QString backup = makeBook(dir.filePath("saved.ledgerly"), 3000);
        const QString committed = rows(data);

        // A crash in the middle of a save: the data file holds half-written
        // pages and its journal the pages to put back.
        {
            const QString scratch = makeBook(dir.filePath("scratch.ledgerly"), 500);
            TSqlConnection db(scratch, TMode::ReadWrite);
            db.Exec("PRAGMA cache_size = 10");
            TSqlTransaction save(db, TSqlTransaction::TKind::Write);
            db.Exec("UPDATE data SET notes = notes || notes || notes");
            QVERIFY(QFileInfo(scratch + "-journal").size() > 0);
            QVERIFY(QFile::remove(data));
            QVERIFY(QFile::copy(scratch, data));
            QVERIFY(QFile::copy(scratch + "-journal", data + "-journal"));
        }
        // Another instance has the file open while the restore runs.
        TSqlConnection other(data, TMode::ReadWrite);
        struct stat before = {};
        ::stat(QFile::encodeName(data).constData(), &before);

        const QString kept = TDataFile(data).Restore(backup);
        QCOMPARE(rows(data), rows(backup));
        QVERIFY(!QFile::exists(data + "-journal"));
        QCOMPARE(TDataFile::Problem(data), QString());
        TSqlStatement count(other, "SELECT count(*) FROM data");
        QVERIFY(count.Next() && count.Int(0) == 3000);
        struct stat after = {};
        ::stat(QFile::encodeName(data).constData(), &after);
        QCOMPARE(after.st_ino, before.st_ino); // written into, never renamed over

        // The replaced data, as it was last committed, is kept where the user
        // finds it.
        QCOMPARE(QFileInfo(kept).dir().absolutePath(), dir.filePath("backups"));
        QVERIFY2(QFileInfo(kept).fileName().endsWith("-before-restore.ledgerly"), qPrintable(kept));
        QCOMPARE(rows(kept), committed);
        QCOMPARE(modeOf(kept), 0600);
    }

    // A backup in WAL mode is checked with nothing made beside it and restored
    // into the rollback journal; with a WAL file beside it, it is refused.
    void backupInWalModeIsRestoredInTheOwnMode() {
        QTemporaryDir dir;
        const QString data = makeBook(dir.filePath("db.ledgerly"), 10);
        const QString wal = makeBook(dir.filePath("wal.ledgerly"), 300);
        TSqlConnection(wal, TMode::ReadWrite).Exec("PRAGMA journal_mode=WAL");
        QCOMPARE(TDataFile::Problem(wal), QString());
        TDataFile(data).Restore(wal);
        QCOMPARE(filesIn(dir.path()), (QStringList{"db.ledgerly", "wal.ledgerly"}));
        QCOMPARE(bytesOf(data).mid(18, 2), QByteArray("\x01\x01")); // rollback journal
        QCOMPARE(rows(data), rows(wal));
        writeFile(wal + "-wal", "changes");
        QVERIFY(TDataFile::Problem(wal).contains(wal + "-wal\" beside it holds part of"));
    }

    void privateFolderAndFiles() {
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
        const QString folder = home.filePath("Ledgerly");
        QVERIFY(QDir().mkpath(folder + "/backups"));
        setMode(folder, 0755);
        const TDataFile file(TDataFile::DefaultPath());
        // A folder it makes is the owner's alone.
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("new")));
        QCOMPARE(modeOf(QFileInfo(TDataFile::DefaultPath()).path()), 0700);
        qunsetenv("XDG_DATA_HOME");
        QCOMPARE(file.Path(), folder + "/db.ledgerly");
        QVERIFY(file.CreateIfMissing());
        QCOMPARE(modeOf(file.Path()), 0600);
        const QString old = folder + "/backups/db-2024-01-01.ledgerly";
        writeFile(old, "x");
        setMode(old, 0644);
        setMode(file.Path(), 0444);
        setMode(folder + "/backups", 0755);

        file.TightenPermissions();
        for (const QString &path : {folder, folder + "/backups"})
            QCOMPARE(modeOf(path), 0700);
        QCOMPARE(file.MakeDailyBackup(QDate(2024, 1, 2)), QString());
        for (const QString &path : {file.Path(), old, folder + "/backups/db-2024-01-02.ledgerly"})
            QCOMPARE(modeOf(path), 0600);

        // Exports are the user's documents: the umask decides, and a file
        // they replace keeps its mode.
        const mode_t umask = ::umask(022);
        writeFile(home.filePath("page.html"), "page");
        QCOMPARE(modeOf(home.filePath("page.html")), 0644);
        setMode(home.filePath("page.html"), 0666);
        writeFile(home.filePath("page.html"), "again");
        ::umask(umask);
        QCOMPARE(modeOf(home.filePath("page.html")), 0666);
    }

    void formatVersionsAndUpgrade() {
        // The upgrade steps run on an empty file make the empty data file.
        QTemporaryDir dir;
        const QString empty = dir.filePath("empty.ledgerly");
        TSqlConnection(empty, TMode::Create);
        TDataFile(empty).Upgrade();
        QCOMPARE(schemaOf(empty), schemaOf(TDataFile::TemplatePath()));
        QVERIFY(!QFileInfo::exists(dir.filePath("backups")));

        // A file from before the format carried a version, with the narrow
        // index of that time.
        const QString data = makeBook(dir.filePath("db.ledgerly"), 200);
        TSqlConnection(data, TMode::ReadWrite)
            .Exec("PRAGMA user_version = 0; DROP INDEX data_user_date; "
                  "CREATE INDEX data_user_date ON data (user, date);");
        TSqlConnection(data, TMode::ReadWrite).Exec(kLaterTables);
        const QString content = rows(data);
        TDataFile(data).Upgrade();
        TDataFile(data).Upgrade(); // nothing more to do, no second copy
        QCOMPARE(TDataFile::FormatVersion(data), TDataFile::kFormatVersion);
        QCOMPARE(rows(data), content);
        QCOMPARE(schemaOf(data), schemaOf(TDataFile::TemplatePath()));
        QCOMPARE(valueOf(data, "SELECT count(*) FROM pragma_index_info('data_user_date')"), 7.0);
        const QStringList copies = filesIn(dir.filePath("backups"));
        QCOMPARE(copies.size(), 1);
        QVERIFY2(copies.first().endsWith("-before-upgrade.ledgerly"), qPrintable(copies.first()));
        QCOMPARE(TDataFile::FormatVersion(dir.filePath("backups/" + copies.first())), 0);

        // A file of format 1 (a backup made before statement import) is a
        // data file that can be restored; it gets the tables of the later
        // formats, the same as a new file's, and keeps its content.
        const QString one = makeBook(dir.filePath("one.ledgerly"), 300);
        TSqlConnection(one, TMode::ReadWrite)
            .Exec(QByteArray(kLaterTables) + "PRAGMA user_version = 1;");
        QCOMPARE(TDataFile::Problem(one), QString());
        const QString oneContent = rows(one);
        TDataFile(one).Upgrade();
        QCOMPARE(TDataFile::FormatVersion(one), TDataFile::kFormatVersion);
        QCOMPARE(rows(one), oneContent);
        QCOMPARE(schemaOf(one), schemaOf(TDataFile::TemplatePath()));
        TDbMan book(one);
        book.SetCategoryRules("user", {{"shop", "Food", TRuleType::Both}});
        // The rules of a file of format 2 had no type: they apply to money out.
        TSqlConnection(one, TMode::ReadWrite)
            .Exec("ALTER TABLE rules DROP COLUMN type; DROP TABLE budgets; DROP TABLE recurring; "
                  "PRAGMA user_version = 2;");
        QCOMPARE(TDataFile::Problem(one), QString());
        TDataFile(one).Upgrade();
        QCOMPARE(schemaOf(one), schemaOf(TDataFile::TemplatePath()));
        QCOMPARE(book.CategoryRules("user"), (QList<TCategoryRule>{{"shop", "Food"}}));
        // A file of format 3 (before budgets and recurring entries) gets their
        // tables and keeps everything else.
        TSqlConnection(one, TMode::ReadWrite)
            .Exec("DROP TABLE budgets; DROP TABLE recurring; PRAGMA user_version = 3;");
        QCOMPARE(TDataFile::Problem(one), QString());
        TDataFile(one).Upgrade();
        QCOMPARE(rows(one), oneContent);
        QCOMPARE(schemaOf(one), schemaOf(TDataFile::TemplatePath()));
        QCOMPARE(book.CategoryRules("user"), (QList<TCategoryRule>{{"shop", "Food"}}));
        book.SetBudgets("user", {}, {{TRecordType::Expense, "Food", 100}});
        QCOMPARE(book.Budgets("user").size(), 1);
        // A file of the current format without those tables or columns is
        // not a data file.
        TSqlConnection(one, TMode::ReadWrite).Exec("DROP TABLE recurring");
        QVERIFY(TDataFile::Problem(one).contains("no table \"recurring\""));
        TSqlConnection(one, TMode::ReadWrite).Exec("DROP TABLE fitids");
        QVERIFY(TDataFile::Problem(one).contains("no table \"fitids\""));
        TSqlConnection(one, TMode::ReadWrite).Exec("ALTER TABLE rules DROP COLUMN type");
        QVERIFY(TDataFile::Problem(one).contains("its table \"rules\" has no column \"type\""));

        // A newer file is refused and left as it is.
        const int next = TDataFile::kFormatVersion + 1;
        TSqlConnection(data, TMode::ReadWrite)
            .Exec("PRAGMA user_version = " + QByteArray::number(next));
        const QString text = failureOf([&] { TDataFile(data).Upgrade(); });
        QVERIFY2(text.contains(data) &&
                     text.contains(QStringLiteral("data format version %1").arg(next)) &&
                     text.contains(QStringLiteral("data format version %1").arg(next - 1)),
                 qPrintable(text));
        QCOMPARE(TDataFile::FormatVersion(data), next);
    }

    void dailyBackupsKeepSevenDaysAndFourWeeks() {
        QTemporaryDir dir;
        const TDataFile file(makeBook(dir.filePath("db.ledgerly"), 50));
        const QString folder = file.BackupFolder();
        writeFile(folder + "/db-mine.ledgerly", "the user's own");

        // One start a day for 60 days, from a Wednesday.
        const QDate first(2024, 1, 3);
        for (QDate day = first; day < first.addDays(60); day = day.addDays(1)) {
            QCOMPARE(file.MakeDailyBackup(day), QString());
            QCOMPARE(file.MakeDailyBackup(day), QString()); // made once a day
            if (day < first.addDays(40))
                continue;
            // The last 7 days; the 8th day back as the newest of its week;
            // the Sundays of the 3 weeks before that.
            QStringList expected{"db-mine.ledgerly"};
            for (int back = 0; back < 8; ++back)
                expected << day.addDays(-back).toString("'db-'yyyy-MM-dd'.ledgerly'");
            QDate sunday = day.addDays(-7).addDays(-day.addDays(-7).dayOfWeek());
            for (int week = 0; week < 3; ++week, sunday = sunday.addDays(-7))
                expected << sunday.toString("'db-'yyyy-MM-dd'.ledgerly'");
            expected.sort();
            QCOMPARE(filesIn(folder), expected);
        }
        QCOMPARE(rows(folder + "/db-2024-03-02.ledgerly"), rows(file.Path()));
        // A cancelled copy keeps nothing.
        const QStringList before = filesIn(folder);
        const std::atomic_bool cancel{true};
        QCOMPARE(file.MakeDailyBackup(first.addDays(60), nullptr, &cancel), QString());
        QCOMPARE(filesIn(folder), before);

        // A copy that cannot be made says why and leaves everything as it was.
        QVERIFY(QDir(folder).removeRecursively());
        writeFile(folder, "in the way");
        const QString problem = file.MakeDailyBackup(first.addDays(61));
        QVERIFY2(problem.contains(folder), qPrintable(problem));
        QCOMPARE(bytesOf(folder), QByteArray("in the way"));
    }
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "test_DataFile.moc"
