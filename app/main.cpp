#include "Database.h"
#include "MessageBoxService.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("수리볼"));
    MessageBoxService messages;
    MessageService::install(&messages);

    OpenSystemDb();
    return 0;
}
