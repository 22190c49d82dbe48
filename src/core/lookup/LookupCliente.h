#pragma once

#include "LookupDefinition.h"

// The client lookup, the same from the catalogue menu and from every window that asks for a
// client: key, name, RFC, telephone, type and state; searched by name, key, RFC or telephone
// (accent-blind, any part). soloActivos leaves out clients whose state is not ACTIVO (a sale
// asks for clients it may sell to; the catalogue shows them all).
class LookupCliente {
public:
    static LookupDefinition definicion(bool soloActivos = false);
};
