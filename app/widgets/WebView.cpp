#include "WebView.h"

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

bool WebView::plainOnly()
{
#ifdef SURIBALL_WEBENGINE
    // The web engine needs a GL-capable display; where there is none (a headless test run, a bare remote
    // desktop) SURIBALL_WEBVIEW=plain shows pages as plain rich text instead.
    static const bool plain = [] {
        if (qEnvironmentVariable("SURIBALL_WEBVIEW") == QStringLiteral("plain"))
            return true;
#ifdef Q_OS_UNIX
        // As root the engine's sandbox aborts the whole program. Pages from the net are not rendered by an
        // engine running as root without its sandbox, unless whoever started the program asked for that
        // themselves (QTWEBENGINE_DISABLE_SANDBOX=1).
        if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
            std::fputs("수리볼: running as root, web pages are shown as plain text (the web engine's sandbox "
                       "refuses root; set QTWEBENGINE_DISABLE_SANDBOX=1 to use the engine anyway)\n",
                       stderr);
            return true;
        }
#endif
        return false;
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
#ifdef SURIBALL_WEBENGINE
    if (m_engine) {
        static_cast<QWebEngineView*>(m_engine)->setUrl(url);
        return;
    }
#endif
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        // The engine reports a missing file after the call returns; the plain view does the same.
        QMetaObject::invokeMethod(
            this, [this, url] { Q_EMIT loadFailed(-6, u"파일을 찾을 수 없습니다: "_s + url.toLocalFile()); },
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
