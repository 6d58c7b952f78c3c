#include "GameFilter.h"

#include "DemoData.h"
#include "SeededRandom.h"

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;
using GameFilter::Mask;
using GameFilter::Settings;

namespace {

Mask mask(std::array<int, 6> numbers) { return GameFilter::MaskOf(numbers); }

NumberSet numbersOf(std::initializer_list<int> numbers)
{
    NumberSet set;
    for (int n : numbers)
        set.set(size_t(n));
    return set;
}

Settings on()
{
    Settings s;
    s.enabled = true;
    return s;
}

// The shipped results of draws 1 to 1200, as the game window reads them.
const std::vector<DrawStats::Draw>& realDraws()
{
    static const std::vector<DrawStats::Draw> draws = [] {
        std::vector<DrawStats::Draw> list;
        for (const DemoData::Draw& d : DemoData::draws())
            list.push_back({d.drawNo, d.numbers, d.bonus});
        return list;
    }();
    return draws;
}

// The settings of a filter that combines every kind of bound.
Settings combined()
{
    Settings s = on();
    s.sumMin = 100;
    s.sumMax = 180;
    s.oddMin = 2;
    s.oddMax = 4;
    s.highMin = 2;
    s.highMax = 4;
    s.runMax = 2;
    s.endingMax = 2;
    s.overlapMax = 1;
    s.skipPastWinners = true;
    return s;
}

} // namespace

TEST(GameFilter, EachFilterAtItsEdges)
{
    const Mask low = mask({1, 2, 3, 4, 5, 6}); // sum 21, three odd, none high, a run of six
    const Mask top = mask({40, 41, 42, 43, 44, 45}); // sum 255, all high
    const Mask ends = mask({1, 2, 11, 21, 31, 41}); // five ending in 1
    const Mask edge = mask({2, 4, 12, 16, 22, 35}); // one odd, one high, none in a row, three ending in 2

    // 22 is the last low number, 23 the first high one.
    EXPECT_EQ(GameFilter::FeaturesOf(mask({1, 3, 5, 7, 9, 22})).high, 0);
    EXPECT_EQ(GameFilter::FeaturesOf(mask({1, 3, 5, 7, 9, 23})).high, 1);
    const Mask last = mask({1, 2, 7, 8, 9, 10});
    const auto with = [](int Settings::*bound, int value, Mask game, Mask before = 0) {
        Settings s = on();
        s.*bound = value;
        return GameFilter::Passes(s, game, before);
    };
    EXPECT_TRUE(with(&Settings::sumMin, 21, low));
    EXPECT_FALSE(with(&Settings::sumMin, 22, low));
    EXPECT_TRUE(with(&Settings::sumMax, 255, top));
    EXPECT_FALSE(with(&Settings::sumMax, 254, top));
    EXPECT_TRUE(with(&Settings::oddMin, 1, edge));
    EXPECT_FALSE(with(&Settings::oddMin, 2, edge));
    EXPECT_TRUE(with(&Settings::oddMax, 3, low));
    EXPECT_FALSE(with(&Settings::oddMax, 2, low));
    EXPECT_TRUE(with(&Settings::highMin, 1, edge));
    EXPECT_FALSE(with(&Settings::highMin, 2, edge));
    EXPECT_TRUE(with(&Settings::highMax, 6, top));
    EXPECT_FALSE(with(&Settings::highMax, 5, top));
    EXPECT_TRUE(with(&Settings::runMax, 6, low));
    EXPECT_FALSE(with(&Settings::runMax, 5, low));
    EXPECT_TRUE(with(&Settings::runMax, 1, edge));
    EXPECT_FALSE(with(&Settings::runMax, 1, ends)); // 1 and 2
    EXPECT_TRUE(with(&Settings::endingMax, 5, ends));
    EXPECT_FALSE(with(&Settings::endingMax, 4, ends));
    EXPECT_TRUE(with(&Settings::endingMax, 3, edge));
    EXPECT_FALSE(with(&Settings::endingMax, 2, edge)); // 2, 12 and 22
    EXPECT_TRUE(with(&Settings::overlapMax, 2, low, last));
    EXPECT_FALSE(with(&Settings::overlapMax, 1, low, last));
    EXPECT_TRUE(with(&Settings::overlapMax, 0, top, last));

    // Off, nothing is held back, however tight the settings.
    Settings s = combined();
    s.sumMin = 255;
    s.enabled = false;
    EXPECT_TRUE(GameFilter::Passes(s, low, low));
}

// The figures come from a plain count over all 8,145,060 games, written apart from this code.
TEST(GameFilter, CountsEveryGameExactly)
{
    const GameFilter::History history = GameFilter::History::of(realDraws());
    ASSERT_EQ(history.lastDraw, mask({1, 2, 4, 16, 20, 32})); // draw 1200

    EXPECT_EQ(GameFilter::CountPassing(on(), {}, {}, history), GameFilter::kAllGames);
    Settings s = on();
    s.sumMin = 130;
    s.sumMax = 150;
    EXPECT_EQ(GameFilter::CountPassing(s, {}, {}, history), 2'175'031);
    s = on();
    s.oddMin = s.oddMax = 3;
    EXPECT_EQ(GameFilter::CountPassing(s, {}, {}, history), 1771LL * 1540); // 23 choose 3 × 22 choose 3
    EXPECT_EQ(GameFilter::CountPassing(s, numbersOf({30, 44}), numbersOf({20}), history), 33'649);
    s.sumMin = 130;
    s.sumMax = 150;
    EXPECT_EQ(GameFilter::CountPassing(s, {}, {}, history), 687'456);
    s = on();
    s.sumMin = 130;
    s.sumMax = 150;
    EXPECT_EQ(GameFilter::CountPassing(s, numbersOf({45}), {}, history), 266'763); // the last number required
    s = on();
    s.skipPastWinners = true;
    EXPECT_EQ(GameFilter::CountPassing(s, {}, {}, history), GameFilter::kAllGames - 1200);
    const NumberSet required = numbersOf({7});
    const NumberSet excluded = numbersOf({1, 2, 3, 4, 5});
    EXPECT_EQ(GameFilter::CountPassing(combined(), required, excluded, history), 336'698);

    // Off, the numbers alone decide: 1 and 2 in every game, 3 to 10 in none.
    Settings off = combined();
    off.enabled = false;
    EXPECT_EQ(GameFilter::CountPassing(off, numbersOf({1, 2}), numbersOf({3, 4, 5, 6, 7, 8, 9, 10}), history), 52'360);
    // Five required numbers and a filter only the sixth can meet.
    s = on();
    s.sumMin = s.sumMax = 15 + 45;
    EXPECT_EQ(GameFilter::CountPassing(s, numbersOf({1, 2, 3, 4, 5}), {}, history), 1);
    s.sumMin = 30;
    s.sumMax = 20;
    EXPECT_EQ(GameFilter::CountPassing(s, {}, {}, history), 0);
    EXPECT_TRUE(GameFilter::NothingPassesMessage(s).contains(u"합계 최소(30)가 합계 최대(20)보다 큽니다."_s));
}

TEST(GameFilter, WhatTheFiltersWouldHaveCostTheRealDraws)
{
    Settings s = on();
    s.sumMin = 130;
    s.sumMax = 150;
    const auto past = [&](const Settings& settings, int last) {
        const GameFilter::PastPasses p = GameFilter::CountPastPasses(settings, realDraws(), last);
        return std::make_pair(p.passed, p.draws);
    };
    EXPECT_EQ(past(s, 100), std::make_pair(33, 100));
    EXPECT_EQ(past(s, 500), std::make_pair(132, 500));
    EXPECT_EQ(past(s, 0), std::make_pair(315, 1200));
    // Each draw's overlap is counted against the draw before it; past winners are not held back here.
    EXPECT_EQ(past(combined(), 100), std::make_pair(51, 100));
    EXPECT_EQ(past(combined(), 500), std::make_pair(213, 500));
    EXPECT_EQ(past(combined(), 0), std::make_pair(529, 1200));
    Settings off = combined();
    off.enabled = false;
    EXPECT_EQ(past(off, 0), std::make_pair(1200, 1200));

    EXPECT_EQ(GameFilter::PassingText(2'175'031), u"통과 조합: 2,175,031 / 8,145,060 (26.70 %)"_s);
    EXPECT_EQ(GameFilter::PassingText(1), u"통과 조합: 1 / 8,145,060 (0.000012 %)"_s);
    EXPECT_EQ(GameFilter::PastText({315, 1200}), u"지난 회차 통과: 315 / 1,200"_s);
}

TEST(GameFilter, DrawsOnlyPassingGamesAllEquallyOften)
{
    const GameFilter::History history = GameFilter::History::of(realDraws());
    // 1 to 4 in every game and a sum of at most 25 (or 34): 10 (or 56) games of the 820 the numbers allow,
    // few enough to be drawn from a list (or not).
    for (const int sumMax : {25, 34}) {
        SCOPED_TRACE(sumMax);
        Settings s = on();
        s.sumMax = sumMax;
        const NumberSet required = numbersOf({1, 2, 3, 4});
        const qint64 passing = GameFilter::CountPassing(s, required, {}, history);
        GameFilter::Generator generator(s, required, {}, history, 77);
        EXPECT_EQ(generator.passing(), passing);
        EXPECT_EQ(generator.drawsFromList(), passing * GameFilter::Generator::kListBelow < 820);
        std::map<Mask, int> seen;
        const int games = 600 * int(passing);
        for (int i = 0; i < games; ++i) {
            const Mask game = mask(generator.next().numbers);
            ASSERT_TRUE(GameFilter::Passes(s, game, history.lastDraw));
            ASSERT_EQ(game & 0b11110, 0b11110u);
            ++seen[game];
        }
        ASSERT_EQ(qint64(seen.size()), passing);
        double chi = 0;
        for (const auto& [game, count] : seen)
            chi += (count - 600.0) * (count - 600.0) / 600.0;
        EXPECT_LT(chi, passing == 10 ? 27.9 : 93.2); // the 0.1 % points of 9 and 55 degrees of freedom
    }
    EXPECT_TRUE(GameFilter::Generator(on(), {}, {}, history, 1).passing() == GameFilter::kAllGames);

    // Tight filters, past winners held back: every game passes, whichever way it is drawn.
    Settings tight = combined();
    tight.sumMin = 80;
    tight.sumMax = 90;
    GameFilter::Generator generator(tight, numbersOf({7}), numbersOf({1, 2, 3, 4, 5}), history, 5);
    ASSERT_GT(generator.passing(), 0);
    EXPECT_TRUE(generator.drawsFromList());
    for (int i = 0; i < 2000; ++i) {
        const Mask game = mask(generator.next().numbers);
        ASSERT_TRUE(GameFilter::Passes(tight, game, history.lastDraw));
        ASSERT_FALSE(history.isWinner(game));
        ASSERT_EQ(game & 0b111110, 0u);
        ASSERT_TRUE(game & (Mask(1) << 7));
    }
}

// The figures were worked out apart from this code, by following the steps written down in SeededRandom.h:
// a change of the generator, of the bounded draw or of the order of the listed games shows here.
TEST(Seed, AFixedSeedGivesAFixedList)
{
    SeededRandom random(42);
    EXPECT_EQ(random.next(), 0x31b0ece7c4f697a2ULL);
    EXPECT_EQ(random.next(), 0x9008a3b1cb686f03ULL);
    EXPECT_EQ(random.next(), 0x7c7173abd97be16fULL);
    SeededRandom zero(0);
    std::vector<int> below;
    for (int i = 0; i < 10; ++i)
        below.push_back(int(zero.below(45)));
    EXPECT_EQ(below, (std::vector<int> {3, 40, 18, 20, 31, 29, 6, 27, 24, 40}));
    // Below 2^63 + 1 nearly half of all numbers are thrown back, which a plain remainder would not do.
    SeededRandom wide(3);
    std::vector<std::uint64_t> halves;
    for (int i = 0; i < 4; ++i)
        halves.push_back(wide.below((1ULL << 63) + 1));
    EXPECT_EQ(halves,
              (std::vector<std::uint64_t> {6949354161117509905ULL,
                                           3726965932248608973ULL,
                                           3237668798425151785ULL,
                                           65069167701133767ULL}));

    const auto keys = [](auto&& next, int n) {
        QStringList list;
        for (int i = 0; i < n; ++i)
            list.append(next().key());
        return list;
    };
    GameRules::Generator plain(20251208);
    EXPECT_EQ(
        keys([&] { return plain.next({}, {}); }, 5),
        (QStringList {u"020710222728"_s, u"111213141641"_s, u"010517182644"_s, u"122526273741"_s, u"061519273242"_s}));
    GameRules::Generator withNumbers(7);
    EXPECT_EQ(keys(
                  [&] {
                      return withNumbers.next(numbersOf({3, 33}), numbersOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
                  },
                  3),
              (QStringList {u"031422334042"_s, u"032830333537"_s, u"031416313345"_s}));

    const GameFilter::History history = GameFilter::History::of(realDraws());
    Settings s = on();
    s.sumMin = 130;
    s.sumMax = 150;
    s.oddMin = s.oddMax = 3;
    GameFilter::Generator thrownBack(s, {}, {}, history, 1);
    ASSERT_FALSE(thrownBack.drawsFromList());
    EXPECT_EQ(keys([&] { return thrownBack.next(); }, 3),
              (QStringList {u"071423303138"_s, u"061524272942"_s, u"041026313343"_s}));
    s = on();
    s.sumMin = 60;
    s.sumMax = 75;
    s.skipPastWinners = true;
    GameFilter::Generator listed(s, numbersOf({7}), {}, history, 99);
    ASSERT_TRUE(listed.drawsFromList());
    EXPECT_EQ(keys([&] { return listed.next(); }, 3),
              (QStringList {u"050708091021"_s, u"040607101620"_s, u"020507101436"_s}));

    // With the filters off, the same seed draws exactly what a run without them does.
    Settings off = combined();
    off.enabled = false;
    GameFilter::Generator unfiltered(off, {}, {}, history, 20251208);
    EXPECT_EQ(unfiltered.next().key(), u"020710222728"_s);
}

TEST(Seed, TheSeedBox)
{
    EXPECT_EQ(Seed::Read(u" 12345 "_s), 12345u);
    EXPECT_EQ(Seed::Read(u"１２"_s), 12u);
    EXPECT_EQ(Seed::Read(u"18446744073709551615"_s), 18446744073709551615ULL);
    EXPECT_FALSE(Seed::Read(u"18446744073709551616"_s));
    EXPECT_FALSE(Seed::Read(u"-1"_s));
    EXPECT_FALSE(Seed::Read(u"12a"_s));
    EXPECT_FALSE(Seed::Read(u"1²"_s));
    EXPECT_LT(Seed::Fresh(), 1'000'000'000u);
}
