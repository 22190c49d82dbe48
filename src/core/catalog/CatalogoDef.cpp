#include "CatalogoDef.h"

const CatalogoCampo *CatalogoDef::campo(const QString &columna) const
{
    for (const CatalogoCampo &c : campos)
        if (c.columna.compare(columna, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QList<const CatalogoCampo *> CatalogoDef::camposClave() const
{
    QList<const CatalogoCampo *> out;
    for (const QString &k : claves)
        out << campo(k);
    return out;
}

bool CatalogoDef::esClave(const QString &columna) const
{
    return claves.contains(columna, Qt::CaseInsensitive);
}

QString CatalogoDef::codificaClave(const QStringList &valores) const
{
    return valores.join(kSeparador);
}

QStringList CatalogoDef::decodificaClave(const QString &clave) const
{
    // The last key column takes the rest, so only the parent keys must be free of the separator.
    QStringList out;
    QString resto = clave;
    for (qsizetype i = 0; i + 1 < claves.size(); ++i) {
        const qsizetype at = resto.indexOf(kSeparador);
        if (at < 0)
            break;
        out << resto.left(at);
        resto = resto.mid(at + 1);
    }
    out << resto;
    return out;
}

LookupDefinition CatalogoDef::lookup(const QString &tituloVentana, const QString &filtroColumna,
                                     const QVariant &filtroValor) const
{
    LookupDefinition d;
    const QString t = tabla + QLatin1Char('.');
    QStringList claveSql;
    for (const QString &k : claves)
        claveSql << t + k;
    QStringList select;
    select << (claveSql.size() == 1 ? claveSql.first()
                                    : claveSql.join(QStringLiteral(" || '") + kSeparador + QStringLiteral("' || ")) +
                                          QStringLiteral(" AS clave"));
    select << t + nombre;
    d.columns << LookupColumn{QStringLiteral("Clave"), QLatin1Char('?'), 0}
              << LookupColumn{nombreTitulo, QLatin1Char('?'), 0};
    const CatalogoCampo *n = campo(nombre);
    const bool numerico = n && n->tipo == CatalogoCampo::Tipo::Entero;
    if (numerico)
        d.columns.last().kind = QLatin1Char('I');
    else
        d.searchFields << LookupField{nombreTitulo, t + nombre, LookupField::Texto};
    const CatalogoCampo *k = campo(claves.last());
    d.searchFields << LookupField{QStringLiteral("Clave"), claveSql.last(),
                                  k && k->tipo == CatalogoCampo::Tipo::Entero ? LookupField::Numero : LookupField::Texto};
    if (k && k->tipo == CatalogoCampo::Tipo::Entero)
        d.columns.first().kind = QLatin1Char('I');
    d.table = tabla;
    QString primero;
    if (!padreTabla.isEmpty()) {
        // The parent's key is the detail's first key column (tEstado.pais_Clave) or its reference.
        const CatalogoCampo *ref = nullptr;
        for (const CatalogoCampo &c : campos)
            if (c.tipo == CatalogoCampo::Tipo::Referencia && c.refTabla == padreTabla)
                ref = &c;
        if (ref) {
            if (!padrePrimero.isEmpty()) // a key of the description, never user text
                primero = QStringLiteral("CASE WHEN ") + t + ref->columna + QStringLiteral(" = '") + padrePrimero +
                          QStringLiteral("' THEN 0 ELSE 1 END, ");
            d.table += QStringLiteral(" INNER JOIN ") + padreTabla + QStringLiteral(" ON ") + padreTabla +
                       QLatin1Char('.') + ref->refClave + QStringLiteral(" = ") + t + ref->columna;
            select << padreTabla + QLatin1Char('.') + padreNombre;
            d.columns << LookupColumn{padreTitulo, QLatin1Char('?'), 0};
            d.searchFields << LookupField{padreTitulo, padreTabla + QLatin1Char('.') + padreNombre,
                                          LookupField::Texto};
        }
    }
    d.selectList = select.join(QStringLiteral(", "));
    if (!filtroColumna.isEmpty()) {
        d.filter = t + filtroColumna + QStringLiteral(" = ?");
        d.filterParams << filtroValor;
    }
    d.order = primero +
              (padreTabla.isEmpty() ? QString() : padreTabla + QLatin1Char('.') + padreNombre + QStringLiteral(", ")) +
              t + (numerico ? claves.last() : nombre);
    d.title = tituloVentana.isEmpty() ? titulo : tituloVentana;
    d.maintenanceWindow = ventana;
    d.keyColumn = 0;
    d.nameColumn = 1;
    return d;
}
