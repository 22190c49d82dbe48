#pragma once

// The articles of the stock tests, one per rule:
//   LIB  'LIBRE'        EXI 'EXISTENCIA'     LOT 'LOTE'      SER 'SERIE'     VAC empty control kind
//   CAJA box of 10 PZA (breaks into them)     PZA 'EXISTENCIA' piece, 10 make a CAJA
//   KIT  assembly of 2 LIB and 1 EXI (own kind 'LIBRE')
#include "Connection.h"

inline void creaArticulosExistencia(db::Connection &c)
{
    const auto art = [&](const char *clave, const char *control, const char *costo) {
        c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, cinv_Clave, art_Costo) "
                                 "values (?, ?, ?, ?)"),
                  {QString::fromLatin1(clave), QStringLiteral("Articulo ") + QLatin1String(clave),
                   QString::fromLatin1(control), QString::fromLatin1(costo)});
    };
    art("LIB", "LIBRE", "10");
    art("EXI", "EXISTENCIA", "4.5");
    art("LOT", "LOTE", "7");
    art("SER", "SERIE", "1500");
    art("VAC", "", "1");
    art("CAJA", "EXISTENCIA", "90");
    art("PZA", "EXISTENCIA", "9.5");
    art("KIT", "LIBRE", "30");
    c.execute(QStringLiteral("update tArticulo set art_Separar = 'S', art_SepArt = 'PZA', art_SepNum = 10 "
                             "where art_Clave = 'CAJA'"));
    c.execute(QStringLiteral("update tArticulo set art_Acumular = 'S', art_AcumArt = 'CAJA', art_AcumNum = "
                             "10 where art_Clave = 'PZA'"));
    c.execute(QStringLiteral("update tArticulo set art_Ensamble = 'SI' where art_Clave = 'KIT'"));
    c.execute(QStringLiteral("insert into tArticuloEnsamble (art_Clave, esa_Clave, esa_Cantidad) values "
                             "('KIT', 'LIB', 2), ('KIT', 'EXI', 1)"));
}
