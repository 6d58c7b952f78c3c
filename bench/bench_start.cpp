// The start of the program on the demo data: the first synchronisation of the 1,200 draws into an empty
// system database, a synchronisation with nothing new, the login up to a usable main window, and a
// start (login and synchronisation) after one new draw.
// Against the SQLite stand-in, and against PostgreSQL when SURIBALL_TEST_PG names a server (as
// scripts/test-postgres.sh sets it).
#include "BenchSupport.h"
#include "Database.h"
#include "DrawProgress.h"
#include "DrawSync.h"
#include "Globals.h"
#include "Installer.h"
#include "LoginService.h"
#include "Query.h"
#include "ServerCatalog.h"
#include "Settings.h"
#include "frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

double ms(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

// Draw 1201 drawn, 1202 on sale, and the draws stamp moved on: what the next start copies.
void drawOneMore()
{
    const Connection server = bench::OperatorConnection();
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

void run(const QString& engine, QTextStream& out)
{
    QTemporaryDir dir;
    Installer::demo(dir.path(), false, QDate(2025, 12, 8));
    if (engine == u"PostgreSQL"_s)
        bench::UseTestServer(QDate(2025, 12, 8));
    WriteIfo(QString(), u"SYSTEM"_s, u"HOTVIEWDATE"_s, QDate::currentDate().toString(u"yyyy-MM-dd"_s));
    OpenSystemDb();

    QElapsedTimer t;
    t.start();
    LoginService().login(u"player"_s, u"player"_s, false);
    const double login = ms(t);
    t.restart();
    SyncDrawResults();
    const double first = ms(t);
    t.restart();
    SyncDrawResults();
    const double again = ms(t);

    t.restart();
    LoginService().login(u"player"_s, u"player"_s, false);
    SyncDrawResults();
    auto* main = new frmMain;
    main->start();
    QApplication::processEvents();
    const double toMain = ms(t);
    delete main;

    drawOneMore();
    t.restart();
    LoginService().login(u"player"_s, u"player"_s, false);
    const double loginAgain = ms(t);
    SyncDrawResults();
    const double oneNew = ms(t);

    out << engine << ": login " << QString::number(login, 'f', 1) << " ms; first synchronisation (1,201 draws) "
        << QString::number(first, 'f', 1) << " ms; nothing new " << QString::number(again, 'f', 1)
        << " ms; login to a shown main window " << QString::number(toMain, 'f', 1) << " ms; a start after one new draw "
        << QString::number(oneNew, 'f', 1) << " ms (login " << QString::number(loginAgain, 'f', 1) << " ms)"
        << Qt::endl;
    gSystemConn.close();
    gUserConn.close();
    gServerConn.close();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QTextStream out(stdout);
    run(u"SQLite"_s, out);
    if (!qEnvironmentVariableIsEmpty("SURIBALL_TEST_PG"))
        run(u"PostgreSQL"_s, out);
    return 0;
}
