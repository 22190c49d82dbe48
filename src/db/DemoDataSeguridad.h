#pragma once

namespace db {

class Connection;

// The demo store's profiles and users: ADMINISTRADOR with every right and its user ADMIN
// (password "admin"), CAJERO with the counter's rights and its user CAJERO (password "cajero").
// Idempotent: rows that exist are left as they are.
void populateDemoSeguridad(Connection &connection);

} // namespace db
