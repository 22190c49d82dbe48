#include "PermisosMenu.h"

#include "MenuTree.h"
#include "Permisos.h"
#include "mdiMain.h"

#include <QAction>
#include <QMenu>

namespace {
constexpr const char *kReportProperty = "mdrReportEntry";
}

namespace PermisosMenu {

void applyMenuPermissions(mdiMain &window, const Permisos &permisos)
{
    const QList<QAction *> actions = window.menuActions();
    QList<Permisos::MenuItem> items;
    for (QAction *a : actions)
        items.append({a->objectName(), a->property(kTagProperty).toString()});
    const QHash<QString, bool> visible = permisos.applyMenuPermissions(items);
    for (QAction *a : actions) {
        const MenuEntry *entry = MenuTree::find(a->objectName());
        if (entry && entry->kind == MenuEntry::Kind::Placeholder)
            continue;
        a->setVisible(visible.value(a->objectName(), false));
    }
}

void buildReportsMenu(mdiMain &window, const Permisos &permisos, std::function<void(const QString &)> runReport)
{
    QMenu *menu = window.reportsMenu();
    if (!menu)
        return;
    const QList<QAction *> old = menu->actions();
    for (QAction *a : old)
        if (a->property(kReportProperty).toBool()) {
            menu->removeAction(a);
            a->deleteLater();
        }
    for (const Permisos::ReportEntry &e : permisos.buildReportsMenu()) {
        QAction *a = nullptr;
        if (e.kind == Permisos::ReportEntry::Separator) {
            a = menu->addSeparator();
        } else {
            a = menu->addAction(e.caption);
            a->setObjectName(e.key);
            if (e.kind == Permisos::ReportEntry::Report && runReport) {
                const QString key = e.key;
                QObject::connect(a, &QAction::triggered, a, [runReport, key] { runReport(key); });
            } else {
                a->setEnabled(false); // a heading, or reports before the report runner exists
            }
        }
        a->setProperty(kReportProperty, true);
    }
}

} // namespace PermisosMenu
