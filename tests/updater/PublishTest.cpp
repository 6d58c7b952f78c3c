#include "DrawProgress.h"
#include "Publisher.h"
#include "Query.h"
#include "SetupError.h"
#include "SqlError.h"
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

TEST_P(PublishCase, AReleaseKeepsTheLastOnesFilesAndDropsWhatNoReleaseSigned)
{
    const QString a = u"C:\\VELTRA\\수리볼\\DOC\\a.txt"_s;
    const QString b = u"C:\\VELTRA\\수리볼\\DOC\\b.txt"_s;
    publish(u"2025121001"_s, {{a, "a1"}, {b, "b1"}});
    // Someone adds a row of their own between two releases.
    insertRow(u"x.txt"_s, u"C:\\VELTRA\\수리볼\\DOC\\x.txt"_s, 1, u"2025121001"_s, QByteArray("x"), QByteArray());
    publish(u"2025121501"_s, {{a, "a2"}});

    const Connection s = server();
    EXPECT_EQ(SqlValue(s, u"SELECT COUNT(*) FROM Update1 WHERE Name1 = 'x.txt'"_s), u"0"_s);
    EXPECT_EQ(SqlValue(s, u"SELECT Date1 FROM Update1 WHERE Name1 = 'a.txt'"_s), u"2025121501"_s);
    EXPECT_EQ(SqlValue(s, u"SELECT Date1 FROM Update1 WHERE Name1 = 'b.txt'"_s), u"2025121001"_s);
    const QByteArray description = QByteArray::fromStdString(
        SqlValue(s, u"SELECT Manifest1 FROM Release1 WHERE Stamp1 = '2025121501'"_s).toStdString());
    QString why;
    const std::optional<ReleaseManifest> release = ReleaseManifest::parse(description, &why);
    ASSERT_TRUE(release) << why.toStdString();
    ASSERT_EQ(release->files.size(), 2);
    EXPECT_EQ(release->files[0].name + release->files[0].date, u"a.txt2025121501"_s);
    EXPECT_EQ(release->files[1].name + release->files[1].date, u"b.txt2025121001"_s);

    // A release must follow the last one, whatever the text says; a file of the last release that was
    // changed on the server is not signed again without being given anew.
    EXPECT_THROW(publish(u"2025121301"_s, {{a, "a3"}}), SetupError);
    Execute(owner(), u"UPDATE Update1 SET Bin1 = ? WHERE Name1 = 'b.txt'"_s, {QByteArray("b!")});
    EXPECT_THROW(publish(u"2025122001"_s, {{a, "a3"}}), SetupError);
    publish(u"2025122001"_s, {{a, "a3"}, {b, "b3"}});
    EXPECT_EQ(SqlValue(server(), u"SELECT COUNT(*) FROM Release1"_s), u"3"_s);
}

TEST_P(PublishCase, ATextStampOfADayToComeDoesNotHoldTheFirstReleaseUp)
{
    // Before any signed release the text is all there is; raised to the end of the century by whoever
    // could write it, it would refuse every stamp a publisher can give.
    setServerFilesStamp(u"2099123199"_s);
    EXPECT_NO_THROW(publish(u"2025121001"_s, {{u"C:\\VELTRA\\수리볼\\DOC\\a.txt"_s, "a"}}));
    EXPECT_EQ(ByteMid(SqlValue(server(), u"SELECT Text1 FROM Info1 WHERE Name1 = '추첨진행'"_s), 42, 10),
              u"2025121001"_s);
}

TEST_P(PublishCase, TheSharedAccountReadsReleasesButCannotWriteThem)
{
    publish(u"2025121001"_s, {{u"C:\\VELTRA\\수리볼\\DOC\\a.txt"_s, "a"}});
    const Connection shared = server();
    EXPECT_EQ(SqlValue(shared, u"SELECT Stamp1 FROM Release1"_s), u"2025121001"_s);
    if (GetParam() == Backend::PostgreSQL) {
        EXPECT_THROW(Execute(shared, u"DELETE FROM Release1"_s), SqlError);
        EXPECT_THROW(Execute(shared, u"UPDATE Release1 SET Stamp1 = '2099123199'"_s), SqlError);
        EXPECT_THROW(Execute(shared,
                             u"INSERT INTO Release1 (Stamp1,Sig1,Manifest1) VALUES ('2099123199',?,?)"_s,
                             {QByteArray("s"), QByteArray("m")}),
                     SqlError);
        EXPECT_EQ(SqlValue(owner(), u"SELECT COUNT(*) FROM Release1"_s), u"1"_s);
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, PublishCase, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);
