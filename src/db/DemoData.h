#pragma once

namespace db {

class Connection;

// The demo store a newcomer sees after "mostrador-admin db init --demo": one warehouse, one
// terminal, the branch row, the ticket header and footer, the sale messages, the catalogues and
// a few hundred articles with their prices.
// Idempotent: rows that exist are left as they are.
class DemoData {
public:
    static void populate(Connection &connection);
};

} // namespace db
