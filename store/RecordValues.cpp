#include "store/RecordValues.h"

#include "store/AmountText.h"
#include "store/FieldCodec.h"

#include <cmath>

namespace stored {

namespace {
// The largest amount of a record, in cents.
constexpr qint64 kMaxCents = 99999999999999;
} // namespace

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

bool readOddType(QByteArrayView stored, TRecordType &type) {
    const QByteArray word = stored.trimmed().toByteArray().toLower();
    if (word == "expense" || word == "income") {
        type = word == "income" ? TRecordType::Income : TRecordType::Expense;
        return true;
    }
    return false;
}

bool readAmount(bool isNumber, double value, qint64 &cents) {
    if (!isNumber || !std::isfinite(value) || std::fabs(value) > kMaxAmount)
        return false;
    cents = AmountCents(value);
    return true;
}

TContext recordContext(QByteArrayView storedUser, qint64 id, QByteArrayView date,
                       TRecordType type) {
    TContext context("data", storedUser);
    context.Add(id).Add(date).Add(qint64(type == TRecordType::Income));
    return context;
}

QByteArray packed(qint64 number, std::initializer_list<QByteArrayView> texts) {
    QByteArray out(reinterpret_cast<const char *>(&number), sizeof number);
    for (const QByteArrayView text : texts) {
        const quint32 size = quint32(text.size());
        out.append(reinterpret_cast<const char *>(&size), sizeof size);
        out.append(text.data(), text.size());
    }
    return out;
}

bool unpacked(QByteArrayView value, qint64 &number, QByteArrayView *texts, int count) {
    if (value.size() < qsizetype(sizeof number))
        return false;
    std::memcpy(&number, value.data(), sizeof number);
    qsizetype at = sizeof number;
    for (int i = 0; i < count; ++i) {
        quint32 size = 0;
        if (value.size() - at < qsizetype(sizeof size))
            return false;
        std::memcpy(&size, value.data() + at, sizeof size);
        at += sizeof size;
        if (value.size() - at < qsizetype(size))
            return false;
        texts[i] = value.sliced(at, size);
        at += size;
    }
    return at == value.size();
}

QByteArray sealRecord(const TBookKey &key, QByteArrayView storedUser, qint64 id,
                      QByteArrayView date, TRecordType type, qint64 cents, QByteArrayView category,
                      QByteArrayView notes) {
    return key.Seal(packed(cents, {category, notes}), recordContext(storedUser, id, date, type));
}

TOpened openRecord(const TBookKey *key, QByteArrayView storedUser, qint64 id, QByteArrayView date,
                   TRecordType type, const TStoredValues &values, char *out, qint64 &cents,
                   qsizetype &categorySize, qsizetype &notesSize) {
    categorySize = notesSize = 0;
    if (TBookKey::IsSealed(values.Notes)) {
        if (!key)
            return TOpened::Unreadable;
        if (!key->Sealed(values.Notes))
            return TOpened::NotMine;
        // The plain text is the packed value: the number and two lengths
        // before the texts, which are moved to the start of `out`.
        const qsizetype size =
            key->Open(values.Notes, recordContext(storedUser, id, date, type), out);
        QByteArrayView texts[2];
        if (size < 0 || !unpacked(QByteArrayView(out, size), cents, texts, 2) || cents < 1 ||
            cents > kMaxCents)
            return TOpened::Unreadable;
        categorySize = texts[0].size();
        notesSize = texts[1].size();
        std::memmove(out, texts[0].data(), size_t(categorySize));
        std::memmove(out + categorySize, texts[1].data(), size_t(notesSize));
        return TOpened::Opened;
    }
    if (!readAmount(values.AmountIsNumber, values.Amount, cents))
        return TOpened::Unreadable;
    categorySize = DecodeFieldInto(values.Category, out);
    notesSize = DecodeFieldInto(values.Notes, out + categorySize);
    return TOpened::Opened;
}

TOpened TRecordOpener::Open(const TSqlStatement &row, int cate, int amount, int notes, qint64 id,
                            QByteArrayView date, TRecordType type) {
    const TStoredValues values{row.Bytes(cate), row.Bytes(notes), row.IsNumber(amount),
                               row.Real(amount)};
    FBuffer.resize(values.Category.size() + values.Notes.size() + 1);
    qsizetype categorySize = 0, notesSize = 0;
    const TOpened result = openRecord(FKey, FUser, id, date, type, values, FBuffer.data(), Cents,
                                      categorySize, notesSize);
    Category = QByteArrayView(FBuffer.constData(), categorySize);
    Notes = QByteArrayView(FBuffer.constData() + categorySize, notesSize);
    return result;
}

// --- the stream ---------------------------------------------------------------------------

TRecordStream::TRecordStream(const TBookKey *key, QByteArrayView storedUser)
    : FKey(key), FUser(storedUser.toByteArray()) {
    for (TChunk &chunk : FChunks)
        chunk.Raw.reserve(kRows);
}

TRecordStream::~TRecordStream() {
    if (FWorker.joinable()) {
        {
            std::lock_guard<std::mutex> lock(FLock);
            FStop = true;
        }
        FChanged.notify_all();
        FWorker.join();
    }
}

bool TRecordStream::Take(const TSqlStatement &query) {
    TChunk &chunk = FChunks[size_t(FTail % kChunks)];
    TRaw raw;
    const QByteArrayView date = query.Bytes(0);
    raw.DateSize = qint8(std::min<qsizetype>(date.size(), sizeof raw.Date));
    if (raw.DateSize > 0)
        std::memcpy(raw.Date, date.data(), size_t(raw.DateSize));
    if (date.size() > qsizetype(sizeof raw.Date))
        raw.DateSize = 0; // no date of ten bytes: unreadable
    TRecordType type;
    raw.Type = readType(query.Bytes(1), type) ? qint8(type) : qint8(-1);
    raw.Id = query.Int(2);
    const QByteArrayView category = query.Bytes(3), notes = query.Bytes(5);
    raw.AmountIsNumber = query.IsNumber(4);
    raw.Amount = query.Real(4);
    raw.CategoryAt = chunk.Bytes.size();
    raw.CategorySize = category.size();
    chunk.Bytes.append(category.data(), category.size());
    raw.NotesAt = chunk.Bytes.size();
    raw.NotesSize = notes.size();
    chunk.Bytes.append(notes.data(), notes.size());
    chunk.Raw.push_back(raw);
    if (chunk.Raw.size() < size_t(kRows))
        return false;
    PublishFilling();
    return true;
}

void TRecordStream::PublishFilling() {
    TChunk &chunk = FChunks[size_t(FTail % kChunks)];
    if (chunk.Raw.empty())
        return;
    // The worker starts with the first full chunk: a short read is opened
    // here at once.
    const bool full = chunk.Raw.size() == size_t(kRows);
    {
        std::lock_guard<std::mutex> lock(FLock);
        chunk.State = TState::Filled;
        ++FTail;
    }
    if (full && !FWorker.joinable())
        FWorker = std::thread([this] { Work(); });
    FChanged.notify_all();
}

void TRecordStream::OpenChunk(TChunk &chunk) const {
    chunk.Done.resize(chunk.Raw.size());
    // An opened value is never longer than its stored texts: room for all
    // at once, filled from the start.
    chunk.Plain.resize(chunk.Bytes.size() + 1);
    char *const plain = chunk.Plain.data();
    qsizetype used = 0;
    for (size_t i = 0; i < chunk.Raw.size(); ++i) {
        const TRaw &raw = chunk.Raw[i];
        TDone &done = chunk.Done[i];
        done = {0, used, 0, used, 0, TOpened::Unreadable};
        if (raw.Type < 0 || raw.DateSize != sizeof raw.Date)
            continue;
        const TStoredValues values{
            QByteArrayView(chunk.Bytes.constData() + raw.CategoryAt, raw.CategorySize),
            QByteArrayView(chunk.Bytes.constData() + raw.NotesAt, raw.NotesSize),
            raw.AmountIsNumber, raw.Amount};
        done.Result = openRecord(FKey, FUser, raw.Id, QByteArrayView(raw.Date, raw.DateSize),
                                 TRecordType(raw.Type), values, plain + used, done.Cents,
                                 done.CategorySize, done.NotesSize);
        done.NotesAt = used + done.CategorySize;
        used += done.CategorySize + done.NotesSize;
    }
}

void TRecordStream::Work() {
    std::unique_lock<std::mutex> lock(FLock);
    for (;;) {
        TChunk *next = nullptr;
        for (qint64 seq = FHead; seq < FTail && !next; ++seq)
            if (FChunks[size_t(seq % kChunks)].State == TState::Filled)
                next = &FChunks[size_t(seq % kChunks)];
        if (!next) {
            if (FStop)
                return;
            FChanged.wait(lock);
            continue;
        }
        next->State = TState::Claimed;
        lock.unlock();
        OpenChunk(*next);
        lock.lock();
        next->State = TState::Opened;
        FChanged.notify_all();
    }
}

TRecordStream::TChunk *TRecordStream::NextOpened(bool wait) {
    std::unique_lock<std::mutex> lock(FLock);
    for (;;) {
        if (FHead == FTail)
            return nullptr;
        TChunk &head = FChunks[size_t(FHead % kChunks)];
        if (head.State == TState::Opened)
            return &head;
        // Nothing to fill into while every chunk waits: this thread helps.
        if (!wait && FTail - FHead < kChunks)
            return nullptr;
        TChunk *mine = nullptr;
        for (qint64 seq = FTail - 1; seq >= FHead && !mine; --seq)
            if (FChunks[size_t(seq % kChunks)].State == TState::Filled)
                mine = &FChunks[size_t(seq % kChunks)];
        if (!mine) {
            FChanged.wait(lock); // the worker has the rest
            continue;
        }
        mine->State = TState::Claimed;
        lock.unlock();
        OpenChunk(*mine);
        lock.lock();
        mine->State = TState::Opened;
    }
}

void TRecordStream::Release() {
    std::lock_guard<std::mutex> lock(FLock);
    TChunk &head = FChunks[size_t(FHead % kChunks)];
    head.Raw.clear();
    head.Bytes.resize(0);
    head.State = TState::Free;
    ++FHead;
}

} // namespace stored
