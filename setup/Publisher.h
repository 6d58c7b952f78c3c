#pragma once

#include "Connection.h"
#include "ReleaseManifest.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Offering new files to every install. Each release is described as a whole, every file the installs
// should hold with its target, stamp, size and SHA-256, and that description is signed with the service's
// key into the server's Release1; the files go into Update1, each also signed on its own for updaters from
// before releases were signed; and the stamp goes into the draw-progress text, so that every member's next
// start fetches them.
namespace Publisher {

struct Item
{
    QString file; // on this machine
    QString target; // in the server's form, "C:\VELTRA\수리볼\…"
};

// "FILE=TARGET"; the target in the server's form or relative to the install root. Throws SetupError.
Item ParseItem(const QString& argument);

// The demo keeps its private key beside its server file: VELTRA1.db → VELTRA1.key.
QString KeyBesideServer(const QString& serverFile);

// The hand-overs that lead to a key, kept beside its key file (KEY.chain): each earlier key of the
// service signing the next. Empty for a key that was never handed over to. Throws SetupError when the file
// is there but cannot be read.
QList<ReleaseManifest::KeyHandOver> ReadChain(const QString& keyFile);

// Hands the service over from the key in oldKeyFile to the one in newKeyFile (made when it is not there
// yet): the new public key signed by the old secret one, after the old key's own chain, goes into
// newKeyFile's chain file. Releases published with the new key carry it, and installs that hold an older
// key of the chain take the new one with the release. Throws SetupError.
void RotateKey(const QString& oldKeyFile, const QString& newKeyFile);

struct Published
{
    QString previous; // the stamp of the release this one follows, if there was one
    QStringList dropped; // rows of Update1 and Release1 the service never signed, removed
};

// The release: the files of the last release signed with this key (or one of its chain), each checked
// byte by byte against the server's row, with the items added or replaced, under the new stamp. The
// stamp must be ten digits starting with a real date, and later, as text, than the last signed release;
// before the first, than every file signed on its own and than the files stamp in the draw-progress text,
// unless that names a day still to come (the text is anyone's to write). Rows no signed release holds are
// removed. Everything lands in one transaction. Throws SetupError.
Published Publish(const Connection& server,
                  const QString& stamp,
                  const QByteArray& secretKey,
                  const QList<Item>& items,
                  const QList<ReleaseManifest::KeyHandOver>& chain = {});

// The draw-progress text with stamp in bytes 42–51 of its CP949 form and every other byte as it was;
// throws SetupError when the text is too short or the field does not start and end on a character.
QString WithFilesStamp(const QString& progressText, const QString& stamp);

} // namespace Publisher
