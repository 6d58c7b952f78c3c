// The wins after a start: the first synchronisation of the demo's draws with 100,000 of the member's games
// waiting for draw 1200, against the same start with an empty safe; then the safe's backup and its
// restore of 1,000,000 games into an empty member database.
#include "BenchSupport.h"
#include "Clock.h"
#include "Database.h"
#include "DrawSync.h"
#include "Globals.h"
#include "Installer.h"
#include "LoginService.h"
#include "Paths.h"
#include "SafeBackup.h"
#include "SafeStore.h"
#include "Settings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <random>

using namespace Qt::StringLiterals;

namespace {

double ms(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

QStringList randomGames(int n, unsigned seed)
{
    std::mt19937 random(seed);
    QStringList games;
    games.reserve(n);
    for (int i = 0; i < n; ++i) {
        std::vector<int> all(45);
        for (int k = 0; k < 45; ++k)
            all[size_t(k)] = k + 1;
        std::shuffle(all.begin(), all.end(), random);
        std::sort(all.begin(), all.begin() + 6);
        QString text;
        for (int k = 0; k < 6; ++k)
            text += u"%1"_s.arg(all[size_t(k)], 2, 10, QChar(u'0'));
        games.append(text);
    }
    return games;
}

// A demo install, logged in as player, with the games kept for draw 1200 before its result is copied.
void freshStart(QTemporaryDir& dir, int games)
{
    Installer::demo(dir.path(), false, QDate(2025, 12, 8));
    OpenSystemDb();
    LoginService().login(u"player"_s, u"player"_s, false);
    OpenUserDb();
    if (games > 0)
        SafeStore::SaveGames(1200, randomGames(games, 1200), QString(), u"기본"_s);
}

struct Took
{
    double wall;
    double cpu;
};

Took firstSync(int games)
{
    QTemporaryDir dir;
    freshStart(dir, games);
    QElapsedTimer t;
    t.start();
    const double cpu = bench::CpuMs();
    SyncDrawResults();
    const Took took {ms(t), bench::CpuMs() - cpu};
    gSystemConn.close();
    gUserConn.close();
    gServerConn.close();
    return took;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    Clock::setFixed(QDateTime(QDate(2025, 12, 8), QTime(10, 0)));

    const Took empty = firstSync(0);
    const Took ranked = firstSync(100000);
    out << "first synchronisation: empty safe " << QString::number(empty.wall, 'f', 1) << " ms (processor "
        << QString::number(empty.cpu, 'f', 1) << " ms); with 100,000 pending games of draw 1200 "
        << QString::number(ranked.wall, 'f', 1) << " ms (processor " << QString::number(ranked.cpu, 'f', 1)
        << " ms); ranking adds " << QString::number(ranked.wall - empty.wall, 'f', 1) << " ms (processor "
        << QString::number(ranked.cpu - empty.cpu, 'f', 1) << " ms), " << gNewWinDraws.size() << " draw won"
        << Qt::endl;

    QTemporaryDir dir;
    freshStart(dir, 0);
    SyncDrawResults();
    for (int k = 0; k < 10; ++k)
        SafeStore::SaveGames(1191 + k, randomGames(100000, unsigned(k)), u"메모"_s, u"그룹"_s + QString::number(k % 3));
    QElapsedTimer t;
    t.start();
    double cpu = bench::CpuMs();
    const SafeBackup::BackupOutcome made = SafeBackup::Backup(gUserID);
    const double backup = ms(t);
    const double backupCpu = bench::CpuMs() - cpu;

    CloseUserDb();
    QFile::remove(gUserDbPath);
    QFile::copy(InstallPaths::userDbTemplate(), gUserDbPath);
    OpenUserDb();
    t.restart();
    cpu = bench::CpuMs();
    const SafeBackup::RestoreOutcome restored = SafeBackup::Restore(made.path, gUserID);
    const double restore = ms(t);
    const double restoreCpu = bench::CpuMs() - cpu;
    out << "backup of " << made.games << " games " << QString::number(backup, 'f', 1) << " ms (processor "
        << QString::number(backupCpu, 'f', 1) << " ms, " << QFile(made.path).size() / 1024 / 1024
        << " MB); restore into an empty safe " << QString::number(restore, 'f', 1) << " ms (processor "
        << QString::number(restoreCpu, 'f', 1) << " ms; " << restored.added << " added" << restored.error << ")"
        << Qt::endl;
    gSystemConn.close();
    gUserConn.close();
    gServerConn.close();
    return 0;
}
