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
    return m_registro.busca(m_connections, QStringLiteral("tProveedor"), QStringLiteral("prov_Clave"),
                            ProveedorEditor::campos(), clave);
}

QVariant cProveedor::Campo(const QString &columna) const
{
    return m_registro.campo(columna);
}

bool cProveedor::SurteDepartamento(const QString &departamento) const
{
    if (!isLoad())
        return false;
    return m_connections.getConnection()
               .scalar(QStringLiteral("select count(*) from TPROVEEDORTIPOART where prov_Clave = ? and tart_Clave = ? "
                                      "and tap_Seleccion = 'S'"),
                       {clave(), departamento.trimmed()})
               .toLongLong() > 0;
}

QString cProveedor::Layout(const QString &tipoEdi) const
{
    if (!isLoad())
        return {};
    return m_connections.getConnection()
        .scalar(QStringLiteral("select layout_Clave from tProveedorEDI where prov_Clave = ? and tedi_Clave = ?"),
                {clave(), tipoEdi.trimmed()})
        .toString()
        .trimmed();
}

void registraScriptsProveedores(cObjectFactory &factory, ConnectionProvider &connections)
{
    factory.registerClass(QStringLiteral("newcProveedor"), [&connections] { return new cProveedor(connections); });
}
