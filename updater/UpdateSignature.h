#pragma once

#include "UpdateFiles.h"

#include <QByteArray>
#include <QString>

#include <memory>

// Every install logs in to the server with the same account, so any member could put a file into Update1
// that every other install would then run. What the service offers is therefore signed (Ed25519,
// libsodium), and an install accepts only what the key it was given when it was installed, or a key that
// key handed over to, has signed.
//
// Three things are signed. A release: the description of every file the release is made of, with its
// stamp (ReleaseManifest); this is what the updater trusts. A key handed over to: the service's next
// public key, signed by the key before it. And each file on its own (name, target, stamp, size, then its
// bytes, in the multi-part form so that a file is checked while it streams in): updaters from before
// releases were signed check only that, so every file still carries it.
namespace UpdateSignature {

inline constexpr int kPublicKeyBytes = UpdateFiles::kPublicKeyBytes;
inline constexpr int kSecretKeyBytes = 64;
inline constexpr int kSignatureBytes = 64;

struct KeyPair
{
    QByteArray publicKey;
    QByteArray secretKey;
};
KeyPair Generate();
// The public half of a secret key.
QByteArray PublicKeyOf(const QByteArray& secretKey);

// A release description, signed as a whole.
QByteArray SignRelease(const QByteArray& manifest, const QByteArray& secretKey);
bool VerifyRelease(const QByteArray& manifest, const QByteArray& signature, const QByteArray& publicKey);

// The service's next public key, signed by the secret key before it.
QByteArray SignKeyHandOver(const QByteArray& nextPublicKey, const QByteArray& secretKey);
bool VerifyKeyHandOver(const QByteArray& nextPublicKey, const QByteArray& signature, const QByteArray& publicKey);

struct FileFacts
{
    QString name;
    QString target;
    QString date;
    qint64 size = 0;
};

// The SHA-256 of bytes as they go by (libsodium's, about twice as fast as Qt's).
class Sha256
{
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void add(const QByteArray& bytes);
    QByteArray result();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// One file's signature, made or checked as its bytes go by.
class Stream
{
public:
    explicit Stream(const FileFacts& facts);
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    void add(const QByteArray& bytes);
    QByteArray sign(const QByteArray& secretKey);
    bool verify(const QByteArray& signature, const QByteArray& publicKey);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace UpdateSignature
