#include "UpdateSignature.h"

#include <sodium.h>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace UpdateSignature {

namespace {

void ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw std::runtime_error("libsodium cannot start");
}

void addField(crypto_sign_state* state, const QByteArray& field)
{
    // Each field with its length in front, so that no two different sets of fields read alike.
    const quint64 length = quint64(field.size());
    unsigned char prefix[8];
    for (int i = 0; i < 8; ++i)
        prefix[i] = static_cast<unsigned char>(length >> (8 * i));
    crypto_sign_update(state, prefix, sizeof prefix);
    crypto_sign_update(state, reinterpret_cast<const unsigned char*>(field.constData()), length);
}

// What is signed starts with what it is, so that no signature of one kind passes for another.
QByteArray tagged(const char* what, const QByteArray& bytes) { return QByteArray(what) + '\0' + bytes; }

QByteArray signDetached(const QByteArray& message, const QByteArray& secretKey)
{
    ensureSodium();
    if (secretKey.size() != kSecretKeyBytes)
        return QByteArray();
    QByteArray signature(kSignatureBytes, '\0');
    crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()),
                         nullptr,
                         reinterpret_cast<const unsigned char*>(message.constData()),
                         quint64(message.size()),
                         reinterpret_cast<const unsigned char*>(secretKey.constData()));
    return signature;
}

bool verifyDetached(const QByteArray& message, const QByteArray& signature, const QByteArray& publicKey)
{
    ensureSodium();
    if (signature.size() != kSignatureBytes || publicKey.size() != kPublicKeyBytes)
        return false;
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(signature.constData()),
                                       reinterpret_cast<const unsigned char*>(message.constData()),
                                       quint64(message.size()),
                                       reinterpret_cast<const unsigned char*>(publicKey.constData()))
        == 0;
}

} // namespace

static_assert(crypto_sign_PUBLICKEYBYTES == kPublicKeyBytes);
static_assert(crypto_sign_SECRETKEYBYTES == kSecretKeyBytes);
static_assert(crypto_sign_BYTES == kSignatureBytes);

KeyPair Generate()
{
    ensureSodium();
    KeyPair pair;
    pair.publicKey.resize(kPublicKeyBytes);
    pair.secretKey.resize(kSecretKeyBytes);
    crypto_sign_keypair(reinterpret_cast<unsigned char*>(pair.publicKey.data()),
                        reinterpret_cast<unsigned char*>(pair.secretKey.data()));
    return pair;
}

QByteArray PublicKeyOf(const QByteArray& secretKey)
{
    ensureSodium();
    if (secretKey.size() != kSecretKeyBytes)
        return QByteArray();
    QByteArray publicKey(kPublicKeyBytes, '\0');
    crypto_sign_ed25519_sk_to_pk(reinterpret_cast<unsigned char*>(publicKey.data()),
                                 reinterpret_cast<const unsigned char*>(secretKey.constData()));
    return publicKey;
}

QByteArray SignRelease(const QByteArray& manifest, const QByteArray& secretKey)
{
    return signDetached(tagged("suriball release 1", manifest), secretKey);
}

bool VerifyRelease(const QByteArray& manifest, const QByteArray& signature, const QByteArray& publicKey)
{
    return verifyDetached(tagged("suriball release 1", manifest), signature, publicKey);
}

QByteArray SignKeyHandOver(const QByteArray& nextPublicKey, const QByteArray& secretKey)
{
    return signDetached(tagged("suriball next key 1", nextPublicKey), secretKey);
}

bool VerifyKeyHandOver(const QByteArray& nextPublicKey, const QByteArray& signature, const QByteArray& publicKey)
{
    return nextPublicKey.size() == kPublicKeyBytes
        && verifyDetached(tagged("suriball next key 1", nextPublicKey), signature, publicKey);
}

struct Sha256::State
{
    crypto_hash_sha256_state hash;
};

Sha256::Sha256()
    : m_state(std::make_unique<State>())
{
    ensureSodium();
    crypto_hash_sha256_init(&m_state->hash);
}

Sha256::~Sha256() = default;

void Sha256::add(const QByteArray& bytes)
{
    crypto_hash_sha256_update(&m_state->hash,
                              reinterpret_cast<const unsigned char*>(bytes.constData()),
                              quint64(bytes.size()));
}

QByteArray Sha256::result()
{
    QByteArray digest(crypto_hash_sha256_BYTES, '\0');
    crypto_hash_sha256_final(&m_state->hash, reinterpret_cast<unsigned char*>(digest.data()));
    return digest;
}

struct Stream::State
{
    crypto_sign_state sign;
};

Stream::Stream(const FileFacts& facts)
    : m_state(std::make_unique<State>())
{
    ensureSodium();
    crypto_sign_init(&m_state->sign);
    addField(&m_state->sign, QByteArrayLiteral("suriball update 1"));
    addField(&m_state->sign, facts.name.toUtf8());
    addField(&m_state->sign, facts.target.toUtf8());
    addField(&m_state->sign, facts.date.toUtf8());
    addField(&m_state->sign, QByteArray::number(facts.size));
}

Stream::~Stream() { sodium_memzero(m_state.get(), sizeof(State)); }

void Stream::add(const QByteArray& bytes)
{
    crypto_sign_update(&m_state->sign,
                       reinterpret_cast<const unsigned char*>(bytes.constData()),
                       quint64(bytes.size()));
}

QByteArray Stream::sign(const QByteArray& secretKey)
{
    if (secretKey.size() != kSecretKeyBytes)
        return QByteArray();
    QByteArray signature(kSignatureBytes, '\0');
    crypto_sign_final_create(&m_state->sign,
                             reinterpret_cast<unsigned char*>(signature.data()),
                             nullptr,
                             reinterpret_cast<const unsigned char*>(secretKey.constData()));
    return signature;
}

bool Stream::verify(const QByteArray& signature, const QByteArray& publicKey)
{
    if (signature.size() != kSignatureBytes || publicKey.size() != kPublicKeyBytes)
        return false;
    // libsodium takes the signature as writable, though it only reads it.
    QByteArray copy = signature;
    return crypto_sign_final_verify(&m_state->sign,
                                    reinterpret_cast<unsigned char*>(copy.data()),
                                    reinterpret_cast<const unsigned char*>(publicKey.constData()))
        == 0;
}

} // namespace UpdateSignature
