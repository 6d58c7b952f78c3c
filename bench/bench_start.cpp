// The start of the program on the demo data: the first synchronisation of the 1,200 draws into an empty
// system database, a synchronisation with nothing new, and the login up to a usable main window.
// Against the SQLite stand-in, and against PostgreSQL when SURIBALL_TEST_PG names a server (as
// scripts/test-postgres.sh sets it).
#include "Database.h"
#include "DrawSync.h"
#include "Globals.h"
#include "Installer.h"
#include "LoginService.h"
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
    if (engine == u"PostgreSQL"_s) {
        const ServerCatalog::PostgresAdmin admin = *ServerCatalog::TestServerFromEnvironment();
        ServerCatalog::createPostgres(admin, true, true, QDate(2025, 12, 8));
        WriteIfo(QString(), u"SERVER"_s, u"DATABASE"_s, admin.serverSetting());
    }
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

    out << engine << ": login " << QString::number(login, 'f', 1) << " ms; first synchronisation (1,201 draws) "
        << QString::number(first, 'f', 1) << " ms; nothing new " << QString::number(again, 'f', 1)
        << " ms; login to a shown main window " << QString::number(toMain, 'f', 1) << " ms" << Qt::endl;
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
