#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// tConsulta, tSelect: stored queries
void consultas(Connection &connection)
{
    Q_UNUSED(connection);
}

} // namespace db::migrations
