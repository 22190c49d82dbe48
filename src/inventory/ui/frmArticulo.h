#pragma once

#include "ArticuloEditor.h"
#include "LookupServices.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QHash>

class ExistenciaArticulo;
class KardexArticulo;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableView;
class QTimer;

// One grid of the article editor over the editor's own rows: the price lists, the offers
// (three more columns), the assembly or the maximum/minimum levels of the article's period.
class ArticuloGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Tipo { Listas, Ofertas, Ensamble, MaxMin };

    ArticuloGridModel(ArticuloEditor &editor, Tipo tipo, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex &parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

    void setSoloLectura(bool soloLectura) { m_soloLectura = soloLectura; }
    // The editor's rows changed behind the model (a cost recalculation, another article).
    void refresca();

private:
    int filas() const;
    // The figure a column of the list and offer grids shows; -1 for the others.
    static int cifraDe(int column);

    ArticuloEditor &m_editor;
    Tipo m_tipo;
    bool m_soloLectura = false;
};

// The article editor: seven tabs over ArticuloEditor, in the modes add 'A', change 'C' and
// consult 'Q', and two read-only ones, the stock by warehouse and lot and the kardex, read
// each time they are shown. Every widget is named after its column, so a refusal focuses it
// directly.
class frmArticulo : public QDialog {
    Q_OBJECT
public:
    frmArticulo(ArticuloEditor &editor, const LookupServices &services, QChar modo, const QString &clave = {},
                QWidget *parent = nullptr);
    ~frmArticulo() override;

    // The opener of the article lookups: 'A', 'C' and 'Q' run the window, 'B' deletes after
    // asking. True when articles may have changed.
    static bool abrir(const LookupServices &services, const CalculoPrecio &calculo, QChar comando,
                      const QString &clave, QWidget *parent = nullptr,
                      ArticuloEditor::Pestana pestana = ArticuloEditor::Pestana::Identidad);

    // False when the article of a 'C' or 'Q' window could not be read (the user was told why).
    bool valido() const { return m_valido; }
    bool guardado() const { return m_guardado; }

    void setPestana(ArticuloEditor::Pestana pestana);
    QTabWidget *pestanas() const { return m_tabs; }
    ArticuloGridModel *modelo(ArticuloGridModel::Tipo tipo) const { return m_modelos.value(int(tipo)); }
    KardexArticulo *kardex() const { return m_kardex; }
    ExistenciaArticulo *existencias() const { return m_existencia; }
    // The tabs after the editor's own ones.
    static constexpr int kPestanaExistencias = 7;
    static constexpr int kPestanaKardex = 8;

public Q_SLOTS:
    void cmdGuardar_Click();
    // Read again with the current options (empty for an article not saved yet).
    void cargaExistencias();
    void cargaKardex();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *pestanaIdentificacion();
    QWidget *pestanaPrecios();
    QWidget *pestanaGrid(ArticuloGridModel::Tipo tipo, const QString &nombre);
    QWidget *pestanaInventario();
    QWidget *pestanaPaquetes();
    QWidget *pestanaResurtido();
    QWidget *pestanaExistencias();
    QWidget *pestanaKardex();
    QString claveGuardada() const;

    QLineEdit *texto(const QString &columna, int longitud = 0);
    QComboBox *combo(const QString &columna, const QString &tabla, const QString &clave, const QString &nombre);
    QComboBox *lista(const QString &columna, const QList<QPair<QString, QString>> &entradas);
    QCheckBox *bandera(const QString &columna, const QString &titulo);
    QListWidget *seleccion(const QString &nombre, const QString &tabla, const QString &clave,
                           const QString &nombreColumna, QStringList &(ArticuloEditor::*lista)());
    QWidget *conBusqueda(QLineEdit *campo);

    void cifraEditada(Cifra cifra);
    void muestraCifras();
    void resalta();
    // Shows every field from the editor (a new form, a loaded article).
    void muestra();
    void filtraSubtipos();
    void buscaArticulo(QLineEdit *campo);
    void soloLectura();

    ArticuloEditor &m_editor;
    LookupServices m_services;
    QChar m_modo;
    QTabWidget *m_tabs = nullptr;
    QHash<QString, QWidget *> m_campos; // column → widget
    QLineEdit *m_cifras[9] = {};
    QHash<int, ArticuloGridModel *> m_modelos;
    QList<QListWidget *> m_selecciones;
    QPushButton *m_cmdGuardar = nullptr;
    ExistenciaArticulo *m_existencia = nullptr;
    KardexArticulo *m_kardex = nullptr;
    QCheckBox *m_conCeros = nullptr;
    QLabel *m_totalExistencia = nullptr;
    QComboBox *m_almacenKardex = nullptr;
    QCheckBox *m_usaDesde = nullptr;
    QCheckBox *m_usaHasta = nullptr;
    QDateEdit *m_desde = nullptr;
    QDateEdit *m_hasta = nullptr;
    QLabel *m_resumenKardex = nullptr;
    QTimer *m_recargaKardex = nullptr;
    bool m_mostrando = false;
    bool m_valido = true;
    bool m_guardado = false;
};
