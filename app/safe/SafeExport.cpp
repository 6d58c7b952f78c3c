#include "SafeExport.h"

#include "TextExport.h"

using namespace Qt::StringLiterals;

SafeExport::SafeExport(TextExport& file, qint64 drawNo)
    : m_file(file)
{
    m_file.line(u"회차: "_s + QString::number(drawNo) + u'회');
    m_file.line(QString(37, u'='));
    m_file.line(u"     복권번호     등수       당첨금액"_s);
    m_file.line(u"----------------- ---- --------------"_s);
}

QString SafeExport::Line(const SafeStore::Ticket& ticket)
{
    QString rank;
    if (ticket.top1 == u"0"_s)
        rank = u"    "_s;
    else if (ticket.top1 == u"9"_s)
        rank = u" -  "_s;
    else
        rank = ticket.top1 + u"등 "_s; // the syllable takes two columns
    return SafeStore::Dotted(ticket.no1) + u' ' + rank + u' ' + PadLeft(Grouped(ticket.kum1), 14);
}

void SafeExport::add(const SafeStore::Ticket& ticket) { m_file.line(Line(ticket)); }

void SafeExport::finish() { m_file.line(QString(37, u'=')); }
