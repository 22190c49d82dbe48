#pragma once

#include "ConnectionEditor.h"

#include <QDialog>

class ConnectionCatalog;
class Prompter;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;

// The connection dialog: named connections of this workstation, the engine and its fields.
// Its rules are in ConnectionEditor; it only binds widgets.
class frmODBCLogon : public QDialog {
    Q_OBJECT
public:
    frmODBCLogon(ConnectionCatalog &catalog, Prompter &prompter, QWidget *parent = nullptr);

    // The accepted connection string (valid after exec() returned Accepted).
    QString connectionString() const { return m_accepted; }

    ConnectionFields fields() const;
    void setFields(const ConnectionFields &f);

    void cmdSalvar();
    void cmdOK();
    void cmdCancel();
    void cmdBase();
    void cmdLimpiar();
    void selectEntry(int index); // 1-based; 0 clears the selection

private:
    void reloadList();
    void engineChanged();
    void browseFile();

    ConnectionCatalog &m_catalog;
    Prompter &m_prompter;
    ConnectionEditor m_editor;
    QString m_accepted;

    QListWidget *lstConexion;
    QLineEdit *txtNombre;
    QComboBox *cmbMotor;
    QStackedWidget *m_pages;
    QLineEdit *txtArchivo;
    QComboBox *cmbServer;
    QLineEdit *txtPuerto;
    QLineEdit *txtUsuario;
    QLineEdit *txtPassword;
    QComboBox *cmbBase;
    QLineEdit *txtOpciones;
    QCheckBox *chkMostrar;
};
