#pragma once

#include "Database.h"
#include "Globals.h"
#include "Paths.h"
#include "Query.h"
#include "TestEnvironment.h"
#include "Transaction.h"

#include <QFile>

// A demo install with the real draws copied into the system database and a member's own database open,
// as the safe finds things after the login and the synchronisation.
class SafeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OpenSystemDb();
        const Connection server = ConnectServer(ServerLocation::parse(QStringLiteral("sqlite:SERVER/VELTRA1.db")));
        Query draws(server, QStringLiteral("SELECT * FROM BokList"));
        draws.run();
        Transaction transaction(gSystemConn);
        Query insert(gSystemConn,
                     QStringLiteral("INSERT INTO BokList (BokNo,Date1,Date2,No1,Rk1Count,Rk2Count,Rk3Count,Rk4Count,"
                                    "Rk5Count,Rk1Kum,Rk2Kum,Rk3Kum,Rk4Kum,Rk5Kum,Sum1,Sum2,State1) "
                                    "VALUES (?,'',?,?,?,?,?,?,?,?,?,?,?,?,0,0,?)"));
        while (draws.next()) {
            QVariantList v {draws.integer(QStringLiteral("BokNo")),
                            draws.text(QStringLiteral("Date2")),
                            draws.text(QStringLiteral("LotNo"))};
            for (const char* c : {"Rk1Count",
                                  "Rk2Count",
                                  "Rk3Count",
                                  "Rk4Count",
                                  "Rk5Count",
                                  "Rk1Kum",
                                  "Rk2Kum",
                                  "Rk3Kum",
                                  "Rk4Kum",
                                  "Rk5Kum"})
                v.append(draws.integer(QString::fromLatin1(c)));
            v.append(draws.text(QStringLiteral("State1")));
            insert.run(v);
        }
        transaction.commit();

        gUserID = QStringLiteral("player");
        gUserDbPath = InstallPaths::userDb(gUserID);
        QFile::copy(InstallPaths::userDbTemplate(), gUserDbPath);
        QFile::setPermissions(gUserDbPath, QFile::ReadOwner | QFile::WriteOwner);
        OpenUserDb();
        Transaction rows(gUserConn);
        Query bok(gUserConn, QStringLiteral("INSERT INTO Bok1 (BokNo,Count1,Bigo1,Tag1) VALUES (?,0,'','0')"));
        for (int drawNo = 1; drawNo <= 1201; ++drawNo)
            bok.run({drawNo});
        rows.commit();
        gSafePageSize = 100;
    }

    TestInstall install {TestInstall::Kind::Demo};
};
