#include "Schema.h"

#include "Connection.h"
#include "Transaction.h"
#include "migrations/Migrations.h"

#include <QRegularExpression>

namespace db {

const QList<Migration> &Schema::migrations()
{
    return migrations::all();
}

QStringList Schema::appliedKeys(Connection &connection)
{
    if (!connection.tableExists(QStringLiteral("tUpgrade")))
        return {};
    QStringList keys;
    for (Recordset rs = connection.openForwardOnly(QStringLiteral("select upg_Key from tUpgrade order by upg_Key"));
         !rs.eof(); rs.moveNext())
        keys.append(rs.text(QStringLiteral("upg_Key")));
    return keys;
}

bool Schema::isForeign(Connection &connection)
{
    const QStringList tables = connection.tables();
    return !tables.isEmpty() && !tables.contains(QStringLiteral("tUpgrade"), Qt::CaseInsensitive);
}

bool Schema::isCurrent(Connection &connection)
{
    return isCurrent(connection, migrations());
}

bool Schema::isCurrent(Connection &connection, const QList<Migration> &list)
{
    const QStringList applied = appliedKeys(connection);
    for (const Migration &m : list)
        if (!applied.contains(m.key))
            return false;
    return true;
}

QStringList Schema::upgrade(Connection &connection)
{
    return upgrade(connection, migrations());
}

QStringList Schema::upgrade(Connection &connection, const QList<Migration> &list)
{
    QStringList done;
    for (const Migration &m : list) {
        if (appliedKeys(connection).contains(m.key))
            continue;
        Transaction tx(connection);
        // Another workstation may have applied it while we waited for the write lock.
        if (appliedKeys(connection).contains(m.key))
            continue;
        m.apply(connection);
        connection.execute(QStringLiteral("insert into tUpgrade (upg_Key, upg_Fecha) values (?, getdate())"),
                           {m.key});
        tx.commit();
        done.append(m.key);
    }
    return done;
}

void Schema::executeDdl(Connection &connection, const QString &script)
{
    QString sql = script;
    if (connection.engine() == Engine::PostgreSQL) {
        static const QRegularExpression blob(QStringLiteral("\\bblob\\b"), QRegularExpression::CaseInsensitiveOption);
        sql.replace(blob, QStringLiteral("bytea"));
    }
    connection.executeScript(sql);
}

} // namespace db
