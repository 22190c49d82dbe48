#pragma once

#include "Corte.h"
#include "Decimal.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class ConnectionProvider;
class Prompter;
class cCode;
class cConfigure;
class cMovCaja;

// The rules of frmMovCaja: money put into or taken out of the drawer during the terminal's open
// cut, by concept, as a cash payment of a supplier invoice, or as a deposit to a bank account.
// Each movement is written in one transaction with what it touches (the invoice and its payment,
// the account and its movement), then printed (or handed to "OnMovOfBox").
class MovimientoCaja {
public:
    enum class Campo { Ninguno, Concepto, Descripcion, Importe, Proveedor, Factura, Cuenta };

    struct Concepto {
        QString clave, nombre, tipo;
        bool ingreso = true;
    };
    struct Cuenta {
        QString clave, banco;
    };
    struct Factura {
        QString clave;
        QString estado;
        Decimal total, pagado;
        Decimal porPagar() const { return total - pagado; }
    };

    // The movement receipt, when the built-in one is printed.
    using Imprime = std::function<void(const cMovCaja &)>;

    static const QString kSinConcepto, kSinDescripcion, kSinImporte, kSinProveedor, kFacturaNoRegistrada,
        kSinCuenta, kConfirma, kReimprime, kOtroMovimiento;

    MovimientoCaja(ConnectionProvider &connections, cConfigure &config, Prompter &prompter,
                   cCode *code = nullptr);
    ~MovimientoCaja();

    void setImprime(Imprime imprime) { m_imprime = std::move(imprime); }
    Prompter &prompter() const { return m_prompter; }

    // Finds the terminal's open cut, which every movement goes to; false (shown) when none.
    bool validaCorte();
    const Corte::Clave &corte() const { return m_corte; }

    // The concepts of the first tab: types 'INGRESO' and 'GASTO' but the closing's own (sales and
    // returns), by name.
    QList<Concepto> conceptos();
    QList<Cuenta> cuentas();
    // The suppliers with invoices of the warehouse that may still be paid: key and name, by name.
    QList<QPair<QString, QString>> proveedoresConFacturas();
    // The invoices of a supplier that may still be paid, by date.
    QList<Factura> facturasPendientes(const QString &proveedor);
    // What the description starts as when a concept is chosen: a deposit concept proposes
    // "DEPOSITO A CUENTA " + date and time, any other its own name.
    QString descripcionPropuesta(const Concepto &concepto, const QDateTime &ahora) const;

    // Each writes one movement; its number, or nothing when refused, not confirmed or failed (shown).
    std::optional<qint64> registraConcepto(const QString &concepto, const QString &descripcion,
                                           const QString &importe);
    std::optional<qint64> registraPagoFactura(const QString &proveedor, const QString &factura,
                                              const QString &importe);
    std::optional<qint64> registraDeposito(const QString &cuenta, const QString &importe);

    // The refused field after a registra… returned nothing.
    Campo campoRechazado() const { return m_campo; }
    // The cashier's answer to "Movimiento generado con exito, desea generar mas movimientos".
    bool otroMovimiento() const { return m_otro; }
    // The last movement written (what the printer and "OnMovOfBox" got); null before any.
    cMovCaja *ultimo() const { return m_ultimo.get(); }

private:
    std::optional<Decimal> leeImporte(const QString &texto);
    bool rechaza(Campo campo, const QString &texto);
    std::optional<qint64> escribe(const std::function<void(db::Connection &)> &antes, const QString &concepto,
                                  const QString &nombre, const Decimal &importe);
    void despues(qint64 numero);
    // A supplier or an account is a concept of its own key; an existing concept of that key
    // must be of that type and take money out.
    bool conceptoUsable(const QString &clave, const QString &tipo, Campo campo);
    static void aseguraConcepto(db::Connection &c, const QString &clave, const QString &nombre,
                                const QString &tipo);

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Prompter &m_prompter;
    cCode *m_code;
    Imprime m_imprime;
    QString m_almacen;
    Corte::Clave m_corte;
    Campo m_campo = Campo::Ninguno;
    bool m_otro = false;
    std::unique_ptr<cMovCaja> m_ultimo;
};
