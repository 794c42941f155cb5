#include "import/CategoryHistory.h"

#include <algorithm>

QList<QString> TCategoryHistory::Words(const QString &text) {
    QList<QString> words;
    QString word;
    for (QChar c : text) {
        if (c.isLetterOrNumber()) {
            word += c;
        } else if (!word.isEmpty()) {
            words << word.toCaseFolded();
            word.clear();
        }
    }
    if (!word.isEmpty())
        words << word.toCaseFolded();
    return words;
}

void TCategoryHistory::Add(TRecordType type, const QString &notes, const QString &category,
                           int count) {
    if (category.isEmpty() || count <= 0)
        return;
    const QList<QString> words = Words(notes);
    if (words.isEmpty())
        return;
    const QString key =
        QString(type == TRecordType::Income ? u'I' : u'E') + words.join(QChar(0x1F));
    auto it = NotesIndex.constFind(key);
    int index = 0;
    if (it != NotesIndex.cend()) {
        index = it.value();
    } else {
        index = int(Notes.size());
        NotesIndex.insert(key, index);
        TNotes n{type, {}, {}};
        n.Words.reserve(words.size());
        for (const QString &w : words) {
            auto id = WordIds.constFind(w);
            if (id == WordIds.cend()) {
                id = WordIds.insert(w, int(Postings.size()));
                Postings.emplace_back();
            }
            n.Words.push_back(id.value());
            std::vector<int> &posting = Postings[id.value()];
            if (posting.empty() || posting.back() != index)
                posting.push_back(index);
        }
        Notes.push_back(std::move(n));
    }
    Notes[index].Categories[category] += count;
}

QString TCategoryHistory::MostGiven(TRecordType type, const QString &payee) const {
    const QList<QString> words = Words(payee);
    if (words.isEmpty())
        return QString();
    std::vector<int> ids;
    const std::vector<int> *rarest = nullptr;
    for (const QString &w : words) {
        const auto id = WordIds.constFind(w);
        if (id == WordIds.cend())
            return QString(); // a word never written before
        ids.push_back(id.value());
        const std::vector<int> &p = Postings[id.value()];
        if (!rarest || p.size() < rarest->size())
            rarest = &p;
    }
    QHash<QString, qint64> given;
    for (int index : *rarest) {
        const TNotes &n = Notes[index];
        if (n.Type != type ||
            std::search(n.Words.begin(), n.Words.end(), ids.begin(), ids.end()) == n.Words.end())
            continue;
        for (auto c = n.Categories.cbegin(); c != n.Categories.cend(); ++c)
            given[c.key()] += c.value();
    }
    QString best;
    qint64 most = 0;
    bool tie = false;
    for (auto c = given.cbegin(); c != given.cend(); ++c) {
        if (c.value() > most) {
            best = c.key();
            most = c.value();
            tie = false;
        } else if (c.value() == most) {
            tie = true;
        }
    }
    return tie ? QString() : best;
}
