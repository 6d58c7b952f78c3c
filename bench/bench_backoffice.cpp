// The administrator's free tickets at scale: registering 10,000 pulled games into an order, ranking a
// draw of 100,000 free games (settlement step 1, on screen), and listing a month of 1,000 orders.
// The server is the demo's SQLite stand-in, or PostgreSQL when SURIBALL_TEST_PG names its host (as for
// the tests: SURIBALL_TEST_PG_ADMIN, SURIBALL_TEST_PG_PASSWORD).
#include "BenchSupport.h"
#include "Clock.h"
#include "Database.h"
#include "Globals.h"
#include "IfoFiles.h"
#include "Installer.h"
#include "LoginService.h"
#include "MessageService.h"
#include "OrderStore.h"
#include "Query.h"
#include "ServerCatalog.h"
#include "Settlement.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <random>

using namespace Qt::StringLiterals;

namespace {

// Orders come from the shops through the service; the administrator's windows never make one.
void addOrder(const Connection& server, qint64 code, qint64 drawNo, const QString& date, qint64 tickets)
{
    Execute(server,
            u"INSERT INTO NBList1 (JPCodeNo,ID1,BokNo,Date1,Count1,Count2,Danga1,State1,SendNo1,Bigo1,Comp1,Title1,"
            "Tel1,Text1,Text2,Text3) VALUES (?,'shop7',?,?,?,5,100,'2','','','','','','','','')"_s,
            {code, drawNo, date, tickets});
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    bench::QuietMessages quiet;
    MessageService::install(&quiet);
    QTemporaryDir dir;
    qputenv("SURIBALL_ROOT", dir.path().toLocal8Bit());
    const QDate today(2025, 12, 8);
    Clock::setFixed(QDateTime(today, QTime(10, 0)));
    Installer::demo(dir.path(), false, today);
    const auto admin = ServerCatalog::TestServerFromEnvironment();
    if (admin)
        bench::UseTestServer(today);
    OpenSystemDb();
    // The administrator's own session: on PostgreSQL the server checks every statement against it.
    if (LoginService().login(u"chief"_s, u"chief"_s, false).outcome != LoginService::Outcome::LoggedIn)
        return 1;
    OpenServerConn();
    const Connection operatorConnection = bench::OperatorConnection();
    QTextStream out(stdout);
    out << "server: " << (admin ? u"PostgreSQL "_s + admin->serverSetting() : u"SQLite stand-in"_s) << Qt::endl;
    std::mt19937 random(1201);
    QElapsedTimer t;

    // 1. Ten thousand pulled games into one order (one transaction, budget 1 s on PostgreSQL).
    addOrder(operatorConnection, 5000, 1201, u"2025-12-08 09:00:00"_s, 2000);
    const QStringList pulled = bench::RandomGames(10000, random);
    t.start();
    const OrderStore::Registration done = OrderStore::RegisterGames(5000, 5, pulled);
    out << "register 10,000 games into an order: " << bench::LapMs(t) << " ms (" << done.added << " games, tickets "
        << done.firstTicket << "-" << done.lastTicket << ")" << Qt::endl;

    // 2. A draw of 100,000 free games ranked on screen (budget 2 s).
    for (int order = 0; order < 10; ++order) {
        addOrder(operatorConnection, 6000 + order, 1200, u"2025-11-20 09:00:00"_s, 2000);
        OrderStore::RegisterGames(6000 + order, 5, bench::RandomGames(10000, random));
    }
    t.restart();
    const Settlement::Ranking ranking = Settlement::RankDraw(1200);
    out << "rank a draw of " << ranking.pending << " free games (step 1): " << bench::LapMs(t) << " ms, "
        << qint64(ranking.winners.size()) << " winners" << Qt::endl;

    // 3. A month of 1,000 orders, each with games (budget 0.5 s).
    {
        Transaction transaction(operatorConnection);
        Query game(operatorConnection, u"INSERT INTO NBNo1 VALUES (?,1199,'010203040506','9',0,1,'1','0')"_s);
        for (int order = 0; order < 1000; ++order) {
            addOrder(operatorConnection,
                     10000 + order,
                     1199,
                     u"2024-07-"_s + QString::number(order % 28 + 1).rightJustified(2, u'0'),
                     1);
            game.run({10000 + order});
        }
        transaction.commit();
    }
    t.restart();
    const std::vector<OrderStore::Order> month = OrderStore::ListOrders(2024, 7);
    out << "list a month of " << qint64(month.size()) << " orders with their counts: " << bench::LapMs(t) << " ms"
        << Qt::endl;
    return 0;
}
