#include "WebView.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#ifdef SURIBALL_WEBENGINE
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>
#endif

bool WebView::plainOnly()
{
#ifdef SURIBALL_WEBENGINE
    // The web engine needs a GL-capable display; where there is none (a headless test run, a bare remote
    // desktop) SURIBALL_WEBVIEW=plain shows pages as plain rich text instead.
    static const bool plain = qEnvironmentVariable("SURIBALL_WEBVIEW") == QStringLiteral("plain");
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
    m_plain->setSource(url);
}
