#include "DemoDataCatalogos.h"

#include "Connection.h"

namespace db {

void populateDemoCatalogos(Connection &c)
{
    Q_UNUSED(c);
}

} // namespace db
