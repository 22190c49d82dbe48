#pragma once

namespace db {
class Connection;

// Demo rows of the catalogos tables; each row only when its key is missing.
void populateDemoCatalogos(Connection &c);

} // namespace db
