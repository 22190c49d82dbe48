#pragma once

// Stored report designs written row by row, as the designer leaves them.
#include "Connection.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

namespace reportes {

using Propiedades = QList<QPair<QString, QString>>;

inline QVariant nulo()
{
    return QVariant(QMetaType(QMetaType::QString));
}

inline void reporte(db::Connection &c, const QString &clave, const QString &nombre,
                    const QString &sql = QStringLiteral("select 1 as Uno"), const QString &codigo = QString(),
                    int orden = 0, const QString &version = QString(),
                    const QString &tipo = QStringLiteral("GENERAL"))
{
    c.execute(
        QStringLiteral("insert into tReporte (ver_Clave, rep_Clave, rep_Nombre, rep_Descripcion, trep_Clave, "
                       "codigo_Clave, rep_Orden, rep_SQL) values (?, ?, ?, ?, ?, ?, ?, ?)"),
        {version.isEmpty() ? QStringLiteral("") : version, clave, nombre,
         QStringLiteral("Descripcion de ") + nombre, tipo, codigo.isEmpty() ? nulo() : QVariant(codigo),
         orden, sql});
}

inline void programa(db::Connection &c, const QString &codigo, const QString &texto,
                     const QString &activo = QStringLiteral("S"))
{
    c.execute(
        QStringLiteral("insert into tCodigo (codigo_Clave, codigo_Nombre, codigo_Text, codigo_Activo) values "
                       "(?, ?, ?, ?)"),
        {codigo, codigo, texto, activo});
}

inline void objeto(db::Connection &c, const QString &rep, int clave, const QString &nombre,
                   const QString &seccion, const QString &clase, const Propiedades &propiedades = {},
                   const QString &tipo = QString())
{
    c.execute(QStringLiteral(
                  "insert into tReporteObjeto (rep_Clave, robj_Clave, robj_Nombre, robj_Seccion, robj_Tipo, "
                  "robj_Clase) values (?, ?, ?, ?, ?, ?)"),
              {rep, clave, nombre, seccion, tipo, clase});
    for (const auto &p : propiedades)
        c.execute(QStringLiteral(
                      "insert into tReporteObjetoPropiedad (rep_Clave, robj_Clave, rop_Nombre, rop_Valor) "
                      "values (?, ?, ?, ?)"),
                  {rep, clave, p.first, p.second});
}

inline void parametro(db::Connection &c, const QString &rep, int clave, const QString &nombre,
                      const QString &descripcion, const QString &entrada, const QString &dato,
                      int consulta = 0, bool requerido = false, const QString &valor = QString(),
                      int claveChg = 0)
{
    c.execute(QStringLiteral(
                  "insert into TREPORTEPARAM (rep_Clave, rparam_Clave, rparam_Nombre, rparam_Descripcion, "
                  "tparam_Clave, tdat_Clave, con_clave, rparam_ClaveChg, rparam_Requerido, rparam_Valor) "
                  "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
              {rep, clave, nombre, descripcion, entrada, dato,
               consulta ? QVariant(consulta) : QVariant(QMetaType(QMetaType::Int)),
               claveChg ? QVariant(claveChg) : QVariant(QMetaType(QMetaType::Int)),
               requerido ? QStringLiteral("S") : QStringLiteral("N"), valor});
}

// A stored query for list parameters: its key column and its text column.
inline void consulta(db::Connection &c, int clave, const QString &sql, const QString &campoClave,
                     const QString &campoTexto)
{
    c.execute(QStringLiteral(
                  "insert into tConsulta (con_Clave, con_Nombre, con_SQL, con_Completar) values (?, ?, ?, "
                  "'N')"),
              {clave, QStringLiteral("Consulta %1").arg(clave), sql});
    c.execute(
        QStringLiteral("insert into tSelect (con_Clave, sel_Orden, sel_Nombre, sel_Campo, sel_Valor, "
                       "sel_Descripcion) values (?, 1, 'Clave', ?, 'S', 'N'), (?, 2, 'Nombre', ?, 'N', 'S')"),
        {clave, campoClave, clave, campoTexto});
}

// The right to run a report (and its menu entry) for a profile.
inline void derecho(db::Connection &c, const QString &perfil, const QString &rep)
{
    c.execute(QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) values (?, ?)"),
              {perfil, QStringLiteral("R") + rep});
}

} // namespace reportes
