#include "frmHotView1.h"

#include "Clock.h"
#include "Globals.h"
#include "Settings.h"
#include "UiTools.h"
#include "WebSite.h"
#include "WebView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmHotView1::frmHotView1(QWidget* parent)
    : QDialog(parent)
    , picV1(Named(new QWidget, u"picV1"))
    , webV1(Named(new WebView, u"webV1"))
    , chkMsg1(Named(new QCheckBox(u"오늘은 그만 보겠습니다"_s), u"chkMsg1"))
    , cmdExit(Named(new QPushButton(u"마침"_s), u"cmdExit"))
    , tmrReady(Named(new QTimer(this), u"tmrReady"))
{
    setObjectName(u"frmHotView1"_s);
    setWindowTitle(u"팝업"_s);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(5280 / 15, 5050 / 15);

    auto* frame = new QVBoxLayout(picV1);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->addWidget(webV1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkMsg1);
    buttons->addStretch();
    buttons->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(picV1, 1);
    layout->addLayout(buttons);

    chkMsg1->setEnabled(false);
    cmdExit->setEnabled(false);
    connect(chkMsg1, &QCheckBox::clicked, this, [this] {
        chkMsg1->setChecked(true);
        close();
    });
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::close);
    webV1->navigate(WebSite::address(u"/popup2.htm"_s));
    gFormOpen[u"frmHotView1"_s] = true;

    tmrReady->setSingleShot(true);
    connect(tmrReady, &QTimer::timeout, this, [this] {
        chkMsg1->setEnabled(true);
        cmdExit->setEnabled(true);
    });
    tmrReady->start(1000);
}

frmHotView1::~frmHotView1() { finish(); }

bool frmHotView1::isReady() const { return cmdExit->isEnabled(); }

void frmHotView1::forceClose()
{
    m_forced = true;
    close();
}

void frmHotView1::done(int result)
{
    // Esc, the close box and the buttons all come here; none of them counts in the first second.
    if (!isReady() && !m_forced)
        return;
    finish();
    QDialog::done(result);
}

void frmHotView1::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    gFormOpen[u"frmHotView1"_s] = false;
    if (chkMsg1->isChecked())
        WriteIfo(QString(), u"SYSTEM"_s, u"HOTVIEWDATE"_s, Clock::today().toString(u"yyyy-MM-dd"_s));
}
