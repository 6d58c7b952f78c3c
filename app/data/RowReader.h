#pragma once

#include "Connection.h"

#include <QByteArrayView>
#include <QString>
#include <QVariantList>

struct sqlite3;
struct sqlite3_stmt;

// The rows of one SELECT on an SQLite file, read straight from SQLite without a QVariant per value: for
// the passes over every game of a draw, which may hold a million. Values are bound as Query binds them,
// the statement is prepared once and can be run again. Failures throw SqlError.
//
//     RowReader r(gUserConn, u"SELECT No1, SNo1 FROM List1 WHERE BokNo = ?"_s);
//     r.run({drawNo});
//     while (r.next()) use(r.latin1(0), r.integer(1));
class RowReader
{
public:
    RowReader(const Connection& connection, const QString& sql);
    ~RowReader();
    RowReader(const RowReader&) = delete;
    RowReader& operator=(const RowReader&) = delete;

    RowReader& run(const QVariantList& values = {});
    bool next();

    bool isNull(int column) const;
    qint64 integer(int column) const;
    // The text as SQLite keeps it (UTF-8), valid until the next row.
    QByteArrayView utf8(int column) const;
    QString text(int column) const;

private:
    [[noreturn]] void fail(int code) const;

    QString m_sql;
    Connection m_connection; // kept open while the statement lives
    QVariantList m_values;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};

// Binds one value as Qt's SQLite driver would; false for a kind it leaves to Qt (or a failed bind).
bool BindSqliteValue(sqlite3_stmt* statement, int at, const QVariant& value);
// A stamp of the file's content as the connection sees it: it differs after any change of a row or a table
// by this connection (committed or not) and after any change another connection committed. Empty for
// another engine.
QString ContentStamp(const Connection& connection);
// The SQLite file under a connection, or null for another engine.
sqlite3* SqliteHandle(const Connection& connection);
