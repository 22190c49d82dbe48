#include "ExistenciaArticulo.h"

#include "Connection.h"
#include "ConnectionProvider.h"
#include "Log.h"

namespace {

const QString kFormato = QStringLiteral("0.00");

} // namespace

ExistenciaArticulo::ExistenciaArticulo(ConnectionProvider &connections, Prompter &prompter, QObject *parent)
    : QAbstractTableModel(parent), m_connections(connections), m_prompter(prompter)
{
}

bool ExistenciaArticulo::carga(const QString &articulo, bool conCeros)
{
    QList<Fila> filas;
    QList<QPair<QString, Decimal>> totales;
    Decimal total;
    bool ok = true;
    try {
        // Warehouses without a row in tAlmacen still show (their key, no name).
        db::Recordset rs = m_connections.getConnection().openRecordset(
            QStringLiteral("select a.alm_Clave, w.alm_Nombre, a.alma_Clave, a.alma_Existencia "
                           "from tArticuloAlmacen a left join tAlmacen w on w.alm_Clave = a.alm_Clave "
                           "where a.art_Clave = ? order by a.alm_Clave, a.alma_Clave"),
            {articulo});
        QList<Fila> grupo;
        const auto cierra = [&] {
            if (grupo.isEmpty())
                return;
            const bool conTotal = grupo.size() > 1;
            filas += grupo;
            if (conTotal) {
                Fila t;
                t.almacen = grupo.first().almacen;
                t.nombre = grupo.first().nombre;
                t.lote = QStringLiteral("Total del almacen");
                t.existencia = totales.last().second;
                t.esTotal = true;
                filas << t;
            }
            grupo.clear();
        };
        for (; !rs.eof(); rs.moveNext()) {
            Fila f;
            f.almacen = rs.text(QStringLiteral("alm_Clave")).trimmed();
            f.nombre = rs.text(QStringLiteral("alm_Nombre")).trimmed();
            f.lote = rs.text(QStringLiteral("alma_Clave")).trimmed();
            f.existencia = rs.decimal(QStringLiteral("alma_Existencia"));
            if (totales.isEmpty() || totales.last().first != f.almacen) {
                cierra();
                totales.append({f.almacen, Decimal()});
            }
            totales.last().second += f.existencia;
            total += f.existencia;
            if (conCeros || !f.existencia.isZero())
                grupo << f;
        }
        cierra();
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("No fue posible leer la existencia del articulo ") + articulo,
                    QStringLiteral("ExistenciaArticulo.carga"), ErrorInfo::fromException(e));
        filas.clear();
        totales.clear();
        total = Decimal();
        ok = false;
    }
    beginResetModel();
    m_filas = filas;
    m_totales = totales;
    m_total = total;
    endResetModel();
    return ok;
}

void ExistenciaArticulo::limpia()
{
    beginResetModel();
    m_filas.clear();
    m_totales.clear();
    m_total = Decimal();
    endResetModel();
}

Decimal ExistenciaArticulo::totalAlmacen(const QString &almacen) const
{
    for (const auto &[clave, total] : m_totales)
        if (clave == almacen)
            return total;
    return {};
}

int ExistenciaArticulo::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_filas.size());
}

int ExistenciaArticulo::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : NumColumnas;
}

QVariant ExistenciaArticulo::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_filas.size() || index.column() >= NumColumnas)
        return {};
    const Fila &f = m_filas.at(index.row());
    switch (role) {
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(index.column() == Existencia ? Qt::AlignRight | Qt::AlignVCenter
                                                                : Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::DisplayRole:
        switch (index.column()) {
        case Almacen:
            return f.almacen;
        case Nombre:
            return f.nombre;
        case LoteSerie:
            return f.lote;
        case Existencia:
            return f.existencia.format(kFormato);
        }
        return {};
    default:
        return {};
    }
}

QVariant ExistenciaArticulo::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return {};
    static const char *const titulos[] = {"Almacen", "Nombre", "Lote/Serie", "Existencia"};
    return section >= 0 && section < NumColumnas ? QVariant(QString::fromLatin1(titulos[section])) : QVariant();
}
