#include "IssuePlan.h"

#include "Globals.h"
#include "Query.h"
#include "Settings.h"
#include "TextExport.h"
#include "Tools.h"
#include "WebSite.h"

using namespace Qt::StringLiterals;

namespace IssuePlan {

std::optional<int> Count(const QString& typed, int low, int high)
{
    // Any number is taken and rounded to a whole one, "2.5" to 2 as every rounding here does.
    const std::optional<qint64> value = WholeNumberOf(typed);
    if (!value || *value < low || *value > high)
        return std::nullopt;
    return int(*value);
}

qint64 Lenient(const QString& typed)
{
    const std::optional<qint64> value = WholeNumberOf(typed);
    return value && *value > 0 ? *value : 0;
}

qint64 Sheets(qint64 coupons) { return coupons <= 6 ? 1 : (coupons + 5) / 6; }

QString UnissuedLabel(qint64 games) { return u"미발행 게임수: "_s + Grouped(games) + u"(게임)"_s; }

QString GamesLabel(qint64 games) { return u"선택한 게임수: "_s + Grouped(games) + u"(게임)"_s; }

QString SheetsLabel(qint64 sheets) { return u"필요한 용지수: "_s + Grouped(sheets) + u"(장)"_s; }

bool MayIssue(const QString& userId, const QString& userLevel) { return userId != kGuestID && userLevel != u"1"_s; }

QString MemberShopNotice()
{
    return QStringList {u"가맹점에 가입된 회원만 [복권쿠폰]을 발행 할 수 있습니다."_s,
                        u"가맹점 가입은 무료이며 아래와 같은 혜택을 드립니다. 가맹점 가입은"_s,
                        u"홈페이지("_s + WebSite::address() + u")을 참조하세요."_s,
                        QString(),
                        u"- 벨트라복권 600게임을 무료로 증정합니다. (우송료 2000원 본인부담)"_s,
                        u"- 업소의 홍보용 홈페이지와 게시판을 만들어 드립니다."_s,
                        u"- 벨트라닷컴에서 제공하는 벨트라복권을 구매 할 수 있습니다."_s,
                        u"- 수리볼 소프트웨어를 이용하여 독자적으로 복권쿠폰을 발행 할 수 있습니다."_s}
        .join(u"\r\n"_s);
}

QStringList Tips()
{
    QStringList tips;
    Query q(gSystemConn, u"SELECT Text1 FROM Tip1 WHERE Part1 = ? ORDER BY No1"_s);
    q.run({u"복권쿠폰"_s});
    while (q.next())
        tips.append(q.text(u"Text1"_s));
    return tips;
}

int SavedTipIndex() { return ReadInfo(u"화면구성"_s, u"복권쿠폰:활용팁"_s).toShort(); }

QString CaptionWithTip(const QString& tip) { return u"복권쿠폰  [활용팁: "_s + tip + u']'; }

} // namespace IssuePlan
