#pragma once

#include "Venta.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class ConnectionProvider;
class Prompter;
class cCode;
class cConfigure;
class cVenta;

namespace db {
class Connection;
}

// Where and how a sale is handed to the client (the payment window's delivery choice and, for a
// home delivery, the address written to tVentaEnvio).
struct EntregaVenta {
    QString tipo = QStringLiteral("MOSTRADOR"); // tent_Clave
    bool domicilio = false;                     // a home delivery is requested
    QString calle, interior, exterior, colonia, delMun, ciudad, estado, pais;
    QString telefono1, telefono2, fax, email, referencia, cp;
    QString comentario;
    QDateTime fechaPlaneada;
    QString repartidor; // usu_ClaveEnvio
};

// Everything the counter hands over when a sale is paid.
struct DatosVenta {
    QList<LineaVenta> lineas; // in grid order
    TotalesVenta totales;
    Decimal pago;   // amount tendered
    Decimal cambio; // change returned
    QList<PagoVenta> pagos;
    bool ticket = false, nota = false, factura = false;
    Decimal comision; // card commission charged
    EntregaVenta entrega;
    // Held sales loaded into the grid: term_Clave TAB corte_Anio TAB corte_Numero TAB venta_Numero.
    QStringList pendientes;
    std::optional<qint64> tiempoAire; // taire_Clave of the top-up the sale carries
    QString cliente;
    QString vendedor; // the seller shown in the sale window
};

// The key and folio of a written sale.
struct VentaGuardada {
    QString terminal;
    int corteAnio = 0;
    int corteNumero = 0;
    int numero = 0; // venta_Numero within the cut
    qint64 folio = 0;
    QDateTime fecha; // server time of the sale
};

// The sale writer (guardaDatos): the whole document in one transaction on the shared connection
// (held sales removed, header, lines with their stock exits, tax per rate, payments, receivables,
// delivery, the airtime link and the document flags). A refusal or a database error leaves the
// database as it was, sequences included. After the commit the snapshot cVenta is built and the
// printing step runs.
class GuardaVenta {
public:
    // What was left to the printer after the scripts: the ticket/note "OnTicketPrint"/"OnNotePrint"
    // already printed (an active script takes the place of the built-in document).
    struct Impresion {
        bool ticketPorScript = false;
        bool notaPorScript = false;
    };
    // The printing step (ticket, note, invoice window), called after the commit with the sale.
    using Imprime =
        std::function<void(const VentaGuardada &, const DatosVenta &, cVenta &, const Impresion &)>;

    static const QString kErrorAlGuardar;
    static const QString kSinArticulos;
    static const QString kSinTiempoAire;

    // code: the event-script host (gCode); without it no sale event runs.
    GuardaVenta(ConnectionProvider &connections, cConfigure &config, Prompter &prompter,
                cCode *code = nullptr);
    ~GuardaVenta();

    // Writes the paid sale; its key and folio, or nothing (the refusal or error shown).
    std::optional<VentaGuardada> guardaDatos(const DatosVenta &datos);

    void setImprime(Imprime imprime) { m_imprime = std::move(imprime); }
    // The snapshot of the last sale written (what the scripts saw as "xVenta"); null before any.
    cVenta *ultimaVenta() const { return m_venta.get(); }

    // Unit cost of a sale line: the article's cost (its stock rows carry no cost of their own);
    // nothing when the key is not an article (a concept line).
    static std::optional<Decimal> obtieneCostoArticulo(db::Connection &c, const QString &almacen,
                                                       const QString &articulo, const QString &loteSerie);
    // The cost of every line's key that is an article, as obtieneCostoArticulo gives it.
    static QHash<QString, Decimal> costosDeArticulos(db::Connection &c, const QList<LineaVenta> &lineas);
    // desde plus cantidad units of a SQL date part ("mm", "d", "yyyy", "wk" ...); nothing for a
    // word that is not a date part.
    static std::optional<QDateTime> sumaIntervalo(const QDateTime &desde, const QString &parte, int cantidad);
    // The due date of a credit payment of the client registered at fecha: its credit period when
    // its period kind is a credit one, otherwise one month.
    static QDateTime vencimientoCredito(db::Connection &c, const QString &cliente, const QDateTime &fecha);

private:
    VentaGuardada escribe(db::Connection &c, const DatosVenta &datos);
    void despuesDeGuardar(const VentaGuardada &venta, const DatosVenta &datos);

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Prompter &m_prompter;
    cCode *m_code;
    Imprime m_imprime;
    std::unique_ptr<cVenta> m_venta;
};
