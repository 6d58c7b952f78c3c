#include "UserDbUpgrade.h"

#include "Query.h"
#include "Schema.h"
#include "Transaction.h"

#include <QHash>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct IndexPlan
{
    QStringList drop;
    QStringList create;
    bool empty() const { return drop.isEmpty() && create.isEmpty(); }
};

// The indexes of the member's tables as the template has them: one missing or written otherwise is made
// anew, and one the template no longer has is dropped (each is written for every game saved). Tables the
// file lacks are left to the check at opening.
IndexPlan planIndexes(const Connection& connection, const std::vector<const TableDef*>& rebuilt)
{
    IndexPlan plan;
    for (const TableDef& table : Schema::userTables()) {
        if (!connection.hasTable(table.name))
            continue;
        if (std::find(rebuilt.begin(), rebuilt.end(), &table) != rebuilt.end()) {
            // Made anew below, with none of its old indexes.
            for (const IndexDef& index : table.indexes)
                plan.create.append(Schema::createIndex(table, index));
            continue;
        }
        QHash<QString, QString> present; // lower-case name -> statement
        Query q(connection, u"SELECT name, sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ?"_s);
        q.run({table.name});
        while (q.next()) {
            // SQLite's own indexes (of UNIQUE constraints) have no statement and are not ours to drop.
            if (!q.raw().value(1).isNull())
                present.insert(q.raw().value(0).toString().toLower(), q.raw().value(1).toString().simplified());
        }
        for (const IndexDef& index : table.indexes) {
            const QString wanted = Schema::createIndex(table, index);
            const auto found = present.find(index.name.toLower());
            if (found != present.end() && found.value() == wanted.simplified()) {
                present.erase(found);
                continue;
            }
            if (found != present.end()) {
                plan.drop.append(index.name);
                present.erase(found);
            }
            plan.create.append(wanted);
        }
        for (auto it = present.cbegin(); it != present.cend(); ++it)
            plan.drop.append(it.key());
    }
    return plan;
}

// The tables kept in the order of their key whose file still has them as plain tables (the layout before
// the games were kept in draw and serial order).
std::vector<const TableDef*> tablesToRebuild(const Connection& connection)
{
    std::vector<const TableDef*> tables;
    for (const TableDef& table : Schema::userTables()) {
        if (table.primaryKey.isEmpty() || !connection.hasTable(table.name))
            continue;
        Query q(connection, u"SELECT sql FROM sqlite_master WHERE type = 'table' AND lower(name) = lower(?)"_s);
        q.run({table.name});
        // SQLite quotes the name of a table it renamed, as it did when an earlier upgrade made this one.
        const auto plain = [](const QString& sql) { return QString(sql).remove(u'"').simplified(); };
        if (q.next() && plain(q.text(u"sql"_s)) != plain(Schema::createTable(table, connection.engine())))
            tables.push_back(&table);
    }
    return tables;
}

// Copies the table's rows into one of the template's layout, which takes its name. A row the new layout
// cannot hold (two games under one serial, a game without a draw or serial) fails the copy, and with it the
// whole upgrade: nothing is dropped for it.
void rebuild(const Connection& connection, const TableDef& table)
{
    const QString fresh = table.name + u"_Upgrade"_s;
    QStringList columns;
    for (const ColumnDef& column : table.columns)
        columns.append(column.name);
    const QString list = columns.join(u", "_s);
    Execute(connection, u"DROP TABLE IF EXISTS "_s + fresh);
    Execute(connection, Schema::createTable(table, connection.engine(), fresh));
    Execute(connection,
            u"INSERT INTO "_s + fresh + u" ("_s + list + u") SELECT "_s + list + u" FROM "_s + table.name
                + u" ORDER BY "_s + table.primaryKey);
    Execute(connection, u"DROP TABLE "_s + table.name);
    Execute(connection, u"ALTER TABLE "_s + fresh + u" RENAME TO "_s + table.name);
}

} // namespace

const QStringList& UserTablesAddedLater()
{
    // The received marks of won draws; the number filters of the game window.
    static const QStringList names = {u"Claim1"_s, u"Filter1"_s};
    return names;
}

void UpgradeUserDatabase(const Connection& connection)
{
    if (connection.engine() != Connection::Engine::SQLite)
        return;
    // Each step looks at the file and does only what is missing; a current file is only read.
    std::vector<const TableDef*> missing;
    for (const TableDef& table : Schema::userTables()) {
        if (connection.hasTable(table.name))
            continue;
        if (!UserTablesAddedLater().contains(table.name))
            return; // not a member's file, or a damaged one: the check at opening refuses it
        missing.push_back(&table);
    }
    const std::vector<const TableDef*> rebuilt = tablesToRebuild(connection);
    const IndexPlan indexes = planIndexes(connection, rebuilt); // of the tables already there
    if (missing.empty() && rebuilt.empty() && indexes.empty())
        return;
    Transaction transaction(connection);
    for (const TableDef* table : rebuilt)
        rebuild(connection, *table);
    for (const TableDef* table : missing) {
        for (const QString& statement : Schema::createStatements(*table, connection.engine()))
            Execute(connection, statement);
    }
    for (const QString& name : indexes.drop)
        Execute(connection, u"DROP INDEX IF EXISTS \""_s + name + u'"');
    for (const QString& statement : indexes.create)
        Execute(connection, statement);
    transaction.commit();
}
