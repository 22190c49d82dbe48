#pragma once

#include "Decimal.h"

#include <QList>
#include <QString>

#include <functional>

class ConnectionProvider;
class Prompter;
class cConfigure;

namespace db {
class Connection;
}

// The warehouse movement document: validates, registers and cancels one movement of stock.
// Registering draws the number, moves the stock and writes the tMovAlmacen row in one
// transaction, and cancelling reverses the stock and marks the row in one transaction: a failure
// at any point leaves the database as it was.
class MovimientoAlmacen {
public:
    // A component line of an assembly or dismantling.
    struct Componente {
        QString articulo;
        QString lote;
        Decimal cantidad;
        Decimal costo;
    };
    struct Datos {
        QString almacen;
        QString tipo; // tmova_Clave
        QString articulo;
        QString lote;
        Decimal cantidad;
        Decimal costo;          // unit cost
        QString destino;        // 'TRASPASO': the destination warehouse; 'INTERSUCURSAL': the branch
        QString articuloCambio; // 'CAMBIOS': the article received in exchange
        QString loteCambio;
        QList<Componente> componentes; // 'ENSAMBLE' / 'DESENSAMBLE'
        QString descripcion;
    };

    MovimientoAlmacen(ConnectionProvider &connections, cConfigure &config, Prompter &prompter);

    // The components of an assembly for the given quantity: esa_Cantidad × cantidad, cost art_Costo.
    QList<Componente> componentes(const QString &articulo, const Decimal &cantidad);

    // Every check of the capture, each refusal shown.
    bool valida(const Datos &d);
    // Checks, asks "Los datos son correctos" and registers; the year and number of the new
    // movement are in anio()/numero(). False when refused, declined or failed (all shown).
    bool registra(const Datos &d);
    // Cancels a 'REGISTRADO' movement after confirmation, putting the stock back.
    bool cancela(const QString &almacen, int anio, qint64 numero);

    // The field a refusal of valida/registra named, for the window's focus: "almacen", "tipo",
    // "destino", "articulo", "lote", "cantidad", "articuloCambio", "loteCambio" or "componentes"
    // (then componenteRechazado() is the line); empty otherwise.
    const QString &campoRechazado() const { return m_campo; }
    int componenteRechazado() const { return m_componente; }

    // Told what a branch movement is doing while it connects and moves stock on both sides.
    void setProgreso(std::function<void(const QString &)> progreso) { m_progreso = std::move(progreso); }

    int anio() const { return m_anio; }
    qint64 numero() const { return m_numero; }

    // The kardex origins, reproducible from the document.
    static QString origen(const QString &tipo, int anio, qint64 numero);
    static QString origenComponentes(const QString &tipo, int anio, qint64 numero);
    static QString origenCancelacion(const QString &tipo, int anio, qint64 numero);

private:
    struct Paso {
        QString almacen, articulo, lote;
        Decimal cantidad;
        QString tipo; // 'E' / 'S'
        QString origen;
        Decimal costo;
    };
    bool registraIntersucursal(const Datos &d);
    bool cancelaIntersucursal(const Datos &d, int anio, qint64 numero);
    bool revisa(const Datos &d); // valida, letting database errors through
    bool validaLinea(db::Connection &c, const QString &articulo, const QString &lote, const Decimal &cantidad,
                     const QString &campoArticulo, const QString &campoLote);
    bool rechaza(const QString &campo, const QString &texto);
    void avisa(const QString &texto);
    QList<Paso> pasosRegistro(const Datos &d, bool entrada, int anio, qint64 numero) const;
    // The stock check before a reversing exit; the refusal is shown.
    bool hayExistencia(db::Connection &c, const Paso &p);
    // detalleEnLog: the detail comes from a stock call, which logged it already.
    bool informa(QString error, const QString &detalle, bool detalleEnLog, const QString &pendiente,
                 const QString &ladoLocal, const QString &donde, const QString &exito);

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Prompter &m_prompter;
    std::function<void(const QString &)> m_progreso;
    QString m_campo;
    int m_componente = -1;
    int m_anio = 0;
    qint64 m_numero = 0;
};
