#include "store/CheckedFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
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
        Fail(qt_error_string(EISDIR));
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
            Fail(qt_error_string(errno));
        }
    }
    // The umask has no say over a private file or over the mode of a file
    // that is replaced.
    if ((access == TAccess::Private || exists) && ::fchmod(FFd, mode) != 0)
        Fail(qt_error_string(errno));
}

TCheckedFile::~TCheckedFile() {
    Cancel();
}

void TCheckedFile::Write(QByteArrayView bytes) {
    if (FFd < 0)
        Fail(QStringLiteral("the file is already closed"));
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(FFd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            Fail(qt_error_string(errno));
        }
        data += written;
        left -= written;
    }
}

void TCheckedFile::Finish() {
    if (FFd < 0)
        Fail(QStringLiteral("the file is already closed"));
    // The data must be on the disk before the name points at it; a write
    // that the kernel could not complete shows up here or at close.
    if (::fsync(FFd) != 0)
        Fail(qt_error_string(errno));
    const int error = closeChecked(FFd);
    FFd = -1;
    if (error != 0)
        Fail(qt_error_string(error));
}

void TCheckedFile::Commit() {
    Finish();
    if (::rename(nativeName(FTempPath).constData(), nativeName(FTarget).constData()) != 0)
        Fail(qt_error_string(errno));
    FTempPath.clear();
    syncFolder(QFileInfo(FTarget).absolutePath());
}

bool TCheckedFile::CommitNew() {
    Finish();
    const QByteArray from = nativeName(FTempPath);
    const QByteArray to = nativeName(FTarget);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST) {
            Cancel();
            return false;
        }
        if (errno != EINVAL && errno != ENOSYS)
            Fail(qt_error_string(errno));
        // A file system without that rename: a second name for the file,
        // which also never replaces one.
        if (::link(from.constData(), to.constData()) != 0) {
            if (errno != EEXIST)
                Fail(qt_error_string(errno));
            Cancel();
            return false;
        }
        ::unlink(from.constData());
    }
    FTempPath.clear();
    syncFolder(QFileInfo(FTarget).absolutePath());
    return true;
}

void TCheckedFile::Cancel() {
    if (FFd >= 0) {
        ::close(FFd);
        FFd = -1;
    }
    if (!FTempPath.isEmpty()) {
        ::unlink(nativeName(FTempPath).constData());
        FTempPath.clear();
    }
}

void TCheckedFile::Fail(const QString &reason) {
    Cancel();
    throw TFileError(QStringLiteral("Cannot write \"%1\": %2").arg(shownName(FTarget), reason));
}

void TCheckedFile::WriteWhole(const QString &target, QByteArrayView bytes, TAccess access) {
    TCheckedFile file(target, access);
    file.Write(bytes);
    file.Commit();
}
