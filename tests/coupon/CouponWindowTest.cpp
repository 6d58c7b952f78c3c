#include "Clock.h"
#include "CouponFixture.h"
#include "CouponPreview.h"
#include "CouponPrint.h"
#include "Grid.h"
#include "IssuePlan.h"
#include "PageImages.h"
#include "Paths.h"
#include "PreviewPages.h"
#include "UiTools.h"
#include "WhenShown.h"
#include "frmPrint1.h"
#include "frmPrintSet.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <memory>

namespace {

class CouponWindow : public CouponTest
{
protected:
    void SetUp() override
    {
        CouponTest::SetUp();
        gCouponPageSize = 100;
        gUserLevel = u"2"_s;
        Clock::setFixed(QDateTime(QDate(2004, 1, 1), QTime(10, 20, 30)));
    }
    std::unique_ptr<frmPrint1> open()
    {
        auto w = std::make_unique<frmPrint1>();
        w->resize(1200, 760);
        return w;
    }
    static Grid* coupons(frmPrint1& w) { return w.findChild<Grid*>(u"grdR1"_s); }
    static Grid* games(frmPrint1& w) { return w.findChild<Grid*>(u"grdR2"_s); }
    static QLabel* label(frmPrint1& w, const QString& name) { return w.findChild<QLabel*>(name); }
    static void click(frmPrint1& w, const QString& button) { w.findChild<QPushButton*>(button)->click(); }
    static void clickGame(frmPrint1& w, int column, int row) { Q_EMIT games(w)->cellClicked(column, row); }
    static void pick(frmPrint1& w, qint64 drawNo)
    {
        for (int r = 1; r <= coupons(w)->maxRows(); ++r) {
            if (coupons(w)->text(1, r).toLongLong() == drawNo) {
                Q_EMIT coupons(w)->cellClicked(1, r);
                return;
            }
        }
        ADD_FAILURE() << "no coupon " << drawNo;
    }
    static QStringList column(Grid* grid, int c)
    {
        QStringList cells;
        for (int r = 1; r <= grid->maxRows(); ++r)
            cells.append(grid->text(c, r));
        return cells;
    }
    static QString pdfOf(const PrintOutcome& outcome)
    {
        EXPECT_EQ(outcome.target, PrintOutcome::Target::Pdf);
        EXPECT_TRUE(outcome.ok()) << outcome.error.toStdString();
        return outcome.pdfPath;
    }
};

} // namespace

TEST_F(CouponWindow, PagesTheGamesAndKeepsTheLastPageAfterDeleting)
{
    gCouponPageSize = 10;
    AddCoupon(57);
    AddGames(57, 21);
    auto w = open();
    EXPECT_EQ(w->drawNo(), 57);
    EXPECT_EQ(label(*w, u"lblMax1"_s)->text(), u"[1/3]"_s);
    EXPECT_FALSE(label(*w, u"lblNext"_s)->isHidden());
    EXPECT_EQ(games(*w)->maxRows(), 10);
    EXPECT_EQ(label(*w, u"lblMsg1"_s)->text(), u"[발행: 0] [미발행: 21] [당첨: ]"_s);
    // A game in stock shows as the coupon it would make: the highest serial first, alone, with its serial.
    auto* preview = w->findChild<CouponPreview*>(u"picPad"_s);
    ASSERT_TRUE(preview->lines().has_value());
    EXPECT_EQ(preview->lines()->at(6).text, u"[게임1]  01 02 03 04 05 26"_s);
    QStringList shown;
    for (const auto& line : *preview->lines())
        shown.append(line.text.trimmed());
    EXPECT_TRUE(shown.contains(u"SHOP7-0041-0057-000021"_s)) << shown.join(u'|').toStdString();
    w->NextPage();
    w->NextPage();
    w->NextPage(); // no fourth page
    EXPECT_EQ(label(*w, u"lblMax1"_s)->text(), u"[3/3]"_s);
    ASSERT_EQ(games(*w)->maxRows(), 1);
    EXPECT_EQ(label(*w, u"lblRecCount"_s)->text(), u"[자료: 1/1]"_s);
    EXPECT_EQ(label(*w, u"lblNext"_s)->styleSheet(), u"color: rgb(128,0,128);"_s);

    clickGame(*w, 1, 1);
    install.messages.answerNext(MsgAnswer::Ok);
    click(*w, u"cmdDelete2"_s);
    EXPECT_EQ(install.messages.last(), u"1개의 복권게임을 삭제할까요?"_s);
    EXPECT_EQ(Count1(57), 20);
    EXPECT_EQ(label(*w, u"lblMax1"_s)->text(), u"[2/2]"_s);
    EXPECT_EQ(games(*w)->maxRows(), 10);
    EXPECT_EQ(coupons(*w)->text(3, 1), u"20"_s);
}

TEST_F(CouponWindow, ATickedGameOfAnIssuedCouponTicksTheWholeCoupon)
{
    AddCoupon(60);
    AddGames(60, 12);
    auto w = open();
    WhenPreviewed(PreviewAnswer::Print);
    w->IssueRun(2, 5); // coupons 13 and 14, listed newest first, then the two games in stock
    ASSERT_EQ(games(*w)->maxRows(), 12);
    EXPECT_EQ(column(games(*w), 5).mid(0, 6),
              QStringList({u"0060-000014"_s,
                           u"0060-000014"_s,
                           u"0060-000014"_s,
                           u"0060-000014"_s,
                           u"0060-000014"_s,
                           u"0060-000013"_s}));
    EXPECT_EQ(games(*w)->cellColor(2, 1), games(*w)->cellColor(2, 5));
    EXPECT_NE(games(*w)->cellColor(2, 5), games(*w)->cellColor(2, 6)); // every other coupon shaded
    EXPECT_EQ(games(*w)->cellColor(2, 6), QColor(246, 246, 246));

    clickGame(*w, 1, 3);
    EXPECT_EQ(column(games(*w), 1).join(QString()), u"111110000000"_s);
    EXPECT_EQ(w->ticked(), 5);
    clickGame(*w, 1, 12); // a game in stock is ticked alone
    EXPECT_EQ(w->ticked(), 6);
    clickGame(*w, 1, 5);
    EXPECT_EQ(column(games(*w), 1).join(QString()), u"000000000001"_s);
    EXPECT_EQ(w->ticked(), 1);
    clickGame(*w, 1, 0);
    EXPECT_EQ(w->ticked(), 12);
    EXPECT_EQ(games(*w)->text(1, 0), u"-"_s);
    clickGame(*w, 1, 0);
    EXPECT_EQ(w->ticked(), 0);

    // Deleting a ticked issued game takes its whole coupon, also games of it on other pages.
    clickGame(*w, 1, 6);
    install.messages.answerNext(MsgAnswer::Ok);
    click(*w, u"cmdDelete2"_s);
    EXPECT_EQ(Count1(60), 7);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List2 WHERE SNo1 = 13"_s), u"0"_s);
}

TEST_F(CouponWindow, AMemberWhoIsNoShopAndTheGuestAreToldHowToBecomeOne)
{
    AddCoupon(57);
    AddGames(57, 5);
    const QString before = Snapshot(57);
    // The guest has no level at all.
    for (const auto& [id, level] : {std::pair {u"player"_s, u"1"_s}, {kGuestID, QString()}}) {
        gUserID = id;
        gUserLevel = level;
        // Were either allowed, the buttons below would open their forms and wait on them.
        ASSERT_FALSE(IssuePlan::MayIssue(id, level)) << id.toStdString();
        auto w = open();
        for (const QString& button : {u"cmdAppend1"_s, u"cmdPrint1"_s}) {
            install.messages.clear();
            click(*w, button);
            ASSERT_EQ(install.messages.shown().size(), 1) << id.toStdString();
            EXPECT_EQ(install.messages.last(), IssuePlan::MemberShopNotice());
            EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Critical);
        }
    }
    EXPECT_EQ(IssuePlan::MemberShopNotice().split(u"\r\n"_s).size(), 8);
    EXPECT_EQ(Snapshot(57), before);
}

TEST_F(CouponWindow, AnIssueRunIsPreviewedNumberedOnlyWhenPrintedAndCanBePrintedAgainAsItWas)
{
    AddCoupon(60);
    AddGames(60, 40);
    auto w = open();
    const QDir data(InstallPaths::dataDir());
    // Closing the preview numbers nothing, prints nothing and writes no file.
    const QString stock = Snapshot(60);
    QList<QImage> shown;
    WhenPreviewed(PreviewAnswer::Close, &shown);
    w->IssueRun(7, 5);
    EXPECT_EQ(shown.size(), 2); // six on the first page, one on the second
    EXPECT_EQ(Snapshot(60), stock);
    EXPECT_EQ(w->lastPrint().target, PrintOutcome::Target::Nothing);
    EXPECT_TRUE(data.entryList({u"*.pdf"_s}, QDir::Files).isEmpty());
    EXPECT_TRUE(install.launcher.urls.isEmpty());

    WhenPreviewed(PreviewAnswer::Print);
    w->IssueRun(7, 5);
    const QString pdf = pdfOf(w->lastPrint());
    EXPECT_EQ(w->lastPrint().pages, 2);
    EXPECT_TRUE(QFileInfo::exists(pdf));
    EXPECT_TRUE(CouponStore::BeingPrinted().empty());
    EXPECT_EQ(label(*w, u"lblMsg1"_s)->text(), u"[발행: 35] [미발행: 5] [당첨: (미추첨)]"_s);
    EXPECT_EQ(install.launcher.urls.size(), 1); // the PDF was opened
    EXPECT_FALSE(w->findChild<CouponPreview*>(u"picPad"_s)->isEmpty());

    // The paper of coupons 47 and 42 jammed: printed again, nothing numbered anew.
    const QString before = Snapshot(60);
    install.messages.clear();
    click(*w, u"cmdReprint1"_s);
    EXPECT_EQ(install.messages.last(), u"다시 인쇄할 발행복권을 선택하세요."_s);
    clickGame(*w, 1, 1);
    clickGame(*w, 1, 30);
    QFile::remove(pdf);
    WhenPreviewed(PreviewAnswer::Close, &shown);
    click(*w, u"cmdReprint1"_s);
    EXPECT_EQ(shown.size(), 1);
    EXPECT_EQ(w->lastPrint().target, PrintOutcome::Target::Nothing);
    EXPECT_TRUE(data.entryList({u"*.pdf"_s}, QDir::Files).isEmpty());
    WhenPreviewed(PreviewAnswer::Print);
    click(*w, u"cmdReprint1"_s);
    EXPECT_EQ(pdfOf(w->lastPrint()), pdf);
    EXPECT_EQ(w->lastPrint().pages, 1);
    EXPECT_TRUE(QFileInfo::exists(pdf));
    EXPECT_EQ(Snapshot(60), before);
}

TEST_F(CouponWindow, APageThePrinterRefusesIsPassedOverAndItsCouponsCanBePrintedAgain)
{
    AddCoupon(60);
    AddGames(60, 40);
    TestPrinters printers(u"사무실 프린터"_s, {0});
    auto w = open();
    QList<QImage> shown;
    WhenPreviewed(PreviewAnswer::Print, &shown);
    w->IssueRun(7, 5); // coupons 41 to 47: six on the refused first page, one on the second
    EXPECT_EQ(printers.pagesPrinted, 1);
    ASSERT_EQ(shown.size(), 2);
    ASSERT_EQ(printers.lastPages.size(), 1);
    EXPECT_LE(DarkDifference(shown[1], printers.lastPages[0]), kSamePageDots); // coupon 47 as it was shown
    EXPECT_TRUE(CouponStore::BeingPrinted().empty());
    EXPECT_EQ(label(*w, u"lblMsg1"_s)->text(), u"[발행: 35] [미발행: 5] [당첨: (미추첨)]"_s);
    ASSERT_EQ(w->lastMissed().size(), 6);
    EXPECT_EQ(w->lastMissed().front().couponNo, 41);
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Critical);
    EXPECT_TRUE(install.messages.last().contains(u"인쇄하지 못한 복권: 0060-000041 ~ 0060-000046"_s))
        << install.messages.last().toStdString();

    // Exactly those, again: one page, nothing numbered anew.
    const QString before = Snapshot(60);
    for (int r = 1; r <= games(*w)->maxRows(); ++r) {
        const qint64 coupon = games(*w)->text(6, r).toLongLong();
        if (coupon >= 41 && coupon <= 46 && !games(*w)->isChecked(1, r))
            clickGame(*w, 1, r);
    }
    TestPrinters fixed(u"사무실 프린터"_s);
    WhenPreviewed(PreviewAnswer::Print, &shown);
    click(*w, u"cmdReprint1"_s);
    EXPECT_EQ(fixed.pagesPrinted, 1);
    ASSERT_EQ(shown.size(), 1);
    ASSERT_EQ(fixed.lastPages.size(), 1);
    EXPECT_LE(DarkDifference(shown[0], fixed.lastPages[0]), kSamePageDots);
    EXPECT_TRUE(w->lastPrint().ok());
    EXPECT_EQ(Snapshot(60), before);
}

// Once the coupons are numbered, a failure says what it is and never that nothing changed.
TEST_F(CouponWindow, FailuresAfterTheNumberingAreToldForWhatTheyAre)
{
    AddCoupon(60);
    AddGames(60, 10);
    auto w = open();
    {
        TestPrinters jammed(u"사무실 프린터"_s, {0});
        TableAway coupons(Connection::openSqlite(gUserDbPath), u"Bok2"_s);
        // The list read again after the run cannot be.
        WhenBusy reading(u"발행복권 읽기 ..."_s, [&] { coupons.away(); });
        WhenPreviewed(PreviewAnswer::Print);
        install.messages.clear();
        w->IssueRun(2, 5);
    }
    ASSERT_EQ(install.messages.shown().size(), 2);
    EXPECT_TRUE(install.messages.shown()[0].text.contains(u"인쇄하지 못한 복권: 0060-000011 ~ 0060-000012"_s))
        << install.messages.shown()[0].text.toStdString();
    EXPECT_TRUE(install.messages.shown()[1].text.startsWith(kRefreshFailed));
    for (const auto& shown : install.messages.shown())
        EXPECT_FALSE(shown.text.contains(u"바뀐 것은 없습니다"_s)) << shown.text.toStdString();
    EXPECT_TRUE(CouponStore::BeingPrinted().empty());
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List2 WHERE BokNo = 60 AND Date1 <> ''"_s), u"10"_s);

    // A deletion that is committed and a list that cannot follow.
    w->ShowCouponList();
    w->SelectCoupon(1);
    clickGame(*w, 1, 1);
    install.messages.clear();
    {
        TableAway coupons(Connection::openSqlite(gUserDbPath), u"Bok2"_s);
        WhenBusy reading(u"발행복권 읽기 ..."_s, [&] { coupons.away(); });
        click(*w, u"cmdDelete2"_s);
    }
    EXPECT_TRUE(install.messages.last().startsWith(kRefreshFailed)) << install.messages.last().toStdString();
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List2 WHERE BokNo = 60"_s), u"5"_s);
}

TEST_F(CouponWindow, TheIssueFormRefusesWhatNoCouponCanHoldAndAShortageChangesNothing)
{
    AddCoupon(57);
    AddGames(57, 14);
    auto w = open();
    const QString before = Snapshot(57);
    QStringList seen;
    WhenShown<frmPrintSet>([&](frmPrintSet* form) {
        auto* count = form->findChild<QComboBox*>(u"cboCount1"_s);
        auto* games = form->findChild<QComboBox*>(u"cboCount2"_s);
        seen << form->findChild<QLabel*>(u"lblMsg5"_s)->text() << form->findChild<QLabel*>(u"lblMsg1"_s)->text();
        for (const QString& typed : {u"0"_s, u"10000"_s, u"열"_s}) {
            count->setCurrentText(typed);
            form->findChild<QPushButton*>(u"cmdPrint1"_s)->click();
            seen << install.messages.last() + u'|' + count->currentText();
        }
        count->setCurrentText(u"13"_s);
        seen << form->findChild<QLabel*>(u"lblMsg2"_s)->text();
        count->setCurrentText(u"3"_s);
        for (const QString& typed : {u"0"_s, u"6"_s, u"x"_s}) {
            games->setCurrentText(typed);
            form->findChild<QPushButton*>(u"cmdPrint1"_s)->click();
            seen << install.messages.last() + u'|' + games->currentText();
        }
        EXPECT_EQ(form->findChild<QLabel*>(u"lblMsg3"_s)->text(), u"선택한 게임수: 15(게임)"_s);
        form->findChild<QPushButton*>(u"cmdPrint1"_s)->click();
    });
    click(*w, u"cmdPrint1"_s);
    EXPECT_EQ(seen,
              QStringList({u"미발행 게임수: 14(게임)"_s,
                           u"프린터: 없음 (복권은 DATA 폴더에 PDF 화일로 만들어집니다)"_s,
                           IssuePlan::kCouponsRefused + u"|8"_s,
                           IssuePlan::kCouponsRefused + u"|8"_s,
                           IssuePlan::kCouponsRefused + u"|8"_s,
                           u"필요한 용지수: 3(장)"_s,
                           IssuePlan::kGamesRefused + u"|5"_s,
                           IssuePlan::kGamesRefused + u"|5"_s,
                           IssuePlan::kGamesRefused + u"|5"_s}));
    // Any number is taken, rounded to a whole one as every rounding here is: halves to even.
    EXPECT_EQ(IssuePlan::Count(u"2.5"_s, 1, 9999), 2);
    EXPECT_EQ(IssuePlan::Count(u" 3.5"_s, 1, 5), 4);
    EXPECT_EQ(IssuePlan::Count(u"0.4"_s, 1, 5), std::nullopt);
    // Three coupons of five from fourteen games.
    EXPECT_EQ(install.messages.last(), CouponStore::kShortageMessage);
    EXPECT_EQ(Snapshot(57), before);
    EXPECT_EQ(w->lastPrint().target, PrintOutcome::Target::Nothing);
}

TEST_F(CouponWindow, APastDrawIsRankedWhenSelectedAndItsLostGamesCanGo)
{
    AddCoupon(60);
    AddCoupon(57);
    ASSERT_FALSE(CouponStore::AddGames(57, {u"010203040545"_s, u"010203434445"_s, u"404142434445"_s}).has_value());
    ASSERT_FALSE(CouponStore::IssueCoupons(57, 3, 1).refusal.has_value());
    CouponStore::FinishIssue();
    auto w = open();
    EXPECT_EQ(w->drawNo(), 60); // newest first
    EXPECT_EQ(label(*w, u"lblMsg1"_s)->text(), u"[발행: 0] [미발행: 0] [당첨: (미추첨)]"_s);
    EXPECT_EQ(label(*w, u"lblRecCount"_s)->text(), u"[자료: 2/0]"_s);
    EXPECT_FALSE(w->findChild<CouponPreview*>(u"picPad"_s)->isEmpty()); // the bare coupon

    pick(*w, 57);
    EXPECT_EQ(label(*w, u"lblMsg1"_s)->text(), u"[발행: 3] [미발행: 0] [당첨: 3등(1) 5등(1)]"_s);
    EXPECT_EQ(column(games(*w), 3), QStringList({u""_s, u"5"_s, u"3"_s}));

    click(*w, u"cmdClear1"_s);
    EXPECT_EQ(Count1(57), 2);
    EXPECT_EQ(coupons(*w)->text(3, 2), u"2"_s);

    install.messages.answerNext(MsgAnswer::Ok);
    click(*w, u"cmdDelete1"_s);
    EXPECT_EQ(install.messages.last(),
              u"선택한 쿠폰자료를 삭제할까요? (주의: 쿠폰에 포함된 복권자료도 모두 삭제됩니다)\r\n\r\n"
              "[쿠폰: 57회차 행운의 쿠폰]"_s);
    EXPECT_EQ(Count1(57), -1);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List2"_s), u"0"_s);
    EXPECT_EQ(coupons(*w)->maxRows(), 1);
}

TEST_F(CouponWindow, TipsTakeTurnsInTheCaptionAndNoneIsFine)
{
    AddCoupon(57);
    auto w = open();
    const QStringList tips = IssuePlan::Tips();
    ASSERT_GE(tips.size(), 2);
    const QString first = w->windowTitle();
    w->ShowNextTip();
    EXPECT_NE(w->windowTitle(), first);
    EXPECT_TRUE(w->windowTitle().startsWith(u"복권쿠폰  [활용팁: "_s));
    for (qsizetype i = 1; i < tips.size(); ++i)
        w->ShowNextTip();
    EXPECT_EQ(w->windowTitle(), first); // round and back

    Execute(gSystemConn, u"DELETE FROM Tip1"_s);
    auto bare = open();
    EXPECT_EQ(bare->windowTitle(), u"복권쿠폰"_s);
    EXPECT_TRUE(install.messages.shown().isEmpty()) << install.messages.last().toStdString();
}

TEST_F(CouponWindow, WithoutCouponsEveryButtonIsHarmless)
{
    auto w = open();
    EXPECT_EQ(coupons(*w)->maxRows(), 0);
    EXPECT_EQ(label(*w, u"lblRecCount"_s)->text(), u"[자료: 0/0]"_s);
    for (const QString& button : {u"cmdEdit1"_s,
                                  u"cmdDelete1"_s,
                                  u"cmdPrint1"_s,
                                  u"cmdReprint1"_s,
                                  u"cmdDelete2"_s,
                                  u"cmdClear1"_s,
                                  u"cmdSave1"_s,
                                  u"cmdRefresh"_s})
        click(*w, button);
    click(*w, u"cmdToText"_s);
    EXPECT_EQ(install.messages.last(), u"텍스트화일 저장할 복권이 없습니다."_s);
    EXPECT_EQ(install.messages.shown().size(), 1);
}
