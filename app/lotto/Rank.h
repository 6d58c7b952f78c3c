#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>

// The Lotto 6/45 rank of a game against a draw, and how a rank is written. A rank is kept as one
// character (`Top1`): "1" to "5" won, "0" lost, "9" not ranked yet.

// The rank of a 12-digit game text against a 14-digit draw text (six numbers, then the bonus): "1" to
// "5", or "0" for a losing game. Only whole two-character pieces take part.
QString RankOfGame(const QString& drawText, const QString& gameText);

// The same rule on bit masks, for a draw text DrawText accepts: a million games are ranked in a blink.
// Any other draw text, or a game that is not six different numbers, goes through RankOfGame.
class FastRank
{
public:
    explicit FastRank(const QString& drawText);
    // "1" … "5" or "0".
    char rankOf(const QString& gameText) const;
    // The same for the text as SQLite keeps it (UTF-8).
    char rankOf(QByteArrayView gameText) const;

private:
    char rankOfMask(std::uint64_t game) const;

    std::uint64_t m_winning = 0;
    int m_bonus = 0;
    QString m_drawText;
    bool m_valid = false;
};

// A rank as the lists show it: nothing for a lost game, "-" for one not ranked yet, else the rank, with
// the syllable where the list has no column title saying so ("3등") or bare ("3").
enum class RankStyle { Bare, WithSyllable };
QString RankText(const QString& top1, RankStyle style);
