#include "frmTipoClienteConcepto.h"

#include "Prompter.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

const QString frmTipoClienteConcepto::kDescartar =
    QStringLiteral("Los cambios de los conceptos de precio no se han guardado, desea descartarlos");

namespace {

using Opcion = TipoClienteConceptos::Opcion;

// Concept and method are chosen from their lists; a key the list no longer has stays visible
// (a row stored before its department was deleted) so that saving can name it.
class ListaDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QList<Opcion> conceptos;
    QList<Opcion> metodos;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        const QList<Opcion> *lista = opciones(index);
        if (!lista)
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto *cmb = new QComboBox(parent);
        cmb->setObjectName(index.column() == TipoClienteConceptos::ColConcepto ? QStringLiteral("cmbConcepto")
                                                                               : QStringLiteral("cmbMetodo"));
        cmb->addItem(QString(), QString());
        for (const Opcion &o : *lista)
            cmb->addItem(o.clave + QStringLiteral(" - ") + o.nombre, o.clave);
        return cmb;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        auto *cmb = qobject_cast<QComboBox *>(editor);
        if (!cmb)
            return QStyledItemDelegate::setEditorData(editor, index);
        const QString clave = index.data(Qt::EditRole).toString();
        int i = cmb->findData(clave);
        if (i < 0) {
            cmb->addItem(clave, clave);
            i = cmb->count() - 1;
        }
        cmb->setCurrentIndex(i);
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *cmb = qobject_cast<QComboBox *>(editor))
            model->setData(index, cmb->currentData());
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    const QList<Opcion> *opciones(const QModelIndex &index) const
    {
        if (index.column() == TipoClienteConceptos::ColConcepto)
            return &conceptos;
        if (index.column() == TipoClienteConceptos::ColMetodo)
            return &metodos;
        return nullptr;
    }
};

} // namespace

frmTipoClienteConcepto::frmTipoClienteConcepto(ConnectionProvider &connections, Permisos &permisos,
                                               Prompter &prompter, const QString &modo, const QString &tcli,
                                               QWidget *parent)
    : QDialog(parent), m_prompter(prompter), m_reglas(connections, permisos, prompter, modo),
      m_tcli(tcli.trimmed())
{
    setObjectName(QStringLiteral("frmTipoClienteConcepto"));
    setWindowTitle(QStringLiteral("Conceptos de precio del tipo de cliente"));

    m_lblTipo = new QLabel;
    m_lblTipo->setObjectName(QStringLiteral("lblTipo"));
    m_cmbControl = new QComboBox;
    m_cmbControl->setObjectName(QStringLiteral("cmbControl"));
    auto *encabezado = new QHBoxLayout;
    encabezado->addWidget(m_lblTipo, 1);
    encabezado->addWidget(new QLabel(QStringLiteral("Control de precio")));
    encabezado->addWidget(m_cmbControl);

    m_modelo.setSoloLectura(m_reglas.soloLectura());
    m_grdConceptos = new QTableView;
    m_grdConceptos->setObjectName(QStringLiteral("grdConceptos"));
    m_grdConceptos->setModel(&m_modelo);
    m_grdConceptos->setItemDelegate(new ListaDelegate(m_grdConceptos));
    m_grdConceptos->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grdConceptos->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grdConceptos->horizontalHeader()->setSectionResizeMode(TipoClienteConceptos::ColConcepto,
                                                             QHeaderView::Stretch);
    m_grdConceptos->horizontalHeader()->setSectionResizeMode(TipoClienteConceptos::ColMetodo,
                                                             QHeaderView::Stretch);
    m_grdConceptos->setColumnWidth(TipoClienteConceptos::ColValor, 110);
    m_grdConceptos->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);

    m_cmdAgregar = new QPushButton(QStringLiteral("Agregar &renglon"));
    m_cmdAgregar->setObjectName(QStringLiteral("cmdAgregar"));
    m_cmdQuitar = new QPushButton(QStringLiteral("&Quitar renglon"));
    m_cmdQuitar->setObjectName(QStringLiteral("cmdQuitar"));
    m_cmdGuardar = new QPushButton(QStringLiteral("&Guardar"));
    m_cmdGuardar->setObjectName(QStringLiteral("cmdGuardar"));
    m_cmdGuardar->setDefault(true);
    auto *cerrar = new QPushButton(QStringLiteral("&Cerrar"));
    cerrar->setObjectName(QStringLiteral("cmdCerrar"));
    for (QPushButton *b : {m_cmdAgregar, m_cmdQuitar, cerrar})
        b->setAutoDefault(false);
    for (QPushButton *b : {m_cmdAgregar, m_cmdQuitar, m_cmdGuardar})
        b->setVisible(!m_reglas.soloLectura());
    connect(m_cmdAgregar, &QPushButton::clicked, this, &frmTipoClienteConcepto::cmdAgregar_Click);
    connect(m_cmdQuitar, &QPushButton::clicked, this, &frmTipoClienteConcepto::cmdQuitar_Click);
    connect(m_cmdGuardar, &QPushButton::clicked, this, &frmTipoClienteConcepto::cmdGuardar_Click);
    connect(cerrar, &QPushButton::clicked, this, &frmTipoClienteConcepto::reject);
    auto *botones = new QHBoxLayout;
    botones->addWidget(m_cmdAgregar);
    botones->addWidget(m_cmdQuitar);
    botones->addStretch();
    botones->addWidget(m_cmdGuardar);
    botones->addWidget(cerrar);

    auto *main = new QVBoxLayout(this);
    main->addLayout(encabezado);
    main->addWidget(m_grdConceptos, 1);
    main->addLayout(botones);
    resize(720, 480);

    QString nombre;
    QString propio;
    m_valido = m_reglas.tipoCliente(m_tcli, &nombre, &propio);
    if (!m_valido)
        return;
    m_lblTipo->setText(QStringLiteral("Tipo de cliente: ") + m_tcli + QStringLiteral(" - ") + nombre);
    {
        const QSignalBlocker block(m_cmbControl);
        for (const Opcion &o : m_reglas.controlesConConceptos())
            m_cmbControl->addItem(o.nombre.isEmpty() ? o.clave : o.nombre, o.clave);
        // The type's own kind first shown when it keeps concepts.
        m_cmbControl->setCurrentIndex(qMax(0, m_cmbControl->findData(propio)));
    }
    connect(m_cmbControl, &QComboBox::currentIndexChanged, this, &frmTipoClienteConcepto::controlElegido);
    carga();
    m_grdConceptos->setFocus();
}

QString frmTipoClienteConcepto::control() const
{
    return m_cmbControl->currentData().toString();
}

void frmTipoClienteConcepto::setControl(const QString &control)
{
    m_cmbControl->setCurrentIndex(m_cmbControl->findData(control));
}

bool frmTipoClienteConcepto::puedeDescartar()
{
    return !m_modelo.modificado() || m_prompter.question(kDescartar, false);
}

void frmTipoClienteConcepto::controlElegido(int)
{
    if (control() == m_controlCargado)
        return;
    if (!puedeDescartar()) {
        const QSignalBlocker block(m_cmbControl);
        m_cmbControl->setCurrentIndex(m_cmbControl->findData(m_controlCargado));
        return;
    }
    carga();
}

void frmTipoClienteConcepto::carga()
{
    const QString kind = control();
    m_controlCargado = kind;
    auto *delegate = static_cast<ListaDelegate *>(m_grdConceptos->itemDelegate());
    delegate->conceptos = m_reglas.conceptos(kind);
    delegate->metodos = m_reglas.metodos();
    m_modelo.setControl(TipoClienteConceptos::tituloConcepto(kind), delegate->conceptos, delegate->metodos);
    QList<TipoClienteConceptos::Linea> lineas;
    if (!kind.isEmpty())
        m_reglas.consultar(m_tcli, kind, &lineas);
    m_modelo.setLineas(lineas);
}

void frmTipoClienteConcepto::cmdAgregar_Click()
{
    const int row = m_modelo.rowCount();
    if (!m_modelo.insertRows(row, 1))
        return;
    const QModelIndex index = m_modelo.index(row, TipoClienteConceptos::ColConcepto);
    m_grdConceptos->setCurrentIndex(index);
    m_grdConceptos->setFocus();
    m_grdConceptos->edit(index);
}

void frmTipoClienteConcepto::cmdQuitar_Click()
{
    const QModelIndex current = m_grdConceptos->currentIndex();
    if (current.isValid())
        m_modelo.removeRows(current.row(), 1);
}

void frmTipoClienteConcepto::cmdGuardar_Click()
{
    // A cell still being edited counts: taking the focus from its editor commits it.
    m_grdConceptos->setFocus();
    if (!m_reglas.guardar(m_tcli, control(), m_modelo.lineas())) {
        if (m_reglas.filaRechazada() >= 0) {
            const QModelIndex index = m_modelo.index(m_reglas.filaRechazada(), m_reglas.columnaRechazada());
            m_grdConceptos->setCurrentIndex(index);
            m_grdConceptos->setFocus();
        }
        return;
    }
    m_guardado = true;
    m_modelo.marcaGuardado();
}

void frmTipoClienteConcepto::reject()
{
    if (!puedeDescartar())
        return;
    QDialog::reject();
}
