#include "DrawText.h"

#include "RankCalc.h"
#include "Tools.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(DrawText, SixDifferentNumbersAndABonusApart)
{
    EXPECT_TRUE(DrawText::IsResult(u"01020416203245"_s));
    EXPECT_TRUE(DrawText::Problem(u"01020416203245"_s).isEmpty());
    const QString form = u"당첨번호는 14자리 숫자(여섯 번호와 보너스 번호, 두 자리씩)로 적어 주십시오."_s;
    const QString range = u"당첨번호의 번호는 01부터 45까지입니다."_s;
    const std::pair<QString, QString> refused[] = {
        {u"01010416203245"_s, u"당첨번호 여섯 개에 같은 번호가 두 번 있습니다."_s},
        {u"01020416203232"_s, u"보너스 번호가 당첨번호 여섯 개 가운데 하나와 같습니다."_s},
        {u"01020416203200"_s, range}, // a bonus of 00
        {u"01020416203246"_s, range},
        {u"00020416203245"_s, range},
        {u"00000000000000"_s, range}, // not yet drawn is no result to rank against
        {u"0102041620324"_s, form},
        {u"010204162032450"_s, form},
        {u"01020416203245 "_s, form},
        {u"0102041620a245"_s, form},
        {u"0102041620324５"_s, form}, // a full-width digit
        {QString(), form},
    };
    for (const auto& [text, why] : refused) {
        EXPECT_FALSE(DrawText::IsResult(text)) << text.toStdString();
        EXPECT_EQ(DrawText::Problem(text), why) << text.toStdString();
    }
}

TEST(DrawText, ARefusedDrawRanksNothingAndTheFastRuleFollowsTheWrittenOne)
{
    const RankCalc::FastRank none(u"00000000000000"_s);
    EXPECT_EQ(none.rankOf(u"010203040506"_s), '0');
    // Where the fast rule cannot tell, it gives the written rule's answer.
    const QString repeated = u"01010304050607"_s;
    for (const QString& game : {u"010203040506"_s, u"010304050607"_s, u"020304050607"_s})
        EXPECT_EQ(QString(QChar::fromLatin1(RankCalc::FastRank(repeated).rankOf(game))), RankOfGame(repeated, game));
}
