#include "store/FieldCodec.h"

#include <QVarLengthArray>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Value of each Base64 character, -1 for any other byte.
struct SextetTable {
    signed char Value[256];
    constexpr SextetTable() : Value() {
        for (int i = 0; i < 256; ++i)
            Value[i] = -1;
        for (int i = 0; i < 64; ++i)
            Value[static_cast<unsigned char>(kAlphabet[i])] = static_cast<signed char>(i);
    }
};
constexpr SextetTable kSextets;

int sextet(char c) {
    return kSextets.Value[static_cast<unsigned char>(c)];
}

} // namespace

qsizetype DecodeFieldInto(QByteArrayView in, char *out) {
    char *o = out;
    int group[4]; // values of the group's characters, -1 for "="
    int filled = 0;
    const char *p = in.data(), *const end = p + in.size();
    while (p != end) {
        // Groups of four plain characters, nearly every group, at once.
        while (filled == 0 && end - p >= 4) {
            const int a = sextet(p[0]), b = sextet(p[1]), c3 = sextet(p[2]), d = sextet(p[3]);
            if ((a | b | c3 | d) < 0)
                break;
            *o++ = char((a << 2) | (b >> 4));
            *o++ = char(((b & 0x0f) << 4) | (c3 >> 2));
            *o++ = char(((c3 & 0x03) << 6) | d);
            p += 4;
        }
        if (p == end)
            break;
        const char c = *p++;
        const int v = sextet(c);
        if (v < 0 && c != '=')
            continue; // stray characters are skipped wherever they stand
        group[filled++] = v;
        if (filled < 4)
            continue;
        filled = 0;
        // A group yields one byte, plus one for each of its third and fourth
        // characters that is not "="; "=" never ends decoding.
        const int a = qMax(group[0], 0), b = qMax(group[1], 0);
        const int c3 = qMax(group[2], 0), d = qMax(group[3], 0);
        *o++ = char((a << 2) | (b >> 4));
        if (group[2] >= 0)
            *o++ = char(((b & 0x0f) << 4) | (c3 >> 2));
        if (group[3] >= 0)
            *o++ = char(((c3 & 0x03) << 6) | d);
    }
    // A trailing partial group carries no whole byte count and is dropped.
    return o - out;
}

QString EncodeField(const QString &text) {
    // Base64 with no line breaks: the stored value is always one line.
    return QString::fromLatin1(text.toUtf8().toBase64());
}

QString DecodeField(QByteArrayView stored) {
    // Short values (all notes and categories in practice) go through a
    // buffer on the stack.
    QVarLengthArray<char, 512> buffer(DecodedSizeBound(stored.size()));
    return QString::fromUtf8(buffer.data(), DecodeFieldInto(stored, buffer.data()));
}
