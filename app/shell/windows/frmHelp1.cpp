#include "frmHelp1.h"

#include "DisplaySettings.h"
#include "UiTools.h"
#include "WebSite.h"
#include "WebView.h"

#include <QCloseEvent>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
constexpr int kTwips = 15;
} // namespace

frmHelp1::frmHelp1(QWidget* parent)
    : QWidget(parent)
    , webHelp1(new WebView)
{
    setWindowTitle(u"수리볼 도움말"_s);
    webHelp1->setObjectName(u"webHelp1"_s);
    setMinimumSize(200 / kTwips, 200 / kTwips);
    QRect place(600, 600, 9000, 7500);
    RunGuarded(u"도움말 창의 위치를 읽지 못하였습니다."_s, [&] { place = DisplaySettings::HelpPlaceTwips(); });
    const int width = std::max(place.width(), 200);
    const int height = std::max(place.height(), 200);
    setGeometry(place.x() / kTwips, place.y() / kTwips, width / kTwips, height / kTwips);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 120 / kTwips, 400 / kTwips);
    layout->addWidget(webHelp1);
    webHelp1->navigate(WebSite::address(u"/"_s));
}

void frmHelp1::closeEvent(QCloseEvent* event)
{
    const QRect g = geometry();
    // The place is a convenience: a failure to keep it never keeps the window open.
    RunGuarded(u"도움말 창의 위치를 저장하지 못하였습니다."_s, [&] {
        DisplaySettings::SaveHelpPlaceTwips(
            QRect(g.x() * kTwips, g.y() * kTwips, g.width() * kTwips, g.height() * kTwips));
    });
    event->accept();
}
