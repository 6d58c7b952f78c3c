#include "DrawText.h"

#include <cstdint>

using namespace Qt::StringLiterals;

namespace DrawText {

namespace {

enum class Fault { None, Form, Range, Repeated, BonusRepeated };

Fault check(const QString& text)
{
    if (text.size() != 14)
        return Fault::Form;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return Fault::Form;
    }
    std::uint64_t seen = 0;
    for (int i = 0; i < 7; ++i) {
        const int n = (text[i * 2].unicode() - u'0') * 10 + (text[i * 2 + 1].unicode() - u'0');
        if (n < 1 || n > 45)
            return Fault::Range;
        if (seen & (std::uint64_t(1) << n))
            return i == 6 ? Fault::BonusRepeated : Fault::Repeated;
        seen |= std::uint64_t(1) << n;
    }
    return Fault::None;
}

} // namespace

bool IsResult(const QString& drawText) { return check(drawText) == Fault::None; }

QString Problem(const QString& drawText)
{
    switch (check(drawText)) {
    case Fault::None:
        return QString();
    case Fault::Form:
        return u"당첨번호는 14자리 숫자(여섯 번호와 보너스 번호, 두 자리씩)로 적어 주십시오."_s;
    case Fault::Range:
        return u"당첨번호의 번호는 01부터 45까지입니다."_s;
    case Fault::Repeated:
        return u"당첨번호 여섯 개에 같은 번호가 두 번 있습니다."_s;
    case Fault::BonusRepeated:
        return u"보너스 번호가 당첨번호 여섯 개 가운데 하나와 같습니다."_s;
    }
    return QString();
}

} // namespace DrawText
