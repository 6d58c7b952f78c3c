#include "UpdateFiles.h"

#include "Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace UpdateFiles {

bool WriteKeyFile(const QString& path, const QByteArray& key, bool secret, QString* error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    const QByteArray text = key.toBase64() + '\n';
    const bool written = file.open(QIODevice::WriteOnly)
        && file.setPermissions(secret ? QFile::ReadOwner | QFile::WriteOwner
                                      : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther)
        && file.write(text) == text.size() && file.commit();
    if (!written && error)
        *error = file.errorString();
    return written;
}

QByteArray ReadKeyFile(const QString& path, int bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    const auto decoded
        = QByteArray::fromBase64Encoding(file.read(4096).trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != bytes)
        return QByteArray();
    return decoded.decoded;
}

bool InstallHasKey() { return !ReadKeyFile(InstallPaths::updateKey(), kPublicKeyBytes).isEmpty(); }

bool CopyInterrupted() { return QFileInfo::exists(InstallPaths::updateJournal()); }

// One "name=value" line per field; names the note does not know are passed over, so that a later note
// read by an older program does not stop it.
Note ReadNote()
{
    Note note;
    QFile file(InstallPaths::updateNote());
    if (!file.open(QIODevice::ReadOnly))
        return note;
    for (const QByteArray& raw : file.read(4096).split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString name = line.left(equals);
        const QString value = line.mid(equals + 1);
        if (name == u"refused"_s)
            note.refused = QString::fromUtf8(QByteArray::fromPercentEncoding(value.toUtf8()));
        else if (name == u"told"_s)
            note.told = value == u"1"_s;
        else if (name == u"skip-once"_s)
            note.skipOnce = value == u"1"_s;
        else if (name == u"told-no-key"_s)
            note.toldNoKey = value == u"1"_s;
    }
    return note;
}

bool WriteNote(const Note& note)
{
    const QString path = InstallPaths::updateNote();
    if (note == Note())
        return QFile::remove(path) || !QFileInfo::exists(path);
    QByteArray text;
    if (!note.refused.isEmpty())
        text += "refused=" + note.refused.toUtf8().toPercentEncoding() + '\n'; // the server's text, as it came
    if (note.told)
        text += "told=1\n";
    if (note.skipOnce)
        text += "skip-once=1\n";
    if (note.toldNoKey)
        text += "told-no-key=1\n";
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}

} // namespace UpdateFiles
