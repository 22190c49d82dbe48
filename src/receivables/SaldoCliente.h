#pragma once

#include "Decimal.h"

#include <QString>

#include <optional>

namespace db {
class Connection;
}

// What a client owes in a warehouse and how much credit it is given; the payment rules compare
// the two before a credit payment. Both throw db::DbError.
class SaldoCliente {
public:
    // The open receivables (amount less what was paid, a missing payment counting as 0) that are
    // neither collected nor cancelled, plus the credit payments of sales still waiting to become
    // receivables ('REGISTRADO').
    static Decimal saldo(db::Connection &c, const QString &cliente, const QString &almacen);
    // cli_Credito; nothing when the client does not exist.
    static std::optional<Decimal> limiteCredito(db::Connection &c, const QString &cliente);
};
