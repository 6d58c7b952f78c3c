#include "DrawProgress.h"

#include "Tools.h"

using namespace Qt::StringLiterals;

DrawProgress DrawProgress::parse(const QString& text)
{
    DrawProgress progress;
    progress.lastDrawNo = text.mid(2, 4).trimmed().toLongLong();
    progress.currentDrawNo = text.mid(16, 4).trimmed().toLongLong();
    progress.drawsStamp = ByteMid(text, 31, 10);
    progress.filesStamp = ByteMid(text, 42, 10);
    return progress;
}

QString DrawProgress::compose() const
{
    auto four = [](qint64 n) { return QString::number(n).rightJustified(4, u'0').right(4); };
    auto padToBytes = [](QString text, int bytes) {
        while (ByteLen(text) < bytes)
            text += u' ';
        return text;
    };
    // "추첨1200회 결과 / 판매 1201회": the draw on sale starts at the 17th character.
    const QString head = QString(u"추첨"_s + four(lastDrawNo) + u"회 결과 / 판매"_s).leftJustified(16, u' ');
    const QString text = head + four(currentDrawNo) + u"회"_s;
    return padToBytes(text, 30) + padToBytes(drawsStamp.left(10), 10) + u'|' + padToBytes(filesStamp.left(10), 10);
}
