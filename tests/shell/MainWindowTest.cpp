#include "DisplaySettings.h"
#include "Query.h"
#include "ShellFixture.h"
#include "ShellRotation.h"
#include "UiTools.h"
#include "WebSite.h"
#include "WebView.h"
#include "frmHotView1.h"
#include "frmInfo1.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
QString text(QWidget* parent, const char16_t* name)
{
    return parent->findChild<QLabel*>(QString::fromUtf16(name))->text();
}
QString banner(frmMain* main) { return main->findChild<WebView*>(u"webPr"_s)->address(); }
} // namespace

TEST(Banner, ThePagesTurnInTwenties)
{
    BannerRotation banner;
    QStringList pages;
    for (int i = 0; i < 21; ++i)
        pages.append(banner.next());
    EXPECT_EQ(pages.count(u"/pr1.htm"_s), 10); // nine, then the first of the next round
    EXPECT_EQ(pages.indexOf(u"/pr2.htm"_s), 9);
    EXPECT_EQ(pages.count(u"/pr2.htm"_s), 10);
    EXPECT_EQ(pages[19], u"/pr3.htm"_s);
    EXPECT_EQ(pages[20], u"/pr1.htm"_s);
    EXPECT_EQ(banner.counter(), 1);
}

TEST_F(ShellTest, OpensWithStatusCaptionAndTheLottoGamePressed)
{
    frmMain* m = openMain();
    EXPECT_EQ(m->windowTitle(), u"수리볼  [로또게임 - 원하는 번호를 직접 또는 자동으로 행운의 번호를 선택하세요]"_s);
    EXPECT_TRUE(m->findChild<QAction*>(u"tbr로또게임"_s)->isChecked());
    EXPECT_EQ(text(m, u"stbPanel1"), u"대기"_s);
    EXPECT_EQ(text(m, u"stbPanel2"), u"ID:player"_s);
    EXPECT_EQ(text(m, u"stbPanel3"), u"2025-12-08(월)"_s);
    EXPECT_EQ(text(m, u"txtHome"), u"홈(localhost) 열기"_s);
    EXPECT_FALSE(m->findChild<QMenu*>(u"mnu1"_s)->menuAction()->isVisible());
    EXPECT_TRUE(install.messages.shown().isEmpty());
}

TEST_F(ShellTest, TheCouponWindowOpensOnceAndTheTicketWindowIsTheAdministrators)
{
    frmMain* m = openMain();
    m->openFunction(u"복권쿠폰"_s);
    QWidget* coupons = m->openWindow(u"frmPrint1"_s);
    ASSERT_NE(coupons, nullptr);
    EXPECT_EQ(m->windowTitle(), u"수리볼  [복권쿠폰 - 업소의 홍보를 위해 무료쿠폰을 활용하시고 대박집 되세요]"_s);
    m->openFunction(u"복권쿠폰"_s);
    EXPECT_EQ(m->openWindow(u"frmPrint1"_s), coupons);
    EXPECT_TRUE(install.messages.shown().isEmpty()) << install.messages.last().toStdString();

    m->openForm(u"frmA1Job12"_s);
    EXPECT_EQ(install.messages.last(), u"관리자만 사용할 수 있는 기능입니다."_s);
    EXPECT_EQ(m->openWindow(u"frmA1Job12"_s), nullptr);
}

// The smallest main window squeezes no window: a window that needs more room scrolls, its captions whole.
TEST_F(ShellTest, AtTheSmallestSizeNoCaptionIsCut)
{
    frmMain* m = openMain(u"chief"_s);
    m->showNormal();
    m->resize(m->minimumSize());
    QApplication::processEvents();
    for (const QString& form : {u"frmRun1"_s,
                                u"frmBank1"_s,
                                u"frmPrint1"_s,
                                u"frmInfo1"_s,
                                u"frmA1Job11"_s,
                                u"frmA1Job12"_s,
                                u"frmA1Job13"_s,
                                u"frmA1Job91"_s}) {
        m->openForm(form);
        QApplication::processEvents();
        QWidget* window = m->openWindow(form);
        ASSERT_NE(window, nullptr) << form.toStdString();
        for (QPushButton* b : window->findChildren<QPushButton*>()) {
            const QString caption = QString(b->text()).remove(u'&');
            if (!b->isVisibleTo(window))
                continue;
            EXPECT_LE(b->fontMetrics().horizontalAdvance(caption) + 4, b->width())
                << form.toStdString() << ' ' << caption.toStdString();
            EXPECT_GE(b->height(), b->minimumSizeHint().height()) << form.toStdString() << ' ' << caption.toStdString();
            EXPECT_TRUE(window->rect().contains(QRect(b->mapTo(window, QPoint(0, 0)), b->size())))
                << form.toStdString() << ' ' << caption.toStdString();
        }
    }
    // The shop's coupon window fits as it is, without scrolling.
    m->openForm(u"frmPrint1"_s);
    QApplication::processEvents();
    QWidget* coupons = m->openWindow(u"frmPrint1"_s);
    const QWidget* area = coupons->parentWidget()->parentWidget();
    EXPECT_LE(coupons->parentWidget()->width(), area->width());
    EXPECT_LE(coupons->parentWidget()->height(), area->height());
}

TEST_F(ShellTest, TheAdministratorSeesHisMenu)
{
    frmMain* m = openMain(u"chief"_s);
    QMenu* menu = m->findChild<QMenu*>(u"mnu1"_s);
    EXPECT_TRUE(menu->menuAction()->isVisible());
    QStringList captions;
    for (QAction* a : menu->actions())
        captions.append(a->isSeparator() ? u"-"_s : a->text());
    EXPECT_EQ(captions,
              (QStringList {u"01. 공지사항"_s,
                            u"02. 회원편지"_s,
                            u"03. 회원관리"_s,
                            u"-"_s,
                            u"11. 벨트라복권 생성"_s,
                            u"12. 벨트라복권 프린트"_s,
                            u"13. 벨트라복권 추첨결과 등록"_s,
                            u"-"_s,
                            u"21. 설정값 변경"_s,
                            u"-"_s,
                            u"91. 매출/이익금 모의계산"_s,
                            u"92. 버튼그림"_s}));
}

TEST_F(ShellTest, TheBannerAdvancesAtOpeningAndEveryClick)
{
    frmMain* m = openMain();
    EXPECT_TRUE(banner(m).endsWith(u"/pr1.htm"_s));
    QAction* safe = m->findChild<QAction*>(u"tbr설정"_s); // its window calls no banner change of its own
    for (int click = 1; click <= 7; ++click)
        safe->trigger();
    EXPECT_TRUE(banner(m).endsWith(u"/pr1.htm"_s));
    safe->trigger(); // the 8th click
    EXPECT_TRUE(banner(m).endsWith(u"/pr2.htm"_s));
    for (int click = 9; click <= 18; ++click)
        safe->trigger();
    EXPECT_TRUE(banner(m).endsWith(u"/pr3.htm"_s));
    safe->trigger();
    EXPECT_TRUE(banner(m).endsWith(u"/pr1.htm"_s));
    EXPECT_EQ(banner(m), WebSite::address(u"/pr1.htm"_s));
}

TEST_F(ShellTest, AnOpenWindowIsBroughtToTheFrontNotOpenedTwice)
{
    frmMain* m = openMain();
    m->openFunction(u"설정"_s);
    QWidget* first = m->openWindow(u"frmInfo1"_s);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(gFormOpen.value(u"frmInfo1"_s));
    m->openFunction(u"로또게임"_s);
    m->openFunction(u"설정"_s);
    EXPECT_EQ(m->openWindow(u"frmInfo1"_s), first);
    EXPECT_EQ(m->findChildren<frmInfo1*>().size(), 1);
    EXPECT_TRUE(m->findChild<QAction*>(u"tbr설정"_s)->isChecked());
    EXPECT_FALSE(m->findChild<QAction*>(u"tbr로또게임"_s)->isChecked());
    EXPECT_EQ(m->windowTitle(), u"수리볼  [설정 - 수리볼의 설정값을 사용자에 맞게 변경합니다]"_s);

    first->close();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(gFormOpen.value(u"frmInfo1"_s));
    EXPECT_EQ(m->openWindow(u"frmInfo1"_s), nullptr);

    // Help presses no toolbar button and leaves the caption alone.
    m->openFunction(u"도움말"_s);
    EXPECT_EQ(m->findChildren<QAction*>().count(), m->findChildren<QAction*>().count());
    EXPECT_EQ(m->windowTitle(), u"수리볼  [설정 - 수리볼의 설정값을 사용자에 맞게 변경합니다]"_s);
    EXPECT_TRUE(gFormOpen.value(u"frmHelp1"_s));
}

TEST_F(ShellTest, TheTickerTurnsItsLinesInAlternatingColours)
{
    frmMain* m = openMain();
    QTimer* timer = m->findChild<QTimer*>(u"tmrHot1"_s);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 4000);
    QLabel* hot = m->findChild<QLabel*>(u"lblHot1"_s);
    EXPECT_EQ(hot->text(), u"player 님 벨트라(LOCALHOST) 방문을 환영합니다"_s);

    // A click before the first line has nothing to open.
    QTest::mouseClick(hot, Qt::LeftButton);
    EXPECT_TRUE(install.launcher.urls.isEmpty());

    QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
    EXPECT_EQ(text(m, u"lblHot1List"), u"[광고]"_s);
    EXPECT_EQ(hot->text(), u"[수리볼] 복권금고에 게임을 보관하고 추첨 후 당첨을 바로 확인하세요"_s);
    EXPECT_TRUE(hot->styleSheet().contains(u"#ffff00"_s));
    QTest::mouseClick(hot, Qt::LeftButton);
    EXPECT_EQ(install.launcher.urls.last(), u"http://suriball.example/safe"_s);

    for (int i = 0; i < 4; ++i)
        QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
    EXPECT_EQ(hot->text(), u"[수리볼] 복권금고에 게임을 보관하고 추첨 후 당첨을 바로 확인하세요"_s); // round again
    EXPECT_TRUE(hot->styleSheet().contains(u"#ffff00"_s));
    QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
    EXPECT_TRUE(hot->styleSheet().contains(u"#ffffff"_s));

    QTest::mouseClick(m->findChild<QLabel*>(u"txtHome"_s), Qt::LeftButton);
    EXPECT_EQ(install.launcher.urls.last(), WebSite::address());
}

TEST_F(ShellTest, AnEmptyTickerNeverStarts)
{
    logIn(u"player"_s);
    Execute(gSystemConn, u"DELETE FROM Hot1"_s);
    WriteIfo(QString(), u"SYSTEM"_s, u"HOTVIEWDATE"_s, u"2025-12-08"_s);
    frmMain m;
    m.start();
    EXPECT_FALSE(m.findChild<QTimer*>(u"tmrHot1"_s)->isActive());
    EXPECT_EQ(text(&m, u"lblHot1"), u"player 님 벨트라(LOCALHOST) 방문을 환영합니다"_s);
}

TEST_F(ShellTest, BusyShowsTheProgressBarOverThePanel)
{
    frmMain* m = openMain();
    QProgressBar* bar = m->findChild<QProgressBar*>(u"prgCurJob"_s);
    EXPECT_FALSE(bar->isVisible());
    {
        BusyGuard busy(u"복권번호 저장 ..."_s);
        BusyGuard::progress(40);
        EXPECT_TRUE(bar->isVisible());
        EXPECT_EQ(bar->value(), 40);
        EXPECT_TRUE(bar->format().startsWith(u"복권번호 저장 ..."_s));
    }
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(ShellTest, ClosingSavesTheHeightAndEndingEndsTheProgram)
{
    frmMain* m = openMain();
    m->showNormal();
    m->resize(800, 900);
    m->close();
    EXPECT_EQ(ReadInfo(u"화면구성"_s, u"메인:높이"_s), QString::number(m->frameGeometry().height() * 15));

    Execute(gSystemConn, u"UPDATE Info1 SET Value1 = '9000' WHERE Name1 = '메인:높이'"_s);
    EXPECT_EQ(DisplaySettings::MainHeightTwips(), 11000);
    Execute(gSystemConn, u"UPDATE Info1 SET Value1 = '12345.5' WHERE Name1 = '메인:높이'"_s);
    EXPECT_EQ(DisplaySettings::MainHeightTwips(), 12345.5);

    frmMain second;
    second.start();
    EXPECT_THROW(second.openFunction(u"종료"_s), ProgramEnded);
}

TEST_F(ShellTest, MissingOrDamagedNumbersWarnAndFallBack)
{
    logIn(u"player"_s);
    Execute(gSystemConn, u"DELETE FROM Info1 WHERE Name1 = '로또게임:게임 횟수'"_s);
    Execute(gSystemConn, u"UPDATE Info1 SET Value1 = 'abc' WHERE Name1 = '복권쿠폰:복권당 게임수'"_s);
    Execute(gSystemConn, u"UPDATE Info1 SET Value1 = 'xyz' WHERE Name1 = '메인:높이'"_s);
    DisplaySettings::Load();
    EXPECT_EQ(gGameCount, 5);
    EXPECT_EQ(gCouponGamesPerTicket, 5);
    EXPECT_EQ(gSafePageSize, 100);
    EXPECT_EQ(install.messages.shown().size(), 2);
    EXPECT_EQ(DisplaySettings::MainHeightTwips(), 11000);
    EXPECT_EQ(install.messages.shown().size(), 3);
}

TEST_F(ShellTest, TheDailyNoticeComesOnceADayWhenAskedTo)
{
    frmMain* m = openMain(u"player"_s, true);
    auto* notice = m->findChild<frmHotView1*>();
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_TRUE(gFormOpen.value(u"frmHotView1"_s));
    auto* box = notice->findChild<QCheckBox*>(u"chkMsg1"_s);
    auto* finish = notice->findChild<QPushButton*>(u"cmdExit"_s);
    EXPECT_FALSE(box->isEnabled());
    EXPECT_FALSE(finish->isEnabled());
    notice->close(); // not in the first second
    EXPECT_TRUE(notice->isVisible());

    ASSERT_TRUE(QTest::qWaitFor([box] { return box->isEnabled(); }, 30000));
    QTest::mouseClick(box, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(gFormOpen.value(u"frmHotView1"_s));
    EXPECT_EQ(ReadIfo(QString(), u"SYSTEM"_s, u"HOTVIEWDATE"_s), u"2025-12-08"_s);

    frmMain again;
    again.start();
    EXPECT_EQ(again.findChild<frmHotView1*>(), nullptr);
}

TEST_F(ShellTest, FinishingTheNoticeBringsItBackNextTime)
{
    frmMain* m = openMain(u"player"_s, true);
    auto* notice = m->findChild<frmHotView1*>();
    ASSERT_NE(notice, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([notice] { return notice->isReady(); }, 30000));
    notice->findChild<QPushButton*>(u"cmdExit"_s)->click();
    QApplication::processEvents();
    EXPECT_EQ(ReadIfo(QString(), u"SYSTEM"_s, u"HOTVIEWDATE"_s), QString());
}
