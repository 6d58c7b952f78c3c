#include "SqlFailure.h"

#include <QSqlDriver>
#include <QSqlError>

using namespace Qt::StringLiterals;

namespace {

// SQLite's primary result codes; the extended ones carry them in the low byte.
QString sqliteExplanation(const QString& nativeCode)
{
    bool ok = false;
    const int code = nativeCode.toInt(&ok);
    if (!ok)
        return {};
    switch (code & 0xFF) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return u"다른 프로그램이 데이터베이스 화일을 쓰고 있어 저장하지 못했습니다. 잠시 후 다시 시도하여 주십시오."_s;
    case 8: // SQLITE_READONLY
        return u"데이터베이스 화일이 읽기 전용이어서 저장할 수 없습니다. 화일의 속성과 사용 권한을 확인하여 주십시오."_s;
    case 10: // SQLITE_IOERR
    case 13: // SQLITE_FULL
        return u"디스크에 쓰지 못했습니다. 디스크의 남은 공간을 확인하여 주십시오."_s;
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return u"데이터베이스 화일이 손상되었습니다."_s;
    default:
        return {};
    }
}

} // namespace

SqlError SqliteFailureOf(int resultCode, const QString& text, const QString& sql)
{
    const QString code = QString::number(resultCode);
    const QString explanation = sqliteExplanation(code);
    return SqlError(explanation.isEmpty() ? text : explanation + u" ("_s + text + u')', code, sql);
}

SqlError FailureOf(const QSqlDriver* driver, const QSqlError& error, const QString& sql, const QString& lead)
{
    QString text = lead + error.text();
    if (driver && driver->dbmsType() == QSqlDriver::SQLite) {
        const QString explanation = sqliteExplanation(error.nativeErrorCode());
        if (!explanation.isEmpty())
            text = explanation + u" ("_s + text + u')';
    }
    // The server's refusal of a write the member's session does not cover (insufficient_privilege, a
    // row-level rule included): nothing was written.
    if (driver && driver->dbmsType() == QSqlDriver::PostgreSQL && error.nativeErrorCode() == u"42501"_s) {
        text = u"서버가 이 작업을 허락하지 않아 아무것도 바꾸지 않았습니다. 로그인 세션이 끝났거나 권한이 "
               "없습니다. ("_s
            + text + u')';
    }
    return SqlError(text, error.nativeErrorCode(), sql);
}
