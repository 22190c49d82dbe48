#pragma once

#include "Connection.h"

namespace db {

// Rolls back unless commit() was called: a document is written whole or not at all.
class Transaction {
public:
    explicit Transaction(Connection &connection);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();
    void rollback();

private:
    Connection &m_connection;
    bool m_active = true;
    int m_depth = 0; // the connection's depth while this transaction is open
};

} // namespace db
