#include "store/DbClass.h"

#include "store/AmountText.h"
#include "store/FieldCodec.h"
#include "store/Sqlite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QVarLengthArray>

#include <sodium.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

namespace {

[[noreturn]] void fail(const QString &message) {
    throw TDbError(message);
}

// --- passwords ------------------------------------------------------------------

void ensureSodium() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = sodium_init() >= 0; });
    if (!ready)
        fail(QCoreApplication::translate("TDbMan",
                                         "The password library could not be initialised."));
}

QByteArray hashPassword(const QString &password) {
    ensureSodium();
    const QByteArray plain = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, plain.constData(), quint64(plain.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        fail(QCoreApplication::translate("TDbMan", "Out of memory while protecting the password."));
    return QByteArray(hash);
}

// The cost of a hash as the program states it: "64 MiB, 2 passes, 1 lane".
QString hashCostText(unsigned long long memoryKiB, unsigned long long passes,
                     unsigned long long lanes) {
    return QStringLiteral("%1 MiB, %2 %3, %4 %5")
        .arg(QString::number(double(memoryKiB) / 1024, 'g', 15))
        .arg(passes)
        .arg(passes == 1 ? QCoreApplication::translate("TDbMan", "pass")
                         : QCoreApplication::translate("TDbMan", "passes"))
        .arg(lanes)
        .arg(lanes == 1 ? QCoreApplication::translate("TDbMan", "lane")
                        : QCoreApplication::translate("TDbMan", "lanes"));
}

// A stored hash may ask for any amount of memory and passes; a data file
// changed by another program must not be able to freeze the sign-in. Hashes
// asking for more than this program ever writes are refused.
void checkHashCost(const QByteArray &hash, const QString &name, const QString &dataFile) {
    unsigned long long memoryKiB = 0, passes = 0, lanes = 0;
    const qsizetype params = hash.indexOf("$m=");
    if (params < 0 || std::sscanf(hash.constData() + params, "$m=%llu,t=%llu,p=%llu", &memoryKiB,
                                  &passes, &lanes) != 3)
        return; // not an Argon2 hash: the library refuses it on its own
    if (memoryKiB * 1024 > crypto_pwhash_MEMLIMIT_INTERACTIVE ||
        passes > crypto_pwhash_OPSLIMIT_INTERACTIVE || lanes > 1)
        fail(QCoreApplication::translate(
                 "TDbMan", "The stored password of \"%1\" asks for %2, more than Ledgerly ever "
                           "uses (%3), so it is not checked. The data file \"%4\" may have been "
                           "changed by another program; restore a backup of it.")
                 .arg(name, hashCostText(memoryKiB, passes, lanes),
                      hashCostText(crypto_pwhash_MEMLIMIT_INTERACTIVE / 1024,
                                   crypto_pwhash_OPSLIMIT_INTERACTIVE, 1),
                      QDir::toNativeSeparators(QFileInfo(dataFile).absoluteFilePath())));
}

bool passwordMatches(const QByteArray &hash, const QString &password, const QString &name,
                     const QString &dataFile) {
    ensureSodium();
    // crypto_pwhash_str_verify wants a NUL-terminated string of at most
    // crypto_pwhash_STRBYTES; anything longer is not one of our hashes.
    if (hash.isEmpty() || hash.size() >= qsizetype(crypto_pwhash_STRBYTES))
        return false;
    checkHashCost(hash, name, dataFile);
    const QByteArray plain = password.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), plain.constData(), quint64(plain.size())) ==
           0;
}

// --- values -----------------------------------------------------------------------

// The connection of one operation on the data file.
class Book : public TSqlConnection {
public:
    enum TAccess { Read, Write };
    Book(const QString &dataFile, TAccess access) : TSqlConnection(dataFile, TMode::ReadWrite) {
        UseBookOptions(access == Write);
    }
};

QByteArray storedText(const QString &text) {
    return EncodeField(text).toLatin1();
}

QByteArray storedDate(QDate date) {
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        fail(QCoreApplication::translate(
            "TDbMan", "A record needs a date between 01/01/0001 and 12/31/9999."));
    return date.toString(Qt::ISODate).toLatin1();
}

// Whether two stored values are the same bytes: compared inline (a few times
// per record read), where a general comparison would be a call of its own.
// An empty value may come without any bytes at all.
inline bool sameBytes(QByteArrayView a, QByteArrayView b) {
    return a.size() == b.size() &&
           (a.isEmpty() || std::memcmp(a.data(), b.data(), size_t(a.size())) == 0);
}

// Stored "yyyy-MM-dd" to a date; invalid when the text is anything else.
QDate readDate(QByteArrayView iso) {
    if (iso.size() != 10 || iso[4] != '-' || iso[7] != '-')
        return {};
    int v[8];
    static constexpr int kDigits[8] = {0, 1, 2, 3, 5, 6, 8, 9};
    for (int i = 0; i < 8; ++i) {
        const char c = iso[kDigits[i]];
        if (c < '0' || c > '9')
            return {};
        v[i] = c - '0';
    }
    return QDate(v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3], v[4] * 10 + v[5], v[6] * 10 + v[7]);
}

// The stored type word; anything other than the two words (in any letter
// case, with blanks around) is not readable.
bool readType(QByteArrayView stored, TRecordType &type) {
    if (sameBytes(stored, "Expense")) {
        type = TRecordType::Expense;
        return true;
    }
    if (sameBytes(stored, "Income")) {
        type = TRecordType::Income;
        return true;
    }
    const QByteArray word = stored.trimmed().toByteArray().toLower();
    if (word == "expense" || word == "income") {
        type = word == "income" ? TRecordType::Income : TRecordType::Expense;
        return true;
    }
    return false;
}

// A stored amount in cents, rounded once; false when the value is not a
// number the program could have written.
bool readCents(const TSqlStatement &row, int column, qint64 &cents) {
    if (!row.IsNumber(column))
        return false;
    const double value = row.Real(column);
    if (!std::isfinite(value) || std::fabs(value) > kMaxAmount)
        return false;
    cents = AmountCents(value);
    return true;
}

void addCents(qint64 &total, qint64 cents) {
    if (__builtin_add_overflow(total, cents, &total))
        fail(QCoreApplication::translate(
            "TDbMan", "The amounts of this period add up to more than Ledgerly can show."));
}

// A quick hash of a short stored text (a category): its length and its
// first and last eight bytes. Texts that share all three only cost a longer
// probe, since entries are always compared whole.
size_t quickHash(QByteArrayView text) {
    const size_t n = size_t(text.size()), part = std::min<size_t>(n, 8);
    quint64 head = 0, tail = 0;
    if (part > 0) { // an empty value may come without any bytes at all
        std::memcpy(&head, text.data(), part);
        std::memcpy(&tail, text.data() + n - part, part);
    }
    quint64 h = (head * 0x9E3779B97F4A7C15ull) ^ (tail * 0xC2B2AE3D27D4EB4Full) ^ n;
    return size_t(h ^ (h >> 29));
}

// The categories of a period, grouped by their stored bytes: each one is
// decoded once (a period has few categories and many records), and its count
// and sum are kept per type. Looked up once per record, so the index is a
// small open-addressing table with a quick hash: a lookup costs a few
// multiplications and, nearly always, one comparison.
class PeriodCategories {
public:
    struct Entry {
        QByteArray Stored;
        TCategoryTotal Totals[2]; // expense, income
    };

    // The entry of a stored category, made when it is new. Valid until the
    // next call.
    Entry &Find(QByteArrayView stored) {
        const size_t hash = quickHash(stored);
        if ((FEntries.size() + 1) * 2 > qsizetype(FSlots.size()))
            Grow();
        const size_t mask = FSlots.size() - 1;
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            TSlot &slot = FSlots[at];
            if (slot.Entry < 0) {
                const QString name = DecodeField(stored);
                FEntries.append({stored.toByteArray(), {{name, 0, 0}, {name, 0, 0}}});
                slot = {hash, FEntries.size() - 1};
                return FEntries.last();
            }
            Entry &entry = FEntries[slot.Entry];
            if (slot.Hash == hash && sameBytes(entry.Stored, stored))
                return entry;
        }
    }

    // One type's categories: largest sum first, equal sums in the order of
    // their stored texts.
    QList<TCategoryTotal> Ordered(TRecordType type) const {
        const int t = type == TRecordType::Income;
        QList<const Entry *> used;
        for (const Entry &entry : FEntries)
            if (entry.Totals[t].Count > 0)
                used.append(&entry);
        std::sort(used.begin(), used.end(), [t](const Entry *a, const Entry *b) {
            return a->Totals[t].Cents != b->Totals[t].Cents
                       ? a->Totals[t].Cents > b->Totals[t].Cents
                       : a->Stored < b->Stored;
        });
        QList<TCategoryTotal> totals;
        totals.reserve(used.size());
        for (const Entry *entry : std::as_const(used))
            totals.append(entry->Totals[t]);
        return totals;
    }

private:
    struct TSlot {
        size_t Hash = 0;
        qsizetype Entry = -1; // -1: free
    };

    void Grow() {
        std::vector<TSlot> table(std::max<size_t>(FSlots.size() * 2, 64));
        const size_t mask = table.size() - 1;
        for (const TSlot &slot : FSlots) {
            if (slot.Entry < 0)
                continue;
            size_t at = slot.Hash & mask;
            while (table[at].Entry >= 0)
                at = (at + 1) & mask;
            table[at] = slot;
        }
        FSlots = std::move(table);
    }

    std::vector<TSlot> FSlots;
    QList<Entry> FEntries;
};

struct StoredRecord {
    QByteArray Date, Type, Category, Notes;
    double Amount = 0;
    QByteArray Account, ImportId; // empty ImportId: not imported
    bool Wanted = false;          // stored even when its ImportId is known
};

// A record checked before anything is stored.
StoredRecord checkedRecord(const TRecord &record) {
    if (record.Cents < 1 || record.Cents > qint64(std::llround(kMaxAmount * 100)))
        fail(QCoreApplication::translate(
                 "TDbMan", "%1 is not an amount Ledgerly keeps; an amount lies between 0.01 and "
                           "999999999999.99.")
                 .arg(CentsText(record.Cents)));
    StoredRecord stored;
    stored.Date = storedDate(record.Date);
    stored.Type = RecordTypeWord(record.Type).toLatin1();
    stored.Category = storedText(record.Category);
    stored.Amount = double(record.Cents) / 100;
    stored.Notes = storedText(record.Notes);
    if (!record.Import.IsEmpty()) {
        stored.Account = storedText(record.Import->Account);
        stored.ImportId = storedText(record.Import->Id);
        stored.Wanted = record.Import->Wanted;
    }
    return stored;
}

// Texts decoded once per distinct stored value (categories: a user has few).
class DecodedTexts {
public:
    const QString &Of(QByteArrayView stored) {
        auto it = FTexts.constFind(QByteArray::fromRawData(stored.data(), stored.size()));
        if (it == FTexts.cend())
            it = FTexts.insert(stored.toByteArray(), DecodeField(stored));
        return it.value();
    }

private:
    QHash<QByteArray, QString> FTexts;
};

// From this many records of a period on, whenever the list is full, room for
// the rest is estimated from the share of the period's days already read
// (plus a tenth). The estimate is taken again each time, so a book whose
// records grow denser over the years ends close to its size instead of
// doubling at the end: one ten-year search holds some 20 MB of records.
constexpr qsizetype kEstimateAfter = 2048;

void reserveForPeriod(QList<TRecord> &records, QDate from, QDate to, QDate reached) {
    const qint64 size = records.size();
    const qint64 done = from.daysTo(reached) + 1, all = from.daysTo(to) + 1;
    qint64 wanted = size + size / 8;
    if (done > 0 && all > done)
        wanted = std::max(wanted, std::min(size * all / done * 11 / 10, size * 64));
    records.reserve(qsizetype(wanted));
}

constexpr const char *kInsertRecord =
    "insert into data (user, date, type, cate, amount, notes) values (?1, ?2, ?3, ?4, ?5, ?6)";
constexpr const char *kInsertRecordWithId = "insert into data (user, date, type, cate, amount, "
                                            "notes, id) values (?1, ?2, ?3, ?4, ?5, ?6, ?7)";

// Runs kInsertRecord, or kInsertRecordWithId with `id`.
void insertRecord(TSqlStatement &insert, const QByteArray &storedUser, const StoredRecord &rec,
                  qint64 id = 0) {
    insert.Reset();
    insert.Bind(1, storedUser)
        .Bind(2, rec.Date)
        .Bind(3, rec.Type)
        .Bind(4, rec.Category)
        .Bind(5, rec.Amount)
        .Bind(6, rec.Notes);
    if (id > 0)
        insert.Bind(7, id);
    insert.Run();
}

constexpr const char *kUserRows = "select name, pwd from users where name = ?1";

QList<QByteArray> userHashes(TSqlConnection &db, const QByteArray &storedName) {
    TSqlStatement query(db, kUserRows);
    query.Bind(1, storedName);
    QList<QByteArray> hashes;
    while (query.Next())
        hashes << query.Bytes(1).toByteArray();
    return hashes;
}

// Deletes every row of the user and inserts one with the given hash, so the
// user becomes the newest row (the head of the sign-in list).
void replaceUserRow(TSqlConnection &db, const QByteArray &storedName, const QByteArray &hash) {
    TSqlStatement del(db, "delete from users where name = ?1");
    del.Bind(1, storedName).Run();
    TSqlStatement insert(db, "insert into users (name, pwd) values (?1, ?2)");
    insert.Bind(1, storedName).Bind(2, hash).Run();
}

// Both category lists of a user, empty when the user has no row yet.
// The user's two category lists as stored ("out", "in"), empty when none.
QPair<QByteArray, QByteArray> storedLists(TSqlConnection &db, const QByteArray &storedUser) {
    TSqlStatement query(db, "select out, \"in\" from cates where user = ?1 order by rowid limit 1");
    query.Bind(1, storedUser);
    if (!query.Next())
        return {};
    return {query.Bytes(0).toByteArray(), query.Bytes(1).toByteArray()};
}

// A category list is kept as one text: its items joined by CR LF, blanks
// and line breaks at both ends removed (as the list editor has always
// stored it). These two functions are the only place that knows it.
QString listText(const QStringList &items) {
    return items.join(QStringLiteral("\r\n")).trimmed();
}

// The items of a stored list, one per line (a line break may be CR LF, LF
// or CR); the empty lines at its end make no items.
QStringList listItems(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QStringList items = text.split(u'\n');
    while (!items.isEmpty() && items.constLast().isEmpty())
        items.removeLast();
    return items;
}

void checkListName(const QString &listName) {
    if (listName != QLatin1String("out") && listName != QLatin1String("in"))
        fail(QCoreApplication::translate("TDbMan",
                                         "\"%1\" is not a category list; it must be out or in.")
                 .arg(listName));
}

// Counts of (stored notes, group) pairs: an open-addressing table over one
// buffer of the distinct notes' bytes, so that a pair met again costs one
// hash and one comparison, and a new one no allocation of its own. The
// slots carry part of the hash, so probing stays within the slots (one
// cache line) until the pair itself is looked at.
class NotesGroups {
public:
    // Room for `rows` pairs, so that the table never grows (before any Add).
    void Reserve(qsizetype rows) {
        size_t size = 1024;
        while (size < size_t(rows) * 2)
            size *= 2;
        FSlots.assign(size, TSlot());
        FEntries.reserve(size_t(rows));
    }

    void Add(QByteArrayView notes, int group) {
        const size_t hash = qHash(notes, size_t(group));
        const quint32 mark = quint32(hash >> 32) | 1; // never 0, the mark of a free slot
        if ((FEntries.size() + 1) * 2 > FSlots.size())
            Grow();
        const size_t mask = FSlots.size() - 1;
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            TSlot &slot = FSlots[at];
            if (slot.Mark == 0) {
                slot = {mark, quint32(FEntries.size())};
                FEntries.push_back({hash, qsizetype(FBytes.size()), notes.size(), group, 1});
                FBytes.append(notes.data(), notes.size());
                return;
            }
            if (slot.Mark != mark)
                continue;
            TEntry &e = FEntries[slot.Entry];
            if (e.Group == group && e.Size == notes.size() &&
                (e.Size == 0 ||
                 std::memcmp(FBytes.constData() + e.Offset, notes.data(), size_t(e.Size)) == 0)) {
                ++e.Count;
                return;
            }
        }
    }

    template <typename F> void ForEach(F &&f) const {
        for (const TEntry &e : FEntries)
            f(QByteArrayView(FBytes.constData() + e.Offset, e.Size), e.Group, e.Count);
    }

private:
    struct TSlot {
        quint32 Mark = 0;
        quint32 Entry = 0;
    };
    struct TEntry {
        size_t Hash;
        qsizetype Offset, Size;
        int Group, Count;
    };

    void Grow() {
        std::vector<TSlot> table(std::max<size_t>(FSlots.size() * 2, 1024));
        const size_t mask = table.size() - 1;
        for (size_t i = 0; i < FEntries.size(); ++i) {
            const size_t hash = FEntries[i].Hash;
            size_t at = hash & mask;
            while (table[at].Mark != 0)
                at = (at + 1) & mask;
            table[at] = {quint32(hash >> 32) | 1, quint32(i)};
        }
        FSlots = std::move(table);
    }

    std::vector<TSlot> FSlots;
    std::vector<TEntry> FEntries;
    QByteArray FBytes;
};

// --- undo and redo ----------------------------------------------------------------------

qint64 lastId(TSqlConnection &db) {
    return sqlite3_last_insert_rowid(db.Handle());
}

[[noreturn]] void changedElsewhere(const QString &what, const QString &todo) {
    throw TBookChangedError(QCoreApplication::translate(
                                "TDbMan", "%1 in another Ledgerly window; nothing was undone or "
                                          "redone. %2")
                                .arg(what, todo));
}

// "The expense of 12.50 in "Food" on 03/12/2024", as a message names a record.
QString recordText(const TRecord &record) {
    return QCoreApplication::translate("TDbMan", "The %1 of %2 in \"%3\" on %4")
        .arg(record.Type == TRecordType::Income
                 ? QCoreApplication::translate("TDbMan", "income", "a record")
                 : QCoreApplication::translate("TDbMan", "expense", "a record"),
             CentsText(record.Cents), record.Category,
             record.Date.toString(QStringLiteral("MM/dd/yyyy")));
}

[[noreturn]] void recordChanged(const TRecord &record, const QString &how) {
    changedElsewhere(
        recordText(record) + how,
        QCoreApplication::translate("TDbMan", "Search again to see the records as they are now."));
}

// Whether the row (date, type, cate, amount, notes) holds `record`, read as
// the program reads it.
bool sameRecord(const TSqlStatement &row, const TRecord &record) {
    TRecordType type;
    qint64 cents = 0;
    return readDate(row.Bytes(0)) == record.Date && readType(row.Bytes(1), type) &&
           type == record.Type && readCents(row, 3, cents) && cents == record.Cents &&
           DecodeField(row.Bytes(2)) == record.Category &&
           DecodeField(row.Bytes(4)) == record.Notes;
}

QString listWord(TRecordType type) {
    return type == TRecordType::Income
               ? QCoreApplication::translate("TDbMan", "income", "a category list")
               : QCoreApplication::translate("TDbMan", "expense", "a category list");
}

// The items of the user's list of `type`.
QStringList readList(TSqlConnection &db, const QByteArray &storedUser, TRecordType type) {
    const auto lists = storedLists(db, storedUser);
    return listItems(DecodeField(type == TRecordType::Income ? lists.second : lists.first));
}

// Sets the list of `type` to `after` while it is `before`; the other list is
// written back exactly as it was stored.
void changeList(TSqlConnection &db, const QByteArray &storedUser, TRecordType type,
                const QStringList &before, const QStringList &after) {
    auto [outList, inList] = storedLists(db, storedUser);
    QByteArray &list = type == TRecordType::Income ? inList : outList;
    if (listItems(DecodeField(list)) != before)
        changedElsewhere(
            QCoreApplication::translate("TDbMan", "The %1 category list was changed")
                .arg(listWord(type)),
            QCoreApplication::translate("TDbMan", "Open the list again to see it as it is now."));
    if (before == after)
        return;
    list = storedText(listText(after));
    TSqlStatement del(db, "delete from cates where user = ?1");
    del.Bind(1, storedUser).Run();
    TSqlStatement insert(db, "insert into cates (user, out, \"in\") values (?1, ?2, ?3)");
    insert.Bind(1, storedUser).Bind(2, outList).Bind(3, inList).Run();
}

QList<TCategoryRule> readRules(TSqlConnection &db, const QByteArray &storedUser) {
    TSqlStatement query(db,
                        "select text, cate, type from rules where user = ?1 order by pos, rowid");
    query.Bind(1, storedUser);
    QList<TCategoryRule> rules;
    while (query.Next()) {
        // "out" and anything unknown are money out, as the rules kept before
        // rules had a type.
        const QByteArrayView type = query.Bytes(2);
        rules.append({DecodeField(query.Bytes(0)), DecodeField(query.Bytes(1)),
                      sameBytes(type, "in")     ? TRuleType::Income
                      : sameBytes(type, "both") ? TRuleType::Both
                                                : TRuleType::Expense});
    }
    return rules;
}

void writeRules(TSqlConnection &db, const QByteArray &storedUser,
                const QList<TCategoryRule> &rules) {
    TSqlStatement del(db, "delete from rules where user = ?1");
    del.Bind(1, storedUser).Run();
    TSqlStatement insert(db, "insert into rules (user, pos, text, cate, type) values (?1, ?2, "
                             "?3, ?4, ?5)");
    for (int i = 0; i < rules.size(); ++i) {
        const TRuleType type = rules[i].Type;
        insert.Reset();
        insert.Bind(1, storedUser)
            .Bind(2, i)
            .Bind(3, storedText(rules[i].Text))
            .Bind(4, storedText(rules[i].Category))
            .Bind(5, QByteArrayView(type == TRuleType::Income ? "in"
                                    : type == TRuleType::Both ? "both"
                                                              : "out"));
        insert.Run();
    }
}

// --- budgets and recurring entries ---------------------------------------------------------

const qint64 kMaxCents = std::llround(kMaxAmount * 100);

[[noreturn]] void planChanged(const QString &what, const QString &todo) {
    throw TBookChangedError(
        QStringLiteral("%1 in another Ledgerly window; nothing was changed. %2").arg(what, todo));
}

// An empty stored date is no date; an invalid QDate is stored as empty.
QByteArray storedOptionalDate(QDate date) {
    return date.isValid() ? storedDate(date) : QByteArray("");
}

// A stored date that may be empty (an invalid QDate); nothing when it is
// neither empty nor readable.
std::optional<QDate> readOptionalDate(QByteArrayView iso) {
    if (iso.isEmpty())
        return QDate();
    const QDate date = readDate(iso);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

// A stored amount in whole cents between 0 and the largest amount.
bool readWholeCents(const TSqlStatement &row, int column, qint64 &cents) {
    if (!row.IsNumber(column))
        return false;
    const double value = row.Real(column);
    if (!(value >= 0 && value <= double(kMaxCents)) || value != std::floor(value))
        return false;
    cents = qint64(value);
    return true;
}

// Budgets in the order Budgets() gives them: expense first, then by category.
QList<TBudget> sortedBudgets(QList<TBudget> budgets) {
    std::sort(budgets.begin(), budgets.end(), [](const TBudget &a, const TBudget &b) {
        if (a.Type != b.Type)
            return a.Type == TRecordType::Expense;
        const int order = a.Category.localeAwareCompare(b.Category);
        return order != 0 ? order < 0 : a.Category < b.Category;
    });
    return budgets;
}

QList<TBudget> readBudgets(TSqlConnection &db, const QByteArray &storedUser) {
    TSqlStatement query(db, "select type, cate, cents from budgets where user = ?1");
    query.Bind(1, storedUser);
    QList<TBudget> budgets;
    while (query.Next()) {
        TBudget budget;
        // Rows another program wrote unreadably are left out.
        if (readType(query.Bytes(0), budget.Type) && readWholeCents(query, 2, budget.Cents)) {
            budget.Category = DecodeField(query.Bytes(1));
            budgets.append(budget);
        }
    }
    return sortedBudgets(budgets);
}

void checkBudgets(const QList<TBudget> &budgets) {
    QSet<QPair<int, QString>> seen;
    for (const TBudget &budget : budgets) {
        if (budget.Cents < 0 || budget.Cents > kMaxCents)
            fail(QStringLiteral("%1 is not a budget Ledgerly keeps; a budget lies between 0.00 and "
                                "999999999999.99. Nothing was saved.")
                     .arg(CentsText(budget.Cents)));
        const QPair<int, QString> key(int(budget.Type), budget.Category);
        if (seen.contains(key))
            fail(QStringLiteral("The %1 category \"%2\" has two budgets; keep one of them. Nothing "
                                "was saved.")
                     .arg(budget.Type == TRecordType::Income ? QStringLiteral("income")
                                                             : QStringLiteral("expense"),
                          budget.Category));
        seen.insert(key);
    }
}

void writeBudgets(TSqlConnection &db, const QByteArray &storedUser, const QList<TBudget> &budgets) {
    TSqlStatement del(db, "delete from budgets where user = ?1");
    del.Bind(1, storedUser).Run();
    TSqlStatement insert(db, "insert into budgets (user, type, cate, cents) values (?1, ?2, ?3, "
                             "?4)");
    for (const TBudget &budget : budgets) {
        insert.Reset();
        insert.Bind(1, storedUser)
            .Bind(2, RecordTypeWord(budget.Type).toLatin1())
            .Bind(3, storedText(budget.Category))
            .Bind(4, budget.Cents)
            .Run();
    }
}

// The budgets with the one of `from` of that type renamed to `to`. Where
// `to` has a budget of its own (the two categories merge), that budget is
// kept and the one of `from` goes: the user set it for the category that
// remains, and a sum of the two would be a budget nobody chose.
QList<TBudget> renamedBudgets(QList<TBudget> budgets, TRecordType type, const QString &from,
                              const QString &to) {
    const auto has = [&](const QString &name) {
        return [&, name](const TBudget &b) { return b.Type == type && b.Category == name; };
    };
    const auto source = std::find_if(budgets.begin(), budgets.end(), has(from));
    if (source == budgets.end())
        return budgets;
    if (std::any_of(budgets.cbegin(), budgets.cend(), has(to)))
        budgets.erase(source);
    else
        source->Category = to;
    return sortedBudgets(budgets);
}

const char *const kRepeatUnits[] = {"day", "week", "month", "year"};

constexpr const char *kRecurringColumns =
    "id, type, cate, cents, notes, first_day, every, unit, last_day, booked";

// The row (columns kRecurringColumns) as an entry; false when another
// program wrote any of it unreadably.
bool readRecurring(const TSqlStatement &row, TRecurring &entry) {
    entry.Id = row.Int(0);
    const QByteArrayView unit = row.Bytes(7);
    const auto known = std::find_if(std::begin(kRepeatUnits), std::end(kRepeatUnits),
                                    [&](const char *word) { return sameBytes(unit, word); });
    const std::optional<QDate> last = readOptionalDate(row.Bytes(8));
    const std::optional<QDate> booked = readOptionalDate(row.Bytes(9));
    entry.Schedule.First = readDate(row.Bytes(5));
    if (!readType(row.Bytes(1), entry.Type) || !readWholeCents(row, 3, entry.Cents) ||
        entry.Cents < 1 || !entry.Schedule.First.isValid() || !row.IsNumber(6) || row.Int(6) < 1 ||
        row.Int(6) > 999 || known == std::end(kRepeatUnits) || !last || !booked)
        return false;
    entry.Category = DecodeField(row.Bytes(2));
    entry.Notes = DecodeField(row.Bytes(4));
    entry.Schedule.Every = int(row.Int(6));
    entry.Schedule.Unit = TRepeatUnit(known - std::begin(kRepeatUnits));
    entry.Schedule.Last = *last;
    entry.Booked = *booked;
    return true;
}

QList<TRecurring> readAllRecurring(TSqlConnection &db, const QByteArray &storedUser) {
    TSqlStatement query(db, QByteArray("select ") + kRecurringColumns +
                                " from recurring where user = ?1 order by id");
    query.Bind(1, storedUser);
    QList<TRecurring> entries;
    while (query.Next()) {
        TRecurring entry;
        if (readRecurring(query, entry))
            entries.append(entry);
    }
    return entries;
}

// The user's entry `id` as stored; nothing when it is gone or unreadable.
std::optional<TRecurring> readOneRecurring(TSqlConnection &db, const QByteArray &storedUser,
                                           qint64 id) {
    TSqlStatement query(db, QByteArray("select ") + kRecurringColumns +
                                " from recurring where id = ?1 and user = ?2");
    query.Bind(1, id).Bind(2, storedUser);
    TRecurring entry;
    if (query.Next() && readRecurring(query, entry))
        return entry;
    return std::nullopt;
}

// "The recurring entry of 12.50 in "Rent"", as a message names an entry.
QString entryText(const TRecurring &entry) {
    return QCoreApplication::translate("TDbMan", "The recurring %1 of %2 in \"%3\"")
        .arg(entry.Type == TRecordType::Income ? QStringLiteral("income")
                                               : QStringLiteral("expense"),
             CentsText(entry.Cents), entry.Category);
}

[[noreturn]] void entryChanged(const TRecurring &entry, const QString &how) {
    planChanged(entryText(entry) + how,
                QStringLiteral("Open Recurring Entries again to see them as they are now."));
}

struct StoredRecurring {
    QByteArray Type, Category, Notes, First, Unit, Last, Booked;
    qint64 Cents = 0;
    int Every = 1;
};

// An entry checked before anything is stored.
StoredRecurring checkedRecurring(const TRecurring &entry) {
    if (entry.Cents < 1 || entry.Cents > kMaxCents)
        fail(QStringLiteral("%1 is not an amount Ledgerly keeps; an amount lies between 0.01 and "
                            "999999999999.99.")
                 .arg(CentsText(entry.Cents)));
    const TSchedule &schedule = entry.Schedule;
    if (!schedule.First.isValid() || schedule.First.year() < 1 || schedule.First.year() > 9999)
        fail(QStringLiteral("A recurring entry needs a first date between 01/01/0001 and "
                            "12/31/9999."));
    if (schedule.Every < 1 || schedule.Every > 999)
        fail(QStringLiteral("A recurring entry comes back every 1 to 999 days, weeks, months or "
                            "years, not every %1.")
                 .arg(schedule.Every));
    if (schedule.Last.isValid() && schedule.Last < schedule.First)
        fail(QCoreApplication::translate(
                 "TDbMan", "The last date of a recurring entry (%1) lies before its first date "
                           "(%2).")
                 .arg(schedule.Last.toString(QStringLiteral("MM/dd/yyyy")),
                      schedule.First.toString(QStringLiteral("MM/dd/yyyy"))));
    StoredRecurring stored;
    stored.Type = RecordTypeWord(entry.Type).toLatin1();
    stored.Category = storedText(entry.Category);
    stored.Notes = storedText(entry.Notes);
    stored.Cents = entry.Cents;
    stored.First = storedDate(schedule.First);
    stored.Every = schedule.Every;
    stored.Unit = kRepeatUnits[int(schedule.Unit)];
    stored.Last = storedOptionalDate(schedule.Last);
    stored.Booked = storedOptionalDate(entry.Booked);
    return stored;
}

// Binds the entry's values as ?2 .. ?10 (?1 is the user or the id).
void bindRecurring(TSqlStatement &statement, const StoredRecurring &rec) {
    statement.Bind(2, rec.Type)
        .Bind(3, rec.Category)
        .Bind(4, rec.Cents)
        .Bind(5, rec.Notes)
        .Bind(6, rec.First)
        .Bind(7, rec.Every)
        .Bind(8, rec.Unit)
        .Bind(9, rec.Last)
        .Bind(10, rec.Booked);
}

// Moves the booked date of the user's entry from advance.From to
// advance.To; false, changing nothing, when the entry is gone or its booked
// date is not From.
bool moveBooking(TSqlConnection &db, const QByteArray &storedUser, const TBookingAdvance &advance) {
    {
        TSqlStatement read(db, "select booked from recurring where id = ?1 and user = ?2");
        read.Bind(1, advance.Entry).Bind(2, storedUser);
        if (!read.Next())
            return false;
        const std::optional<QDate> booked = readOptionalDate(read.Bytes(0));
        if (!booked || *booked != advance.From)
            return false;
    }
    TSqlStatement update(db, "update recurring set booked = ?1 where id = ?2");
    update.Bind(1, storedOptionalDate(advance.To)).Bind(2, advance.Entry).Run();
    return true;
}

// The totals of ReadPeriod without its records, days and months: the sums
// per type and per category, over the same records (the readable ones).
TPeriod readTotals(TSqlConnection &db, const QByteArray &storedUser, QDate from, QDate to) {
    TSqlStatement query(db, "select date, type, cate, amount from data "
                            "where user = ?1 and date >= ?2 and date <= ?3");
    query.Bind(1, storedUser).Bind(2, storedDate(from)).Bind(3, storedDate(to));
    TPeriod period;
    PeriodCategories categories;
    // A stored date is read once per day, as ReadPeriod reads it.
    QByteArray lastIso;
    bool lastReadable = false;
    while (query.Next()) {
        const QByteArrayView iso = query.Bytes(0);
        if (!sameBytes(iso, lastIso)) {
            lastIso = iso.toByteArray();
            lastReadable = readDate(iso).isValid();
        }
        TRecordType type;
        qint64 cents = 0;
        if (!lastReadable || !readType(query.Bytes(1), type) || !readCents(query, 3, cents)) {
            ++period.Unreadable;
            continue;
        }
        const bool income = type == TRecordType::Income;
        TCategoryTotal &category = categories.Find(query.Bytes(2)).Totals[income];
        ++category.Count;
        addCents(category.Cents, cents);
        addCents(income ? period.IncomeCents : period.ExpenseCents, cents);
    }
    period.ExpenseCategories = categories.Ordered(TRecordType::Expense);
    period.IncomeCategories = categories.Ordered(TRecordType::Income);
    return period;
}

// --- renaming categories ------------------------------------------------------------------

// The ids of the user's records of that type and category, each stored
// category decoded once.
QList<qint64> categoryIds(TSqlConnection &db, const QByteArray &storedUser, TRecordType type,
                          const QString &name) {
    TSqlStatement query(db, "select id, type, cate from data where user = ?1");
    query.Bind(1, storedUser);
    QHash<QByteArray, bool> matches;
    QList<qint64> ids;
    while (query.Next()) {
        TRecordType t;
        if (!readType(query.Bytes(1), t) || t != type)
            continue;
        const QByteArrayView cate = query.Bytes(2);
        auto it = matches.constFind(QByteArray::fromRawData(cate.data(), cate.size()));
        if (it == matches.cend())
            it = matches.insert(cate.toByteArray(), DecodeField(cate) == name);
        if (it.value())
            ids << query.Int(0);
    }
    return ids;
}

// The list with the line `from` renamed to `to`, or dropped where a line
// `to` exists already (lines compared without blanks at their ends). A list
// without the line stays as it is, and so do its empty lines.
QStringList renamedList(const QStringList &lines, const QString &from, const QString &to) {
    if (from.trimmed().isEmpty())
        return lines;
    const auto isLine = [&](const QString &name) {
        return [&name](const QString &line) { return line.trimmed() == name; };
    };
    if (std::none_of(lines.cbegin(), lines.cend(), isLine(from)))
        return lines;
    bool hasTo = std::any_of(lines.cbegin(), lines.cend(), isLine(to));
    QStringList out;
    for (const QString &line : lines) {
        if (line.trimmed() != from) {
            out << line;
        } else if (!hasTo) {
            out << to;
            hasTo = true;
        }
    }
    return out;
}

bool ruleApplies(TRuleType rule, TRecordType type) {
    return rule == TRuleType::Both || (rule == TRuleType::Income) == (type == TRecordType::Income);
}

// Makes `rename` in the open write transaction, after checking that the
// book is as it was before it.
void applyRename(TSqlConnection &db, const QByteArray &storedUser, const TCategoryRename &rename) {
    const auto changed = [&](const QString &what) {
        changedElsewhere(what, QCoreApplication::translate(
                                   "TDbMan", "Search again to see the categories as they are "
                                             "now."));
    };
    {
        TSqlStatement read(db, "select type, cate from data where id = ?1 and user = ?2");
        TSqlStatement update(db, "update data set cate = ?1 where id = ?2");
        const QByteArray storedTo = storedText(rename.To);
        for (const qint64 id : rename.Ids) {
            read.Reset();
            read.Bind(1, id).Bind(2, storedUser);
            TRecordType type;
            if (!read.Next() || !readType(read.Bytes(0), type) || type != rename.Type ||
                DecodeField(read.Bytes(1)) != rename.From)
                changed(QCoreApplication::translate(
                            "TDbMan", "A record of the category \"%1\" was changed or deleted")
                            .arg(rename.From));
            read.Reset();
            update.Reset();
            update.Bind(1, storedTo).Bind(2, id).Run();
        }
    }
    changeList(db, storedUser, rename.Type, rename.ListBefore, rename.ListAfter);
    if (readRules(db, storedUser) != rename.RulesBefore)
        changed(QCoreApplication::translate("TDbMan",
                                            "The category rules of statement import were changed"));
    if (rename.RulesAfter != rename.RulesBefore)
        writeRules(db, storedUser, rename.RulesAfter);
    if (readBudgets(db, storedUser) != rename.BudgetsBefore)
        changed(QCoreApplication::translate("TDbMan", "The budgets were changed"));
    if (rename.BudgetsAfter != rename.BudgetsBefore)
        writeBudgets(db, storedUser, rename.BudgetsAfter);
    TSqlStatement update(db, "update recurring set cate = ?1 where id = ?2");
    for (qsizetype i = 0; i < rename.RecurringBefore.size(); ++i) {
        const TRecurring &entry = rename.RecurringBefore[i];
        if (readOneRecurring(db, storedUser, entry.Id) != entry)
            changed(QStringLiteral("A recurring entry of the category \"%1\" was changed or "
                                   "deleted")
                        .arg(rename.From));
        update.Reset();
        update.Bind(1, storedText(rename.RecurringAfter.value(i).Category)).Bind(2, entry.Id).Run();
    }
}

// --- find -----------------------------------------------------------------------------------

// Text as find compares it: compatibility decomposition (NFKD) without the
// combining marks, case-folded. "Café" and "CAFE" are both "cafe".
QString foldedText(const QString &text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString kept;
    kept.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const QChar::Category category = c.category();
        if (category != QChar::Mark_NonSpacing && category != QChar::Mark_SpacingCombining &&
            category != QChar::Mark_Enclosing)
            kept += c;
    }
    return kept.toCaseFolded();
}

// The words of a find, folded once; each one a bit of a mask. A stored text
// that is ASCII (nearly all notes) is folded by lower-casing its bytes and
// searched for the words' bytes; any other text goes through foldedText.
class FindWords {
public:
    explicit FindWords(const QString &text) {
        static const QRegularExpression amount(QStringLiteral("^[0-9]+([.,][0-9]{1,2})?$"));
        const QStringList words =
            text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        for (const QString &word : words) {
            TWord w;
            w.Folded = foldedText(word);
            bool ascii = true;
            for (const QChar c : std::as_const(w.Folded))
                ascii = ascii && c.unicode() < 0x80;
            if (ascii)
                w.Bytes = w.Folded.toLatin1();
            w.Ascii = ascii;
            if (!amount.match(word).hasMatch() ||
                !IsAcceptableAmount(QString(word).replace(QLatin1Char(','), QLatin1Char('.')),
                                    &w.Cents))
                w.Cents = -1;
            FWords.push_back(std::move(w));
        }
        if (FWords.size() > 64)
            fail(QCoreApplication::translate("TDbMan",
                                             "Find takes up to 64 words; type fewer words."));
    }

    bool IsEmpty() const { return FWords.empty(); }
    quint64 All() const { return FWords.size() == 64 ? ~0ull : (1ull << FWords.size()) - 1; }

    // The words that read as exactly this amount.
    quint64 AmountMask(qint64 cents) const {
        quint64 mask = 0;
        for (size_t i = 0; i < FWords.size(); ++i)
            if (FWords[i].Cents == cents)
                mask |= 1ull << i;
        return mask;
    }

    // The words among `wanted` that the UTF-8 text contains; the text is
    // changed (lower-cased) on the way.
    quint64 TextMask(char *utf8, qsizetype size, quint64 wanted) const {
        unsigned char seen = 0;
        for (qsizetype i = 0; i < size; ++i) {
            const unsigned char c = static_cast<unsigned char>(utf8[i]);
            seen |= c;
            utf8[i] = char(c + (unsigned(c - 'A') < 26u ? 32 : 0));
        }
        quint64 mask = 0;
        if (!(seen & 0x80)) {
            for (size_t i = 0; i < FWords.size(); ++i) {
                const TWord &w = FWords[i];
                if ((wanted >> i & 1) && w.Ascii &&
                    (w.Bytes.isEmpty() ||
                     memmem(utf8, size_t(size), w.Bytes.constData(), size_t(w.Bytes.size()))))
                    mask |= 1ull << i;
            }
            return mask;
        }
        // Lower-casing left every byte beyond ASCII as it was.
        const QString folded = foldedText(QString::fromUtf8(utf8, size));
        for (size_t i = 0; i < FWords.size(); ++i)
            if ((wanted >> i & 1) && folded.contains(FWords[i].Folded))
                mask |= 1ull << i;
        return mask;
    }

    quint64 TextMask(const QString &text) const {
        QByteArray utf8 = text.toUtf8();
        return TextMask(utf8.data(), utf8.size(), All());
    }

private:
    struct TWord {
        QString Folded;
        QByteArray Bytes; // Folded, when it is ASCII
        bool Ascii = false;
        qint64 Cents = -1; // the amount the word reads as; -1 for none
    };
    std::vector<TWord> FWords;
};

// The categories met by a find, by their stored bytes: each decoded and
// matched against the words once.
class FoundCategories {
public:
    struct Entry {
        QByteArray Stored;
        QString Name;
        quint64 Mask; // the words the category contains
    };

    explicit FoundCategories(const FindWords &words) : FWords(words) {}

    const Entry &Find(QByteArrayView stored) {
        const size_t hash = quickHash(stored);
        if ((FEntries.size() + 1) * 2 > FSlots.size())
            Grow();
        const size_t mask = FSlots.size() - 1;
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            TSlot &slot = FSlots[at];
            if (slot.Entry < 0) {
                const QString name = DecodeField(stored);
                FEntries.push_back({stored.toByteArray(), name, FWords.TextMask(name)});
                slot = {hash, qsizetype(FEntries.size() - 1)};
                return FEntries.back();
            }
            const Entry &entry = FEntries[size_t(slot.Entry)];
            if (slot.Hash == hash && sameBytes(entry.Stored, stored))
                return entry;
        }
    }

private:
    struct TSlot {
        size_t Hash = 0;
        qsizetype Entry = -1; // -1: free
    };

    void Grow() {
        std::vector<TSlot> table(std::max<size_t>(FSlots.size() * 2, 64));
        const size_t mask = table.size() - 1;
        for (const TSlot &slot : FSlots) {
            if (slot.Entry < 0)
                continue;
            size_t at = slot.Hash & mask;
            while (table[at].Entry >= 0)
                at = (at + 1) & mask;
            table[at] = slot;
        }
        FSlots = std::move(table);
    }

    const FindWords &FWords;
    std::vector<TSlot> FSlots;
    std::deque<Entry> FEntries; // entries stay where they are while it grows
};

} // namespace

TDbMan::TDbMan(const QString &dataFile) : FDataFile(dataFile) {}

TDbMan::~TDbMan() = default;

// --- users --------------------------------------------------------------------------

bool TDbMan::AddUser(const QString &name, const QString &password) {
    const QByteArray hash = hashPassword(password); // before the file is touched: it is slow
    {
        Book db(FDataFile, Book::Write);
        TSqlStatement insert(db, "insert into users (name, pwd) values (?1, ?2)");
        insert.Bind(1, storedText(name)).Bind(2, hash).Run();
    }
    return UserExists(name);
}

bool TDbMan::DeleteUser(const QString &name) {
    {
        Book db(FDataFile, Book::Write);
        TSqlStatement del(db, "delete from users where name = ?1");
        del.Bind(1, storedText(name)).Run();
    }
    return !UserExists(name);
}

bool TDbMan::UserExists(const QString &name) {
    Book db(FDataFile, Book::Read);
    TSqlStatement query(db, "select 1 from users where name = ?1 limit 1");
    query.Bind(1, storedText(name));
    return query.Next();
}

bool TDbMan::CheckPassword(const QString &name, const QString &password) {
    QList<QByteArray> hashes;
    {
        Book db(FDataFile, Book::Read);
        hashes = userHashes(db, storedText(name));
    }
    // Verified with the file closed: hashing takes a while.
    for (const QByteArray &hash : std::as_const(hashes))
        if (passwordMatches(hash, password, name, FDataFile))
            return true;
    return false;
}

QStringList TDbMan::GetUserNames() {
    QStringList names;
    Book db(FDataFile, Book::Read);
    // Newest row first: a sign-in re-inserts the user, so the user who
    // signed in last heads the list.
    TSqlStatement query(db, "select name from users order by rowid desc");
    while (query.Next())
        names << DecodeField(query.Bytes(0));
    return names;
}

void TDbMan::ReinsertUser(const QString &name, const QString &password) {
    const QByteArray storedName = storedText(name);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    const QList<QByteArray> hashes = userHashes(db, storedName);
    // The row moves with its own hash, so the password stays exactly what it
    // was: this never sets a password. Only where one name has several rows
    // does the password pick the one to keep (the rest go, as at any sign-in).
    QByteArray hash;
    if (hashes.size() == 1) {
        hash = hashes.first();
    } else {
        for (const QByteArray &h : hashes) {
            if (passwordMatches(h, password, name, FDataFile)) {
                hash = h;
                break;
            }
        }
    }
    if (hash.isEmpty())
        fail(hashes.isEmpty()
                 ? QCoreApplication::translate("TDbMan", "There is no user \"%1\" (any more).")
                       .arg(name)
                 : QCoreApplication::translate("TDbMan", "Wrong password for \"%1\".").arg(name));
    replaceUserRow(db, storedName, hash);
    tr.Commit();
}

void TDbMan::SetPassword(const QString &name, const QString &password) {
    const QByteArray hash = hashPassword(password);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    replaceUserRow(db, storedText(name), hash);
    tr.Commit();
}

// --- category lists -------------------------------------------------------------------

QStringList TDbMan::GetCategories(const QString &user, const QString &listName) {
    checkListName(listName);
    Book db(FDataFile, Book::Read);
    const auto lists = storedLists(db, storedText(user));
    return listItems(DecodeField(listName == QLatin1String("out") ? lists.first : lists.second));
}

void TDbMan::SetCategories(const QString &user, const QString &listName, const QStringList &items) {
    checkListName(listName);
    const QByteArray storedUser = storedText(user);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    // The other list is written back exactly as it was stored.
    auto [outList, inList] = storedLists(db, storedUser);
    (listName == QLatin1String("out") ? outList : inList) = storedText(listText(items));
    TSqlStatement del(db, "delete from cates where user = ?1");
    del.Bind(1, storedUser).Run();
    TSqlStatement insert(db, "insert into cates (user, out, \"in\") values (?1, ?2, ?3)");
    insert.Bind(1, storedUser).Bind(2, outList).Bind(3, inList).Run();
    tr.Commit();
}

// --- records ------------------------------------------------------------------------------

TPeriod TDbMan::ReadPeriod(const QString &user, QDate from, QDate to) {
    const QByteArray storedUser = storedText(user);
    const QByteArray first = storedDate(from), last = storedDate(to);
    TPeriod period;
    Book db(FDataFile, Book::Read);
    // The covering index hands the user's records of the period over in the
    // transaction list's order (date, Income before Expense, id); days,
    // months and categories are summed as they stream by.
    TSqlStatement query(db, "select date, type, id, cate, amount, notes from data "
                            "where user = ?1 and date >= ?2 and date <= ?3 "
                            "order by date asc, type desc, id asc");
    query.Bind(1, storedUser).Bind(2, first).Bind(3, last);

    PeriodCategories categories;
    // The stored date of the last row when it had the ten bytes of a
    // readable one (else none): the rows of one day are compared with it, not
    // read again.
    char lastIso[10];
    qsizetype lastIsoSize = 0;
    QDate day;
    TDayTotal *dayTotal = nullptr;
    TMonthTotal *monthTotal = nullptr;
    while (query.Next()) {
        const QByteArrayView iso = query.Bytes(0);
        if (!sameBytes(iso, QByteArrayView(lastIso, lastIsoSize))) {
            lastIsoSize = iso.size() == 10 ? 10 : 0;
            if (lastIsoSize)
                std::memcpy(lastIso, iso.data(), 10);
            day = readDate(iso);
            dayTotal = nullptr;
        }
        TRecord rec;
        if (!day.isValid() || !readType(query.Bytes(1), rec.Type) ||
            !readCents(query, 4, rec.Cents)) {
            ++period.Unreadable;
            continue;
        }
        if (!dayTotal) {
            // The first readable record of a day opens its total, and the
            // month's when the month changes.
            period.Days.append({day, 0, 0});
            dayTotal = &period.Days.last();
            int year = 0, month = 0;
            day.getDate(&year, &month, nullptr);
            if (!monthTotal || monthTotal->Month != month || monthTotal->Year != year) {
                period.Months.append({year, month, 0, 0});
                monthTotal = &period.Months.last();
            }
        }
        rec.Id = query.Int(2);
        rec.Date = day;
        rec.Notes = DecodeField(query.Bytes(5));
        const bool income = rec.Type == TRecordType::Income;
        TCategoryTotal &category = categories.Find(query.Bytes(3)).Totals[income];
        rec.Category = category.Category;
        ++category.Count;
        addCents(category.Cents, rec.Cents);
        addCents(income ? period.IncomeCents : period.ExpenseCents, rec.Cents);
        addCents(income ? dayTotal->InCents : dayTotal->OutCents, rec.Cents);
        addCents(income ? monthTotal->InCents : monthTotal->OutCents, rec.Cents);
        period.Records.append(std::move(rec));
        if (period.Records.size() >= kEstimateAfter &&
            period.Records.size() == period.Records.capacity())
            reserveForPeriod(period.Records, from, to, day);
    }
    period.ExpenseCategories = categories.Ordered(TRecordType::Expense);
    period.IncomeCategories = categories.Ordered(TRecordType::Income);
    return period;
}

QList<TRecord> TDbMan::ReadCategoryRecords(const QString &user, QDate from, QDate to,
                                           TRecordType type, const QString &category) {
    const QByteArray storedUser = storedText(user);
    const QByteArray first = storedDate(from), last = storedDate(to);
    const QByteArray storedCategory = storedText(category);
    Book db(FDataFile, Book::Read);
    TSqlStatement query(db, "select date, type, id, amount, notes from data "
                            "where user = ?1 and date >= ?2 and date <= ?3 and cate = ?4 "
                            "order by date asc, id asc");
    query.Bind(1, storedUser).Bind(2, first).Bind(3, last).Bind(4, storedCategory);
    // Every row has the category asked for (matched exactly as stored).
    const QString shownCategory = DecodeField(storedCategory);
    QList<TRecord> records;
    while (query.Next()) {
        TRecord rec;
        rec.Date = readDate(query.Bytes(0));
        // The records the period's category list counted, and no others.
        if (!rec.Date.isValid() || !readType(query.Bytes(1), rec.Type) || rec.Type != type ||
            !readCents(query, 3, rec.Cents))
            continue;
        rec.Id = query.Int(2);
        rec.Category = shownCategory;
        rec.Notes = DecodeField(query.Bytes(4));
        records.append(std::move(rec));
    }
    return records;
}

void TDbMan::AddRecord(const QString &user, const TRecord &record) {
    AddRecords(user, {record});
}

int TDbMan::AddRecords(const QString &user, const QList<TRecord> &records, QList<TRecord> *stored) {
    TPendingSave save = SavePending(user, records, {});
    if (stored)
        *stored = std::move(save.Stored);
    return save.LeftOut;
}

TPendingSave TDbMan::SavePending(const QString &user, const QList<TRecord> &records,
                                 const QList<TBookingAdvance> &advances) {
    // Every record and booking is checked before anything is stored.
    QList<StoredRecord> checked;
    checked.reserve(records.size());
    for (const TRecord &record : records)
        checked << checkedRecord(record);
    QHash<qint64, TBookingAdvance> booking;
    for (const TBookingAdvance &advance : advances) {
        if (advance.Entry < 1 || !advance.To.isValid() ||
            (advance.From.isValid() && advance.To <= advance.From) ||
            booking.contains(advance.Entry))
            fail(QCoreApplication::translate(
                     "TDbMan", "The recurring entries to book with this save are not in order "
                               "(entry %1); nothing was saved.")
                     .arg(advance.Entry));
        storedDate(advance.To);
        booking.insert(advance.Entry, advance);
    }
    for (const TRecord &record : records) {
        if (record.Recurring.IsEmpty())
            continue;
        const TRecurringOrigin &origin = *record.Recurring;
        const auto it = booking.constFind(origin.Entry);
        if (it == booking.cend() || it->From != origin.BookedFrom || !origin.Date.isValid() ||
            origin.Date > it->To || (it->From.isValid() && origin.Date <= it->From))
            fail(QStringLiteral("%1 comes from a recurring entry that this save does not book; "
                                "nothing was saved.")
                     .arg(recordText(record)));
    }
    const QByteArray storedUser = storedText(user);
    TPendingSave save;
    save.Stored.reserve(records.size());
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    // The entries' booked dates first, under the write lock: another
    // instance may have booked the same occurrences since they were read.
    QList<qint64> bookedMeanwhile;
    for (const TBookingAdvance &advance : advances) {
        if (!moveBooking(db, storedUser, advance))
            bookedMeanwhile << advance.Entry;
    }
    if (!bookedMeanwhile.isEmpty())
        throw TBookedMeanwhileError(
            QCoreApplication::translate(
                "TDbMan", "Rows of recurring entries in this save were booked in another Ledgerly "
                          "window meanwhile (or their entries changed there); nothing was saved. "
                          "Take those rows out of the pending lists and save again."),
            bookedMeanwhile);
    save.Advanced = advances;
    {
        TSqlStatement insert(db, kInsertRecord);
        // The ids are looked up under the write lock: another instance may
        // have saved the same statement lines since they were read.
        TSqlStatement known(db, "select 1 from fitids where user = ?1 and account = ?2 and "
                                "fitid = ?3");
        // An id imported before (a duplicate the user chose to keep) stays
        // remembered once.
        TSqlStatement remember(
            db, "insert or ignore into fitids (user, account, fitid) values (?1, ?2, ?3)");
        for (qsizetype i = 0; i < checked.size(); ++i) {
            const StoredRecord &rec = checked[i];
            TRecord done = records[i];
            done.Id = 0;
            done.Import = {};
            done.Recurring = {};
            if (!rec.ImportId.isEmpty() && !rec.Wanted) {
                known.Reset();
                known.Bind(1, storedUser).Bind(2, rec.Account).Bind(3, rec.ImportId);
                const bool imported = known.Next();
                known.Reset();
                if (imported) {
                    ++save.LeftOut;
                    save.Stored << done;
                    continue;
                }
            }
            insertRecord(insert, storedUser, rec);
            done.Id = lastId(db);
            if (!rec.ImportId.isEmpty()) {
                remember.Reset();
                remember.Bind(1, storedUser).Bind(2, rec.Account).Bind(3, rec.ImportId).Run();
                if (db.Changes() > 0)
                    done.Import = TImportId{records[i].Import->Account, records[i].Import->Id};
            }
            save.Stored << done;
        }
    }
    tr.Commit();
    return save;
}

void TDbMan::DeleteRecord(const QString &user, qint64 id) {
    Book db(FDataFile, Book::Write);
    TSqlStatement del(db, "delete from data where id = ?1 and user = ?2");
    del.Bind(1, id).Bind(2, storedText(user)).Run();
}

qint64 TDbMan::ReplaceRecord(const QString &user, const TRecord &record) {
    const StoredRecord rec = checkedRecord(record);
    const QByteArray storedUser = storedText(user);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    {
        // Only the user's own record is replaced; when it is gone (another
        // instance deleted it), nothing is inserted, or the edit would bring
        // a deleted record back.
        TSqlStatement del(db, "delete from data where id = ?1 and user = ?2");
        del.Bind(1, record.Id).Bind(2, storedUser).Run();
        if (db.Changes() < 1)
            fail(QCoreApplication::translate(
                "TDbMan", "The record to edit no longer exists. Search again to see the "
                          "current records."));
        TSqlStatement insert(db, kInsertRecord);
        insertRecord(insert, storedUser, rec);
    }
    const qint64 id = lastId(db);
    tr.Commit();
    return id;
}

// --- statement import ---------------------------------------------------------------------

QSet<TImportId> TDbMan::KnownImportIds(const QString &user, const QList<TImportId> &ids) {
    const QByteArray storedUser = storedText(user);
    QSet<TImportId> known;
    Book db(FDataFile, Book::Read);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Read);
    // One lookup in the unique index per id: a statement has a few thousand
    // ids, a user may have imported many more.
    TSqlStatement query(db, "select 1 from fitids where user = ?1 and account = ?2 and fitid = ?3");
    for (const TImportId &id : ids) {
        if (id.IsEmpty() || known.contains(id))
            continue;
        query.Reset();
        query.Bind(1, storedUser).Bind(2, storedText(id.Account)).Bind(3, storedText(id.Id));
        if (query.Next())
            known.insert(id);
    }
    return known;
}

void TDbMan::ForEachNotesCategory(
    const QString &user,
    const std::function<void(TRecordType, const QString &, const QString &, int)> &row) {
    // The stored texts are grouped by their bytes, so that each distinct
    // value is decoded once, not once per record. The grouping is done here
    // while the covering index hands the user's records over: SQLite's GROUP
    // BY would first sort the user's whole history in a temporary tree (see
    // docs/PERFORMANCE.md).
    const QByteArray storedUser = storedText(user);
    NotesGroups groups;
    QHash<QByteArray, int> categoryIds;
    QList<QByteArray> categories;
    {
        // Closed before the rows are handed out, so other instances can
        // write meanwhile.
        Book db(FDataFile, Book::Read);
        TSqlTransaction tr(db, TSqlTransaction::TKind::Read);
        TSqlStatement count(db, "select count(*) from data where user = ?1");
        count.Bind(1, storedUser);
        groups.Reserve(count.Next() ? count.Int(0) : 0);
        TSqlStatement query(db, "select type, cate, notes from data where user = ?1");
        query.Bind(1, storedUser);
        while (query.Next()) {
            TRecordType type;
            if (!readType(query.Bytes(0), type))
                continue;
            const QByteArrayView cate = query.Bytes(1);
            auto id = categoryIds.constFind(QByteArray::fromRawData(cate.data(), cate.size()));
            if (id == categoryIds.cend()) {
                categories << cate.toByteArray();
                id = categoryIds.insert(categories.last(), int(categories.size() - 1));
            }
            groups.Add(query.Bytes(2), id.value() * 2 + (type == TRecordType::Income));
        }
    }
    DecodedTexts names;
    groups.ForEach([&](QByteArrayView notes, int group, int count) {
        row(group % 2 ? TRecordType::Income : TRecordType::Expense, DecodeField(notes),
            names.Of(categories.at(group / 2)), count);
    });
}

QList<TCategoryRule> TDbMan::CategoryRules(const QString &user) {
    Book db(FDataFile, Book::Read);
    return readRules(db, storedText(user));
}

void TDbMan::SetCategoryRules(const QString &user, const QList<TCategoryRule> &rules) {
    const QByteArray storedUser = storedText(user);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    writeRules(db, storedUser, rules);
    tr.Commit();
}

QList<TBankProfile> TDbMan::BankProfiles(const QString &user) {
    QList<TBankProfile> profiles;
    {
        Book db(FDataFile, Book::Read);
        TSqlStatement query(db, "select name, layout from profiles where user = ?1");
        query.Bind(1, storedText(user));
        while (query.Next())
            profiles.append({DecodeField(query.Bytes(0)), DecodeField(query.Bytes(1))});
    }
    std::sort(profiles.begin(), profiles.end(), [](const TBankProfile &a, const TBankProfile &b) {
        return a.Name.localeAwareCompare(b.Name) < 0;
    });
    return profiles;
}

void TDbMan::SaveBankProfile(const QString &user, const TBankProfile &profile) {
    if (profile.Name.trimmed().isEmpty())
        fail(QCoreApplication::translate("TDbMan", "A bank profile needs a name."));
    Book db(FDataFile, Book::Write);
    TSqlStatement upsert(db, "insert or replace into profiles (user, name, layout) "
                             "values (?1, ?2, ?3)");
    upsert.Bind(1, storedText(user))
        .Bind(2, storedText(profile.Name))
        .Bind(3, storedText(profile.Layout))
        .Run();
}

void TDbMan::DeleteBankProfile(const QString &user, const QString &name) {
    Book db(FDataFile, Book::Write);
    TSqlStatement del(db, "delete from profiles where user = ?1 and name = ?2");
    del.Bind(1, storedText(user)).Bind(2, storedText(name)).Run();
}

// --- undo and redo ----------------------------------------------------------------------

QList<qint64> TDbMan::ChangeRecords(const QString &user, const QList<TRecord> &remove,
                                    const QList<TRecord> &insert,
                                    const QList<TBookingAdvance> &bookings) {
    QList<StoredRecord> checked;
    checked.reserve(insert.size());
    for (const TRecord &record : insert)
        checked << checkedRecord(record);
    const QByteArray storedUser = storedText(user);
    for (const TBookingAdvance &booking : bookings)
        storedOptionalDate(booking.To);
    QList<qint64> ids;
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    for (const TBookingAdvance &booking : bookings) {
        if (!moveBooking(db, storedUser, booking))
            changedElsewhere(QStringLiteral("A recurring entry was booked, changed or deleted"),
                             QStringLiteral("Open Recurring Entries to see them as they are "
                                            "now."));
    }
    {
        TSqlStatement read(db, "select date, type, cate, amount, notes from data "
                               "where id = ?1 and user = ?2");
        TSqlStatement del(db, "delete from data where id = ?1");
        TSqlStatement forget(db,
                             "delete from fitids where user = ?1 and account = ?2 and fitid = ?3");
        for (const TRecord &record : remove) {
            // Compared as read, never as stored bytes: the same record may
            // be stored differently (another encoding) and still be the same.
            read.Reset();
            read.Bind(1, record.Id).Bind(2, storedUser);
            if (!read.Next() || !sameRecord(read, record))
                recordChanged(record,
                              QCoreApplication::translate("TDbMan", " was changed or deleted"));
            read.Reset();
            del.Reset();
            del.Bind(1, record.Id).Run();
            if (record.Import.IsEmpty())
                continue;
            forget.Reset();
            forget.Bind(1, storedUser)
                .Bind(2, storedText(record.Import->Account))
                .Bind(3, storedText(record.Import->Id))
                .Run();
        }
        TSqlStatement taken(db, "select 1 from data where id = ?1");
        TSqlStatement known(db, "select 1 from fitids where user = ?1 and account = ?2 and "
                                "fitid = ?3");
        TSqlStatement remember(db, "insert into fitids (user, account, fitid) values (?1, ?2, ?3)");
        TSqlStatement withId(db, kInsertRecordWithId), withoutId(db, kInsertRecord);
        for (qsizetype i = 0; i < insert.size(); ++i) {
            const TRecord &record = insert[i];
            const StoredRecord &rec = checked[i];
            if (record.Id > 0) {
                taken.Reset();
                taken.Bind(1, record.Id);
                if (taken.Next())
                    recordChanged(record,
                                  QCoreApplication::translate("TDbMan", " was stored again"));
                taken.Reset();
                insertRecord(withId, storedUser, rec, record.Id);
            } else {
                insertRecord(withoutId, storedUser, rec);
            }
            ids << lastId(db);
            if (rec.ImportId.isEmpty())
                continue;
            known.Reset();
            known.Bind(1, storedUser).Bind(2, rec.Account).Bind(3, rec.ImportId);
            if (known.Next())
                recordChanged(record, QCoreApplication::translate("TDbMan", " was imported again"));
            known.Reset();
            remember.Reset();
            remember.Bind(1, storedUser).Bind(2, rec.Account).Bind(3, rec.ImportId).Run();
        }
    }
    tr.Commit();
    return ids;
}

void TDbMan::ChangeCategories(const QString &user, TRecordType type, const QStringList &expected,
                              const QStringList &items) {
    const QByteArray storedUser = storedText(user);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    changeList(db, storedUser, type, expected, items);
    tr.Commit();
}

// --- find -------------------------------------------------------------------------------------

QList<TRecord> TDbMan::FindRecords(const QString &user, const QString &text, int *unreadable) {
    const FindWords words(text);
    QList<TRecord> found;
    int bad = 0;
    if (!words.IsEmpty()) {
        const quint64 all = words.All();
        FoundCategories categories(words);
        Book db(FDataFile, Book::Read);
        // The covering index read backwards: newest first, in one pass.
        TSqlStatement query(db, "select date, type, id, cate, amount, notes from data "
                                "where user = ?1 order by date desc, type asc, id desc");
        query.Bind(1, storedText(user));
        char lastIso[10];
        qsizetype lastIsoSize = 0;
        QDate day;
        QVarLengthArray<char, 512> notes;
        while (query.Next()) {
            const QByteArrayView iso = query.Bytes(0);
            if (!sameBytes(iso, QByteArrayView(lastIso, lastIsoSize))) {
                lastIsoSize = iso.size() == 10 ? 10 : 0;
                if (lastIsoSize)
                    std::memcpy(lastIso, iso.data(), 10);
                day = readDate(iso);
            }
            TRecord rec;
            if (!day.isValid() || !readType(query.Bytes(1), rec.Type) ||
                !readCents(query, 4, rec.Cents)) {
                ++bad;
                continue;
            }
            // The category and the amount first; the notes are decoded only
            // for the words these leave.
            const FoundCategories::Entry &category = categories.Find(query.Bytes(3));
            const quint64 matched = category.Mask | words.AmountMask(rec.Cents);
            if (matched != all) {
                const QByteArrayView stored = query.Bytes(5);
                notes.resize(DecodedSizeBound(stored.size()));
                const qsizetype size = DecodeFieldInto(stored, notes.data());
                if ((matched | words.TextMask(notes.data(), size, all & ~matched)) != all)
                    continue;
            }
            rec.Id = query.Int(2);
            rec.Date = day;
            rec.Category = category.Name;
            // Decoded again: matching lower-cased the buffer.
            rec.Notes = DecodeField(query.Bytes(5));
            found.append(std::move(rec));
        }
    }
    if (unreadable)
        *unreadable = bad;
    return found;
}

// --- renaming categories ------------------------------------------------------------------

int TDbMan::CountCategory(const QString &user, TRecordType type, const QString &name) {
    Book db(FDataFile, Book::Read);
    return int(categoryIds(db, storedText(user), type, name).size());
}

TCategoryRename TDbMan::RenameCategory(const QString &user, TRecordType type, const QString &from,
                                       const QString &to) {
    if (to.trimmed().isEmpty() || to.contains(QLatin1Char('\n')) || to.contains(QLatin1Char('\r')))
        fail(QCoreApplication::translate(
                 "TDbMan", "\"%1\" cannot be the name of a category: a name needs a letter or "
                           "digit and is one line.")
                 .arg(to));
    const QByteArray storedUser = storedText(user);
    TCategoryRename rename;
    rename.Type = type;
    rename.From = from;
    rename.To = to;
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    if (from != to) {
        rename.Ids = categoryIds(db, storedUser, type, from);
        rename.ListBefore = readList(db, storedUser, type);
        rename.ListAfter = renamedList(rename.ListBefore, from, to);
        rename.RulesBefore = rename.RulesAfter = readRules(db, storedUser);
        for (TCategoryRule &rule : rename.RulesAfter)
            if (rule.Category == from && ruleApplies(rule.Type, type))
                rule.Category = to;
        rename.BudgetsBefore = readBudgets(db, storedUser);
        rename.BudgetsAfter = renamedBudgets(rename.BudgetsBefore, type, from, to);
        for (TRecurring entry : readAllRecurring(db, storedUser)) {
            if (entry.Type != type || entry.Category != from)
                continue;
            rename.RecurringBefore << entry;
            entry.Category = to;
            rename.RecurringAfter << entry;
        }
        applyRename(db, storedUser, rename);
    }
    tr.Commit();
    return rename;
}

void TDbMan::ApplyRename(const QString &user, const TCategoryRename &rename) {
    const QByteArray storedUser = storedText(user);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    applyRename(db, storedUser, rename);
    tr.Commit();
}

// --- budgets ----------------------------------------------------------------------------------

QList<TBudget> TDbMan::Budgets(const QString &user) {
    Book db(FDataFile, Book::Read);
    return readBudgets(db, storedText(user));
}

void TDbMan::SetBudgets(const QString &user, const QList<TBudget> &expected,
                        const QList<TBudget> &budgets) {
    checkBudgets(budgets);
    const QByteArray storedUser = storedText(user);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    if (readBudgets(db, storedUser) != sortedBudgets(expected))
        planChanged(QCoreApplication::translate("TDbMan", "The budgets were changed"),
                    QStringLiteral("Open Budgets again to see them as they are now."));
    writeBudgets(db, storedUser, budgets);
    tr.Commit();
}

TMonthlyAverages TDbMan::MonthlyAverages(const QString &user, QDate today, int months) {
    storedDate(today);
    if (months < 1)
        fail(QCoreApplication::translate("TDbMan", "Averages need at least one month."));
    TMonthlyAverages averages;
    const QDate thisMonth(today.year(), today.month(), 1);
    averages.To = thisMonth.addDays(-1);
    averages.From = std::max(thisMonth.addMonths(-months), QDate(1, 1, 1));
    const QByteArray storedUser = storedText(user);
    Book db(FDataFile, Book::Read);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Read);
    // The months before the user's first record are not counted: a book
    // begun two months ago is averaged over those two.
    QDate first;
    {
        TSqlStatement query(db, "select date from data where user = ?1 and date >= ?2 "
                                "order by date");
        query.Bind(1, storedUser).Bind(2, storedDate(averages.From));
        while (!first.isValid() && query.Next())
            first = readDate(query.Bytes(0));
    }
    if (!first.isValid() || first > averages.To) {
        averages.From = thisMonth;
        return averages;
    }
    averages.From = std::max(averages.From, QDate(first.year(), first.month(), 1));
    averages.Months = (averages.To.year() - averages.From.year()) * 12 + averages.To.month() -
                      averages.From.month() + 1;
    const TPeriod totals = readTotals(db, storedUser, averages.From, averages.To);
    const auto average = [&](const QList<TCategoryTotal> &categories) {
        QList<TCategoryAverage> out;
        for (const TCategoryTotal &total : categories)
            out.append({total.Category, (total.Cents + averages.Months / 2) / averages.Months});
        return out;
    };
    averages.ExpenseCategories = average(totals.ExpenseCategories);
    averages.IncomeCategories = average(totals.IncomeCategories);
    return averages;
}

TPeriod TDbMan::ReadTotals(const QString &user, QDate from, QDate to) {
    const QByteArray storedUser = storedText(user);
    Book db(FDataFile, Book::Read);
    return readTotals(db, storedUser, from, to);
}

// --- recurring entries --------------------------------------------------------------------

QList<TRecurring> TDbMan::RecurringEntries(const QString &user) {
    Book db(FDataFile, Book::Read);
    return readAllRecurring(db, storedText(user));
}

qint64 TDbMan::AddRecurring(const QString &user, const TRecurring &entry) {
    const StoredRecurring rec = checkedRecurring(entry);
    const QByteArray storedUser = storedText(user);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    if (entry.Id > 0 &&
        TSqlStatement(db, "select 1 from recurring where id = ?1").Bind(1, entry.Id).Next())
        entryChanged(entry, QStringLiteral(" was stored again"));
    TSqlStatement insert(db, entry.Id > 0
                                 ? "insert into recurring (user, type, cate, cents, notes, "
                                   "first_day, every, unit, last_day, booked, id) values (?1, "
                                   "?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)"
                                 : "insert into recurring (user, type, cate, cents, notes, "
                                   "first_day, every, unit, last_day, booked) values (?1, ?2, "
                                   "?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    insert.Bind(1, storedUser);
    bindRecurring(insert, rec);
    if (entry.Id > 0)
        insert.Bind(11, entry.Id);
    insert.Run();
    const qint64 id = lastId(db);
    tr.Commit();
    return id;
}

void TDbMan::UpdateRecurring(const QString &user, const TRecurring &before,
                             const TRecurring &after) {
    if (after.Id != before.Id)
        fail(QStringLiteral("A recurring entry keeps its id when it is changed."));
    const StoredRecurring rec = checkedRecurring(after);
    const QByteArray storedUser = storedText(user);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    if (readOneRecurring(db, storedUser, before.Id) != before)
        entryChanged(before, QStringLiteral(" was changed or deleted"));
    TSqlStatement update(db, "update recurring set type = ?2, cate = ?3, cents = ?4, notes = ?5, "
                             "first_day = ?6, every = ?7, unit = ?8, last_day = ?9, booked = ?10 "
                             "where id = ?1");
    update.Bind(1, before.Id);
    bindRecurring(update, rec);
    update.Run();
    tr.Commit();
}

void TDbMan::DeleteRecurring(const QString &user, const TRecurring &entry) {
    const QByteArray storedUser = storedText(user);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    if (readOneRecurring(db, storedUser, entry.Id) != entry)
        entryChanged(entry, QStringLiteral(" was changed or deleted"));
    TSqlStatement del(db, "delete from recurring where id = ?1");
    del.Bind(1, entry.Id).Run();
    tr.Commit();
}

QList<TDueEntry> TDbMan::DueOccurrences(const QString &user, QDate today) {
    QList<TDueEntry> due;
    for (const TRecurring &entry : RecurringEntries(user)) {
        TDueEntry rows = DueRows(entry, today);
        if (!rows.Rows.isEmpty())
            due.append(std::move(rows));
    }
    return due;
}
