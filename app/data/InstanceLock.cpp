#include "InstanceLock.h"

#include "Paths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

std::unique_ptr<QLockFile> TakeInstanceLock(const QString& name)
{
    // Per install root: two installs may run side by side, one install only once.
    const QByteArray rootHash
        = QCryptographicHash::hash(InstallPaths::root().toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    const QString path = QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
                             .filePath(name + u'-' + QString::fromLatin1(rootHash) + u".lock"_s);
    auto lock = std::make_unique<QLockFile>(path);
    // Age never makes the lock stale (the program runs for days); a lock whose owner is gone is taken over.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}
