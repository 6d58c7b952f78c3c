#include "GameRules.h"

#include "Clock.h"
#include "Tools.h"

#include <QHash>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace GameRules {

Count ReadCount(const QString& text)
{
    const std::optional<double> value = NumericValue(text);
    if (!value)
        return {std::nullopt, u"5"_s};
    return {RoundHalfEven(*value), text};
}

bool CountAllowed(qint64 count, bool administrator)
{
    return count >= 1 && count <= (administrator ? kAdminMaxCount : kMemberMaxCount);
}

QString CountRangeMessage(bool administrator)
{
    return u"숫자가 올바르지 않습니다. (범위: 1부터 "_s
        + QString::number(administrator ? kAdminMaxCount : kMemberMaxCount) + u"까지)"_s;
}

QString StepUp(const QString& text)
{
    const std::optional<double> value = NumericValue(text);
    if (!value || *value < 1 || *value > kMemberMaxCount)
        return u"5"_s;
    return QString::number(RoundHalfEven(*value) + 5);
}

QString StepDown(const QString& text)
{
    const std::optional<double> value = NumericValue(text);
    if (!value || *value < 1 || *value > kMemberMaxCount)
        return u"5"_s;
    const qint64 down = RoundHalfEven(*value) - 5;
    return down < 1 ? u"5"_s : QString::number(down);
}

Generator::Generator(std::uint64_t seed)
    : m_random(seed)
{
}

Game Generator::next(const NumberSet& required, const NumberSet& excluded)
{
    std::array<int, 6> g {};
    NumberSet used;
    size_t j = 0;
    for (int n = 1; n <= 45 && j < 6; ++n) {
        if (required[size_t(n)]) {
            g[j++] = n;
            used.set(size_t(n));
        }
    }
    for (; j < 6; ++j) {
        int x = 0;
        do {
            x = int(m_random.below(45)) + 1;
        } while (used[size_t(x)] || excluded[size_t(x)]);
        g[j] = x;
        used.set(size_t(x));
    }
    Game game {g};
    std::sort(game.numbers.begin(), game.numbers.end());
    return game;
}

std::uint64_t ClockSeed()
{
    const QDateTime now = Clock::now();
    return std::uint64_t(now.toMSecsSinceEpoch()) * 0x9E3779B97F4A7C15ULL + std::uint64_t(now.time().msec()) + 1;
}

Duplicates FindDuplicates(const QStringList& keys)
{
    QHash<QString, int> counts;
    counts.reserve(keys.size());
    for (const QString& key : keys)
        ++counts[key];
    Duplicates found;
    found.perRow.reserve(size_t(keys.size()));
    for (const QString& key : keys) {
        const int h = counts.value(key);
        found.perRow.push_back(h);
        if (h > 1)
            ++found.rowsInRepeats;
    }
    return found;
}

std::vector<int> FirstOfEachRun(const QStringList& sortedKeys)
{
    std::vector<int> keep;
    for (qsizetype i = 0; i < sortedKeys.size(); ++i) {
        if (i == 0 || sortedKeys[i] != sortedKeys[i - 1])
            keep.push_back(int(i));
    }
    return keep;
}

} // namespace GameRules
