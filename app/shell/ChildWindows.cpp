#include "ChildWindows.h"

#include "frmBank1.h"
#include "frmHelp1.h"
#include "frmHome1.h"
#include "frmHotList1.h"
#include "frmInfo1.h"
#include "frmRun1.h"

using namespace Qt::StringLiterals;

const std::vector<ChildWindow>& ChildWindows()
{
    static const std::vector<ChildWindow> windows = {
        {u"로또게임"_s,
         u"frmRun1"_s,
         u"원하는 번호를 직접 또는 자동으로 행운의 번호를 선택하세요"_s,
         true,
         [] { return new frmRun1; }},
        {u"복권금고"_s,
         u"frmBank1"_s,
         u"복권번호를 안전하게 보관하고 자동으로 당첨결과를 알려드립니다"_s,
         true,
         [] { return new frmBank1; }},
        {u"홈페이지"_s,
         u"frmHome1"_s,
         u"다양한 복권쿠폰 검색이 가능하고 회원님의 당첨내역을 확인하세요"_s,
         true,
         [] { return new frmHome1; }},
        {u"복권쿠폰"_s, u"frmPrint1"_s, u"업소의 홍보를 위해 무료쿠폰을 활용하시고 대박집 되세요"_s, true, {}},
        {u"설정"_s, u"frmInfo1"_s, u"수리볼의 설정값을 사용자에 맞게 변경합니다"_s, true, [] { return new frmInfo1; }},
        {u"도움말"_s, u"frmHelp1"_s, QString(), false, [] { return new frmHelp1; }},
        {QString(), u"frmHotList1"_s, QString(), false, [] { return new frmHotList1; }},
        {QString(), u"frmA1Job11"_s, QString(), true, {}},
        {QString(), u"frmA1Job12"_s, QString(), true, {}},
        {QString(), u"frmA1Job13"_s, QString(), true, {}},
        {QString(), u"frmA1Job91"_s, QString(), true, {}},
        {QString(), u"frmA1Job92"_s, QString(), true, {}},
    };
    return windows;
}

const ChildWindow* FindChildWindow(const QString& functionOrForm)
{
    for (const ChildWindow& window : ChildWindows()) {
        if ((!window.function.isEmpty() && window.function == functionOrForm) || window.form == functionOrForm)
            return &window;
    }
    return nullptr;
}
