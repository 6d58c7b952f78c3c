#pragma once

#include "Connection.h"

// One user action that writes several rows is one transaction: all of it lands or none of it. The guard
// rolls back when the scope is left without commit(), by an exception or an early return.
class Transaction
{
public:
    explicit Transaction(const Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Connection m_connection;
    bool m_open = false;
};
