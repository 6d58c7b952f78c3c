#pragma once

#include "DrawStats.h"
#include "GameRules.h"
#include "SeededRandom.h"

#include <QString>

#include <cstdint>
#include <vector>

// Number filters on generated games (sums, odd and high numbers, runs, last digits, past draws), how many
// games they leave, and a generator that draws uniformly among those games.
namespace GameFilter {

inline constexpr qint64 kAllGames = 8'145'060; // 45 choose 6
inline constexpr int kHighFrom = 23; // 23 to 45 are the high numbers

struct Settings
{
    bool enabled = false; // off: a run knows no filter at all
    int sumMin = 21;
    int sumMax = 255;
    int oddMin = 0;
    int oddMax = 6;
    int highMin = 0;
    int highMax = 6;
    int runMax = 6; // the longest run of consecutive numbers
    int endingMax = 5; // numbers sharing one last digit (five at most can)
    bool skipPastWinners = false;
    int overlapMax = 6; // numbers shared with the last draw

    bool operator==(const Settings&) const = default;
};

using Mask = std::uint64_t; // bit n stands for the number n
Mask MaskOf(const std::array<int, 6>& numbers);

// What the filters look at in a game.
struct Features
{
    int sum = 0;
    int odd = 0;
    int high = 0;
    int run = 0;
    int ending = 0;
};
Features FeaturesOf(Mask game);

// The past draws a run compares with.
struct History
{
    std::vector<Mask> winners; // the six of every past draw, sorted
    Mask lastDraw = 0; // the latest draw's six; nothing before the first draw

    static History of(const std::vector<DrawStats::Draw>& draws);
    bool isWinner(Mask game) const;
};

// Whether one game passes the filters (the settings' own, not the required and excluded numbers); `last`
// is the draw its overlap is counted against. Everything passes while the filters are off.
bool Passes(const Settings& settings, Mask game, Mask last);

// The games the required and excluded numbers allow, before any filter.
qint64 CountAllowed(const NumberSet& required, const NumberSet& excluded);
// Exactly how many games the required and excluded numbers and the filters allow together.
qint64
CountPassing(const Settings& settings, const NumberSet& required, const NumberSet& excluded, const History& history);

// How many winners of the last `last` draws (every draw for 0, or when there are fewer) pass the filters:
// what a filter would have cost in the past. Each draw's overlap is counted against the draw before it, as
// a run's is against the latest; the exclusion of past winners is left out, as every one of them is one.
struct PastPasses
{
    int passed = 0;
    int draws = 0;
};
PastPasses CountPastPasses(const Settings& settings, const std::vector<DrawStats::Draw>& draws, int last);

QString PassingText(qint64 passing); // "통과 조합: 12,345 / 8,145,060 (0.15 %)"
QString PastText(const PastPasses& past); // "지난 회차 통과: 37 / 100"
// Why no game can come out of a run whose settings allow none.
QString NothingPassesMessage(const Settings& settings);

// Draws games uniformly among those the numbers and the filters allow. While the filters are off it draws
// exactly as GameRules::Generator does from the same seed. With them on it draws that way and throws back
// what fails, unless few games pass (fewer than one in kListBelow of those the numbers allow): those are
// then listed once and drawn from the list. The choice depends on the counts alone, so that a seed gives
// the same games on every machine however fast it is.
class Generator
{
public:
    static constexpr qint64 kListBelow = 16;

    Generator(const Settings& settings,
              const NumberSet& required,
              const NumberSet& excluded,
              const History& history,
              std::uint64_t seed);
    // The games that can come out; next() throws std::logic_error when there are none.
    qint64 passing() const { return m_passing; }
    bool drawsFromList() const { return !m_list.empty(); }
    Game next();

private:
    Settings m_settings;
    NumberSet m_required;
    NumberSet m_excluded;
    History m_history;
    GameRules::Generator m_draws;
    SeededRandom m_random;
    qint64 m_passing = 0;
    std::vector<Mask> m_list;
};

} // namespace GameFilter
