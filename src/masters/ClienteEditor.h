#pragma once

#include "EditorMaestro.h"

class Permisos;
class cConfigure;

// The rules of the client window (frmCliente): a new client with its type's terms, loading one,
// the checks in their order (then the tax data's), writing every column, and deleting. The
// window only binds widgets to it; every field is kept as the text the user typed or chose,
// by column name.
class ClienteEditor : public EditorMaestro {
public:
    enum class Pestana { General, Domicilio, Fiscal, Credito, Entrega };

    // Every column the window writes, in the order of the insert.
    static const QStringList &campos();
    // The columns chosen from a catalogue (combo boxes in the window).
    static bool esSeleccion(const QString &campo);
    static const QString kDerechoCambiarTipo;

    ClienteEditor(ConnectionProvider &connections, cConfigure &config, Permisos &permisos, Prompter &prompter);

    // A new client: the default type ("TIPO-CLIENTE-POR-OMISION") and its terms, Mexico as the
    // country, delivery at the counter, active.
    void nuevo() override;
    // consultarRegistro: the client under clave; false (with "La clave no existe") when there is none.
    bool carga(const QString &clave) override;
    // A typed or chosen value. Choosing a client type while adding copies its discount, credit
    // period and kind, credit limit and payment control; on an existing client the type changes
    // only with the right "frmTipoCliente_CambiarTipoCliente" (false, after saying so, without it).
    bool setTexto(const QString &campo, const QString &valor) override;
    bool puedeCambiarTipo() const;
    // Whether the profile holds a right (the catalogue buttons of the window).
    bool puede(const QString &modulo) const;

    // The choices of a catalogue column (the states of the chosen country, for edo_Clave and
    // edo_ClaveFis), led by an empty entry.
    QList<Opcion> opciones(const QString &campo) const override;

    // The checks in their order; false after the message, with the tab and field to show.
    bool validaDatos();
    Pestana pestanaRechazada() const { return Pestana(m_pestana); }

    // agregarRegistro or modificarRegistro after validaDatos. After an insert the user is asked
    // whether to go on adding clients: continuar() says the answer.
    bool guardaDatos() override;

    // eliminarRegistro: refused while a document names the client; the default client gets its
    // own question.
    bool eliminarRegistro(const QString &clave);

    // The tables whose rows name a client (cli_Clave); those that exist are checked before a
    // deletion, and the database's own references refuse it too.
    static const QStringList &tablasQueRefieren();

private:
    static const Tabla &tabla();
    bool revisaFiscales();
    void aplicaTipo(const QString &tipo);

    cConfigure &m_config;
    Permisos &m_permisos;
    QString m_tipoCargado;
};
