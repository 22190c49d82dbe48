#pragma once

#include <QDialog>

class LoginWarehouse;
class QComboBox;
class QLabel;

// The warehouse window after a login: database, user's name and photo, warehouse list.
class frmSelAlmacen : public QDialog {
    Q_OBJECT
public:
    explicit frmSelAlmacen(LoginWarehouse &rules, QWidget *parent = nullptr);

    void cmdOK();

private:
    LoginWarehouse &m_rules;
    QLabel *lblBaseDatos;
    QLabel *lblUsuario;
    QLabel *imgFoto;
    QComboBox *cmbAlmacen;
};
