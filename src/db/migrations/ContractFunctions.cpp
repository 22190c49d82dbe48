#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// SQL Server's functions that stored texts use, with SQL Server's semantics. SQLite gets the same
// functions in C++ (SqliteFunctions.cpp, DateParts.cpp) when a connection opens.
void contractFunctions(Connection &connection)
{
    connection.executeScript(QStringLiteral(R"SQL(
create or replace function mdr_datepart_name(part text) returns text
language sql immutable as $$
    select case lower(trim(part))
        when 'yy' then 'year' when 'yyyy' then 'year' when 'year' then 'year'
        when 'qq' then 'quarter' when 'q' then 'quarter' when 'quarter' then 'quarter'
        when 'mm' then 'month' when 'm' then 'month' when 'month' then 'month'
        when 'dy' then 'dayofyear' when 'y' then 'dayofyear' when 'dayofyear' then 'dayofyear'
        when 'dd' then 'day' when 'd' then 'day' when 'day' then 'day'
        when 'wk' then 'week' when 'ww' then 'week' when 'week' then 'week'
        when 'dw' then 'weekday' when 'w' then 'weekday' when 'weekday' then 'weekday'
        when 'hh' then 'hour' when 'hour' then 'hour'
        when 'mi' then 'minute' when 'n' then 'minute' when 'minute' then 'minute'
        when 'ss' then 'second' when 's' then 'second' when 'second' then 'second'
        when 'ms' then 'millisecond' when 'millisecond' then 'millisecond'
    end
$$;

create or replace function getdate() returns timestamp
language sql volatile as $$
    select date_trunc('second', clock_timestamp())::timestamp
$$;

create or replace function isnull(anycompatible, anycompatible) returns anycompatible
language sql immutable as $$
    select coalesce($1, $2)
$$;

create or replace function dateadd(part text, amount integer, value timestamp) returns timestamp
language plpgsql immutable as $$
declare
    p text := mdr_datepart_name(part);
begin
    if p is null then
        raise exception 'Parte de fecha desconocida: %', part using errcode = '22023';
    end if;
    return case p
        when 'year' then value + make_interval(years => amount)
        when 'quarter' then value + make_interval(months => amount * 3)
        when 'month' then value + make_interval(months => amount)
        when 'week' then value + make_interval(weeks => amount)
        when 'hour' then value + make_interval(hours => amount)
        when 'minute' then value + make_interval(mins => amount)
        when 'second' then value + make_interval(secs => amount)
        when 'millisecond' then value + make_interval(secs => amount / 1000.0)
        else value + make_interval(days => amount)
    end;
end
$$;

create or replace function datediff(part text, a timestamp, b timestamp) returns bigint
language plpgsql immutable as $$
declare
    p text := mdr_datepart_name(part);
begin
    if p is null then
        raise exception 'Parte de fecha desconocida: %', part using errcode = '22023';
    end if;
    -- SQL Server counts the boundaries crossed, not whole elapsed units.
    return case p
        when 'year' then extract(year from b)::bigint - extract(year from a)::bigint
        when 'quarter' then (extract(year from b) * 4 + extract(quarter from b))::bigint
                          - (extract(year from a) * 4 + extract(quarter from a))::bigint
        when 'month' then (extract(year from b) * 12 + extract(month from b))::bigint
                        - (extract(year from a) * 12 + extract(month from a))::bigint
        when 'week' then floor((b::date - date '1899-12-31') / 7.0)::bigint
                       - floor((a::date - date '1899-12-31') / 7.0)::bigint
        when 'hour' then (extract(epoch from date_trunc('hour', b) - date_trunc('hour', a)) / 3600)::bigint
        when 'minute' then (extract(epoch from date_trunc('minute', b) - date_trunc('minute', a)) / 60)::bigint
        when 'second' then extract(epoch from date_trunc('second', b) - date_trunc('second', a))::bigint
        when 'millisecond' then (extract(epoch from date_trunc('milliseconds', b)
                                 - date_trunc('milliseconds', a)) * 1000)::bigint
        else (b::date - a::date)::bigint
    end;
end
$$;

create or replace function datepart(part text, value timestamp) returns integer
language plpgsql immutable as $$
declare
    p text := mdr_datepart_name(part);
begin
    if p is null then
        raise exception 'Parte de fecha desconocida: %', part using errcode = '22023';
    end if;
    return case p
        when 'year' then extract(year from value)::int
        when 'quarter' then extract(quarter from value)::int
        when 'month' then extract(month from value)::int
        when 'dayofyear' then extract(doy from value)::int
        when 'day' then extract(day from value)::int
        -- weeks start on Sunday and week 1 holds January 1st
        when 'week' then (floor((value::date - date '1899-12-31') / 7.0)
                         - floor((date_trunc('year', value)::date - date '1899-12-31') / 7.0))::int + 1
        when 'weekday' then extract(dow from value)::int + 1
        when 'hour' then extract(hour from value)::int
        when 'minute' then extract(minute from value)::int
        when 'second' then floor(extract(second from value))::int
        else (floor(extract(milliseconds from value))::int % 1000)
    end;
end
$$;

create or replace function year(value timestamp) returns integer
language sql immutable as $$ select extract(year from value)::int $$;

create or replace function month(value timestamp) returns integer
language sql immutable as $$ select extract(month from value)::int $$;

create or replace function day(value timestamp) returns integer
language sql immutable as $$ select extract(day from value)::int $$;
)SQL"));
}

} // namespace db::migrations
