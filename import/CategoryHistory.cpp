#include "import/CategoryHistory.h"

#include <algorithm>

namespace {

bool IsWordChar(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9');
    return c.isLetterOrNumber();
}

// Calls `f` with each word of `text`, case-folded: ASCII words folded into
// `buffer` without allocating, others through QString.
template <typename F> void EachWord(QStringView text, F &&f) {
    char16_t buffer[64];
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool inWord = i < text.size() && IsWordChar(text[i]);
        if (inWord && start < 0) {
            start = i;
        } else if (!inWord && start >= 0) {
            const QStringView word = text.mid(start, i - start);
            bool ascii = word.size() <= 64;
            for (qsizetype k = 0; ascii && k < word.size(); ++k) {
                const char16_t u = word[k].unicode();
                ascii = u < 0x80;
                buffer[k] = u >= 'A' && u <= 'Z' ? char16_t(u + 32) : u;
            }
            if (ascii) {
                f(QStringView(buffer, word.size()));
            } else {
                const QString folded = word.toString().toCaseFolded();
                f(QStringView(folded));
            }
            start = -1;
        }
    }
}

} // namespace

QList<QString> TCategoryHistory::Words(const QString &text) {
    QList<QString> words;
    EachWord(text, [&](QStringView w) { words << w.toString(); });
    return words;
}

QString TCategoryHistory::KeyOf(TRecordType type, const QString &payee) {
    return QString(type == TRecordType::Income ? u'I' : u'E') + payee;
}

void TCategoryHistory::Ask(TRecordType type, const QString &payee) {
    const QString key = KeyOf(type, payee);
    if (PhraseOf.contains(key))
        return;
    TPhrase phrase{type, {}, {}, -1};
    EachWord(payee, [&](QStringView w) {
        auto it = WordIds.constFind(w.toString());
        if (it == WordIds.cend()) {
            it = WordIds.insert(w.toString(), int(WordIds.size()));
            Starting.emplace_back();
        }
        phrase.Words.push_back(it.value());
    });
    if (phrase.Words.empty())
        return;
    PhraseOf.insert(key, int(Phrases.size()));
    Starting[phrase.Words.front()].push_back(int(Phrases.size()));
    Phrases.push_back(std::move(phrase));
}

void TCategoryHistory::Add(TRecordType type, const QString &notes, const QString &category,
                           int count) {
    if (category.isEmpty() || count <= 0 || Phrases.empty())
        return;
    ++Rows;
    // The notes as ids of the payees' words (-1 for any other word), looked
    // up through views of the text: nothing is copied per word.
    Scratch.clear();
    EachWord(notes, [&](QStringView w) {
        const auto it = WordIds.constFind(QString::fromRawData(w.data(), w.size()));
        Scratch.push_back(it == WordIds.cend() ? -1 : it.value());
    });
    int categoryId = -1;
    for (size_t at = 0; at < Scratch.size(); ++at) {
        if (Scratch[at] < 0)
            continue;
        for (int p : Starting[Scratch[at]]) {
            TPhrase &phrase = Phrases[p];
            if (phrase.Type != type || phrase.SeenRow == Rows ||
                at + phrase.Words.size() > Scratch.size() ||
                !std::equal(phrase.Words.begin(), phrase.Words.end(), Scratch.begin() + at))
                continue;
            phrase.SeenRow = Rows;
            if (categoryId < 0) {
                auto c = CategoryIds.constFind(category);
                if (c == CategoryIds.cend()) {
                    c = CategoryIds.insert(category, int(Categories.size()));
                    Categories << category;
                }
                categoryId = c.value();
            }
            if (phrase.Given.size() <= size_t(categoryId))
                phrase.Given.resize(categoryId + 1, 0);
            phrase.Given[categoryId] += count;
        }
    }
}

QString TCategoryHistory::MostGiven(TRecordType type, const QString &payee) const {
    const auto it = PhraseOf.constFind(KeyOf(type, payee));
    if (it == PhraseOf.cend())
        return QString();
    const std::vector<qint64> &given = Phrases[it.value()].Given;
    int best = -1;
    bool tie = false;
    for (int c = 0; c < int(given.size()); ++c) {
        if (given[c] == 0)
            continue;
        if (best < 0 || given[c] > given[best]) {
            best = c;
            tie = false;
        } else if (given[c] == given[best]) {
            tie = true;
        }
    }
    return best < 0 || tie ? QString() : Categories[best];
}
