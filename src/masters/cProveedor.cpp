#include "cProveedor.h"

#include "ConnectionProvider.h"
#include "ProveedorEditor.h"
#include "cObjectFactory.h"

#include "Connection.h"

cProveedor::cProveedor(ConnectionProvider &connections, QObject *parent)
    : QObject(parent), m_connections(connections)
{
}

bool cProveedor::Search(const QString &clave)
{
    m_loaded = false;
    m_valores.clear();
    db::Recordset rs = m_connections.getConnection().openRecordset(
        QStringLiteral("select * from tProveedor where prov_Clave = ?"), {clave.trimmed()});
    if (rs.eof())
        return false;
    for (const QString &campo : ProveedorEditor::campos()) {
        QVariant v = rs.value(campo);
        if (v.metaType() == QMetaType::fromType<Decimal>())
            v = Decimal::fromVariant(v).toDouble();
        else if (v.typeId() == QMetaType::QString)
            v = v.toString().trimmed();
        m_valores.insert(campo.toLower(), v);
    }
    m_loaded = true;
    return true;
}

QVariant cProveedor::Campo(const QString &columna) const
{
    return m_valores.value(columna.trimmed().toLower());
}

bool cProveedor::SurteDepartamento(const QString &departamento) const
{
    if (!m_loaded)
        return false;
    return m_connections.getConnection()
               .scalar(QStringLiteral("select count(*) from TPROVEEDORTIPOART where prov_Clave = ? and tart_Clave = ? "
                                      "and tap_Seleccion = 'S'"),
                       {clave(), departamento.trimmed()})
               .toLongLong() > 0;
}

QString cProveedor::Layout(const QString &tipoEdi) const
{
    if (!m_loaded)
        return {};
    return m_connections.getConnection()
        .scalar(QStringLiteral("select layout_Clave from tProveedorEDI where prov_Clave = ? and tedi_Clave = ?"),
                {clave(), tipoEdi.trimmed()})
        .toString()
        .trimmed();
}

QString cProveedor::texto(const char *columna) const
{
    return m_valores.value(QString::fromLatin1(columna).toLower()).toString();
}

double cProveedor::numero(const char *columna) const
{
    const QVariant v = m_valores.value(QString::fromLatin1(columna).toLower());
    return v.metaType() == QMetaType::fromType<Decimal>() ? Decimal::fromVariant(v).toDouble() : v.toDouble();
}

void registraScriptsProveedores(cObjectFactory &factory, ConnectionProvider &connections)
{
    factory.registerClass(QStringLiteral("newcProveedor"), [&connections] { return new cProveedor(connections); });
}
