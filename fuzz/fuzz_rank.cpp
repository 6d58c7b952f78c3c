// The rank rule: the written rule and the fast one must agree on every pair of well-formed texts, and
// neither may fail on any text.
#include "FuzzSupport.h"
#include "Rank.h"

#include <QSet>

namespace {
bool wellFormed(const QString& text, int numbers)
{
    if (text.size() != numbers * 2)
        return false;
    QSet<int> seen;
    for (int i = 0; i < numbers; ++i) {
        bool ok = false;
        const int n = text.mid(i * 2, 2).toInt(&ok);
        if (!ok || n < 1 || n > 45 || seen.contains(n) || !text[i * 2].isDigit() || !text[i * 2 + 1].isDigit())
            return false;
        seen.insert(n);
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzApplication();
    const QString input = QString::fromLatin1(FuzzBytes(data, size));
    const QString draw = input.left(14);
    const QString game = input.mid(14);
    const QString written = RankOfGame(draw, game);
    const char fast = FastRank(draw).rankOf(game);
    if (wellFormed(draw, 7) && wellFormed(game, 6)) {
        const char expected = written.isEmpty() ? '0' : written.at(0).toLatin1();
        if (fast != expected)
            __builtin_trap();
    }
    return 0;
}
