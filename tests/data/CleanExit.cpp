// The program's connections are process-wide values; returning from main with them open must end the
// process cleanly (it once crashed in the static destructors after Qt SQL was gone).
#include "Database.h"
#include "Globals.h"
#include "Installer.h"
#include "Paths.h"

#include <QCoreApplication>
#include <QTemporaryDir>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    Installer::Options options;
    options.root = dir.path();
    Installer::install(options);
    OpenSystemDb();
    gUserDbPath = InstallPaths::userDbTemplate();
    OpenUserDb();
    return gSystemConn.isOpen() && gUserConn.isOpen() ? 0 : 1;
}
