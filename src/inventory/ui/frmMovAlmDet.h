#pragma once

#include "LookupServices.h"
#include "MovimientoAlmacen.h"
#include "MovimientosAlmacenLista.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QHash>

#include <functional>

class Permisos;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// The component lines of an assembly or dismantling; the lot and the quantity of a line can be
// edited, each edit checked by the window's rule before it is kept.
class ComponentesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Columna { Articulo, Nombre, Lote, Cantidad, Costo, Importe, Columnas };
    // The check of an edited line: row, lot and quantity as typed; the quantity read comes back.
    using Revisa =
        std::function<bool(int fila, const QString &lote, const QString &cantidad, Decimal *leida)>;

    explicit ComponentesModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    void setLineas(const QList<MovimientoAlmacen::Componente> &lineas, const QStringList &nombres);
    const QList<MovimientoAlmacen::Componente> &lineas() const { return m_lineas; }
    void setRevisa(Revisa revisa) { m_revisa = std::move(revisa); }
    void setSoloLectura(bool soloLectura) { m_soloLectura = soloLectura; }

private:
    QList<MovimientoAlmacen::Componente> m_lineas;
    QStringList m_nombres;
    Revisa m_revisa;
    bool m_soloLectura = false;
};

// The warehouse movement document: registers a movement ('A') or shows one ('Q', read only, with
// "Cancelar movimiento"). The fields a type does not use are hidden. Rules in MovimientoAlmacen
// (checks, registration, cancellation), LoteSerie (lots and component lines) and
// MovimientosAlmacenLista (reads).
class frmMovAlmDet : public QDialog {
    Q_OBJECT
public:
    // modo 'A': a new movement in the session's warehouse (config "ALMACEN"), of type tipo when
    // given; 'Q': the movement almacen/anio/numero.
    frmMovAlmDet(const LookupServices &services, Permisos &permisos, QChar modo = u'A',
                 const QString &almacen = QString(), int anio = 0, qint64 numero = 0,
                 const QString &tipo = QString(), QWidget *parent = nullptr);
    ~frmMovAlmDet() override;

    // Registers a new movement (modal); true when one was registered.
    static bool abrir(const LookupServices &services, Permisos &permisos, QWidget *parent = nullptr,
                      const QString &tipo = QString());
    // Shows a movement read only (modal); true when it was cancelled there.
    static bool consultar(const LookupServices &services, Permisos &permisos, const QString &almacen,
                          int anio, qint64 numero, QWidget *parent = nullptr);

    // False when the movement of a 'Q' window could not be read (the user was told why).
    bool valido() const { return m_valido; }
    // True once a movement was registered or cancelled here.
    bool cambiado() const { return m_cambiado; }
    MovimientoAlmacen &movimiento() { return m_movimiento; }
    ComponentesModel *componentes() const { return m_componentes; }
    MovimientoAlmacen::Datos datos() const;

public Q_SLOTS:
    void cmdAceptar_Click();
    void cmdCancelarMovimiento_Click();
    void cmdLote_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *conBoton(QLineEdit *campo, const QString &ayuda, std::function<void()> accion);
    void llenaCombo(QComboBox *combo, const QList<MovimientosAlmacenLista::Opcion> &opciones);
    static void eligeCombo(QComboBox *combo, const QString &clave);
    QString tipo() const;
    bool esSalida() const;
    void tipoCambiado();
    void articuloCapturado(QLineEdit *campo, QLabel *nombre, bool principal);
    void buscaArticulo(QLineEdit *campo);
    void habilitaLote(bool habilitado);
    void eligeLote(QLineEdit *campo, const QString &articulo, bool salida);
    void recalculaComponentes();
    void muestraProgreso(const QString &texto);
    void muestra(const MovimientosAlmacenLista::Movimiento &m);
    void enfocaRechazado();
    bool revisaComponente(int fila, const QString &lote, const QString &cantidad, Decimal *leida);

    LookupServices m_services;
    Permisos &m_permisos;
    MovimientoAlmacen m_movimiento;
    MovimientosAlmacenLista m_lista;
    QChar m_modo;
    QList<MovimientosAlmacenLista::Opcion> m_tipos;
    QString m_almacen;
    int m_anio = 0;
    qint64 m_numero = 0;
    QString m_articuloLeido, m_cantidadLeida;
    bool m_valido = true;
    bool m_cambiado = false;

    QComboBox *m_cmbAlmacen = nullptr;
    QComboBox *m_cmbTipo = nullptr;
    QLineEdit *m_txtFolio = nullptr;
    QLabel *m_lblFolio = nullptr;
    QLineEdit *m_txtFecha = nullptr;
    QLineEdit *m_txtEstado = nullptr;
    QLabel *m_lblEstadoMov = nullptr;
    QLineEdit *m_txtArticulo = nullptr;
    QLabel *m_lblNombre = nullptr;
    QLineEdit *m_txtLote = nullptr;
    QLineEdit *m_txtCantidad = nullptr;
    QLineEdit *m_txtCosto = nullptr;
    QHash<QString, QList<QWidget *>> m_porTipo; // the rows only a type shows
    QComboBox *m_cmbDestino = nullptr;
    QComboBox *m_cmbSucursal = nullptr;
    QLineEdit *m_txtArticuloCambio = nullptr;
    QLabel *m_lblNombreCambio = nullptr;
    QLineEdit *m_txtLoteCambio = nullptr;
    QGroupBox *m_grpComponentes = nullptr;
    QTableView *m_grdComponentes = nullptr;
    ComponentesModel *m_componentes = nullptr;
    QLineEdit *m_txtDescripcion = nullptr;
    QLabel *m_lblProgreso = nullptr;
    QPushButton *m_cmdAceptar = nullptr;
    QPushButton *m_cmdCancelarMovimiento = nullptr;
    QPushButton *m_cmdCerrar = nullptr;
};
