#include "Settings.h"

#include "Database.h"
#include "Globals.h"
#include "MessageService.h"
#include "Query.h"

using namespace Qt::StringLiterals;

QString ReadInfo(const QString& section, const QString& name)
{
    Query query(gSystemConn, u"SELECT Value1 FROM Info1 WHERE Section1 = ? AND Name1 = ?"_s);
    query.run({section.trimmed(), name.trimmed()});
    if (query.next())
        return query.text(u"Value1"_s).trimmed();
    ShowMessage(u"[경고] 시스템 정보화일이 손상되었거나 설정값이 잘못 지정되어 읽어들일수 없습니다!"_s);
    return QString();
}

void WriteInfo(const QString& section, const QString& name, const QString& value)
{
    const int changed = Execute(gSystemConn,
                                u"UPDATE Info1 SET Value1 = ? WHERE Section1 = ? AND Name1 = ?"_s,
                                {value.trimmed(), section.trimmed(), name.trimmed()});
    if (changed == 0)
        ShowMessage(u"[경고] 시스템 정보화일이 손상되었거나 설정값이 잘못 지정되어 저장이 취소됩니다."_s);
}

QString ReadServerInfo(const QString& part, const QString& name)
{
    OpenServerConn();
    Query query(gServerConn, u"SELECT Text1 FROM Info1 WHERE IFPart1 = ? AND Name1 = ?"_s);
    query.run({part.trimmed(), name.trimmed()});
    if (query.next())
        return query.text(u"Text1"_s).trimmed();
    ShowMessage(u"[경고] 서버 정보화일이 손상되었거나 설정값이 잘못 지정되어 읽어들일수 없습니다!"_s);
    return QString();
}
