#include "UserDbUpgrade.h"

#include "Query.h"
#include "Schema.h"
#include "Transaction.h"

using namespace Qt::StringLiterals;

const QStringList& UserTablesAddedLater()
{
    static const QStringList names = {u"Claim1"_s}; // the received marks of won draws
    return names;
}

void UpgradeUserDatabase(const Connection& connection)
{
    std::vector<const TableDef*> missing;
    for (const TableDef& table : Schema::userTables()) {
        if (connection.hasTable(table.name))
            continue;
        if (!UserTablesAddedLater().contains(table.name))
            return; // not a member's file, or a damaged one: nothing to add to
        missing.push_back(&table);
    }
    if (missing.empty())
        return;
    Transaction transaction(connection);
    for (const TableDef* table : missing) {
        for (const QString& statement : Schema::createStatements(*table, connection.engine()))
            Execute(connection, statement);
    }
    transaction.commit();
}
