#include "frmArticulo.h"

#include "ConnectionProvider.h"
#include "Enfoque.h"
#include "ExistenciaArticulo.h"
#include "GridView.h"
#include "KardexArticulo.h"
#include "Log.h"
#include "Prompter.h"
#include "frmConsultaArt.h"

#include "Connection.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using Pestana = ArticuloEditor::Pestana;
using Tipo = ArticuloGridModel::Tipo;

namespace {

const QString kFormato = QStringLiteral("0.00");
const QString kFecha = QStringLiteral("dd/MM/yyyy");
// The method's input fields stand out, as the price-change method decides them.
const QString kResaltado = QStringLiteral("QLineEdit { background-color: #fff6bf; }");

Decimal *campoDe(Precio &p, Cifra c)
{
    Decimal *campos[] = {&p.costo,    &p.publico,  &p.descuento,          &p.subTotal,        &p.margen,
                         &p.utilidad, &p.impuestoPorcentaje, &p.impuestoImporte, &p.total};
    return campos[int(c)];
}

// Flags stored as 'S'/'N'; the others as 'SI'/'NO'.
bool banderaCorta(const QString &columna)
{
    return columna == QLatin1String("art_Separar") || columna == QLatin1String("art_Acumular") ||
           columna == QLatin1String("art_Transferencia");
}

bool marcada(const QString &valor)
{
    return valor.trimmed().toUpper().startsWith(u'S');
}

QStringList encabezados(Tipo tipo)
{
    switch (tipo) {
    case Tipo::Listas:
        return {QStringLiteral("Clave"),     QStringLiteral("Cantidad"), QStringLiteral("Publico"),
                QStringLiteral("Descuento"), QStringLiteral("SubTotal"), QStringLiteral("Margen"),
                QStringLiteral("Utilidad"),  QStringLiteral("PorcImpuesto"), QStringLiteral("Impuesto"),
                QStringLiteral("Total")};
    case Tipo::Ofertas:
        return encabezados(Tipo::Listas)
               << QStringLiteral("FecIni") << QStringLiteral("FecFin") << QStringLiteral("Vendidas");
    case Tipo::Ensamble:
        return {QStringLiteral("Articulo"), QStringLiteral("Cantidad")};
    case Tipo::MaxMin:
        return {QStringLiteral("Periodo"), QStringLiteral("Minimo"), QStringLiteral("Reorden"),
                QStringLiteral("Maximo")};
    }
    return {};
}

// A field the user cannot type into looks like it.
void soloLecturaVisible(QLineEdit *t)
{
    t->setReadOnly(true);
    QPalette gris = t->palette();
    gris.setColor(QPalette::Base, gris.color(QPalette::Window));
    t->setPalette(gris);
}

bool leeDecimal(const QVariant &valor, Decimal &out)
{
    bool ok = false;
    const QString t = valor.toString().trimmed();
    out = Decimal::fromString(t, &ok);
    return ok && !t.isEmpty();
}

} // namespace

// ---- ArticuloGridModel

ArticuloGridModel::ArticuloGridModel(ArticuloEditor &editor, Tipo tipo, QObject *parent)
    : QAbstractTableModel(parent), m_editor(editor), m_tipo(tipo)
{
}

int ArticuloGridModel::filas() const
{
    switch (m_tipo) {
    case Tipo::Listas:
        return int(m_editor.listas().size());
    case Tipo::Ofertas:
        return int(m_editor.ofertas().size());
    case Tipo::Ensamble:
        return int(m_editor.ensamble().size());
    case Tipo::MaxMin:
        return int(m_editor.maxMin().size());
    }
    return 0;
}

int ArticuloGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : filas();
}

int ArticuloGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(encabezados(m_tipo).size());
}

int ArticuloGridModel::cifraDe(int column)
{
    return column >= 2 && column <= 9 ? column - 1 : -1; // Publico … Total
}

QVariant ArticuloGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= filas() || index.column() >= columnCount())
        return {};
    const int col = index.column();
    if (role == Qt::TextAlignmentRole) {
        const bool texto = (m_tipo == Tipo::Ensamble && col == 0) || (m_tipo == Tipo::MaxMin && col == 0);
        return QVariant::fromValue(texto ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (m_tipo) {
    case Tipo::Listas:
    case Tipo::Ofertas: {
        const ArticuloEditor::FilaPrecio &f =
            (m_tipo == Tipo::Ofertas ? m_editor.ofertas() : m_editor.listas()).at(index.row());
        if (col == 0)
            return f.numero;
        if (col == 1)
            return f.cantidad.format(kFormato);
        if (const int c = cifraDe(col); c >= 0) {
            Precio p = f.precio;
            return campoDe(p, Cifra(c))->format(kFormato);
        }
        if (col == 10 || col == 11) {
            const QDate d = col == 10 ? f.inicio : f.fin;
            return role == Qt::EditRole ? QVariant(d) : QVariant(d.toString(kFecha));
        }
        return f.vendidas.format(kFormato);
    }
    case Tipo::Ensamble: {
        const ArticuloEditor::FilaEnsamble &e = m_editor.ensamble().at(index.row());
        return col == 0 ? QVariant(e.articulo) : QVariant(e.cantidad.format(kFormato));
    }
    case Tipo::MaxMin: {
        const ArticuloEditor::FilaMaxMin &m = m_editor.maxMin().at(index.row());
        const Decimal *valores[] = {nullptr, &m.minimo, &m.reorden, &m.maximo};
        return col == 0 ? QVariant(m.nombre) : QVariant(valores[col]->format(kFormato));
    }
    }
    return {};
}

QVariant ArticuloGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const QStringList h = encabezados(m_tipo);
    return section >= 0 && section < h.size() ? QVariant(h.at(section)) : QVariant();
}

Qt::ItemFlags ArticuloGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_soloLectura)
        return f;
    bool editable = true;
    const int col = index.column();
    if (m_tipo == Tipo::Listas || m_tipo == Tipo::Ofertas) {
        // Subtotal, tax and total follow from the others; units sold are counted by the sale.
        editable = col != 4 && col != 8 && col != 9 && col != 12;
    } else if (m_tipo == Tipo::MaxMin) {
        editable = col > 0;
    }
    return editable ? f | Qt::ItemIsEditable : f;
}

bool ArticuloGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int col = index.column();
    const int row = index.row();
    Decimal d;
    switch (m_tipo) {
    case Tipo::Listas:
    case Tipo::Ofertas: {
        const bool oferta = m_tipo == Tipo::Ofertas;
        ArticuloEditor::FilaPrecio &f = (oferta ? m_editor.ofertas() : m_editor.listas())[row];
        if (col == 0) {
            bool ok = false;
            const int n = value.toString().trimmed().toInt(&ok);
            if (!ok)
                return false;
            f.numero = n;
        } else if (col == 1) {
            if (!leeDecimal(value, d))
                return false;
            f.cantidad = d;
        } else if (col == 10 || col == 11) {
            const QDate fecha = value.typeId() == QMetaType::QDate ? value.toDate()
                                                                   : QDate::fromString(value.toString(), kFecha);
            if (!fecha.isValid())
                return false;
            (col == 10 ? f.inicio : f.fin) = fecha;
        } else if (const int c = cifraDe(col); c >= 0) {
            if (!leeDecimal(value, d))
                return false;
            m_editor.setCifraFila(oferta, row, Cifra(c), d);
        }
        Q_EMIT dataChanged(this->index(row, 0), this->index(row, columnCount() - 1));
        return true;
    }
    case Tipo::Ensamble: {
        ArticuloEditor::FilaEnsamble &e = m_editor.ensamble()[row];
        if (col == 0) {
            e.articulo = value.toString().trimmed();
        } else {
            if (!leeDecimal(value, d))
                return false;
            e.cantidad = d;
        }
        break;
    }
    case Tipo::MaxMin: {
        if (!leeDecimal(value, d))
            return false;
        ArticuloEditor::FilaMaxMin &m = m_editor.maxMin()[row];
        (col == 1 ? m.minimo : col == 2 ? m.reorden : m.maximo) = d;
        break;
    }
    }
    Q_EMIT dataChanged(index, index);
    return true;
}

bool ArticuloGridModel::insertRows(int row, int count, const QModelIndex &parent)
{
    // Lines are added at the end: list and offer numbers follow the last one.
    if (parent.isValid() || m_soloLectura || count < 1 || row != filas() || m_tipo == Tipo::MaxMin)
        return false;
    beginInsertRows(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i) {
        if (m_tipo == Tipo::Ensamble)
            m_editor.ensamble().append({QString(), Decimal(1)});
        else
            m_editor.agregaFila(m_tipo == Tipo::Ofertas);
    }
    endInsertRows();
    return true;
}

bool ArticuloGridModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || m_soloLectura || count < 1 || row < 0 || row + count > filas() ||
        m_tipo == Tipo::MaxMin)
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i) {
        if (m_tipo == Tipo::Ensamble)
            m_editor.ensamble().removeAt(row);
        else
            (m_tipo == Tipo::Ofertas ? m_editor.ofertas() : m_editor.listas()).removeAt(row);
    }
    endRemoveRows();
    return true;
}

void ArticuloGridModel::refresca()
{
    beginResetModel();
    endResetModel();
}

// ---- frmArticulo

frmArticulo::frmArticulo(ArticuloEditor &editor, const LookupServices &services, QChar modo, const QString &clave,
                         QWidget *parent)
    : QDialog(parent), m_editor(editor), m_services(services), m_modo(modo)
{
    setObjectName(QStringLiteral("frmArticulo"));
    setWindowTitle(modo == u'A'   ? QStringLiteral("Articulo - Alta")
                   : modo == u'C' ? QStringLiteral("Articulo - Cambio")
                                  : QStringLiteral("Articulo - Consulta"));
    if (modo == u'A')
        m_editor.nuevo();
    else
        m_valido = m_editor.carga(clave);

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("tabArticulo"));
    // In ArticuloEditor::Pestana order, so a refusal's tab is its index.
    m_tabs->addTab(pestanaIdentificacion(), QStringLiteral("Identificacion"));
    m_tabs->addTab(pestanaPrecios(), QStringLiteral("Precios"));
    m_tabs->addTab(pestanaGrid(Tipo::Listas, QStringLiteral("listas")), QStringLiteral("Listas de precios"));
    m_tabs->addTab(pestanaGrid(Tipo::Ofertas, QStringLiteral("ofertas")), QStringLiteral("Ofertas"));
    m_tabs->addTab(pestanaInventario(), QStringLiteral("Inventario"));
    m_tabs->addTab(pestanaPaquetes(), QStringLiteral("Paquetes"));
    m_tabs->addTab(pestanaResurtido(), QStringLiteral("Resurtido"));
    m_tabs->addTab(pestanaExistencias(), QStringLiteral("Existencias"));
    m_tabs->addTab(pestanaKardex(), QStringLiteral("Kardex"));
    // Read when shown, never before: an article with a long history opens at once.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int i) {
        if (i == kPestanaExistencias)
            cargaExistencias();
        else if (i == kPestanaKardex)
            cargaKardex();
    });

    m_cmdGuardar = new QPushButton(QStringLiteral("&Guardar"));
    m_cmdGuardar->setObjectName(QStringLiteral("cmdGuardar"));
    m_cmdGuardar->setDefault(true);
    auto *cancelar = new QPushButton(QStringLiteral("&Cancelar"));
    cancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cancelar->setAutoDefault(false);
    connect(m_cmdGuardar, &QPushButton::clicked, this, &frmArticulo::cmdGuardar_Click);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(m_cmdGuardar);
    botones->addWidget(cancelar);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(botones);
    resize(900, 600);

    muestra();
    if (modo == u'Q')
        soloLectura();
    else if (modo == u'C')
        soloLecturaVisible(qobject_cast<QLineEdit *>(m_campos.value(QStringLiteral("art_Clave"))));
    m_campos.value(modo == u'A' ? QStringLiteral("art_Clave") : QStringLiteral("art_Nombre"))->setFocus();
}

QLineEdit *frmArticulo::texto(const QString &columna, int longitud)
{
    auto *t = new QLineEdit;
    t->setObjectName(columna);
    if (longitud > 0)
        t->setMaxLength(longitud);
    m_campos.insert(columna, t);
    connect(t, &QLineEdit::textChanged, this, [this, columna](const QString &v) {
        if (!m_mostrando)
            m_editor.setTexto(columna, v);
    });
    return t;
}

QComboBox *frmArticulo::lista(const QString &columna, const QList<QPair<QString, QString>> &entradas)
{
    auto *cmb = new QComboBox;
    cmb->setObjectName(columna);
    for (const auto &[textoVisible, valor] : entradas)
        cmb->addItem(textoVisible, valor);
    m_campos.insert(columna, cmb);
    connect(cmb, &QComboBox::currentIndexChanged, this, [this, cmb, columna] {
        if (m_mostrando)
            return;
        m_editor.setTexto(columna, cmb->currentData().toString());
        if (columna == QLatin1String("cambio_Clave"))
            resalta();
        else if (columna == QLatin1String("tart_Clave"))
            filtraSubtipos();
        else if (columna == QLatin1String("per_Clave"))
            m_modelos.value(int(Tipo::MaxMin))->refresca();
    });
    return cmb;
}

QComboBox *frmArticulo::combo(const QString &columna, const QString &tabla, const QString &clave,
                              const QString &nombre)
{
    QList<QPair<QString, QString>> entradas{{QString(), QString()}};
    try {
        db::Connection &c = m_services.connections.getConnection();
        // The suppliers' table arrives with their own master; until then the stored key is kept.
        if (c.tableExists(tabla)) {
            // Identifiers are the program's own constants.
            for (db::Recordset rs = c.openRecordset(QStringLiteral("select ") + clave + QStringLiteral(", ") + nombre +
                                                    QStringLiteral(" from ") + tabla + QStringLiteral(" order by ") +
                                                    clave);
                 !rs.eof(); rs.moveNext()) {
                const QString k = rs.value(0).toString().trimmed();
                entradas.append({k + QStringLiteral(" - ") + rs.value(1).toString().trimmed(), k});
            }
        }
    } catch (const std::exception &e) {
        reportError(m_services.prompter, QString(), QStringLiteral("frmArticulo"), ErrorInfo::fromException(e));
    }
    return lista(columna, entradas);
}

QCheckBox *frmArticulo::bandera(const QString &columna, const QString &titulo)
{
    auto *b = new QCheckBox(titulo);
    b->setObjectName(columna);
    m_campos.insert(columna, b);
    connect(b, &QCheckBox::toggled, this, [this, columna](bool si) {
        if (m_mostrando)
            return;
        const bool corta = banderaCorta(columna);
        m_editor.setTexto(columna, si ? QLatin1String(corta ? "S" : "SI") : QLatin1String(corta ? "N" : "NO"));
    });
    return b;
}

QListWidget *frmArticulo::seleccion(const QString &nombre, const QString &tabla, const QString &clave,
                                    const QString &nombreColumna, QStringList &(ArticuloEditor::*claves)())
{
    auto *l = new QListWidget;
    l->setObjectName(nombre);
    try {
        for (db::Recordset rs = m_services.connections.getConnection().openRecordset(
                 QStringLiteral("select ") + clave + QStringLiteral(", ") + nombreColumna + QStringLiteral(" from ") +
                 tabla + QStringLiteral(" order by ") + clave);
             !rs.eof(); rs.moveNext()) {
            const QString k = rs.value(0).toString().trimmed();
            auto *item = new QListWidgetItem(k + QStringLiteral(" - ") + rs.value(1).toString().trimmed(), l);
            item->setData(Qt::UserRole, k);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    } catch (const std::exception &e) {
        reportError(m_services.prompter, QString(), QStringLiteral("frmArticulo"), ErrorInfo::fromException(e));
    }
    connect(l, &QListWidget::itemChanged, this, [this, l, claves] {
        if (m_mostrando)
            return;
        QStringList &lista = (m_editor.*claves)();
        lista.clear();
        for (int i = 0; i < l->count(); ++i)
            if (l->item(i)->checkState() == Qt::Checked)
                lista << l->item(i)->data(Qt::UserRole).toString();
    });
    m_selecciones << l;
    return l;
}

QWidget *frmArticulo::conBusqueda(QLineEdit *campo)
{
    auto *w = new QWidget;
    auto *h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(campo, 1);
    auto *b = new QToolButton;
    b->setObjectName(campo->objectName() + QStringLiteral("_buscar"));
    b->setText(QStringLiteral("..."));
    b->setToolTip(QStringLiteral("Buscar articulo (F2)"));
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &QToolButton::clicked, this, [this, campo] { buscaArticulo(campo); });
    campo->installEventFilter(this);
    campo->setToolTip(QStringLiteral("F2: buscar articulo"));
    h->addWidget(b);
    return w;
}

bool frmArticulo::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F2)
        if (auto *campo = qobject_cast<QLineEdit *>(watched); campo && !campo->isReadOnly()) {
            buscaArticulo(campo);
            return true;
        }
    return QDialog::eventFilter(watched, event);
}

void frmArticulo::buscaArticulo(QLineEdit *campo)
{
    const LookupResult r = frmConsultaArt::consultaArticulo(m_services, {}, this, campo->text().trimmed());
    if (r.accepted)
        campo->setText(r.key);
}

QWidget *frmArticulo::pestanaIdentificacion()
{
    auto *w = new QWidget;
    auto *formulario = new QWidget;
    formulario->setMaximumWidth(720);
    auto *h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(formulario);
    h->addStretch();
    auto *f = new QFormLayout(formulario);
    f->addRow(QStringLiteral("Clave *"), texto(QStringLiteral("art_Clave"), 30));
    f->addRow(QStringLiteral("Nombre *"), texto(QStringLiteral("art_Nombre"), 150));
    f->addRow(QStringLiteral("Descripcion"), texto(QStringLiteral("art_Descripcion"), 255));
    f->addRow(QStringLiteral("Departamento *"),
              combo(QStringLiteral("tart_Clave"), QStringLiteral("tTipoArticulo"), QStringLiteral("tart_Clave"),
                    QStringLiteral("tart_Nombre")));
    f->addRow(QStringLiteral("Categoria"), lista(QStringLiteral("sub_Clave"), {{QString(), QString()}}));
    f->addRow(QStringLiteral("Familia"), combo(QStringLiteral("fam_Clave"), QStringLiteral("tFamilia"),
                                               QStringLiteral("fam_Clave"), QStringLiteral("fam_Nombre")));
    f->addRow(QStringLiteral("Fabricante"), combo(QStringLiteral("fab_Clave"), QStringLiteral("tFabricante"),
                                                  QStringLiteral("fab_Clave"), QStringLiteral("fab_Nombre")));
    f->addRow(QStringLiteral("Medida"), combo(QStringLiteral("med_Clave"), QStringLiteral("tMedida"),
                                              QStringLiteral("med_Clave"), QStringLiteral("med_Nombre")));
    f->addRow(QStringLiteral("Ubicacion"), texto(QStringLiteral("art_Ubicacion"), 50));
    f->addRow(QStringLiteral("Clave SSA"), combo(QStringLiteral("ssa_Clave"), QStringLiteral("tSSA"),
                                                 QStringLiteral("ssa_Clave"), QStringLiteral("ssa_Nombre")));
    f->addRow(QStringLiteral("Indicacion"), texto(QStringLiteral("art_Indicacion"), 255));
    f->addRow(QStringLiteral("Referencia"), texto(QStringLiteral("art_Referencia"), 50));
    f->addRow(QStringLiteral("Estado"), lista(QStringLiteral("eart_Clave"),
                                              {{QStringLiteral("REGISTRADO"), QStringLiteral("REGISTRADO")},
                                               {QStringLiteral("SUSPENDIDO"), QStringLiteral("SUSPENDIDO")}}));
    return w;
}

QWidget *frmArticulo::pestanaPrecios()
{
    static const char *titulos[] = {"Costo *",    "Precio publico *", "Descuento %", "Subtotal", "Margen",
                                    "Utilidad %", "Impuesto %",       "Impuesto",    "Total"};
    auto *w = new QWidget;
    auto *cifras = new QFormLayout;
    for (int i = 0; i < 9; ++i) {
        const Cifra c = Cifra(i);
        auto *t = new QLineEdit;
        t->setObjectName(ArticuloEditor::columna(c));
        t->setAlignment(Qt::AlignRight);
        t->setMaximumWidth(160);
        // Subtotal, tax and total always follow from the others.
        if (c == Cifra::SubTotal || c == Cifra::ImpuestoImporte || c == Cifra::Total) {
            soloLecturaVisible(t);
            t->setFocusPolicy(Qt::NoFocus);
        }
        connect(t, &QLineEdit::editingFinished, this, [this, c] { cifraEditada(c); });
        m_cifras[i] = t;
        m_campos.insert(t->objectName(), t);
        cifras->addRow(QString::fromUtf8(titulos[i]), t);
    }
    auto *politica = new QFormLayout;
    QLineEdit *comision = texto(QStringLiteral("art_Comision"));
    comision->setAlignment(Qt::AlignRight);
    comision->setMaximumWidth(160);
    politica->addRow(QStringLiteral("Comision %"), comision);
    politica->addRow(QStringLiteral("Metodo de cambio de precio *"),
                     combo(QStringLiteral("cambio_Clave"), QStringLiteral("tCambioPrecio"),
                           QStringLiteral("cambio_Clave"), QStringLiteral("cambio_Nombre")));
    politica->addRow(QStringLiteral("Mejora de precio"),
                     combo(QStringLiteral("mej_Clave"), QStringLiteral("tMejoraPrecio"), QStringLiteral("mej_Clave"),
                           QStringLiteral("mej_Nombre")));
    politica->addRow(bandera(QStringLiteral("art_ActLista"), QStringLiteral("Actualizar listas con el costo")));
    politica->addRow(bandera(QStringLiteral("art_ActOfertas"), QStringLiteral("Actualizar ofertas con el costo")));
    politica->addRow(
        bandera(QStringLiteral("art_VenderAbajoDelCosto"), QStringLiteral("Se puede vender abajo del costo")));

    auto *g1 = new QGroupBox(QStringLiteral("Precio"));
    g1->setLayout(cifras);
    auto *g2 = new QGroupBox(QStringLiteral("Politica de precio"));
    g2->setLayout(politica);
    auto *h = new QHBoxLayout;
    h->addWidget(g1, 0, Qt::AlignTop);
    h->addWidget(g2, 1, Qt::AlignTop);
    auto *v = new QVBoxLayout(w);
    v->addLayout(h);
    v->addStretch();
    return w;
}

QWidget *frmArticulo::pestanaGrid(Tipo tipo, const QString &nombre)
{
    auto *model = new ArticuloGridModel(m_editor, tipo, this);
    model->setSoloLectura(m_modo == u'Q');
    m_modelos.insert(int(tipo), model);
    auto *grid = new QTableView;
    grid->setObjectName(nombre);
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->horizontalHeader()->setMinimumSectionSize(60);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);

    auto *w = new QWidget;
    auto *v = new QVBoxLayout(w);
    // The assembly and the levels sit inside a group box of their tab, which has its margins.
    if (tipo == Tipo::Ensamble || tipo == Tipo::MaxMin)
        v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(grid, 1);
    if (m_modo == u'Q')
        return w;
    auto *h = new QHBoxLayout;
    if (tipo == Tipo::Ensamble) {
        auto *buscar = new QPushButton(QStringLiteral("&Buscar articulo..."));
        buscar->setObjectName(nombre + QStringLiteral("_buscar"));
        buscar->setAutoDefault(false);
        connect(buscar, &QPushButton::clicked, this, [this, model] {
            const LookupResult r = frmConsultaArt::consultaArticulo(m_services, {}, this);
            if (!r.accepted)
                return;
            const int row = model->rowCount();
            model->insertRows(row, 1);
            model->setData(model->index(row, 0), r.key);
        });
        h->addWidget(buscar);
    }
    if (tipo != Tipo::MaxMin) {
        auto *agregar = new QPushButton(QStringLiteral("&Agregar linea"));
        agregar->setObjectName(nombre + QStringLiteral("_agregar"));
        agregar->setAutoDefault(false);
        auto *quitar = new QPushButton(QStringLiteral("&Quitar linea"));
        quitar->setObjectName(nombre + QStringLiteral("_quitar"));
        quitar->setAutoDefault(false);
        connect(agregar, &QPushButton::clicked, this, [model, grid] {
            const int row = model->rowCount();
            if (model->insertRows(row, 1)) {
                grid->setCurrentIndex(model->index(row, 0));
                grid->setFocus();
            }
        });
        connect(quitar, &QPushButton::clicked, this, [model, grid] {
            if (grid->currentIndex().isValid())
                model->removeRows(grid->currentIndex().row(), 1);
        });
        h->addWidget(agregar);
        h->addWidget(quitar);
    }
    h->addStretch();
    v->addLayout(h);
    return w;
}

QWidget *frmArticulo::pestanaInventario()
{
    auto *w = new QWidget;
    auto *f = new QFormLayout;
    f->addRow(QStringLiteral("Control de inventario"),
              combo(QStringLiteral("cinv_Clave"), QStringLiteral("tControlInventario"), QStringLiteral("cinv_Clave"),
                    QStringLiteral("cinv_Nombre")));
    f->addRow(bandera(QStringLiteral("art_Granel"), QStringLiteral("Se vende a granel")));
    auto *caduca = new QHBoxLayout;
    caduca->addWidget(bandera(QStringLiteral("cad_Clave"), QStringLiteral("Caduca")));
    caduca->addWidget(new QLabel(QStringLiteral("Meses promedio para caducar")));
    QLineEdit *meses = texto(QStringLiteral("art_Caduca"));
    meses->setAlignment(Qt::AlignRight);
    meses->setMaximumWidth(80);
    caduca->addWidget(meses);
    caduca->addStretch();
    f->addRow(caduca);

    auto *listas = new QHBoxLayout;
    const auto grupo = [&](const QString &titulo, QListWidget *l) {
        auto *g = new QGroupBox(titulo);
        auto *gl = new QVBoxLayout(g);
        gl->addWidget(l);
        listas->addWidget(g);
    };
    grupo(QStringLiteral("Tallas"), seleccion(QStringLiteral("tallas"), QStringLiteral("tTalla"),
                                              QStringLiteral("tala_Clave"), QStringLiteral("tala_Nombre"),
                                              &ArticuloEditor::tallas));
    grupo(QStringLiteral("Colores"), seleccion(QStringLiteral("colores"), QStringLiteral("tColor"),
                                               QStringLiteral("cola_Clave"), QStringLiteral("cola_Nombre"),
                                               &ArticuloEditor::colores));
    grupo(QStringLiteral("Modelos"), seleccion(QStringLiteral("modelos"), QStringLiteral("tModelo"),
                                               QStringLiteral("moda_Clave"), QStringLiteral("moda_Nombre"),
                                               &ArticuloEditor::modelos));
    auto *v = new QVBoxLayout(w);
    v->addLayout(f);
    v->addLayout(listas, 1);
    return w;
}

QWidget *frmArticulo::pestanaPaquetes()
{
    auto *w = new QWidget;
    const auto numero = [&](const QString &columna) {
        QLineEdit *t = texto(columna);
        t->setAlignment(Qt::AlignRight);
        t->setMaximumWidth(120);
        return t;
    };
    auto *sep = new QGroupBox(QStringLiteral("Separar"));
    auto *fs = new QFormLayout(sep);
    fs->addRow(bandera(QStringLiteral("art_Separar"), QStringLiteral("Se separa en piezas de otro articulo")));
    fs->addRow(QStringLiteral("Articulo contenido"), conBusqueda(texto(QStringLiteral("art_SepArt"), 30)));
    fs->addRow(QStringLiteral("Piezas contenidas"), numero(QStringLiteral("art_SepNum")));
    auto *acu = new QGroupBox(QStringLiteral("Acumular"));
    auto *fa = new QFormLayout(acu);
    fa->addRow(bandera(QStringLiteral("art_Acumular"), QStringLiteral("Se acumula en otro articulo")));
    fa->addRow(QStringLiteral("Articulo que lo contiene"), conBusqueda(texto(QStringLiteral("art_AcumArt"), 30)));
    fa->addRow(QStringLiteral("Piezas que se acumulan"), numero(QStringLiteral("art_AcumNum")));
    auto *ens = new QGroupBox(QStringLiteral("Ensamble"));
    auto *ve = new QVBoxLayout(ens);
    ve->addWidget(bandera(QStringLiteral("art_Ensamble"), QStringLiteral("Es un ensamble de otros articulos")));
    ve->addWidget(pestanaGrid(Tipo::Ensamble, QStringLiteral("ensamble")), 1);

    auto *arriba = new QHBoxLayout;
    arriba->addWidget(sep);
    arriba->addWidget(acu);
    auto *v = new QVBoxLayout(w);
    v->addLayout(arriba);
    v->addWidget(ens, 1);
    return w;
}

QWidget *frmArticulo::pestanaResurtido()
{
    auto *w = new QWidget;
    auto *f = new QFormLayout;
    f->addRow(QStringLiteral("Proveedor"), combo(QStringLiteral("prov_Clave"), QStringLiteral("tProveedor"),
                                                 QStringLiteral("prov_Clave"), QStringLiteral("prov_Nombre")));
    f->addRow(QStringLiteral("Resurtido"), lista(QStringLiteral("tres_Clave"),
                                                 {{QStringLiteral("NO ESPECIFICADO"), QString()},
                                                  {QStringLiteral("AUTOMATICO"), QStringLiteral("A")},
                                                  {QStringLiteral("POR VENTA"), QStringLiteral("V")},
                                                  {QStringLiteral("NINGUNO"), QStringLiteral("N")},
                                                  {QStringLiteral("EN LINEA"), QStringLiteral("E")}}));
    f->addRow(QStringLiteral("Periodo de maximos y minimos"),
              combo(QStringLiteral("per_Clave"), QStringLiteral("tPeriodo"), QStringLiteral("per_Clave"),
                    QStringLiteral("per_Nombre")));
    auto *v = new QVBoxLayout(w);
    v->addLayout(f);
    auto *g = new QGroupBox(QStringLiteral("Maximos y minimos del almacen"));
    auto *gl = new QVBoxLayout(g);
    gl->addWidget(pestanaGrid(Tipo::MaxMin, QStringLiteral("maxMin")));
    v->addWidget(g, 1);
    return w;
}

namespace {

QTableView *gridDeConsulta(const QString &nombre, QAbstractItemModel *model)
{
    auto *grid = new QTableView;
    grid->setObjectName(nombre);
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    // Widths from the first rows only: a full kardex stays quick to show.
    grid->horizontalHeader()->setResizeContentsPrecision(200);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

QPushButton *botonExportar(const QString &nombre)
{
    auto *b = new QPushButton(QStringLiteral("E&xportar..."));
    b->setObjectName(nombre);
    b->setAutoDefault(false);
    return b;
}

} // namespace

QWidget *frmArticulo::pestanaExistencias()
{
    m_existencia = new ExistenciaArticulo(m_services.connections, m_services.prompter, this);
    auto *grid = gridDeConsulta(QStringLiteral("gridExistencias"), m_existencia);
    // The warehouse's name takes the room; the quantity stays next to it.
    grid->horizontalHeader()->setStretchLastSection(false);
    grid->horizontalHeader()->setSectionResizeMode(ExistenciaArticulo::Nombre, QHeaderView::Stretch);
    m_conCeros = new QCheckBox(QStringLiteral("Mostrar tambien las existencias en cero"));
    m_conCeros->setObjectName(QStringLiteral("existenciasConCeros"));
    connect(m_conCeros, &QCheckBox::toggled, this, &frmArticulo::cargaExistencias);
    m_totalExistencia = new QLabel;
    m_totalExistencia->setObjectName(QStringLiteral("existenciaTotal"));
    QFont negrita = m_totalExistencia->font();
    negrita.setBold(true);
    m_totalExistencia->setFont(negrita);
    auto *exportar = botonExportar(QStringLiteral("existencias_exportar"));
    connect(exportar, &QPushButton::clicked, this,
            [this, grid] { GridView::exportToFile(*grid, m_services.prompter, this); });

    auto *w = new QWidget;
    auto *v = new QVBoxLayout(w);
    v->addWidget(m_conCeros);
    v->addWidget(grid, 1);
    auto *h = new QHBoxLayout;
    h->addWidget(m_totalExistencia);
    h->addStretch();
    h->addWidget(exportar);
    v->addLayout(h);
    return w;
}

QWidget *frmArticulo::pestanaKardex()
{
    m_kardex = new KardexArticulo(m_services.connections, m_services.prompter, this);
    auto *grid = gridDeConsulta(QStringLiteral("gridKardex"), m_kardex);
    m_almacenKardex = new QComboBox;
    m_almacenKardex->setObjectName(QStringLiteral("kardexAlmacen"));
    m_almacenKardex->addItem(QStringLiteral("Todos"), QString());
    for (const auto &[clave, nombre] : m_kardex->almacenes())
        m_almacenKardex->addItem(clave + QStringLiteral(" - ") + nombre, clave);
    const auto fecha = [this](const QString &nombre, const QString &titulo, QCheckBox *&usa, QDateEdit *&edit) {
        usa = new QCheckBox(titulo);
        usa->setObjectName(nombre + QStringLiteral("_usa"));
        edit = new QDateEdit(QDate::currentDate());
        edit->setObjectName(nombre);
        edit->setDisplayFormat(kFecha);
        edit->setCalendarPopup(true);
        edit->setEnabled(false);
        connect(usa, &QCheckBox::toggled, edit, &QWidget::setEnabled);
        connect(usa, &QCheckBox::toggled, this, &frmArticulo::cargaKardex);
    };
    m_recargaKardex = new QTimer(this);
    m_recargaKardex->setSingleShot(true);
    m_recargaKardex->setInterval(300);
    connect(m_recargaKardex, &QTimer::timeout, this, &frmArticulo::cargaKardex);
    fecha(QStringLiteral("kardexDesde"), QStringLiteral("Desde"), m_usaDesde, m_desde);
    fecha(QStringLiteral("kardexHasta"), QStringLiteral("Hasta"), m_usaHasta, m_hasta);
    m_desde->setDate(QDate::currentDate().addMonths(-1));
    // Typing a date changes it field by field: read once the user pauses.
    for (QDateEdit *d : {m_desde, m_hasta})
        connect(d, &QDateEdit::dateChanged, m_recargaKardex, qOverload<>(&QTimer::start));
    connect(m_almacenKardex, &QComboBox::currentIndexChanged, this, &frmArticulo::cargaKardex);
    m_resumenKardex = new QLabel;
    m_resumenKardex->setObjectName(QStringLiteral("kardexResumen"));
    auto *exportar = botonExportar(QStringLiteral("kardex_exportar"));
    connect(exportar, &QPushButton::clicked, this,
            [this, grid] { GridView::exportToFile(*grid, m_services.prompter, this); });

    auto *filtros = new QHBoxLayout;
    filtros->addWidget(new QLabel(QStringLiteral("Almacen")));
    filtros->addWidget(m_almacenKardex);
    filtros->addSpacing(12);
    filtros->addWidget(m_usaDesde);
    filtros->addWidget(m_desde);
    filtros->addWidget(m_usaHasta);
    filtros->addWidget(m_hasta);
    filtros->addStretch();
    auto *w = new QWidget;
    auto *v = new QVBoxLayout(w);
    v->addLayout(filtros);
    v->addWidget(grid, 1);
    auto *h = new QHBoxLayout;
    h->addWidget(m_resumenKardex);
    h->addStretch();
    h->addWidget(exportar);
    v->addLayout(h);
    return w;
}

QString frmArticulo::claveGuardada() const
{
    return m_editor.esNuevo() ? QString() : m_editor.texto(QStringLiteral("art_Clave")).trimmed();
}

void frmArticulo::cargaExistencias()
{
    const QString clave = claveGuardada();
    if (clave.isEmpty())
        m_existencia->limpia();
    else
        m_existencia->carga(clave, m_conCeros->isChecked());
    m_totalExistencia->setText(QStringLiteral("Existencia total: ") + m_existencia->total().format(kFormato));
    if (auto *grid = findChild<QTableView *>(QStringLiteral("gridExistencias")))
        grid->resizeColumnsToContents();
}

void frmArticulo::cargaKardex()
{
    m_recargaKardex->stop();
    const QString clave = claveGuardada();
    if (clave.isEmpty()) {
        m_kardex->limpia();
    } else {
        KardexArticulo::Filtro f;
        f.almacen = m_almacenKardex->currentData().toString();
        if (m_usaDesde->isChecked())
            f.desde = m_desde->date();
        if (m_usaHasta->isChecked())
            f.hasta = m_hasta->date();
        m_kardex->carga(clave, f);
    }
    m_resumenKardex->setText(m_kardex->resumen());
    if (auto *grid = findChild<QTableView *>(QStringLiteral("gridKardex")))
        grid->resizeColumnsToContents();
}

void frmArticulo::filtraSubtipos()
{
    auto *sub = qobject_cast<QComboBox *>(m_campos.value(QStringLiteral("sub_Clave")));
    const QString depto = m_editor.texto(QStringLiteral("tart_Clave")).trimmed();
    const QString actual = m_editor.texto(QStringLiteral("sub_Clave")).trimmed();
    const QSignalBlocker block(sub);
    sub->clear();
    sub->addItem(QString(), QString());
    int elegido = 0;
    try {
        for (db::Recordset rs = m_services.connections.getConnection().openRecordset(
                 QStringLiteral("select sub_Clave, sub_Nombre from tSubTipo where tart_Clave = ? order by sub_Clave"),
                 {depto});
             !rs.eof(); rs.moveNext()) {
            const QString k = rs.value(0).toString().trimmed();
            sub->addItem(k + QStringLiteral(" - ") + rs.value(1).toString().trimmed(), k);
            if (k == actual)
                elegido = sub->count() - 1;
        }
    } catch (const std::exception &e) {
        reportError(m_services.prompter, QString(), QStringLiteral("frmArticulo"), ErrorInfo::fromException(e));
    }
    // A stored category of another department is shown while the article is only looked at.
    if (elegido == 0 && !actual.isEmpty() && m_mostrando) {
        sub->addItem(actual, actual);
        elegido = sub->count() - 1;
    }
    sub->setCurrentIndex(elegido);
    if (!m_mostrando)
        m_editor.setTexto(QStringLiteral("sub_Clave"), sub->currentData().toString());
}

void frmArticulo::muestra()
{
    m_mostrando = true;
    for (auto it = m_campos.cbegin(); it != m_campos.cend(); ++it) {
        const QString valor = m_editor.texto(it.key());
        if (auto *t = qobject_cast<QLineEdit *>(it.value())) {
            if (std::find(std::begin(m_cifras), std::end(m_cifras), t) == std::end(m_cifras))
                t->setText(valor); // figures are shown by muestraCifras
        } else if (auto *b = qobject_cast<QCheckBox *>(it.value())) {
            b->setChecked(marcada(valor));
        } else if (auto *cmb = qobject_cast<QComboBox *>(it.value())) {
            if (it.key() == QLatin1String("sub_Clave"))
                continue;
            int i = cmb->findData(valor.trimmed());
            // A stored key the list does not offer stays visible rather than replaced.
            if (i < 0) {
                cmb->addItem(valor.trimmed(), valor.trimmed());
                i = cmb->count() - 1;
            }
            cmb->setCurrentIndex(i);
        }
    }
    filtraSubtipos();
    muestraCifras();
    for (QListWidget *l : std::as_const(m_selecciones)) {
        const QStringList &claves = l->objectName() == QLatin1String("tallas")    ? m_editor.tallas()
                                    : l->objectName() == QLatin1String("colores") ? m_editor.colores()
                                                                                   : m_editor.modelos();
        for (int i = 0; i < l->count(); ++i)
            l->item(i)->setCheckState(claves.contains(l->item(i)->data(Qt::UserRole).toString()) ? Qt::Checked
                                                                                                  : Qt::Unchecked);
        for (const QString &k : claves)
            if (l->findItems(k + QStringLiteral(" - "), Qt::MatchStartsWith).isEmpty()) {
                auto *item = new QListWidgetItem(k, l);
                item->setData(Qt::UserRole, k);
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
                item->setCheckState(Qt::Checked);
            }
    }
    for (ArticuloGridModel *m : std::as_const(m_modelos))
        m->refresca();
    m_mostrando = false;
    resalta();
}

void frmArticulo::muestraCifras()
{
    for (int i = 0; i < 9; ++i) {
        m_cifras[i]->setText(m_editor.cifra(Cifra(i)));
        m_cifras[i]->setModified(false);
    }
}

void frmArticulo::resalta()
{
    const QList<Cifra> entradas = m_editor.resaltadas();
    for (int i = 0; i < 9; ++i)
        m_cifras[i]->setStyleSheet(entradas.contains(Cifra(i)) ? kResaltado : QString());
}

void frmArticulo::cifraEditada(Cifra cifra)
{
    QLineEdit *t = m_cifras[int(cifra)];
    if (!t->isModified() || t->isReadOnly())
        return;
    m_editor.setCifra(cifra, t->text());
    muestraCifras();
    if (cifra == Cifra::Costo) {
        m_modelos.value(int(Tipo::Listas))->refresca();
        m_modelos.value(int(Tipo::Ofertas))->refresca();
    }
}

void frmArticulo::setPestana(Pestana pestana)
{
    m_tabs->setCurrentIndex(int(pestana));
}

void frmArticulo::soloLectura()
{
    for (QWidget *w : std::as_const(m_campos)) {
        if (auto *t = qobject_cast<QLineEdit *>(w))
            soloLecturaVisible(t);
        else
            w->setEnabled(false);
    }
    for (QListWidget *l : std::as_const(m_selecciones))
        l->setEnabled(false);
    for (auto *b : findChildren<QToolButton *>())
        b->setEnabled(false);
    m_cmdGuardar->setVisible(false);
}

void frmArticulo::cmdGuardar_Click()
{
    if (m_modo == u'Q')
        return;
    // A figure still being typed counts, as if its field had been left.
    for (int i = 0; i < 9; ++i)
        cifraEditada(Cifra(i));
    const bool nuevo = m_editor.esNuevo();
    if (!m_editor.guardaDatos()) {
        const QString campo = m_editor.campoRechazado();
        if (campo.isEmpty())
            return; // a database error, already reported
        setPestana(m_editor.pestanaRechazada());
        enfocaCampo(findChild<QWidget *>(campo));
        return;
    }
    m_guardado = true;
    if (nuevo && m_editor.continuar()) {
        m_editor.nuevo();
        muestra();
        setPestana(Pestana::Identidad);
        enfocaCampo(m_campos.value(QStringLiteral("art_Clave")));
        return;
    }
    accept();
}

bool frmArticulo::abrir(const LookupServices &services, const CalculoPrecio &calculo, QChar comando,
                        const QString &clave, QWidget *parent, Pestana pestana)
{
    ArticuloEditor editor(services.connections, services.config, services.prompter, calculo);
    if (comando == u'B')
        return editor.eliminarRegistro(clave);
    frmArticulo w(editor, services, comando, comando == u'A' ? QString() : clave, parent);
    if (!w.valido())
        return false;
    w.setPestana(pestana);
    w.exec();
    return w.guardado();
}

frmArticulo::~frmArticulo()
{
    sueltaCampos(this);
}
