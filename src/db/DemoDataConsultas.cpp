#include "DemoDataConsultas.h"

#include "Connection.h"

namespace db {

namespace {

struct Columna {
    const char *campo;
    const char *nombre;
    bool valor;       // part of the entry's key
    bool descripcion; // part of the entry's visible text
};

struct Consulta {
    int clave;
    const char *nombre;
    const char *sql;
    QList<Columna> columnas;
};

const QList<Consulta> &consultas()
{
    static const QList<Consulta> list = {
        {1, "Almacenes",
         "select alm_Clave, alm_Nombre from tAlmacen where alm_Activo = 'S' order by alm_Nombre",
         {{"alm_Clave", "Clave", true, false}, {"alm_Nombre", "Almacen", false, true}}},
        {2, "Terminales del almacen",
         "select term_Clave, term_Nombre from tTerminal where alm_Clave = {ALM_CLAVE} order by term_Clave",
         {{"term_Clave", "Terminal", true, false}, {"term_Nombre", "Nombre", false, true}}},
        {3, "Usuarios", "select usu_Clave, usu_Nombre from tUsuario order by usu_Nombre",
         {{"usu_Clave", "Usuario", true, false}, {"usu_Nombre", "Nombre", false, true}}},
        {4, "Usuarios del almacen",
         "select usu_Clave, usu_Nombre, alm_Clave from tUsuario where alm_Clave = {ALM_CLAVE} order by usu_Nombre",
         {{"usu_Clave", "Usuario", true, false}, {"usu_Nombre", "Nombre", false, true},
          {"alm_Clave", "Almacen", false, false}}},
    };
    return list;
}

} // namespace

void populateDemoConsultas(Connection &c)
{
    for (const Consulta &q : consultas()) {
        if (c.scalar(QStringLiteral("select count(*) from tConsulta where con_Clave = ?"), {q.clave}).toInt() > 0)
            continue;
        c.execute(QStringLiteral("insert into tConsulta (con_Clave, con_Nombre, con_SQL, con_Completar) "
                                 "values (?, ?, ?, 'N')"),
                  {q.clave, QString::fromUtf8(q.nombre), QString::fromUtf8(q.sql)});
        int orden = 0;
        for (const Columna &col : q.columnas)
            c.execute(QStringLiteral("insert into tSelect (con_Clave, sel_Orden, sel_Nombre, sel_Campo, sel_Valor, "
                                     "sel_Descripcion) values (?, ?, ?, ?, ?, ?)"),
                      {q.clave, ++orden, QString::fromUtf8(col.nombre), QString::fromUtf8(col.campo),
                       col.valor ? QStringLiteral("S") : QStringLiteral("N"),
                       col.descripcion ? QStringLiteral("S") : QStringLiteral("N")});
    }
}

} // namespace db
