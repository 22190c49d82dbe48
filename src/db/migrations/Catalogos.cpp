#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// the small catalogues
void catalogos(Connection &connection)
{
    Q_UNUSED(connection);
}

} // namespace db::migrations
