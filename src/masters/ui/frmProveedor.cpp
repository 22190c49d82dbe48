#include "frmProveedor.h"

#include "frmMaestro.h"
#include "Log.h"
#include "LookupProveedor.h"
#include "Prompter.h"
#include "frmConsulta.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

using marco::Rejilla;
using marco::soloLecturaVisible;
using Pestana = ProveedorEditor::Pestana;

namespace {

QTableView *tabla(const QString &nombre, QStandardItemModel *modelo)
{
    auto *v = new QTableView;
    v->setObjectName(nombre);
    v->setModel(modelo);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->verticalHeader()->setVisible(false);
    v->horizontalHeader()->setStretchLastSection(true);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return v;
}

} // namespace

frmProveedor::frmProveedor(ProveedorEditor &editor, Prompter &prompter, QChar modo, const QString &clave,
                           QWidget *parent)
    : frmMaestro(editor, prompter, modo, QStringLiteral("Proveedor"), clave, parent), m_editor(editor)
{
    setObjectName(QStringLiteral("frmProveedor"));
    m_tabs->setObjectName(QStringLiteral("tabProveedor"));
    // In ProveedorEditor::Pestana order, so a refusal's tab is its index.
    m_tabs->addTab(pestanaGenerales(), QStringLiteral("Generales"));
    m_tabs->addTab(pestanaCondiciones(), QStringLiteral("Condiciones comerciales"));
    m_tabs->addTab(pestanaRecepcion(), QStringLiteral("Recepcion"));
    m_tabs->addTab(pestanaIntercambio(), QStringLiteral("Intercambio electronico"));
    m_tabs->addTab(pestanaResurtido(), QStringLiteral("Resurtido"));
    m_tabs->addTab(pestanaDepartamentos(), QStringLiteral("Departamentos"));

    arma(QStringLiteral("prov_Clave"), QStringLiteral("prov_Nombre"));
}

QComboBox *frmProveedor::combo(const QString &columna)
{
    auto *cmb = new QComboBox;
    cmb->setObjectName(columna);
    // Long names (the SAT's regimes) would otherwise widen the window past the screen.
    cmb->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmb->setMinimumContentsLength(12);
    m_campos.insert(columna, cmb);
    llenaCombo(columna);
    connect(cmb, &QComboBox::currentIndexChanged, this, [this, cmb, columna] {
        if (m_mostrando)
            return;
        m_editor.setTexto(columna, cmb->currentData().toString());
        if (columna == QLatin1String("pais_Clave"))
            llenaCombo(QStringLiteral("edo_Clave"));
    });
    return cmb;
}

QWidget *frmProveedor::bandera(const QString &columna, const QString &titulo)
{
    auto *c = new QCheckBox(titulo);
    c->setObjectName(columna);
    m_campos.insert(columna, c);
    connect(c, &QCheckBox::toggled, this, [this, columna](bool marcada) {
        if (!m_mostrando)
            m_editor.setTexto(columna, marcada ? QStringLiteral("S") : QStringLiteral("N"));
    });
    return c;
}

QWidget *frmProveedor::pestanaGenerales()
{
    auto *w = new QWidget;
    Rejilla r(w);
    r.agrega(QStringLiteral("Clave *"), texto(QStringLiteral("prov_Clave"), 30));
    r.agrega(QStringLiteral("Abreviatura"), texto(QStringLiteral("prov_Abreviatura"), 30));
    r.agrega(QStringLiteral("Nombre *"), texto(QStringLiteral("prov_Nombre"), 150), 2);
    QLineEdit *rfc = texto(QStringLiteral("prov_RFC"), 13);
    rfc->setToolTip(QStringLiteral("13 caracteres para personas fisicas, 12 para personas morales"));
    r.agrega(QStringLiteral("RFC"), rfc);
    r.agrega(QStringLiteral("Regimen fiscal"), combo(QStringLiteral("prov_RegimenFiscal")));
    r.agrega(QStringLiteral("Domicilio"), texto(QStringLiteral("prov_Domicilio"), 255), 2);
    r.agrega(QStringLiteral("Ciudad"), texto(QStringLiteral("prov_Ciudad"), 100));
    r.agrega(QStringLiteral("C.P."), texto(QStringLiteral("prov_CP"), 10));
    r.agrega(QStringLiteral("Pais *"), combo(QStringLiteral("pais_Clave")));
    r.agrega(QStringLiteral("Estado *"), combo(QStringLiteral("edo_Clave")));
    r.agrega(QStringLiteral("Agente de ventas"), texto(QStringLiteral("prov_Agente"), 100));
    r.agrega(QStringLiteral("Supervisor"), texto(QStringLiteral("prov_Supervisor"), 100));
    r.agrega(QStringLiteral("Telefono 1"), texto(QStringLiteral("prov_Tel1"), 30));
    r.agrega(QStringLiteral("Telefono 2"), texto(QStringLiteral("prov_Tel2"), 30));
    r.agrega(QStringLiteral("Fax"), texto(QStringLiteral("prov_Fax"), 30));
    r.agrega(QStringLiteral("Correo"), texto(QStringLiteral("prov_email"), 100));
    r.termina();
    return w;
}

QWidget *frmProveedor::pestanaCondiciones()
{
    auto *w = new QWidget;
    Rejilla r(w);
    r.agrega(QStringLiteral("Forma de pago *"), combo(QStringLiteral("tpag_Clave")));
    r.agrega(QStringLiteral("Limite de credito"), texto(QStringLiteral("prov_LimCredito")));
    r.agrega(QStringLiteral("Plazo"), texto(QStringLiteral("prov_Periodo")));
    r.agrega(QStringLiteral("Tipo de plazo"), combo(QStringLiteral("per_Clave")));
    r.agrega(QStringLiteral("Descuento %"), texto(QStringLiteral("prov_Descuento")));
    r.agrega(QStringLiteral("Bonificacion %"), texto(QStringLiteral("prov_Bonificacion")));
    QLineEdit *saldo = texto(QStringLiteral("prov_Saldo"));
    soloLecturaVisible(saldo);
    saldo->setFocusPolicy(Qt::ClickFocus);
    saldo->setToolTip(QStringLiteral("Lo lleva cuentas por pagar"));
    r.agrega(QStringLiteral("Saldo"), saldo);
    r.agrega(QString(), new QWidget);
    r.agrega(QStringLiteral("Control de pago"), combo(QStringLiteral("cpago_Clave")));
    r.agrega(QStringLiteral("Periodo de pago"), combo(QStringLiteral("percp_Clave")));
    r.agrega(QStringLiteral("Banco"), combo(QStringLiteral("banco_Clave")));
    r.agrega(QStringLiteral("Sucursal"), texto(QStringLiteral("prov_Sucursal"), 50));
    r.agrega(QStringLiteral("Cuenta"), texto(QStringLiteral("prov_Cuenta"), 30));
    r.agrega(QString(), new QWidget);
    r.agrega(QStringLiteral("Referencia"), texto(QStringLiteral("prov_Referencia"), 255), 2);
    r.termina();
    return w;
}

QWidget *frmProveedor::pestanaRecepcion()
{
    auto *w = new QWidget;
    Rejilla r(w);
    r.agrega(QString(), bandera(QStringLiteral("prov_ActPrecio"), QStringLiteral("Actualizar precios con la factura")),
             2);
    r.agrega(QString(), bandera(QStringLiteral("prov_ReqPedido"), QStringLiteral("La recepcion requiere pedido")), 2);
    r.agrega(QString(), bandera(QStringLiteral("prov_ReqFalta"), QStringLiteral("La recepcion requiere faltantes")), 2);
    r.agrega(QString(), bandera(QStringLiteral("prov_ValCantidad"), QStringLiteral("Verificar cantidades recibidas")));
    r.agrega(QStringLiteral("Tolerancia %"), texto(QStringLiteral("prov_ValCantidadPorc")));
    r.agrega(QString(), bandera(QStringLiteral("prov_ValPrecio"), QStringLiteral("Verificar precios")));
    r.agrega(QStringLiteral("Tolerancia %"), texto(QStringLiteral("prov_ValPrecioPorc")));
    r.termina();
    return w;
}

QWidget *frmProveedor::pestanaIntercambio()
{
    auto *w = new QWidget;
    auto *v = new QVBoxLayout(w);
    auto *arriba = new QWidget;
    Rejilla r(arriba);
    r.layout->setContentsMargins(0, 0, 0, 0);
    r.agrega(QString(),
             bandera(QStringLiteral("prov_EDI"), QStringLiteral("Intercambia listas de precios y pedidos electronicamente")),
             2);
    r.agrega(QStringLiteral("Codigo del proveedor"), texto(QStringLiteral("prov_CodProvEDI"), 30));
    r.agrega(QStringLiteral("Nuestro codigo de cliente"), texto(QStringLiteral("prov_CodClienteEDI"), 30));
    v->addWidget(arriba);
    m_modeloIntercambio = new QStandardItemModel(this);
    m_modeloIntercambio->setHorizontalHeaderLabels({QStringLiteral("Tipo de intercambio"), QStringLiteral("Layout")});
    m_intercambio = tabla(QStringLiteral("tblIntercambio"), m_modeloIntercambio);
    v->addWidget(m_intercambio, 1);
    return w;
}

QWidget *frmProveedor::pestanaResurtido()
{
    auto *w = new QWidget;
    Rejilla r(w);
    r.agrega(QStringLiteral("Control de precio"), combo(QStringLiteral("control_Clave")));
    r.agrega(QStringLiteral("Preferencia"), texto(QStringLiteral("prov_Preferencia")));
    r.agrega(QStringLiteral("Dias de resurtido"), texto(QStringLiteral("prov_DiasResurtido")));
    r.agrega(QStringLiteral("Dias maximos"), texto(QStringLiteral("prov_DiasResurtidoMax")));
    r.agrega(QString(), bandera(QStringLiteral("prov_UtilDesc"), QStringLiteral("Utilizar el descuento del proveedor")),
             2);
    r.agrega(QString(), bandera(QStringLiteral("prov_ActLista"), QStringLiteral("Actualizar la lista de precios")), 2);
    r.agrega(QString(), bandera(QStringLiteral("prov_DispLista"), QStringLiteral("Disponibilidad en la lista de precios")),
             2);
    r.agrega(QString(), bandera(QStringLiteral("prov_ValMaxMin"), QStringLiteral("Verificar maximos y minimos")), 2);
    r.termina();
    return w;
}

QWidget *frmProveedor::pestanaDepartamentos()
{
    auto *w = new QWidget;
    auto *v = new QVBoxLayout(w);
    v->addWidget(new QLabel(QStringLiteral("Departamentos que surte el proveedor:")));
    m_modeloDepartamentos = new QStandardItemModel(this);
    m_modeloDepartamentos->setHorizontalHeaderLabels({QStringLiteral("Clave"), QStringLiteral("Departamento")});
    m_departamentos = tabla(QStringLiteral("tblDepartamentos"), m_modeloDepartamentos);
    v->addWidget(m_departamentos, 1);
    connect(m_modeloDepartamentos, &QStandardItemModel::itemChanged, this, [this](QStandardItem *item) {
        if (m_mostrando || item->column() != 0)
            return;
        m_editor.marcaDepartamento(item->data(Qt::UserRole).toString(), item->checkState() == Qt::Checked);
    });
    auto *h = new QHBoxLayout;
    auto *todos = new QPushButton(QStringLiteral("&Marcar todos"));
    todos->setObjectName(QStringLiteral("cmdMarcarTodos"));
    auto *ninguno = new QPushButton(QStringLiteral("&Desmarcar todos"));
    ninguno->setObjectName(QStringLiteral("cmdDesmarcarTodos"));
    for (QPushButton *b : {todos, ninguno})
        b->setAutoDefault(false);
    connect(todos, &QPushButton::clicked, this, [this] { marcaTodos(true); });
    connect(ninguno, &QPushButton::clicked, this, [this] { marcaTodos(false); });
    h->addWidget(todos);
    h->addWidget(ninguno);
    h->addStretch();
    v->addLayout(h);
    return w;
}

void frmProveedor::marcaTodos(bool servido)
{
    if (m_modo == u'Q')
        return;
    for (const ProveedorEditor::Departamento &d : m_editor.departamentos())
        m_editor.marcaDepartamento(d.clave, servido);
    muestraListas();
}

void frmProveedor::muestraListas()
{
    const bool mostrando = m_mostrando;
    m_mostrando = true;
    m_modeloDepartamentos->removeRows(0, m_modeloDepartamentos->rowCount());
    for (const ProveedorEditor::Departamento &d : m_editor.departamentos()) {
        auto *clave = new QStandardItem(d.clave);
        clave->setData(d.clave, Qt::UserRole);
        clave->setCheckable(m_modo != u'Q');
        clave->setCheckState(d.servido ? Qt::Checked : Qt::Unchecked);
        auto *nombre = new QStandardItem(d.nombre);
        m_modeloDepartamentos->appendRow({clave, nombre});
    }
    m_departamentos->resizeColumnToContents(0);

    m_modeloIntercambio->removeRows(0, m_modeloIntercambio->rowCount());
    for (const ProveedorEditor::Intercambio &i : m_editor.intercambios()) {
        auto *tipo = new QStandardItem(i.nombre.isEmpty() ? i.tipo : i.nombre);
        tipo->setData(i.tipo, Qt::UserRole);
        m_modeloIntercambio->appendRow({tipo, new QStandardItem});
        auto *cmb = new QComboBox;
        cmb->setObjectName(QStringLiteral("layout_") + i.tipo);
        try {
            for (const ProveedorEditor::Opcion &o : m_editor.layouts(i.tipo))
                cmb->addItem(o.first.isEmpty() || o.first == o.second ? o.second : o.first + QStringLiteral(" - ") + o.second,
                             o.first);
        } catch (const std::exception &e) {
            reportError(m_prompter, QString(), QStringLiteral("frmProveedor"), ErrorInfo::fromException(e));
        }
        cmb->setCurrentIndex(qMax(0, cmb->findData(i.layout)));
        cmb->setEnabled(m_modo != u'Q');
        const QString clave = i.tipo;
        connect(cmb, &QComboBox::currentIndexChanged, this, [this, cmb, clave] {
            if (!m_mostrando)
                m_editor.setLayout(clave, cmb->currentData().toString());
        });
        m_intercambio->setIndexWidget(m_modeloIntercambio->index(m_modeloIntercambio->rowCount() - 1, 1), cmb);
    }
    m_intercambio->setColumnWidth(0, 260);
    m_mostrando = mostrando;
}

void frmProveedor::muestra()
{
    m_mostrando = true;
    if (auto *cmb = qobject_cast<QComboBox *>(m_campos.value(QStringLiteral("pais_Clave"))))
        marco::selecciona(cmb, m_editor.texto(QStringLiteral("pais_Clave")));
    llenaCombo(QStringLiteral("edo_Clave"));
    for (auto it = m_campos.cbegin(); it != m_campos.cend(); ++it) {
        const QString valor = m_editor.texto(it.key());
        if (auto *t = qobject_cast<QLineEdit *>(it.value()))
            t->setText(valor);
        else if (auto *c = qobject_cast<QCheckBox *>(it.value()))
            c->setChecked(valor == QLatin1String("S"));
        else if (auto *cmb = qobject_cast<QComboBox *>(it.value()); cmb && it.key() != QLatin1String("edo_Clave"))
            marco::selecciona(cmb, valor);
    }
    muestraListas();
    m_mostrando = false;
}

void frmProveedor::soloLectura()
{
    frmMaestro::soloLectura();
    for (const char *b : {"cmdMarcarTodos", "cmdDesmarcarTodos"})
        if (auto *boton = findChild<QPushButton *>(QLatin1String(b)))
            boton->setEnabled(false);
}

bool frmProveedor::abrir(ConnectionProvider &connections, Prompter &prompter, QChar comando, const QString &clave,
                         QWidget *parent)
{
    ProveedorEditor editor(connections, prompter);
    return abre<frmProveedor>(editor, prompter, comando, clave, parent);
}

LookupResult frmProveedor::busca(const LookupServices &services, MaintenanceOpener opener, QWidget *parent,
                                 const QString &texto, bool soloEdi)
{
    return frmConsulta::consulta(services, LookupProveedor::definicion(soloEdi), std::move(opener), parent, texto);
}
