#pragma once

namespace db {
class Connection;

// The demo store's receivables: the two credit clients owe, one has paid part in cash, one
// receivable was settled with a cheque and a credit note, and a note waits to be applied and
// another to be authorised. Left alone when the store already has receivables.
void populateDemoCobranza(Connection &c);

} // namespace db
