#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <bitset>
#include <optional>

// A Lotto 6/45 game: six distinct numbers from 1 to 45, ascending.
struct Game
{
    std::array<int, 6> numbers {};

    // "031119243845", as games are stored and as a list row's key reads.
    QString key() const;
    // "03.11.19.24.38.45", as the pad and the exports show it.
    QString dotted() const;
    // The six cells of a list row: "03", "11", …
    QStringList cells() const;
    static std::optional<Game> fromKey(const QString& key);
    static std::optional<Game> fromDotted(const QString& text);
};

using NumberSet = std::bitset<46>; // index 1..45

// Games and draws are kept as texts of two-digit numbers ("031119243845", a draw's bonus last). These read
// them as the program always has, whatever the text holds: a piece the text is too short for is left out.
namespace GameText {

// The number of the two-digit piece at index (from 0), or -1 when the text has no two digits there.
int NumberAt(QStringView text, int index);
// The first `count` pieces of two characters.
QStringList Pieces(const QString& text, int count = 6);
// "03.11.19.24.38.45": the pieces of a game joined by dots.
QString Dotted(const QString& text);

} // namespace GameText
