#pragma once

#include "CouponStore.h"
#include "Database.h"
#include "Globals.h"
#include "Paths.h"
#include "Query.h"
#include "TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// A demo install, a shop member's own database open, and three past draws in the system database: 56 and
// 57 with their numbers, 58 still without.
class CouponTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OpenSystemDb();
        Query draw(
            gSystemConn,
            u"INSERT INTO BokList (BokNo,Date1,Date2,No1,Rk1Count,Rk2Count,Rk3Count,Rk4Count,Rk5Count,"
            "Rk1Kum,Rk2Kum,Rk3Kum,Rk4Kum,Rk5Kum,Sum1,Sum2,State1) VALUES (?,'','',?,0,0,0,0,0,0,0,0,0,0,0,0,?)"_s);
        draw.run({56, u"40414243444501"_s, u"3"_s});
        draw.run({57, u"01020304050607"_s, u"3"_s});
        draw.run({58, u"00000000000000"_s, u"2"_s});
        gCurrentDrawNo = 60;

        gUserID = u"shop7"_s;
        gUserDbPath = InstallPaths::userDb(gUserID);
        QFile::copy(InstallPaths::userDbTemplate(), gUserDbPath);
        QFile::setPermissions(gUserDbPath, QFile::ReadOwner | QFile::WriteOwner);
        OpenUserDb();
    }

    static void AddCoupon(qint64 drawNo, const QString& headline = u"행운의 쿠폰"_s)
    {
        Execute(gUserConn,
                u"INSERT INTO Bok2 (BokNo,Part2,Title1,Title2,Comp1,Count1,No1Text,No2Text,No3Text,No4Text,No5Text,"
                "Text1,Text2,Bigo1) VALUES (?,'복권방',?,'010-1234-5678','행운복권방',0,'자전거','','','음료수','',"
                "'','','')"_s,
                {drawNo, headline});
    }

    // Games 1 … count as unissued serials 1 … count: game i is 01 02 03 04 05 (05 + i).
    static QStringList AddGames(qint64 drawNo, int count)
    {
        QStringList games;
        for (int i = 1; i <= count; ++i)
            games.append(u"0102030405"_s + QString::number(5 + i).rightJustified(2, u'0'));
        EXPECT_FALSE(CouponStore::AddGames(drawNo, games).has_value());
        return games;
    }

    struct Row
    {
        qint64 sNo1;
        QString sNo2, no1, top1, date1, tag1;
    };
    static std::vector<Row> Rows(qint64 drawNo)
    {
        std::vector<Row> rows;
        Query q(gUserConn, u"SELECT * FROM List2 WHERE BokNo = ? ORDER BY SNo1, SNo2"_s);
        q.run({drawNo});
        while (q.next())
            rows.push_back({q.integer(u"SNo1"_s),
                            q.text(u"SNo2"_s),
                            q.text(u"No1"_s),
                            q.text(u"Top1"_s),
                            q.text(u"Date1"_s),
                            q.text(u"Tag1"_s)});
        return rows;
    }
    static QString Snapshot(qint64 drawNo)
    {
        QString all;
        for (const Row& r : Rows(drawNo))
            all += QString::number(r.sNo1) + u'/' + r.sNo2 + u'/' + r.no1 + u'/' + r.top1 + u'/' + r.date1 + u'/'
                + r.tag1 + u'\n';
        return all;
    }
    static qint64 Count1(qint64 drawNo)
    {
        Query q(gUserConn, u"SELECT Count1 FROM Bok2 WHERE BokNo = ?"_s);
        q.run({drawNo});
        return q.next() ? q.integer(u"Count1"_s) : -1;
    }

    TestInstall install {TestInstall::Kind::Demo};
};
