#include "DrawSync.h"

#include "Database.h"
#include "DrawProgress.h"
#include "Globals.h"
#include "LoginService.h"
#include "Paths.h"
#include "Query.h"
#include "Settings.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

class Sync : public ::testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        SURIBALL_REQUIRE_SERVER(GetParam(), true);
        OpenSystemDb();
        ASSERT_EQ(LoginService().login(u"player"_s, u"player"_s, false).outcome, LoginService::Outcome::LoggedIn);
        install.messages.clear();
    }
    void setProgressText(const QString& text)
    {
        OpenServerConn();
        Execute(ServerOwnerConnection(GetParam()),
                u"UPDATE Info1 SET Text1 = ? WHERE IFPart1 = '업데이트' AND Name1 = '추첨진행'"_s,
                {text});
    }
    DrawProgress progress() { return DrawProgress::parse(ReadServerInfo(u"업데이트"_s, u"추첨진행"_s)); }
    TestInstall install {TestInstall::Kind::Demo}; // installed as new as the demo server's files
};

TEST_P(Sync, FirstRunCopiesEveryDrawAndTheNumbers)
{
    SyncDrawResults();
    EXPECT_TRUE(install.messages.shown().isEmpty()) << install.messages.last().toStdString();
    EXPECT_EQ(gLastDrawNo, 1200);
    EXPECT_EQ(gCurrentDrawNo, 1201);
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT COUNT(*) FROM BokList"_s), u"1201"_s);
    EXPECT_EQ(SqlValue(gSystemConn,
                       u"SELECT Date2 || ' ' || Date1 || ' ' || No1 || ' ' || State1 FROM BokList WHERE BokNo = 1"_s),
              u"2002-12-07 2002-12-01 10232933374016 3"_s);
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT Rk1Kum FROM BokList WHERE BokNo = 1200"_s), u"2357299875"_s);
    EXPECT_EQ(ReadInfo(u"업데이트"_s, u"복권:변경날짜"_s), u"2025120601"_s);
    EXPECT_EQ(ReadInfo(u"업데이트"_s, u"복권:추첨회차"_s), u"1200"_s);
    EXPECT_EQ(ReadInfo(u"업데이트"_s, u"복권:진행회차"_s), u"1201"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) || '/' || MIN(BokNo) || '/' || MAX(BokNo) FROM Bok1"_s),
              u"1201/1/1201"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Count1 || Bigo1 || Tag1 FROM Bok1 WHERE BokNo = 7"_s), u"00"_s);
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT COUNT(*) FROM Hot1"_s), u"4"_s); // the hidden line stays out
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT Text1 FROM Hot1 WHERE No1 = 1"_s),
              u"[수리볼] 복권금고에 게임을 보관하고 추첨 후 당첨을 바로 확인하세요"_s);
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT Part1 FROM Hot1 WHERE No1 = 4"_s), u"광고"_s);
    EXPECT_TRUE(gUserConn.isOpen());
    EXPECT_TRUE(install.launcher.programs.isEmpty());
}

TEST_P(Sync, ChangedDrawsAreUpdatedInPlaceAndLocalSumsKept)
{
    SyncDrawResults();
    Execute(gSystemConn, u"UPDATE BokList SET Sum1 = 77, Sum2 = 88 WHERE BokNo = 1201"_s);
    Execute(gSystemConn, u"DELETE FROM BokList WHERE BokNo = 5"_s);
    Execute(gUserConn, u"UPDATE Bok1 SET Bigo1 = '메모' WHERE BokNo = 3"_s);

    // The administrator enters the result of 1201 and opens 1202.
    OpenServerConn();
    Execute(ServerOwnerConnection(GetParam()),
            u"UPDATE BokList SET LotNo = '01020304050607', State1 = '3', Rk1Kum = 1000, State2 = '2025121301' "
            "WHERE BokNo = 1201"_s);
    Execute(ServerOwnerConnection(GetParam()),
            u"INSERT INTO BokList (BokNo,Date1,Date2,LotNo,State1,State2,Rk1Count,Rk2Count,Rk3Count,Rk4Count,"
            "Rk5Count,Rk1Kum,Rk2Kum,Rk3Kum,Rk4Kum,Rk5Kum) VALUES (1202,'20251207','20251213','00000000000000','1',"
            "'2025121301',0,0,0,0,0,0,0,0,0,0)"_s);
    DrawProgress p = progress();
    p.lastDrawNo = 1201;
    p.currentDrawNo = 1202;
    p.drawsStamp = u"2025121301"_s;
    setProgressText(p.compose());

    SyncDrawResults();
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT COUNT(*) FROM BokList WHERE BokNo = 1201"_s), u"1"_s);
    EXPECT_EQ(
        SqlValue(gSystemConn,
                 u"SELECT No1 || State1 || Rk1Kum || '/' || Sum1 || '/' || Sum2 FROM BokList WHERE BokNo = 1201"_s),
        u"0102030405060731000/77/88"_s);
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT COUNT(*) FROM BokList"_s), u"1201"_s); // 5 is not sent again; 1202 is new
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT Sum1 FROM BokList WHERE BokNo = 1202"_s), u"0"_s);
    EXPECT_EQ(gCurrentDrawNo, 1202);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM Bok1"_s), u"1202"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Bigo1 FROM Bok1 WHERE BokNo = 3"_s), u"메모"_s);

    // A hole among the rows is filled, whatever else the table holds.
    Execute(gUserConn, u"DELETE FROM Bok1 WHERE BokNo = 1"_s);
    Execute(gUserConn, u"INSERT INTO Bok1 (BokNo,Count1,Bigo1,Tag1) VALUES (9999,0,'','0')"_s);
    SyncDrawResults();
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM Bok1 WHERE BokNo <= 1202"_s), u"1202"_s);
}

TEST_P(Sync, TheTickerIsRebuiltOncePerDrawOnSale)
{
    SyncDrawResults();
    OpenServerConn();
    Execute(ServerOwnerConnection(GetParam()),
            u"INSERT INTO PrList (Title1,Url1,State1,Show1,Sum1) VALUES (?,?,'2','1',1000)"_s,
            {u"it's a 'quoted' title"_s, u"example.com/a'b"_s});
    SyncDrawResults();
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT COUNT(*) FROM Hot1"_s), u"4"_s); // same draw on sale: not rebuilt

    DrawProgress p = progress();
    p.currentDrawNo = 1202;
    setProgressText(p.compose());
    SyncDrawResults();
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT COUNT(*) FROM Hot1"_s), u"5"_s);
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT Text1 || ' ' || Url1 FROM Hot1 WHERE No1 = 1"_s),
              u"it's a 'quoted' title example.com/a'b"_s);
    EXPECT_EQ(ReadInfo(u"업데이트"_s, u"전광판:변경회차"_s), u"1202"_s);
}

TEST_P(Sync, NoDrawOnSaleAddsNoDrawRows)
{
    DrawProgress p = progress();
    p.lastDrawNo = 0;
    p.currentDrawNo = 0;
    setProgressText(p.compose());
    SyncDrawResults();
    EXPECT_EQ(gCurrentDrawNo, 0);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM Bok1"_s), u"0"_s);
}

TEST_P(Sync, NewFilesHandOverToTheUpdater)
{
    DrawProgress p = progress();
    p.filesStamp = u"2025121500"_s;
    setProgressText(p.compose());
    EXPECT_THROW(SyncDrawResults(), ProgramEnded);
    ASSERT_EQ(install.launcher.programs.size(), 1);
    // 2025-12-08 → 2025 + 1208.
    EXPECT_EQ(install.launcher.programs[0], InstallPaths::updaterProgram() + u" 3233"_s);
    EXPECT_FALSE(gUserConn.isOpen());
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT COUNT(*) FROM BokList"_s), u"0"_s);
}

TEST_P(Sync, AnUpdaterThatCannotStartIsReportedAndTheProgramGoesOn)
{
    DrawProgress p = progress();
    p.filesStamp = u"2025121500"_s;
    setProgressText(p.compose());
    install.launcher.programsStart = false;
    SyncDrawResults();
    ASSERT_EQ(install.launcher.programs.size(), 1);
    ASSERT_EQ(install.messages.shown().size(), 1);
    EXPECT_TRUE(install.messages.last().contains(u"[업데이트]"_s));
    EXPECT_EQ(install.messages.shown()[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(gUserConn.isOpen());
    EXPECT_EQ(gCurrentDrawNo, 1201);
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT COUNT(*) FROM BokList"_s), u"1201"_s);
}

TEST_P(Sync, StampsAreComparedWithoutTheirBlanks)
{
    WriteInfo(u"업데이트"_s, u"화일복사:변경날짜"_s, u" "_s + progress().filesStamp + u"  "_s);
    SyncDrawResults();
    EXPECT_TRUE(install.launcher.programs.isEmpty());
    EXPECT_EQ(gCurrentDrawNo, 1201);
}

TEST_P(Sync, ABrokenProgressTextEndsWithoutStartingTheUpdater)
{
    setProgressText(u"추첨1200회"_s);
    EXPECT_THROW(SyncDrawResults(), ProgramEnded);
    EXPECT_TRUE(install.launcher.programs.isEmpty());
    EXPECT_TRUE(install.messages.last().contains(u"추첨진행"_s));

    OpenServerConn();
    Execute(ServerOwnerConnection(GetParam()), u"DELETE FROM Info1 WHERE Name1 = '추첨진행'"_s);
    install.messages.clear();
    EXPECT_THROW(SyncDrawResults(), ProgramEnded);
    EXPECT_EQ(install.messages.shown().size(), 2); // the read warning, then why the program stops
    EXPECT_TRUE(install.launcher.programs.isEmpty());
}

TEST_P(Sync, AnEmptyNumberOnTheServerCopiesNothing)
{
    OpenServerConn();
    Execute(ServerOwnerConnection(GetParam()), u"UPDATE BokList SET Rk3Kum = NULL WHERE BokNo = 600"_s);
    EXPECT_THROW(SyncDrawResults(), ProgramEnded);
    EXPECT_TRUE(install.messages.last().contains(u"제600회"_s)) << install.messages.last().toStdString();
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT COUNT(*) FROM BokList"_s), u"0"_s);
    EXPECT_EQ(ReadInfo(u"업데이트"_s, u"복권:변경날짜"_s), QString());

    // Mended on the server, the next start copies everything.
    Execute(ServerOwnerConnection(GetParam()), u"UPDATE BokList SET Rk3Kum = 5 WHERE BokNo = 600"_s);
    SyncDrawResults();
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT COUNT(*) FROM BokList"_s), u"1201"_s);
}

INSTANTIATE_TEST_SUITE_P(Servers, Sync, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);

TEST(UpdaterNumber, YearPlusMonthAndDay)
{
    EXPECT_EQ(UpdaterDayNumber(QDate(2003, 3, 12)), 2315);
    EXPECT_EQ(UpdaterDayNumber(QDate(2002, 12, 31)), 3233);
}
