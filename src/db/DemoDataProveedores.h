#pragma once

namespace db {
class Connection;

// The demo store's suppliers: three drug wholesalers (two of them exchanging lists and orders
// electronically), a grocery distributor and a person who supplies perfumery, each with the
// departments it serves. Suppliers whose key exists are left as they are.
void populateDemoProveedores(Connection &c);

} // namespace db
