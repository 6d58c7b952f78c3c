#pragma once

#include "Game.h"
#include "SeededRandom.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace GameRules {

inline constexpr int kMaxRequired = 5;
inline constexpr int kMaxExcluded = 35;
inline constexpr int kMemberMaxCount = 999;
inline constexpr int kAdminMaxCount = 32767; // the list's 16-bit row count

// The count box's text as the program reads it: blank or not a number becomes 5; a number is rounded to
// the nearest whole number (halves to the even one). Full-width digits count as digits.
struct Count
{
    std::optional<qint64> value; // nothing: not a number
    QString text; // what the box shows afterwards
};
Count ReadCount(const QString& text);
// A count within what the user may generate: 1–999, or 1–32,767 for the administrator.
bool CountAllowed(qint64 count, bool administrator);
QString CountRangeMessage(bool administrator);

// "+5" and "-5" on the count box.
QString StepUp(const QString& text);
QString StepDown(const QString& text);

// Draws n games: the required numbers in every game, never an excluded one, the rest uniform among
// what is left. Caller checks the limits (at most 5 required, 35 excluded, disjoint).
class Generator
{
public:
    explicit Generator(std::uint64_t seed);
    Game next(const NumberSet& required, const NumberSet& excluded);

private:
    SeededRandom m_random;
};

// A seed from the program's clock, new at every run.
std::uint64_t ClockSeed();

// For each row of a list, how many rows (itself included) hold the same game, and how many rows stand in
// a repeat, all copies counted. Linear, however long the list.
struct Duplicates
{
    std::vector<int> perRow;
    int rowsInRepeats = 0;
};
Duplicates FindDuplicates(const QStringList& keys);
// The rows to keep of a list sorted by key: the first of each run of equal keys.
std::vector<int> FirstOfEachRun(const QStringList& sortedKeys);

} // namespace GameRules
