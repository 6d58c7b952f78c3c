#include "UpdateTargets.h"

#include "DrawSync.h"
#include "TestEnvironment.h"
#include "UpdaterStart.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(UpdaterStart, OnlyTodaysNumberFromTheMainProgramOpens)
{
    const QDate march12(2003, 3, 12);
    EXPECT_TRUE(DayNumberAccepted({u"2315"_s}, march12));
    EXPECT_TRUE(DayNumberAccepted({u"3233"_s}, QDate(2002, 12, 31)));
    EXPECT_FALSE(DayNumberAccepted({}, march12));
    EXPECT_FALSE(DayNumberAccepted({u""_s}, march12));
    EXPECT_FALSE(DayNumberAccepted({u"2316"_s}, march12)); // yesterday's or tomorrow's
    EXPECT_FALSE(DayNumberAccepted({u"2314"_s}, march12));
    EXPECT_FALSE(DayNumberAccepted({u"abcd"_s}, march12));
    EXPECT_FALSE(DayNumberAccepted({u"2315abc"_s}, march12));
    EXPECT_FALSE(DayNumberAccepted({u"-2315"_s}, march12));
    EXPECT_FALSE(DayNumberAccepted({u"99999999999999999999"_s}, march12));
    // The number the main program sends is the one the updater expects, on any day.
    for (const QDate& day : {march12, QDate(2002, 12, 31), QDate(2026, 1, 1), QDate(2024, 2, 29)})
        EXPECT_TRUE(DayNumberAccepted({QString::number(UpdaterDayNumber(day))}, day)) << day.toString().toStdString();
}

TEST(UpdateTargets, TheServersInstallFolderIsThisRootInAnyCaseAndSlash)
{
    EXPECT_EQ(UpdateTargets::RelativePart(u"C:\\VELTRA\\수리볼\\DOC\\새소식.TXT"_s), u"DOC/새소식.TXT"_s);
    EXPECT_EQ(UpdateTargets::RelativePart(u"c:/veltra/수리볼/bin\\system.mdb"_s), u"bin/system.mdb"_s);
    for (const QString& outside : {u"D:\\VELTRA\\수리볼\\x.txt"_s,
                                   u"C:\\VELTRA\\x.txt"_s,
                                   u"C:\\VELTRA\\수리볼\\..\\x.txt"_s,
                                   u"C:\\VELTRA\\수리볼\\DOC\\..\\..\\x.txt"_s,
                                   u"C:\\VELTRA\\수리볼\\"_s,
                                   u"C:\\VELTRA\\수리볼\\DOC\\C:x"_s,
                                   u"/etc/passwd"_s,
                                   u"C:\\VELTRA\\수리볼\\DOC\\a\u0001b"_s})
        EXPECT_TRUE(UpdateTargets::RelativePart(outside).isEmpty()) << outside.toStdString();

    EXPECT_EQ(UpdateTargets::WindowsPath(u"DOC/새소식.TXT"_s), u"C:\\VELTRA\\수리볼\\DOC\\새소식.TXT"_s);
    EXPECT_EQ(UpdateTargets::WindowsPath(u"c:/VELTRA/수리볼/수리볼"_s), u"C:\\VELTRA\\수리볼\\수리볼"_s);
    EXPECT_TRUE(UpdateTargets::WindowsPath(u"../x"_s).isEmpty());
    EXPECT_TRUE(UpdateTargets::WindowsPath(u"/tmp/x"_s).isEmpty());
    EXPECT_TRUE(UpdateTargets::WindowsPath(u"D:\\x"_s).isEmpty());

    EXPECT_TRUE(UpdateTargets::NameAcceptable(u"새소식.TXT"_s));
    for (const QString& bad : {u""_s, u"a/b"_s, u"a\\b"_s, u".."_s, u"a..b"_s, u"a\nb"_s, u"a\u0007"_s})
        EXPECT_FALSE(UpdateTargets::NameAcceptable(bad)) << bad.toStdString();
}

TEST(UpdateTargets, ExistingFilesAreMatchedWithoutCaseAndLinksOutAreRefused)
{
    TestInstall install;
    const QString root = install.root();
    auto resolve = [&](const QString& rest) { return UpdateTargets::Resolve(u"C:\\VELTRA\\수리볼\\"_s + rest, root); };

    const UpdateTargets::Resolved db = resolve(u"bin\\system.mdb"_s);
    EXPECT_TRUE(db.exists);
    EXPECT_EQ(db.path, QFileInfo(install.path(u"BIN/SYSTEM.mdb"_s)).canonicalFilePath());

    const UpdateTargets::Resolved fresh = resolve(u"doc\\NEW\\읽어보기.txt"_s);
    EXPECT_FALSE(fresh.exists);
    EXPECT_EQ(fresh.path, QFileInfo(install.path(u"DOC"_s)).canonicalFilePath() + u"/NEW/읽어보기.txt"_s);

    EXPECT_TRUE(resolve(u"DOC"_s).path.isEmpty()); // a folder is no file
    EXPECT_TRUE(resolve(u"BIN\\SYSTEM.mdb\\x"_s).path.isEmpty());

    QTemporaryDir elsewhere;
    WriteBytes(QDir(elsewhere.path()).filePath(u"victim"_s), "x");
    ASSERT_TRUE(QFile::link(elsewhere.path(), install.path(u"OUT"_s)));
    ASSERT_TRUE(QFile::link(QDir(elsewhere.path()).filePath(u"victim"_s), install.path(u"DOC/victim"_s)));
    EXPECT_TRUE(resolve(u"out\\victim"_s).path.isEmpty());
    EXPECT_TRUE(resolve(u"out\\new.txt"_s).path.isEmpty());
    EXPECT_TRUE(resolve(u"DOC\\victim"_s).path.isEmpty());
}
