#include "export/OleStorage.h"
#include "export/SheetExport.h"
#include "export/XlsExport.h"
#include "export/XlsTemplate.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

quint16 U16(const QByteArray &d, qsizetype at) {
    return at + 2 <= d.size() ? qFromLittleEndian<quint16>(d.constData() + at) : 0xFFFF;
}
quint32 U32(const QByteArray &d, qsizetype at) {
    return at + 4 <= d.size() ? qFromLittleEndian<quint32>(d.constData() + at) : 0xFFFFFFFF;
}

struct TRec {
    quint16 Type;
    qint64 Pos;
    QByteArray Data;
};

QList<TRec> Records(const QByteArray &stream) {
    QList<TRec> recs;
    qsizetype pos = 0;
    while (pos + 4 <= stream.size()) {
        const quint16 type = U16(stream, pos), len = U16(stream, pos + 2);
        if (type == 0 && len == 0)
            break;
        recs.append({type, pos, stream.mid(pos + 4, len)});
        pos += 4 + len;
    }
    return recs;
}

bool IsCell(quint16 t) {
    return t == 0x00FD || t == 0x0204 || t == 0x0203 || t == 0x027E || t == 0x0201 || t == 0x0006 ||
           t == 0x0205;
}

// An independent check of the records that readers do not verify: BOUNDSHEET
// offsets, the shared string table and its CONTINUE splits, EXTSST, and per
// sheet DIMENSIONS, INDEX and DBCELL. Returns the first fault, or "".
QString CheckStructure(const QByteArray &stream) {
    const QList<TRec> recs = Records(stream);
    QHash<qint64, int> at;
    for (int i = 0; i < recs.size(); ++i) {
        at.insert(recs[i].Pos, i);
        if (recs[i].Data.size() > 8224)
            return QString("record %1 longer than 8224 bytes").arg(recs[i].Type, 0, 16);
    }
    int globalsEnd = 0;
    while (globalsEnd < recs.size() && recs[globalsEnd].Type != 0x000A)
        ++globalsEnd;

    // Shared strings: headers never split; a continued text restates its width.
    QList<qint64> stringStarts, segStarts;
    quint32 unique = 0;
    int i = 0;
    while (i < globalsEnd && recs[i].Type != 0x00FC)
        ++i;
    if (i < globalsEnd) {
        QList<QByteArray> segs;
        for (int k = i; k < globalsEnd && (k == i || recs[k].Type == 0x003C); ++k) {
            segs.append(recs[k].Data);
            segStarts.append(recs[k].Pos);
        }
        unique = U32(segs[0], 4);
        int s = 0;
        qsizetype p = 8;
        for (quint32 n = 0; n < unique; ++n) {
            if (p == segs[s].size()) {
                if (++s == segs.size())
                    return "string table ends early";
                p = 0;
            }
            const quint8 flags = quint8(segs[s][p + 2]);
            const int header = 3 + ((flags & 8) ? 2 : 0) + ((flags & 4) ? 4 : 0);
            if (p + header > segs[s].size())
                return QString("header of string %1 is split").arg(n);
            stringStarts.append(segStarts[s] + 4 + p);
            qsizetype chars = U16(segs[s], p);
            qsizetype tail = ((flags & 8) ? 4 * U16(segs[s], p + 3) : 0) +
                             ((flags & 4) ? U32(segs[s], p + 3 + ((flags & 8) ? 2 : 0)) : 0);
            p += header;
            bool high = flags & 1;
            while (chars > 0) {
                if (p == segs[s].size()) {
                    if (++s == segs.size())
                        return "string table ends inside a string";
                    const quint8 f = quint8(segs[s][0]);
                    if (f > 1)
                        return QString("continued string %1 has flags %2").arg(n).arg(f);
                    high = f & 1;
                    p = 1;
                }
                const qsizetype take =
                    std::min<qsizetype>(chars, (segs[s].size() - p) / (high ? 2 : 1));
                if (take == 0)
                    return "character split across records";
                p += take * (high ? 2 : 1);
                chars -= take;
                const quint16 lastUnit = U16(segs[s], p - 2);
                if (chars > 0 && high && lastUnit >= 0xD800 && lastUnit < 0xDC00)
                    return QString("string %1 is split inside a character").arg(n);
            }
            while (tail > 0) {
                if (p == segs[s].size()) {
                    if (++s == segs.size())
                        return "string table ends inside formatting";
                    p = 0;
                }
                const qsizetype take = std::min<qsizetype>(tail, segs[s].size() - p);
                p += take;
                tail -= take;
            }
        }
        if (s != segs.size() - 1 || p != segs[s].size())
            return "bytes after the last string";
        int e = 0;
        while (e < globalsEnd && recs[e].Type != 0x00FF)
            ++e;
        if (e == globalsEnd)
            return "no EXTSST";
        const QByteArray &ext = recs[e].Data;
        const int dsst = U16(ext, 0);
        if (dsst == 0 || (ext.size() - 2) / 8 != (int(unique) + dsst - 1) / dsst)
            return "EXTSST has the wrong number of buckets";
        for (int b = 0; b * dsst < int(unique); ++b) {
            const qint64 ib = U32(ext, 2 + 8 * b);
            if (ib != stringStarts[b * dsst])
                return QString("EXTSST bucket %1 points to %2, not %3")
                    .arg(b)
                    .arg(ib)
                    .arg(stringStarts[b * dsst]);
            const auto seg = std::upper_bound(segStarts.begin(), segStarts.end(), ib) - 1;
            if (U16(ext, 6 + 8 * b) != ib - *seg)
                return QString("EXTSST bucket %1 has a wrong record offset").arg(b);
        }
    }

    for (int b = 0; b < globalsEnd; ++b) {
        if (recs[b].Type != 0x0085)
            continue;
        const qint64 start = U32(recs[b].Data, 0);
        if (!at.contains(start) || recs[at[start]].Type != 0x0809)
            return QString("BOUNDSHEET points to %1, not to a sheet").arg(start);
        // The sheet's own records, up to its end.
        int first = at[start], end = first, depth = 0;
        do {
            depth += recs[end].Type == 0x0809 ? 1 : recs[end].Type == 0x000A ? -1 : 0;
            ++end;
        } while (depth > 0 && end < recs.size());
        int rowMin = INT_MAX, rowMax = -1, colMin = INT_MAX, colMax = -1;
        QList<qint64> dbcells;
        qint64 defColWidth = -1;
        const TRec *index = nullptr, *dims = nullptr;
        for (int k = first; k < end; ++k) {
            const TRec &r = recs[k];
            if (r.Type == 0x020B)
                index = &r;
            else if (r.Type == 0x0200)
                dims = &r;
            else if (r.Type == 0x0055)
                defColWidth = r.Pos;
            else if (r.Type == 0x00D7)
                dbcells.append(r.Pos);
            if (r.Type == 0x0208 || IsCell(r.Type)) {
                rowMin = std::min<int>(rowMin, U16(r.Data, 0));
                rowMax = std::max<int>(rowMax, U16(r.Data, 0));
            }
            if (IsCell(r.Type)) {
                colMin = std::min<int>(colMin, U16(r.Data, 2));
                colMax = std::max<int>(colMax, U16(r.Data, 2));
            }
            if (r.Type == 0x00FD && U32(r.Data, 6) >= unique)
                return "LABELSST refers past the string table";
        }
        if (!dims)
            return "sheet without DIMENSIONS";
        if (rowMax >= 0 &&
            (int(U32(dims->Data, 0)) != rowMin || int(U32(dims->Data, 4)) != rowMax + 1 ||
             U16(dims->Data, 8) != colMin || U16(dims->Data, 10) != colMax + 1))
            return QString("DIMENSIONS %1-%2/%3-%4 do not match rows %5-%6 columns %7-%8")
                .arg(U32(dims->Data, 0))
                .arg(U32(dims->Data, 4))
                .arg(U16(dims->Data, 8))
                .arg(U16(dims->Data, 10))
                .arg(rowMin)
                .arg(rowMax + 1)
                .arg(colMin)
                .arg(colMax + 1);
        if (index) {
            QList<qint64> listed;
            for (qsizetype o = 16; o + 4 <= index->Data.size(); o += 4)
                listed.append(U32(index->Data, o));
            if (listed != dbcells)
                return "INDEX does not list the DBCELL records";
            if (defColWidth >= 0 && U32(index->Data, 12) != defColWidth)
                return "INDEX does not point to DEFCOLWIDTH";
            if (rowMax >= 0 &&
                (int(U32(index->Data, 4)) != rowMin || int(U32(index->Data, 8)) != rowMax + 1))
                return "INDEX rows do not match";
        }
        for (qint64 pos : dbcells) {
            const TRec &db = recs[at[pos]];
            const qint64 firstRow = pos - U32(db.Data, 0);
            if (!at.contains(firstRow) || recs[at[firstRow]].Type != 0x0208)
                return QString("DBCELL at %1 does not point to a ROW").arg(pos);
            const int nRows = int((db.Data.size() - 4) / 2);
            if (nRows < 1 || nRows > 32)
                return "DBCELL block of a wrong size";
            qint64 cell = firstRow + 20;
            for (int k = 0; k < nRows; ++k) {
                const TRec &row = recs[at[firstRow] + k];
                if (row.Type != 0x0208)
                    return "DBCELL block has fewer ROW records than offsets";
                cell += U16(db.Data, 4 + 2 * k);
                if (U16(row.Data, 4) > 0) { // the row has cells
                    if (!at.contains(cell) || !IsCell(recs[at[cell]].Type) ||
                        U16(recs[at[cell]].Data, 0) != U16(row.Data, 0))
                        return QString("DBCELL offset %1 of the block at %2 misses its row")
                            .arg(k)
                            .arg(pos);
                }
            }
        }
    }
    return QString();
}

// Little-endian record building for hand-made workbooks.
struct TBytes {
    QByteArray B;
    TBytes &w8(int v) {
        B.append(char(v));
        return *this;
    }
    TBytes &w16(int v) { return w8(v & 0xFF).w8((v >> 8) & 0xFF); }
    TBytes &w32(quint32 v) { return w16(v & 0xFFFF).w16(v >> 16); }
    TBytes &raw(const QByteArray &b) {
        B.append(b);
        return *this;
    }
};
QByteArray Rec(int type, const QByteArray &data) {
    return TBytes().w16(type).w16(int(data.size())).raw(data).B;
}

// A workbook as another program writes it: headings in both shared (one
// with formatting runs, one with phonetic data) and inline strings, a number
// cell, a shared string of 9,000 characters continued in a CONTINUE record,
// one row block with INDEX and DBCELL, and stale EXTSST offsets.
QByteArray ForeignTemplate() {
    const QByteArray bof = TBytes().w16(0x0600).w16(0x0005).w16(0x0DBB).w16(0x07CC).w32(0).w32(6).B;
    QByteArray longText(9000, 'L');
    longText[8999] = 'Z';
    TBytes sst;
    sst.w32(5).w32(5);
    sst.w16(6).w8(0).raw(" Date ");                           // a heading with blanks around it
    sst.w16(8).w8(0x08).w16(1).raw("Category").w16(0).w16(1); // one run
    sst.w16(3).w8(0x04).w32(6).raw("Out").raw(QByteArray(6, '\x01')); // phonetic block
    sst.w16(9000).w8(0);
    const qsizetype first = 8224 - sst.B.size();
    sst.raw(longText.left(first));
    // The rest goes on in two-byte characters, as Excel writes a string
    // that becomes wider at a CONTINUE record.
    TBytes cont;
    cont.w8(1);
    const QString rest =
        QString::fromLatin1(longText.mid(first)).replace(8998 - first, 1, QChar(0x03A9));
    cont.raw(QByteArray(reinterpret_cast<const char *>(rest.utf16()), rest.size() * 2));
    cont.w16(3).w8(0).raw("Old");
    QByteArray globals = Rec(0x0809, bof);
    // Readers want the fonts and cell formats: borrowed from a made workbook.
    const QByteArray made =
        TOleStorage::ReadStream(TXlsTemplate::FromDescription("sheet S"), "Workbook");
    for (const TRec &r : Records(made))
        if (r.Type == 0x0031 || r.Type == 0x00E0 || r.Type == 0x0293)
            globals += Rec(r.Type, r.Data);
    const qsizetype boundAt = globals.size();
    globals += Rec(0x0085, TBytes().w32(0).w8(0).w8(0).w8(6).w8(0).raw("Sheet1").B);
    globals += Rec(0x00FC, sst.B) + Rec(0x003C, cont.B);
    globals += Rec(0x00FF, TBytes().w16(8).w32(1).w16(2).w16(0).B);
    globals += Rec(0x000A, {});

    auto cell = [](int type, int row, int col, const QByteArray &rest) {
        return Rec(type, TBytes().w16(row).w16(col).w16(15).raw(rest).B);
    };
    const QByteArray row0 =
        cell(0x00FD, 0, 0, TBytes().w32(0).B) + cell(0x00FD, 0, 1, TBytes().w32(1).B) +
        cell(0x0204, 0, 2, TBytes().w16(2).w8(0).raw("In").B) +
        cell(0x00FD, 0, 3, TBytes().w32(2).B) +
        cell(0x0204, 0, 4, TBytes().w16(5).w8(1).raw(QByteArray("N\0o\0t\0e\0s\0", 10)).B);
    double number = 1.5;
    const QByteArray row1 =
        cell(0x00FD, 1, 1, TBytes().w32(4).B) +
        cell(0x0203, 1, 2, QByteArray(reinterpret_cast<const char *>(&number), 8)) +
        cell(0x00FD, 1, 4, TBytes().w32(3).B);
    auto rowRec = [](int row, int hi) {
        return Rec(0x0208,
                   TBytes().w16(row).w16(0).w16(hi).w16(255).w16(0).w16(0).w16(0x100).w16(15).B);
    };
    const QByteArray block = rowRec(0, 5) + rowRec(1, 5) + row0 + row1;
    QByteArray sheet =
        Rec(0x0809, TBytes().w16(0x0600).w16(0x0010).w16(0x0DBB).w16(0x07CC).w32(0).w32(6).B);
    sheet += Rec(0x020B, TBytes().w32(0).w32(0).w32(2).w32(0).w32(0).B); // offsets fixed below
    const qsizetype defColAt = sheet.size();
    sheet += Rec(0x0055, TBytes().w16(8).B);
    sheet += Rec(0x0200, TBytes().w32(0).w32(2).w16(0).w16(5).w16(0).B);
    sheet += block;
    const qsizetype dbcellAt = sheet.size();
    sheet += Rec(0x00D7, TBytes().w32(quint32(block.size())).w16(20).w16(int(row0.size())).B);
    sheet += Rec(0x023E, TBytes().w16(0x06B6).w16(0).w16(0).w32(0x40).w16(0).w16(0).w32(0).B);
    sheet += Rec(0x000A, {});

    const qsizetype sheetStart = globals.size();
    qToLittleEndian<quint32>(quint32(sheetStart), globals.data() + boundAt + 4);
    const qsizetype indexData = 20 + 4; // after the sheet's BOF and the INDEX header
    qToLittleEndian<quint32>(quint32(sheetStart + defColAt), sheet.data() + indexData + 12);
    qToLittleEndian<quint32>(quint32(sheetStart + dbcellAt), sheet.data() + indexData + 16);
    const QByteArray stream = globals + sheet;
    return TOleStorage::CreateWithStream("Workbook", stream);
}

QJsonObject ReadBack(const QString &file) {
    QProcess python;
    const QString interpreter = qEnvironmentVariable("LEDGERLY_PYTHON", "/usr/bin/python3");
    python.start(interpreter, {QDir(LEDGERLY_TEST_DATA_DIR).filePath("xls_dump.py"), file});
    if (!python.waitForFinished(120000) || python.exitCode() != 0) {
        qWarning() << python.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

// The texts of one sheet (every cell must be text or empty).
QList<QStringList> SheetTexts(const QJsonObject &book, const QString &name, bool *allText) {
    QList<QStringList> out;
    for (const QJsonValue &sheet : book["sheets"].toArray()) {
        if (sheet["name"].toString() != name)
            continue;
        for (const QJsonValue &row : sheet["rows"].toArray()) {
            QStringList texts;
            for (const QJsonValue &cell : row.toArray()) {
                const int type = cell.toArray()[0].toInt();
                if (type != 1 && type != 0)
                    *allText = false;
                texts.append(cell.toArray()[1].toString());
            }
            while (!texts.isEmpty() && texts.last().isEmpty())
                texts.removeLast();
            out.append(texts);
        }
    }
    return out;
}

QString WriteFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return QString();
    return path;
}

TReportHead Head() {
    return {"Zoë O'Neil", QDate(2009, 2, 1), QDate(2009, 2, 28), 1000, 2250};
}

TRecord MakeRecord(const QDate &date, TRecordType type, const QString &category, qint64 cents,
                   const QString &notes = QString()) {
    return {0, date, type, category, cents, notes};
}

TPeriod PeriodOf(const QList<TRecord> &records) {
    TPeriod period;
    period.Records = records;
    return period;
}

// The class id of a compound file's root entry (version 3 files: 512-byte
// header, the directory's first sector named at 0x30).
QByteArray RootClassId(const QByteArray &file) {
    const qsizetype sector = qsizetype(1) << U16(file, 0x1E);
    return file.mid(512 + U32(file, 0x30) * sector + 0x50, 16);
}

const char *kTransWithNeighbours = R"(
sheet Before
row before | sheet
sheet Sheet1
widths 12 30 14 14 50
heading Date | Category | In | Out | Notes
row 01/01/2009 | Old row | 1.00 | | kept
sheet After
heading x | y
row ü | 2
)";

// A spreadsheet export read back by real readers: the .csv by Python's csv
// module, the .xlsx by openpyxl; each cell as [type, value, number format].
QJsonObject ReadSheet(const QString &file) {
    static const char *script = R"(
import csv, datetime, json, sys
path = sys.argv[1]
if path.endswith('.csv'):
    with open(path, newline='', encoding='utf-8-sig') as f:
        rows = list(csv.reader(f))
    bom = open(path, 'rb').read(3) == b'\xef\xbb\xbf'
    json.dump({'bom': bom, 'rows': rows}, sys.stdout)
else:
    import openpyxl, zipfile
    size = zipfile.ZipFile(path).getinfo('xl/worksheets/sheet1.xml').file_size
    ws = openpyxl.load_workbook(path).active
    def cell(c):
        v = c.value.date().isoformat() if isinstance(c.value, datetime.datetime) else c.value
        return [c.data_type, v, c.number_format]
    json.dump({'size': size, 'title': ws.title, 'freeze': ws.freeze_panes, 'filter': ws.auto_filter.ref,
               'widths': [ws.column_dimensions[k].width for k in 'ABCDE'],
               'rows': [[cell(c) for c in r] for r in ws.iter_rows()]}, sys.stdout)
)";
    QProcess python;
    python.start(qEnvironmentVariable("LEDGERLY_PYTHON", "/usr/bin/python3"), {"-c", script, file});
    if (!python.waitForFinished(120000) || python.exitCode() != 0) {
        qWarning() << python.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

// Writes beyond `bytes` fail with "File too large", as on a full disk.
struct TFileSizeLimit {
    rlimit Old = {};
    explicit TFileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &Old);
        const rlimit limit{bytes, Old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &Old); }
};

TPeriod SheetPeriod() {
    TPeriod period =
        PeriodOf({MakeRecord(QDate(2009, 2, 1), TRecordType::Income, "Pay", 150000, "Feb"),
                  MakeRecord(QDate(2009, 2, 3), TRecordType::Expense, "=Food", 1250,
                             "Tea, \"green\"\nand cake"),
                  MakeRecord(QDate(2009, 2, 28), TRecordType::Expense, "Café", 3750)});
    period.IncomeCategories = {{"Pay", 1, 150000}};
    period.ExpenseCategories = {{"Café", 1, 3750}, {"=Food", 3, 1250}};
    period.IncomeCents = 150000;
    period.ExpenseCents = 5000;
    return period;
}

} // namespace

class TestExportXls : public QObject {
    Q_OBJECT

private slots:
    void sheetRowsFollowTheBlankRules();
    void rowsReadBackWithOtherSheetsUnchanged();
    void valuesGoUnderTheirHeadings();
    void tenThousandRowsAndLongTexts();
    void keepsWhatAnotherProgramWrote();
    void refusesWhatItCannotFill();
    void damagedWorkbooksFailCleanly();
    void containerOfTheTemplateIsKept();
    void shippedTemplatesMatchTheirDescriptions();
    void sheetXlsxHoldsDatesNumbersAndFormulas();
    void sheetCsvIsQuotedAndSigned();
    void sheetExportFailsWithoutHarm();
    void sheetDateFormats_data();
    void sheetDateFormats();

private:
    QTemporaryDir FDir;
};

void TestExportXls::sheetRowsFollowTheBlankRules() {
    TPeriod period;
    period.IncomeCategories = {{"Pay", 2, 1000}};
    period.ExpenseCategories = {{"Fish & Chips", 1, 2250}};
    period.IncomeCents = 1000;
    period.ExpenseCents = 2250;
    const QList<QStringList> cates = TXlsExport::SheetRows(TExportKind::Categories, Head(), period);
    QCOMPARE(cates.size(), 6);
    QCOMPARE(cates[0], QStringList({"Income", "Pay", "2", "10.00", " ", "100.00%"}));
    QCOMPARE(cates[1], QStringList({"Expense", "Fish & Chips", "1", " ", "22.50", "100.00%"}));
    QCOMPARE(cates[2], QStringList({"", "Zoë O'Neil (02/01/2009 - 02/28/2009)", "", "", "", ""}));
    QCOMPARE(cates[3][1], QString("Income: 10.00"));
    QCOMPARE(cates[4][1], QString("Expenses: 22.50"));
    QCOMPARE(cates[5][1], QString("Net Income: -12.50"));

    // Transactions: the empty money text becomes a blank; notes stay as they are.
    const QList<QStringList> trans = TXlsExport::SheetRows(
        TExportKind::Transactions, Head(),
        PeriodOf({MakeRecord(QDate(2009, 2, 3), TRecordType::Expense, "Bus", 250, "  ")}));
    QCOMPARE(trans[0], QStringList({"02/03/2009", "Bus", " ", "2.50", "  "}));
    QCOMPARE(trans.size(), 5);
    QCOMPARE(trans[1].size(), 5);
}

void TestExportXls::rowsReadBackWithOtherSheetsUnchanged() {
    QVERIFY(FDir.isValid());
    const QString templ =
        WriteFile(FDir.filePath("t.xls"), TXlsTemplate::FromDescription(kTransWithNeighbours));
    const QString out = FDir.filePath("out.xls");
    const TPeriod rows = PeriodOf(
        {MakeRecord(QDate(2009, 2, 1), TRecordType::Expense, "Kid's toys", 500, "it's \"fine\""),
         MakeRecord(QDate(2009, 2, 2), TRecordType::Income, "Gehalt für März", 1000),
         MakeRecord(QDate(2009, 2, 3), TRecordType::Expense, "日本語 ✓", 750, "€ & <b>")});
    TXlsExport::Export(TExportKind::Transactions, templ, out, Head(), rows);

    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray file = f.readAll();
    QCOMPARE(CheckStructure(TOleStorage::ReadStream(file, "Workbook")), QString());

    const QJsonObject book = ReadBack(out);
    QVERIFY(!book.isEmpty());
    bool allText = true;
    QCOMPARE(SheetTexts(book, "Before", &allText), QList<QStringList>({{"before", "sheet"}}));
    QCOMPARE(SheetTexts(book, "After", &allText), QList<QStringList>({{"x", "y"}, {"ü", "2"}}));
    const QList<QStringList> sheet = SheetTexts(book, "Sheet1", &allText);
    QVERIFY(allText);
    const QList<QStringList> expected = {{"Date", "Category", "In", "Out", "Notes"},
                                         {"01/01/2009", "Old row", "1.00", "", "kept"},
                                         {"02/01/2009", "Kid's toys", " ", "5.00", "it's \"fine\""},
                                         {"02/02/2009", "Gehalt für März", "10.00", " "},
                                         {"02/03/2009", "日本語 ✓", " ", "7.50", "€ & <b>"},
                                         {"", "Zoë O'Neil (02/01/2009 - 02/28/2009)"},
                                         {"", "Income: 10.00"},
                                         {"", "Expenses: 22.50"},
                                         {"", "Net Income: -12.50"}};
    QCOMPARE(sheet, expected);
    // The heading row keeps its bold format, the column widths stay.
    for (const QJsonValue &s : book["sheets"].toArray())
        if (s["name"] == "Sheet1") {
            QCOMPARE(s["bold"].toArray()[0].toArray()[0].toInt(), 1);
            QCOMPARE(s["bold"].toArray()[2].toArray()[0].toInt(), 0);
            QCOMPARE(s["widths"]["1"].toInt(), 30 * 256);
        }
}

void TestExportXls::valuesGoUnderTheirHeadings() {
    const QString templ =
        WriteFile(FDir.filePath("reordered.xls"),
                  TXlsTemplate::FromDescription(
                      "sheet Sheet1\nheading | RATIO | out | In | Qty | Category | Type\n"));
    const QString out = FDir.filePath("reordered-out.xls");
    TPeriod rent;
    rent.ExpenseCategories = {{"Rent", 1, 2250}};
    rent.ExpenseCents = 2250;
    TXlsExport::Export(TExportKind::Categories, templ, out, Head(), rent);
    bool allText = true;
    const QList<QStringList> sheet = SheetTexts(ReadBack(out), "Sheet1", &allText);
    QCOMPARE(sheet.value(1), QStringList({"", "100.00%", "22.50", " ", "1", "Rent", "Expense"}));
    QCOMPARE(sheet.value(2),
             QStringList({"", "", "", "", "", "Zoë O'Neil (02/01/2009 - 02/28/2009)"}));

    // A template without one of the headings is refused, naming the column.
    const QString partial = WriteFile(
        FDir.filePath("partial.xls"),
        TXlsTemplate::FromDescription("sheet Sheet1\nheading Type | Category | Qty | In | Out\n"));
    try {
        TXlsExport::Export(TExportKind::Categories, partial, FDir.filePath("p.xls"), Head(),
                           TPeriod());
        QFAIL("a template without Ratio was filled");
    } catch (const TExportError &e) {
        QVERIFY2(QString(e.what()).contains("\"Ratio\""), e.what());
    }
    QVERIFY(!QFile::exists(FDir.filePath("p.xls")));
}

void TestExportXls::tenThousandRowsAndLongTexts() {
    const QString templ =
        WriteFile(FDir.filePath("big.xls"), TXlsTemplate::FromDescription(kTransWithNeighbours));
    TPeriod rows;
    for (int i = 0; i < 10000; ++i) {
        QString notes = QString("note %1 ").arg(i).repeated(1 + i % 7);
        if (i % 3 == 0)
            notes += QString::fromUtf8("ß€");
        rows.Records.append(MakeRecord(
            QDate(2009, 1, 1).addDays(i % 365), i % 2 ? TRecordType::Income : TRecordType::Expense,
            QString("cat %1").arg(i % 40), i % 2 ? i * 100 : i * 100 + 50, notes));
    }
    // Texts longer than one record, in one-byte and two-byte characters.
    rows.Records[500].Notes = QString(20000, 'x');
    rows.Records[501].Notes = QString(9000, QChar(0x263A)) + "end";
    rows.Records[502].Notes = QString(32767, 'y');
    // Characters of two UTF-16 units across a record boundary, at both offsets.
    rows.Records[503].Notes = QString::fromUtf8("\xF0\x9F\x98\x80").repeated(5000);
    rows.Records[504].Notes = "a" + QString::fromUtf8("\xF0\x9F\x98\x80").repeated(5000);
    const QString out = FDir.filePath("big-out.xls");
    TXlsExport::Export(TExportKind::Transactions, templ, out, Head(), rows);

    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(CheckStructure(TOleStorage::ReadStream(f.readAll(), "Workbook")), QString());

    bool allText = true;
    const QList<QStringList> sheet = SheetTexts(ReadBack(out), "Sheet1", &allText);
    QVERIFY(allText);
    QCOMPARE(sheet.size(), 2 + rows.Records.size() + 4);
    for (int i = 0; i < rows.Records.size(); ++i) {
        const TRecordTexts texts = RecordRowTexts(rows.Records[i]);
        QStringList want = {texts[0], texts[1], texts[2].isEmpty() ? " " : texts[2],
                            texts[3].isEmpty() ? " " : texts[3], texts[4]};
        if (sheet[2 + i] != want)
            QFAIL(qPrintable(QString("row %1 differs").arg(i)));
    }
    QCOMPARE(sheet.last(), QStringList({"", "Net Income: -12.50"}));
}

void TestExportXls::keepsWhatAnotherProgramWrote() {
    const QString templ = WriteFile(FDir.filePath("foreign.xls"), ForeignTemplate());
    TPeriod rows;
    for (int i = 0; i < 40; ++i) // rows 2-41: one block to row 31, then a new one
        rows.Records.append(MakeRecord(QDate(2009, 3, 1), TRecordType::Expense,
                                       i == 0 ? "Old" : QString("c%1").arg(i), 100));
    const QString out = FDir.filePath("foreign-out.xls");
    TXlsExport::Export(TExportKind::Transactions, templ, out, Head(), rows);
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(CheckStructure(TOleStorage::ReadStream(f.readAll(), "Workbook")), QString());

    const QJsonObject book = ReadBack(out);
    QCOMPARE(book["sheets"].toArray().size(), 1);
    const QJsonArray sheetRows = book["sheets"].toArray()[0].toObject()["rows"].toArray();
    QCOMPARE(sheetRows.size(), 2 + 40 + 4);
    QStringList headings;
    for (const QJsonValue &c : sheetRows[0].toArray())
        headings.append(c.toArray()[1].toString().trimmed());
    QCOMPARE(headings, TXlsExport::ColumnNames(TExportKind::Transactions));
    const QJsonArray old = sheetRows[1].toArray();
    QCOMPARE(old[1].toArray()[1].toString(), QString("Old"));
    QCOMPARE(old[2].toArray()[1].toDouble(), 1.5); // the number stays a number
    const QString longText = old[4].toArray()[1].toString();
    QCOMPARE(longText.size(), 9000);
    QVERIFY(longText.endsWith(QString::fromUtf8("LΩZ")));
    QCOMPARE(sheetRows[2].toArray()[1].toArray()[1].toString(),
             QString("Old")); // shared text reused
    QCOMPARE(sheetRows[41].toArray()[1].toArray()[1].toString(), QString("c39"));
    QCOMPARE(sheetRows[45].toArray()[1].toArray()[1].toString(), QString("Net Income: -12.50"));
}

void TestExportXls::refusesWhatItCannotFill() {
    const QByteArray good =
        TXlsTemplate::FromDescription("sheet Sheet1\nheading Date|Category|In|Out|Notes\n");
    const QByteArray stream = TOleStorage::ReadStream(good, "Workbook");
    // The same workbook with a FILEPASS record after the first BOF.
    QByteArray encrypted = stream;
    encrypted.insert(4 + U16(stream, 2), QByteArray::fromHex("2F000600000001000200"));
    QByteArray biff5 = stream;
    biff5[4] = 0x00;
    biff5[5] = 0x05;
    struct TCase {
        const char *Name;
        QByteArray File;
        const char *Reason;
    };
    const QList<TCase> cases = {
        {"text file", "Date,Category\n", "not an Excel 97-2003 workbook"},
        {"Excel 95 container", TOleStorage::CreateWithStream("Book", stream), "Excel 5.0/95"},
        {"Excel 95 stream", TOleStorage::ReplaceStream(good, "Workbook", biff5), "Excel 5.0/95"},
        {"encrypted", TOleStorage::ReplaceStream(good, "Workbook", encrypted), "password"},
        {"no Sheet1",
         TXlsTemplate::FromDescription("sheet Data\nheading Date|Category|In|Out|Notes\n"),
         "Sheet1"},
        {"other document", TOleStorage::CreateWithStream("WordDocument", "abc"), "not an Excel"},
    };
    const QString out = FDir.filePath("kept.xls");
    QVERIFY(!WriteFile(out, "old content").isEmpty());
    for (const TCase &c : cases) {
        const QString templ = WriteFile(FDir.filePath("bad.xls"), c.File);
        try {
            TXlsExport::Export(
                TExportKind::Transactions, templ, out, Head(),
                PeriodOf({MakeRecord(QDate(2009, 1, 1), TRecordType::Expense, "c", 1)}));
            QFAIL(c.Name);
        } catch (const TExportError &e) {
            QVERIFY2(QString(e.what()).contains(c.Reason),
                     qPrintable(QString(c.Name) + ": " + e.what()));
        }
        QFile kept(out);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("old content"));
    }
    QVERIFY_THROWS_EXCEPTION(TExportError, TXlsExport::Export(TExportKind::Transactions,
                                                              FDir.filePath("none.xls"),
                                                              FDir.filePath("n.xls"), Head(), {}));

    // A sheet holds 65,536 rows: heading + 65,531 rows + 4 summary rows fit, one more does not.
    const QString templ = WriteFile(FDir.filePath("cap.xls"), good);
    TPeriod rows = PeriodOf(
        QList<TRecord>(65531, MakeRecord(QDate(2009, 1, 1), TRecordType::Income, "c", 100, "n")));
    const QString full = FDir.filePath("full.xls");
    TXlsExport::Export(TExportKind::Transactions, templ, full, Head(), rows);
    QFile fullFile(full);
    QVERIFY(fullFile.open(QIODevice::ReadOnly));
    QCOMPARE(CheckStructure(TOleStorage::ReadStream(fullFile.readAll(), "Workbook")), QString());
    rows.Records.append(rows.Records.last());
    QVERIFY_THROWS_EXCEPTION(TExportError,
                             TXlsExport::Export(TExportKind::Transactions, templ,
                                                FDir.filePath("over.xls"), Head(), rows));
    QVERIFY(!QFile::exists(FDir.filePath("over.xls")));
}

void TestExportXls::damagedWorkbooksFailCleanly() {
    // Random damage to the records of a workbook: every outcome is a filled
    // workbook or an export error, never a crash or a read out of bounds.
    const QByteArray file = ForeignTemplate();
    const QByteArray stream = TOleStorage::ReadStream(file, "Workbook");
    QRandomGenerator random(20091231);
    int refused = 0;
    for (int round = 0; round < 400; ++round) {
        QByteArray damaged = stream;
        for (int k = 0, n = 1 + round % 4; k < n; ++k)
            // Half of the damage goes to the sheet at the end (the long shared
            // string takes most of the stream).
            damaged[round % 2 ? random.bounded(int(damaged.size()))
                              : int(damaged.size()) - 1 - random.bounded(600)] =
                char(random.bounded(256));
        if (round % 10 == 0)
            damaged.truncate(random.bounded(int(damaged.size())));
        try {
            TXlsExport::BuildWorkbook(
                TExportKind::Transactions, TOleStorage::ReplaceStream(file, "Workbook", damaged),
                Head(),
                PeriodOf({MakeRecord(QDate(2009, 1, 1), TRecordType::Expense, "c", 100, "n")}));
        } catch (const TExportError &) {
            ++refused;
        }
    }
    QVERIFY(refused > 0);
}

// The workbook stream is found whatever its letter case, and the filled
// workbook keeps the template's root class id (which tells readers what kind
// of document the container holds).
void TestExportXls::containerOfTheTemplateIsKept() {
    const QByteArray stream = TOleStorage::ReadStream(
        TXlsTemplate::FromDescription("sheet Sheet1\nheading Date|Category|In|Out|Notes\n"),
        "Workbook");
    const QByteArray classId = QByteArray::fromHex("2008020000000000c000000000000046");
    const QString templ = WriteFile(FDir.filePath("upper.xls"),
                                    TOleStorage::CreateWithStream("WORKBOOK", stream, classId));
    QCOMPARE(RootClassId(TOleStorage::CreateWithStream("WORKBOOK", stream, classId)), classId);
    const QString out = FDir.filePath("upper-out.xls");
    TXlsExport::Export(TExportKind::Transactions, templ, out, Head(),
                       PeriodOf({MakeRecord(QDate(2009, 2, 1), TRecordType::Income, "Pay", 100)}));
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray file = f.readAll();
    QCOMPARE(RootClassId(file), classId);
    bool allText = true;
    QCOMPARE(SheetTexts(ReadBack(out), "Sheet1", &allText).value(1),
             QStringList({"02/01/2009", "Pay", "1.00", " "}));
}

void TestExportXls::shippedTemplatesMatchTheirDescriptions() {
    for (const auto &[name, kind] : {std::pair{QString("cates"), TExportKind::Categories},
                                     std::pair{QString("trans"), TExportKind::Transactions}}) {
        QFile description(QDir(LEDGERLY_SOURCE_DIR).filePath("tools/xlsgen/" + name + ".txt"));
        QFile shipped(QDir(LEDGERLY_SOURCE_DIR).filePath("templates/" + name + ".xls"));
        QVERIFY(description.open(QIODevice::ReadOnly));
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        const QByteArray made =
            TXlsTemplate::FromDescription(QString::fromUtf8(description.readAll()));
        QVERIFY2(made == shipped.readAll(),
                 qPrintable(name + ".xls differs from its description: rebuild it with the "
                                   "xls_templates target"));
        const QString path = WriteFile(FDir.filePath(name + "-shipped.xls"), made);
        QCOMPARE(CheckStructure(TOleStorage::ReadStream(made, "Workbook")), QString());
        bool allText = true;
        const QJsonObject book = ReadBack(path);
        QCOMPARE(SheetTexts(book, "Sheet1", &allText),
                 QList<QStringList>({TXlsExport::ColumnNames(kind)}));
        QCOMPARE(book["sheets"].toArray()[0].toObject()["bold"].toArray()[0].toArray()[0].toInt(),
                 1);
    }
}

void TestExportXls::sheetXlsxHoldsDatesNumbersAndFormulas() {
    const QString out = FDir.filePath("sheet.xlsx");
    TSheetExport::Export(TExportKind::Transactions, TSheetFormat::Xlsx, out, Head(), SheetPeriod(),
                         "dd.MM.yyyy");
    QJsonObject sheet = ReadSheet(out);
    QCOMPARE(sheet["freeze"].toString(), QString("A2"));
    QCOMPARE(sheet["filter"].toString(), QString("A1:E4"));
    const QJsonArray rows = sheet["rows"].toArray();
    QCOMPARE(rows.size(), 10); // header, 3 rows, empty, 3 totals, empty, period line
    QCOMPARE(rows[0].toArray()[4].toArray()[1].toString(), QString("Notes"));
    const auto row = [&rows](int r) {
        return QJsonDocument(rows[r].toArray()).toJson(QJsonDocument::Compact);
    };
    QCOMPARE(row(2), QByteArray(R"([["d","2009-02-03","dd.mm.yyyy"],["s","Expense","General"],)"
                                R"(["s","=Food","General"],["n",-12.5,"#,##0.00"],)"
                                R"(["s","Tea, \"green\"\nand cake","General"]])"));
    QCOMPARE(rows[5].toArray()[3].toArray()[1].toString(),
             QString("=SUMIF(B2:B4,\"Income\",D2:D4)"));
    QCOMPARE(rows[6].toArray()[3].toArray()[1].toString(),
             QString("=SUMIF(B2:B4,\"Expense\",D2:D4)"));
    QCOMPARE(rows[7].toArray()[2].toArray()[1].toString(), QString("Net Income"));
    QCOMPARE(rows[7].toArray()[3].toArray()[1].toString(), QString("=SUM(D2:D4)"));
    QVERIFY(rows[9].toArray()[0].toArray()[1].toString().startsWith("Zoë O'Neil (02/01/2009"));
    const QJsonArray widths = sheet["widths"].toArray();
    QVERIFY(widths[4].toDouble() > widths[1].toDouble()); // notes wider than the type
    QVERIFY(widths[0].toDouble() >= 10);                  // room for "27.09.2028"

    // Category lists: counts and signed amounts, shares as percentages.
    TSheetExport::Export(TExportKind::Categories, TSheetFormat::Xlsx, out, Head(), SheetPeriod());
    sheet = ReadSheet(out);
    QCOMPARE(sheet["title"].toString(), QString("Categories"));
    const QJsonArray cates = sheet["rows"].toArray();
    QCOMPARE(QJsonDocument(cates[2].toArray()).toJson(QJsonDocument::Compact),
             QByteArray(R"([["s","Expense","General"],["s","Café","General"],)"
                        R"(["n",1,"General"],["n",-37.5,"#,##0.00"],["n",0.75,"0.00%"]])"));
    QCOMPARE(cates[7].toArray()[2].toArray()[1].toString(), QString("=SUM(C2:C4)"));
}

void TestExportXls::sheetCsvIsQuotedAndSigned() {
    const QString out = FDir.filePath("sheet.csv");
    const auto rowsOf = [&out](TExportKind kind) {
        TSheetExport::Export(kind, TSheetFormat::Csv, out, Head(), SheetPeriod());
        const QJsonObject csv = ReadSheet(out);
        return csv["bom"].toBool() ? csv["rows"].toArray() : QJsonArray();
    };
    QCOMPARE(
        rowsOf(TExportKind::Transactions),
        QJsonArray::fromVariantList(
            {QStringList{"Date", "Type", "Category", "Amount", "Notes"},
             QStringList{"2009-02-01", "Income", "Pay", "1500.00", "Feb"},
             QStringList{"2009-02-03", "Expense", "'=Food", "-12.50", "Tea, \"green\"\nand cake"},
             QStringList{"2009-02-28", "Expense", "Café", "-37.50", ""}}));
    QCOMPARE(
        rowsOf(TExportKind::Categories),
        QJsonArray::fromVariantList({QStringList{"Type", "Category", "Count", "Amount", "Share"},
                                     QStringList{"Income", "Pay", "1", "1500.00", "100.00%"},
                                     QStringList{"Expense", "Café", "1", "-37.50", "75.00%"},
                                     QStringList{"Expense", "'=Food", "3", "-12.50", "25.00%"}}));
}

void TestExportXls::sheetExportFailsWithoutHarm() {
    QTemporaryDir dir;
    const TPeriod big = PeriodOf(QList<TRecord>(
        3000, MakeRecord(QDate(2009, 1, 1), TRecordType::Expense, "Food", 100, "notes")));
    // The length of the sheet's XML, to fail the write of its very end.
    const QString whole = dir.filePath("whole.xlsx");
    TSheetExport::Export(TExportKind::Transactions, TSheetFormat::Xlsx, whole, Head(), big);
    const auto sheetSize = rlim_t(ReadSheet(whole)["size"].toInt());
    QVERIFY(sheetSize > 64 * 1024 && QFile::remove(whole));
    TPeriod longNote = big;
    longNote.Records[7].Notes = QString(40000, u'x');

    // A full disk under the rows' temporary file, under the end of the sheet
    // and under the .csv, and a text no cell holds: each fails, says why and
    // keeps the old file.
    const QString kept = WriteFile(dir.filePath("kept.xlsx"), "old content");
    struct TCase {
        TSheetFormat Format;
        rlim_t Limit;
        const TPeriod &Period;
        const char *Reason;
    };
    for (const TCase &c : {TCase{TSheetFormat::Xlsx, 64 * 1024, big, "File too large"},
                           TCase{TSheetFormat::Xlsx, sheetSize - 20, big, "a write failed"},
                           TCase{TSheetFormat::Csv, 64 * 1024, big, "File too large"},
                           TCase{TSheetFormat::Xlsx, RLIM_INFINITY, longNote,
                                 "the notes of the record of 2009-01-01"}}) {
        QString text;
        try {
            TFileSizeLimit limit(c.Limit);
            TSheetExport::Export(TExportKind::Transactions, c.Format, kept, Head(), c.Period);
        } catch (const TExportError &e) {
            text = QString::fromUtf8(e.what());
        }
        QVERIFY2(text.contains(c.Reason) && text.contains(kept), qPrintable(text));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"kept.xlsx"}));
        QFile file(kept);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old content"));
    }
    QVERIFY_THROWS_EXCEPTION(TExportError,
                             TSheetExport::Export(TExportKind::Categories, TSheetFormat::Xlsx,
                                                  dir.filePath("no/folder.xlsx"), Head(), big));
}

void TestExportXls::sheetDateFormats_data() {
    QTest::addColumn<QString>("qt");
    QTest::addColumn<QString>("excel");
    QTest::newRow("en_US") << "M/d/yy"
                           << "m/d/yy";
    QTest::newRow("de_DE") << "dd.MM.yyyy"
                           << "dd.mm.yyyy";
    QTest::newRow("names") << "dddd, d MMMM yyyy"
                           << "dddd, d mmmm yyyy";
    QTest::newRow("quoted text") << "yyyy'年'M'月'd'日'"
                                 << "yyyy\"年\"m\"月\"d\"日\"";
    QTest::newRow("letters and quotes") << "d 'de' MMM 'o''k' \""
                                        << "d \"de\" mmm \"o'k\" \\\"";
}

void TestExportXls::sheetDateFormats() {
    QFETCH(QString, qt);
    QFETCH(QString, excel);
    QCOMPARE(TSheetExport::ExcelDateFormat(qt), excel);
}

QTEST_GUILESS_MAIN(TestExportXls)
#include "test_export_xls.moc"
