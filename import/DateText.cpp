#include "import/DateText.h"

#include <algorithm>

namespace {

constexpr int kFirstYear = 1900, kLastYear = 2100;

// The pieces of a date text before an order is applied.
struct TParts {
    enum { None, Numeric, YearFirst, Named } Kind = None;
    int A = 0, B = 0, C = 0;          // Numeric: the three numbers as written
    int Year = 0, Month = 0, Day = 0; // YearFirst and Named: settled
    bool Dotted = false;              // Numeric: written with dots ("1.2.24")
};

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Reads up to `most` digits at `pos`; returns how many were read.
int ReadNumber(QStringView s, qsizetype &pos, int most, int *value) {
    int n = 0;
    *value = 0;
    while (pos < s.size() && IsDigit(s[pos]) && n < most + 1) {
        *value = *value * 10 + (s[pos].unicode() - '0');
        ++pos;
        ++n;
    }
    return n;
}

void SkipSpaces(QStringView s, qsizetype &pos) {
    while (pos < s.size() && s[pos] == u' ')
        ++pos;
}

bool IsDateSeparator(QChar c) {
    return c == u'/' || c == u'-' || c == u'.';
}

int MonthOfName(QStringView word) {
    static const char *const names[] = {"january",   "february", "march",    "april",
                                        "may",       "june",     "july",     "august",
                                        "september", "october",  "november", "december"};
    if (word.size() < 3)
        return 0;
    const QString lower = word.toString().toLower();
    for (int m = 0; m < 12; ++m)
        if (QLatin1String(names[m]).startsWith(lower))
            return m + 1;
    return 0;
}

int YearOf(int digits, int value) {
    return digits == 2 ? TDateText::FullYear(value) : value;
}

// "31 Dec 2024", "31-Dec-24", "Dec 31, 2024", "December 31 2024".
TParts ParseNamed(QStringView s) {
    QList<QStringView> tokens;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= s.size(); ++i) {
        const bool sep = i == s.size() || s[i] == u' ' || s[i] == u',' || IsDateSeparator(s[i]);
        if (!sep && start < 0)
            start = i;
        if (sep && start >= 0) {
            tokens << s.mid(start, i - start);
            start = -1;
        }
    }
    TParts p;
    if (tokens.size() != 3)
        return p;
    auto number = [](QStringView t, int *value) {
        if (t.isEmpty() || t.size() > 4)
            return 0;
        for (QChar c : t)
            if (!IsDigit(c))
                return 0;
        *value = t.toInt();
        return int(t.size());
    };
    int day = 0, year = 0, dayDigits = 0, yearDigits = 0, month = 0;
    if ((month = MonthOfName(tokens[1])) != 0) {
        dayDigits = number(tokens[0], &day);
    } else if ((month = MonthOfName(tokens[0])) != 0) {
        dayDigits = number(tokens[1], &day);
    } else {
        return p;
    }
    yearDigits = number(tokens[2], &year);
    if (dayDigits < 1 || dayDigits > 2 || (yearDigits != 2 && yearDigits != 4))
        return p;
    p.Kind = TParts::Named;
    p.Year = YearOf(yearDigits, year);
    p.Month = month;
    p.Day = day;
    return p;
}

TParts Split(QStringView text) {
    QStringView s = text.trimmed();
    // A time of day after the date ("2024-01-15 10:23:45", "...T10:23Z").
    if (const qsizetype colon = s.indexOf(u':'); colon >= 0) {
        qsizetype j = colon;
        while (j > 0 && IsDigit(s[j - 1]))
            --j;
        if (j == 0 || (s[j - 1] != u' ' && s[j - 1] != u'T'))
            return TParts();
        s = s.left(j - 1).trimmed();
    }
    TParts p;
    if (s.isEmpty() || s.size() > 40)
        return p;
    if (!IsDigit(s[0]))
        return ParseNamed(s);
    if (s.size() == 8) { // compact yyyyMMdd
        bool digits = true;
        for (QChar c : s)
            digits = digits && IsDigit(c);
        if (digits) {
            p.Kind = TParts::YearFirst;
            p.Year = s.left(4).toInt();
            p.Month = s.mid(4, 2).toInt();
            p.Day = s.mid(6, 2).toInt();
            return p;
        }
    }
    // Blanks may stand beside the separators (QIF pads numbers to a width).
    qsizetype pos = 0;
    int a = 0, b = 0, c = 0;
    const int lenA = ReadNumber(s, pos, 4, &a);
    SkipSpaces(s, pos);
    if (pos >= s.size() || !IsDateSeparator(s[pos]))
        return ParseNamed(s);
    const QChar sep1 = s[pos++];
    SkipSpaces(s, pos);
    const int lenB = ReadNumber(s, pos, 2, &b);
    SkipSpaces(s, pos);
    if (pos >= s.size() || (s[pos] != sep1 && s[pos] != u'\''))
        return p;
    const bool apostrophe = s[pos++] == u'\'';
    SkipSpaces(s, pos);
    const int lenC = ReadNumber(s, pos, 4, &c);
    if (pos != s.size() || lenB < 1 || lenB > 2)
        return p;
    if (lenA == 4 && !apostrophe && lenC >= 1 && lenC <= 2) {
        p.Kind = TParts::YearFirst;
        p.Year = a;
        p.Month = b;
        p.Day = c;
    } else if (lenA >= 1 && lenA <= 2) {
        // QIF writes the years from 2000 on as 'y or 'yy, and some programs
        // write a full year after the apostrophe.
        if (apostrophe && lenC >= 1 && lenC <= 2)
            c += 2000;
        else if (lenC == 4 || (!apostrophe && lenC == 2))
            c = YearOf(lenC, c);
        else
            return p;
        p.Kind = TParts::Numeric;
        p.A = a;
        p.B = b;
        p.C = c;
        p.Dotted = sep1 == u'.';
    }
    return p;
}

QDate MakeDate(int y, int m, int d) {
    if (y < kFirstYear || y > kLastYear)
        return QDate();
    return QDate(y, m, d); // invalid for a day or month out of range
}

QDate DateOf(const TParts &p, TDateOrder order) {
    switch (p.Kind) {
    case TParts::None:
        return QDate();
    case TParts::YearFirst:
        return order == TDateOrder::YearMonthDay ? MakeDate(p.Year, p.Month, p.Day) : QDate();
    case TParts::Named:
        return MakeDate(p.Year, p.Month, p.Day);
    case TParts::Numeric:
        if (order == TDateOrder::MonthDayYear)
            return MakeDate(p.C, p.A, p.B);
        if (order == TDateOrder::DayMonthYear)
            return MakeDate(p.C, p.B, p.A);
        return QDate();
    }
    return QDate();
}

unsigned OrdersOf(const TParts &p) {
    if (p.Kind == TParts::Named)
        return DateOf(p, TDateOrder::Unknown).isValid() ? unsigned(TDateText::kAny) : 0u;
    unsigned orders = 0;
    if (DateOf(p, TDateOrder::YearMonthDay).isValid())
        orders |= TDateText::kYmd;
    if (DateOf(p, TDateOrder::MonthDayYear).isValid())
        orders |= TDateText::kMdy;
    if (DateOf(p, TDateOrder::DayMonthYear).isValid())
        orders |= TDateText::kDmy;
    return orders;
}

} // namespace

unsigned TDateText::Orders(QStringView text) {
    return OrdersOf(Split(text));
}

QDate TDateText::Parse(QStringView text, TDateOrder order) {
    return DateOf(Split(text), order);
}

int TDateText::FullYear(int twoDigits, const QDate &today) {
    const int now = today.year();
    int year = now - now % 100 + twoDigits;
    if (year > now + 20)
        year -= 100;
    return year;
}

void TDateText::Tally::Add(QStringView text) {
    const TParts p = Split(text);
    const unsigned orders = OrdersOf(p);
    if (orders == 0)
        return;
    ++Dates;
    if (p.Kind == TParts::Numeric) {
        ++Numeric;
        Dotted += p.Dotted;
        // Day and month apart: the order changes the date.
        Differs = Differs || (p.A != p.B && (orders & kMdy) && (orders & kDmy));
    }
    Common &= orders;
    for (int i = 0; i < 3; ++i)
        if (orders & (1u << i))
            ++Fits[i];
}

TDateOrder TDateText::Tally::Settle(QList<TDateOrder> *choices) const {
    static constexpr TDateOrder kOrder[3] = {TDateOrder::YearMonthDay, TDateOrder::MonthDayYear,
                                             TDateOrder::DayMonthYear};
    choices->clear();
    unsigned candidates = Common;
    if (Dates == 0 || candidates == kAny) // no dates, or month names only
        return Dates == 0 ? TDateOrder::Unknown : TDateOrder::DayMonthYear;
    if (candidates == 0) { // the dates disagree: the order most of them fit
        const int most = *std::max_element(Fits, Fits + 3);
        for (int i = 0; i < 3; ++i)
            if (Fits[i] == most)
                candidates |= 1u << i;
    }
    for (int i = 0; i < 3; ++i)
        if (candidates & (1u << i))
            *choices << kOrder[i];
    if (choices->size() == 1) {
        const TDateOrder settled = choices->first();
        choices->clear();
        return settled;
    }
    // Every date reads the same in both orders (day equal to month): there
    // is nothing to choose; the order the separators suggest is shown.
    if (candidates == (kMdy | kDmy) && !Differs) {
        choices->clear();
        return Dotted * 2 > Numeric ? TDateOrder::DayMonthYear : TDateOrder::MonthDayYear;
    }
    return TDateOrder::Unknown;
}
