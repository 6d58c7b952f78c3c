#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <vector>

// The banner: each change advances a counter; 1–9 show "/pr1.htm", 10–19 "/pr2.htm", 20 "/pr3.htm" and
// the counter starts again, so the third page shows once in every twenty changes.
class BannerRotation
{
public:
    QString next();
    int counter() const { return m_counter; }

private:
    int m_counter = 0;
};

// The ticker: one line every step, round and round, its text alternating yellow and white.
class TickerRotation
{
public:
    struct Line
    {
        QString part, text, url;
    };

    void setLines(std::vector<Line> lines);
    // The lines of the system database's Hot1, in their order.
    static std::vector<Line> ReadLines();
    static QList<QStringList> AsRows(const std::vector<Line>& lines);

    bool isEmpty() const { return m_lines.empty(); }
    // Advances to the next line and returns it; the first step shows line 1 in yellow.
    const Line& step();
    const Line* current() const;
    QColor colour() const { return m_yellow ? QColor(255, 255, 0) : QColor(255, 255, 255); }

private:
    std::vector<Line> m_lines;
    size_t m_position = 0; // 0 before the first step, then 1-based
    bool m_yellow = false;
};
