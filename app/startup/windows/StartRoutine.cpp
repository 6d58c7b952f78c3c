#include "StartRoutine.h"

#include "Clock.h"
#include "Database.h"
#include "DrawSync.h"
#include "Globals.h"
#include "Launcher.h"
#include "MessageService.h"
#include "Paths.h"
#include "ProgramEnd.h"
#include "StartChecks.h"
#include "UiTools.h"
#include "frmLogin.h"

using namespace Qt::StringLiterals;

void StartProgram(const QString& strftimeFormat)
{
    DesktopBusy::install();
    static std::unique_ptr<QLockFile> instance;
    instance.reset();
    instance = TakeInstanceLock(u"suriball"_s);
    if (!instance) {
        ShowMessage(u"[수리볼]가 이미 동작중입니다."_s, MsgIcon::Information);
        EndProgram();
    }
    FinishInterruptedUpdate();

    // Started from a package with no install yet: the demo is offered, made by the setup tool that came
    // with the program, and the start goes on with it.
    if (!InstallPresent()) {
        const QString root = InstallPaths::root();
        if (ShowMessage(NoInstallQuestion(root), MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
            EndProgram();
        int made = -1;
        {
            BusyGuard busy(u"체험용 설치 만들기 ..."_s);
            made = Launcher::instance().runProgram(ProgramFiles::setupTool(), {u"demo"_s, u"--root"_s, root});
        }
        if (made != 0 || !InstallPresent()) {
            ShowMessage(NoDemoMessage(root), MsgIcon::Critical);
            EndProgram();
        }
    }

    if (!ShortDateAccepted(SystemShortDate(Clock::today(), strftimeFormat))) {
        Launcher::instance().openTextFile(InstallPaths::dateFormatHelp());
        ShowMessage(u"현재 윈도우즈(98/SE) 시스템에 설정된 날짜형식에 오류가 발생하였습니다."_s
                    u"메모장의 내용을 참조하시고 설정값을 변경해주세요."_s,
                    MsgIcon::Critical);
        EndProgram();
    }

    OpenSystemDb();

    gDialogResult.clear();
    {
        frmLogin login;
        login.exec();
    }
    if (gDialogResult != u"정상"_s)
        EndProgram();

    SyncDrawResults();
}
