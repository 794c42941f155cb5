#pragma once

#include "store/Records.h"

#include <QHash>
#include <QList>
#include <QString>

#include <vector>

// The categories a user gave before, for the payees of one statement: the
// category given most often to records of the payee's type whose notes
// hold the payee's text (its words in a row, ignoring case and
// punctuation). The payees are asked first; then the user's records pass
// by once as (notes, category, count) rows, each compared only with the
// payees whose first word it holds.
class TCategoryHistory {
public:
    // A payee that MostGiven will be asked about.
    void Ask(TRecordType type, const QString &payee);
    // `count` records of `type` had these notes and this category.
    void Add(TRecordType type, const QString &notes, const QString &category, int count = 1);
    // The category given most often for an asked payee; "" when none was,
    // when two were given equally often (nothing is picked at random), or
    // when the payee was not asked.
    QString MostGiven(TRecordType type, const QString &payee) const;

    // Lower-case words of `text`: letters and digits, everything else a break.
    static QList<QString> Words(const QString &text);

private:
    struct TPhrase {
        TRecordType Type;
        std::vector<int> Words;
        std::vector<qint64> Given; // per category id
        qint64 SeenRow = -1;       // the last row counted, so a row counts once
    };
    static QString KeyOf(TRecordType type, const QString &payee);

    std::vector<TPhrase> Phrases;
    QHash<QString, int> PhraseOf;           // type and payee text -> phrase
    QHash<QString, int> WordIds;            // the payees' words
    std::vector<std::vector<int>> Starting; // word id -> phrases starting with it
    QHash<QString, int> CategoryIds;
    QList<QString> Categories;
    std::vector<int> Scratch;
    qint64 Rows = 0;
};
