#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class ConnectionProvider;

// The physical inventories of a warehouse (the list of frmInventario) and the catalogues the
// opening of one offers: warehouses, departments and categories.
class InventariosLista {
public:
    struct Fila {
        QString almacen;
        int anio = 0;
        int numero = 0;
        QDateTime fecha;
        QString usuario;
        QString tipo;
        int conteos = 0;
        int conteoActual = 0;
        QString estado;
    };
    struct Opcion {
        QString clave;
        QString nombre;
    };

    explicit InventariosLista(ConnectionProvider &connections);

    // Newest first. An empty warehouse lists every warehouse; year 0 every year.
    QList<Fila> filas(const QString &almacen, int anio);
    // The years that hold inventories of the warehouse, newest first.
    QList<int> anios(const QString &almacen);
    QList<Opcion> almacenes();
    QList<Opcion> departamentos();
    QList<Opcion> categorias();

private:
    QList<Opcion> opciones(const QString &sql);

    ConnectionProvider &m_connections;
};
