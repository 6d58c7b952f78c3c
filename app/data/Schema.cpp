#include "Schema.h"

using namespace Qt::StringLiterals;

namespace {

ColumnDef t(QStringView name) { return {name.toString(), ColumnKind::Text}; }
ColumnDef n(QStringView name) { return {name.toString(), ColumnKind::Number}; }

// Rk1Count … Rk5Count and the like.
std::vector<ColumnDef> rankColumns(QStringView prefix, QStringView suffix)
{
    std::vector<ColumnDef> columns;
    for (int rank = 1; rank <= 5; ++rank)
        columns.push_back(n(QString(prefix + QString::number(rank) + suffix)));
    return columns;
}

std::vector<ColumnDef> concat(std::initializer_list<std::vector<ColumnDef>> parts)
{
    std::vector<ColumnDef> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The coupon a shop registers: kept locally in Bok2 and copied to the server's Coupon1.
std::vector<ColumnDef> couponColumns()
{
    return {t(u"Part2"),
            t(u"Title1"),
            t(u"Title2"),
            t(u"Comp1"),
            n(u"Count1"),
            t(u"No1Text"),
            t(u"No2Text"),
            t(u"No3Text"),
            t(u"No4Text"),
            t(u"No5Text"),
            t(u"Text1"),
            t(u"Text2")};
}

} // namespace

namespace Schema {

const std::vector<TableDef>& systemTables()
{
    static const std::vector<TableDef> tables = {
        {u"Info1"_s, {t(u"Section1"), t(u"Name1"), t(u"Value1")}, {{u"Info1_Key"_s, u"Section1, Name1"_s, true}}},
        {u"Hot1"_s, {n(u"No1"), t(u"Part1"), t(u"Text1"), t(u"Url1")}, {{u"Hot1_No"_s, u"No1"_s, false}}},
        {u"BokList"_s,
         concat({{n(u"BokNo"), t(u"Date1"), t(u"Date2"), t(u"No1")},
                 rankColumns(u"Rk", u"Count"),
                 rankColumns(u"Rk", u"Kum"),
                 {n(u"Sum1"), n(u"Sum2"), t(u"State1")}}),
         {{u"BokList_BokNo"_s, u"BokNo"_s, true}}},
        {u"Tip1"_s, {t(u"Part1"), n(u"No1"), t(u"Text1")}, {{u"Tip1_Part"_s, u"Part1, No1"_s, false}}},
        {u"Update1"_s,
         {t(u"Name1"), t(u"File1"), n(u"Size1"), t(u"Date1"), n(u"FileNo1")},
         {{u"Update1_Name"_s, u"Name1"_s, true}}},
    };
    return tables;
}

const std::vector<TableDef>& userTables()
{
    static const std::vector<TableDef> tables = {
        {u"MyInfo1"_s, {t(u"Name1"), t(u"Value1")}, {{u"MyInfo1_Name"_s, u"Name1"_s, false}}},
        {u"Bok1"_s, {n(u"BokNo"), n(u"Count1"), t(u"Bigo1"), t(u"Tag1")}, {{u"Bok1_BokNo"_s, u"BokNo"_s, true}}},
        {u"List1"_s,
         {n(u"BokNo"), n(u"GNo1"), t(u"No1"), t(u"Top1"), n(u"Kum1"), n(u"SNo1")},
         // A draw may hold a million games, and every tree of the table is written for each game saved,
         // ranked or deleted. So the games are kept in the order of draw and serial themselves, which is
         // the order they are saved in and the key every single game is found by, and besides it there is
         // only the rank index, which holds the winning games alone: a game saved (pending, "9") or ranked
         // a loser ("0") moves no entry of it, and deleting the losers walks the table in order. The
         // statements that use it say "Top1 BETWEEN '1' AND '5'" so that SQLite knows it may. Groups and
         // numbers are read from one pass over the draw (DrawGames) instead of indexes written for every
         // game.
         {{u"List1_Rank"_s, u"BokNo, Top1, SNo1"_s, false, u"Top1 BETWEEN '1' AND '5'"_s}},
         u"BokNo, SNo1"_s},
        {u"Group1"_s, {n(u"GNo1"), t(u"GName1")}, {{u"Group1_GNo"_s, u"GNo1"_s, true}}},
        {u"Bok2"_s, concat({{n(u"BokNo")}, couponColumns(), {t(u"Bigo1")}}), {{u"Bok2_BokNo"_s, u"BokNo"_s, true}}},
        {u"List2"_s,
         {n(u"BokNo"), n(u"SNo1"), t(u"SNo2"), t(u"No1"), t(u"Top1"), t(u"Date1"), t(u"Tag1")},
         {{u"List2_Game"_s, u"BokNo, SNo1, SNo2"_s, false}, {u"List2_Tag"_s, u"BokNo, Tag1"_s, false}}},
        // Added later: older member files get it at opening (UpgradeUserDatabase).
        {u"Claim1"_s, {n(u"BokNo"), t(u"Date1")}, {{u"Claim1_BokNo"_s, u"BokNo"_s, true}}},
        // Added later too: the member's number filters of the game window, one row a setting.
        {u"Filter1"_s, {t(u"Name1"), n(u"Value1")}, {{u"Filter1_Name"_s, u"Name1"_s, true}}},
    };
    return tables;
}

const std::vector<TableDef>& serverTables()
{
    static const std::vector<TableDef> tables = {
        {u"Member"_s,
         {t(u"ID1"), t(u"Pwd"), t(u"Name1"), t(u"JuminNo1"), t(u"Email1"), t(u"Level1"), t(u"State1"), t(u"Login2")},
         {{u"Member_ID"_s, u"ID1"_s, true}}},
        {u"Info1"_s, {t(u"IFPart1"), t(u"Name1"), t(u"Text1")}, {{u"Info1_Key"_s, u"IFPart1, Name1"_s, true}}},
        {u"BokList"_s,
         concat({{n(u"BokNo"), t(u"Date1"), t(u"Date2"), t(u"LotNo"), t(u"State1"), t(u"State2")},
                 rankColumns(u"Rk", u"Count"),
                 rankColumns(u"Rk", u"Kum")}),
         {{u"BokList_BokNo"_s, u"BokNo"_s, true}, {u"BokList_State2"_s, u"State2"_s, false}}},
        {u"PrList"_s, {t(u"Title1"), t(u"Url1"), t(u"State1"), t(u"Show1"), n(u"Sum1")}, {}},
        {u"Coupon1"_s,
         concat({{t(u"ID1"), n(u"BokNo")}, couponColumns()}),
         {{u"Coupon1_Key"_s, u"ID1, BokNo"_s, true}}},
        {u"NBList1"_s,
         {n(u"JPCodeNo"),
          t(u"ID1"),
          n(u"BokNo"),
          t(u"Date1"),
          n(u"Count1"),
          n(u"Count2"),
          n(u"Danga1"),
          t(u"State1"),
          t(u"SendNo1"),
          t(u"Bigo1"),
          t(u"Comp1"),
          t(u"Title1"),
          t(u"Tel1"),
          t(u"Text1"),
          t(u"Text2"),
          t(u"Text3")},
         {{u"NBList1_Code"_s, u"JPCodeNo"_s, true}, {u"NBList1_BokNo"_s, u"BokNo"_s, false}}},
        {u"NBNo1"_s,
         {n(u"JPCodeNo"), n(u"BokNo"), t(u"No1"), t(u"Top1"), n(u"Kum1"), n(u"SNo1"), t(u"SNo2"), t(u"Cancel1")},
         {{u"NBNo1_Ticket"_s, u"JPCodeNo, SNo1, SNo2"_s, false}, {u"NBNo1_BokNo"_s, u"BokNo, Top1"_s, false}}},
        {u"NBNo2"_s,
         {n(u"JPCodeNo"), n(u"BokNo"), t(u"No1"), t(u"Top1"), n(u"Kum1"), n(u"SNo1"), t(u"SNo2")},
         {{u"NBNo2_BokNo"_s, u"BokNo"_s, false}, {u"NBNo2_Ticket"_s, u"JPCodeNo, SNo1, SNo2"_s, false}}},
        {u"S1List"_s,
         concat({{n(u"BokNo"), n(u"Sum1")}, rankColumns(u"S", u"Count"), rankColumns(u"S", u"Kum")}),
         {{u"S1List_BokNo"_s, u"BokNo"_s, true}}},
        // Sig1: the service's signature of the row's file, without which no install takes it. It comes
        // before the file's bytes: SQLite reaches a column behind a large value only by walking through it.
        {u"Update1"_s,
         {t(u"Name1"),
          t(u"File1"),
          n(u"Size1"),
          t(u"Date1"),
          {u"Sig1"_s, ColumnKind::Bytes},
          {u"Bin1"_s, ColumnKind::Bytes}},
         {{u"Update1_Name"_s, u"Name1"_s, true}, {u"Update1_Date"_s, u"Date1"_s, false}}},
        // One row per release: the description of every file it is made of (JSON) and the service's
        // signature of it. Updaters read the one whose stamp the draw-progress text offers; those from before
        // releases were signed never look here. Only the publisher writes it.
        {u"Release1"_s,
         {t(u"Stamp1"), {u"Sig1"_s, ColumnKind::Bytes}, {u"Manifest1"_s, ColumnKind::Bytes}},
         {{u"Release1_Stamp"_s, u"Stamp1"_s, true}},
         QString(),
         true},
    };
    return tables;
}

QString createTable(const TableDef& table, Connection::Engine engine, const QString& name)
{
    const bool pg = engine == Connection::Engine::PostgreSQL;
    QStringList columns;
    for (const ColumnDef& column : table.columns) {
        QString type;
        switch (column.kind) {
        case ColumnKind::Text:
            type = u"TEXT"_s;
            break;
        case ColumnKind::Number:
            type = pg ? u"BIGINT"_s : u"INTEGER"_s;
            break;
        case ColumnKind::Bytes:
            type = pg ? u"BYTEA"_s : u"BLOB"_s;
            break;
        }
        columns.append(column.name + u' ' + type);
    }
    if (!table.primaryKey.isEmpty())
        columns.append(u"PRIMARY KEY ("_s + table.primaryKey + u')');
    QString statement
        = u"CREATE TABLE "_s + (name.isEmpty() ? table.name : name) + u" ("_s + columns.join(u", "_s) + u')';
    if (!table.primaryKey.isEmpty() && !pg)
        statement += u" WITHOUT ROWID"_s;
    return statement;
}

QStringList createStatements(const TableDef& table, Connection::Engine engine)
{
    QStringList statements {createTable(table, engine)};
    for (const IndexDef& index : table.indexes)
        statements.append(createIndex(table, index));
    return statements;
}

QString createIndex(const TableDef& table, const IndexDef& index)
{
    QString statement = (index.unique ? u"CREATE UNIQUE INDEX "_s : u"CREATE INDEX "_s) + index.name + u" ON "_s
        + table.name + u" ("_s + index.columns + u')';
    if (!index.where.isEmpty())
        statement += u" WHERE "_s + index.where;
    return statement;
}

QString missingTable(const Connection& connection, const std::vector<TableDef>& tables)
{
    for (const TableDef& table : tables) {
        if (!table.addedLater && !connection.hasTable(table.name))
            return table.name;
    }
    return QString();
}

} // namespace Schema
