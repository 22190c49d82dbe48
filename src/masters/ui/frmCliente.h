#pragma once

#include "ClienteEditor.h"
#include "LookupDefinition.h"
#include "LookupServices.h"
#include "frmMaestro.h"


class ConnectionProvider;
class Permisos;
class Prompter;
class cConfigure;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

// The client window: five tabs over ClienteEditor in the modes add 'A', change 'C' and consult
// 'Q'. Every widget is named after its column, so a refusal focuses it directly. The buttons
// beside the client type, zone, route and staff lists open those catalogues (through the
// catalogue opener) when the profile holds their right, and the list is read again afterwards.
class frmCliente : public frmMaestro {
    Q_OBJECT
public:
    frmCliente(ClienteEditor &editor, Prompter &prompter, QChar modo, const QString &clave = {},
               MaintenanceOpener catalogos = {}, QWidget *parent = nullptr);

    // The opener of the client lookups: 'A', 'C' and 'Q' run the window, 'B' deletes after
    // asking. True when clients may have changed.
    static bool abrir(ConnectionProvider &connections, cConfigure &config, Permisos &permisos, Prompter &prompter,
                      QChar comando, const QString &clave, MaintenanceOpener catalogos = {},
                      QWidget *parent = nullptr);

    // What a window that asks for a client shows: the client lookup (active clients only unless
    // todos), searching texto at once when given.
    static LookupResult busca(const LookupServices &services, MaintenanceOpener opener = {},
                              QWidget *parent = nullptr, const QString &texto = {}, bool todos = false);

public Q_SLOTS:
    // Copies the address into the fiscal address.
    void cmdCopiarDomicilio_Click();

private:
    QWidget *pestanaGeneral();
    QWidget *pestanaDomicilio();
    QWidget *pestanaFiscal();
    QWidget *pestanaCredito();
    QWidget *pestanaEntrega();

    QComboBox *combo(const QString &columna);
    // A list with the button that opens its catalogue for adding (guarded by ventana_cmdAlta).
    QWidget *conCatalogo(QWidget *campo, const QString &columna, const QString &ventana, const QString &titulo,
                         QChar comando = u'A');
    void abreCatalogo(const QString &columna, const QString &ventana, QChar comando);
    void muestra() override;
    void soloLectura() override;

    ClienteEditor &m_editor;
    MaintenanceOpener m_catalogos;
};
