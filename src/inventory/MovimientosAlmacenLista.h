#pragma once

#include "Decimal.h"
#include "MovimientoAlmacen.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class ConnectionProvider;
class Permisos;

// What the movement windows read: the list of a warehouse's movements (frmMovAlmCon), one
// movement whole for the query mode (frmMovAlmDet), the choices of their combos, the article
// typed in the header, and the rights of the list's commands (frmMovAlmCon_cmdAlta registers,
// frmMovAlmCon_cmdBaja cancels).
class MovimientosAlmacenLista {
public:
    struct Filtro {
        QString almacen;
        int anio = 0;   // 0: every year
        QString tipo;   // empty: every type
        QString estado; // empty: every state
    };
    struct Fila {
        QString almacen;
        int anio = 0;
        qint64 numero = 0;
        QDateTime fecha;
        QString tipo, articulo, nombre, lote;
        Decimal cantidad, costo, total;
        QString estado, destino;
        QString folio() const { return QString::number(anio) + u'-' + QString::number(numero); }
    };
    struct Movimiento {
        MovimientoAlmacen::Datos datos;
        int anio = 0;
        qint64 numero = 0;
        QDateTime fecha;
        QString estado;
    };
    struct Opcion {
        QString clave, nombre;
        bool entrada = false; // types: the movement adds stock (tmova_Entrada 'S')
    };
    struct Articulo {
        QString clave, nombre, control;
        Decimal costo;
    };
    enum class Catalogo { Almacenes, Tipos, Sucursales, Estados };

    MovimientosAlmacenLista(ConnectionProvider &connections, Permisos &permisos);

    // Newest first. A database failure throws db::DbError (the window reports it).
    QList<Fila> lista(const Filtro &filtro);
    // The years with movements in the warehouse, newest first.
    QList<int> anios(const QString &almacen);
    QList<Opcion> opciones(Catalogo catalogo);
    // One movement with its component lines as they moved (read from the kardex).
    std::optional<Movimiento> lee(const QString &almacen, int anio, qint64 numero);
    // The article named by a key or a bar code.
    std::optional<Articulo> articulo(const QString &codigo);
    // The session's warehouse and the server's date.
    QDateTime ahora();

    bool puedeRegistrar() const;
    bool puedeCancelar() const;
    static const QString kSinAcceso;

private:
    ConnectionProvider &m_connections;
    Permisos &m_permisos;
};
