#pragma once

#include <QDialog>
#include <QHash>

class UsuarioEditor;
class QComboBox;
class QLineEdit;

// The user window: every column of tUsuario on two tabs; rules in UsuarioEditor.
class frmUsuario : public QDialog {
    Q_OBJECT
public:
    frmUsuario(UsuarioEditor &editor, const QString &clave = QString(), QWidget *parent = nullptr);

    void cmdGuardar();

private:
    QWidget *field(const QString &column);
    void showUser(const QVariantMap &u);
    QVariantMap read() const;
    // After a refusal the field the rule named gets the focus (on its tab).
    void enfocaRechazado();

    UsuarioEditor &m_editor;
    QHash<QString, QLineEdit *> m_lines;
    QHash<QString, QComboBox *> m_combos;
    QLineEdit *txtPassword;
};
