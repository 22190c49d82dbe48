#include "SecuenciaCatalogo.h"

#include "ConnectionProvider.h"
#include "Log.h"

#include "Connection.h"

SecuenciaCatalogo::SecuenciaCatalogo(ConnectionProvider &connections, Prompter &prompter, QObject *parent)
    : QAbstractTableModel(parent), m_connections(connections), m_prompter(prompter)
{
}

QStringList SecuenciaCatalogo::columnas()
{
    return {QStringLiteral("Clave"), QStringLiteral("Lim. Inferior"), QStringLiteral("Lim. Superior"),
            QStringLiteral("Lim. Valor"), QStringLiteral("Lim. Incremento")};
}

void SecuenciaCatalogo::recargar()
{
    QList<Fila> filas;
    try {
        db::Recordset rs = m_connections.getConnection().openRecordset(QStringLiteral(
            "SELECT sec_Clave, sec_Minimo, sec_Maximo, sec_Valor, sec_Incremento FROM tSecuencia "
            "ORDER BY sec_Clave"));
        for (; !rs.eof(); rs.moveNext())
            filas.append({rs.text(QStringLiteral("sec_Clave")), rs.integer(QStringLiteral("sec_Minimo")),
                          rs.integer(QStringLiteral("sec_Maximo")), rs.integer(QStringLiteral("sec_Valor")),
                          rs.integer(QStringLiteral("sec_Incremento"))});
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("recargar"), QStringLiteral("frmSecuencia"),
                    ErrorInfo::fromException(e));
        filas.clear();
    }
    beginResetModel();
    m_filas = std::move(filas);
    endResetModel();
}

int SecuenciaCatalogo::filaDe(const QString &clave) const
{
    for (int i = 0; i < m_filas.size(); ++i)
        if (m_filas[i].clave == clave)
            return i;
    return -1;
}

int SecuenciaCatalogo::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_filas.size());
}

int SecuenciaCatalogo::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columnas().size());
}

QVariant SecuenciaCatalogo::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_filas.size())
        return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() == 0 ? QVariant() : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole)
        return {};
    const Fila &f = m_filas[index.row()];
    switch (index.column()) {
    case 0:
        return f.clave;
    case 1:
        return f.minimo;
    case 2:
        return f.maximo;
    case 3:
        return f.valor;
    case 4:
        return f.incremento;
    default:
        return {};
    }
}

QVariant SecuenciaCatalogo::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    return columnas().at(section);
}
