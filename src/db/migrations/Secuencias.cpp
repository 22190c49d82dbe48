#include "Migrations.h"

#include "Connection.h"
#include "DbError.h"

#include <cmath>

namespace db::migrations {

namespace {

// SQLSTATE numeric_value_out_of_range: the number both engines report when a sequence is spent.
constexpr int kSpent = 22003;
constexpr int kBadStep = 22023;

qint64 whole(const QVariant &v, qint64 fallback)
{
    if (!v.isValid() || v.isNull())
        return fallback;
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    if (ok && v.typeId() != QMetaType::Double && v.typeId() != QMetaType::Float)
        return n;
    // Scripts pass doubles; numeric(…,0) rounds half away from zero, and so does this.
    const double d = v.toDouble(&ok);
    return ok ? qint64(std::llround(d)) : fallback;
}

QString spentText(const QString &clave, qint64 maximo)
{
    return QStringLiteral("La secuencia «%1» llegó a su límite superior (%2)").arg(clave).arg(maximo);
}

QString badStepText(const QString &clave)
{
    return QStringLiteral("El incremento de la secuencia «%1» debe ser mayor que cero").arg(clave);
}

} // namespace

// Named folio sequences. Uniqueness is the database's: PostgreSQL draws with one UPDATE that
// locks the key's row until the caller's transaction ends; a missing key is created with
// INSERT … ON CONFLICT DO NOTHING, so two first callers cannot both create it.
// At the upper bound the sequence refuses instead of wrapping: a folio handed out twice would
// clash with a document already written under it.
void secuencias(Connection &connection)
{
    Schema::executeDdl(connection, QStringLiteral(R"(
create table if not exists tSecuencia (
    sec_Clave varchar(100) not null primary key,
    sec_Minimo bigint not null default 1,
    sec_Maximo bigint not null default 2147483647,
    sec_Valor bigint not null default 0,
    sec_Incremento bigint not null default 1
);
)"));
    secuenciasChecadas(connection);
}

// The PostgreSQL routine; replaced by a later migration on databases made before its sum was
// checked.
void secuenciasChecadas(Connection &connection)
{
    if (connection.engine() != Engine::PostgreSQL)
        return;
    connection.executeScript(QStringLiteral(R"SQL(
create or replace function sp_generasecuencia(
    sec_clave varchar,
    valor_ini numeric default 1,
    valor_fin numeric default 2147483647,
    inc_inicial numeric default 1,
    valor_inicial numeric default null,
    out valor bigint)
language plpgsql volatile as $$
#variable_conflict use_column
declare
    clave varchar := sp_generasecuencia.sec_clave;
    minimo bigint := coalesce(round(sp_generasecuencia.valor_ini), 1);
    maximo bigint := coalesce(round(sp_generasecuencia.valor_fin), 2147483647);
    paso bigint := coalesce(round(sp_generasecuencia.inc_inicial), 1);
    inicial bigint := coalesce(round(sp_generasecuencia.valor_inicial), minimo);
    tope bigint;
    incremento bigint;
    actual bigint;
    piso bigint;
    creadas integer;
begin
    if clave is null or clave = '' then
        raise exception 'Falta la clave de la secuencia' using errcode = '22004';
    end if;
    loop
        -- the row stays locked until the caller's transaction ends; the sum is checked in
        -- numeric, since a wrapped bigint would restart the sequence and repeat folios
        select sec_Valor, sec_Maximo, sec_Incremento, sec_Minimo into actual, tope, incremento, piso
          from tSecuencia where sec_Clave = clave for update;
        if found then
            if incremento <= 0 then
                raise exception 'El incremento de la secuencia «%» debe ser mayor que cero', clave
                    using errcode = '22023';
            end if;
            if actual::numeric + incremento > tope then
                raise exception 'La secuencia «%» llegó a su límite superior (%)', clave, tope
                    using errcode = '22003';
            end if;
            valor := greatest(actual + incremento, piso);
            update tSecuencia set sec_Valor = valor where sec_Clave = clave;
            return;
        end if;
        if paso <= 0 then
            raise exception 'El incremento de la secuencia «%» debe ser mayor que cero', clave
                using errcode = '22023';
        end if;
        valor := greatest(inicial, minimo);
        if valor > maximo then
            raise exception 'La secuencia «%» llegó a su límite superior (%)', clave, maximo
                using errcode = '22003';
        end if;
        insert into tSecuencia (sec_Clave, sec_Minimo, sec_Maximo, sec_Valor, sec_Incremento)
        values (clave, minimo, maximo, valor, paso)
        on conflict (sec_Clave) do nothing;
        get diagnostics creadas = row_count;
        if creadas = 1 then
            return;
        end if;
        -- another caller created the key meanwhile: draw from it
    end loop;
end
$$;
)SQL"));
}

// The same routine for SQLite. Connection::callRoutine runs it under BEGIN IMMEDIATE (or a
// savepoint of the caller's transaction, which already holds the write lock), so reading and
// writing the row cannot interleave with another process.
QVariantMap generaSecuencia(Connection &connection, const QVariantMap &params)
{
    const QString clave = params.value(QStringLiteral("sec_clave")).toString();
    const auto fail = [&](int number, const QString &text) {
        return DbError(number, text, QStringLiteral("SQLite.sp_generasecuencia"), {}, DbError::Other,
                       QString::number(number));
    };
    if (clave.isEmpty())
        throw fail(22004, QStringLiteral("Falta la clave de la secuencia"));

    Recordset rs = connection.openRecordset(
        QStringLiteral(
            "select sec_Valor, sec_Minimo, sec_Maximo, sec_Incremento from tSecuencia where sec_Clave = ?"),
        {clave});
    qint64 valor = 0;
    if (!rs.eof()) {
        const qint64 incremento = rs.integer(QStringLiteral("sec_Incremento"));
        const qint64 maximo = rs.integer(QStringLiteral("sec_Maximo"));
        if (incremento <= 0)
            throw fail(kBadStep, badStepText(clave));
        // Checked: a wrapped sum would restart at the lower bound and repeat folios.
        qint64 siguiente = 0;
        if (__builtin_add_overflow(rs.integer(QStringLiteral("sec_Valor")), incremento, &siguiente))
            throw fail(kSpent, spentText(clave, maximo));
        valor = std::max(siguiente, rs.integer(QStringLiteral("sec_Minimo")));
        if (valor > maximo)
            throw fail(kSpent, spentText(clave, maximo));
        connection.execute(QStringLiteral("update tSecuencia set sec_Valor = ? where sec_Clave = ?"),
                           {valor, clave});
    } else {
        const qint64 minimo = whole(params.value(QStringLiteral("valor_ini")), 1);
        const qint64 maximo = whole(params.value(QStringLiteral("valor_fin")), 2147483647);
        const qint64 paso = whole(params.value(QStringLiteral("inc_inicial")), 1);
        if (paso <= 0)
            throw fail(kBadStep, badStepText(clave));
        valor = std::max(whole(params.value(QStringLiteral("valor_inicial")), minimo), minimo);
        if (valor > maximo)
            throw fail(kSpent, spentText(clave, maximo));
        connection.execute(
            QStringLiteral("insert into tSecuencia (sec_Clave, sec_Minimo, sec_Maximo, sec_Valor, "
                           "sec_Incremento) values (?, ?, ?, ?, ?)"),
            {clave, minimo, maximo, valor, paso});
    }
    return {{QStringLiteral("valor"), valor}};
}

} // namespace db::migrations
