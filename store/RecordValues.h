#pragma once

// How the store keeps a record's values and reads them back (used by the
// data store only). Dates are ISO text and types a word; the category,
// amount and notes are plain (Base64 texts and a number, as an older
// Ledgerly or another program writes them) or, once the user has signed in,
// one value sealed under the user's data key, bound to the record's user,
// id, date and type: moved to another record it does not open there.

#include "store/BookKey.h"
#include "store/Records.h"
#include "store/Sqlite.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QVarLengthArray>

#include <array>
#include <condition_variable>
#include <cstring>
#include <initializer_list>
#include <mutex>
#include <thread>
#include <vector>

namespace stored {

// Whether two stored values are the same bytes: compared inline (a few times
// per record read), where a general comparison would be a call of its own.
// An empty value may come without any bytes at all.
inline bool sameBytes(QByteArrayView a, QByteArrayView b) {
    return a.size() == b.size() &&
           (a.isEmpty() || std::memcmp(a.data(), b.data(), size_t(a.size())) == 0);
}

// Stored "yyyy-MM-dd" to a date; invalid when the text is anything else.
QDate readDate(QByteArrayView iso);

// The stored type word; anything other than the two words (in any letter
// case, with blanks around) is not readable.
bool readOddType(QByteArrayView stored, TRecordType &type);
inline bool readType(QByteArrayView stored, TRecordType &type) {
    if (sameBytes(stored, "Expense")) {
        type = TRecordType::Expense;
        return true;
    }
    if (sameBytes(stored, "Income")) {
        type = TRecordType::Income;
        return true;
    }
    return readOddType(stored, type);
}

// A stored amount in cents, rounded once; false when the value is not a
// number the program could have written.
bool readAmount(bool isNumber, double value, qint64 &cents);
inline bool readCents(const TSqlStatement &row, int column, qint64 &cents) {
    return readAmount(row.IsNumber(column), row.Real(column), cents);
}

// The place a sealed value is bound to: the table, the user, and what
// identifies the row.
class TContext {
public:
    TContext(const char *table, QByteArrayView storedUser) {
        Add(QByteArrayView(table));
        Add(storedUser);
    }
    TContext &Add(QByteArrayView part) {
        // Each part with its length, so that no two lists of parts run together.
        const qint64 size = part.size();
        const qsizetype at = FBytes.size();
        FBytes.resize(at + qsizetype(sizeof size) + part.size());
        std::memcpy(FBytes.data() + at, &size, sizeof size);
        if (size > 0)
            std::memcpy(FBytes.data() + at + sizeof size, part.data(), size_t(size));
        return *this;
    }
    TContext &Add(qint64 number) {
        return Add(QByteArrayView(reinterpret_cast<const char *>(&number), sizeof number));
    }
    operator QByteArrayView() const { return QByteArrayView(FBytes.data(), FBytes.size()); }

private:
    QVarLengthArray<char, 160> FBytes;
};

TContext recordContext(QByteArrayView storedUser, qint64 id, QByteArrayView date, TRecordType type);

// Several texts and a number as one value to seal: the number first, each
// text with its length.
QByteArray packed(qint64 number, std::initializer_list<QByteArrayView> texts);
// The parts of a packed value; false when it is not `count` texts.
bool unpacked(QByteArrayView value, qint64 &number, QByteArrayView *texts, int count);

// A record's sealed value: its amount in cents, category and notes (UTF-8).
QByteArray sealRecord(const TBookKey &key, QByteArrayView storedUser, qint64 id,
                      QByteArrayView date, TRecordType type, qint64 cents, QByteArrayView category,
                      QByteArrayView notes);

enum class TOpened : qint8 {
    Opened,
    Unreadable,
    // Sealed under the key of an account deleted before this one was made
    // under its name: no part of this book.
    NotMine
};

// A record's stored category, amount and notes as they come from its row.
struct TStoredValues {
    QByteArrayView Category, Notes;
    bool AmountIsNumber = false;
    double Amount = 0;
};

// Opens a record's values (plain or sealed) into `out`, which has room for
// the stored category and notes: the category's and the notes' UTF-8 bytes
// follow each other there.
TOpened openRecord(const TBookKey *key, QByteArrayView storedUser, qint64 id, QByteArrayView date,
                   TRecordType type, const TStoredValues &values, char *out, qint64 &cents,
                   qsizetype &categorySize, qsizetype &notesSize);

// A record's amount, category and notes as read from its row, one row at a
// time. The texts stay valid until the next Open.
class TRecordOpener {
public:
    TRecordOpener(const TBookKey *key, QByteArrayView storedUser) : FKey(key), FUser(storedUser) {}

    // The row's columns `cate`, `amount` and `notes`, of the record `id` of
    // that date and type.
    TOpened Open(const TSqlStatement &row, int cate, int amount, int notes, qint64 id,
                 QByteArrayView date, TRecordType type);

    qint64 Cents = 0;
    QByteArrayView Category, Notes;

private:
    const TBookKey *FKey;
    QByteArrayView FUser;
    QByteArray FBuffer;
};

// One row of a TRecordStream, its values opened.
struct TStreamRow {
    QByteArrayView Date; // as stored
    qint64 Id = 0;
    bool TypeReadable = false;
    TRecordType Type = TRecordType::Expense;
    TOpened Result = TOpened::Unreadable;
    qint64 Cents = 0;
    QByteArrayView Category, Notes; // UTF-8
};

// The records of a query handed over in order with their values opened,
// where opening sealed values takes most of the time: while SQLite steps
// through the rows on the calling thread, a second thread opens the rows
// read so far, a chunk at a time (and the calling thread opens chunks too
// when it is ahead). The query's columns: date, type, id, cate, amount,
// notes. Few rows are opened on the calling thread alone.
class TRecordStream {
public:
    TRecordStream(const TBookKey *key, QByteArrayView storedUser);
    ~TRecordStream();
    TRecordStream(const TRecordStream &) = delete;
    TRecordStream &operator=(const TRecordStream &) = delete;

    // Takes the query's current row; hands every row opened by now to
    // `consume(const TStreamRow &)`, in order.
    template <typename F> void Add(const TSqlStatement &query, F &&consume) {
        if (Take(query))
            Drain(consume, false);
    }
    // Hands the remaining rows over, in order.
    template <typename F> void Finish(F &&consume) {
        PublishFilling();
        Drain(consume, true);
    }

private:
    static constexpr int kRows = 512, kChunks = 8;
    struct TRaw {
        qint64 Id;
        double Amount;
        qsizetype CategoryAt, CategorySize, NotesAt, NotesSize;
        char Date[10];
        qint8 DateSize;
        qint8 Type; // -1: not readable
        bool AmountIsNumber;
    };
    struct TDone {
        qint64 Cents;
        qsizetype CategoryAt, CategorySize, NotesAt, NotesSize;
        TOpened Result;
    };
    enum class TState { Free, Filled, Claimed, Opened };
    struct TChunk {
        TState State = TState::Free;
        std::vector<TRaw> Raw;
        QByteArray Bytes; // the raw rows' stored texts
        std::vector<TDone> Done;
        QByteArray Plain; // the opened texts
    };

    // Copies the row into the chunk being filled; true when that chunk was
    // full and has been published.
    bool Take(const TSqlStatement &query);
    void PublishFilling();
    void OpenChunk(TChunk &chunk) const;
    void Work();
    // The oldest chunk not handed over, once it is opened; null when it is
    // not opened yet and `wait` is false (and a free chunk is left to fill).
    TChunk *NextOpened(bool wait);
    void Release();

    template <typename F> void Drain(F &consume, bool all) {
        while (TChunk *chunk = NextOpened(all)) {
            TStreamRow row;
            for (size_t i = 0; i < chunk->Raw.size(); ++i) {
                const TRaw &raw = chunk->Raw[i];
                const TDone &done = chunk->Done[i];
                row.Date = QByteArrayView(raw.Date, raw.DateSize);
                row.Id = raw.Id;
                row.TypeReadable = raw.Type >= 0;
                row.Type = TRecordType(raw.Type < 0 ? 0 : raw.Type);
                row.Result = done.Result;
                row.Cents = done.Cents;
                row.Category =
                    QByteArrayView(chunk->Plain.constData() + done.CategoryAt, done.CategorySize);
                row.Notes = QByteArrayView(chunk->Plain.constData() + done.NotesAt, done.NotesSize);
                consume(static_cast<const TStreamRow &>(row));
            }
            Release();
        }
    }

    const TBookKey *FKey;
    QByteArray FUser;
    std::array<TChunk, kChunks> FChunks;
    qint64 FHead = 0, FTail = 0; // chunks handed over; chunks published
    std::mutex FLock;
    std::condition_variable FChanged;
    bool FStop = false;
    std::thread FWorker;
};

} // namespace stored
