#include "cCliente.h"

#include "ClienteEditor.h"
#include "ConnectionProvider.h"
#include "cObjectFactory.h"

#include "Connection.h"

cCliente::cCliente(ConnectionProvider &connections, QObject *parent) : QObject(parent), m_connections(connections) {}

bool cCliente::Search(const QString &clave)
{
    m_loaded = false;
    m_valores.clear();
    db::Recordset rs = m_connections.getConnection().openRecordset(
        QStringLiteral("select * from tCliente where cli_Clave = ?"), {clave.trimmed()});
    if (rs.eof())
        return false;
    for (const QString &campo : ClienteEditor::campos()) {
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

QVariant cCliente::Campo(const QString &columna) const
{
    return m_valores.value(columna.trimmed().toLower());
}

QString cCliente::texto(const char *columna) const
{
    return m_valores.value(QString::fromLatin1(columna).toLower()).toString();
}

double cCliente::numero(const char *columna) const
{
    const QVariant v = m_valores.value(QString::fromLatin1(columna).toLower());
    return v.metaType() == QMetaType::fromType<Decimal>() ? Decimal::fromVariant(v).toDouble() : v.toDouble();
}

void registraScriptsClientes(cObjectFactory &factory, ConnectionProvider &connections)
{
    factory.registerClass(QStringLiteral("newcCliente"), [&connections] { return new cCliente(connections); });
}
