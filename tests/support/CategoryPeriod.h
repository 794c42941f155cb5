#pragma once

#include "store/Records.h"

// A period holding only category lists, its type totals summed from them.
inline TPeriod CategoryPeriod(const QList<TCategoryTotal> &income,
                              const QList<TCategoryTotal> &expense) {
    TPeriod period;
    period.IncomeCategories = income;
    period.ExpenseCategories = expense;
    for (const TCategoryTotal &total : income)
        period.IncomeCents += total.Cents;
    for (const TCategoryTotal &total : expense)
        period.ExpenseCents += total.Cents;
    return period;
}
