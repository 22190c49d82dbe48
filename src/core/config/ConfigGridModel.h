#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QPair>
#include <QString>

class cConfigure;
class cConfigValue;

// The grid of frmConfig: the items of one category with the columns "Computadora", "Clave",
// "Tipo", "Dato", "Salvar", "Valor" (Booleans as "Sí"/"No"), in registration order or sorted
// by key. Follows the store: a changed value or a new item shows at once.
class ConfigGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Computadora, Clave, Tipo, Dato, Salvar, Valor, ColumnCount };

    explicit ConfigGridModel(cConfigure &config, QObject *parent = nullptr);

    // The entries of cmbTipoConfig: category number and its caption.
    QList<QPair<int, QString>> categorias() const;
    // The Spanish caption of a category, for the list and the "Tipo" column.
    static QString nombreCategoria(int category);
    // The Spanish caption of a data type, for the "Dato" column.
    static QString nombreDato(int dataType);

    void setCategoria(int category);
    int categoria() const { return m_category; }
    // chkOrdenar: sorted by key.
    void setOrdenar(bool sorted);
    bool ordenar() const { return m_sorted; }

    cConfigValue *itemAt(int row) const;
    int rowOf(const QString &key) const;
    // The count label: n + " Registros".
    QString registros() const;
    // What the "Valor" column shows for an item.
    QString valorTexto(const cConfigValue &item) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void rebuild();
    void onValueChanged(const QString &key);
    void onItemAdded(const QString &key);

    cConfigure &m_config;
    int m_category = 0;
    bool m_sorted = false;
    QList<cConfigValue *> m_rows;
};
