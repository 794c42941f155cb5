#pragma once

#include "import/CategoryHistory.h"
#include "import/CategoryRules.h"
#include "import/Statement.h"

#include <QHash>
#include <QStringList>

// Where the category of an imported line came from, shown beside it.
enum class TCategorySource { None, File, Rule, History };

struct TCategoryProposal {
    QString Category; // "" with Source None
    TCategorySource Source = TCategorySource::None;
    int Rule = -1; // Source Rule: index of the rule
};

// Fills in the categories of the lines of one statement: the category
// written in the file (QIF L) as given; else the first of the user's rules
// of the line's type that matches (a rule without a category is passed
// over); else the category the user gave most often to records whose
// notes hold the payee (the memo when there is no payee). With the user's
// category lists set, a rule or a history whose category belongs to the
// other type's list only (an expense category for money in) is passed over;
// a category in neither list (a new one, typed for a rule) is used.
class TCategoryProposer {
public:
    // Ready to propose for `lines` once the history has been added.
    TCategoryProposer(QList<TCategoryRule> rules, const QList<TStatementLine> &lines);
    // One row of the user's earlier records: `count` records of `type` had
    // these notes and this category.
    void AddHistory(TRecordType type, const QString &notes, const QString &category, int count = 1);
    void SetCategories(const QStringList &expense, const QStringList &income);
    // Replaces the rules (the history stays).
    void SetRules(QList<TCategoryRule> rules);

    // For a line of the statement given to the constructor.
    TCategoryProposal Propose(const TStatementLine &line) const;

    // The text the history is asked about for `line`.
    static const QString &HistoryText(const TStatementLine &line);

private:
    // The rules whose text `text` holds, in their order (remembered per text).
    QList<int> RulesMatching(const QString &text) const;
    // Whether `category` may be proposed for a line of `type`.
    bool Fits(TRecordType type, const QString &category) const;

    QList<TCategoryRule> Rules;
    QStringList Folded; // the rules' texts, trimmed and case-folded
    TCategoryHistory History;
    QStringList Expense, Income;
    bool Checked = false;
    mutable QHash<QString, QList<int>> RulesIn; // text -> the rules it matches, in order
};
