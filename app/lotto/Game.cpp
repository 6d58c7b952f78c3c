#include "Game.h"

#include <algorithm>

using namespace Qt::StringLiterals;

QString Game::key() const
{
    QString text;
    text.reserve(12);
    for (int n : numbers) {
        text += QChar(u'0' + n / 10);
        text += QChar(u'0' + n % 10);
    }
    return text;
}

QString Game::dotted() const { return cells().join(u'.'); }

QStringList Game::cells() const
{
    QStringList list;
    for (int n : numbers)
        list.append(QString::number(n).rightJustified(2, u'0'));
    return list;
}

static std::optional<Game> checked(const std::array<int, 6>& numbers)
{
    Game game {numbers};
    std::sort(game.numbers.begin(), game.numbers.end());
    for (size_t i = 0; i < 6; ++i) {
        if (game.numbers[i] < 1 || game.numbers[i] > 45 || (i > 0 && game.numbers[i] == game.numbers[i - 1]))
            return std::nullopt;
    }
    return game;
}

std::optional<Game> Game::fromKey(const QString& key)
{
    if (key.size() != 12)
        return std::nullopt;
    std::array<int, 6> numbers {};
    for (int i = 0; i < 6; ++i) {
        numbers[size_t(i)] = GameText::NumberAt(key, i);
        if (numbers[size_t(i)] < 0)
            return std::nullopt;
    }
    return checked(numbers);
}

std::optional<Game> Game::fromDotted(const QString& text)
{
    const QString t = text.trimmed();
    if (t.size() != 17)
        return std::nullopt;
    QString key;
    for (int i = 0; i < 6; ++i)
        key += t.mid(i * 3, 2);
    return fromKey(key);
}

namespace GameText {

int NumberAt(QStringView text, int index)
{
    if (index < 0 || text.size() < index * 2 + 2)
        return -1;
    const char16_t a = text[index * 2].unicode();
    const char16_t b = text[index * 2 + 1].unicode();
    if (a < u'0' || a > u'9' || b < u'0' || b > u'9')
        return -1;
    return (a - u'0') * 10 + (b - u'0');
}

QStringList Pieces(const QString& text, int count)
{
    QStringList pieces;
    for (int i = 0; i < count && text.size() >= i * 2 + 1; ++i)
        pieces.append(text.mid(i * 2, 2));
    return pieces;
}

QString Dotted(const QString& text)
{
    // Written for every line of an export: no list of pieces per game.
    QString dotted;
    dotted.reserve(17);
    for (int i = 0; i < 6 && text.size() > i * 2; ++i) {
        if (i > 0)
            dotted += u'.';
        dotted += QStringView(text).mid(i * 2, 2);
    }
    return dotted;
}

} // namespace GameText
