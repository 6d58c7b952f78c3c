#include "IniFile.h"

#include "Tools.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace {

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// The section named by a "[name]" line, or a null text for any other line.
QString sectionOf(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(u'['))
        return QString();
    const qsizetype close = trimmed.indexOf(u']');
    return trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
}

bool isComment(const QString& line) { return line.trimmed().startsWith(u';'); }

bool looksLikeUtf8(const QByteArray& bytes)
{
    bool wide = false;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            wide = true;
            break;
        }
    }
    if (!wide)
        return false;
    QStringDecoder strict(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    (void)QString(strict.decode(bytes));
    return !strict.hasError();
}

} // namespace

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{
}

bool IniFile::load()
{
    m_lines.clear();
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_unreadable = file.exists();
        return false;
    }
    m_unreadable = false;
    QByteArray bytes = file.readAll();
    m_utf8Mark = bytes.startsWith("\xEF\xBB\xBF");
    if (m_utf8Mark)
        bytes.remove(0, 3);
    m_utf8 = m_utf8Mark || looksLikeUtf8(bytes);
    QString text = m_utf8 ? QString::fromUtf8(bytes) : FromCp949(bytes);
    m_lineEnd = text.contains(u"\r\n"_s) || !text.contains(u'\n') ? u"\r\n"_s : u"\n"_s;
    text.replace(u"\r\n"_s, u"\n"_s);
    m_lines = text.split(u'\n');
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast(); // the line end of the last line
    for (QString& line : m_lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return true;
}

IniFile::Found IniFile::find(const QString& section, const QString& key) const
{
    Found found;
    bool inside = false;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString& line = m_lines[i];
        const QString name = sectionOf(line);
        if (!name.isNull()) {
            if (found.sectionLine >= 0)
                break; // only the first section of that name counts
            inside = sameName(name, section);
            if (inside)
                found.sectionLine = found.lastLine = i;
            continue;
        }
        if (!inside || line.trimmed().isEmpty())
            continue;
        found.lastLine = i;
        if (found.keyLine >= 0 || isComment(line))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals >= 0 && sameName(line.left(equals).trimmed(), key))
            found.keyLine = i;
    }
    return found;
}

QString IniFile::value(const QString& section, const QString& key) const
{
    const Found found = find(section.trimmed(), key.trimmed());
    if (found.keyLine < 0)
        return QString();
    const QString& line = m_lines[found.keyLine];
    QString value = line.mid(line.indexOf(u'=') + 1);
    if (value.isNull())
        value = u""_s;
    return value;
}

bool IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    if (m_unreadable)
        return false;
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    // A name that the format cannot hold would make the file mean something else when read back.
    if (sectionName.isEmpty() || keyName.isEmpty() || sectionName.contains(u']') || keyName.contains(u'=')
        || keyName.startsWith(u'[') || keyName.startsWith(u';'))
        return false;
    for (const QString& name : {sectionName, keyName}) {
        if (name.contains(u'\n') || name.contains(u'\r') || name.contains(QChar(u'\0')))
            return false;
    }
    QString flat = CutAtNul(value);
    flat.replace(u'\r', u' ').replace(u'\n', u' ');

    const Found found = find(sectionName, keyName);
    if (found.keyLine >= 0) {
        const QString& old = m_lines[found.keyLine];
        m_lines[found.keyLine] = old.left(old.indexOf(u'=')).trimmed() + u'=' + flat;
    } else if (found.sectionLine >= 0) {
        m_lines.insert(found.lastLine + 1, keyName + u'=' + flat);
    } else {
        m_lines.append(u'[' + sectionName + u']');
        m_lines.append(keyName + u'=' + flat);
    }
    return save();
}

bool IniFile::save() const
{
    QString text = m_lines.join(m_lineEnd);
    text += m_lineEnd;
    QByteArray bytes = m_utf8 ? text.toUtf8() : ToCp949(text);
    if (m_utf8Mark)
        bytes.prepend("\xEF\xBB\xBF");
    // Written beside the old file and renamed over it, so a failure never leaves half a file.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}
