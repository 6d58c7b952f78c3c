#pragma once

#include "Connection.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QVariantList>

#include <functional>

struct sqlite3;
struct sqlite3_stmt;

// The rows of one SELECT on an SQLite file, read straight from SQLite without a QVariant per value: for
// the passes over every game of a draw, which may hold a million. Values are bound as Query binds them,
// the statement is prepared once and can be run again. Failures throw SqlError.
//
//     RowReader r(gUserConn, u"SELECT No1, SNo1 FROM List1 WHERE BokNo = ?"_s);
//     r.run({drawNo});
//     while (r.next()) use(r.latin1(0), r.integer(1));
//
// A change run many times over (the save of a million games) binds its values one by one instead, without
// a QVariant each, and runs once per row:
//
//     RowReader insert(gUserConn, u"INSERT INTO List1 (BokNo,No1) VALUES (?,?)"_s);
//     for (...) insert.bind(0, drawNo).bind(1, game).execute();
class RowReader
{
public:
    RowReader(const Connection& connection, const QString& sql);
    ~RowReader();
    RowReader(const RowReader&) = delete;
    RowReader& operator=(const RowReader&) = delete;

    RowReader& run(const QVariantList& values = {});
    bool next();

    // Binds the value at this place (from 0) for the next execute(); a text is copied.
    RowReader& bind(int at, qint64 value);
    RowReader& bind(int at, QStringView text);
    // Runs the statement once with the values bound: a change, whose rows are not read.
    void execute();

    bool isNull(int column) const;
    bool isInteger(int column) const; // kept as an integer, not as a text or a real
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

// A function of one text that the statements of an SQLite connection can call by name while the object
// lives: a change whose new values come from the program's own rule is then one statement over a million
// rows instead of one statement per row. The text comes as SQLite keeps it (UTF-8; empty for NULL), the
// answer is an integer. Only statements the program runs may call it, not triggers or views of the file.
class SqlFunction
{
public:
    using Body = std::function<qint64(QByteArrayView utf8)>;
    SqlFunction(const Connection& connection, const QByteArray& name, Body body);
    ~SqlFunction();
    SqlFunction(const SqlFunction&) = delete;
    SqlFunction& operator=(const SqlFunction&) = delete;

private:
    Connection m_connection;
    sqlite3* m_db = nullptr;
    QByteArray m_name;
    Body m_body;
};

// Binds one value as Qt's SQLite driver would; false for a kind it leaves to Qt (or a failed bind).
bool BindSqliteValue(sqlite3_stmt* statement, int at, const QVariant& value);
// A stamp of the file's content as the connection sees it: it differs after any change of a row or a table
// by this connection (committed or not), after any transaction rolled back and after any change another
// connection committed. Empty for another engine.
QString ContentStamp(const Connection& connection);
// The SQLite file under a connection, or null for another engine.
sqlite3* SqliteHandle(const Connection& connection);
