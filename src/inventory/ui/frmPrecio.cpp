#include "frmPrecio.h"

#include "ConnectionProvider.h"
#include "Enfoque.h"
#include "Log.h"

#include "Connection.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kFormato = QStringLiteral("0.00");

} // namespace

frmPrecio::frmPrecio(PrecioRapido &rapido, ConnectionProvider &connections, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_rapido(rapido)
{
    setObjectName(QStringLiteral("frmPrecio"));
    setWindowTitle(QStringLiteral("Alta rapida de articulo"));

    auto *clave = new QLineEdit;
    clave->setObjectName(QStringLiteral("art_Clave"));
    clave->setMaxLength(30);
    auto *nombre = new QLineEdit;
    nombre->setObjectName(QStringLiteral("art_Nombre"));
    nombre->setMaxLength(150);
    auto *depto = new QComboBox;
    depto->setObjectName(QStringLiteral("tart_Clave"));
    depto->addItem(QString(), QString());
    try {
        for (db::Recordset rs = connections.getConnection().openRecordset(
                 QStringLiteral("select tart_Clave, tart_Nombre from tTipoArticulo order by tart_Clave"));
             !rs.eof(); rs.moveNext()) {
            const QString k = rs.value(0).toString().trimmed();
            depto->addItem(k + QStringLiteral(" - ") + rs.value(1).toString().trimmed(), k);
        }
    } catch (const std::exception &e) {
        reportError(prompter, QString(), QStringLiteral("frmPrecio"), ErrorInfo::fromException(e));
    }
    for (QWidget *w : {static_cast<QWidget *>(clave), static_cast<QWidget *>(nombre), static_cast<QWidget *>(depto)})
        m_campos.insert(w->objectName(), w);
    connect(clave, &QLineEdit::textChanged, this, [this](const QString &t) { m_rapido.clave = t; });
    connect(nombre, &QLineEdit::textChanged, this, [this](const QString &t) { m_rapido.nombre = t; });
    connect(depto, &QComboBox::currentIndexChanged, this,
            [this, depto] { m_rapido.departamento = depto->currentData().toString(); });

    QLineEdit *costo = numero(QStringLiteral("art_Costo"), false);
    QLineEdit *precio = numero(QStringLiteral("art_Importe"), false);
    QLineEdit *porcentaje = numero(QStringLiteral("art_IVAPorc"), false);
    m_incluyeIva = new QCheckBox(QStringLiteral("El precio incluye IVA"));
    m_incluyeIva->setObjectName(QStringLiteral("chkIncluyeIva"));
    m_incluyeIva->setChecked(m_rapido.incluyeIva());
    connect(costo, &QLineEdit::editingFinished, this, [this, costo] {
        if (!costo->isModified())
            return;
        m_rapido.saleCosto(costo->text());
        muestra();
    });
    connect(precio, &QLineEdit::editingFinished, this, [this, precio] {
        if (!precio->isModified())
            return;
        m_rapido.salePrecio(precio->text());
        muestra();
    });
    connect(porcentaje, &QLineEdit::editingFinished, this, [this, porcentaje] {
        if (!porcentaje->isModified())
            return;
        m_rapido.setImpuestoPorcentaje(porcentaje->text());
        muestra();
    });
    connect(m_incluyeIva, &QCheckBox::toggled, this, [this](bool si) {
        m_rapido.setIncluyeIva(si);
        muestra();
    });

    auto *datos = new QFormLayout;
    datos->addRow(QStringLiteral("Clave *"), clave);
    datos->addRow(QStringLiteral("Nombre *"), nombre);
    datos->addRow(QStringLiteral("Departamento *"), depto);
    datos->addRow(QStringLiteral("Costo"), costo);
    datos->addRow(QStringLiteral("Precio de venta *"), precio);
    datos->addRow(QStringLiteral("Impuesto %"), porcentaje);
    datos->addRow(m_incluyeIva);

    auto *desglose = new QGroupBox(QStringLiteral("Desglose del precio"));
    auto *fd = new QFormLayout(desglose);
    fd->addRow(QStringLiteral("Subtotal"), numero(QStringLiteral("art_SubTotal"), true));
    fd->addRow(QStringLiteral("Margen"), numero(QStringLiteral("art_Margen"), true));
    fd->addRow(QStringLiteral("Utilidad %"), numero(QStringLiteral("art_Utilidad"), true));
    fd->addRow(QStringLiteral("Impuesto"), numero(QStringLiteral("art_IVA"), true));
    fd->addRow(QStringLiteral("Total"), numero(QStringLiteral("art_Total"), true));

    auto *aceptar = new QPushButton(QStringLiteral("&Aceptar"));
    aceptar->setObjectName(QStringLiteral("cmdAceptar"));
    aceptar->setDefault(true);
    auto *cancelar = new QPushButton(QStringLiteral("&Cancelar"));
    cancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cancelar->setAutoDefault(false);
    connect(aceptar, &QPushButton::clicked, this, &frmPrecio::cmdAceptar_Click);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(aceptar);
    botones->addWidget(cancelar);

    auto *arriba = new QHBoxLayout;
    arriba->addLayout(datos, 3);
    arriba->addWidget(desglose, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(arriba);
    layout->addStretch();
    layout->addLayout(botones);
    resize(720, 320);
    muestra();
    clave->setFocus();
}

QLineEdit *frmPrecio::numero(const QString &columna, bool soloLectura)
{
    auto *t = new QLineEdit;
    t->setObjectName(columna);
    t->setAlignment(Qt::AlignRight);
    t->setReadOnly(soloLectura);
    if (soloLectura)
        t->setFocusPolicy(Qt::NoFocus);
    m_campos.insert(columna, t);
    return t;
}

void frmPrecio::setClave(const QString &clave)
{
    qobject_cast<QLineEdit *>(m_campos.value(QStringLiteral("art_Clave")))->setText(clave);
    if (!clave.isEmpty())
        m_campos.value(QStringLiteral("art_Nombre"))->setFocus();
}

void frmPrecio::muestra()
{
    const Precio &p = m_rapido.precio();
    const auto pon = [this](const char *columna, const QString &texto) {
        auto *t = qobject_cast<QLineEdit *>(m_campos.value(QLatin1String(columna)));
        t->setText(texto);
        t->setModified(false);
    };
    pon("art_Costo", m_rapido.costo());
    pon("art_Importe", m_rapido.precioVenta());
    pon("art_IVAPorc", m_rapido.impuestoPorcentaje());
    pon("art_SubTotal", p.subTotal.format(kFormato));
    pon("art_Margen", p.margen.format(kFormato));
    pon("art_Utilidad", p.utilidad.format(kFormato));
    pon("art_IVA", p.impuestoImporte.format(kFormato));
    pon("art_Total", p.total.format(kFormato));
}

void frmPrecio::cmdAceptar_Click()
{
    // An amount still being typed counts, as if its field had been left.
    for (const char *columna : {"art_Costo", "art_Importe", "art_IVAPorc"})
        Q_EMIT qobject_cast<QLineEdit *>(m_campos.value(QLatin1String(columna)))->editingFinished();
    if (!m_rapido.guardaDatos()) {
        enfocaCampo(m_campos.value(m_rapido.campoRechazado()));
        return;
    }
    accept();
}

bool frmPrecio::alta(const LookupServices &services, const CalculoPrecio &calculo, const QString &clave,
                     QWidget *parent)
{
    PrecioRapido rapido(services.connections, services.config, services.prompter, calculo);
    frmPrecio w(rapido, services.connections, services.prompter, parent);
    w.setClave(clave);
    return w.exec() == QDialog::Accepted;
}

frmPrecio::~frmPrecio()
{
    sueltaCampos(this);
}
