#pragma once

namespace db {
class Connection;

// The demo store's articles (a pharmacy with groceries) with their price rows, wholesale lists,
// offers, packs, a gift basket, extra bar codes and stock in MATRIZ, and the price concepts of
// the client types priced by department. Articles whose key exists are left as they are.
void populateDemoArticulos(Connection &c);

} // namespace db
