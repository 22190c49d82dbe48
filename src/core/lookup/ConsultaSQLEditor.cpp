#include "ConsultaSQLEditor.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "MensajesMantenimiento.h"
#include "Prompter.h"

#include "Connection.h"
#include "Transaction.h"

namespace {

const QString kWhere = QStringLiteral("frmConsultaSQL");

QString flag(bool on)
{
    return on ? QStringLiteral("S") : QStringLiteral("N");
}

} // namespace

void ConsultaSQLColumnas::setColumnas(const QList<Columna> &rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

void ConsultaSQLColumnas::agregar()
{
    beginInsertRows(QModelIndex(), int(m_rows.size()), int(m_rows.size()));
    m_rows.append(Columna{});
    endInsertRows();
}

void ConsultaSQLColumnas::quitar(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

int ConsultaSQLColumnas::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ConsultaSQLColumnas::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ConsultaSQLColumnas::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Columna &c = m_rows.at(index.row());
    const bool check = index.column() == Valor || index.column() == Descripcion;
    const bool on = index.column() == Valor ? c.valor : c.descripcion;
    if (check)
        return role == Qt::CheckStateRole ? QVariant(on ? Qt::Checked : Qt::Unchecked) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return index.column() == Nombre ? c.nombre : c.campo;
}

bool ConsultaSQLColumnas::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return false;
    Columna &c = m_rows[index.row()];
    switch (index.column()) {
    case Nombre:
    case Campo:
        if (role != Qt::EditRole)
            return false;
        (index.column() == Nombre ? c.nombre : c.campo) = value.toString().trimmed();
        break;
    default:
        if (role != Qt::CheckStateRole)
            return false;
        (index.column() == Valor ? c.valor : c.descripcion) = value.toInt() == Qt::Checked;
    }
    Q_EMIT dataChanged(index, index, {role});
    return true;
}

Qt::ItemFlags ConsultaSQLColumnas::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags base = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == Valor || index.column() == Descripcion ? base | Qt::ItemIsUserCheckable
                                                                    : base | Qt::ItemIsEditable;
}

QVariant ConsultaSQLColumnas::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    static const char *const names[] = {"Nombre", "Campo", "Valor", "Descripcion"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(names[section]) : QVariant();
}

ConsultaSQLEditor::ConsultaSQLEditor(ConnectionProvider &connections, Prompter &prompter)
    : m_connections(connections), m_prompter(prompter)
{
}

LookupDefinition ConsultaSQLEditor::definicionCatalogo()
{
    LookupDefinition d;
    d.selectList = QStringLiteral("con_Clave, con_Nombre");
    d.table = QStringLiteral("tConsulta");
    d.order = QStringLiteral("con_Nombre");
    d.searchFields = {{QStringLiteral("Nombre"), QStringLiteral("con_Nombre"), LookupField::Texto},
                      {QStringLiteral("Clave"), QStringLiteral("con_Clave"), LookupField::Numero}};
    d.columns = {{QStringLiteral("Clave"), QLatin1Char('I'), 70},
                 {QStringLiteral("Nombre"), QLatin1Char('?'), 0}};
    d.title = QStringLiteral("Consulta SQL");
    d.maintenanceWindow = kWhere;
    return d;
}

int ConsultaSQLEditor::nuevaClave()
{
    try {
        const QVariant v =
            m_connections.getConnection().scalar(QStringLiteral("select max(con_Clave) from tConsulta"));
        return int(v.toLongLong()) + 1;
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("nuevaClave"), kWhere, ErrorInfo::fromException(e));
        return 0;
    }
}

bool ConsultaSQLEditor::validaDatos(const Datos &datos)
{
    const QString clave = datos.clave.trimmed();
    bool numeric = false;
    const int n = clave.toInt(&numeric);
    // campo: the field the form focuses; a column of the grid has none.
    const auto rechaza = [this](const char *campo, const QString &message) {
        m_campoRechazado = QLatin1String(campo);
        m_prompter.information(message);
        return false;
    };
    m_campoRechazado.clear();
    if (clave.isEmpty())
        return rechaza("clave", QStringLiteral("Debe indicar una clave"));
    if (!numeric || n <= 0)
        return rechaza("clave", QStringLiteral("Debe indicar una clave numerica"));
    if (datos.nombre.trimmed().isEmpty())
        return rechaza("nombre", QStringLiteral("Debe indicar un nombre"));
    if (datos.sql.trimmed().isEmpty())
        return rechaza("sql", QStringLiteral("Debe indicar el SQL"));
    for (qsizetype i = 0; i < datos.columnas.size(); ++i)
        if (datos.columnas.at(i).campo.trimmed().isEmpty())
            return rechaza("",
                           QStringLiteral("Debe indicar el campo de la columna ") + QString::number(i + 1));
    return true;
}

bool ConsultaSQLEditor::existe(int clave, QString *nombre)
{
    db::Recordset rs = m_connections.getConnection().openRecordset(
        QStringLiteral("select con_Nombre from tConsulta where con_Clave = ?"), {clave});
    if (rs.eof())
        return false;
    if (nombre)
        *nombre = rs.text(QStringLiteral("con_Nombre"));
    return true;
}

void ConsultaSQLEditor::guardaColumnas(int clave, const QList<ConsultaSQLColumnas::Columna> &columnas)
{
    db::Connection &c = m_connections.getConnection();
    c.execute(QStringLiteral("delete from tSelect where con_Clave = ?"), {clave});
    int orden = 0;
    for (const ConsultaSQLColumnas::Columna &col : columnas)
        c.execute(
            QStringLiteral("insert into tSelect (con_Clave, sel_Orden, sel_Nombre, sel_Campo, sel_Valor, "
                           "sel_Descripcion) values (?, ?, ?, ?, ?, ?)"),
            {clave, ++orden, col.nombre, col.campo.trimmed(), flag(col.valor), flag(col.descripcion)});
}

bool ConsultaSQLEditor::agregarRegistro(const Datos &datos, bool *continuar)
{
    if (continuar)
        *continuar = false;
    if (!validaDatos(datos))
        return false;
    const int clave = datos.clave.trimmed().toInt();
    try {
        QString nombre;
        if (existe(clave, &nombre)) {
            m_prompter.exclamation(QStringLiteral("La clave ya esta en uso para la siguiente Consulta") +
                                   QLatin1Char('\n') + nombre);
            return false;
        }
        db::Connection &c = m_connections.getConnection();
        db::Transaction tx(c);
        c.execute(QStringLiteral("insert into tConsulta (con_Clave, con_Nombre, con_SQL, con_Completar) "
                                 "values (?, ?, ?, 'S')"),
                  {clave, datos.nombre.trimmed(), datos.sql});
        guardaColumnas(clave, datos.columnas);
        tx.commit();
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("agregarRegistro"), kWhere, ErrorInfo::fromException(e));
        return false;
    }
    const bool mas = m_prompter.question(
        QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas Consultas"), true);
    if (continuar)
        *continuar = mas;
    return true;
}

bool ConsultaSQLEditor::modificarRegistro(const Datos &datos)
{
    if (!validaDatos(datos))
        return false;
    const int clave = datos.clave.trimmed().toInt();
    try {
        if (!existe(clave)) {
            m_prompter.exclamation(MensajesMantenimiento::claveNoExiste());
            return false;
        }
        db::Connection &c = m_connections.getConnection();
        db::Transaction tx(c);
        c.execute(QStringLiteral("update tConsulta set con_Nombre = ?, con_SQL = ? where con_Clave = ?"),
                  {datos.nombre.trimmed(), datos.sql, clave});
        guardaColumnas(clave, datos.columnas);
        tx.commit();
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("modificarRegistro"), kWhere, ErrorInfo::fromException(e));
        return false;
    }
    m_prompter.information(MensajesMantenimiento::actualizado());
    return true;
}

std::optional<ConsultaSQLEditor::Datos> ConsultaSQLEditor::consultarRegistro(const QString &clave)
{
    bool numeric = false;
    const int n = clave.trimmed().toInt(&numeric);
    try {
        db::Connection &c = m_connections.getConnection();
        db::Recordset rs = c.openRecordset(
            QStringLiteral("select con_Clave, con_Nombre, con_SQL from tConsulta where con_Clave = ?"), {n});
        if (!numeric || rs.eof()) {
            m_prompter.exclamation(MensajesMantenimiento::claveNoExiste());
            return std::nullopt;
        }
        Datos d{QString::number(n),
                rs.text(QStringLiteral("con_Nombre")),
                rs.text(QStringLiteral("con_SQL")),
                {}};
        for (db::Recordset sel = c.openRecordset(
                 QStringLiteral("select sel_Nombre, sel_Campo, sel_Valor, sel_Descripcion from tSelect "
                                "where con_Clave = ? order by sel_Orden"),
                 {n});
             !sel.eof(); sel.moveNext())
            d.columnas.append(
                {sel.text(QStringLiteral("sel_Nombre")), sel.text(QStringLiteral("sel_Campo")),
                 sel.text(QStringLiteral("sel_Valor")).trimmed().toUpper() == QLatin1String("S"),
                 sel.text(QStringLiteral("sel_Descripcion")).trimmed().toUpper() == QLatin1String("S")});
        return d;
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("consultarRegistro"), kWhere, ErrorInfo::fromException(e));
        return std::nullopt;
    }
}

bool ConsultaSQLEditor::eliminarRegistro(const QString &clave)
{
    bool numeric = false;
    const int n = clave.trimmed().toInt(&numeric);
    try {
        QString nombre;
        if (!numeric || !existe(n, &nombre)) {
            m_prompter.exclamation(MensajesMantenimiento::claveNoExiste());
            return false;
        }
        db::Connection &c = m_connections.getConnection();
        // Report parameters fill their lists from stored queries; that table comes with the reports.
        const auto enUso = [&] {
            if (!c.tableExists(QStringLiteral("tReporteParam")) ||
                c.scalar(QStringLiteral("select count(*) from tReporteParam where con_Clave = ?"), {n})
                        .toInt() == 0)
                return false;
            m_prompter.exclamation(MensajesMantenimiento::enUso());
            return true;
        };
        if (enUso() ||
            !m_prompter.question(QStringLiteral("Esta seguro de eliminar la Consulta ") + nombre, false))
            return false;
        db::Transaction tx(c);
        if (enUso()) // a report may have taken it while the question was open
            return false;
        c.execute(QStringLiteral("delete from tSelect where con_Clave = ?"), {n});
        c.execute(QStringLiteral("delete from tConsulta where con_Clave = ?"), {n});
        tx.commit();
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("eliminarRegistro"), kWhere, ErrorInfo::fromException(e));
        return false;
    }
    m_prompter.information(MensajesMantenimiento::eliminado());
    return true;
}
