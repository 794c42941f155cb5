#include "store/CheckedFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray nativeName(const QString &path) {
    return QFile::encodeName(path);
}

QString shownName(const QString &path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

int closeChecked(int fd) {
    // Linux releases the descriptor even when close() reports an error, so
    // it is never retried; the error itself (a late write-back failure) counts.
    return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
}

// The error a test makes `step` fail with; 0 for none.
int injected(const char *step) {
    return TCheckedFile::FailStep ? TCheckedFile::FailStep(step) : 0;
}

// What the user can do about a failure with the system's error `error`.
QString adviceFor(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QCoreApplication::translate("TCheckedFile",
                                           "Free some space on its disk and try again.");
    case EACCES:
    case EPERM:
    case EROFS:
        return QCoreApplication::translate("TCheckedFile",
                                           "Make its folder writable for you and try again.");
    default:
        return QCoreApplication::translate(
            "TCheckedFile", "Try again; if it fails again, choose another place for it.");
    }
}

// Makes the rename durable: the folder's entry is on the disk too. A file
// system that cannot sync folders has nothing more to do.
void syncFolder(const QString &folder) {
    const int fd = ::open(nativeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    ::close(fd);
}

} // namespace

TCheckedFile::TCheckedFile(const QString &target, TAccess access) : FTarget(target) {
    const QFileInfo info(target);
    // Writing through a link replaces the file it points to, not the link.
    if (info.isSymLink())
        FTarget = info.symLinkTarget();
    FTarget = QFileInfo(FTarget).absoluteFilePath();

    struct stat old = {};
    const bool exists = ::stat(nativeName(FTarget).constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        FailSystem(EISDIR);
    // Private files are the owner's alone; a shared file replaces another
    // with that file's mode, or gets what the umask leaves of rw-rw-rw-.
    const mode_t mode = access == TAccess::Private ? 0600 : exists ? (old.st_mode & 0777) : 0666;

    const QString folder = QFileInfo(FTarget).absolutePath();
    const QString base = QFileInfo(FTarget).fileName();
    for (int attempt = 0; FFd < 0; ++attempt) {
        const QString candidate =
            QStringLiteral("%1/.%2.%3.tmp")
                .arg(folder, base,
                     QString::number(QRandomGenerator::global()->generate64() & 0xffffffffffULL,
                                     36));
        FFd = ::open(nativeName(candidate).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                     mode);
        if (FFd >= 0) {
            FTempPath = candidate;
        } else if (errno != EEXIST || attempt > 100) {
            FailSystem(errno);
        }
    }
    // Marks the file as being written. Where the file system has no such
    // locks, RemoveAbandoned goes by the file's age alone.
    (void)::flock(FFd, LOCK_EX);
    // The umask has no say over a private file or over the mode of a file
    // that is replaced.
    if ((access == TAccess::Private || exists) && ::fchmod(FFd, mode) != 0)
        FailSystem(errno);
}

TCheckedFile::~TCheckedFile() {
    Cancel();
}

void TCheckedFile::Write(QByteArrayView bytes) {
    if (FFd < 0)
        Fail(QCoreApplication::translate("TCheckedFile", "the file is already closed"));
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(FFd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            FailSystem(errno);
        }
        data += written;
        left -= written;
    }
}

void TCheckedFile::Finish() {
    if (FFd < 0)
        Fail(QCoreApplication::translate("TCheckedFile", "the file is already closed"));
    // The data must be on the disk before the name points at it; a write
    // that the kernel could not complete shows up here or at close.
    int error = injected("fsync");
    if (error == 0 && ::fsync(FFd) != 0)
        error = errno;
    if (error != 0)
        FailSystem(error);
    // The lock stays with a second descriptor until the file is renamed.
    FLockFd = ::fcntl(FFd, F_DUPFD_CLOEXEC, 0);
    error = closeChecked(FFd);
    FFd = -1;
    if (error != 0)
        FailSystem(error);
}

void TCheckedFile::Commit() {
    Finish();
    int error = injected("rename");
    if (error == 0 &&
        ::rename(nativeName(FTempPath).constData(), nativeName(FTarget).constData()) != 0)
        error = errno;
    if (error != 0)
        FailSystem(error);
    FTempPath.clear();
    Release();
    syncFolder(QFileInfo(FTarget).absolutePath());
}

bool TCheckedFile::CommitNew() {
    Finish();
    const QByteArray from = nativeName(FTempPath);
    const QByteArray to = nativeName(FTarget);
    errno = injected("renameat2");
    if (errno != 0 ||
        ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST) {
            Cancel();
            return false;
        }
        if (errno != EINVAL && errno != ENOSYS)
            FailSystem(errno);
        // A file system without that rename: a second name for the file,
        // which also never replaces one.
        if (::link(from.constData(), to.constData()) != 0) {
            if (errno != EEXIST)
                FailSystem(errno);
            Cancel();
            return false;
        }
        ::unlink(from.constData());
    }
    FTempPath.clear();
    Release();
    syncFolder(QFileInfo(FTarget).absolutePath());
    return true;
}

void TCheckedFile::Cancel() {
    Release();
}

void TCheckedFile::Release() {
    if (FFd >= 0) {
        ::close(FFd);
        FFd = -1;
    }
    if (!FTempPath.isEmpty()) {
        ::unlink(nativeName(FTempPath).constData());
        FTempPath.clear();
    }
    if (FLockFd >= 0) {
        ::close(FLockFd);
        FLockFd = -1;
    }
}

void TCheckedFile::FailSystem(int error) {
    Fail(qt_error_string(error), error);
}

void TCheckedFile::Fail(const QString &reason, int systemError) {
    Cancel();
    throw TFileError(QCoreApplication::translate("TCheckedFile", "Cannot write \"%1\": %2. %3")
                         .arg(shownName(FTarget), reason, adviceFor(systemError)),
                     systemError);
}

void TCheckedFile::WriteWhole(const QString &target, QByteArrayView bytes, TAccess access) {
    TCheckedFile file(target, access);
    file.Write(bytes);
    file.Commit();
}

int TCheckedFile::RemoveAbandoned(const QString &folder, const QString &suffix) {
    const QRegularExpression temporary(
        QStringLiteral("^\\..+%1\\.[0-9a-z]+\\.tmp$").arg(QRegularExpression::escape(suffix)),
        QRegularExpression::CaseInsensitiveOption);
    const QDir dir(folder);
    const time_t now = ::time(nullptr);
    int removed = 0;
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!temporary.match(name).hasMatch())
            continue;
        const QByteArray path = nativeName(dir.filePath(name));
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st = {};
        // A writer holds the lock for the whole life of its file; this one
        // is kept until the file is gone, so no writer takes it over meanwhile.
        const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
            const time_t age = now - st.st_mtime;
            const bool abandoned = !locked && (st.st_size > 0 || age > 60);
            if ((abandoned || age > 3600) && ::unlink(path.constData()) == 0)
                ++removed;
        }
        ::close(fd);
    }
    return removed;
}
