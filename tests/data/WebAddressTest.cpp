// Addresses that come from the server are written by whoever holds an install; only web addresses may
// reach the browser, and the embedded view shows nothing of the local disk but the install's own pages.
#include "IfoFiles.h"
#include "TestEnvironment.h"
#include "WebSite.h"

#include <QDir>
#include <QFile>
#include <QUrl>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ServerAddresses, OnlyWebAddressesAreOpened)
{
    EXPECT_EQ(WebSite::ServerAddress(u" http://ok.example "_s), u"http://ok.example"_s);
    EXPECT_EQ(WebSite::ServerAddress(u"https://ok.example/a?b=1"_s), u"https://ok.example/a?b=1"_s);
    EXPECT_EQ(WebSite::ServerAddress(u"www.suriball.example/event"_s), u"http://www.suriball.example/event"_s);
    for (const QString& hostile : {u"file:///etc/passwd"_s,
                                   u"javascript:alert(1)"_s,
                                   u"/usr/bin/xterm"_s,
                                   u"smb://host/share"_s,
                                   u"C:\\Windows\\system32\\calc.exe"_s,
                                   u"ftp://host/x"_s,
                                   u"http://"_s,
                                   QString()})
        EXPECT_EQ(WebSite::ServerAddress(hostile), QString()) << hostile.toStdString();
}

TEST(ServerAddresses, ARefusedAddressIsNotOpenedAndSaidOnce)
{
    TestInstall install;
    WebSite::OpenServerAddress(u"file:///etc/shadow"_s);
    WebSite::OpenServerAddress(u"file:///etc/shadow"_s);
    WebSite::OpenServerAddress(u"ok.example"_s);
    EXPECT_EQ(install.launcher.urls, QStringList {u"http://ok.example"_s});
    ASSERT_EQ(install.messages.shown().size(), 1);
    EXPECT_TRUE(install.messages.last().contains(u"file:///etc/shadow"_s));
}

TEST(EmbeddedView, ShowsTheNetAndTheInstallsOwnPagesOnly)
{
    TestInstall install(TestInstall::Kind::Demo);
    EXPECT_TRUE(WebSite::ViewAllowed(WebSite::address(u"/pr1.htm"_s)));
    EXPECT_TRUE(WebSite::ViewAllowed(u"http://www.suriball.example/"_s));
    EXPECT_FALSE(WebSite::ViewAllowed(u"file:///etc/passwd"_s));
    EXPECT_FALSE(WebSite::ViewAllowed(QUrl::fromLocalFile(install.path(u"BIN/SYSTEM.IFO"_s)).toString()));
    EXPECT_FALSE(WebSite::ViewAllowed(QUrl::fromLocalFile(install.path(u"WEB/../BIN/SYSTEM.IFO"_s)).toString()));
    // A link inside the folder that leads out of it.
    ASSERT_TRUE(QFile::link(install.path(u"BIN/SYSTEM.IFO"_s), install.path(u"WEB/ifo.htm"_s)));
    EXPECT_FALSE(WebSite::ViewAllowed(QUrl::fromLocalFile(install.path(u"WEB/ifo.htm"_s)).toString()));
    EXPECT_FALSE(WebSite::ViewAllowed(u"javascript:alert(1)"_s));

    // With a real site no local file is shown at all.
    WriteIfo(QString(), u"SERVER"_s, u"WEB"_s, u"http://www.suriball.example"_s);
    EXPECT_FALSE(WebSite::ViewAllowed(QUrl::fromLocalFile(install.path(u"WEB/pr1.htm"_s)).toString()));
}
