#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The description of a release that the service signs as a whole (UpdateSignature::SignRelease): its
// stamp, and every file the release is made of with its name, target, stamp, size and SHA-256. The rows
// of the server's Update1 must be exactly these files, so nobody can leave a file out, add one, swap one
// or raise the stamp without the service's key. The service's next public key, signed by the key before
// it, may ride along, so that installs follow a change of key.
//
// Stored as JSON in the server's Release1, one row per release, where updaters from before releases were
// signed never look.
struct ReleaseManifest
{
    struct File
    {
        QString name;
        QString target; // the server's form, "C:\VELTRA\수리볼\…"
        QString date; // the stamp of the release that brought this version
        qint64 size = 0;
        QByteArray sha256;
    };
    // The key `to` handed over to by the key `from`.
    struct KeyHandOver
    {
        QByteArray from;
        QByteArray to;
        QByteArray signature;
    };

    // A description longer than this is not read.
    static constexpr qint64 kMaxBytes = 4 * 1024 * 1024;

    QString stamp;
    QList<KeyHandOver> keys;
    QList<File> files;

    QByteArray compose() const;
    // The description, or nothing with the reason in *why: not JSON, a field missing or of another kind, a
    // stamp that is not one, a file of no size or without its SHA-256, a name twice or not acceptable, a
    // file newer than the release.
    static std::optional<ReleaseManifest> parse(const QByteArray& bytes, QString* why);

    // The key that signed the description: the trusted key itself, or the key it hands over to along the
    // description's own hand-overs. Empty when neither signed it.
    static QByteArray Signer(const QByteArray& bytes, const QByteArray& signature, const QByteArray& trusted);

    // Ten digits beginning with a real date (YYYYMMDD); stamps compare as text.
    static bool ValidStamp(const QString& stamp);
};
