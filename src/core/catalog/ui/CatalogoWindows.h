#pragma once

#include "LookupDefinition.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

class ConnectionProvider;
class Permisos;
class Prompter;
class cConfigure;
struct CatalogoDef;
class mdiMain;
class frmCatalogo;
struct MenuEntry;
class QWidget;

// Which window each catalogue entry of the main menu opens: the lookup (frmCatalogo) over the
// entry's table, whose Add/Change/Delete/Consult commands open the generic maintenance window
// (frmCatalogoDet) or the table's own window (frmParametro, frmSecuencia, frmPerfil, frmUsuario).
class CatalogoWindows {
public:
    CatalogoWindows(ConnectionProvider &connections, cConfigure &config, Permisos &permisos, Prompter &prompter);

    // Called after profiles change, or a window that may change them closes.
    void setReapplyPermissions(std::function<void()> reapply) { m_reapply = std::move(reapply); }

    // A window of its own that lives outside the core's windows (frmCodigo, frmConsultaSQL):
    // its catalogue entry is wired once it is registered.
    void registraVentana(const QString &ventana, MaintenanceOpener abrir) { m_propias.insert(ventana, std::move(abrir)); }
    // Whether the maintenance window of a description can be opened.
    bool disponible(const CatalogoDef &def) const;

    // Wires every catalogue entry that has a description and an available window; the others
    // are left disabled.
    // Returns the names of the entries wired.
    QStringList conecta(mdiMain &main);

    // The lookup of a menu entry, not yet shown.
    frmCatalogo *catalogo(const MenuEntry &entry, QWidget *parent = nullptr);

    // The MaintenanceOpener the lookups use: command 'A', 'C', 'B' or 'Q' on the row of key (the
    // lookup's key text). Runs the window to its end; true when rows may have changed.
    bool abrir(const QString &ventana, QChar comando, const QString &clave, QWidget *parent = nullptr);
    MaintenanceOpener opener(QWidget *parent = nullptr);

private:
    bool abrirPropia(const QString &ventana, QChar comando, const QStringList &clave, QWidget *parent);
    void reaplica();

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Permisos &m_permisos;
    Prompter &m_prompter;
    std::function<void()> m_reapply;
    QHash<QString, MaintenanceOpener> m_propias;
};
