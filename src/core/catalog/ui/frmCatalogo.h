#pragma once

#include "LookupDefinition.h"
#include "LookupServices.h"

#include <QWidget>

class LookupPanel;

// The lookup as a catalogue window of the main frame (non-modal, inside the MDI area): the same
// search, settings and maintenance commands as frmConsulta. Choosing a row (double click or
// Enter) opens it in the maintenance window: change when the profile may, else consult.
//   auto *w = new frmCatalogo(services, def, opener);
//   mdi.addWindow(w);
class frmCatalogo : public QWidget {
    Q_OBJECT
public:
    frmCatalogo(const LookupServices &services, const LookupDefinition &definition,
                MaintenanceOpener opener = {}, QWidget *parent = nullptr);
    ~frmCatalogo() override;

    LookupPanel *panel() const { return m_panel; }

public Q_SLOTS:
    void cmdBuscar_Click();

Q_SIGNALS:
    // A row was chosen; emitted before the maintenance window opens.
    void chosen(const LookupResult &result);

private:
    void elegido();

    LookupPanel *m_panel = nullptr;
};
