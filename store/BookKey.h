#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

// The data key of one user's book: 32 random bytes, kept in memory that
// libsodium locks (never swapped out) and wipes when it is freed. What the
// user typed into the book (categories, amounts, notes, rules, profiles,
// budgets, recurring entries) is sealed with it in the data file, each value
// bound to where it is stored. The key itself is stored only wrapped under
// a key derived from the user's password (Argon2id), so it is never written
// readable, logged or shown.
class TBookKey {
public:
    // Bytes a sealed value adds to its plain text.
    static constexpr int kSealOverhead = 1 + 4 + 24 + 16;

    // Whether libsodium is ready for use (it is set up on the first call).
    static bool SodiumReady();

    // A new random key.
    static std::shared_ptr<const TBookKey> Generate();
    // The key wrapped in `wrapped` (by Wrap, for the same `user`) opened
    // with `password`; null when the password does not open it. Raises
    // TDbError when the wrapped key is not one Ledgerly makes, or asks for
    // more work than Ledgerly ever uses (a changed file must not freeze the
    // sign-in); `dataFile` names the file in that message.
    static std::shared_ptr<const TBookKey> Unwrap(QByteArrayView wrapped, QByteArrayView user,
                                                  const QString &password, const QString &dataFile);
    // Whether `stored` looks like a wrapped key at all (else the user has
    // none yet).
    static bool IsWrapped(QByteArrayView stored);

    ~TBookKey();
    TBookKey(const TBookKey &) = delete;
    TBookKey &operator=(const TBookKey &) = delete;

    // This key wrapped under `password` for the stored user name `user`,
    // with a new salt: two wraps of one key never look alike.
    QByteArray Wrap(QByteArrayView user, const QString &password) const;

    // `plain` sealed (XChaCha20-Poly1305 with a random nonce) and bound to
    // `context`: opened with another context (another record, table or
    // user) it does not open.
    QByteArray Seal(QByteArrayView plain, QByteArrayView context) const;
    // Opens a sealed value into `out` (at least sealed.size() bytes) and
    // returns the size of its plain text; -1 when it does not open (damaged,
    // or sealed for another place).
    qsizetype Open(QByteArrayView sealed, QByteArrayView context, char *out) const;
    // The same into a byte array; false when it does not open.
    bool Open(QByteArrayView sealed, QByteArrayView context, QByteArray &out) const;
    // Whether the value was sealed with this key. A value of another key
    // belongs to an account deleted before this one was made under the same
    // name: it is no part of this book.
    bool Sealed(QByteArrayView sealed) const;
    // Whether a stored value is a sealed one of any key (else it is plain).
    static bool IsSealed(QByteArrayView stored);

    // A keyed hash of `text` (16 bytes): equal texts give equal hashes, so
    // a value can be looked up without keeping it readable.
    QByteArray Hash(QByteArrayView text) const;

private:
    struct TSecret;
    static TSecret *NewSecret();
    explicit TBookKey(TSecret *secret);
    TSecret *FSecret; // in memory of libsodium's own: locked, wiped when freed
};
