#include "DrawText.h"
#include "Game.h"
#include "Rank.h"

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
    const FastRank none(u"00000000000000"_s);
    EXPECT_EQ(none.rankOf(u"010203040506"_s), '0');
    // Where the fast rule cannot tell, it gives the written rule's answer.
    const QString repeated = u"01010304050607"_s;
    for (const QString& game : {u"010203040506"_s, u"010304050607"_s, u"020304050607"_s})
        EXPECT_EQ(QString(QChar::fromLatin1(FastRank(repeated).rankOf(game))), RankOfGame(repeated, game));
}

// Every list and export writes ranks and games through these: a slip here shows in all of them.
TEST(LottoTexts, RanksAndGamesAsTheListsWriteThem)
{
    EXPECT_EQ(RankText(u"3"_s, RankStyle::WithSyllable), u"3등"_s);
    EXPECT_EQ(RankText(u"3"_s, RankStyle::Bare), u"3"_s);
    for (RankStyle style : {RankStyle::Bare, RankStyle::WithSyllable}) {
        EXPECT_EQ(RankText(u"9"_s, style), u"-"_s);
        EXPECT_EQ(RankText(u"0"_s, style), QString());
    }
    EXPECT_EQ(GameText::Dotted(u"031119243845"_s), u"03.11.19.24.38.45"_s);
    EXPECT_EQ(GameText::NumberAt(u"03111924384507"_s, 6), 7);
    EXPECT_EQ(GameText::NumberAt(u"031119243845"_s, 6), -1);
    EXPECT_EQ(GameText::NumberAt(u"0a1119243845"_s, 0), -1);
    EXPECT_EQ(GameText::Pieces(u"0102030"_s, 4), (QStringList {u"01"_s, u"02"_s, u"03"_s, u"0"_s}));
    EXPECT_EQ(Game::fromKey(u"451119243803"_s)->dotted(), u"03.11.19.24.38.45"_s);
    for (const QString& key : {u"031119243846"_s, u"031119243838"_s, u"+31119243845"_s, u"03111924384"_s})
        EXPECT_FALSE(Game::fromKey(key)) << key.toStdString();
}

TEST(RankRule, MapsMatchesAndBonusToRanks)
{
    const QString game = u"010203040506"_s;
    EXPECT_EQ(RankOfGame(u"01020304050607"_s, game), u"1"_s);
    EXPECT_EQ(RankOfGame(u"01020304051206"_s, game), u"2"_s);
    EXPECT_EQ(RankOfGame(u"01020304051213"_s, game), u"3"_s);
    EXPECT_EQ(RankOfGame(u"01020304051310"_s, game), u"3"_s);
    EXPECT_EQ(RankOfGame(u"01020304101112"_s, game), u"4"_s);
    EXPECT_EQ(RankOfGame(u"01020310111213"_s, game), u"5"_s);
    EXPECT_EQ(RankOfGame(u"01020304050610"_s, u"101112131415"_s), u"0"_s);
    // Numbers match wherever they stand in the draw.
    EXPECT_EQ(RankOfGame(u"45443332313007"_s, u"303132334445"_s), u"1"_s);
}

TEST(RankRule, ShortOrEmptyTextsNeverWin)
{
    EXPECT_EQ(RankOfGame(QString(), QString()), u"0"_s);
    EXPECT_EQ(RankOfGame(u"00000000000000"_s, u"010203040506"_s), u"0"_s);
    EXPECT_EQ(RankOfGame(u"010203040506"_s, u"010203040506"_s), u"1"_s); // no bonus needed for rank 1
}
