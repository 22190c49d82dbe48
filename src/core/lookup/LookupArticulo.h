#pragma once

#include "LookupDefinition.h"

class ConnectionProvider;
class cConfigure;

// The article lookup (frmConsultaArt): columns from BUSQUEDA-COLUMNA1..BUSQUEDA-COLUMNAS, each
// "field|caption|width" (a comma also separates), the initial search field and order from
// BUSQUEDA-COLUMNA-INICIAL; suspended articles left out with BUSQUEDA-SUSPENDIDOS, and with
// BUSQUEDA-SOLO-EXISTENCIA only articles with stock in the session's warehouse (once the
// stock table tArticuloAlmacen exists; before that the setting has nothing to filter on).
class LookupArticulo {
public:
    struct Definicion {
        LookupDefinition definition;
        int campoInicial = 0; // search field chosen when the window opens
    };

    static Definicion definicion(const cConfigure &config, ConnectionProvider &connections);
    // One column definition; false for an empty or unusable one.
    static bool columna(const QString &text, QString &field, LookupColumn &column);
};
