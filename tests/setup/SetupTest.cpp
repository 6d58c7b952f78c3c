#include "Clock.h"
#include "CouponStore.h"
#include "Database.h"
#include "DemoData.h"
#include "DrawProgress.h"
#include "DrawSync.h"
#include "Globals.h"
#include "Installer.h"
#include "LoginService.h"
#include "Paths.h"
#include "Query.h"
#include "Rank.h"
#include "Schema.h"
#include "ServerCatalog.h"
#include "Settings.h"
#include "SetupError.h"
#include "TestEnvironment.h"
#include "Tools.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringDecoder>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Every column of every table answers a query naming it.
void expectSchema(const Connection& c, const std::vector<TableDef>& tables)
{
    for (const TableDef& table : tables) {
        QStringList names;
        for (const ColumnDef& column : table.columns)
            names.append(column.name);
        EXPECT_NO_THROW(Query(c, u"SELECT "_s + names.join(u',') + u" FROM "_s + table.name).run())
            << table.name.toStdString();
    }
}

const QList<std::pair<QString, QString>> kSettingRows = {
    {u"화면구성"_s, u"메인:높이"_s},
    {u"화면구성"_s, u"로또게임:게임 횟수"_s},
    {u"화면구성"_s, u"복권금고:표시할 복권수"_s},
    {u"화면구성"_s, u"복권금고:추첨결과 목록 수"_s},
    {u"화면구성"_s, u"복권쿠폰:표시할 복권수"_s},
    {u"화면구성"_s, u"복권쿠폰:발행할 복권수"_s},
    {u"화면구성"_s, u"복권쿠폰:복권당 게임수"_s},
    {u"화면구성"_s, u"도움말:길이"_s},
    {u"화면구성"_s, u"도움말:높이"_s},
    {u"화면구성"_s, u"도움말:왼쪽"_s},
    {u"화면구성"_s, u"도움말:윗쪽"_s},
    {u"화면구성"_s, u"복권쿠폰:활용팁"_s},
    {u"업데이트"_s, u"화일복사:변경날짜"_s},
    {u"업데이트"_s, u"복권:변경날짜"_s},
    {u"업데이트"_s, u"복권:추첨회차"_s},
    {u"업데이트"_s, u"복권:진행회차"_s},
    {u"업데이트"_s, u"전광판:변경회차"_s},
    {u"업데이트"_s, u"업소구분:목록"_s},
};

} // namespace

TEST(PlainInstall, LaysOutFoldersDatabasesAndSettings)
{
    TestInstall install;
    for (const char16_t* dir : {u"BIN", u"DATA", u"PR", u"DOC", u"TEMP"})
        EXPECT_TRUE(QFileInfo(install.path(QString::fromUtf16(dir))).isDir());
    OpenSystemDb();
    expectSchema(gSystemConn, Schema::systemTables());
    for (const auto& [section, name] : kSettingRows)
        ReadInfo(section, name);
    EXPECT_TRUE(install.messages.shown().isEmpty()) << install.messages.last().toStdString();

    EXPECT_GE(ReadInfo(u"화면구성"_s, u"메인:높이"_s).toDouble(), 11000);
    const int games = ReadInfo(u"화면구성"_s, u"로또게임:게임 횟수"_s).toInt();
    EXPECT_TRUE((games >= 1 && games <= 5) || (games % 10 == 0 && games <= 100));
    EXPECT_EQ(ReadInfo(u"화면구성"_s, u"복권금고:표시할 복권수"_s).toInt() % 50, 0);
    EXPECT_EQ(ReadInfo(u"화면구성"_s, u"복권금고:추첨결과 목록 수"_s).toInt() % 10, 0);
    const int perTicket = ReadInfo(u"화면구성"_s, u"복권쿠폰:복권당 게임수"_s).toInt();
    EXPECT_TRUE(perTicket >= 1 && perTicket <= 5);
    EXPECT_EQ(ReadInfo(u"업데이트"_s, u"화일복사:변경날짜"_s), QString());
    EXPECT_EQ(ReadInfo(u"업데이트"_s, u"복권:변경날짜"_s), QString());
    EXPECT_GT(ReadInfo(u"업데이트"_s, u"업소구분:목록"_s).split(u'#').size(), 3);
    EXPECT_GE(SqlValue(gSystemConn, u"SELECT COUNT(*) FROM Tip1 WHERE Part1 = ?"_s, {u"복권쿠폰"_s}).toInt(), 3);

    const Connection user = OpenUserDatabase(InstallPaths::userDbTemplate());
    expectSchema(user, Schema::userTables());
    EXPECT_EQ(SqlValue(user, u"SELECT COUNT(*) FROM MyInfo1 WHERE Name1 IN ('아이디','주민등록번호')"_s), u"2"_s);

    EXPECT_EQ(ReadIfo(QString(), u"SYSTEM"_s, u"LASTLOGINID"_s), u"NO"_s);
    EXPECT_EQ(ServerSetting(), u"sqlite:SERVER/VELTRA1.db"_s);
}

TEST(PlainInstall, TakesTheFilesStampOfAServerItCanReach)
{
    TestInstall install;
    const QString server = install.path(u"SERVER/VELTRA1.db"_s);
    QDir().mkpath(QFileInfo(server).absolutePath());
    ServerCatalog::createSqlite(server, false, true, Clock::today());
    Installer::Options options;
    options.root = install.root();
    options.server = u"sqlite:SERVER/VELTRA1.db"_s;
    options.force = true;
    Installer::install(options);
    OpenSystemDb();
    const QString stamp = DrawProgress::parse(ReadServerInfo(u"업데이트"_s, u"추첨진행"_s)).filesStamp.trimmed();
    EXPECT_FALSE(stamp.isEmpty());
    EXPECT_EQ(ReadInfo(u"업데이트"_s, u"화일복사:변경날짜"_s), stamp);
}

TEST(PlainInstall, HelpTextIsCp949WithCrLf)
{
    TestInstall install;
    const QByteArray bytes = ReadBytes(InstallPaths::dateFormatHelp());
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    QStringDecoder strict("windows-949");
    const QString text = strict.decode(bytes);
    EXPECT_FALSE(strict.hasError());
    EXPECT_TRUE(text.contains(u"YYYY-MM-DD"_s));
    EXPECT_EQ(ToCp949(text), bytes);
}

TEST(DemoInstall, CarriesTheRealDrawsAndIsUpToDate)
{
    TestInstall install(TestInstall::Kind::Demo);
    OpenSystemDb();
    OpenServerConn();
    expectSchema(gServerConn, Schema::serverTables());
    EXPECT_EQ(SqlValue(gServerConn, u"SELECT COUNT(*) FROM BokList WHERE State1 = '3'"_s), u"1200"_s);
    EXPECT_EQ(SqlValue(gServerConn, u"SELECT LotNo FROM BokList WHERE BokNo = 1"_s), u"10232933374016"_s);
    EXPECT_EQ(SqlValue(gServerConn, u"SELECT Date2 FROM BokList WHERE BokNo = 1"_s), u"20021207"_s);
    EXPECT_EQ(SqlValue(gServerConn, u"SELECT Rk1Kum FROM BokList WHERE BokNo = 1200"_s), u"2357299875"_s);
    EXPECT_EQ(SqlValue(gServerConn, u"SELECT Rk5Count FROM BokList WHERE BokNo = 1200"_s), u"2673060"_s);
    EXPECT_EQ(SqlValue(gServerConn, u"SELECT LotNo || State1 FROM BokList WHERE BokNo = 1201"_s), u"000000000000001"_s);
    EXPECT_EQ(SqlValue(gServerConn, u"SELECT Date2 FROM BokList WHERE BokNo = 1201"_s), u"20251206"_s);
    EXPECT_EQ(SqlValue(gServerConn, u"SELECT State1 FROM Member WHERE ID1 = 'gone'"_s), u"2"_s);
    EXPECT_EQ(SqlValue(gServerConn, u"SELECT Level1 FROM Member WHERE ID1 = 'shop7'"_s), u"2"_s);
    EXPECT_GE(SqlValue(gServerConn, u"SELECT COUNT(*) FROM PrList WHERE State1 = '2' AND Show1 = '1'"_s).toInt(), 3);

    const DrawProgress progress = DrawProgress::parse(ReadServerInfo(u"업데이트"_s, u"추첨진행"_s));
    EXPECT_EQ(progress.lastDrawNo, 1200);
    EXPECT_EQ(progress.currentDrawNo, 1201);
    EXPECT_EQ(progress.filesStamp, ReadInfo(u"업데이트"_s, u"화일복사:변경날짜"_s));
    EXPECT_EQ(ReadServerInfo(u"시스템"_s, u"동작상태"_s), u"정상동작"_s);
    EXPECT_TRUE(QFile::exists(install.path(u"WEB/popup2.htm"_s)));
    EXPECT_TRUE(QFile::exists(install.path(u"WEB/member/register.htm"_s)));
    EXPECT_EQ(WebSiteSetting(), u"WEB"_s);
    EXPECT_TRUE(install.messages.shown().isEmpty());
}

TEST(DemoInstall, RefusesToOverwriteUnlessForcedAndKeepsMembersFiles)
{
    TestInstall install(TestInstall::Kind::Demo);
    const QString memberFile = InstallPaths::userDb(u"player"_s);
    QFile::copy(InstallPaths::userDbTemplate(), memberFile);
    EXPECT_THROW(Installer::demo(install.root(), false, QDate(2025, 12, 8)), SetupError);
    EXPECT_NO_THROW(Installer::demo(install.root(), true, QDate(2025, 12, 8)));
    EXPECT_TRUE(QFile::exists(memberFile));
    EXPECT_FALSE(QFile::exists(InstallPaths::systemDb() + u".new"_s));
}

TEST(DemoData, DrawsMatchTheirDatesAndRules)
{
    const auto& draws = DemoData::draws();
    ASSERT_EQ(draws.size(), 1200u);
    for (const DemoData::Draw& d : draws) {
        const QString text = d.drawText();
        ASSERT_EQ(text.size(), 14);
        // The draw's own numbers rank first against it, and the bonus is never one of them.
        EXPECT_EQ(RankOfGame(text, text.left(12)), u"1"_s) << d.drawNo;
        EXPECT_EQ(RankOfGame(text, text.left(10) + text.mid(12, 2)), u"2"_s) << d.drawNo;
    }
    EXPECT_EQ(DemoData::drawDate(1200), QDate(2025, 11, 29));
}

class ServerCatalogTest : public ::testing::TestWithParam<Backend>
{
protected:
    TestInstall install;
};

TEST_P(ServerCatalogTest, BuildsEveryTableAndTheRowsTheProgramNeeds)
{
    SURIBALL_REQUIRE_SERVER(GetParam(), false);
    OpenServerConn();
    // The members' secrets are the owner's to read, not the shared account's.
    expectSchema(ServerOwnerConnection(GetParam()), Schema::serverTables());
    EXPECT_EQ(SqlValue(gServerConn, u"SELECT COUNT(*) FROM BokList"_s), u"0"_s);
    EXPECT_EQ(ReadServerInfo(u"시스템"_s, u"동작상태"_s), u"정상동작"_s);
    const DrawProgress fresh = DrawProgress::parse(ReadServerInfo(u"업데이트"_s, u"추첨진행"_s));
    EXPECT_EQ(fresh.currentDrawNo, 0);
    EXPECT_EQ(fresh.filesStamp, u"2025120800"_s);
    EXPECT_EQ(fresh.drawsStamp, u"2025120800"_s);

    SURIBALL_REQUIRE_SERVER(GetParam(), true);
    OpenServerConn();
    EXPECT_EQ(SqlValue(gServerConn, u"SELECT COUNT(*) FROM BokList"_s), u"1201"_s);
    EXPECT_EQ(SqlValue(ServerOwnerConnection(GetParam()), u"SELECT COUNT(*) FROM Member"_s), u"4"_s);
}

TEST_P(ServerCatalogTest, AnExistingCatalogIsKeptUnlessForced)
{
    SURIBALL_REQUIRE_SERVER(GetParam(), true);
    if (GetParam() == Backend::SQLite) {
        EXPECT_THROW(ServerCatalog::createSqlite(install.path(u"SERVER/VELTRA1.db"_s), false, false, QDate(2025, 1, 1)),
                     SetupError);
    } else {
        EXPECT_THROW(
            ServerCatalog::createPostgres(*ServerCatalog::TestServerFromEnvironment(), false, false, QDate(2025, 1, 1)),
            SetupError);
    }
    OpenServerConn();
    EXPECT_EQ(SqlValue(gServerConn, u"SELECT COUNT(*) FROM BokList"_s), u"1201"_s);
}

INSTANTIATE_TEST_SUITE_P(Servers,
                         ServerCatalogTest,
                         ::testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         BackendName);

TEST(SetupCommand, ExplainsItselfAndRefusesToOverwrite)
{
    QTemporaryDir dir;
    const QString root = QDir(dir.path()).filePath(u"수리볼"_s);
    QProcess setup;
    setup.start(QStringLiteral(SURIBALL_SETUP_EXE), {});
    ASSERT_TRUE(setup.waitForFinished(60000));
    EXPECT_EQ(setup.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(setup.readAllStandardError()).contains(u"사용법"_s));

    setup.start(QStringLiteral(SURIBALL_SETUP_EXE), {u"demo"_s, u"--root"_s, root});
    ASSERT_TRUE(setup.waitForFinished(60000));
    EXPECT_EQ(setup.exitCode(), 0) << setup.readAllStandardError().toStdString();
    EXPECT_TRUE(QFile::exists(QDir(root).filePath(u"SERVER/VELTRA1.db"_s)));

    setup.start(QStringLiteral(SURIBALL_SETUP_EXE), {u"demo"_s, u"--root"_s, root});
    ASSERT_TRUE(setup.waitForFinished(60000));
    EXPECT_EQ(setup.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(setup.readAllStandardError()).contains(u"--force"_s));

    setup.start(QStringLiteral(SURIBALL_SETUP_EXE), {u"install"_s, u"--bogus"_s});
    ASSERT_TRUE(setup.waitForFinished(60000));
    EXPECT_EQ(setup.exitCode(), 2);
}

TEST(DemoInstall, TheDemoShopLogsInToItsCouponsAndIssuedWinners)
{
    TestInstall install(TestInstall::Kind::Demo);
    Installer::demoShop();
    OpenSystemDb();
    ASSERT_EQ(LoginService().login(u"shop7"_s, u"shop7"_s, false).outcome, LoginService::Outcome::LoggedIn);
    SyncDrawResults();
    ASSERT_EQ(gCurrentDrawNo, 1201);
    const auto coupons = CouponStore::Coupons();
    ASSERT_EQ(coupons.size(), 2u);
    EXPECT_EQ(coupons[0].drawNo, 1201);
    EXPECT_EQ(CouponStore::CountGames(1201).unissued, coupons[0].games);
    EXPECT_FALSE(CouponStore::IssueCoupons(1201, 2, 5).refusal.has_value()); // its stock can be issued
    EXPECT_EQ(CouponStore::CountGames(1200).issued, coupons[1].games);
    CouponStore::CalcCouponRanks(1200);
    const CouponStore::RankCounts ranks = CouponStore::WinningCounts(1200);
    EXPECT_GE(ranks[3], 1);
    EXPECT_GE(ranks[4], 1);
    EXPECT_GE(ranks[5], 2);
    // Its coupon of the draw on sale is published, as its registration would have done.
    OpenServerConn();
    EXPECT_EQ(SqlValue(gServerConn, u"SELECT Count1 FROM Coupon1 WHERE ID1 = 'shop7' AND BokNo = 1201"_s), u"40"_s);
    // A second demo keeps the member's file as it is.
    Execute(gUserConn, u"DELETE FROM Bok2 WHERE BokNo = 1200"_s);
    Installer::demoShop();
    EXPECT_EQ(CouponStore::Coupons().size(), 1u);
}
