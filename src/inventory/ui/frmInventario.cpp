#include "frmInventario.h"

#include "DbError.h"
#include "Enfoque.h"
#include "Existencias.h"
#include "GridView.h"
#include "InventarioFisico.h"
#include "Log.h"
#include "Prompter.h"
#include "cConfigure.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QPushButton *boton(const QString &texto, const char *nombre)
{
    auto *b = new QPushButton(texto);
    b->setObjectName(QLatin1String(nombre));
    b->setAutoDefault(false);
    return b;
}

} // namespace

frmInventario::frmInventario(const LookupServices &services, frmInventarioDet::RegistraArticulo registra,
                             QWidget *parent)
    : QWidget(parent), m_services(services), m_registra(std::move(registra)), m_lista(services.connections)
{
    setObjectName(QStringLiteral("frmInventario"));
    setWindowTitle(QStringLiteral("Inventarios fisicos"));

    m_cmbAlmacen = new QComboBox;
    m_cmbAlmacen->setObjectName(QStringLiteral("cmbAlmacen"));
    m_cmbAlmacen->addItem(QStringLiteral("(Todos)"), QString());
    m_cmbAnio = new QComboBox;
    m_cmbAnio->setObjectName(QStringLiteral("cmbAnio"));
    try {
        for (const InventariosLista::Opcion &o : m_lista.almacenes())
            m_cmbAlmacen->addItem(o.clave + QStringLiteral(" - ") + o.nombre, o.clave);
    } catch (const std::exception &e) {
        reportError(services.prompter, QStringLiteral("No fue posible leer los almacenes"),
                    QStringLiteral("frmInventario.almacenes"), ErrorInfo::fromException(e));
    }
    const int propio = m_cmbAlmacen->findData(services.config.getValue(QStringLiteral("ALMACEN")).toString());
    m_cmbAlmacen->setCurrentIndex(propio > 0 ? propio : 0);

    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("grdInventarios"));
    m_grid->setModel(&m_modelo);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setAlternatingRowColors(true);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setColumnWidth(InventariosListaModel::Almacen, 80);
    m_grid->setColumnWidth(InventariosListaModel::Anio, 60);
    m_grid->setColumnWidth(InventariosListaModel::Numero, 70);
    m_grid->setColumnWidth(InventariosListaModel::Fecha, 130);
    m_grid->setColumnWidth(InventariosListaModel::Usuario, 100);
    m_grid->setColumnWidth(InventariosListaModel::Tipo, 90);
    m_grid->setColumnWidth(InventariosListaModel::Conteos, 70);
    m_grid->setColumnWidth(InventariosListaModel::ConteoActual, 100);
    m_grid->installEventFilter(this);
    connect(m_grid, &QTableView::doubleClicked, this, &frmInventario::cmdAbrir_Click);

    auto *filtros = new QHBoxLayout;
    filtros->addWidget(new QLabel(QStringLiteral("Almacen")));
    filtros->addWidget(m_cmbAlmacen, 1);
    filtros->addSpacing(16);
    filtros->addWidget(new QLabel(QStringLiteral("Año")));
    filtros->addWidget(m_cmbAnio);
    filtros->addStretch(1);

    auto *cmdNuevo = boton(QStringLiteral("&Nuevo"), "cmdNuevo");
    auto *cmdAbrir = boton(QStringLiteral("&Abrir"), "cmdAbrir");
    auto *cmdEliminar = boton(QStringLiteral("&Eliminar"), "cmdEliminar");
    auto *cmdExportar = boton(QStringLiteral("E&xportar"), "cmdExportar");
    auto *cmdCerrar = boton(QStringLiteral("&Cerrar"), "cmdCerrar");
    connect(cmdNuevo, &QPushButton::clicked, this, &frmInventario::cmdNuevo_Click);
    connect(cmdAbrir, &QPushButton::clicked, this, &frmInventario::cmdAbrir_Click);
    connect(cmdEliminar, &QPushButton::clicked, this, &frmInventario::cmdEliminar_Click);
    connect(cmdExportar, &QPushButton::clicked, this, &frmInventario::cmdExportar_Click);
    connect(cmdCerrar, &QPushButton::clicked, this, &QWidget::close);
    auto *botones = new QHBoxLayout;
    for (QPushButton *b : {cmdNuevo, cmdAbrir, cmdEliminar, cmdExportar})
        botones->addWidget(b);
    botones->addStretch();
    botones->addWidget(cmdCerrar);

    auto *main = new QVBoxLayout(this);
    main->addLayout(filtros);
    main->addWidget(m_grid, 1);
    main->addLayout(botones);
    resize(900, 480);

    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    llenaAnios();
    connect(m_cmbAlmacen, &QComboBox::currentIndexChanged, this, [this] {
        llenaAnios();
        refresca();
    });
    connect(m_cmbAnio, &QComboBox::currentIndexChanged, this, &frmInventario::refresca);
    refresca();
    m_grid->setFocus();
}

frmInventario::~frmInventario()
{
    sueltaCampos(this);
}

void frmInventario::llenaAnios()
{
    const QSignalBlocker quieto(m_cmbAnio);
    const int anterior = m_cmbAnio->currentData().toInt();
    m_cmbAnio->clear();
    m_cmbAnio->addItem(QStringLiteral("(Todos)"), 0);
    try {
        for (int anio : m_lista.anios(m_cmbAlmacen->currentData().toString()))
            m_cmbAnio->addItem(QString::number(anio), anio);
    } catch (const std::exception &e) {
        reportError(m_services.prompter, QStringLiteral("No fue posible leer los años de los inventarios"),
                    QStringLiteral("frmInventario.anios"), ErrorInfo::fromException(e));
    }
    m_cmbAnio->setCurrentIndex(qMax(0, m_cmbAnio->findData(anterior)));
}

void frmInventario::refresca()
{
    InventariosLista::Fila antes;
    const bool habia = seleccionado(&antes);
    try {
        m_modelo.setFilas(
            m_lista.filas(m_cmbAlmacen->currentData().toString(), m_cmbAnio->currentData().toInt()));
    } catch (const std::exception &e) {
        reportError(m_services.prompter, QStringLiteral("No fue posible leer la lista de inventarios"),
                    QStringLiteral("frmInventario.cargaGrid"), ErrorInfo::fromException(e));
        return;
    }
    int fila = 0;
    if (habia)
        for (int i = 0; i < m_modelo.filas().size(); ++i) {
            const InventariosLista::Fila &f = m_modelo.filas().at(i);
            if (f.almacen == antes.almacen && f.anio == antes.anio && f.numero == antes.numero)
                fila = i;
        }
    if (m_modelo.rowCount() > 0)
        m_grid->selectRow(fila);
}

bool frmInventario::seleccionado(InventariosLista::Fila *fila) const
{
    const QModelIndex actual = m_grid->currentIndex();
    if (!actual.isValid() || actual.row() >= m_modelo.filas().size())
        return false;
    *fila = m_modelo.filas().at(actual.row());
    return true;
}

void frmInventario::cmdNuevo_Click()
{
    if (frmInventarioDet::abrir(m_services, m_registra, {}, 0, 0, this)) {
        llenaAnios();
        refresca();
    }
}

void frmInventario::cmdAbrir_Click()
{
    InventariosLista::Fila f;
    if (!seleccionado(&f))
        return;
    if (frmInventarioDet::abrir(m_services, m_registra, f.almacen, f.anio, f.numero, this))
        refresca();
}

void frmInventario::cmdEliminar_Click()
{
    InventariosLista::Fila f;
    if (!seleccionado(&f))
        return;
    Existencias existencias(m_services.connections, m_services.config, m_services.prompter);
    InventarioFisico inventario(m_services.connections, m_services.config, m_services.prompter, existencias);
    try {
        if (!inventario.consulta(f.almacen, f.anio, f.numero) || !inventario.elimina())
            return;
    } catch (const std::exception &e) {
        reportError(m_services.prompter,
                    QStringLiteral("No fue posible eliminar el inventario %1-%2").arg(f.anio).arg(f.numero),
                    QStringLiteral("frmInventario.eliminar"), ErrorInfo::fromException(e));
        return;
    }
    llenaAnios();
    refresca();
}

void frmInventario::cmdExportar_Click()
{
    GridView::exportToFile(*m_grid, m_services.prompter, this);
}

bool frmInventario::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdAbrir_Click();
            return true;
        }
        if (key == Qt::Key_Delete) {
            cmdEliminar_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
