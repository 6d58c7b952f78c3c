#include "Settings.h"

#include "Database.h"
#include "Globals.h"
#include "Query.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
const QString kReadWarning = u"[경고] 시스템 정보화일이 손상되었거나 설정값이 잘못 지정되어 읽어들일수 없습니다!"_s;
const QString kWriteWarning = u"[경고] 시스템 정보화일이 손상되었거나 설정값이 잘못 지정되어 저장이 취소됩니다."_s;

qint64 settingRows()
{
    Query q(gSystemConn, u"SELECT COUNT(*) AS n FROM Info1"_s);
    q.run();
    q.next();
    return q.integer(u"n"_s);
}
} // namespace

class LocalSettings : public ::testing::Test
{
protected:
    void SetUp() override { OpenSystemDb(); }
    TestInstall install;
};

TEST_F(LocalSettings, ReadsTrimmedValuesByTrimmedNames)
{
    EXPECT_EQ(ReadInfo(u"화면구성"_s, u"로또게임:게임 횟수"_s), u"5"_s);
    EXPECT_EQ(ReadInfo(u"  화면구성 "_s, u" 로또게임:게임 횟수  "_s), u"5"_s);
    Execute(gSystemConn, u"UPDATE Info1 SET Value1 = '  7  ' WHERE Name1 = '로또게임:게임 횟수'"_s);
    EXPECT_EQ(ReadInfo(u"화면구성"_s, u"로또게임:게임 횟수"_s), u"7"_s);
    EXPECT_TRUE(install.messages.shown().isEmpty());
}

TEST_F(LocalSettings, NullValueReadsEmptyWithoutWarning)
{
    Execute(gSystemConn, u"UPDATE Info1 SET Value1 = NULL WHERE Name1 = '전광판:변경회차'"_s);
    EXPECT_EQ(ReadInfo(u"업데이트"_s, u"전광판:변경회차"_s), QString());
    EXPECT_TRUE(install.messages.shown().isEmpty());
}

TEST_F(LocalSettings, MissingRowWarnsOnReadAndWriteAndAddsNothing)
{
    const qint64 rows = settingRows();
    EXPECT_EQ(ReadInfo(u"화면구성"_s, u"없는설정"_s), QString());
    ASSERT_EQ(install.messages.shown().size(), 1);
    EXPECT_EQ(install.messages.last(), kReadWarning);
    EXPECT_EQ(install.messages.shown()[0].icon, MsgIcon::None);
    EXPECT_EQ(install.messages.shown()[0].caption, u"수리볼"_s);

    WriteInfo(u"화면구성"_s, u"없는설정"_s, u"1"_s);
    EXPECT_EQ(install.messages.last(), kWriteWarning);
    EXPECT_EQ(settingRows(), rows);
}

TEST_F(LocalSettings, WritesAnyTextSafelyAndOnlyToItsRow)
{
    const QString nasty = u"it's; DROP TABLE Info1; --"_s;
    WriteInfo(u"업데이트"_s, u"복권:변경날짜"_s, nasty);
    EXPECT_EQ(ReadInfo(u"업데이트"_s, u"복권:변경날짜"_s), nasty);
    EXPECT_EQ(ReadInfo(u"업데이트"_s, u"복권:추첨회차"_s), u"0"_s);

    const QString big = QString(10000, u'가');
    WriteInfo(u"업데이트"_s, u"복권:변경날짜"_s, u"  "_s + big + u"  "_s);
    EXPECT_EQ(ReadInfo(u"업데이트"_s, u"복권:변경날짜"_s), big);

    WriteInfo(u"업데이트"_s, u"복권:변경날짜"_s, u"😀"_s);
    EXPECT_EQ(ReadInfo(u"업데이트"_s, u"복권:변경날짜"_s), u"😀"_s);

    // A quote in a name finds no row; it never breaks the statement.
    EXPECT_EQ(ReadInfo(u"업데이트'"_s, u"x' OR '1'='1"_s), QString());
    EXPECT_EQ(install.messages.last(), kReadWarning);
}

class ServerSettings : public ::testing::TestWithParam<Backend>
{
protected:
    TestInstall install;
};

TEST_P(ServerSettings, ReadsInformationTextsAndWarnsOnMissingOnes)
{
    SURIBALL_REQUIRE_SERVER(GetParam(), false);
    EXPECT_EQ(ReadServerInfo(u"시스템"_s, u"동작상태"_s), u"정상동작"_s);
    EXPECT_EQ(ReadServerInfo(u" 시스템 "_s, u"동작상태 "_s), u"정상동작"_s);
    EXPECT_TRUE(install.messages.shown().isEmpty());
    EXPECT_EQ(ReadServerInfo(u"시스템"_s, u"없음"_s), QString());
    EXPECT_EQ(install.messages.last(),
              u"[경고] 서버 정보화일이 손상되었거나 설정값이 잘못 지정되어 읽어들일수 없습니다!"_s);
    EXPECT_TRUE(gServerConn.isOpen());
}

INSTANTIATE_TEST_SUITE_P(Servers, ServerSettings, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);
