#include "FilePlacement.h"

#include "UpdateSignature.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace FilePlacement {

namespace {

bool syncToDisk(QFile& file)
{
    if (!file.flush())
        return false;
#ifndef Q_OS_WIN
    return ::fsync(file.handle()) == 0;
#else
    return true;
#endif
}

bool renameOver(const QString& from, const QString& to, QString* error)
{
    std::error_code code;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(to.toStdU16String()),
                            code);
    if (code && error)
        *error = QString::fromLocal8Bit(code.message());
    return !code;
}

bool readOnly(const QFileInfo& info)
{
    // The permission bits, not what the current user may do: a file marked read-only is protected on
    // purpose, also from an updater that runs with more rights than it needs.
    return !(info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
}

} // namespace

QString StagingPath(const QString& target) { return target + u".업데이트"_s; }

bool CopyBytes(const QString& from, const QString& to, QString* error)
{
    QFile in(from);
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = in.fileName() + u": "_s + in.errorString();
        return false;
    }
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = out.fileName() + u": "_s + out.errorString();
        return false;
    }
    constexpr qint64 kPiece = 1024 * 1024;
    while (!in.atEnd()) {
        const QByteArray piece = in.read(kPiece);
        if (piece.isEmpty() && in.error() != QFileDevice::NoError) {
            *error = in.fileName() + u": "_s + in.errorString();
            return false;
        }
        if (out.write(piece) != piece.size()) {
            *error = out.fileName() + u": "_s + out.errorString();
            out.close();
            QFile::remove(to);
            return false;
        }
    }
    if (!syncToDisk(out)) {
        *error = out.fileName() + u": "_s + out.errorString();
        out.close();
        QFile::remove(to);
        return false;
    }
    return true;
}

bool Place(const QString& source, const QString& target, const QString& backup, QString* error)
{
    const QFileInfo info(target);
    const bool existed = info.exists();
    if (existed && readOnly(info)) {
        *error = u"읽기 전용 화일입니다"_s;
        return false;
    }
    if (!QDir().mkpath(info.absolutePath())) {
        *error = u"폴더를 만들 수 없습니다: "_s + info.absolutePath();
        return false;
    }
    QFile::remove(backup);
    if (existed && !CopyBytes(target, backup, error))
        return false;
    const QString staging = StagingPath(target);
    QFile::remove(staging);
    if (!CopyBytes(source, staging, error))
        return false;
    const QFile::Permissions permissions
        = existed ? info.permissions() : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    QFile::setPermissions(staging, permissions);
    if (!renameOver(staging, target, error)) {
        QFile::remove(staging);
        return false;
    }
    return true;
}

QByteArray Sha256Of(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    UpdateSignature::Sha256 hash;
    while (!file.atEnd()) {
        const QByteArray piece = file.read(1024 * 1024);
        if (piece.isEmpty())
            return QByteArray();
        hash.add(piece);
    }
    return hash.result();
}

bool Restore(const QString& target, const QString& backup, bool existed, QString* error)
{
    if (!existed)
        return QFile::remove(target) || !QFileInfo::exists(target);
    const QString staging = StagingPath(target);
    const QFile::Permissions permissions = QFileInfo(target).permissions();
    if (!CopyBytes(backup, staging, error))
        return false;
    QFile::setPermissions(staging, permissions);
    if (!renameOver(staging, target, error)) {
        QFile::remove(staging);
        return false;
    }
    return true;
}

} // namespace FilePlacement
