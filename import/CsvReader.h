#pragma once

#include "import/Statement.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// One row of a CSV file and the 1-based line it starts on.
struct TCsvRecord {
    QStringList Fields;
    int Line = 0;
    bool Cut = false; // a field was too long and was cut (such a row is not read)
};

// CSV statements of any bank: the delimiter, the lines above the header, the
// columns and the way dates and amounts are written are guessed from the
// data; the guess can be changed and applied again.
class TCsvReader {
public:
    // Lines looked at to find the delimiter, the header and a kept layout.
    static constexpr int kGuessLines = 400;

    // RFC 4180 rows of `text` (line breaks "\n"), the first on line
    // `firstLine`: fields quoted with '"' may hold the delimiter, doubled
    // quotes and line breaks. A quote that is never closed is read as an
    // ordinary character. Blank lines are left out. At most `maxRecords`
    // rows when not negative.
    static QList<TCsvRecord> Split(QStringView text, QChar delimiter, int firstLine = 1,
                                   qsizetype maxRecords = -1);

    // The layout of `text`, decoded from `encoding`. Throws TImportError
    // when the text has no column of dates or no column of amounts, or only
    // a header.
    static TStatementGuess Guess(const QString &text, TTextEncoding encoding);
    // Reads `text` with `layout`. Throws TImportError when the layout lacks
    // a date column, an amount column or a settled date order.
    static TStatement Read(const QString &text, const TStatementLayout &layout);

    // The column names under `layout` and the header's signature (see
    // StatementColumns).
    static QStringList Columns(const QString &text, const TStatementLayout &layout,
                               QString *headerSignature = nullptr);

    // A text that identifies a header row, whatever the case and spacing of
    // its names: the SHA-1 of the names.
    static QString HeaderSignature(const QStringList &header);
    // `profile` fitted to `text` when the header row it was made from is
    // among the first lines (SkipLines set to where it is), else nullopt.
    static std::optional<TStatementLayout> Fit(const QString &text,
                                               const TStatementLayout &profile);
};
