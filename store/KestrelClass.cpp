#include "store/KestrelClass.h"

#include "store/CheckedFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QSysInfo>
#include <QVariant>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Value of each Base64 character, -1 for any other byte.
struct SextetTable {
    signed char Value[256];
    constexpr SextetTable() : Value() {
        for (int i = 0; i < 256; ++i)
            Value[i] = -1;
        for (int i = 0; i < 64; ++i)
            Value[static_cast<unsigned char>(kAlphabet[i])] = static_cast<signed char>(i);
    }
};
constexpr SextetTable kSextets;

int sextet(char c) {
    return kSextets.Value[static_cast<unsigned char>(c)];
}

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

QString TKestrel::EncodeField(const QString &text) {
    // Base64 with no line breaks: the stored value is always one line.
    return QString::fromLatin1(text.toUtf8().toBase64());
}

QByteArray DecodeFieldBytes(const QString &stored) {
    return DecodeFieldRaw(stored.toLatin1());
}

qsizetype DecodeFieldInto(QByteArrayView in, char *out) {
    char *o = out;
    int group[4]; // values of the group's characters, -1 for "="
    int filled = 0;
    const char *p = in.data(), *const end = p + in.size();
    while (p != end) {
        // Groups of four plain characters, nearly every group, at once.
        while (filled == 0 && end - p >= 4) {
            const int a = sextet(p[0]), b = sextet(p[1]), c3 = sextet(p[2]), d = sextet(p[3]);
            if ((a | b | c3 | d) < 0)
                break;
            *o++ = char((a << 2) | (b >> 4));
            *o++ = char(((b & 0x0f) << 4) | (c3 >> 2));
            *o++ = char(((c3 & 0x03) << 6) | d);
            p += 4;
        }
        if (p == end)
            break;
        const char c = *p++;
        const int v = sextet(c);
        if (v < 0 && c != '=')
            continue; // stray characters are skipped wherever they stand
        group[filled++] = v;
        if (filled < 4)
            continue;
        filled = 0;
        // A group yields one byte, plus one for each of its third and fourth
        // characters that is not "="; "=" never ends decoding.
        const int a = qMax(group[0], 0), b = qMax(group[1], 0);
        const int c3 = qMax(group[2], 0), d = qMax(group[3], 0);
        *o++ = char((a << 2) | (b >> 4));
        if (group[2] >= 0)
            *o++ = char(((b & 0x0f) << 4) | (c3 >> 2));
        if (group[3] >= 0)
            *o++ = char(((c3 & 0x03) << 6) | d);
    }
    // A trailing partial group carries no whole byte count and is dropped.
    return o - out;
}

QByteArray DecodeFieldRaw(QByteArrayView in) {
    if (in.isEmpty())
        return QByteArray();
    QByteArray out(DecodedSizeBound(in.size()), Qt::Uninitialized);
    out.truncate(DecodeFieldInto(in, out.data()));
    return out;
}

QString DecodeField(const QString &stored) {
    return QString::fromUtf8(DecodeFieldBytes(stored));
}

QByteArray TKestrel::ReadFileText(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("Cannot read \"%1\": %2")
                                     .arg(fileName, file.errorString())
                                     .toStdString());
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw std::runtime_error(QStringLiteral("Cannot read \"%1\": %2")
                                     .arg(fileName, file.errorString())
                                     .toStdString());
    return data;
}

void TKestrel::WriteFileText(const QString &fileName, const QByteArray &data) {
    // Through the checked writer: a failed write (a full disk) raises and
    // leaves an existing file as it was. Exports are the user's documents:
    // they get the user's usual file mode, not the data file's privacy.
    TCheckedFile::WriteWhole(fileName, data, TCheckedFile::TAccess::Shared);
}

QString TKestrel::ProgramFolder() {
    QString dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                               : QFileInfo("/proc/self/exe").canonicalPath();
    return QDir::cleanPath(dir);
}

QString TKestrel::ProgramPath() {
    QString dir = ProgramFolder();
    return dir.endsWith('/') ? dir : dir + '/';
}

QString TKestrel::InstalledFile(const QString &name) {
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

QByteArray TKestrel::ReadResourceText(const QString &name) {
    QFile file(QStringLiteral(":/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QStringLiteral("Resource \"%1\" not found.").arg(name).toStdString());
    return file.readAll();
}

QString TKestrel::SpecialFolderPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString TKestrel::AppDataFolder(const QString &name) {
    QString base = SpecialFolderPath();
    QString leaf = name.isEmpty() ? QCoreApplication::applicationName() : name;
    if (base.isEmpty())
        return QString();
    QString path = QDir(base).filePath(leaf);
    if (!QFileInfo(path).isDir() && QDir().mkpath(path)) {
        // The user's books are private: a folder made here is the owner's
        // alone, as a per-user application-data folder should be.
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ExeOwner);
    }
    return QFileInfo(path).isDir() ? path : QString();
}

void TKestrel::RunProgram(const QString &fileName, const QString &params, const QString &workFolder,
                          int showCmd) {
    Q_UNUSED(showCmd); // windows of the new process show themselves normally
    QString program = fileName;
    program.remove('"');
    const QString folder = QFileInfo(workFolder).isDir() ? workFolder : QString();
    QProcess::startDetached(program, splitParams(params), folder);
}

namespace {

// Flattens the push buttons among `parent`'s descendants. Dialogs the form
// owns (file dialogs, message boxes) are windows of their own: their
// buttons keep the ordinary look.
void flattenChildButtons(QObject *parent) {
    for (QObject *child : parent->children()) {
        if (!child->isWidgetType() || child->inherits("QDialog"))
            continue;
        // Push buttons only; tool buttons, radio buttons and check boxes keep their look.
        if (child->inherits("QPushButton"))
            child->setProperty("flat", true);
        flattenChildButtons(child);
    }
}

} // namespace

void TKestrel::FlattenButtons(QObject *form) {
    if (!form || !form->isWidgetType())
        return;
    flattenChildButtons(form);
}

bool TKestrel::IsSupportedPlatform() {
    // Linux 3.0 or later; older kernels lack what Qt 6 relies on.
    if (QSysInfo::kernelType() != QLatin1String("linux"))
        return false;
    const int major = QSysInfo::kernelVersion().section('.', 0, 0).toInt();
    return major >= 3;
}

void TKestrel::CheckPlatform() {
    if (IsSupportedPlatform())
        return;
    // No window system may exist yet: the message goes to standard error.
    std::fputs("Error: This program must be run under Windows 2000 or later.\n", stderr);
    std::exit(0);
}

void TKestrel::CreateProcessMarker(const QString &name) {
    // A shared lock on a file named after the marker, held until the process
    // ends (the descriptor is never closed). Other instances take the same
    // shared lock, so a second instance is never refused.
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    const QByteArray path = QFile::encodeName(QDir(dir).filePath(name));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0)
        (void)::flock(fd, LOCK_SH | LOCK_NB);
}

int DayOfMonth(const QDate &date) {
    return date.day();
}

QDate AddDays(const QDate &date, int days) {
    return date.addDays(days);
}
