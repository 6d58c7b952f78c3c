#pragma once

#include "Connection.h"

#include <QSqlQuery>
#include <QVariant>
#include <QVariantList>

// A prepared statement on one connection. Values are always bound, never pasted into the text; the
// same Query can be run again with other values, which is how loops stay fast. Failures throw SqlError.
//
//     Query q(gUserConn, u"SELECT No1, Top1 FROM List1 WHERE BokNo = ?"_s);
//     q.run({drawNo});
//     while (q.next()) use(q.text(u"No1"_s));
class Query
{
public:
    Query(const Connection& connection, const QString& sql);

    Query& run(const QVariantList& values = {});
    bool next();
    // The first row's presence, for queries that only ask whether something exists.
    bool found() { return next(); }

    QVariant value(const QString& column) const;
    // A null or missing value reads as the empty text, as the tables' texts are read everywhere.
    QString text(const QString& column) const;
    qint64 integer(const QString& column) const;
    double number(const QString& column) const;

    int rowsAffected() const;
    QSqlQuery& raw() { return m_query; }

private:
    [[noreturn]] void fail() const;

    QString m_sql;
    QSqlQuery m_query;
};

// Runs one change (INSERT, UPDATE, DELETE, or DDL in the setup tool) and returns the rows it touched.
int Execute(const Connection& connection, const QString& sql, const QVariantList& values = {});
