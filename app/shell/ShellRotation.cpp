#include "ShellRotation.h"

#include "Globals.h"
#include "Query.h"

using namespace Qt::StringLiterals;

QString BannerRotation::next()
{
    ++m_counter;
    if (m_counter <= 9)
        return u"/pr1.htm"_s;
    if (m_counter <= 19)
        return u"/pr2.htm"_s;
    m_counter = 0;
    return u"/pr3.htm"_s;
}

void TickerRotation::setLines(std::vector<Line> lines)
{
    m_lines = std::move(lines);
    m_position = 0;
    m_yellow = false;
}

const TickerRotation::Line& TickerRotation::step()
{
    m_position = m_position >= m_lines.size() ? 1 : m_position + 1;
    m_yellow = !m_yellow;
    return m_lines[m_position - 1];
}

const TickerRotation::Line* TickerRotation::current() const
{
    return m_position == 0 || m_position > m_lines.size() ? nullptr : &m_lines[m_position - 1];
}

std::vector<TickerRotation::Line> TickerRotation::ReadLines()
{
    Query query(gSystemConn, u"SELECT Part1, Text1, Url1 FROM Hot1 ORDER BY No1"_s);
    query.run();
    std::vector<Line> lines;
    while (query.next())
        lines.push_back({query.text(u"Part1"_s), query.text(u"Text1"_s), query.text(u"Url1"_s)});
    return lines;
}

QList<QStringList> TickerRotation::AsRows(const std::vector<Line>& lines)
{
    QList<QStringList> rows;
    for (const Line& line : lines)
        rows.append({line.part, line.text, line.url});
    return rows;
}
