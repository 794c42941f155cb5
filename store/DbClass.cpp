#include "store/DbClass.h"

#include "store/AmountText.h"
#include "store/BookKey.h"
#include "store/FieldCodec.h"
#include "store/RecordValues.h"
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
#include <optional>
#include <vector>

namespace {

using namespace stored;

[[noreturn]] void fail(const QString &message) {
    throw TDbError(message);
}

// --- passwords ------------------------------------------------------------------

void ensureSodium() {
    if (!TBookKey::SodiumReady())
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

    // The entry of a category (its UTF-8 bytes), made when it is new. Valid
    // until the next call.
    Entry &Find(QByteArrayView stored) {
        const size_t hash = quickHash(stored);
        if ((FEntries.size() + 1) * 2 > qsizetype(FSlots.size()))
            Grow();
        const size_t mask = FSlots.size() - 1;
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            TSlot &slot = FSlots[at];
            if (slot.Entry < 0) {
                const QString name = QString::fromUtf8(stored);
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
    // their Base64 texts (as they were always stored).
    QList<TCategoryTotal> Ordered(TRecordType type) const {
        const int t = type == TRecordType::Income;
        QList<QPair<QByteArray, const Entry *>> used;
        for (const Entry &entry : FEntries)
            if (entry.Totals[t].Count > 0)
                used.append({entry.Stored.toBase64(), &entry});
        std::sort(used.begin(), used.end(), [t](const auto &a, const auto &b) {
            return a.second->Totals[t].Cents != b.second->Totals[t].Cents
                       ? a.second->Totals[t].Cents > b.second->Totals[t].Cents
                       : a.first < b.first;
        });
        QList<TCategoryTotal> totals;
        totals.reserve(used.size());
        for (const auto &entry : std::as_const(used))
            totals.append(entry.second->Totals[t]);
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
    bool Imported = false;     // made from a statement line with a bank id
    QString Account, ImportId; // the line's account and bank id
    bool Wanted = false;       // stored even when its ImportId is known
    // What a sealed record holds (see sealedRecord).
    TRecordType RecordType = TRecordType::Expense;
    qint64 Cents = 0;
    QByteArray CategoryUtf8, NotesUtf8;
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
    stored.RecordType = record.Type;
    stored.Cents = record.Cents;
    stored.CategoryUtf8 = record.Category.toUtf8();
    stored.NotesUtf8 = record.Notes.toUtf8();
    if (!record.Import.IsEmpty()) {
        stored.Imported = !record.Import->Id.isEmpty(); // as an empty id was always taken
        stored.Account = record.Import->Account;
        stored.ImportId = record.Import->Id;
        stored.Wanted = record.Import->Wanted;
    }
    return stored;
}

// --- sealed values ------------------------------------------------------------------
// Once a user has signed in, every text and amount of the user's book is
// stored sealed under the user's data key (a blob, see TBookKey), each bound
// to the place it is stored in: a value moved to another record, row, table
// or user does not open there. Plain values (Base64 texts and numbers, as an
// older Ledgerly or another program writes them) are read as well, and
// sealed at the user's next sign-in.

// A record's sealed value: its amount in cents, category and notes.
QByteArray sealedRecord(const TBookKey &key, QByteArrayView storedUser, qint64 id,
                        const StoredRecord &rec) {
    return sealRecord(key, storedUser, id, rec.Date, rec.RecordType, rec.Cents, rec.CategoryUtf8,
                      rec.NotesUtf8);
}

// A stored value bound as it is: a sealed one as a blob, a plain one as
// text.
void bindStored(TSqlStatement &statement, int index, QByteArrayView stored) {
    if (TBookKey::IsSealed(stored))
        statement.BindBlob(index, stored);
    else
        statement.Bind(index, stored);
}

// A text of the user's as stored: sealed under `key` and bound to `context`
// when the user's book is sealed, else Base64.
QByteArray storedValue(const TBookKey *key, const QString &text, QByteArrayView context) {
    return key ? key->Seal(text.toUtf8(), context) : EncodeField(text).toLatin1();
}

// A stored text read back, plain or sealed; nothing when it does not open
// (damaged, sealed for another place, or under another key).
std::optional<QString> openedText(const TBookKey *key, QByteArrayView stored,
                                  QByteArrayView context) {
    if (!TBookKey::IsSealed(stored))
        return DecodeField(stored);
    QByteArray plain;
    if (!key || !key->Open(stored, context, plain))
        return std::nullopt;
    return QString::fromUtf8(plain);
}

// A statement line's account and bank id as the table of imported ids keeps
// them: keyed hashes (blobs) in a sealed book, so that a line imported
// again is found without the ids being readable; Base64 texts otherwise.
struct StoredImportId {
    QByteArray Account, Id;
    bool Hashed = false;

    StoredImportId(const TBookKey *key, const QString &account, const QString &id)
        : Hashed(key != nullptr) {
        if (!key) {
            Account = storedText(account);
            Id = storedText(id);
            return;
        }
        const QByteArray accountUtf8 = account.toUtf8();
        Account = key->Hash(packed(0, {"account", accountUtf8}));
        Id = key->Hash(packed(1, {accountUtf8, id.toUtf8()}));
    }

    // Binds the account and the id as ?2 and ?3 (?1 is the user).
    void Bind(TSqlStatement &statement) const {
        if (Hashed)
            statement.BindBlob(2, Account).BindBlob(3, Id);
        else
            statement.Bind(2, Account).Bind(3, Id);
    }
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

// Runs kInsertRecord, or kInsertRecordWithId with `id`. With a key, the
// record is stored sealed, bound to its id, which must then be given.
void insertRecord(TSqlStatement &insert, const QByteArray &storedUser, const StoredRecord &rec,
                  qint64 id = 0, const TBookKey *key = nullptr) {
    insert.Reset();
    insert.Bind(1, storedUser).Bind(2, rec.Date).Bind(3, rec.Type);
    if (key) {
        Q_ASSERT(id > 0);
        insert.Bind(4, QByteArrayView(""))
            .Bind(5, 0.0)
            .BindBlob(6, sealedRecord(*key, storedUser, id, rec));
    } else {
        insert.Bind(4, rec.Category).Bind(5, rec.Amount).Bind(6, rec.Notes);
    }
    if (id > 0)
        insert.Bind(7, id);
    insert.Run();
}

// The ids that new records get in the open write transaction, known before
// they are stored (a sealed record is bound to its id): as the table's
// AUTOINCREMENT gives them, never one that was used before.
class NewRecordIds {
public:
    explicit NewRecordIds(TSqlConnection &db, const char *table = "data") {
        TSqlStatement query(db, QByteArray("select max(coalesce((select seq from sqlite_sequence "
                                           "where name = '") +
                                    table + "'), 0), coalesce((select max(id) from " + table +
                                    "), 0))");
        FLast = query.Next() ? query.Int(0) : 0;
    }
    qint64 Next() { return ++FLast; }

private:
    qint64 FLast = 0;
};

// A row of the users table: the password hash and the wrapped data key
// (empty until the user's book is sealed).
struct UserRow {
    QByteArray Hash, Key;
};

QList<UserRow> userRows(TSqlConnection &db, const QByteArray &storedName) {
    TSqlStatement query(db, "select pwd, key from users where name = ?1");
    query.Bind(1, storedName);
    QList<UserRow> rows;
    while (query.Next())
        rows.append({query.Bytes(0).toByteArray(), query.Bytes(1).toByteArray()});
    return rows;
}

// Deletes every row of the user and inserts one with the given hash and
// wrapped key, so the user becomes the newest row (the head of the sign-in
// list).
void replaceUserRow(TSqlConnection &db, const QByteArray &storedName, const UserRow &row) {
    TSqlStatement del(db, "delete from users where name = ?1");
    del.Bind(1, storedName).Run();
    TSqlStatement insert(db, "insert into users (name, pwd, key) values (?1, ?2, ?3)");
    insert.Bind(1, storedName).Bind(2, row.Hash).BindBlob(3, row.Key).Run();
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
bool sameRecord(const TSqlStatement &row, TRecordOpener &opener, const TRecord &record) {
    TRecordType type;
    return readDate(row.Bytes(0)) == record.Date && readType(row.Bytes(1), type) &&
           type == record.Type &&
           opener.Open(row, 2, 3, 4, record.Id, row.Bytes(0), type) == TOpened::Opened &&
           opener.Cents == record.Cents && QString::fromUtf8(opener.Category) == record.Category &&
           QString::fromUtf8(opener.Notes) == record.Notes;
}

QString listWord(TRecordType type) {
    return type == TRecordType::Income
               ? QCoreApplication::translate("TDbMan", "income", "a category list")
               : QCoreApplication::translate("TDbMan", "expense", "a category list");
}

TContext listContext(QByteArrayView storedUser, TRecordType type) {
    TContext context("cates", storedUser);
    context.Add(QByteArrayView(type == TRecordType::Income ? "in" : "out"));
    return context;
}

// The items of a stored list of `type`; none when it does not open.
QStringList openedList(const TBookKey *key, const QByteArray &storedUser, QByteArrayView stored,
                       TRecordType type) {
    return listItems(openedText(key, stored, listContext(storedUser, type)).value_or(QString()));
}

// The items of the user's list of `type`.
QStringList readList(TSqlConnection &db, const TBookKey *key, const QByteArray &storedUser,
                     TRecordType type) {
    const auto lists = storedLists(db, storedUser);
    return openedList(key, storedUser, type == TRecordType::Income ? lists.second : lists.first,
                      type);
}

// Stores the user's two lists as given (each as stored).
void writeLists(TSqlConnection &db, const QByteArray &storedUser, QByteArrayView outList,
                QByteArrayView inList) {
    TSqlStatement del(db, "delete from cates where user = ?1");
    del.Bind(1, storedUser).Run();
    TSqlStatement insert(db, "insert into cates (user, out, \"in\") values (?1, ?2, ?3)");
    insert.Bind(1, storedUser);
    bindStored(insert, 2, outList);
    bindStored(insert, 3, inList);
    insert.Run();
}

// Sets the list of `type` to `after` while it is `before`; the other list is
// written back exactly as it was stored.
void changeList(TSqlConnection &db, const TBookKey *key, const QByteArray &storedUser,
                TRecordType type, const QStringList &before, const QStringList &after) {
    auto [outList, inList] = storedLists(db, storedUser);
    QByteArray &list = type == TRecordType::Income ? inList : outList;
    if (openedList(key, storedUser, list, type) != before)
        changedElsewhere(
            QCoreApplication::translate("TDbMan", "The %1 category list was changed")
                .arg(listWord(type)),
            QCoreApplication::translate("TDbMan", "Open the list again to see it as it is now."));
    if (before == after)
        return;
    list = storedValue(key, listText(after), listContext(storedUser, type));
    writeLists(db, storedUser, outList, inList);
}

// A rule's text and category, sealed together and bound to the rule's
// place in the user's order.
TContext ruleContext(QByteArrayView storedUser, qint64 pos) {
    TContext context("rules", storedUser);
    context.Add(pos);
    return context;
}

QList<TCategoryRule> readRules(TSqlConnection &db, const TBookKey *key,
                               const QByteArray &storedUser) {
    TSqlStatement query(
        db, "select text, cate, type, pos from rules where user = ?1 order by pos, rowid");
    query.Bind(1, storedUser);
    QList<TCategoryRule> rules;
    while (query.Next()) {
        // "out" and anything unknown are money out, as the rules kept before
        // rules had a type.
        const QByteArrayView type = query.Bytes(2);
        TCategoryRule rule{QString(), QString(),
                           sameBytes(type, "in")     ? TRuleType::Income
                           : sameBytes(type, "both") ? TRuleType::Both
                                                     : TRuleType::Expense};
        const QByteArrayView text = query.Bytes(0);
        if (TBookKey::IsSealed(text)) {
            QByteArray plain;
            qint64 unused = 0;
            QByteArrayView parts[2];
            // A rule that does not open is left out, as an unreadable record is.
            if (!key || !key->Open(text, ruleContext(storedUser, query.Int(3)), plain) ||
                !unpacked(plain, unused, parts, 2))
                continue;
            rule.Text = QString::fromUtf8(parts[0]);
            rule.Category = QString::fromUtf8(parts[1]);
        } else {
            rule.Text = DecodeField(text);
            rule.Category = DecodeField(query.Bytes(1));
        }
        rules.append(rule);
    }
    return rules;
}

void writeRules(TSqlConnection &db, const TBookKey *key, const QByteArray &storedUser,
                const QList<TCategoryRule> &rules) {
    TSqlStatement del(db, "delete from rules where user = ?1");
    del.Bind(1, storedUser).Run();
    TSqlStatement insert(db, "insert into rules (user, pos, text, cate, type) values (?1, ?2, "
                             "?3, ?4, ?5)");
    for (int i = 0; i < rules.size(); ++i) {
        const TRuleType type = rules[i].Type;
        insert.Reset();
        insert.Bind(1, storedUser).Bind(2, i);
        if (key)
            insert
                .BindBlob(3,
                          key->Seal(packed(0, {rules[i].Text.toUtf8(), rules[i].Category.toUtf8()}),
                                    ruleContext(storedUser, i)))
                .Bind(4, QByteArrayView(""));
        else
            insert.Bind(3, storedText(rules[i].Text)).Bind(4, storedText(rules[i].Category));
        insert.Bind(5, QByteArrayView(type == TRuleType::Income ? "in"
                                      : type == TRuleType::Both ? "both"
                                                                : "out"));
        insert.Run();
    }
}

// --- bank profiles ---------------------------------------------------------------------------
// In a sealed book a profile's name is kept as a keyed hash, so that the
// unique index still finds the profile of a name, and its name and layout
// are sealed together, bound to that hash.

QByteArray profileName(const TBookKey &key, const QString &name) {
    return key.Hash(packed(2, {"profile", name.toUtf8()}));
}

TContext profileContext(QByteArrayView storedUser, QByteArrayView storedName) {
    TContext context("profiles", storedUser);
    context.Add(storedName);
    return context;
}

// Deletes the user's profile of that name, in either form.
void deleteProfile(TSqlConnection &db, const TBookKey *key, const QByteArray &storedUser,
                   const QString &name) {
    TSqlStatement del(db, "delete from profiles where user = ?1 and name = ?2");
    del.Bind(1, storedUser).Bind(2, storedText(name)).Run();
    if (key) {
        del.Reset();
        del.Bind(1, storedUser).BindBlob(2, profileName(*key, name)).Run();
    }
}

void insertProfile(TSqlConnection &db, const TBookKey *key, const QByteArray &storedUser,
                   const TBankProfile &profile) {
    TSqlStatement insert(db, "insert into profiles (user, name, layout) values (?1, ?2, ?3)");
    insert.Bind(1, storedUser);
    if (key) {
        const QByteArray name = profileName(*key, profile.Name);
        insert.BindBlob(2, name).BindBlob(
            3, key->Seal(packed(0, {profile.Name.toUtf8(), profile.Layout.toUtf8()}),
                         profileContext(storedUser, name)));
    } else {
        insert.Bind(2, storedText(profile.Name)).Bind(3, storedText(profile.Layout));
    }
    insert.Run();
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

// A budget's category and amount, sealed together, bound to its type.
TContext budgetContext(QByteArrayView storedUser, TRecordType type) {
    TContext context("budgets", storedUser);
    context.Add(qint64(type == TRecordType::Income));
    return context;
}

QList<TBudget> readBudgets(TSqlConnection &db, const TBookKey *key, const QByteArray &storedUser) {
    TSqlStatement query(db, "select type, cate, cents from budgets where user = ?1");
    query.Bind(1, storedUser);
    QList<TBudget> budgets;
    while (query.Next()) {
        TBudget budget;
        // Rows another program wrote unreadably, and sealed ones that do
        // not open, are left out.
        if (!readType(query.Bytes(0), budget.Type))
            continue;
        const QByteArrayView cate = query.Bytes(1);
        if (TBookKey::IsSealed(cate)) {
            QByteArray plain;
            QByteArrayView name;
            if (!key || !key->Open(cate, budgetContext(storedUser, budget.Type), plain) ||
                !unpacked(plain, budget.Cents, &name, 1) || budget.Cents < 0 ||
                budget.Cents > kMaxCents)
                continue;
            budget.Category = QString::fromUtf8(name);
        } else {
            if (!readWholeCents(query, 2, budget.Cents))
                continue;
            budget.Category = DecodeField(cate);
        }
        budgets.append(budget);
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

void writeBudgets(TSqlConnection &db, const TBookKey *key, const QByteArray &storedUser,
                  const QList<TBudget> &budgets) {
    TSqlStatement del(db, "delete from budgets where user = ?1");
    del.Bind(1, storedUser).Run();
    TSqlStatement insert(db, "insert into budgets (user, type, cate, cents) values (?1, ?2, ?3, "
                             "?4)");
    for (const TBudget &budget : budgets) {
        insert.Reset();
        insert.Bind(1, storedUser).Bind(2, RecordTypeWord(budget.Type).toLatin1());
        if (key)
            insert
                .BindBlob(3, key->Seal(packed(budget.Cents, {budget.Category.toUtf8()}),
                                       budgetContext(storedUser, budget.Type)))
                .Bind(4, qint64(0));
        else
            insert.Bind(3, storedText(budget.Category)).Bind(4, budget.Cents);
        insert.Run();
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

// An entry's category, amount and notes, sealed together, bound to its id
// and type.
TContext recurringContext(QByteArrayView storedUser, qint64 id, TRecordType type) {
    TContext context("recurring", storedUser);
    context.Add(id).Add(qint64(type == TRecordType::Income));
    return context;
}

// The row (columns kRecurringColumns) as an entry; false when another
// program wrote any of it unreadably, or it is sealed and does not open.
bool readRecurring(const TSqlStatement &row, const TBookKey *key, QByteArrayView storedUser,
                   TRecurring &entry) {
    entry.Id = row.Int(0);
    const QByteArrayView unit = row.Bytes(7);
    const auto known = std::find_if(std::begin(kRepeatUnits), std::end(kRepeatUnits),
                                    [&](const char *word) { return sameBytes(unit, word); });
    const std::optional<QDate> last = readOptionalDate(row.Bytes(8));
    const std::optional<QDate> booked = readOptionalDate(row.Bytes(9));
    entry.Schedule.First = readDate(row.Bytes(5));
    if (!readType(row.Bytes(1), entry.Type) || !entry.Schedule.First.isValid() ||
        !row.IsNumber(6) || row.Int(6) < 1 || row.Int(6) > 999 || known == std::end(kRepeatUnits) ||
        !last || !booked)
        return false;
    const QByteArrayView notes = row.Bytes(4);
    if (TBookKey::IsSealed(notes)) {
        QByteArray plain;
        QByteArrayView texts[2];
        if (!key || !key->Open(notes, recurringContext(storedUser, entry.Id, entry.Type), plain) ||
            !unpacked(plain, entry.Cents, texts, 2))
            return false;
        entry.Category = QString::fromUtf8(texts[0]);
        entry.Notes = QString::fromUtf8(texts[1]);
    } else {
        if (!readWholeCents(row, 3, entry.Cents))
            return false;
        entry.Category = DecodeField(row.Bytes(2));
        entry.Notes = DecodeField(notes);
    }
    if (entry.Cents < 1 || entry.Cents > kMaxCents)
        return false;
    entry.Schedule.Every = int(row.Int(6));
    entry.Schedule.Unit = TRepeatUnit(known - std::begin(kRepeatUnits));
    entry.Schedule.Last = *last;
    entry.Booked = *booked;
    return true;
}

QList<TRecurring> readAllRecurring(TSqlConnection &db, const TBookKey *key,
                                   const QByteArray &storedUser) {
    TSqlStatement query(db, QByteArray("select ") + kRecurringColumns +
                                " from recurring where user = ?1 order by id");
    query.Bind(1, storedUser);
    QList<TRecurring> entries;
    while (query.Next()) {
        TRecurring entry;
        if (readRecurring(query, key, storedUser, entry))
            entries.append(entry);
    }
    return entries;
}

// The user's entry `id` as stored; nothing when it is gone or unreadable.
std::optional<TRecurring> readOneRecurring(TSqlConnection &db, const TBookKey *key,
                                           const QByteArray &storedUser, qint64 id) {
    TSqlStatement query(db, QByteArray("select ") + kRecurringColumns +
                                " from recurring where id = ?1 and user = ?2");
    query.Bind(1, id).Bind(2, storedUser);
    TRecurring entry;
    if (query.Next() && readRecurring(query, key, storedUser, entry))
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
    TRecordType RecordType = TRecordType::Expense;
    QByteArray CategoryUtf8, NotesUtf8;
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
    stored.RecordType = entry.Type;
    stored.CategoryUtf8 = entry.Category.toUtf8();
    stored.NotesUtf8 = entry.Notes.toUtf8();
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

constexpr const char *kUpdateRecurring =
    "update recurring set type = ?2, cate = ?3, cents = ?4, notes = ?5, first_day = ?6, "
    "every = ?7, unit = ?8, last_day = ?9, booked = ?10 where id = ?1";

// Binds the entry's values as ?2 .. ?10 (?1 is the user or the id); with a
// key, its category, amount and notes sealed for the entry `id`.
void bindRecurring(TSqlStatement &statement, const StoredRecurring &rec, const TBookKey *key,
                   QByteArrayView storedUser, qint64 id) {
    statement.Bind(2, rec.Type);
    if (key)
        statement.Bind(3, QByteArrayView(""))
            .Bind(4, qint64(0))
            .BindBlob(5, key->Seal(packed(rec.Cents, {rec.CategoryUtf8, rec.NotesUtf8}),
                                   recurringContext(storedUser, id, rec.RecordType)));
    else
        statement.Bind(3, rec.Category).Bind(4, rec.Cents).Bind(5, rec.Notes);
    statement.Bind(6, rec.First)
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
TPeriod readTotals(TSqlConnection &db, const TBookKey *key, const QByteArray &storedUser,
                   QDate from, QDate to) {
    TSqlStatement query(db, "select date, type, id, cate, amount, notes from data "
                            "where user = ?1 and date >= ?2 and date <= ?3");
    query.Bind(1, storedUser).Bind(2, storedDate(from)).Bind(3, storedDate(to));
    TPeriod period;
    PeriodCategories categories;
    // A stored date is read once per day, as ReadPeriod reads it.
    QByteArray lastIso;
    bool lastReadable = false;
    const auto add = [&](const TStreamRow &row) {
        if (!sameBytes(row.Date, lastIso)) {
            lastIso = row.Date.toByteArray();
            lastReadable = readDate(row.Date).isValid();
        }
        if (!lastReadable || !row.TypeReadable || row.Result != TOpened::Opened) {
            period.Unreadable += row.Result != TOpened::NotMine;
            return;
        }
        const bool income = row.Type == TRecordType::Income;
        TCategoryTotal &category = categories.Find(row.Category).Totals[income];
        ++category.Count;
        addCents(category.Cents, row.Cents);
        addCents(income ? period.IncomeCents : period.ExpenseCents, row.Cents);
    };
    TRecordStream stream(key, storedUser);
    while (query.Next())
        stream.Add(query, add);
    stream.Finish(add);
    period.ExpenseCategories = categories.Ordered(TRecordType::Expense);
    period.IncomeCategories = categories.Ordered(TRecordType::Income);
    return period;
}

// --- renaming categories ------------------------------------------------------------------

// The ids of the user's readable records of that type and category.
QList<qint64> categoryIds(TSqlConnection &db, const TBookKey *key, const QByteArray &storedUser,
                          TRecordType type, const QString &name) {
    TSqlStatement query(db, "select date, type, id, cate, amount, notes from data where user = ?1");
    query.Bind(1, storedUser);
    const QByteArray wanted = name.toUtf8();
    QList<qint64> ids;
    const auto match = [&](const TStreamRow &row) {
        if (row.TypeReadable && row.Type == type && row.Result == TOpened::Opened &&
            sameBytes(row.Category, wanted))
            ids << row.Id;
    };
    TRecordStream stream(key, storedUser);
    while (query.Next())
        stream.Add(query, match);
    stream.Finish(match);
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
void applyRename(TSqlConnection &db, const TBookKey *key, const QByteArray &storedUser,
                 const TCategoryRename &rename) {
    const auto changed = [&](const QString &what) {
        changedElsewhere(what, QCoreApplication::translate(
                                   "TDbMan", "Search again to see the categories as they are "
                                             "now."));
    };
    {
        TSqlStatement read(db, "select date, type, cate, amount, notes from data "
                               "where id = ?1 and user = ?2");
        TSqlStatement update(db,
                             "update data set cate = ?1, amount = ?2, notes = ?3 where id = ?4");
        const QByteArray storedTo = storedText(rename.To);
        TRecordOpener opener(key, storedUser);
        for (const qint64 id : rename.Ids) {
            read.Reset();
            read.Bind(1, id).Bind(2, storedUser);
            TRecordType type;
            if (!read.Next() || !readType(read.Bytes(1), type) || type != rename.Type ||
                opener.Open(read, 2, 3, 4, id, read.Bytes(0), type) != TOpened::Opened ||
                QString::fromUtf8(opener.Category) != rename.From)
                changed(QCoreApplication::translate(
                            "TDbMan", "A record of the category \"%1\" was changed or deleted")
                            .arg(rename.From));
            update.Reset();
            if (key) {
                // The record sealed again with its new category.
                StoredRecord rec;
                rec.Date = read.Bytes(0).toByteArray();
                rec.RecordType = type;
                rec.Cents = opener.Cents;
                rec.CategoryUtf8 = rename.To.toUtf8();
                rec.NotesUtf8 = opener.Notes.toByteArray();
                update.Bind(1, QByteArrayView(""))
                    .Bind(2, 0.0)
                    .BindBlob(3, sealedRecord(*key, storedUser, id, rec));
            } else {
                update.Bind(1, storedTo).Bind(2, read.Real(3));
                bindStored(update, 3, read.Bytes(4));
            }
            update.Bind(4, id);
            read.Reset();
            update.Run();
        }
    }
    changeList(db, key, storedUser, rename.Type, rename.ListBefore, rename.ListAfter);
    if (readRules(db, key, storedUser) != rename.RulesBefore)
        changed(QCoreApplication::translate("TDbMan",
                                            "The category rules of statement import were changed"));
    if (rename.RulesAfter != rename.RulesBefore)
        writeRules(db, key, storedUser, rename.RulesAfter);
    if (readBudgets(db, key, storedUser) != rename.BudgetsBefore)
        changed(QCoreApplication::translate("TDbMan", "The budgets were changed"));
    if (rename.BudgetsAfter != rename.BudgetsBefore)
        writeBudgets(db, key, storedUser, rename.BudgetsAfter);
    TSqlStatement update(db, kUpdateRecurring);
    for (qsizetype i = 0; i < rename.RecurringBefore.size(); ++i) {
        const TRecurring &entry = rename.RecurringBefore[i];
        if (readOneRecurring(db, key, storedUser, entry.Id) != entry)
            changed(QStringLiteral("A recurring entry of the category \"%1\" was changed or "
                                   "deleted")
                        .arg(rename.From));
        update.Reset();
        update.Bind(1, entry.Id);
        bindRecurring(update, checkedRecurring(rename.RecurringAfter.value(i)), key, storedUser,
                      entry.Id);
        update.Run();
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
                const QString name = QString::fromUtf8(stored);
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
    // Before the file is touched: deriving the keys is slow.
    const QByteArray storedName = storedText(name);
    const QByteArray hash = hashPassword(password);
    std::shared_ptr<const TBookKey> key = TBookKey::Generate();
    const QByteArray wrapped = key->Wrap(storedName, password);
    {
        Book db(FDataFile, Book::Write);
        TSqlStatement insert(db, "insert into users (name, pwd, key) values (?1, ?2, ?3)");
        insert.Bind(1, storedName).Bind(2, hash).BindBlob(3, wrapped).Run();
    }
    FKey = std::move(key);
    FKeyUser = name;
    return UserExists(name);
}

bool TDbMan::DeleteUser(const QString &name) {
    {
        Book db(FDataFile, Book::Write);
        TSqlStatement del(db, "delete from users where name = ?1");
        del.Bind(1, storedText(name)).Run();
    }
    // With the row its wrapped key is gone: the records the user leaves in
    // the file stay sealed for good, and an account made later under the
    // same name gets a key of its own, under which they never open.
    if (name == FKeyUser) {
        FKey.reset();
        FKeyUser.clear();
    }
    return !UserExists(name);
}

bool TDbMan::UserExists(const QString &name) {
    Book db(FDataFile, Book::Read);
    TSqlStatement query(db, "select 1 from users where name = ?1 limit 1");
    query.Bind(1, storedText(name));
    return query.Next();
}

bool TDbMan::OpensRow(const QString &name, const QByteArray &hash, const QByteArray &wrapped,
                      const QString &password) {
    // A user with a data key is known by it: the password that opens the
    // key is the password, and one derivation serves the check and the
    // key. The hash is checked only for a user whose book is not sealed yet.
    if (TBookKey::IsWrapped(wrapped)) {
        std::shared_ptr<const TBookKey> key =
            TBookKey::Unwrap(wrapped, storedText(name), password, FDataFile);
        if (!key)
            return false;
        FKey = std::move(key);
        FKeyUser = name;
        return true;
    }
    if (!passwordMatches(hash, password, name, FDataFile))
        return false;
    if (name != FKeyUser) {
        FKey.reset();
        FKeyUser.clear();
    }
    return true;
}

bool TDbMan::CheckPassword(const QString &name, const QString &password) {
    QList<UserRow> rows;
    {
        Book db(FDataFile, Book::Read);
        rows = userRows(db, storedText(name));
    }
    // Verified with the file closed: deriving a key takes a while.
    for (const UserRow &row : std::as_const(rows))
        if (OpensRow(name, row.Hash, row.Key, password))
            return true;
    return false;
}

bool TDbMan::HasKey(const QString &user) const {
    return FKey && user == FKeyUser;
}

int TDbMan::PlainRecords(const QString &user) {
    Book db(FDataFile, Book::Read);
    TSqlStatement count(db, "select count(*) from data indexed by data_plain where user = ?1 and "
                            "typeof(notes) <> 'blob'");
    count.Bind(1, storedText(user));
    return count.Next() ? int(count.Int(0)) : 0;
}

int TDbMan::SealBook(const QString &user, const QString &password,
                     const std::function<void(int, int)> &progress) {
    const QByteArray storedUser = storedText(user);
    if (!HasKey(user) && !CheckPassword(user, password))
        fail(QCoreApplication::translate("TDbMan", "Wrong password for \"%1\".").arg(user));
    if (HasKey(user)) {
        // Nearly every sign-in: the book is sealed, nothing to write.
        Book db(FDataFile, Book::Read);
        if (!AnyPlain(db, storedUser))
            return 0;
    }
    std::shared_ptr<const TBookKey> key = FKey;
    QByteArray wrapped;
    if (!HasKey(user)) { // the first sign-in since the book could be sealed
        key = TBookKey::Generate();
        wrapped = key->Wrap(storedUser, password);
    }
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    if (!wrapped.isEmpty()) {
        const QList<UserRow> rows = userRows(db, storedUser);
        if (rows.isEmpty())
            fail(QCoreApplication::translate("TDbMan", "There is no user \"%1\" (any more).")
                     .arg(user));
        const auto sealed = std::find_if(rows.cbegin(), rows.cend(), [](const UserRow &row) {
            return TBookKey::IsWrapped(row.Key);
        });
        if (sealed != rows.cend()) {
            // Another window sealed the book meanwhile: its key is the key.
            key = TBookKey::Unwrap(sealed->Key, storedUser, password, FDataFile);
            if (!key)
                fail(QCoreApplication::translate("TDbMan", "Wrong password for \"%1\".").arg(user));
        } else {
            TSqlStatement update(db, "update users set key = ?2 where name = ?1");
            update.Bind(1, storedUser).BindBlob(2, wrapped).Run();
        }
    }
    const int sealedRecords = SealPlainRecords(db, *key, storedUser, progress);
    SealPlainTexts(db, *key, storedUser);
    tr.Commit();
    FKey = std::move(key);
    FKeyUser = user;
    return sealedRecords;
}

bool TDbMan::AnyPlain(TSqlConnection &db, const QByteArray &storedUser) {
    // One statement: SQLite stops at the first plain value it meets.
    TSqlStatement query(
        db, "select exists (select 1 from data indexed by data_plain where user = ?1 and "
            "typeof(notes) <> 'blob') or "
            "exists (select 1 from cates where user = ?1 and (typeof(out) <> 'blob' or "
            "typeof(\"in\") <> 'blob')) or "
            "exists (select 1 from rules where user = ?1 and typeof(text) <> 'blob') or "
            "exists (select 1 from budgets where user = ?1 and typeof(cate) <> 'blob') or "
            "exists (select 1 from profiles where user = ?1 and typeof(layout) <> 'blob') or "
            "exists (select 1 from fitids where user = ?1 and typeof(fitid) <> 'blob') or "
            "exists (select 1 from recurring where user = ?1 and typeof(notes) <> 'blob')");
    query.Bind(1, storedUser);
    return query.Next() && query.Int(0) != 0;
}

int TDbMan::SealPlainRecords(TSqlConnection &db, const TBookKey &key, const QByteArray &storedUser,
                             const std::function<void(int, int)> &progress) {
    // Read whole first: the rows are changed in the index they are read from.
    QList<QPair<qint64, StoredRecord>> plain;
    {
        TSqlStatement query(db, "select id, date, type, cate, amount, notes from data indexed by "
                                "data_plain where user = ?1 and typeof(notes) <> 'blob'");
        query.Bind(1, storedUser);
        TRecordOpener opener(nullptr, storedUser);
        while (query.Next()) {
            StoredRecord rec;
            const qint64 id = query.Int(0);
            rec.Date = query.Bytes(1).toByteArray();
            // A record that cannot be read stays as it is, and is counted as
            // unreadable, as before.
            if (!readDate(rec.Date).isValid() || !readType(query.Bytes(2), rec.RecordType) ||
                TBookKey::IsSealed(query.Bytes(5)) ||
                opener.Open(query, 3, 4, 5, id, rec.Date, rec.RecordType) != TOpened::Opened)
                continue;
            rec.Cents = opener.Cents;
            rec.CategoryUtf8 = opener.Category.toByteArray();
            rec.NotesUtf8 = opener.Notes.toByteArray();
            plain.append({id, std::move(rec)});
        }
    }
    const int total = int(plain.size());
    TSqlStatement update(db, "update data set cate = '', amount = 0, notes = ?1 where id = ?2");
    for (int i = 0; i < total; ++i) {
        if (progress && i % 1000 == 0)
            progress(i, total);
        const auto &[id, rec] = plain.at(i);
        update.Reset();
        update.BindBlob(1, sealedRecord(key, storedUser, id, rec)).Bind(2, id).Run();
    }
    if (progress)
        progress(total, total);
    return total;
}

void TDbMan::SealPlainTexts(TSqlConnection &db, const TBookKey &key, const QByteArray &storedUser) {
    const auto anyPlain = [&](const char *sql) {
        TSqlStatement query(db, sql);
        query.Bind(1, storedUser);
        return query.Next();
    };
    if (anyPlain("select 1 from cates where user = ?1 and (typeof(out) <> 'blob' or "
                 "typeof(\"in\") <> 'blob') limit 1")) {
        const QStringList out = readList(db, &key, storedUser, TRecordType::Expense);
        const QStringList in = readList(db, &key, storedUser, TRecordType::Income);
        writeLists(db, storedUser,
                   key.Seal(listText(out).toUtf8(), listContext(storedUser, TRecordType::Expense)),
                   key.Seal(listText(in).toUtf8(), listContext(storedUser, TRecordType::Income)));
    }
    if (anyPlain("select 1 from rules where user = ?1 and typeof(text) <> 'blob' limit 1"))
        writeRules(db, &key, storedUser, readRules(db, &key, storedUser));
    if (anyPlain("select 1 from budgets where user = ?1 and typeof(cate) <> 'blob' limit 1"))
        writeBudgets(db, &key, storedUser, readBudgets(db, &key, storedUser));
    if (anyPlain("select 1 from profiles where user = ?1 and typeof(layout) <> 'blob' limit 1")) {
        QList<TBankProfile> plain;
        {
            TSqlStatement query(
                db,
                "select name, layout from profiles where user = ?1 and typeof(layout) <> 'blob'");
            query.Bind(1, storedUser);
            while (query.Next())
                plain.append({DecodeField(query.Bytes(0)), DecodeField(query.Bytes(1))});
        }
        for (const TBankProfile &profile : std::as_const(plain)) {
            deleteProfile(db, &key, storedUser, profile.Name);
            insertProfile(db, &key, storedUser, profile);
        }
    }
    if (anyPlain("select 1 from fitids where user = ?1 and typeof(fitid) <> 'blob' limit 1")) {
        QList<QPair<QString, QString>> ids;
        {
            TSqlStatement query(
                db,
                "select account, fitid from fitids where user = ?1 and typeof(fitid) <> 'blob'");
            query.Bind(1, storedUser);
            while (query.Next())
                ids.append({DecodeField(query.Bytes(0)), DecodeField(query.Bytes(1))});
        }
        TSqlStatement del(db, "delete from fitids where user = ?1 and typeof(fitid) <> 'blob'");
        del.Bind(1, storedUser).Run();
        TSqlStatement insert(
            db, "insert or ignore into fitids (user, account, fitid) values (?1, ?2, ?3)");
        for (const auto &[account, id] : std::as_const(ids)) {
            insert.Reset();
            insert.Bind(1, storedUser);
            StoredImportId(&key, account, id).Bind(insert);
            insert.Run();
        }
    }
    if (anyPlain("select 1 from recurring where user = ?1 and typeof(notes) <> 'blob' limit 1")) {
        QList<TRecurring> plain;
        {
            TSqlStatement query(db, QByteArray("select ") + kRecurringColumns +
                                        " from recurring where user = ?1 and "
                                        "typeof(notes) <> 'blob'");
            query.Bind(1, storedUser);
            while (query.Next()) {
                TRecurring entry;
                if (readRecurring(query, nullptr, storedUser, entry))
                    plain.append(entry);
            }
        }
        TSqlStatement update(db, kUpdateRecurring);
        for (const TRecurring &entry : std::as_const(plain)) {
            update.Reset();
            update.Bind(1, entry.Id);
            bindRecurring(update, checkedRecurring(entry), &key, storedUser, entry.Id);
            update.Run();
        }
    }
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
    const QList<UserRow> rows = userRows(db, storedName);
    // The row moves with its own hash and key, so the password stays exactly
    // what it was: this never sets a password. Only where one name has
    // several rows does the password pick the one to keep (the rest go, as
    // at any sign-in).
    std::optional<UserRow> kept;
    if (rows.size() == 1) {
        kept = rows.first();
    } else {
        for (const UserRow &row : rows) {
            if (OpensRow(name, row.Hash, row.Key, password)) {
                kept = row;
                break;
            }
        }
    }
    if (!kept)
        fail(rows.isEmpty()
                 ? QCoreApplication::translate("TDbMan", "There is no user \"%1\" (any more).")
                       .arg(name)
                 : QCoreApplication::translate("TDbMan", "Wrong password for \"%1\".").arg(name));
    replaceUserRow(db, storedName, *kept);
    tr.Commit();
}

void TDbMan::SetPassword(const QString &name, const QString &password) {
    const QByteArray storedName = storedText(name);
    const QByteArray hash = hashPassword(password);
    // The same data key, wrapped under the new password: no record is
    // sealed again, and until the commit the old password opens it.
    const QByteArray wrapped = HasKey(name) ? FKey->Wrap(storedName, password) : QByteArray();
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    for (const UserRow &row : userRows(db, storedName)) {
        if (TBookKey::IsWrapped(row.Key) && wrapped.isEmpty())
            fail(QCoreApplication::translate(
                     "TDbMan", "The password of \"%1\" can be set only by that user, signed in: "
                               "the book's key opens with the current password alone.")
                     .arg(name));
    }
    replaceUserRow(db, storedName, {hash, wrapped});
    tr.Commit();
}

// --- category lists -------------------------------------------------------------------

QStringList TDbMan::GetCategories(const QString &user, const QString &listName) {
    checkListName(listName);
    Book db(FDataFile, Book::Read);
    return readList(db, KeyOf(user), storedText(user),
                    listName == QLatin1String("out") ? TRecordType::Expense : TRecordType::Income);
}

void TDbMan::SetCategories(const QString &user, const QString &listName, const QStringList &items) {
    checkListName(listName);
    const QByteArray storedUser = storedText(user);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    // The other list is written back exactly as it was stored.
    auto [outList, inList] = storedLists(db, storedUser);
    const bool out = listName == QLatin1String("out");
    (out ? outList : inList) =
        storedValue(KeyOf(user), listText(items),
                    listContext(storedUser, out ? TRecordType::Expense : TRecordType::Income));
    writeLists(db, storedUser, outList, inList);
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
    const auto add = [&](const TStreamRow &row) {
        const QByteArrayView iso = row.Date;
        if (!sameBytes(iso, QByteArrayView(lastIso, lastIsoSize))) {
            lastIsoSize = iso.size() == 10 ? 10 : 0;
            if (lastIsoSize)
                std::memcpy(lastIso, iso.data(), 10);
            day = readDate(iso);
            dayTotal = nullptr;
        }
        if (!day.isValid() || !row.TypeReadable || row.Result != TOpened::Opened) {
            period.Unreadable += row.Result != TOpened::NotMine;
            return;
        }
        TRecord rec;
        rec.Id = row.Id;
        rec.Type = row.Type;
        rec.Cents = row.Cents;
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
        rec.Date = day;
        rec.Notes = QString::fromUtf8(row.Notes);
        const bool income = rec.Type == TRecordType::Income;
        TCategoryTotal &category = categories.Find(row.Category).Totals[income];
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
    };
    // Opening the values (sealed ones above all) is done beside the reading.
    TRecordStream stream(KeyOf(user), storedUser);
    while (query.Next())
        stream.Add(query, add);
    stream.Finish(add);
    period.ExpenseCategories = categories.Ordered(TRecordType::Expense);
    period.IncomeCategories = categories.Ordered(TRecordType::Income);
    return period;
}

QList<TRecord> TDbMan::ReadCategoryRecords(const QString &user, QDate from, QDate to,
                                           TRecordType type, const QString &category) {
    const QByteArray storedUser = storedText(user);
    const QByteArray first = storedDate(from), last = storedDate(to);
    const QByteArray wanted = category.toUtf8();
    Book db(FDataFile, Book::Read);
    // A sealed record's category is known only once it is opened: the
    // period's records are read, those of the category kept.
    TSqlStatement query(db, "select date, type, id, cate, amount, notes from data "
                            "where user = ?1 and date >= ?2 and date <= ?3 "
                            "order by date asc, id asc");
    query.Bind(1, storedUser).Bind(2, first).Bind(3, last);
    QList<TRecord> records;
    const auto add = [&](const TStreamRow &row) {
        // The records the period's category list counted, and no others.
        if (!row.TypeReadable || row.Type != type || row.Result != TOpened::Opened ||
            !sameBytes(row.Category, wanted))
            return;
        TRecord rec;
        rec.Date = readDate(row.Date);
        if (!rec.Date.isValid())
            return;
        rec.Id = row.Id;
        rec.Type = row.Type;
        rec.Cents = row.Cents;
        rec.Category = category;
        rec.Notes = QString::fromUtf8(row.Notes);
        records.append(std::move(rec));
    };
    TRecordStream stream(KeyOf(user), storedUser);
    while (query.Next())
        stream.Add(query, add);
    stream.Finish(add);
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
        const TBookKey *key = KeyOf(user);
        std::optional<NewRecordIds> newIds;
        if (key)
            newIds.emplace(db);
        TSqlStatement insert(db, key ? kInsertRecordWithId : kInsertRecord);
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
            const StoredImportId importId(key, rec.Account, rec.ImportId);
            if (rec.Imported && !rec.Wanted) {
                known.Reset();
                known.Bind(1, storedUser);
                importId.Bind(known);
                const bool knownId = known.Next();
                known.Reset();
                if (knownId) {
                    ++save.LeftOut;
                    save.Stored << done;
                    continue;
                }
            }
            insertRecord(insert, storedUser, rec, newIds ? newIds->Next() : 0, key);
            done.Id = lastId(db);
            if (rec.Imported) {
                remember.Reset();
                remember.Bind(1, storedUser);
                importId.Bind(remember);
                remember.Run();
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
        const TBookKey *key = KeyOf(user);
        TSqlStatement insert(db, key ? kInsertRecordWithId : kInsertRecord);
        insertRecord(insert, storedUser, rec, key ? NewRecordIds(db).Next() : 0, key);
    }
    const qint64 id = lastId(db);
    tr.Commit();
    return id;
}

// --- statement import ---------------------------------------------------------------------

QSet<TImportId> TDbMan::KnownImportIds(const QString &user, const QList<TImportId> &ids) {
    const QByteArray storedUser = storedText(user);
    const TBookKey *key = KeyOf(user);
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
        query.Bind(1, storedUser);
        StoredImportId(key, id.Account, id.Id).Bind(query);
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
        TSqlStatement query(db,
                            "select date, type, id, cate, amount, notes from data where user = ?1");
        query.Bind(1, storedUser);
        const auto add = [&](const TStreamRow &row) {
            if (!row.TypeReadable || row.Result != TOpened::Opened)
                return;
            const QByteArrayView cate = row.Category;
            auto id = categoryIds.constFind(QByteArray::fromRawData(cate.data(), cate.size()));
            if (id == categoryIds.cend()) {
                categories << cate.toByteArray();
                id = categoryIds.insert(categories.last(), int(categories.size() - 1));
            }
            groups.Add(row.Notes, id.value() * 2 + (row.Type == TRecordType::Income));
        };
        TRecordStream stream(KeyOf(user), storedUser);
        while (query.Next())
            stream.Add(query, add);
        stream.Finish(add);
    }
    QList<QString> names;
    for (const QByteArray &category : std::as_const(categories))
        names << QString::fromUtf8(category);
    groups.ForEach([&](QByteArrayView notes, int group, int count) {
        row(group % 2 ? TRecordType::Income : TRecordType::Expense, QString::fromUtf8(notes),
            names.at(group / 2), count);
    });
}

QList<TCategoryRule> TDbMan::CategoryRules(const QString &user) {
    Book db(FDataFile, Book::Read);
    return readRules(db, KeyOf(user), storedText(user));
}

void TDbMan::SetCategoryRules(const QString &user, const QList<TCategoryRule> &rules) {
    const QByteArray storedUser = storedText(user);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    writeRules(db, KeyOf(user), storedUser, rules);
    tr.Commit();
}

QList<TBankProfile> TDbMan::BankProfiles(const QString &user) {
    const QByteArray storedUser = storedText(user);
    const TBookKey *key = KeyOf(user);
    QList<TBankProfile> profiles;
    {
        Book db(FDataFile, Book::Read);
        TSqlStatement query(db, "select name, layout from profiles where user = ?1");
        query.Bind(1, storedUser);
        while (query.Next()) {
            const QByteArrayView layout = query.Bytes(1);
            if (!TBookKey::IsSealed(layout)) {
                profiles.append({DecodeField(query.Bytes(0)), DecodeField(layout)});
                continue;
            }
            QByteArray plain;
            qint64 unused = 0;
            QByteArrayView parts[2];
            // A profile that does not open is left out.
            if (key && key->Open(layout, profileContext(storedUser, query.Bytes(0)), plain) &&
                unpacked(plain, unused, parts, 2))
                profiles.append({QString::fromUtf8(parts[0]), QString::fromUtf8(parts[1])});
        }
    }
    std::sort(profiles.begin(), profiles.end(), [](const TBankProfile &a, const TBankProfile &b) {
        return a.Name.localeAwareCompare(b.Name) < 0;
    });
    return profiles;
}

void TDbMan::SaveBankProfile(const QString &user, const TBankProfile &profile) {
    if (profile.Name.trimmed().isEmpty())
        fail(QCoreApplication::translate("TDbMan", "A bank profile needs a name."));
    const QByteArray storedUser = storedText(user);
    const TBookKey *key = KeyOf(user);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    deleteProfile(db, key, storedUser, profile.Name);
    insertProfile(db, key, storedUser, profile);
    tr.Commit();
}

void TDbMan::DeleteBankProfile(const QString &user, const QString &name) {
    Book db(FDataFile, Book::Write);
    deleteProfile(db, KeyOf(user), storedText(user), name);
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
    const TBookKey *key = KeyOf(user);
    TRecordOpener opener(key, storedUser);
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
            if (!read.Next() || !sameRecord(read, opener, record))
                recordChanged(record,
                              QCoreApplication::translate("TDbMan", " was changed or deleted"));
            read.Reset();
            del.Reset();
            del.Bind(1, record.Id).Run();
            if (record.Import.IsEmpty())
                continue;
            // In either form: the id may have been remembered before the
            // book was sealed.
            forget.Reset();
            forget.Bind(1, storedUser)
                .Bind(2, storedText(record.Import->Account))
                .Bind(3, storedText(record.Import->Id))
                .Run();
            if (key) {
                forget.Reset();
                forget.Bind(1, storedUser);
                StoredImportId(key, record.Import->Account, record.Import->Id).Bind(forget);
                forget.Run();
            }
        }
        TSqlStatement taken(db, "select 1 from data where id = ?1");
        TSqlStatement known(db, "select 1 from fitids where user = ?1 and account = ?2 and "
                                "fitid = ?3");
        TSqlStatement remember(db, "insert into fitids (user, account, fitid) values (?1, ?2, ?3)");
        TSqlStatement withId(db, kInsertRecordWithId), withoutId(db, kInsertRecord);
        std::optional<NewRecordIds> newIds;
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
                insertRecord(withId, storedUser, rec, record.Id, key);
            } else if (key) {
                if (!newIds)
                    newIds.emplace(db);
                insertRecord(withId, storedUser, rec, newIds->Next(), key);
            } else {
                insertRecord(withoutId, storedUser, rec);
            }
            ids << lastId(db);
            if (!rec.Imported)
                continue;
            const StoredImportId importId(key, rec.Account, rec.ImportId);
            known.Reset();
            known.Bind(1, storedUser);
            importId.Bind(known);
            if (known.Next())
                recordChanged(record, QCoreApplication::translate("TDbMan", " was imported again"));
            known.Reset();
            remember.Reset();
            remember.Bind(1, storedUser);
            importId.Bind(remember);
            remember.Run();
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
    changeList(db, KeyOf(user), storedUser, type, expected, items);
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
        const QByteArray storedUser = storedText(user);
        query.Bind(1, storedUser);
        char lastIso[10];
        qsizetype lastIsoSize = 0;
        QDate day;
        QVarLengthArray<char, 512> notes;
        const auto match = [&](const TStreamRow &row) {
            const QByteArrayView iso = row.Date;
            if (!sameBytes(iso, QByteArrayView(lastIso, lastIsoSize))) {
                lastIsoSize = iso.size() == 10 ? 10 : 0;
                if (lastIsoSize)
                    std::memcpy(lastIso, iso.data(), 10);
                day = readDate(iso);
            }
            if (!day.isValid() || !row.TypeReadable || row.Result != TOpened::Opened) {
                bad += row.Result != TOpened::NotMine;
                return;
            }
            // The category and the amount first; the notes are looked at
            // only for the words these leave.
            const FoundCategories::Entry &category = categories.Find(row.Category);
            const quint64 matched = category.Mask | words.AmountMask(row.Cents);
            if (matched != all) {
                // A copy: matching lower-cases it.
                notes.resize(row.Notes.size());
                if (!row.Notes.isEmpty())
                    std::memcpy(notes.data(), row.Notes.data(), size_t(row.Notes.size()));
                if ((matched | words.TextMask(notes.data(), notes.size(), all & ~matched)) != all)
                    return;
            }
            TRecord rec;
            rec.Id = row.Id;
            rec.Type = row.Type;
            rec.Cents = row.Cents;
            rec.Date = day;
            rec.Category = category.Name;
            rec.Notes = QString::fromUtf8(row.Notes);
            found.append(std::move(rec));
        };
        TRecordStream stream(KeyOf(user), storedUser);
        while (query.Next())
            stream.Add(query, match);
        stream.Finish(match);
    }
    if (unreadable)
        *unreadable = bad;
    return found;
}

// --- renaming categories ------------------------------------------------------------------

int TDbMan::CountCategory(const QString &user, TRecordType type, const QString &name) {
    Book db(FDataFile, Book::Read);
    return int(categoryIds(db, KeyOf(user), storedText(user), type, name).size());
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
        rename.Ids = categoryIds(db, KeyOf(user), storedUser, type, from);
        rename.ListBefore = readList(db, KeyOf(user), storedUser, type);
        rename.ListAfter = renamedList(rename.ListBefore, from, to);
        rename.RulesBefore = rename.RulesAfter = readRules(db, KeyOf(user), storedUser);
        for (TCategoryRule &rule : rename.RulesAfter)
            if (rule.Category == from && ruleApplies(rule.Type, type))
                rule.Category = to;
        rename.BudgetsBefore = readBudgets(db, KeyOf(user), storedUser);
        rename.BudgetsAfter = renamedBudgets(rename.BudgetsBefore, type, from, to);
        for (TRecurring entry : readAllRecurring(db, KeyOf(user), storedUser)) {
            if (entry.Type != type || entry.Category != from)
                continue;
            rename.RecurringBefore << entry;
            entry.Category = to;
            rename.RecurringAfter << entry;
        }
        applyRename(db, KeyOf(user), storedUser, rename);
    }
    tr.Commit();
    return rename;
}

void TDbMan::ApplyRename(const QString &user, const TCategoryRename &rename) {
    const QByteArray storedUser = storedText(user);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    applyRename(db, KeyOf(user), storedUser, rename);
    tr.Commit();
}

// --- budgets ----------------------------------------------------------------------------------

QList<TBudget> TDbMan::Budgets(const QString &user) {
    Book db(FDataFile, Book::Read);
    return readBudgets(db, KeyOf(user), storedText(user));
}

void TDbMan::SetBudgets(const QString &user, const QList<TBudget> &expected,
                        const QList<TBudget> &budgets) {
    checkBudgets(budgets);
    const QByteArray storedUser = storedText(user);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    if (readBudgets(db, KeyOf(user), storedUser) != sortedBudgets(expected))
        planChanged(QCoreApplication::translate("TDbMan", "The budgets were changed"),
                    QStringLiteral("Open Budgets again to see them as they are now."));
    writeBudgets(db, KeyOf(user), storedUser, budgets);
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
    const TPeriod totals = readTotals(db, KeyOf(user), storedUser, averages.From, averages.To);
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
    return readTotals(db, KeyOf(user), storedUser, from, to);
}

// --- recurring entries --------------------------------------------------------------------

QList<TRecurring> TDbMan::RecurringEntries(const QString &user) {
    Book db(FDataFile, Book::Read);
    return readAllRecurring(db, KeyOf(user), storedText(user));
}

qint64 TDbMan::AddRecurring(const QString &user, const TRecurring &entry) {
    const StoredRecurring rec = checkedRecurring(entry);
    const QByteArray storedUser = storedText(user);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    if (entry.Id > 0 &&
        TSqlStatement(db, "select 1 from recurring where id = ?1").Bind(1, entry.Id).Next())
        entryChanged(entry, QStringLiteral(" was stored again"));
    // The id is known before the entry is stored: a sealed entry is bound
    // to it.
    const qint64 id = entry.Id > 0 ? entry.Id : NewRecordIds(db, "recurring").Next();
    TSqlStatement insert(db, "insert into recurring (user, type, cate, cents, notes, first_day, "
                             "every, unit, last_day, booked, id) values (?1, ?2, ?3, ?4, ?5, ?6, "
                             "?7, ?8, ?9, ?10, ?11)");
    insert.Bind(1, storedUser);
    bindRecurring(insert, rec, KeyOf(user), storedUser, id);
    insert.Bind(11, id);
    insert.Run();
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
    if (readOneRecurring(db, KeyOf(user), storedUser, before.Id) != before)
        entryChanged(before, QStringLiteral(" was changed or deleted"));
    TSqlStatement update(db, kUpdateRecurring);
    update.Bind(1, before.Id);
    bindRecurring(update, rec, KeyOf(user), storedUser, before.Id);
    update.Run();
    tr.Commit();
}

void TDbMan::DeleteRecurring(const QString &user, const TRecurring &entry) {
    const QByteArray storedUser = storedText(user);
    Book db(FDataFile, Book::Write);
    TSqlTransaction tr(db, TSqlTransaction::TKind::Write);
    if (readOneRecurring(db, KeyOf(user), storedUser, entry.Id) != entry)
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
