#pragma once

#include "LoginController.h"

#include <QDialog>

class FingerprintSimulated;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

// The login window: binds the fields of the session mode to LoginController.
class frmLogin : public QDialog {
    Q_OBJECT
public:
    // simulated: the simulated reader, for its "touch" button; nullptr without one.
    frmLogin(LoginController &controller, FingerprintSimulated *simulated = nullptr, QWidget *parent = nullptr);

    // The change of user keeps the workstation's terminal.
    void setTerminalListEnabled(bool enabled);
    bool loginOk() const { return m_controller.loginOk(); }

    void cmdOK();
    void cmdCancel();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    void showMode(LoginController::Mode mode);
    void fillTerminals();
    void focusField(LoginController::Field field);
    void simulateFinger();

    LoginController &m_controller;
    FingerprintSimulated *m_simulated;
    QStackedWidget *m_pages;
    QLineEdit *txtUserName;
    QLineEdit *txtPassword;
    QLineEdit *txtCredencial;
    QLabel *lblHuella;
    QPushButton *cmdSimular = nullptr;
    QComboBox *cmbTerminal;
    QPushButton *cmdModoSesion;
    QPushButton *cmdConexion;
};
