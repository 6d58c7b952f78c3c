#include "UpdateTargets.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace UpdateTargets {

namespace {

bool hasControl(const QString& text)
{
    for (QChar c : text) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return true;
    }
    return false;
}

// The parts of a relative path, or nothing when one of them climbs or is a drive.
QStringList parts(const QString& relative)
{
    QString text = relative;
    text.replace(u'\\', u'/');
    const QStringList all = text.split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : all) {
        if (part == u"."_s || part == u".."_s || part.contains(u':') || hasControl(part))
            return {};
    }
    return all;
}

// The inside of a folder, matched without regard to case; the exact name wins over a case variant.
QString matchEntry(const QDir& dir, const QString& name)
{
    if (QFileInfo::exists(dir.filePath(name)))
        return name;
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return QString();
}

bool inside(const QString& path, const QString& root)
{
    return path == root || path.startsWith(root.endsWith(u'/') ? root : root + u'/');
}

} // namespace

QString RelativePart(const QString& windowsPath)
{
    QString text = windowsPath.trimmed();
    text.replace(u'/', u'\\');
    const QString prefix = QString::fromUtf16(kWindowsRoot);
    if (!text.startsWith(prefix, Qt::CaseInsensitive))
        return QString();
    return parts(text.mid(prefix.size())).join(u'/');
}

QString WindowsPath(const QString& given)
{
    QString text = given.trimmed();
    text.replace(u'/', u'\\');
    if (text.startsWith(QString::fromUtf16(kWindowsRoot), Qt::CaseInsensitive))
        text = text.mid(qsizetype(std::char_traits<char16_t>::length(kWindowsRoot)));
    else if (text.startsWith(u'\\') || text.contains(u':'))
        return QString(); // another drive or folder
    const QStringList relative = parts(text);
    if (relative.isEmpty())
        return QString();
    return QString::fromUtf16(kWindowsRoot) + relative.join(u'\\');
}

bool NameAcceptable(const QString& name)
{
    return !name.trimmed().isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && !name.contains(u".."_s)
        && !hasControl(name);
}

Resolved Resolve(const QString& windowsPath, const QString& root)
{
    Resolved result;
    const QStringList wanted = RelativePart(windowsPath).split(u'/', Qt::SkipEmptyParts);
    if (wanted.isEmpty()) {
        result.refusal = u"설치 폴더 밖을 가리킵니다"_s;
        return result;
    }
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
    if (canonicalRoot.isEmpty()) {
        result.refusal = u"설치 폴더가 없습니다"_s;
        return result;
    }
    QDir dir(canonicalRoot);
    QString path = canonicalRoot;
    bool onDisk = true;
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        const QString name = onDisk ? matchEntry(dir, wanted[i]) : QString();
        onDisk = onDisk && !name.isEmpty();
        path = dir.filePath(onDisk ? name : wanted[i]);
        const QFileInfo info(path);
        if (onDisk) {
            // A link on the way may point anywhere: what counts is where it leads.
            const QString real = info.canonicalFilePath();
            if (real.isEmpty() || !inside(real, canonicalRoot)) {
                result.refusal = u"설치 폴더 밖으로 이어지는 링크입니다"_s;
                return result;
            }
            const bool last = i == wanted.size() - 1;
            if (last && info.isDir()) {
                result.refusal = u"화일이 아니라 폴더입니다"_s;
                return result;
            }
            if (!last && !info.isDir()) {
                result.refusal = u"경로 중간에 화일이 있습니다"_s;
                return result;
            }
        }
        dir = QDir(path);
    }
    result.path = path;
    result.exists = onDisk;
    return result;
}

} // namespace UpdateTargets
