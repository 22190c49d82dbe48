#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <optional>

class CValue;
class ConnectionProvider;
class Prompter;
class cConfigure;

// A statement ready to run: '?' placeholders and their values in order.
struct PreparedQuery {
    QString sql;
    QVariantList values;
};

// The parameters of a stored query, found by key without regard to case ([FECHA] = [fecha]).
using ParametrosConsulta = QList<const CValue *>;

// A stored query (tConsulta with its tSelect columns): an SQL template with system markers
// {NAME} and user markers [NAME], and the columns that make up each entry's key and text.
//
// Two forms of the same replacement: remplazaValorSistema/remplazaValorUsuario/preparaQuery
// return SQL text with the values written as literals (for scripts and display), while
// prepara/preparaConsulta turn every marker that stands as a value into a bound parameter and
// write only the markers inside a quoted literal ('%{ALM_CLAVE}%') as escaped text. The program
// runs the prepared form only.
class CConsulta {
public:
    struct Columna {
        QString campo;
        QString nombre;
        bool valor = false;       // part of the entry's key
        bool descripcion = false; // part of the entry's text
    };

    CConsulta(ConnectionProvider &connections, cConfigure &config, Prompter &prompter);

    QString SQL() const { return m_sql; }
    void setSQL(const QString &sql) { m_sql = sql; }
    int clave() const { return m_clave; }
    QString nombre() const { return m_nombre; }
    bool completar() const { return m_completar; }
    const QList<Columna> &columnas() const { return m_columnas; }

    // Loads tConsulta and its tSelect rows in sel_Orden order. A missing row, or a database
    // error (reported), returns false and leaves the object empty.
    bool cargaConsulta(int conClave);

    // The system value of a marker name: ALM_CLAVE/ALMACEN the warehouse, USU_CLAVE the user,
    // TERM_CLAVE the terminal, ANIO the year; any other name has none (an invalid QVariant).
    QVariant valorSistema(const QString &name) const;

    QString remplazaValorSistema(const QString &sql) const;
    // Stops at a name that is not a parameter: "Parametro no encontrado [NAME]" (exclamation)
    // and the text so far, that marker still in it.
    QString remplazaValorUsuario(const QString &sql, const ParametrosConsulta &parameters) const;
    // sql, or the stored SQL when sql is empty; system markers, then user markers.
    QString preparaQuery(const ParametrosConsulta &parameters, const QString &sql = QString()) const;

    // The bound form of preparaQuery. A missing user parameter shows the same message and
    // returns nothing: the statement is not run. {XYZ} with no system value binds NULL.
    std::optional<PreparedQuery> preparaConsulta(const ParametrosConsulta &parameters,
                                                 const QString &sql = QString()) const;
    // Turns system markers (and, with parameters, user markers) of sql into bound values.
    // '?' placeholders already in sql take their values from values, in order.
    std::optional<PreparedQuery> prepara(const QString &sql, const QVariantList &values,
                                         const ParametrosConsulta *parameters) const;

    // Runs the prepared stored query and fills entries: the key (the columns marked valor,
    // joined) padded to keyWidth, a Tab, the text (the columns marked descripcion, joined).
    // selected is the index of the entry whose key equals selectedKey, else -1. keys receives
    // each entry's key. False when the query could not be prepared or failed (reported).
    bool cargaCombo(QStringList &entries, int &selected, const QString &selectedKey, int keyWidth,
                    const ParametrosConsulta &parameters, QStringList *keys = nullptr) const;

    // The key of an entry written by cargaCombo (its first Tab-separated token, unpadded).
    static QString claveDeEntrada(const QString &entry);

private:
    const CValue *parametro(const ParametrosConsulta &parameters, const QString &name) const;
    void limpia();

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Prompter &m_prompter;
    int m_clave = 0;
    QString m_nombre;
    QString m_sql;
    bool m_completar = false;
    QList<Columna> m_columnas;
};
