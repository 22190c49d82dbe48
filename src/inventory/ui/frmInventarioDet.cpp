#include "frmInventarioDet.h"

#include "DbError.h"
#include "Enfoque.h"
#include "GridView.h"
#include "Log.h"
#include "Prompter.h"
#include "cConfigure.h"

#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QTableView>
#include <QTextStream>
#include <QVBoxLayout>

namespace {

QPushButton *boton(const QString &texto, const char *nombre)
{
    auto *b = new QPushButton(texto);
    b->setObjectName(QLatin1String(nombre));
    b->setAutoDefault(false);
    return b;
}

QTableView *grid(const char *nombre)
{
    auto *v = new QTableView;
    v->setObjectName(QLatin1String(nombre));
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setAlternatingRowColors(true);
    v->verticalHeader()->setDefaultSectionSize(v->fontMetrics().height() + 8);
    v->verticalHeader()->hide();
    v->horizontalHeader()->setStretchLastSection(true);
    return v;
}

// Starts with nothing chosen when a placeholder is given: the user must pick one.
void llenaOpciones(QComboBox *combo, const QList<InventariosLista::Opcion> &opciones,
                   const QString &placeholder = {})
{
    combo->clear();
    for (const InventariosLista::Opcion &o : opciones)
        combo->addItem(o.clave + QStringLiteral(" - ") + o.nombre, o.clave);
    if (!placeholder.isEmpty()) {
        combo->setPlaceholderText(placeholder);
        combo->setCurrentIndex(-1);
    }
}

} // namespace

frmInventarioDet::frmInventarioDet(const LookupServices &services, RegistraArticulo registra, QWidget *parent)
    : QDialog(parent), m_services(services), m_registra(std::move(registra)),
      m_existencias(services.connections, services.config, services.prompter),
      m_inventario(services.connections, services.config, services.prompter, m_existencias),
      m_lista(services.connections), m_conteos(m_inventario, services.prompter)
{
    setObjectName(QStringLiteral("frmInventarioDet"));
    setWindowTitle(QStringLiteral("Inventario fisico"));
    m_paneles = new QStackedWidget;
    m_paneles->addWidget(panelApertura());
    m_paneles->addWidget(panelCaptura());
    m_paneles->addWidget(panelAjustes());
    auto *main = new QVBoxLayout(this);
    main->addWidget(m_paneles);
    // The opening panel is a short form; the counts need the room of a grid.
    resize(620, 340);
    m_txtNumero->setFocus();
}

frmInventarioDet::~frmInventarioDet()
{
    sueltaCampos(this);
}

bool frmInventarioDet::abrir(const LookupServices &services, RegistraArticulo registra,
                             const QString &almacen, int anio, int numero, QWidget *parent)
{
    frmInventarioDet window(services, std::move(registra), parent);
    if (numero > 0 && !window.muestra(almacen, anio, numero))
        return false;
    window.exec();
    return window.cambiado();
}

QWidget *frmInventarioDet::panelApertura()
{
    m_cmbAlmacen = new QComboBox;
    m_cmbAlmacen->setObjectName(QStringLiteral("cmbAlmacen"));
    m_txtAnio = new QLineEdit(QString::number(QDate::currentDate().year()));
    m_txtAnio->setObjectName(QStringLiteral("txtAnio"));
    m_txtAnio->setValidator(new QIntValidator(0, 9999, m_txtAnio));
    m_txtAnio->setMaximumWidth(80);
    m_txtNumero = new QLineEdit;
    m_txtNumero->setObjectName(QStringLiteral("txtNumero"));
    m_txtNumero->setValidator(new QIntValidator(0, 999999999, m_txtNumero));
    m_txtNumero->setMaximumWidth(120);
    m_cmbConteos = new QComboBox;
    m_cmbConteos->setObjectName(QStringLiteral("cmbConteos"));
    for (int i = 1; i <= 3; ++i)
        m_cmbConteos->addItem(QString::number(i), i);
    m_cmbTipo = new QComboBox;
    m_cmbTipo->setObjectName(QStringLiteral("cmbTipo"));
    m_cmbTipo->addItem(QStringLiteral("TOTAL - todos los articulos del almacen"), QStringLiteral("TOTAL"));
    m_cmbTipo->addItem(QStringLiteral("PARCIAL - solo los articulos que se capturen"),
                       QStringLiteral("PARCIAL"));
    m_cmbTipo->addItem(QStringLiteral("DEPTO - los articulos de un departamento"), QStringLiteral("DEPTO"));
    m_cmbTipo->addItem(QStringLiteral("CATEGORIA - los articulos de una categoria"),
                       QStringLiteral("CATEGORIA"));
    m_cmbDepartamento = new QComboBox;
    m_cmbDepartamento->setObjectName(QStringLiteral("cmbDepartamento"));
    m_cmbCategoria = new QComboBox;
    m_cmbCategoria->setObjectName(QStringLiteral("cmbCategoria"));
    try {
        llenaOpciones(m_cmbAlmacen, m_lista.almacenes());
        llenaOpciones(m_cmbDepartamento, m_lista.departamentos(), QStringLiteral("(elija un departamento)"));
        llenaOpciones(m_cmbCategoria, m_lista.categorias(), QStringLiteral("(elija una categoria)"));
    } catch (const std::exception &e) {
        falla(QStringLiteral("No fue posible leer los almacenes y departamentos"),
              QStringLiteral("panelApertura"), e);
    }
    m_cmbAlmacen->setCurrentIndex(
        m_cmbAlmacen->findData(m_services.config.getValue(QStringLiteral("ALMACEN")).toString()));

    for (QComboBox *c : {m_cmbAlmacen, m_cmbTipo, m_cmbDepartamento, m_cmbCategoria})
        c->setMinimumWidth(380);
    m_formApertura = new QFormLayout;
    m_formApertura->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    m_formApertura->addRow(QStringLiteral("Almacen"), m_cmbAlmacen);
    m_formApertura->addRow(QStringLiteral("Año"), m_txtAnio);
    m_formApertura->addRow(QStringLiteral("Numero de inventario"), m_txtNumero);
    m_formApertura->addRow(QStringLiteral("Numero de conteos"), m_cmbConteos);
    m_formApertura->addRow(QStringLiteral("Tipo de inventario"), m_cmbTipo);
    m_formApertura->addRow(QStringLiteral("Departamento"), m_cmbDepartamento);
    m_formApertura->addRow(QStringLiteral("Categoria"), m_cmbCategoria);

    m_cmdIniciar = new QPushButton(QStringLiteral("&Aceptar"));
    m_cmdIniciar->setObjectName(QStringLiteral("cmdIniciar"));
    m_cmdIniciar->setDefault(true);
    auto *cancelar = boton(QStringLiteral("&Cancelar"), "cmdCancelar");
    connect(m_cmdIniciar, &QPushButton::clicked, this, &frmInventarioDet::cmdIniciar_Click);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(m_cmdIniciar);
    botones->addWidget(cancelar);

    auto *titulo =
        new QLabel(QStringLiteral("Nuevo inventario fisico, o el numero de uno en curso para continuarlo"));
    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("panelApertura"));
    auto *layout = new QVBoxLayout(panel);
    layout->addWidget(titulo);
    layout->addLayout(m_formApertura);
    layout->addStretch();
    layout->addLayout(botones);

    connect(m_cmbAlmacen, &QComboBox::currentIndexChanged, this, &frmInventarioDet::proponeNumero);
    connect(m_txtAnio, &QLineEdit::editingFinished, this, &frmInventarioDet::proponeNumero);
    connect(m_cmbTipo, &QComboBox::currentIndexChanged, this, &frmInventarioDet::muestraTipo);
    proponeNumero();
    muestraTipo();
    return panel;
}

QWidget *frmInventarioDet::panelCaptura()
{
    m_lblEncabezado = new QLabel;
    m_lblEncabezado->setObjectName(QStringLiteral("lblEncabezado"));
    m_lblConteo = new QLabel;
    m_lblConteo->setObjectName(QStringLiteral("lblConteo"));
    QFont grande = m_lblConteo->font();
    grande.setPointSizeF(grande.pointSizeF() * 2.4);
    grande.setBold(true);
    m_lblConteo->setFont(grande);
    m_lblConteo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_txtArticulo = new QLineEdit;
    m_txtArticulo->setObjectName(QStringLiteral("txtArticulo"));
    m_txtArticulo->setPlaceholderText(QStringLiteral("Clave o codigo de barras"));
    m_txtLote = new QLineEdit;
    m_txtLote->setObjectName(QStringLiteral("txtLote"));
    m_txtLote->setMaximumWidth(180);
    m_txtCantidad = new QLineEdit;
    m_txtCantidad->setObjectName(QStringLiteral("txtCantidad"));
    m_txtCantidad->setMaximumWidth(120);
    m_txtCantidad->setAlignment(Qt::AlignRight);
    m_txtCantidad->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("-?\\d{0,9}(\\.\\d{0,6})?")), m_txtCantidad));
    for (QLineEdit *campo : {m_txtArticulo, m_txtLote, m_txtCantidad})
        campo->installEventFilter(this);
    m_lblUltimo = new QLabel;
    m_lblUltimo->setObjectName(QStringLiteral("lblUltimo"));

    auto *campos = new QGridLayout;
    campos->addWidget(new QLabel(QStringLiteral("Articulo")), 0, 0);
    campos->addWidget(new QLabel(QStringLiteral("Serie/Lote")), 0, 1);
    campos->addWidget(new QLabel(QStringLiteral("Cantidad")), 0, 2);
    campos->addWidget(m_txtArticulo, 1, 0);
    campos->addWidget(m_txtLote, 1, 1);
    campos->addWidget(m_txtCantidad, 1, 2);
    campos->addWidget(m_lblConteo, 0, 3, 2, 1);
    campos->setColumnStretch(0, 1);
    campos->setColumnStretch(3, 1);

    m_grdConteos = grid("grdConteos");
    m_grdConteos->setModel(&m_conteos);
    m_grdConteos->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                  QAbstractItemView::AnyKeyPressed);
    m_grdConteos->installEventFilter(this);
    m_grdConteos->horizontalHeader()->setStretchLastSection(false);
    m_grdConteos->horizontalHeader()->setSectionResizeMode(ConteosInventarioModel::Articulo,
                                                           QHeaderView::Stretch);
    m_grdConteos->setColumnWidth(ConteosInventarioModel::Lote, 160);
    for (int c = ConteosInventarioModel::Conteo1; c <= ConteosInventarioModel::Conteo3; ++c)
        m_grdConteos->setColumnWidth(c, 110);

    auto *cmdEliminar = boton(QStringLiteral("&Eliminar"), "cmdEliminar");
    auto *cmdCargar = boton(QStringLiteral("Cargar arc&hivo"), "cmdCargar");
    auto *cmdCerrarConteo = boton(QStringLiteral("Cerrar c&onteo"), "cmdCerrarConteo");
    auto *cmdReiniciar = boton(QStringLiteral("&Reiniciar captura"), "cmdReiniciar");
    auto *cmdProcesar = boton(QStringLiteral("&Procesar"), "cmdProcesar");
    auto *cmdCerrar = boton(QStringLiteral("&Cerrar"), "cmdCerrar");
    connect(cmdEliminar, &QPushButton::clicked, this, &frmInventarioDet::cmdEliminar_Click);
    connect(cmdCargar, &QPushButton::clicked, this, &frmInventarioDet::cmdCargar_Click);
    connect(cmdCerrarConteo, &QPushButton::clicked, this, &frmInventarioDet::cmdCerrarConteo_Click);
    connect(cmdReiniciar, &QPushButton::clicked, this, &frmInventarioDet::cmdReiniciar_Click);
    connect(cmdProcesar, &QPushButton::clicked, this, &frmInventarioDet::cmdProcesar_Click);
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::reject);
    auto *botones = new QHBoxLayout;
    for (QPushButton *b : {cmdEliminar, cmdCargar})
        botones->addWidget(b);
    botones->addStretch();
    for (QPushButton *b : {cmdCerrarConteo, cmdReiniciar, cmdProcesar, cmdCerrar})
        botones->addWidget(b);

    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("panelCaptura"));
    auto *layout = new QVBoxLayout(panel);
    layout->addWidget(m_lblEncabezado);
    layout->addLayout(campos);
    layout->addWidget(m_lblUltimo);
    layout->addWidget(m_grdConteos, 1);
    layout->addLayout(botones);
    return panel;
}

QWidget *frmInventarioDet::panelAjustes()
{
    m_lblAjustes = new QLabel;
    m_lblAjustes->setObjectName(QStringLiteral("lblAjustes"));
    m_lblAjustes->setWordWrap(true);
    m_grdAjustes = grid("grdAjustes");
    m_grdAjustes->setModel(&m_ajustes);
    m_grdAjustes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grdAjustes->horizontalHeader()->setStretchLastSection(false);
    m_grdAjustes->horizontalHeader()->setSectionResizeMode(AjustesInventarioModel::Nombre,
                                                           QHeaderView::Stretch);
    m_grdAjustes->setColumnWidth(AjustesInventarioModel::Articulo, 110);
    m_grdAjustes->setColumnWidth(AjustesInventarioModel::Lote, 80);
    m_grdAjustes->setColumnWidth(AjustesInventarioModel::Costo, 90);
    m_grdAjustes->setColumnWidth(AjustesInventarioModel::Contado, 80);
    m_grdAjustes->setColumnWidth(AjustesInventarioModel::Existencia, 80);
    m_grdAjustes->setColumnWidth(AjustesInventarioModel::Tipo, 150);
    m_grdAjustes->setColumnWidth(AjustesInventarioModel::Cantidad, 80);

    m_cmdConcluir = boton(QStringLiteral("C&oncluir"), "cmdConcluir");
    m_cmdReiniciarAjustes = boton(QStringLiteral("&Reiniciar captura"), "cmdReiniciarAjustes");
    auto *cmdExportar = boton(QStringLiteral("E&xportar"), "cmdExportar");
    auto *cmdCerrar = boton(QStringLiteral("&Cerrar"), "cmdCerrarAjustes");
    connect(m_cmdConcluir, &QPushButton::clicked, this, &frmInventarioDet::cmdConcluir_Click);
    connect(m_cmdReiniciarAjustes, &QPushButton::clicked, this, &frmInventarioDet::cmdReiniciar_Click);
    connect(cmdExportar, &QPushButton::clicked, this, &frmInventarioDet::cmdExportar_Click);
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::reject);
    auto *botones = new QHBoxLayout;
    botones->addWidget(cmdExportar);
    botones->addStretch();
    for (QPushButton *b : {m_cmdReiniciarAjustes, m_cmdConcluir, cmdCerrar})
        botones->addWidget(b);

    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("panelAjustes"));
    auto *layout = new QVBoxLayout(panel);
    layout->addWidget(m_lblAjustes);
    layout->addWidget(m_grdAjustes, 1);
    layout->addLayout(botones);
    return panel;
}

frmInventarioDet::Panel frmInventarioDet::panel() const
{
    return Panel(m_paneles->currentIndex());
}

void frmInventarioDet::falla(const QString &texto, const QString &donde, const std::exception &e)
{
    reportError(m_services.prompter, texto, QStringLiteral("frmInventarioDet.") + donde,
                ErrorInfo::fromException(e));
}

void frmInventarioDet::proponeNumero()
{
    const QString almacen = m_cmbAlmacen->currentData().toString();
    const int anio = m_txtAnio->text().toInt();
    if (almacen.isEmpty() || anio <= 0)
        return;
    try {
        m_txtNumero->setText(QString::number(m_inventario.siguienteNumero(almacen, anio)));
    } catch (const std::exception &e) {
        falla(QStringLiteral("No fue posible proponer el numero de inventario"),
              QStringLiteral("proponeNumero"), e);
    }
}

void frmInventarioDet::muestraTipo()
{
    const QString tipo = m_cmbTipo->currentData().toString();
    m_formApertura->setRowVisible(m_cmbDepartamento, tipo == QLatin1String("DEPTO"));
    m_formApertura->setRowVisible(m_cmbCategoria, tipo == QLatin1String("CATEGORIA"));
}

void frmInventarioDet::cmdIniciar_Click()
{
    const QString tipo = m_cmbTipo->currentData().toString();
    InventarioFisico::Apertura d;
    d.almacen = m_cmbAlmacen->currentData().toString();
    d.anio = m_txtAnio->text().toInt();
    d.numero = m_txtNumero->text().toInt();
    d.conteos = m_cmbConteos->currentData().toInt();
    d.tipo = tipo;
    d.departamento = tipo == QLatin1String("DEPTO") ? m_cmbDepartamento->currentData().toString() : QString();
    d.categoria = tipo == QLatin1String("CATEGORIA") ? m_cmbCategoria->currentData().toString() : QString();
    bool abierto = false;
    try {
        abierto = m_inventario.abre(d);
    } catch (const std::exception &e) {
        falla(QStringLiteral("No fue posible abrir el inventario"), QStringLiteral("abre"), e);
        return;
    }
    if (!abierto) {
        const QHash<QString, QWidget *> campos = {
            {QStringLiteral("almacen"), m_cmbAlmacen},    {QStringLiteral("anio"), m_txtAnio},
            {QStringLiteral("numero"), m_txtNumero},      {QStringLiteral("conteos"), m_cmbConteos},
            {QStringLiteral("tipo"), m_cmbTipo},          {QStringLiteral("departamento"), m_cmbDepartamento},
            {QStringLiteral("categoria"), m_cmbCategoria}};
        enfocaCampo(campos.value(m_inventario.campoRechazado(), m_txtNumero));
        return;
    }
    m_cambiado = true;
    actualiza();
}

bool frmInventarioDet::muestra(const QString &almacen, int anio, int numero)
{
    try {
        if (!m_inventario.consulta(almacen, anio, numero)) {
            m_services.prompter.exclamation(QStringLiteral("No se encontro el inventario ") +
                                            QStringLiteral("%1 %2-%3").arg(almacen).arg(anio).arg(numero));
            return false;
        }
    } catch (const std::exception &e) {
        falla(QStringLiteral("No fue posible leer el inventario"), QStringLiteral("consulta"), e);
        return false;
    }
    actualiza();
    return true;
}

void frmInventarioDet::actualiza()
{
    if (!m_inventario.abierto()) {
        m_paneles->setCurrentIndex(int(Panel::Apertura));
        return;
    }
    QString estado;
    int conteo = 1;
    try {
        estado = m_inventario.estado();
        conteo = m_inventario.conteoActual();
        if (estado == QLatin1String("REGISTRADO"))
            m_conteos.refresca();
        else
            m_ajustes.setFilas(m_inventario.ajustes());
    } catch (const std::exception &e) {
        falla(QStringLiteral("No fue posible leer el inventario"), QStringLiteral("actualiza"), e);
        return;
    }
    const QString titulo =
        QStringLiteral("Almacen %1   Inventario %2-%3   %4, %5 %6")
            .arg(m_inventario.almacen())
            .arg(m_inventario.anio())
            .arg(m_inventario.numero())
            .arg(m_inventario.tipo())
            .arg(m_inventario.conteos())
            .arg(m_inventario.conteos() == 1 ? QStringLiteral("conteo") : QStringLiteral("conteos"));
    setWindowTitle(
        QStringLiteral("Inventario fisico %1-%2").arg(m_inventario.anio()).arg(m_inventario.numero()));
    if (width() < 920 || height() < 580)
        resize(qMax(width(), 920), qMax(height(), 580));
    if (estado == QLatin1String("REGISTRADO")) {
        m_lblEncabezado->setText(titulo);
        m_conteoActual = conteo;
        m_conteos.setConteoActual(conteo);
        m_lblConteo->setText(QStringLiteral("Conteo %1").arg(conteo));
        const int planeados = m_inventario.conteos();
        m_grdConteos->setColumnHidden(ConteosInventarioModel::Conteo2, planeados < 2);
        m_grdConteos->setColumnHidden(ConteosInventarioModel::Diferencia, planeados < 2);
        m_grdConteos->setColumnHidden(ConteosInventarioModel::Conteo3, planeados < 3);
        m_paneles->setCurrentIndex(int(Panel::Captura));
        limpiaCaptura();
        return;
    }
    const bool cerrado = estado == QLatin1String("CERRADO");
    int entradas = 0;
    for (const InventarioFisico::FilaAjuste &f : m_ajustes.filas())
        entradas += f.tipo == QLatin1String("E") ? 1 : 0;
    const int salidas = int(m_ajustes.filas().size()) - entradas;
    m_lblAjustes->setText(titulo + QStringLiteral("\n") +
                          (cerrado
                               ? QStringLiteral("Inventario concluido: las existencias ya fueron ajustadas "
                                                "(solo consulta).")
                               : QStringLiteral("Inventario procesado: al concluir se aplican estos ajustes "
                                                "a las existencias.")) +
                          QStringLiteral("   Entradas: %1   Salidas: %2").arg(entradas).arg(salidas));
    m_cmdConcluir->setVisible(!cerrado);
    m_cmdReiniciarAjustes->setVisible(!cerrado);
    m_paneles->setCurrentIndex(int(Panel::Ajustes));
    m_grdAjustes->setFocus();
}

void frmInventarioDet::limpiaCaptura()
{
    m_txtArticulo->clear();
    m_txtLote->clear();
    m_txtCantidad->clear();
    m_txtArticulo->setFocus();
}

void frmInventarioDet::enfocaCaptura(const QString &campo)
{
    enfocaCampo(campo == QLatin1String("lote")       ? m_txtLote
                : campo == QLatin1String("cantidad") ? m_txtCantidad
                                                     : m_txtArticulo);
}

bool frmInventarioDet::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && key->modifiers() == Qt::NoModifier) {
            for (QLineEdit *campo : {m_txtArticulo, m_txtLote, m_txtCantidad})
                if (watched == campo) {
                    enterEnCampo(campo);
                    return true;
                }
        }
        // An open cell editor takes its own keys; the view sees Delete only between edits.
        if (watched == m_grdConteos && key->key() == Qt::Key_Delete) {
            cmdEliminar_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Enter moves on to the next field the article needs, and captures once nothing is missing;
// with automatic capture a scanned article counts at once.
void frmInventarioDet::enterEnCampo(QLineEdit *campo)
{
    const bool automatica = m_services.config.getBool(QStringLiteral("OPERACION-CAPTURA-AUTOMATICA"));
    const bool conCantidad = !m_txtCantidad->text().trimmed().isEmpty();
    if (campo == m_txtArticulo && !m_txtArticulo->text().trimmed().isEmpty()) {
        std::optional<QString> control;
        try {
            control = m_inventario.controlDe(m_txtArticulo->text());
        } catch (const std::exception &e) {
            falla(QStringLiteral("No fue posible leer el articulo"), QStringLiteral("controlDe"), e);
            return;
        }
        const bool pideLote =
            control && (*control == QLatin1String("LOTE") || *control == QLatin1String("SERIE"));
        if (pideLote && m_txtLote->text().trimmed().isEmpty()) {
            enfocaCampo(m_txtLote);
            return;
        }
        if (!automatica && !conCantidad) {
            enfocaCampo(m_txtCantidad);
            return;
        }
    } else if (campo == m_txtLote && !automatica && !conCantidad) {
        enfocaCampo(m_txtCantidad);
        return;
    }
    capturaArticulo();
}

void frmInventarioDet::capturaArticulo()
{
    const QString articulo = m_txtArticulo->text().trimmed();
    std::optional<Decimal> cantidad;
    const QString texto = m_txtCantidad->text().trimmed();
    if (!texto.isEmpty()) {
        bool ok = false;
        cantidad = Decimal::fromString(texto, &ok);
        if (!ok) {
            m_services.prompter.exclamation(QStringLiteral("Debe indicar la cantidad"));
            enfocaCampo(m_txtCantidad);
            return;
        }
    }
    for (int intento = 0; intento < 2; ++intento) {
        InventarioFisico::Captura r;
        try {
            r = m_inventario.captura(articulo, m_txtLote->text(), cantidad);
        } catch (const std::exception &e) {
            falla(QStringLiteral("No fue posible registrar el conteo del articulo ") + articulo,
                  QStringLiteral("captura"), e);
            enfocaCampo(m_txtArticulo);
            return;
        }
        if (r == InventarioFisico::Captura::Capturado) {
            m_cambiado = true;
            try {
                m_conteos.refresca();
            } catch (const std::exception &e) {
                falla(QStringLiteral("No fue posible leer los articulos del inventario"),
                      QStringLiteral("refresca"), e);
            }
            const int fila = m_conteos.busca(m_inventario.ultimoArticulo(), m_inventario.ultimoLote());
            if (fila >= 0) {
                m_grdConteos->selectRow(fila);
                m_grdConteos->scrollTo(m_conteos.index(fila, 0));
                const InventarioFisico::FilaConteo &f = m_conteos.fila(fila);
                const int n = m_conteoActual;
                const Decimal total = n == 3 ? f.conteo3 : n == 2 ? f.conteo2 : f.conteo1;
                m_lblUltimo->setText(
                    QStringLiteral("%1  %2%3: %4 en el conteo")
                        .arg(f.articulo, f.nombre,
                             f.lote.isEmpty() ? QString() : QStringLiteral("  (") + f.lote + u')',
                             total.toString()));
            }
            limpiaCaptura();
            return;
        }
        if (r == InventarioFisico::Captura::RegistrarArticulo && intento == 0 && m_registra &&
            m_registra(articulo))
            continue; // the article is on file now: count it
        break;
    }
    enfocaCaptura(m_inventario.campoRechazado());
}

void frmInventarioDet::cmdEliminar_Click()
{
    const QModelIndex actual = m_grdConteos->currentIndex();
    if (!actual.isValid())
        return;
    const InventarioFisico::FilaConteo f = m_conteos.fila(actual.row());
    try {
        if (!m_inventario.eliminaArticulo(f.articulo, f.lote))
            return;
        m_cambiado = true;
        m_conteos.refresca();
    } catch (const std::exception &e) {
        falla(QStringLiteral("No fue posible eliminar el articulo ") + f.articulo,
              QStringLiteral("eliminaArticulo"), e);
        return;
    }
    if (m_conteos.rowCount() > 0)
        m_grdConteos->selectRow(qMin(actual.row(), m_conteos.rowCount() - 1));
}

void frmInventarioDet::cmdCargar_Click()
{
    const QString ruta =
        QFileDialog::getOpenFileName(this, QStringLiteral("Cargar archivo de conteo"), QString(),
                                     QStringLiteral("Texto (*.txt *.csv *.dat);;Todos (*)"));
    if (!ruta.isEmpty())
        cargaArchivo(ruta);
}

void frmInventarioDet::cargaArchivo(const QString &ruta)
{
    QStringList reporte;
    bool cargado = false;
    try {
        cargado = m_inventario.cargaArchivo(ruta, reporte);
        m_cambiado = true;
        m_conteos.refresca();
    } catch (const std::exception &e) {
        falla(QStringLiteral("No fue posible cargar el archivo ") + ruta, QStringLiteral("cargaArchivo"), e);
        return;
    }
    if (!cargado || reporte.isEmpty()) {
        if (cargado)
            m_services.prompter.information(QStringLiteral("El archivo se cargo completo"));
        limpiaCaptura();
        return;
    }
    // A window of its own, not modal: the report can stay open beside the grid while the
    // lines are checked.
    auto *dlg = new QDialog(this);
    dlg->setObjectName(QStringLiteral("frmReporteCarga"));
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->setWindowTitle(QStringLiteral("Lineas no cargadas"));
    auto *texto = new QPlainTextEdit(reporte.join(u'\n'));
    texto->setObjectName(QStringLiteral("txtReporte"));
    texto->setReadOnly(true);
    auto *guardar = boton(QStringLiteral("&Guardar"), "cmdGuardar");
    auto *cerrar = boton(QStringLiteral("&Cerrar"), "cmdCerrar");
    cerrar->setDefault(true);
    connect(cerrar, &QPushButton::clicked, dlg, &QDialog::accept);
    connect(guardar, &QPushButton::clicked, dlg, [this, dlg, reporte] {
        const QString destino = QFileDialog::getSaveFileName(dlg, QStringLiteral("Guardar reporte"),
                                                             QStringLiteral("reporte_carga.txt"),
                                                             QStringLiteral("Texto (*.txt);;Todos (*)"));
        if (destino.isEmpty())
            return;
        QFile archivo(destino);
        if (!archivo.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate)) {
            m_services.prompter.critical(QStringLiteral("No fue posible guardar el archivo ") + destino);
            return;
        }
        QTextStream(&archivo) << reporte.join(u'\n') << '\n';
    });
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(guardar);
    botones->addWidget(cerrar);
    auto *layout = new QVBoxLayout(dlg);
    layout->addWidget(
        new QLabel(QStringLiteral("%1 lineas del archivo no se cargaron:").arg(reporte.size())));
    layout->addWidget(texto, 1);
    layout->addLayout(botones);
    dlg->resize(560, 360);
    m_reporte = dlg;
    dlg->show();
    limpiaCaptura();
}

void frmInventarioDet::cmdCerrarConteo_Click()
{
    try {
        if (m_inventario.cierraConteo())
            m_cambiado = true;
    } catch (const std::exception &e) {
        falla(QStringLiteral("No fue posible cerrar el conteo"), QStringLiteral("cierraConteo"), e);
    }
    actualiza();
}

void frmInventarioDet::cmdReiniciar_Click()
{
    try {
        if (m_inventario.reiniciaCaptura())
            m_cambiado = true;
    } catch (const std::exception &e) {
        falla(QStringLiteral("No fue posible reiniciar la captura"), QStringLiteral("reiniciaCaptura"), e);
    }
    actualiza();
}

void frmInventarioDet::cmdProcesar_Click()
{
    try {
        if (m_inventario.procesa())
            m_cambiado = true;
    } catch (const std::exception &e) {
        falla(QStringLiteral("No fue posible procesar el inventario"), QStringLiteral("procesa"), e);
    }
    actualiza();
}

void frmInventarioDet::cmdConcluir_Click()
{
    // concluye reports its own failures.
    if (m_inventario.concluye())
        m_cambiado = true;
    actualiza();
}

void frmInventarioDet::cmdExportar_Click()
{
    GridView::exportToFile(*m_grdAjustes, m_services.prompter, this);
}
