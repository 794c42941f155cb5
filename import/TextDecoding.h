#pragma once

#include "import/StatementLayout.h"

#include <QByteArray>
#include <QString>

// Statement files come in whatever encoding the bank's system writes: a
// byte-order mark decides; otherwise UTF-8 when the bytes are valid UTF-8,
// else Windows-1252 (which every byte sequence is).
class TTextDecoding {
public:
    static TTextEncoding Guess(const QByteArray &bytes);
    // The text without a byte-order mark and without NUL characters (which
    // some exports pad their end with), every line break ("\r\n", "\r")
    // made "\n" so that readers count lines alike.
    static QString Decode(const QByteArray &bytes, TTextEncoding encoding);
    // True for content that is mostly not text: more than a few control
    // characters, one in a hundred or more. NUL bytes count as control
    // characters, except at the end of the file (without a UTF-16 mark).
    static bool LooksBinary(const QByteArray &bytes);
};
