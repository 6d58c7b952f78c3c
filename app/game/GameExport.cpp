#include "GameExport.h"

#include "TextExport.h"

using namespace Qt::StringLiterals;

void WriteGameList(TextExport& file, const std::vector<Game>& games)
{
    const QString rule(22, u'=');
    file.reserve(qsizetype(games.size()) * 24 + 120);
    file.line(rule);
    file.line(u"횟수      복권번호    "_s);
    file.line(u"---- -----------------"_s);
    qint64 i = 0;
    for (const Game& game : games)
        file.line(QString::number(++i).rightJustified(4, u'0') + u' ' + game.dotted());
    file.line(rule);
}
