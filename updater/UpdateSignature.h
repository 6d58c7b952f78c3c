#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// Every install logs in to the server with the same account, so any member could put a file into Update1
// that every other install would then run. Files are therefore signed by the service (Ed25519 over a
// SHA-512 of the message, libsodium's multi-part form, so that a file is checked while it streams in),
// and an install accepts only files signed by the key it was given when it was installed.
//
// What is signed: the file's name, its target as the server row says it, its change stamp and size, then
// its bytes. A signed file cannot be moved onto another target or offered again under another stamp.
namespace UpdateSignature {

inline constexpr int kPublicKeyBytes = 32;
inline constexpr int kSecretKeyBytes = 64;
inline constexpr int kSignatureBytes = 64;

struct KeyPair
{
    QByteArray publicKey;
    QByteArray secretKey;
};
KeyPair Generate();

// Key files hold one line of base64 text. A secret key file is readable by its owner only. The write
// replaces the file in one step; false with a reason when it cannot be written.
bool WriteKeyFile(const QString& path, const QByteArray& key, bool secret, QString* error);
// The key, or empty when the file is missing or does not hold a key of that size.
QByteArray ReadKeyFile(const QString& path, int bytes);

// The public key of an install: BIN/UPDATE.KEY.
QString InstalledKeyFile();

struct FileFacts
{
    QString name;
    QString target;
    QString date;
    qint64 size = 0;
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
