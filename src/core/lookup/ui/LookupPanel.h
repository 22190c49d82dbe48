#pragma once

#include "LookupSearch.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// The widgets shared by the lookup windows, bound to LookupSearch: search field, text or date
// range, the grid, the two search settings and the maintenance commands.
class LookupPanel : public QWidget {
    Q_OBJECT
public:
    LookupPanel(const LookupServices &services, const LookupDefinition &definition, MaintenanceOpener opener,
                QWidget *parent = nullptr);

    LookupSearch &search() { return m_search; }
    QTableView *grid() const { return m_grid; }
    QLineEdit *texto() const { return m_txtBuscar; }
    int currentRow() const;
    void setCampo(int index);
    LookupSearch::Criteria criteria() const;

public Q_SLOTS:
    LookupSearch::Outcome cmdBuscar_Click();
    void cmdSalvarSetting_Click();
    void cmdReg_Click();
    void cmdMod_Click();
    void cmdBaja_Click();
    void cmdCon_Click();

Q_SIGNALS:
    // A row was chosen in the grid (double click or Enter).
    void activated(int row);
    // The search found exactly one row of an auto-accepting lookup.
    void autoAccepted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void campoCambiado();
    void applyFocus();

    LookupSearch m_search;
    QList<bool> m_fixedWidths; // per result column: the definition gave its width
    QComboBox *m_cmbCampo = nullptr;
    QLineEdit *m_txtBuscar = nullptr;
    QDateEdit *m_dtpDesde = nullptr;
    QDateEdit *m_dtpHasta = nullptr;
    QPushButton *m_cmdBuscar = nullptr;
    QTableView *m_grid = nullptr;
    QComboBox *m_cmbBusqueda = nullptr;
    QComboBox *m_cmbPregunta = nullptr;
    QPushButton *m_cmdSalvarSetting = nullptr;
    QPushButton *m_cmdReg = nullptr;
    QPushButton *m_cmdMod = nullptr;
    QPushButton *m_cmdBaja = nullptr;
    QPushButton *m_cmdCon = nullptr;
    QLabel *m_status = nullptr;
};
