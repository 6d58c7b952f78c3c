#pragma once

#include <QString>

#include <array>
#include <optional>
#include <vector>

// The numbers of past draws as charts show them: how often each number came up over the last draws, the
// hot and cold numbers among them, and how the sums and the odd/even splits of the winning six fell.
namespace DrawStats {

struct Draw
{
    qint64 drawNo = 0;
    std::array<int, 6> numbers {}; // ascending
    int bonus = 0;
};

// The drawn draws of the system database in draw order. A draw still on sale, or one whose stored
// result is not six different numbers and a bonus from 1 to 45, is left out rather than counted.
std::vector<Draw> ReadDraws();
// "03111924384507": six numbers and the bonus, as BokList keeps them.
std::optional<Draw> ParseDraw(qint64 drawNo, const QString& no1);

inline constexpr int kMarked = 6; // hot and cold numbers shown at each end
inline constexpr int kSumLow = 21; // 1+2+…+6
inline constexpr int kSumHigh = 255; // 40+41+…+45
inline constexpr int kSumStep = 20;
inline constexpr int kSumBins = (kSumHigh - kSumLow) / kSumStep + 1;

enum class Mark { None, Hot, Cold };

struct Summary
{
    int draws = 0; // in the range
    qint64 firstDraw = 0;
    qint64 lastDraw = 0;
    std::array<qint64, 46> counts {}; // index 1..45
    std::array<Mark, 46> marks {};
    std::array<qint64, kSumBins> sums {}; // the winning six's sum, kSumLow + i × kSumStep onwards
    std::array<qint64, 7> odd {}; // draws by how many of the winning six are odd

    std::vector<int> numbers(Mark mark) const; // ascending
};

// The last `last` draws (all of them for 0, or when there are fewer). The bonus is counted among the
// numbers only when asked; sums and splits are of the six winning numbers.
Summary Summarise(const std::vector<Draw>& draws, int last, bool withBonus);

QString SumLabel(int bin); // "21~40", …, "241~255"

} // namespace DrawStats
