#pragma once

#include "Decimal.h"

#include <QList>
#include <QString>

class ConnectionProvider;
class Prompter;

// The lots and serial numbers of an article in a warehouse, and the checks of one captured for
// a movement: the lot/serial picker (frmLoteSerie) and the component lines of an assembly. Each
// refusal is shown through the prompter; the stock routine checks again when the stock moves.
class LoteSerie {
public:
    struct Fila {
        QString lote;
        Decimal existencia;
    };

    LoteSerie(ConnectionProvider &connections, Prompter &prompter);

    // The article's inventory control kind ('LIBRE' when empty); empty when there is no such article.
    QString control(const QString &articulo);
    static bool usaLote(const QString &control)
    {
        return control == QLatin1String("LOTE") || control == QLatin1String("SERIE");
    }
    // The lots/serials of the article with stock in the warehouse, by key.
    QList<Fila> lista(const QString &almacen, const QString &articulo);
    // The stock of one (warehouse, article, lot) row set; false when there is no row at all.
    bool existencia(const QString &almacen, const QString &articulo, const QString &lote,
                    Decimal *existencia);

    // A lot or serial accepted for an exit of cantidad units: it must exist and cover them.
    // Articles without lots pass.
    bool validaSalida(const QString &almacen, const QString &articulo, const QString &lote,
                      const Decimal &cantidad);
    // A serial to be entered must not be in stock already; other kinds pass.
    bool validaEntrada(const QString &almacen, const QString &articulo, const QString &lote);
    // A serial line moves exactly one unit.
    bool validaCantidad(const QString &control, const Decimal &cantidad);

    // One component line of an assembly ('ENSAMBLE': salida, the components leave; 'DESENSAMBLE':
    // they enter), its quantity as typed in the grid; the quantity read goes to *leida.
    bool validaComponente(const QString &almacen, const QString &articulo, const QString &lote,
                          const QString &cantidad, bool salida, Decimal *leida = nullptr);

private:
    bool rechaza(const QString &texto);

    ConnectionProvider &m_connections;
    Prompter &m_prompter;
};
