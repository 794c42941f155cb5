#include "export/BiffWorkbook.h"

#include "export/ExportTypes.h"

#include <QCoreApplication>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kMaxRecordData = 8224; // BIFF8 record data limit
constexpr int kRowRecordSize = 20;   // header + 16 bytes
constexpr int kMinStreamSize = 4096;
constexpr quint16 kVersionBiff8 = 0x0600;
constexpr quint16 kGlobalsKind = 0x0005;

// Record types of ours beyond the ones the class names.
enum : quint16 {
    NUMBER = 0x0203,
    RK = 0x027E,
    MULRK = 0x00BD,
    BLANK = 0x0201,
    MULBLANK = 0x00BE,
    FORMULA = 0x0006,
    STRING = 0x0207,
    BOOLERR = 0x0205,
    SHRFMLA = 0x04BC,
    ARRAY = 0x0221,
    TABLE = 0x0236,
    CODEPAGE = 0x0042,
    WINDOW1 = 0x003D,
    FONT = 0x0031,
    XF = 0x00E0,
    STYLE = 0x0293,
    DATEMODE = 0x0022,
    COLINFO = 0x007D,
    WINDOW2 = 0x023E,
};

quint16 U16(const QByteArray &data, qsizetype at) {
    return at + 2 <= data.size() ? qFromLittleEndian<quint16>(data.constData() + at) : 0;
}
quint32 U32(const QByteArray &data, qsizetype at) {
    return at + 4 <= data.size() ? qFromLittleEndian<quint32>(data.constData() + at) : 0;
}
void Put16(QByteArray &out, quint16 v) {
    const char b[2] = {char(v & 0xFF), char(v >> 8)};
    out.append(b, 2);
}
void Put32(QByteArray &out, quint32 v) {
    const char b[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                       char(v >> 24)};
    out.append(b, 4);
}
void Set16(QByteArray &data, qsizetype at, quint16 v) {
    qToLittleEndian<quint16>(v, data.data() + at);
}
void Set32(QByteArray &data, qsizetype at, quint32 v) {
    qToLittleEndian<quint32>(v, data.data() + at);
}

void PutRecord(QByteArray &out, quint16 type, const QByteArray &data) {
    const qsizetype at = out.size();
    out.resize(at + 4 + data.size());
    char *p = out.data() + at;
    qToLittleEndian<quint16>(type, p);
    qToLittleEndian<quint16>(quint16(data.size()), p + 2);
    memcpy(p + 4, data.constData(), data.size());
}

bool IsCompressible(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
}

void PutChars(QByteArray &out, QStringView text, bool compressed) {
    const qsizetype at = out.size();
    out.resize(at + text.size() * (compressed ? 1 : 2));
    char *p = out.data() + at;
    if (compressed) {
        for (QChar c : text)
            *p++ = char(c.unicode());
    } else {
        for (QChar c : text) {
            qToLittleEndian<quint16>(c.unicode(), p);
            p += 2;
        }
    }
}

// Records that belong to the row blocks after DIMENSIONS.
bool IsRowBlockRecord(quint16 type) {
    switch (type) {
    case TBiffWorkbook::ROW:
    case TBiffWorkbook::DBCELL:
    case TBiffWorkbook::LABELSST:
    case TBiffWorkbook::LABEL:
    case TBiffWorkbook::RSTRING:
    case TBiffWorkbook::CONTINUE:
    case NUMBER:
    case RK:
    case MULRK:
    case BLANK:
    case MULBLANK:
    case FORMULA:
    case STRING:
    case BOOLERR:
    case SHRFMLA:
    case ARRAY:
    case TABLE:
        return true;
    default:
        return false;
    }
}

// The last row a record occupies, or -1 when it is not tied to a row.
int LastRowOf(const TBiffRecord &r) {
    switch (r.Type) {
    case TBiffWorkbook::ROW:
    case TBiffWorkbook::LABELSST:
    case TBiffWorkbook::LABEL:
    case TBiffWorkbook::RSTRING:
    case NUMBER:
    case RK:
    case MULRK:
    case BLANK:
    case MULBLANK:
    case FORMULA:
    case BOOLERR:
        return r.Data.size() >= 2 ? U16(r.Data, 0) : -1;
    case SHRFMLA:
    case ARRAY:
    case TABLE:
        return r.Data.size() >= 4 ? U16(r.Data, 2) : -1;
    default:
        return -1;
    }
}

int FirstRowOf(const TBiffRecord &r) {
    const int last = LastRowOf(r);
    return last < 0 ? -1 : U16(r.Data, 0);
}

[[noreturn]] void Damaged(const QString &what) {
    throw TExportError(
        QCoreApplication::translate("TBiffWorkbook", "The template workbook is damaged: %1.")
            .arg(what));
}

// Reads the shared string table across its SST and CONTINUE records. Text
// that runs into the next record starts there with a new flags byte.
class TSstReader {
public:
    explicit TSstReader(const QList<QByteArray> &segments) : FSegs(segments) {}

    bool AtEnd() {
        while (FSeg < FSegs.size() && FPos >= FSegs[FSeg].size()) {
            ++FSeg;
            FPos = 0;
        }
        return FSeg >= FSegs.size();
    }
    quint8 Byte() {
        if (AtEnd())
            Damaged(
                QCoreApplication::translate("TBiffWorkbook", "the shared string table ends early"));
        return quint8(FSegs[FSeg][FPos++]);
    }
    quint16 Word() { return quint16(Byte() | (Byte() << 8)); }
    quint32 Long() { return quint32(Word()) | (quint32(Word()) << 16); }
    QByteArray Bytes(quint32 count) {
        QByteArray bytes;
        bytes.reserve(std::min<quint32>(count, 65536)); // a damaged count must not allocate
        while (count--)
            bytes.append(char(Byte()));
        return bytes;
    }
    QString Chars(int count, bool high) {
        QString text;
        text.reserve(count);
        while (count > 0) {
            if (FPos >= FSegs[FSeg].size()) {
                if (AtEnd())
                    Damaged(
                        QCoreApplication::translate("TBiffWorkbook", "a shared string ends early"));
                high = Byte() & 1; // a continued string restates its width
            }
            const QByteArray &seg = FSegs[FSeg];
            const qsizetype unit = high ? 2 : 1;
            const int n = int(std::min<qsizetype>(count, (seg.size() - FPos) / unit));
            if (n == 0)
                Damaged(QCoreApplication::translate("TBiffWorkbook",
                                                    "a shared string is split inside a character"));
            for (int i = 0; i < n; ++i)
                text.append(high ? QChar(U16(seg, FPos + 2 * i)) : QChar(quint8(seg[FPos + i])));
            FPos += n * unit;
            count -= n;
        }
        return text;
    }

private:
    const QList<QByteArray> &FSegs;
    int FSeg = 0;
    qsizetype FPos = 0;
};

// Writes records of at most kMaxRecordData bytes; the SST writer starts
// CONTINUE records as it goes.
class TRecordWriter {
public:
    explicit TRecordWriter(QByteArray &out) : FOut(out) {}
    void Begin(quint16 type) {
        FStart = FOut.size();
        Put16(FOut, type);
        Put16(FOut, 0);
    }
    void End() { Set16(FOut, FStart + 2, quint16(FOut.size() - FStart - 4)); }
    void Next() {
        End();
        Begin(TBiffWorkbook::CONTINUE);
    }
    qsizetype Space() const { return kMaxRecordData - (FOut.size() - FStart - 4); }
    qsizetype RecordStart() const { return FStart; }

private:
    QByteArray &FOut;
    qsizetype FStart = 0;
};

} // namespace

TBiffWorkbook TBiffWorkbook::Parse(const QByteArray &stream) {
    struct TSub {
        qint64 Start;
        QList<TBiffRecord> Records;
    };
    QList<TSub> subs;
    int depth = 0;
    qsizetype pos = 0;
    while (pos + 4 <= stream.size()) {
        const quint16 type = U16(stream, pos);
        const quint16 len = U16(stream, pos + 2);
        if (depth == 0 && type == 0 && len == 0)
            break; // padding after the last sheet
        if (pos + 4 + len > stream.size())
            Damaged(QCoreApplication::translate("TBiffWorkbook",
                                                "a record runs past the end of the stream"));
        TBiffRecord record{type, stream.mid(pos + 4, len)};
        if (depth == 0) {
            // Anything but a new sheet after the last one is left out; a
            // sheet that the workbook lists and that lies beyond it is then
            // reported missing below.
            if (type != BOF)
                break;
            subs.append(TSub{pos, {}});
        }
        if (type == BOF)
            ++depth;
        else if (type == EOF_)
            --depth;
        subs.last().Records.append(std::move(record));
        pos += 4 + len;
    }

    if (subs.isEmpty() || subs[0].Records[0].Type != BOF) {
        const quint16 first = U16(stream, 0);
        if (first == 0x0009 || first == 0x0209 || first == 0x0409)
            throw TExportError(QCoreApplication::translate(
                "TBiffWorkbook", "The template is an Excel 2.x-4.0 file; only Excel "
                                 "97-2003 workbooks can be filled."));
        throw TExportError(QCoreApplication::translate(
            "TBiffWorkbook", "The template is not an Excel 97-2003 workbook."));
    }
    const QByteArray &bof = subs[0].Records[0].Data;
    if (U16(bof, 0) != kVersionBiff8)
        throw TExportError(QCoreApplication::translate(
            "TBiffWorkbook", "The template is an Excel 5.0/95 workbook; only Excel "
                             "97-2003 workbooks can be filled. Save it in the Excel "
                             "97-2003 format."));
    if (U16(bof, 2) != kGlobalsKind)
        throw TExportError(QCoreApplication::translate(
            "TBiffWorkbook", "The template is a single sheet, not an Excel 97-2003 "
                             "workbook."));
    if (depth != 0)
        Damaged(QCoreApplication::translate("TBiffWorkbook", "the last sheet has no end"));

    TBiffWorkbook book;
    const QList<TBiffRecord> &globals = subs[0].Records;
    QList<QByteArray> sst;
    QHash<qint64, int> boundSheetAt; // substream start -> BOUNDSHEET index
    for (qsizetype i = 0; i < globals.size(); ++i) {
        const TBiffRecord &r = globals[i];
        if (r.Type == FILEPASS)
            throw TExportError(QCoreApplication::translate(
                "TBiffWorkbook", "The template workbook is protected with a "
                                 "password; use a workbook without one."));
        if (r.Type == SST) {
            book.FSstAt = int(book.FGlobals.size());
            sst.append(r.Data);
            while (i + 1 < globals.size() && globals[i + 1].Type == CONTINUE)
                sst.append(globals[++i].Data);
            continue;
        }
        if (r.Type == EXTSST)
            continue; // rebuilt with the string table
        if (r.Type == BOUNDSHEET)
            boundSheetAt.insert(U32(r.Data, 0), int(book.FGlobals.size()));
        book.FGlobals.append(r);
    }

    if (!sst.isEmpty()) {
        TSstReader reader(sst);
        book.FStringRefs = reader.Long();
        const quint32 unique = reader.Long();
        for (quint32 k = 0; k < unique && !reader.AtEnd(); ++k) {
            const quint16 cch = reader.Word();
            const quint8 flags = reader.Byte();
            const quint16 runs = (flags & 0x08) ? reader.Word() : 0;
            const quint32 ext = (flags & 0x04) ? reader.Long() : 0;
            TString s;
            s.Text = reader.Chars(cch, flags & 0x01);
            s.Runs = reader.Bytes(quint32(runs) * 4);
            s.Ext = reader.Bytes(ext);
            if (s.Runs.isEmpty() && s.Ext.isEmpty() && !book.FPlainStrings.contains(s.Text))
                book.FPlainStrings.insert(s.Text, int(book.FStrings.size()));
            book.FStrings.append(std::move(s));
        }
    }

    for (qsizetype k = 1; k < subs.size(); ++k) {
        TSheet sheet;
        sheet.Records = std::move(subs[k].Records);
        const auto found = boundSheetAt.constFind(subs[k].Start);
        if (found != boundSheetAt.constEnd()) {
            const QByteArray &b = book.FGlobals[*found].Data;
            sheet.BoundSheet = *found;
            sheet.Kind = b.size() > 5 ? quint8(b[5]) : 0;
            const int cch = b.size() > 6 ? quint8(b[6]) : 0;
            const bool high = b.size() > 7 && (b[7] & 1);
            for (int c = 0; c < cch; ++c)
                sheet.Name.append(high ? QChar(U16(b, 8 + 2 * c))
                                       : QChar(b.size() > 8 + c ? quint8(b[8 + c]) : 0));
            boundSheetAt.erase(found);
        }
        book.FSheets.append(std::move(sheet));
    }
    if (!boundSheetAt.isEmpty())
        Damaged(QCoreApplication::translate("TBiffWorkbook",
                                            "a sheet of the workbook cannot be found"));
    return book;
}

QStringList TBiffWorkbook::SheetNames() const {
    QStringList names;
    for (const TSheet &s : FSheets)
        if (s.BoundSheet >= 0)
            names.append(s.Name);
    return names;
}

int TBiffWorkbook::FindSheet(const QString &name) const {
    for (qsizetype i = 0; i < FSheets.size(); ++i)
        if (FSheets[i].BoundSheet >= 0 && FSheets[i].Kind == 0 &&
            FSheets[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int TBiffWorkbook::NextRow(int sheet) const {
    int next = 0;
    int depth = 0;
    for (const TBiffRecord &r : FSheets[sheet].Records) {
        if (r.Type == BOF)
            ++depth;
        else if (r.Type == EOF_)
            --depth;
        else if (depth == 1)
            next = std::max(next, LastRowOf(r) + 1);
    }
    return next;
}

int TBiffWorkbook::FirstRow(int sheet) const {
    int first = -1;
    int depth = 0;
    for (const TBiffRecord &r : FSheets[sheet].Records) {
        if (r.Type == BOF)
            ++depth;
        else if (r.Type == EOF_)
            --depth;
        else if (depth == 1) {
            const int row = FirstRowOf(r);
            if (row >= 0 && (first < 0 || row < first))
                first = row;
        }
    }
    return first;
}

QMap<int, QString> TBiffWorkbook::RowTexts(int sheet, int row) const {
    QMap<int, QString> texts;
    int depth = 0;
    for (const TBiffRecord &r : FSheets[sheet].Records) {
        if (r.Type == BOF)
            ++depth;
        else if (r.Type == EOF_)
            --depth;
        if (depth != 1 || r.Data.size() < 6 || U16(r.Data, 0) != row)
            continue;
        const int col = U16(r.Data, 2);
        if (r.Type == LABELSST && r.Data.size() >= 10) {
            const quint32 index = U32(r.Data, 6);
            if (index < quint32(FStrings.size()))
                texts.insert(col, FStrings[index].Text);
        } else if ((r.Type == LABEL || r.Type == RSTRING) && r.Data.size() >= 9) {
            const int cch = U16(r.Data, 6);
            const bool high = r.Data[8] & 1;
            QString text;
            for (int c = 0; c < cch && 9 + (c + 1) * (high ? 2 : 1) <= r.Data.size(); ++c)
                text.append(high ? QChar(U16(r.Data, 9 + 2 * c)) : QChar(quint8(r.Data[9 + c])));
            texts.insert(col, text);
        }
    }
    return texts;
}

int TBiffWorkbook::StringIndex(const QString &text) {
    ++FStringRefs;
    const auto found = FPlainStrings.constFind(text);
    if (found != FPlainStrings.constEnd())
        return *found;
    const int index = int(FStrings.size());
    FStrings.append(TString{text, {}, {}});
    FPlainStrings.insert(text, index);
    return index;
}

void TBiffWorkbook::AppendRows(int sheetIndex, const QList<TBiffRow> &rows, quint16 xf) {
    TSheet &sheet = FSheets[sheetIndex];
    const int start = NextRow(sheetIndex);
    const int first = FirstRow(sheetIndex);
    if (qint64(start) + rows.size() > MaxRows)
        throw TExportError(QCoreApplication::translate(
                               "TBiffWorkbook", "Too many rows for one worksheet: an Excel 97-2003 "
                                                "sheet holds %L1 rows, and this export needs %L2. "
                                                "Export a shorter period.")
                               .arg(MaxRows)
                               .arg(qint64(start) + rows.size()));
    int colMin = MaxColumns, colMax = -1;
    for (const TBiffRow &row : rows)
        for (const TBiffCell &cell : row) {
            if (cell.first < 0 || cell.first >= MaxColumns)
                throw TExportError(QCoreApplication::translate(
                                       "TBiffWorkbook", "Column %1 is outside the worksheet.")
                                       .arg(cell.first + 1));
            if (cell.second.size() > MaxCellText)
                throw TExportError(QCoreApplication::translate(
                                       "TBiffWorkbook", "A text of %L1 characters does not fit a "
                                                        "worksheet cell (at most %L2). Shorten it.")
                                       .arg(cell.second.size())
                                       .arg(MaxCellText));
            colMin = std::min(colMin, cell.first);
            colMax = std::max(colMax, cell.first);
        }

    qsizetype dims = -1;
    for (qsizetype i = 0; i < sheet.Records.size(); ++i)
        if (sheet.Records[i].Type == DIMENSIONS) {
            dims = i;
            break;
        }
    if (dims < 0 || sheet.Records[dims].Data.size() < 12)
        Damaged(QCoreApplication::translate("TBiffWorkbook",
                                            "the sheet \"%1\" has no DIMENSIONS record")
                    .arg(sheet.Name));
    qsizetype at = dims + 1;
    while (at < sheet.Records.size() && IsRowBlockRecord(sheet.Records[at].Type))
        ++at;
    if (rows.isEmpty())
        return;

    // Row blocks of up to 32 rows, ending where Excel's blocks end (at rows
    // 32, 64, ...): ROW records, then the cells, then the DBCELL that points
    // back to them.
    // The data of the new records lies in one buffer that the records point
    // into, so a row of cells costs no allocations of its own.
    qsizetype total = 0;
    qsizetype recordCount = 0;
    for (int done = 0; done < rows.size();) {
        const int firstRow = start + done;
        const int count =
            std::min<int>((firstRow / 32 + 1) * 32, start + int(rows.size())) - firstRow;
        total += 4 + 2 * count;
        recordCount += 1;
        for (int k = 0; k < count; ++k) {
            total += 16 + 10 * rows[done + k].size();
            recordCount += 1 + rows[done + k].size();
        }
        done += count;
    }
    FStrings.reserve(FStrings.size() + recordCount);
    FPlainStrings.reserve(FPlainStrings.size() + recordCount);
    QByteArray buffer;
    buffer.resize(total);
    char *const base = buffer.data();
    char *p = base;
    const auto w16 = [&p](quint16 v) {
        qToLittleEndian<quint16>(v, p);
        p += 2;
    };
    const auto w32 = [&p](quint32 v) {
        qToLittleEndian<quint32>(v, p);
        p += 4;
    };
    QList<TBiffRecord> added;
    added.reserve(recordCount);
    const auto take = [&](quint16 type, const char *from) {
        added.append(TBiffRecord{type, QByteArray::fromRawData(from, p - from)});
    };

    // Row blocks of up to 32 rows, ending where Excel's blocks end (at rows
    // 32, 64, ...): ROW records, then the cells, then the DBCELL that points
    // back to them.
    for (int done = 0; done < rows.size();) {
        const int firstRow = start + done;
        const int count =
            std::min<int>((firstRow / 32 + 1) * 32, start + int(rows.size())) - firstRow;
        for (int k = 0; k < count; ++k) {
            const TBiffRow &row = rows[done + k];
            int lo = 0, hi = 0;
            if (!row.isEmpty()) {
                lo = MaxColumns;
                for (const TBiffCell &cell : row) {
                    lo = std::min(lo, cell.first);
                    hi = std::max(hi, cell.first + 1);
                }
            }
            const char *from = p;
            w16(quint16(firstRow + k));
            w16(quint16(lo));
            w16(quint16(hi));
            w16(0x00FF); // default height, 12.75 pt
            w16(0);
            w16(0);
            w16(0x0100);
            w16(PlainFormat);
            take(ROW, from);
        }
        quint32 cellBytes = 0;
        QList<quint16> rowBytes;
        for (int k = 0; k < count; ++k) {
            const TBiffRow &row = rows[done + k];
            for (const TBiffCell &cell : row) {
                const char *from = p;
                w16(quint16(firstRow + k));
                w16(quint16(cell.first));
                w16(xf);
                w32(quint32(StringIndex(cell.second)));
                take(LABELSST, from);
            }
            rowBytes.append(quint16(row.size() * 14));
            cellBytes += rowBytes.last();
        }
        const char *from = p;
        w32(quint32(count * kRowRecordSize) + cellBytes);
        w16(quint16((count - 1) * kRowRecordSize));
        for (int k = 0; k + 1 < count; ++k)
            w16(rowBytes[k]);
        take(DBCELL, from);
        done += count;
    }
    Q_ASSERT(p <= base + total);
    sheet.Buffers.append(buffer);
    sheet.Records.insert(at, added.size(), TBiffRecord());
    std::move(added.begin(), added.end(), sheet.Records.begin() + at);

    // DIMENSIONS and INDEX cover the old rows and the new ones.
    const int end = start + int(rows.size());
    QByteArray &d = sheet.Records[dims].Data;
    const bool wasEmpty = first < 0;
    Set32(d, 0, wasEmpty ? quint32(start) : std::min(U32(d, 0), quint32(first)));
    Set32(d, 4, quint32(end));
    if (colMax >= 0) {
        const bool noColumns = wasEmpty || U16(d, 10) == 0;
        Set16(d, 8, noColumns ? quint16(colMin) : std::min<quint16>(U16(d, 8), quint16(colMin)));
        Set16(d, 10,
              noColumns ? quint16(colMax + 1) : std::max<quint16>(U16(d, 10), quint16(colMax + 1)));
    }
    for (TBiffRecord &r : sheet.Records)
        if (r.Type == INDEX && r.Data.size() >= 16) {
            Set32(r.Data, 4, wasEmpty ? quint32(start) : quint32(first));
            Set32(r.Data, 8, quint32(end));
            break;
        }
}

qint64 TBiffWorkbook::SheetSize(const TSheet &sheet) {
    qint64 size = 0;
    qint64 dbcells = 0;
    for (const TBiffRecord &r : sheet.Records)
        if (r.Type == DBCELL)
            ++dbcells;
    for (const TBiffRecord &r : sheet.Records)
        size += 4 + (r.Type == INDEX ? 16 + 4 * dbcells : r.Data.size());
    return size;
}

void TBiffWorkbook::SerializeSheet(QByteArray &out, const TSheet &sheet) const {
    // First the positions of the records that INDEX points at.
    QList<quint32> dbcells;
    qint64 defColWidth = -1;
    qint64 pos = out.size();
    const qint64 indexSize = [&] {
        qint64 n = 0;
        for (const TBiffRecord &r : sheet.Records)
            n += r.Type == DBCELL;
        return 16 + 4 * n;
    }();
    for (const TBiffRecord &r : sheet.Records) {
        if (r.Type == DBCELL)
            dbcells.append(quint32(pos));
        else if (r.Type == DEFCOLWIDTH && defColWidth < 0)
            defColWidth = pos;
        pos += 4 + (r.Type == INDEX ? indexSize : r.Data.size());
    }
    for (const TBiffRecord &r : sheet.Records) {
        if (r.Type != INDEX) {
            PutRecord(out, r.Type, r.Data);
            continue;
        }
        QByteArray index = r.Data.left(16);
        index.resize(16, '\0');
        if (defColWidth >= 0)
            Set32(index, 12, quint32(defColWidth));
        for (quint32 offset : dbcells)
            Put32(index, offset);
        PutRecord(out, INDEX, index);
    }
}

void TBiffWorkbook::AppendSst(QByteArray &out, QList<std::pair<qint64, quint16>> &buckets,
                              int bucketSize) const {
    TRecordWriter w(out);
    w.Begin(SST);
    Put32(out, FStringRefs);
    Put32(out, quint32(FStrings.size()));
    for (qsizetype i = 0; i < FStrings.size(); ++i) {
        const TString &s = FStrings[i];
        const bool compressed = IsCompressible(s.Text);
        const int unit = compressed ? 1 : 2;
        const int header = 3 + (s.Runs.isEmpty() ? 0 : 2) + (s.Ext.isEmpty() ? 0 : 4);
        // A string header is never split, and at least one character follows it.
        if (w.Space() < header + (s.Text.isEmpty() ? 0 : unit))
            w.Next();
        if (i % bucketSize == 0)
            buckets.append({out.size(), quint16(out.size() - w.RecordStart())});
        Put16(out, quint16(s.Text.size()));
        out.append(char((compressed ? 0 : 0x01) | (s.Runs.isEmpty() ? 0 : 0x08) |
                        (s.Ext.isEmpty() ? 0 : 0x04)));
        if (!s.Runs.isEmpty())
            Put16(out, quint16(s.Runs.size() / 4));
        if (!s.Ext.isEmpty())
            Put32(out, quint32(s.Ext.size()));
        QStringView left(s.Text);
        while (true) {
            qsizetype n = std::min<qsizetype>(left.size(), w.Space() / unit);
            // A character outside the Basic Multilingual Plane (two UTF-16
            // units) stays in one record.
            if (n > 0 && n < left.size() && left[n - 1].isHighSurrogate())
                --n;
            PutChars(out, left.first(n), compressed);
            left = left.sliced(n);
            if (left.isEmpty())
                break;
            // The rest goes on in a CONTINUE record that restates the width.
            w.Next();
            out.append(char(compressed ? 0 : 0x01));
        }
        for (qsizetype r = 0; r < s.Runs.size(); r += 4) {
            if (w.Space() < 4)
                w.Next();
            out.append(s.Runs.constData() + r, 4);
        }
        for (qsizetype e = 0; e < s.Ext.size();) {
            if (w.Space() == 0)
                w.Next();
            const qsizetype n = std::min<qsizetype>(w.Space(), s.Ext.size() - e);
            out.append(s.Ext.constData() + e, n);
            e += n;
        }
    }
    w.End();
}

QByteArray TBiffWorkbook::Serialize() const {
    qint64 sheetsSize = 0;
    QList<qint64> sizes;
    for (const TSheet &s : FSheets) {
        sizes.append(SheetSize(s));
        sheetsSize += sizes.last();
    }
    QByteArray out;
    out.reserve(sheetsSize + FStrings.size() * 24 + 65536);

    // The globals: the string table goes where it was, or before the end.
    const bool writeSst = FSstAt >= 0 || !FStrings.isEmpty();
    const qsizetype sstAt = FSstAt >= 0 ? FSstAt : FGlobals.size() - 1;
    QList<qint64> boundSheetPos(FGlobals.size(), -1);
    for (qsizetype i = 0; i < FGlobals.size(); ++i) {
        if (i == sstAt && writeSst) {
            const int bucketSize = std::max<int>(8, int((FStrings.size() + 127) / 128));
            QList<std::pair<qint64, quint16>> buckets;
            AppendSst(out, buckets, bucketSize);
            QByteArray ext;
            Put16(ext, quint16(bucketSize));
            for (const auto &[ib, offset] : buckets) {
                Put32(ext, quint32(ib));
                Put16(ext, offset);
                Put16(ext, 0);
            }
            PutRecord(out, EXTSST, ext);
        }
        if (FGlobals[i].Type == BOUNDSHEET)
            boundSheetPos[i] = out.size();
        PutRecord(out, FGlobals[i].Type, FGlobals[i].Data);
    }

    qint64 start = out.size();
    for (qsizetype k = 0; k < FSheets.size(); ++k) {
        const qint64 at = boundSheetPos.value(FSheets[k].BoundSheet, -1);
        if (FSheets[k].BoundSheet >= 0 && at >= 0)
            Set32(out, at + 4, quint32(start));
        start += sizes[k];
    }
    for (const TSheet &s : FSheets)
        SerializeSheet(out, s);
    // A short stream is padded with zeros to 4096 bytes, so that it lies in
    // the compound file's regular sectors (not its mini stream), as the
    // workbooks Excel writes do.
    if (out.size() < kMinStreamSize)
        out.resize(kMinStreamSize, '\0');
    return out;
}

TBiffWorkbook TBiffWorkbook::CreateEmpty(const QStringList &sheetNames,
                                         const QList<QList<double>> &columnWidths) {
    TBiffWorkbook book;
    auto bof = [](quint16 kind) {
        QByteArray d;
        Put16(d, kVersionBiff8);
        Put16(d, kind);
        Put16(d, 0x0DBB); // build
        Put16(d, 0x07CC); // year
        Put32(d, 0);      // file history
        Put32(d, 0x0006); // lowest version that can read it
        return TBiffRecord{BOF, d};
    };
    QList<TBiffRecord> &g = book.FGlobals;
    g.append(bof(kGlobalsKind));
    QByteArray codepage;
    Put16(codepage, 1200); // UTF-16
    g.append(TBiffRecord{CODEPAGE, codepage});
    QByteArray window1;
    for (quint16 v : {0, 0, 0x3A98, 0x2328, 0x0038, 0, 0, 1, 0x0258})
        Put16(window1, v);
    g.append(TBiffRecord{WINDOW1, window1});
    QByteArray datemode;
    Put16(datemode, 0);
    g.append(TBiffRecord{DATEMODE, datemode});
    // Fonts 0-3 and 5 (index 4 does not exist in BIFF): Arial 10, the last bold.
    for (int f = 0; f < 5; ++f) {
        QByteArray d;
        Put16(d, 200);
        Put16(d, f == 4 ? 0x0001 : 0); // the bold bit, beside the weight
        Put16(d, 0x7FFF);
        Put16(d, f == 4 ? 700 : 400);
        Put16(d, 0);
        d.append(4, '\0');
        d.append(char(5));
        d.append(char(0));
        d.append("Arial");
        g.append(TBiffRecord{FONT, d});
    }
    // Style formats 0-14, the default cell format 15 and the bold one 16.
    for (int x = 0; x < 17; ++x) {
        QByteArray d;
        const bool style = x < 15;
        Put16(d, x == 16 ? 5 : (style && x > 0 && x < 5 ? (x < 3 ? 1 : 2) : 0));
        Put16(d, 0);
        Put16(d, style ? 0xFFF5 : 0x0001);
        d.append(char(0x20)); // bottom aligned
        d.append(char(0));
        d.append(char(0));
        d.append(char(style && x > 0 ? 0xF4 : (x == 16 ? 0x08 : 0)));
        d.append(8, '\0');
        Put16(d, 0x20C0);
        g.append(TBiffRecord{XF, d});
    }
    QByteArray style;
    Put16(style, 0x8000);
    style.append(char(0));
    style.append(char(0xFF));
    g.append(TBiffRecord{STYLE, style});
    for (const QString &name : sheetNames) {
        QByteArray d;
        Put32(d, 0);
        d.append(char(0));
        d.append(char(0));
        const bool compressed = IsCompressible(name);
        d.append(char(name.size()));
        d.append(char(compressed ? 0 : 1));
        PutChars(d, name, compressed);
        TSheet sheet;
        sheet.Name = name;
        sheet.BoundSheet = int(g.size());
        g.append(TBiffRecord{BOUNDSHEET, d});
        book.FSheets.append(sheet);
    }
    g.append(TBiffRecord{EOF_, {}});

    for (qsizetype k = 0; k < book.FSheets.size(); ++k) {
        QList<TBiffRecord> &r = book.FSheets[k].Records;
        r.append(bof(0x0010));
        r.append(TBiffRecord{INDEX, QByteArray(16, '\0')});
        QByteArray defWidth;
        Put16(defWidth, 8);
        r.append(TBiffRecord{DEFCOLWIDTH, defWidth});
        const QList<double> widths = columnWidths.value(k);
        for (qsizetype c = 0; c < widths.size(); ++c) {
            QByteArray d;
            Put16(d, quint16(c));
            Put16(d, quint16(c));
            Put16(d, quint16(std::clamp(widths[c], 0.0, 255.0) * 256));
            Put16(d, PlainFormat);
            Put16(d, 0);
            Put16(d, 0);
            r.append(TBiffRecord{COLINFO, d});
        }
        r.append(TBiffRecord{DIMENSIONS, QByteArray(14, '\0')});
        QByteArray window2;
        Put16(window2, k == 0 ? 0x06B6 : 0x00B6);
        Put16(window2, 0);
        Put16(window2, 0);
        Put32(window2, 0x40);
        Put16(window2, 0);
        Put16(window2, 0);
        Put32(window2, 0);
        r.append(TBiffRecord{WINDOW2, window2});
        r.append(TBiffRecord{EOF_, {}});
    }
    return book;
}
