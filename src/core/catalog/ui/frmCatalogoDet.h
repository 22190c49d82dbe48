#pragma once

#include <QDialog>
#include <QHash>
#include <QVariantMap>

class CatalogoEditor;
class QPushButton;

// The generic maintenance window: one control per column of the catalogue's description
// (line edit, date, check box, or a combo of list entries for a choice), in the modes add "A",
// change "C" and query "Q". The key is read-only in "C" and "Q", everything in "Q". The rules are
// CatalogoEditor's.
class frmCatalogoDet : public QDialog {
    Q_OBJECT
public:
    // clave: the key values of the row shown in "C" and "Q".
    frmCatalogoDet(CatalogoEditor &editor, const QStringList &clave = {}, QWidget *parent = nullptr);

    // False when the row of a "C" or "Q" window could not be read (the user was told why).
    bool valido() const { return m_valido; }
    // True once a row was written.
    bool guardado() const { return m_guardado; }

    QVariantMap datos() const;
    void setDatos(const QVariantMap &valores);
    QWidget *control(const QString &columna) const { return m_controles.value(columna); }

public Q_SLOTS:
    void cmdAceptar_Click();

private:
    void limpia();

    CatalogoEditor &m_editor;
    QHash<QString, QWidget *> m_controles;
    QPushButton *m_cmdAceptar = nullptr;
    bool m_valido = true;
    bool m_guardado = false;
};
