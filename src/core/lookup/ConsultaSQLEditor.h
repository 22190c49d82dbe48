#pragma once

#include "LookupDefinition.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>

#include <optional>

class ConnectionProvider;
class Prompter;

// The columns of a stored query as the maintenance grid edits them: caption, result column,
// part of the key, part of the text. Rows are in sel_Orden order.
class ConsultaSQLColumnas : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Columna {
        QString nombre;
        QString campo;
        bool valor = false;
        bool descripcion = false;
    };
    enum Column { Nombre, Campo, Valor, Descripcion, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    const QList<Columna> &columnas() const { return m_rows; }
    void setColumnas(const QList<Columna> &rows);
    void agregar();
    void quitar(int row);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<Columna> m_rows;
};

// The rules of the stored-query maintenance (tConsulta with its tSelect columns) in the modes
// add "A", change "C" and query "Q". A query and its columns are written in one transaction.
class ConsultaSQLEditor {
public:
    struct Datos {
        QString clave;
        QString nombre;
        QString sql;
        QList<ConsultaSQLColumnas::Columna> columnas;
    };

    ConsultaSQLEditor(ConnectionProvider &connections, Prompter &prompter);

    // The lookup over tConsulta whose maintenance window is frmConsultaSQL (Sistema ▸ Consulta SQL).
    static LookupDefinition definicionCatalogo();

    const QString &modo() const { return m_modo; }
    void setModo(const QString &modo) { m_modo = modo; }

    // The greatest con_Clave plus one (1 for an empty table); 0 when the database fails (reported).
    int nuevaClave();
    bool validaDatos(const Datos &datos);
    // The field of the last refusal ("clave", "nombre" ...), for the form's focus; empty otherwise.
    const QString &campoRechazado() const { return m_campoRechazado; }
    // Inserts with con_Completar 'S'; asks whether to go on adding. False when refused or failed.
    bool agregarRegistro(const Datos &datos, bool *continuar = nullptr);
    bool modificarRegistro(const Datos &datos);
    // "La clave no existe" when there is no such query.
    std::optional<Datos> consultarRegistro(const QString &clave);
    // Asks first; refused while a report parameter (tReporteParam.con_Clave) uses the query.
    bool eliminarRegistro(const QString &clave);

private:
    void guardaColumnas(int clave, const QList<ConsultaSQLColumnas::Columna> &columnas);
    bool existe(int clave, QString *nombre = nullptr);

    ConnectionProvider &m_connections;
    Prompter &m_prompter;
    QString m_campoRechazado;
    QString m_modo = QStringLiteral("A");
};
