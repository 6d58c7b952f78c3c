#include "Database.h"
#include "Paths.h"
#include "Query.h"
#include "Schema.h"
#include "TestEnvironment.h"

#include <QCryptographicHash>
#include <QFile>
#include <QMap>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The games as a member keeps them: pending, won, lost, in two draws and two groups.
const QString kGames = u"SELECT group_concat(BokNo || ':' || GNo1 || ':' || No1 || ':' || Top1 || ':' || Kum1 || ':' || SNo1, ' ') "
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

QByteArray digest(const QString& path)
{
    return QCryptographicHash::hash(ReadBytes(path), QCryptographicHash::Sha256);
}

class MemberFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = InstallPaths::userDb(u"member"_s);
        ASSERT_TRUE(QFile::copy(InstallPaths::userDbTemplate(), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }

    // The file as the program's earlier layout had it: four indexes over every game.
    void makeEarlierLayout()
    {
        Connection c = Connection::openSqlite(path);
        for (const QString& index : {u"List1_Game"_s, u"List1_Rank"_s, u"List1_Group"_s})
            Execute(c, u"DROP INDEX "_s + index);
        Execute(c, u"CREATE UNIQUE INDEX List1_Game ON List1 (BokNo, SNo1)"_s);
        Execute(c, u"CREATE INDEX List1_Rank ON List1 (BokNo, Top1, SNo1)"_s);
        Execute(c, u"CREATE INDEX List1_Group ON List1 (BokNo, GNo1)"_s);
        Execute(c, u"CREATE INDEX List1_GroupOnly ON List1 (GNo1)"_s);
        const QString insert = u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES (?,?,?,?,?,?)"_s;
        Execute(c, insert, {1200, 1, u"010203040506"_s, u"9"_s, 0, 1});
        Execute(c, insert, {1200, 2, u"010203040507"_s, u"5"_s, 5000, 2});
        Execute(c, insert, {1200, 1, u"111213141516"_s, u"0"_s, 0, 3});
        Execute(c, insert, {1199, 2, u"070809101112"_s, u"0"_s, 0, 1});
    }

    TestInstall install;
    QString path;
};

} // namespace

TEST_F(MemberFile, OneOfTheEarlierLayoutIsBroughtUpToDateKeepingEveryGame)
{
    makeEarlierLayout();
    QString games;
    {
        const Connection before = Connection::openSqlite(path);
        games = SqlValue(before, kGames);
        ASSERT_NE(indexesOf(before), templateIndexes());
    }
    const Connection c = OpenUserDatabase(path);
    EXPECT_EQ(indexesOf(c), templateIndexes());
    EXPECT_EQ(SqlValue(c, kGames), games);
    EXPECT_EQ(SqlValue(c, u"PRAGMA integrity_check"_s), u"ok"_s);
    // The rank index leaves the losing games out, and still finds every other game.
    EXPECT_EQ(SqlValue(c, u"SELECT group_concat(SNo1) FROM List1 INDEXED BY List1_Rank "
                          "WHERE BokNo = 1200 AND Top1 <> '0'"_s),
              u"2,1"_s);
}

TEST_F(MemberFile, OneAlreadyUpToDateIsNotWrittenTo)
{
    {
        const Connection c = OpenUserDatabase(path);
        Execute(c, u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES (?,?,?,'9',0,?)"_s,
                {1200, 1, u"010203040506"_s, 1});
    }
    const QByteArray before = digest(path);
    { const Connection c = OpenUserDatabase(path); }
    EXPECT_EQ(digest(path), before);
}

TEST_F(MemberFile, AnUpgradeThatFailsLeavesTheFileAsItWas)
{
    makeEarlierLayout();
    {
        // Two games under one serial: the unique index of the new layout cannot be built.
        Connection c = Connection::openSqlite(path);
        Execute(c, u"DROP INDEX List1_Game"_s);
        Execute(c, u"CREATE INDEX List1_Game ON List1 (BokNo, SNo1)"_s);
        Execute(c, u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES (1200,1,'212223242526','9',0,1)"_s);
    }
    QString indexes;
    {
        const Connection c = Connection::openSqlite(path);
        indexes = indexesOf(c);
    }
    EXPECT_THROW(OpenUserDatabase(path), SqlError);
    const Connection c = Connection::openSqlite(path);
    EXPECT_EQ(indexesOf(c), indexes);
}
