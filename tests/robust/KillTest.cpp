// A writing action killed at any moment leaves the member's databases whole: SQLite's journal undoes
// the unfinished transaction at the next opening, and each action is one transaction, so what the
// program finds afterwards is every action complete or absent.

#include "CouponStore.h"
#include "Database.h"
#include "DrawSync.h"
#include "Globals.h"
#include "Installer.h"
#include "KillWorker.h"
#include "LoginService.h"
#include "Paths.h"
#include "Query.h"
#include "RankCalc.h"
#include "SafeStore.h"
#include "TestEnvironment.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <iostream>
#include <numeric>
#include <random>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

constexpr int kKills = 100;
// Kills inside a transaction (and half as many after some progress) that say what the test has to know.
constexpr int kEnoughInside = 20;

// The first column of the first row as a number.
qint64 Number(const Connection& c, const QString& sql, const QVariantList& values = {})
{
    return SqlValue(c, sql, values).toLongLong();
}

QString IntegrityOf(const Connection& c)
{
    Query q(c, u"PRAGMA integrity_check"_s);
    q.run();
    QStringList lines;
    while (q.next())
        lines.append(q.raw().value(0).toString());
    return lines.join(u'\n');
}

class KillTest : public ::testing::Test
{
protected:
    using Check = std::function<std::string(const Connection& system, const Connection& user)>;

    // Logs the member in and brings the draws in, as a start of the program would, then lets go of
    // every connection: the worker is the only one writing.
    void start(const QString& userId)
    {
        m_userId = userId;
        if (userId == u"shop7"_s)
            Installer::demoShop();
        OpenSystemDb();
        ASSERT_EQ(LoginService().login(userId, userId, false).outcome, LoginService::Outcome::LoggedIn);
        SyncDrawResults();
        ASSERT_TRUE(install.messages.shown().isEmpty()) << install.messages.last().toStdString();
    }
    void letGo()
    {
        gServerConn.close();
        gUserConn.close();
        gSystemConn.close();
    }

    // Kills the worker of the action at random moments and checks the databases after each one, until
    // enough kills have come inside the action and inside its transactions (or kKills kills, or the time
    // budget on a slow machine).
    void killRepeatedly(const QString& action, quint32 seed, const Check& check)
    {
        std::mt19937 random(seed);
        // One undisturbed run tells how long an action takes here: the kills are spread over about two.
        qint64 window = 0;
        {
            Worker worker(action, m_userId, seed);
            QElapsedTimer took;
            ASSERT_TRUE(worker.waitFor(0)) << worker.killNow().stderrText.toStdString();
            took.start();
            ASSERT_TRUE(worker.waitFor(4)) << worker.killNow().stderrText.toStdString();
            window = std::clamp<qint64>(took.elapsed() / 2, 20, 1000);
            worker.killNow();
        }
        verify(check, 0);

        QElapsedTimer budget;
        budget.start();
        int kills = 0, midAction = 0, midTransaction = 0;
        qint64 lines = 0;
        auto enough = [&] { return midTransaction >= kEnoughInside && midAction >= kEnoughInside / 2; };
        while (kills < kKills && !enough() && budget.elapsed() < kBudgetMs) {
            Worker worker(action, m_userId, seed + quint32(kills) + 1);
            ASSERT_TRUE(worker.waitFor(0)) << worker.killNow().stderrText.toStdString();
            // The random moment of the kill is the point of the test, not a wait for anything.
            const auto delay = std::uniform_int_distribution<qint64>(0, window)(random);
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
            const WorkerRun run = worker.killNow();
            ASSERT_TRUE(run.errors.isEmpty()) << run.errors.toStdString() << run.stderrText.toStdString();
            ++kills;
            lines += run.lines;
            if (run.lines > 0)
                ++midAction;
            // A journal left beside a database: the kill came inside a transaction, which the opening
            // below has to undo.
            for (const QString& db : {InstallPaths::systemDb(), InstallPaths::userDb(m_userId)}) {
                if (QFileInfo(db + u"-journal"_s).size() > 0) {
                    ++midTransaction;
                    break;
                }
            }
            verify(check, kills);
            if (HasFatalFailure())
                return;
        }
        std::cout << "[ kills    ] " << action.toStdString() << ": " << kills << " kills survived (" << midAction
                  << " after some progress, " << midTransaction << " inside a transaction, " << lines
                  << " progress lines, kill window " << window << " ms, " << budget.elapsed() << " ms)" << std::endl;
        RecordProperty("kills", kills);
        EXPECT_GE(kills, 10) << "too slow a machine to say much";
    }

    void verify(const Check& check, int kill)
    {
        const Connection system = OpenSystemDatabase(InstallPaths::systemDb());
        const Connection user = OpenUserDatabase(InstallPaths::userDb(m_userId));
        ASSERT_EQ(IntegrityOf(system), u"ok"_s) << "after kill " << kill;
        ASSERT_EQ(IntegrityOf(user), u"ok"_s) << "after kill " << kill;
        const std::string failure = check(system, user);
        ASSERT_TRUE(failure.empty()) << "after kill " << kill << ": " << failure;
    }

    TestInstall install {TestInstall::Kind::Demo};
    QString m_userId;
};

// Every draw's Count1 equals its games, its serials run 1 … n without a gap or a double, and every game
// belongs to a group that exists.
std::string SafeCountsHold(const Connection& user, qint64 multipleOf)
{
    Query draws(user,
                u"SELECT b.BokNo AS d, b.Count1 AS c, COUNT(l.SNo1) AS n, COUNT(DISTINCT l.SNo1) AS s, "
                "COALESCE(MAX(l.SNo1), 0) AS m FROM Bok1 b LEFT JOIN List1 l ON l.BokNo = b.BokNo GROUP BY b.BokNo"_s);
    draws.run();
    while (draws.next()) {
        const qint64 d = draws.integer(u"d"_s), c = draws.integer(u"c"_s), n = draws.integer(u"n"_s);
        if (c != n)
            return "draw " + std::to_string(d) + ": Count1 " + std::to_string(c) + ", games " + std::to_string(n);
        if (draws.integer(u"s"_s) != n)
            return "draw " + std::to_string(d) + ": a serial used twice";
        if (multipleOf > 0 && n % multipleOf != 0)
            return "draw " + std::to_string(d) + ": " + std::to_string(n) + " games, a save cut short";
    }
    if (Number(user, u"SELECT COUNT(*) FROM List1 WHERE GNo1 NOT IN (SELECT GNo1 FROM Group1)"_s) != 0)
        return "games of a group that does not exist";
    if (Number(user, u"SELECT COUNT(*) FROM List1 WHERE BokNo NOT IN (SELECT BokNo FROM Bok1)"_s) != 0)
        return "games of a draw without its row";
    return {};
}

} // namespace

TEST_F(KillTest, SavingGamesIsWholeOrAbsent)
{
    start(u"player"_s);
    const qint64 before = Number(gUserConn, u"SELECT COUNT(*) FROM List1"_s);
    ASSERT_EQ(before, 0) << "the demo member's safe was expected empty";
    letGo();
    killRepeatedly(u"save"_s, 1301, [](const Connection&, const Connection& user) {
        return SafeCountsHold(user, 999);
    });
}

TEST_F(KillTest, DeletingAGroupIsWholeOrAbsent)
{
    start(u"player"_s);
    letGo();
    killRepeatedly(u"deletegroup"_s, 1302, [](const Connection&, const Connection& user) -> std::string {
        if (std::string counts = SafeCountsHold(user, 0); !counts.empty())
            return counts;
        Query groups(user, u"SELECT BokNo, GNo1, COUNT(*) AS n FROM List1 GROUP BY BokNo, GNo1"_s);
        groups.run();
        while (groups.next()) {
            if (groups.integer(u"n"_s) % 999 != 0)
                return "draw " + std::to_string(groups.integer(u"BokNo"_s)) + ": a group of "
                    + std::to_string(groups.integer(u"n"_s)) + " games, a save or deletion cut short";
        }
        return {};
    });
}

TEST_F(KillTest, ARankPassRanksEveryPendingGameOrNone)
{
    start(u"player"_s);
    std::mt19937 random(1303);
    QStringList games;
    for (int i = 0; i < 999; ++i) {
        std::vector<int> all(45);
        std::iota(all.begin(), all.end(), 1);
        std::shuffle(all.begin(), all.end(), random);
        std::sort(all.begin(), all.begin() + 6);
        QString text;
        for (int k = 0; k < 6; ++k)
            text += QString::number(all[size_t(k)]).rightJustified(2, u'0');
        games.append(text);
    }
    const RankCalc::DrawResult result = RankCalc::ReadDrawResult(1200);
    ASSERT_TRUE(result.final);
    games[0] = result.drawText.left(12); // one first prize at least, so that winners are written
    ASSERT_FALSE(SafeStore::SaveGames(1200, games, QString(), u"기본"_s).has_value());
    letGo();
    const FastRank rule(result.drawText);
    killRepeatedly(u"rank"_s, 1303, [&](const Connection&, const Connection& user) -> std::string {
        if (std::string counts = SafeCountsHold(user, 999); !counts.empty())
            return counts;
        const qint64 pending = Number(user, u"SELECT COUNT(*) FROM List1 WHERE BokNo = 1200 AND Top1 = '9'"_s);
        if (pending != 0 && pending != 999)
            return std::to_string(pending) + " of 999 games still pending: a pass cut short";
        if (Number(user, u"SELECT Tag1 FROM Bok1 WHERE BokNo = 1200"_s) == 1 && pending != 0)
            return "the draw is marked ranked with games pending";
        Query q(user, u"SELECT No1, Top1, Kum1 FROM List1 WHERE BokNo = 1200"_s);
        q.run();
        while (q.next()) {
            const QString top = q.text(u"Top1"_s);
            if (top == u"9"_s) {
                if (q.number(u"Kum1"_s) != 0)
                    return "a pending game with a prize";
                continue;
            }
            const char rank = rule.rankOf(q.text(u"No1"_s));
            if (top != QString(QChar::fromLatin1(rank)))
                return "game " + q.text(u"No1"_s).toStdString() + " ranked " + top.toStdString();
            const double prize = rank == '0' ? 0 : result.prizes[size_t(rank - '0')];
            if (q.number(u"Kum1"_s) != std::llround(prize))
                return "game " + q.text(u"No1"_s).toStdString() + " with a wrong prize";
        }
        return {};
    });
}

TEST_F(KillTest, AnIssueRunNumbersEveryCouponOrNone)
{
    start(u"shop7"_s);
    const qint64 drawNo = 1201;
    ASSERT_EQ(Number(gUserConn, u"SELECT COUNT(*) FROM Bok2 WHERE BokNo = ?"_s, {drawNo}), 1);
    const qint64 firstNew = Number(gUserConn, u"SELECT COALESCE(MAX(SNo1), 0) FROM List2 WHERE BokNo = ?"_s, {drawNo});
    const qint64 issuedBefore
        = Number(gUserConn, u"SELECT COUNT(*) FROM List2 WHERE BokNo = ? AND SNo2 <> '0'"_s, {drawNo});
    letGo();
    killRepeatedly(u"issue"_s, 1304, [&](const Connection&, const Connection& user) -> std::string {
        if (Number(user, u"SELECT Count1 FROM Bok2 WHERE BokNo = ?"_s, {drawNo})
            != Number(user, u"SELECT COUNT(*) FROM List2 WHERE BokNo = ?"_s, {drawNo}))
            return "Bok2.Count1 differs from the coupon's games";
        const qint64 issued
            = Number(user, u"SELECT COUNT(*) FROM List2 WHERE BokNo = ? AND SNo2 <> '0'"_s, {drawNo}) - issuedBefore;
        if (issued % 250 != 0)
            return std::to_string(issued) + " games issued: a run of 50 coupons of 5 cut short";
        if (Number(user, u"SELECT COUNT(*) FROM List2 WHERE BokNo = ? AND Tag1 = '1'"_s, {drawNo}) % 250 != 0)
            return "a run partly being printed";
        if (Number(user,
                   u"SELECT COUNT(*) FROM (SELECT SNo1 FROM List2 WHERE BokNo = ? AND SNo2 <> '0' AND SNo1 > ? "
                   "GROUP BY SNo1 HAVING COUNT(*) <> 5 OR COUNT(DISTINCT SNo2) <> 5 OR MIN(SNo2) <> '1' "
                   "OR MAX(SNo2) <> '5' OR COUNT(DISTINCT Date1) <> 1)"_s,
                   {drawNo, firstNew})
            != 0)
            return "a coupon without its five games numbered 1 to 5";
        if (Number(user,
                   u"SELECT COUNT(*) FROM (SELECT SNo1 FROM List2 WHERE BokNo = ? AND SNo2 = '0' "
                   "GROUP BY SNo1 HAVING COUNT(*) > 1)"_s,
                   {drawNo})
            != 0)
            return "an unissued serial used twice";
        if (Number(user,
                   u"SELECT COUNT(*) FROM List2 WHERE BokNo = ? AND SNo2 = '0' AND (Date1 <> '' OR Tag1 <> '')"_s,
                   {drawNo})
            != 0)
            return "an unissued game with an issue time";
        return {};
    });
}

TEST_F(KillTest, TheSynchronisationCopiesEverythingOrNothing)
{
    start(u"player"_s);
    const Connection server = ConnectServer(ServerLocation::parse(u"sqlite:SERVER/VELTRA1.db"_s));
    const qint64 serverDraws = Number(server, u"SELECT COUNT(*) FROM BokList"_s);
    const QString serverStamp
        = SqlValue(gSystemConn, u"SELECT Value1 FROM Info1 WHERE Section1 = '업데이트' AND Name1 = '복권:변경날짜'"_s);
    const QString copied
        = SqlValue(gSystemConn, u"SELECT group_concat(BokNo || No1 || State1 || Rk1Kum, ',') FROM BokList"_s);
    ASSERT_GT(serverDraws, 1000);
    letGo();
    killRepeatedly(u"sync"_s, 1305, [&](const Connection& system, const Connection& user) -> std::string {
        const qint64 draws = Number(system, u"SELECT COUNT(*) FROM BokList"_s);
        const QString stamp
            = SqlValue(system, u"SELECT Value1 FROM Info1 WHERE Section1 = '업데이트' AND Name1 = '복권:변경날짜'"_s);
        if (!((draws == 0 && stamp.isEmpty()) || (draws == serverDraws && stamp == serverStamp)))
            return std::to_string(draws) + " draws with the stamp '" + stamp.toStdString() + "'";
        if (draws > 0
            && SqlValue(system, u"SELECT group_concat(BokNo || No1 || State1 || Rk1Kum, ',') FROM BokList"_s) != copied)
            return "the draws differ from a whole copy";
        const qint64 ticker = Number(system, u"SELECT COUNT(*) FROM Hot1"_s);
        const QString tickerStamp
            = SqlValue(system, u"SELECT Value1 FROM Info1 WHERE Section1 = '업데이트' AND Name1 = '전광판:변경회차'"_s);
        if (!((ticker == 0 && tickerStamp.isEmpty()) || (ticker > 0 && tickerStamp == u"1201"_s)))
            return std::to_string(ticker) + " ticker lines with the stamp '" + tickerStamp.toStdString() + "'";
        const qint64 rows = Number(user, u"SELECT COUNT(*) FROM Bok1"_s);
        if ((rows != 600 && rows != 1201) || Number(user, u"SELECT MAX(BokNo) FROM Bok1"_s) != rows)
            return std::to_string(rows) + " draw rows";
        return {};
    });
}
