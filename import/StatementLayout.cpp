#include "import/StatementLayout.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

template <typename E> struct TNames {
    E Value;
    const char *Name;
};

constexpr TNames<TStatementFormat> kFormats[] = {
    {TStatementFormat::Csv, "csv"}, {TStatementFormat::Ofx, "ofx"}, {TStatementFormat::Qif, "qif"}};
constexpr TNames<TDateOrder> kOrders[] = {{TDateOrder::Unknown, "unknown"},
                                          {TDateOrder::YearMonthDay, "ymd"},
                                          {TDateOrder::MonthDayYear, "mdy"},
                                          {TDateOrder::DayMonthYear, "dmy"}};
constexpr TNames<TTextEncoding> kEncodings[] = {{TTextEncoding::Utf8, "utf-8"},
                                                {TTextEncoding::Windows1252, "windows-1252"},
                                                {TTextEncoding::Utf16LE, "utf-16le"},
                                                {TTextEncoding::Utf16BE, "utf-16be"}};

template <typename E, size_t N> QString NameOf(const TNames<E> (&names)[N], E value) {
    for (const auto &n : names)
        if (n.Value == value)
            return QString::fromLatin1(n.Name);
    return QString();
}

template <typename E, size_t N>
bool ValueOf(const TNames<E> (&names)[N], const QJsonValue &name, E *value) {
    for (const auto &n : names)
        if (name.toString() == QLatin1String(n.Name)) {
            *value = n.Value;
            return true;
        }
    return false;
}

// A column index as stored: -1 or 0..999.
bool ColumnOf(const QJsonObject &o, const char *key, int *column) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined()) {
        *column = -1;
        return true;
    }
    if (!v.isDouble() || v.toDouble() != double(v.toInt()) || v.toInt() < -1 || v.toInt() > 999)
        return false;
    *column = v.toInt();
    return true;
}

} // namespace

QString TStatementLayout::ToText() const {
    QJsonObject o;
    o.insert("format", NameOf(kFormats, Format));
    o.insert("encoding", NameOf(kEncodings, Encoding));
    o.insert("dateOrder", NameOf(kOrders, DateOrder));
    o.insert("decimalComma", DecimalComma);
    if (Format == TStatementFormat::Csv) {
        o.insert("delimiter", QString(Delimiter));
        o.insert("skipLines", SkipLines);
        o.insert("header", HasHeader);
        o.insert("dateColumn", DateColumn);
        o.insert("amountColumn", AmountColumn);
        o.insert("debitColumn", DebitColumn);
        o.insert("creditColumn", CreditColumn);
        o.insert("payeeColumn", PayeeColumn);
        o.insert("memoColumn", MemoColumn);
        o.insert("moneyOutPositive", MoneyOutPositive);
        o.insert("signColumn", SignColumn);
        o.insert("outMarker", OutMarker);
        o.insert("headerSignature", HeaderSignature);
    }
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

std::optional<TStatementLayout> TStatementLayout::FromText(const QString &text) {
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    if (!doc.isObject())
        return std::nullopt;
    const QJsonObject o = doc.object();
    TStatementLayout l;
    if (!ValueOf(kFormats, o.value("format"), &l.Format) ||
        !ValueOf(kEncodings, o.value("encoding"), &l.Encoding) ||
        !ValueOf(kOrders, o.value("dateOrder"), &l.DateOrder) || !o.value("decimalComma").isBool())
        return std::nullopt;
    l.DecimalComma = o.value("decimalComma").toBool();
    if (l.Format != TStatementFormat::Csv)
        return l;
    const QString delimiter = o.value("delimiter").toString();
    const QJsonValue skip = o.value("skipLines");
    if (delimiter.size() != 1 || !skip.isDouble() || skip.toInt() < 0 ||
        skip.toDouble() != double(skip.toInt()) || !o.value("header").isBool() ||
        !ColumnOf(o, "dateColumn", &l.DateColumn) ||
        !ColumnOf(o, "amountColumn", &l.AmountColumn) ||
        !ColumnOf(o, "debitColumn", &l.DebitColumn) ||
        !ColumnOf(o, "creditColumn", &l.CreditColumn) ||
        !ColumnOf(o, "payeeColumn", &l.PayeeColumn) || !ColumnOf(o, "memoColumn", &l.MemoColumn) ||
        !ColumnOf(o, "signColumn", &l.SignColumn))
        return std::nullopt;
    l.Delimiter = delimiter.at(0);
    l.SkipLines = skip.toInt();
    l.HasHeader = o.value("header").toBool();
    l.MoneyOutPositive = o.value("moneyOutPositive").toBool(false);
    l.OutMarker = o.value("outMarker").toString();
    l.HeaderSignature = o.value("headerSignature").toString();
    return l;
}

QString DateOrderText(TDateOrder order) {
    switch (order) {
    case TDateOrder::YearMonthDay:
        return QCoreApplication::translate("TStatementLayout", "year-month-day");
    case TDateOrder::MonthDayYear:
        return QCoreApplication::translate("TStatementLayout", "month/day/year");
    case TDateOrder::DayMonthYear:
        return QCoreApplication::translate("TStatementLayout", "day/month/year");
    case TDateOrder::Unknown:
        break;
    }
    return QCoreApplication::translate("TStatementLayout", "unknown");
}
