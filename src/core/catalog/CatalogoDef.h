#pragma once

#include "LookupDefinition.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One column of a catalogue as its maintenance window shows it.
struct CatalogoCampo {
    enum class Tipo {
        Texto,      // varchar, at most `longitud` characters
        Entero,     // integer
        Decimal,    // numeric(18,6)
        Fecha,      // timestamp, shown as a date
        Bandera,    // two stored values: `si` and `no`
        Opcion,     // one of fixed list entries ("(+) Suma<Tab>+")
        Referencia, // the key of a row of another table, chosen from its list
    };

    QString columna;
    QString titulo; // the caption: "Nombre"
    QString falta;  // what "Debe indicar …" / "Debe seleccionar …" names: "un nombre"
    Tipo tipo = Tipo::Texto;
    int longitud = 0;
    bool requerido = false;
    bool oculto = false; // a password: typed without echo
    QString si = QStringLiteral("S");
    QString no = QStringLiteral("N");
    bool marcada = false; // Bandera: its state in a new row, as the column's default
    QStringList opciones; // Opcion: list entries, text then Tab then the stored value
    QString refTabla;     // Referencia: table, key and name columns of the choice list
    QString refClave;
    QString refNombre;
    std::optional<qint64> minimo; // Entero and Decimal: inclusive bounds, in whole units
    std::optional<qint64> maximo;

    bool esSeleccion() const { return tipo == Tipo::Opcion || tipo == Tipo::Referencia; }
};

// Another table whose rows refer to a catalogue's key: while one does, the key cannot go.
struct CatalogoReferencia {
    QString tabla;
    QStringList columnas; // paired in order with the catalogue's key columns
};

// Everything the generic maintenance window and its lookup need to know about one table.
// Identifiers here come from the program itself; user input only ever becomes bound values.
struct CatalogoDef {
    QString tabla;    // "tBanco"
    QString ventana;  // the maintenance window whose rights guard the commands: "frmBanco"
    QString titulo;   // the lookup's title: "Bancos"
    QString singular; // "banco"
    QString articulo; // "el" or "la"
    QString plural;   // "bancos": "… desea continuar agregando mas bancos"
    QStringList claves;       // key columns; a detail table names its parent's key first
    QString nombre;           // the column that names a row
    QString nombreTitulo = QStringLiteral("Nombre");
    QList<CatalogoCampo> campos; // every edited column, keys first, in form order
    QList<CatalogoReferencia> referencias;
    QList<CatalogoReferencia> detalles; // the row's own details, deleted together with it
    // The parent of a detail catalogue (tEstado within tPais): its table, name column and the
    // caption of the parent in the lookup. Empty for a plain catalogue.
    QString padreTabla;
    QString padreNombre;
    QString padreTitulo;
    // A parent key listed first (the store's own country: Mexico's states before the others').
    QString padrePrimero;

    const CatalogoCampo *campo(const QString &columna) const;
    QList<const CatalogoCampo *> camposClave() const;
    bool esClave(const QString &columna) const;

    // The lookup over this table: key, name and the parent's name; search by key and name.
    // A restriction "column = value" becomes a bound fixed filter.
    LookupDefinition lookup(const QString &titulo = QString(), const QString &filtroColumna = QString(),
                            const QVariant &filtroValor = QVariant()) const;

    // A composite key travels as one text (the lookup's key column): the values joined by
    // kSeparador; a single key is the value itself.
    static constexpr QChar kSeparador = QLatin1Char('|');
    QString codificaClave(const QStringList &valores) const;
    QStringList decodificaClave(const QString &clave) const;
};
