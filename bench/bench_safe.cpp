// The ticket safe at scale: saving 999 and 32,767 games, then a final draw holding 1,000,000 pending
// games — the first selection (full pass, totals, first page), a second one, the next page, the export
// of every game and the deletion of the losers.
#include "BenchSupport.h"
#include "Database.h"
#include "DrawSync.h"
#include "Globals.h"
#include "Grid.h"
#include "Installer.h"
#include "Launcher.h"
#include "LoginService.h"
#include "MessageService.h"
#include "SafeStore.h"
#include "frmBank1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <random>
#include <time.h>

using namespace Qt::StringLiterals;

namespace {

void pick(frmBank1& w, qint64 drawNo)
{
    Grid* draws = w.findChild<Grid*>(u"grdR1"_s);
    for (int r = 1; r <= draws->maxRows(); ++r) {
        if (draws->text(1, r).toLongLong() == drawNo) {
            draws->setActiveCell(1, r);
            w.SelectDraw(r);
            return;
        }
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int big = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000000;
    bench::QuietMessages quiet;
    MessageService::install(&quiet);
    bench::NoLauncher launcher;
    Launcher::install(&launcher);
    QTemporaryDir dir;
    Installer::demo(dir.path(), false, QDate(2025, 12, 8));
    OpenSystemDb();
    LoginService().login(u"player"_s, u"player"_s, false);
    SyncDrawResults();
    gSafePageSize = 100;
    QTextStream out(stdout);
    std::mt19937 random(1200);

    QElapsedTimer t;
    const QStringList g999 = bench::RandomGames(999, random);
    const QStringList g32k = bench::RandomGames(32767, random);
    t.start();
    bench::LapWithCpu(t);
    SafeStore::SaveGames(1201, g999, QString(), u"a"_s);
    out << "save 999 games: " << bench::LapWithCpu(t) << Qt::endl;
    SafeStore::SaveGames(1201, g32k, QString(), u"a"_s);
    out << "save 32,767 games: " << bench::LapWithCpu(t) << Qt::endl;

    const QStringList many = bench::RandomGames(big, random);
    bench::LapWithCpu(t);
    SafeStore::SaveGames(1200, many, QString(), u"big"_s);
    out << "save " << big << " games (set-up): " << bench::LapWithCpu(t) << Qt::endl;

    frmBank1 window;
    window.resize(1200, 700);
    bench::LapWithCpu(t);
    pick(window, 1200);
    app.processEvents();
    out << "select the draw the first time (full pass, totals, first page): " << bench::LapWithCpu(t) << Qt::endl;
    pick(window, 1200);
    app.processEvents();
    out << "select it again: " << bench::LapWithCpu(t) << Qt::endl;
    window.NextPage();
    app.processEvents();
    out << "next page: " << bench::LapWithCpu(t) << Qt::endl;
    Grid* groups = window.findChild<Grid*>(u"grdR3"_s);
    groups->setActiveCell(1, 1);
    window.SelectGroup(1);
    bench::LapWithCpu(t);
    window.ExportDraw();
    out << "export every game of the draw: " << bench::LapWithCpu(t) << Qt::endl;
    window.DeleteLosingGames();
    out << "delete the losing games (and show the draw again): " << bench::LapWithCpu(t) << Qt::endl;
    return 0;
}
