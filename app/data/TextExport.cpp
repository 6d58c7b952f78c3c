#include "TextExport.h"

#include "Clock.h"
#include "Launcher.h"
#include "MessageService.h"
#include "Paths.h"
#include "Tools.h"

#include <QDir>
#include <QLocale>
#include <QSaveFile>

using namespace Qt::StringLiterals;

QString TextExport::PathFor(const QString& prefix, const QString& extension)
{
    return QDir(InstallPaths::dataDir()).filePath(prefix + Clock::now().toString(u"yyyyMMdd_HHmmss"_s) + extension);
}

TextExport::TextExport(QString path, Encoding encoding)
    : m_path(std::move(path))
    , m_encoding(encoding)
{
    if (m_encoding == Encoding::Utf8)
        m_bytes = QByteArrayLiteral("\xEF\xBB\xBF");
}

void TextExport::line(const QString& text)
{
    m_bytes += m_encoding == Encoding::Utf8 ? text.toUtf8() : ToCp949(text);
    m_bytes += "\r\n";
}

void TextExport::encodedLine(QByteArrayView bytes)
{
    m_bytes += bytes;
    m_bytes += "\r\n";
}

bool TextExport::save()
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(m_bytes) != m_bytes.size() || !file.commit()) {
        m_error = u"화일을 저장할 수 없습니다: "_s + m_path;
        if (!file.errorString().isEmpty())
            m_error += u" ("_s + file.errorString() + u')';
        return false;
    }
    return true;
}

bool TextExport::publish()
{
    if (!save()) {
        ShowMessage(m_error, MsgIcon::Critical);
        return false;
    }
    Launcher::instance().openTextFile(m_path);
    return true;
}

QString PadLeft(const QString& text, int width) { return text.rightJustified(width, u' '); }

QString Grouped(qint64 value)
{
    // One locale for all: an export calls this for each of a million lines.
    static const QLocale english(QLocale::English);
    return english.toString(value);
}
