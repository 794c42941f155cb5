#pragma once

#include "import/Statement.h"
#include "store/Records.h"

#include <QList>
#include <QString>

#include <optional>

// TCategoryRule ("a line of the rule's type whose payee or memo contains
// Text -> Category") is one of the store's typed values (store/Records.h):
// the user's rules are kept there.

// A user's rules, in the order they are tried: the first rule of the line's
// type whose text the payee or the memo contains (ignoring case) gives the
// category.
class TCategoryRules {
public:
    // Whether the rule applies to lines of `type` (Expense: money out).
    static bool AppliesTo(const TCategoryRule &rule, TRecordType type);
    // Whether the rule applies to the line's type and the payee or the memo
    // contains the rule's text. A rule with a blank text matches nothing.
    static bool Matches(const TCategoryRule &rule, const TStatementLine &line);
    // Index of the first rule that matches `line`, or -1.
    static int Match(const QList<TCategoryRule> &rules, const TStatementLine &line);
    // The rules as one line of JSON, to be kept in the data file, and back
    // (nullopt for text that is not a list of rules; a rule without a type
    // is for money out).
    static QString ToText(const QList<TCategoryRule> &rules);
    static std::optional<QList<TCategoryRule>> FromText(const QString &text);
};
