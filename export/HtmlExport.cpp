#include "export/HtmlExport.h"

#include "store/AmountText.h"
#include "store/CheckedFile.h"

#include <QFile>
#include <QStringDecoder>

#include <array>

const QString THtmlExport::Separator = QStringLiteral("<!-- - -->");

namespace {

const QByteArray kNbsp = QByteArrayLiteral("&nbsp;");

// Trims characters with codes 0 to 32 at both ends (QString::trimmed would
// also take non-breaking and other Unicode spaces).
QStringView TrimControls(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.sliced(begin, end - begin);
}

// A section cut into literal pieces and placeholder slots:
// Literals[0], Slots[0], Literals[1], Slots[1], ..., Literals[n]. Literals are
// kept as UTF-8 so that filling a row is appending bytes.
struct TPattern {
    QList<QByteArray> Literals;
    QList<int> Slots;
};

// One scan of the section; at each position the placeholders are tried in
// their replacement order. No placeholder is a prefix of another and each
// starts with the only "#" it holds, so this finds exactly what replacing
// them one after the other in the template text would find.
TPattern CompilePattern(QStringView section, const QStringList &placeholders) {
    TPattern pattern;
    qsizetype literalStart = 0;
    qsizetype i = 0;
    while (i < section.size()) {
        bool matched = false;
        if (section[i] == u'#') {
            for (int slot = 0; slot < placeholders.size(); ++slot) {
                const QString &name = placeholders[slot];
                if (section.size() - i >= name.size() &&
                    section.sliced(i, name.size()).compare(name, Qt::CaseInsensitive) == 0) {
                    pattern.Literals.append(
                        section.sliced(literalStart, i - literalStart).toUtf8());
                    pattern.Slots.append(slot);
                    i += name.size();
                    literalStart = i;
                    matched = true;
                    break;
                }
            }
        }
        if (!matched)
            ++i;
    }
    pattern.Literals.append(section.sliced(literalStart).toUtf8());
    return pattern;
}

template <typename Values>
void AppendFilled(QByteArray &out, const TPattern &pattern, const Values &values) {
    for (qsizetype k = 0; k < pattern.Slots.size(); ++k) {
        out.append(pattern.Literals[k]);
        out.append(values[pattern.Slots[k]]);
    }
    out.append(pattern.Literals.last());
}

QByteArray Escaped(const QString &value) {
    return value.toHtmlEscaped().toUtf8();
}

// Empty after trimming blanks gives a non-breaking space, so that the table
// cell keeps its borders.
QByteArray OrNbsp(const QString &value) {
    return value.trimmed().isEmpty() ? kNbsp : Escaped(value);
}

} // namespace

QStringList THtmlExport::SplitTemplate(const QString &text) {
    QStringList sections;
    const QStringView whole = TrimControls(text);
    qsizetype start = 0;
    while (true) {
        const qsizetype at = whole.indexOf(Separator, start);
        const QStringView piece = whole.sliced(start, (at < 0 ? whole.size() : at) - start);
        if (!piece.isEmpty())
            sections.append(TrimControls(piece).toString());
        if (at < 0)
            break;
        start = at + Separator.size();
    }
    return sections;
}

QString THtmlExport::DecodeTemplate(const QByteArray &bytes) {
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (utf8.hasError())
        return QString::fromLatin1(view);
    return text;
}

QByteArray THtmlExport::BuildPage(TExportKind kind, const QString &templateText,
                                  const TReportHead &head, const TPeriod &period) {
    const QStringList sections = SplitTemplate(templateText);
    if (sections.size() < 3)
        throw TExportError(
            QStringLiteral("The export template has %1 of the three sections it needs (page "
                           "head, row pattern, page foot), separated by \"%2\". Restore the "
                           "template file that came with Ledgerly.")
                .arg(sections.size())
                .arg(Separator));

    const TPattern top = CompilePattern(sections[0], {QStringLiteral("#top")});
    const TPattern bottom = CompilePattern(sections[2], {QStringLiteral("#bottom")});
    const bool cates = kind == TExportKind::Categories;
    const TPattern row = CompilePattern(
        sections[1], cates ? QStringList{"#type", "#category", "#qty", "#in", "#out", "#ratio"}
                           : QStringList{"#date", "#category", "#in", "#out", "#notes"});

    QByteArray page;
    // Rough size: the row pattern once per row plus the values.
    const qsizetype rowCount =
        cates ? period.IncomeCategories.size() + period.ExpenseCategories.size()
              : period.Records.size();
    qsizetype rowSize = 0;
    for (const QByteArray &literal : row.Literals)
        rowSize += literal.size();
    page.reserve((rowSize + 24 * row.Slots.size()) * rowCount + 4096);

    AppendFilled(page, top, std::array<QByteArray, 1>{Escaped(ExportPeriodLine(head))});

    std::array<QByteArray, 6> values;
    if (cates) {
        for (const TCategoryTexts &r : CategoryRowTexts(period)) {
            for (int i = 0; i < 6; ++i)
                values[i] = (i == 3 || i == 4) && r[i].isEmpty() ? kNbsp : Escaped(r[i]);
            AppendFilled(page, row, values);
        }
    } else {
        for (const TRecord &record : period.Records) {
            const TRecordTexts r = RecordRowTexts(record);
            values[0] = Escaped(r[0]);
            values[1] = Escaped(r[1]);
            values[2] = OrNbsp(r[2]);
            values[3] = OrNbsp(r[3]);
            values[4] = OrNbsp(r[4]);
            AppendFilled(page, row, values);
        }
    }

    const QString totals =
        QStringLiteral("Income: %1&nbsp;&nbsp;Expenses: %2&nbsp;&nbsp;Net Income: %3")
            .arg(CentsText(head.IncomeCents), CentsText(head.ExpenseCents),
                 CentsText(head.IncomeCents - head.ExpenseCents));
    AppendFilled(page, bottom, std::array<QByteArray, 1>{totals.toUtf8()});
    return page;
}

void THtmlExport::Export(TExportKind kind, const QString &templateFile, const QString &outFile,
                         const TReportHead &head, const TPeriod &period) {
    QFile file(templateFile);
    if (!file.open(QIODevice::ReadOnly))
        throw TExportError(QStringLiteral("Cannot read the export template \"%1\": %2. Restore "
                                          "the template file that came with Ledgerly.")
                               .arg(templateFile, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TExportError(QStringLiteral("Cannot read the export template \"%1\": %2.")
                               .arg(templateFile, file.errorString()));
    file.close();

    QByteArray page;
    try {
        page = BuildPage(kind, DecodeTemplate(bytes), head, period);
    } catch (const TExportError &e) {
        throw TExportError(QStringLiteral("%1\n\nTemplate: %2")
                               .arg(QString::fromStdString(e.what()), templateFile));
    }
    try {
        // Exports are the user's documents: the usual file mode, not the
        // data file's privacy.
        TCheckedFile::WriteWhole(outFile, page, TCheckedFile::TAccess::Shared);
    } catch (const std::exception &e) {
        throw TExportError(QString::fromStdString(e.what()) +
                           QStringLiteral(". Choose a folder you can write to."));
    }
}
