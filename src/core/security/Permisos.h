#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

class ConnectionProvider;
class cConfigure;

namespace db {
class Connection;
}

// The rights of the session's profile (PERFIL) over modules: menu entries, guarded commands
// and reports, one tSeguridad row per right. A database error counts as no right, so a broken
// query hides rather than shows.
class Permisos {
public:
    // A menu entry as the main window has it: its name and its tag (empty, or another module).
    struct MenuItem {
        QString name;
        QString tag;
    };

    // One entry of the reports menu, in order.
    struct ReportEntry {
        enum Kind { Separator, Heading, Report };
        Kind kind = Report;
        QString key;     // the report's module key; empty for a separator
        QString caption; // "-" for a separator, four spaces before a report's name
    };

    Permisos(ConnectionProvider &connections, cConfigure &config);

    bool hasPermission(const QString &modulo) const;
    // A maintenance window's command: 'A' ventana_cmdAlta, 'C' and 'R' ventana_cmdCambio,
    // 'B' ventana_cmdBaja, 'Q' ventana_cmdConsulta (or cmdCambio: who may change may look).
    bool puedeComando(const QString &ventana, QChar comando) const;
    // The same check against another database (a branch) for a given profile.
    static bool hasPermissionOn(db::Connection &connection, const QString &modulo, const QString &perfil);

    // Every right of the session's profile; empty when the database fails.
    QSet<QString> rights() const;
    // Visibility per entry name: the tag's module when the tag is not empty, else the name's.
    QHash<QString, bool> applyMenuPermissions(const QList<MenuItem> &items) const;
    // The profile's reports under 'ZEV.mnuReporte': headings ('TREPORTE') after a separator,
    // reports indented. Empty when the database fails.
    QList<ReportEntry> buildReportsMenu() const;

private:
    QString perfil() const;

    ConnectionProvider &m_connections;
    cConfigure &m_config;
};
