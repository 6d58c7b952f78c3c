#include "GameRules.h"

#include "GameStats.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::StringLiterals;

TEST(CountText, NumbersRoundAndEverythingElseBecomesFive)
{
    auto value = [](const QString& text) { return GameRules::ReadCount(text).value.value_or(-1); };
    EXPECT_EQ(GameRules::ReadCount(u"abc"_s).text, u"5"_s);
    EXPECT_FALSE(GameRules::ReadCount(u"abc"_s).value);
    EXPECT_FALSE(GameRules::ReadCount(u"   "_s).value);
    EXPECT_FALSE(GameRules::ReadCount(u"12abc"_s).value);
    EXPECT_EQ(value(u" 12 "_s), 12);
    EXPECT_EQ(value(u"2.6"_s), 3);
    EXPECT_EQ(value(u"2.5"_s), 2); // halves to the even neighbour
    EXPECT_EQ(value(u"3.5"_s), 4);
    EXPECT_EQ(value(u"１２"_s), 12); // full-width digits
    EXPECT_EQ(value(u"1,000"_s), 1000);
    EXPECT_EQ(value(u"-3"_s), -3);
    EXPECT_EQ(value(u"+7"_s), 7);
    EXPECT_EQ(value(u"99999999999999999999999"_s), std::numeric_limits<qint64>::max());
    EXPECT_EQ(GameRules::ReadCount(u"2.6"_s).text, u"2.6"_s); // a number is left as typed
}

TEST(CountText, RangesForMembersAndTheAdministrator)
{
    EXPECT_TRUE(GameRules::CountAllowed(1, false));
    EXPECT_TRUE(GameRules::CountAllowed(999, false));
    EXPECT_FALSE(GameRules::CountAllowed(1000, false));
    EXPECT_FALSE(GameRules::CountAllowed(0, false));
    EXPECT_TRUE(GameRules::CountAllowed(32767, true));
    EXPECT_FALSE(GameRules::CountAllowed(32768, true));
    EXPECT_FALSE(GameRules::CountAllowed(-1, true));
    EXPECT_EQ(GameRules::CountRangeMessage(false), u"숫자가 올바르지 않습니다. (범위: 1부터 999까지)"_s);
}

TEST(CountText, StepsOfFive)
{
    EXPECT_EQ(GameRules::StepUp(u"5"_s), u"10"_s);
    EXPECT_EQ(GameRules::StepUp(u"998"_s), u"1003"_s);
    EXPECT_EQ(GameRules::StepUp(u"1003"_s), u"5"_s);
    EXPECT_EQ(GameRules::StepUp(u"abc"_s), u"5"_s);
    EXPECT_EQ(GameRules::StepUp(u"0"_s), u"5"_s);
    EXPECT_EQ(GameRules::StepDown(u"10"_s), u"5"_s);
    EXPECT_EQ(GameRules::StepDown(u"3"_s), u"5"_s);
    EXPECT_EQ(GameRules::StepDown(u"6"_s), u"1"_s);
    EXPECT_EQ(GameRules::StepDown(u""_s), u"5"_s);
}

namespace {
NumberSet setOf(std::initializer_list<int> numbers)
{
    NumberSet set;
    for (int n : numbers)
        set.set(size_t(n));
    return set;
}

void expectValid(const Game& game)
{
    for (size_t i = 0; i < 6; ++i) {
        ASSERT_GE(game.numbers[i], 1);
        ASSERT_LE(game.numbers[i], 45);
        if (i > 0) {
            ASSERT_LT(game.numbers[i - 1], game.numbers[i]);
        }
    }
}
} // namespace

TEST(Generator, HonoursRequiredAndExcludedNumbers)
{
    GameRules::Generator generator(12345);
    const NumberSet required = setOf({3, 11, 19});
    const NumberSet excluded = setOf({1, 2, 4, 5, 6, 7, 8, 9, 10, 12});
    for (int i = 0; i < 5000; ++i) {
        const Game game = generator.next(required, excluded);
        expectValid(game);
        NumberSet in;
        for (int n : game.numbers)
            in.set(size_t(n));
        ASSERT_EQ((in & required), required);
        ASSERT_TRUE((in & excluded).none());
    }

    // Five required: exactly one number varies. 35 excluded: only the ten others appear.
    const NumberSet five = setOf({1, 2, 3, 4, 5});
    NumberSet sixth;
    for (int i = 0; i < 2000; ++i) {
        const Game game = generator.next(five, NumberSet());
        expectValid(game);
        for (int n : game.numbers) {
            if (!five[size_t(n)]) {
                sixth.set(size_t(n));
            }
        }
    }
    EXPECT_EQ(sixth.count(), 40u);
    NumberSet allowed = setOf({4, 9, 13, 17, 22, 28, 31, 36, 40, 45});
    NumberSet many;
    for (int n = 1; n <= 45; ++n)
        many.set(size_t(n), !allowed[size_t(n)]);
    ASSERT_EQ(many.count(), 35u);
    for (int i = 0; i < 2000; ++i) {
        for (int n : generator.next(NumberSet(), many).numbers)
            ASSERT_TRUE(allowed[size_t(n)]) << n;
    }
}

TEST(Generator, DrawsEveryNumberEquallyOften)
{
    // Chi-square with 44 degrees of freedom; 78.7 is the 0.1 % point. Seeded, so it never flickers.
    GameRules::Generator generator(20251208);
    std::array<double, 46> seen {};
    const int games = 60000;
    for (int i = 0; i < games; ++i) {
        for (int n : generator.next(NumberSet(), NumberSet()).numbers)
            ++seen[size_t(n)];
    }
    const double expected = games * 6.0 / 45.0;
    double chi = 0;
    for (int n = 1; n <= 45; ++n)
        chi += (seen[size_t(n)] - expected) * (seen[size_t(n)] - expected) / expected;
    EXPECT_LT(chi, 78.7);

    // With numbers excluded the rest stay equally likely (19 degrees of freedom; 43.8 at 0.1 %).
    NumberSet excluded;
    for (int n = 21; n <= 45; ++n)
        excluded.set(size_t(n));
    std::array<double, 46> rest {};
    for (int i = 0; i < games; ++i) {
        for (int n : generator.next(NumberSet(), excluded).numbers)
            ++rest[size_t(n)];
    }
    chi = 0;
    const double expectedRest = games * 6.0 / 20.0;
    for (int n = 1; n <= 20; ++n)
        chi += (rest[size_t(n)] - expectedRest) * (rest[size_t(n)] - expectedRest) / expectedRest;
    EXPECT_LT(chi, 43.8);
}

TEST(GameText, KeysDotsAndTheirChecks)
{
    const Game game {{3, 11, 19, 24, 38, 45}};
    EXPECT_EQ(game.key(), u"031119243845"_s);
    EXPECT_EQ(game.dotted(), u"03.11.19.24.38.45"_s);
    EXPECT_EQ(Game::fromDotted(u"03.11.19.24.38.45"_s)->key(), game.key());
    EXPECT_FALSE(Game::fromKey(u"030311192438"_s)); // a repeated number
    EXPECT_FALSE(Game::fromKey(u"000102030405"_s));
    EXPECT_FALSE(Game::fromKey(u"0102030405"_s));
    EXPECT_EQ(Game::fromKey(u"450102030405"_s)->key(), u"010203040545"_s);
}

TEST(Duplicates, CountsEveryCopyAndKeepsTheFirstOfEachRun)
{
    const QStringList keys = {u"a"_s, u"b"_s, u"a"_s, u"c"_s, u"c"_s, u"c"_s};
    const GameRules::Duplicates found = GameRules::FindDuplicates(keys);
    EXPECT_EQ(found.perRow, (std::vector<int> {2, 1, 2, 3, 3, 3}));
    EXPECT_EQ(found.rowsInRepeats, 5);
    EXPECT_EQ(GameRules::FirstOfEachRun({u"a"_s, u"a"_s, u"b"_s, u"c"_s, u"c"_s, u"c"_s}),
              (std::vector<int> {0, 2, 3}));
    EXPECT_EQ(GameRules::FindDuplicates({}).rowsInRepeats, 0);
}

TEST(Statistics, SharesAndBars)
{
    EXPECT_EQ(GameStats::ListShare(1, 1), u"16.67"_s);
    EXPECT_EQ(GameStats::ListShare(1, 2), u"8.33"_s);
    EXPECT_EQ(GameStats::ListShare(0, 0), u"0"_s);

    GameStats::DrawFrequency frequency;
    EXPECT_EQ(frequency.bar(7), QString()); // no draws: no share and no bar
    // The bonus (07) is not a winning number.
    frequency.addDraw(u"01020304050607"_s);
    EXPECT_EQ(frequency.counts[7], 0);
    EXPECT_EQ(frequency.counts[1], 1);
    EXPECT_EQ(frequency.total, 6);
    EXPECT_EQ(frequency.bar(1), u"16.7%:***************"_s);
    EXPECT_EQ(frequency.bar(7), u"0.0%:"_s);

    // 100 draws: number 1 drawn 40 times (the top), number 2 drawn 20, number 3 drawn 6.
    GameStats::DrawFrequency hundred;
    for (int i = 0; i < 100; ++i) {
        QString draw = i < 40 ? u"01"_s : u"44"_s;
        draw += i < 20 ? u"02"_s : u"43"_s;
        draw += i < 6 ? u"03"_s : u"42"_s;
        draw += u"101112"_s;
        hundred.addDraw(draw);
    }
    EXPECT_EQ(hundred.total, 600);
    EXPECT_EQ(hundred.top, 100);
    EXPECT_EQ(hundred.bar(1), u"6.7%:******"_s); // 40 × 15 ÷ 100 = 6
    EXPECT_EQ(hundred.bar(2), u"3.3%:***"_s); // 20 × 15 ÷ 100 = 3
    EXPECT_EQ(hundred.bar(3), u"1.0%:*"_s); // 0.9 → 1
    EXPECT_EQ(hundred.bar(10), u"16.7%:***************"_s);
}

TEST(Statistics, StarsRoundHalvesToEven)
{
    GameStats::DrawFrequency f;
    f.counts[1] = 1;
    f.counts[2] = 3;
    f.counts[3] = 30;
    f.top = 30;
    f.total = 180;
    EXPECT_EQ(f.bar(1).count(u'*'), 0); // 0.5 → 0
    EXPECT_EQ(f.bar(2).count(u'*'), 2); // 1.5 → 2
}
