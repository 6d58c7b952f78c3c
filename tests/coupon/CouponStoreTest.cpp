#include "CouponStore.h"

#include "Clock.h"
#include "CouponFixture.h"
#include "CouponLayout.h"
#include "CouponPrint.h"
#include "SqlError.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>

TEST_F(CouponTest, AnIssueRunNumbersOnAboveEveryNumberOfTheDraw)
{
    AddCoupon(57);
    AddGames(57, 25);
    Clock::setFixed(QDateTime(QDate(2003, 1, 4), QTime(10, 20, 30)));
    const CouponStore::IssueRun run = CouponStore::IssueCoupons(57, 5, 5);
    ASSERT_FALSE(run.refusal.has_value());
    EXPECT_EQ(run.firstCoupon, 26);
    EXPECT_EQ(run.issueTime, u"2003-01-04 10:20:30"_s);
    const auto rows = Rows(57);
    ASSERT_EQ(rows.size(), 25u);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].sNo1, 26 + qint64(i / 5));
        EXPECT_EQ(rows[i].sNo2, QString::number(i % 5 + 1));
        EXPECT_EQ(rows[i].date1, u"2003-01-04 10:20:30"_s);
        EXPECT_EQ(rows[i].tag1, u"1"_s);
        // Positions follow the serials: the lowest serial is the first game of the first coupon.
        EXPECT_EQ(rows[i].no1, u"0102030405"_s + QString::number(6 + i).rightJustified(2, u'0'));
    }
    ASSERT_EQ(CouponStore::BeingPrinted().size(), 5u);
    EXPECT_EQ(CouponStore::BeingPrinted().front().couponNo, 26);
    CouponStore::FinishIssue();
    EXPECT_TRUE(CouponStore::BeingPrinted().empty());
    EXPECT_EQ(CouponStore::CountLine(CouponStore::CountGames(57)), u"[발행: 25] [미발행: 0] "_s);
}

TEST_F(CouponTest, ALaterRunTakesTheLowestSerialsLeftAndNumbersAboveTheLastCoupon)
{
    AddCoupon(57);
    AddGames(57, 4);
    ASSERT_FALSE(CouponStore::IssueCoupons(57, 1, 2).refusal.has_value()); // serials 1, 2 → coupon 5
    CouponStore::FinishIssue();
    AddGames(57, 2); // serials 6, 7
    const auto run = CouponStore::IssueCoupons(57, 2, 2);
    ASSERT_FALSE(run.refusal.has_value());
    EXPECT_EQ(run.firstCoupon, 8);
    QStringList numbered;
    for (const auto& r : Rows(57))
        numbered.append(QString::number(r.sNo1) + u'.' + r.sNo2 + u'.' + r.tag1);
    EXPECT_EQ(numbered, QStringList({u"5.1.2"_s, u"5.2.2"_s, u"8.1.1"_s, u"8.2.1"_s, u"9.1.1"_s, u"9.2.1"_s}));
    EXPECT_EQ(CouponStore::IssueNumber(57, 8), u"0057-000008"_s);
}

TEST_F(CouponTest, AShortageChangesNothing)
{
    AddCoupon(57);
    AddGames(57, 14);
    const QString before = Snapshot(57);
    const auto run = CouponStore::IssueCoupons(57, 3, 5);
    ASSERT_TRUE(run.refusal.has_value());
    EXPECT_EQ(*run.refusal, u"발행할 복권(미발행 복권)이 부족합니다. [로또게임]작업메뉴에서 복권을 추가하여 주세요."_s);
    EXPECT_EQ(Snapshot(57), before);
    EXPECT_FALSE(CouponStore::IssueCoupons(58, 1, 1).refusal->isEmpty()); // a draw without games
}

namespace {

QList<QImage> Painted(const SlotPages& pages)
{
    QList<QImage> images;
    for (int page = 0; page < pages.pages(); ++page) {
        QImage image(794, 1123, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        pages.paintPage(painter, page);
        images.append(image);
    }
    return images;
}

} // namespace

// The coupons seen before the numbering are the coupons numbered, or nothing is numbered.
TEST_F(CouponTest, APlanIsNumberedAsItWasShownOrNotAtAll)
{
    AddCoupon(57);
    AddGames(57, 12);
    const QString before = Snapshot(57);
    const CouponStore::PlannedIssue stale = CouponStore::PlanIssue(57, 2, 5);
    ASSERT_FALSE(stale.refusal.has_value());
    EXPECT_EQ(stale.firstCoupon, 13);
    EXPECT_EQ(stale.gamesOf(1), QStringList(stale.games.mid(5, 5)));
    EXPECT_EQ(Snapshot(57), before); // planning writes nothing

    // Another run took the lowest games in between: the plan is refused whole.
    ASSERT_FALSE(CouponStore::IssueCoupons(57, 1, 2).refusal.has_value());
    CouponStore::FinishIssue();
    const QString moved = Snapshot(57);
    const auto refused = CouponStore::IssueCoupons(stale, {});
    ASSERT_TRUE(refused.refusal.has_value());
    EXPECT_EQ(*refused.refusal, CouponStore::kPlanOutdated);
    EXPECT_EQ(Snapshot(57), moved);

    const CouponStore::PlannedIssue plan = CouponStore::PlanIssue(57, 2, 5);
    const QList<QImage> shown = Painted(PlannedCouponPages(plan).pages);
    ASSERT_FALSE(CouponStore::IssueCoupons(plan, {}).refusal.has_value());
    const CouponPages numbered = ReadCouponPages(CouponStore::BeingPrinted());
    EXPECT_EQ(numbered.keys.front().couponNo, 14);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown == Painted(numbered.pages)); // the same games, numbers and serials, dot for dot
}

TEST_F(CouponTest, AFailureHalfwayLeavesEveryGameUnissued)
{
    AddCoupon(57);
    AddGames(57, 25);
    const QString before = Snapshot(57);
    // The third coupon cannot be written.
    Execute(gUserConn,
            u"CREATE TRIGGER refuse BEFORE UPDATE ON List2 WHEN NEW.SNo1 = 28 "
            "BEGIN SELECT RAISE(ABORT, 'disk full'); END"_s);
    EXPECT_THROW(CouponStore::IssueCoupons(57, 5, 5), SqlError);
    EXPECT_EQ(Snapshot(57), before);
    EXPECT_TRUE(CouponStore::BeingPrinted().empty());
}

TEST_F(CouponTest, CouponsLeftBeingPrintedCountAsIssuedAtTheNextRun)
{
    AddCoupon(57);
    AddGames(57, 3);
    ASSERT_FALSE(CouponStore::IssueCoupons(57, 1, 1).refusal.has_value());
    // The program stopped while printing; the next run starts.
    ASSERT_FALSE(CouponStore::IssueCoupons(57, 1, 1).refusal.has_value());
    const auto rows = Rows(57);
    EXPECT_EQ(rows[0].tag1, u""_s); // serial 3, still unissued
    EXPECT_EQ(rows[1].sNo1, 4);
    EXPECT_EQ(rows[1].tag1, u"2"_s);
    EXPECT_EQ(rows[2].sNo1, 5);
    EXPECT_EQ(rows[2].tag1, u"1"_s);
}

TEST_F(CouponTest, RanksReachOnlyIssuedGamesOfAPastDrawWithNumbers)
{
    AddCoupon(57);
    // Against 01 02 03 04 05 06 + 07: game i shares five numbers, the 7th game holds the bonus.
    QStringList games {u"010203040506"_s,
                       u"010203040507"_s,
                       u"010203040545"_s,
                       u"010203044445"_s,
                       u"010203434445"_s,
                       u"010203434445"_s,
                       u"404142434445"_s,
                       u"010203040506"_s};
    ASSERT_FALSE(CouponStore::AddGames(57, games).has_value());
    ASSERT_FALSE(CouponStore::IssueCoupons(57, 1, 5).refusal.has_value()); // serials 1–5 → coupon 9
    ASSERT_FALSE(CouponStore::IssueCoupons(57, 1, 2).refusal.has_value()); // serials 6, 7 → coupon 10
    CouponStore::FinishIssue();
    EXPECT_EQ(CouponStore::CalcCouponRanks(57), 7);
    QStringList ranks;
    for (const auto& r : Rows(57))
        ranks.append(r.top1);
    // Serial 8 is the same game as the first but unissued: it stays pending.
    EXPECT_EQ(ranks, QStringList({u"9"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"5"_s, u"0"_s}));
    EXPECT_EQ(CouponStore::RankSummary(57), u"[당첨: 1등(1) 2등(1) 3등(1) 4등(1) 5등(2)]"_s);
    // A second pass finds nothing pending.
    EXPECT_EQ(CouponStore::CalcCouponRanks(57), 0);
}

TEST_F(CouponTest, DrawsNotPastOrWithoutNumbersAreNeverRanked)
{
    // Two results the safe would refuse: a bonus of 00, a number twice.
    Query draw(gSystemConn,
               u"INSERT INTO BokList (BokNo,Date1,Date2,No1,Rk1Count,Rk2Count,Rk3Count,Rk4Count,Rk5Count,Rk1Kum,"
               "Rk2Kum,Rk3Kum,Rk4Kum,Rk5Kum,Sum1,Sum2,State1) VALUES (?,'','',?,0,0,0,0,0,0,0,0,0,0,0,0,'3')"_s);
    draw.run({54, u"01020304050600"_s});
    draw.run({55, u"01020304050601"_s});
    for (qint64 drawNo : {54, 55, 58, 60, 61}) {
        AddCoupon(drawNo);
        AddGames(drawNo, 2);
        ASSERT_FALSE(CouponStore::IssueCoupons(drawNo, 1, 2).refusal.has_value());
        EXPECT_EQ(CouponStore::CalcCouponRanks(drawNo), 0);
        for (const auto& r : Rows(drawNo))
            EXPECT_EQ(r.top1, u"9"_s) << drawNo;
    }
    EXPECT_EQ(CouponStore::RankSummary(60), u"[당첨: (미추첨)]"_s);
    EXPECT_EQ(CouponStore::RankSummary(58), u"[당첨: ]"_s);
}

TEST(RankSummaryText, ItsExactForms)
{
    CouponStore::RankCounts counts {};
    EXPECT_EQ(CouponStore::RankSummaryText(counts), u"[당첨: ]"_s);
    counts[4] = 1;
    counts[5] = 3;
    EXPECT_EQ(CouponStore::RankSummaryText(counts), u"[당첨: 4등(1) 5등(3)]"_s);
    CouponStore::RankCounts third {};
    third[3] = 1;
    EXPECT_EQ(CouponStore::RankSummaryText(third), u"[당첨: 3등(1) ]"_s);
}

TEST_F(CouponTest, DeletingKeepsCount1EqualToTheGames)
{
    AddCoupon(56);
    AddGames(56, 10);
    ASSERT_FALSE(CouponStore::IssueCoupons(56, 2, 3).refusal.has_value()); // coupons 11 and 12
    CouponStore::FinishIssue();
    // One ticked game of coupon 11 takes the whole coupon; serial 7 goes alone.
    EXPECT_EQ(CouponStore::DeleteGames(56, {11, 7}), 6);
    EXPECT_EQ(Count1(56), 6);
    std::vector<qint64> left;
    for (const auto& r : Rows(56))
        left.push_back(r.sNo1);
    EXPECT_EQ(left, (std::vector<qint64> {8, 9, 10, 12, 12, 12}));

    // Coupon 12's games all lost against draw 56; the unissued ones are never ranked and stay.
    CouponStore::CalcCouponRanks(56);
    EXPECT_EQ(CouponStore::DeleteLostGames(56), 3);
    EXPECT_EQ(Count1(56), 3);
}

TEST_F(CouponTest, LostGamesOfADrawNotRankedDeleteNothingButRecount)
{
    AddCoupon(60);
    AddGames(60, 4);
    Execute(gUserConn, u"UPDATE Bok2 SET Count1 = 99 WHERE BokNo = 60"_s);
    EXPECT_EQ(CouponStore::DeleteLostGames(60), 4);
    EXPECT_EQ(Count1(60), 4);
}

TEST_F(CouponTest, DeletingACouponTakesItsGamesAndNoOtherDraws)
{
    AddCoupon(57);
    AddCoupon(58);
    AddGames(57, 3);
    AddGames(58, 2);
    CouponStore::DeleteCoupon(57);
    EXPECT_TRUE(Rows(57).empty());
    EXPECT_EQ(Count1(57), -1);
    EXPECT_EQ(Rows(58).size(), 2u);
    ASSERT_EQ(CouponStore::Coupons().size(), 1u);
}

TEST_F(CouponTest, ACouponIsReadForDrawingWithItsOwnGames)
{
    AddCoupon(57, u"업소"_s);
    AddGames(57, 6);
    ASSERT_FALSE(CouponStore::IssueCoupons(57, 2, 3).refusal.has_value()); // coupons 7 and 8
    const auto content = CouponLayout::ReadCoupon(57, 8);
    ASSERT_TRUE(content.has_value());
    EXPECT_EQ(content->games, QStringList({u"010203040509"_s, u"010203040510"_s, u"010203040511"_s}));
    const auto lines = CouponLayout::Build(*content);
    EXPECT_EQ(lines[6].text, u"[게임1]  01 02 03 04 05 09"_s);
    // 3 × 15 + 9 + 10 + 11 = 75
    EXPECT_EQ(lines[21].text.trimmed(), u"SHOP7-0075-0057-000008"_s);
    // The coupon's own headline picks the shop's notice.
    EXPECT_EQ(lines[18].text, u"-당첨시 경품은 발행업소에서 전액 지"_s);
    EXPECT_FALSE(CouponLayout::ReadCoupon(59, 0).has_value());
    EXPECT_TRUE(CouponLayout::ReadCoupon(57, 0)->games.isEmpty());
}

namespace {

int PdfPages(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    static const QRegularExpression page(u"/Type\\s*/Page(?![a-zA-Z])"_s);
    int count = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(file.readAll())); it.hasNext(); it.next())
        ++count;
    return count;
}

} // namespace

TEST_F(CouponTest, SevenCouponsPrintOnTwoPages)
{
    AddCoupon(57);
    AddGames(57, 14);
    ASSERT_FALSE(CouponStore::IssueCoupons(57, 7, 2).refusal.has_value());
    // No printer on this desktop: the pages go to a PDF in DATA.
    const PrintOutcome outcome = ReadCouponPages(CouponStore::BeingPrinted()).print().outcome;
    ASSERT_TRUE(outcome.ok()) << outcome.error.toStdString();
    EXPECT_EQ(outcome.target, PrintOutcome::Target::Pdf);
    EXPECT_EQ(outcome.pages, 2);
    EXPECT_EQ(PdfPages(outcome.pdfPath), 2);
}

TEST_F(CouponTest, NothingBeingPrintedPrintsNothing)
{
    AddCoupon(57);
    AddGames(57, 2);
    ASSERT_FALSE(CouponStore::IssueCoupons(57, 1, 2).refusal.has_value());
    CouponStore::FinishIssue();
    EXPECT_EQ(ReadCouponPages(CouponStore::BeingPrinted()).print().outcome.target, PrintOutcome::Target::Nothing);
    EXPECT_TRUE(install.launcher.urls.isEmpty());
}

TEST_F(CouponTest, TheListFiltersSortsAndPages)
{
    AddCoupon(57);
    AddGames(57, 21);
    ASSERT_FALSE(CouponStore::IssueCoupons(57, 2, 5).refusal.has_value()); // coupons 22, 23
    CouponStore::FinishIssue();
    CouponStore::CalcCouponRanks(57);
    EXPECT_EQ(CouponStore::CountMatching(57, CouponStore::Filter::All), 21);
    EXPECT_EQ(CouponStore::CountMatching(57, CouponStore::Filter::Issued), 10);
    EXPECT_EQ(CouponStore::CountMatching(57, CouponStore::Filter::Unissued), 11);
    // Against 01–06 + 07 the issued games 01 02 03 04 05 x are ranks 1, 2, then 3.
    EXPECT_EQ(CouponStore::CountMatching(57, CouponStore::Filter::Won), 10);

    // Newest coupon first, its games in position order, the unissued games last.
    const auto first = CouponStore::GamesPage(57, CouponStore::Filter::All, CouponStore::Order::IssueOrder, 1, 10);
    ASSERT_EQ(first.size(), 10u);
    EXPECT_EQ(first[0].sNo1, 23);
    EXPECT_EQ(first[0].sNo2, u"1"_s);
    EXPECT_EQ(first[5].sNo1, 22);
    // 21 games in pages of 10: page 3 holds one; two fewer and page 3 becomes page 2 of 2.
    EXPECT_EQ(CouponStore::PageOf(21, 3, 10).pages, 3);
    EXPECT_EQ(CouponStore::PageOf(19, 3, 10).page, 2);
    const auto last = CouponStore::GamesPage(57, CouponStore::Filter::All, CouponStore::Order::IssueOrder, 3, 10);
    ASSERT_EQ(last.size(), 1u);
    EXPECT_TRUE(last[0].date1.isEmpty());
    const auto byRank = CouponStore::Games(57, CouponStore::Filter::Won, CouponStore::Order::Rank);
    EXPECT_EQ(byRank.front().top1, u"1"_s);
    EXPECT_EQ(byRank[1].top1, u"2"_s);
    EXPECT_EQ(byRank.back().top1, u"3"_s);
}
