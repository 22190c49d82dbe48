#include "KardexArticulo.h"

#include "Connection.h"
#include "ConnectionProvider.h"
#include "Log.h"

namespace {

// Quantities and costs as the article editor shows its figures.
const QString kFormato = QStringLiteral("0.00");
const QString kFecha = QStringLiteral("dd/MM/yyyy HH:mm:ss");

} // namespace

KardexArticulo::KardexArticulo(ConnectionProvider &connections, Prompter &prompter, QObject *parent)
    : QAbstractTableModel(parent), m_connections(connections), m_prompter(prompter)
{
}

bool KardexArticulo::carga(const QString &articulo, const Filtro &filtro)
{
    QList<Fila> filas;
    bool recortado = false;
    const int limite = qMax(1, filtro.limite);
    bool ok = true;
    try {
        QString sql = QStringLiteral(
            "select k.kar_Fecha, k.ALM_CLAVE, k.tkar_Clave, t.tkar_Nombre, k.alma_Clave, k.kar_Cantidad, "
            "k.alma_Existencia, k.art_Costo, k.KAR_ORIGEN, k.prov_Clave, k.fact_Clave, k.usu_Clave "
            "from tArticuloKardex k left join tTipoKardex t on t.tkar_Clave = k.tkar_Clave "
            "where k.art_Clave = ?");
        QVariantList params{articulo};
        if (!filtro.almacen.isEmpty()) {
            sql += QStringLiteral(" and k.ALM_CLAVE = ?");
            params << filtro.almacen;
        }
        if (filtro.desde.isValid()) {
            sql += QStringLiteral(" and k.kar_Fecha >= ?");
            params << QDateTime(filtro.desde, QTime(0, 0));
        }
        // The whole last day: up to the start of the next one.
        if (filtro.hasta.isValid()) {
            sql += QStringLiteral(" and k.kar_Fecha < ?");
            params << QDateTime(filtro.hasta.addDays(1), QTime(0, 0));
        }
        // One row past the limit tells whether there are more.
        sql += QStringLiteral(" order by k.kar_Fecha desc, k.kar_Clave desc limit ?");
        params << limite + 1;
        for (db::Recordset rs = m_connections.getConnection().openRecordset(sql, params); !rs.eof();
             rs.moveNext()) {
            if (filas.size() == limite) {
                recortado = true;
                break;
            }
            Fila f;
            f.fecha = rs.dateTime(QStringLiteral("kar_Fecha"));
            f.almacen = rs.text(QStringLiteral("ALM_CLAVE")).trimmed();
            f.tipo = rs.text(QStringLiteral("tkar_Clave")).trimmed();
            f.nombreTipo = rs.text(QStringLiteral("tkar_Nombre")).trimmed();
            if (f.nombreTipo.isEmpty())
                f.nombreTipo = f.tipo;
            f.lote = rs.text(QStringLiteral("alma_Clave")).trimmed();
            f.cantidad = rs.decimal(QStringLiteral("kar_Cantidad"));
            f.existencia = rs.decimal(QStringLiteral("alma_Existencia"));
            f.costo = rs.decimal(QStringLiteral("art_Costo"));
            f.origen = rs.text(QStringLiteral("KAR_ORIGEN")).trimmed();
            f.proveedor = rs.text(QStringLiteral("prov_Clave")).trimmed();
            f.factura = rs.text(QStringLiteral("fact_Clave")).trimmed();
            f.usuario = rs.text(QStringLiteral("usu_Clave")).trimmed();
            filas << f;
        }
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("No fue posible leer los movimientos del articulo ") + articulo,
                    QStringLiteral("KardexArticulo.carga"), ErrorInfo::fromException(e));
        filas.clear();
        recortado = false;
        ok = false;
    }
    beginResetModel();
    m_filas = filas;
    m_limite = limite;
    m_recortado = recortado;
    endResetModel();
    return ok;
}

void KardexArticulo::limpia()
{
    beginResetModel();
    m_filas.clear();
    m_recortado = false;
    endResetModel();
}

QString KardexArticulo::resumen() const
{
    if (m_recortado)
        return QStringLiteral("Mostrando los ultimos %1 movimientos").arg(m_limite);
    if (m_filas.size() == 1)
        return QStringLiteral("1 movimiento");
    return QStringLiteral("%1 movimientos").arg(m_filas.size());
}

QList<QPair<QString, QString>> KardexArticulo::almacenes()
{
    QList<QPair<QString, QString>> out;
    try {
        for (db::Recordset rs = m_connections.getConnection().openRecordset(
                 QStringLiteral("select alm_Clave, alm_Nombre from tAlmacen order by alm_Clave"));
             !rs.eof(); rs.moveNext())
            out.append({rs.text(QStringLiteral("alm_Clave")).trimmed(),
                        rs.text(QStringLiteral("alm_Nombre")).trimmed()});
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("No fue posible leer los almacenes"),
                    QStringLiteral("KardexArticulo.almacenes"), ErrorInfo::fromException(e));
    }
    return out;
}

int KardexArticulo::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_filas.size());
}

int KardexArticulo::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : NumColumnas;
}

QVariant KardexArticulo::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_filas.size() || index.column() >= NumColumnas)
        return {};
    const int col = index.column();
    const bool cifra = col == Cantidad || col == Existencia || col == Costo;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(cifra ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const Fila &f = m_filas.at(index.row());
    switch (col) {
    case Fecha:
        return f.fecha.toString(kFecha);
    case Almacen:
        return f.almacen;
    case Tipo:
        return f.nombreTipo;
    case LoteSerie:
        return f.lote;
    case Cantidad:
        return f.cantidad.format(kFormato);
    case Existencia:
        return f.existencia.format(kFormato);
    case Costo:
        return f.costo.format(kFormato);
    case Origen:
        return f.origen;
    case Proveedor:
        return f.proveedor;
    case Factura:
        return f.factura;
    case Usuario:
        return f.usuario;
    }
    return {};
}

QVariant KardexArticulo::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    static const char *const titulos[] = {"Fecha",  "Almacen", "Tipo",      "Lote/Serie", "Cantidad", "Existencia",
                                          "Costo",  "Origen",  "Proveedor", "Factura",    "Usuario"};
    return section >= 0 && section < NumColumnas ? QVariant(QString::fromLatin1(titulos[section])) : QVariant();
}
