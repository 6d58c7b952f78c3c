#include "UpdaterStart.h"

using namespace Qt::StringLiterals;

int HandOverDayNumber(const QDate& day) { return day.year() + day.month() * 100 + day.day(); }

bool DayNumberAccepted(const QStringList& arguments, const QDate& today)
{
    if (arguments.isEmpty())
        return false;
    const QString text = arguments.first().trimmed();
    // Digits only: "2315abc" or "+2315" are not what the main program passes.
    if (text.isEmpty() || text.size() > 9)
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return text.toInt() == HandOverDayNumber(today);
}
