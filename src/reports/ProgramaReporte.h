#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

class Prompter;

namespace db {
class Connection;
}

// Writes a report's program from its stored design (tReporte and the design tables) and keeps
// it in tCodigo, where running the report reads it. The program is the body the report control
// runs as "sub reporte()": printer, page settings, the query as a script string, one factory
// statement per object with its stored properties, the section of each object and the wiring
// of the groups, in that order. A design that cannot make a valid program is refused with a
// message and nothing is written.
class ProgramaReporte {
public:
    struct Objeto {
        int clave = 0; // order in the report
        QString nombre, seccion, tipo, clase;
        QList<QPair<QString, QString>> propiedades; // name, value text, as stored
    };
    struct Grupo {
        QString nombre;
        QStringList campos;   // key fields, in order
        QStringList sumarios; // summaries the group resets
    };
    struct Diseno {
        QString clave, nombre, codigoClave;
        QString impresora; // a printer key of the configuration, or a printer name
        QString orientacion, papel, encabezado, pie, forma, alto, ancho; // numbers as bare text
        QString sql;
        QList<Objeto> objetos;
        QList<Grupo> grupos;
        // Summaries and report totals as the designer lists them (name, formula): the formula of
        // an object that stores none of its own.
        QList<QPair<QString, QString>> formulas;
    };

    // The printer settings a report may name instead of a printer.
    static const QStringList &clavesImpresora();
    // The object classes a design may hold.
    static const QStringList &clases();
    // Text as one script string expression: each line a literal, lines joined with
    // " & Chr(13) & Chr(10) ", every double quote written as " & chr(34) & ".
    static QString cadenaScript(const QString &texto);

    explicit ProgramaReporte(Prompter &prompter);

    // The design of a report; "El reporte no fue encontrado" when there is none. Throws db::DbError.
    std::optional<Diseno> leeDiseno(db::Connection &c, const QString &repClave);
    // The program text, or nothing when the design is refused (said).
    std::optional<QString> escribe(const Diseno &diseno);
    std::optional<QString> generaPrograma(db::Connection &c, const QString &repClave);
    // Generates and stores the program under the report's codigo_Clave (created and written back
    // to the report when empty), in one transaction. False when refused. Throws db::DbError.
    bool guardaPrograma(db::Connection &c, const QString &repClave);
    // Stores the programs of the reports that have none yet (a fresh demo store); the count
    // written, or nothing when a design was refused (said; the work stops there). Reports kept
    // only as code (rep_SoloCodigo 'S') are left alone. Throws db::DbError.
    std::optional<int> guardaFaltantes(db::Connection &c);

private:
    bool rechaza(const QString &texto, const QString &detalle = QString());

    Prompter &m_prompter;
};
