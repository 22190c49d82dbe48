#pragma once

namespace db {

class Connection;

// The demo store a newcomer sees after "mostrador-admin db init --demo": one warehouse, one
// terminal, the branch row, the ticket header and footer and the sale messages.
// Idempotent: rows that exist are left as they are.
class DemoData {
public:
    static void populate(Connection &connection);
};

} // namespace db
