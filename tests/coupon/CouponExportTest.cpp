#include "CouponExport.h"

#include "Clock.h"
#include "CouponFixture.h"
#include "TextExport.h"
#include "Tools.h"

#include <QDir>

namespace {

QStringList ReadLines(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    QStringList lines = FromCp949(bytes).split(u"\r\n"_s);
    lines.removeLast();
    return lines;
}

} // namespace

TEST(CouponExportLine, ColumnsLineUpWithTheHeadingInBytes)
{
    const CouponStore::Game won {u"031119243845"_s, u"5"_s, u"2003-01-04 10:20:30"_s, 31, u"2"_s};
    const QString line = CouponExport::Line(57, won);
    EXPECT_EQ(line, u"03.11.19.24.38.45 5등  2003-01-04 10:20:30 0057-000031 "_s);
    EXPECT_EQ(ByteLen(line), 55);
    const CouponStore::Game lost {u"031119243845"_s, u"0"_s, u"2003-01-04 10:20:30"_s, 31, u"2"_s};
    EXPECT_EQ(CouponExport::Line(57, lost), u"03.11.19.24.38.45      2003-01-04 10:20:30 0057-000031 "_s);
    const CouponStore::Game unissued {u"031119243845"_s, u"9"_s, u""_s, 4, u"0"_s};
    EXPECT_EQ(CouponExport::Line(57, unissued), u"03.11.19.24.38.45 "_s + QString(25, u' '));
    // The rank and time columns start where the heading's do.
    const QString heading = u"복권번호          등수 발행날짜            발행번호"_s;
    EXPECT_EQ(ByteLen(ByteLeft(heading, 18)), ByteLen(ByteLeft(line, 18)));
    EXPECT_EQ(ByteMid(heading, 24, 8), u"발행날짜"_s);
    EXPECT_EQ(ByteMid(line, 24, 4), u"2003"_s);
    EXPECT_EQ(ByteMid(heading, 44, 8), u"발행번호"_s);
    EXPECT_EQ(ByteMid(line, 44, 4), u"0057"_s);
}

TEST_F(CouponTest, TheExportWritesTheListsGamesInCp949)
{
    AddCoupon(57, u"행운의 쿠폰"_s);
    AddGames(57, 3);
    Clock::setFixed(QDateTime(QDate(2003, 1, 4), QTime(10, 20, 30)));
    ASSERT_FALSE(CouponStore::IssueCoupons(57, 1, 2).refusal.has_value()); // coupon 4
    CouponStore::FinishIssue();
    ASSERT_TRUE(
        CouponExport::ExportCoupon(57, u"행운의 쿠폰"_s, CouponStore::Filter::All, CouponStore::Order::IssueOrder));
    const QString path = QDir(InstallPaths::dataDir()).filePath(u"복권쿠폰_20030104_102030.TXT"_s);
    EXPECT_EQ(install.launcher.textFiles, QStringList {path});
    const QStringList lines = ReadLines(path);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], u"회차:57  제목:행운의 쿠폰"_s);
    EXPECT_EQ(lines[1], QString(54, u'='));
    EXPECT_EQ(lines[4], u"01.02.03.04.05.06      2003-01-04 10:20:30 0057-000004 "_s);
    EXPECT_EQ(lines[5], u"01.02.03.04.05.07      2003-01-04 10:20:30 0057-000004 "_s);
    EXPECT_EQ(lines[6], u"01.02.03.04.05.08 "_s + QString(25, u' '));
    EXPECT_EQ(lines[7], QString(54, u'='));

    // Within the same second the same name: the second export replaces the first, with only the
    // unissued game this time.
    ASSERT_TRUE(
        CouponExport::ExportCoupon(57, u"행운의 쿠폰"_s, CouponStore::Filter::Unissued, CouponStore::Order::Numbers));
    EXPECT_EQ(ReadLines(path).size(), 6);
}

TEST_F(CouponTest, TheExportOfACouponWithoutGamesIsItsFrame)
{
    AddCoupon(57);
    ASSERT_TRUE(CouponExport::ExportCoupon(57, u"행운의 쿠폰"_s, CouponStore::Filter::All, CouponStore::Order::Rank));
    const QStringList lines = ReadLines(install.launcher.textFiles.value(0));
    EXPECT_EQ(lines,
              QStringList({u"회차:57  제목:행운의 쿠폰"_s,
                           QString(54, u'='),
                           u"복권번호          등수 발행날짜            발행번호"_s,
                           u"----------------- ---- ------------------- -----------"_s,
                           QString(54, u'=')}));
}
