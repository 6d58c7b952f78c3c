#include "FunctionTable.h"

#include "Backoffice.h"
#include "Clock.h"
#include "Globals.h"
#include "MessageService.h"
#include "UiTools.h"
#include "WinNotice.h"
#include "frmA1Job11.h"
#include "frmA1Job12.h"
#include "frmA1Job13.h"
#include "frmA1Job91.h"
#include "frmA1Job92.h"
#include "frmBank1.h"
#include "frmHelp1.h"
#include "frmHome1.h"
#include "frmHotList1.h"
#include "frmInfo1.h"
#include "frmMain.h"
#include "frmPrint1.h"
#include "frmRun1.h"
#include "frmWin1.h"

using namespace Qt::StringLiterals;

namespace {

template <typename Window> std::function<QWidget*(frmMain&)> make()
{
    return [](frmMain&) { return new Window; };
}

// The safe turns the main window's banner whenever it shows another page.
QWidget* makeSafe(frmMain& shell)
{
    auto* safe = new frmBank1;
    QObject::connect(safe, &frmBank1::bannerChangeRequested, &shell, &frmMain::BannerChange);
    return safe;
}

// The win notice of this start, once: nothing when the member switched it off or nothing was won. Its
// buttons open the safe on their draw.
QWidget* makeWinNotice(frmMain& shell)
{
    const std::vector<qint64> fresh = std::exchange(gNewWinDraws, {});
    if (!WinNotice::Enabled())
        return nullptr;
    const QDate today = Clock::today();
    const WinNotice::Content content = WinNotice::Collect(fresh, today);
    if (content.empty())
        return nullptr;
    auto* notice = new frmWin1(content, today);
    QObject::connect(notice, &frmWin1::openSafeRequested, &shell, [&shell](qint64 drawNo) {
        shell.openFunction(u"복권금고"_s);
        if (auto* safe = qobject_cast<frmBank1*>(shell.openWindow(u"frmBank1"_s)))
            RunGuarded(u"복권금고에서 회차를 열지 못하였습니다."_s, [&] { safe->ShowDrawNo(drawNo); });
    });
    return notice;
}

// The coupon window turns the banner whenever it shows another coupon, as the safe does.
QWidget* makeCoupons(frmMain& shell)
{
    auto* coupons = new frmPrint1;
    QObject::connect(coupons, &frmPrint1::bannerChangeRequested, &shell, &frmMain::BannerChange);
    return coupons;
}

// The administrator's windows open for the administrator only, whichever way they are asked for: the
// menu is hidden from others, and this says no to anything that reaches the factory all the same.
template <typename Window>
std::function<QWidget*(frmMain&)> makeAdmin(std::function<void(Window*, frmMain&)> connectWindow = {})
{
    return [connectWindow](frmMain& shell) -> QWidget* {
        if (!Backoffice::IsAdministrator()) {
            ShowMessage(Backoffice::AdministratorOnlyMessage(), MsgIcon::Critical);
            return nullptr;
        }
        auto* window = new Window;
        if (connectWindow)
            connectWindow(window, shell);
        return window;
    };
}

// The order window fills orders from the lotto game window's list, when that window is open.
void connectOrderWindow(frmA1Job11* window, frmMain& shell)
{
    window->setGameSource([&shell]() -> std::optional<QStringList> {
        auto* games = qobject_cast<frmRun1*>(shell.openWindow(u"frmRun1"_s));
        if (!games)
            return std::nullopt;
        QStringList texts;
        const std::vector<Game> list = games->games();
        texts.reserve(qsizetype(list.size()));
        for (const Game& game : list)
            texts.append(game.key());
        return texts;
    });
}

// An item of the "관리자" menu: its number names it ("mnu11") and starts its caption.
FunctionEntry admin(const QString& number,
                    const QString& title,
                    const QString& form = QString(),
                    std::function<QWidget*(frmMain&)> create = {})
{
    return {QString(),
            number + u". "_s + title,
            FunctionEntry::AdminMenu,
            u"mnu"_s + number,
            form,
            QString(),
            true,
            std::move(create)};
}

} // namespace

const std::vector<FunctionEntry>& FunctionTable()
{
    using F = FunctionEntry;
    static const std::vector<FunctionEntry> table = {
        {u"로또게임"_s,
         u"로또게임"_s,
         F::Toolbar | F::FunctionsMenu,
         u"mnuOpen로또게임"_s,
         u"frmRun1"_s,
         u"원하는 번호를 직접 또는 자동으로 행운의 번호를 선택하세요"_s,
         true,
         make<frmRun1>()},
        {u"복권금고"_s,
         u"복권금고"_s,
         F::Toolbar | F::FunctionsMenu,
         u"mnuOpen복권금고"_s,
         u"frmBank1"_s,
         u"복권번호를 안전하게 보관하고 자동으로 당첨결과를 알려드립니다"_s,
         true,
         makeSafe},
        {u"복권쿠폰"_s,
         u"복권쿠폰"_s,
         F::FunctionsMenu,
         u"mnuOpen복권쿠폰"_s,
         u"frmPrint1"_s,
         u"업소의 홍보를 위해 무료쿠폰을 활용하시고 대박집 되세요"_s,
         true,
         makeCoupons},
        {u"홈페이지"_s,
         u"벨트라(홈)"_s,
         F::Toolbar | F::FunctionsMenu,
         u"mnuOpen홈페이지"_s,
         u"frmHome1"_s,
         u"다양한 복권쿠폰 검색이 가능하고 회원님의 당첨내역을 확인하세요"_s,
         true,
         make<frmHome1>()},
        {u"설정"_s,
         u"설정"_s,
         F::Toolbar | F::FunctionsMenu,
         u"mnuOpen설정"_s,
         u"frmInfo1"_s,
         u"수리볼의 설정값을 사용자에 맞게 변경합니다"_s,
         true,
         make<frmInfo1>()},
        {u"종료"_s, u"종료"_s, F::Toolbar | F::FunctionsMenu, u"mnuOpen종료"_s, QString(), QString(), false, {}},
        {u"도움말"_s, u"도움말"_s, F::HelpMenu, u"mnuOpen도움말"_s, u"frmHelp1"_s, QString(), false, make<frmHelp1>()},
        {QString(), QString(), F::None, QString(), u"frmHotList1"_s, QString(), false, make<frmHotList1>()},
        {QString(), QString(), F::None, QString(), u"frmWin1"_s, QString(), false, makeWinNotice},
        admin(u"01"_s, u"공지사항"_s),
        admin(u"02"_s, u"회원편지"_s),
        admin(u"03"_s, u"회원관리"_s),
        admin(u"11"_s, u"벨트라복권 생성"_s, u"frmA1Job11"_s, makeAdmin<frmA1Job11>(connectOrderWindow)),
        admin(u"12"_s, u"벨트라복권 프린트"_s, u"frmA1Job12"_s, makeAdmin<frmA1Job12>()),
        admin(u"13"_s, u"벨트라복권 추첨결과 등록"_s, u"frmA1Job13"_s, makeAdmin<frmA1Job13>()),
        admin(u"21"_s, u"설정값 변경"_s),
        admin(u"91"_s, u"매출/이익금 모의계산"_s, u"frmA1Job91"_s, makeAdmin<frmA1Job91>()),
        admin(u"92"_s, u"버튼그림"_s, u"frmA1Job92"_s, makeAdmin<frmA1Job92>()),
    };
    return table;
}

const FunctionEntry* FindFunction(const QString& functionOrForm)
{
    if (functionOrForm.isEmpty())
        return nullptr;
    for (const FunctionEntry& entry : FunctionTable()) {
        if (entry.function == functionOrForm || entry.form == functionOrForm)
            return &entry;
    }
    return nullptr;
}
