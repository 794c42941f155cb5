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

// Fills in the categories of imported lines: the category written in the
// file (QIF L) as given; else the first of the user's rules that matches;
// else the category the user gave most often to records whose notes hold
// the payee (the memo when there is no payee). With the user's category
// lists set, a rule or a history whose category is not in the list of the
// line's type (an expense category for money in) is passed over.
class TCategoryProposer {
public:
    TCategoryProposer(QList<TCategoryRule> rules, const TCategoryHistory &history);
    void SetCategories(const QStringList &expense, const QStringList &income);

    TCategoryProposal Propose(const TStatementLine &line);

private:
    QList<TCategoryRule> Rules;
    const TCategoryHistory &History;
    QStringList Expense, Income;
    bool Checked = false;
    QHash<QString, QString> Asked; // type + payee -> history's answer
};
