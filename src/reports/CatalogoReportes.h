#pragma once

#include "ParametrosReporte.h"

#include <QList>
#include <QString>

#include <optional>

class ConnectionProvider;
class Prompter;
class cConfigure;

// The reports a profile may run and the one chosen to run (the rules of frmReporte): the list of
// tReporte rows the session's profile holds the right "R" + rep_Clave for, loading one report's
// program and parameters, and accepting its parameter values. The right that lets a profile run
// a report is also the module of its entry in the Reportes menu.
class CatalogoReportes {
public:
    struct Filtro {
        QString version, tipo, clave; // empty: any
    };
    struct Entrada {
        QString clave, nombre, version, tipo;
    };
    struct Reporte {
        QString clave, nombre, descripcion, archivo, codigoClave, programa;
        QList<ParametrosReporte::Definicion> parametros;
    };
    // Who may load a report: the session's profile, or anybody (the administrator's command
    // line, which has no session).
    enum class Derechos { DelPerfil, Todos };

    // The right (and menu module) of a report, and the report of a menu module; a module that
    // is not a report's gives an empty key.
    static QString claveDeModulo(const QString &repClave);
    static QString claveDeMenu(const QString &moduleKey);

    CatalogoReportes(ConnectionProvider &connections, cConfigure &config, Prompter &prompter);

    // Ordered by version, rep_Orden and name; empty (the error reported) when the database fails.
    QList<Entrada> lista(const Filtro &filtro = {});

    // Loads the report with its program and parameters and makes it the chosen one; on refusal
    // (said) no report stays chosen.
    bool cargaReporte(const QString &repClave, Derechos derechos = Derechos::DelPerfil);
    const std::optional<Reporte> &reporte() const { return m_reporte; }
    void descarga() { m_reporte.reset(); }

    // The values of the chosen report's parameters, or nothing when refused (said; the refused
    // input in parametros().campoRechazado()).
    std::optional<QList<ValorParametro>> aceptar(const QList<ParametrosReporte::Captura> &capturas);
    ParametrosReporte &parametros() { return m_parametros; }

private:
    bool puedeCorrer(const QString &repClave);

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Prompter &m_prompter;
    ParametrosReporte m_parametros;
    std::optional<Reporte> m_reporte;
};
