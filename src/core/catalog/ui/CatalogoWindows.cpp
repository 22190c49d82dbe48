#include "CatalogoWindows.h"

#include "LookupArticulo.h"
#include "LookupCliente.h"
#include "LookupProveedor.h"

#include "CatalogoEditor.h"
#include "Catalogos.h"
#include "LookupServices.h"
#include "MenuTree.h"
#include "ParametroEditor.h"
#include "PerfilEditor.h"
#include "SecuenciaEditor.h"
#include "UsuarioEditor.h"
#include "frmCatalogo.h"
#include "frmCatalogoDet.h"
#include "frmParametro.h"
#include "frmPerfil.h"
#include "frmSecuencia.h"
#include "frmUsuario.h"
#include "mdiMain.h"

#include <QDialog>
#include <QEvent>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString modoDe(QChar comando)
{
    return comando == u'Q'   ? QStringLiteral("Q")
           : comando == u'A' ? QStringLiteral("A")
                             : QStringLiteral("C");
}

// Ends the dialog when the window it holds closes itself (its Cancelar, or after saving).
class CierraConVentana : public QObject {
public:
    explicit CierraConVentana(QDialog &dialog) : QObject(&dialog), m_dialog(dialog) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Close)
            m_dialog.accept();
        return false;
    }

private:
    QDialog &m_dialog;
};

// Runs a window that is a plain widget as a modal dialog. The dialog owns the window and deletes it
// once, however the dialog ends (Escape, the window's own close): the window is never deleted on
// close, nor does its deletion reach back into a dialog being destroyed.
void ejecuta(QWidget *window, QWidget *parent)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(window->windowTitle());
    auto *layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    layout->addWidget(window);
    window->installEventFilter(new CierraConVentana(dialog));
    // Enter accepts, as in every form: the window's own accept command is the default button.
    for (const char *name : {"cmdAceptar", "cmdGuardar"})
        if (auto *b = window->findChild<QPushButton *>(QLatin1String(name)); b && !b->isHidden()) {
            b->setDefault(true);
            break;
        }
    dialog.resize(window->sizeHint().expandedTo(QSize(480, 320)));
    dialog.exec();
}

} // namespace

CatalogoWindows::CatalogoWindows(ConnectionProvider &connections, cConfigure &config, Permisos &permisos,
                                 Prompter &prompter)
    : m_connections(connections), m_config(config), m_permisos(permisos), m_prompter(prompter)
{
}

void CatalogoWindows::reaplica()
{
    if (m_reapply)
        m_reapply();
}

MaintenanceOpener CatalogoWindows::opener(QWidget *parent)
{
    QPointer<QWidget> p(parent);
    return [this, p](const QString &ventana, QChar comando, const QString &clave) {
        return abrir(ventana, comando, clave, p);
    };
}

frmCatalogo *CatalogoWindows::catalogo(const MenuEntry &entry, QWidget *parent)
{
    const CatalogoDef *def = Catalogos::paraMenu(entry);
    if (!def)
        return nullptr;
    LookupDefinition lookup = def->lookup(
        entry.catalogue.title, entry.catalogue.filterColumn,
        entry.catalogue.filterColumn.isEmpty() ? QVariant() : QVariant(entry.catalogue.filterValue));
    if (def->tabla.compare(QLatin1String("tArticulo"), Qt::CaseInsensitive) == 0) {
        // Articles are searched as everywhere else: the configured columns, suspended ones
        // left out, the name through its trigram index.
        lookup = LookupArticulo::definicion(m_config, m_connections).definition;
        lookup.title = entry.catalogue.title;
    } else if (def->tabla.compare(QLatin1String("tCliente"), Qt::CaseInsensitive) == 0) {
        // Clients are found as every window that asks for one finds them (name, key, RFC, phone).
        lookup = LookupCliente::definicion();
        lookup.title = entry.catalogue.title;
    } else if (def->tabla.compare(QLatin1String("tProveedor"), Qt::CaseInsensitive) == 0) {
        // Suppliers likewise (name, key, short name, RFC).
        lookup = LookupProveedor::definicion();
        lookup.title = entry.catalogue.title;
    }
    auto *w =
        new frmCatalogo(LookupServices{m_connections, m_config, m_prompter}, lookup, opener(parent), parent);
    w->setObjectName(QStringLiteral("frmCatalogo_") + def->tabla);
    w->setWindowTitle(entry.catalogue.title);
    if (def->tabla.compare(QLatin1String("tArticulo"), Qt::CaseInsensitive) == 0)
        w->resize(1000, 560); // room for the configured price columns
    return w;
}

bool CatalogoWindows::disponible(const CatalogoDef &def) const
{
    static const QStringList nuestras = {QStringLiteral("frmParametro"), QStringLiteral("frmSecuencia"),
                                         QStringLiteral("frmPerfil"), QStringLiteral("frmUsuario")};
    return !Catalogos::tieneVentanaPropia(def) || nuestras.contains(def.ventana) ||
           m_propias.contains(def.ventana);
}

QStringList CatalogoWindows::conecta(mdiMain &main)
{
    QStringList wired;
    QPointer<mdiMain> frame(&main);
    for (const MenuEntry &e : MenuTree::entries()) {
        if (e.opens != QLatin1String(MenuTree::kCatalogueWindow))
            continue;
        const CatalogoDef *def = Catalogos::paraMenu(e);
        if (!def || !disponible(*def)) {
            main.setCommand(e.name, {});
            continue;
        }
        const MenuEntry *entry = &e; // the tree is static
        main.setCommand(e.name, [this, frame, entry] {
            if (!frame)
                return;
            frmCatalogo *w = catalogo(*entry, frame);
            if (!w)
                return;
            QMdiSubWindow *sub = frame->addWindow(w, QSize(720, 480));
            if (entry->catalogue.reapplyPermissions)
                QObject::connect(sub, &QObject::destroyed, frame, [this] { reaplica(); });
        });
        wired << e.name;
    }
    return wired;
}

bool CatalogoWindows::abrir(const QString &ventana, QChar comando, const QString &clave, QWidget *parent)
{
    const CatalogoDef *def = Catalogos::porVentana(ventana);
    if (!def)
        return false;
    if (const auto propia = m_propias.constFind(ventana); propia != m_propias.cend())
        return (*propia)(ventana, comando, clave);
    const QStringList partes = comando == u'A' ? QStringList() : def->decodificaClave(clave);
    if (Catalogos::tieneVentanaPropia(*def))
        return abrirPropia(ventana, comando, partes, parent);

    CatalogoEditor editor(*def, m_connections, m_permisos, m_prompter, modoDe(comando));
    if (comando == u'B')
        return editor.eliminarRegistro(partes);
    frmCatalogoDet window(editor, partes, parent);
    if (!window.valido())
        return false;
    window.exec();
    return window.guardado();
}

bool CatalogoWindows::abrirPropia(const QString &ventana, QChar comando, const QStringList &clave,
                                  QWidget *parent)
{
    const QString modo = modoDe(comando);
    const QString primera = clave.value(0);
    if (ventana == QLatin1String("frmParametro")) {
        if (comando == u'B')
            return ParametroEditor(m_connections, m_prompter).eliminarRegistro(primera, clave.value(1));
        auto *w = new frmParametro(m_connections, m_prompter, modo);
        if (comando != u'A') {
            w->setDatos({primera, clave.value(1), QString(), QString()});
            w->consulta();
        }
        ejecuta(w, parent);
        return comando != u'Q';
    }
    if (ventana == QLatin1String("frmSecuencia")) {
        if (comando == u'B')
            return SecuenciaEditor(m_connections, m_prompter).eliminarRegistro(primera);
        auto *w = new frmSecuencia(m_connections, m_prompter, modo, primera);
        w->soloFormulario();
        ejecuta(w, parent);
        return comando != u'Q';
    }
    if (ventana == QLatin1String("frmPerfil")) {
        PerfilEditor editor(m_connections, m_prompter, modo);
        bool changed = comando != u'Q';
        if (comando == u'B')
            changed = editor.eliminarRegistro(primera);
        else
            ejecuta(new frmPerfil(editor, primera), parent);
        // A profile's rights decide what this very menu shows.
        if (changed)
            reaplica();
        return changed;
    }
    if (ventana == QLatin1String("frmUsuario")) {
        UsuarioEditor editor(m_connections, m_config, m_permisos, m_prompter, modo);
        if (comando == u'B')
            return editor.eliminarRegistro(primera);
        frmUsuario window(editor, primera, parent);
        return window.exec() == QDialog::Accepted;
    }
    return false;
}
