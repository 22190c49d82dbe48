#pragma once

#include "InventarioFisico.h"

#include <QAbstractTableModel>

class Prompter;

// The capture grid of a physical inventory: Articulo, Serie/Lote, Conteo 1, Conteo 2, Diferencia
// (count 1 less count 2, from the second count on), Conteo 3. A count cell is edited through
// InventarioFisico::fijaConteo; a database failure of that edit is reported here, since a grid edit has no
// caller to tell.
class ConteosInventarioModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Columna { Articulo, Lote, Conteo1, Conteo2, Diferencia, Conteo3, Columnas };

    ConteosInventarioModel(InventarioFisico &inventario, Prompter &prompter, QObject *parent = nullptr);

    // Reads the rows again (after a capture, a load, a deletion).
    void refresca();
    void setSoloLectura(bool soloLectura) { m_soloLectura = soloLectura; }
    // The difference means something once the second count is under way; before it stays blank.
    void setConteoActual(int conteo);
    const InventarioFisico::FilaConteo &fila(int row) const { return m_filas.at(row); }
    // The row of (article, lot), or -1.
    int busca(const QString &articulo, const QString &lote) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    static int conteoDe(int column);

    InventarioFisico &m_inventario;
    Prompter &m_prompter;
    QList<InventarioFisico::FilaConteo> m_filas;
    bool m_soloLectura = false;
    bool m_guardando = false;
    int m_conteoActual = 1;
};
