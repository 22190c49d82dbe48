#pragma once

#include "ConfigEditor.h"

#include <QDialog>

class Prompter;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QRadioButton;
class cConfigure;

// Edits one configuration value with the control that fits it: a choice list, Yes/No options,
// a date, a number or a text. ConfigEditor checks the entry and stores it.
class frmConfigDet : public QDialog {
    Q_OBJECT
public:
    frmConfigDet(cConfigure &config, Prompter &prompter, const QString &key, QWidget *parent = nullptr);

    ConfigEditor::Control control() const { return m_editor.control(); }

public Q_SLOTS:
    void cmdAceptar_Click();

private:
    QVariant entrada() const;

    ConfigEditor m_editor;
    QComboBox *m_cmbValor = nullptr;
    QRadioButton *m_optSi = nullptr;
    QRadioButton *m_optNo = nullptr;
    QDateTimeEdit *m_dtpValor = nullptr;
    QLineEdit *m_txtValor = nullptr;
};
