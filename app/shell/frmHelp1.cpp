#include "frmHelp1.h"

#include "DisplaySettings.h"
#include "Settings.h"
#include "WebSite.h"
#include "WebView.h"

#include <QCloseEvent>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
constexpr int kTwips = 15;
const QString kWidth = u"도움말:길이"_s;
const QString kHeight = u"도움말:높이"_s;
const QString kLeft = u"도움말:왼쪽"_s;
const QString kTop = u"도움말:윗쪽"_s;

int twips(const QString& name, int fallback)
{
    bool ok = false;
    const double value = ReadInfo(DisplaySettings::kSection, name).toDouble(&ok);
    return ok ? int(value) : fallback;
}
} // namespace

frmHelp1::frmHelp1(QWidget* parent)
    : QWidget(parent)
    , webHelp1(new WebView)
{
    setWindowTitle(u"수리볼 도움말"_s);
    webHelp1->setObjectName(u"webHelp1"_s);
    setMinimumSize(200 / kTwips, 200 / kTwips);
    const int width = std::max(twips(kWidth, 9000), 200);
    const int height = std::max(twips(kHeight, 7500), 200);
    setGeometry(twips(kLeft, 600) / kTwips, twips(kTop, 600) / kTwips, width / kTwips, height / kTwips);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 120 / kTwips, 400 / kTwips);
    layout->addWidget(webHelp1);
    webHelp1->navigate(WebSite::address(u"/"_s));
}

void frmHelp1::closeEvent(QCloseEvent* event)
{
    const QRect g = geometry();
    WriteInfo(DisplaySettings::kSection, kWidth, QString::number(g.width() * kTwips));
    WriteInfo(DisplaySettings::kSection, kHeight, QString::number(g.height() * kTwips));
    WriteInfo(DisplaySettings::kSection, kLeft, QString::number(g.x() * kTwips));
    WriteInfo(DisplaySettings::kSection, kTop, QString::number(g.y() * kTwips));
    event->accept();
}
