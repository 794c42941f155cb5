#pragma once

#include <QByteArray>
#include <QString>

// Makes template workbooks (Excel 97-2003) from a plain-text description, so
// that the shipped .xls files can be rebuilt byte for byte from text kept
// with the sources. The description is read line by line:
//
//   # a comment; blank lines are skipped
//   sheet NAME                    starts a worksheet
//   widths 10 28 6                column widths in characters, from column A
//   heading Type | Category       a row of bold text cells
//   row a | b                     a row of plain text cells ("|" separates cells)
//
// Throws TExportError naming the line of a fault.
class TXlsTemplate {
public:
    static QByteArray FromDescription(const QString &text);
};
