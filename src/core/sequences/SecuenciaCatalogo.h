#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

class ConnectionProvider;
class Prompter;

// The catalogue of sequences: every row of tSecuencia under the columns "Clave",
// "Lim. Inferior", "Lim. Superior", "Lim. Valor" and "Lim. Incremento", ordered by key.
class SecuenciaCatalogo : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Fila {
        QString clave;
        qint64 minimo = 0;
        qint64 maximo = 0;
        qint64 valor = 0;
        qint64 incremento = 0;
    };

    SecuenciaCatalogo(ConnectionProvider &connections, Prompter &prompter, QObject *parent = nullptr);

    static QStringList columnas();
    // Reads the rows again; a database error is reported and leaves the list empty.
    void recargar();
    const Fila &fila(int row) const { return m_filas.at(row); }
    // The row of a key, -1 when it is not listed.
    int filaDe(const QString &clave) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ConnectionProvider &m_connections;
    Prompter &m_prompter;
    QList<Fila> m_filas;
};
