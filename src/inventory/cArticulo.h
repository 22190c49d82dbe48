#pragma once

#include "Precio.h"

#include <QObject>

class ConnectionProvider;
class Prompter;

// An article as event scripts read it: Search loads one by key (or by one of its barcodes), the
// properties give its data and own price breakdown, and PrecioCliente puts in their place the
// price that applies to a client type ("TipoPrecio" says which row gave it).
//   Set a = xFactory.create("newcArticulo")
//   If a.Search("7501234567895") Then Echo a.Nombre & " " & a.Total
class cArticulo : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isLoad READ isLoad)
    Q_PROPERTY(QString Clave READ clave)
    Q_PROPERTY(QString Nombre READ nombre)
    Q_PROPERTY(QString Departamento READ departamento)
    Q_PROPERTY(QString Familia READ familia)
    Q_PROPERTY(QString Estado READ estado)
    Q_PROPERTY(QString ControlInventario READ controlInventario)
    Q_PROPERTY(QString CambioPrecio READ cambioPrecio)
    Q_PROPERTY(QString TipoPrecio READ tipoPrecio)
    Q_PROPERTY(double Existencia READ existencia)
    Q_PROPERTY(double Costo READ costo)
    Q_PROPERTY(double Publico READ publico)
    Q_PROPERTY(double Descuento READ descuento)
    Q_PROPERTY(double SubTotal READ subTotal)
    Q_PROPERTY(double Margen READ margen)
    Q_PROPERTY(double Utilidad READ utilidad)
    Q_PROPERTY(double ImpuestoPorcentaje READ impuestoPorcentaje)
    Q_PROPERTY(double ImpuestoImporte READ impuestoImporte)
    Q_PROPERTY(double Total READ total)
public:
    cArticulo(ConnectionProvider &connections, Prompter &prompter, const CalculoPrecio &calculo,
              QObject *parent = nullptr);

    Q_INVOKABLE bool Search(const QString &clave);
    Q_INVOKABLE bool PrecioCliente(const QString &tipoCliente, const QString &filtro = QString(), double cantidad = 0);

    bool isLoad() const { return m_loaded; }
    QString clave() const { return m_clave; }
    QString nombre() const { return m_nombre; }
    QString departamento() const { return m_departamento; }
    QString familia() const { return m_familia; }
    QString estado() const { return m_estado; }
    QString controlInventario() const { return m_control; }
    QString cambioPrecio() const { return m_metodo; }
    QString tipoPrecio() const { return m_tipoPrecio; }
    double existencia() const { return m_existencia.toDouble(); }
    double costo() const { return m_precio.costo.toDouble(); }
    double publico() const { return m_precio.publico.toDouble(); }
    double descuento() const { return m_precio.descuento.toDouble(); }
    double subTotal() const { return m_precio.subTotal.toDouble(); }
    double margen() const { return m_precio.margen.toDouble(); }
    double utilidad() const { return m_precio.utilidad.toDouble(); }
    double impuestoPorcentaje() const { return m_precio.impuestoPorcentaje.toDouble(); }
    double impuestoImporte() const { return m_precio.impuestoImporte.toDouble(); }
    double total() const { return m_precio.total.toDouble(); }

private:
    ConnectionProvider &m_connections;
    Prompter &m_prompter;
    const CalculoPrecio &m_calculo;
    bool m_loaded = false;
    QString m_clave, m_nombre, m_departamento, m_familia, m_estado, m_control, m_metodo, m_tipoPrecio;
    Decimal m_existencia;
    Precio m_precio;
};
