#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

class ConnectionProvider;
class Prompter;
class cConfigure;

namespace db {
class Connection;
}

// One value handed to the report control (easyReport::setParam). A date range gives its start
// in valor and its end in valorExtra; a date, and a date range, also give two values of their
// own named <name>_INI and <name>_FIN (the first and last second of the day, or of the range),
// so that a query can write both ends as [FECHA_INI] and [FECHA_FIN]. A list gives the chosen
// key in valor and the text shown for it in valorExtra.
struct ValorParametro {
    QString clave;
    QVariant valor;
    QVariant valorExtra;
    QString tipoDato;
};

// The parameters of a stored report (TREPORTEPARAM): their inputs, the lists filled from stored
// queries, the stored defaults, the checks on accepting and the values the report receives.
// Used by the run window and by the command line, so both refuse with the same messages.
class ParametrosReporte {
public:
    // The input a parameter gets, from its input kind and its data kind.
    enum class Entrada { Lista, Texto, Numero, Fecha, RangoFechas };

    struct Definicion {
        int clave = 0;       // order of the inputs
        QString nombre;      // the name the query writes in brackets and the command line uses
        QString descripcion; // the caption, and the name the messages give
        QString tipoParametro, tipoDato;
        int consulta = 0; // con_Clave of the list's stored query
        int claveChg = 0; // the parameter whose value the list's query reads, if any
        bool requerido = false;
        QString valorDefecto;

        Entrada entrada() const;
        QString etiqueta() const { return descripcion.trimmed().isEmpty() ? nombre : descripcion; }
    };
    // What an input holds: a list's key (and its text in extra), a text or number as typed, or
    // the dates (an invalid date is an empty one).
    struct Captura {
        QString texto;
        QString extra;
        QDate desde, hasta;
    };
    struct Opcion {
        QString clave, texto;
    };
    // Which part of a refused input takes the focus.
    enum class Parte { Valor, Inicio, Fin };

    ParametrosReporte(ConnectionProvider &connections, cConfigure &config, Prompter &prompter);

    // The parameters of a report in input order. Throws db::DbError.
    static QList<Definicion> lee(db::Connection &c, const QString &repClave);

    // The entries of a list parameter from its stored query; the values already given to the
    // other parameters answer the query's [NAME] markers. "Error al cargar la consulta" when the
    // query is missing or fails.
    std::optional<QList<Opcion>> cargaLista(const Definicion &definicion,
                                            const QList<ValorParametro> &otros = {});

    // An input's first value: the stored default; a date's default is a day-first date (a range
    // "inicio,fin"), or "HOY" or nothing for today.
    static Captura valorInicial(const Definicion &definicion, const QDate &hoy = QDate::currentDate());

    // Checks every input in order and converts them; the first refusal is said and names its
    // input (campoRechazado, parteRechazada).
    std::optional<QList<ValorParametro>> valida(const QList<Definicion> &definiciones,
                                                const QList<Captura> &capturas);
    int campoRechazado() const { return m_campo; }
    Parte parteRechazada() const { return m_parte; }

    // The inputs from command-line arguments NOMBRE=VALOR (a date range: one date "dd/mm/yyyy"
    // for that whole day, or "dd/mm/yyyy,dd/mm/yyyy"); the others keep their first value.
    // A list value given outside the window (the command line) must be one of the list's entries,
    // as the window only offers those; the first that is not is said and refused.
    bool enSusListas(const QList<Definicion> &definiciones, const QList<Captura> &capturas,
                     const QList<ValorParametro> &valores);
    std::optional<QList<Captura>> leeArgumentos(const QList<Definicion> &definiciones,
                                                const QStringList &argumentos,
                                                const QDate &hoy = QDate::currentDate());

    // The inputs as they stand, unchecked and unsaid: what the query of a list that depends on
    // another parameter reads.
    QList<ValorParametro> borrador(const QList<Definicion> &definiciones,
                                   const QList<Captura> &capturas) const;

    // The date as the server takes it (FORMATO-FECHA-SERVIDOR).
    QString fechaServidor(const QDate &fecha) const;

private:
    bool rechaza(const QString &texto, int campo, Parte parte = Parte::Valor, bool falta = false);

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Prompter &m_prompter;
    int m_campo = -1;
    Parte m_parte = Parte::Valor;
};
