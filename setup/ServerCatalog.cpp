#include "ServerCatalog.h"

#include "Database.h"
#include "DemoData.h"
#include "DrawProgress.h"
#include "MemberCheck.h"
#include "Query.h"
#include "Schema.h"
#include "ServerTrust.h"
#include "SetupError.h"
#include "SqliteFile.h"
#include "Transaction.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace ServerCatalog {

namespace {

QString freshStamp(const QDate& today) { return today.toString(u"yyyyMMdd"_s) + u"00"_s; }

void insertDemoOrders(const Connection& c, const QDate& today)
{
    Query order(c,
                u"INSERT INTO NBList1 (JPCodeNo,ID1,BokNo,Date1,Count1,Count2,Danga1,State1,SendNo1,Bigo1,Comp1,Title1,"
                "Tel1,Text1,Text2,Text3) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"_s);
    Query game(c, u"INSERT INTO NBNo1 (JPCodeNo,BokNo,No1,Top1,Kum1,SNo1,SNo2,Cancel1) VALUES (?,?,?,?,?,?,?,'0')"_s);
    for (const DemoData::Order& o : DemoData::orders(today)) {
        order.run({o.code,
                   o.id,
                   o.drawNo,
                   o.date,
                   o.tickets,
                   o.gamesPerTicket,
                   o.unitPrice,
                   o.state,
                   o.sendNo,
                   o.memo,
                   o.shop,
                   o.title,
                   o.tel,
                   o.text1,
                   o.text2,
                   o.text3});
        for (const DemoData::OrderGame& g : o.games)
            game.run({o.code, o.drawNo, g.game, g.top, g.prize, g.ticket, g.position});
    }
    Query stats(c,
                u"INSERT INTO S1List (BokNo,Sum1,S1Count,S2Count,S3Count,S4Count,S5Count,S1Kum,S2Kum,S3Kum,S4Kum,"
                "S5Kum) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"_s);
    for (const DemoData::FreeTicketStats& s : DemoData::freeTicketStats(today)) {
        QVariantList values {s.drawNo, s.games};
        for (qint64 w : s.winners)
            values.append(w);
        for (qint64 k : s.amounts)
            values.append(k);
        stats.run(values);
    }
}

void insertDemoRows(const Connection& c, const QDate& today)
{
    const QString stamp = QString::fromUtf16(DemoData::kDemoStamp);
    Query member(
        c,
        u"INSERT INTO Member (ID1,Pwd,Name1,JuminNo1,Email1,Level1,State1,Login2) VALUES (?,?,?,?,?,?,?,'')"_s);
    for (const DemoData::Member& m : DemoData::members())
        member.run({m.id,
                    c.engine() == Connection::Engine::PostgreSQL ? m.bcryptHash : m.standInHash,
                    m.name,
                    m.juminNo,
                    m.email,
                    m.level,
                    m.state});

    Query draw(c,
               u"INSERT INTO BokList (BokNo,Date1,Date2,LotNo,State1,State2,"
               "Rk1Count,Rk2Count,Rk3Count,Rk4Count,Rk5Count,Rk1Kum,Rk2Kum,Rk3Kum,Rk4Kum,Rk5Kum) "
               "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"_s);
    auto dates = [](int drawNo) {
        const QDate date = DemoData::drawDate(drawNo);
        // Entries open the day after the previous draw.
        return std::pair {date.addDays(-6).toString(u"yyyyMMdd"_s), date.toString(u"yyyyMMdd"_s)};
    };
    for (const DemoData::Draw& d : DemoData::draws()) {
        const auto [opens, drawn] = dates(d.drawNo);
        QVariantList values {d.drawNo, opens, drawn, d.drawText(), u"3"_s, stamp};
        for (qint64 winners : d.winners)
            values.append(winners);
        for (qint64 prize : d.prizes)
            values.append(prize);
        draw.run(values);
    }
    const int onSale = int(DemoData::draws().size()) + 1;
    const auto [opens, drawn] = dates(onSale);
    draw.run({onSale, opens, drawn, u"00000000000000"_s, u"1"_s, stamp, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});

    Query promo(c, u"INSERT INTO PrList (Title1,Url1,State1,Show1,Sum1) VALUES (?,?,?,?,?)"_s);
    for (const DemoData::PromoLine& p : DemoData::promoLines())
        promo.run({p.title, p.url, p.state, p.show, p.sum});
    insertDemoOrders(c, today);
}

// The demo shop's coupon of the draw on sale, published as its registration would have done it.
void insertDemoShopCoupon(const Connection& c)
{
    Query coupon(c,
                 u"INSERT INTO Coupon1 (ID1,BokNo,Part2,Title1,Title2,Comp1,Count1,No1Text,No2Text,No3Text,No4Text,"
                 "No5Text,Text1,Text2) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"_s);
    const int onSale = int(DemoData::draws().size()) + 1;
    for (const DemoData::ShopCoupon& s : DemoData::shopCoupons()) {
        if (s.drawNo != onSale)
            continue;
        coupon.run({QString::fromUtf16(DemoData::kDemoShop),
                    s.drawNo,
                    s.part2,
                    s.title1,
                    s.title2,
                    s.comp1,
                    qint64(s.unissued.size()),
                    s.prizes[0],
                    s.prizes[1],
                    s.prizes[2],
                    s.prizes[3],
                    s.prizes[4],
                    s.text1,
                    s.text2});
    }
}

QString quotedIdentifier(const QString& name) { return u'"' + QString(name).replace(u'"', u"\"\""_s) + u'"'; }

// The owner's tables of ServerTrust go with the catalog's own when it is made again.
void dropTrustTables(const Connection& c)
{
    Execute(c, u"DROP TABLE IF EXISTS member_secret, member_session, login_attempt"_s);
}

} // namespace

QString PostgresAdmin::serverSetting() const
{
    return port == kServerPort ? host : host + u',' + QString::number(port);
}

Connection::PostgresTarget PostgresAdmin::target(const QString& database) const
{
    Connection::PostgresTarget target;
    target.host = host;
    target.port = port;
    target.user = user;
    target.password = password;
    target.caFile = caFile;
    target.database = database;
    return target;
}

Connection PostgresAdmin::connect(const QString& database) const { return Connection::openPostgres(target(database)); }

std::optional<PostgresAdmin> TestServerFromEnvironment()
{
    const QString host = qEnvironmentVariable("SURIBALL_TEST_PG");
    if (host.isEmpty())
        return std::nullopt;
    PostgresAdmin admin;
    admin.host = host;
    admin.port = qEnvironmentVariableIntValue("SURIBALL_TEST_PG_PORT");
    if (admin.port <= 0)
        admin.port = kServerPort;
    admin.user = qEnvironmentVariable("SURIBALL_TEST_PG_ADMIN", u"postgres"_s);
    admin.password = qEnvironmentVariable("SURIBALL_TEST_PG_PASSWORD");
    // A server that ctest started for the test program keeps its password in its folder.
    if (admin.password.isEmpty() && qEnvironmentVariableIsSet("SURIBALL_TEST_PG_DIR")) {
        QFile file(qEnvironmentVariable("SURIBALL_TEST_PG_DIR") + u"/pwfile"_s);
        if (file.open(QIODevice::ReadOnly))
            admin.password = QString::fromUtf8(file.readAll()).trimmed();
    }
    admin.caFile = qEnvironmentVariable("SURIBALL_TEST_PG_CA");
    return admin;
}

void fill(const Connection& connection, bool demo, bool force, const QDate& today, const QString& publisherPassword)
{
    const auto& tables = Schema::serverTables();
    for (const TableDef& table : tables) {
        if (!connection.hasTable(table.name))
            continue;
        if (!force)
            throw SetupError(u"서버에 이미 테이블("_s + table.name
                             + u")이 있습니다. 다시 만들려면 --force를 주십시오."_s);
        Execute(connection, u"DROP TABLE "_s + table.name);
    }
    if (force && connection.engine() == Connection::Engine::PostgreSQL)
        dropTrustTables(connection);

    Transaction transaction(connection);
    for (const TableDef& table : tables) {
        for (const QString& statement : Schema::createStatements(table, connection.engine()))
            Execute(connection, statement);
    }
    // Update files are read back in pieces; kept uncompressed, a piece is read without unpacking the
    // whole file each time.
    if (connection.engine() == Connection::Engine::PostgreSQL)
        Execute(connection, u"ALTER TABLE Update1 ALTER COLUMN Bin1 SET STORAGE EXTERNAL"_s);
    DrawProgress progress;
    progress.drawsStamp = progress.filesStamp = demo ? QString::fromUtf16(DemoData::kDemoStamp) : freshStamp(today);
    if (demo) {
        progress.lastDrawNo = qint64(DemoData::draws().size());
        progress.currentDrawNo = progress.lastDrawNo + 1;
    }
    Query info(connection, u"INSERT INTO Info1 (IFPart1,Name1,Text1) VALUES (?,?,?)"_s);
    info.run({u"시스템"_s, u"동작상태"_s, u"정상동작"_s});
    info.run({u"업데이트"_s, u"추첨진행"_s, progress.compose()});
    if (demo) {
        insertDemoRows(connection, today);
        insertDemoShopCoupon(connection);
    }
    secureMembers(connection, publisherPassword);
    transaction.commit();
}

void secureMembers(const Connection& connection, const QString& publisherPassword)
{
    if (connection.engine() == Connection::Engine::SQLite) {
        Query rows(connection, u"SELECT ID1, Pwd FROM Member"_s);
        rows.run();
        std::vector<std::pair<QString, QString>> clear;
        while (rows.next()) {
            if (!MemberCheck::IsHashed(rows.text(u"Pwd"_s)))
                clear.emplace_back(rows.text(u"ID1"_s), rows.text(u"Pwd"_s));
        }
        Query hash(connection, u"UPDATE Member SET Pwd = ? WHERE ID1 = ?"_s);
        for (const auto& [id, password] : clear)
            hash.run({MemberCheck::HashPassword(password), id});
        return;
    }
    ServerTrust::Apply(connection, publisherPassword);
}

void addReleaseTable(const Connection& connection)
{
    const auto& tables = Schema::serverTables();
    const auto release
        = std::find_if(tables.begin(), tables.end(), [](const TableDef& t) { return t.name == u"Release1"_s; });
    if (connection.hasTable(release->name))
        return;
    for (const QString& statement : Schema::createStatements(*release, connection.engine()))
        Execute(connection, statement);
}

QStringList secureMembersPostgres(const PostgresAdmin& admin, const QString& publisherPassword)
{
    try {
        const Connection connection = admin.connect(QString::fromUtf16(kServerCatalog));
        {
            Transaction transaction(connection);
            // A catalog made before releases were signed gets their table, under the rules below.
            addReleaseTable(connection);
            secureMembers(connection, publisherPassword);
            transaction.commit();
        }
        ServerTrust::CheckAttemptsLink(connection);
        return ServerTrust::LibrariesNotPreloaded(connection);
    } catch (const SqlError& error) {
        throw SetupError(u"PostgreSQL 서버 작업에 실패하였습니다: "_s + error.message());
    }
}

void secureMembersSqlite(const QString& file)
{
    try {
        const Connection connection = Connection::openSqlite(file);
        Transaction transaction(connection);
        secureMembers(connection);
        transaction.commit();
    } catch (const SqlError& error) {
        throw SetupError(error.message());
    }
}

void createSqlite(const QString& file, bool demo, bool force, const QDate& today)
{
    if (QFileInfo::exists(file) && !force)
        throw SetupError(u"서버 화일이 이미 있습니다: "_s + file + u" (다시 만들려면 --force)"_s);
    BuildSqliteFile(file, [&](const Connection& connection) { fill(connection, demo, true, today); });
}

QStringList
createPostgres(const PostgresAdmin& admin, bool demo, bool force, const QDate& today, const QString& publisherPassword)
{
    const QString catalog = QString::fromUtf16(kServerCatalog);
    try {
        {
            const Connection server = admin.connect(u"postgres"_s);
            Query database(server, u"SELECT 1 FROM pg_database WHERE datname = ?"_s);
            database.run({catalog});
            // Database statements take no parameters; the name is our own constant.
            if (!database.next()) {
                Execute(server,
                        u"CREATE DATABASE "_s + quotedIdentifier(catalog) + u" ENCODING 'UTF8' TEMPLATE template0"_s);
            }
        }
        const Connection connection = admin.connect(catalog);
        fill(connection, demo, force, today, publisherPassword);
        ServerTrust::CheckAttemptsLink(connection);
        return ServerTrust::LibrariesNotPreloaded(connection);
    } catch (const SqlError& error) {
        throw SetupError(u"PostgreSQL 서버 작업에 실패하였습니다: "_s + error.message());
    }
}

} // namespace ServerCatalog
