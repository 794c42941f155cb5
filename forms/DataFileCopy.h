#pragma once

#include <QString>

// Whole-file copies of the data file (backup, restore, first run).

// Copies `source` over `target`. The bytes go to a temporary file beside
// `target` that is renamed into place only once it is complete, so `target`
// is either the old file or the complete copy, never a part. The result is
// readable and writable by its owner. Throws std::runtime_error naming the
// file and the reason when anything fails.
void CopyFileReplacing(const QString &source, const QString &target);

// Empty when `path` is a Ledgerly data file (an SQLite database holding the
// tables users, cates and data); otherwise a sentence saying what is wrong.
QString DataFileProblem(const QString &path);

// The extension test of backup files: the name's extension, from the last
// dot on, lower-cased, equals ".ledgerly".
bool HasBackupExtension(const QString &fileName);
