#include "SafeExport.h"

#include "Game.h"
#include "TextExport.h"
#include "Tools.h"

#include <algorithm>
#include <cstring>

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
    return GameText::Dotted(ticket.no1) + u' ' + rank + u' ' + PadLeft(Grouped(ticket.kum1), 14);
}

namespace {

// 17 + 1 + 4 + 1 + at least 14: the longest prize has 25 characters with its commas.
constexpr int kLongestLine = 64;

// The line of a ticket of the plain form in CP949 bytes; its length, or 0 for another ticket.
int plainLine(const SafeStore::Ticket& ticket, char (&line)[kLongestLine])
{
    const auto ascii = [](QChar c) { return c.unicode() < 0x80; };
    if (ticket.no1.size() != 12 || !std::all_of(ticket.no1.begin(), ticket.no1.end(), ascii) || ticket.top1.size() != 1
        || !ascii(ticket.top1[0]) || ticket.kum1 < 0)
        return 0;
    int n = 0;
    for (int i = 0; i < 12; ++i) {
        if (i > 0 && i % 2 == 0)
            line[n++] = '.';
        line[n++] = char(ticket.no1[i].unicode());
    }
    line[n++] = ' ';
    const char rank = char(ticket.top1[0].unicode());
    if (rank == '0') {
        std::memcpy(line + n, "    ", 4);
    } else if (rank == '9') {
        std::memcpy(line + n, " -  ", 4);
    } else {
        // "등" in CP949 takes two bytes, as its two columns.
        line[n] = rank;
        std::memcpy(line + n + 1, "\xB5\xEE ", 3);
    }
    n += 4;
    line[n++] = ' ';
    char digits[32];
    int d = 0;
    qint64 value = ticket.kum1;
    do {
        if (d % 4 == 3)
            digits[d++] = ',';
        digits[d++] = char('0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (int pad = d; pad < 14; ++pad)
        line[n++] = ' ';
    while (d > 0)
        line[n++] = digits[--d];
    return n;
}

} // namespace

QByteArray SafeExport::PlainLine(const SafeStore::Ticket& ticket)
{
    char line[kLongestLine];
    return QByteArray(line, plainLine(ticket, line));
}

void SafeExport::add(const SafeStore::Ticket& ticket)
{
    // A million lines: each of the plain form goes in as bytes, without a text to make and encode.
    if (m_file.encoding() == TextExport::Encoding::Cp949) {
        char line[kLongestLine];
        if (const int n = plainLine(ticket, line)) {
            m_file.encodedLine(QByteArrayView(line, n));
            return;
        }
    }
    m_file.line(Line(ticket));
}

void SafeExport::finish() { m_file.line(QString(37, u'=')); }
