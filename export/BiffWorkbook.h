#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <utility>

// One record of a BIFF8 stream: its type and its data (without the header).
struct TBiffRecord {
    quint16 Type = 0;
    QByteArray Data;
};

// One cell of a row to append: column and text.
using TBiffCell = std::pair<int, QString>;
using TBiffRow = QList<TBiffCell>;

// The "Workbook" stream of an Excel 97-2003 (BIFF8) file as records: the
// workbook globals, the shared string table and the sheets. Rows of text
// cells can be appended to a sheet; Serialize() lays the stream out again and
// fixes every record that holds stream offsets (BOUNDSHEET, INDEX, EXTSST)
// and the sheet's DIMENSIONS. Failures throw TExportError.
class TBiffWorkbook {
public:
    enum : quint16 {
        BOF = 0x0809,
        EOF_ = 0x000A,
        CONTINUE = 0x003C,
        FILEPASS = 0x002F,
        BOUNDSHEET = 0x0085,
        SST = 0x00FC,
        EXTSST = 0x00FF,
        INDEX = 0x020B,
        DEFCOLWIDTH = 0x0055,
        DIMENSIONS = 0x0200,
        ROW = 0x0208,
        DBCELL = 0x00D7,
        LABELSST = 0x00FD,
        LABEL = 0x0204,
        RSTRING = 0x00D6,
    };
    static constexpr int MaxRows = 65536;
    static constexpr int MaxColumns = 256;
    static constexpr int MaxCellText = 32767;

    // Parses a BIFF8 stream; refuses BIFF5 and older, encrypted workbooks and
    // anything that is not a workbook stream.
    static TBiffWorkbook Parse(const QByteArray &stream);

    // An empty workbook skeleton for making templates: globals with the
    // default fonts and formats (cell format 15 plain, 16 bold) and one empty
    // worksheet per name, with the given column widths (in characters).
    static TBiffWorkbook CreateEmpty(const QStringList &sheetNames,
                                     const QList<QList<double>> &columnWidths);
    static constexpr quint16 PlainFormat = 15;
    static constexpr quint16 BoldFormat = 16;

    QStringList SheetNames() const;
    // Index of the worksheet of that name (letter case ignored), or -1.
    int FindSheet(const QString &name) const;
    // The row after the highest row that holds a cell or ROW record.
    int NextRow(int sheet) const;
    // Lowest row holding a cell or ROW record, -1 for an empty sheet.
    int FirstRow(int sheet) const;
    // The texts of the text cells of a row: column -> text.
    QMap<int, QString> RowTexts(int sheet, int row) const;

    // Appends the rows below the sheet's last row as text cells in format
    // `xf`. Throws when the rows do not fit the sheet or a text is too long.
    void AppendRows(int sheet, const QList<TBiffRow> &rows, quint16 xf = PlainFormat);

    QByteArray Serialize() const;

private:
    struct TSheet {
        QString Name;
        quint8 Kind = 0;     // BOUNDSHEET dt: 0 worksheet
        int BoundSheet = -1; // index of its BOUNDSHEET record in Globals, -1 when none
        QList<TBiffRecord> Records;
        // Appended rows: records whose data point into these buffers.
        QList<QByteArray> Buffers;
    };
    struct TString {
        QString Text;
        QByteArray Runs; // formatting runs, 4 bytes each
        QByteArray Ext;  // phonetic data
    };

    int StringIndex(const QString &text);
    QByteArray SerializeGlobals(const QList<qint64> &sheetStarts, qint64 &size) const;
    void AppendSst(QByteArray &out, QList<std::pair<qint64, quint16>> &buckets,
                   int bucketSize) const;
    static qint64 SheetSize(const TSheet &sheet);
    void SerializeSheet(QByteArray &out, const TSheet &sheet) const;

    QList<TBiffRecord> FGlobals; // without SST, its CONTINUEs and EXTSST
    int FSstAt = -1;             // where the string table goes in FGlobals
    QList<TSheet> FSheets;       // sheets in stream order
    QList<TString> FStrings;
    QHash<QString, int> FPlainStrings; // text -> index, strings without runs or phonetics
    quint32 FStringRefs = 0;           // cells referring to the table
};
