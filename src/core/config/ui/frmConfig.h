#pragma once

#include <QList>
#include <QWidget>

class QSortFilterProxyModel;
class ConfigGridModel;
class Prompter;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class cConfigure;

// The configuration window: a category list, the grid of its items and the commands to
// change one item, save all, export and import. The rules live in cConfigure,
// ConfigGridModel, ConfigEditor and ConfigExchange.
class frmConfig : public QWidget {
    Q_OBJECT
public:
    frmConfig(cConfigure &config, Prompter &prompter, QWidget *parent = nullptr);

    ConfigGridModel *model() const { return m_model; }
    // The category chosen in cmbTipoConfig.
    int categoria() const;
    void setCategoria(int category);
    // The key of the grid's current row, empty when there is none.
    QString claveActual() const;

    // What cmdExportar and cmdImportar do once the file (and categories) are chosen.
    bool exportarA(const QString &fileName, const QList<int> &categories);
    bool importarDe(const QString &fileName);

public Q_SLOTS:
    void cmdModificar_Click();
    void cmdSalvar_Click();
    void cmdExportar_Click();
    void cmdImportar_Click();

private:
    void cargaGrid();
    QList<int> eligeCategorias();

    cConfigure &m_config;
    Prompter &m_prompter;
    ConfigGridModel *m_model = nullptr;
    QComboBox *m_cmbTipoConfig = nullptr;
    QCheckBox *m_chkOrdenar = nullptr;
    QTableView *m_grid = nullptr;
    QLabel *m_lblRegistros = nullptr;
    QSortFilterProxyModel *m_orden = nullptr; // the header click order over the model
};
