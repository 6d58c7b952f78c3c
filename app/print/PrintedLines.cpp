#include "PrintedLines.h"

#include "Game.h"
#include "PrintFont.h"
#include "Tools.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

using namespace Qt::StringLiterals;

QString CenterText(const QString& text, int width)
{
    const int spare = width - ByteLen(text);
    if (spare <= 0)
        return text;
    int blanks = spare / 2;
    // x.5 goes to the even neighbour: 8.5 → 8, 7.5 → 8.
    if (spare % 2 == 1 && blanks % 2 == 1)
        ++blanks;
    return QString(blanks, u' ') + text;
}

QString GameLine(int position, const QString& game)
{
    return u"[게임"_s + QString::number(position) + u"]  "_s + GameText::Pieces(game).join(u' ');
}

int NumberSum(const QStringList& games)
{
    int sum = 0;
    for (const QString& game : games) {
        for (int i = 0; i < 6; ++i)
            sum += std::max(GameText::NumberAt(game, i), 0);
    }
    return sum;
}

void PaintLines(QPainter& painter, std::span<const PrintedLine> lines, const LineGrid& grid)
{
    painter.save();
    painter.setPen(QPen(Qt::black));
    int k = 0;
    for (const PrintedLine& line : lines) {
        ++k;
        if (line.text.isEmpty())
            continue;
        const QFont font = PrintFont(line.size, line.bold);
        painter.setFont(font);
        // The font is sized in the painter's own units, so its advance is in twips whatever the device.
        const double wide = QFontMetricsF(font, painter.device()).horizontalAdvance(line.text);
        painter.save();
        painter.translate(grid.left, k * grid.lineTwips);
        if (grid.width > 0 && wide > grid.width)
            painter.scale(grid.width / wide, 1.0);
        // Line k's text starts at its top, k line heights down, as on the grid the layout was drawn on.
        painter.drawText(QRectF(0, 0, std::max(wide, double(grid.width)) + 1, 2 * grid.lineTwips),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                         line.text);
        painter.restore();
    }
    painter.restore();
}
