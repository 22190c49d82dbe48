#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

namespace {

// The tables whose changes decide what every workstation runs and who may do what.
struct Audited {
    const char *table;
    QStringList key;
};

const QList<Audited> &audited()
{
    static const QList<Audited> list = {
        {"tCodigo", {QStringLiteral("codigo_Clave")}},
        {"tUsuario", {QStringLiteral("usu_Clave")}},
        {"tPerfil", {QStringLiteral("perf_Clave")}},
        {"tSeguridad", {QStringLiteral("perf_Clave"), QStringLiteral("mod_Clave")}},
    };
    return list;
}

// Password hashes stay out of the trail: it is readable by the workstations.
bool recorded(const QString &column)
{
    return column.compare(QLatin1String("usu_Psw"), Qt::CaseInsensitive) != 0;
}

void sqliteTriggers(Connection &connection)
{
    for (const Audited &a : audited()) {
        const QString table = QString::fromLatin1(a.table);
        QStringList columns;
        for (const FieldInfo &f : connection.columns(table))
            if (recorded(f.name))
                columns.append(f.name);
        const auto row = [&](const QString &which) -> QString {
            QStringList pairs;
            for (const QString &c : columns)
                pairs.append(QStringLiteral("'%1', %2.%1").arg(c, which));
            return QStringLiteral("json_object(") + pairs.join(QStringLiteral(", ")) + u')';
        };
        const auto key = [&](const QString &which) -> QString {
            QStringList parts;
            for (const QString &k : a.key)
                parts.append(which + u'.' + k);
            return parts.join(QStringLiteral(" || '|' || "));
        };
        const struct {
            const char *op;
            QString name;
            QString keyFrom;
            QString before;
            QString after;
        } ops[] = {
            {"INSERT", QStringLiteral("insert"), QStringLiteral("new"), QStringLiteral("null"), row(QStringLiteral("new"))},
            {"UPDATE", QStringLiteral("update"), QStringLiteral("new"), row(QStringLiteral("old")), row(QStringLiteral("new"))},
            {"DELETE", QStringLiteral("delete"), QStringLiteral("old"), row(QStringLiteral("old")), QStringLiteral("null")},
        };
        for (const auto &op : ops) {
            // One statement: the trigger body holds its own ';'.
            connection.executeStatement(
                QStringLiteral("create trigger if not exists trg_%1_auditoria_%2 after %3 on %1 for each row begin "
                               "insert into tAuditoria (aud_Fecha, aud_Tabla, aud_Clave, aud_Operacion, aud_Usuario, "
                               "aud_Login, aud_Estacion, aud_Anterior, aud_Nuevo) values (getdate(), '%4', %5, '%3', "
                               "mdr_contexto('usuario'), mdr_contexto('login'), mdr_contexto('estacion'), %6, %7); end")
                    .arg(table, op.name, QLatin1String(op.op), table.toLower(), key(op.keyFrom), op.before, op.after));
        }
    }
}

void postgresqlTriggers(Connection &connection)
{
    // SECURITY DEFINER: the workstations' login may not write the trail itself, only read it.
    connection.executeScript(QStringLiteral(R"SQL(
create or replace function fn_auditoria() returns trigger
language plpgsql security definer set search_path from current as $$
declare
    fila jsonb := case when tg_op = 'DELETE' then to_jsonb(old) else to_jsonb(new) end;
    clave text := '';
    i integer;
begin
    for i in 0 .. tg_nargs - 1 loop
        clave := clave || case when i > 0 then '|' else '' end || coalesce(fila ->> tg_argv[i], '');
    end loop;
    insert into tAuditoria (aud_Fecha, aud_Tabla, aud_Clave, aud_Operacion, aud_Usuario, aud_Login,
                            aud_Estacion, aud_Anterior, aud_Nuevo)
    values (localtimestamp(0), tg_table_name, clave, tg_op,
            nullif(current_setting('mdr.usuario', true), ''),
            session_user || coalesce('@' || host(inet_client_addr()), ''),
            nullif(current_setting('mdr.estacion', true), ''),
            case when tg_op <> 'INSERT' then (to_jsonb(old) - 'usu_psw')::text end,
            case when tg_op <> 'DELETE' then (to_jsonb(new) - 'usu_psw')::text end);
    return null;
end
$$;
)SQL"));
    for (const Audited &a : audited()) {
        QStringList args;
        for (const QString &k : a.key)
            args.append(u'\'' + k.toLower() + u'\'');
        const QString table = QString::fromLatin1(a.table);
        connection.executeStatement(QStringLiteral("drop trigger if exists trg_%1_auditoria on %1").arg(table));
        connection.executeStatement(QStringLiteral("create trigger trg_%1_auditoria after insert or update or delete "
                                                   "on %1 for each row execute function fn_auditoria(%2)")
                                        .arg(table, args.join(u',')));
    }
}

} // namespace

// tAuditoria: who changed a script, a user, a profile or its rights, when, from where, and the
// row before and after. Written by triggers, so in the same transaction as the change and for
// changes made outside the program too (on SQLite the program's session values are read
// through mdr_contexto, which only the program's connections have).
void auditoria(Connection &connection)
{
    if (connection.engine() == Engine::PostgreSQL) {
        connection.executeScript(QStringLiteral(R"(
create table if not exists tAuditoria (
    aud_Id bigint generated always as identity primary key,
    aud_Fecha timestamp not null,
    aud_Tabla varchar(30) not null,
    aud_Clave varchar(250),
    aud_Operacion varchar(10) not null,
    aud_Usuario varchar(50),
    aud_Login varchar(200),
    aud_Estacion varchar(100),
    aud_Anterior text,
    aud_Nuevo text
);
create index if not exists ix_tAuditoria_Tabla on tAuditoria (aud_Tabla, aud_Clave);
)"));
        postgresqlTriggers(connection);
        return;
    }
    connection.executeScript(QStringLiteral(R"(
create table if not exists tAuditoria (
    aud_Id integer primary key autoincrement,
    aud_Fecha timestamp not null,
    aud_Tabla varchar(30) not null,
    aud_Clave varchar(250),
    aud_Operacion varchar(10) not null,
    aud_Usuario varchar(50),
    aud_Login varchar(200),
    aud_Estacion varchar(100),
    aud_Anterior text,
    aud_Nuevo text
);
create index if not exists ix_tAuditoria_Tabla on tAuditoria (aud_Tabla, aud_Clave);
)"));
    sqliteTriggers(connection);
}

} // namespace db::migrations
