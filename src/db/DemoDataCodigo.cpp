#include "DemoDataCodigo.h"

#include "Connection.h"

namespace db {

void populateDemoCodigo(Connection &c)
{
    Q_UNUSED(c);
}

} // namespace db
