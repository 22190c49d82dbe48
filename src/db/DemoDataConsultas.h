#pragma once

namespace db {
class Connection;

// Demo rows of the consultas tables; each row only when its key is missing.
void populateDemoConsultas(Connection &c);

} // namespace db
