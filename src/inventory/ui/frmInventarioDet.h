#pragma once

#include "AjustesInventarioModel.h"
#include "ConteosInventarioModel.h"
#include "Existencias.h"
#include "InventarioFisico.h"
#include "InventariosLista.h"
#include "LookupServices.h"

#include <QDialog>
#include <QPointer>

#include <functional>

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTableView;

// A physical inventory: the opening panel (warehouse, year, number, counts, kind and department
// or category), the capture panel of the counts and, once processed, the adjustments. A closed
// inventory shows its adjustments read only. Rules in InventarioFisico.
class frmInventarioDet : public QDialog {
    Q_OBJECT
public:
    // Opens the article editor in add mode with the key typed; true when the article was saved.
    using RegistraArticulo = std::function<bool(const QString &clave)>;
    enum class Panel { Apertura, Captura, Ajustes };

    frmInventarioDet(const LookupServices &services, RegistraArticulo registra = {},
                     QWidget *parent = nullptr);
    ~frmInventarioDet() override;

    // Without a number: the opening panel for a new inventory of the warehouse. With one: that
    // inventory as it stands. Modal; true when inventories may have changed.
    static bool abrir(const LookupServices &services, RegistraArticulo registra, const QString &almacen = {},
                      int anio = 0, int numero = 0, QWidget *parent = nullptr);

    // Shows an existing inventory: capture while counting, the adjustments once processed.
    bool muestra(const QString &almacen, int anio, int numero);
    Panel panel() const;
    InventarioFisico &inventario() { return m_inventario; }
    bool cambiado() const { return m_cambiado; }
    // Loads a counts file into the current count; lines not taken show in a report window.
    void cargaArchivo(const QString &ruta);
    // The report of the last load while it is open.
    QDialog *reporteCarga() const { return m_reporte; }

public Q_SLOTS:
    void cmdIniciar_Click();
    void capturaArticulo();
    void cmdEliminar_Click();
    void cmdCargar_Click();
    void cmdCerrarConteo_Click();
    void cmdReiniciar_Click();
    void cmdProcesar_Click();
    void cmdConcluir_Click();
    void cmdExportar_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *panelApertura();
    QWidget *panelCaptura();
    QWidget *panelAjustes();
    void proponeNumero();
    void muestraTipo();
    // Shows the panel the inventory's state calls for, with its figures.
    void actualiza();
    void enterEnCampo(QLineEdit *campo);
    void limpiaCaptura();
    void enfocaCaptura(const QString &campo);
    void falla(const QString &texto, const QString &donde, const std::exception &e);

    LookupServices m_services;
    RegistraArticulo m_registra;
    Existencias m_existencias;
    InventarioFisico m_inventario;
    InventariosLista m_lista;
    ConteosInventarioModel m_conteos;
    AjustesInventarioModel m_ajustes;
    bool m_cambiado = false;
    int m_conteoActual = 1;
    QPointer<QDialog> m_reporte;

    QStackedWidget *m_paneles = nullptr;
    // Opening
    QComboBox *m_cmbAlmacen = nullptr;
    QLineEdit *m_txtAnio = nullptr;
    QLineEdit *m_txtNumero = nullptr;
    QComboBox *m_cmbConteos = nullptr;
    QComboBox *m_cmbTipo = nullptr;
    QComboBox *m_cmbDepartamento = nullptr;
    QComboBox *m_cmbCategoria = nullptr;
    QFormLayout *m_formApertura = nullptr;
    QPushButton *m_cmdIniciar = nullptr;
    // Capture
    QLabel *m_lblEncabezado = nullptr;
    QLabel *m_lblConteo = nullptr;
    QLabel *m_lblUltimo = nullptr;
    QLineEdit *m_txtArticulo = nullptr;
    QLineEdit *m_txtLote = nullptr;
    QLineEdit *m_txtCantidad = nullptr;
    QTableView *m_grdConteos = nullptr;
    // Adjustments
    QLabel *m_lblAjustes = nullptr;
    QTableView *m_grdAjustes = nullptr;
    QPushButton *m_cmdConcluir = nullptr;
    QPushButton *m_cmdReiniciarAjustes = nullptr;
};
