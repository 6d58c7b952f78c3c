#include "SalesCalc.h"

#include <QLocale>

#include <cmath>

using namespace Qt::StringLiterals;

namespace SalesCalc {

const std::array<Item, kRows + 1>& Items()
{
    static const std::array<Item, kRows + 1> items = {{
        {},
        {u"게임당 대리점 마진"_s, QString()},
        {u"복권당 게임수"_s, u"2게임,3게임,5게임"_s},
        {u"1일 가맹점 1곳 배포 복권수"_s, QString()},
        {u"대리점 1곳당 가맹점수"_s, u"예상 가맹점수"_s},
        {u"게임당 본사 마진"_s, QString()},
        {u">  1일 배포 게임수"_s, QString()},
        {u"> 30일 배포 게임수"_s, QString()},
        {u">  1일 가맹점 1곳당 이익금"_s, QString()},
        {u"> 30일 가맹점 1곳당 이익금"_s, QString()},
        {u">  1일 대리점 이익금"_s, QString()},
        {u"> 30일 대리점 이익금"_s, QString()},
        {u">  1일 가맹점 1곳당 매출액"_s, QString()},
        {u"> 30일 가맹점 1곳당 매출액"_s, QString()},
    }};
    return items;
}

Values Calculate(const Values& in)
{
    Values v = in;
    auto perShop = [&](double total) { return v[4] == 0.0 ? 0.0 : total / v[4]; };
    v[6] = v[3] * v[2] * v[4];
    v[7] = v[6] * 30;
    v[8] = perShop(v[6] * v[1]);
    v[9] = perShop(v[7] * v[1]);
    v[10] = v[6] * v[1];
    v[11] = v[7] * v[1];
    v[12] = v[3] * v[2] * (v[5] + v[1]);
    v[13] = v[12] * 30;
    for (double& x : v) {
        if (!std::isfinite(x))
            x = 0; // huge inputs overflow; a cell never shows inf or nan
    }
    return v;
}

std::optional<double> ReadValue(const QString& text)
{
    QString t = text.trimmed();
    t.remove(u',');
    if (t.isEmpty())
        return 0.0;
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString ValueText(double value)
{
    if (value == std::floor(value) && std::abs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

} // namespace SalesCalc
