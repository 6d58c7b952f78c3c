#include "DemoData.h"

#include "Game.h"
#include "Rank.h"
#include "SetupError.h"
#include "Tools.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <numeric>
#include <random>

using namespace Qt::StringLiterals;

// The setup library is static: its resources must be registered by hand, outside any namespace.
static bool registerSetupResources()
{
    Q_INIT_RESOURCE(setup);
    return true;
}

namespace DemoData {

QString Draw::drawText() const
{
    QString text;
    for (int number : numbers)
        text += QString::number(number).rightJustified(2, u'0');
    return text + QString::number(bonus).rightJustified(2, u'0');
}

QDate drawDate(int drawNo) { return QDate(2002, 12, 7).addDays(7 * qint64(drawNo - 1)); }

void loadResources()
{
    static const bool registered = registerSetupResources();
    (void)registered;
}

std::vector<Draw> ParseDraws(const QByteArray& csv)
{
    std::vector<Draw> draws;
    const QList<QByteArray> lines = csv.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) { // after the column names
        const QStringList f = QString::fromLatin1(lines[i]).trimmed().split(u',');
        if (f.size() == 1 && f[0].isEmpty())
            continue;
        if (f.size() < 19)
            throw SetupError(u"추첨 결과 자료의 형식이 잘못되었습니다: "_s + f.join(u','));
        Draw d;
        d.drawNo = f[0].toInt();
        d.date = QDate::fromString(f[1], u"yyyyMMdd"_s);
        for (int i = 0; i < 6; ++i)
            d.numbers[size_t(i)] = f[2 + i].toInt();
        d.bonus = f[8].toInt();
        for (int rank = 0; rank < 5; ++rank) {
            d.winners[size_t(rank)] = f[9 + 2 * rank].toLongLong();
            d.prizes[size_t(rank)] = f[10 + 2 * rank].toLongLong();
        }
        if (d.drawNo != int(draws.size()) + 1 || d.date != drawDate(d.drawNo))
            throw SetupError(u"추첨 결과 자료의 회차나 날짜가 맞지 않습니다: "_s + f[0]);
        draws.push_back(d);
    }
    return draws;
}

static std::vector<Draw> loadDraws()
{
    loadResources();
    QFile file(u":/setup/lotto645-draws-0001-1200.csv"_s);
    if (!file.open(QIODevice::ReadOnly))
        throw SetupError(u"추첨 결과 자료를 읽을 수 없습니다."_s);
    return ParseDraws(file.readAll());
}

const std::vector<Draw>& draws()
{
    static const std::vector<Draw> all = loadDraws();
    return all;
}

const std::vector<Member>& members()
{
    static const std::vector<Member> all = {
        {u"chief"_s,
         u"chief"_s,
         u"운영자"_s,
         u"7001011000001"_s,
         u"chief@suriball.example"_s,
         u"9"_s,
         u"1"_s,
         u"pbkdf2-sha256$60000$KI/wMv9AvfpGolSJJhmTRQ==$XnUuiXdCa68Y4CciWazFKWs/xRo6MwMutJ5N0BStPoU="_s,
         u"$2a$10$CNjTVEyXrFBw3K8gUDZsteEgS6d6wzUzsQD5YLUv7z5cE9vXjY3ya"_s},
        {u"shop7"_s,
         u"shop7"_s,
         u"행운복권방"_s,
         u"7507072000002"_s,
         u"shop7@suriball.example"_s,
         u"2"_s,
         u"1"_s,
         u"pbkdf2-sha256$60000$Twvb2CcDrPGzCHT88Vp8lQ==$YTWOUwBPbl4mBcZtTnBQfhUauRT8H1aLGtTc7tQGUbs="_s,
         u"$2a$10$rX616OBfZdBtci/8K3.sdOydzGcRC7iYQzLhX.yQ4h9cJHe/Ghl/e"_s},
        {u"player"_s,
         u"player"_s,
         u"김한결"_s,
         u"8203151000003"_s,
         u"player@suriball.example"_s,
         u"1"_s,
         u"1"_s,
         u"pbkdf2-sha256$60000$OMAGkqahgF3DwvVXEePToQ==$a1Bf/AjFIFDSeYraKZ+r82fCjPNtzkr12/w5q5UFwXg="_s,
         u"$2a$10$dRYXiXynnnso6XFoAPUNMeYfPSYISIhPelS8j6u5ELDQePXFITMJK"_s},
        {u"gone"_s,
         u"gone"_s,
         u"이떠남"_s,
         u"9011112000004"_s,
         u"gone@suriball.example"_s,
         u"1"_s,
         u"2"_s,
         u"pbkdf2-sha256$60000$rrJ+m7j7T7d7+G916TjrwA==$WGwPWQwOiRsc8LJPggjk2DX9pDhXn+UFfn9loCqsoBg="_s,
         u"$2a$10$i3ZJyAZuk03xJCJhs/spxuvXfZ4bMBNvGf6tPcciqlnu2Cofhq/Xq"_s},
    };
    return all;
}

const std::vector<PromoLine>& promoLines()
{
    static const std::vector<PromoLine> all = {
        {u"[수리볼] 복권금고에 게임을 보관하고 추첨 후 당첨을 바로 확인하세요"_s,
         u"suriball.example/safe"_s,
         u"2"_s,
         u"1"_s,
         50},
        {u"[판매점] 복권쿠폰 한 장에 다섯 게임, 한 쪽에 여섯 장을 인쇄합니다"_s,
         u"suriball.example/coupon"_s,
         u"2"_s,
         u"1"_s,
         40},
        {u"[통계] 지난 추첨의 번호별 출현 횟수를 로또게임 창에서 보세요"_s,
         u"suriball.example/stats"_s,
         u"2"_s,
         u"1"_s,
         30},
        {u"[안내] 제1201회 추첨은 2025년 12월 6일 토요일입니다"_s, u"suriball.example/notice"_s, u"2"_s, u"1"_s, 20},
        {u"[종료된 행사] 이 줄은 전광판에 나오지 않습니다"_s, u"suriball.example/old"_s, u"2"_s, u"0"_s, 99},
    };
    return all;
}

namespace {

// Games that win nothing against the draw text, the same ones at every install.
std::vector<QString> losingGames(const QString& drawText, int count, std::uint32_t seed)
{
    std::vector<QString> games;
    std::uint32_t state = seed;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    while (int(games.size()) < count) {
        std::array<int, 45> pool {};
        for (int i = 0; i < 45; ++i)
            pool[size_t(i)] = i + 1;
        for (int k = 0; k < 6; ++k)
            std::swap(pool[size_t(k)], pool[size_t(k) + next() % std::uint32_t(45 - k)]);
        std::array<int, 6> numbers {};
        std::copy_n(pool.begin(), 6, numbers.begin());
        std::sort(numbers.begin(), numbers.end());
        QString text;
        for (int n : numbers)
            text += QString::number(n).rightJustified(2, u'0');
        if (RankOfGame(drawText, text) == u"0"_s)
            games.push_back(text);
    }
    return games;
}

void numberTickets(std::vector<OrderGame>& games, qint64 perTicket)
{
    for (size_t i = 0; i < games.size(); ++i) {
        games[i].ticket = qint64(i) / perTicket + 1;
        games[i].position = QString::number(qint64(i) % perTicket + 1);
    }
}

QString orderDate(const QDate& today, int monthsBack, int hour)
{
    QDate day = today.addMonths(-monthsBack);
    if (monthsBack > 0)
        day = QDate(day.year(), day.month(), std::min(day.day(), 20));
    return day.toString(u"yyyy-MM-dd"_s) + QString(u" %1:15:00"_s).arg(hour, 2, 10, QChar(u'0'));
}

QString GameText(std::array<int, 6> numbers)
{
    std::sort(numbers.begin(), numbers.end());
    QString text;
    for (int n : numbers)
        text += QString::number(n).rightJustified(2, u'0');
    return text;
}

// Six different numbers from the generator; fixed seeds make every demo install the same.
QString RandomGame(std::mt19937& random)
{
    std::array<int, 45> all {};
    std::iota(all.begin(), all.end(), 1);
    for (size_t k = 0; k < 6; ++k)
        std::swap(all[k], all[k + random() % (45 - k)]);
    return GameText({all[0], all[1], all[2], all[3], all[4], all[5]});
}

// A game sharing `matching` numbers with the draw and none of its bonus.
QString GameMatching(const Draw& draw, int matching, std::mt19937& random)
{
    std::array<int, 6> game {};
    size_t k = 0;
    for (; k < size_t(matching); ++k)
        game[k] = draw.numbers[k];
    while (k < 6) {
        const int n = int(1 + random() % 45);
        const bool taken = std::find(draw.numbers.begin(), draw.numbers.end(), n) != draw.numbers.end()
            || n == draw.bonus
            || std::find(game.begin(), game.begin() + qsizetype(k), n) != game.begin() + qsizetype(k);
        if (!taken)
            game[k++] = n;
    }
    return GameText(game);
}

} // namespace

std::vector<Order> orders(const QDate& today)
{
    const Draw& drawn = draws().back();
    const int drawnNo = drawn.drawNo;
    const int onSale = drawnNo + 1;
    std::vector<Order> all;

    // The last drawn draw: ranks 2 and 3 stored with their prizes, the rest still pending settlement.
    Order past {101,
                u"shop7"_s,
                drawnNo,
                orderDate(today, 2, 10),
                4,
                5,
                100,
                u"4"_s,
                u"1234-5678-9012"_s,
                u"택배 완료, 고객 문의는 '행운복권방'으로"_s,
                u"행운복권방"_s,
                u"무료 복권으로 행운을 드립니다"_s,
                u"02-123-4567"_s,
                u"추첨일 다음 날부터 당첨 확인"_s,
                QString(),
                QString(),
                {}};
    const QString result = drawn.drawText();
    const QString six = result.left(12);
    auto withNumber = [&](int keep, const QList<int>& extra) -> QString {
        QList<int> numbers;
        for (int i = 0; i < keep; ++i)
            numbers.append(GameText::NumberAt(six, i));
        numbers.append(extra);
        std::sort(numbers.begin(), numbers.end());
        QString text;
        for (int n : numbers)
            text += QString::number(n).rightJustified(2, u'0');
        return text;
    };
    // Numbers outside the draw's seven: the ranks below are exactly those intended.
    QList<int> outside;
    for (int n = 45; n >= 1 && outside.size() < 3; --n) {
        bool inDraw = false;
        for (int i = 0; i < 7; ++i)
            inDraw = inDraw || GameText::NumberAt(result, i) == n;
        if (!inDraw)
            outside.append(n);
    }
    const int bonus = GameText::NumberAt(result, 6);
    past.games.push_back({withNumber(5, {bonus}), u"2"_s, 500'000, 0, {}});
    past.games.push_back({withNumber(5, {outside[0]}), u"3"_s, 100'000, 0, {}});
    past.games.push_back({withNumber(4, {outside[0], outside[1]}), u"9"_s, 0, 0, {}});
    past.games.push_back({withNumber(3, {outside[0], outside[1], outside[2]}), u"9"_s, 0, 0, {}});
    for (const QString& game : losingGames(result, 16, 1200))
        past.games.push_back({game, u"9"_s, 0, 0, {}});
    numberTickets(past.games, past.gamesPerTicket);
    all.push_back(past);

    // The draw on sale: one order filled and printed, one with its games stored, two waiting.
    Order printed {102,
                   u"shop7"_s,
                   onSale,
                   orderDate(today, 1, 14),
                   2,
                   5,
                   100,
                   u"3"_s,
                   QString(),
                   QString(),
                   u"행운복권방"_s,
                   u"이번 주 행운의 번호"_s,
                   u"02-123-4567"_s,
                   QString(),
                   QString(),
                   QString(),
                   {}};
    for (const QString& game : losingGames(result, 10, 1201))
        printed.games.push_back({game, u"9"_s, 0, 0, {}});
    numberTickets(printed.games, printed.gamesPerTicket);
    all.push_back(printed);

    Order stored = printed;
    stored.code = 103;
    stored.date = orderDate(today, 0, 9);
    stored.tickets = 3;
    stored.state = u"2"_s;
    stored.memo = u"3장 × 5게임, 인쇄 대기"_s;
    stored.games.clear();
    for (const QString& game : losingGames(result, 15, 1202))
        stored.games.push_back({game, u"9"_s, 0, 0, {}});
    numberTickets(stored.games, stored.gamesPerTicket);
    all.push_back(stored);

    Order paid = stored;
    paid.code = 104;
    paid.id = u"player"_s;
    paid.date = orderDate(today, 0, 11);
    paid.tickets = 10;
    paid.gamesPerTicket = 3;
    paid.state = u"1"_s;
    paid.memo = u"입금 확인, 게임 등록 전"_s;
    paid.shop = u"한결상회"_s;
    paid.games.clear();
    all.push_back(paid);

    Order unpaid = paid;
    unpaid.code = 105;
    unpaid.date = orderDate(today, 0, 16);
    unpaid.tickets = 20;
    unpaid.gamesPerTicket = 5;
    unpaid.state = u"0"_s;
    unpaid.memo = QString();
    all.push_back(unpaid);
    return all;
}

std::vector<FreeTicketStats> freeTicketStats(const QDate& today)
{
    std::vector<FreeTicketStats> stats;
    for (const Order& order : orders(today)) {
        auto it = std::find_if(stats.begin(), stats.end(), [&](const FreeTicketStats& s) {
            return s.drawNo == order.drawNo;
        });
        if (it == stats.end()) {
            stats.push_back({order.drawNo, 0, {}, {}});
            it = stats.end() - 1;
        }
        it->games += qint64(order.games.size());
        for (const OrderGame& game : order.games) {
            const int rank = game.top.toInt();
            if (rank >= 1 && rank <= 3) {
                ++it->winners[size_t(rank - 1)];
                it->amounts[size_t(rank - 1)] += game.prize;
            }
        }
    }
    return stats;
}

std::vector<ShopCoupon> shopCoupons()
{
    const Draw& last = draws().back();
    std::mt19937 random(1201);

    ShopCoupon past;
    past.drawNo = last.drawNo;
    past.part2 = u"복권판매점"_s;
    past.comp1 = u"행운복권방"_s;
    past.title1 = u"토요일 저녁 행운을 잡으세요!"_s;
    past.title2 = u"02-1234-5678"_s;
    past.prizes = {u"상품권 10만원"_s, u"상품권 5만원"_s, u"상품권 1만원"_s, u"음료수 1박스"_s, u"캔커피"_s};
    past.text1 = u"당첨 쿠폰을 들고 매장을 찾아주세요"_s;
    past.text2 = u"영업시간: 오전9시~오후10시"_s;
    past.memo = u"지난주 행사: 매장 방문 손님께 한 장씩"_s;
    past.issueTime = last.date.addDays(-2).toString(u"yyyy-MM-dd"_s) + u" 10:20:30"_s;
    for (int c = 0; c < 4; ++c) {
        QStringList games;
        for (int g = 0; g < 5; ++g)
            games.append(RandomGame(random));
        past.issued.push_back(games);
    }
    // A few winners among them, so that the first look at the draw shows ranks.
    past.issued[0][2] = GameMatching(last, 5, random);
    past.issued[1][0] = GameMatching(last, 4, random);
    past.issued[2][4] = GameMatching(last, 3, random);
    past.issued[3][1] = GameMatching(last, 3, random);

    ShopCoupon onSale = past;
    onSale.drawNo = last.drawNo + 1;
    onSale.title1 = u"이번주 행운의 주인공은 바로 당신!"_s;
    onSale.memo = u"이번주: 오천원 이상 구매 손님께 쿠폰 증정"_s;
    onSale.issued.clear();
    onSale.issueTime.clear();
    for (int g = 0; g < 40; ++g)
        onSale.unissued.append(RandomGame(random));
    return {onSale, past};
}

} // namespace DemoData
