#pragma once

#include <QString>
#include <QStringList>

#include <span>

class QPainter;

// Coupons and tickets are text set line by line in the fixed-pitch print font, widths counted in CP949
// bytes as on the forms they were drawn on. What both need lives here; each layout says which lines it
// has and where they go.

struct PrintedLine
{
    QString text;
    int size = 9; // points
    bool bold = false;
};

// Blanks before the text so that it sits in the middle of `width` bytes; a half blank rounds to even.
// A text too wide for the width is left as it is, never cut.
QString CenterText(const QString& text, int width);
// "[게임1]  03 11 19 24 38 45" for position 1 and the game text "031119243845".
QString GameLine(int position, const QString& game);
// Every number of every game added up, as the serial and authentication numbers carry it.
int NumberSum(const QStringList& games);

// Where a layout's lines go, in twips from the slot's corner.
struct LineGrid
{
    int left = 0; // every line starts here
    int lineTwips = 0; // line k (from 1) has its top at k × lineTwips
    // No line reaches past left + width: a longer one is set a little narrower, so that a notice of a
    // byte or two too many keeps inside the outline instead of touching or crossing it.
    int width = 0;
};

// Paints the lines, line 1 first; empty lines leave their place empty.
void PaintLines(QPainter& painter, std::span<const PrintedLine> lines, const LineGrid& grid);
