#include "GameFilter.h"

#include "TextExport.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace GameFilter {

namespace {

// The settings as the walk reads them; with the filters off, bounds nothing can cross.
struct Limits
{
    int sumMin = 21, sumMax = 255;
    int oddMin = 0, oddMax = 6;
    int highMin = 0, highMax = 6;
    int runMax = 6, endingMax = 6, overlapMax = 6;
    Mask last = 0;
};

Limits limitsOf(const Settings& s, Mask last)
{
    if (!s.enabled)
        return {};
    return {s.sumMin, s.sumMax, s.oddMin, s.oddMax, s.highMin, s.highMax, s.runMax, s.endingMax, s.overlapMax, last};
}

Mask maskOf(const NumberSet& set)
{
    Mask mask = 0;
    for (int n = 1; n <= 45; ++n) {
        if (set[size_t(n)])
            mask |= Mask(1) << n;
    }
    return mask;
}

bool within(const Limits& l, const Features& f, int overlap)
{
    return f.sum >= l.sumMin && f.sum <= l.sumMax && f.odd >= l.oddMin && f.odd <= l.oddMax && f.high >= l.highMin
        && f.high <= l.highMax && f.run <= l.runMax && f.ending <= l.endingMax && overlap <= l.overlapMax;
}

qint64 choose(int n, int k)
{
    if (k < 0 || k > n)
        return 0;
    qint64 c = 1;
    for (int i = 1; i <= k; ++i)
        c = c * (n - k + i) / i;
    return c;
}

// Every game of the allowed numbers that holds all required ones, in ascending order of its numbers,
// carrying what the filters look at from number to number. A branch is left as soon as no game below it
// can pass: the sums are bounded by the smallest and largest numbers still to come, the counts only grow.
class Walk
{
public:
    Walk(const Limits& limits, Mask required, Mask allowed)
        : m_l(limits)
    {
        for (int n = 1; n <= 45; ++n) {
            if (allowed & (Mask(1) << n))
                m_pool[m_size++] = n;
        }
        for (int i = 0; i < m_size; ++i)
            m_prefix[i + 1] = m_prefix[i] + m_pool[i];
        m_firstRequired[m_size] = m_size;
        m_requiredFrom[m_size] = 0;
        for (int i = m_size - 1; i >= 0; --i) {
            const bool req = required & (Mask(1) << m_pool[i]);
            m_firstRequired[i] = req ? i : m_firstRequired[i + 1];
            m_requiredFrom[i] = m_requiredFrom[i + 1] + (req ? 1 : 0);
        }
    }

    // Counts the games that pass; the first `keep` of them are listed too.
    qint64 run(size_t keep, std::vector<Mask>* list)
    {
        m_keep = keep;
        m_list = list;
        m_count = 0;
        if (m_size >= 6)
            step<0>(0, State {});
        return m_count;
    }

private:
    struct State
    {
        int sum = 0, odd = 0, high = 0, overlap = 0;
        int run = 0, longest = 0, prev = -1, ending = 0;
        std::array<std::uint8_t, 10> endings {};
        Mask mask = 0;
    };

    template <int D> void step(int from, const State& s)
    {
        constexpr int rest = 5 - D; // numbers still to come after this one
        const int last = std::min(m_firstRequired[from], m_size - 1 - rest);
        const int largest = m_prefix[m_size] - m_prefix[m_size - rest];
        for (int j = from; j <= last; ++j) {
            if (m_requiredFrom[j + 1] > rest)
                continue; // a required number would be left out
            const int x = m_pool[j];
            if (s.sum + x + m_prefix[j + 1 + rest] - m_prefix[j + 1] > m_l.sumMax)
                break;
            if (s.sum + x + largest < m_l.sumMin)
                continue;
            State t = s;
            t.sum += x;
            t.odd += x & 1;
            const bool high = x >= kHighFrom;
            t.high += high ? 1 : 0;
            if (t.high + (high ? rest : 0) > m_l.highMax)
                break; // every later number is high as well
            if (t.odd > m_l.oddMax || t.odd + rest < m_l.oddMin || t.high + rest < m_l.highMin)
                continue;
            t.run = x == s.prev + 1 ? s.run + 1 : 1;
            t.longest = std::max(s.longest, t.run);
            t.ending = std::max(s.ending, int(++t.endings[size_t(x % 10)]));
            t.overlap += int((m_l.last >> x) & 1);
            if (t.longest > m_l.runMax || t.ending > m_l.endingMax || t.overlap > m_l.overlapMax)
                continue;
            t.prev = x;
            t.mask |= Mask(1) << x;
            if constexpr (D == 4)
                leaf(j + 1, t);
            else
                step<D + 1>(j + 1, t);
        }
    }

    // The sixth number, where nearly all the games are: what it adds is checked without a copy.
    void leaf(int from, const State& s)
    {
        int last = m_size - 1;
        if (m_firstRequired[from] < m_size) {
            // A required number is still to come: it is the sixth, or the game cannot be.
            from = last = m_firstRequired[from];
            if (m_requiredFrom[last + 1] > 0)
                return;
        }
        const int low = m_l.sumMin - s.sum;
        const int high = m_l.sumMax - s.sum;
        for (int j = from; j <= last; ++j) {
            const int x = m_pool[j];
            if (x > high)
                break;
            const int odd = s.odd + (x & 1);
            const int highs = s.high + (x >= kHighFrom ? 1 : 0);
            const int run = x == s.prev + 1 ? s.run + 1 : 1;
            const int overlap = s.overlap + int((m_l.last >> x) & 1);
            const bool passes = x >= low && odd >= m_l.oddMin && odd <= m_l.oddMax && highs >= m_l.highMin
                && highs <= m_l.highMax && std::max(run, s.longest) <= m_l.runMax
                && s.endings[size_t(x % 10)] < m_l.endingMax && overlap <= m_l.overlapMax;
            if (!passes)
                continue;
            if (m_list && m_list->size() < m_keep)
                m_list->push_back(s.mask | Mask(1) << x);
            ++m_count;
        }
    }

    const Limits m_l;
    std::array<int, 45> m_pool {};
    int m_size = 0;
    std::array<int, 46> m_prefix {};
    std::array<int, 46> m_firstRequired {}; // pool index of the first required number from i on
    std::array<int, 46> m_requiredFrom {}; // required numbers from pool index i on
    size_t m_keep = 0;
    std::vector<Mask>* m_list = nullptr;
    qint64 m_count = 0;
};

Game gameOf(Mask mask)
{
    Game game;
    for (int& n : game.numbers) {
        n = std::countr_zero(mask);
        mask &= mask - 1;
    }
    return game;
}

} // namespace

Mask MaskOf(const std::array<int, 6>& numbers)
{
    Mask mask = 0;
    for (int n : numbers)
        mask |= Mask(1) << n;
    return mask;
}

Features FeaturesOf(Mask game)
{
    Features f;
    std::array<int, 10> endings {};
    int run = 0;
    int prev = -1;
    for (Mask m = game; m; m &= m - 1) {
        const int n = std::countr_zero(m);
        f.sum += n;
        f.odd += n & 1;
        f.high += n >= kHighFrom ? 1 : 0;
        run = n == prev + 1 ? run + 1 : 1;
        f.run = std::max(f.run, run);
        f.ending = std::max(f.ending, ++endings[size_t(n % 10)]);
        prev = n;
    }
    return f;
}

History History::of(const std::vector<DrawStats::Draw>& draws)
{
    History history;
    for (const DrawStats::Draw& draw : draws)
        history.winners.push_back(MaskOf(draw.numbers));
    if (!draws.empty())
        history.lastDraw = history.winners.back();
    std::sort(history.winners.begin(), history.winners.end());
    history.winners.erase(std::unique(history.winners.begin(), history.winners.end()), history.winners.end());
    return history;
}

bool History::isWinner(Mask game) const { return std::binary_search(winners.begin(), winners.end(), game); }

bool Passes(const Settings& settings, Mask game, Mask last)
{
    return within(limitsOf(settings, last), FeaturesOf(game), std::popcount(game & last));
}

qint64 CountAllowed(const NumberSet& required, const NumberSet& excluded)
{
    const int free = 45 - int((required | excluded).count());
    return choose(free, 6 - int(required.count()));
}

namespace {

// The past winners the walk counted although a run may not draw them.
qint64 winnersAmong(const Settings& settings, Mask required, Mask excluded, const History& history)
{
    if (!settings.enabled || !settings.skipPastWinners)
        return 0;
    return std::count_if(history.winners.begin(), history.winners.end(), [&](Mask w) {
        return (w & required) == required && !(w & excluded) && Passes(settings, w, history.lastDraw);
    });
}

// The games the numbers allow that pass the filters, past winners among them; the first `keep` listed.
qint64 walkPassing(const Settings& settings,
                   const NumberSet& required,
                   const NumberSet& excluded,
                   const History& history,
                   size_t keep,
                   std::vector<Mask>* list)
{
    Walk walk(limitsOf(settings, history.lastDraw), maskOf(required), ~maskOf(excluded) & ~Mask(1));
    return walk.run(keep, list);
}

} // namespace

qint64
CountPassing(const Settings& settings, const NumberSet& required, const NumberSet& excluded, const History& history)
{
    if (!settings.enabled)
        return CountAllowed(required, excluded);
    return walkPassing(settings, required, excluded, history, 0, nullptr)
        - winnersAmong(settings, maskOf(required), maskOf(excluded), history);
}

PastPasses CountPastPasses(const Settings& settings, const std::vector<DrawStats::Draw>& draws, int last)
{
    const size_t size = draws.size();
    const size_t first = last > 0 && size_t(last) < size ? size - size_t(last) : 0;
    PastPasses past;
    for (size_t i = first; i < size; ++i) {
        const Mask before = i > 0 ? MaskOf(draws[i - 1].numbers) : 0;
        past.passed += Passes(settings, MaskOf(draws[i].numbers), before) ? 1 : 0;
        ++past.draws;
    }
    return past;
}

QString PassingText(qint64 passing)
{
    // Two significant digits at least, so that a tight filter does not read as 0.
    const double percent = double(passing) * 100.0 / double(kAllGames);
    int decimals = 2;
    while (passing > 0 && percent * std::pow(10.0, decimals) < 10.0)
        ++decimals;
    return u"통과 조합: "_s + Grouped(passing) + u" / "_s + Grouped(kAllGames) + u" ("_s
        + QString::number(percent, 'f', decimals) + u" %)"_s;
}

QString PastText(const PastPasses& past)
{
    return u"지난 회차 통과: "_s + Grouped(past.passed) + u" / "_s + Grouped(past.draws);
}

QString NothingPassesMessage(const Settings& s)
{
    const auto crossed = [](int min, int max, const QString& name) {
        return min > max ? name + u" 최소("_s + QString::number(min) + u")가 "_s + name + u" 최대("_s
                + QString::number(max) + u")보다 큽니다.\n"_s
                         : QString();
    };
    const QString why = crossed(s.sumMin, s.sumMax, u"합계"_s) + crossed(s.oddMin, s.oddMax, u"홀수"_s)
        + crossed(s.highMin, s.highMax, u"높은 수"_s);
    return u"번호 필터와 필수번호, 제외번호를 모두 만족하는 조합이 없습니다. (통과 조합: 0)\n"_s + why
        + u"필터 설정을 바꾸어 주십시오."_s;
}

Generator::Generator(const Settings& settings,
                     const NumberSet& required,
                     const NumberSet& excluded,
                     const History& history,
                     std::uint64_t seed)
    : m_settings(settings)
    , m_required(required)
    , m_excluded(excluded)
    , m_history(history)
    , m_draws(seed)
    , m_random(seed)
{
    const qint64 allowed = CountAllowed(required, excluded);
    if (!settings.enabled) {
        m_passing = allowed;
        return;
    }
    // One walk counts, and lists the games while they are few enough to be drawn from a list.
    const size_t keep = size_t(allowed / kListBelow);
    const qint64 walked = walkPassing(settings, required, excluded, history, keep, &m_list);
    m_passing = walked - winnersAmong(settings, maskOf(required), maskOf(excluded), history);
    if (walked >= qint64(keep) || m_passing * kListBelow >= allowed) {
        m_list.clear();
        m_list.shrink_to_fit();
        return;
    }
    if (settings.skipPastWinners)
        std::erase_if(m_list, [&](Mask game) { return history.isWinner(game); });
}

Game Generator::next()
{
    if (m_passing == 0)
        throw std::logic_error("no game passes the filters"); // drawing on would never end
    if (!m_list.empty())
        return gameOf(m_list[size_t(m_random.below(m_list.size()))]);
    if (!m_settings.enabled)
        return m_draws.next(m_required, m_excluded);
    for (;;) {
        const Game game = m_draws.next(m_required, m_excluded);
        const Mask mask = MaskOf(game.numbers);
        if (Passes(m_settings, mask, m_history.lastDraw) && !(m_settings.skipPastWinners && m_history.isWinner(mask)))
            return game;
    }
}

} // namespace GameFilter
