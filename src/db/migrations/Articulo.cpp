#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// tArticulo
void articulo(Connection &connection)
{
    Q_UNUSED(connection);
}

} // namespace db::migrations
