#pragma once

#include <QDate>
#include <QSet>
#include <QString>

// When a prize can last be claimed: one year from the day after the draw, to the same calendar date
// (or the month's last day where that date does not exist), moved to the next business day when it falls
// on a Saturday, a Sunday or a public holiday.
struct ClaimDeadline
{
    QDate date;
    // false: the deadline falls in a year the holiday table does not hold, so a holiday could still move it
    bool certain = true;

    bool isValid() const { return date.isValid(); }
    bool passed(const QDate& today) const { return isValid() && today > date; }
    // Days from today up to and including the deadline (0 on the day itself).
    qint64 daysLeft(const QDate& today) const { return today.daysTo(date); }
    // "2026-11-30(월)"
    QString dateText() const;
    // " (휴일이면 다음 영업일)" when the holidays of that year are not known, else empty.
    QString note() const;
    QString text() const { return dateText() + note(); }
};

class HolidayTable
{
public:
    // The table shipped with the program.
    static const HolidayTable& shipped();
    // Lines of "YYYY: MM-DD MM-DD …"; '#' starts a comment. Malformed lines leave their year unknown.
    static HolidayTable parse(const QString& text);

    bool covers(int year) const { return m_years.contains(year); }
    bool isHoliday(const QDate& day) const { return m_days.contains(day); }

private:
    QSet<int> m_years;
    QSet<QDate> m_days;
};

ClaimDeadline ClaimDeadlineFor(const QDate& drawDate, const HolidayTable& holidays = HolidayTable::shipped());
// The same from the draw date as kept in the draw list ("YYYY-MM-DD" or "YYYYMMDD"); invalid when unreadable.
ClaimDeadline ClaimDeadlineFor(const QString& drawDate, const HolidayTable& holidays = HolidayTable::shipped());
