#include "StartChecks.h"

#include <QLocale>

#ifndef Q_OS_WIN
#include <clocale>
#include <ctime>
#include <langinfo.h>
#endif

using namespace Qt::StringLiterals;

QString SystemShortDate(const QDate& date, const QString& strftimeFormat)
{
#ifdef Q_OS_WIN
    if (strftimeFormat.isEmpty())
        return QLocale::system().toString(date, QLocale::ShortFormat).trimmed();
#endif
#ifndef Q_OS_WIN
    std::setlocale(LC_TIME, "");
    const QByteArray format = strftimeFormat.isEmpty() ? QByteArray(nl_langinfo(D_FMT)) : strftimeFormat.toLocal8Bit();
#else
    const QByteArray format = strftimeFormat.toLocal8Bit();
#endif
    std::tm parts {};
    parts.tm_year = date.year() - 1900;
    parts.tm_mon = date.month() - 1;
    parts.tm_mday = date.day();
    parts.tm_wday = date.dayOfWeek() % 7;
    parts.tm_yday = date.dayOfYear() - 1;
    char buffer[128] = {};
    const size_t length = std::strftime(buffer, sizeof buffer, format.constData(), &parts);
    return QString::fromLocal8Bit(buffer, qsizetype(length)).trimmed();
}

bool ShortDateAccepted(const QString& shortDate)
{
    const QString text = shortDate.trimmed();
    if (text.size() == 8)
        return false;
    if (text.size() == 10 && text[4] != u'-')
        return false;
    return true;
}
