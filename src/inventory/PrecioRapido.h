#pragma once

#include "Precio.h"

class ConnectionProvider;
class Prompter;
class cConfigure;

// The quick article entry (frmPrecio): key, name, department, cost and price as the customer
// pays them. With "price includes tax" the typed amounts are divided by (1 + rate/100) when the
// field is left; the rate comes from ALTA-RAPIDA-IVA-PORCENTAJE (16 by default).
class PrecioRapido {
public:
    PrecioRapido(ConnectionProvider &connections, cConfigure &config, Prompter &prompter,
                 const CalculoPrecio &calculo);

    QString clave, nombre, departamento;

    // The box's state, kept in ALTA-RAPIDA-PRECIO-INCLUYE-IVA; sets the rate to the configured
    // one when ticked and to 0 when not.
    bool incluyeIva() const { return m_incluyeIva; }
    void setIncluyeIva(bool incluye);
    QString impuestoPorcentaje() const { return m_porcentaje; }
    void setImpuestoPorcentaje(const QString &texto);

    // Leaving the cost or price field: the typed amount without tax, "0.00", then the breakdown.
    QString costo() const { return m_costo; }
    QString precioVenta() const { return m_precio; }
    void saleCosto(const QString &texto);
    void salePrecio(const QString &texto);
    const Precio &precio() const { return m_desglose; }

    // Checks and inserts the article with its normal row in one transaction.
    bool guardaDatos();
    QString campoRechazado() const { return m_campo; }

private:
    QString sinImpuesto(const QString &texto) const;
    void calcula();
    bool rechaza(const QString &campo, const QString &mensaje);

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Prompter &m_prompter;
    const CalculoPrecio &m_calculo;
    bool m_incluyeIva = false;
    QString m_porcentaje = QStringLiteral("0");
    QString m_costo, m_precio;
    Precio m_desglose;
    QString m_campo;
};
