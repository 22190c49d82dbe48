#pragma once

#include "LookupDefinition.h"
#include "LookupServices.h"

#include <QDialog>

class LookupPanel;

// The modal lookup: the caller fills a LookupDefinition, shows it and reads result().
//   LookupResult r = frmConsulta::consulta(services, def, opener, this);
//   if (r.accepted) txtProveedor->setText(r.key);
class frmConsulta : public QDialog {
    Q_OBJECT
public:
    frmConsulta(const LookupServices &services, const LookupDefinition &definition,
                MaintenanceOpener opener = {}, QWidget *parent = nullptr);
    ~frmConsulta() override;

    // Shows the lookup modally and hands back the accepted row (accepted false on cancel).
    // With a text, the search runs at once; an auto-accepting lookup with exactly one match
    // then returns without showing itself.
    static LookupResult consulta(const LookupServices &services, const LookupDefinition &definition,
                                 MaintenanceOpener opener = {}, QWidget *parent = nullptr,
                                 const QString &texto = QString());

    // Runs the search for text in the current search field; true when it was auto-accepted.
    bool buscar(const QString &texto);
    const LookupResult &result() const { return m_result; }
    LookupPanel *panel() const { return m_panel; }

public Q_SLOTS:
    void cmdBuscar_Click();
    void cmdAceptar_Click();

private:
    void acepta(int row);
    void autoAcepta();

    LookupPanel *m_panel = nullptr;
    LookupResult m_result;
};
