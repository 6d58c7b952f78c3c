#include "WebSite.h"

#include "Launcher.h"
#include "MessageService.h"
#include "Paths.h"
#include "Settings.h"

#include <QFileInfo>
#include <QSet>
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

QString ServerAddress(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QString();
    QUrl url(trimmed, QUrl::StrictMode);
    // No scheme: a bare host ("www.example.com/page"), which must begin like one.
    if (url.scheme().isEmpty() || !trimmed.contains(u"://"_s)) {
        if (!trimmed.front().isLetterOrNumber())
            return QString();
        url = QUrl(u"http://"_s + trimmed, QUrl::StrictMode);
    }
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"http"_s && scheme != u"https"_s))
        return QString();
    return url.toString();
}

void OpenServerAddress(const QString& text)
{
    const QString address = ServerAddress(text);
    if (!address.isEmpty()) {
        Launcher::instance().openUrl(address);
        return;
    }
    static QSet<QString> told;
    if (told.contains(text))
        return;
    told.insert(text);
    ShowMessage(u"서버에서 받은 주소가 웹 주소(http, https)가 아니어서 열지 않습니다.\n\n"_s + text, MsgIcon::Warning);
}

bool ViewAllowed(const QString& address)
{
    const QUrl url = QUrl::fromUserInput(address);
    const QString scheme = url.scheme().toLower();
    if (scheme == u"http"_s || scheme == u"https"_s)
        return true;
    if (!url.isLocalFile())
        return false;
    const QString setting = WebSiteSetting().trimmed();
    if (setting.isEmpty() || isAddress(setting))
        return false;
    const QString folder = QFileInfo(InstallPaths::resolve(setting)).canonicalFilePath();
    const QString file = QFileInfo(url.toLocalFile()).canonicalFilePath();
    // Canonical paths: neither ".." nor a link leads out of the folder.
    return !folder.isEmpty() && !file.isEmpty() && file.startsWith(folder + u'/');
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
