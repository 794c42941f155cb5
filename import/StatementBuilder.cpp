#include "import/StatementBuilder.h"

#include <QCoreApplication>

void TStatementBuilder::AddLine(const TStatementLine &line) {
    if (Statement.Lines.size() >= kMaxLines)
        throw TImportError(
            QCoreApplication::translate("TStatementBuilder",
                                        "The file holds more than %L1 entries; import it in "
                                        "parts.")
                .arg(kMaxLines)
                .toStdString());
    Statement.Lines << line;
}

void TStatementBuilder::AddProblem(int line, const QString &reason) {
    if (Statement.Problems.size() < kMaxProblems)
        Statement.Problems << TStatementProblem{line, reason};
    else
        ++Uncounted;
}

TStatement TStatementBuilder::Take() {
    if (Uncounted > 0)
        Statement.Problems << TStatementProblem{
            0, QCoreApplication::translate("TStatementBuilder", "%L1 more lines could not be read")
                   .arg(Uncounted)};
    Uncounted = 0;
    return std::move(Statement);
}

QString CleanStatementText(QStringView text) {
    QString out = text.toString();
    for (QChar &c : out)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            c = u' ';
    return out.simplified();
}

QString QuotedForReport(QStringView text) {
    return QCoreApplication::translate("TStatementBuilder", "\u201C%1\u201D")
        .arg(text.left(60).toString());
}
