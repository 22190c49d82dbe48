#pragma once

#include "Decimal.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The plain values a collection is made of: the receivables being collected, the payment lines
// received and the credit notes applied. Shared by the payment dialog, the writer and the windows.

// The receivable states a collection accepts.
namespace EstadosCobro {
inline const QStringList &abiertos()
{
    static const QStringList l = {QStringLiteral("REGISTRADA"), QStringLiteral("PENDIENTE"),
                                  QStringLiteral("AUTORIZADA"), QStringLiteral("COBRO_PARCIAL"),
                                  QStringLiteral("VENCIDA")};
    return l;
}
// What is left below this counts as settled.
inline Decimal liquidado()
{
    return Decimal("0.01");
}
} // namespace EstadosCobro

// One receivable in the payment dialog's grid.
struct CuentaCobro {
    QString cliente, nombreCliente;
    qint64 clave = 0;
    QDateTime fecha;
    Decimal importe, pagado;
    QString estado;
    Decimal cobro; // the part of the paid total spread onto it ("Cobro")

    Decimal pendiente() const { return importe - pagado; }
    friend bool operator==(const CuentaCobro &, const CuentaCobro &) = default;
};

// One payment line of the dialog (a TCOBRO row once written).
struct PagoCobro {
    QString tipo; // tcobro_Clave
    Decimal importe;
    QString banco, cheque, tarjeta, folioTarjeta, moneda;
    Decimal importeMoneda, tipoCambio;
    QString referencia; // a "NOTA" line: the note's folio
    QString cliente;
    qint64 prorrateo = 0; // the line's folio cobro_Clave once written ("Prorrateo")

    friend bool operator==(const PagoCobro &, const PagoCobro &) = default;
};

// A client credit note (tNotaCliente).
struct NotaCobro {
    QString cliente;
    qint64 clave = 0;
    QDateTime fecha;
    Decimal importe;
    QString concepto;
    QString estado, nombreEstado;

    friend bool operator==(const NotaCobro &, const NotaCobro &) = default;
};
