#pragma once

#include "LookupDefinition.h"
#include "LookupServices.h"
#include "frmMaestro.h"
#include "ProveedorEditor.h"


class ConnectionProvider;
class Prompter;
class QComboBox;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTabWidget;
class QTableView;

// The supplier window: six tabs over ProveedorEditor in the modes add 'A', change 'C' and
// consult 'Q'. Every field widget is named after its column, so a refusal focuses it directly.
// The departments are a list of checkable rows ("tblDepartamentos"); the exchange grid
// ("tblIntercambio") shows every kind with a list of its layouts, "<NINGUNO>" for none.
class frmProveedor : public frmMaestro {
    Q_OBJECT
public:
    frmProveedor(ProveedorEditor &editor, Prompter &prompter, QChar modo, const QString &clave = {},
                 QWidget *parent = nullptr);

    // The opener of the supplier lookups: 'A', 'C' and 'Q' run the window, 'B' deletes after
    // asking. True when suppliers may have changed.
    static bool abrir(ConnectionProvider &connections, Prompter &prompter, QChar comando, const QString &clave,
                      QWidget *parent = nullptr);

    // What a window that asks for a supplier shows: the supplier lookup (only those that exchange
    // electronically when soloEdi), searching texto at once when given.
    static LookupResult busca(const LookupServices &services, MaintenanceOpener opener = {},
                              QWidget *parent = nullptr, const QString &texto = {}, bool soloEdi = false);

private:
    QWidget *pestanaGenerales();
    QWidget *pestanaCondiciones();
    QWidget *pestanaRecepcion();
    QWidget *pestanaIntercambio();
    QWidget *pestanaResurtido();
    QWidget *pestanaDepartamentos();

    QComboBox *combo(const QString &columna);
    QWidget *bandera(const QString &columna, const QString &titulo);
    void muestra() override;
    void muestraListas();
    void marcaTodos(bool servido);
    void soloLectura() override;

    ProveedorEditor &m_editor;
    QTableView *m_departamentos = nullptr;
    QStandardItemModel *m_modeloDepartamentos = nullptr;
    QTableView *m_intercambio = nullptr;
    QStandardItemModel *m_modeloIntercambio = nullptr;
};
