#include "frmMovAlmCon.h"

#include "GridView.h"
#include "Log.h"
#include "MovimientoAlmacen.h"
#include "Prompter.h"
#include "cConfigure.h"
#include "frmMovAlmDet.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

MovimientosModel::MovimientosModel(QObject *parent) : QAbstractTableModel(parent) {}

int MovimientosModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_filas.size());
}

int MovimientosModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columnas;
}

QVariant MovimientosModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_filas.size())
        return {};
    const MovimientosAlmacenLista::Fila &f = m_filas.at(index.row());
    if (role == Qt::TextAlignmentRole)
        return index.column() >= Cantidad && index.column() <= Total ? int(Qt::AlignRight | Qt::AlignVCenter)
                                                                     : int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Folio:
        return f.folio();
    case Fecha:
        return f.fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
    case Tipo:
        return f.tipo;
    case Articulo:
        return f.articulo;
    case Nombre:
        return f.nombre;
    case Lote:
        return f.lote;
    case Cantidad:
        return f.cantidad.toString();
    case Costo:
        return f.costo.format(QStringLiteral("#,##0.00"));
    case Total:
        return f.total.format(QStringLiteral("#,##0.00"));
    case Estado:
        return f.estado;
    case Destino:
        return f.destino;
    default:
        return {};
    }
}

QVariant MovimientosModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const titulos[] = {"Movimiento", "Fecha", "Tipo",  "Articulo", "Nombre", "Lote/Serie",
                                          "Cantidad",   "Costo", "Total", "Estado",   "Destino"};
    return section >= 0 && section < Columnas ? QString::fromLatin1(titulos[section]) : QVariant();
}

void MovimientosModel::setFilas(const QList<MovimientosAlmacenLista::Fila> &filas)
{
    beginResetModel();
    m_filas = filas;
    endResetModel();
}

frmMovAlmCon::frmMovAlmCon(const LookupServices &services, Permisos &permisos, QWidget *parent)
    : QDialog(parent), m_services(services), m_permisos(permisos), m_lista(services.connections, permisos)
{
    setObjectName(QStringLiteral("frmMovAlmCon"));
    setWindowTitle(QStringLiteral("Movimientos de Almacen"));
    m_cargando = true;

    m_cmbAlmacen = new QComboBox;
    m_cmbAlmacen->setObjectName(QStringLiteral("cmbAlmacen"));
    m_cmbAnio = new QComboBox;
    m_cmbAnio->setObjectName(QStringLiteral("cmbAnio"));
    m_cmbTipo = new QComboBox;
    m_cmbTipo->setObjectName(QStringLiteral("cmbTipo"));
    m_cmbEstado = new QComboBox;
    m_cmbEstado->setObjectName(QStringLiteral("cmbEstado"));
    m_cmbTipo->addItem(QStringLiteral("Todos"), QString());
    m_cmbEstado->addItem(QStringLiteral("Todos"), QString());
    try {
        for (const auto &o : m_lista.opciones(MovimientosAlmacenLista::Catalogo::Almacenes))
            m_cmbAlmacen->addItem(o.clave + QStringLiteral(" - ") + o.nombre, o.clave);
        for (const auto &o : m_lista.opciones(MovimientosAlmacenLista::Catalogo::Tipos))
            m_cmbTipo->addItem(o.nombre, o.clave);
        for (const auto &o : m_lista.opciones(MovimientosAlmacenLista::Catalogo::Estados))
            m_cmbEstado->addItem(o.nombre, o.clave);
    } catch (const std::exception &e) {
        reportError(services.prompter, QString(), QStringLiteral("frmMovAlmCon"),
                    ErrorInfo::fromException(e));
    }
    m_cmbAlmacen->setCurrentIndex(
        m_cmbAlmacen->findData(services.config.getValue(QStringLiteral("ALMACEN")).toString()));

    auto *filtros = new QHBoxLayout;
    const auto filtro = [filtros](const QString &titulo, QComboBox *combo, int ancho) {
        filtros->addWidget(new QLabel(titulo));
        combo->setMinimumWidth(ancho);
        filtros->addWidget(combo);
    };
    filtro(QStringLiteral("Almacen"), m_cmbAlmacen, 200);
    filtro(QStringLiteral("Año"), m_cmbAnio, 80);
    filtro(QStringLiteral("Tipo"), m_cmbTipo, 180);
    filtro(QStringLiteral("Estado"), m_cmbEstado, 110);
    filtros->addStretch();

    m_modelo = new MovimientosModel(this);
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("grdMovimientos"));
    m_grid->setModel(m_modelo);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->setAlternatingRowColors(true);
    m_grid->setWordWrap(false);
    // Every column in view at the window's width; the name takes what is left.
    const int anchos[] = {90, 115, 95, 80, 0, 85, 70, 70, 75, 95, 70};
    for (int i = 0; i < MovimientosModel::Columnas; ++i)
        if (anchos[i] > 0)
            m_grid->setColumnWidth(i, anchos[i]);
    m_grid->horizontalHeader()->setSectionResizeMode(MovimientosModel::Nombre, QHeaderView::Stretch);
    connect(m_grid, &QTableView::doubleClicked, this, &frmMovAlmCon::cmdConsultar_Click);

    const auto boton = [this](const QString &texto, const char *nombre) {
        auto *b = new QPushButton(texto);
        b->setObjectName(QString::fromLatin1(nombre));
        b->setAutoDefault(false);
        return b;
    };
    m_cmdNuevo = boton(QStringLiteral("&Nuevo"), "cmdNuevo");
    m_cmdConsultar = boton(QStringLiteral("C&onsultar"), "cmdConsultar");
    m_cmdCancelar = boton(QStringLiteral("Cancelar &movimiento"), "cmdCancelar");
    m_cmdExportar = boton(QStringLiteral("&Exportar"), "cmdExportar");
    auto *cerrar = boton(QStringLiteral("&Cerrar"), "cmdCerrar");
    m_cmdConsultar->setDefault(true);
    connect(m_cmdNuevo, &QPushButton::clicked, this, &frmMovAlmCon::cmdNuevo_Click);
    connect(m_cmdConsultar, &QPushButton::clicked, this, &frmMovAlmCon::cmdConsultar_Click);
    connect(m_cmdCancelar, &QPushButton::clicked, this, &frmMovAlmCon::cmdCancelar_Click);
    connect(m_cmdExportar, &QPushButton::clicked, this, &frmMovAlmCon::cmdExportar_Click);
    connect(cerrar, &QPushButton::clicked, this, &QDialog::reject);
    m_cmdNuevo->setEnabled(m_lista.puedeRegistrar());
    m_cmdCancelar->setEnabled(m_lista.puedeCancelar());
    auto *botones = new QHBoxLayout;
    for (QPushButton *b : {m_cmdNuevo, m_cmdConsultar, m_cmdCancelar, m_cmdExportar})
        botones->addWidget(b);
    botones->addStretch();
    botones->addWidget(cerrar);

    auto *main = new QVBoxLayout(this);
    main->addLayout(filtros);
    main->addWidget(m_grid, 1);
    main->addLayout(botones);
    resize(1000, 560);

    cargaAnios();
    m_cargando = false;
    for (QComboBox *c : {m_cmbAnio, m_cmbTipo, m_cmbEstado})
        connect(c, &QComboBox::currentIndexChanged, this, &frmMovAlmCon::cargaGrid);
    connect(m_cmbAlmacen, &QComboBox::currentIndexChanged, this, [this] {
        cargaAnios();
        cargaGrid();
    });
    cargaGrid();
    m_grid->setFocus();
}

void frmMovAlmCon::abrir(const LookupServices &services, Permisos &permisos, QWidget *parent)
{
    frmMovAlmCon w(services, permisos, parent);
    w.exec();
}

void frmMovAlmCon::cargaAnios()
{
    const bool cargando = m_cargando;
    m_cargando = true;
    const int antes = m_cmbAnio->currentData().toInt();
    m_cmbAnio->clear();
    m_cmbAnio->addItem(QStringLiteral("Todos"), 0);
    try {
        QList<int> anios = m_lista.anios(m_cmbAlmacen->currentData().toString());
        const int actual = m_lista.ahora().date().year();
        if (!anios.contains(actual))
            anios.prepend(actual);
        for (int a : anios)
            m_cmbAnio->addItem(QString::number(a), a);
        // The current year unless another one was chosen.
        const int elegido = m_cmbAnio->findData(antes ? antes : actual);
        m_cmbAnio->setCurrentIndex(elegido >= 0 ? elegido : 0);
    } catch (const std::exception &e) {
        reportError(m_services.prompter, QString(), QStringLiteral("frmMovAlmCon"),
                    ErrorInfo::fromException(e));
    }
    m_cargando = cargando;
}

void frmMovAlmCon::cargaGrid()
{
    if (m_cargando)
        return;
    MovimientosAlmacenLista::Filtro f;
    f.almacen = m_cmbAlmacen->currentData().toString();
    f.anio = m_cmbAnio->currentData().toInt();
    f.tipo = m_cmbTipo->currentData().toString();
    f.estado = m_cmbEstado->currentData().toString();
    try {
        m_modelo->setFilas(m_lista.lista(f));
    } catch (const std::exception &e) {
        m_modelo->setFilas({});
        reportError(m_services.prompter, QStringLiteral("No fue posible leer los movimientos"),
                    QStringLiteral("frmMovAlmCon.cargaGrid"), ErrorInfo::fromException(e));
    }
    if (m_modelo->rowCount() > 0)
        m_grid->setCurrentIndex(m_modelo->index(0, 0));
}

bool frmMovAlmCon::seleccionado(MovimientosAlmacenLista::Fila *fila)
{
    const QModelIndex i = m_grid->currentIndex();
    if (!i.isValid() || i.row() >= m_modelo->rowCount()) {
        m_services.prompter.exclamation(QStringLiteral("Debe seleccionar un movimiento"));
        return false;
    }
    *fila = m_modelo->filas().at(i.row());
    return true;
}

void frmMovAlmCon::cmdNuevo_Click()
{
    if (!m_lista.puedeRegistrar()) {
        m_services.prompter.exclamation(MovimientosAlmacenLista::kSinAcceso);
        return;
    }
    if (frmMovAlmDet::abrir(m_services, m_permisos, this))
        cargaGrid();
}

void frmMovAlmCon::cmdConsultar_Click()
{
    MovimientosAlmacenLista::Fila f;
    if (!seleccionado(&f))
        return;
    if (frmMovAlmDet::consultar(m_services, m_permisos, f.almacen, f.anio, f.numero, this))
        cargaGrid();
}

void frmMovAlmCon::cmdCancelar_Click()
{
    if (!m_lista.puedeCancelar()) {
        m_services.prompter.exclamation(MovimientosAlmacenLista::kSinAcceso);
        return;
    }
    MovimientosAlmacenLista::Fila f;
    if (!seleccionado(&f))
        return;
    MovimientoAlmacen m(m_services.connections, m_services.config, m_services.prompter);
    if (m.cancela(f.almacen, f.anio, f.numero))
        cargaGrid();
}

void frmMovAlmCon::cmdExportar_Click()
{
    GridView::exportToFile(*m_grid, m_services.prompter, this);
}
