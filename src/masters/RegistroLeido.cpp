#include "RegistroLeido.h"

#include "ConnectionProvider.h"

#include "Connection.h"
#include "Decimal.h"

bool RegistroLeido::busca(ConnectionProvider &connections, const QString &tabla, const QString &columnaClave,
                          const QStringList &campos, const QString &clave)
{
    m_cargado = false;
    m_valores.clear();
    // The table and column names are the program's own constants.
    db::Recordset rs = connections.getConnection().openRecordset(QStringLiteral("select * from ") + tabla +
                                                                     QStringLiteral(" where ") +
                                                                     columnaClave + QStringLiteral(" = ?"),
                                                                 {clave.trimmed()});
    if (rs.eof())
        return false;
    for (const QString &campo : campos) {
        QVariant v = rs.value(campo);
        if (v.metaType() == QMetaType::fromType<Decimal>())
            v = Decimal::fromVariant(v).toDouble();
        else if (v.typeId() == QMetaType::QString)
            v = v.toString().trimmed();
        m_valores.insert(campo.toLower(), v);
    }
    m_cargado = true;
    return true;
}

QString RegistroLeido::texto(const char *columna) const
{
    return m_valores.value(QString::fromLatin1(columna).toLower()).toString();
}

double RegistroLeido::numero(const char *columna) const
{
    const QVariant v = m_valores.value(QString::fromLatin1(columna).toLower());
    return v.metaType() == QMetaType::fromType<Decimal>() ? Decimal::fromVariant(v).toDouble() : v.toDouble();
}
