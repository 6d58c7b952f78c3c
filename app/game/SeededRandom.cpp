#include "SeededRandom.h"

#include "GameRules.h"

#include <limits>

using namespace Qt::StringLiterals;

SeededRandom::SeededRandom(std::uint64_t seed)
{
    std::uint64_t z = seed + 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    m_state = z ? z : 0x9E3779B97F4A7C15ULL;
}

std::uint64_t SeededRandom::next()
{
    m_state ^= m_state >> 12;
    m_state ^= m_state << 25;
    m_state ^= m_state >> 27;
    return m_state * 0x2545F4914F6CDD1DULL;
}

std::uint64_t SeededRandom::below(std::uint64_t n)
{
    const std::uint64_t threshold = (0 - n) % n; // 2^64 mod n
    std::uint64_t r = next();
    while (r < threshold)
        r = next();
    return r % n;
}

namespace Seed {

std::uint64_t Fresh() { return GameRules::ClockSeed() % 1'000'000'000ULL; }

std::optional<std::uint64_t> Read(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 20)
        return std::nullopt;
    std::uint64_t value = 0;
    for (QChar c : t) {
        const int digit = c.isDigit() ? c.digitValue() : -1; // full-width digits too, not superscripts
        if (digit < 0)
            return std::nullopt;
        if (value > (std::numeric_limits<std::uint64_t>::max() - std::uint64_t(digit)) / 10)
            return std::nullopt;
        value = value * 10 + std::uint64_t(digit);
    }
    return value;
}

QString Text(std::uint64_t seed) { return QString::number(seed); }

QString Problem() { return u"씨앗은 0부터 18446744073709551615까지의 정수로 입력하여 주십시오."_s; }

} // namespace Seed
