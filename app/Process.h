#pragma once

#include <QString>

// The process of the program: the check of the system it runs on, its
// marker, and the start of another instance.

// Ends the process with exit code 0 and a message on standard error unless
// the system is one the program runs on (Linux 3.0 or later).
void CheckPlatform();

// Holds a process-lifetime marker of the given name: a shared lock on a file
// of that name in the runtime folder. A second instance is never refused.
void CreateProcessMarker(const QString &name);

// Starts `fileName` detached with the words of `params`, split as a shell
// splits a simple command line (blanks separate words, double or single
// quotes group, a backslash escapes), in `workFolder` when it exists, else
// in the current folder. Never blocks, never reports.
void RunProgram(const QString &fileName, const QString &params,
                const QString &workFolder = QString());
