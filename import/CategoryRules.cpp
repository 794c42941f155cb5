#include "import/CategoryRules.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr const char *kTypeNames[] = {"out", "in", "both"}; // in TRuleType's order

} // namespace

bool TCategoryRules::AppliesTo(const TCategoryRule &rule, TRecordType type) {
    return rule.Type == TRuleType::Both ||
           (rule.Type == TRuleType::Income) == (type == TRecordType::Income);
}

bool TCategoryRules::Matches(const TCategoryRule &rule, const TStatementLine &line) {
    const QString text = rule.Text.trimmed().toCaseFolded();
    return !text.isEmpty() &&
           AppliesTo(rule, line.Cents < 0 ? TRecordType::Expense : TRecordType::Income) &&
           (line.Payee.toCaseFolded().contains(text) || line.Memo.toCaseFolded().contains(text));
}

int TCategoryRules::Match(const QList<TCategoryRule> &rules, const TStatementLine &line) {
    for (int i = 0; i < rules.size(); ++i)
        if (Matches(rules[i], line))
            return i;
    return -1;
}

QString TCategoryRules::ToText(const QList<TCategoryRule> &rules) {
    QJsonArray array;
    for (const TCategoryRule &r : rules)
        array.append(QJsonObject{
            {"text", r.Text}, {"category", r.Category}, {"type", kTypeNames[int(r.Type)]}});
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

std::optional<QList<TCategoryRule>> TCategoryRules::FromText(const QString &text) {
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    if (!doc.isArray())
        return std::nullopt;
    QList<TCategoryRule> rules;
    for (const QJsonValue &v : doc.array()) {
        const QJsonObject o = v.toObject();
        if (!v.isObject() || !o.value("text").isString() || !o.value("category").isString())
            return std::nullopt;
        TCategoryRule rule{o.value("text").toString(), o.value("category").toString()};
        const QString type = o.value("type").toString(QLatin1String(kTypeNames[0]));
        for (int t = 0; t < 3; ++t)
            if (type == QLatin1String(kTypeNames[t]))
                rule.Type = TRuleType(t);
        rules << rule;
    }
    return rules;
}
