#pragma once

#include "Database.h"
#include "Globals.h"
#include "Query.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

// The demo server on each backend, the administrator logged in and the server open, as the
// administrator's windows find things.
class BackofficeTest : public ::testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        SURIBALL_REQUIRE_SERVER(GetParam(), true);
        OpenSystemDb();
        LogInOnServer(QStringLiteral("chief"));
    }

    // An order without games, for draw drawNo, as the service takes it from a shop (the administrator's
    // windows never make one).
    void addOrder(qint64 code, qint64 drawNo, qint64 tickets, qint64 perTicket, const QString& date)
    {
        Execute(ServerOwnerConnection(GetParam()),
                QStringLiteral("INSERT INTO NBList1 (JPCodeNo,ID1,BokNo,Date1,Count1,Count2,Danga1,State1,SendNo1,"
                               "Bigo1,Comp1,Title1,Tel1,Text1,Text2,Text3) "
                               "VALUES (?,'shop7',?,?,?,?,100,'1','','','','','','','','')"),
                {code, drawNo, date, tickets, perTicket});
    }
    static QString server(const QString& sql, const QVariantList& values = {})
    {
        return SqlValue(gServerConn, sql, values);
    }

    TestInstall install {TestInstall::Kind::Demo};
};
