#include "Permisos.h"

#include "Connection.h"
#include "ConnectionProvider.h"
#include "Log.h"
#include "cConfigure.h"

#include <QSet>

Permisos::Permisos(ConnectionProvider &connections, cConfigure &config) : m_connections(connections), m_config(config)
{
}

QString Permisos::perfil() const
{
    return m_config.getString(QStringLiteral("PERFIL"));
}

bool Permisos::hasPermissionOn(db::Connection &connection, const QString &modulo, const QString &perfil)
{
    try {
        return !connection
                    .openRecordset(QStringLiteral("SELECT PERF_CLAVE FROM TSEGURIDAD WHERE MOD_CLAVE = ? AND "
                                                  "PERF_CLAVE = ?"),
                                   {modulo, perfil})
                    .eof();
    } catch (const std::exception &e) {
        writeLog(QStringLiteral("hasPermission ") + modulo + QStringLiteral(": ") + QString::fromUtf8(e.what()));
        return false;
    }
}

bool Permisos::puedeComando(const QString &ventana, QChar comando) const
{
    const auto has = [&](const char *suffix) { return hasPermission(ventana + u'_' + QLatin1String(suffix)); };
    switch (comando.toUpper().unicode()) {
    case 'A':
        return has("cmdAlta");
    case 'C':
    case 'R':
        return has("cmdCambio");
    case 'B':
        return has("cmdBaja");
    case 'Q':
        return has("cmdConsulta") || has("cmdCambio");
    default:
        return false;
    }
}

bool Permisos::hasPermission(const QString &modulo) const
{
    try {
        return hasPermissionOn(m_connections.getConnection(), modulo, perfil());
    } catch (const std::exception &) {
        return false; // no connection at all
    }
}

QSet<QString> Permisos::rights() const
{
    QSet<QString> out;
    try {
        db::Recordset rs = m_connections.getConnection().openRecordset(
            QStringLiteral("select mod_Clave from tSeguridad where perf_Clave = ?"), {perfil()});
        for (; !rs.eof(); rs.moveNext())
            out.insert(rs.text(QStringLiteral("mod_Clave")));
    } catch (const std::exception &e) {
        writeLog(QStringLiteral("applyMenuPermissions: ") + QString::fromUtf8(e.what()));
        out.clear();
    }
    return out;
}

QHash<QString, bool> Permisos::applyMenuPermissions(const QList<MenuItem> &items) const
{
    // One read of the profile's rows instead of one query per entry; same answer.
    const QSet<QString> granted = rights();
    QHash<QString, bool> visible;
    for (const MenuItem &item : items)
        visible.insert(item.name, granted.contains(item.tag.isEmpty() ? item.name : item.tag));
    return visible;
}

QList<Permisos::ReportEntry> Permisos::buildReportsMenu() const
{
    QList<ReportEntry> out;
    try {
        db::Recordset rs = m_connections.getConnection().openRecordset(
            QStringLiteral("select m.mod_Clave, m.mod_Nombre, m.tmod_Clave, m.mod_Arbol from tModulo m "
                           "where m.mod_Arbol like ? and m.mod_Clave in "
                           "(select s.mod_Clave from tSeguridad s where s.perf_Clave = ?) "
                           "and m.mod_Clave not in (?, ?) order by m.mod_Arbol"),
            {QStringLiteral("ZEV.mnuReporte%"), perfil(), QStringLiteral("mnuReporte"),
             QStringLiteral("mnuReporte_Reportes")});
        for (; !rs.eof(); rs.moveNext()) {
            const QString key = rs.text(QStringLiteral("mod_Clave"));
            const QString name = rs.text(QStringLiteral("mod_Nombre"));
            if (rs.text(QStringLiteral("tmod_Clave")).trimmed().compare(QLatin1String("TREPORTE"),
                                                                        Qt::CaseInsensitive) == 0) {
                out.append({ReportEntry::Separator, QString(), QStringLiteral("-")});
                out.append({ReportEntry::Heading, key, name});
            } else {
                out.append({ReportEntry::Report, key, QStringLiteral("    ") + name});
            }
        }
    } catch (const std::exception &e) {
        writeLog(QStringLiteral("buildReportsMenu: ") + QString::fromUtf8(e.what()));
        out.clear();
    }
    return out;
}
