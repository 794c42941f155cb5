#pragma once

#include "store/FileError.h"

#include <QByteArrayView>
#include <QString>

// The one way the program writes a whole file. The bytes go to a temporary
// file beside the target; every write, the sync to the disk and the close
// are checked, and only then is the complete file renamed over the target.
// On any failure, or when the object ends without Commit(), the temporary
// file is removed and an existing target stays exactly as it was. Failures
// raise TFileError naming the file, the reason ("No space left on device",
// "File too large", ...) and what to do.
//
// The temporary file is named ".<target's name>.<random>.tmp" and is locked
// (flock) from the moment it exists until it is renamed or removed, so that
// RemoveAbandoned can tell the files of a writer that was killed from those
// that are being written.
class TCheckedFile {
public:
    enum class TAccess {
        Private, // the owner's alone (0600): the data file and its backups
        Shared   // as the user's umask makes new files, or the mode of the
                 // file it replaces (exports)
    };

    TCheckedFile(const QString &target, TAccess access);
    ~TCheckedFile();
    TCheckedFile(const TCheckedFile &) = delete;
    TCheckedFile &operator=(const TCheckedFile &) = delete;

    // The file that is put in place (a symbolic link is followed).
    const QString &Target() const { return FTarget; }
    // The temporary file; a writer that opens files by name (SQLite) may
    // fill it instead of Write(). It exists, empty, until Commit or Cancel.
    const QString &TempPath() const { return FTempPath; }

    void Write(QByteArrayView bytes);
    // Syncs the file to the disk and renames it over the target.
    void Commit();
    // The same, but an existing target is never replaced: false (and the
    // temporary file removed) when there already is one.
    bool CommitNew();
    // Removes the temporary file; the target is left alone.
    void Cancel();

    // Writes `bytes` as the whole content of `target`.
    static void WriteWhole(const QString &target, QByteArrayView bytes, TAccess access);

    // Removes the temporary files in `folder` of targets whose names end in
    // `suffix` that no running writer is filling: not locked by one (an
    // empty one only when it is over a minute old: its writer may be about
    // to lock it), or last written over an hour ago. Returns how many.
    static int RemoveAbandoned(const QString &folder, const QString &suffix);

    // For tests: when set, called before the sync ("fsync") and the final
    // renames ("rename", "renameat2"); a non-zero error number it returns
    // makes that step fail with it.
    static inline int (*FailStep)(const char *step) = nullptr;

private:
    // Everything of Commit but the rename.
    void Finish();
    // Closes and removes what is left of the temporary file, then gives up
    // its lock.
    void Release();
    [[noreturn]] void Fail(const QString &reason, int systemError = 0);
    [[noreturn]] void FailSystem(int error);

    QString FTarget;
    QString FTempPath;
    int FFd = -1;
    // Holds the temporary file's lock from Finish() until it is renamed.
    int FLockFd = -1;
};
