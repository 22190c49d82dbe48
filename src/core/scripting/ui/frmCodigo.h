#pragma once

#include "CodigoEditor.h"
#include "ScriptObjects.h"

#include <QDialog>

#include <memory>

class Permisos;
class Prompter;
class cCode;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The script editor: key, name, active flag and the text of a tCodigo row, with VBScript
// highlighting, the help tree of the objects scripts receive, import and export of the text,
// and in the run mode "R" a run of the text with everything a stored script gets. Errors show in
// txtError with their line, and the cursor goes to that line. Rules in CodigoEditor.
class frmCodigo : public QDialog {
    Q_OBJECT
public:
    // services: what the scripts run here receive (the program's standard objects).
    // modo: "A" add, "C" change, "Q" query, "R" run; clave: the row to show (not in "A").
    frmCodigo(const ScriptServices &services, Prompter &prompter, Permisos &permisos, const QString &modo,
              const QString &clave = QString(), QWidget *parent = nullptr);
    ~frmCodigo() override;

    // The maintenance entry of the catalogue of scripts: 'A', 'C', 'Q' (and 'R') open the window
    // modally, 'B' deletes clave after the question. Refuses with a message when the profile lacks
    // the command's right. True when rows may have changed.
    static bool abrir(const ScriptServices &services, Prompter &prompter, Permisos &permisos, QChar command,
                      const QString &clave, QWidget *parent = nullptr);
    // Opens the failing script clave in change mode with the error in txtError and the cursor on
    // its line (0: unknown), for a user holding frmCodigo_cmdCambio; does nothing otherwise.
    static void corregir(const ScriptServices &services, Prompter &prompter, Permisos &permisos,
                         const QString &clave, const QString &error, int line, QWidget *parent = nullptr);

    CodigoEditor &editor() { return m_editor; }
    CodigoEditor::Codigo datos() const;
    void setDatos(const CodigoEditor::Codigo &c);
    // Shows an error text and moves the cursor to line (1-based; 0 leaves it).
    void mostrarError(const QString &text, int line);
    // True once a row was added, changed or deleted here.
    bool modificado() const { return m_modificado; }

public Q_SLOTS:
    void cmdAceptar_Click();
    void cmdEliminar_Click();
    void cmdEjecutar_Click();
    void cmdImportar_Click();
    void cmdExportar_Click();
    void cmdHistorial_Click();
    void consulta();

private:
    void enfocaRechazado();
    void setModo(const QString &modo);
    void limpia();
    QString texto() const;
    void setTexto(const QString &text);
    void cargaAyuda();
    void insertaAyuda(QTreeWidgetItem *item);

    ScriptServices m_services;
    Prompter &m_prompter;
    CodigoEditor m_editor;
    std::unique_ptr<cCode> m_runner; // the editor's own host: its failures stay in this window
    bool m_modificado = false;
    bool m_crlf = false; // line ends of the script as it was loaded

    QLineEdit *m_txtClave = nullptr;
    QLineEdit *m_txtNombre = nullptr;
    QComboBox *m_cmbActivo = nullptr;
    QPlainTextEdit *m_txtCodigo = nullptr;
    QPlainTextEdit *m_txtError = nullptr;
    QTreeWidget *m_tvwAyuda = nullptr;
    QLabel *m_lblEstado = nullptr;
    QPushButton *m_cmdAceptar = nullptr;
    QPushButton *m_cmdEliminar = nullptr;
    QPushButton *m_cmdEjecutar = nullptr;
    QPushButton *m_cmdImportar = nullptr;
    QPushButton *m_cmdExportar = nullptr;
    QPushButton *m_cmdHistorial = nullptr;
};
