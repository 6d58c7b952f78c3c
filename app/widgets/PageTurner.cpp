#include "PageTurner.h"

#include "UiTools.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace {
const QString kIdle = u"color: rgb(128,0,128);"_s;
const QString kPressed = u"color: rgb(0,0,64); font-weight: bold;"_s;
} // namespace

PageTurner::PageTurner(QWidget* parent)
    : QWidget(parent)
{
    lblPrev = Named(new QLabel(u"< 이전"_s), u"lblPrev"_s);
    lblMax1 = Named(new QLabel(u"[1/1]"_s), u"lblMax1"_s);
    lblNext = Named(new QLabel(u"다음 >"_s), u"lblNext"_s);
    lblPrev->setAccessibleName(u"이전"_s);
    lblNext->setAccessibleName(u"다음"_s);
    for (QLabel* label : {lblPrev, lblNext}) {
        label->setCursor(Qt::PointingHandCursor);
        label->setStyleSheet(kIdle);
        label->installEventFilter(this);
    }
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    layout->addWidget(lblPrev);
    layout->addWidget(lblMax1);
    layout->addWidget(lblNext);
    layout->addStretch(1);
}

void PageTurner::setPages(int page, int pages)
{
    lblMax1->setText(u'[' + QString::number(page) + u'/' + QString::number(pages) + u']');
    for (QLabel* label : {lblPrev, lblMax1, lblNext})
        label->setVisible(pages > 1);
}

void PageTurner::hidePages()
{
    for (QLabel* label : {lblPrev, lblMax1, lblNext})
        label->hide();
}

void PageTurner::turn(int step, const std::function<void()>& read)
{
    QLabel* label = step > 0 ? lblNext : lblPrev;
    label->setStyleSheet(kPressed);
    label->repaint();
    struct Idle // whatever the reading does
    {
        QLabel* label;
        ~Idle() { label->setStyleSheet(kIdle); }
    } idle {label};
    read();
}

bool PageTurner::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && (watched == lblNext || watched == lblPrev)) {
        Q_EMIT(watched == lblNext ? nextRequested() : previousRequested());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
