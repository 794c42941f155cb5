#pragma once

#include "store/FileError.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <atomic>

// The user's data file as one object: where it lives, its first creation
// from the empty file beside the program, the checks a file must pass to be
// used or restored, its format version and upgrades, consistent backups and
// restores through SQLite, the automatic backups and the privacy of the
// file, its folder and its backups.
//
// Copies are made with SQLite's online backup under the file's locks, so
// they are consistent whatever other program instances do, and every copy
// is checked before it is put in place. Failures raise TFileError (or
// TDbError from the SQLite layer) with a text that names the file.
class TDataFile {
public:
    // The format of the files this program writes. Files of an older format
    // are upgraded at sign-in (kUpgradeSteps in DataFile.cpp); a file of a
    // newer one is refused.
    static constexpr int kFormatVersion = 5;

    // <application-data folder>/Ledgerly/db.ledgerly; the folder is made
    // (private to the user) when missing. Throws when it cannot be.
    static QString DefaultPath();
    // The empty data file that lies beside the program.
    static QString TemplatePath();
    // The extension of data files and backups: ".ledgerly", any letter case.
    static bool HasBackupExtension(const QString &fileName);

    explicit TDataFile(const QString &path);
    const QString &Path() const { return FPath; }

    // The folder of the automatic backups, beside the data file; made
    // (private to the user) when missing.
    QString BackupFolder() const;

    // --- at start-up, in this order ---------------------------------------
    // Makes the folder, the data file and its backups private to the user
    // (0700 / 0600) where they are found wider.
    void TightenPermissions() const;
    // Removes the temporary copies that a backup, restore or upgrade killed
    // at the wrong moment left in the data file's folder and the backup
    // folder, those no running instance is writing (see
    // TCheckedFile::RemoveAbandoned).
    void RemoveLeftovers() const;
    // First run: makes the data file from the empty one beside the program.
    // True when it was made.
    bool CreateIfMissing() const;
    // Brings a file of an older format to kFormatVersion in one transaction,
    // after a copy of it in the backup folder (unless it has no table at
    // all); refuses a newer format.
    void Upgrade() const;
    // Once the main window is shown, away from it: the first automatic
    // backup of `today`, a checked copy db-yyyy-MM-dd.ledgerly in the backup
    // folder, then the old daily copies thinned out to the last 7 and one a
    // week for the 4 weeks before. Nothing when today's copy exists or there
    // is no data file. The copy is made a few megabytes at a time, so that
    // saves of this or another instance meanwhile wait a moment at most (a
    // save makes the copy start again). Never throws: the reason when the
    // copy could not be made, else empty; `diskFull` tells whether that was
    // a full disk. Once `cancel` is set the copy stops between two steps:
    // nothing is kept and nothing is reported.
    QString MakeDailyBackup(const QDate &today, bool *diskFull = nullptr,
                            const std::atomic_bool *cancel = nullptr) const;
    // The one line shown when the disk of the data file is full.
    QString DiskFullNotice() const;

    // --- backup and restore -----------------------------------------------
    // A consistent, checked copy of the data file as `target` (private to
    // the user), replacing `target` only once the copy is complete.
    void Backup(const QString &target) const;
    // Copies `backup` into the data file through SQLite (under its locks, so
    // other instances see the old or the new content, never a mix) after a
    // copy of the data file it replaces went into the backup folder. The
    // backup must pass Problem(). Returns the path of that copy (empty when
    // there was no data file).
    QString Restore(const QString &backup) const;

    // Empty when `path` is a Ledgerly data file this program can use: it
    // passes SQLite's quick_check, has the tables and columns the program
    // reads and writes, and its format is not newer than this program's.
    // Otherwise a sentence that names the file and says what is wrong. The
    // file is read as it is: nothing is written or made beside it.
    static QString Problem(const QString &path);
    // The file's format version (PRAGMA user_version).
    static int FormatVersion(const QString &path);

    // The daily copies to delete so that the last 7 are kept, and one a week
    // (the newest of each calendar week) for the 4 weeks before them.
    static QList<QDate> DailyCopiesToDrop(QList<QDate> copies);

private:
    // A copy of the data file in the backup folder named
    // db-yyyy-MM-dd-HHmmss-<why>.ledgerly; returns its path.
    QString KeepCopy(const QString &why) const;

    QString FPath;
};
