#pragma once

namespace db {
class Connection;

// Demo rows of the codigo tables; each row only when its key is missing.
void populateDemoCodigo(Connection &c);

} // namespace db
