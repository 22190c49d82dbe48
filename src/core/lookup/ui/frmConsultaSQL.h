#pragma once

#include "ConsultaSQLEditor.h"
#include "LookupServices.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

// Stored-query maintenance: key, name, SQL template and its columns, in the modes add "A",
// change "C" and query "Q". The rules are ConsultaSQLEditor's.
class frmConsultaSQL : public QDialog {
    Q_OBJECT
public:
    frmConsultaSQL(const LookupServices &services, const QString &modo, const QString &clave = QString(),
                   QWidget *parent = nullptr);

    // The maintenance window of a lookup: command 'A' add, 'C' change, 'Q' consult, 'B' delete.
    // True when the stored queries may have changed.
    static bool abrir(const LookupServices &services, QChar command, const QString &clave, QWidget *parent = nullptr);
    // A MaintenanceOpener that opens this window.
    static MaintenanceOpener opener(const LookupServices &services, QWidget *parent = nullptr);

    ConsultaSQLEditor &editor() { return m_editor; }
    ConsultaSQLColumnas &columnas() { return m_columnas; }
    ConsultaSQLEditor::Datos datos() const;
    void setDatos(const ConsultaSQLEditor::Datos &d);
    bool cambios() const { return m_cambios; }

public Q_SLOTS:
    void cmdAceptar_Click();
    void cmdEliminar_Click();

private:
    void limpia();

    ConsultaSQLEditor m_editor;
    ConsultaSQLColumnas m_columnas;
    bool m_cambios = false;
    QLineEdit *m_txtClave = nullptr;
    QLineEdit *m_txtNombre = nullptr;
    QPlainTextEdit *m_txtSQL = nullptr;
    QTableView *m_grdColumnas = nullptr;
    QPushButton *m_cmdAgregarColumna = nullptr;
    QPushButton *m_cmdQuitarColumna = nullptr;
    QPushButton *m_cmdAceptar = nullptr;
    QPushButton *m_cmdEliminar = nullptr;
};
