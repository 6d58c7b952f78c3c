#include "WebView.h"

#include <QUrl>
#include <QVBoxLayout>

#ifdef SURIBALL_WEBENGINE
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>
#else
#include <QTextBrowser>
#endif

WebView::WebView(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
#ifdef SURIBALL_WEBENGINE
    auto* view = new QWebEngineView(this);
    connect(view->page(), &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus)
            Q_EMIT loadFailed(info.errorCode(), info.errorString());
    });
    m_view = view;
#else
    auto* view = new QTextBrowser(this);
    view->setOpenExternalLinks(true);
    m_view = view;
#endif
    layout->addWidget(m_view);
}

void WebView::navigate(const QString& address)
{
    m_address = address;
    const QUrl url = QUrl::fromUserInput(address);
#ifdef SURIBALL_WEBENGINE
    static_cast<QWebEngineView*>(m_view)->setUrl(url);
#else
    static_cast<QTextBrowser*>(m_view)->setSource(url);
#endif
}
