#include "Rank.h"

#include "DrawText.h"
#include "Game.h"

#include <algorithm>
#include <bit>

using namespace Qt::StringLiterals;

QString RankOfGame(const QString& drawText, const QString& gameText)
{
    // Only whole two-character pieces take part, so a short or empty text can never match itself.
    const QStringList game = GameText::Pieces(gameText);
    const QStringList draw = GameText::Pieces(drawText, 7);
    int matches = 0;
    for (const QString& number : game) {
        if (number.size() != 2)
            continue;
        for (qsizetype q = 0; q < std::min<qsizetype>(draw.size(), 6); ++q) {
            if (number == draw[q])
                ++matches;
        }
    }
    switch (matches) {
    case 6:
        return u"1"_s;
    case 5: {
        const QString bonus = draw.value(6);
        return bonus.size() == 2 && game.contains(bonus) ? u"2"_s : u"3"_s;
    }
    case 4:
        return u"4"_s;
    case 3:
        return u"5"_s;
    default:
        return u"0"_s;
    }
}

FastRank::FastRank(const QString& drawText)
    : m_drawText(drawText)
    , m_valid(DrawText::IsResult(drawText))
{
    // A malformed draw leaves every game to the rule as written.
    for (int i = 0; i < 6 && m_valid; ++i)
        m_winning |= std::uint64_t(1) << GameText::NumberAt(drawText, i);
    m_bonus = m_valid ? GameText::NumberAt(drawText, 6) : 0;
}

namespace {

int code(QChar c) { return c.unicode(); }
int code(char c) { return static_cast<unsigned char>(c); }

// The numbers of a game as a bit mask, or 0 when the text is anything but six different numbers from 1 to
// 45 in two digits each (more characters may follow, as the rule as written allows).
template <typename Text> std::uint64_t gameMask(const Text& text)
{
    if (text.size() < 12)
        return 0;
    std::uint64_t game = 0;
    for (int i = 0; i < 6; ++i) {
        const int a = code(text[i * 2]) - '0';
        const int b = code(text[i * 2 + 1]) - '0';
        const int n = a >= 0 && a <= 9 && b >= 0 && b <= 9 ? a * 10 + b : 0;
        if (n < 1 || n > 45 || (game & (std::uint64_t(1) << n)))
            return 0;
        game |= std::uint64_t(1) << n;
    }
    return game;
}

} // namespace

char FastRank::rankOf(const QString& gameText) const
{
    const std::uint64_t game = m_valid ? gameMask(QStringView(gameText)) : 0;
    // Anything unusual goes through the rule as written.
    if (game == 0)
        return char(RankOfGame(m_drawText, gameText).at(0).toLatin1());
    return rankOfMask(game);
}

char FastRank::rankOf(QByteArrayView gameText) const
{
    const std::uint64_t game = m_valid ? gameMask(gameText) : 0;
    if (game == 0)
        return rankOf(QString::fromUtf8(gameText));
    return rankOfMask(game);
}

char FastRank::rankOfMask(std::uint64_t game) const
{
    switch (std::popcount(game & m_winning)) {
    case 6:
        return '1';
    case 5:
        return m_bonus >= 1 && m_bonus <= 45 && (game & (std::uint64_t(1) << m_bonus)) ? '2' : '3';
    case 4:
        return '4';
    case 3:
        return '5';
    default:
        return '0';
    }
}

QString RankText(const QString& top1, RankStyle style)
{
    if (top1 == u"0"_s)
        return QString();
    if (top1 == u"9"_s)
        return u"-"_s;
    return style == RankStyle::WithSyllable ? top1 + u'등' : top1;
}
