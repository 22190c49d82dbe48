#include "frmVenta.h"

#include "ImpresionTicket.h"
#include "frmMovCaja.h"

#include "Corte.h"
#include "ConnectionProvider.h"
#include "DbError.h"
#include "DireccionEntrega.h"
#include "frmDireccionEntrega.h"
#include "PagoCaptura.h"
#include "cConfigure.h"
#include "frmCliente.h"
#include "frmConsultaArt.h"
#include "frmLoteSerie.h"
#include "frmPago.h"
#include "frmPrecio.h"
#include "frmVentaPendiente.h"

#include "Enfoque.h"
#include "Log.h"
#include "Prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QTableView>
#include <QTimer>
#include <QValidator>
#include <QVBoxLayout>

namespace {

// Every character typed into the article field is upper case on entry.
class Mayusculas : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

QString moneda(const Decimal &d)
{
    return PagoCaptura::formatoMoneda(d);
}

QLabel *dato(QWidget *padre, const QString &nombre)
{
    auto *l = new QLabel(padre);
    l->setObjectName(nombre);
    l->setTextInteractionFlags(Qt::NoTextInteraction);
    return l;
}

void agranda(QWidget *w, int puntos, bool negrita = false)
{
    QFont f = w->font();
    f.setPointSize(puntos);
    f.setBold(negrita);
    w->setFont(f);
}

} // namespace

frmVenta::frmVenta(const Servicios &servicios, QWidget *parent)
    : QWidget(parent), m_s(servicios), m_lookup{servicios.connections, servicios.config, servicios.prompter},
      m_precios(servicios.connections, servicios.prompter, servicios.calculo),
      m_captura(VentaCaptura::Servicios{servicios.connections, servicios.config, servicios.prompter,
                                        servicios.permisos, m_precios, servicios.cadenas, servicios.scripts}),
      m_modelo(m_captura),
      m_guarda(servicios.connections, servicios.config, servicios.prompter, servicios.scripts),
      m_mensajes(servicios.connections)
{
    setObjectName(QStringLiteral("frmVenta"));
    // The sale is written first; the ticket follows and a failing printer only asks.
    if (servicios.impresora) {
        m_impresion = std::make_unique<ImpresionTicket>(*servicios.impresora, servicios.config, servicios.prompter,
                                                        servicios.scripts);
        m_impresion->conecta(m_guarda);
    }
    setWindowTitle(QStringLiteral("Ventas"));
    resize(1200, 680);

    m_captura.setAltaRapida([this](const QString &clave) -> std::optional<QString> {
        if (frmPrecio::alta(m_lookup, m_s.calculo, clave, this))
            return clave;
        return std::nullopt;
    });
    m_captura.setPideLoteSerie([this](const QString &, const QString &articulo) {
        return frmLoteSerie::elige(m_s.connections, m_s.prompter, m_captura.almacen(), articulo, Decimal(1),
                                   true, QString(), this);
    });

    if (!m_s.respaldo.isEmpty()) {
        m_respaldo = std::make_unique<RespaldoVenta>(m_s.respaldo);
        m_captura.setRespaldo(m_respaldo.get());
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(6);
    layout->addWidget(creaEncabezado());
    layout->addWidget(creaCaptura());
    auto *centro = new QHBoxLayout;
    grdVenta = new QTableView(this);
    grdVenta->setObjectName(QStringLiteral("grdVenta"));
    grdVenta->setModel(&m_modelo);
    grdVenta->setSelectionBehavior(QAbstractItemView::SelectItems);
    grdVenta->setSelectionMode(QAbstractItemView::SingleSelection);
    grdVenta->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
    grdVenta->verticalHeader()->hide();
    grdVenta->setAlternatingRowColors(true);
    agranda(grdVenta, 11);
    grdVenta->verticalHeader()->setDefaultSectionSize(grdVenta->fontMetrics().height() + 10);
    grdVenta->installEventFilter(this);
    centro->addWidget(grdVenta, 1);
    centro->addWidget(creaTotales());
    layout->addLayout(centro, 1);
    layout->addWidget(creaBotones());
    lblEstado = dato(this, QStringLiteral("lblEstado"));
    lblEstado->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(lblEstado);
    ajustaColumnas();

    connect(&m_captura, &VentaCaptura::totalesCambiaron, this, &frmVenta::muestraTotales);
    connect(&m_captura, &VentaCaptura::clienteCambio, this, &frmVenta::muestraCliente);
    connect(&m_captura, &VentaCaptura::ventaIniciada, this, [this] {
        m_pendiente.reset();
        limpiaCaptura();
        muestraEncabezado();
        muestraCliente();
        muestraTotales();
    });
    connect(&m_captura, &VentaCaptura::lineasCambiaron, this, [this] {
        muestraColumnasOpcionales();
        grdVenta->scrollToBottom();
    });
    connect(&m_captura, &VentaCaptura::lineaCambio, this, &frmVenta::muestraColumnasOpcionales);

    atajo(Qt::Key_F1, &frmVenta::cmdAyuda);
    atajo(Qt::Key_F2, &frmVenta::cmdBuscaCliente);
    atajo(Qt::Key_F3, &frmVenta::cmdPago);
    atajo(Qt::Key_F4, &frmVenta::cmdBorrar);
    atajo(Qt::Key_F5, &frmVenta::cmdTiempoAire);
    atajo(Qt::Key_F6, &frmVenta::cmdInicio);
    atajo(Qt::Key_F7, &frmVenta::cmdConcepto);
    atajo(Qt::Key_F8, &frmVenta::cmdPresupuesto);
    atajo(Qt::Key_F9, &frmVenta::cmdPendiente);
    atajo(Qt::Key_F11, &frmVenta::cmdSalvarPrecio);
    atajo(Qt::Key_F12, &frmVenta::cmdRecuperarVenta);
    atajo(QKeySequence(Qt::CTRL | Qt::Key_I), &frmVenta::cmdImportar);

    m_timerMensajes = new QTimer(this);
    connect(m_timerMensajes, &QTimer::timeout, this, &frmVenta::rotaMensaje);
    const int intervalo = m_s.config.getLong(QStringLiteral("TIMER_VENTAS_MSG"));
    if (intervalo > 0 && m_mensajes.carga() && !m_mensajes.isEmpty()) {
        rotaMensaje();
        m_timerMensajes->start(intervalo);
    }

    try {
        if (const auto abierto = Corte(m_s.connections, m_s.config, m_s.prompter).corteAbierto())
            m_codigoCorte = Corte::codigo(abierto->clave);
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("frmVenta: ") + e.description());
    }
    m_captura.iniciaVenta();
    enfocaArticulo();
}

frmVenta::~frmVenta()
{
    sueltaCampos(this);
    m_timerMensajes->stop();
    grdVenta->setModel(nullptr);
}

frmVenta *frmVenta::abrir(const Servicios &servicios, QWidget *parent)
{
    auto *w = new frmVenta(servicios, parent);
    if (servicios.config.getBool(QStringLiteral("VENTA-PROMISCUA")) && !w->pideVendedor()) {
        delete w;
        return nullptr;
    }
    return w;
}

QWidget *frmVenta::creaEncabezado()
{
    auto *marco = new QFrame(this);
    auto *g = new QGridLayout(marco);
    g->setContentsMargins(0, 0, 0, 0);
    lblMensaje = dato(marco, QStringLiteral("lblMensaje"));
    agranda(lblMensaje, 14, true);
    lblMensaje->setStyleSheet(QStringLiteral("color: #1f4e8c;"));
    g->addWidget(lblMensaje, 0, 0, 1, 4);

    auto *sesion = new QHBoxLayout;
    const auto par = [&](const QString &titulo, QLabel *&valor, const QString &nombre) {
        auto *t = new QLabel(titulo, marco);
        valor = dato(marco, nombre);
        agranda(valor, 10, true);
        sesion->addWidget(t);
        sesion->addWidget(valor);
        sesion->addSpacing(16);
    };
    par(QStringLiteral("Terminal:"), lblTerminal, QStringLiteral("lblTerminal"));
    par(QStringLiteral("Vendedor:"), lblVendedor, QStringLiteral("lblVendedor"));
    par(QStringLiteral("Corte:"), lblCorte, QStringLiteral("lblCorte"));
    sesion->addStretch();
    g->addLayout(sesion, 1, 0, 1, 4);

    auto *cliente = new QHBoxLayout;
    auto *etiqueta = new QLabel(QStringLiteral("C&liente:"), marco);
    txtCliente = new QLineEdit(marco);
    txtCliente->setObjectName(QStringLiteral("txtCliente"));
    txtCliente->setMaximumWidth(140);
    etiqueta->setBuddy(txtCliente);
    auto *buscar = new QPushButton(QStringLiteral("F2 Buscar cliente"), marco);
    buscar->setObjectName(QStringLiteral("cmdBuscaCliente"));
    buscar->setFocusPolicy(Qt::NoFocus);
    lblNombreCliente = dato(marco, QStringLiteral("lblNombreCliente"));
    agranda(lblNombreCliente, 11, true);
    lblDescuentoCliente = dato(marco, QStringLiteral("lblDescuentoCliente"));
    agranda(lblDescuentoCliente, 11, true);
    lblDescuentoCliente->setStyleSheet(QStringLiteral("color: #b00020;"));
    chkAutomatica = new QCheckBox(QStringLiteral("Captura automática"), marco);
    chkAutomatica->setObjectName(QStringLiteral("chkAutomatica"));
    chkAutomatica->setFocusPolicy(Qt::NoFocus);
    chkAutomatica->setChecked(m_s.config.getBool(QStringLiteral("OPERACION-CAPTURA-AUTOMATICA")));
    connect(chkAutomatica, &QCheckBox::toggled, this, [this](bool on) {
        m_s.config.setValue(QStringLiteral("OPERACION-CAPTURA-AUTOMATICA"), on);
        enfocaArticulo();
    });
    cliente->addWidget(etiqueta);
    cliente->addWidget(txtCliente);
    cliente->addWidget(buscar);
    cliente->addWidget(lblNombreCliente, 1);
    cliente->addWidget(lblDescuentoCliente);
    cliente->addSpacing(16);
    auto *importar = new QPushButton(QStringLiteral("Importar (Ctrl+I)"), marco);
    importar->setObjectName(QStringLiteral("cmdImportar"));
    importar->setFocusPolicy(Qt::NoFocus);
    connect(importar, &QPushButton::clicked, this, &frmVenta::cmdImportar);
    cliente->addWidget(importar);
    cliente->addWidget(chkAutomatica);
    g->addLayout(cliente, 2, 0, 1, 4);

    connect(txtCliente, &QLineEdit::returnPressed, this, &frmVenta::txtCliente_returnPressed);
    connect(buscar, &QPushButton::clicked, this, &frmVenta::cmdBuscaCliente);
    txtCliente->installEventFilter(this);
    return marco;
}

QWidget *frmVenta::creaCaptura()
{
    auto *marco = new QFrame(this);
    marco->setFrameShape(QFrame::StyledPanel);
    auto *g = new QGridLayout(marco);
    g->setContentsMargins(8, 4, 8, 4);
    g->setHorizontalSpacing(12);
    g->setVerticalSpacing(2);
    const auto titulo = [&](const QString &texto, int columna, QWidget *buddy = nullptr) {
        auto *t = new QLabel(texto, marco);
        if (buddy)
            t->setBuddy(buddy);
        if (columna > 2)
            t->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        g->addWidget(t, 0, columna);
    };
    txtArticulo = new QLineEdit(marco);
    txtArticulo->setObjectName(QStringLiteral("txtArticulo"));
    txtArticulo->setValidator(new Mayusculas(txtArticulo));
    txtArticulo->setMinimumWidth(230);
    agranda(txtArticulo, 16, true);
    txtCantidad = new QLineEdit(marco);
    txtCantidad->setObjectName(QStringLiteral("txtCantidad"));
    txtCantidad->setAlignment(Qt::AlignRight);
    txtCantidad->setMaximumWidth(100);
    agranda(txtCantidad, 16, true);
    titulo(QStringLiteral("&Artículo"), 0, txtArticulo);
    titulo(QStringLiteral("Ca&ntidad"), 1, txtCantidad);
    titulo(QStringLiteral("Descripción"), 2);
    titulo(QStringLiteral("Precio"), 3);
    titulo(QStringLiteral("Descuento"), 4);
    titulo(QStringLiteral("IVA"), 5);
    titulo(QStringLiteral("Importe"), 6);
    g->addWidget(txtArticulo, 1, 0);
    g->addWidget(txtCantidad, 1, 1);
    lblNombre = dato(marco, QStringLiteral("lblNombre"));
    lblPrecio = dato(marco, QStringLiteral("lblPrecio"));
    lblDescuento = dato(marco, QStringLiteral("lblDescuento"));
    lblIVA = dato(marco, QStringLiteral("lblIVA"));
    lblImporte = dato(marco, QStringLiteral("lblImporte"));
    int columna = 2;
    for (QLabel *l : {lblNombre, lblPrecio, lblDescuento, lblIVA, lblImporte}) {
        agranda(l, 12, l == lblNombre || l == lblImporte);
        if (l != lblNombre)
            l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        g->addWidget(l, 1, columna++);
    }
    g->setColumnStretch(2, 1);

    connect(txtArticulo, &QLineEdit::returnPressed, this, &frmVenta::txtArticulo_returnPressed);
    connect(txtArticulo, &QLineEdit::textEdited, this, [this] { lblCambio->clear(); });
    connect(txtCantidad, &QLineEdit::returnPressed, this, &frmVenta::txtCantidad_returnPressed);
    txtCantidad->installEventFilter(this);
    txtArticulo->installEventFilter(this);
    return marco;
}

QLabel *frmVenta::etiquetaTotal(QLayout *layout, const QString &nombre, const QString &titulo, int puntos)
{
    auto *g = static_cast<QGridLayout *>(layout);
    const int fila = g->rowCount();
    auto *t = new QLabel(titulo, this);
    agranda(t, puntos > 14 ? 14 : 12);
    auto *v = dato(this, nombre);
    agranda(v, puntos, true);
    v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    g->addWidget(t, fila, 0);
    g->addWidget(v, fila, 1);
    return v;
}

QWidget *frmVenta::creaTotales()
{
    auto *marco = new QFrame(this);
    marco->setObjectName(QStringLiteral("fraTotales"));
    marco->setFrameShape(QFrame::StyledPanel);
    marco->setFixedWidth(320);
    auto *v = new QVBoxLayout(marco);
    auto *g = new QGridLayout;
    g->setVerticalSpacing(6);
    lblArticulos = etiquetaTotal(g, QStringLiteral("lblArticulos"), QStringLiteral("Artículos"), 14);
    lblImporteVenta = etiquetaTotal(g, QStringLiteral("lblImporteVenta"), QStringLiteral("Importe"), 14);
    lblRedondeo = etiquetaTotal(g, QStringLiteral("lblRedondeo"), QStringLiteral("Redondeo"), 14);
    lblDescuentos = etiquetaTotal(g, QStringLiteral("lblDescuentos"), QStringLiteral("Descuentos"), 14);
    lblImpuesto = etiquetaTotal(g, QStringLiteral("lblImpuesto"), QStringLiteral("IVA"), 14);
    lblDescCliente = etiquetaTotal(g, QStringLiteral("lblDescCliente"), QStringLiteral("Desc. cliente"), 14);
    v->addLayout(g);
    v->addSpacing(8);
    auto *total = new QLabel(QStringLiteral("TOTAL"), marco);
    agranda(total, 16, true);
    v->addWidget(total);
    lblTotal = dato(marco, QStringLiteral("lblTotal"));
    agranda(lblTotal, 34, true);
    lblTotal->setMinimumWidth(300);
    lblTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblTotal->setStyleSheet(QStringLiteral("color: #0b3d91;"));
    v->addWidget(lblTotal);
    v->addStretch();
    lblCambio = dato(marco, QStringLiteral("lblCambio"));
    agranda(lblCambio, 24, true);
    lblCambio->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblCambio->setWordWrap(true);
    lblCambio->setStyleSheet(QStringLiteral("color: #1b7f2a;"));
    v->addWidget(lblCambio);
    return marco;
}

QWidget *frmVenta::creaBotones()
{
    auto *marco = new QWidget(this);
    auto *h = new QHBoxLayout(marco);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(4);
    const auto boton = [&](const QString &texto, const QString &nombre, void (frmVenta::*comando)()) {
        auto *b = new QPushButton(texto, marco);
        b->setObjectName(nombre);
        b->setFocusPolicy(Qt::NoFocus);
        b->setMinimumHeight(36);
        connect(b, &QPushButton::clicked, this, comando);
        h->addWidget(b);
    };
    boton(QStringLiteral("F1 Buscar"), QStringLiteral("cmdAyuda"), &frmVenta::cmdAyuda);
    boton(QStringLiteral("F3 Cobrar"), QStringLiteral("cmdPago"), &frmVenta::cmdPago);
    boton(QStringLiteral("F4 Borrar"), QStringLiteral("cmdBorrar"), &frmVenta::cmdBorrar);
    boton(QStringLiteral("F5 Tiempo aire"), QStringLiteral("cmdTiempoAire"), &frmVenta::cmdTiempoAire);
    boton(QStringLiteral("F6 Nueva"), QStringLiteral("cmdInicio"), &frmVenta::cmdInicio);
    boton(QStringLiteral("F7 Movimiento"), QStringLiteral("cmdConcepto"), &frmVenta::cmdConcepto);
    boton(QStringLiteral("F8 Presupuesto"), QStringLiteral("cmdPresupuesto"), &frmVenta::cmdPresupuesto);
    boton(QStringLiteral("F9 Pendiente"), QStringLiteral("cmdPendiente"), &frmVenta::cmdPendiente);
    boton(QStringLiteral("F11 Guardar precios"), QStringLiteral("cmdSalvarPrecio"),
          &frmVenta::cmdSalvarPrecio);
    boton(QStringLiteral("F12 Recuperar"), QStringLiteral("cmdRecuperarVenta"), &frmVenta::cmdRecuperarVenta);
    return marco;
}

void frmVenta::atajo(const QKeySequence &tecla, void (frmVenta::*comando)())
{
    auto *s = new QShortcut(tecla, this);
    s->setContext(Qt::WidgetWithChildrenShortcut);
    connect(s, &QShortcut::activated, this, [this, comando] {
        // A dialog of this window (payment, lookups, messages) keeps its keys.
        if (QApplication::activeModalWidget())
            return;
        (this->*comando)();
    });
}

void frmVenta::ajustaColumnas()
{
    const bool tallaColor = m_s.config.getBool(QStringLiteral("MUESTRA-TALLA-COLOR"));
    for (int c = 0; c < VentaModelo::NumColumnas; ++c) {
        bool oculta = false;
        switch (c) {
        case VentaModelo::TallaClave:
        case VentaModelo::ColorClave:
        case VentaModelo::Importe: // the unit price to pay shows in the capture row
        case VentaModelo::Renglon:
        case VentaModelo::Modificado:
        case VentaModelo::TipoPrecio:
        case VentaModelo::ControlInv:
            oculta = true;
            break;
        case VentaModelo::TallaNombre:
        case VentaModelo::ColorNombre:
            oculta = !tallaColor;
            break;
        default:
            break;
        }
        grdVenta->setColumnHidden(c, oculta);
    }
    QHeaderView *h = grdVenta->horizontalHeader();
    h->setSectionResizeMode(QHeaderView::Interactive);
    h->setSectionResizeMode(VentaModelo::Nombre, QHeaderView::Stretch);
    grdVenta->setColumnWidth(VentaModelo::Clave, 130);
    grdVenta->setColumnWidth(VentaModelo::Cantidad, 80);
    grdVenta->setColumnWidth(VentaModelo::Precio, 80);
    grdVenta->setColumnWidth(VentaModelo::Descuento, 85);
    grdVenta->setColumnWidth(VentaModelo::IVA, 50);
    grdVenta->setColumnWidth(VentaModelo::Total, 90);
    grdVenta->setColumnWidth(VentaModelo::Referencia, 100);
    grdVenta->setColumnWidth(VentaModelo::LoteSerie, 90);
    muestraColumnasOpcionales();
}

// The lot/serial and reference columns take room only while a line of the sale has one, so the
// article's name gets the width.
void frmVenta::muestraColumnasOpcionales()
{
    bool lote = false, referencia = false;
    for (const LineaVenta &l : m_captura.lineas()) {
        lote = lote || !l.loteSerie.isEmpty();
        referencia = referencia || !l.referencia.isEmpty();
    }
    grdVenta->setColumnHidden(VentaModelo::LoteSerie, !lote);
    grdVenta->setColumnHidden(VentaModelo::Referencia, !referencia);
}

// --- the capture row

void frmVenta::txtArticulo_returnPressed()
{
    const QString texto = txtArticulo->text().trimmed();
    txtArticulo->clear();
    if (texto.isEmpty())
        return;
    lblCambio->clear();
    m_cola.enqueue(texto);
    procesaCola();
}

// Codes are looked up in the order they were entered. A lookup runs to its end before the next
// key is read; only an event loop nested inside it (a message, a script's DoEvents) lets another
// code arrive, and that code waits in the queue instead of overtaking the one being priced.
void frmVenta::procesaCola()
{
    if (m_buscando)
        return;
    m_buscando = true;
    const auto fin = qScopeGuard([this] { m_buscando = false; });
    while (!m_cola.isEmpty() && !m_pendiente)
        buscaArticulo(m_cola.dequeue());
}

void frmVenta::buscaArticulo(const QString &texto)
{
    const int antes = m_captura.lineas().size();
    const auto cap = m_captura.buscaArticulo(texto);
    const auto devuelve = [&] {
        // A refused code stays in the field, selected: the next key typed replaces it.
        if (m_cola.isEmpty() && txtArticulo->text().isEmpty()) {
            txtArticulo->setText(texto);
            txtArticulo->selectAll();
        }
    };
    if (!cap) {
        limpiaCaptura();
        devuelve();
        enfocaArticulo();
        return;
    }
    muestraCaptura(*cap);
    if (cap->agregado || m_s.config.getBool(QStringLiteral("OPERACION-CAPTURA-AUTOMATICA"))) {
        if (!cap->agregado)
            devuelve();
        else if (m_captura.lineas().size() == antes)
            estado(QStringLiteral("Se sumó a la línea de ") + cap->articulo);
        enfocaArticulo();
        return;
    }
    m_pendiente = *cap;
    txtCantidad->setText(QStringLiteral("1"));
    txtCantidad->setFocus();
    txtCantidad->selectAll();
}

void frmVenta::txtCantidad_returnPressed()
{
    if (!m_pendiente) {
        enfocaArticulo();
        return;
    }
    VentaCaptura::Captura cap = *m_pendiente;
    cap.cantidad = txtCantidad->text().trimmed();
    if (!m_captura.cmdAgregar(cap)) {
        txtCantidad->setFocus();
        txtCantidad->selectAll();
        return;
    }
    m_pendiente.reset();
    txtCantidad->clear();
    enfocaArticulo();
    procesaCola();
}

void frmVenta::muestraCaptura(const VentaCaptura::Captura &c)
{
    lblNombre->setText(c.articulo + QStringLiteral("  ") + c.nombre);
    lblPrecio->setText(moneda(Decimal::fromString(c.precio)));
    lblDescuento->setText(c.descuento + u'%');
    lblIVA->setText(c.iva + u'%');
    lblImporte->setText(moneda(Decimal::fromString(c.total)));
}

void frmVenta::limpiaCaptura()
{
    for (QLabel *l : {lblNombre, lblPrecio, lblDescuento, lblIVA, lblImporte})
        l->clear();
    txtCantidad->clear();
}

// --- what the window shows

void frmVenta::muestraEncabezado()
{
    lblTerminal->setText(m_captura.terminal());
    lblVendedor->setText(m_captura.vendedor());
    lblCorte->setText(m_codigoCorte.isEmpty() ? QStringLiteral("Sin corte abierto") : m_codigoCorte);
}

void frmVenta::muestraCliente()
{
    const VentaCaptura::Cliente &c = m_captura.cliente();
    txtCliente->setText(c.clave);
    lblNombreCliente->setText(c.nombre);
    lblDescuentoCliente->setText(c.descuento.sign() > 0 ? QStringLiteral("-") + c.descuento.toString() + u'%'
                                                        : QString());
}

void frmVenta::muestraTotales()
{
    const TotalesVenta &t = m_captura.totales();
    lblArticulos->setText(t.articulos.toString());
    lblImporteVenta->setText(moneda(t.importe));
    lblRedondeo->setText(moneda(t.redondeo));
    lblDescuentos->setText(moneda(t.descuentoLineas));
    lblImpuesto->setText(moneda(t.impuesto));
    lblDescCliente->setText(t.descuentoCliente.sign() > 0
                                ? QStringLiteral("-") + t.descuentoCliente.toString() + u'%'
                                : QStringLiteral("0%"));
    lblTotal->setText(moneda(t.total));
    // A large sale still fits: the figure shrinks rather than being cut off.
    QFont f = lblTotal->font();
    f.setPointSize(34);
    const int ancho = lblTotal->contentsRect().width();
    while (f.pointSize() > 14 && QFontMetrics(f).horizontalAdvance(lblTotal->text()) > ancho)
        f.setPointSize(f.pointSize() - 2);
    lblTotal->setFont(f);
}

void frmVenta::rotaMensaje()
{
    lblMensaje->setText(m_mensajes.next());
}

void frmVenta::estado(const QString &texto)
{
    lblEstado->setText(texto);
}

void frmVenta::enfocaArticulo()
{
    // After a modal dialog (payment, questions) the window takes the keyboard back, so the next
    // scan lands in the article field even where no window manager hands the activation back.
    if (isVisible() && !QApplication::activeModalWidget())
        activateWindow();
    txtArticulo->setFocus();
}

// --- client

void frmVenta::txtCliente_returnPressed()
{
    const QString clave = txtCliente->text().trimmed();
    if (clave.isEmpty() || clave == m_captura.cliente().clave) {
        muestraCliente();
        enfocaArticulo();
        return;
    }
    if (m_captura.cargaCliente(clave)) {
        enfocaArticulo();
        return;
    }
    muestraCliente();
    txtCliente->setFocus();
    txtCliente->selectAll();
}

void frmVenta::cmdBuscaCliente()
{
    // In the grid F2 keeps its usual meaning: edit the current cell.
    if (QApplication::focusWidget() == grdVenta) {
        grdVenta->edit(grdVenta->currentIndex());
        return;
    }
    const LookupResult r = frmCliente::busca(m_lookup, {}, this);
    if (r.accepted && !r.key.isEmpty())
        m_captura.cargaCliente(r.key);
    muestraCliente();
    enfocaArticulo();
}

// --- commands

void frmVenta::cmdAyuda()
{
    const LookupResult r =
        frmConsultaArt::consultaArticulo(m_lookup, {}, this, txtArticulo->text().trimmed());
    if (r.accepted && !r.key.isEmpty()) {
        txtArticulo->setText(r.key.toUpper());
        txtArticulo->selectAll();
    }
    enfocaArticulo();
}

void frmVenta::cmdPago()
{
    m_pendiente.reset();
    const auto datos = m_captura.preparaPago();
    if (!datos) {
        enfocaArticulo();
        return;
    }
    PagoCaptura pago(m_s.connections, m_s.config, m_s.permisos, m_s.prompter);
    PagoCaptura::Inicio inicio;
    inicio.importeVenta = datos->importe;
    inicio.redondeo = datos->redondeo;
    inicio.porPagar = datos->total;
    // A client type that lists no payment kinds restricts nothing.
    if (!datos->tiposPago.isEmpty())
        inicio.tiposAdmitidos = datos->tiposPago;
    inicio.ticket = datos->ticket;
    inicio.nota = datos->nota;
    inicio.factura = datos->factura;
    if (!datos->entrega.isEmpty())
        inicio.tipoEntrega = datos->entrega;
    inicio.cliente = datos->cliente.clave;
    inicio.aplicaPorcentaje = [this](const QString &concepto, const Decimal &porcentaje) {
        m_captura.aplicaPorcentaje(concepto, porcentaje);
        return m_captura.totales();
    };
    if (!frmPago::abrir(pago, inicio, this)) {
        enfocaArticulo();
        return;
    }

    DatosVenta d;
    d.lineas = m_captura.lineas();
    d.totales = pago.totales().value_or(m_captura.totales());
    d.pago = pago.pagado();
    d.cambio = pago.cambio();
    d.pagos = pago.obtenerPagos();
    d.ticket = pago.ticket();
    d.nota = pago.nota();
    d.factura = pago.factura();
    d.comision = pago.comision();
    try {
        d.entrega = DireccionEntrega::paraTipo(m_s.connections.getConnection(), m_captura.cliente().clave,
                                               pago.tipoEntrega());
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("frmVenta: domicilio de entrega: ") + e.description());
        m_s.prompter.detailedMessage(Prompter::Icon::Critical,
                                     QStringLiteral("No fue posible leer el domicilio del cliente"), e.description());
        enfocaArticulo();
        return;
    }
    // Cancelling the address leaves the sale unwritten, its lines on screen for another try.
    if (d.entrega.domicilio && m_s.config.getBool(QStringLiteral("VENTA-SOLICITA-DIRECCION-DOMICILIO")) &&
        !frmDireccionEntrega::pide(d.entrega, m_s.prompter, this)) {
        estado(QStringLiteral("La venta no se guardo: falta el domicilio de entrega"));
        enfocaArticulo();
        return;
    }
    d.pendientes = m_captura.pendientesCargadas();
    d.cliente = m_captura.cliente().clave;
    d.vendedor = m_captura.vendedor();
    const auto guardada = m_guarda.guardaDatos(d);
    if (!guardada) {
        enfocaArticulo();
        return;
    }
    m_ultima = guardada;
    m_captura.olvidaPendientes();
    if (m_s.config.getBool(QStringLiteral("PREGUNTA-CAMBIO-DE-PRECIO")))
        m_captura.cmdSalvarPrecio();
    nuevaVenta();
    lblCambio->setText(QStringLiteral("Cambio ") + moneda(d.cambio));
    if (m_impresion && m_impresion->ticketImpreso())
        estado(QStringLiteral("Venta guardada, folio ") + QString::number(guardada->folio));
    else
        estado(QStringLiteral("Venta guardada con el folio ") + QString::number(guardada->folio));
}

void frmVenta::cmdBorrar()
{
    if (m_captura.cmdBorrar())
        estado(QString());
    enfocaArticulo();
}

void frmVenta::cmdTiempoAire()
{
    m_s.prompter.information(QStringLiteral("El tiempo aire no esta disponible"));
    enfocaArticulo();
}

void frmVenta::cmdInicio()
{
    if (m_captura.puedeDescartar())
        nuevaVenta();
    else
        enfocaArticulo();
}

void frmVenta::cmdConcepto()
{
    MovimientoCaja movimiento(m_s.connections, m_s.config, m_s.prompter, m_s.scripts);
    movimiento.setImprime(m_s.imprimeMovimiento);
    frmMovCaja::abrir(movimiento, this);
    enfocaArticulo();
}

void frmVenta::cmdPresupuesto()
{
    m_s.prompter.information(QStringLiteral("La impresion de presupuestos no esta disponible"));
    enfocaArticulo();
}

void frmVenta::cmdPendiente()
{
    if (const auto numero = m_captura.ventaPendiente()) {
        lblCambio->clear();
        estado(QStringLiteral("Venta pendiente ") + QString::number(*numero) + QStringLiteral(" guardada"));
    }
    enfocaArticulo();
}

void frmVenta::cmdSalvarPrecio()
{
    if (m_captura.cmdSalvarPrecio())
        estado(QStringLiteral("Precios actualizados"));
    enfocaArticulo();
}

void frmVenta::cmdRecuperarVenta()
{
    const QList<VentaCaptura::Pendiente> lista = m_captura.ventasPendientes();
    if (lista.isEmpty()) {
        estado(QStringLiteral("No hay ventas pendientes"));
        enfocaArticulo();
        return;
    }
    if (const auto p = frmVentaPendiente::elige(lista, this)) {
        if (m_captura.cargaVentaPendiente(p->terminal, p->anio, p->corte, p->numero)) {
            lblCambio->clear();
            muestraEncabezado();
            estado(QStringLiteral("Venta pendiente ") + QString::number(p->numero) +
                   QStringLiteral(" cargada"));
        }
    }
    enfocaArticulo();
}

bool frmVenta::pideVendedor()
{
    if (!m_s.pideUsuario)
        return true;
    const auto usuario = m_s.pideUsuario();
    if (!usuario)
        return false;
    m_captura.setVendedor(*usuario);
    m_captura.cargaDerechos();
    muestraEncabezado();
    return true;
}

void frmVenta::actualizaCorte()
{
    try {
        const auto abierto = Corte(m_s.connections, m_s.config, m_s.prompter).corteAbierto();
        m_codigoCorte = abierto ? Corte::codigo(abierto->clave) : QString();
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("frmVenta: ") + e.description());
    }
    muestraEncabezado();
}

bool frmVenta::nuevaVenta()
{
    actualizaCorte();
    m_captura.iniciaVenta();
    lblCambio->clear();
    if (m_s.config.getBool(QStringLiteral("VENTA-PROMISCUA")))
        pideVendedor();
    if (m_s.config.getBool(QStringLiteral("MODO-CAJA-CENTRAL")))
        cmdRecuperarVenta();
    if (m_s.config.getBool(QStringLiteral("SELECCIONA-CLIENTE-AL-INICIAR-LA-VENTA"))) {
        txtCliente->setFocus();
        txtCliente->selectAll();
    } else {
        enfocaArticulo();
    }
    return true;
}

// --- keys

bool frmVenta::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent *>(event)->key();
        if (watched == grdVenta) {
            if (tecla == Qt::Key_Escape) {
                enfocaArticulo();
                return true;
            }
            if (tecla == Qt::Key_Delete) {
                const int fila = grdVenta->currentIndex().row();
                if (fila >= 0)
                    m_captura.eliminaLinea(fila);
                if (m_captura.lineas().isEmpty())
                    enfocaArticulo();
                return true;
            }
        } else if (watched == txtArticulo && tecla == Qt::Key_Up && !m_captura.lineas().isEmpty()) {
            // Up from the empty field reaches the last line's quantity, to correct it by keys.
            grdVenta->setFocus();
            grdVenta->setCurrentIndex(
                grdVenta->model()->index(int(m_captura.lineas().size()) - 1, VentaModelo::Cantidad));
            return true;
        } else if (watched == txtCantidad && tecla == Qt::Key_Escape) {
            // Leaves the found article without adding it.
            m_pendiente.reset();
            limpiaCaptura();
            enfocaArticulo();
            procesaCola();
            return true;
        } else if (watched == txtCliente && tecla == Qt::Key_Escape) {
            muestraCliente();
            enfocaArticulo();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmVenta::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmVenta::closeEvent(QCloseEvent *event)
{
    if (m_captura.puedeDescartar())
        event->accept();
    else
        event->ignore();
}

void frmVenta::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_iniciada)
        return;
    m_iniciada = true;
    enfocaArticulo();
    if (m_captura.lineasRecuperables() > 0)
        QTimer::singleShot(0, this, &frmVenta::ofreceRespaldo);
    // Central cashier: the held-sale list opens as soon as the window is on screen.
    if (m_s.config.getBool(QStringLiteral("MODO-CAJA-CENTRAL")))
        QTimer::singleShot(0, this, &frmVenta::cmdRecuperarVenta);
}

// A sale an earlier run left unfinished (a crash, a power cut) comes back as it was rung up.
void frmVenta::ofreceRespaldo()
{
    if (m_captura.lineasRecuperables() == 0)
        return;
    if (m_s.prompter.question(m_captura.preguntaRecuperacion(), true))
        m_captura.recuperaRespaldo();
    else
        m_captura.descartaRespaldo();
    enfocaArticulo();
}

void frmVenta::cmdImportar()
{
    const QString archivo = QFileDialog::getOpenFileName(this, QStringLiteral("Importar articulos"),
                                                         QStringLiteral("venta.csv"),
                                                         QStringLiteral("Archivos CSV (*.csv);;Todos los archivos (*)"));
    if (!archivo.isEmpty())
        importaArchivo(archivo);
    enfocaArticulo();
}

void frmVenta::importaArchivo(const QString &archivo)
{
    const VentaCaptura::Importacion r = m_captura.importa(archivo);
    if (r.verRegistro) {
        auto *registro = new QDialog(this);
        registro->setObjectName(QStringLiteral("dlgRegistroImportacion"));
        registro->setAttribute(Qt::WA_DeleteOnClose);
        registro->setWindowTitle(QStringLiteral("Registro de la importacion"));
        auto *texto = new QPlainTextEdit(r.texto(), registro);
        texto->setReadOnly(true);
        auto *cerrar = new QPushButton(QStringLiteral("&Cerrar"), registro);
        connect(cerrar, &QPushButton::clicked, registro, &QDialog::close);
        auto *l = new QVBoxLayout(registro);
        l->addWidget(texto);
        l->addWidget(cerrar, 0, Qt::AlignRight);
        registro->resize(640, 360);
        registro->show();
    }
    enfocaArticulo();
}
