#include "CouponExport.h"

#include "Game.h"
#include "Rank.h"
#include "TextExport.h"

using namespace Qt::StringLiterals;

namespace CouponExport {

QString Line(qint64 drawNo, const CouponStore::Game& game)
{
    QString line = GameText::Dotted(game.no1) + u' ';
    // A game still to be ranked has no rank to export; the syllable takes two columns.
    const QString rank = game.top1 == u"9"_s ? QString() : RankText(game.top1, RankStyle::WithSyllable);
    line += rank.isEmpty() ? QString(5, u' ') : rank + u"  "_s;
    if (game.date1.isEmpty())
        line += QString(20, u' ');
    else
        line += game.date1 + u' ' + CouponStore::IssueNumber(drawNo, game.sNo1) + u' ';
    return line;
}

void Write(TextExport& file, qint64 drawNo, const QString& headline, const std::vector<CouponStore::Game>& games)
{
    file.reserve(qsizetype(games.size() + 6) * 60);
    file.line(u"회차:"_s + QString::number(drawNo) + u"  제목:"_s + headline);
    file.line(QString(54, u'='));
    file.line(u"복권번호          등수 발행날짜            발행번호"_s);
    file.line(u"----------------- ---- ------------------- -----------"_s);
    for (const CouponStore::Game& game : games)
        file.line(Line(drawNo, game));
    file.line(QString(54, u'='));
}

bool ExportCoupon(qint64 drawNo, const QString& headline, CouponStore::Filter filter, CouponStore::Order order)
{
    TextExport file(TextExport::PathFor(kFilePrefix));
    Write(file, drawNo, headline, CouponStore::Games(drawNo, filter, order));
    return file.publish();
}

} // namespace CouponExport
