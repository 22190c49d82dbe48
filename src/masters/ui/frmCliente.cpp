#include "frmCliente.h"

#include "frmMaestro.h"
#include "LookupCliente.h"
#include "frmConsulta.h"
#include "Log.h"
#include "Prompter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using marco::Rejilla;
using Pestana = ClienteEditor::Pestana;

frmCliente::frmCliente(ClienteEditor &editor, Prompter &prompter, QChar modo, const QString &clave,
                       MaintenanceOpener catalogos, QWidget *parent)
    : frmMaestro(editor, prompter, modo, QStringLiteral("Cliente"), clave, parent), m_editor(editor),
      m_catalogos(std::move(catalogos))
{
    setObjectName(QStringLiteral("frmCliente"));
    m_tabs->setObjectName(QStringLiteral("tabCliente"));
    // In ClienteEditor::Pestana order, so a refusal's tab is its index.
    m_tabs->addTab(pestanaGeneral(), QStringLiteral("General"));
    m_tabs->addTab(pestanaDomicilio(), QStringLiteral("Domicilio"));
    m_tabs->addTab(pestanaFiscal(), QStringLiteral("Datos fiscales"));
    m_tabs->addTab(pestanaCredito(), QStringLiteral("Venta y credito"));
    m_tabs->addTab(pestanaEntrega(), QStringLiteral("Entrega"));

    arma(QStringLiteral("cli_Clave"), QStringLiteral("cli_Nombre"));
    if (modo == u'C')
        m_campos.value(QStringLiteral("tcli_Clave"))->setEnabled(m_editor.puedeCambiarTipo());
}

QComboBox *frmCliente::combo(const QString &columna)
{
    auto *cmb = new QComboBox;
    cmb->setObjectName(columna);
    m_campos.insert(columna, cmb);
    llenaCombo(columna);
    connect(cmb, &QComboBox::currentIndexChanged, this, [this, cmb, columna] {
        if (m_mostrando)
            return;
        if (!m_editor.setTexto(columna, cmb->currentData().toString())) {
            // Refused (a type change without the right): the list shows the value kept.
            const QSignalBlocker block(cmb);
            cmb->setCurrentIndex(qMax(0, cmb->findData(m_editor.texto(columna))));
            return;
        }
        if (columna == QLatin1String("pais_Clave"))
            llenaCombo(QStringLiteral("edo_Clave"));
        else if (columna == QLatin1String("pais_ClaveFis"))
            llenaCombo(QStringLiteral("edo_ClaveFis"));
        else if (columna == QLatin1String("tcli_Clave") && m_editor.esNuevo())
            muestra(); // the type's terms were copied
    });
    return cmb;
}

QWidget *frmCliente::conCatalogo(QWidget *campo, const QString &columna, const QString &ventana,
                                 const QString &titulo, QChar comando)
{
    auto *w = new QWidget;
    auto *h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(campo, 1);
    auto *b = new QToolButton;
    const QString derecho = ventana + (comando == u'A' ? QStringLiteral("_cmdAlta") : QStringLiteral("_cmdConsulta"));
    b->setObjectName(QStringLiteral("cmd") + columna + (comando == u'A' ? QStringLiteral("_Alta") : QStringLiteral("_Consulta")));
    b->setText(titulo);
    b->setFocusPolicy(Qt::NoFocus);
    b->setEnabled(m_modo != u'Q' && m_catalogos && m_editor.puede(derecho));
    if (!m_editor.puede(derecho))
        b->setToolTip(QStringLiteral("Su perfil no tiene acceso a esta operacion"));
    connect(b, &QToolButton::clicked, this, [this, columna, ventana, comando] { abreCatalogo(columna, ventana, comando); });
    h->addWidget(b);
    return w;
}

void frmCliente::abreCatalogo(const QString &columna, const QString &ventana, QChar comando)
{
    if (!m_catalogos)
        return;
    const QString actual = m_editor.texto(columna).trimmed();
    if (comando == u'Q' && actual.isEmpty())
        return;
    m_catalogos(ventana, comando, comando == u'A' ? QString() : actual);
    // Every list over the same table may have a new row (a user is seller, collector and driver).
    for (auto it = m_campos.cbegin(); it != m_campos.cend(); ++it)
        if (qobject_cast<QComboBox *>(it.value()) &&
            (it.key() == columna || (columna.startsWith(QLatin1String("usu_")) && it.key().startsWith(QLatin1String("usu_")))))
            llenaCombo(it.key());
}

QWidget *frmCliente::pestanaGeneral()
{
    auto *w = new QWidget;
    Rejilla r(w);
    r.agrega(QStringLiteral("Clave *"), texto(QStringLiteral("cli_Clave"), 20));
    r.agrega(QStringLiteral("Estado"), combo(QStringLiteral("edoc_Clave")));
    r.agrega(QStringLiteral("Nombre *"), texto(QStringLiteral("cli_Nombre"), 150), 2);
    r.agrega(QStringLiteral("Descuento %"), texto(QStringLiteral("cli_Descuento")));
    r.agrega(QStringLiteral("Nota 1"), texto(QStringLiteral("cli_Nota1"), 255), 2);
    r.agrega(QStringLiteral("Nota 2"), texto(QStringLiteral("cli_Nota2"), 255), 2);
    r.termina();
    return w;
}

QWidget *frmCliente::pestanaDomicilio()
{
    auto *w = new QWidget;
    Rejilla r(w);
    r.agrega(QStringLiteral("Calle"), texto(QStringLiteral("cli_Calle"), 100), 2);
    r.agrega(QStringLiteral("Exterior"), texto(QStringLiteral("cli_Exterior"), 20));
    r.agrega(QStringLiteral("Interior"), texto(QStringLiteral("cli_Interior"), 20));
    r.agrega(QStringLiteral("Colonia"), texto(QStringLiteral("cli_Colonia"), 100));
    r.agrega(QStringLiteral("C.P."), texto(QStringLiteral("cli_CP"), 10));
    r.agrega(QStringLiteral("Del./Mun."), texto(QStringLiteral("cli_DelMun"), 100));
    r.agrega(QStringLiteral("Ciudad"), texto(QStringLiteral("cli_Ciudad"), 100));
    r.agrega(QStringLiteral("Pais *"), combo(QStringLiteral("pais_Clave")));
    r.agrega(QStringLiteral("Estado *"), combo(QStringLiteral("edo_Clave")));
    r.agrega(QStringLiteral("Telefono 1"), texto(QStringLiteral("cli_Telefono1"), 30));
    r.agrega(QStringLiteral("Telefono 2"), texto(QStringLiteral("cli_Telefono2"), 30));
    r.agrega(QStringLiteral("Fax"), texto(QStringLiteral("cli_Fax"), 30));
    r.agrega(QStringLiteral("Correo"), texto(QStringLiteral("cli_email"), 100));
    r.agrega(QStringLiteral("Referencia"), texto(QStringLiteral("cli_Referencia"), 255), 2);
    r.termina();
    return w;
}

QWidget *frmCliente::pestanaFiscal()
{
    auto *w = new QWidget;
    Rejilla r(w);
    QLineEdit *rfc = texto(QStringLiteral("cli_RFC"), 13);
    rfc->setToolTip(QStringLiteral("13 caracteres para personas fisicas, 12 para personas morales; "
                                   "XAXX010101000 para el publico en general"));
    r.agrega(QStringLiteral("RFC"), rfc);
    r.agrega(QStringLiteral("CURP"), texto(QStringLiteral("cli_CURP"), 18));
    r.agrega(QStringLiteral("Nombre o razon social"), texto(QStringLiteral("cli_NombreFis"), 255), 2);
    r.agrega(QStringLiteral("Regimen fiscal"), combo(QStringLiteral("cli_RegimenFiscal")), 2);
    r.agrega(QStringLiteral("Uso del CFDI"), combo(QStringLiteral("cli_UsoCFDI")), 2);
    r.agrega(QStringLiteral("Calle"), texto(QStringLiteral("cli_CalleFis"), 100), 2);
    r.agrega(QStringLiteral("Exterior"), texto(QStringLiteral("cli_ExteriorFis"), 20));
    r.agrega(QStringLiteral("Interior"), texto(QStringLiteral("cli_InteriorFis"), 20));
    r.agrega(QStringLiteral("Colonia"), texto(QStringLiteral("cli_ColoniaFis"), 100));
    r.agrega(QStringLiteral("C.P."), texto(QStringLiteral("cli_CPFis"), 10));
    r.agrega(QStringLiteral("Del./Mun."), texto(QStringLiteral("cli_DelMunFis"), 100));
    r.agrega(QStringLiteral("Ciudad"), texto(QStringLiteral("cli_CiudadFis"), 100));
    r.agrega(QStringLiteral("Pais *"), combo(QStringLiteral("pais_ClaveFis")));
    r.agrega(QStringLiteral("Estado"), combo(QStringLiteral("edo_ClaveFis")));
    auto *copiar = new QPushButton(QStringLiteral("Copiar el domicilio"));
    copiar->setObjectName(QStringLiteral("cmdCopiarDomicilio"));
    copiar->setAutoDefault(false);
    connect(copiar, &QPushButton::clicked, this, &frmCliente::cmdCopiarDomicilio_Click);
    r.layout->addWidget(copiar, r.fila + 1, 3, Qt::AlignRight);
    ++r.fila;
    r.termina();
    return w;
}

QWidget *frmCliente::pestanaCredito()
{
    auto *w = new QWidget;
    Rejilla r(w);
    auto *tipo = new QWidget;
    auto *th = new QHBoxLayout(tipo);
    th->setContentsMargins(0, 0, 0, 0);
    th->addWidget(conCatalogo(combo(QStringLiteral("tcli_Clave")), QStringLiteral("tcli_Clave"),
                              QStringLiteral("frmTipoCliente"), QStringLiteral("Nuevo")),
                  1);
    th->addWidget(conCatalogo(new QWidget, QStringLiteral("tcli_Clave"), QStringLiteral("frmTipoCliente"),
                              QStringLiteral("Ver"), u'Q'));
    r.agrega(QStringLiteral("Tipo de cliente *"), tipo, 2);
    r.agrega(QStringLiteral("Limite de credito"), texto(QStringLiteral("cli_Credito")));
    r.agrega(QStringLiteral("Plazo"), texto(QStringLiteral("cli_Periodo")));
    r.agrega(QStringLiteral("Tipo de plazo"), combo(QStringLiteral("per_Clave")));
    r.agrega(QStringLiteral("Control de pago"), combo(QStringLiteral("cpago_Clave")));
    r.agrega(QStringLiteral("Periodo de pago"), combo(QStringLiteral("percp_Clave")));
    r.agrega(QString(), new QWidget);
    r.agrega(QStringLiteral("Vendedor"), conCatalogo(combo(QStringLiteral("usu_ClaveVendedor")),
                                                     QStringLiteral("usu_ClaveVendedor"), QStringLiteral("frmUsuario"),
                                                     QStringLiteral("Nuevo")));
    r.agrega(QStringLiteral("Comision vendedor %"), texto(QStringLiteral("cli_ComisionVendedor")));
    r.agrega(QStringLiteral("Cobrador"), conCatalogo(combo(QStringLiteral("usu_ClaveCobrador")),
                                                     QStringLiteral("usu_ClaveCobrador"), QStringLiteral("frmUsuario"),
                                                     QStringLiteral("Nuevo")));
    r.agrega(QStringLiteral("Comision cobrador %"), texto(QStringLiteral("cli_ComisionCobrador")));
    r.termina();
    return w;
}

QWidget *frmCliente::pestanaEntrega()
{
    auto *w = new QWidget;
    Rejilla r(w);
    r.agrega(QStringLiteral("Tipo de entrega"), combo(QStringLiteral("tent_Clave")), 2);
    r.agrega(QStringLiteral("Zona"), conCatalogo(combo(QStringLiteral("zona_Clave")), QStringLiteral("zona_Clave"),
                                                 QStringLiteral("frmZona"), QStringLiteral("Nueva")),
             2);
    r.agrega(QStringLiteral("Ruta"), conCatalogo(combo(QStringLiteral("ruta_Clave")), QStringLiteral("ruta_Clave"),
                                                 QStringLiteral("frmRuta"), QStringLiteral("Nueva")),
             2);
    r.agrega(QStringLiteral("Repartidor"), conCatalogo(combo(QStringLiteral("usu_ClaveEnvio")),
                                                       QStringLiteral("usu_ClaveEnvio"), QStringLiteral("frmUsuario"),
                                                       QStringLiteral("Nuevo")),
             2);
    r.termina();
    return w;
}

void frmCliente::muestra()
{
    m_mostrando = true;
    // The countries first: the state lists depend on them.
    for (const char *pais : {"pais_Clave", "pais_ClaveFis"})
        if (auto *cmb = qobject_cast<QComboBox *>(m_campos.value(QLatin1String(pais))))
            marco::selecciona(cmb, m_editor.texto(QLatin1String(pais)));
    llenaCombo(QStringLiteral("edo_Clave"));
    llenaCombo(QStringLiteral("edo_ClaveFis"));
    for (auto it = m_campos.cbegin(); it != m_campos.cend(); ++it) {
        const QString valor = m_editor.texto(it.key());
        if (auto *t = qobject_cast<QLineEdit *>(it.value()))
            t->setText(valor);
        else if (auto *cmb = qobject_cast<QComboBox *>(it.value()); cmb && !it.key().startsWith(QLatin1String("edo_Clave")))
            marco::selecciona(cmb, valor);
    }
    m_mostrando = false;
}

void frmCliente::soloLectura()
{
    frmMaestro::soloLectura();
    for (auto *b : findChildren<QToolButton *>())
        if (b->objectName().startsWith(QLatin1String("cmd"))) // not the tabs' own scroll buttons
            b->setEnabled(false);
    if (auto *b = findChild<QPushButton *>(QStringLiteral("cmdCopiarDomicilio")))
        b->setEnabled(false);
}

void frmCliente::cmdCopiarDomicilio_Click()
{
    if (m_modo == u'Q')
        return;
    for (const char *c : {"cli_Calle", "cli_Interior", "cli_Exterior", "cli_Colonia", "cli_DelMun", "cli_Ciudad",
                          "pais_Clave", "edo_Clave", "cli_CP"}) {
        const QString origen = QLatin1String(c);
        m_editor.setTexto(origen + QStringLiteral("Fis"), m_editor.texto(origen));
    }
    if (m_editor.texto(QStringLiteral("cli_NombreFis")).trimmed().isEmpty())
        m_editor.setTexto(QStringLiteral("cli_NombreFis"), m_editor.texto(QStringLiteral("cli_Nombre")));
    muestra();
}

bool frmCliente::abrir(ConnectionProvider &connections, cConfigure &config, Permisos &permisos, Prompter &prompter,
                       QChar comando, const QString &clave, MaintenanceOpener catalogos, QWidget *parent)
{
    ClienteEditor editor(connections, config, permisos, prompter);
    return abre<frmCliente>(editor, prompter, comando, clave, std::move(catalogos), parent);
}

LookupResult frmCliente::busca(const LookupServices &services, MaintenanceOpener opener, QWidget *parent,
                               const QString &texto, bool todos)
{
    return frmConsulta::consulta(services, LookupCliente::definicion(!todos), std::move(opener), parent, texto);
}
