#include "Artwork.h"
#include "DesktopPrinter.h"
#include "MessageBoxService.h"
#include "StartRoutine.h"
#include "frmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // Web views share the OpenGL contexts of the windows; this must be said before the application exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("수리볼"));
    // The desktop's entry and its icon belong to this program; the windows show the same icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("kr.suriball.Suriball"));
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(Artwork::programIcon(256))));
    MessageBoxService messages;
    MessageService::install(&messages);
    DesktopPrinter printer;
    PrinterProvider::install(&printer);

    StartProgram();
    frmMain::Open();
    return app.exec();
}
