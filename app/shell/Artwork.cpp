#include "Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

using namespace Qt::StringLiterals;

namespace Artwork {

QColor ballColour(int number)
{
    if (number <= 10)
        return QColor(251, 196, 0);
    if (number <= 20)
        return QColor(105, 200, 242);
    if (number <= 30)
        return QColor(255, 114, 114);
    if (number <= 40)
        return QColor(170, 170, 170);
    return QColor(176, 216, 64);
}

static void paintBall(QPainter& p, const QRectF& r, const QColor& colour, const QString& label)
{
    QRadialGradient shade(r.center() - QPointF(r.width() / 5, r.height() / 5), r.width() * 0.7);
    shade.setColorAt(0, colour.lighter(150));
    shade.setColorAt(1, colour.darker(115));
    p.setPen(QPen(colour.darker(140), 1));
    p.setBrush(shade);
    p.drawEllipse(r);
    if (!label.isEmpty()) {
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(int(r.height() * 0.45));
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(r, Qt::AlignCenter, label);
    }
}

QPixmap ball(int number, int diameter)
{
    QPixmap pixmap(diameter, diameter);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    paintBall(p, QRectF(0.5, 0.5, diameter - 1, diameter - 1), ballColour(number), QString::number(number));
    return pixmap;
}

QPixmap loginBanner(const QSize& size)
{
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(29, 60, 143));
    sky.setColorAt(1, QColor(64, 112, 200));
    p.fillRect(pixmap.rect(), sky);

    // Five balls along the right half, clear of the lettering on the left.
    const int numbers[] = {7, 14, 23, 35, 42};
    const int d = size.height() / 3;
    for (int i = 0; i < 5; ++i) {
        const QRectF r(size.width() - (5 - i) * (d + 4) - 10, (size.height() - d) / 2 + (i % 2 ? -9 : 9), d, d);
        paintBall(p, r, ballColour(numbers[i]), QString::number(numbers[i]));
    }
    QFont title = p.font();
    title.setBold(true);
    title.setPixelSize(size.height() / 3);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(16, 10, size.width(), size.height() / 2), Qt::AlignLeft | Qt::AlignVCenter, u"수리볼"_s);
    QFont sub = p.font();
    sub.setBold(false);
    sub.setPixelSize(size.height() / 8);
    p.setFont(sub);
    p.setPen(QColor(220, 230, 255));
    p.drawText(QRect(18, size.height() / 2 + 4, size.width(), size.height() / 4),
               Qt::AlignLeft | Qt::AlignVCenter,
               u"로또 6/45 도우미"_s);
    return pixmap;
}

namespace {

constexpr int kIcon = 64; // drawn large, scaled down by the toolbar

void drawLotto(QPainter& p)
{
    paintBall(p, QRectF(4, 18, 30, 30), ballColour(7), QString());
    paintBall(p, QRectF(30, 8, 30, 30), ballColour(23), QString());
    paintBall(p, QRectF(24, 30, 30, 30), ballColour(42), QString());
}

void drawSafe(QPainter& p)
{
    p.setPen(QPen(QColor(60, 70, 90), 2));
    QLinearGradient steel(0, 8, 0, 58);
    steel.setColorAt(0, QColor(150, 160, 180));
    steel.setColorAt(1, QColor(90, 100, 120));
    p.setBrush(steel);
    p.drawRoundedRect(QRectF(8, 8, 48, 46), 5, 5);
    p.setBrush(QColor(200, 205, 215));
    p.drawEllipse(QPointF(32, 31), 12, 12);
    p.setBrush(QColor(60, 70, 90));
    p.drawEllipse(QPointF(32, 31), 3, 3);
    for (int k = 0; k < 8; ++k) {
        const double a = k * M_PI / 4;
        p.drawLine(QPointF(32 + 8 * std::cos(a), 31 + 8 * std::sin(a)),
                   QPointF(32 + 11 * std::cos(a), 31 + 11 * std::sin(a)));
    }
    p.drawRect(QRectF(14, 54, 8, 4));
    p.drawRect(QRectF(42, 54, 8, 4));
}

void drawHome(QPainter& p)
{
    p.setPen(QPen(QColor(120, 40, 30), 2));
    p.setBrush(QColor(214, 74, 56));
    QPainterPath roof;
    roof.moveTo(4, 32);
    roof.lineTo(32, 6);
    roof.lineTo(60, 32);
    roof.closeSubpath();
    p.drawPath(roof);
    p.setPen(QPen(QColor(110, 90, 60), 2));
    p.setBrush(QColor(250, 236, 200));
    p.drawRect(QRectF(12, 30, 40, 28));
    p.setBrush(QColor(29, 60, 143));
    p.drawRect(QRectF(27, 40, 11, 18));
    p.setBrush(QColor(150, 200, 250));
    p.drawRect(QRectF(16, 36, 8, 8));
    p.drawRect(QRectF(42, 36, 8, 8));
}

void drawGear(QPainter& p)
{
    QPainterPath gear;
    const QPointF c(32, 32);
    const int teeth = 8;
    for (int k = 0; k < teeth * 2; ++k) {
        const double a0 = k * M_PI / teeth;
        const double a1 = (k + 1) * M_PI / teeth;
        const double r = (k % 2 == 0) ? 27 : 21;
        const QPointF p0 = c + QPointF(r * std::cos(a0), r * std::sin(a0));
        const QPointF p1 = c + QPointF(r * std::cos(a1), r * std::sin(a1));
        if (k == 0)
            gear.moveTo(p0);
        else
            gear.lineTo(p0);
        gear.lineTo(p1);
    }
    gear.closeSubpath();
    gear.addEllipse(c, 8, 8);
    gear.setFillRule(Qt::OddEvenFill);
    p.setPen(QPen(QColor(50, 60, 70), 2));
    QLinearGradient metal(0, 5, 0, 59);
    metal.setColorAt(0, QColor(170, 180, 190));
    metal.setColorAt(1, QColor(100, 110, 125));
    p.setBrush(metal);
    p.drawPath(gear);
}

void drawExit(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(190, 40, 40), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(12, 12, 40, 40), 120 * 16, 300 * 16); // open at the top
    p.drawLine(QPointF(32, 6), QPointF(32, 30));
}

void drawCoupon(QPainter& p)
{
    p.setPen(QPen(QColor(120, 90, 20), 2));
    p.setBrush(QColor(255, 220, 120));
    p.drawRoundedRect(QRectF(6, 14, 52, 36), 4, 4);
    p.setPen(QPen(QColor(120, 90, 20), 2, Qt::DashLine));
    p.drawLine(QPointF(20, 16), QPointF(20, 48));
    paintBall(p, QRectF(28, 22, 20, 20), ballColour(17), QString());
}

void drawHelp(QPainter& p)
{
    p.setPen(QPen(QColor(20, 80, 160), 2));
    p.setBrush(QColor(60, 130, 220));
    p.drawEllipse(QRectF(6, 6, 52, 52));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(38);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(6, 6, 52, 52), Qt::AlignCenter, u"?"_s);
}

} // namespace

QIcon functionIcon(const QString& function)
{
    QPixmap pixmap(kIcon, kIcon);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (function == u"로또게임"_s)
        drawLotto(p);
    else if (function == u"복권금고"_s)
        drawSafe(p);
    else if (function == u"홈페이지"_s)
        drawHome(p);
    else if (function == u"설정"_s)
        drawGear(p);
    else if (function == u"종료"_s)
        drawExit(p);
    else if (function == u"복권쿠폰"_s)
        drawCoupon(p);
    else
        drawHelp(p);
    return QIcon(pixmap);
}

QImage programIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / double(kIcon), size / double(kIcon));
    drawLotto(p);
    return image;
}

} // namespace Artwork
