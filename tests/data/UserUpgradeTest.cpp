#include "Database.h"
#include "Paths.h"
#include "Query.h"
#include "Schema.h"
#include "TestEnvironment.h"

#include <QCryptographicHash>
#include <QFile>
#include <QMap>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The games as a member keeps them: pending, won, lost, in two draws and two groups.
const QString kGames
    = u"SELECT group_concat(BokNo || ':' || GNo1 || ':' || No1 || ':' || Top1 || ':' || Kum1 || ':' || SNo1, ' ') "
      "FROM (SELECT * FROM List1 ORDER BY BokNo, SNo1)"_s;

QString indexesOf(const Connection& c)
{
    return SqlValue(c,
                    u"SELECT group_concat(sql, '; ') FROM (SELECT sql FROM sqlite_master WHERE type = 'index' "
                    "AND tbl_name = 'List1' AND sql IS NOT NULL ORDER BY name)"_s);
}

QString templateIndexes()
{
    QMap<QString, QString> wanted; // by name, as indexesOf lists them
    for (const TableDef& table : Schema::userTables()) {
        if (table.name == u"List1"_s) {
            for (const IndexDef& index : table.indexes)
                wanted.insert(index.name, Schema::createIndex(table, index));
        }
    }
    return wanted.values().join(u"; "_s);
}

QByteArray digest(const QString& path) { return QCryptographicHash::hash(ReadBytes(path), QCryptographicHash::Sha256); }

class MemberFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = InstallPaths::userDb(u"member"_s);
        ASSERT_TRUE(QFile::copy(InstallPaths::userDbTemplate(), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }

    enum class Layout { FirstRelease, IndexedGames };

    // The file as an earlier program had it: the games a plain table, with four indexes over every game
    // (the first release) or three, the rank index without the losers (the one after it).
    void makeEarlierLayout(Layout layout = Layout::FirstRelease)
    {
        Connection c = Connection::openSqlite(path);
        Execute(c, u"DROP TABLE List1"_s);
        Execute(c,
                u"CREATE TABLE List1 (BokNo INTEGER, GNo1 INTEGER, No1 TEXT, Top1 TEXT, Kum1 INTEGER, SNo1 INTEGER)"_s);
        Execute(c, u"CREATE UNIQUE INDEX List1_Game ON List1 (BokNo, SNo1)"_s);
        Execute(c, u"CREATE INDEX List1_Group ON List1 (BokNo, GNo1)"_s);
        if (layout == Layout::FirstRelease) {
            Execute(c, u"CREATE INDEX List1_Rank ON List1 (BokNo, Top1, SNo1)"_s);
            Execute(c, u"CREATE INDEX List1_GroupOnly ON List1 (GNo1)"_s);
        } else {
            Execute(c, u"CREATE INDEX List1_Rank ON List1 (BokNo, Top1, SNo1) WHERE Top1 <> '0'"_s);
        }
        const QString insert = u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES (?,?,?,?,?,?)"_s;
        // Saved out of their order, as merges and restores may leave them.
        Execute(c, insert, {1200, 2, u"010203040507"_s, u"5"_s, 5000, 2});
        Execute(c, insert, {1200, 1, u"010203040506"_s, u"9"_s, 0, 1});
        Execute(c, insert, {1200, 1, u"111213141516"_s, u"0"_s, 0, 3});
        Execute(c, insert, {1199, 2, u"070809101112"_s, u"0"_s, 0, 1});
    }

    TestInstall install;
    QString path;
};

} // namespace

TEST_F(MemberFile, EachEarlierLayoutIsBroughtUpToDateKeepingEveryGame)
{
    for (const Layout layout : {Layout::FirstRelease, Layout::IndexedGames}) {
        SCOPED_TRACE(int(layout));
        QFile::remove(path);
        ASSERT_TRUE(QFile::copy(InstallPaths::userDbTemplate(), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        makeEarlierLayout(layout);
        QString games;
        {
            const Connection before = Connection::openSqlite(path);
            games = SqlValue(before, kGames);
            ASSERT_NE(indexesOf(before), templateIndexes());
        }
        const Connection c = OpenUserDatabase(path);
        EXPECT_EQ(indexesOf(c), templateIndexes());
        EXPECT_EQ(SqlValue(c, u"SELECT sql FROM sqlite_master WHERE name = 'List1'"_s).remove(u'"'),
                  Schema::createTable(*std::find_if(Schema::userTables().begin(),
                                                    Schema::userTables().end(),
                                                    [](const TableDef& t) { return t.name == u"List1"_s; }),
                                      Connection::Engine::SQLite));
        EXPECT_EQ(SqlValue(c, kGames), games);
        EXPECT_EQ(SqlValue(c, u"PRAGMA integrity_check"_s), u"ok"_s);
        // Kept in draw and serial order, found by it, and the rank index holds the winner alone.
        EXPECT_EQ(SqlValue(c, u"SELECT group_concat(SNo1) FROM List1 WHERE BokNo = 1200"_s), u"1,2,3"_s);
        EXPECT_EQ(SqlValue(c,
                           u"SELECT group_concat(SNo1) FROM List1 INDEXED BY List1_Rank "
                           "WHERE BokNo = 1200 AND Top1 BETWEEN '1' AND '5'"_s),
                  u"2"_s);
        // The games go on being saved and found.
        Execute(c, u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES (1200,1,'212223242526','9',0,4)"_s);
        EXPECT_EQ(SqlValue(c, u"SELECT No1 FROM List1 WHERE BokNo = 1200 AND SNo1 = 4"_s), u"212223242526"_s);
    }
    // Once upgraded, the next opening finds nothing to do.
    const QByteArray upgraded = digest(path);
    {
        const Connection again = OpenUserDatabase(path);
    }
    EXPECT_EQ(digest(path), upgraded);
}

TEST_F(MemberFile, OneAlreadyUpToDateIsNotWrittenTo)
{
    {
        const Connection c = OpenUserDatabase(path);
        Execute(c,
                u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES (?,?,?,'9',0,?)"_s,
                {1200, 1, u"010203040506"_s, 1});
    }
    const QByteArray before = digest(path);
    {
        const Connection c = OpenUserDatabase(path);
    }
    EXPECT_EQ(digest(path), before);
}

TEST_F(MemberFile, AnUpgradeThatFailsLeavesTheFileAsItWas)
{
    makeEarlierLayout();
    {
        // Two games under one serial: the new layout, keyed by draw and serial, cannot hold them.
        Connection c = Connection::openSqlite(path);
        Execute(c, u"DROP INDEX List1_Game"_s);
        Execute(c, u"CREATE INDEX List1_Game ON List1 (BokNo, SNo1)"_s);
        Execute(c, u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES (1200,1,'212223242526','9',0,1)"_s);
    }
    const QByteArray before = digest(path);
    EXPECT_THROW(OpenUserDatabase(path), SqlError);
    EXPECT_EQ(digest(path), before);
}
