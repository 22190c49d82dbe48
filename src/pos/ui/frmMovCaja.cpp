#include "frmMovCaja.h"

#include "DbError.h"
#include "Log.h"
#include "Prompter.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QLineEdit *importe(QWidget *padre, const QString &nombre)
{
    auto *l = new QLineEdit(padre);
    l->setObjectName(nombre);
    l->setAlignment(Qt::AlignRight);
    return l;
}

QComboBox *lista(QWidget *padre, const QString &nombre)
{
    auto *c = new QComboBox(padre);
    c->setObjectName(nombre);
    return c;
}

} // namespace

frmMovCaja::frmMovCaja(MovimientoCaja &movimiento, QWidget *parent) : QDialog(parent), m_mov(movimiento)
{
    setObjectName(QStringLiteral("frmMovCaja"));
    setModal(true);
    setWindowTitle(QStringLiteral("Movimiento de caja ") + Corte::codigo(movimiento.corte()));
    resize(620, 300);

    auto *principal = new QVBoxLayout(this);
    tabTipo = new QTabWidget(this);
    tabTipo->setObjectName(QStringLiteral("tabTipo"));
    tabTipo->addTab(creaConcepto(), QStringLiteral("&1 Concepto"));
    tabTipo->addTab(creaFactura(), QStringLiteral("&2 Pago de factura"));
    tabTipo->addTab(creaDeposito(), QStringLiteral("&3 Deposito a cuenta"));
    principal->addWidget(tabTipo);
    for (int i = 0; i < 3; ++i) {
        auto *s = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)), this);
        connect(s, &QShortcut::activated, this, [this, i] { tabTipo->setCurrentIndex(i); });
    }
    connect(tabTipo, &QTabWidget::currentChanged, this, &frmMovCaja::enfocaPestana);

    auto *botones = new QDialogButtonBox(this);
    auto *aceptar = botones->addButton(QStringLiteral("&Aceptar"), QDialogButtonBox::AcceptRole);
    aceptar->setObjectName(QStringLiteral("cmdAceptar"));
    aceptar->setDefault(true);
    botones->addButton(QStringLiteral("&Cerrar"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cmdCerrar"));
    principal->addWidget(botones);
    connect(botones, &QDialogButtonBox::accepted, this, &frmMovCaja::cmdAceptar);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
    enfocaPestana();
}

QWidget *frmMovCaja::creaConcepto()
{
    auto *w = new QWidget(this);
    auto *f = new QFormLayout(w);
    cmbConcepto = lista(w, QStringLiteral("cmbConcepto"));
    cmbConcepto->addItem(QString(), QString());
    m_conceptos = m_mov.conceptos();
    for (const auto &c : m_conceptos)
        cmbConcepto->addItem(c.nombre + (c.ingreso ? QStringLiteral("  (+)") : QStringLiteral("  (-)")),
                             c.clave);
    txtDescripcion = new QLineEdit(w);
    txtDescripcion->setObjectName(QStringLiteral("txtDescripcion"));
    txtDescripcion->setMaxLength(100);
    txtImporteConcepto = importe(w, QStringLiteral("txtImporteConcepto"));
    f->addRow(QStringLiteral("Concepto: *"), cmbConcepto);
    f->addRow(QStringLiteral("Descripcion: *"), txtDescripcion);
    f->addRow(QStringLiteral("Importe: *"), txtImporteConcepto);
    connect(cmbConcepto, &QComboBox::currentIndexChanged, this, &frmMovCaja::cmbConcepto_changed);
    return w;
}

QWidget *frmMovCaja::creaFactura()
{
    auto *w = new QWidget(this);
    auto *f = new QFormLayout(w);
    cmbProveedor = lista(w, QStringLiteral("cmbProveedor"));
    cmbProveedor->addItem(QString(), QString());
    for (const auto &p : m_mov.proveedoresConFacturas())
        cmbProveedor->addItem(p.second + QStringLiteral("  [") + p.first + u']', p.first);
    cmbFactura = lista(w, QStringLiteral("cmbFactura"));
    lblPorPagar = new QLabel(w);
    lblPorPagar->setObjectName(QStringLiteral("lblPorPagar"));
    txtImporteFactura = importe(w, QStringLiteral("txtImporteFactura"));
    f->addRow(QStringLiteral("Proveedor: *"), cmbProveedor);
    f->addRow(QStringLiteral("Factura: *"), cmbFactura);
    f->addRow(QStringLiteral("Por pagar:"), lblPorPagar);
    f->addRow(QStringLiteral("Importe: *"), txtImporteFactura);
    connect(cmbProveedor, &QComboBox::currentIndexChanged, this, &frmMovCaja::cmbProveedor_changed);
    connect(cmbFactura, &QComboBox::currentIndexChanged, this, &frmMovCaja::cmbFactura_changed);
    return w;
}

QWidget *frmMovCaja::creaDeposito()
{
    auto *w = new QWidget(this);
    auto *f = new QFormLayout(w);
    cmbCuenta = lista(w, QStringLiteral("cmbCuenta"));
    cmbCuenta->addItem(QString(), QString());
    for (const auto &c : m_mov.cuentas())
        cmbCuenta->addItem(c.banco + QStringLiteral("  ") + c.clave, c.clave);
    txtImporteDeposito = importe(w, QStringLiteral("txtImporteDeposito"));
    f->addRow(QStringLiteral("Cuenta: *"), cmbCuenta);
    f->addRow(QStringLiteral("Importe: *"), txtImporteDeposito);
    return w;
}

void frmMovCaja::cmbConcepto_changed()
{
    const QString clave = cmbConcepto->currentData().toString();
    for (const auto &c : m_conceptos)
        if (c.clave == clave)
            txtDescripcion->setText(m_mov.descripcionPropuesta(c, QDateTime::currentDateTime()));
}

void frmMovCaja::cmbProveedor_changed()
{
    cmbFactura->clear();
    m_facturas.clear();
    const QString prov = cmbProveedor->currentData().toString();
    if (!prov.isEmpty()) {
        try {
            m_facturas = m_mov.facturasPendientes(prov);
        } catch (const db::DbError &e) {
            writeLog(QStringLiteral("frmMovCaja.facturas: ") + e.description());
        }
    }
    for (const auto &f : m_facturas)
        cmbFactura->addItem(f.clave, f.clave);
    cmbFactura_changed();
}

void frmMovCaja::cmbFactura_changed()
{
    const int i = cmbFactura->currentIndex();
    if (i < 0 || i >= m_facturas.size()) {
        lblPorPagar->clear();
        return;
    }
    const Decimal pendiente = m_facturas.at(i).porPagar();
    lblPorPagar->setText(pendiente.format(QStringLiteral("$#,##0.00")));
    txtImporteFactura->setText(pendiente.toString(2));
}

void frmMovCaja::enfocaPestana()
{
    switch (tabTipo->currentIndex()) {
    case PestanaConcepto:
        cmbConcepto->setFocus();
        break;
    case PestanaFactura:
        cmbProveedor->setFocus();
        break;
    default:
        cmbCuenta->setFocus();
        break;
    }
}

void frmMovCaja::enfoca(MovimientoCaja::Campo campo)
{
    QWidget *w = nullptr;
    switch (campo) {
    case MovimientoCaja::Campo::Concepto:
        w = cmbConcepto;
        break;
    case MovimientoCaja::Campo::Descripcion:
        w = txtDescripcion;
        break;
    case MovimientoCaja::Campo::Importe:
        w = tabTipo->currentIndex() == PestanaConcepto  ? txtImporteConcepto
            : tabTipo->currentIndex() == PestanaFactura ? txtImporteFactura
                                                        : txtImporteDeposito;
        break;
    case MovimientoCaja::Campo::Proveedor:
        w = cmbProveedor;
        break;
    case MovimientoCaja::Campo::Factura:
        w = cmbFactura;
        break;
    case MovimientoCaja::Campo::Cuenta:
        w = cmbCuenta;
        break;
    case MovimientoCaja::Campo::Ninguno:
        return;
    }
    w->setFocus();
    if (auto *l = qobject_cast<QLineEdit *>(w))
        l->selectAll();
}

void frmMovCaja::limpia()
{
    cmbConcepto->setCurrentIndex(0);
    txtDescripcion->clear();
    txtImporteConcepto->clear();
    // A paid invoice leaves the list.
    const QString prov = cmbProveedor->currentData().toString();
    cmbProveedor->setCurrentIndex(-1);
    const int i = cmbProveedor->findData(prov);
    cmbProveedor->setCurrentIndex(i < 0 ? 0 : i);
    cmbCuenta->setCurrentIndex(0);
    txtImporteDeposito->clear();
    enfocaPestana();
}

void frmMovCaja::cmdAceptar()
{
    std::optional<qint64> hecho;
    switch (tabTipo->currentIndex()) {
    case PestanaConcepto:
        hecho = m_mov.registraConcepto(cmbConcepto->currentData().toString(), txtDescripcion->text(),
                                       txtImporteConcepto->text());
        break;
    case PestanaFactura:
        hecho = m_mov.registraPagoFactura(cmbProveedor->currentData().toString(), cmbFactura->currentText(),
                                          txtImporteFactura->text());
        break;
    default:
        hecho = m_mov.registraDeposito(cmbCuenta->currentData().toString(), txtImporteDeposito->text());
        break;
    }
    if (!hecho) {
        enfoca(m_mov.campoRechazado());
        return;
    }
    if (!m_mov.otroMovimiento()) {
        accept();
        return;
    }
    limpia();
}

bool frmMovCaja::abrir(MovimientoCaja &movimiento, QWidget *parent)
{
    if (!movimiento.validaCorte())
        return false;
    try {
        frmMovCaja w(movimiento, parent);
        w.exec();
        return true;
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("frmMovCaja: ") + e.description());
        movimiento.prompter().detailedMessage(Prompter::Icon::Critical,
                                              QStringLiteral("No fue posible abrir los movimientos de caja"),
                                              e.description());
        return false;
    }
}
