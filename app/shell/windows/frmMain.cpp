#include "frmMain.h"

#include "Artwork.h"
#include "Clock.h"
#include "DisplaySettings.h"
#include "FunctionTable.h"
#include "Globals.h"
#include "Grid.h"
#include "Launcher.h"
#include "MessageService.h"
#include "ProgramEnd.h"
#include "Query.h"
#include "Settings.h"
#include "Tools.h"
#include "WebSite.h"
#include "WebView.h"
#include "frmHotView1.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString kTitle = u"수리볼"_s;
constexpr int kTwips = 15;
frmMain* s_instance = nullptr;

} // namespace

frmMain* frmMain::instance() { return s_instance; }

frmMain::frmMain()
{
    s_instance = this;
    setObjectName(u"frmMain"_s);
    setWindowTitle(kTitle);
    setMinimumSize(10000 / kTwips, 8000 / kTwips);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());
    layout->addWidget(buildTicker());
    m_mdi = new QMdiArea;
    m_mdi->setObjectName(u"mdiMain"_s);
    m_mdi->setBackground(QColor(236, 239, 245));
    m_mdi->viewport()->installEventFilter(this);
    // A window whose controls need more room than the client area has keeps its size and scrolls:
    // squeezed below it, captions and lists would be cut.
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] { FormResize(); });
    layout->addWidget(m_mdi, 1);
    setCentralWidget(central);
    buildMenus();
    buildStatus();

    grdR1 = new Grid(this);
    grdR1->setObjectName(u"grdR1"_s);
    grdR1->setMaxCols(3);
    grdR1->hide();
    tmrHot1 = new QTimer(this);
    tmrHot1->setObjectName(u"tmrHot1"_s);
    connect(tmrHot1, &QTimer::timeout, this, &frmMain::tickerStep);

    DesktopBusy::install();
    DesktopBusy::instance().setBar(this);
}

frmMain::~frmMain()
{
    // The MDI area outlives this part of the object while QWidget tears the children down, and
    // closing their subwindows still activates and filters: nothing of frmMain may be called then.
    disconnect(m_mdi, nullptr, this, nullptr);
    m_mdi->viewport()->removeEventFilter(this);
    DesktopBusy::instance().setBar(nullptr);
    if (s_instance == this)
        s_instance = nullptr;
}

QWidget* frmMain::buildHeader()
{
    picPr = new QWidget;
    picPr->setObjectName(u"picPr"_s);
    picPr->setFixedHeight(1850 / kTwips);
    picPr->setAutoFillBackground(true);
    QPalette palette = picPr->palette();
    palette.setColor(QPalette::Window, QColor(248, 249, 252));
    picPr->setPalette(palette);

    tbrMenu1 = new QToolBar;
    tbrMenu1->setObjectName(u"tbrMenu1"_s);
    tbrMenu1->setMovable(false);
    tbrMenu1->setIconSize(QSize(48, 48));
    tbrMenu1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbrMenu1->setStyleSheet(
        u"QToolButton { min-width: 72px; padding: 4px; font-weight: bold; }"
        "QToolButton:checked { background: #d7e0f4; border: 1px solid #8aa0d0; border-radius: 4px; }"_s);
    m_buttonGroup = new QActionGroup(this);
    m_buttonGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const FunctionEntry& button : FunctionTable()) {
        if (!(button.places & FunctionEntry::Toolbar))
            continue;
        QAction* action = tbrMenu1->addAction(Artwork::functionIcon(button.function), button.caption);
        action->setObjectName(u"tbr"_s + button.function);
        action->setData(button.function);
        if (button.function != u"종료"_s) {
            action->setCheckable(true);
            m_buttonGroup->addAction(action);
            // The accessibility interface (screen readers, GUI test tools) toggles a checkable button without
            // triggering its action, while a click or a key toggles and then triggers at once. A toggle that
            // no trigger followed is therefore passed on as the press it stands for: every way of pressing
            // a button takes the same path.
            connect(action, &QAction::toggled, this, [this, function = button.function] {
                if (m_pressing)
                    return;
                m_untriggered = function;
                QMetaObject::invokeMethod(
                    this,
                    [this, function] {
                        if (m_untriggered == function) {
                            m_untriggered.clear();
                            openFunction(function);
                        }
                    },
                    Qt::QueuedConnection);
            });
        }
        m_buttons.insert(button.function, action);
        connect(action, &QAction::triggered, this, [this, function = button.function] {
            m_untriggered.clear();
            openFunction(function);
        });
    }

    // The toolbar keeps its full width; the banner takes what is left, up to its own size.
    tbrMenu1->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    webPr = new WebView;
    webPr->setObjectName(u"webPr"_s);
    webPr->setMinimumWidth(160);
    webPr->setMaximumWidth(8000 / kTwips);
    webPr->setFixedHeight(1500 / kTwips);
    webPr->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(webPr, &WebView::loadFailed, this, [this](int code, const QString& description) {
        // Said once; after that the banner stays empty rather than asking at every click.
        if (m_bannerFailed)
            return;
        m_bannerFailed = true;
        webPr->clear();
        ShowMessage(u"(오류:"_s + QString::number(code) + u") "_s + description);
    });

    auto* layout = new QHBoxLayout(picPr);
    layout->setContentsMargins(6, 4, 10, 4);
    layout->addWidget(tbrMenu1, 0, Qt::AlignVCenter);
    layout->addStretch(0);
    layout->addWidget(webPr, 1);
    return picPr;
}

QWidget* frmMain::buildTicker()
{
    picTop = new QWidget;
    picTop->setObjectName(u"picTop"_s);
    picTop->setFixedHeight(26);
    picTop->setStyleSheet(u"#picTop { background: #1d3c8f; }"_s);
    picHot1 = new QWidget;
    picHot1->setObjectName(u"picHot1"_s);
    lblHot1List = new QLabel(u"[접속]"_s);
    lblHot1List->setObjectName(u"lblHot1List"_s);
    lblHot1List->setCursor(Qt::PointingHandCursor);
    lblHot1List->setStyleSheet(u"color: #ffd75a; font-weight: bold; padding: 0 8px;"_s);
    lblHot1List->setToolTip(u"홍보글 목록"_s);
    lblHot1 = new QLabel(u"(글)"_s);
    lblHot1->setObjectName(u"lblHot1"_s);
    lblHot1->setCursor(Qt::PointingHandCursor);
    lblHot1->setAlignment(Qt::AlignCenter);
    lblHot1->setStyleSheet(u"color: #ffffff;"_s);
    lblHot1List->installEventFilter(this);
    lblHot1->installEventFilter(this);

    auto* hot = new QHBoxLayout(picHot1);
    hot->setContentsMargins(0, 0, 0, 0);
    hot->addWidget(lblHot1List);
    hot->addWidget(lblHot1, 1);
    auto* layout = new QHBoxLayout(picTop);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->addWidget(picHot1);
    return picTop;
}

void frmMain::buildMenus()
{
    QMenu* functions = menuBar()->addMenu(u"기능(&F)"_s);
    functions->setObjectName(u"mnuFunctions"_s);
    mnu1 = menuBar()->addMenu(u"관리자"_s);
    mnu1->setObjectName(u"mnu1"_s);
    QMenu* help = menuBar()->addMenu(u"도움말(&H)"_s);
    help->setObjectName(u"mnuHelp"_s);

    QString adminGroup;
    for (const FunctionEntry& entry : FunctionTable()) {
        QMenu* menu = entry.places & FunctionEntry::FunctionsMenu ? functions
            : entry.places & FunctionEntry::AdminMenu             ? mnu1
            : entry.places & FunctionEntry::HelpMenu              ? help
                                                                  : nullptr;
        if (!menu)
            continue;
        // The administrator's items come in groups by the tens of their number; the end stands apart.
        if (menu == mnu1) {
            const QString group = entry.caption.left(1);
            if (!adminGroup.isEmpty() && group != adminGroup)
                menu->addSeparator();
            adminGroup = group;
        } else if (entry.function == u"종료"_s) {
            menu->addSeparator();
        }
        QAction* action = menu == mnu1 ? menu->addAction(entry.caption)
                                       : menu->addAction(Artwork::functionIcon(entry.function), entry.caption);
        action->setObjectName(entry.menuItem);
        if (!entry.function.isEmpty())
            connect(action, &QAction::triggered, this, [this, function = entry.function] { openFunction(function); });
        else if (!entry.form.isEmpty())
            connect(action, &QAction::triggered, this, [this, form = entry.form] { openForm(form); });
    }
}

void frmMain::buildStatus()
{
    stbStatus = new QStatusBar;
    stbStatus->setObjectName(u"stbStatus"_s);
    stbStatus->setSizeGripEnabled(false);
    m_panel1 = new QStackedWidget;
    m_panel1Text = new QLabel(u"대기"_s);
    m_panel1Text->setObjectName(u"stbPanel1"_s);
    prgCurJob = new QProgressBar;
    prgCurJob->setObjectName(u"prgCurJob"_s);
    prgCurJob->setRange(0, 100);
    prgCurJob->setTextVisible(true);
    m_panel1->addWidget(m_panel1Text);
    m_panel1->addWidget(prgCurJob);
    m_panel1->setFixedHeight(m_panel1Text->sizeHint().height() + 6);
    m_panel2 = new QLabel;
    m_panel2->setObjectName(u"stbPanel2"_s);
    m_panel3 = new QLabel;
    m_panel3->setObjectName(u"stbPanel3"_s);
    stbStatus->addWidget(m_panel1, 1);
    stbStatus->addWidget(m_panel2);
    stbStatus->addWidget(m_panel3);

    txtHome = new QLabel;
    txtHome->setObjectName(u"txtHome"_s);
    txtHome->setCursor(Qt::PointingHandCursor);
    txtHome->setStyleSheet(u"color: #1d3c8f; text-decoration: underline; padding: 0 10px;"_s);
    txtHome->installEventFilter(this);

    picBottom = new QWidget;
    picBottom->setObjectName(u"picBottom"_s);
    auto* layout = new QHBoxLayout(picBottom);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(stbStatus, 1);
    layout->addWidget(txtHome);
    setStatusBar(new QStatusBar); // keeps Qt's own status bar out of the way of ours
    statusBar()->hide();
    static_cast<QVBoxLayout*>(centralWidget()->layout())->addWidget(picBottom);
}

frmMain* frmMain::Open()
{
    auto* main = new frmMain();
    main->setAttribute(Qt::WA_DeleteOnClose);
    main->start();
    return main;
}

void frmMain::start()
{
    m_function.clear();
    const QString settingsFailed = u"설정값을 읽지 못하여 기본값으로 시작합니다."_s;
    double height = 11000;
    RunGuarded(settingsFailed, [&] { height = DisplaySettings::MainHeightTwips(); });
    resize(11000 / kTwips, int(height / kTwips));
    m_panel2->setText(u"ID:"_s + gUserID);
    const QDate today = Clock::today();
    m_panel3->setText(today.toString(u"yyyy-MM-dd"_s) + u'(' + KoreanWeekday(today) + u')');
    txtHome->setText(u"홈("_s + WebSite::hostName() + u") 열기"_s);
    mnu1->menuAction()->setVisible(gUserID == u"chief"_s);
    RunGuarded(settingsFailed, [] { DisplaySettings::Load(); });
    RunGuarded(u"전광판 글을 읽지 못하였습니다."_s, [this] { loadTicker(); });
    BannerChange();
    lblHot1->setText(gUserID + u" 님 벨트라("_s + WebSite::hostName().toUpper() + u") 방문을 환영합니다"_s);
    if (!m_ticker.isEmpty())
        tmrHot1->start(4000);
    showMaximized();

    pressFunction(u"로또게임"_s);
    openFunction(u"로또게임"_s);

    if (Clock::today().toString(u"yyyy-MM-dd"_s) != ReadIfo(QString(), u"SYSTEM"_s, u"HOTVIEWDATE"_s)) {
        auto* notice = new frmHotView1(this);
        // The main window is being maximised: the middle of its screen is the middle of the window.
        notice->move(screen()->availableGeometry().center() - notice->rect().center());
        notice->open();
    }
    // What the synchronisation found in the member's safe, beside everything else and not in its way.
    openForm(u"frmWin1"_s);
}

void frmMain::loadTicker()
{
    std::vector<TickerRotation::Line> lines = TickerRotation::ReadLines();
    grdR1->setRows(TickerRotation::AsRows(lines));
    m_ticker.setLines(std::move(lines));
}

void frmMain::tickerStep()
{
    if (m_ticker.isEmpty())
        return;
    const TickerRotation::Line& line = m_ticker.step();
    lblHot1List->setText(u'[' + line.part + u']');
    lblHot1->setText(line.text);
    lblHot1->setStyleSheet(u"color: "_s + m_ticker.colour().name() + u';');
    lblHot1->repaint();
}

void frmMain::BannerChange()
{
    if (!m_bannerFailed)
        webPr->navigate(WebSite::address(m_banner.next()));
}

void frmMain::pressFunction(const QString& function)
{
    const QScopedValueRollback pressing(m_pressing, true);
    if (QAction* checked = m_buttonGroup->checkedAction())
        checked->setChecked(false);
    if (function != u"도움말"_s) {
        if (QAction* button = m_buttons.value(function); button && button->isCheckable())
            button->setChecked(true);
    }
}

void frmMain::openFunction(const QString& function)
{
    pressFunction(function);
    m_function = function;
    BannerChange();
    if (function == u"종료"_s) {
        closing();
        EndProgram();
    }
    if (const FunctionEntry* entry = FindFunction(function); entry && !entry->form.isEmpty()) {
        m_description = entry->description;
        openForm(entry->form);
    }
    if (function != u"도움말"_s)
        setWindowTitle(kTitle + u"  ["_s + function + u" - "_s + m_description + u']');
}

void frmMain::openForm(const QString& form)
{
    if (QWidget* open = openWindow(form)) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(open->parentWidget())) {
            m_mdi->setActiveSubWindow(sub);
            sub->raise();
        } else {
            open->showNormal();
            open->raise();
            open->activateWindow();
        }
        return;
    }
    const FunctionEntry* entry = FindFunction(form);
    if (!entry)
        return;
    if (!entry->create) {
        // A window this version of the program does not have yet: say so rather than do nothing.
        ShowMessage(u"이 기능은 아직 준비 중입니다."_s, MsgIcon::Information);
        return;
    }
    // A window that cannot read what it shows is not opened; the rest of the program goes on.
    QWidget* window = nullptr;
    if (!RunGuarded(u"창을 열지 못하였습니다."_s, [&] { window = entry->create(*this); }) || !window)
        return;
    window->setObjectName(entry->form);
    window->setAttribute(Qt::WA_DeleteOnClose);
    m_windows.insert(form, window);
    gFormOpen[form] = true;
    connect(window, &QObject::destroyed, this, [form] { gFormOpen[form] = false; });
    if (entry->mdi) {
        // Children fill the client area in the normal state, without a frame of their own: the main
        // window's caption names the function.
        QMdiSubWindow* sub = m_mdi->addSubWindow(window, Qt::FramelessWindowHint);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->show();
        FormResize();
        m_mdi->setActiveSubWindow(sub);
    } else {
        window->setParent(this, Qt::Window);
        if (form != u"frmHelp1"_s) // the help window keeps the place it was left at
            window->move(geometry().center() - window->rect().center());
        window->show();
    }
}

QWidget* frmMain::openWindow(const QString& form) const
{
    const QPointer<QWidget> window = m_windows.value(form);
    return window && gFormOpen.value(form) ? window.data() : nullptr;
}

void frmMain::FormResize()
{
    const QSize area = m_mdi->viewport()->size();
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        // Only the window in front may be larger than the area (and scroll): the client area's scroll bars
        // count every window, also those behind it.
        if (sub != m_mdi->activeSubWindow()) {
            sub->setGeometry(0, 0, area.width(), area.height());
            continue;
        }
        // The width first: a window may arrange its controls by it, and then need more height.
        const int width = std::max(area.width(), sub->minimumSizeHint().width());
        sub->setGeometry(0, 0, width, area.height());
        sub->setGeometry(0, 0, width, std::max(area.height(), sub->minimumSizeHint().height()));
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (m_mdi && watched == m_mdi->viewport() && event->type() == QEvent::Resize)
        FormResize();
    if (event->type() != QEvent::MouseButtonRelease)
        return QMainWindow::eventFilter(watched, event);
    if (watched == lblHot1) {
        if (const TickerRotation::Line* line = m_ticker.current())
            WebSite::OpenServerAddress(line->url); // "http://" comes in front of a bare host
        return true;
    }
    if (watched == lblHot1List) {
        openForm(u"frmHotList1"_s);
        return true;
    }
    if (watched == txtHome) {
        Launcher::instance().openUrl(WebSite::address());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::showBusy(bool busy, const QString& caption)
{
    prgCurJob->setFormat(caption.trimmed().isEmpty() ? u"%p%"_s : caption + u"%p%"_s);
    m_panel1->setCurrentWidget(busy ? static_cast<QWidget*>(prgCurJob) : m_panel1Text);
    m_panel1->repaint();
}

void frmMain::setProgress(int percent)
{
    prgCurJob->setValue(percent);
    prgCurJob->repaint();
}

void frmMain::closing()
{
    if (m_closing)
        return;
    m_closing = true;
    RunGuarded(u"창의 높이를 저장하지 못하였습니다."_s,
               [this] { DisplaySettings::SaveMainHeightTwips(double(frameGeometry().height()) * kTwips); });
    if (QWidget* help = openWindow(u"frmHelp1"_s))
        help->close();
    if (auto* notice = findChild<frmHotView1*>(); notice && gFormOpen.value(u"frmHotView1"_s))
        notice->forceClose();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    closing();
    event->accept();
}
