#pragma once

#include "TipoClienteConceptos.h"

#include <QAbstractTableModel>
#include <QHash>

// The grid of a client type's price concepts: concept, method and value per line. The edit role
// of the first two columns is the key; the display shows "key - name" when the key is known.
class ConceptosModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ConceptosModel(QObject *parent = nullptr);

    // The concept column's caption and the names shown beside the keys.
    void setControl(const QString &titulo, const QList<TipoClienteConceptos::Opcion> &conceptos,
                    const QList<TipoClienteConceptos::Opcion> &metodos);
    void setLineas(const QList<TipoClienteConceptos::Linea> &lineas);
    const QList<TipoClienteConceptos::Linea> &lineas() const { return m_lineas; }
    void setSoloLectura(bool soloLectura) { m_soloLectura = soloLectura; }
    // True after an edit, an added or a removed line; setLineas and marcaGuardado clear it.
    bool modificado() const { return m_modificado; }
    void marcaGuardado() { m_modificado = false; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool insertRows(int row, int count, const QModelIndex &parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

private:
    QString *campo(int row, int column);

    QList<TipoClienteConceptos::Linea> m_lineas;
    QString m_titulo = QStringLiteral("Departamento");
    QHash<QString, QString> m_nombresConcepto;
    QHash<QString, QString> m_nombresMetodo;
    bool m_soloLectura = false;
    bool m_modificado = false;
};
