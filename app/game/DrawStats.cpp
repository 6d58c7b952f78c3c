#include "DrawStats.h"

#include "DrawText.h"
#include "Game.h"
#include "Globals.h"
#include "Query.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace DrawStats {

std::optional<Draw> ParseDraw(qint64 drawNo, const QString& no1)
{
    if (no1.size() != 14)
        return std::nullopt;
    // The one rule for a draw's numbers; then its pieces are two digits each.
    if (!DrawText::IsResult(no1))
        return std::nullopt;
    Draw draw {drawNo, {}, GameText::NumberAt(no1, 6)};
    for (int i = 0; i < 6; ++i)
        draw.numbers[size_t(i)] = GameText::NumberAt(no1, i);
    std::sort(draw.numbers.begin(), draw.numbers.end());
    return draw;
}

std::vector<Draw> ReadDraws()
{
    std::vector<Draw> draws;
    Query q(gSystemConn, u"SELECT BokNo, No1 FROM BokList WHERE State1 = '3' ORDER BY BokNo"_s);
    q.run();
    while (q.next()) {
        if (const std::optional<Draw> draw = ParseDraw(q.integer(u"BokNo"_s), q.text(u"No1"_s)))
            draws.push_back(*draw);
    }
    return draws;
}

std::vector<int> Summary::numbers(Mark mark) const
{
    std::vector<int> found;
    for (int n = 1; n <= 45; ++n) {
        if (marks[size_t(n)] == mark)
            found.push_back(n);
    }
    return found;
}

Summary Summarise(const std::vector<Draw>& draws, int last, bool withBonus)
{
    Summary s;
    const size_t from = last > 0 && size_t(last) < draws.size() ? draws.size() - size_t(last) : 0;
    for (size_t i = from; i < draws.size(); ++i) {
        const Draw& d = draws[i];
        int sum = 0;
        int odd = 0;
        for (int n : d.numbers) {
            ++s.counts[size_t(n)];
            sum += n;
            odd += n % 2;
        }
        if (withBonus)
            ++s.counts[size_t(d.bonus)];
        ++s.sums[size_t((sum - kSumLow) / kSumStep)];
        ++s.odd[size_t(odd)];
    }
    s.draws = int(draws.size() - from);
    if (s.draws == 0)
        return s;
    s.firstDraw = draws[from].drawNo;
    s.lastDraw = draws.back().drawNo;

    // The line of the hot numbers is the sixth highest count, of the cold ones the sixth lowest; every
    // number tied with that line is marked too, so that the marks never depend on the numbers' order.
    std::array<qint64, 45> sorted {};
    std::copy(s.counts.begin() + 1, s.counts.end(), sorted.begin());
    std::sort(sorted.begin(), sorted.end());
    const qint64 coldLine = sorted[kMarked - 1];
    const qint64 hotLine = sorted[sorted.size() - kMarked];
    for (int n = 1; n <= 45; ++n) {
        const qint64 c = s.counts[size_t(n)];
        // With the two lines equal, only what stands clear of them is hot or cold.
        if (c >= hotLine && c > coldLine)
            s.marks[size_t(n)] = Mark::Hot;
        else if (c <= coldLine && c < hotLine)
            s.marks[size_t(n)] = Mark::Cold;
    }
    return s;
}

QString SumLabel(int bin)
{
    const int low = kSumLow + bin * kSumStep;
    return QString::number(low) + u'~' + QString::number(std::min(low + kSumStep - 1, kSumHigh));
}

} // namespace DrawStats
