#pragma once

#include "CambioPrecioEditor.h"

#include <QDialog>

class ConnectionProvider;
class Permisos;
class Prompter;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// The price-change method window: key, name and, for a method of the store's own, the formula
// (the script "ONCHANGEPRICE_" + key) with VBScript colouring and the list of values the formula
// receives, inserted at the cursor by a double click or "Insertar". Rules in CambioPrecioEditor.
class frmCambioPrecio : public QDialog {
    Q_OBJECT
public:
    // modo: "A" add, "C" change, "Q" query; clave: the method shown in "C" and "Q".
    frmCambioPrecio(ConnectionProvider &connections, Permisos &permisos, Prompter &prompter,
                    const QString &modo, const QString &clave = QString(), QWidget *parent = nullptr);
    ~frmCambioPrecio() override;

    // The catalogue's entry: 'A', 'C', 'Q' open the window modally, 'B' deletes after the question.
    // True when rows may have changed.
    static bool abrir(ConnectionProvider &connections, Permisos &permisos, Prompter &prompter, QChar comando,
                      const QString &clave, QWidget *parent = nullptr);

    CambioPrecioEditor &editor() { return m_editor; }
    // False when the row of a "C" or "Q" window could not be read (the user was told why).
    bool valido() const { return m_valido; }
    bool guardado() const { return m_guardado; }
    CambioPrecioEditor::Metodo datos() const;
    void setDatos(const CambioPrecioEditor::Metodo &m);

public Q_SLOTS:
    void cmdAceptar_Click();
    void cmdInsertar_Click();

private:
    void claveCapturada();
    void muestraScript();
    void limpia();
    void enfocaRechazado();

    CambioPrecioEditor m_editor;
    bool m_valido = true;
    bool m_guardado = false;

    QLineEdit *m_txtClave = nullptr;
    QLineEdit *m_txtNombre = nullptr;
    QWidget *m_fraScript = nullptr;
    QLabel *m_lblPredefinido = nullptr;
    QPlainTextEdit *m_txtScript = nullptr;
    QListWidget *m_lstValores = nullptr;
    QPushButton *m_cmdInsertar = nullptr;
    QPushButton *m_cmdAceptar = nullptr;
};
