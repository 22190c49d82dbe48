#pragma once

#include "Corte.h"
#include "ResumenCorte.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class ConnectionProvider;
class Permisos;
class Prompter;
class cCode;
class cConfigure;
class cCorte;

// The rules of frmCorteFin: choosing the cut to close, its summary, the amounts received per
// payment kind and the count of notes and coins, and the closing itself, written in one
// transaction (the cut's sales and returns as movements, the amounts received, the count and
// the cut's new state). Then the cut report (or "OnCutOfBox"), the held sales and "CORTE-CAJA".
// Also the reprint of a closed cut.
class CorteCierre {
public:
    enum class Campo { Ninguno, Pagos, Arqueo };

    // The cut report, when the built-in one is printed.
    using Imprime = std::function<void(const cCorte &)>;

    static const QString kSinCorte, kSeleccione, kMasAbiertos, kNoCoinciden, kConfirma, kPreguntaImprime,
        kReimprime, kEliminaPendientes, kValorNumerico, kMayorACero, kCambioElCorte;
    static const QString kDerechoCambiarTerminal, kDerechoVerTotal, kDerechoCerrarSinCapturar;

    CorteCierre(ConnectionProvider &connections, cConfigure &config, Prompter &prompter, Permisos &permisos,
                cCode *code = nullptr);
    ~CorteCierre();

    void setImprime(Imprime imprime) { m_imprime = std::move(imprime); }

    bool puedeVerTotal() const;
    bool puedeCambiarTerminal() const;

    // The first step: the terminal's open cut, or with "frmCorteFin_CambiarTerminal" the one the
    // user picks among the warehouse's open cuts; then its summary. False (shown) when there is
    // none, none was picked, or the user stops at the question about other open cuts.
    bool inicia();
    // Loads the summary of an open cut of the warehouse. False (shown) when it is not open.
    bool carga(const Corte::Clave &clave);
    bool cargado() const { return m_resumen.has_value(); }
    const ResumenCorte &resumen() const { return *m_resumen; }

    // The amount received of a payment kind; empty is 0. False (shown) when refused.
    bool capturaPago(int fila, const QString &texto);
    // The quantity of a denomination, a whole number; empty is 0. The count's total becomes the
    // cash received. False (shown) when refused.
    bool capturaCantidad(int fila, const QString &texto);

    // Closes the loaded cut. False when refused, not confirmed or failed (shown); the cut stays
    // open then.
    bool cmdAceptar();
    Campo campoRechazado() const { return m_campo; }

    // The closed cuts of the warehouse, newest first, for the reprint.
    QList<Corte::Abierto> cortesCerrados(int limite = 100);
    // Prints a closed cut again. False (shown) when it is not a closed cut of the warehouse.
    bool reimprime(const Corte::Clave &clave);
    // The reprint command: the user picks one of the closed cuts, which is printed again.
    bool cmdReimprimir();

    // The snapshot last printed or handed to "OnCutOfBox"; null before any.
    cCorte *ultimo() const { return m_ultimo.get(); }

private:
    void escribeCierre();
    void imprime(const ResumenCorte &cerrado, bool preguntar);
    void eliminaPendientes();
    std::optional<Decimal> leeValor(const QString &texto, Campo campo, bool entero);

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Prompter &m_prompter;
    Permisos &m_permisos;
    cCode *m_code;
    Imprime m_imprime;
    QString m_almacen;
    std::optional<ResumenCorte> m_resumen;
    Campo m_campo = Campo::Ninguno;
    std::unique_ptr<cCorte> m_ultimo;
};
