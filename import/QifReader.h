#pragma once

#include "import/Statement.h"

#include <QString>
#include <QStringView>

// QIF files: the entries of the !Type:Bank, !Type:CCard and !Type:Cash
// sections (D date, T or U amount, P payee, M memo, L category, ^ ends an
// entry). Entries of other account sections (investments, other assets) are
// counted and reported as not read; lists (accounts, categories, classes,
// memorised entries) are skipped.
class TQifReader {
public:
    // Whether `text` starts with a QIF section line ("!Type:", "!Account",
    // "!Option:", "!Clear:").
    static bool Recognises(QStringView text);
    // The date order and the decimal separator of the file's entries.
    static TStatementGuess Guess(const QString &text, TTextEncoding encoding);
    static TStatement Read(QStringView text, const TStatementLayout &layout);
};
