#include "frmCtasXCobrar.h"

#include "CuentaPorCobrar.h"
#include "GridView.h"
#include "Log.h"
#include "Prompter.h"
#include "cConfigure.h"
#include "frmCobro.h"
#include "frmCobroDoc.h"
#include "frmEstadoCuenta.h"

#include "ConnectionProvider.h"
#include "Connection.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString dinero(const Decimal &d)
{
    return d.format(QStringLiteral("#,##0.00"));
}

QString fecha(const QDateTime &f)
{
    return f.isValid() ? f.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QTableView *rejilla(QAbstractItemModel *modelo, const char *nombre)
{
    auto *g = new QTableView;
    g->setObjectName(QString::fromLatin1(nombre));
    g->setModel(modelo);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::ExtendedSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->verticalHeader()->hide();
    g->setAlternatingRowColors(true);
    g->setWordWrap(false);
    return g;
}

QPushButton *boton(const QString &texto, const char *nombre)
{
    auto *b = new QPushButton(texto);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setAutoDefault(false);
    return b;
}

} // namespace

// ---------------------------------------------------------------------------------------------
const QStringList CtasXCobrarModel::kEncabezados = {
    QStringLiteral("Fecha"),        QStringLiteral("Cliente Clave"),  QStringLiteral("Cliente"),
    QStringLiteral("Clave"),        QStringLiteral("Importe"),        QStringLiteral("Pagado"),
    QStringLiteral("Referencia 1"), QStringLiteral("Referencia 2"),   QStringLiteral("Fec. Pago"),
    QStringLiteral("Cve. Estado"),  QStringLiteral("Estado"),         QStringLiteral("Venta Anio"),
    QStringLiteral("Venta Numero"), QStringLiteral("Fec.Vencimiento")};

int CtasXCobrarModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_filas.size());
}

int CtasXCobrarModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(kEncabezados.size());
}

QVariant CtasXCobrarModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_filas.size() || index.column() >= kEncabezados.size())
        return {};
    const Cobranza::Fila &f = m_filas.at(index.row());
    const int col = index.column();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(col == 4 || col == 5 ? Qt::AlignRight | Qt::AlignVCenter
                                                        : Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (col) {
    case 0:
        return fecha(f.fecha);
    case 1:
        return f.cliente;
    case 2:
        return f.nombreCliente;
    case 3:
        return QString::number(f.clave);
    case 4:
        return dinero(f.importe);
    case 5:
        return dinero(f.pagado);
    case 6:
        return f.referencia;
    case 7:
        return f.referenciaAdic;
    case 8:
        return fecha(f.fechaPago);
    case 9:
        return f.estado;
    case 10:
        return f.nombreEstado;
    case 11:
        return f.ventaAnio.isNull() ? QString() : f.ventaAnio.toString();
    case 12:
        return f.ventaNumero.isNull() ? QString() : f.ventaNumero.toString();
    case 13:
        return fecha(f.vencimiento);
    }
    return {};
}

QVariant CtasXCobrarModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section >= 0 && section < kEncabezados.size() ? QVariant(kEncabezados.at(section)) : QVariant();
}

void CtasXCobrarModel::setFilas(const QList<Cobranza::Fila> &filas)
{
    beginResetModel();
    m_filas = filas;
    endResetModel();
}

int NotasClienteModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_notas.size());
}

int NotasClienteModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 6;
}

QVariant NotasClienteModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_notas.size())
        return {};
    const NotaCobro &n = m_notas.at(index.row());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(index.column() == 3 ? Qt::AlignRight | Qt::AlignVCenter
                                                       : Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return QString::number(n.clave);
    case 1:
        return n.cliente;
    case 2:
        return fecha(n.fecha);
    case 3:
        return dinero(n.importe);
    case 4:
        return n.concepto;
    case 5:
        return n.nombreEstado;
    }
    return {};
}

QVariant NotasClienteModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const titulos[] = {"Nota", "Cliente", "Fecha", "Importe", "Concepto", "Estado"};
    return section >= 0 && section < 6 ? QString::fromLatin1(titulos[section]) : QVariant();
}

void NotasClienteModel::setNotas(const QList<NotaCobro> &notas)
{
    beginResetModel();
    m_notas = notas;
    endResetModel();
}

// ---------------------------------------------------------------------------------------------
frmCtasXCobrar::frmCtasXCobrar(const LookupServices &services, QWidget *parent)
    : QDialog(parent), m_services(services),
      m_cobranza(services.connections, services.config, services.prompter)
{
    setObjectName(QStringLiteral("frmCtasXCobrar"));
    setWindowTitle(QStringLiteral("Cuentas por Cobrar"));

    const QDate hoy = QDate::currentDate();
    dtpDesde = new QDateEdit(hoy.addYears(-1));
    dtpDesde->setObjectName(QStringLiteral("dtpDesde"));
    dtpHasta = new QDateEdit(hoy);
    dtpHasta->setObjectName(QStringLiteral("dtpHasta"));
    for (QDateEdit *d : {dtpDesde, dtpHasta}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    }
    cboCliente = new QComboBox;
    cboCliente->setObjectName(QStringLiteral("cboCliente"));
    cboCliente->setMinimumWidth(300);
    cboCliente->addItem(Cobranza::kTodos, Cobranza::kTodos);
    cboEstado = new QComboBox;
    cboEstado->setObjectName(QStringLiteral("cboEstado"));
    cboEstado->addItem(QStringLiteral("Todos"), QString());
    try {
        for (const auto &o : m_cobranza.clientes())
            cboCliente->addItem(o.nombre + QStringLiteral(" (") + o.clave + u')', o.clave);
        for (const auto &o : m_cobranza.estados())
            cboEstado->addItem(o.nombre, o.clave);
    } catch (const std::exception &e) {
        reportError(services.prompter, QStringLiteral("No fue posible leer los clientes"),
                    QStringLiteral("frmCtasXCobrar"), ErrorInfo::fromException(e));
    }
    auto *filtros = new QHBoxLayout;
    const auto filtro = [filtros](const QString &titulo, QWidget *w) {
        auto *l = new QLabel(titulo);
        l->setBuddy(w);
        filtros->addWidget(l);
        filtros->addWidget(w);
    };
    filtro(QStringLiteral("&Desde"), dtpDesde);
    filtro(QStringLiteral("&Hasta"), dtpHasta);
    filtro(QStringLiteral("C&liente"), cboCliente);
    filtro(QStringLiteral("E&stado"), cboEstado);
    filtros->addStretch();

    m_modelo = new CtasXCobrarModel(this);
    grdCuentas = rejilla(m_modelo, "grdCuentas");
    const int anchos[] = {80, 95, 180, 65, 80, 80, 95, 95, 80, 0, 100, 80, 105, 110};
    for (int i = 0; i < int(std::size(anchos)); ++i)
        if (anchos[i] > 0)
            grdCuentas->setColumnWidth(i, anchos[i]);
    grdCuentas->setColumnHidden(9, true); // the state's key; its name is beside it
    m_notas = new NotasClienteModel(this);
    grdNotas = rejilla(m_notas, "grdNotas");
    grdNotas->horizontalHeader()->setSectionResizeMode(4, QHeaderView::Stretch);
    grdNotas->setMaximumHeight(150);

    auto *cobrar = boton(QStringLiteral("C&obrar"), "cmdCobrar");
    auto *agregar = boton(QStringLiteral("&Agregar"), "cmdAgregar");
    auto *modificar = boton(QStringLiteral("&Modificar"), "cmdModificar");
    auto *consultar = boton(QStringLiteral("Co&nsultar"), "cmdConsultar");
    auto *cancelar = boton(QStringLiteral("Cancela&r cuenta"), "cmdCancelar");
    auto *eliminar = boton(QStringLiteral("&Eliminar"), "cmdEliminar");
    auto *estado = boton(QStringLiteral("Estado de c&uenta"), "cmdEstadoCuenta");
    auto *exportar = boton(QStringLiteral("E&xportar"), "cmdExportar");
    auto *cerrar = boton(QStringLiteral("Cerrar"), "cmdCerrar");
    auto *nueva = boton(QStringLiteral("Nue&va nota"), "cmdNuevaNota");
    auto *autorizar = boton(QStringLiteral("Au&torizar nota"), "cmdAutorizarNota");
    auto *cancelarNota = boton(QStringLiteral("Cancelar nota"), "cmdCancelarNota");
    auto *eliminarNota = boton(QStringLiteral("Eliminar nota"), "cmdEliminarNota");
    connect(cobrar, &QPushButton::clicked, this, &frmCtasXCobrar::cmdCobrar);
    connect(agregar, &QPushButton::clicked, this, &frmCtasXCobrar::cmdAgregar);
    connect(modificar, &QPushButton::clicked, this, &frmCtasXCobrar::cmdModificar);
    connect(consultar, &QPushButton::clicked, this, &frmCtasXCobrar::cmdConsultar);
    connect(cancelar, &QPushButton::clicked, this, &frmCtasXCobrar::cmdCancelar);
    connect(eliminar, &QPushButton::clicked, this, &frmCtasXCobrar::cmdEliminar);
    connect(estado, &QPushButton::clicked, this, &frmCtasXCobrar::cmdEstadoCuenta);
    connect(exportar, &QPushButton::clicked, this, &frmCtasXCobrar::cmdExportar);
    connect(cerrar, &QPushButton::clicked, this, &QDialog::reject);
    connect(nueva, &QPushButton::clicked, this, &frmCtasXCobrar::cmdNuevaNota);
    connect(autorizar, &QPushButton::clicked, this, &frmCtasXCobrar::cmdAutorizarNota);
    connect(cancelarNota, &QPushButton::clicked, this, &frmCtasXCobrar::cmdCancelarNota);
    connect(eliminarNota, &QPushButton::clicked, this, &frmCtasXCobrar::cmdEliminarNota);
    // Enter collects what is selected.
    cobrar->setDefault(true);

    auto *botones = new QHBoxLayout;
    for (QPushButton *b : {cobrar, agregar, modificar, consultar, cancelar, eliminar, estado, exportar})
        botones->addWidget(b);
    botones->addStretch();
    botones->addWidget(cerrar);
    auto *notas = new QGroupBox(QStringLiteral("Notas de credito del cliente"));
    auto *notasLayout = new QVBoxLayout(notas);
    notasLayout->addWidget(grdNotas);
    auto *botonesNotas = new QHBoxLayout;
    for (QPushButton *b : {nueva, autorizar, cancelarNota, eliminarNota})
        botonesNotas->addWidget(b);
    botonesNotas->addStretch();
    notasLayout->addLayout(botonesNotas);

    auto *main = new QVBoxLayout(this);
    main->addLayout(filtros);
    main->addWidget(grdCuentas, 1);
    main->addLayout(botones);
    main->addWidget(notas);
    resize(1280, 660);

    m_cargando = false;
    connect(dtpDesde, &QDateEdit::dateChanged, this, &frmCtasXCobrar::cargaGrid);
    connect(dtpHasta, &QDateEdit::dateChanged, this, &frmCtasXCobrar::cargaGrid);
    connect(cboCliente, &QComboBox::currentIndexChanged, this, &frmCtasXCobrar::cargaGrid);
    connect(cboEstado, &QComboBox::currentIndexChanged, this, &frmCtasXCobrar::cargaGrid);
    connect(grdCuentas->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &frmCtasXCobrar::cargaNotas);
    connect(grdCuentas, &QTableView::doubleClicked, this, &frmCtasXCobrar::cmdConsultar);
    cargaGrid();
    grdCuentas->setFocus();
}

void frmCtasXCobrar::abrir(const LookupServices &services, QWidget *parent)
{
    frmCtasXCobrar w(services, parent);
    w.exec();
}

void frmCtasXCobrar::cargaGrid()
{
    if (m_cargando)
        return;
    Cobranza::Filtro f;
    f.desde = dtpDesde->date();
    f.hasta = dtpHasta->date();
    f.cliente = cboCliente->currentData().toString();
    f.estado = cboEstado->currentData().toString();
    try {
        m_modelo->setFilas(m_cobranza.lista(f));
    } catch (const std::exception &e) {
        m_modelo->setFilas({});
        reportError(m_services.prompter, QStringLiteral("No fue posible leer las cuentas por cobrar"),
                    QStringLiteral("frmCtasXCobrar.cargaGrid"), ErrorInfo::fromException(e));
    }
    if (m_modelo->rowCount() > 0)
        grdCuentas->setCurrentIndex(m_modelo->index(0, 0));
    cargaNotas();
}

QString frmCtasXCobrar::clienteActual() const
{
    const QString filtro = cboCliente->currentData().toString();
    if (filtro != Cobranza::kTodos && !filtro.isEmpty())
        return filtro;
    const QModelIndex i = grdCuentas->currentIndex();
    return i.isValid() && i.row() < m_modelo->rowCount() ? m_modelo->filas().at(i.row()).cliente : QString();
}

void frmCtasXCobrar::cargaNotas()
{
    const QString cliente = clienteActual();
    try {
        m_notas->setNotas(cliente.isEmpty() ? QList<NotaCobro>() : m_cobranza.notas(cliente));
    } catch (const std::exception &e) {
        m_notas->setNotas({});
        reportError(m_services.prompter, QStringLiteral("No fue posible leer las notas de credito"),
                    QStringLiteral("frmCtasXCobrar.cargaNotas"), ErrorInfo::fromException(e));
    }
}

QList<qint64> frmCtasXCobrar::cuentasSeleccionadas() const
{
    // In the order they stand in the list: the payment is spread in that order.
    QList<int> filas;
    for (const QModelIndex &i : grdCuentas->selectionModel()->selectedRows())
        if (i.row() < m_modelo->rowCount())
            filas << i.row();
    std::sort(filas.begin(), filas.end());
    QList<qint64> claves;
    for (int r : filas)
        claves << m_modelo->filas().at(r).clave;
    return claves;
}

QList<qint64> frmCtasXCobrar::notasSeleccionadas() const
{
    QList<int> filas;
    for (const QModelIndex &i : grdNotas->selectionModel()->selectedRows())
        if (i.row() < m_notas->rowCount())
            filas << i.row();
    std::sort(filas.begin(), filas.end());
    QList<qint64> claves;
    for (int r : filas)
        claves << m_notas->notas().at(r).clave;
    return claves;
}

bool frmCtasXCobrar::actual(Cobranza::Fila *fila)
{
    const QModelIndex i = grdCuentas->currentIndex();
    if (!i.isValid() || i.row() >= m_modelo->rowCount()) {
        m_services.prompter.information(QStringLiteral("Debe seleccionar una cuenta por cobrar"));
        return false;
    }
    *fila = m_modelo->filas().at(i.row());
    return true;
}

void frmCtasXCobrar::cmdCobrar()
{
    if (m_cobranza.cmdCobrar(cuentasSeleccionadas(), notasSeleccionadas(),
                             [this](CobroDoc &doc) { return frmCobroDoc::abrir(doc, this); }))
        cargaGrid();
}

void frmCtasXCobrar::cmdAgregar()
{
    if (frmCobro::abrir(m_services.connections, m_services.config, m_services.prompter, u'A', 0, this))
        cargaGrid();
}

void frmCtasXCobrar::cmdModificar()
{
    Cobranza::Fila f;
    if (actual(&f) &&
        frmCobro::abrir(m_services.connections, m_services.config, m_services.prompter, u'C', f.clave, this))
        cargaGrid();
}

void frmCtasXCobrar::cmdConsultar()
{
    Cobranza::Fila f;
    if (actual(&f))
        frmCobro::abrir(m_services.connections, m_services.config, m_services.prompter, u'Q', f.clave, this);
}

void frmCtasXCobrar::cmdCancelar()
{
    Cobranza::Fila f;
    if (actual(&f) && CuentaPorCobrar(m_services.connections, m_services.config, m_services.prompter)
                          .cancelarCobro(f.clave))
        cargaGrid();
}

void frmCtasXCobrar::cmdEliminar()
{
    Cobranza::Fila f;
    if (actual(&f) && CuentaPorCobrar(m_services.connections, m_services.config, m_services.prompter)
                          .eliminarRegistro(f.clave))
        cargaGrid();
}

void frmCtasXCobrar::cmdEstadoCuenta()
{
    frmEstadoCuenta::abrir(m_services, clienteActual(), this);
}

void frmCtasXCobrar::cmdExportar()
{
    GridView::exportToFile(*grdCuentas, m_services.prompter, this);
}

void frmCtasXCobrar::cmdNuevaNota()
{
    const QString cliente = clienteActual();
    if (cliente.isEmpty()) {
        m_services.prompter.information(QStringLiteral("Debe seleccionar un cliente"));
        return;
    }
    QString importe;
    if (!m_services.prompter.input(QStringLiteral("Importe de la nota de credito del cliente ") + cliente,
                                   QStringLiteral("Nueva nota de credito"), importe))
        return;
    bool ok = false;
    const Decimal d = Decimal::fromString(QString(importe).remove(u',').remove(u'$').trimmed(), &ok);
    QString concepto;
    if (ok && d.sign() > 0 &&
        !m_services.prompter.input(QStringLiteral("Concepto"), QStringLiteral("Nueva nota de credito"),
                                   concepto))
        return;
    if (m_cobranza.registraNota(cliente, ok ? d : Decimal(), concepto))
        cargaNotas();
}

void frmCtasXCobrar::cmdAutorizarNota()
{
    if (m_cobranza.cmdAutorizarNota(notasSeleccionadas()))
        cargaNotas();
}

void frmCtasXCobrar::cmdCancelarNota()
{
    if (m_cobranza.cmdCancelarNota(notasSeleccionadas()))
        cargaNotas();
}

void frmCtasXCobrar::cmdEliminarNota()
{
    if (m_cobranza.cmdEliminarNota(notasSeleccionadas()))
        cargaNotas();
}
