#include "export/SheetExport.h"

#include "store/AmountText.h"
#include "store/CheckedFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gsf/gsf-infile-zip.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <memory>

namespace {

// The most characters a spreadsheet cell holds.
constexpr qsizetype kCellTextMax = 32767;
// The widest a column is made; a longer text shows in full in a wider column.
constexpr double kWidestColumn = 80;
// Spreadsheets count days from this one (the 1900 date system, as read by
// every spreadsheet for dates from March 1900 on).
const qint64 kDayZero = QDate(1899, 12, 30).toJulianDay();
const QDate kFirstSheetDay(1900, 3, 1);

// Where the columns are, by kind: the type column, the amount column (D in
// both tables), the column of the totals' labels, the count column.
struct TLayout {
    int TypeColumn;
    int AmountColumn;
    int LabelColumn;
    int CountColumn; // -1: none
};

TLayout LayoutOf(TExportKind kind) {
    return kind == TExportKind::Categories ? TLayout{0, 3, 1, 2} : TLayout{1, 3, 2, -1};
}

qint64 SignedCents(TRecordType type, qint64 cents) {
    return type == TRecordType::Income ? cents : -cents;
}

// One row of a category list: its type, its total and the total of its type.
struct TCategoryRow {
    TRecordType Type;
    const TCategoryTotal *Total;
    qint64 TypeCents;
};

QList<TCategoryRow> CategoryRows(const TPeriod &period) {
    QList<TCategoryRow> rows;
    for (const TCategoryTotal &total : period.IncomeCategories)
        rows.append({TRecordType::Income, &total, period.IncomeCents});
    for (const TCategoryTotal &total : period.ExpenseCategories)
        rows.append({TRecordType::Expense, &total, period.ExpenseCents});
    return rows;
}

QString ShownName(const QString &path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString WhatToDo() {
    return QCoreApplication::translate("TSheetExport",
                                       "Choose a folder you can write to, on a disk with free "
                                       "space, and export again.");
}

[[noreturn]] void FailWrite(const QString &file, QString reason,
                            const QString &whatToDo = WhatToDo()) {
    while (reason.endsWith(u'.'))
        reason.chop(1);
    throw TExportError(QCoreApplication::translate("TSheetExport", "Cannot write \"%1\": %2.\n\n%3")
                           .arg(ShownName(file), reason, whatToDo));
}

// A text longer than a cell holds would be cut by the spreadsheet; the user
// shortens it or takes the .csv, which has no such limit. `where` names it.
template <typename TWhere>
void CheckCellText(const QString &file, const QString &text, const TWhere &where) {
    if (text.size() > kCellTextMax)
        throw TExportError(
            QCoreApplication::translate("TSheetExport",
                                        "Cannot write \"%1\": %2 has %L3 characters, more than "
                                        "the %L4 a spreadsheet cell holds.\n\nShorten it, or "
                                        "export as CSV.")
                .arg(ShownName(file), where())
                .arg(text.size())
                .arg(kCellTextMax));
}

QString RecordPlace(const TRecord &record) {
    return QCoreApplication::translate("TSheetExport", "the record of %1 in \"%2\" (%3)")
        .arg(record.Date.toString(Qt::ISODate), record.Category.left(40), CentsText(record.Cents));
}

// --- .csv --------------------------------------------------------------------

void AppendIsoDate(QByteArray &out, const QDate &date) {
    const int y = date.year();
    if (y < 1000 || y > 9999) {
        out += date.toString(Qt::ISODate).toLatin1();
        return;
    }
    const char text[10] = {char('0' + y / 1000),
                           char('0' + y / 100 % 10),
                           char('0' + y / 10 % 10),
                           char('0' + y % 10),
                           '-',
                           char('0' + date.month() / 10),
                           char('0' + date.month() % 10),
                           '-',
                           char('0' + date.day() / 10),
                           char('0' + date.day() % 10)};
    out.append(text, sizeof text);
}

// A text field: quoted when it holds a comma, a quote or a line end (quotes
// doubled inside). A text a spreadsheet would take for a formula (or a
// tab/CR-led one, which some trim to a formula) starts with an apostrophe,
// so opening the file never runs what a bank wrote into a payee.
void AppendText(QByteArray &out, const QString &text) {
    const QByteArray utf8 = text.toUtf8();
    const bool formula = !utf8.isEmpty() && QByteArrayView("=+-@\t\r").contains(utf8.front());
    bool quote = false;
    for (const char c : utf8)
        if (c == ',' || c == '"' || c == '\n' || c == '\r') {
            quote = true;
            break;
        }
    if (quote)
        out += '"';
    if (formula)
        out += '\'';
    if (quote) {
        for (const char c : utf8) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    } else {
        out += utf8;
    }
}

void WriteCsv(TExportKind kind, const TPeriod &period, TCheckedFile &file) {
    QByteArray out;
    constexpr qsizetype kChunk = 1 << 20;
    out.reserve(kChunk + 64 * 1024);
    out += "\xEF\xBB\xBF";
    out += TSheetExport::ColumnNames(kind).join(u',').toUtf8();
    out += "\r\n";
    const auto endRow = [&out, &file] {
        out += "\r\n";
        if (out.size() >= kChunk) {
            file.Write(out);
            out.clear();
        }
    };
    if (kind == TExportKind::Transactions) {
        for (const TRecord &record : period.Records) {
            AppendIsoDate(out, record.Date);
            out += ',';
            out += record.Type == TRecordType::Income ? "Income," : "Expense,";
            AppendText(out, record.Category);
            out += ',';
            AppendCentsText(out, SignedCents(record.Type, record.Cents));
            out += ',';
            AppendText(out, record.Notes);
            endRow();
        }
    } else {
        for (const TCategoryRow &row : CategoryRows(period)) {
            out += RecordTypeWord(row.Type).toUtf8() + ',';
            AppendText(out, row.Total->Category);
            out += ',' + QByteArray::number(row.Total->Count) + ',';
            AppendCentsText(out, SignedCents(row.Type, row.Total->Cents));
            out += ',' + ShareText(row.Total->Cents, row.TypeCents).toUtf8();
            endRow();
        }
    }
    file.Write(out);
}

// --- .xlsx -------------------------------------------------------------------

// "A1" names of cells; rows and columns from 0 as libxlsxwriter counts.
QByteArray CellName(int row, int column) {
    return char('A' + column) + QByteArray::number(row + 1);
}

// Shown characters of an amount with thousands separators ("-1,234.56").
int MoneyWidth(qint64 cents) {
    quint64 n = cents < 0 ? 0 - quint64(cents) : quint64(cents);
    int digits = 1;
    for (n /= 100; n >= 10; n /= 10)
        ++digits;
    return (cents < 0 ? 1 : 0) + digits + (digits - 1) / 3 + 3;
}

// The longest line of a text.
int TextWidth(const QString &text) {
    if (!text.contains(u'\n'))
        return int(text.size());
    qsizetype widest = 0;
    for (const QStringView line : QStringView(text).tokenize(u'\n'))
        widest = std::max(widest, line.size());
    return int(widest);
}

struct TUnref {
    void operator()(gpointer object) const {
        if (object)
            g_object_unref(object);
    }
};
template <typename T> using TGPtr = std::unique_ptr<T, TUnref>;

// The first and the last bytes of a part of a zip file; false when it cannot
// be read in full.
bool ReadEnds(GsfInput *part, QByteArray &head, QByteArray &tail) {
    constexpr qsizetype kHead = 512, kTail = 64 * 1024;
    for (gsf_off_t left = gsf_input_size(part); left > 0;) {
        const auto size = qsizetype(std::min<gsf_off_t>(left, kTail));
        const guint8 *data = gsf_input_read(part, size_t(size), nullptr);
        if (!data)
            return false;
        const QByteArrayView chunk(data, size);
        if (head.size() < kHead)
            head += chunk.first(std::min(size, kHead - head.size()));
        tail = tail.right(kTail).append(chunk);
        left -= size;
    }
    return true;
}

// True when every XML part in a zip folder ends with the end tag of its root
// element, and the worksheet with its last row `lastRow` (counted from 1).
bool PartsComplete(GsfInfile *folder, int lastRow) {
    for (int i = 0, n = gsf_infile_num_children(folder); i < n; ++i) {
        TGPtr<GsfInput> part(gsf_infile_child_by_index(folder, i));
        if (!part)
            return false;
        if (GSF_IS_INFILE(part.get()) && gsf_infile_num_children(GSF_INFILE(part.get())) >= 0) {
            if (!PartsComplete(GSF_INFILE(part.get()), lastRow))
                return false;
            continue;
        }
        QByteArray head, tail;
        if (!ReadEnds(part.get(), head, tail))
            return false;
        // The root element: the first tag after the declaration.
        qsizetype at = head.startsWith("<?xml") ? head.indexOf("?>") + 2 : 0;
        at = head.indexOf('<', at) + 1;
        qsizetype end = at;
        while (end < head.size() && !QByteArrayView(" \r\n\t/>").contains(head[end]))
            ++end;
        const QByteArray root = head.mid(at, end - at);
        if (at <= 0 || root.isEmpty() || !tail.trimmed().endsWith("</" + root + '>'))
            return false;
        if (root == "worksheet") {
            const qsizetype row = tail.lastIndexOf("<row r=\"");
            if (row < 0 ||
                !tail.sliced(row).startsWith("<row r=\"" + QByteArray::number(lastRow) + '"') ||
                tail.indexOf("</row></sheetData>", row) < 0)
                return false;
        }
    }
    return true;
}

// A workbook of one worksheet, written row by row (libxlsxwriter's constant
// memory mode: each finished row goes to a temporary file, so a long period
// takes no more memory than a short one).
class TXlsxWriter {
public:
    TXlsxWriter(const QString &path, const QString &target, const QString &sheetName)
        : FTarget(target), FPath(QFile::encodeName(path)),
          FTempFolder(QFile::encodeName(QDir::tempPath())) {
        lxw_workbook_options options = {};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = FTempFolder.data();
        FBook.reset(workbook_new_opt(FPath.constData(), &options));
        if (FBook)
            FSheet = workbook_add_worksheet(FBook.get(), sheetName.toUtf8().constData());
        if (!FSheet)
            FailWrite(FTarget, QCoreApplication::translate(
                                   "TSheetExport", "no memory or temporary file for the workbook"));
        Bold = workbook_add_format(FBook.get());
        format_set_bold(Bold);
        Money = workbook_add_format(FBook.get());
        format_set_num_format(Money, "#,##0.00");
        BoldMoney = workbook_add_format(FBook.get());
        format_set_num_format(BoldMoney, "#,##0.00");
        format_set_bold(BoldMoney);
        Share = workbook_add_format(FBook.get());
        format_set_num_format(Share, "0.00%");
        Date = workbook_add_format(FBook.get());
    }
    void SetDateFormat(const QString &format) {
        format_set_num_format(Date, format.toUtf8().constData());
    }

    void Text(int row, int column, const QString &text, lxw_format *format = nullptr) {
        if (!text.isEmpty())
            Text(row, column, text.toUtf8(), format);
    }
    void Text(int row, int column, const QByteArray &utf8, lxw_format *format = nullptr) {
        Check(worksheet_write_string(FSheet, lxw_row_t(row), lxw_col_t(column), utf8.constData(),
                                     format));
    }
    void Number(int row, int column, double value, lxw_format *format) {
        Check(worksheet_write_number(FSheet, lxw_row_t(row), lxw_col_t(column), value, format));
    }
    void Day(int row, int column, const QDate &date) {
        if (date >= kFirstSheetDay)
            Number(row, column, double(date.toJulianDay() - kDayZero), Date);
        else // before the spreadsheets' first day: the date as text
            Text(row, column, date.toString(Qt::ISODate));
    }
    void Formula(int row, int column, const QByteArray &formula, double value, lxw_format *format) {
        Check(worksheet_write_formula_num(FSheet, lxw_row_t(row), lxw_col_t(column),
                                          formula.constData(), format, value));
    }
    void Width(int column, double characters) {
        Check(worksheet_set_column(FSheet, lxw_col_t(column), lxw_col_t(column),
                                   std::min(characters, kWidestColumn), nullptr));
    }
    // The header row stays in view and carries the filter of the rows below.
    void HeaderOver(int lastRow, int lastColumn) {
        worksheet_freeze_panes(FSheet, 1, 0);
        Check(worksheet_autofilter(FSheet, 0, 0, lxw_row_t(lastRow), lxw_col_t(lastColumn)));
    }

    // Writes the file; until then nothing is complete. `lastRow` is the last
    // row written.
    //
    // libxlsxwriter does not check its writes to its temporary files: a full
    // disk there would give a workbook with rows missing, and no error. The
    // rows written so far are checked before the close; the last row and the
    // parts made at the close are checked in the finished file.
    void Close(int lastRow) {
        errno = 0;
        FILE *rows = FSheet->optimize_tmpfile;
        if (rows && (std::fflush(rows) != 0 || std::ferror(rows)))
            FailTemporary(errno);
        errno = 0;
        const lxw_error error = workbook_close(FBook.release());
        if (error != LXW_NO_ERROR) {
            QString reason = QString::fromUtf8(lxw_strerror(error));
            if (errno != 0)
                reason = qt_error_string(errno) + QStringLiteral(" (") + reason + u')';
            FailWrite(FTarget, reason);
        }
        GError *gError = nullptr;
        TGPtr<GsfInput> input(gsf_input_stdio_new(FPath.constData(), &gError));
        TGPtr<GsfInfile> zip(input ? gsf_infile_zip_new(input.get(), &gError) : nullptr);
        if (gError)
            g_error_free(gError);
        if (!zip || !PartsComplete(zip.get(), lastRow + 1))
            FailTemporary(0);
    }
    lxw_format *Bold, *Money, *BoldMoney, *Share, *Date;

private:
    [[noreturn]] void FailTemporary(int error) {
        const QString folder = QDir::toNativeSeparators(QDir::tempPath());
        FailWrite(
            FTarget,
            QCoreApplication::translate(
                "TSheetExport", "its temporary files in \"%1\" could not be written in full (%2)")
                .arg(folder, error ? qt_error_string(error)
                                   : QCoreApplication::translate("TSheetExport", "a write failed")),
            QCoreApplication::translate("TSheetExport",
                                        "Free some space on the disk of \"%1\", and export again.")
                .arg(folder));
    }
    void Check(lxw_error error) {
        if (error != LXW_NO_ERROR)
            FailWrite(FTarget, QString::fromUtf8(lxw_strerror(error)));
    }

    QString FTarget;
    QByteArray FPath;
    QByteArray FTempFolder; // where libxlsxwriter keeps the rows until the close
    // Freed unwritten when the export fails before the close.
    std::unique_ptr<lxw_workbook, decltype(&lxw_workbook_free)> FBook{nullptr, lxw_workbook_free};
    lxw_worksheet *FSheet = nullptr;
};

void WriteXlsx(TExportKind kind, const TReportHead &head, const TPeriod &period,
               const QString &dateFormat, const QString &path, const QString &target) {
    const bool categories = kind == TExportKind::Categories;
    const QList<TCategoryRow> cateRows = categories ? CategoryRows(period) : QList<TCategoryRow>();
    const int rows = int(categories ? cateRows.size() : period.Records.size());
    // The header, the rows, an empty row, three totals, an empty row, the
    // period line.
    if (qint64(rows) + 7 > LXW_ROW_MAX)
        throw TExportError(
            QCoreApplication::translate("TSheetExport",
                                        "Cannot write \"%1\": the period has %L2 records, more "
                                        "than the %L3 rows a worksheet holds.\n\nSearch a "
                                        "shorter period, or export as CSV.")
                .arg(ShownName(target))
                .arg(rows)
                .arg(LXW_ROW_MAX - 7));

    const QStringList names = TSheetExport::ColumnNames(kind);
    const TLayout layout = LayoutOf(kind);
    TXlsxWriter book(path, target,
                     categories ? QStringLiteral("Categories") : QStringLiteral("Transactions"));
    const QString qtDate = dateFormat.isEmpty() ? QStringLiteral("yyyy-MM-dd") : dateFormat;
    book.SetDateFormat(TSheetExport::ExcelDateFormat(qtDate));

    // Widths in characters: the header (with room for the filter's button)
    // or the widest content.
    QList<int> widths;
    for (const QString &name : names)
        widths.append(int(name.size()) + 3);
    const auto fit = [&widths](int column, int characters) {
        widths[column] = std::max(widths[column], characters);
    };
    qint64 income = 0, expense = 0, count = 0, incomeCount = 0;
    int maxCount = 0;
    // Set before the first row: rows are written from top to bottom once.
    book.HeaderOver(rows, int(names.size()) - 1);
    for (int c = 0; c < names.size(); ++c)
        book.Text(0, c, names[c], book.Bold);
    if (categories) {
        int row = 1;
        for (const TCategoryRow &r : cateRows) {
            const QString &category = r.Total->Category;
            CheckCellText(target, category, [&category] {
                return QCoreApplication::translate("TSheetExport", "the category \"%1\"")
                    .arg(category.left(40));
            });
            const qint64 cents = SignedCents(r.Type, r.Total->Cents);
            book.Text(row, 0, RecordTypeWord(r.Type));
            book.Text(row, 1, category);
            book.Number(row, 2, r.Total->Count, nullptr);
            book.Number(row, 3, double(cents) / 100, book.Money);
            book.Number(row, 4, r.TypeCents ? double(r.Total->Cents) / double(r.TypeCents) : 0,
                        book.Share);
            fit(1, TextWidth(category));
            fit(3, MoneyWidth(cents));
            maxCount = std::max(maxCount, r.Total->Count);
            (r.Type == TRecordType::Income ? income : expense) += cents;
            count += r.Total->Count;
            if (r.Type == TRecordType::Income)
                incomeCount += r.Total->Count;
            ++row;
        }
        fit(2, int(QString::number(std::max<qint64>(maxCount, count)).size()));
        fit(4, 7); // "100.00%"
    } else {
        const QByteArray typeWords[] = {RecordTypeWord(TRecordType::Expense).toUtf8(),
                                        RecordTypeWord(TRecordType::Income).toUtf8()};
        int row = 1;
        for (const TRecord &record : period.Records) {
            CheckCellText(target, record.Category, [&record] {
                return QCoreApplication::translate("TSheetExport", "the category of %1")
                    .arg(RecordPlace(record));
            });
            CheckCellText(target, record.Notes, [&record] {
                return QCoreApplication::translate("TSheetExport", "the notes of %1")
                    .arg(RecordPlace(record));
            });
            const qint64 cents = SignedCents(record.Type, record.Cents);
            book.Day(row, 0, record.Date);
            book.Text(row, 1, typeWords[record.Type == TRecordType::Income]);
            book.Text(row, 2, record.Category);
            book.Number(row, 3, double(cents) / 100, book.Money);
            book.Text(row, 4, record.Notes);
            fit(2, TextWidth(record.Category));
            fit(3, MoneyWidth(cents));
            fit(4, TextWidth(record.Notes));
            (record.Type == TRecordType::Income ? income : expense) += cents;
            ++row;
        }
        // The widest dates: two-digit days and months, and the longest names
        // (September, Wednesday) for formats that spell them.
        for (const QDate &date : {QDate(2028, 12, 27), QDate(2028, 9, 27)})
            fit(0, int(date.toString(qtDate).size()));
    }
    fit(layout.TypeColumn, 7); // "Expense"

    // The totals: sums over the rows, so they follow edits made in the sheet.
    const int last = std::max(rows, 1); // an empty table sums its one empty row
    const QByteArray typeRange =
        CellName(1, layout.TypeColumn) + ':' + CellName(last, layout.TypeColumn);
    const QByteArray amountRange =
        CellName(1, layout.AmountColumn) + ':' + CellName(last, layout.AmountColumn);
    const auto sumIf = [&](const QByteArray &range, TRecordType type) {
        return "=SUMIF(" + typeRange + ",\"" + RecordTypeWord(type).toUtf8() + "\"," + range + ')';
    };
    const int totals = rows + 2;
    const QByteArray countRange = layout.CountColumn < 0 ? QByteArray()
                                                         : CellName(1, layout.CountColumn) + ':' +
                                                               CellName(last, layout.CountColumn);
    const struct {
        QString Label;
        QByteArray Amount, Count; // formulas
        qint64 Cents, Records;
    } lines[] = {
        {QStringLiteral("Income"), sumIf(amountRange, TRecordType::Income),
         sumIf(countRange, TRecordType::Income), income, incomeCount},
        {QStringLiteral("Expenses"), sumIf(amountRange, TRecordType::Expense),
         sumIf(countRange, TRecordType::Expense), expense, count - incomeCount},
        {QStringLiteral("Net Income"), "=SUM(" + amountRange + ')', "=SUM(" + countRange + ')',
         income + expense, count},
    };
    // Row by row: a finished row cannot be written to again.
    for (int i = 0; i < 3; ++i) {
        book.Text(totals + i, layout.LabelColumn, lines[i].Label, book.Bold);
        if (layout.CountColumn >= 0)
            book.Formula(totals + i, layout.CountColumn, lines[i].Count, double(lines[i].Records),
                         book.Bold);
        book.Formula(totals + i, layout.AmountColumn, lines[i].Amount, double(lines[i].Cents) / 100,
                     book.BoldMoney);
        fit(layout.LabelColumn, int(lines[i].Label.size()));
        fit(layout.AmountColumn, MoneyWidth(lines[i].Cents));
    }
    const int periodRow = totals + 4;
    book.Text(periodRow, 0, ExportPeriodLine(head));

    for (int c = 0; c < names.size(); ++c)
        book.Width(c, widths[c] + 1);
    book.Close(periodRow);
}

} // namespace

QStringList TSheetExport::ColumnNames(TExportKind kind) {
    if (kind == TExportKind::Categories)
        return {"Type", "Category", "Count", "Amount", "Share"};
    return {"Date", "Type", "Category", "Amount", "Notes"};
}

QString TSheetExport::ExcelDateFormat(const QString &qtFormat) {
    QString out;
    QString literal; // text shown as it is: quoted, a quote itself escaped
    const auto flush = [&out, &literal] {
        const QStringList pieces = literal.split(u'"');
        for (qsizetype k = 0; k < pieces.size(); ++k) {
            if (k > 0)
                out += QStringLiteral("\\\"");
            if (!pieces[k].isEmpty())
                out += u'"' + pieces[k] + u'"';
        }
        literal.clear();
    };
    for (qsizetype i = 0; i < qtFormat.size();) {
        const QChar c = qtFormat[i];
        if (c == u'\'') { // Qt's quoted text; '' is a quote
            qsizetype end = i + 1;
            if (end < qtFormat.size() && qtFormat[end] == u'\'') {
                literal += u'\'';
                i = end + 1;
                continue;
            }
            for (; end < qtFormat.size(); ++end) {
                if (qtFormat[end] != u'\'') {
                    literal += qtFormat[end];
                } else if (end + 1 < qtFormat.size() && qtFormat[end + 1] == u'\'') {
                    literal += u'\'';
                    ++end;
                } else {
                    break;
                }
            }
            i = end + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < qtFormat.size() && qtFormat[i + run] == c)
            ++run;
        if (c == u'd' || c == u'M') {
            // d dd ddd dddd, M MM MMM MMMM; longer runs repeat.
            const QString token = c == u'd' ? QStringLiteral("d") : QStringLiteral("m");
            flush();
            for (qsizetype left = run; left > 0; left -= 4)
                out += token.repeated(std::min<qsizetype>(left, 4));
            i += run;
        } else if (c == u'y' && run >= 2) {
            flush();
            out += run >= 4 ? QStringLiteral("yyyy") : QStringLiteral("yy");
            i += run >= 4 ? 4 : 2;
        } else {
            // Separators pass as they are; anything else is literal text.
            if (QStringView(u"/-.,: ").contains(c)) {
                flush();
                out += c;
            } else {
                literal += c;
            }
            ++i;
        }
    }
    flush();
    return out;
}

void TSheetExport::Export(TExportKind kind, TSheetFormat format, const QString &outFile,
                          const TReportHead &head, const TPeriod &period,
                          const QString &dateFormat) {
    try {
        TCheckedFile file(outFile, TCheckedFile::TAccess::Shared);
        if (format == TSheetFormat::Csv) {
            WriteCsv(kind, period, file);
        } else {
            // libxlsxwriter writes by name: it fills the checked writer's
            // temporary file, which the commit then syncs and puts in place.
            WriteXlsx(kind, head, period, dateFormat, file.TempPath(), file.Target());
        }
        file.Commit();
    } catch (const TFileError &e) {
        throw TExportError(QString::fromStdString(e.what()) + QStringLiteral(".\n\n") + WhatToDo());
    }
}
