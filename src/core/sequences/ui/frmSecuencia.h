#pragma once

#include "SecuenciaCatalogo.h"
#include "SecuenciaEditor.h"

#include <QWidget>

class QSortFilterProxyModel;
class ConnectionProvider;
class Prompter;
class QLineEdit;
class QPushButton;
class QTableView;

// Sequences: the catalogue of tSecuencia above, the maintenance form below in the modes add
// "A", change "C" and query "Q". Choosing a row of the catalogue opens it for change (or query
// in a query window); "Nuevo" starts an addition. The rules are SecuenciaEditor's.
class frmSecuencia : public QWidget {
    Q_OBJECT
public:
    frmSecuencia(ConnectionProvider &connections, Prompter &prompter,
                 const QString &modo = QStringLiteral("A"), const QString &clave = QString(),
                 QWidget *parent = nullptr);

    const QString &modo() const { return m_editor.modo(); }
    SecuenciaEditor::Secuencia datos() const;
    void setDatos(const SecuenciaEditor::Secuencia &s);
    SecuenciaCatalogo &catalogo() { return m_catalogo; }
    // Opened from the catalogue lookup on one row: the lookup is the list, so this window shows
    // only the form.
    void soloFormulario();

public Q_SLOTS:
    void cmdNuevo_Click();
    void cmdAceptar_Click();
    void cmdEliminar_Click();
    // Reads the row of the typed key into the fields (modes "C" and "Q").
    void consulta();

private:
    void enfocaRechazado();
    void setModo(const QString &modo);
    void filaElegida(const QModelIndex &index);
    void limpia();

    SecuenciaEditor m_editor;
    SecuenciaCatalogo m_catalogo;
    bool m_soloConsulta = false;
    QTableView *m_grdCatalogo = nullptr;
    QLineEdit *m_txtClave = nullptr;
    QLineEdit *m_txtMinimo = nullptr;
    QLineEdit *m_txtMaximo = nullptr;
    QLineEdit *m_txtValor = nullptr;
    QLineEdit *m_txtIncremento = nullptr;
    QPushButton *m_cmdNuevo = nullptr;
    QPushButton *m_cmdAceptar = nullptr;
    QPushButton *m_cmdEliminar = nullptr;
    QSortFilterProxyModel *m_orden = nullptr; // the header click order over the model
};
