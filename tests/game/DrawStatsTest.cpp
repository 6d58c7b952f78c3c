#include "DrawStats.h"

#include "Database.h"
#include "Globals.h"
#include "Query.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using DrawStats::Mark;

namespace {

DrawStats::Draw draw(qint64 no, std::array<int, 6> six, int bonus) { return DrawStats::Draw {no, six, bonus}; }

} // namespace

TEST(DrawStatsRead, KeepsOnlyDrawnResults)
{
    EXPECT_EQ(DrawStats::ParseDraw(7, u"45010203040506"_s)->numbers, (std::array<int, 6> {1, 2, 3, 4, 5, 45}));
    EXPECT_EQ(DrawStats::ParseDraw(7, u"45010203040506"_s)->bonus, 6);
    for (const QString& bad : {u"00000000000000"_s, // the draw on sale
                               u"010203040505"_s, // no bonus
                               u"01020304050506"_s, // bonus among the six
                               u"01010304050607"_s, // a number twice
                               u"01020304054607"_s,
                               u"0102030405 607"_s,
                               u"０1020304050607"_s}) // a digit of another width
        EXPECT_FALSE(DrawStats::ParseDraw(1, bad)) << bad.toStdString();
}

TEST(DrawStatsRead, ReadsTheSystemDatabaseInDrawOrder)
{
    TestInstall install;
    OpenSystemDb();
    Query insert(gSystemConn, u"INSERT INTO BokList (BokNo, No1, State1) VALUES (?, ?, ?)"_s);
    insert.run({3, u"10203040414243"_s, u"3"_s});
    insert.run({1, u"01020304050607"_s, u"3"_s});
    insert.run({2, u"01010304050607"_s, u"3"_s}); // damaged
    insert.run({4, u"00000000000000"_s, u"3"_s});
    insert.run({5, u"00000000000000"_s, u"1"_s}); // on sale
    const std::vector<DrawStats::Draw> draws = DrawStats::ReadDraws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].drawNo, 1);
    EXPECT_EQ(draws[1].drawNo, 3);
    EXPECT_EQ(draws[1].bonus, 43);
}

TEST(DrawStatsSummary, CountsTheChosenRangeWithOrWithoutTheBonus)
{
    const std::vector<DrawStats::Draw> draws {draw(1, {1, 2, 3, 4, 5, 6}, 7),
                                              draw(2, {1, 2, 3, 40, 44, 45}, 9),
                                              draw(3, {2, 4, 6, 8, 10, 45}, 1)};
    const DrawStats::Summary all = DrawStats::Summarise(draws, 0, false);
    EXPECT_EQ(all.draws, 3);
    EXPECT_EQ(all.firstDraw, 1);
    EXPECT_EQ(all.lastDraw, 3);
    EXPECT_EQ(all.counts[1], 2);
    EXPECT_EQ(all.counts[2], 3);
    EXPECT_EQ(all.counts[7], 0);

    const DrawStats::Summary last2 = DrawStats::Summarise(draws, 2, true);
    EXPECT_EQ(last2.draws, 2);
    EXPECT_EQ(last2.firstDraw, 2);
    EXPECT_EQ(last2.counts[1], 2); // once drawn, once as the bonus
    EXPECT_EQ(last2.counts[9], 1);
    EXPECT_EQ(last2.counts[5], 0); // draw 1 is out of range
    qint64 total = 0;
    for (qint64 c : last2.counts)
        total += c;
    EXPECT_EQ(total, 14);

    EXPECT_EQ(DrawStats::Summarise(draws, 50, false).draws, 3); // fewer draws than asked
}

TEST(DrawStatsSummary, SumsAndOddEvenSplits)
{
    const std::vector<DrawStats::Draw> draws {draw(1, {1, 2, 3, 4, 5, 6}, 7), // 21, three odd
                                              draw(2, {1, 2, 3, 4, 5, 25}, 7), // 40
                                              draw(3, {1, 2, 3, 4, 5, 26}, 7), // 41
                                              draw(4, {40, 41, 42, 43, 44, 45}, 1), // 255
                                              draw(5, {1, 3, 5, 7, 9, 11}, 2)}; // 36, all odd
    const DrawStats::Summary s = DrawStats::Summarise(draws, 0, false);
    EXPECT_EQ(s.sums[0], 3);
    EXPECT_EQ(s.sums[1], 1);
    EXPECT_EQ(s.sums[DrawStats::kSumBins - 1], 1);
    EXPECT_EQ(DrawStats::SumLabel(0), u"21~40"_s);
    EXPECT_EQ(DrawStats::SumLabel(DrawStats::kSumBins - 1), u"241~255"_s);
    EXPECT_EQ(s.odd[3], 3);
    EXPECT_EQ(s.odd[4], 1);
    EXPECT_EQ(s.odd[6], 1);
    EXPECT_EQ(s.odd[0], 0);
}

TEST(DrawStatsSummary, HotAndColdTakeEveryNumberTiedAtTheLine)
{
    // Numbers 1..7 come up twice, 8..35 once, 36..45 never (45 is only ever the bonus).
    std::vector<DrawStats::Draw> draws {draw(1, {1, 2, 3, 4, 5, 6}, 45),
                                        draw(2, {1, 2, 3, 4, 5, 6}, 45),
                                        draw(3, {7, 8, 9, 10, 11, 12}, 45),
                                        draw(4, {7, 13, 14, 15, 16, 17}, 45)};
    for (int n = 18, no = 5; n + 5 <= 39; n += 6, ++no)
        draws.push_back(draw(no, {n, n + 1, n + 2, n + 3, n + 4, n + 5}, 45));
    const DrawStats::Summary s = DrawStats::Summarise(draws, 0, false);
    EXPECT_EQ(s.numbers(Mark::Hot), (std::vector<int> {1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(s.numbers(Mark::Cold), (std::vector<int> {36, 37, 38, 39, 40, 41, 42, 43, 44, 45}));
    // Counted with the bonus, 45 leaves the cold numbers.
    EXPECT_EQ(DrawStats::Summarise(draws, 0, true).marks[45], Mark::Hot);

    // No draws at all: nothing stands out.
    const DrawStats::Summary none = DrawStats::Summarise({}, 0, true);
    EXPECT_EQ(none.draws, 0);
    EXPECT_TRUE(none.numbers(Mark::Hot).empty());
    EXPECT_TRUE(none.numbers(Mark::Cold).empty());
}
