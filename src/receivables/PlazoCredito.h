#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace db {
class Connection;
}

// The due date of what a client buys on credit: the sale writer and the receivables entered by
// hand read it from the client's credit period, so both give the same date.
class PlazoCredito {
public:
    // desde plus cantidad units of a SQL date part ("mm", "d", "yyyy", "wk" ...); nothing for a
    // word that is not a date part.
    static std::optional<QDateTime> sumaIntervalo(const QDateTime &desde, const QString &parte, int cantidad);
    // The due date of a debt of the client registered at fecha: its credit period when its period
    // kind is a credit one, otherwise one month. Throws db::DbError.
    static QDateTime vencimiento(db::Connection &c, const QString &cliente, const QDateTime &fecha);
};
