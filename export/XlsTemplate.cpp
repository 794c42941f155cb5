#include "export/XlsTemplate.h"

#include "export/BiffWorkbook.h"
#include "export/ExportTypes.h"
#include "export/OleStorage.h"

#include <QRegularExpression>

namespace {

struct TSheetText {
    QString Name;
    QList<double> Widths;
    QList<std::pair<bool, TBiffRow>> Rows; // bold?, cells
};

// The class id of an Excel 97-2003 workbook's root storage.
const QByteArray kExcelClassId = QByteArray::fromHex("2008020000000000C000000000000046");

} // namespace

QByteArray TXlsTemplate::FromDescription(const QString &text) {
    QList<TSheetText> sheets;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r?\n")));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype space = line.indexOf(u' ');
        const QString word = line.left(space < 0 ? line.size() : space);
        const QString rest = space < 0 ? QString() : line.mid(space + 1).trimmed();
        auto fail = [&](const QString &why) {
            throw TExportError(
                QStringLiteral("Line %1 of the workbook description: %2").arg(n + 1).arg(why));
        };
        if (word == QLatin1String("sheet")) {
            if (rest.isEmpty())
                fail(QStringLiteral("a sheet needs a name"));
            sheets.append(TSheetText{rest, {}, {}});
            continue;
        }
        if (sheets.isEmpty())
            fail(QStringLiteral("\"sheet NAME\" must come first"));
        if (word == QLatin1String("widths")) {
            for (const QString &w : rest.split(u' ', Qt::SkipEmptyParts)) {
                bool ok = false;
                const double width = w.toDouble(&ok);
                if (!ok || width < 0 || width > 255)
                    fail(QStringLiteral("\"%1\" is not a column width").arg(w));
                sheets.last().Widths.append(width);
            }
        } else if (word == QLatin1String("heading") || word == QLatin1String("row")) {
            TBiffRow row;
            const QStringList cells = rest.split(u'|');
            for (qsizetype c = 0; c < cells.size(); ++c)
                if (!cells[c].trimmed().isEmpty())
                    row.append({int(c), cells[c].trimmed()});
            sheets.last().Rows.append({word == QLatin1String("heading"), row});
        } else {
            fail(QStringLiteral("unknown word \"%1\"").arg(word));
        }
    }
    if (sheets.isEmpty())
        throw TExportError(QStringLiteral("The workbook description has no sheet."));

    QStringList names;
    QList<QList<double>> widths;
    for (const TSheetText &s : sheets) {
        names.append(s.Name);
        widths.append(s.Widths);
    }
    TBiffWorkbook book = TBiffWorkbook::CreateEmpty(names, widths);
    for (qsizetype k = 0; k < sheets.size(); ++k)
        for (const auto &[bold, cells] : sheets[k].Rows)
            book.AppendRows(int(k), {cells},
                            bold ? TBiffWorkbook::BoldFormat : TBiffWorkbook::PlainFormat);
    return TOleStorage::CreateWithStream(QStringLiteral("Workbook"), book.Serialize(),
                                         kExcelClassId);
}
