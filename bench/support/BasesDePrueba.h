#pragma once

// The stores a benchmark measures: a SQLite file in the given folder, and a fresh PostgreSQL
// database when MDR_BENCH_PG names a server. Each is filled by llena, then registra is called
// with the engine's name and the store's connection string.
#include "Connection.h"
#include "ConnectionString.h"

#include <QTemporaryDir>

#include <cstdio>
#include <functional>

inline void preparaBases(const QTemporaryDir &dir, const QString &nombre,
                         const std::function<void(db::Connection &)> &llena,
                         const std::function<void(const QString &motor, const QString &conexion)> &registra)
{
    const QString archivo = dir.filePath(nombre + QStringLiteral(".sqlite"));
    {
        db::Connection c;
        c.open(db::ConnectionString::sqlite(archivo), db::Connection::OpenMode::CreateIfMissing);
        llena(c);
    }
    registra(QStringLiteral("SQLite"), db::ConnectionString::sqlite(archivo).toString());

    const QString pg = qEnvironmentVariable("MDR_BENCH_PG");
    if (pg.isEmpty()) {
        std::printf("PostgreSQL omitido: defina MDR_BENCH_PG para medirlo\n");
        return;
    }
    db::Connection admin;
    admin.open(pg);
    // The name is the benchmark's own constant, never outside input.
    const QString base = QStringLiteral("mdr_bench_") + nombre;
    admin.executeStatement(QStringLiteral("drop database if exists ") + base);
    admin.executeStatement(QStringLiteral("create database ") + base);
    const QString pgStore = admin.target().withDatabase(base).toString();
    db::Connection c;
    c.open(pgStore);
    llena(c);
    registra(QStringLiteral("PostgreSQL"), pgStore);
}
