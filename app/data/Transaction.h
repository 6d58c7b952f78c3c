#pragma once

#include "Connection.h"

// One user action that writes several rows is one transaction: all of it lands or none of it. The guard
// rolls back when the scope is left without commit(), by an exception or an early return.
class Transaction
{
public:
    enum class Start {
        Deferred, // the file is locked for writing by the first change
        Immediate, // locked for writing at once (SQLite): no other program commits before this one ends
    };
    explicit Transaction(const Connection& connection, Start start = Start::Deferred);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Connection m_connection;
    bool m_open = false;
};

// How many transactions this process has rolled back. SQLite's own count of changed rows does not go back
// when a transaction does: a stamp of a file's content (ContentStamp) counts these too, so that what was
// read inside a transaction that was then undone is not taken for the file's content.
quint64 RolledBackTransactions();
