#include "Busy.h"
#include "Clock.h"
#include "Database.h"
#include "InstanceLock.h"
#include "MessageBoxService.h"
#include "UiTools.h"
#include "UpdaterStart.h"
#include "frmUpdate1.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"업데이트"_s);
    MessageBoxService messages;
    MessageService::install(&messages);
    DesktopBusy::install();

    const auto instance = TakeInstanceLock(u"updater"_s);
    if (!instance) {
        ShowMessage(u"[업데이트]가 이미 동작중입니다."_s, MsgIcon::Information);
        return 0;
    }
    if (!DayNumberAccepted(QApplication::arguments().mid(1), Clock::today()))
        return 0;
    {
        // The same system database as the main program's (BIN/SYSTEM.mdb); a failure is reported and ends here.
        BusyGuard busy;
        OpenSystemDb();
    }
    frmUpdate1 window;
    window.show();
    window.begin();
    return app.exec();
}
