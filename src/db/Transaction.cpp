#include "Transaction.h"

namespace db {

Transaction::Transaction(Connection &connection) : m_connection(connection)
{
    m_connection.begin();
    m_depth = m_connection.transactionDepth();
}

Transaction::~Transaction()
{
    if (!m_active)
        return;
    try {
        m_connection.rollback();
    } catch (const DbError &) {
        // The connection may be gone; the server drops the transaction with it.
    }
}

void Transaction::commit()
{
    if (!m_active)
        return;
    try {
        m_connection.commit();
    } catch (...) {
        // A COMMIT that failed may leave the transaction open (SQLite busy, a lost reply):
        // the destructor must still roll it back, unless the connection already did.
        m_active = m_connection.transactionDepth() >= m_depth;
        throw;
    }
    m_active = false;
}

void Transaction::rollback()
{
    if (!m_active)
        return;
    m_active = false;
    m_connection.rollback();
}

} // namespace db
