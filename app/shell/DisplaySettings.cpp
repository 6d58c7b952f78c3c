#include "DisplaySettings.h"

#include "Globals.h"
#include "MessageService.h"
#include "Settings.h"
#include "Transaction.h"

using namespace Qt::StringLiterals;

namespace DisplaySettings {

namespace {

QStringList numbers(std::initializer_list<int> fixed, int from = 0, int to = -1, int step = 1)
{
    QStringList list;
    for (int n : fixed)
        list.append(QString::number(n));
    for (int n = from; step > 0 && n <= to; n += step)
        list.append(QString::number(n));
    return list;
}

const QString kDamaged = u"[경고] 시스템 정보화일이 손상되었거나 설정값이 잘못 지정되어 읽어들일수 없습니다!"_s;

} // namespace

const std::vector<DisplaySetting>& all()
{
    static const std::vector<DisplaySetting> settings = {
        {u"로또게임"_s,
         u"게임 횟수:"_s,
         u"cboJob101"_s,
         u"로또게임:게임 횟수"_s,
         numbers({1, 2, 3, 4, 5}, 10, 100, 10),
         1,
         32767,
         5,
         &gGameCount},
        {u"복권금고"_s,
         u"표시할 복권수:"_s,
         u"cboJob201"_s,
         u"복권금고:표시할 복권수"_s,
         numbers({}, 50, 500, 50),
         1,
         5000,
         100,
         &gSafePageSize},
        {u"복권금고"_s,
         u"추첨결과 목록 수:"_s,
         u"cboJob202"_s,
         u"복권금고:추첨결과 목록 수"_s,
         numbers({}, 10, 100, 10),
         1,
         1000,
         20,
         &gSafeDrawListSize},
        {u"복권발행"_s,
         u"표시할 복권수:"_s,
         u"cboJob301"_s,
         u"복권쿠폰:표시할 복권수"_s,
         numbers({}, 50, 500, 50),
         1,
         5000,
         100,
         &gCouponPageSize},
        {u"복권발행"_s,
         u"발행할 복권수:"_s,
         u"cboJob302"_s,
         u"복권쿠폰:발행할 복권수"_s,
         numbers({1, 2, 3, 4, 5}, 6, 60, 6),
         1,
         1000,
         6,
         &gCouponIssueCount},
        {u"복권발행"_s,
         u"복권당 게임수:"_s,
         u"cboJob303"_s,
         u"복권쿠폰:복권당 게임수"_s,
         numbers({}, 1, 5, 1),
         1,
         5,
         5,
         &gCouponGamesPerTicket},
    };
    return settings;
}

std::optional<int> Parse(const DisplaySetting& setting, const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < setting.minimum || value > setting.maximum)
        return std::nullopt;
    return value;
}

QString RangeMessage(const DisplaySetting& setting)
{
    return u"["_s + setting.group + u"] "_s + setting.label + u" 값은 "_s + QString::number(setting.minimum)
        + u"부터 "_s + QString::number(setting.maximum) + u"까지의 정수로 입력하여 주십시오."_s;
}

void Load()
{
    // A read that fails half-way still leaves every number usable.
    for (const DisplaySetting& setting : all())
        *setting.value = setting.fallback;
    for (const DisplaySetting& setting : all()) {
        const QString text = ReadInfo(kSection, setting.name);
        std::optional<int> value = Parse(setting, text);
        // A missing row has been reported by ReadInfo already; a damaged one is reported here.
        if (!value && !text.isEmpty())
            ShowMessage(kDamaged);
        *setting.value = value.value_or(setting.fallback);
    }
}

double MainHeightTwips()
{
    const QString text = ReadInfo(kSection, u"메인:높이"_s);
    bool ok = false;
    const double height = text.toDouble(&ok);
    if (!ok && !text.isEmpty())
        ShowMessage(kDamaged);
    return ok && height >= 11000 ? height : 11000;
}

void Save(const std::vector<int>& values)
{
    const auto& settings = all();
    {
        Transaction transaction(gSystemConn);
        for (size_t i = 0; i < settings.size(); ++i)
            WriteInfo(kSection, settings[i].name, QString::number(values[i]));
        transaction.commit();
    }
    // Only what was stored is used: a failed write leaves the windows as they were.
    for (size_t i = 0; i < settings.size(); ++i)
        *settings[i].value = values[i];
}

void SaveMainHeightTwips(double twips) { WriteInfo(kSection, u"메인:높이"_s, QString::number(twips, 'f', 0)); }

namespace {
const QString kHelpWidth = u"도움말:길이"_s;
const QString kHelpHeight = u"도움말:높이"_s;
const QString kHelpLeft = u"도움말:왼쪽"_s;
const QString kHelpTop = u"도움말:윗쪽"_s;

int twipsOr(const QString& name, int fallback)
{
    bool ok = false;
    const double value = ReadInfo(kSection, name).toDouble(&ok);
    return ok ? int(value) : fallback;
}
} // namespace

QRect HelpPlaceTwips()
{
    return QRect(twipsOr(kHelpLeft, 600),
                 twipsOr(kHelpTop, 600),
                 twipsOr(kHelpWidth, 9000),
                 twipsOr(kHelpHeight, 7500));
}

void SaveHelpPlaceTwips(const QRect& place)
{
    Transaction transaction(gSystemConn);
    WriteInfo(kSection, kHelpWidth, QString::number(place.width()));
    WriteInfo(kSection, kHelpHeight, QString::number(place.height()));
    WriteInfo(kSection, kHelpLeft, QString::number(place.x()));
    WriteInfo(kSection, kHelpTop, QString::number(place.y()));
    transaction.commit();
}

} // namespace DisplaySettings
