#include "store/ProgramFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <stdexcept>

QString ProgramFolder() {
    QString dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                               : QFileInfo("/proc/self/exe").canonicalPath();
    return QDir::cleanPath(dir);
}

QString InstalledFile(const QString &name) {
    const QString beside = QDir(ProgramFolder()).filePath(name);
    if (QFileInfo(beside).isFile())
        return beside;
    // Where the install puts the data files, relative to the program's folder.
    const QString shared = QDir::cleanPath(
        QDir(ProgramFolder()).filePath(QStringLiteral(LEDGERLY_SHARE_FROM_BIN "/") + name));
    if (QFileInfo(shared).isFile())
        return shared;
    throw std::runtime_error(QStringLiteral("Ledgerly's file \"%1\" is missing: it is neither in "
                                            "\"%2\" nor in \"%3\". Please reinstall Ledgerly.")
                                 .arg(name, ProgramFolder(), QFileInfo(shared).path())
                                 .toStdString());
}
