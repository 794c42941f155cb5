#pragma once

#include <QByteArrayView>
#include <QString>

// How the data file keeps every text a user typed (user names, categories,
// notes, rules): one line of standard, padded Base64 of the text's UTF-8
// bytes.

QString EncodeField(const QString &text);

// Lenient decoding of a stored value as the database hands it out:
// characters outside the Base64 alphabet are skipped, "=" does not end
// decoding, a trailing partial group is dropped.
QString DecodeField(QByteArrayView stored);

// The same decoding into `out`, which holds at least
// DecodedSizeBound(stored.size()) bytes, for readers that look at the bytes
// before they make a text of them; returns the number of bytes written.
qsizetype DecodeFieldInto(QByteArrayView stored, char *out);
constexpr qsizetype DecodedSizeBound(qsizetype storedSize) {
    return storedSize / 4 * 3;
}
