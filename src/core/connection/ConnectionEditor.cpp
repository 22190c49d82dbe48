#include "ConnectionEditor.h"

#include "Connection.h"
#include "ConnectionCatalog.h"
#include "ConnectionString.h"
#include "DbError.h"
#include "Prompter.h"

#include <QUrl>

ConnectionEditor::ConnectionEditor(ConnectionCatalog &catalog, Prompter &prompter)
    : m_catalog(catalog), m_prompter(prompter)
{
}

ConnectionFields ConnectionEditor::fieldsFrom(const QString &name, const QString &connectionString)
{
    ConnectionFields f;
    f.name = name;
    if (connectionString.trimmed().isEmpty())
        return f;
    try {
        const db::ConnectionString cs = db::ConnectionString::parse(connectionString);
        if (cs.engine() == db::Engine::SQLite) {
            f.engine = ConnectionFields::SQLite;
            f.file = cs.path();
        } else {
            f.engine = ConnectionFields::PostgreSQL;
            f.server = cs.host();
            f.port = cs.port() > 0 ? QString::number(cs.port()) : QString();
            f.user = cs.user();
            f.password = cs.password();
            f.database = cs.database();
            QStringList opts;
            for (const auto &o : cs.options())
                opts << o.first + QLatin1Char('=') + o.second;
            f.options = opts.join(QLatin1Char('&'));
        }
    } catch (const db::DbError &) {
        // A definition this program cannot read (an old ODBC string) shows only its name.
    }
    return f;
}

ConnectionFields ConnectionEditor::load(int i) const
{
    const QStringList names = m_catalog.names();
    const QString name = (i >= 1 && i <= names.size()) ? names.at(i - 1) : QString();
    return fieldsFrom(name, m_catalog.connectionString(i));
}

std::optional<QString> ConnectionEditor::buildConnectionString(const ConnectionFields &fields, bool withDatabase)
{
    if (fields.name.trimmed().isEmpty()) {
        m_prompter.information(QStringLiteral("Debe indicar un nombre"));
        return std::nullopt;
    }
    if (fields.engine == ConnectionFields::SQLite)
        return QStringLiteral("sqlite:") + fields.file.trimmed();

    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setHost(fields.server.trimmed().isEmpty() ? QStringLiteral("localhost") : fields.server.trimmed());
    if (!fields.port.trimmed().isEmpty())
        url.setPort(fields.port.trimmed().toInt());
    if (!fields.user.isEmpty())
        url.setUserName(fields.user);
    if (!fields.password.isEmpty())
        url.setPassword(fields.password);
    const QString database = withDatabase ? fields.database.trimmed() : QStringLiteral("postgres");
    url.setPath(QLatin1Char('/') + database);
    if (!fields.options.trimmed().isEmpty())
        url.setQuery(fields.options.trimmed());
    return url.toString(QUrl::FullyEncoded);
}

int ConnectionEditor::cmdSalvar(const ConnectionFields &fields)
{
    const std::optional<QString> cs = buildConnectionString(fields);
    if (!cs)
        return 0;
    return m_catalog.save(fields.name.trimmed(), *cs);
}

std::optional<QString> ConnectionEditor::cmdOK(const ConnectionFields &fields, int selectedIndex)
{
    if (selectedIndex < 1)
        return std::nullopt;
    const std::optional<QString> cs = buildConnectionString(fields);
    if (!cs)
        return std::nullopt;
    const QStringList names = m_catalog.names();
    if (selectedIndex <= names.size())
        m_catalog.setSelected(names.at(selectedIndex - 1));
    return cs;
}

QStringList ConnectionEditor::cmdBase(const ConnectionFields &fields)
{
    if (fields.engine != ConnectionFields::PostgreSQL)
        return {};
    const std::optional<QString> cs = buildConnectionString(fields, false);
    if (!cs)
        return {};
    db::Connection connection;
    connection.open(*cs);
    QStringList out;
    db::Recordset rs = connection.openRecordset(
        QStringLiteral("select datname from pg_database where not datistemplate order by datname"));
    while (!rs.eof()) {
        out << rs.value(QStringLiteral("datname")).toString();
        rs.moveNext();
    }
    connection.close();
    return out;
}
