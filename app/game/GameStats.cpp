#include "GameStats.h"

#include "Game.h"
#include "Globals.h"
#include "Query.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace GameStats {

QString ListShare(qint64 occurrences, qint64 games)
{
    if (games <= 0)
        return u"0"_s;
    return QString::number(double(occurrences) / double(games * 6) * 100.0, 'f', 2);
}

void CountText(const QString& text, Counts& counts)
{
    for (int j = 0; j < 6; ++j) {
        const int n = GameText::NumberAt(text, j);
        if (n >= 1 && n <= 45)
            ++counts[size_t(n)];
    }
}

void DrawFrequency::addDraw(const QString& drawText)
{
    CountText(drawText.left(12), counts);
    total += 6;
    for (int n = 1; n <= 45; ++n)
        top = std::max(top, counts[size_t(n)]);
}

DrawFrequency ReadDrawFrequency()
{
    DrawFrequency frequency;
    Query draws(gSystemConn, u"SELECT No1 FROM BokList"_s);
    draws.run();
    while (draws.next())
        frequency.addDraw(draws.text(u"No1"_s));
    return frequency;
}

QString DrawFrequency::bar(int number) const
{
    if (total <= 0)
        return QString();
    const qint64 h = counts[size_t(number)];
    const double share = double(h) / double(total) * 100.0;
    const int stars = top > 0 ? int(std::nearbyint(double(h) * 15.0 / double(top))) : 0;
    return QString::number(share, 'f', 1) + u"%:"_s + QString(stars, u'*');
}

} // namespace GameStats
