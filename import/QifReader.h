#pragma once

#include "import/Statement.h"

#include <QString>
#include <QStringView>

// QIF files: the entries of the !Type:Bank, !Type:CCard and !Type:Cash
// sections (D date, T or U amount, P payee, M memo, L category, ^ ends an
// entry; the lines of its splits are passed over). Entries of other account
// sections (investments, other assets) are counted and reported as not read,
// and a file of investment entries only is refused; lists (accounts,
// categories, classes, memorised entries) are skipped. Comment lines ("#",
// ";") above the first header are skipped.
class TQifReader {
public:
    // Whether `text` starts with a QIF section line ("!Type:", "!Account",
    // "!Option:", "!Clear:") after any comment lines.
    static bool Recognises(QStringView text);
    // The date order and the decimal separator of the file's entries.
    static TStatementGuess Guess(const QString &text, TTextEncoding encoding);
    // Throws TImportError for a file of investment entries only, and for a
    // damaged one: no entry read, and lines in a bank section that are no
    // QIF lines.
    static TStatement Read(QStringView text, const TStatementLayout &layout);
};
