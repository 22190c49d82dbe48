#pragma once

#include "LookupDefinition.h"

// The supplier lookup, the same from the catalogue menu and from every window that asks for a
// supplier: key, name, short name, RFC and telephone; searched by name, key, short name or RFC
// (accent-blind, any part). soloEdi keeps the suppliers that exchange lists and orders
// electronically (prov_EDI 'S').
class LookupProveedor {
public:
    static LookupDefinition definicion(bool soloEdi = false);
};
