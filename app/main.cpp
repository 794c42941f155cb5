#include "forms/ErrorReport.h"
#include "forms/MainForm.h"
#include "forms/WindowFont.h"
#include "store/KestrelClass.h"
#include "store/Memory.h"

#include "LedgerlyVersion.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <exception>
#include <optional>

namespace {

// The last net of the error report: an exception that escaped every handler
// is shown and the program goes on.
class TLedgerlyApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override {
        bool result = false;
        RunReported(activeWindow(), [&] { result = QApplication::notify(receiver, event); });
        return result;
    }
};

// Exit status of a command line that names an unknown option or lacks an
// option's value.
constexpr int kUsageError = 2;

// Qt's own options, which the application object reads and removes. The
// command line is checked before that object exists (so that --help,
// --version and a wrong option need no window system), so they are known
// here too, without being shown in the help.
const char *const kQtOptionsWithValue[] = {
    "style",   "stylesheet",    "qmljsdebugger",   "platform",    "platformpluginpath",
    "plugin",  "platformtheme", "qwindowgeometry", "qwindowicon", "qwindowtitle",
    "session", "display",       "geometry"};
const char *const kQtFlags[] = {"reverse", "widgetcount"};

void Print(std::FILE *stream, const QString &text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// Reads the command line: handles --help, --version and errors itself and
// returns the exit status then; otherwise leaves the backup file named on
// the command line (empty when none) in `backup`.
std::optional<int> ReadCommandLine(int argc, char *argv[], QString &backup, bool &chosen) {
    QStringList words;
    for (int i = 0; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    // Qt's options are single words after one dash ("-platform offscreen").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Ledgerly keeps a household's expenses and income in one book."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and exits."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and exits."));
    // Given by the program's own Restore, whose user has chosen the backup
    // already: it is restored without asking again.
    QCommandLineOption restoreChosen(QStringLiteral("restore-chosen"));
    restoreChosen.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(restoreChosen);
    for (const char *name : kQtOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : kQtFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    parser.addPositionalArgument(
        QStringLiteral("backup"),
        QStringLiteral("A backup file (*.ledgerly) to restore over the data file before "
                       "signing in."),
        QStringLiteral("[backup]"));

    // The usage line names the program as it was called.
    const QString program = QFileInfo(words.value(0, QStringLiteral("ledgerly"))).fileName();
    const auto helpText = [&] {
        return parser.helpText().replace(QStringLiteral("<executable_name>"), program);
    };
    if (!parser.parse(words)) {
        Print(stderr, QStringLiteral("%1: %2\n\n%3").arg(program, parser.errorText(), helpText()));
        return kUsageError;
    }
    if (parser.isSet(help)) {
        Print(stdout, helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        Print(stdout, QStringLiteral("Ledgerly %1\n").arg(QStringLiteral(LEDGERLY_VERSION)));
        return 0;
    }
    backup = parser.positionalArguments().value(0);
    chosen = parser.isSet(restoreChosen);
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[]) {
    TKestrel::CheckPlatform();
    QString backup;
    bool chosen = false;
    if (const std::optional<int> status = ReadCommandLine(argc, argv, backup, chosen))
        return *status;

    KeepFreedMemoryForReuse();
    TLedgerlyApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ledgerly"));
    QApplication::setApplicationVersion(QStringLiteral(LEDGERLY_VERSION));
    // Ties the windows to the installed desktop entry (icon, name).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.ledgerly.Ledgerly"));
    QApplication::setFont(DefaultWindowFont());
    // A backup named relative to the folder the program was started from
    // is found there, not in the program's folder that becomes current.
    QStringList arguments{QCoreApplication::arguments().value(0)};
    if (!backup.isEmpty()) {
        arguments << QFileInfo(backup).absoluteFilePath();
        if (chosen)
            arguments << QStringLiteral("--restore-chosen");
    }
    QDir::setCurrent(TKestrel::ProgramFolder());
    TKestrel::CreateProcessMarker(QStringLiteral("Kestrel-Software-Ledgerly-AppMutex"));

    TfrmMain frmMain(nullptr, arguments);
    app.exec();
    return 0;
}
