#include "app/CommandLine.h"

#include "LedgerlyVersion.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

namespace {

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

} // namespace

std::optional<int> ReadCommandLine(const QStringList &words, TCommandLine &options) {
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
    const QString backup = parser.positionalArguments().value(0);
    options.Backup = backup.isEmpty() ? QString() : QFileInfo(backup).absoluteFilePath();
    options.Chosen = parser.isSet(restoreChosen);
    return std::nullopt;
}
