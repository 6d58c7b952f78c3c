#include "DrawProgress.h"
#include "Publisher.h"
#include "Query.h"
#include "SetupError.h"
#include "Tools.h"
#include "UpdaterFixture.h"

#include <QTemporaryDir>

using namespace Qt::StringLiterals;

TEST(PublishStamp, GoesIntoBytes42To51AndLeavesEveryOtherByte)
{
    // Hangul before the field: characters and bytes part ways.
    DrawProgress progress;
    progress.lastDrawNo = 1200;
    progress.currentDrawNo = 1201;
    progress.drawsStamp = progress.filesStamp = u"2025120601"_s;
    const QString text = progress.compose() + u" 끝"_s;
    ASSERT_EQ(ByteMid(text, 42, 10), u"2025120601"_s);
    ASSERT_NE(ByteLen(text), text.size());
    const QString changed = Publisher::WithFilesStamp(text, u"2026120901"_s);
    EXPECT_EQ(ByteMid(changed, 42, 10), u"2026120901"_s);
    QByteArray before = ToCp949(text);
    QByteArray after = ToCp949(changed);
    ASSERT_EQ(before.size(), after.size());
    EXPECT_EQ(before.replace(41, 10, "2026120901"), after);

    EXPECT_THROW(Publisher::WithFilesStamp(u"추첨1200회 결과"_s, u"2026120901"_s), SetupError);
    // A two-byte character across the field's first byte cannot be kept.
    const QString torn = QString(u"가"_s).repeated(21) + u"2025120601"_s;
    ASSERT_EQ(ByteLen(torn), 52);
    EXPECT_THROW(Publisher::WithFilesStamp(torn, u"2026120901"_s), SetupError);
}

TEST(PublishItems, TargetsMustStayInsideTheInstall)
{
    EXPECT_EQ(Publisher::ParseItem(u"news.txt=C:\\VELTRA\\수리볼\\DOC\\새소식.TXT"_s).target,
              u"C:\\VELTRA\\수리볼\\DOC\\새소식.TXT"_s);
    EXPECT_EQ(Publisher::ParseItem(u"a=b=doc/x.txt"_s).file, u"a"_s); // the first "=" divides
    for (const QString& bad : {u"news.txt"_s,
                               u"=DOC\\x"_s,
                               u"news.txt="_s,
                               u"news.txt=C:\\Windows\\x.dll"_s,
                               u"news.txt=../x"_s,
                               u"news.txt=C:\\VELTRA\\수리볼\\..\\x"_s,
                               u"news.txt=D:\\VELTRA\\수리볼\\x"_s,
                               u"news.txt=/etc/x"_s})
        EXPECT_THROW(Publisher::ParseItem(bad), SetupError) << bad.toStdString();
}

using PublishCase = UpdaterCase;

TEST_P(PublishCase, RefusesBadStampsAndLeavesTheServerAsItWas)
{
    const QString target = u"C:\\VELTRA\\수리볼\\DOC\\a.txt"_s;
    for (const QString& stamp : {u"202612090"_s, // nine bytes
                                 u"20261209011"_s,
                                 u"2026130901"_s, // month 13
                                 u"2026023001"_s, // 30 February
                                 u"20261209ab"_s,
                                 u"２０２６１２０９０１"_s, // wide digits: ten characters, twenty bytes
                                 u"2025120601"_s, // the stamp of now
                                 u"2025113001"_s}) { // before it
        SCOPED_TRACE(stamp.toStdString());
        EXPECT_THROW(publish(stamp, {{target, "x"}}), SetupError);
    }
    EXPECT_THROW(publish(u"2026120901"_s, {{target, QByteArray()}}), SetupError); // an empty file
    EXPECT_THROW(publish(u"2026120901"_s, {{target, "x"}, {u"C:\\VELTRA\\수리볼\\PR\\A.TXT"_s, "y"}}), SetupError);
    EXPECT_THROW(Publisher::Publish(server(), u"2026120901"_s, QByteArray(64, 'k').left(10), {}), SetupError);

    EXPECT_EQ(SqlValue(server(), u"SELECT COUNT(*) FROM Update1"_s), u"0"_s);
    EXPECT_EQ(ByteMid(SqlValue(server(), u"SELECT Text1 FROM Info1 WHERE Name1 = '추첨진행'"_s), 42, 10),
              u"2025120601"_s);

    publish(u"2026120901"_s, {{target, "x"}});
    EXPECT_EQ(SqlValue(server(), u"SELECT File1 || ' ' || Size1 || ' ' || Date1 FROM Update1 WHERE Name1 = 'a.txt'"_s),
              target + u" 1 2026120901"_s);
    EXPECT_EQ(ByteMid(SqlValue(server(), u"SELECT Text1 FROM Info1 WHERE Name1 = '추첨진행'"_s), 42, 10),
              u"2026120901"_s);
}

INSTANTIATE_TEST_SUITE_P(Backends, PublishCase, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);
