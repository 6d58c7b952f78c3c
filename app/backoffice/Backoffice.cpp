#include "Backoffice.h"

#include "Clock.h"
#include "Globals.h"
#include "ServerSession.h"
#include "SqlError.h"

#include <QLocale>

#include <cmath>

using namespace Qt::StringLiterals;

namespace Backoffice {

bool IsAdministrator() { return gUserID == QStringView(kAdministrator); }

QString AdministratorOnlyMessage() { return u"관리자만 사용할 수 있는 기능입니다."_s; }

void RequireAdministrator()
{
    if (!IsAdministrator())
        throw SqlError(AdministratorOnlyMessage(), QString(), QString());
    // The check above is this program's; the server makes its own from the session, which may have run
    // out during a long day in these windows: then the password is asked for again here, once, rather
    // than every statement failing.
    ServerSession::Require(gServerConn);
}

QStringList YearItems()
{
    QStringList items;
    for (int year = kFirstYear; year <= Clock::today().year(); ++year)
        items.append(QString::number(year) + u"년"_s);
    return items;
}

QStringList MonthItems()
{
    QStringList items;
    for (int month = 1; month <= 12; ++month)
        items.append(QString::number(month).rightJustified(2, u'0') + u"월"_s);
    return items;
}

int LeadingNumber(const QString& item)
{
    int digits = 0;
    while (digits < item.size() && item[digits].isDigit())
        ++digits;
    return item.left(digits).toInt();
}

QString Thousands(double value) { return QLocale(QLocale::English).toString(qint64(std::llround(value))); }

StepFlags::StepFlags(int steps)
    : m_done(size_t(steps) + 1, false)
{
}

QString StepFlags::refusal(int step) const
{
    if (step <= 1)
        return QString();
    if (!isDone(step - 1))
        return QString::number(step - 1) + u".작업 확인요.."_s;
    if (isDone(step))
        return QString::number(step) + u".작업 이미 동작됨.."_s;
    return QString();
}

void StepFlags::reset() { std::fill(m_done.begin(), m_done.end(), false); }

void StepFlags::done(int step)
{
    if (step >= 1 && size_t(step) < m_done.size())
        m_done[size_t(step)] = true;
}

bool StepFlags::isDone(int step) const { return step >= 1 && size_t(step) < m_done.size() && m_done[size_t(step)]; }

void StepFlags::undoFrom(int step)
{
    for (size_t s = size_t(std::max(step, 1)); s < m_done.size(); ++s)
        m_done[s] = false;
}

} // namespace Backoffice
