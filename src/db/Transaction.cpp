#include "Transaction.h"

namespace db {

Transaction::Transaction(Connection &connection) : m_connection(connection)
{
    m_connection.begin();
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
    m_active = false;
    m_connection.commit();
}

void Transaction::rollback()
{
    if (!m_active)
        return;
    m_active = false;
    m_connection.rollback();
}

} // namespace db
