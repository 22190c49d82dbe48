#include "LoginWarehouse.h"

#include "Connection.h"
#include "ConnectionProvider.h"
#include "ConnectionString.h"
#include "Log.h"
#include "Prompter.h"
#include "cAplication.h"
#include "cConfigure.h"

const QString LoginWarehouse::kDebeSeleccionar = QStringLiteral("Debe seleccionar el almacen");

LoginWarehouse::LoginWarehouse(ConnectionProvider &connections, cConfigure &config, cAplication &app,
                               Prompter &prompter)
    : m_connections(connections), m_config(config), m_app(app), m_prompter(prompter)
{
}

QString LoginWarehouse::databaseName(const QString &conexion)
{
    const QStringList parts = conexion.split(QLatin1Char(';'));
    for (const QString &part : parts) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq > 0 && part.left(eq).trimmed().compare(QLatin1String("Database"), Qt::CaseInsensitive) == 0)
            return part.mid(eq + 1).trimmed();
    }
    try {
        return db::ConnectionString::parse(conexion).databaseLabel();
    } catch (const std::exception &) {
        return {};
    }
}

bool LoginWarehouse::load()
{
    m_database = databaseName(m_config.getString(QStringLiteral("CONEXION")));
    m_userName.clear();
    m_photo.clear();
    m_warehouses.clear();
    m_selected = -1;
    try {
        db::Connection &conn = m_connections.getConnection();
        db::Recordset user =
            conn.openRecordset(QStringLiteral("select alm_Clave,obj_ClaveFoto,usu_Nombre from tUsuario where usu_clave = ?"),
                               {m_config.getString(QStringLiteral("USUARIO"))});
        QString home;
        if (!user.eof()) {
            m_userName = user.text(QStringLiteral("usu_Nombre"));
            home = user.text(QStringLiteral("alm_Clave")).trimmed();
            if (const qint64 photo = user.integer(QStringLiteral("obj_ClaveFoto")); photo > 0)
                m_photo = m_app.getImage(photo);
        }
        db::Recordset rs = conn.openRecordset(
            QStringLiteral("select alm_Clave, alm_Nombre from tAlmacen order by alm_Clave"));
        for (; !rs.eof(); rs.moveNext()) {
            const QString key = rs.text(QStringLiteral("alm_Clave")).trimmed();
            if (key == home)
                m_selected = int(m_warehouses.size());
            m_warehouses.append(key + QLatin1Char('\t') + rs.text(QStringLiteral("alm_Nombre")));
        }
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("frmSelAlmacen.Form_Load"), ErrorInfo::fromException(e));
        return false;
    }
    return true;
}

bool LoginWarehouse::cmdOK(const QString &entry)
{
    const QString key = entry.section(QLatin1Char('\t'), 0, 0).trimmed();
    if (key.isEmpty()) {
        m_prompter.information(kDebeSeleccionar);
        return false;
    }
    m_config.setValue(QStringLiteral("ALMACEN"), key);
    return true;
}
