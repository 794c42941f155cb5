#include "import/Duplicates.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace {

// A line or a record reduced to what the rule compares.
struct TKeyed {
    qint64 Key; // amount in cents and type
    qint64 Day; // Julian day
    int Index;
    bool operator<(const TKeyed &o) const {
        return Key != o.Key ? Key < o.Key : Day != o.Day ? Day < o.Day : Index < o.Index;
    }
};

qint64 KeyOf(qint64 cents, TRecordType type) {
    return cents * 2 + (type == TRecordType::Income ? 1 : 0);
}

} // namespace

QList<TDuplicate> TDuplicates::Find(const QList<TStatementLine> &lines,
                                    const QList<TRecord> &records,
                                    const QSet<TImportId> &knownIds) {
    QList<TDuplicate> result(lines.size());

    // FITIDs first: known ones, and repeats within the file.
    QHash<TImportId, int> firstWithId;
    for (int i = 0; i < lines.size(); ++i) {
        const TImportId id = StatementImportId(lines[i]);
        if (id.IsEmpty())
            continue;
        if (knownIds.contains(id)) {
            result[i].Kind = TDuplicateKind::KnownId;
        } else if (const auto it = firstWithId.constFind(id); it != firstWithId.cend()) {
            result[i].Kind = TDuplicateKind::RepeatedId;
            result[i].Line = it.value();
        } else {
            firstWithId.insert(id, i);
        }
    }

    std::vector<TKeyed> keyedLines, keyedRecords;
    keyedLines.reserve(lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        const TStatementLine &l = lines[i];
        // A repeated entry stands for the earlier one and takes no record.
        if (l.Cents == 0 || !l.Date.isValid() || result[i].Kind == TDuplicateKind::RepeatedId)
            continue;
        const TRecordType type = l.Cents < 0 ? TRecordType::Expense : TRecordType::Income;
        keyedLines.push_back({KeyOf(qAbs(l.Cents), type), l.Date.toJulianDay(), i});
    }
    keyedRecords.reserve(records.size());
    for (int i = 0; i < records.size(); ++i) {
        const TRecord &r = records[i];
        if (r.Cents <= 0 || !r.Date.isValid())
            continue;
        keyedRecords.push_back({KeyOf(r.Cents, r.Type), r.Date.toJulianDay(), i});
    }
    std::sort(keyedLines.begin(), keyedLines.end());
    std::sort(keyedRecords.begin(), keyedRecords.end());

    // Within one amount and type, lines in date order each take the earliest
    // record not taken that lies within their window. With windows of equal
    // width this pairs as many lines as any pairing can.
    size_t r = 0;
    for (size_t l = 0; l < keyedLines.size();) {
        const qint64 key = keyedLines[l].Key;
        while (r < keyedRecords.size() && keyedRecords[r].Key < key)
            ++r;
        for (; l < keyedLines.size() && keyedLines[l].Key == key; ++l) {
            const TKeyed &line = keyedLines[l];
            while (r < keyedRecords.size() && keyedRecords[r].Key == key &&
                   keyedRecords[r].Day < line.Day - kMaxDays)
                ++r;
            if (r < keyedRecords.size() && keyedRecords[r].Key == key &&
                keyedRecords[r].Day <= line.Day + kMaxDays) {
                TDuplicate &d = result[line.Index];
                d.Record = keyedRecords[r].Index;
                if (d.Kind == TDuplicateKind::None)
                    d.Kind = TDuplicateKind::Record;
                ++r;
            }
        }
    }
    return result;
}
