#include "LottoPad.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

// The card is laid out in twips; drawn somewhat larger than one pixel per 15 twips, to be readable.
constexpr double kScale = 1.08 / 15.0;
constexpr int kRowTops[] = {110, 555, 1005, 1450, 1905, 2350, 2805};
const QColor kInk(214, 40, 57); // the red of the printed card
const QColor kPaper(255, 248, 246);

int px(double twips) { return int(std::lround(twips * kScale)); }

} // namespace

QRect LottoPad::markRect(int index)
{
    const int row = index / 7;
    const int column = index % 7;
    return QRect(px(135 + 405 * column), px(kRowTops[row]), px(195), px(285));
}

LottoPad::LottoPad(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(u"picPad1"_s);
    setFixedSize(px(135 + 405 * 7 - 30), px(2805 + 285 + 140));
    for (int i = 0; i < 45; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(u"lblBokNo("_s + QString::number(i) + u')');
        label->setGeometry(markRect(i));
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        m_labels[size_t(i)] = label;
        setMarked(i + 1, false);
    }
}

bool LottoPad::isMarked(int number) const { return number >= 1 && number <= 45 && m_marks[size_t(number)]; }

void LottoPad::setMarked(int number, bool marked)
{
    m_marks[size_t(number)] = marked;
    // A mark is an opaque black block over the number; an unmarked label lets the card show through.
    m_labels[size_t(number - 1)]->setStyleSheet(marked ? u"background: black;"_s : u"background: transparent;"_s);
}

void LottoPad::toggle(int number)
{
    if (isMarked(number)) {
        setMarked(number, false);
        --m_marked;
    } else if (m_marked < 6) {
        setMarked(number, true);
        ++m_marked;
    }
}

void LottoPad::clear()
{
    for (int n = 1; n <= 45; ++n) {
        if (m_marks[size_t(n)])
            setMarked(n, false);
    }
    m_marked = 0;
}

void LottoPad::mark(const Game& game)
{
    clear();
    for (int n : game.numbers) {
        if (n >= 1 && n <= 45 && !m_marks[size_t(n)]) {
            setMarked(n, true);
            ++m_marked;
        }
    }
}

QString LottoPad::text() const
{
    QStringList parts;
    for (int n = 1; n <= 45; ++n) {
        if (m_marks[size_t(n)])
            parts.append(QString::number(n).rightJustified(2, u'0'));
    }
    return parts.join(u'.');
}

bool LottoPad::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < 45; ++i) {
            if (watched == m_labels[size_t(i)]) {
                Q_EMIT numberClicked(i + 1);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void LottoPad::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), kPaper);
    p.setPen(QPen(kInk, 2));
    p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 6, 6);

    QFont font = p.font();
    font.setPixelSize(px(190));
    font.setBold(true);
    p.setFont(font);
    for (int i = 0; i < 45; ++i) {
        const QRect box = markRect(i);
        // The slip's bracket box: two red brackets around the printed number.
        p.setPen(QPen(kInk, 1.2));
        const QRectF frame = QRectF(box).adjusted(-2.5, -1.5, 2.5, 1.5);
        p.drawLine(frame.topLeft(), frame.topLeft() + QPointF(4, 0));
        p.drawLine(frame.topLeft(), frame.bottomLeft());
        p.drawLine(frame.bottomLeft(), frame.bottomLeft() + QPointF(4, 0));
        p.drawLine(frame.topRight(), frame.topRight() - QPointF(4, 0));
        p.drawLine(frame.topRight(), frame.bottomRight());
        p.drawLine(frame.bottomRight(), frame.bottomRight() - QPointF(4, 0));
        p.setPen(kInk);
        p.drawText(box, Qt::AlignCenter, QString::number(i + 1));
    }
    // The card's own lettering in the space beside the last row.
    QFont title = font;
    title.setPixelSize(px(180));
    p.setFont(title);
    p.setPen(kInk);
    const QRect free(markRect(45 - 1).right() + px(120), px(kRowTops[6]) - px(10), width(), px(300));
    p.drawText(free, Qt::AlignLeft | Qt::AlignVCenter, u"LOTTO 6/45"_s);
}
