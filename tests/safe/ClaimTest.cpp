#include "ClaimDeadline.h"
#include "ClaimStore.h"
#include "Clock.h"
#include "DrawSync.h"
#include "Globals.h"
#include "LoginService.h"
#include "Query.h"
#include "SafeStore.h"
#include "SafeWindowFixture.h"
#include "TestEnvironment.h"
#include "WinNotice.h"
#include "frmBank1.h"
#include "frmWin1.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QDate day(const char* text) { return QDate::fromString(QString::fromLatin1(text), u"yyyy-MM-dd"_s); }

QString deadline(const char* drawDate) { return ClaimDeadlineFor(day(drawDate)).date.toString(u"yyyy-MM-dd"_s); }

} // namespace

TEST(ClaimDeadline, OneYearFromTheDayAfterTheDrawMovedPastWeekendsAndHolidays)
{
    EXPECT_EQ(deadline("2025-11-29"), u"2026-11-30"_s);
    EXPECT_EQ(deadline("2024-02-24"), u"2025-02-25"_s);
    EXPECT_EQ(deadline("2025-02-22"), u"2026-02-23"_s);
    EXPECT_EQ(deadline("2023-09-16"), u"2024-09-19"_s); // Chuseok 16–18 September 2024
    EXPECT_EQ(deadline("2024-10-05"), u"2025-10-10"_s); // Chuseok, its substitute day, then Hangul Day
    EXPECT_EQ(deadline("2025-02-28"), u"2026-03-03"_s); // 1 March on a Sunday and its substitute Monday
    EXPECT_EQ(deadline("2027-02-28"), u"2028-03-02"_s); // 1 March 2028 is a Wednesday holiday
    // The day after is 29 February: a common year has no such day, the month's last day stands for it.
    EXPECT_EQ(deadline("2024-02-28"), u"2025-02-28"_s);
    EXPECT_EQ(deadline("2027-12-25"), u"2028-12-26"_s);
    EXPECT_TRUE(ClaimDeadlineFor(day("2025-11-29")).certain);
    EXPECT_EQ(ClaimDeadlineFor(u"20251129"_s).date, day("2026-11-30"));
    EXPECT_FALSE(ClaimDeadlineFor(u""_s).isValid());
}

TEST(ClaimDeadline, AYearWithoutItsHolidaysIsShownWithTheNote)
{
    const ClaimDeadline late = ClaimDeadlineFor(day("2029-06-01")); // → Saturday 2 June 2030
    EXPECT_EQ(late.date, day("2030-06-03")); // weekends are known in any year
    EXPECT_FALSE(late.certain);
    EXPECT_EQ(late.text(), u"2030-06-03(월) (휴일이면 다음 영업일)"_s);
    EXPECT_EQ(ClaimDeadlineFor(day("2025-11-29")).text(), u"2026-11-30(월)"_s);

    // A year whose line cannot be read whole counts as unknown rather than as a year without holidays.
    const HolidayTable table = HolidayTable::parse(u"# test\n2026: 11-30 12-25\n2027: 01-01 13-01\n"_s);
    EXPECT_TRUE(table.covers(2026));
    EXPECT_FALSE(table.covers(2027));
    const ClaimDeadline moved = ClaimDeadlineFor(day("2025-11-29"), table);
    EXPECT_EQ(moved.date, day("2026-12-01"));
    EXPECT_TRUE(moved.certain);
    EXPECT_FALSE(ClaimDeadlineFor(day("2026-11-29"), table).certain);
}

// A member's first start after the draw: the demo's real draws, 1200 drawn (01 02 04 16 20 32, bonus 45),
// 1201 on sale, the clock at 2025-12-08.
class WinAfterSync : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OpenSystemDb();
        ASSERT_EQ(LoginService().login(u"player"_s, u"player"_s, false).outcome, LoginService::Outcome::LoggedIn);
        OpenUserDb();
        install.messages.clear();
    }
    static void keep(qint64 drawNo, const QStringList& games)
    {
        ASSERT_FALSE(SafeStore::SaveGames(drawNo, games, QString(), u"기본"_s).has_value());
    }
    static QString ranks(qint64 drawNo)
    {
        return SqlValue(gUserConn,
                        u"SELECT group_concat(Top1, '') FROM (SELECT Top1 FROM List1 WHERE BokNo = ? ORDER BY SNo1)"_s,
                        {drawNo});
    }
    // Won games of an older draw, ranked already, as the safe leaves them.
    static void wonEarlier(qint64 drawNo, int fifths)
    {
        for (int i = 0; i < fifths; ++i)
            Execute(gUserConn,
                    u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES (?,1,'010203040506','5',5000,?)"_s,
                    {drawNo, i + 1});
    }
    TestInstall install {TestInstall::Kind::Demo};
};

TEST_F(WinAfterSync, TheStartRanksTheNewDrawAsTheSafeWouldAndNamesTheWins)
{
    keep(1200,
         {u"010204164041"_s, // four numbers: 4th
          u"010204304041"_s, // three: 5th
          u"010204333435"_s,
          u"162032404142"_s,
          u"050607080910"_s, // none
          u"010204162032"_s.left(10) + u"45"_s}); // five and the bonus: 2nd
    keep(1201, {u"010204164041"_s}); // on sale: waits

    SyncDrawResults();
    EXPECT_TRUE(install.messages.shown().isEmpty()) << install.messages.last().toStdString();
    ASSERT_EQ(gNewWinDraws, std::vector<qint64> {1200});
    EXPECT_EQ(ranks(1200), u"455502"_s);
    EXPECT_EQ(ranks(1201), u"9"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Tag1 FROM Bok1 WHERE BokNo = 1200"_s), u"1"_s);

    const WinNotice::Content notice = WinNotice::Collect(gNewWinDraws, Clock::today());
    ASSERT_EQ(notice.fresh.size(), 1u);
    EXPECT_TRUE(notice.expiring.empty());
    EXPECT_EQ(WinNotice::WinLine(notice.fresh[0]),
              u"제1200회: 2등 1게임, 4등 1게임, 5등 3게임, 당첨금 합계 58,997,497원"_s);
    EXPECT_EQ(WinNotice::DeadlineText(notice.fresh[0], Clock::today()), u"지급기한 2026-11-30(월)까지 (357일 남음)"_s);

    // The next start copies nothing new and has nothing to tell.
    SyncDrawResults();
    EXPECT_TRUE(gNewWinDraws.empty());
}

TEST_F(WinAfterSync, NothingWonIsNothingToTell)
{
    keep(1200, {u"050607080910"_s, u"111213141517"_s});
    SyncDrawResults();
    EXPECT_TRUE(gNewWinDraws.empty());
    EXPECT_EQ(ranks(1200), u"00"_s);
    EXPECT_TRUE(WinNotice::Collect(gNewWinDraws, Clock::today()).empty());
}

TEST_F(WinAfterSync, WinningsNearTheirDeadlineAreListedUntilReceived)
{
    SyncDrawResults();
    wonEarlier(1148, 1); // drawn 2024-11-30: deadline 2025-12-01, passed
    wonEarlier(1149, 2); // 2024-12-07: 2025-12-08, today
    wonEarlier(1150, 1); // 2024-12-14: 2025-12-15
    wonEarlier(1151, 1); // 2024-12-21: 2025-12-22
    const QDate today = Clock::today();

    WinNotice::Content notice = WinNotice::Collect({}, today);
    ASSERT_EQ(notice.expiring.size(), 3u);
    EXPECT_EQ(notice.expiring[0].drawNo, 1149);
    EXPECT_EQ(WinNotice::WinLine(notice.expiring[0]), u"제1149회: 5등 2게임, 당첨금 합계 10,000원"_s);
    EXPECT_EQ(WinNotice::DeadlineText(notice.expiring[0], today), u"지급기한 2025-12-08(월)까지 (오늘까지)"_s);
    EXPECT_EQ(WinNotice::DeadlineText(notice.expiring[1], today), u"지급기한 2025-12-15(월)까지 (7일 남음)"_s);

    ClaimStore::MarkReceived(1150, today);
    notice = WinNotice::Collect({}, today);
    ASSERT_EQ(notice.expiring.size(), 2u);
    EXPECT_EQ(notice.expiring[1].drawNo, 1151);

    EXPECT_EQ(ClaimStore::ClaimLine(ClaimStore::ReadDrawWins(1148), today), u"지급기한이 지났습니다: 2025-12-01(월)"_s);
    EXPECT_EQ(ClaimStore::ClaimLine(ClaimStore::ReadDrawWins(1150), today), u"수령함: 2025-12-08"_s);
    EXPECT_EQ(ClaimStore::ClaimLine(ClaimStore::ReadDrawWins(1152), today), QString()); // nothing won
}

TEST_F(WinAfterSync, TheSwitchReadsOnWithoutItsRow)
{
    EXPECT_TRUE(WinNotice::Enabled());
    WinNotice::SaveEnabled(false);
    EXPECT_FALSE(WinNotice::Enabled());
    Execute(gSystemConn, u"DELETE FROM Info1 WHERE Name1 = '복권금고:당첨 알림'"_s);
    EXPECT_TRUE(WinNotice::Enabled());
    EXPECT_TRUE(install.messages.shown().isEmpty());
    // The program makes no rows: storing without one is refused and says so.
    WinNotice::SaveEnabled(false);
    EXPECT_TRUE(WinNotice::Enabled());
    EXPECT_EQ(install.messages.shown().size(), 1);
}

TEST_F(WinAfterSync, TheNoticeButtonOpensTheSafeOnItsDrawWithTheClaimDate)
{
    keep(1200, {u"010204304041"_s});
    SyncDrawResults();
    const QDate today = Clock::today();
    frmWin1 notice(WinNotice::Collect(gNewWinDraws, today), today);
    QSignalSpy asked(&notice, &frmWin1::openSafeRequested);
    auto* open = notice.findChild<QPushButton*>(u"cmdBank1_1200"_s);
    ASSERT_NE(open, nullptr);
    open->click();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0][0].toLongLong(), 1200);
    EXPECT_EQ(notice.findChild<QLabel*>(u"lblWin1_1200"_s)->text(), u"제1200회: 5등 1게임, 당첨금 합계 5,000원"_s);

    gSafePageSize = 100;
    frmBank1 safe;
    ASSERT_TRUE(safe.ShowDrawNo(1200));
    EXPECT_EQ(safe.findChild<QLabel*>(u"lblRank"_s)->text().left(7), u"(1200회)"_s);
    auto* claim = safe.findChild<QLabel*>(u"lblClaim1"_s);
    EXPECT_EQ(claim->text(), u"지급기한: 2026-11-30(월)까지 (357일 남음)"_s);
    safe.findChild<QPushButton*>(u"cmdClaim1"_s)->click();
    EXPECT_EQ(claim->text(), u"수령함: 2025-12-08"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Date1 FROM Claim1 WHERE BokNo = 1200"_s), u"2025-12-08"_s);
    EXPECT_FALSE(safe.ShowDrawNo(9999));
}
