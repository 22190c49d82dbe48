#include "LookupArticulo.h"

#include "ConnectionProvider.h"
#include "cConfigure.h"

#include "Connection.h"

#include <QRegularExpression>

namespace {

QString bare(const QString &field)
{
    return field.section(QLatin1Char('.'), -1).trimmed();
}

QChar kindOf(const QString &field)
{
    static const QStringList numbers = {
        QStringLiteral("art_Costo"),     QStringLiteral("art_Importe"),    QStringLiteral("art_Descuento"),
        QStringLiteral("art_SubTotal"),  QStringLiteral("art_Margen"),     QStringLiteral("art_Utilidad"),
        QStringLiteral("art_IVAPorc"),   QStringLiteral("art_IVA"),        QStringLiteral("art_Total"),
        QStringLiteral("art_Comision"),  QStringLiteral("art_CostoCompra"), QStringLiteral("art_Existencia"),
        QStringLiteral("art_SepNum"),    QStringLiteral("art_AcumNum")};
    const QString name = bare(field);
    if (numbers.contains(name, Qt::CaseInsensitive))
        return QLatin1Char('N');
    if (name.compare(QLatin1String("art_FecAlta"), Qt::CaseInsensitive) == 0 ||
        name.compare(QLatin1String("art_FecMod"), Qt::CaseInsensitive) == 0)
        return QLatin1Char('F');
    return QLatin1Char('?');
}

} // namespace

bool LookupArticulo::columna(const QString &text, QString &field, LookupColumn &column)
{
    const QChar separator = text.contains(QLatin1Char('|')) ? QLatin1Char('|') : QLatin1Char(',');
    const QStringList parts = text.split(separator);
    field = parts.value(0).trimmed();
    // The field goes into the statement's text: a column name, optionally with its table.
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*(\\.[A-Za-z_][A-Za-z0-9_]*)?$"));
    if (!identifier.match(field).hasMatch())
        return false;
    column.caption = parts.value(1).trimmed();
    if (column.caption.isEmpty())
        column.caption = bare(field);
    column.width = qMax(0, parts.value(2).trimmed().toInt());
    column.kind = kindOf(field);
    return true;
}

LookupArticulo::Definicion LookupArticulo::definicion(const cConfigure &config, ConnectionProvider &connections)
{
    Definicion out;
    LookupDefinition &d = out.definition;
    d.table = QStringLiteral("tArticulo");
    d.title = QStringLiteral("Consulta de Articulos");
    d.maintenanceWindow = QStringLiteral("frmArticulo");

    QStringList fields;
    const int count = qBound(0, config.getValue(QStringLiteral("BUSQUEDA-COLUMNAS")).toInt(), 25);
    for (int i = 1; i <= count; ++i) {
        QString field;
        LookupColumn column;
        if (columna(config.getValue(QStringLiteral("BUSQUEDA-COLUMNA") + QString::number(i)).toString(), field,
                    column)) {
            fields.append(field);
            d.columns.append(column);
        }
    }
    const auto indexOf = [&](const QString &name) {
        for (qsizetype i = 0; i < fields.size(); ++i)
            if (bare(fields.at(i)).compare(name, Qt::CaseInsensitive) == 0)
                return int(i);
        return -1;
    };
    // The key and the name are always read, even when the configuration leaves them out.
    for (const QString &needed : {QStringLiteral("art_Clave"), QStringLiteral("art_Nombre")})
        if (indexOf(needed) < 0) {
            fields.append(QStringLiteral("tArticulo.") + needed);
            d.columns.append({needed == QLatin1String("art_Clave") ? QStringLiteral("Clave") : QStringLiteral("Nombre"),
                              QLatin1Char('?'), 0});
        }
    d.selectList = fields.join(QStringLiteral(", "));
    d.keyColumn = indexOf(QStringLiteral("art_Clave"));
    d.nameColumn = indexOf(QStringLiteral("art_Nombre"));

    d.searchFields = {{QStringLiteral("Nombre"), QStringLiteral("art_Nombre"), LookupField::Texto},
                      {QStringLiteral("Clave"), QStringLiteral("tArticulo.art_Clave"), LookupField::Texto},
                      {QStringLiteral("Descripcion"), QStringLiteral("art_Descripcion"), LookupField::Texto},
                      {QStringLiteral("Referencia"), QStringLiteral("art_Referencia"), LookupField::Texto},
                      {QStringLiteral("Departamento"), QStringLiteral("tart_Clave"), LookupField::Texto},
                      {QStringLiteral("Fabricante"), QStringLiteral("fab_Clave"), LookupField::Texto},
                      {QStringLiteral("Fecha de alta"), QStringLiteral("art_FecAlta"), LookupField::Fecha}};
    // Any part of the name through the trigram index of migration MDR-2026-busqueda-articulos
    // (SQLite: its FTS5 table; PostgreSQL: the GIN index over the folded name). A store without
    // it searches the plain way.
    try {
        db::Connection &c = connections.getConnection();
        if (c.engine() == db::Engine::SQLite && c.tableExists(QStringLiteral("tArticuloBusqueda"))) {
            d.searchFields[0].trigramTable = QStringLiteral("tArticuloBusqueda");
            d.searchFields[0].indexedRowid = QStringLiteral("tArticulo.rowid");
        } else if (c.engine() == db::Engine::PostgreSQL &&
                   c.scalar(QStringLiteral("select count(*) from pg_indexes where schemaname = current_schema() and "
                                           "indexname = 'ix_tarticulo_nombretrigramas'"))
                           .toLongLong() > 0) {
            d.searchFields[0].trigramTable = QStringLiteral("tArticulo");
            d.searchFields[0].indexedRowid = QStringLiteral("tArticulo.ctid");
        }
    } catch (const std::exception &) {
        // no connection yet: the search reports it
    }
    const QString inicial = bare(config.getValue(QStringLiteral("BUSQUEDA-COLUMNA-INICIAL")).toString());
    for (qsizetype i = 0; i < d.searchFields.size(); ++i)
        if (bare(d.searchFields.at(i).column).compare(inicial, Qt::CaseInsensitive) == 0)
            out.campoInicial = int(i);
    d.order = bare(d.searchFields.at(out.campoInicial).column);
    if (d.order.compare(QLatin1String("art_Clave"), Qt::CaseInsensitive) == 0)
        d.order = QStringLiteral("tArticulo.art_Clave");

    QStringList filters;
    if (config.getValue(QStringLiteral("BUSQUEDA-SUSPENDIDOS")).toBool()) {
        filters.append(QStringLiteral("coalesce(eart_Clave, '') <> ?"));
        d.filterParams.append(QStringLiteral("SUSPENDIDO"));
    }
    if (config.getValue(QStringLiteral("BUSQUEDA-SOLO-EXISTENCIA")).toBool()) {
        // Stock per warehouse arrives with the stock movements; until its table exists there
        // is no stock to filter on and every article is listed.
        bool stock = false;
        try {
            stock = connections.getConnection().tableExists(QStringLiteral("tArticuloAlmacen"));
        } catch (const std::exception &) {
            stock = false;
        }
        if (stock)
            filters.append(QStringLiteral("exists (select 1 from tArticuloAlmacen aa where aa.art_Clave = "
                                          "tArticulo.art_Clave and aa.alm_Clave = {ALM_CLAVE} and "
                                          "aa.alma_Existencia > 0)"));
    }
    d.filter = filters.join(QStringLiteral(" AND "));
    return out;
}
