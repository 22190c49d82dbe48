#pragma once

#include "ResumenCorte.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>

class cObjectFactory;
class ConnectionProvider;
class cConfigure;

// A cut as event scripts ("xCorte", at "OnCutOfBox") and the printer read it: a copy of the
// summary, never changed by a script. Scripts make their own with xFactory.create("newcCorte")
// and loadData(terminal, year, number).
//   For r = 0 To xCorte.MovRows - 1
//       Echo xCorte.Movimiento(r, 2) & " " & xCorte.Movimiento(r, 4)   ' name and amount
//   Next
// Movimiento columns: 0 number (0 for sales and returns not written yet), 1 concept key, 2 name,
// 3 "INGRESO" or "GASTO", 4 amount, 5 sales or returns counted (Empty for a plain movement).
// Arqueo columns: 0 key, 1 value, 2 name, 3 quantity, 4 subtotal. PagosRecibidos(i) is
// "kind TAB name TAB amount", i from 0 to PagosRows - 1. Rows and payments count from 0; an
// index outside the table raises its "Fuera del limite ..." error. Money is Currency.
class cCorte : public QObject {
    Q_OBJECT
    Q_PROPERTY(int MovRows READ movRows)
    Q_PROPERTY(int MovCols READ movCols)
    Q_PROPERTY(int ArqueoRows READ arqueoRows)
    Q_PROPERTY(int ArqueoCols READ arqueoCols)
    Q_PROPERTY(QString Terminal READ terminal)
    Q_PROPERTY(int Anio READ anio)
    Q_PROPERTY(int Numero READ numero)
    Q_PROPERTY(QDateTime Fecha READ fecha)
    Q_PROPERTY(QVariant FechaFin READ fechaFin)
    Q_PROPERTY(QVariant Caja READ caja)
    Q_PROPERTY(QVariant Debe READ debe)
    Q_PROPERTY(QVariant Haber READ haber)
    Q_PROPERTY(QVariant Total READ total)
    Q_PROPERTY(QVariant Articulos READ articulos)
    Q_PROPERTY(int Ventas READ ventas)
    Q_PROPERTY(int Devoluciones READ devoluciones)
    // Beyond the original members: what the report needs and scripts could not count.
    Q_PROPERTY(int PagosRows READ pagosRows)
    Q_PROPERTY(QString Almacen READ almacen)
    Q_PROPERTY(QString Usuario READ usuario)
    Q_PROPERTY(QVariant Diferencia READ diferencia)
    Q_PROPERTY(QVariant Efectivo READ efectivo)
    Q_PROPERTY(bool isLoad READ isLoad)
public:
    static const QString kFueraMovimiento; // "Fuera del limite de movimiento de corte"
    static const QString kFueraArqueo;     // "Fuera del limite de arqueo"
    static const QString kFueraPagos;      // "Fuera del limite de Pagos"
    static constexpr int kMovCols = 6;
    static constexpr int kArqueoCols = 5;

    // Reads a cut of the session's warehouse for loadData; nothing when there is none.
    using Lector = std::function<std::optional<ResumenCorte>(const Corte::Clave &)>;

    explicit cCorte(QObject *parent = nullptr);

    void load(const ResumenCorte &resumen);
    void setLector(Lector lector) { m_lector = std::move(lector); }
    const ResumenCorte &resumen() const { return m_r; }

    // Loads a cut of the warehouse by its key; False when there is no such cut.
    Q_INVOKABLE bool loadData(const QString &terminal, int anio, int numero);
    Q_INVOKABLE QVariant Movimiento(int renglon, int columna) const;
    Q_INVOKABLE QVariant Arqueo(int renglon, int columna) const;
    Q_INVOKABLE QString PagosRecibidos(int i) const;

    int movRows() const { return int(m_r.movimientos.size()); }
    int movCols() const { return kMovCols; }
    int arqueoRows() const { return int(m_r.arqueo.size()); }
    int arqueoCols() const { return kArqueoCols; }
    QString terminal() const { return m_r.clave.terminal; }
    int anio() const { return m_r.clave.anio; }
    int numero() const { return m_r.clave.numero; }
    QDateTime fecha() const { return m_r.fecha; }
    QVariant fechaFin() const { return m_r.fechaFin.isValid() ? QVariant(m_r.fechaFin) : QVariant(); }
    QVariant caja() const { return moneda(m_r.recibido()); }
    QVariant debe() const { return moneda(m_r.ingresos()); }
    QVariant haber() const { return moneda(m_r.egresos()); }
    QVariant total() const { return moneda(m_r.total()); }
    QVariant articulos() const { return m_r.articulos.toDouble(); }
    int ventas() const { return m_r.ventas; }
    int devoluciones() const { return m_r.devoluciones; }
    int pagosRows() const { return int(m_r.pagos.size()); }
    QString almacen() const { return m_r.almacen; }
    QString usuario() const { return m_r.usuario; }
    QVariant diferencia() const { return moneda(m_r.diferencia()); }
    QVariant efectivo() const { return moneda(m_r.efectivoArqueo()); }
    bool isLoad() const { return m_loaded; }

    // A script's Currency (four decimals, as the language keeps money).
    static QVariant moneda(const Decimal &d);

private:
    ResumenCorte m_r;
    Lector m_lector;
    bool m_loaded = false;
};

// Makes "newcCorte" and "newcMovCaja" known to the scripts' object factory; their loadData reads
// the cut and movements of the session's warehouse ("ALMACEN") on the shared connection.
void registraScriptsCorte(cObjectFactory &factory, ConnectionProvider &connections, cConfigure &config);
