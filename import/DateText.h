#pragma once

#include "import/StatementLayout.h"

#include <QDate>
#include <QList>
#include <QStringView>

// Dates as banks write them: "2024-12-31", "12/31/2024", "31.12.2024",
// "31/12/24", "d.M.yy", QIF's "12/31'24", " 1/ 5' 4" and "2/14'2020",
// compact "20241231",
// English month names ("31 Dec 2024", "Dec 31, 2024"), each optionally
// followed by a time of day. Which of month/day/year and day/month/year a
// numeric date is in is never decided from one date alone: the orders each
// date fits are collected over the file and the file settles it, or the user
// is asked when the order changes a date.
class TDateText {
public:
    // Bits of Orders().
    enum : unsigned { kYmd = 1, kMdy = 2, kDmy = 4, kAny = kYmd | kMdy | kDmy };

    // The orders in which `text` is a valid date (kAny for month names,
    // 0 when it is no date in any order).
    static unsigned Orders(QStringView text);
    // The date `text` stands for in `order`; invalid when it is none.
    static QDate Parse(QStringView text, TDateOrder order);

    // The orders that the dates of one file fit, collected date by date.
    class Tally {
    public:
        // Counts `text` when it is a date in some order.
        void Add(QStringView text);
        // The one order that fits every date; Unknown with the possible
        // orders in `choices` when several fit and the choice changes a
        // date. When no order fits all dates (some are not dates at all) the
        // order that most dates fit wins.
        TDateOrder Settle(QList<TDateOrder> *choices) const;

    private:
        unsigned Common = kAny;
        int Fits[3] = {0, 0, 0};
        int Dates = 0;
        int Numeric = 0, Dotted = 0; // dates of numbers only; written with dots
        bool Differs = false;        // a date whose day and month can swap
    };

    // Two-digit years: the century that puts the year at most 20 years
    // ahead of `today` (a statement is never from 80 years ago).
    static int FullYear(int twoDigits, const QDate &today = QDate::currentDate());
};
