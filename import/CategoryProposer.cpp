#include "import/CategoryProposer.h"

TCategoryProposer::TCategoryProposer(QList<TCategoryRule> rules, const TCategoryHistory &history)
    : Rules(std::move(rules)), History(history) {}

void TCategoryProposer::SetCategories(const QStringList &expense, const QStringList &income) {
    Expense = expense;
    Income = income;
    Checked = true;
}

TCategoryProposal TCategoryProposer::Propose(const TStatementLine &line) {
    if (!line.Category.isEmpty())
        return {line.Category, TCategorySource::File, -1};
    const TRecordType type = line.Cents < 0 ? TRecordType::Expense : TRecordType::Income;
    const QStringList &known = type == TRecordType::Income ? Income : Expense;
    for (int i = 0; i < Rules.size(); ++i) {
        const TCategoryRule &rule = Rules[i];
        if (rule.Category.isEmpty() || !TCategoryRules::Matches(rule, line) ||
            (Checked && !known.contains(rule.Category)))
            continue;
        return {rule.Category, TCategorySource::Rule, i};
    }
    const QString payee = line.Payee.isEmpty() ? line.Memo : line.Payee;
    const QString key = QString(type == TRecordType::Income ? u'I' : u'E') + payee;
    auto it = Asked.constFind(key);
    if (it == Asked.cend())
        it = Asked.insert(key, History.MostGiven(type, payee));
    if (it.value().isEmpty() || (Checked && !known.contains(it.value())))
        return {};
    return {it.value(), TCategorySource::History, -1};
}
