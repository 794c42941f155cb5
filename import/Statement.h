#pragma once

#include "import/StatementLayout.h"
#include "store/Records.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <optional>
#include <stdexcept>

// Bank statements read into lines for the pending lists: CSV, OFX and QIF,
// the format told by the content, never by the file name.

struct TStatementLine {
    QDate Date;
    qint64 Cents = 0;     // money in > 0, money out < 0
    QString Payee;        // "" when the file has none
    QString Memo;         // "" when the file has none
    QString Category;     // from a QIF L line, else ""
    QString Id;           // OFX FITID, else ""
    int Line = 0;         // 1-based line of the file where the entry starts
    QString Account = {}; // OFX: the bank and account the entry belongs to, else ""
};

// An entry that could not be read and was left out, or a part of the file
// that was not read (Line 0 when it is no single line).
struct TStatementProblem {
    int Line = 0;
    QString Reason;
};

struct TStatement {
    QList<TStatementLine> Lines;       // in file order
    QList<TStatementProblem> Problems; // lines left out
};

class TImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    explicit TImportError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

// Why a statement that holds only investment transactions is refused (the
// English words; the user reads them in the user's language).
inline constexpr const char *kInvestmentStatement = QT_TRANSLATE_NOOP(
    "Statement", "This statement holds investment transactions, which Ledgerly does not import.");
// The one problem of a statement without entries, in English and as the
// user reads it.
inline constexpr const char *kNoStatementEntries =
    QT_TRANSLATE_NOOP("Statement", "The statement has no entries.");
QString NoStatementEntries();

// Reads a statement file of any supported format with the guessed layout.
// Throws TImportError (what() says why) when the file is none of the formats,
// is a damaged OFX or QIF file, holds investment transactions only, or the
// date order cannot be settled from the data. A statement without entries
// gives no lines and the one problem kNoStatementEntries.
TStatement ReadStatementFile(const QString &path);

// The steps of ReadStatementFile for the import window, which shows the
// guessed layout and lets the user change it before reading.

// Statement files larger than this are refused.
inline constexpr qint64 kMaxStatementBytes = 32 * 1024 * 1024;
// The bytes of the file at `path`; throws TImportError when it cannot be
// read or is larger than kMaxStatementBytes.
QByteArray ReadStatementBytes(const QString &path);
// The format and layout the content shows. Throws TImportError for an empty
// file, binary data, text that is none of the formats, and an OFX or QIF
// file that cannot be read (damaged, or investment transactions only; a QIF
// file whose date order is still to be chosen is read only then).
TStatementGuess GuessStatement(const QByteArray &bytes);
// Reads `bytes` with `layout` (a guess, changed or not, or a kept profile).
TStatement ReadStatement(const QByteArray &bytes, const TStatementLayout &layout);
// A kept CSV layout fitted to `bytes` when the header it was made from is
// found near the top of the file, else nullopt.
std::optional<TStatementLayout> FitStatementLayout(const QByteArray &bytes,
                                                   const TStatementLayout &profile);

// The names of the CSV columns under `layout`: the texts of its header row,
// else "Column 1", "Column 2", ... as many as its first row has. With
// `headerSignature`, also what identifies that header (empty without one),
// for a layout to be kept as a bank profile.
QStringList StatementColumns(const QByteArray &bytes, const TStatementLayout &layout,
                             QString *headerSignature = nullptr);

// The identity under which an imported line is remembered: its FITID within
// its account (empty for a line without a FITID).
TImportId StatementImportId(const TStatementLine &line);

// The notes of the record an imported line becomes: payee and memo joined
// by " - " (the memo left out when it repeats the payee).
QString StatementNotes(const TStatementLine &line);
