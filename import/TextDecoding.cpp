#include "import/TextDecoding.h"

#include <QStringDecoder>

namespace {

// Control characters a text file may hold by a slip of its writer.
constexpr qsizetype kFewControls = 4;

// 0x80..0x9F of Windows-1252; the five unassigned bytes become U+FFFD.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

bool StartsWith(const QByteArray &bytes, const char *mark, int size) {
    return bytes.size() >= size && memcmp(bytes.constData(), mark, size) == 0;
}

QString NormaliseBreaks(QString text) {
    if (!text.contains(u'\r'))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            out += u'\n';
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF; checked without decoding.
bool IsUtf8(const QByteArray &bytes) {
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const uchar b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        uint lowest = 0, code = 0;
        if ((b & 0xE0) == 0xC0) {
            extra = 1, lowest = 0x80, code = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, lowest = 0x800, code = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, lowest = 0x10000, code = b & 0x07;
        } else {
            return false;
        }
        if (i + extra >= n) // cut off at the end
            return false;
        for (int k = 1; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

} // namespace

TTextEncoding TTextDecoding::Guess(const QByteArray &bytes) {
    if (StartsWith(bytes, "\xFF\xFE", 2))
        return TTextEncoding::Utf16LE;
    if (StartsWith(bytes, "\xFE\xFF", 2))
        return TTextEncoding::Utf16BE;
    if (StartsWith(bytes, "\xEF\xBB\xBF", 3))
        return TTextEncoding::Utf8;
    return IsUtf8(bytes) ? TTextEncoding::Utf8 : TTextEncoding::Windows1252;
}

QString TTextDecoding::Decode(const QByteArray &bytes, TTextEncoding encoding) {
    QString text;
    switch (encoding) {
    case TTextEncoding::Utf8: {
        const int skip = StartsWith(bytes, "\xEF\xBB\xBF", 3) ? 3 : 0;
        text = QString::fromUtf8(bytes.constData() + skip, bytes.size() - skip);
        break;
    }
    case TTextEncoding::Windows1252:
        text.resize(bytes.size());
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const uchar b = uchar(bytes.at(i));
            text[i] = (b >= 0x80 && b < 0xA0) ? QChar(kCp1252High[b - 0x80]) : QChar(char16_t(b));
        }
        break;
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE: {
        const bool le = encoding == TTextEncoding::Utf16LE;
        const int skip = StartsWith(bytes, le ? "\xFF\xFE" : "\xFE\xFF", 2) ? 2 : 0;
        QStringDecoder utf16(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        text = utf16(QByteArrayView(bytes.constData() + skip, bytes.size() - skip));
        break;
    }
    }
    text.remove(QChar(u'\0'));
    return NormaliseBreaks(std::move(text));
}

bool TTextDecoding::LooksBinary(const QByteArray &bytes) {
    if (StartsWith(bytes, "\xFF\xFE", 2) || StartsWith(bytes, "\xFE\xFF", 2))
        return false;
    // NUL bytes that pad the end of an export are no sign of binary data.
    qsizetype end = bytes.size();
    while (end > 0 && bytes.at(end - 1) == 0)
        --end;
    const qsizetype n = qMin<qsizetype>(end, 64 * 1024);
    qsizetype controls = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const uchar b = uchar(bytes.at(i));
        // Tab, line feed, form feed, carriage return and the old end-of-file
        // mark (0x1A) occur in text files.
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\f' && b != '\r' && b != 0x1A)
            ++controls;
    }
    // A few stray ones are slips of the program that wrote the file.
    return controls > kFewControls && controls * 100 >= n;
}
