#include "WebView.h"

#include "WebSite.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#ifdef SURIBALL_WEBENGINE
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>
#endif

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include <cstdio>

using namespace Qt::StringLiterals;

QString WebView::PlainViewReason(const QString& setting, bool root, bool sandboxDisabled)
{
    if (setting == u"plain"_s)
        return u"setting"_s;
    // As root the engine's sandbox aborts the whole program. Pages from the net are not rendered by an
    // engine running as root without its sandbox, unless whoever started the program asked for that.
    if (root && !sandboxDisabled)
        return u"root"_s;
    return QString();
}

bool WebView::plainOnly()
{
#ifdef SURIBALL_WEBENGINE
    // The web engine needs a GL-capable display; where there is none (a headless test run, a bare remote
    // desktop) SURIBALL_WEBVIEW=plain shows pages as plain rich text instead.
    static const bool plain = [] {
#ifdef Q_OS_UNIX
        const bool root = ::geteuid() == 0;
#else
        const bool root = false;
#endif
        const QString why = PlainViewReason(qEnvironmentVariable("SURIBALL_WEBVIEW"),
                                            root,
                                            qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"));
        if (why == u"root"_s) {
            std::fputs("suriball: running as root, web pages are shown as plain text: the web engine's sandbox "
                       "refuses root (QTWEBENGINE_DISABLE_SANDBOX=1 runs the engine without it)\n",
                       stderr);
        }
        return !why.isEmpty();
    }();
    return plain;
#else
    return true;
#endif
}

WebView::WebView(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
#ifdef SURIBALL_WEBENGINE
    if (!plainOnly()) {
        auto* view = new QWebEngineView(this);
        connect(view->page(), &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
            if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus)
                Q_EMIT loadFailed(info.errorCode(), info.errorString());
        });
        m_engine = view;
        layout->addWidget(view);
        return;
    }
#endif
    m_plain = new QTextBrowser(this);
    m_plain->setOpenExternalLinks(true);
    layout->addWidget(m_plain);
}

void WebView::navigate(const QString& address)
{
    m_address = address;
    const QUrl url = QUrl::fromUserInput(address);
    if (!WebSite::ViewAllowed(address)) {
        // Only pages from the net and the install's own pages are shown; nothing else of the disk.
        QMetaObject::invokeMethod(
            this,
            [this, address] { Q_EMIT loadFailed(-300, u"열 수 없는 주소입니다: "_s + address); },
            Qt::QueuedConnection);
        clear();
        return;
    }
#ifdef SURIBALL_WEBENGINE
    if (m_engine) {
        static_cast<QWebEngineView*>(m_engine)->setUrl(url);
        return;
    }
#endif
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        // The engine reports a missing file after the call returns; the plain view does the same.
        QMetaObject::invokeMethod(
            this,
            [this, url] { Q_EMIT loadFailed(-6, u"파일을 찾을 수 없습니다: "_s + url.toLocalFile()); },
            Qt::QueuedConnection);
        m_plain->clear();
        return;
    }
    m_plain->setSource(url);
}

void WebView::clear()
{
    m_address.clear();
#ifdef SURIBALL_WEBENGINE
    if (m_engine) {
        static_cast<QWebEngineView*>(m_engine)->setHtml(QString());
        return;
    }
#endif
    m_plain->clear();
}
