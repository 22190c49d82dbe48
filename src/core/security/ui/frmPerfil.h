#pragma once

#include "PerfilEditor.h"

#include <QWidget>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The profile window: key, name and the rights tree tvData; rules in PerfilEditor.
class frmPerfil : public QWidget {
    Q_OBJECT
public:
    // mode "A", "C" or "Q"; clave: the profile to show in "C" and "Q".
    frmPerfil(PerfilEditor &editor, const QString &clave = QString(), QWidget *parent = nullptr);

    void cmdGuardar();
    void cmdEliminar();

Q_SIGNALS:
    // Rights changed: the main window applies them again.
    void saved();

private:
    void consultar();
    void fillTree(const QList<PerfilEditor::Node> &tree);
    void addNodes(QTreeWidgetItem *parent, const QList<PerfilEditor::Node> &nodes);
    QSet<QString> ticked() const;

    PerfilEditor &m_editor;
    QLineEdit *txtClave;
    QLineEdit *txtNombre;
    QTreeWidget *tvData;
    QPushButton *cmdSave;
    QPushButton *cmdDelete;
};
