#include "DrawGames.h"

#include "Globals.h"
#include "RowReader.h"

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

// Forty bytes a game: a draw beyond this is left to SQLite rather than held in memory.
constexpr qsizetype kMostKept = 5'000'000;

struct Kept
{
    qint64 drawNo = 0;
    QString stamp; // empty: nothing kept
    std::shared_ptr<const DrawGames> image; // null for a draw found not to be of the plain form
};

Kept& kept()
{
    static Kept k;
    return k;
}

struct KeyedPosition
{
    quint64 key;
    quint32 position;
};

// Sorts the positions by their keys, keeping the order they came in among equal keys: a radix sort, a
// million keys in a few passes over memory rather than a comparison sort.
void StableSortByKey(std::vector<KeyedPosition>& items)
{
    constexpr int kBits = 11;
    constexpr quint64 kMask = (quint64(1) << kBits) - 1;
    quint64 all = 0;
    for (const KeyedPosition& item : items)
        all |= item.key;
    std::vector<KeyedPosition> other(items.size());
    for (int shift = 0; shift < 64 && (all >> shift) != 0; shift += kBits) {
        std::array<size_t, kMask + 2> at {};
        for (const KeyedPosition& item : items)
            ++at[((item.key >> shift) & kMask) + 1];
        if (std::count(at.begin(), at.end(), items.size()) == 1)
            continue; // every key has the same digit here
        for (size_t d = 1; d < at.size(); ++d)
            at[d] += at[d - 1];
        for (const KeyedPosition& item : items)
            other[at[(item.key >> shift) & kMask]++] = item;
        items.swap(other);
    }
}

} // namespace

std::optional<std::vector<DrawGames::Game>> DrawGames::readFrom(const Connection& connection, qint64 drawNo)
{
    std::vector<Game> games;
    {
        // Room for the games the draw's row counts, so that a million are not copied as the list grows.
        RowReader count(connection, u"SELECT Count1 FROM Bok1 WHERE BokNo = ?"_s);
        count.run({drawNo});
        if (count.next() && count.isInteger(0))
            games.reserve(size_t(std::clamp<qint64>(count.integer(0), 0, kMostKept)));
    }
    RowReader q(connection, u"SELECT No1, Top1, Kum1, SNo1, GNo1 FROM List1 WHERE BokNo = ? ORDER BY SNo1"_s);
    q.run({drawNo});
    while (q.next()) {
        if (qsizetype(games.size()) >= kMostKept)
            return std::nullopt;
        const QByteArrayView no1 = q.utf8(0);
        const QByteArrayView top1 = q.utf8(1);
        if (q.isNull(0) || q.isNull(1) || no1.size() != 12 || top1.size() != 1
            || static_cast<unsigned char>(top1[0]) >= 0x80 || !q.isInteger(2) || !q.isInteger(3) || !q.isInteger(4))
            return std::nullopt;
        quint64 number = 0;
        for (const char c : no1) {
            if (c < '0' || c > '9')
                return std::nullopt;
            number = number * 10 + quint64(c - '0');
        }
        games.push_back({number, q.integer(3), q.integer(2), q.integer(4), top1[0]});
    }
    return games;
}

DrawGames::DrawGames(qint64 drawNo, std::vector<Game> games)
    : m_drawNo(drawNo)
    , m_games(std::move(games))
{
    std::vector<KeyedPosition> items;
    items.reserve(m_games.size());
    for (size_t i = 0; i < m_games.size(); ++i)
        items.push_back({m_games[i].number, quint32(i)});
    // The games come in serial order: a stable sort leaves ties so.
    StableSortByKey(items);
    m_byNumber.reserve(items.size());
    for (const KeyedPosition& item : items)
        m_byNumber.push_back(item.position);
}

std::shared_ptr<const DrawGames> DrawGames::read(qint64 drawNo)
{
    const QString stamp = ContentStamp(gUserConn);
    if (stamp.isEmpty())
        return nullptr;
    Kept& k = kept();
    if (k.drawNo == drawNo && k.stamp == stamp)
        return k.image;
    k = {};
    std::optional<std::vector<Game>> games = readFrom(gUserConn, drawNo);
    k = {drawNo, stamp, games ? std::make_shared<const DrawGames>(drawNo, std::move(*games)) : nullptr};
    return k.image;
}

std::shared_ptr<const DrawGames> DrawGames::cached(qint64 drawNo)
{
    const Kept& k = kept();
    return k.image && k.drawNo == drawNo && k.stamp == ContentStamp(gUserConn) ? k.image : nullptr;
}

void DrawGames::keep(std::shared_ptr<const DrawGames> games)
{
    if (games)
        kept() = {games->drawNo(), ContentStamp(gUserConn), std::move(games)};
}

void DrawGames::forget() { kept() = {}; }

std::vector<qint64> DrawGames::groups() const
{
    std::vector<qint64> groups;
    for (const Game& g : m_games) {
        // Games of one save sit together: most steps see the group just seen.
        if (groups.empty() || groups.back() != g.group)
            groups.push_back(g.group);
    }
    std::sort(groups.begin(), groups.end());
    groups.erase(std::unique(groups.begin(), groups.end()), groups.end());
    return groups;
}

QString DrawGames::numberText(quint64 number)
{
    char16_t digits[12];
    for (int i = 11; i >= 0; --i, number /= 10)
        digits[i] = char16_t(u'0' + number % 10);
    return QString::fromUtf16(digits, 12);
}
