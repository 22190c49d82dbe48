#pragma once

#include <QString>

// The texts every maintenance window shares, written once so they cannot drift apart.
namespace MensajesMantenimiento {

inline QString actualizado() { return QStringLiteral("El registro fue actualizado con exito"); }
inline QString eliminado() { return QStringLiteral("El registro fue eliminado con exito"); }
inline QString claveNoExiste() { return QStringLiteral("La clave no existe"); }
inline QString enUso() { return QStringLiteral("La clave esta en uso, no es posible eliminar este registro"); }
// A guarded command refused by the user's profile.
inline QString sinAcceso() { return QStringLiteral("Su perfil no tiene acceso a esta operacion"); }

} // namespace MensajesMantenimiento
