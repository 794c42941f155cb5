#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks of a start that goes on.
struct TCommandLine {
    // The backup file to restore before signing in, as an absolute path
    // (a relative name is taken from the folder the program was started
    // in); empty when none is named.
    QString Backup;
    // Given by the program's own Restore, whose user has chosen the backup
    // already: it is restored without asking again.
    bool Chosen = false;
};

// Reads the command line `words` (the program's name first). Handles
// --help, --version and errors itself (on standard output and error: no
// window system is needed) and returns the exit status then; otherwise
// fills `options`. Qt's own options are known and left to the application
// object.
std::optional<int> ReadCommandLine(const QStringList &words, TCommandLine &options);
