#pragma once

// What every bench needs around the code it measures: messages answered without a window, nothing
// started outside, random games, and timings on the clock and in the process's own time.
#include "Database.h"
#include "DrawProgress.h"
#include "Installer.h"
#include "Launcher.h"
#include "MessageService.h"
#include "Query.h"
#include "ServerCatalog.h"
#include "ServerTrust.h"

#include <QDate>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <numeric>
#include <random>
#include <time.h>

namespace bench {

class QuietMessages final : public MessageService
{
public:
    MsgAnswer show(const QString&, MsgIcon, MsgButtons, const QString&) override { return MsgAnswer::Ok; }
};

class NoLauncher final : public Launcher
{
public:
    bool openUrl(const QString&) override { return true; }
    bool openTextFile(const QString&) override { return true; }
    bool startProgram(const QString&, const QStringList&) override { return true; }
    int runProgram(const QString&, const QStringList&) override { return 0; }
};

// n games of six different numbers from 1 to 45, ascending, in twelve digits.
inline QStringList RandomGames(int n, std::mt19937& random)
{
    QStringList games;
    games.reserve(n);
    std::array<int, 45> all {};
    std::iota(all.begin(), all.end(), 1);
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < 6; ++k)
            std::swap(all[size_t(k)], all[size_t(k) + random() % size_t(45 - k)]);
        std::array<int, 6> g {};
        std::copy_n(all.begin(), 6, g.begin());
        std::sort(g.begin(), g.end());
        QString text;
        for (int x : g)
            text += QString::number(x).rightJustified(2, u'0');
        games.append(text);
    }
    return games;
}

// The milliseconds on the clock since the timer started, which starts it again.
inline double LapMs(QElapsedTimer& t)
{
    const double ms = double(t.nsecsElapsed()) / 1e6;
    t.restart();
    return ms;
}

// The process's own processor time: the machine these run on is shared, and others' work stretches the
// clock, not this.
inline double CpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The time on the clock and the process's own since the last call: "812.4 ms (cpu 640.2 ms)".
inline QString LapWithCpu(QElapsedTimer& t)
{
    static double cpuStart = CpuMs();
    const double ms = LapMs(t);
    const double cpu = CpuMs() - cpuStart;
    cpuStart = CpuMs();
    return QString::number(ms, 'f', 1) + QStringLiteral(" ms (cpu ") + QString::number(cpu, 'f', 1)
        + QStringLiteral(" ms)");
}

// The PostgreSQL test server of scripts/test-postgres.sh (SURIBALL_TEST_PG…): the demo catalog made there
// with the publisher's login, and the current install pointed at it with the server's authority.
inline constexpr char16_t kPublisherPassword[] = u"publisher-for-benches";

inline ServerCatalog::PostgresAdmin UseTestServer(const QDate& today)
{
    const ServerCatalog::PostgresAdmin admin = *ServerCatalog::TestServerFromEnvironment();
    ServerCatalog::createPostgres(admin, true, true, today, QString::fromUtf16(kPublisherPassword));
    Installer::UseServer(admin.serverSetting(), admin.caFile);
    return admin;
}

// The catalog as the service's operator changes it, behind the programs' back: the stand-in's file, or
// PostgreSQL as its administrator.
inline Connection OperatorConnection()
{
    const auto admin = ServerCatalog::TestServerFromEnvironment();
    const ServerLocation location = ServerLocation::ofInstall();
    if (location.standIn || !admin)
        return ConnectServer(location);
    return admin->connect(QString::fromUtf16(kServerCatalog));
}

// The publisher's own login (the stand-in's file on SQLite).
inline Connection PublisherConnection()
{
    const ServerLocation location = ServerLocation::ofInstall();
    if (location.standIn)
        return ConnectServer(location);
    return ServerTrust::ConnectAsPublisher(location, QString::fromUtf16(kPublisherPassword));
}

// Draw 1201 drawn, 1202 on sale, and the draws stamp moved on: what the next start copies.
inline void DrawOneMore(const Connection& server)
{
    using namespace Qt::StringLiterals;
    const QString stamp = u"2025121301"_s;
    Execute(server,
            u"UPDATE BokList SET LotNo = '01020304050607', State1 = '3', State2 = ? WHERE BokNo = 1201"_s,
            {stamp});
    Execute(server,
            u"INSERT INTO BokList (BokNo,Date1,Date2,LotNo,State1,State2,Rk1Count,Rk2Count,Rk3Count,Rk4Count,"
            "Rk5Count,Rk1Kum,Rk2Kum,Rk3Kum,Rk4Kum,Rk5Kum) VALUES (1202,'20251207','20251213','00000000000000','1',?,"
            "0,0,0,0,0,0,0,0,0,0)"_s,
            {stamp});
    Query text(server, u"SELECT Text1 FROM Info1 WHERE IFPart1 = '업데이트' AND Name1 = '추첨진행'"_s);
    text.run();
    text.next();
    DrawProgress progress = DrawProgress::parse(text.text(u"Text1"_s));
    progress.lastDrawNo = 1201;
    progress.currentDrawNo = 1202;
    progress.drawsStamp = stamp;
    Execute(server,
            u"UPDATE Info1 SET Text1 = ? WHERE IFPart1 = '업데이트' AND Name1 = '추첨진행'"_s,
            {progress.compose()});
}

} // namespace bench
