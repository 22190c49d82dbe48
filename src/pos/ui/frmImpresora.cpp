#include "frmImpresora.h"

#include "ImpresoraSistema.h"
#include "PaginaCodigos.h"
#include "cTicketPrinter.h"
#include "frmVistaPrevia.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

using Impresora = ConfiguracionImpresoras::Impresora;

frmImpresora::frmImpresora(cConfigure &config, cTicketPrinter &impresora, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_impresora(impresora), m_reglas(config, impresora, prompter)
{
    setObjectName(QStringLiteral("frmImpresora"));
    setWindowTitle(QStringLiteral("Impresoras"));
    auto *layout = new QVBoxLayout(this);
    tabs = new QTabWidget(this);
    tabs->addTab(creaSalida(m_recibos, QStringLiteral("txtRecibos"), int(Impresora::Recibos)),
                 QStringLiteral("Recibos"));
    tabs->addTab(creaSalida(m_nota, QStringLiteral("txtNota"), int(Impresora::Nota)), QStringLiteral("Notas"));

    auto *reportes = new QWidget(this);
    auto *formReportes = new QFormLayout(reportes);
    cmbReportes = new QComboBox(reportes);
    cmbReportes->setObjectName(QStringLiteral("cmbReportes"));
    cmbReportes->setEditable(true);
    formReportes->addRow(QStringLiteral("Impresora del sistema:"), cmbReportes);
    auto *probarReportes = new QPushButton(QStringLiteral("Probar"), reportes);
    probarReportes->setAutoDefault(false);
    connect(probarReportes, &QPushButton::clicked, this, [this] { cmdProbar(int(Impresora::Reportes)); });
    formReportes->addRow(QString(), probarReportes);
    tabs->addTab(reportes, QStringLiteral("Reportes"));

    auto *cajon = new QWidget(this);
    auto *formCajon = new QFormLayout(cajon);
    chkCajon = new QCheckBox(QStringLiteral("Abrir el cajón al imprimir un ticket"), cajon);
    txtCajonPuerto = new QLineEdit(cajon);
    txtCajonPuerto->setObjectName(QStringLiteral("txtCajonPuerto"));
    txtCajonCodigos = new QLineEdit(cajon);
    txtCajonCodigos->setObjectName(QStringLiteral("txtCajonCodigos"));
    chkCorte = new QCheckBox(QStringLiteral("Cortar el papel al terminar"), cajon);
    txtCortePuerto = new QLineEdit(cajon);
    txtCortePuerto->setObjectName(QStringLiteral("txtCortePuerto"));
    txtCorteCodigos = new QLineEdit(cajon);
    txtCorteCodigos->setObjectName(QStringLiteral("txtCorteCodigos"));
    spnEspera = new QSpinBox(cajon);
    spnEspera->setObjectName(QStringLiteral("txtEspera"));
    spnEspera->setRange(0, 600000);
    spnEspera->setSuffix(QStringLiteral(" ms"));
    formCajon->addRow(chkCajon);
    formCajon->addRow(QStringLiteral("Puerto del cajón:"), txtCajonPuerto);
    formCajon->addRow(QStringLiteral("Códigos del cajón:"), txtCajonCodigos);
    formCajon->addRow(chkCorte);
    formCajon->addRow(QStringLiteral("Puerto del corte:"), txtCortePuerto);
    formCajon->addRow(QStringLiteral("Códigos del corte:"), txtCorteCodigos);
    formCajon->addRow(QStringLiteral("Espera de la impresora de red:"), spnEspera);
    tabs->addTab(cajon, QStringLiteral("Cajón y corte"));
    layout->addWidget(tabs);

    auto *botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    botones->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Aceptar"));
    botones->button(QDialogButtonBox::Ok)->setDefault(true);
    botones->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    auto *vista = botones->addButton(QStringLiteral("Vista previa"), QDialogButtonBox::ActionRole);
    vista->setAutoDefault(false);
    connect(vista, &QPushButton::clicked, this, &frmImpresora::cmdVistaPrevia);
    connect(botones, &QDialogButtonBox::accepted, this, &frmImpresora::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &frmImpresora::reject);
    layout->addWidget(botones);

    const QStringList instaladas = impresora.impresoraSistema() ? impresora.impresoraSistema()->impresoras() : QStringList();
    for (QComboBox *c : {m_recibos.cmbImpresora, m_nota.cmbImpresora, cmbReportes})
        c->addItems(instaladas);
    m_reglas.carga();
    muestra();
    resize(560, 420);
}

frmImpresora::~frmImpresora() = default;

QWidget *frmImpresora::creaSalida(CamposSalida &c, const QString &prefijo, int impresora)
{
    auto *w = new QWidget(this);
    auto *form = new QFormLayout(w);
    c.chkEnLinea = new QCheckBox(QStringLiteral("Impresora conectada"), w);
    c.chkDirecto = new QCheckBox(QStringLiteral("Directo al puerto (ESC/POS)"), w);
    c.txtPuerto = new QLineEdit(w);
    c.txtPuerto->setObjectName(prefijo + QStringLiteral("Puerto"));
    c.txtPuerto->setPlaceholderText(QStringLiteral("/dev/usb/lp0, archivo o tcp:192.168.1.50:9100"));
    c.cmbImpresora = new QComboBox(w);
    c.cmbImpresora->setObjectName(prefijo + QStringLiteral("Impresora"));
    c.cmbImpresora->setEditable(true);
    c.cmbPagina = new QComboBox(w);
    c.cmbPagina->setObjectName(prefijo + QStringLiteral("Pagina"));
    c.cmbPagina->setEditable(true);
    c.cmbPagina->addItems(PaginaCodigos::disponibles());
    c.txtFuente = new QLineEdit(w);
    c.txtFuente->setObjectName(prefijo + QStringLiteral("Fuente"));
    c.spnTamanio = new QSpinBox(w);
    c.spnTamanio->setObjectName(prefijo + QStringLiteral("Tamanio"));
    c.spnTamanio->setRange(0, 200);
    form->addRow(c.chkEnLinea);
    form->addRow(c.chkDirecto);
    form->addRow(QStringLiteral("Puerto:"), c.txtPuerto);
    form->addRow(QStringLiteral("Tabla de caracteres:"), c.cmbPagina);
    form->addRow(QStringLiteral("Impresora del sistema:"), c.cmbImpresora);
    form->addRow(QStringLiteral("Letra:"), c.txtFuente);
    form->addRow(QStringLiteral("Tamaño:"), c.spnTamanio);
    auto *probar = new QPushButton(QStringLiteral("Probar"), w);
    probar->setAutoDefault(false);
    connect(probar, &QPushButton::clicked, this, [this, impresora] { cmdProbar(impresora); });
    form->addRow(QString(), probar);
    return w;
}

void frmImpresora::muestra()
{
    const auto &v = m_reglas.valores();
    const auto salida = [](CamposSalida &c, const ConfiguracionImpresoras::Salida &s) {
        c.chkEnLinea->setChecked(s.enLinea);
        c.chkDirecto->setChecked(s.directo);
        c.txtPuerto->setText(s.puerto);
        c.cmbImpresora->setCurrentText(s.impresora);
        c.cmbPagina->setCurrentText(s.paginaCodigos);
        c.txtFuente->setText(s.fuente);
        c.spnTamanio->setValue(s.tamanio);
    };
    salida(m_recibos, v.recibos);
    salida(m_nota, v.nota);
    cmbReportes->setCurrentText(v.impresoraReportes);
    chkCajon->setChecked(v.abreCajon);
    txtCajonPuerto->setText(v.puertoCajon);
    txtCajonCodigos->setText(v.codigosCajon);
    chkCorte->setChecked(v.cortePagina);
    txtCortePuerto->setText(v.puertoCorte);
    txtCorteCodigos->setText(v.codigosCorte);
    spnEspera->setValue(v.esperaRed);
}

void frmImpresora::lee()
{
    ConfiguracionImpresoras::Valores v = m_reglas.valores();
    const auto salida = [](const CamposSalida &c, ConfiguracionImpresoras::Salida &s) {
        s.enLinea = c.chkEnLinea->isChecked();
        s.directo = c.chkDirecto->isChecked();
        s.puerto = c.txtPuerto->text();
        s.impresora = c.cmbImpresora->currentText();
        s.paginaCodigos = c.cmbPagina->currentText();
        s.fuente = c.txtFuente->text();
        s.tamanio = c.spnTamanio->value();
    };
    salida(m_recibos, v.recibos);
    salida(m_nota, v.nota);
    v.impresoraReportes = cmbReportes->currentText();
    v.abreCajon = chkCajon->isChecked();
    v.puertoCajon = txtCajonPuerto->text();
    v.codigosCajon = txtCajonCodigos->text();
    v.cortePagina = chkCorte->isChecked();
    v.puertoCorte = txtCortePuerto->text();
    v.codigosCorte = txtCorteCodigos->text();
    v.esperaRed = spnEspera->value();
    m_reglas.setValores(v);
}

void frmImpresora::enfoca(const QString &campo)
{
    if (campo.isEmpty())
        return;
    if (auto *w = findChild<QWidget *>(campo)) {
        for (QWidget *p = w->parentWidget(); p; p = p->parentWidget())
            if (const int i = tabs->indexOf(p); i >= 0)
                tabs->setCurrentIndex(i);
        w->setFocus();
    }
}

void frmImpresora::accept()
{
    lee();
    if (!m_reglas.validaDatos()) {
        enfoca(m_reglas.campoRechazado());
        return;
    }
    m_reglas.guarda();
    QDialog::accept();
}

void frmImpresora::reject()
{
    m_reglas.cancela();
    QDialog::reject();
}

void frmImpresora::cmdProbar(int impresora)
{
    lee();
    if (!m_reglas.prueba(Impresora(impresora)))
        enfoca(m_reglas.campoRechazado());
}

void frmImpresora::cmdVistaPrevia()
{
    lee();
    if (!m_reglas.validaDatos()) {
        enfoca(m_reglas.campoRechazado());
        return;
    }
    if (!m_vista)
        m_vista = new frmVistaPrevia(this);
    m_reglas.vistaPrevia(tabs->currentIndex() == 1 ? Impresora::Nota : Impresora::Recibos, *m_vista);
}
