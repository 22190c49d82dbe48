#pragma once

#include "LookupDefinition.h"
#include "LookupServices.h"
#include "ProveedorEditor.h"

#include <QDialog>
#include <QHash>

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
class frmProveedor : public QDialog {
    Q_OBJECT
public:
    frmProveedor(ProveedorEditor &editor, Prompter &prompter, QChar modo, const QString &clave = {},
                 QWidget *parent = nullptr);
    ~frmProveedor() override;

    // The opener of the supplier lookups: 'A', 'C' and 'Q' run the window, 'B' deletes after
    // asking. True when suppliers may have changed.
    static bool abrir(ConnectionProvider &connections, Prompter &prompter, QChar comando, const QString &clave,
                      QWidget *parent = nullptr);

    // What a window that asks for a supplier shows: the supplier lookup (only those that exchange
    // electronically when soloEdi), searching texto at once when given.
    static LookupResult busca(const LookupServices &services, MaintenanceOpener opener = {},
                              QWidget *parent = nullptr, const QString &texto = {}, bool soloEdi = false);

    bool valido() const { return m_valido; }
    bool guardado() const { return m_guardado; }
    QTabWidget *pestanas() const { return m_tabs; }

public Q_SLOTS:
    void cmdGuardar_Click();

private:
    QWidget *pestanaGenerales();
    QWidget *pestanaCondiciones();
    QWidget *pestanaRecepcion();
    QWidget *pestanaIntercambio();
    QWidget *pestanaResurtido();
    QWidget *pestanaDepartamentos();

    QLineEdit *texto(const QString &columna, int longitud = 0);
    QComboBox *combo(const QString &columna);
    QWidget *bandera(const QString &columna, const QString &titulo);
    void llenaCombo(const QString &columna);
    void muestra();
    void muestraListas();
    void marcaTodos(bool servido);
    void soloLectura();

    ProveedorEditor &m_editor;
    Prompter &m_prompter;
    QChar m_modo;
    QTabWidget *m_tabs = nullptr;
    QHash<QString, QWidget *> m_campos; // column → widget
    QTableView *m_departamentos = nullptr;
    QStandardItemModel *m_modeloDepartamentos = nullptr;
    QTableView *m_intercambio = nullptr;
    QStandardItemModel *m_modeloIntercambio = nullptr;
    QPushButton *m_cmdGuardar = nullptr;
    bool m_mostrando = false;
    bool m_valido = true;
    bool m_guardado = false;
};
