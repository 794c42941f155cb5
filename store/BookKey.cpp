#include "store/BookKey.h"

#include "store/DbError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QVarLengthArray>

#include <sodium.h>

#include <cstring>
#include <mutex>

namespace {

// A wrapped key: 1 | key id (4) | passes (4, LE) | memory in KiB (4, LE) |
// salt (16) | nonce (24) | the key sealed (32 + 16). Everything before the
// nonce is bound to the sealed key, with the user's stored name.
constexpr char kWrapVersion = 1;
constexpr int kHeaderSize = 1 + 4 + 4 + 4 + crypto_pwhash_SALTBYTES;
constexpr int kWrappedSize = kHeaderSize + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES +
                             crypto_aead_xchacha20poly1305_ietf_KEYBYTES +
                             crypto_aead_xchacha20poly1305_ietf_ABYTES;

// A sealed value: 2 | key id (4) | nonce (24) | text sealed (+ 16). The
// first five bytes are bound with the value's context. A stored plain value
// is Base64 text, which never starts with the byte 2.
constexpr char kSealVersion = 2;
constexpr int kSealHeader = 1 + 4;
constexpr int kNonce = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
static_assert(TBookKey::kSealOverhead ==
              kSealHeader + kNonce + crypto_aead_xchacha20poly1305_ietf_ABYTES);

// The work of deriving a key from a password: the password hash's, never
// less, and never more than that (see Unwrap).
const quint32 kPasses = crypto_pwhash_OPSLIMIT_INTERACTIVE;
const quint32 kMemoryKiB = crypto_pwhash_MEMLIMIT_INTERACTIVE / 1024;

[[noreturn]] void fail(const QString &message) {
    throw TDbError(message);
}

void ensureSodium() {
    if (!TBookKey::SodiumReady())
        fail(QCoreApplication::translate("TDbMan",
                                         "The encryption library could not be initialised."));
}

void putLe32(unsigned char *to, quint32 value) {
    for (int i = 0; i < 4; ++i)
        to[i] = static_cast<unsigned char>(value >> (8 * i));
}

quint32 getLe32(const unsigned char *from) {
    quint32 value = 0;
    for (int i = 0; i < 4; ++i)
        value |= quint32(from[i]) << (8 * i);
    return value;
}

// The bytes of a view; never null, which libsodium does not take for an
// empty text.
const unsigned char *bytes(QByteArrayView view) {
    static const unsigned char none = 0;
    return view.data() ? reinterpret_cast<const unsigned char *>(view.data()) : &none;
}

// The key that wraps the data key, derived from the password; false when
// the library has not the memory for it.
bool deriveWrappingKey(unsigned char *out, const QString &password, const unsigned char *salt,
                       quint32 passes, quint32 memoryKiB) {
    const QByteArray plain = password.toUtf8();
    return crypto_pwhash(out, crypto_aead_xchacha20poly1305_ietf_KEYBYTES, plain.constData(),
                         quint64(plain.size()), salt, passes, size_t(memoryKiB) * 1024,
                         crypto_pwhash_ALG_ARGON2ID13) == 0;
}

// The associated data of a sealed or wrapped value: its first `headerSize`
// bytes and what it is bound to (on the stack: a value is opened per record
// read).
using TAd = QVarLengthArray<unsigned char, 512>;
void fillAd(TAd &ad, const unsigned char *header, int headerSize, QByteArrayView boundTo) {
    ad.resize(headerSize + boundTo.size());
    std::memcpy(ad.data(), header, size_t(headerSize));
    if (!boundTo.isEmpty())
        std::memcpy(ad.data() + headerSize, boundTo.data(), size_t(boundTo.size()));
}

// A buffer of a secret: locked, and wiped when it goes.
class SecretBuffer {
public:
    explicit SecretBuffer(size_t size) : FData(static_cast<unsigned char *>(sodium_malloc(size))) {
        if (!FData)
            fail(QCoreApplication::translate("TDbMan", "Out of memory while protecting a key."));
    }
    ~SecretBuffer() { sodium_free(FData); }
    SecretBuffer(const SecretBuffer &) = delete;
    SecretBuffer &operator=(const SecretBuffer &) = delete;
    unsigned char *Data() const { return FData; }

private:
    unsigned char *FData;
};

} // namespace

bool TBookKey::SodiumReady() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = sodium_init() >= 0; });
    return ready;
}

struct TBookKey::TSecret {
    unsigned char Key[crypto_aead_xchacha20poly1305_ietf_KEYBYTES];
    unsigned char HashKey[crypto_generichash_KEYBYTES];
    unsigned char Id[4];
};

TBookKey::TBookKey(TSecret *secret) : FSecret(secret) {
    // The hash key is a key of its own, derived from the data key.
    crypto_kdf_derive_from_key(FSecret->HashKey, sizeof FSecret->HashKey, 1, "LdgrHash",
                               FSecret->Key);
    sodium_mprotect_readonly(FSecret);
}

TBookKey::~TBookKey() {
    sodium_free(FSecret); // wipes it
}

TBookKey::TSecret *TBookKey::NewSecret() {
    ensureSodium();
    auto *secret = static_cast<TBookKey::TSecret *>(sodium_malloc(sizeof(TBookKey::TSecret)));
    if (!secret)
        fail(QCoreApplication::translate("TDbMan", "Out of memory while protecting a key."));
    return secret;
}

std::shared_ptr<const TBookKey> TBookKey::Generate() {
    TSecret *secret = NewSecret();
    crypto_aead_xchacha20poly1305_ietf_keygen(secret->Key);
    randombytes_buf(secret->Id, sizeof secret->Id);
    return std::shared_ptr<const TBookKey>(new TBookKey(secret));
}

bool TBookKey::IsWrapped(QByteArrayView stored) {
    return stored.size() == kWrappedSize && stored[0] == kWrapVersion;
}

std::shared_ptr<const TBookKey> TBookKey::Unwrap(QByteArrayView wrapped, QByteArrayView user,
                                                 const QString &password, const QString &dataFile) {
    ensureSodium();
    const QString file = QDir::toNativeSeparators(QFileInfo(dataFile).absoluteFilePath());
    if (!IsWrapped(wrapped))
        fail(QCoreApplication::translate("TDbMan",
                                         "The key of this user in the data file \"%1\" is "
                                         "damaged, so the book cannot be opened. Restore a "
                                         "backup of the data file.")
                 .arg(file));
    const unsigned char *header = bytes(wrapped);
    const quint32 passes = getLe32(header + 5), memoryKiB = getLe32(header + 9);
    // A changed file must not be able to freeze the sign-in, nor to make it
    // derive a weak key.
    if (passes != kPasses || memoryKiB != kMemoryKiB)
        fail(QCoreApplication::translate(
                 "TDbMan", "The key of this user asks for %1 MiB and %2 passes, where Ledgerly "
                           "uses %3 MiB and %4 passes, so it is not opened. The data file \"%5\" "
                           "may have been changed by another program; restore a backup of it.")
                 .arg(memoryKiB / 1024)
                 .arg(passes)
                 .arg(kMemoryKiB / 1024)
                 .arg(kPasses)
                 .arg(file));
    SecretBuffer wrapping(crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
    if (!deriveWrappingKey(wrapping.Data(), password, header + 13, passes, memoryKiB))
        fail(QCoreApplication::translate("TDbMan", "Out of memory while opening the book's key."));
    TAd ad;
    fillAd(ad, header, kHeaderSize, user);
    TSecret *secret = NewSecret();
    const unsigned char *nonce = header + kHeaderSize;
    const unsigned char *sealed = nonce + kNonce;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            secret->Key, nullptr, nullptr, sealed, kWrappedSize - kHeaderSize - kNonce, ad.data(),
            quint64(ad.size()), nonce, wrapping.Data()) != 0) {
        sodium_free(secret);
        return nullptr; // not this password
    }
    std::memcpy(secret->Id, header + 1, sizeof secret->Id);
    return std::shared_ptr<const TBookKey>(new TBookKey(secret));
}

QByteArray TBookKey::Wrap(QByteArrayView user, const QString &password) const {
    QByteArray out(kWrappedSize, Qt::Uninitialized);
    auto *header = reinterpret_cast<unsigned char *>(out.data());
    header[0] = kWrapVersion;
    std::memcpy(header + 1, FSecret->Id, 4);
    putLe32(header + 5, kPasses);
    putLe32(header + 9, kMemoryKiB);
    randombytes_buf(header + 13, crypto_pwhash_SALTBYTES);
    unsigned char *nonce = header + kHeaderSize;
    randombytes_buf(nonce, kNonce);
    SecretBuffer wrapping(crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
    if (!deriveWrappingKey(wrapping.Data(), password, header + 13, kPasses, kMemoryKiB))
        fail(QCoreApplication::translate("TDbMan", "Out of memory while protecting the password."));
    TAd ad;
    fillAd(ad, header, kHeaderSize, user);
    crypto_aead_xchacha20poly1305_ietf_encrypt(nonce + kNonce, nullptr, FSecret->Key,
                                               sizeof FSecret->Key, ad.data(), quint64(ad.size()),
                                               nullptr, nonce, wrapping.Data());
    return out;
}

QByteArray TBookKey::Seal(QByteArrayView plain, QByteArrayView context) const {
    QByteArray out(plain.size() + kSealOverhead, Qt::Uninitialized);
    auto *header = reinterpret_cast<unsigned char *>(out.data());
    header[0] = kSealVersion;
    std::memcpy(header + 1, FSecret->Id, 4);
    unsigned char *nonce = header + kSealHeader;
    randombytes_buf(nonce, kNonce);
    TAd ad;
    fillAd(ad, header, kSealHeader, context);
    crypto_aead_xchacha20poly1305_ietf_encrypt(nonce + kNonce, nullptr, bytes(plain),
                                               quint64(plain.size()), ad.data(), quint64(ad.size()),
                                               nullptr, nonce, FSecret->Key);
    return out;
}

bool TBookKey::IsSealed(QByteArrayView stored) {
    return stored.size() >= kSealOverhead && stored[0] == kSealVersion;
}

bool TBookKey::Sealed(QByteArrayView sealed) const {
    return IsSealed(sealed) && std::memcmp(sealed.data() + 1, FSecret->Id, 4) == 0;
}

qsizetype TBookKey::Open(QByteArrayView sealed, QByteArrayView context, char *out) const {
    if (!IsSealed(sealed))
        return -1;
    const unsigned char *header = bytes(sealed);
    TAd ad;
    fillAd(ad, header, kSealHeader, context);
    unsigned long long size = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            reinterpret_cast<unsigned char *>(out), &size, nullptr, header + kSealHeader + kNonce,
            quint64(sealed.size() - kSealHeader - kNonce), ad.data(), quint64(ad.size()),
            header + kSealHeader, FSecret->Key) != 0)
        return -1;
    return qsizetype(size);
}

bool TBookKey::Open(QByteArrayView sealed, QByteArrayView context, QByteArray &out) const {
    out.resize(std::max<qsizetype>(sealed.size(), 1));
    const qsizetype size = Open(sealed, context, out.data());
    out.resize(std::max<qsizetype>(size, 0));
    return size >= 0;
}

QByteArray TBookKey::Hash(QByteArrayView text) const {
    QByteArray out(16, Qt::Uninitialized);
    crypto_generichash(reinterpret_cast<unsigned char *>(out.data()), 16, bytes(text),
                       quint64(text.size()), FSecret->HashKey, sizeof FSecret->HashKey);
    return out;
}
