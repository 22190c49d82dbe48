#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// The tables of the program's core. Portable DDL: unquoted names (PostgreSQL folds them),
// numeric(18,6) for amounts, numeric(18,0) for the numeric keys the program counts with max()+1.
void baseline(Connection &connection)
{
    Schema::executeDdl(connection, QStringLiteral(R"(
create table if not exists tUpgrade (
    upg_Key varchar(50) not null primary key,
    upg_Fecha timestamp
);

create table if not exists tConfiguracion (
    config_computer varchar(100) not null,
    config_Clave varchar(100) not null,
    tconfig_Clave integer,
    config_TipoDato integer,
    config_Salvar char(1),
    config_ValorStr varchar(4000),
    config_ValorLng integer,
    config_ValorBool char(1),
    config_ValorDouble double precision,
    config_ValorDate timestamp,
    primary key (config_computer, config_Clave)
);

create table if not exists tParametro (
    param_Tipo varchar(20) not null,
    param_Clave varchar(20) not null,
    param_Nombre varchar(100),
    param_Valor varchar(255),
    primary key (param_Tipo, param_Clave)
);

create table if not exists tAlmacen (
    alm_Clave varchar(20) not null primary key,
    alm_Nombre varchar(100) not null,
    alm_Direccion varchar(200),
    alm_Telefono varchar(50),
    alm_Activo char(1) default 'S'
);

create table if not exists tTerminal (
    term_Clave varchar(20) not null primary key,
    term_Nombre varchar(100) not null,
    alm_Clave varchar(20) references tAlmacen (alm_Clave)
);

create table if not exists tSucursal (
    suc_Clave varchar(20) not null primary key,
    suc_Nombre varchar(100),
    suc_Matriz char(1) default 'N',
    alm_Clave varchar(20),
    suc_DSN varchar(500),
    suc_User varchar(100),
    suc_Psw varchar(100),
    usu_Clave varchar(20),
    usu_Psw varchar(100)
);

create table if not exists tObjeto (
    obj_Clave numeric(18,0) not null primary key,
    obj_Extension varchar(20),
    obj_Contenido blob
);

create table if not exists tHuellaDigital (
    hdigital_Clave numeric(18,0) not null primary key,
    hdigital_Extension varchar(20),
    hdigital_Templeate blob
);
)"));
    if (connection.engine() == Engine::PostgreSQL)
        contractFunctions(connection);
}

} // namespace db::migrations
