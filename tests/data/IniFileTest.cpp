#include "IniFile.h"

#include "Paths.h"
#include "Settings.h"
#include "TestEnvironment.h"
#include "Tools.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

class IfoTest : public ::testing::Test
{
protected:
    TestInstall install;
    QString file(const QString& name) const { return install.path(name); }
};

TEST_F(IfoTest, ShippedKeysReadBackThroughTheSelectors)
{
    EXPECT_EQ(ReadIfo(QString(), u"SYSTEM"_s, u"LASTLOGINID"_s), u"NO"_s);
    EXPECT_EQ(ReadIfo(u"시스템"_s, u"system"_s, u"lastloginid"_s), u"NO"_s); // names without regard to case
    EXPECT_EQ(ReadIfo(QString(), u"SYSTEM"_s, u"HOTVIEWDATE"_s), QString()); // "." is empty
    EXPECT_EQ(ReadIfo(u"광고"_s, u"PR"_s, u"VERSION"_s), u"1"_s);
    EXPECT_EQ(ReadIfo(QString(), u"SYSTEM"_s, u"NOSUCHKEY"_s), QString());
    EXPECT_EQ(ReadIfo(QString(), u"NOSECTION"_s, u"LASTLOGINID"_s), QString());
    EXPECT_EQ(ReadIfo(file(u"missing.ini"_s), u"SYSTEM"_s, u"LASTLOGINID"_s), QString());
}

TEST_F(IfoTest, EmptyValueIsStoredAsDotAndReadAsEmpty)
{
    WriteIfo(QString(), u"SYSTEM"_s, u"LASTLOGINID"_s, QString());
    EXPECT_TRUE(ReadBytes(InstallPaths::systemIfo()).contains("LASTLOGINID=.\r\n"));
    EXPECT_EQ(ReadIfo(QString(), u"SYSTEM"_s, u"LASTLOGINID"_s), QString());
    WriteIfo(QString(), u"SYSTEM"_s, u"LASTLOGINID"_s, u"player"_s);
    EXPECT_EQ(ReadIfo(QString(), u"SYSTEM"_s, u"LASTLOGINID"_s), u"player"_s);
    EXPECT_TRUE(install.messages.shown().isEmpty());
}

TEST_F(IfoTest, TrailingBlanksGoLeadingBlanksStay)
{
    WriteBytes(file(u"a.ini"_s), "[S]\r\nK=  value  \r\n");
    EXPECT_EQ(ReadIfo(file(u"a.ini"_s), u"S"_s, u"K"_s), u"  value"_s);
}

TEST_F(IfoTest, ReadsAtMost79BytesWithoutSplittingACharacter)
{
    WriteIfo(file(u"long.ini"_s), u"S"_s, u"A"_s, QString(100, u'x'));
    EXPECT_EQ(ReadIfo(file(u"long.ini"_s), u"S"_s, u"A"_s), QString(79, u'x'));
    WriteIfo(file(u"long.ini"_s), u"S"_s, u"H"_s, QString(50, u'가'));
    EXPECT_EQ(ReadIfo(file(u"long.ini"_s), u"S"_s, u"H"_s), QString(39, u'가'));
    // The file holds the whole value; only the reader is bounded.
    IniFile ini(file(u"long.ini"_s));
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.value(u"S"_s, u"A"_s).size(), 100);
}

TEST_F(IfoTest, WriteChangesOneLineAndKeepsTheRestOfTheFile)
{
    const QByteArray before = "; 수리볼 설정\r\n[Alpha]\r\nkey1=one\r\n\r\n[Beta]\r\nKey2=two\r\nother = x \r\n";
    const QString path = file(u"keep.ini"_s);
    WriteBytes(path, ToCp949(QString::fromUtf8(before)));
    WriteIfo(path, u"beta"_s, u"KEY2"_s, u"둘"_s);
    EXPECT_EQ(FromCp949(ReadBytes(path)),
              u"; 수리볼 설정\r\n[Alpha]\r\nkey1=one\r\n\r\n[Beta]\r\nKey2=둘\r\nother = x \r\n"_s);

    // A new key goes at the end of its section, before the blank line that closes it.
    WriteIfo(path, u"Alpha"_s, u"key3"_s, u"three"_s);
    EXPECT_TRUE(FromCp949(ReadBytes(path)).contains(u"key1=one\r\nkey3=three\r\n\r\n[Beta]"_s));
    // A new section is added at the end.
    WriteIfo(path, u"Gamma"_s, u"k"_s, u"v"_s);
    EXPECT_TRUE(FromCp949(ReadBytes(path)).endsWith(u"[Gamma]\r\nk=v\r\n"_s));
    EXPECT_EQ(ReadIfo(path, u"GAMMA"_s, u"K"_s), u"v"_s);
}

TEST_F(IfoTest, KeepsUnixLineEndsAndUtf8Files)
{
    const QString unixPath = file(u"unix.ini"_s);
    WriteBytes(unixPath, "[S]\nA=1\n");
    WriteIfo(unixPath, u"S"_s, u"B"_s, u"2"_s);
    EXPECT_EQ(ReadBytes(unixPath), QByteArray("[S]\nA=1\nB=2\n"));

    // Saved by an editor as UTF-8 with its mark: read as UTF-8, written back the same way.
    const QString utf8Path = file(u"utf8.ini"_s);
    WriteBytes(utf8Path, "\xEF\xBB\xBF[SYSTEM]\r\nNAME=" + QByteArray("한결") + "\r\n");
    EXPECT_EQ(ReadIfo(utf8Path, u"SYSTEM"_s, u"NAME"_s), u"한결"_s);
    WriteIfo(utf8Path, u"SYSTEM"_s, u"NAME"_s, u"수리"_s);
    EXPECT_EQ(ReadBytes(utf8Path), QByteArray("\xEF\xBB\xBF[SYSTEM]\r\nNAME=수리\r\n"));

    const QString bare = file(u"bare.ini"_s);
    WriteBytes(bare, "[S]\r\nNAME=한결\r\n");
    EXPECT_EQ(ReadIfo(bare, u"S"_s, u"NAME"_s), u"한결"_s);
}

TEST_F(IfoTest, BadFilesNeverCrashAndBadWritesChangeNothing)
{
    const QString garbage = file(u"garbage.ini"_s);
    QByteArray noise;
    for (int i = 0; i < 5000; ++i)
        noise.append(char((i * 73 + 11) % 256));
    WriteBytes(garbage, noise);
    EXPECT_EQ(ReadIfo(garbage, u"S"_s, u"K"_s), QString());

    const QString noSections = file(u"nosection.ini"_s);
    WriteBytes(noSections, "K=orphan\r\n" + QByteArray(100000, 'z') + "\r\n");
    EXPECT_EQ(ReadIfo(noSections, u"S"_s, u"K"_s), QString());
    WriteIfo(noSections, u"S"_s, u"K"_s, u"found"_s);
    EXPECT_EQ(ReadIfo(noSections, u"S"_s, u"K"_s), u"found"_s);
    EXPECT_TRUE(ReadBytes(noSections).startsWith("K=orphan\r\n"));

    // Line breaks and NULs in a value cannot break the file into other keys.
    WriteIfo(noSections, u"S"_s, u"K"_s, u"a\r\nX=b\0tail"_s);
    EXPECT_EQ(ReadIfo(noSections, u"S"_s, u"K"_s), u"a  X=b"_s);
    EXPECT_EQ(ReadIfo(noSections, u"S"_s, u"X"_s), QString());
    EXPECT_TRUE(install.messages.shown().isEmpty());

    // Names the format cannot hold are refused with the save message and the file is left alone.
    const QByteArray kept = ReadBytes(noSections);
    WriteIfo(noSections, u"S]"_s, u"K"_s, u"v"_s);
    EXPECT_EQ(install.messages.last(), u"섹션:S] 키값:K 을 저장하는데 실패하였습니다!"_s);
    WriteIfo(noSections, u"S"_s, u"A=B"_s, u"v"_s);
    EXPECT_EQ(install.messages.shown().size(), 2);
    EXPECT_EQ(ReadBytes(noSections), kept);
    EXPECT_EQ(install.messages.shown().first().icon, MsgIcon::None);

    // A path that cannot be written (a folder stands there) is reported, not crashed on.
    WriteIfo(install.root(), u"S"_s, u"K"_s, u"v"_s);
    EXPECT_EQ(install.messages.shown().size(), 3);
}

TEST_F(IfoTest, EmojiBecomesAQuestionMarkInTheCodePage)
{
    WriteIfo(QString(), u"SYSTEM"_s, u"LASTLOGINID"_s, u"a😀b"_s);
    EXPECT_EQ(ReadIfo(QString(), u"SYSTEM"_s, u"LASTLOGINID"_s), u"a?b"_s);
}
