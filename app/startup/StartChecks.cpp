#include "StartChecks.h"

#include "Paths.h"

#include <QDir>
#include <QFileInfo>
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

bool InstallPresent() { return QFileInfo(InstallPaths::systemDb()).isFile(); }

QString NoInstallQuestion(const QString& root)
{
    return u"수리볼 설치 폴더가 없습니다.\r\n"_s + QDir::toNativeSeparators(root)
        + u"\r\n\r\n이 폴더에 체험용(데모) 설치를 만들까요? 데모 서버와 체험용 회원(chief, shop7, player; 암호는 "
          "아이디와 같습니다)이 함께 만들어집니다.\r\n\r\n실제 서비스에 연결하는 설치는 터미널에서 "
          "suriball-setup install --root 폴더 --server 서버 로 만듭니다."_s;
}

QString NoDemoMessage(const QString& root)
{
    return u"체험용 설치를 만들지 못하였습니다: "_s + QDir::toNativeSeparators(root)
        + u"\r\n\r\n터미널에서 suriball-setup demo --root 폴더 로 만들 수 있습니다."_s;
}
