#include "forms/DataFileCopy.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString &what, const QString &file, const QString &reason) {
    throw std::runtime_error(QStringLiteral("%1 \"%2\": %3")
                                 .arg(what, QFileInfo(file).absoluteFilePath(), reason)
                                 .toStdString());
}

} // namespace

void CopyFileReplacing(const QString &source, const QString &target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        fail(QStringLiteral("Could not read"), source, in.errorString());

    QSaveFile out(target);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        fail(QStringLiteral("Could not write"), target, out.errorString());

    QByteArray chunk;
    while (!(chunk = in.read(1 << 20)).isEmpty()) {
        if (out.write(chunk) != chunk.size()) {
            const QString reason = out.errorString();
            out.cancelWriting();
            fail(QStringLiteral("Could not write"), target, reason);
        }
    }
    if (in.error() != QFileDevice::NoError) {
        const QString reason = in.errorString();
        out.cancelWriting();
        fail(QStringLiteral("Could not read"), source, reason);
    }
    if (!out.commit())
        fail(QStringLiteral("Could not write"), target, out.errorString());

    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::ReadOwner |
                                      QFileDevice::WriteOwner);
}

QString DataFileProblem(const QString &path) {
    const QFileInfo info(path);
    if (!info.isFile())
        return QStringLiteral("The file \"%1\" does not exist.").arg(path);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("The file \"%1\" cannot be read: %2").arg(path, file.errorString());
    const QByteArray header = file.read(16);
    file.close();
    if (header != QByteArray("SQLite format 3\0", 16))
        return QStringLiteral("The file \"%1\" is not a Ledgerly data file.").arg(path);

    QStringList tables;
    QString error;
    const QString connection = QStringLiteral("datafile-check-") + QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
                while (query.next())
                    tables << query.value(0).toString().toLower();
            } else {
                error = query.lastError().text();
            }
            query.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);

    if (!error.isEmpty())
        return QStringLiteral("The file \"%1\" is not a Ledgerly data file (%2).").arg(path, error);
    for (const char *name : {"users", "cates", "data"}) {
        if (!tables.contains(QLatin1String(name)))
            return QStringLiteral("The file \"%1\" is not a Ledgerly data file: it has no table "
                                  "\"%2\".")
                .arg(path, QLatin1String(name));
    }
    return QString();
}

bool HasBackupExtension(const QString &fileName) {
    const QString name = QFileInfo(fileName).fileName();
    const int dot = name.lastIndexOf('.');
    return dot >= 0 && name.mid(dot).toLower() == QLatin1String(".ledgerly");
}
