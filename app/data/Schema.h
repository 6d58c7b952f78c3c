#pragma once

#include "Connection.h"

#include <QString>
#include <QStringList>

#include <vector>

// The tables of the three databases. The programs never create a table: the setup tool builds them from
// these lists, and the programs check an opened file against them.
enum class ColumnKind { Text, Number, Bytes };

struct ColumnDef
{
    QString name;
    ColumnKind kind;
};

struct IndexDef
{
    QString name;
    QString columns; // "BokNo, SNo1"
    bool unique;
    QString where = {}; // a partial index: only the rows this condition holds for
};

struct TableDef
{
    QString name;
    std::vector<ColumnDef> columns;
    std::vector<IndexDef> indexes;
    // A key the rows are kept in order of ("BokNo, SNo1"). On SQLite the table is that order itself (WITHOUT
    // ROWID): no second tree to write for each row. Empty: a plain table.
    QString primaryKey = {};
    // Added after servers were in use: a server file without it still opens (the setup tool adds it when
    // it first needs it).
    bool addedLater = false;
};

namespace Schema {

const std::vector<TableDef>& systemTables();
const std::vector<TableDef>& userTables();
const std::vector<TableDef>& serverTables();

// CREATE TABLE and CREATE INDEX statements for one engine.
QStringList createStatements(const TableDef& table, Connection::Engine engine);

// The CREATE TABLE statement alone, under another name when one is given.
QString createTable(const TableDef& table, Connection::Engine engine, const QString& name = {});

// The CREATE INDEX statement of one index.
QString createIndex(const TableDef& table, const IndexDef& index);

// The first table of the list that the database lacks, or an empty text; tables added later do not count.
QString missingTable(const Connection& connection, const std::vector<TableDef>& tables);

} // namespace Schema
