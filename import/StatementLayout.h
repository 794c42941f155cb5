#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// How a statement file is read: guessed from its content, shown to the user,
// changed where it is wrong and applied again. A CSV layout can be kept as
// text under a name (a bank profile) and is found again by its header.

enum class TStatementFormat { Csv, Ofx, Qif };

// The order of day, month and year in numeric dates.
enum class TDateOrder { Unknown, YearMonthDay, MonthDayYear, DayMonthYear };

enum class TTextEncoding { Utf8, Windows1252, Utf16LE, Utf16BE };

struct TStatementLayout {
    TStatementFormat Format = TStatementFormat::Csv;
    TTextEncoding Encoding = TTextEncoding::Utf8;
    // CSV and QIF: Unknown until the data or the user settles it.
    TDateOrder DateOrder = TDateOrder::Unknown;
    // CSV and QIF: "1.234,56" rather than "1,234.56".
    bool DecimalComma = false;

    // CSV only. Columns are 0-based, -1 for none.
    QChar Delimiter = u',';
    int SkipLines = 0;      // lines above the header (or above the first entry)
    bool HasHeader = false; // the first row after SkipLines names the columns
    int DateColumn = -1;
    int AmountColumn = -1; // one signed column, or
    int DebitColumn = -1;  // money out and
    int CreditColumn = -1; // money in
    int PayeeColumn = -1;
    int MemoColumn = -1;
    // The one amount column writes money out as a positive amount (as many
    // credit-card exports do). Never guessed: the user says so.
    bool MoneyOutPositive = false;
    // Or the amounts carry no sign and this column says which rows are money
    // out: those whose text is OutMarker (ignoring case); the others are
    // money in.
    int SignColumn = -1;
    QString OutMarker;
    // Identifies the header row (see TCsvReader::HeaderSignature); empty
    // without a header.
    QString HeaderSignature;

    // One line of JSON, to be kept as a bank profile.
    QString ToText() const;
    // The layout of ToText(); nullopt for text that is not one.
    static std::optional<TStatementLayout> FromText(const QString &text);

    bool operator==(const TStatementLayout &) const = default;
};

// What GuessStatement makes of a file.
struct TStatementGuess {
    TStatementLayout Layout;
    // When Layout.DateOrder is Unknown: the orders that every date fits, to
    // be chosen by the user.
    QList<TDateOrder> DateOrders;
    // What the data leaves open (the date order, which of two amount columns
    // is money out), in words; the layout holds a first choice for each but
    // the user must confirm it. Empty when everything was settled.
    QStringList Questions;
    // What the user should look at although the layout reads the file as
    // written (most amounts positive: perhaps money out is written so).
    QStringList Warnings;
    // CSV: the column names (header texts, else "Column 1", "Column 2", ...).
    QStringList Columns;
};

// "day/month/year" and the like, for messages and choices.
QString DateOrderText(TDateOrder order);
