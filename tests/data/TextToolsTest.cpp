#include "DrawProgress.h"
#include "Paths.h"
#include "TestEnvironment.h"
#include "Tools.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ByteText, CountsHangulAsTwoBytesAndAsciiAsOne)
{
    EXPECT_EQ(ByteLen(u"가a"_s), 3);
    EXPECT_EQ(ByteLen(QString()), 0);
    EXPECT_EQ(ByteLen(u"수리볼 6/45"_s), 11);
    // Syllables outside KS X 1001 are still two bytes in the Windows code page.
    EXPECT_EQ(ByteLen(u"똠햏"_s), 4);
    // A character the code page cannot hold becomes one "?".
    EXPECT_EQ(ByteLen(u"a😀b"_s), 3);
}

TEST(ByteText, CutsOnCharacterBoundaries)
{
    EXPECT_EQ(ByteLeft(u"가a"_s, 2), u"가"_s);
    EXPECT_EQ(ByteMid(u"a가b"_s, 2, 2), u"가"_s);
    EXPECT_EQ(ByteMid(u"abcdef"_s, 3, 2), u"cd"_s);
    EXPECT_EQ(ByteMid(u"abc"_s, 3, 10), u"c"_s);
    EXPECT_EQ(ByteMid(u"abc"_s, 5, 2), QString());
    EXPECT_EQ(ByteLeft(u"abc"_s, 0), QString());
}

TEST(ByteText, NeverLeavesHalfACharacter)
{
    // The cut would end inside the second syllable: it is dropped, not turned into garbage.
    EXPECT_EQ(ByteLeft(u"가나다"_s, 3), u"가"_s);
    EXPECT_EQ(ByteLeft(u"가나다"_s, 1), QString());
    // Starting on the second byte of a syllable skips it.
    EXPECT_EQ(ByteMid(u"가나다"_s, 2, 4), u"나"_s);
    // An emoji counts as the one "?" it would become, but is kept as typed.
    EXPECT_EQ(ByteLeft(u"a😀가b"_s, 4), u"a😀가"_s);
    EXPECT_EQ(ByteMid(u"a😀가b"_s, 2, 1), u"😀"_s);
    EXPECT_EQ(ByteLeft(u"똠햏"_s, 3), u"똠"_s);
    const QString long10k = QString(5000, u'가');
    EXPECT_EQ(ByteLen(ByteLeft(long10k, 79)), 78);
}

TEST(TextHelpers, QuoteNulDateWeekday)
{
    EXPECT_EQ(SqlQuote(u"it's 'x'; DROP"_s), u"it`s `x`; DROP"_s);
    EXPECT_EQ(CutAtNul(u"ab\0cd"_s), u"ab"_s);
    EXPECT_EQ(CutAtNul(u"abc"_s), u"abc"_s);
    EXPECT_EQ(DashDate(u"20030312"_s), u"2003-03-12"_s);
    EXPECT_EQ(KoreanWeekday(QDate(2002, 12, 7)), u"토"_s);
    EXPECT_EQ(KoreanWeekday(QDate(2025, 12, 7)), u"일"_s);
    EXPECT_EQ(KoreanWeekday(QDate(2025, 12, 8)), u"월"_s);
    EXPECT_EQ(KoreanWeekday(QDate()), QString());
}

TEST(TextHelpers, FileExistsOnlyForFiles)
{
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(u"파일.txt"_s);
    WriteBytes(file, "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir.path()));
    EXPECT_FALSE(FileExists(file + u"-missing"_s));
    EXPECT_FALSE(FileExists(QString()));
}

TEST(DrawProgressText, FieldsSitWhereTheReadersLook)
{
    DrawProgress p;
    p.lastDrawNo = 1200;
    p.currentDrawNo = 1201;
    p.drawsStamp = u"2025120601"_s;
    p.filesStamp = u"2025113002"_s;
    const QString text = p.compose();
    EXPECT_EQ(text.mid(2, 4), u"1200"_s);
    EXPECT_EQ(text.mid(16, 4), u"1201"_s);
    EXPECT_EQ(ByteMid(text, 31, 10), u"2025120601"_s);
    EXPECT_EQ(ByteMid(text, 42, 10), u"2025113002"_s);
    const DrawProgress back = DrawProgress::parse(text);
    EXPECT_EQ(back.lastDrawNo, 1200);
    EXPECT_EQ(back.currentDrawNo, 1201);
    EXPECT_EQ(back.drawsStamp, p.drawsStamp);
    EXPECT_EQ(back.filesStamp, p.filesStamp);

    p.lastDrawNo = 7;
    p.currentDrawNo = 8;
    EXPECT_EQ(DrawProgress::parse(p.compose()).lastDrawNo, 7);
    EXPECT_EQ(DrawProgress::parse(QString()).filesStamp, QString());
}

TEST(InstallPathsTest, FollowTheRootAndLowerOnlyTheFileName)
{
    QTemporaryDir dir;
    const QByteArray old = qgetenv("SURIBALL_ROOT");
    qputenv("SURIBALL_ROOT", dir.path().toUtf8());
    EXPECT_EQ(InstallPaths::systemDb(), QDir(dir.path()).filePath(u"BIN/SYSTEM.mdb"_s));
    EXPECT_EQ(InstallPaths::userDb(u"Player"_s), QDir(dir.path()).filePath(u"DATA/id_player.mdb"_s));
    EXPECT_EQ(InstallPaths::resolve(u"SERVER/x.db"_s), QDir(dir.path()).filePath(u"SERVER/x.db"_s));
    EXPECT_EQ(InstallPaths::resolve(u"/abs/x.db"_s), u"/abs/x.db"_s);
    qputenv("SURIBALL_ROOT", old);
}
