#pragma once

#include "ModuloEditor.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

// The module window: key, name, description, kind, parent and order; rules in ModuloEditor.
class frmModulo : public QDialog {
    Q_OBJECT
public:
    frmModulo(ModuloEditor &editor, const QString &clave = QString(), QWidget *parent = nullptr);

    void cmdGuardar();

private:
    static void select(QComboBox *combo, const QString &key);

    ModuloEditor &m_editor;
    QLineEdit *txtClave;
    QLineEdit *txtNombre;
    QLineEdit *txtDescripcion;
    QComboBox *cmbTipo;
    QComboBox *cmbSuperior;
    QLineEdit *txtSecuencia;
};
