#pragma once

#include "EditorMaestro.h"

// The rules of the supplier window (frmProveedor): a new supplier, loading one, the checks in
// their order (then the tax data's), writing the record with its departments and exchange
// layouts in one transaction, and deleting. Every field is kept as the text the user typed or
// chose, by column name; flags as 'S'/'N'.
//
// A new supplier starts in Mexico, buying on credit ('CREDITO') at 30 days ('DIA'), with every
// flag 'N' (no electronic exchange, no reception checks, no list updates), tolerances, discount,
// bonus and credit limit 0, preference 1, delivery in 1 day and at most 3, no department and
// every exchange kind at "<NINGUNO>".
//
// The lists are replaced on every save: the departments checked are exactly the supplier's
// TPROVEEDORTIPOART rows afterwards (one row each, tap_Seleccion 'S'; unchecking removes the
// row), and tProveedorEDI holds one row per kind that has a layout (a kind at "<NINGUNO>" has
// no row). The balance (prov_Saldo) belongs to accounts payable: it is shown, starts at 0 and
// is never written by the window.
class ProveedorEditor : public EditorMaestro {
public:
    enum class Pestana { Generales, Condiciones, Recepcion, Intercambio, Resurtido, Departamentos };

    struct Departamento {
        QString clave;
        QString nombre;
        bool servido = false;
    };
    // One kind of electronic exchange and the supplier's layout for it (empty: none).
    struct Intercambio {
        QString tipo;
        QString nombre;
        QString layout;
    };

    // What the exchange grid shows for a kind without a layout.
    static QString ninguno() { return QStringLiteral("<NINGUNO>"); }

    // Every column of the record, in the order of the insert.
    static const QStringList &campos();
    // The columns chosen from a catalogue (combo boxes in the window).
    static bool esSeleccion(const QString &campo);
    // The 'S'/'N' columns (check boxes in the window).
    static bool esBandera(const QString &campo);
    // The tables and columns whose rows name a supplier; those that exist are checked before a
    // deletion.
    static const QList<QPair<QString, QString>> &tablasQueRefieren();

    ProveedorEditor(ConnectionProvider &connections, Prompter &prompter);

    void nuevo() override;
    // consultarRegistro: the supplier under clave with its lists; false (with "La clave no
    // existe") when there is none.
    bool carga(const QString &clave) override;
    // A typed or chosen value; a flag becomes 'S' for "S" (any case) and 'N' for anything else.
    // Always accepted (true).
    bool setTexto(const QString &campo, const QString &valor) override;

    // The choices of a catalogue column (the states of the chosen country for edo_Clave), led by
    // an empty entry.
    QList<Opcion> opciones(const QString &campo) const override;

    // Every department, in key order, with whether this supplier serves it.
    const QList<Departamento> &departamentos() const { return m_departamentos; }
    // False when the department is not in the list.
    bool marcaDepartamento(const QString &clave, bool servido);

    // Every kind of electronic exchange by tedi_Orden, with the supplier's layout.
    const QList<Intercambio> &intercambios() const { return m_intercambios; }
    // "<NINGUNO>" or empty clears the kind's layout. False when the kind is not in the list.
    bool setLayout(const QString &tipo, const QString &layout);
    // The layouts a kind may use: those of the exchange module's table when it exists, and the
    // one the supplier already has; led by "<NINGUNO>" (empty key).
    QList<Opcion> layouts(const QString &tipo) const;

    // The checks in their order; false after the message, with the tab and field to show.
    bool validaDatos();
    Pestana pestanaRechazada() const { return Pestana(m_pestana); }

    // agregarRegistro or modificarRegistro after validaDatos, with both lists, in one
    // transaction. After an insert the user is asked whether to go on adding suppliers.
    bool guardaDatos() override;

    // eliminarRegistro: refused while a row elsewhere names the supplier; its department and
    // exchange rows go with it.
    bool eliminarRegistro(const QString &clave);

private:
    static const Tabla &tabla();
    bool revisaNumeros();
    bool revisaFiscales();
    void cargaListas(const QString &clave);
    void escribe();

    QList<Departamento> m_departamentos;
    QList<Intercambio> m_intercambios;
};
