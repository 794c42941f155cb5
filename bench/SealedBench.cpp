// Sealed books on the 1,000,000-record book: the first sign-in after the
// upgrade, which seals a user's plain book, and every later sign-in, on a
// plain and on a sealed book. The other benchmarks run on the sealed book
// with LEDGERLY_BENCH_SEALED=1 (see TBookGenerator).
#include "bench/BookGenerator.h"
#include "store/DbClass.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

const QString kUser = QStringLiteral("alice"); // 200,113 records

// The first sign-in with this Ledgerly of a user whose book is plain: the
// sign-in window has checked the password, then SealBook makes the user's
// data key and seals every record and list in one transaction (measured).
// Each iteration starts from a fresh copy of the plain book.
void BM_SealBook_200k(benchmark::State &state) {
    QTemporaryDir dir;
    int sealed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString copy = TBookGenerator::CopyOf(TBookGenerator::PlainBookPath(), dir.path());
        TDbMan db(copy);
        if (!db.CheckPassword(kUser, TBookGenerator::Password()))
            throw std::runtime_error("bench: the password was refused");
        state.ResumeTiming();
        sealed = db.SealBook(kUser, TBookGenerator::Password());
    }
    state.counters["records"] = double(sealed);
}

// What the sign-in window does for a user who has signed in before: the
// password checked (on a sealed book: the key opened with it), the user
// moved to the head of the list, and on a sealed book SealBook, which finds
// nothing left to seal. A plain book has no key: the window of an earlier
// Ledgerly did not seal, so neither does this benchmark. Each sign-in
// starts with a new store, as the window gets one.
void signIn(benchmark::State &state, const QString &book, bool sealed) {
    QTemporaryDir dir;
    const QString copy = TBookGenerator::CopyOf(book, dir.path());
    for (auto _ : state) {
        TDbMan db(copy);
        if (!db.CheckPassword(kUser, TBookGenerator::Password()))
            throw std::runtime_error("bench: the password was refused");
        db.ReinsertUser(kUser, TBookGenerator::Password());
        if (sealed && db.SealBook(kUser, TBookGenerator::Password()) != 0)
            throw std::runtime_error("bench: the sealed book had plain records");
    }
}

void BM_SignIn_Plain(benchmark::State &state) {
    signIn(state, TBookGenerator::PlainBookPath(), false);
}
void BM_SignIn_Sealed(benchmark::State &state) {
    signIn(state, TBookGenerator::SealedBookPath(), true);
}

} // namespace

BENCHMARK(BM_SealBook_200k)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SignIn_Plain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SignIn_Sealed)->Unit(benchmark::kMillisecond);
