#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

class QObject;

// Small host services shared by the whole program: the field codec, the
// program and application-data folders, whole-file I/O, resource texts,
// starting a detached program, flat buttons and the start-up checks.
// Never instantiated.
class TKestrel {
public:
    // Base64 of the text's UTF-8 bytes, one line, padded.
    static QString EncodeField(const QString &text);
    // Whole content of a file; throws std::runtime_error when it cannot be read.
    static QByteArray ReadFileText(const QString &fileName);
    // Writes the whole file through the checked writer (store/CheckedFile.h);
    // throws TFileError naming the file and the reason, the old file kept.
    static void WriteFileText(const QString &fileName, const QByteArray &data);
    // Folder of the running program, without / with a trailing separator.
    static QString ProgramFolder();
    static QString ProgramPath();
    // Path of one of the files installed with the program (the export
    // templates, the empty data file): beside the program, as in the build
    // folder, or in ../share/ledgerly relative to it, as when installed.
    // Throws std::runtime_error naming both places when it is in neither.
    static QString InstalledFile(const QString &name);
    // Bytes of the program resource of that name (":/<name>"); throws when missing.
    static QByteArray ReadResourceText(const QString &name);
    // Per-user application-data folder (XDG data home); empty when unknown.
    static QString SpecialFolderPath();
    // The named folder under the application-data folder, created when missing;
    // an empty name uses the application's name. Empty when it cannot exist.
    static QString AppDataFolder(const QString &name);
    // Starts a detached process; never blocks, never reports.
    static void RunProgram(const QString &fileName, const QString &params,
                           const QString &workFolder, int showCmd);
    // Gives every push button owned by the form the flat style.
    static void FlattenButtons(QObject *form);
    // Operating-system test of start-up.
    static bool IsSupportedPlatform();
    // Ends the process with exit code 0 and a message on an unsupported system.
    static void CheckPlatform();
    // Holds a process-lifetime marker of the given name; never tested.
    static void CreateProcessMarker(const QString &name);
};

// Lenient Base64 decoding: characters outside the alphabet are skipped,
// "=" does not end decoding, a trailing partial group is dropped.
QString DecodeField(const QString &stored);
// The same decoding, giving the raw bytes.
QByteArray DecodeFieldBytes(const QString &stored);
// The same decoding of a stored value given as its bytes (as the database
// hands it out), giving the raw bytes.
QByteArray DecodeFieldRaw(QByteArrayView stored);
// The same decoding into `out`, which holds at least
// DecodedSizeBound(stored.size()) bytes; returns the number of bytes written.
qsizetype DecodeFieldInto(QByteArrayView stored, char *out);
constexpr qsizetype DecodedSizeBound(qsizetype storedSize) {
    return storedSize / 4 * 3;
}
int DayOfMonth(const QDate &date);
QDate AddDays(const QDate &date, int days);
