#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The generator's random numbers, written out in full so that a seed gives the same games on every machine
// and with every compiler: the standard library's distributions may differ between implementations, these
// steps cannot.
//
// - The seed is spread over the state with one step of splitmix64 (so that 1, 2, 3 … start far apart); a
//   state of 0, which xorshift never leaves, becomes 0x9E3779B97F4A7C15.
// - Each number is xorshift64* (shifts 12, 25, 27; multiplier 0x2545F4914F6CDD1D), all 64 bits.
// - below(n) is unbiased: a number r is taken only if r ≥ 2^64 mod n, which leaves a multiple of n
//   equally likely values, and the answer is r mod n.
class SeededRandom
{
public:
    explicit SeededRandom(std::uint64_t seed);
    std::uint64_t next();
    // Uniform in 0 … n − 1; n ≥ 1.
    std::uint64_t below(std::uint64_t n);

private:
    std::uint64_t m_state;
};

namespace Seed {

// A seed for a run whose seed box is empty: from the program's clock, short enough to copy by hand.
std::uint64_t Fresh();
// The seed box's text: a whole number from 0 to 18446744073709551615, blanks around allowed; nothing
// otherwise.
std::optional<std::uint64_t> Read(const QString& text);
QString Text(std::uint64_t seed);
// Why the box's text is no seed.
QString Problem();

} // namespace Seed
