#pragma once

#include <QWidget>

class QSortFilterProxyModel;
class ConnectionProvider;
class ModuloEditor;
class ModuloListModel;
class Prompter;
class QTableView;

// The module list: every module by path, with add, change, query and delete.
class frmModuloCon : public QWidget {
    Q_OBJECT
public:
    frmModuloCon(ConnectionProvider &connections, Prompter &prompter, QWidget *parent = nullptr);
    ~frmModuloCon() override;

private:
    void open(const QString &mode);
    void cmdBaja();
    QString selectedKey();

    ConnectionProvider &m_connections;
    Prompter &m_prompter;
    ModuloEditor *m_listEditor;
    ModuloListModel *m_model;
    QTableView *grdData;
    QSortFilterProxyModel *m_orden = nullptr; // the header click order over the model
};
