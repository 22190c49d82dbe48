#include "cCliente.h"

#include "ClienteEditor.h"
#include "ConnectionProvider.h"
#include "cObjectFactory.h"

#include "Connection.h"

cCliente::cCliente(ConnectionProvider &connections, QObject *parent) : QObject(parent), m_connections(connections) {}

bool cCliente::Search(const QString &clave)
{
    return m_registro.busca(m_connections, QStringLiteral("tCliente"), QStringLiteral("cli_Clave"),
                            ClienteEditor::campos(), clave);
}

QVariant cCliente::Campo(const QString &columna) const
{
    return m_registro.campo(columna);
}

void registraScriptsClientes(cObjectFactory &factory, ConnectionProvider &connections)
{
    factory.registerClass(QStringLiteral("newcCliente"), [&connections] { return new cCliente(connections); });
}
