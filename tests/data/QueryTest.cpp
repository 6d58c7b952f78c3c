#include "Query.h"

#include "Database.h"
#include "Globals.h"
#include "TestEnvironment.h"
#include "Transaction.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
qint64 count(const Connection& c, const QString& table)
{
    Query q(c, u"SELECT COUNT(*) AS n FROM "_s + table);
    q.run();
    q.next();
    return q.integer(u"n"_s);
}
} // namespace

// The statement layer behaves the same on the SQLite stand-in and on PostgreSQL. The writes go through
// the catalog's owner: the shared account writes no ticker line.
class Statements : public ::testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        SURIBALL_REQUIRE_SERVER(GetParam(), false);
        OpenServerConn();
        server = ServerOwnerConnection(GetParam());
    }
    TestInstall install;
    Connection server;
};

TEST_P(Statements, BoundValuesArriveExactly)
{
    const QStringList titles = {u"it's"_s,
                                u"a'); DELETE FROM PrList; --"_s,
                                u"\"double\" \\ back"_s,
                                QString(10000, u'가'),
                                u"😀 이모지"_s,
                                QString()};
    Query insert(server, u"INSERT INTO PrList (Title1,Url1,State1,Show1,Sum1) VALUES (?,?,'2','1',?)"_s);
    for (qsizetype i = 0; i < titles.size(); ++i)
        insert.run({titles[i], QString(u"u"_s + QString::number(i)), i});
    EXPECT_EQ(count(server, u"PrList"_s), titles.size());

    Query read(server, u"SELECT Title1, Sum1 FROM PrList WHERE Url1 = ?"_s);
    for (qsizetype i = 0; i < titles.size(); ++i) {
        read.run({QString(u"u"_s + QString::number(i))});
        ASSERT_TRUE(read.next());
        EXPECT_EQ(read.text(u"Title1"_s), titles[i]);
        EXPECT_EQ(read.integer(u"Sum1"_s), i);
        EXPECT_FALSE(read.next());
    }
    // Column names are matched without regard to case, as the server folds them.
    read.run({u"u0"_s});
    ASSERT_TRUE(read.next());
    EXPECT_EQ(read.text(u"TITLE1"_s), u"it's"_s);
    EXPECT_THROW(read.value(u"NoSuchColumn"_s), SqlError);
}

TEST_P(Statements, NullReadsAsEmptyText)
{
    Execute(server, u"INSERT INTO PrList (Title1, Url1) VALUES (?, ?)"_s, {u"x"_s, u"p"_s});
    Query q(server, u"SELECT State1, Url1 FROM PrList WHERE Title1 = ?"_s);
    q.run({u"x"_s});
    ASSERT_TRUE(q.next());
    EXPECT_TRUE(q.text(u"State1"_s).isEmpty());
    EXPECT_FALSE(q.text(u"State1"_s).isNull());
    EXPECT_EQ(Execute(server, u"UPDATE PrList SET State1 = ? WHERE Title1 = ?"_s, {u"n"_s, u"x"_s}), 1);
    EXPECT_EQ(Execute(server, u"UPDATE PrList SET State1 = ? WHERE Title1 = ?"_s, {u"n"_s, u"nobody"_s}), 0);
}

TEST_P(Statements, TransactionsLandWholeOrNotAtAll)
{
    const QString insert = u"INSERT INTO PrList (Title1,Url1,State1,Show1,Sum1) VALUES (?,'x','2','1',0)"_s;
    try {
        Transaction t(server);
        Execute(server, insert, {u"one"_s});
        Execute(server, insert, {u"two"_s});
        Execute(server, u"INSERT INTO NoSuchTable VALUES (1)"_s);
        t.commit();
        FAIL() << "the bad statement should have thrown";
    } catch (const SqlError& error) {
        EXPECT_FALSE(error.statement().isEmpty());
    }
    EXPECT_EQ(count(server, u"PrList"_s), 0);

    {
        Transaction t(server);
        Execute(server, insert, {u"left early"_s});
    } // no commit: rolled back
    EXPECT_EQ(count(server, u"PrList"_s), 0);

    {
        Transaction t(server);
        Execute(server, insert, {u"one"_s});
        Execute(server, insert, {u"two"_s});
        t.commit();
    }
    EXPECT_EQ(count(server, u"PrList"_s), 2);
    // The connection goes on working after a failed transaction.
    EXPECT_EQ(Execute(server, u"DELETE FROM PrList"_s), 2);
}

TEST_P(Statements, FirstRowsOnly)
{
    SURIBALL_REQUIRE_SERVER(GetParam(), true);
    OpenServerConn();
    Query q(gServerConn, u"SELECT BokNo FROM BokList ORDER BY BokNo DESC"_s + Connection::limitClause(3));
    q.run();
    QList<qint64> drawNos;
    while (q.next())
        drawNos.append(q.integer(u"BokNo"_s));
    EXPECT_EQ(drawNos, (QList<qint64> {1201, 1200, 1199}));
}

INSTANTIATE_TEST_SUITE_P(Servers, Statements, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);

TEST(StatementErrors, ClosedConnectionAndBadSqlThrow)
{
    TestInstall install;
    EXPECT_THROW(Query(gUserConn, u"SELECT 1"_s), SqlError);
    OpenSystemDb();
    EXPECT_THROW(Execute(gSystemConn, u"SELEC nonsense"_s), SqlError);
    EXPECT_THROW(Execute(gSystemConn, u"INSERT INTO Info1 (Section1) VALUES (?)"_s, {u"a"_s, u"b"_s}), SqlError);
    EXPECT_TRUE(gSystemConn.isOpen());
}

// Changes on an SQLite file are run on SQLite's own statement: they must bind and fail as Qt's path does.
TEST(StatementErrors, AChangeFailsInTheSameWordsWhicheverWayItRan)
{
    TestInstall install;
    OpenSystemDb();
    Execute(gSystemConn, u"INSERT INTO Info1 (Section1,Name1,Value1) VALUES ('s','n','v')"_s);
    SqlError direct {QString(), QString(), QString()};
    SqlError bound {QString(), QString(), QString()};
    try {
        Execute(gSystemConn, u"INSERT INTO Info1 (Section1,Name1,Value1) VALUES ('s','n','w')"_s);
    } catch (const SqlError& e) {
        direct = e;
    }
    try {
        Execute(gSystemConn, u"INSERT INTO Info1 (Section1,Name1,Value1) VALUES (?,?,?)"_s, {u"s"_s, u"n"_s, u"w"_s});
    } catch (const SqlError& e) {
        bound = e;
    }
    EXPECT_FALSE(direct.message().isEmpty());
    EXPECT_EQ(bound.message(), direct.message());
    EXPECT_EQ(bound.nativeCode(), direct.nativeCode());
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT group_concat(Value1) FROM Info1 WHERE Section1 = 's'"_s), u"v"_s);

    // Every kind of value lands as Qt would bind it, the ones it converts too.
    Query insert(gSystemConn, u"INSERT INTO Hot1 (No1, Part1, Text1, Url1) VALUES (?,?,?,?)"_s);
    insert.run({qint64(1) << 40, true, 2.5, QString()});
    EXPECT_EQ(insert.rowsAffected(), 1);
    insert.run({7, 3u, QDate(2025, 12, 8), QByteArray("b")});
    EXPECT_EQ(SqlValue(gSystemConn,
                       u"SELECT group_concat(No1 || '/' || Part1 || '/' || Text1 || '/' || ifnull(Url1, 'null') || '/' "
                       "|| typeof(Url1), ' ') FROM (SELECT * FROM Hot1 ORDER BY No1)"_s),
              u"7/3/2025-12-08/b/blob 1099511627776/1/2.5/null/null"_s);
    // A run with too few values is refused, not run with the last run's values, in the program's words.
    try {
        insert.run({8, 1});
        ADD_FAILURE() << "ran with two of four values";
    } catch (const SqlError& e) {
        EXPECT_EQ(e.message(), u"문장의 값 자리 수(4)와 주어진 값의 수(2)가 다릅니다."_s);
    }
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT COUNT(*) FROM Hot1"_s), u"2"_s);
}

TEST(ServerAccount, User1ChangesNoTable)
{
    TestInstall install;
    SURIBALL_REQUIRE_SERVER(Backend::PostgreSQL, false);
    OpenServerConn();
    EXPECT_THROW(Execute(gServerConn, u"CREATE TABLE Intruder (x INTEGER)"_s), SqlError);
    EXPECT_THROW(Execute(gServerConn, u"CREATE TEMP TABLE Intruder (x INTEGER)"_s), SqlError);
    EXPECT_THROW(Execute(gServerConn, u"DROP TABLE PrList"_s), SqlError);
    EXPECT_THROW(Execute(gServerConn, u"ALTER TABLE PrList ADD COLUMN y INTEGER"_s), SqlError);
    EXPECT_THROW(Execute(gServerConn, u"CREATE INDEX Intruder ON PrList (Title1)"_s), SqlError);
    EXPECT_TRUE(gServerConn.hasTable(u"PrList"_s));
}
