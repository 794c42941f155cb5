#include "import/CategoryProposer.h"

namespace {

TRecordType TypeOf(const TStatementLine &line) {
    return line.Cents < 0 ? TRecordType::Expense : TRecordType::Income;
}

} // namespace

TCategoryProposer::TCategoryProposer(QList<TCategoryRule> rules,
                                     const QList<TStatementLine> &lines) {
    SetRules(std::move(rules));
    for (const TStatementLine &l : lines)
        if (l.Category.isEmpty())
            History.Ask(TypeOf(l), HistoryText(l));
}

void TCategoryProposer::AddHistory(TRecordType type, const QString &notes, const QString &category,
                                   int count) {
    History.Add(type, notes, category, count);
}

void TCategoryProposer::SetRules(QList<TCategoryRule> rules) {
    Rules = std::move(rules);
    Folded.clear();
    for (const TCategoryRule &r : std::as_const(Rules))
        Folded << r.Text.trimmed().toCaseFolded();
    RulesIn.clear();
}

bool TCategoryProposer::Fits(TRecordType type, const QString &category) const {
    if (!Checked)
        return true;
    const bool income = type == TRecordType::Income;
    return (income ? Income : Expense).contains(category) ||
           !(income ? Expense : Income).contains(category);
}

void TCategoryProposer::SetCategories(const QStringList &expense, const QStringList &income) {
    Expense = expense;
    Income = income;
    Checked = true;
}

const QString &TCategoryProposer::HistoryText(const TStatementLine &line) {
    return line.Payee.isEmpty() ? line.Memo : line.Payee;
}

QList<int> TCategoryProposer::RulesMatching(const QString &text) const {
    auto it = RulesIn.constFind(text);
    if (it == RulesIn.cend()) {
        // The same test as TCategoryRules::Matches, with the text folded once.
        const QString folded = text.toCaseFolded();
        QList<int> matching;
        for (int i = 0; i < Rules.size(); ++i)
            if (!Folded[i].isEmpty() && !Rules[i].Category.isEmpty() && folded.contains(Folded[i]))
                matching << i;
        it = RulesIn.insert(text, matching);
    }
    return it.value();
}

TCategoryProposal TCategoryProposer::Propose(const TStatementLine &line) const {
    if (!line.Category.isEmpty())
        return {line.Category, TCategorySource::File, -1};
    const TRecordType type = TypeOf(line);
    // The first rule that the payee or the memo matches.
    const QList<int> inPayee = RulesMatching(line.Payee), inMemo = RulesMatching(line.Memo);
    for (qsizetype a = 0, b = 0; a < inPayee.size() || b < inMemo.size();) {
        const int i = b >= inMemo.size() || (a < inPayee.size() && inPayee[a] <= inMemo[b])
                          ? inPayee[a++]
                          : inMemo[b++];
        if (TCategoryRules::AppliesTo(Rules[i], type) && Fits(type, Rules[i].Category))
            return {Rules[i].Category, TCategorySource::Rule, i};
    }
    const QString given = History.MostGiven(type, HistoryText(line));
    if (given.isEmpty() || !Fits(type, given))
        return {};
    return {given, TCategorySource::History, -1};
}
