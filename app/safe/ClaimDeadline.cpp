#include "ClaimDeadline.h"

#include "Tools.h"

#include <QFile>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

bool weekend(const QDate& day) { return day.dayOfWeek() >= 6; }

} // namespace

QString ClaimDeadline::dateText() const
{
    return isValid() ? date.toString(u"yyyy-MM-dd"_s) + u'(' + KoreanWeekday(date) + u')' : QString();
}

QString ClaimDeadline::note() const { return isValid() && !certain ? u" (휴일이면 다음 영업일)"_s : QString(); }

const HolidayTable& HolidayTable::shipped()
{
    static const HolidayTable table = [] {
        Q_INIT_RESOURCE(safe);
        QFile file(u":/safe/holidays.txt"_s);
        // Without the table every deadline is shown as uncertain, which is still true.
        return file.open(QIODevice::ReadOnly) ? parse(QString::fromUtf8(file.readAll())) : HolidayTable();
    }();
    return table;
}

HolidayTable HolidayTable::parse(const QString& text)
{
    HolidayTable table;
    static const QRegularExpression dayPattern(u"^(\\d\\d)-(\\d\\d)$"_s);
    for (QString line : text.split(u'\n')) {
        line = line.section(u'#', 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        bool ok = false;
        const int year = line.section(u':', 0, 0).trimmed().toInt(&ok);
        if (!ok || !line.contains(u':'))
            continue;
        QSet<QDate> days;
        bool whole = true;
        for (const QString& item : line.section(u':', 1).split(u' ', Qt::SkipEmptyParts)) {
            const QRegularExpressionMatch m = dayPattern.match(item);
            const QDate day = m.hasMatch() ? QDate(year, m.captured(1).toInt(), m.captured(2).toInt()) : QDate();
            if (!day.isValid()) {
                whole = false;
                break;
            }
            days.insert(day);
        }
        // A year half read would pass for known; better to say it is not.
        if (!whole)
            continue;
        table.m_years.insert(year);
        table.m_days.unite(days);
    }
    return table;
}

ClaimDeadline ClaimDeadlineFor(const QDate& drawDate, const HolidayTable& holidays)
{
    ClaimDeadline deadline;
    if (!drawDate.isValid())
        return deadline;
    // QDate::addYears turns 29 February into 28 February in a common year: the month's last day.
    QDate day = drawDate.addDays(1).addYears(1);
    for (;;) {
        if (!holidays.covers(day.year()))
            deadline.certain = false;
        if (!weekend(day) && !holidays.isHoliday(day))
            break;
        day = day.addDays(1);
    }
    deadline.date = day;
    return deadline;
}

ClaimDeadline ClaimDeadlineFor(const QString& drawDate, const HolidayTable& holidays)
{
    const QString digits = QString(drawDate).remove(u'-').trimmed();
    return ClaimDeadlineFor(QDate::fromString(digits, u"yyyyMMdd"_s), holidays);
}
