#include "export/XlsExport.h"

#include "export/BiffWorkbook.h"
#include "export/OleStorage.h"
#include "store/AmountText.h"
#include "store/CheckedFile.h"

#include <QFile>

namespace {

const QString kSheet = QStringLiteral("Sheet1");
const QString kWorkbookStream = QStringLiteral("Workbook");

// An empty money cell holds one blank.
QString OrBlank(const QString &value) {
    return value.isEmpty() ? QStringLiteral(" ") : value;
}

} // namespace

QStringList TXlsExport::ColumnNames(TExportKind kind) {
    if (kind == TExportKind::Categories)
        return {"Type", "Category", "Qty", "In", "Out", "Ratio"};
    return {"Date", "Category", "In", "Out", "Notes"};
}

QList<QStringList> TXlsExport::SheetRows(TExportKind kind, const TReportHead &head,
                                         const TPeriod &period) {
    QList<QStringList> out;
    if (kind == TExportKind::Categories) {
        for (const TCategoryTexts &r : CategoryRowTexts(period))
            out.append({r[0], r[1], r[2], OrBlank(r[3]), OrBlank(r[4]), r[5]});
    } else {
        out.reserve(period.Records.size() + 4);
        for (const TRecord &record : period.Records) {
            const TRecordTexts r = RecordRowTexts(record);
            out.append({r[0], r[1], OrBlank(r[2]), OrBlank(r[3]), r[4]});
        }
    }
    const int categoryColumn = 1;
    const int width = int(ColumnNames(kind).size());
    for (const QString &text :
         {ExportPeriodLine(head), QStringLiteral("Income: ") + CentsText(head.IncomeCents),
          QStringLiteral("Expenses: ") + CentsText(head.ExpenseCents),
          QStringLiteral("Net Income: ") + CentsText(head.IncomeCents - head.ExpenseCents)}) {
        QStringList row(width);
        row[categoryColumn] = text;
        out.append(row);
    }
    return out;
}

QByteArray TXlsExport::BuildWorkbook(TExportKind kind, const QByteArray &templateFile,
                                     const TReportHead &head, const TPeriod &period) {
    if (!TOleStorage::IsCompoundFile(templateFile))
        throw TExportError(QStringLiteral("The template is not an Excel 97-2003 workbook."));
    if (!TOleStorage::HasStream(templateFile, kWorkbookStream)) {
        if (TOleStorage::HasStream(templateFile, QStringLiteral("Book")))
            throw TExportError(QStringLiteral("The template is an Excel 5.0/95 workbook; only "
                                              "Excel 97-2003 workbooks can be filled. Save it in "
                                              "the Excel 97-2003 format."));
        throw TExportError(QStringLiteral("The template is not an Excel workbook (it has no "
                                          "workbook stream)."));
    }
    TBiffWorkbook book =
        TBiffWorkbook::Parse(TOleStorage::ReadStream(templateFile, kWorkbookStream));
    const int sheet = book.FindSheet(kSheet);
    if (sheet < 0)
        throw TExportError(
            QStringLiteral("The template workbook has no worksheet named \"%1\".").arg(kSheet));

    // Each value goes to the column whose heading names it, as a database
    // insert into the sheet would place it.
    const QStringList names = ColumnNames(kind);
    const int headingRow = book.FirstRow(sheet);
    const QMap<int, QString> headings =
        headingRow >= 0 ? book.RowTexts(sheet, headingRow) : QMap<int, QString>();
    QList<int> columns;
    for (const QString &name : names) {
        int column = -1;
        for (auto it = headings.cbegin(); it != headings.cend() && column < 0; ++it)
            if (it.value().trimmed().compare(name, Qt::CaseInsensitive) == 0)
                column = it.key();
        if (column < 0)
            throw TExportError(QStringLiteral("The first row of \"%1\" in the template workbook "
                                              "has no column \"%2\"; it needs the headings %3.")
                                   .arg(kSheet, name, names.join(QStringLiteral(", "))));
        columns.append(column);
    }

    const QList<QStringList> texts = SheetRows(kind, head, period);
    QList<TBiffRow> cells;
    cells.reserve(texts.size());
    for (const QStringList &row : texts) {
        TBiffRow cellRow;
        cellRow.reserve(row.size());
        for (qsizetype i = 0; i < row.size(); ++i)
            if (!row[i].isEmpty()) // an empty value leaves the cell blank
                cellRow.append({columns[i], row[i]});
        std::sort(cellRow.begin(), cellRow.end(),
                  [](const TBiffCell &a, const TBiffCell &b) { return a.first < b.first; });
        cells.append(std::move(cellRow));
    }
    book.AppendRows(sheet, cells);
    return TOleStorage::ReplaceStream(templateFile, kWorkbookStream, book.Serialize());
}

void TXlsExport::Export(TExportKind kind, const QString &templateFile, const QString &outFile,
                        const TReportHead &head, const TPeriod &period) {
    QFile file(templateFile);
    if (!file.open(QIODevice::ReadOnly))
        throw TExportError(QStringLiteral("Cannot read the template workbook \"%1\": %2. Restore "
                                          "the template file that came with Ledgerly.")
                               .arg(templateFile, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TExportError(QStringLiteral("Cannot read the template workbook \"%1\": %2.")
                               .arg(templateFile, file.errorString()));
    file.close();

    QByteArray workbook;
    try {
        workbook = BuildWorkbook(kind, bytes, head, period);
    } catch (const TExportError &e) {
        throw TExportError(QStringLiteral("%1\n\nTemplate: %2")
                               .arg(QString::fromStdString(e.what()), templateFile));
    }
    try {
        // Exports are the user's documents: the usual file mode, not the
        // data file's privacy.
        TCheckedFile::WriteWhole(outFile, workbook, TCheckedFile::TAccess::Shared);
    } catch (const std::exception &e) {
        throw TExportError(QString::fromStdString(e.what()) +
                           QStringLiteral(". Choose a folder you can write to."));
    }
}
