#pragma once

namespace db {
class Connection;

// The demo store's clients: the default client SYS (general public, RFC XAXX010101000) and a few
// cash and credit clients of different client types with their tax data. Clients whose key
// exists are left as they are.
void populateDemoClientes(Connection &c);

} // namespace db
