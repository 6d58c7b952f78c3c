#include "frmHome1.h"

#include "WebSite.h"
#include "WebView.h"

#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmHome1::frmHome1(QWidget* parent)
    : QWidget(parent)
    , webView1(new WebView)
{
    setWindowTitle(u"벨트라 [홈]"_s);
    webView1->setObjectName(u"webView1"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 125 / 15, 400 / 15);
    layout->addWidget(webView1);
    webView1->navigate(WebSite::address());
}
