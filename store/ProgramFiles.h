#pragma once

#include <QString>

// Where the program and the files installed with it lie.

// Folder of the running program, without a trailing separator.
QString ProgramFolder();

// Path of one of the files installed with the program (the export
// templates, the empty data file): beside the program, as in the build
// folder, or in ../share/ledgerly relative to it, as when installed.
// Throws std::runtime_error naming both places when it is in neither.
QString InstalledFile(const QString &name);
