#include "DemoDataConsultas.h"

#include "Connection.h"

namespace db {

void populateDemoConsultas(Connection &c)
{
    Q_UNUSED(c);
}

} // namespace db
