#include "import/Statement.h"

#include "import/CsvReader.h"
#include "import/OfxReader.h"
#include "import/QifReader.h"
#include "import/TextDecoding.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// Refuses empty files and binary data.
void Refuse(const QByteArray &bytes) {
    if (std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return QChar::isSpace(uchar(c)); }))
        throw TImportError(QCoreApplication::translate("Statement", "The file is empty."));
    if (TTextDecoding::LooksBinary(bytes))
        throw TImportError(QCoreApplication::translate(
            "Statement", "The file is not a statement: it holds binary data, not text."));
}

QString Decoded(const QByteArray &bytes, TTextEncoding *encoding) {
    Refuse(bytes);
    *encoding = TTextDecoding::Guess(bytes);
    QString text = TTextDecoding::Decode(bytes, *encoding);
    if (text.trimmed().isEmpty())
        throw TImportError(QCoreApplication::translate("Statement", "The file is empty."));
    return text;
}

} // namespace

QByteArray ReadStatementBytes(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TImportError(
            QCoreApplication::translate("Statement", "Cannot open \u201C%1\u201D: %2")
                .arg(QFileInfo(path).fileName(), file.errorString())
                .toStdString());
    if (file.size() > kMaxStatementBytes)
        throw TImportError(QCoreApplication::translate(
                               "Statement", "\u201C%1\u201D is too large for a statement (more "
                                            "than %2 MB).")
                               .arg(QFileInfo(path).fileName())
                               .arg(kMaxStatementBytes / (1024 * 1024))
                               .toStdString());
    // Read one byte more than the limit, for files that grow or report no
    // size (pipes).
    QByteArray bytes = file.read(kMaxStatementBytes + 1);
    if (bytes.size() > kMaxStatementBytes)
        throw TImportError(
            QCoreApplication::translate("Statement", "\u201C%1\u201D is too large for a statement.")
                .arg(QFileInfo(path).fileName())
                .toStdString());
    if (file.error() != QFileDevice::NoError)
        throw TImportError(
            QCoreApplication::translate("Statement", "Cannot read \u201C%1\u201D: %2")
                .arg(QFileInfo(path).fileName(), file.errorString())
                .toStdString());
    return bytes;
}

TStatementGuess GuessStatement(const QByteArray &bytes) {
    TTextEncoding encoding = TTextEncoding::Utf8;
    const QString text = Decoded(bytes, &encoding);
    if (TOfxReader::Recognises(text)) {
        // Nothing is left to choose: a file that cannot be read is refused now.
        TOfxReader::Read(text);
        TStatementGuess guess;
        guess.Layout.Format = TStatementFormat::Ofx;
        guess.Layout.Encoding = encoding;
        guess.Layout.DateOrder = TDateOrder::YearMonthDay;
        return guess;
    }
    if (TQifReader::Recognises(text)) {
        TStatementGuess guess = TQifReader::Guess(text, encoding);
        if (guess.Questions.isEmpty())
            TQifReader::Read(text, guess.Layout);
        return guess;
    }
    return TCsvReader::Guess(text, encoding);
}

TStatement ReadStatement(const QByteArray &bytes, const TStatementLayout &layout) {
    Refuse(bytes);
    const QString text = TTextDecoding::Decode(bytes, layout.Encoding);
    TStatement statement;
    switch (layout.Format) {
    case TStatementFormat::Ofx:
        statement = TOfxReader::Read(text);
        break;
    case TStatementFormat::Qif:
        statement = TQifReader::Read(text, layout);
        break;
    case TStatementFormat::Csv:
        statement = TCsvReader::Read(text, layout);
        break;
    }
    // Nothing read and nothing wrong: the accounts of the file hold no entries.
    if (statement.Lines.isEmpty() && statement.Problems.isEmpty())
        statement.Problems << TStatementProblem{0, NoStatementEntries()};
    return statement;
}

QString NoStatementEntries() {
    return QCoreApplication::translate("Statement", kNoStatementEntries);
}

TStatement ReadStatementFile(const QString &path) {
    const QByteArray bytes = ReadStatementBytes(path);
    const TStatementGuess guess = GuessStatement(bytes);
    if (!guess.Questions.isEmpty())
        throw TImportError(guess.Questions.join(QLatin1Char(' ')).toStdString());
    return ReadStatement(bytes, guess.Layout);
}

std::optional<TStatementLayout> FitStatementLayout(const QByteArray &bytes,
                                                   const TStatementLayout &profile) {
    if (bytes.isEmpty() || TTextDecoding::LooksBinary(bytes))
        return std::nullopt;
    return TCsvReader::Fit(TTextDecoding::Decode(bytes, profile.Encoding), profile);
}

QString StatementNotes(const TStatementLine &line) {
    if (line.Memo.isEmpty() || line.Memo.compare(line.Payee, Qt::CaseInsensitive) == 0)
        return line.Payee;
    if (line.Payee.isEmpty())
        return line.Memo;
    return line.Payee + QStringLiteral(" - ") + line.Memo;
}

QStringList StatementColumns(const QByteArray &bytes, const TStatementLayout &layout,
                             QString *headerSignature) {
    if (headerSignature)
        headerSignature->clear();
    if (layout.Format != TStatementFormat::Csv || bytes.isEmpty() ||
        TTextDecoding::LooksBinary(bytes))
        return {};
    return TCsvReader::Columns(TTextDecoding::Decode(bytes, layout.Encoding), layout,
                               headerSignature);
}

TImportId StatementImportId(const TStatementLine &line) {
    if (line.Id.isEmpty())
        return {};
    return {line.Account, line.Id};
}
