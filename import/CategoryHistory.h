#pragma once

#include "store/Records.h"

#include <QHash>
#include <QList>
#include <QString>

#include <vector>

// The categories a user gave before, by the words of the notes: asked for a
// payee, it answers the category given most often to records of the type
// whose notes hold the payee's text (its words in a row, ignoring case and
// punctuation). Built once from the user's (notes, category, count) rows;
// each question looks only at the notes that hold the payee's rarest word.
class TCategoryHistory {
public:
    // `count` records of `type` had these notes and this category.
    void Add(TRecordType type, const QString &notes, const QString &category, int count = 1);
    // The category given most often; "" when none was, or when two were
    // given equally often (nothing is picked at random).
    QString MostGiven(TRecordType type, const QString &payee) const;

    // Lower-case words of `text`: letters and digits, everything else a break.
    static QList<QString> Words(const QString &text);

private:
    struct TNotes {
        TRecordType Type;
        std::vector<int> Words;
        QHash<QString, qint64> Categories;
    };
    std::vector<TNotes> Notes;
    QHash<QString, int> NotesIndex;         // type + words -> index in Notes
    QHash<QString, int> WordIds;            // word -> id
    std::vector<std::vector<int>> Postings; // word id -> notes holding it
};
