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

    bench::DrawOneMore(bench::OperatorConnection());
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
