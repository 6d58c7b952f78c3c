#include "WebSite.h"

#include "Paths.h"
#include "Settings.h"

#include <QFileInfo>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace WebSite {

namespace {

bool isAddress(const QString& setting) { return setting.contains(u"://"_s); }

QString fallbackHost() { return u"www.suriball.example"_s; }

} // namespace

QString address(const QString& path)
{
    const QString setting = WebSiteSetting().trimmed();
    if (setting.isEmpty())
        return u"http://"_s + fallbackHost() + (path.isEmpty() ? u"/"_s : path);
    if (isAddress(setting)) {
        QString base = setting;
        while (base.endsWith(u'/'))
            base.chop(1);
        return base + (path.isEmpty() ? u"/"_s : path);
    }
    // A folder of pages: the root is its index page, and pages the real site makes on the fly (.aspx)
    // are shipped as .htm beside their name.
    const QString folder = InstallPaths::resolve(setting);
    QString file = folder + (path.isEmpty() || path == u"/"_s ? u"/index.htm"_s : path);
    if (file.endsWith(u".aspx"_s) && !QFileInfo::exists(file)) {
        const QString htm = file.left(file.size() - 5) + u".htm"_s;
        if (QFileInfo::exists(htm))
            file = htm;
    }
    return QUrl::fromLocalFile(file).toString();
}

QString hostName()
{
    const QString setting = WebSiteSetting().trimmed();
    if (setting.isEmpty())
        return fallbackHost();
    if (isAddress(setting))
        return QUrl(setting).host();
    return u"localhost"_s;
}

} // namespace WebSite
