#pragma once

#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>

// The words of a PDF file with their boxes in points, read back with
// poppler's pdftotext -bbox: the check that a printout really came out as
// laid out.
struct TPdfWord {
    QString Text;
    QRectF Box;
};

struct TPdfPage {
    QSizeF Size; // points
    QList<TPdfWord> Words;

    // The words whose text is `text`, top to bottom.
    QList<TPdfWord> Find(const QString &text) const;
    // The words on the line whose top is within `tolerance` points of `top`,
    // left to right, joined by single spaces.
    QString LineAt(double top, double tolerance = 2) const;
    // True when some word sequence on one line reads `phrase`.
    bool Contains(const QString &phrase) const;
};

// Reads `pdfPath`; an empty list when pdftotext fails (the reason goes to
// *error when given).
QList<TPdfPage> ReadPdfWords(const QString &pdfPath, QString *error = nullptr);

// Answers the next print dialog (through TestDialogs): prints to the PDF file
// `path`, pages `from` to `to` when `from` is given, else all of them, with
// `orientation` chosen.
void PrintToPdf(const QString &path, int from = 0, int to = 0,
                QPageLayout::Orientation orientation = QPageLayout::Portrait);
