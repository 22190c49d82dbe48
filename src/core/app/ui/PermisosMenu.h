#pragma once

#include <QString>

#include <functional>

class Permisos;
class mdiMain;

// Applies the profile's rights to the main window's menu. Permisos decides per entry; these
// only show and hide actions.
namespace PermisosMenu {

// The property a menu action may carry to follow another module's right.
constexpr const char *kTagProperty = "tag";

// Every menu entry is visible exactly when its module (tag, or else name) is a right of the
// profile; entries kept only for the rights tree stay hidden.
void applyMenuPermissions(mdiMain &window, const Permisos &permisos);

// Replaces the reports menu's entries with the profile's reports; choosing one runs the report
// of that key.
void buildReportsMenu(mdiMain &window, const Permisos &permisos, std::function<void(const QString &)> runReport);

} // namespace PermisosMenu
