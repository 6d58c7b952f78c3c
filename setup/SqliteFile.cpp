#include "SqliteFile.h"

#include "SetupError.h"
#include "SqlError.h"

#include <QFile>

using namespace Qt::StringLiterals;

void BuildSqliteFile(const QString& path, const std::function<void(const Connection&)>& fill)
{
    const QString building = path + u".new"_s;
    QFile::remove(building);
    {
        QFile empty(building);
        if (!empty.open(QIODevice::WriteOnly))
            throw SetupError(u"화일을 만들 수 없습니다: "_s + building);
    }
    try {
        Connection connection = Connection::openSqlite(building);
        fill(connection);
    } catch (const SqlError& error) {
        QFile::remove(building);
        throw SetupError(u"데이터베이스를 만들 수 없습니다: "_s + path + u" ("_s + error.message() + u')');
    } catch (...) {
        QFile::remove(building);
        throw;
    }
    QFile::remove(path);
    if (!QFile::rename(building, path))
        throw SetupError(u"화일을 제자리에 놓을 수 없습니다: "_s + path);
}
