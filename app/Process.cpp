#include "app/Process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QSysInfo>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Splits a parameter text the way a shell would for a simple command line:
// blanks separate words, double or single quotes group, backslash escapes.
QStringList splitParams(const QString &params) {
    QStringList words;
    QString word;
    bool inWord = false;
    QChar quote;
    for (qsizetype i = 0; i < params.size(); ++i) {
        const QChar c = params.at(i);
        if (!quote.isNull()) {
            if (c == quote) {
                quote = QChar();
            } else if (c == '\\' && quote == '"' && i + 1 < params.size() &&
                       (params.at(i + 1) == '"' || params.at(i + 1) == '\\')) {
                word += params.at(++i);
            } else {
                word += c;
            }
        } else if (c == '"' || c == '\'') {
            quote = c;
            inWord = true;
        } else if (c == '\\' && i + 1 < params.size()) {
            word += params.at(++i);
            inWord = true;
        } else if (c.isSpace()) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

} // namespace

void CheckPlatform() {
    // Linux 3.0 or later; older kernels lack what Qt 6 relies on.
    if (QSysInfo::kernelType() == QLatin1String("linux") &&
        QSysInfo::kernelVersion().section('.', 0, 0).toInt() >= 3)
        return;
    // No window system may exist yet: the message goes to standard error.
    std::fputs("Error: This program must be run under Windows 2000 or later.\n", stderr);
    std::exit(0);
}

void CreateProcessMarker(const QString &name) {
    // The descriptor is never closed: the lock lasts as long as the process.
    // Other instances take the same shared lock.
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    const QByteArray path = QFile::encodeName(QDir(dir).filePath(name));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0)
        (void)::flock(fd, LOCK_SH | LOCK_NB);
}

void RunProgram(const QString &fileName, const QString &params, const QString &workFolder) {
    QString program = fileName;
    program.remove('"');
    const QString folder = QFileInfo(workFolder).isDir() ? workFolder : QString();
    QProcess::startDetached(program, splitParams(params), folder);
}
