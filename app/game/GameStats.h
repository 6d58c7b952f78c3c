#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The two statistics beside the game list: how often each number occurs in the list ("추첨번호"), and
// how often it has been among the winning numbers of past draws ("당첨번호 출현빈도").
namespace GameStats {

using Counts = std::array<qint64, 46>; // index 1..45

// Occurrences ÷ (games × 6) × 100 as "##0.00"; "0" for a reset row.
QString ListShare(qint64 occurrences, qint64 games);

// The six numbers of a 12-digit game or draw text (the bonus, if any, is not read).
void CountText(const QString& text, Counts& counts);

struct DrawFrequency
{
    Counts counts {};
    qint64 total = 0; // six per draw, numbers or not
    qint64 top = 0;

    void addDraw(const QString& drawText);
    // "13.3%:**********": the share as "##0.0" and up to 15 asterisks, the most frequent number getting
    // all 15 (halves rounded to even). Empty while there is no draw at all.
    QString bar(int number) const;
};
// Every draw row of the system database, one still on sale as well (it counts six to the total).
DrawFrequency ReadDrawFrequency();

} // namespace GameStats
