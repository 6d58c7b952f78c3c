#include "frmUpdate1.h"

#include "Launcher.h"
#include "MessageService.h"
#include "Paths.h"
#include "ProgramEnd.h"
#include "UiTools.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <climits>

using namespace Qt::StringLiterals;

namespace {

const QString kProduct = u"수리볼"_s;
constexpr int kTwipsPerPixel = 15;

// A box with an arrow coming down into it: the window's picture.
QPixmap picture()
{
    QPixmap pixmap(56, 56);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 120, 200));
    p.drawEllipse(QRectF(2, 2, 52, 52));
    p.setBrush(Qt::white);
    QPainterPath arrow;
    arrow.moveTo(23, 12);
    arrow.lineTo(33, 12);
    arrow.lineTo(33, 27);
    arrow.lineTo(41, 27);
    arrow.lineTo(28, 41);
    arrow.lineTo(15, 27);
    arrow.lineTo(23, 27);
    arrow.closeSubpath();
    p.drawPath(arrow);
    p.drawRect(QRectF(15, 43, 26, 3));
    return pixmap;
}

QLabel* label(QWidget* parent, QStringView name, const QString& text)
{
    auto* l = Named(new QLabel(text, parent), name);
    l->setTextFormat(Qt::PlainText);
    // Long paths are cut at the window's edge rather than widening it.
    l->setMinimumWidth(1);
    l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return l;
}

} // namespace

frmUpdate1::frmUpdate1(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(u"frmUpdate1"_s);
    setWindowTitle(u"업데이트 ["_s + kProduct + u']');
    // No close item in the window's menu: the run ends through "취소" and "마침".
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint);
    setFixedWidth(6150 / kTwipsPerPixel);

    fraR1 = Named(new QFrame(this), u"fraR1");
    fraR1->setFrameShape(QFrame::StyledPanel);
    lblMsg11 = label(fraR1, u"lblMsg11", kProduct + u" 업데이트"_s);
    QFont heading = lblMsg11->font();
    heading.setBold(true);
    lblMsg11->setFont(heading);
    lblMsg31 = label(fraR1, u"lblMsg31", QString());
    lblMsg12 = label(fraR1, u"lblMsg12", u"갱신날짜:"_s);
    lblMsg13 = label(fraR1, u"lblMsg13", u"전체크기:"_s);
    lblMsg21 = label(fraR1, u"lblMsg21", u"갱신항목:"_s);
    lblMsg22 = label(fraR1, u"lblMsg22", u"대상폴더:"_s);
    Image1 = Named(new QLabel(fraR1), u"Image1");
    Image1->setPixmap(picture());
    Image1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    prgCurJob = Named(new QProgressBar(fraR1), u"prgCurJob");
    prgCurJob->setRange(0, 100);
    prgCurJob->setValue(0);
    prgCurJob->setTextVisible(false);
    cmdCancel = Named(new QPushButton(u"취소"_s, fraR1), u"cmdCancel");

    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    for (QLabel* l : {lblMsg11, lblMsg31, lblMsg12, lblMsg13, lblMsg21, lblMsg22})
        texts->addWidget(l);
    auto* top = new QHBoxLayout;
    top->addWidget(Image1);
    top->addLayout(texts, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(prgCurJob, 1);
    bottom->addWidget(cmdCancel);
    auto* r1 = new QVBoxLayout(fraR1);
    r1->addLayout(top);
    r1->addSpacing(6);
    r1->addLayout(bottom);

    fraR2 = Named(new QFrame(this), u"fraR2");
    fraR2->setFrameShape(QFrame::StyledPanel);
    lblMsg51 = label(fraR2, u"lblMsg51", QString());
    lblMsg51->setFont(heading);
    lblMsg52 = label(fraR2, u"lblMsg52", QString());
    lblMsg52->setWordWrap(true);
    cmdEnd = Named(new QPushButton(u"마침"_s, fraR2), u"cmdEnd");
    auto* r2 = new QVBoxLayout(fraR2);
    r2->addWidget(lblMsg51);
    r2->addWidget(lblMsg52);
    auto* endRow = new QHBoxLayout;
    endRow->addStretch(1);
    endRow->addWidget(cmdEnd);
    r2->addLayout(endRow);
    fraR2->hide();

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(fraR1);
    outer->addWidget(fraR2);

    tmrDelay1 = Named(new QTimer(this), u"tmrDelay1");
    tmrDelay1->setSingleShot(true);
    tmrDelay1->setInterval(2000);
    tmrJob1 = Named(new QTimer(this), u"tmrJob1");
    tmrJob1->setInterval(1000);

    // The run reports what it does; each line is painted at once, also while the copying holds the thread.
    connect(&m_run, &UpdateRun::step, this, [this](const QString& t) { setLabel(lblMsg11, t); });
    connect(&m_run, &UpdateRun::supplier, this, [this](const QString& t) { setLabel(lblMsg31, t); });
    connect(&m_run, &UpdateRun::stamp, this, [this](const QString& t) { setLabel(lblMsg12, t); });
    connect(&m_run, &UpdateRun::total, this, [this](const QString& t) { setLabel(lblMsg13, t); });
    connect(&m_run, &UpdateRun::item, this, [this](const QString& item, const QString& target) {
        setLabel(lblMsg21, item);
        setLabel(lblMsg22, target);
    });
    connect(&m_run, &UpdateRun::progress, this, [this](qint64 value, qint64 maximum) {
        // Sizes in bytes may pass what the bar holds: it counts in thousandths then.
        if (maximum <= INT_MAX) {
            prgCurJob->setRange(0, int(qMax<qint64>(maximum, 0)));
            prgCurJob->setValue(int(qBound<qint64>(0, value, maximum)));
        } else {
            prgCurJob->setRange(0, 1000);
            prgCurJob->setValue(int(qBound(qint64(0), value * 1000 / maximum, qint64(1000))));
        }
        prgCurJob->repaint();
    });
    connect(&m_run, &UpdateRun::ended, this, [this](UpdateRun::Outcome outcome) { runEnded(outcome); });

    connect(tmrDelay1, &QTimer::timeout, this, [this] {
        RunGuarded(u"업데이트를 시작하지 못하였습니다."_s, [this] { delayElapsed(); });
    });
    connect(tmrJob1, &QTimer::timeout, this, [this] {
        RunGuarded(u"업데이트 작업에 실패하였습니다."_s, [this] { jobTick(); });
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        RunGuarded(u"취소하지 못하였습니다."_s, [this] { cancelPressed(); });
    });
    connect(cmdEnd, &QPushButton::clicked, this, [this] {
        RunGuarded(u"마치지 못하였습니다."_s, [this] { endPressed(); });
    });
    adjustSize();
}

void frmUpdate1::begin() { tmrDelay1->start(); }

void frmUpdate1::delayElapsed()
{
    tmrDelay1->stop();
    tmrJob1->start();
}

void frmUpdate1::jobTick()
{
    // A run that has ended, except by "취소", leaves nothing to wait for: the window stays open for its
    // result as long as the member likes.
    if (m_run.finished() && m_run.outcome() != UpdateRun::Outcome::Cancelled) {
        tmrJob1->stop();
        return;
    }
    // The time-out guards a window left waiting; it never cuts off the fetching or the copying, which
    // keep their own watch for a connection that gives nothing more.
    if (m_run.outcome() != UpdateRun::Outcome::Running && ++m_ticks > kTickLimit) {
        tmrJob1->stop();
        ShowMessage(u"작업시간이 초과되었습니다. 인터넷 연결이 안정적이지 못하여 작업을 종료합니다."_s,
                    MsgIcon::Critical);
        EndProgram();
    }
    m_run.tick();
    if (!m_started) {
        m_started = true;
        m_run.start();
    }
}

void frmUpdate1::cancelPressed()
{
    cmdCancel->setEnabled(false);
    m_run.cancel();
}

void frmUpdate1::endPressed()
{
    if (m_startMain) {
        if (!Launcher::instance().startProgram(InstallPaths::mainProgram(), {}))
            ShowMessage(kProduct + u"을(를) 시작하지 못하였습니다: "_s + InstallPaths::mainProgram(),
                        MsgIcon::Critical);
    }
    EndProgram();
}

void frmUpdate1::closeEvent(QCloseEvent* event)
{
    // Closing the window while the files come in is a cancel; the run then ends in its own time.
    if (m_run.outcome() == UpdateRun::Outcome::Running) {
        cancelPressed();
        event->ignore();
        return;
    }
    event->accept();
}

void frmUpdate1::runEnded(UpdateRun::Outcome outcome)
{
    if (outcome != UpdateRun::Outcome::Cancelled)
        tmrJob1->stop();
    const QString caption = u"업데이트 ["_s + kProduct + u']';
    switch (outcome) {
    case UpdateRun::Outcome::NothingNew:
        m_startMain = true;
        endPressed();
        return;
    case UpdateRun::Outcome::Done:
        m_startMain = true;
        showResult(u"결과: 업데이트 작업이 완료되었습니다."_s, kProduct + u"를 다시 시작하여 주십시오."_s);
        return;
    case UpdateRun::Outcome::Cancelled:
        showResult(u"진행취소: 업데이트 작업을 중단합니다."_s, QString());
        return;
    case UpdateRun::Outcome::Refused:
        // Never a dead end: "마침" starts the program as it is, which does not offer this release again.
        m_startMain = true;
        showResult(u"실패: 업데이트를 설치하지 않았습니다."_s,
                   u"설치된 화일은 그대로입니다. 이 업데이트는 다시 받지 않으며, 다음 업데이트를 기다립니다."_s);
        ShowMessage(m_run.failure(), MsgIcon::Critical, MsgButtons::Ok, caption);
        return;
    case UpdateRun::Outcome::Failed:
        m_startMain = true;
        if (m_run.unfinished())
            showResult(u"중단: 업데이트를 마치지 못하였습니다."_s,
                       u"이번에는 "_s + kProduct + u"로 계속하고, 그 다음 시작 때 업데이트가 마저 끝냅니다."_s);
        else
            showResult(u"실패: 업데이트를 설치하지 않았습니다."_s,
                       u"설치된 화일은 그대로입니다. 이번에는 지금의 "_s + kProduct
                           + u"로 계속하고, 그 다음 시작 때 다시 받습니다."_s);
        ShowMessage(m_run.failure(), MsgIcon::Critical, MsgButtons::Ok, caption);
        return;
    case UpdateRun::Outcome::NotStarted:
    case UpdateRun::Outcome::Running:
        return;
    }
}

void frmUpdate1::showResult(const QString& first, const QString& second)
{
    lblMsg51->setText(first);
    lblMsg52->setText(second);
    fraR1->hide();
    fraR2->show();
    // The result view is 1785 twips high, frame and caption included.
    setFixedHeight(qMax(1785 / kTwipsPerPixel, sizeHint().height()));
    cmdEnd->setFocus();
}

void frmUpdate1::setLabel(QLabel* label, const QString& text)
{
    label->setText(text);
    label->setToolTip(text);
    label->repaint();
}
