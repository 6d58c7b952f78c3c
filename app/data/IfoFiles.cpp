#include "IfoFiles.h"

#include "IniFile.h"
#include "MessageService.h"
#include "Paths.h"
#include "Tools.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The profile functions of the desktop read into an 80-byte buffer, one byte of which ends the text.
constexpr int kIfoValueBytes = 79;

QString rightTrimmed(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    text.truncate(end);
    return text;
}

} // namespace

QString IfoPath(const QString& file)
{
    if (file.isEmpty() || file == u"시스템"_s)
        return InstallPaths::systemIfo();
    if (file == u"광고"_s)
        return InstallPaths::prIfo();
    return file;
}

QString ReadIfo(const QString& file, const QString& section, const QString& key)
{
    IniFile ini(IfoPath(file));
    if (!ini.load())
        return QString();
    const QString value = rightTrimmed(CutAtNul(ByteLeft(ini.value(section, key), kIfoValueBytes)));
    // "." keeps a key present whose value is empty.
    return value == u"."_s ? QString() : value;
}

void WriteIfo(const QString& file, const QString& section, const QString& key, const QString& value)
{
    IniFile ini(IfoPath(file));
    ini.load(); // a missing file is made by the write
    if (!ini.setValue(section, key, value.isEmpty() ? u"."_s : value))
        ShowMessage(u"섹션:"_s + section + u" 키값:"_s + key + u" 을 저장하는데 실패하였습니다!"_s);
}

QString ServerSetting()
{
    return ReadIfo(QString(), QString::fromUtf16(kInstallSection), QString::fromUtf16(kServerKey));
}

QString StandbySetting()
{
    return ReadIfo(QString(), QString::fromUtf16(kInstallSection), QString::fromUtf16(kStandbyKey));
}

QString ServerCaSetting()
{
    return ReadIfo(QString(), QString::fromUtf16(kInstallSection), QString::fromUtf16(kServerCaKey));
}

int ConnectTimeoutSetting()
{
    bool ok = false;
    const int seconds = ReadIfo(QString(), QString::fromUtf16(kInstallSection), QString::fromUtf16(kConnectTimeoutKey))
                            .trimmed()
                            .toInt(&ok);
    // libpq takes less than two seconds as two.
    return ok ? std::clamp(seconds, 2, 60) : 10;
}

QString WebSiteSetting()
{
    return ReadIfo(QString(), QString::fromUtf16(kInstallSection), QString::fromUtf16(kWebKey));
}
