#include "UserDbUpgrade.h"

#include "Query.h"
#include "Schema.h"
#include "Transaction.h"

#include <QHash>

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
IndexPlan planIndexes(const Connection& connection)
{
    IndexPlan plan;
    for (const TableDef& table : Schema::userTables()) {
        if (!connection.hasTable(table.name))
            continue;
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

} // namespace

const QStringList& UserTablesAddedLater()
{
    static const QStringList names = {u"Claim1"_s}; // the received marks of won draws
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
    const IndexPlan indexes = planIndexes(connection); // of the tables already there
    if (missing.empty() && indexes.empty())
        return;
    Transaction transaction(connection);
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
