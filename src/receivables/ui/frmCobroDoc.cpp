#include "frmCobroDoc.h"

#include "Enfoque.h"

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
#include <QTableView>
#include <QVBoxLayout>

namespace {

QTableView *rejilla(QAbstractItemModel *modelo, const char *nombre)
{
    auto *g = new QTableView;
    g->setObjectName(QString::fromLatin1(nombre));
    g->setModel(modelo);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->verticalHeader()->hide();
    g->setAlternatingRowColors(true);
    g->horizontalHeader()->setDefaultSectionSize(88);
    g->setFocusPolicy(Qt::ClickFocus);
    return g;
}

} // namespace

frmCobroDoc::frmCobroDoc(CobroDoc &doc, QWidget *parent) : QDialog(parent), m_doc(doc)
{
    setObjectName(QStringLiteral("frmCobroDoc"));
    setWindowTitle(QStringLiteral("Cobro"));

    cboTipo = new QComboBox;
    cboTipo->setObjectName(QStringLiteral("cboTipo"));
    for (const QString &t : CobroDoc::kTiposFijos)
        cboTipo->addItem(t, t);
    for (const CobroDoc::Opcion &o : m_doc.otrosTipos())
        cboTipo->addItem(o.nombre, o.clave);
    cboBanco = new QComboBox;
    cboBanco->setObjectName(QStringLiteral("cboBanco"));
    cboBanco->addItem(QString(), QString());
    for (const CobroDoc::Opcion &o : m_doc.bancos())
        cboBanco->addItem(o.nombre, o.clave);
    cboMoneda = new QComboBox;
    cboMoneda->setObjectName(QStringLiteral("cboMoneda"));
    cboMoneda->addItem(QString(), QString());
    for (const CobroDoc::Opcion &o : m_doc.monedas())
        cboMoneda->addItem(o.nombre, o.clave);
    const auto linea = [](const char *nombre) {
        auto *l = new QLineEdit;
        l->setObjectName(QString::fromLatin1(nombre));
        return l;
    };
    txtImporte = linea("txtImporte");
    txtCheque = linea("txtCheque");
    txtTarjeta = linea("txtTarjeta");
    txtFolio = linea("txtFolio");
    txtImporteMoneda = linea("txtImporteMoneda");
    txtTipoCambio = linea("txtTipoCambio");
    txtReferencia = linea("txtReferencia");
    for (QLineEdit *l : {txtImporte, txtImporteMoneda, txtTipoCambio})
        l->setAlignment(Qt::AlignRight);

    auto *captura = new QFormLayout;
    const auto campo = [this, captura](const QString &titulo, QWidget *w) {
        auto *etiqueta = new QLabel(titulo);
        captura->addRow(etiqueta, w);
        m_campos.insert(w, {w, etiqueta});
        return etiqueta;
    };
    campo(QStringLiteral("&Tipo de pago"), cboTipo)->setBuddy(cboTipo);
    campo(QStringLiteral("&Banco"), cboBanco)->setBuddy(cboBanco);
    campo(QStringLiteral("&Cheque"), txtCheque)->setBuddy(txtCheque);
    campo(QStringLiteral("Ta&rjeta"), txtTarjeta)->setBuddy(txtTarjeta);
    campo(QStringLiteral("&Folio de la tarjeta"), txtFolio)->setBuddy(txtFolio);
    campo(QStringLiteral("&Moneda"), cboMoneda)->setBuddy(cboMoneda);
    campo(QStringLiteral("Importe en m&oneda"), txtImporteMoneda)->setBuddy(txtImporteMoneda);
    campo(QStringLiteral("Tipo de cam&bio"), txtTipoCambio)->setBuddy(txtTipoCambio);
    lblReferencia = campo(QStringLiteral("R&eferencia"), txtReferencia);
    lblReferencia->setBuddy(txtReferencia);
    campo(QStringLiteral("&Importe"), txtImporte)->setBuddy(txtImporte);

    // The pad adds notes and coins to the cash amount.
    fraBilletes = new QGroupBox(QStringLiteral("Billetes y monedas"));
    auto *pad = new QGridLayout(fraBilletes);
    const QList<CobroDoc::Denominacion> denominaciones = m_doc.denominaciones();
    for (int i = 0; i < denominaciones.size(); ++i) {
        auto *b = new QPushButton(denominaciones.at(i).valor.format(QStringLiteral("$#,##0.##")));
        b->setObjectName(QStringLiteral("cmdBillete%1").arg(i));
        b->setToolTip(denominaciones.at(i).nombre);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdBillete(i); });
        pad->addWidget(b, i / 4, i % 4);
    }

    auto *cmdAgregar = new QPushButton(QStringLiteral("&Agregar"));
    cmdAgregar->setObjectName(QStringLiteral("cmdAgregar"));
    auto *cmdQuitar = new QPushButton(QStringLiteral("&Quitar"));
    cmdQuitar->setObjectName(QStringLiteral("cmdQuitar"));
    auto *cmdAceptar = new QPushButton(QStringLiteral("Acep&tar"));
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    auto *cmdCancelar = new QPushButton(QStringLiteral("Cancelar"));
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    // Enter is decided in keyPressEvent: no button takes it on its own.
    for (QPushButton *b : {cmdAgregar, cmdQuitar, cmdAceptar, cmdCancelar})
        b->setAutoDefault(false);
    connect(cmdAgregar, &QPushButton::clicked, this, &frmCobroDoc::cmdAgregar);
    connect(cmdQuitar, &QPushButton::clicked, this, &frmCobroDoc::cmdQuitar);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmCobroDoc::cmdAceptar);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);

    auto *izquierda = new QVBoxLayout;
    izquierda->addLayout(captura);
    auto *lineaBotones = new QHBoxLayout;
    lineaBotones->addWidget(cmdAgregar);
    lineaBotones->addWidget(cmdQuitar);
    lineaBotones->addStretch();
    izquierda->addLayout(lineaBotones);
    izquierda->addWidget(fraBilletes);
    izquierda->addStretch();

    grdPagos = rejilla(m_doc.modeloPagos(), "grdPagos");
    const int anchos[] = {85, 80, 80, 70, 80, 60, 60, 105, 90, 80, 60, 80};
    for (int i = 0; i < int(std::size(anchos)); ++i)
        grdPagos->setColumnWidth(i, anchos[i]);
    grdCuentas = rejilla(m_doc.modeloCuentas(), "grdCuentas");
    grdCuentas->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    auto *derecha = new QVBoxLayout;
    derecha->addWidget(new QLabel(QStringLiteral("Pagos")));
    derecha->addWidget(grdPagos, 1);
    derecha->addWidget(new QLabel(QStringLiteral("Cuentas por cobrar")));
    derecha->addWidget(grdCuentas, 1);

    const auto total = [](const char *nombre) {
        auto *l = new QLabel;
        l->setObjectName(QString::fromLatin1(nombre));
        QFont f = l->font();
        f.setPointSize(f.pointSize() + 4);
        f.setBold(true);
        l->setFont(f);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    lblPorPagar = total("lblPorPagar");
    lblPagado = total("lblPagado");
    lblResta = total("lblResta");
    auto *totales = new QHBoxLayout;
    for (auto [titulo, l] : {std::pair{"Por pagar", lblPorPagar}, std::pair{"Pagado", lblPagado},
                             std::pair{"Resta", lblResta}}) {
        totales->addWidget(new QLabel(QString::fromLatin1(titulo)));
        totales->addWidget(l);
        totales->addSpacing(24);
    }
    totales->addStretch();
    totales->addWidget(cmdAceptar);
    totales->addWidget(cmdCancelar);

    auto *cuerpo = new QHBoxLayout;
    cuerpo->addLayout(izquierda);
    cuerpo->addLayout(derecha, 1);
    auto *main = new QVBoxLayout(this);
    main->addLayout(cuerpo, 1);
    main->addLayout(totales);
    resize(1180, 600);

    connect(cboTipo, &QComboBox::currentIndexChanged, this, &frmCobroDoc::cambiaTipo);
    connect(txtImporteMoneda, &QLineEdit::editingFinished, this, &frmCobroDoc::calculaExtranjera);
    connect(txtTipoCambio, &QLineEdit::editingFinished, this, &frmCobroDoc::calculaExtranjera);
    connect(m_doc.modeloPagos(), &QAbstractItemModel::rowsInserted, this, &frmCobroDoc::muestraTotales);
    connect(m_doc.modeloPagos(), &QAbstractItemModel::rowsRemoved, this, &frmCobroDoc::muestraTotales);
    cambiaTipo();
    muestraTotales();
}

frmCobroDoc::~frmCobroDoc()
{
    sueltaCampos(this);
}

bool frmCobroDoc::abrir(CobroDoc &doc, QWidget *parent)
{
    frmCobroDoc w(doc, parent);
    return w.exec() == QDialog::Accepted && doc.aceptado();
}

QString frmCobroDoc::tipoActual() const
{
    return cboTipo->currentData().toString();
}

void frmCobroDoc::cambiaTipo()
{
    const QString t = tipoActual();
    const bool otro = !CobroDoc::kTiposFijos.contains(t);
    const QHash<QWidget *, bool> visible = {
        {cboTipo, true},
        {cboBanco, t == QLatin1String("CHEQUE")},
        {txtCheque, t == QLatin1String("CHEQUE")},
        {txtTarjeta, t == QLatin1String("TARJETA")},
        {txtFolio, t == QLatin1String("TARJETA")},
        {cboMoneda, t == QLatin1String("EXTRANJERA")},
        {txtImporteMoneda, t == QLatin1String("EXTRANJERA")},
        {txtTipoCambio, t == QLatin1String("EXTRANJERA")},
        {txtReferencia, otro || t == QLatin1String("NOTA")},
        {txtImporte, true},
    };
    for (auto it = m_campos.cbegin(); it != m_campos.cend(); ++it)
        for (QWidget *w : it.value())
            w->setVisible(visible.value(it.key()));
    lblReferencia->setText(t == QLatin1String("NOTA") ? QStringLiteral("Folio de la nota")
                                                      : QStringLiteral("R&eferencia"));
    // The local amount of a foreign payment is computed, not typed.
    txtImporte->setReadOnly(t == QLatin1String("EXTRANJERA"));
    fraBilletes->setVisible(t == QLatin1String("EFECTIVO"));
}

void frmCobroDoc::calculaExtranjera()
{
    if (const auto d = CobroDoc::importeLocal(txtImporteMoneda->text(), txtTipoCambio->text()))
        txtImporte->setText(d->toString(2));
}

void frmCobroDoc::muestraTotales()
{
    lblPorPagar->setText(CobroDoc::formatoMoneda(m_doc.porPagar()));
    lblPagado->setText(CobroDoc::formatoMoneda(m_doc.pagado()));
    lblResta->setText(CobroDoc::formatoMoneda(m_doc.resta()));
}

void frmCobroDoc::limpia()
{
    for (QLineEdit *l :
         {txtImporte, txtCheque, txtTarjeta, txtFolio, txtImporteMoneda, txtTipoCambio, txtReferencia})
        l->clear();
}

bool frmCobroDoc::hayCaptura() const
{
    for (QLineEdit *l :
         {txtImporte, txtCheque, txtTarjeta, txtFolio, txtImporteMoneda, txtTipoCambio, txtReferencia})
        if (l->isVisible() && !l->text().trimmed().isEmpty())
            return true;
    return false;
}

void frmCobroDoc::cmdAgregar()
{
    if (tipoActual() == QLatin1String("EXTRANJERA"))
        calculaExtranjera();
    CobroDoc::Captura k;
    k.tipo = tipoActual();
    k.importe = txtImporte->text();
    k.banco = cboBanco->currentData().toString();
    k.cheque = txtCheque->text();
    k.tarjeta = txtTarjeta->text();
    k.folio = txtFolio->text();
    k.moneda = cboMoneda->currentData().toString();
    k.importeMoneda = txtImporteMoneda->text();
    k.tipoCambio = txtTipoCambio->text();
    k.referencia = txtReferencia->text();
    if (!m_doc.cmdAgregar(k)) {
        using C = CobroDoc::Campo;
        const QHash<C, QWidget *> campos = {{C::Tipo, cboTipo},
                                            {C::Importe, txtImporte},
                                            {C::Banco, cboBanco},
                                            {C::Cheque, txtCheque},
                                            {C::Tarjeta, txtTarjeta},
                                            {C::Folio, txtFolio},
                                            {C::Moneda, cboMoneda},
                                            {C::ImporteMoneda, txtImporteMoneda},
                                            {C::TipoCambio, txtTipoCambio},
                                            {C::Referencia, txtReferencia}};
        QWidget *w = campos.value(m_doc.campoRechazado());
        enfocaCampo(w && w->isVisible() ? w : txtImporte);
        return;
    }
    limpia();
    grdPagos->scrollToBottom();
    enfocaCampo(txtImporte->isReadOnly() ? static_cast<QWidget *>(txtImporteMoneda) : txtImporte);
}

void frmCobroDoc::cmdQuitar()
{
    const QModelIndex i = grdPagos->currentIndex();
    if (i.isValid())
        m_doc.quitaPago(i.row());
}

void frmCobroDoc::cmdBillete(int indice)
{
    if (tipoActual() != QLatin1String("EFECTIVO"))
        return;
    txtImporte->setText(m_doc.cmdBillete(indice, txtImporte->text()));
    txtImporte->setFocus();
}

void frmCobroDoc::cmdAceptar()
{
    if (m_doc.cmdAceptar())
        accept();
    else
        txtImporte->setFocus();
}

void frmCobroDoc::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // What was typed becomes a line; with nothing typed, Enter accepts.
        if (hayCaptura())
            cmdAgregar();
        else
            cmdAceptar();
        return;
    }
    if (event->key() == Qt::Key_Delete && grdPagos->hasFocus()) {
        cmdQuitar();
        return;
    }
    QDialog::keyPressEvent(event);
}
