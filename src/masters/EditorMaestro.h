#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>
#include <span>

class ConnectionProvider;
class Decimal;
class Prompter;

// What the client and supplier editors share: one record of one table keyed by one column, kept
// as the text the user typed or chose by column name; the tab and field of the last refusal;
// the choices of a catalogue column; and saving and deleting with their questions and messages.
class EditorMaestro {
public:
    // One entry of a choice list: the key and what the user reads.
    using Opcion = QPair<QString, QString>;

    virtual ~EditorMaestro() = default;

    // What a master window calls, whatever the master.
    virtual void nuevo() = 0;
    virtual bool carga(const QString &clave) = 0;
    // False when the value is refused (after saying why).
    virtual bool setTexto(const QString &campo, const QString &valor) = 0;
    virtual QList<Opcion> opciones(const QString &campo) const = 0;
    virtual bool guardaDatos() = 0;

    bool esNuevo() const { return m_nuevo; }
    QString texto(const QString &campo) const { return m_texto.value(campo.toLower()); }
    // After an insert: whether the user goes on adding.
    bool continuar() const { return m_continuar; }
    QString campoRechazado() const { return m_campo; }
    // The refused tab, as the index of the window's tab.
    int indicePestanaRechazada() const { return m_pestana; }

    // Where a catalogue column's choices come from. Identifiers are the program's own.
    struct Catalogo {
        const char *campo;
        const char *tabla;
        const char *clave;
        const char *nombre;
    };
    // The record's table and how each column is read and written.
    struct Tabla {
        QString tabla;      // tCliente
        QString clave;      // cli_Clave
        QString nombre;     // cli_Nombre: shown when a new key is taken
        QString fechas;     // cli: cli_FecAlta and cli_FecMod
        QString sujeto;     // "cliente": the messages' word for one record
        QStringList campos; // every column, in the order of the insert
        QStringList decimales;
        QStringList enteros;
        QStringList siempreTexto; // written as text even when empty (never NULL)
        QStringList soloLectura;  // read, never written
    };

protected:
    EditorMaestro(ConnectionProvider &connections, Prompter &prompter, const Tabla &tabla);

    static const Catalogo *catalogoDe(std::span<const Catalogo> catalogos, const QString &campo);
    // The choices of a catalogue, led by an empty entry; the states are those of the country in
    // the column paisDeEstados.
    QList<Opcion> opcionesDe(const Catalogo *cat, const QString &paisDeEstados) const;
    static bool esNumero(const QString &text, Decimal *valor = nullptr);

    // A fresh text map with every decimal column at 0.00.
    void limpiaTexto();
    // consultarRegistro: reads the record under clave into the text map; false (with "La clave no
    // existe") when there is none. antes runs once the record is known to exist.
    bool leeRegistro(const QString &clave, const std::function<void()> &antes = {});
    bool existe(const QString &clave);
    // Insert or update of every column but the key and the read-only ones.
    void escribeRegistro();

    // A refusal: the message, with the tab and field to show.
    template <class Pestana> bool rechaza(Pestana pestana, const QString &campo, const QString &mensaje)
    {
        return rechazaEn(int(pestana), campo, mensaje);
    }
    // A refusal without a message of its own (the user answered No to a warning).
    template <class Pestana> bool detiene(Pestana pestana, const QString &campo)
    {
        m_pestana = int(pestana);
        m_campo = campo;
        return false;
    }
    // A new record's key must be free; false after naming the record that has it.
    template <class Pestana> bool claveLibre(Pestana pestana) { return claveLibreEn(int(pestana)); }

    // agregarRegistro or modificarRegistro: valida, then escribe (in one transaction when asked);
    // after an insert the user is asked whether to go on adding (plural names the records).
    bool guarda(const std::function<bool()> &valida, const std::function<void()> &escribe, bool enTransaccion,
                const QString &plural);
    // eliminarRegistro: refused while a row of referencias (table, column) names the record or the
    // database refuses; pregunta is the confirmation; borrados are the deletes, in order, of
    // statements taking the key.
    bool elimina(const QString &clave, const QList<QPair<QString, QString>> &referencias,
                 const std::function<QString()> &pregunta, const QStringList &borrados);

    ConnectionProvider &m_connections;
    Prompter &m_prompter;
    const Tabla &m_tabla;
    bool m_nuevo = true;
    bool m_continuar = false;
    QHash<QString, QString> m_texto; // lower-case column → text
    int m_pestana = 0;
    QString m_campo;

private:
    bool rechazaEn(int pestana, const QString &campo, const QString &mensaje);
    bool claveLibreEn(int pestana);
};
