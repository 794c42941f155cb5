#pragma once

#include "import/Statement.h"
#include "store/Records.h"

#include <QList>
#include <QSet>
#include <QString>

// Why a statement line is taken for one already in the book.
enum class TDuplicateKind {
    None,       // a new entry
    Record,     // matches a stored record or a pending row
    KnownId,    // its OFX FITID was imported before
    RepeatedId, // an earlier line of the file has the same FITID
};

struct TDuplicate {
    TDuplicateKind Kind = TDuplicateKind::None;
    int Record = -1; // index of the matched record, when one was matched
    int Line = -1;   // RepeatedId: index of the earlier line
};

// The duplicate rule of statement import. A line matches a record of the
// same type (Expense for money out, Income for money in), the same amount
// and a date at most kMaxDays away; each record matches at most one line, so
// two real coffees of one day stay two lines when only one was stored. The
// pairing is the largest possible one, so a re-imported file matches every
// line it stored. A line whose FITID was imported before is always a
// duplicate, as is a line that repeats the FITID of an earlier line of the
// same account.
//
// Lines of one file are not matched with each other by amount and date: a
// statement lists every payment once, so two equal lines are two payments.
class TDuplicates {
public:
    static constexpr int kMaxDays = 3;

    // One answer per line, in the lines' order. `records` are the stored
    // records of the period and the pending rows; `knownIds` the FITIDs
    // imported before (see StatementImportId). Sorts once:
    // O((lines + records) log).
    static QList<TDuplicate> Find(const QList<TStatementLine> &lines, const QList<TRecord> &records,
                                  const QSet<TImportId> &knownIds);
};
