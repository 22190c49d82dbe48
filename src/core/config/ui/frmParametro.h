#pragma once

#include "ParametroEditor.h"

#include <QWidget>

class ConnectionProvider;
class Prompter;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Maintenance of tParametro in the modes add "A", change "C" and query "Q"; the rules are
// ParametroEditor's.
class frmParametro : public QWidget {
    Q_OBJECT
public:
    frmParametro(ConnectionProvider &connections, Prompter &prompter, const QString &modo,
                 QWidget *parent = nullptr);

    const QString &modo() const { return m_editor.modo(); }
    ParametroEditor::Parametro datos() const;
    void setDatos(const ParametroEditor::Parametro &p);

public Q_SLOTS:
    void cmdAceptar_Click();
    void cmdEliminar_Click();
    // Reads the row of the typed type and key into the fields (modes "C" and "Q").
    void consulta();

private:
    void enfocaRechazado();
    void limpia();

    ParametroEditor m_editor;
    QComboBox *m_cmbTipo = nullptr;
    QLineEdit *m_txtClave = nullptr;
    QLineEdit *m_txtNombre = nullptr;
    QPlainTextEdit *m_txtValor = nullptr;
    QPushButton *m_cmdAceptar = nullptr;
    QPushButton *m_cmdEliminar = nullptr;
};
