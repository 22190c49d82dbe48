#include "frmMovAlmDet.h"

#include "Enfoque.h"
#include "Log.h"
#include "LoteSerie.h"
#include "Prompter.h"
#include "cConfigure.h"
#include "frmConsultaArt.h"
#include "frmLoteSerie.h"

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
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kEnsamble = QStringLiteral("ENSAMBLE");
const QString kDesensamble = QStringLiteral("DESENSAMBLE");

QString dinero(const Decimal &d)
{
    return d.format(QStringLiteral("0.00"));
}

// A typed amount; an empty field reads as zero.
Decimal cifra(const QLineEdit *campo, bool *ok)
{
    const QString t = campo->text().trimmed();
    if (t.isEmpty()) {
        *ok = true;
        return Decimal();
    }
    return Decimal::fromString(t, ok);
}

// A field's text, trimmed; an empty field is '' (a lot column is never null).
QString campoTexto(const QLineEdit *campo)
{
    const QString t = campo->text().trimmed();
    return t.isNull() ? QStringLiteral("") : t;
}

} // namespace

ComponentesModel::ComponentesModel(QObject *parent) : QAbstractTableModel(parent) {}

int ComponentesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lineas.size());
}

int ComponentesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columnas;
}

QVariant ComponentesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_lineas.size())
        return {};
    const MovimientoAlmacen::Componente &k = m_lineas.at(index.row());
    if (role == Qt::TextAlignmentRole && index.column() >= Cantidad)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case Articulo:
        return k.articulo;
    case Nombre:
        return m_nombres.value(index.row());
    case Lote:
        return k.lote;
    case Cantidad:
        return k.cantidad.toString();
    case Costo:
        return dinero(k.costo);
    case Importe:
        return dinero(k.costo * k.cantidad);
    default:
        return {};
    }
}

QVariant ComponentesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const titulos[] = {"Articulo", "Nombre", "Lote/Serie", "Cantidad", "Costo", "Importe"};
    return section >= 0 && section < Columnas ? QString::fromLatin1(titulos[section]) : QVariant();
}

Qt::ItemFlags ComponentesModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!m_soloLectura && (index.column() == Lote || index.column() == Cantidad))
        f |= Qt::ItemIsEditable;
    return f;
}

bool ComponentesModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || m_soloLectura || !index.isValid() || index.row() >= m_lineas.size())
        return false;
    MovimientoAlmacen::Componente &k = m_lineas[index.row()];
    QString lote = index.column() == Lote ? value.toString().trimmed() : k.lote;
    if (lote.isNull())
        lote = QStringLiteral("");
    const QString cantidad = index.column() == Cantidad ? value.toString() : k.cantidad.toString();
    Decimal leida = k.cantidad;
    if (m_revisa && !m_revisa(index.row(), lote, cantidad, &leida))
        return false;
    k.lote = lote;
    k.cantidad = leida;
    Q_EMIT dataChanged(this->index(index.row(), 0), this->index(index.row(), Columnas - 1));
    return true;
}

void ComponentesModel::setLineas(const QList<MovimientoAlmacen::Componente> &lineas,
                                 const QStringList &nombres)
{
    beginResetModel();
    m_lineas = lineas;
    m_nombres = nombres;
    endResetModel();
}

frmMovAlmDet::frmMovAlmDet(const LookupServices &services, Permisos &permisos, QChar modo,
                           const QString &almacen, int anio, qint64 numero, const QString &tipo,
                           QWidget *parent)
    : QDialog(parent), m_services(services), m_permisos(permisos),
      m_movimiento(services.connections, services.config, services.prompter),
      m_lista(services.connections, permisos), m_modo(modo.toUpper()), m_anio(anio), m_numero(numero)
{
    setObjectName(QStringLiteral("frmMovAlmDet"));
    const bool consulta = m_modo == u'Q';
    setWindowTitle(consulta ? QStringLiteral("Consulta de movimiento de almacen")
                            : QStringLiteral("Movimiento de almacen"));
    m_almacen = almacen.isEmpty() ? services.config.getValue(QStringLiteral("ALMACEN")).toString() : almacen;

    m_cmbAlmacen = new QComboBox;
    m_cmbAlmacen->setObjectName(QStringLiteral("cmbAlmacen"));
    m_cmbTipo = new QComboBox;
    m_cmbTipo->setObjectName(QStringLiteral("cmbTipo"));
    m_txtFolio = new QLineEdit;
    m_txtFolio->setObjectName(QStringLiteral("txtFolio"));
    m_txtFolio->setReadOnly(true);
    m_txtFecha = new QLineEdit;
    m_txtFecha->setObjectName(QStringLiteral("txtFecha"));
    m_txtFecha->setReadOnly(true);
    m_txtEstado = new QLineEdit;
    m_txtEstado->setObjectName(QStringLiteral("txtEstado"));
    m_txtEstado->setReadOnly(true);
    m_txtArticulo = new QLineEdit;
    m_txtArticulo->setObjectName(QStringLiteral("txtArticulo"));
    m_txtArticulo->setMaxLength(30);
    m_lblNombre = new QLabel;
    m_lblNombre->setObjectName(QStringLiteral("lblNombre"));
    m_txtLote = new QLineEdit;
    m_txtLote->setObjectName(QStringLiteral("txtLote"));
    m_txtLote->setMaxLength(50);
    m_txtCantidad = new QLineEdit;
    m_txtCantidad->setObjectName(QStringLiteral("txtCantidad"));
    m_txtCantidad->setAlignment(Qt::AlignRight);
    m_txtCosto = new QLineEdit(QStringLiteral("0.00"));
    m_txtCosto->setObjectName(QStringLiteral("txtCosto"));
    m_txtCosto->setAlignment(Qt::AlignRight);
    m_txtDescripcion = new QLineEdit;
    m_txtDescripcion->setObjectName(QStringLiteral("txtDescripcion"));
    m_txtDescripcion->setMaxLength(500);

    try {
        llenaCombo(m_cmbAlmacen, m_lista.opciones(MovimientosAlmacenLista::Catalogo::Almacenes));
        m_tipos = m_lista.opciones(MovimientosAlmacenLista::Catalogo::Tipos);
        llenaCombo(m_cmbTipo, m_tipos);
    } catch (const std::exception &e) {
        reportError(services.prompter, QString(), QStringLiteral("frmMovAlmDet"),
                    ErrorInfo::fromException(e));
    }
    m_cmbTipo->setCurrentIndex(-1);

    // Header: two columns of label and field.
    auto *cabecera = new QGridLayout;
    cabecera->setColumnStretch(1, 1);
    cabecera->setColumnStretch(3, 1);
    cabecera->setColumnMinimumWidth(0, 110);
    cabecera->setColumnMinimumWidth(2, 110);
    cabecera->addWidget(new QLabel(QStringLiteral("Almacen")), 0, 0);
    cabecera->addWidget(m_cmbAlmacen, 0, 1);
    cabecera->addWidget(new QLabel(QStringLiteral("Tipo de movimiento")), 0, 2);
    cabecera->addWidget(m_cmbTipo, 0, 3);
    cabecera->addWidget(new QLabel(QStringLiteral("Fecha")), 1, 0);
    cabecera->addWidget(m_txtFecha, 1, 1);
    m_lblFolio = new QLabel(QStringLiteral("Movimiento"));
    cabecera->addWidget(m_lblFolio, 1, 2);
    cabecera->addWidget(m_txtFolio, 1, 3);
    cabecera->addWidget(new QLabel(QStringLiteral("Articulo")), 2, 0);
    cabecera->addWidget(conBoton(m_txtArticulo, QStringLiteral("Buscar articulo (F2)"),
                                 [this] { buscaArticulo(m_txtArticulo); }),
                        2, 1);
    cabecera->addWidget(new QLabel(QStringLiteral("Nombre")), 2, 2);
    cabecera->addWidget(m_lblNombre, 2, 3);
    cabecera->addWidget(new QLabel(QStringLiteral("Lote/Serie")), 3, 0);
    cabecera->addWidget(
        conBoton(m_txtLote, QStringLiteral("Lotes y series en existencia (F2)"), [this] { cmdLote_Click(); }),
        3, 1);
    cabecera->addWidget(new QLabel(QStringLiteral("Cantidad")), 3, 2);
    cabecera->addWidget(m_txtCantidad, 3, 3);
    cabecera->addWidget(new QLabel(QStringLiteral("Costo unitario")), 4, 2);
    cabecera->addWidget(m_txtCosto, 4, 3);
    m_lblEstadoMov = new QLabel(QStringLiteral("Estado"));
    cabecera->addWidget(m_lblEstadoMov, 4, 0);
    cabecera->addWidget(m_txtEstado, 4, 1);

    // By type: the destination warehouse, the destination branch, the article received.
    m_cmbDestino = new QComboBox;
    m_cmbDestino->setObjectName(QStringLiteral("cmbDestino"));
    // The rows of each type sit in the header's columns; a type shows only its own.
    auto *lblDestino = new QLabel(QStringLiteral("Almacen destino"));
    cabecera->addWidget(lblDestino, 5, 0);
    cabecera->addWidget(m_cmbDestino, 5, 1);
    m_porTipo.insert(QStringLiteral("TRASPASO"), {lblDestino, m_cmbDestino});

    m_cmbSucursal = new QComboBox;
    m_cmbSucursal->setObjectName(QStringLiteral("cmbSucursal"));
    auto *lblSucursal = new QLabel(QStringLiteral("Selecciona la sucursal destino"));
    lblSucursal->setWordWrap(true);
    cabecera->addWidget(lblSucursal, 6, 0);
    cabecera->addWidget(m_cmbSucursal, 6, 1);
    m_porTipo.insert(QStringLiteral("INTERSUCURSAL"), {lblSucursal, m_cmbSucursal});
    try {
        llenaCombo(m_cmbDestino, m_lista.opciones(MovimientosAlmacenLista::Catalogo::Almacenes));
        llenaCombo(m_cmbSucursal, m_lista.opciones(MovimientosAlmacenLista::Catalogo::Sucursales));
    } catch (const std::exception &e) {
        reportError(services.prompter, QString(), QStringLiteral("frmMovAlmDet"),
                    ErrorInfo::fromException(e));
    }
    m_cmbDestino->setCurrentIndex(-1);
    m_cmbSucursal->setCurrentIndex(-1);

    m_txtArticuloCambio = new QLineEdit;
    m_txtArticuloCambio->setObjectName(QStringLiteral("txtArticuloCambio"));
    m_txtArticuloCambio->setMaxLength(30);
    m_lblNombreCambio = new QLabel;
    m_lblNombreCambio->setObjectName(QStringLiteral("lblNombreCambio"));
    m_txtLoteCambio = new QLineEdit;
    m_txtLoteCambio->setObjectName(QStringLiteral("txtLoteCambio"));
    m_txtLoteCambio->setMaxLength(50);
    auto *lblArticuloCambio = new QLabel(QStringLiteral("Articulo que se recibe"));
    lblArticuloCambio->setWordWrap(true);
    auto *articuloCambio = conBoton(m_txtArticuloCambio, QStringLiteral("Buscar articulo (F2)"),
                                    [this] { buscaArticulo(m_txtArticuloCambio); });
    auto *lblNombreCambio = new QLabel(QStringLiteral("Nombre"));
    auto *lblLoteCambio = new QLabel(QStringLiteral("Lote/Serie que se recibe"));
    lblLoteCambio->setWordWrap(true);
    cabecera->addWidget(lblArticuloCambio, 7, 0);
    cabecera->addWidget(articuloCambio, 7, 1);
    cabecera->addWidget(lblNombreCambio, 7, 2);
    cabecera->addWidget(m_lblNombreCambio, 7, 3);
    cabecera->addWidget(lblLoteCambio, 8, 0);
    cabecera->addWidget(m_txtLoteCambio, 8, 1);
    m_porTipo.insert(QStringLiteral("CAMBIOS"), {lblArticuloCambio, articuloCambio, lblNombreCambio,
                                                 m_lblNombreCambio, lblLoteCambio, m_txtLoteCambio});

    m_componentes = new ComponentesModel(this);
    m_componentes->setRevisa([this](int fila, const QString &lote, const QString &cantidad, Decimal *leida) {
        return revisaComponente(fila, lote, cantidad, leida);
    });
    m_grdComponentes = new QTableView;
    m_grdComponentes->setObjectName(QStringLiteral("grdComponentes"));
    m_grdComponentes->setModel(m_componentes);
    m_grdComponentes->verticalHeader()->hide();
    m_grdComponentes->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grdComponentes->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                      QAbstractItemView::AnyKeyPressed);
    m_grdComponentes->horizontalHeader()->setSectionResizeMode(ComponentesModel::Nombre,
                                                               QHeaderView::Stretch);
    m_grpComponentes = new QGroupBox(QStringLiteral("Componentes del Ensamble"));
    m_grpComponentes->setObjectName(QStringLiteral("grpComponentes"));
    auto *componentes = new QVBoxLayout(m_grpComponentes);
    componentes->addWidget(m_grdComponentes);

    cabecera->addWidget(new QLabel(QStringLiteral("Descripcion")), 9, 0);
    cabecera->addWidget(m_txtDescripcion, 9, 1, 1, 3);

    m_lblProgreso = new QLabel;
    m_lblProgreso->setObjectName(QStringLiteral("lblProgreso"));

    m_cmdAceptar = new QPushButton(QStringLiteral("&Aceptar"));
    m_cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    m_cmdCancelarMovimiento = new QPushButton(QStringLiteral("Cancelar &movimiento"));
    m_cmdCancelarMovimiento->setObjectName(QStringLiteral("cmdCancelarMovimiento"));
    m_cmdCancelarMovimiento->setAutoDefault(false);
    m_cmdCerrar = new QPushButton(consulta ? QStringLiteral("C&errar") : QStringLiteral("&Cancelar"));
    m_cmdCerrar->setObjectName(QStringLiteral("cmdCerrar"));
    m_cmdCerrar->setAutoDefault(false);
    connect(m_cmdAceptar, &QPushButton::clicked, this, &frmMovAlmDet::cmdAceptar_Click);
    connect(m_cmdCancelarMovimiento, &QPushButton::clicked, this, &frmMovAlmDet::cmdCancelarMovimiento_Click);
    connect(m_cmdCerrar, &QPushButton::clicked, this, &QDialog::reject);
    auto *botones = new QHBoxLayout;
    botones->addWidget(m_lblProgreso, 1);
    botones->addWidget(m_cmdAceptar);
    botones->addWidget(m_cmdCancelarMovimiento);
    botones->addWidget(m_cmdCerrar);

    auto *main = new QVBoxLayout(this);
    main->addLayout(cabecera);
    main->addWidget(m_grpComponentes, 1);
    main->addStretch(0);
    main->addLayout(botones);
    resize(820, 520);

    connect(m_cmbTipo, &QComboBox::currentIndexChanged, this, &frmMovAlmDet::tipoCambiado);
    connect(m_cmbAlmacen, &QComboBox::currentIndexChanged, this, [this] {
        if (m_modo != u'Q')
            m_almacen = m_cmbAlmacen->currentData().toString();
    });
    connect(m_txtArticulo, &QLineEdit::editingFinished, this,
            [this] { articuloCapturado(m_txtArticulo, m_lblNombre, true); });
    connect(m_txtArticuloCambio, &QLineEdit::editingFinished, this,
            [this] { articuloCapturado(m_txtArticuloCambio, m_lblNombreCambio, false); });
    connect(m_txtCantidad, &QLineEdit::editingFinished, this, [this] {
        if (m_txtCantidad->text() != m_cantidadLeida)
            recalculaComponentes();
    });
    m_txtLoteCambio->installEventFilter(this);

    if (consulta) {
        std::optional<MovimientosAlmacenLista::Movimiento> m;
        try {
            m = m_lista.lee(m_almacen, anio, numero);
        } catch (const std::exception &e) {
            reportError(services.prompter, QString(), QStringLiteral("frmMovAlmDet"),
                        ErrorInfo::fromException(e));
            m_valido = false;
            return;
        }
        if (!m) {
            services.prompter.exclamation(QStringLiteral("No se encontro informacion del movimiento"));
            m_valido = false;
            return;
        }
        muestra(*m);
        return;
    }
    eligeCombo(m_cmbAlmacen, m_almacen);
    try {
        m_txtFecha->setText(m_lista.ahora().date().toString(QStringLiteral("dd/MM/yyyy")));
    } catch (const std::exception &) {
        m_txtFecha->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    }
    m_lblFolio->hide();
    m_txtFolio->hide();
    m_lblEstadoMov->hide();
    m_txtEstado->hide();
    m_cmdCancelarMovimiento->hide();
    m_cmdAceptar->setDefault(true);
    if (!tipo.isEmpty())
        eligeCombo(m_cmbTipo, tipo);
    tipoCambiado();
    (tipo.isEmpty() ? static_cast<QWidget *>(m_cmbTipo) : m_txtArticulo)->setFocus();
}

bool frmMovAlmDet::abrir(const LookupServices &services, Permisos &permisos, QWidget *parent,
                         const QString &tipo)
{
    frmMovAlmDet w(services, permisos, u'A', QString(), 0, 0, tipo, parent);
    w.exec();
    return w.cambiado();
}

bool frmMovAlmDet::consultar(const LookupServices &services, Permisos &permisos, const QString &almacen,
                             int anio, qint64 numero, QWidget *parent)
{
    frmMovAlmDet w(services, permisos, u'Q', almacen, anio, numero, QString(), parent);
    if (!w.valido())
        return false;
    w.exec();
    return w.cambiado();
}

QWidget *frmMovAlmDet::conBoton(QLineEdit *campo, const QString &ayuda, std::function<void()> accion)
{
    auto *w = new QWidget;
    auto *h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(campo, 1);
    auto *b = new QToolButton;
    b->setObjectName(campo->objectName() + QStringLiteral("_buscar"));
    b->setText(QStringLiteral("..."));
    b->setToolTip(ayuda);
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &QToolButton::clicked, this, std::move(accion));
    campo->installEventFilter(this);
    campo->setToolTip(ayuda);
    h->addWidget(b);
    return w;
}

bool frmMovAlmDet::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F2 &&
        m_modo != u'Q') {
        if (watched == m_txtArticulo || watched == m_txtArticuloCambio) {
            buscaArticulo(static_cast<QLineEdit *>(watched));
            return true;
        }
        if (watched == m_txtLote) {
            cmdLote_Click();
            return true;
        }
        if (watched == m_txtLoteCambio) {
            eligeLote(m_txtLoteCambio, m_txtArticuloCambio->text().trimmed(), false);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmMovAlmDet::llenaCombo(QComboBox *combo, const QList<MovimientosAlmacenLista::Opcion> &opciones)
{
    combo->clear();
    for (const MovimientosAlmacenLista::Opcion &o : opciones)
        combo->addItem(o.clave + QStringLiteral(" - ") + o.nombre, o.clave);
}

void frmMovAlmDet::eligeCombo(QComboBox *combo, const QString &clave)
{
    combo->setCurrentIndex(combo->findData(clave));
}

QString frmMovAlmDet::tipo() const
{
    return m_cmbTipo->currentData().toString();
}

bool frmMovAlmDet::esSalida() const
{
    for (const MovimientosAlmacenLista::Opcion &o : m_tipos)
        if (o.clave == tipo())
            return !o.entrada;
    return false;
}

void frmMovAlmDet::tipoCambiado()
{
    const QString t = tipo();
    for (auto i = m_porTipo.cbegin(); i != m_porTipo.cend(); ++i)
        for (QWidget *w : i.value())
            w->setVisible(i.key() == t);
    const bool ensamble = t == kEnsamble || t == kDesensamble;
    m_grpComponentes->setVisible(ensamble);
    m_grpComponentes->setTitle(t == kDesensamble ? QStringLiteral("Componentes del DesEnsamble")
                                                 : QStringLiteral("Componentes del Ensamble"));
    if (m_modo != u'Q')
        recalculaComponentes();
}

void frmMovAlmDet::articuloCapturado(QLineEdit *campo, QLabel *nombre, bool principal)
{
    const QString texto = campo->text().trimmed();
    if (principal && texto == m_articuloLeido)
        return;
    nombre->clear();
    if (principal)
        habilitaLote(true);
    if (texto.isEmpty()) {
        if (principal) {
            m_articuloLeido.clear();
            recalculaComponentes();
        }
        return;
    }
    std::optional<MovimientosAlmacenLista::Articulo> a;
    try {
        a = m_lista.articulo(texto);
    } catch (const std::exception &e) {
        reportError(m_services.prompter, QString(), QStringLiteral("frmMovAlmDet"),
                    ErrorInfo::fromException(e));
        return;
    }
    if (!a) {
        // Said once more, with the focus, when the movement is accepted.
        nombre->setText(QStringLiteral("No existe el articulo"));
        if (principal)
            m_articuloLeido = texto;
        return;
    }
    campo->setText(a->clave); // a bar code becomes the key
    nombre->setText(a->nombre);
    if (!principal)
        return;
    m_articuloLeido = a->clave;
    m_txtCosto->setText(dinero(a->costo));
    // Only lots and serials are captured; the field waits for an article that has them.
    if (!LoteSerie::usaLote(a->control))
        m_txtLote->clear();
    habilitaLote(LoteSerie::usaLote(a->control));
    if (a->control == QLatin1String("SERIE") && m_txtCantidad->text().trimmed().isEmpty())
        m_txtCantidad->setText(QStringLiteral("1"));
    recalculaComponentes();
}

void frmMovAlmDet::habilitaLote(bool habilitado)
{
    m_txtLote->setEnabled(habilitado);
    if (auto *b = findChild<QToolButton *>(QStringLiteral("txtLote_buscar")))
        b->setEnabled(habilitado);
}

void frmMovAlmDet::buscaArticulo(QLineEdit *campo)
{
    if (campo->isReadOnly())
        return;
    const LookupResult r = frmConsultaArt::consultaArticulo(m_services, {}, this, campo->text().trimmed());
    if (!r.accepted)
        return;
    campo->setText(r.key);
    if (campo == m_txtArticulo)
        articuloCapturado(m_txtArticulo, m_lblNombre, true);
    else
        articuloCapturado(m_txtArticuloCambio, m_lblNombreCambio, false);
    campo->setFocus();
}

void frmMovAlmDet::cmdLote_Click()
{
    eligeLote(m_txtLote, m_txtArticulo->text().trimmed(), esSalida());
}

void frmMovAlmDet::eligeLote(QLineEdit *campo, const QString &articulo, bool salida)
{
    if (m_modo == u'Q' || campo->isReadOnly())
        return;
    if (articulo.isEmpty()) {
        m_services.prompter.exclamation(QStringLiteral("Debe indicar el articulo"));
        enfocaCampo(campo == m_txtLote ? m_txtArticulo : m_txtArticuloCambio);
        return;
    }
    bool ok = false;
    Decimal cantidad = cifra(m_txtCantidad, &ok);
    if (!ok)
        cantidad = Decimal();
    const std::optional<QString> lote =
        frmLoteSerie::elige(m_services.connections, m_services.prompter, m_almacen, articulo, cantidad,
                            salida, campo->text(), this);
    if (lote)
        campo->setText(*lote);
    campo->setFocus();
}

void frmMovAlmDet::recalculaComponentes()
{
    const QString t = tipo();
    bool ok = false;
    const Decimal cantidad = cifra(m_txtCantidad, &ok);
    m_cantidadLeida = m_txtCantidad->text();
    QList<MovimientoAlmacen::Componente> lineas;
    QStringList nombres;
    const QString articulo = m_txtArticulo->text().trimmed();
    if ((t == kEnsamble || t == kDesensamble) && ok && !articulo.isEmpty()) {
        try {
            lineas = m_movimiento.componentes(articulo, cantidad);
            for (const MovimientoAlmacen::Componente &k : lineas) {
                const auto a = m_lista.articulo(k.articulo);
                nombres << (a ? a->nombre : QString());
            }
        } catch (const std::exception &e) {
            reportError(m_services.prompter, QString(), QStringLiteral("frmMovAlmDet"),
                        ErrorInfo::fromException(e));
        }
    }
    m_componentes->setLineas(lineas, nombres);
}

bool frmMovAlmDet::revisaComponente(int fila, const QString &lote, const QString &cantidad, Decimal *leida)
{
    const MovimientoAlmacen::Componente &k = m_componentes->lineas().at(fila);
    try {
        // An assembly takes its components out; a dismantling puts them back.
        return LoteSerie(m_services.connections, m_services.prompter)
            .validaComponente(m_almacen, k.articulo, lote, cantidad, tipo() == kEnsamble, leida);
    } catch (const std::exception &e) {
        reportError(m_services.prompter, QString(), QStringLiteral("frmMovAlmDet"),
                    ErrorInfo::fromException(e));
    }
    return false;
}

MovimientoAlmacen::Datos frmMovAlmDet::datos() const
{
    MovimientoAlmacen::Datos d;
    d.almacen = m_cmbAlmacen->currentData().toString();
    d.tipo = tipo();
    d.articulo = campoTexto(m_txtArticulo);
    d.lote = campoTexto(m_txtLote);
    bool ok = false;
    d.cantidad = cifra(m_txtCantidad, &ok);
    if (!ok)
        d.cantidad = Decimal(); // refused as a missing quantity
    d.costo = cifra(m_txtCosto, &ok);
    if (d.tipo == QLatin1String("TRASPASO"))
        d.destino = m_cmbDestino->currentData().toString();
    else if (d.tipo == QLatin1String("INTERSUCURSAL"))
        d.destino = m_cmbSucursal->currentData().toString();
    if (d.tipo == QLatin1String("CAMBIOS")) {
        d.articuloCambio = campoTexto(m_txtArticuloCambio);
        d.loteCambio = campoTexto(m_txtLoteCambio);
    }
    if (d.tipo == kEnsamble || d.tipo == kDesensamble)
        d.componentes = m_componentes->lineas();
    d.descripcion = campoTexto(m_txtDescripcion);
    return d;
}

void frmMovAlmDet::muestraProgreso(const QString &texto)
{
    m_lblProgreso->setText(texto);
    for (QWidget *w = parentWidget(); w; w = w->parentWidget())
        if (auto *principal = qobject_cast<QMainWindow *>(w)) {
            principal->statusBar()->showMessage(texto);
            break;
        }
    // The branch may take a while to answer: the text is painted before the work goes on.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmMovAlmDet::enfocaRechazado()
{
    const QString &campo = m_movimiento.campoRechazado();
    QWidget *w = nullptr;
    if (campo == QLatin1String("almacen"))
        w = m_cmbAlmacen;
    else if (campo == QLatin1String("tipo"))
        w = m_cmbTipo;
    else if (campo == QLatin1String("destino"))
        w = tipo() == QLatin1String("INTERSUCURSAL") ? m_cmbSucursal : m_cmbDestino;
    else if (campo == QLatin1String("articulo"))
        w = m_txtArticulo;
    else if (campo == QLatin1String("lote"))
        w = m_txtLote;
    else if (campo == QLatin1String("cantidad"))
        w = m_txtCantidad;
    else if (campo == QLatin1String("articuloCambio"))
        w = m_txtArticuloCambio;
    else if (campo == QLatin1String("loteCambio"))
        w = m_txtLoteCambio;
    else if (campo == QLatin1String("componentes")) {
        const int fila = qMax(0, m_movimiento.componenteRechazado());
        m_grdComponentes->setFocus();
        m_grdComponentes->setCurrentIndex(m_componentes->index(fila, ComponentesModel::Lote));
        return;
    }
    enfocaCampo(w);
}

void frmMovAlmDet::cmdAceptar_Click()
{
    if (m_modo == u'Q')
        return;
    // The field being typed is read as if it had been left.
    articuloCapturado(m_txtArticulo, m_lblNombre, true);
    if (m_txtCantidad->text() != m_cantidadLeida)
        recalculaComponentes();
    bool ok = false;
    cifra(m_txtCosto, &ok);
    if (!ok) {
        m_services.prompter.exclamation(QStringLiteral("Debe ingresar un numero"));
        enfocaCampo(m_txtCosto);
        return;
    }
    m_movimiento.setProgreso([this](const QString &texto) { muestraProgreso(texto); });
    const bool registrado = m_movimiento.registra(datos());
    m_movimiento.setProgreso({});
    m_lblProgreso->clear();
    if (!registrado) {
        enfocaRechazado();
        return;
    }
    m_cambiado = true;
    accept();
}

void frmMovAlmDet::cmdCancelarMovimiento_Click()
{
    if (m_modo != u'Q')
        return;
    if (!m_lista.puedeCancelar()) {
        m_services.prompter.exclamation(MovimientosAlmacenLista::kSinAcceso);
        return;
    }
    m_movimiento.setProgreso([this](const QString &texto) { muestraProgreso(texto); });
    const bool cancelado = m_movimiento.cancela(m_almacen, m_anio, m_numero);
    m_movimiento.setProgreso({});
    m_lblProgreso->clear();
    if (!cancelado)
        return;
    m_cambiado = true;
    m_txtEstado->setText(QStringLiteral("CANCELADO"));
    m_cmdCancelarMovimiento->hide();
    m_cmdCerrar->setFocus();
}

void frmMovAlmDet::muestra(const MovimientosAlmacenLista::Movimiento &m)
{
    const MovimientoAlmacen::Datos &d = m.datos;
    eligeCombo(m_cmbAlmacen, d.almacen);
    eligeCombo(m_cmbTipo, d.tipo);
    m_txtFolio->setText(QString::number(m.anio) + u'-' + QString::number(m.numero));
    m_txtFecha->setText(m.fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm")));
    m_txtEstado->setText(m.estado);
    m_txtArticulo->setText(d.articulo);
    m_txtLote->setText(d.lote);
    m_txtCantidad->setText(d.cantidad.toString());
    m_txtCosto->setText(dinero(d.costo));
    m_txtDescripcion->setText(d.descripcion);
    eligeCombo(d.tipo == QLatin1String("INTERSUCURSAL") ? m_cmbSucursal : m_cmbDestino, d.destino);
    m_txtArticuloCambio->setText(d.articuloCambio);
    m_txtLoteCambio->setText(d.loteCambio);
    try {
        if (const auto a = m_lista.articulo(d.articulo))
            m_lblNombre->setText(a->nombre);
        if (!d.articuloCambio.isEmpty())
            if (const auto a = m_lista.articulo(d.articuloCambio))
                m_lblNombreCambio->setText(a->nombre);
        QStringList nombres;
        for (const MovimientoAlmacen::Componente &k : d.componentes) {
            const auto a = m_lista.articulo(k.articulo);
            nombres << (a ? a->nombre : QString());
        }
        m_componentes->setLineas(d.componentes, nombres);
    } catch (const std::exception &e) {
        reportError(m_services.prompter, QString(), QStringLiteral("frmMovAlmDet"),
                    ErrorInfo::fromException(e));
    }
    m_componentes->setSoloLectura(true);
    tipoCambiado();
    for (QLineEdit *e : findChildren<QLineEdit *>())
        e->setReadOnly(true);
    for (QComboBox *c : {m_cmbAlmacen, m_cmbTipo, m_cmbDestino, m_cmbSucursal})
        c->setEnabled(false);
    for (QToolButton *b : findChildren<QToolButton *>())
        b->setEnabled(false);
    m_cmdAceptar->hide();
    m_cmdCancelarMovimiento->setVisible(m.estado == QLatin1String("REGISTRADO"));
    m_cmdCerrar->setDefault(true);
    m_cmdCerrar->setFocus();
}

frmMovAlmDet::~frmMovAlmDet()
{
    sueltaCampos(this);
}
