#include "frmCobro.h"

#include "Enfoque.h"
#include "Log.h"
#include "Prompter.h"

#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmCobro::frmCobro(ConnectionProvider &connections, cConfigure &config, Prompter &prompter, QChar modo,
                   qint64 clave, QWidget *parent)
    : QDialog(parent), m_reglas(connections, config, prompter), m_modo(modo), m_clave(clave)
{
    setObjectName(QStringLiteral("frmCobro"));
    setWindowTitle(modo == u'A'   ? QStringLiteral("Nueva cuenta por cobrar")
                   : modo == u'C' ? QStringLiteral("Modificar cuenta por cobrar")
                                  : QStringLiteral("Cuenta por cobrar"));
    cboCliente = new QComboBox;
    cboCliente->setObjectName(QStringLiteral("cboCliente"));
    cboCliente->setEditable(true);
    cboCliente->setInsertPolicy(QComboBox::NoInsert);
    cboCliente->completer()->setFilterMode(Qt::MatchContains);
    cboCliente->completer()->setCompletionMode(QCompleter::PopupCompletion);
    cboEstado = new QComboBox;
    cboEstado->setObjectName(QStringLiteral("cboEstado"));
    txtImporte = new QLineEdit;
    txtImporte->setObjectName(QStringLiteral("txtImporte"));
    txtImporte->setAlignment(Qt::AlignRight);
    txtReferencia = new QLineEdit;
    txtReferencia->setObjectName(QStringLiteral("txtReferencia"));
    txtReferencia->setMaxLength(100);
    txtReferenciaAdic = new QLineEdit;
    txtReferenciaAdic->setObjectName(QStringLiteral("txtReferenciaAdic"));
    txtReferenciaAdic->setMaxLength(100);
    txtVencimiento = new QLineEdit;
    txtVencimiento->setObjectName(QStringLiteral("txtVencimiento"));
    txtVencimiento->setPlaceholderText(QStringLiteral("dd/mm/aaaa"));
    lblClave = new QLabel;
    lblPagado = new QLabel;
    lblRegistro = new QLabel;
    try {
        for (const auto &o : m_reglas.clientes())
            cboCliente->addItem(o.nombre + QStringLiteral(" (") + o.clave + u')', o.clave);
        cboEstado->addItem(QString(), QString());
        for (const auto &o : m_reglas.estados())
            cboEstado->addItem(o.nombre, o.clave);
    } catch (const std::exception &e) {
        reportError(prompter, QStringLiteral("No fue posible leer los clientes"), QStringLiteral("frmCobro"),
                    ErrorInfo::fromException(e));
    }

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Clave"), lblClave);
    form->addRow(QStringLiteral("&Cliente *"), cboCliente);
    form->addRow(QStringLiteral("&Importe *"), txtImporte);
    form->addRow(QStringLiteral("&Referencia 1"), txtReferencia);
    form->addRow(QStringLiteral("R&eferencia 2"), txtReferenciaAdic);
    form->addRow(QStringLiteral("E&stado *"), cboEstado);
    form->addRow(QStringLiteral("&Vencimiento"), txtVencimiento);
    form->addRow(QStringLiteral("Registro"), lblRegistro);
    form->addRow(QStringLiteral("Pagado"), lblPagado);
    for (QWidget *w : {static_cast<QWidget *>(cboCliente), static_cast<QWidget *>(txtImporte),
                       static_cast<QWidget *>(txtReferencia), static_cast<QWidget *>(txtReferenciaAdic),
                       static_cast<QWidget *>(cboEstado), static_cast<QWidget *>(txtVencimiento)})
        if (auto *l = qobject_cast<QLabel *>(form->labelForField(w)))
            l->setBuddy(w);

    auto *botones = new QDialogButtonBox(modo == u'Q' ? QDialogButtonBox::Close
                                                      : QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    cmdOk = botones->button(QDialogButtonBox::Ok);
    if (cmdOk) {
        cmdOk->setObjectName(QStringLiteral("cmdAceptar"));
        cmdOk->setDefault(true);
        cmdOk->setText(QStringLiteral("&Aceptar"));
        connect(cmdOk, &QPushButton::clicked, this, &frmCobro::cmdAceptar);
    }
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addWidget(botones);
    resize(560, 360);

    // Adding: the due date follows from the client's credit term once written.
    txtVencimiento->setEnabled(modo == u'C');
    if (modo == u'A') {
        lblClave->setText(QStringLiteral("(nueva)"));
        cboCliente->setCurrentIndex(-1);
        cboEstado->setCurrentIndex(cboEstado->findData(QStringLiteral("PENDIENTE")));
        return;
    }
    const auto r = m_reglas.consultarRegistro(clave);
    if (!r) {
        m_cargado = false;
        return;
    }
    lblClave->setText(QString::number(r->clave));
    int i = cboCliente->findData(r->cliente);
    if (i < 0) {
        cboCliente->addItem(r->nombreCliente + QStringLiteral(" (") + r->cliente + u')', r->cliente);
        i = cboCliente->count() - 1;
    }
    cboCliente->setCurrentIndex(i);
    txtImporte->setText(r->importe.toString(2));
    txtReferencia->setText(r->referencia);
    txtReferenciaAdic->setText(r->referenciaAdic);
    if (cboEstado->findData(r->estado) < 0)
        cboEstado->addItem(r->estado, r->estado);
    cboEstado->setCurrentIndex(cboEstado->findData(r->estado));
    txtVencimiento->setText(r->vencimiento.toString(QStringLiteral("dd/MM/yyyy")));
    lblRegistro->setText(r->registro.toString(QStringLiteral("dd/MM/yyyy HH:mm")));
    lblPagado->setText(r->pagado.format(QStringLiteral("$#,##0.00")));
    if (modo == u'Q')
        for (QWidget *w : {static_cast<QWidget *>(cboCliente), static_cast<QWidget *>(txtImporte),
                           static_cast<QWidget *>(txtReferencia), static_cast<QWidget *>(txtReferenciaAdic),
                           static_cast<QWidget *>(cboEstado), static_cast<QWidget *>(txtVencimiento)})
            w->setEnabled(false);
}

bool frmCobro::abrir(ConnectionProvider &connections, cConfigure &config, Prompter &prompter, QChar modo,
                     qint64 clave, QWidget *parent)
{
    frmCobro w(connections, config, prompter, modo, clave, parent);
    if (!w.cargado())
        return false;
    w.exec();
    return w.m_escrito;
}

CuentaPorCobrar::Datos frmCobro::datos() const
{
    CuentaPorCobrar::Datos d;
    d.clave = m_clave;
    // A name typed without choosing from the list still names its client when it matches one.
    const int i = cboCliente->findText(cboCliente->currentText());
    d.cliente = i >= 0 ? cboCliente->itemData(i).toString() : QString();
    if (cboCliente->currentText().trimmed().isEmpty())
        d.cliente.clear();
    else if (i < 0)
        d.cliente = cboCliente->currentText().trimmed();
    d.importe = txtImporte->text();
    d.referencia = txtReferencia->text();
    d.referenciaAdic = txtReferenciaAdic->text();
    d.estado = cboEstado->currentData().toString();
    d.vencimiento = txtVencimiento->text();
    return d;
}

void frmCobro::limpia()
{
    cboCliente->setCurrentIndex(-1);
    cboCliente->setEditText(QString());
    for (QLineEdit *l : {txtImporte, txtReferencia, txtReferenciaAdic})
        l->clear();
    cboCliente->setFocus();
}

void frmCobro::cmdAceptar()
{
    const CuentaPorCobrar::Datos d = datos();
    bool ok = false;
    bool continuar = false;
    if (m_modo == u'A')
        ok = m_reglas.agregarRegistro(d, &continuar).has_value();
    else if (m_modo == u'C')
        ok = m_reglas.modificarRegistro(d);
    if (!ok) {
        using C = CuentaPorCobrar::Campo;
        const QHash<C, QWidget *> campos = {{C::Cliente, cboCliente},
                                            {C::Importe, txtImporte},
                                            {C::Estado, cboEstado},
                                            {C::Vencimiento, txtVencimiento}};
        enfocaCampo(campos.value(m_reglas.campoRechazado()));
        return;
    }
    m_escrito = true;
    if (continuar) {
        limpia();
        return;
    }
    accept();
}
