#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// tCodigo: event scripts
void codigo(Connection &connection)
{
    Q_UNUSED(connection);
}

} // namespace db::migrations
