#pragma once

#include "Connection.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

// Every game of one draw, read from the member's file in one pass and kept in memory while the file is
// unchanged: the count, the groups, the list's order and pages, the export and the rank pass all come from
// it instead of a pass over the draw each (a draw may hold a million games, and the file keeps no index on
// the numbers or the groups that every saved game would have to write).
//
// Only games of the one plain form are kept so: twelve digits and a rank of one character, as the program
// writes them. A draw holding anything else (or too many games to keep) has no image; its callers then ask
// SQLite as before.
class DrawGames
{
public:
    struct Game
    {
        quint64 number; // the twelve digits read as one number: the same order as the text
        qint64 serial; // SNo1
        qint64 prize; // Kum1
        qint64 group; // GNo1
        char rank; // Top1
    };

    // The draw's games in the order of their serials, from the image kept if the file has not changed
    // since, or read now. Null when the draw is not of the plain form. Throws SqlError.
    static std::shared_ptr<const DrawGames> read(qint64 drawNo);
    // The image kept for the draw if the file has not changed since it was read; never reads.
    static std::shared_ptr<const DrawGames> cached(qint64 drawNo);
    // The draw's games read on this connection (any thread's own), as read() reads them; nothing is kept.
    static std::optional<std::vector<Game>> readFrom(const Connection& connection, qint64 drawNo);
    // Keeps the games as the member's file has them now, after a change this program committed.
    static void keep(std::shared_ptr<const DrawGames> games);
    // Lets go of the games kept (forty bytes a game): nothing on screen shows them any more.
    static void forget();

    qint64 drawNo() const { return m_drawNo; }
    const std::vector<Game>& games() const { return m_games; }
    // Positions in games() in the order of the numbers, games of the same numbers by serial: the list's
    // usual order, made once when the games are read (on whichever thread reads them).
    const std::vector<quint32>& byNumber() const { return m_byNumber; }
    // The group numbers among the games, ascending.
    std::vector<qint64> groups() const;

    // "010203040506" from its number.
    static QString numberText(quint64 number);

    DrawGames(qint64 drawNo, std::vector<Game> games);

private:
    qint64 m_drawNo;
    std::vector<Game> m_games;
    std::vector<quint32> m_byNumber;
};
