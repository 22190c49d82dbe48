#include "frmPago.h"

#include "Enfoque.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kOtros = QStringLiteral("OTROS");

QLineEdit *campo(QWidget *padre, const QString &nombre, bool numerico = true)
{
    auto *l = new QLineEdit(padre);
    l->setObjectName(nombre);
    if (numerico) {
        l->setAlignment(Qt::AlignRight);
        QFont f = l->font();
        f.setPointSizeF(f.pointSizeF() * 1.4);
        l->setFont(f);
    }
    return l;
}

QComboBox *lista(QWidget *padre, const QString &nombre, const QList<PagoCaptura::Opcion> &opciones)
{
    auto *c = new QComboBox(padre);
    c->setObjectName(nombre);
    c->addItem(QString(), QString());
    for (const auto &o : opciones)
        c->addItem(o.nombre, o.clave);
    return c;
}

QPushButton *boton(QWidget *padre, const QString &nombre, const QString &texto)
{
    auto *b = new QPushButton(texto, padre);
    b->setObjectName(nombre);
    b->setAutoDefault(false);
    return b;
}

} // namespace

frmPago::frmPago(PagoCaptura &pago, QWidget *parent) : QDialog(parent), m_pago(pago)
{
    setObjectName(QStringLiteral("frmPago"));
    setWindowTitle(pago.titulo());
    setModal(true);
    resize(900, 600);
    m_pago.setAlCambiar([this] { muestraImportes(); });

    auto *principal = new QVBoxLayout(this);
    auto *arriba = new QHBoxLayout;
    auto *izquierda = new QVBoxLayout;
    izquierda->addWidget(creaPestanas());
    izquierda->addWidget(creaDenominaciones());
    arriba->addLayout(izquierda, 3);
    arriba->addWidget(creaImportes(), 2);
    principal->addLayout(arriba);
    principal->addWidget(creaGrid(), 1);
    principal->addWidget(creaPie());

    muestraImportes();
    sugiereImporte();
    enfocaImporte();
}

frmPago::~frmPago()
{
    m_pago.setAlCambiar({});
    sueltaCampos(this);
}

bool frmPago::abrir(PagoCaptura &pago, const PagoCaptura::Inicio &inicio, QWidget *parent)
{
    if (!pago.init(inicio))
        return false;
    frmPago w(pago, parent);
    return w.exec() == QDialog::Accepted && pago.aceptado();
}

QWidget *frmPago::creaPestanas()
{
    tabPagos = new QTabWidget(this);
    tabPagos->setObjectName(QStringLiteral("tabPagos"));
    const auto pagina = [this](const QString &tipo, const QString &titulo) {
        auto *w = new QWidget(tabPagos);
        w->setObjectName(QStringLiteral("tab") + tipo);
        auto *form = new QFormLayout(w);
        m_pestana.insert(tipo, tabPagos->addTab(w, titulo));
        return form;
    };
    const QList<PagoCaptura::Opcion> bancos = m_pago.bancos();

    auto *f = pagina(QStringLiteral("EFECTIVO"), QStringLiteral("&Efectivo"));
    txtEfectivo = campo(this, QStringLiteral("txtEfectivo"));
    f->addRow(QStringLiteral("Importe:"), txtEfectivo);

    f = pagina(QStringLiteral("CHEQUE"), QStringLiteral("C&heque"));
    txtChequeImporte = campo(this, QStringLiteral("txtChequeImporte"));
    cboChequeBanco = lista(this, QStringLiteral("cboChequeBanco"), bancos);
    txtChequeNumero = campo(this, QStringLiteral("txtChequeNumero"), false);
    f->addRow(QStringLiteral("Importe:"), txtChequeImporte);
    f->addRow(QStringLiteral("Banco:"), cboChequeBanco);
    f->addRow(QStringLiteral("Numero de cheque:"), txtChequeNumero);

    f = pagina(QStringLiteral("TARJETA"), QStringLiteral("&Tarjeta"));
    txtTarjetaImporte = campo(this, QStringLiteral("txtTarjetaImporte"));
    cboTarjetaBanco = lista(this, QStringLiteral("cboTarjetaBanco"), bancos);
    txtTarjetaNumero = campo(this, QStringLiteral("txtTarjetaNumero"), false);
    txtTarjetaFolio = campo(this, QStringLiteral("txtTarjetaFolio"), false);
    f->addRow(QStringLiteral("Importe:"), txtTarjetaImporte);
    f->addRow(QStringLiteral("Banco:"), cboTarjetaBanco);
    f->addRow(QStringLiteral("Numero de tarjeta:"), txtTarjetaNumero);
    f->addRow(QStringLiteral("Folio de autorizacion:"), txtTarjetaFolio);

    f = pagina(QStringLiteral("EXTRANJERA"), QStringLiteral("E&xtranjera"));
    cboMoneda = lista(this, QStringLiteral("cboMoneda"), m_pago.monedas());
    txtMonedaImporte = campo(this, QStringLiteral("txtMonedaImporte"));
    txtTipoCambio = campo(this, QStringLiteral("txtTipoCambio"));
    lblMonedaLocal = new QLabel(this);
    lblMonedaLocal->setObjectName(QStringLiteral("lblMonedaLocal"));
    f->addRow(QStringLiteral("Importe en moneda:"), txtMonedaImporte);
    f->addRow(QStringLiteral("Moneda:"), cboMoneda);
    f->addRow(QStringLiteral("Tipo de cambio:"), txtTipoCambio);
    f->addRow(QStringLiteral("Equivale a:"), lblMonedaLocal);
    const auto equivalente = [this] {
        bool a = false, b = false;
        const Decimal m = Decimal::fromString(txtMonedaImporte->text().trimmed(), &a);
        const Decimal t = Decimal::fromString(txtTipoCambio->text().trimmed(), &b);
        lblMonedaLocal->setText(a && b ? PagoCaptura::formatoMoneda((m * t).round(2)) : QString());
    };
    connect(txtMonedaImporte, &QLineEdit::textChanged, this, equivalente);
    connect(txtTipoCambio, &QLineEdit::textChanged, this, equivalente);

    f = pagina(QStringLiteral("CREDITO"), QStringLiteral("C&rédito"));
    txtCreditoImporte = campo(this, QStringLiteral("txtCreditoImporte"));
    txtCreditoRef = campo(this, QStringLiteral("txtCreditoRef"), false);
    txtCreditoRefAdic = campo(this, QStringLiteral("txtCreditoRefAdic"), false);
    lblCreditoRef = new QLabel(m_pago.captionReferencia() + u':', this);
    lblCreditoRef->setObjectName(QStringLiteral("lblCreditoRef"));
    lblCreditoRefAdic = new QLabel(m_pago.captionReferenciaAdic() + u':', this);
    lblCreditoRefAdic->setObjectName(QStringLiteral("lblCreditoRefAdic"));
    f->addRow(QStringLiteral("Importe:"), txtCreditoImporte);
    f->addRow(lblCreditoRef, txtCreditoRef);
    f->addRow(lblCreditoRefAdic, txtCreditoRefAdic);

    f = pagina(kOtros, QStringLiteral("&Otros"));
    cboOtroTipo = lista(this, QStringLiteral("cboOtroTipo"), m_pago.otrosTipos());
    txtOtroImporte = campo(this, QStringLiteral("txtOtroImporte"));
    txtOtroRef = campo(this, QStringLiteral("txtOtroRef"), false);
    f->addRow(QStringLiteral("Tipo de pago:"), cboOtroTipo);
    f->addRow(QStringLiteral("Importe:"), txtOtroImporte);
    f->addRow(QStringLiteral("Referencia:"), txtOtroRef);

    const QStringList admitidos = m_pago.tiposAdmitidos();
    for (auto it = m_pestana.cbegin(); it != m_pestana.cend(); ++it) {
        const bool visible =
            it.key() == kOtros ? !m_pago.otrosTipos().isEmpty() : admitidos.contains(it.key());
        tabPagos->setTabVisible(it.value(), visible);
    }
    for (int i = 0; i < tabPagos->count(); ++i)
        if (tabPagos->isTabVisible(i)) {
            tabPagos->setCurrentIndex(i);
            break;
        }
    connect(tabPagos, &QTabWidget::currentChanged, this, [this] {
        sugiereImporte();
        enfocaImporte();
    });
    return tabPagos;
}

QWidget *frmPago::creaImportes()
{
    auto *marco = new QGroupBox(this);
    auto *g = new QGridLayout(marco);
    const auto cifra = [this, g](const QString &nombre, const QString &titulo, double escala) {
        auto *t = new QLabel(titulo, this);
        auto *v = new QLabel(this);
        v->setObjectName(nombre);
        v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QFont f = v->font();
        f.setPointSizeF(f.pointSizeF() * escala);
        f.setBold(escala > 1.5);
        v->setFont(f);
        t->setFont(f);
        const int fila = g->rowCount();
        g->addWidget(t, fila, 0);
        g->addWidget(v, fila, 1);
        return v;
    };
    lblImporteVenta = cifra(QStringLiteral("lblImporteVenta"), QStringLiteral("Importe"), 1.0);
    lblRedondeo = cifra(QStringLiteral("lblRedondeo"), QStringLiteral("Redondeo"), 1.0);
    lblPorPagar = cifra(QStringLiteral("lblPorPagar"), QStringLiteral("Por pagar"), 2.0);
    lblPagado = cifra(QStringLiteral("lblPagado"), QStringLiteral("Pagado"), 2.0);
    lblResta = cifra(QStringLiteral("lblResta"), QStringLiteral("Resta"), 2.0);
    lblCambio = cifra(QStringLiteral("lblCambio"), QStringLiteral("Cambio"), 2.0);
    lblCambio->setStyleSheet(QStringLiteral("color: #0a6e0a"));
    return marco;
}

QWidget *frmPago::creaDenominaciones()
{
    auto *marco = new QWidget(this);
    auto *g = new QGridLayout(marco);
    g->setContentsMargins(0, 0, 0, 0);
    const auto denos = m_pago.denominaciones();
    const bool efectivo = m_pago.admitido(QStringLiteral("EFECTIVO"));
    for (int i = 0; i < denos.size(); ++i) {
        auto *b = boton(marco, QStringLiteral("cmdDeno%1").arg(i), denos.at(i).texto);
        b->setMinimumHeight(44);
        b->setFocusPolicy(Qt::NoFocus); // a quick button; the keyboard stays in the amount field
        b->setEnabled(efectivo);
        connect(b, &QPushButton::clicked, this, [this, i] { resultado(m_pago.agregaDenominacion(i)); });
        g->addWidget(b, i / 6, i % 6);
    }
    marco->setVisible(!denos.isEmpty());
    return marco;
}

QWidget *frmPago::creaGrid()
{
    auto *marco = new QWidget(this);
    auto *h = new QHBoxLayout(marco);
    h->setContentsMargins(0, 0, 0, 0);
    grdPagos = new QTableView(marco);
    grdPagos->setObjectName(QStringLiteral("grdPagos"));
    grdPagos->setModel(m_pago.modelo());
    grdPagos->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdPagos->setSelectionMode(QAbstractItemView::SingleSelection);
    grdPagos->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdPagos->verticalHeader()->setVisible(false);
    // Eleven columns side by side without a scroll bar: each as wide as its contents.
    grdPagos->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grdPagos->horizontalHeader()->setStretchLastSection(true);
    h->addWidget(grdPagos, 1);
    auto *v = new QVBoxLayout;
    auto *quitar = boton(marco, QStringLiteral("cmdQuitar"), QStringLiteral("&Quitar"));
    auto *todos = boton(marco, QStringLiteral("cmdQuitarTodos"), QStringLiteral("Quitar t&odos"));
    connect(quitar, &QPushButton::clicked, this, &frmPago::cmdQuitar);
    connect(todos, &QPushButton::clicked, this, &frmPago::cmdQuitarTodos);
    v->addWidget(quitar);
    v->addWidget(todos);
    v->addStretch();
    h->addLayout(v);
    return marco;
}

QWidget *frmPago::creaPie()
{
    auto *marco = new QWidget(this);
    auto *h = new QHBoxLayout(marco);
    h->setContentsMargins(0, 0, 0, 0);

    fraComision = new QGroupBox(QStringLiteral("Cargo por tarjeta"), marco);
    fraComision->setObjectName(QStringLiteral("fraComision"));
    auto *fc = new QHBoxLayout(fraComision);
    txtPorcentaje = campo(fraComision, QStringLiteral("txtPorcentaje"));
    txtPorcentaje->setMaximumWidth(70);
    lblComision = new QLabel(QStringLiteral("0.00"), fraComision);
    lblComision->setObjectName(QStringLiteral("lblComision"));
    auto *cargo = boton(fraComision, QStringLiteral("cmdCargo"), QStringLiteral("A&plicar cargo"));
    fc->addWidget(new QLabel(QStringLiteral("%"), fraComision));
    fc->addWidget(txtPorcentaje);
    fc->addWidget(lblComision);
    fc->addWidget(cargo);
    connect(txtPorcentaje, &QLineEdit::textChanged, this, [this](const QString &t) {
        bool ok = false;
        const Decimal p = Decimal::fromString(t.trimmed(), &ok);
        if (!m_pago.cargoAplicado())
            m_pago.setPorcentajeComision(ok && p.sign() > 0 ? p : Decimal());
        lblComision->setText(m_pago.comisionCalculada().format(QStringLiteral("0.00")));
    });
    connect(cargo, &QPushButton::clicked, this, &frmPago::cmdCargo);
    fraComision->setVisible(m_pago.comisionVisible());
    h->addWidget(fraComision);

    auto *ticket = new QGroupBox(QStringLiteral("Ticket"), marco);
    auto *ft = new QHBoxLayout(ticket);
    optTicketSi = new QRadioButton(QStringLiteral("Sí"), ticket);
    optTicketSi->setObjectName(QStringLiteral("optTicketSi"));
    optTicketNo = new QRadioButton(QStringLiteral("No"), ticket);
    optTicketNo->setObjectName(QStringLiteral("optTicketNo"));
    (m_pago.ticket() ? optTicketSi : optTicketNo)->setChecked(true);
    connect(optTicketSi, &QRadioButton::toggled, this, [this](bool si) { m_pago.setTicket(si); });
    ft->addWidget(optTicketSi);
    ft->addWidget(optTicketNo);
    h->addWidget(ticket);

    auto *entrega = new QGroupBox(QStringLiteral("Entrega"), marco);
    auto *fe = new QHBoxLayout(entrega);
    cboEntrega = new QComboBox(entrega);
    cboEntrega->setObjectName(QStringLiteral("cboEntrega"));
    for (const QString &item : m_pago.tiposEntrega()) {
        cboEntrega->addItem(item.section(u'\t', 0, 0), item);
        if (item.section(u'\t', 1, 1) == m_pago.tipoEntrega())
            cboEntrega->setCurrentIndex(cboEntrega->count() - 1);
    }
    connect(cboEntrega, &QComboBox::currentIndexChanged, this,
            [this] { m_pago.setTipoEntrega(cboEntrega->currentData().toString().section(u'\t', 1, 1)); });
    fe->addWidget(cboEntrega);
    h->addWidget(entrega);
    h->addStretch();

    auto *nota = boton(marco, QStringLiteral("cmdNota"), QStringLiteral("&Nota"));
    auto *factura = boton(marco, QStringLiteral("cmdFactura"), QStringLiteral("&Factura"));
    auto *aceptar = boton(marco, QStringLiteral("cmdAceptar"), QStringLiteral("&Aceptar"));
    auto *cancelar = boton(marco, QStringLiteral("cmdCancelar"), QStringLiteral("&Cancelar"));
    connect(nota, &QPushButton::clicked, this, &frmPago::cmdNota);
    connect(factura, &QPushButton::clicked, this, &frmPago::cmdFactura);
    connect(aceptar, &QPushButton::clicked, this, &frmPago::cmdAceptar);
    connect(cancelar, &QPushButton::clicked, this, &frmPago::reject);
    for (auto *b : {nota, factura, aceptar, cancelar}) {
        b->setMinimumHeight(40);
        h->addWidget(b);
    }
    if (m_pago.cobroRapido()) {
        auto *rapido = boton(marco, QStringLiteral("cmdCobroRapido"), QStringLiteral("Cobro rápido (F12)"));
        rapido->setMinimumHeight(40);
        connect(rapido, &QPushButton::clicked, this, &frmPago::cmdCobroRapido);
        h->insertWidget(h->count() - 4, rapido);
    }
    return marco;
}

QString frmPago::tipoActual() const
{
    return m_pestana.key(tabPagos->currentIndex());
}

PagoCaptura::Captura frmPago::captura() const
{
    PagoCaptura::Captura k;
    const QString tipo = tipoActual();
    k.tipo = tipo;
    if (tipo == QLatin1String("EFECTIVO")) {
        k.importe = txtEfectivo->text();
    } else if (tipo == QLatin1String("CHEQUE")) {
        k.importe = txtChequeImporte->text();
        k.banco = cboChequeBanco->currentData().toString();
        k.cheque = txtChequeNumero->text();
    } else if (tipo == QLatin1String("TARJETA")) {
        k.importe = txtTarjetaImporte->text();
        k.banco = cboTarjetaBanco->currentData().toString();
        k.tarjeta = txtTarjetaNumero->text();
        k.folio = txtTarjetaFolio->text();
    } else if (tipo == QLatin1String("EXTRANJERA")) {
        k.moneda = cboMoneda->currentData().toString();
        k.importeMoneda = txtMonedaImporte->text();
        k.tipoCambio = txtTipoCambio->text();
    } else if (tipo == QLatin1String("CREDITO")) {
        k.importe = txtCreditoImporte->text();
        k.referencia = txtCreditoRef->text();
        k.referenciaAdic = txtCreditoRefAdic->text();
    } else {
        k.tipo = cboOtroTipo->currentData().toString();
        k.importe = txtOtroImporte->text();
        k.referencia = txtOtroRef->text();
    }
    return k;
}

void frmPago::limpiaPestana()
{
    for (QLineEdit *l : {txtEfectivo, txtChequeImporte, txtChequeNumero, txtTarjetaImporte, txtTarjetaNumero,
                         txtTarjetaFolio, txtMonedaImporte, txtCreditoImporte, txtCreditoRef,
                         txtCreditoRefAdic, txtOtroImporte, txtOtroRef})
        l->clear();
}

static QLineEdit *importeDe(const QString &tipo, QLineEdit *efectivo, QLineEdit *cheque, QLineEdit *tarjeta,
                            QLineEdit *moneda, QLineEdit *credito, QLineEdit *otro)
{
    if (tipo == QLatin1String("EFECTIVO"))
        return efectivo;
    if (tipo == QLatin1String("CHEQUE"))
        return cheque;
    if (tipo == QLatin1String("TARJETA"))
        return tarjeta;
    if (tipo == QLatin1String("EXTRANJERA"))
        return moneda;
    if (tipo == QLatin1String("CREDITO"))
        return credito;
    return otro;
}

void frmPago::sugiereImporte()
{
    const QString tipo = tipoActual();
    QLineEdit *l = importeDe(tipo, txtEfectivo, txtChequeImporte, txtTarjetaImporte, txtMonedaImporte,
                             txtCreditoImporte, txtOtroImporte);
    if (l->text().trimmed().isEmpty())
        l->setText(m_pago.importeSugerido(tipo));
}

void frmPago::enfocaImporte()
{
    enfocaCampo(importeDe(tipoActual(), txtEfectivo, txtChequeImporte, txtTarjetaImporte, txtMonedaImporte,
                          txtCreditoImporte, txtOtroImporte));
}

void frmPago::enfocaRechazado()
{
    const QString tipo = tipoActual();
    using C = PagoCaptura::Campo;
    switch (m_pago.campoRechazado()) {
    case C::Ninguno:
        return;
    case C::Tipo:
        enfocaCampo(tipo == kOtros ? static_cast<QWidget *>(cboOtroTipo) : tabPagos->tabBar());
        return;
    case C::Banco:
        enfocaCampo(tipo == QLatin1String("CHEQUE") ? cboChequeBanco : cboTarjetaBanco);
        return;
    case C::Cheque:
        enfocaCampo(txtChequeNumero);
        return;
    case C::Moneda:
        enfocaCampo(cboMoneda);
        return;
    case C::ImporteMoneda:
        enfocaCampo(txtMonedaImporte);
        return;
    case C::TipoCambio:
        enfocaCampo(txtTipoCambio);
        return;
    case C::Referencia:
        enfocaCampo(tipo == kOtros ? txtOtroRef : txtCreditoRef);
        return;
    case C::ReferenciaAdic:
        enfocaCampo(txtCreditoRefAdic);
        return;
    case C::Importe:
        enfocaImporte();
        return;
    }
}

void frmPago::muestraImportes()
{
    lblImporteVenta->setText(PagoCaptura::formatoMoneda(m_pago.importeVenta()));
    lblRedondeo->setText(PagoCaptura::formatoMoneda(m_pago.redondeo()));
    lblPorPagar->setText(PagoCaptura::formatoMoneda(m_pago.porPagar()));
    lblPagado->setText(PagoCaptura::formatoMoneda(m_pago.pagado()));
    lblResta->setText(PagoCaptura::formatoMoneda(m_pago.resta()));
    lblCambio->setText(PagoCaptura::formatoMoneda(m_pago.cambio()));
    lblComision->setText(m_pago.comisionCalculada().format(QStringLiteral("0.00")));
}

void frmPago::resultado(PagoCaptura::Resultado r)
{
    muestraImportes();
    switch (r) {
    case PagoCaptura::Resultado::Completo:
        accept();
        return;
    case PagoCaptura::Resultado::Rechazado:
        enfocaRechazado();
        return;
    case PagoCaptura::Resultado::Agregado:
        limpiaPestana();
        sugiereImporte();
        enfocaImporte();
        return;
    }
}

void frmPago::cmdAgregar()
{
    const auto r = m_pago.agregarPago(captura());
    if (r == PagoCaptura::Resultado::Rechazado) {
        muestraImportes();
        enfocaRechazado();
        return;
    }
    resultado(r);
}

void frmPago::cmdQuitar()
{
    const QModelIndex i = grdPagos->currentIndex();
    if (!i.isValid())
        return;
    m_pago.quitaPago(i.row());
    muestraImportes();
}

void frmPago::cmdQuitarTodos()
{
    m_pago.quitaTodos();
    muestraImportes();
    sugiereImporte();
    enfocaImporte();
}

void frmPago::cmdAceptar()
{
    const auto r = m_pago.terminar();
    if (r == PagoCaptura::Resultado::Completo)
        accept();
    else
        enfocaImporte();
}

void frmPago::cmdNota()
{
    if (m_pago.cmdNota() == PagoCaptura::Resultado::Completo)
        accept();
    else
        enfocaImporte();
}

void frmPago::cmdFactura()
{
    if (m_pago.cmdFactura() == PagoCaptura::Resultado::Completo)
        accept();
    else
        enfocaImporte();
}

void frmPago::cmdCargo()
{
    if (m_pago.aplicaCargo())
        txtPorcentaje->setEnabled(false);
    muestraImportes();
}

void frmPago::cmdCobroRapido()
{
    if (m_pago.cobroRapidoEfectivo() == PagoCaptura::Resultado::Completo) {
        muestraImportes();
        accept();
    } else {
        muestraImportes();
        enfocaImporte();
    }
}

void frmPago::reject()
{
    m_pago.cancelar();
    QDialog::reject();
}

void frmPago::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *b = qobject_cast<QPushButton *>(QApplication::focusWidget())) {
            b->click();
        } else if (QApplication::focusWidget() == txtPorcentaje) {
            cmdCargo();
        } else if (QApplication::focusWidget() == grdPagos) {
            enfocaImporte();
        } else {
            cmdAgregar();
        }
        event->accept();
        return;
    case Qt::Key_F12:
        if (m_pago.cobroRapido()) {
            cmdCobroRapido();
            event->accept();
            return;
        }
        break;
    case Qt::Key_Delete:
        if (QApplication::focusWidget() == grdPagos) {
            cmdQuitar();
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}
