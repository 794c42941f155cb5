#pragma once

#include "export/ExportTypes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Fills an HTML export template with the rows and totals of a search.
//
// A template is three sections separated by "<!-- - -->": the page head
// (placeholder "#top"), the row pattern, repeated once per row (its
// placeholders depend on the kind of rows), and the page foot ("#bottom").
// Placeholders are found without regard to letter case, also inside longer
// words. Values are HTML-escaped and never searched for placeholders again.
class THtmlExport {
public:
    static const QString Separator;

    // The sections of a template as the export cuts it: the text trimmed of
    // codes 0-32, cut at every separator, zero-length pieces dropped, every
    // other piece trimmed (a blank piece becomes an empty section).
    static QStringList SplitTemplate(const QString &text);

    // Template bytes as text: UTF-8 (a byte-order mark is skipped); a file
    // that is not valid UTF-8 is an old 8-bit template and read as Latin-1.
    static QString DecodeTemplate(const QByteArray &bytes);

    // The finished page as UTF-8 without byte-order mark. Throws
    // TExportError when the template has fewer than three sections.
    static QByteArray BuildPage(TExportKind kind, const QString &templateText,
                                const TReportHead &head, const TPeriod &period);

    // Reads the template, builds the page and writes it in one piece, so a
    // failure leaves no file behind (and keeps any file that was there).
    static void Export(TExportKind kind, const QString &templateFile, const QString &outFile,
                       const TReportHead &head, const TPeriod &period);
};
