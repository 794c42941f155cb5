#pragma once

#include "import/Statement.h"

// Collects what a reader finds in one file within fixed limits, so that no
// file, however large or broken, makes a reader hold more than a bounded
// number of lines and problems.
class TStatementBuilder {
public:
    static constexpr int kMaxLines = 100000;
    static constexpr int kMaxProblems = 1000;

    // Throws TImportError when the file holds more than kMaxLines entries.
    void AddLine(const TStatementLine &line);
    // Problems beyond kMaxProblems are counted, not kept.
    void AddProblem(int line, const QString &reason);
    // The statement; when problems were only counted, a last problem (line
    // 0) says how many more lines could not be read.
    TStatement Take();

private:
    TStatement Statement;
    int Uncounted = 0;
};

// Payee and memo texts as the lines keep them: control characters and runs
// of blanks made one space.
QString CleanStatementText(QStringView text);
// A text of the file as a problem report quotes it: in quotation marks, cut
// after 60 characters.
QString QuotedForReport(QStringView text);
