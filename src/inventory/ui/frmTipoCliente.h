#pragma once

#include "frmCatalogoDet.h"

class ConnectionProvider;
class Permisos;
class Prompter;
class QPushButton;

// The client type's maintenance: the generic catalogue form over tTipoCliente (its rules stay
// CatalogoEditor's), with the control kinds offered in tcontrol_Orden order and a button that
// opens the type's price concepts (frmTipoClienteConcepto) in change and query.
class frmTipoCliente : public frmCatalogoDet {
    Q_OBJECT
public:
    frmTipoCliente(CatalogoEditor &editor, ConnectionProvider &connections, Permisos &permisos,
                   Prompter &prompter, const QStringList &clave = {}, QWidget *parent = nullptr);

    // The catalogue's entry for frmTipoCliente: 'A', 'C', 'Q' open this window modally, 'B' is the
    // generic delete (the type's concepts go with it). True when rows may have changed.
    static bool abrir(ConnectionProvider &connections, Permisos &permisos, Prompter &prompter, QChar comando,
                      const QString &clave, QWidget *parent = nullptr);

    bool conceptosGuardados() const { return m_conceptosGuardados; }

public Q_SLOTS:
    void cmdConceptos_Click();

private:
    void ordenaControles();

    ConnectionProvider &m_connections;
    Permisos &m_permisos;
    Prompter &m_prompter;
    QString m_tcli;
    QString m_modo;
    QPushButton *m_cmdConceptos = nullptr;
    bool m_conceptosGuardados = false;
};
