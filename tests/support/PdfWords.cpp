#include "tests/support/PdfWords.h"

#include "tests/support/TestDialogs.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>

namespace {

QString Unescape(const QString &html) {
    QString text = html;
    text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'");
    text.replace("&amp;", "&");
    return text;
}

} // namespace

QList<TPdfWord> TPdfPage::Find(const QString &text) const {
    QList<TPdfWord> found;
    for (const TPdfWord &word : Words)
        if (word.Text == text)
            found.append(word);
    std::sort(found.begin(), found.end(),
              [](const TPdfWord &a, const TPdfWord &b) { return a.Box.top() < b.Box.top(); });
    return found;
}

QString TPdfPage::LineAt(double top, double tolerance) const {
    QList<TPdfWord> line;
    for (const TPdfWord &word : Words)
        if (qAbs(word.Box.top() - top) <= tolerance)
            line.append(word);
    std::sort(line.begin(), line.end(),
              [](const TPdfWord &a, const TPdfWord &b) { return a.Box.left() < b.Box.left(); });
    QStringList texts;
    for (const TPdfWord &word : line)
        texts.append(word.Text);
    return texts.join(' ');
}

bool TPdfPage::Contains(const QString &phrase) const {
    const QStringList parts = phrase.split(' ', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return false;
    for (const TPdfWord &word : Find(parts.first())) {
        if (LineAt(word.Box.top()).contains(phrase))
            return true;
    }
    return false;
}

QList<TPdfPage> ReadPdfWords(const QString &pdfPath, QString *error) {
    QProcess process;
    process.start("pdftotext", {"-bbox", pdfPath, "-"});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        if (error)
            *error =
                QString("pdftotext failed: %1 %2")
                    .arg(process.errorString(), QString::fromUtf8(process.readAllStandardError()));
        return {};
    }
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression pageRe(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
    static const QRegularExpression wordRe(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QList<TPdfPage> pages;
    qsizetype pos = 0;
    while (true) {
        const QRegularExpressionMatch page = pageRe.match(html, pos);
        if (!page.hasMatch())
            break;
        const qsizetype end = html.indexOf("</page>", page.capturedEnd());
        const QString body = html.mid(page.capturedEnd(), end < 0 ? -1 : end - page.capturedEnd());
        TPdfPage result;
        result.Size = QSizeF(page.captured(1).toDouble(), page.captured(2).toDouble());
        auto it = wordRe.globalMatch(body);
        while (it.hasNext()) {
            const QRegularExpressionMatch w = it.next();
            const double x0 = w.captured(1).toDouble(), y0 = w.captured(2).toDouble();
            const double x1 = w.captured(3).toDouble(), y1 = w.captured(4).toDouble();
            result.Words.append(
                TPdfWord{Unescape(w.captured(5)), QRectF(x0, y0, x1 - x0, y1 - y0)});
        }
        pages.append(result);
        pos = end < 0 ? html.size() : end;
    }
    return pages;
}

void PrintToPdf(const QString &path, int from, int to, QPageLayout::Orientation orientation) {
    TestDialogs::Dialog([=](QDialog *dialog) {
        auto *print = qobject_cast<QPrintDialog *>(dialog);
        QVERIFY2(print, "the window is not the print dialog");
        QPrinter *printer = print->printer();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(path);
        printer->setPageOrientation(orientation);
        if (from > 0) {
            printer->setPrintRange(QPrinter::PageRange);
            printer->setFromTo(from, to);
        }
        // Confirmed without the dialog's controls writing their own choices
        // over these (accept() would).
        print->done(QDialog::Accepted);
    });
}
