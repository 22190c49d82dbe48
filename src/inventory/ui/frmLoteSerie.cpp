#include "frmLoteSerie.h"

#include "Enfoque.h"
#include "Log.h"
#include "Prompter.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

frmLoteSerie::frmLoteSerie(ConnectionProvider &connections, Prompter &prompter, const QString &almacen,
                           const QString &articulo, const Decimal &cantidad, bool salida,
                           const QString &inicial, QWidget *parent)
    : QDialog(parent), m_prompter(prompter), m_lotes(connections, prompter), m_almacen(almacen),
      m_articulo(articulo), m_cantidad(cantidad), m_salida(salida)
{
    setObjectName(QStringLiteral("frmLoteSerie"));
    QString control;
    QList<LoteSerie::Fila> filas;
    try {
        control = m_lotes.control(articulo);
        filas = m_lotes.lista(almacen, articulo);
    } catch (const std::exception &e) {
        reportError(prompter, QString(), QStringLiteral("frmLoteSerie"), ErrorInfo::fromException(e));
    }
    const bool serie = control == QLatin1String("SERIE");
    setWindowTitle(serie ? QStringLiteral("Series del articulo ") + articulo
                         : QStringLiteral("Lotes del articulo ") + articulo);

    m_modelo = new QStandardItemModel(0, 2, this);
    m_modelo->setHorizontalHeaderLabels(
        {serie ? QStringLiteral("Serie") : QStringLiteral("Lote"), QStringLiteral("Existencia")});
    for (const LoteSerie::Fila &f : filas) {
        auto *lote = new QStandardItem(f.lote);
        auto *existencia = new QStandardItem(f.existencia.toString());
        existencia->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_modelo->appendRow({lote, existencia});
    }
    m_grdLotes = new QTableView;
    m_grdLotes->setObjectName(QStringLiteral("grdLotes"));
    m_grdLotes->setModel(m_modelo);
    m_grdLotes->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grdLotes->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grdLotes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grdLotes->verticalHeader()->hide();
    m_grdLotes->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_grdLotes->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

    m_txtLote = new QLineEdit(inicial);
    m_txtLote->setObjectName(QStringLiteral("txtLote"));
    m_txtLote->setMaxLength(50);
    connect(m_grdLotes->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    m_txtLote->setText(m_modelo->item(current.row(), 0)->text());
            });
    connect(m_grdLotes, &QTableView::doubleClicked, this, &frmLoteSerie::cmdAceptar_Click);

    auto *form = new QFormLayout;
    form->addRow(serie ? QStringLiteral("Serie") : QStringLiteral("Lote"), m_txtLote);
    auto *aceptar = new QPushButton(QStringLiteral("&Aceptar"));
    aceptar->setObjectName(QStringLiteral("cmdAceptar"));
    aceptar->setDefault(true);
    auto *cancelar = new QPushButton(QStringLiteral("&Cancelar"));
    cancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cancelar->setAutoDefault(false);
    connect(aceptar, &QPushButton::clicked, this, &frmLoteSerie::cmdAceptar_Click);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(aceptar);
    botones->addWidget(cancelar);

    auto *main = new QVBoxLayout(this);
    auto *titulo = new QLabel(
        filas.isEmpty() ? QStringLiteral("No hay existencia de este articulo en el almacen ") + almacen
                        : QStringLiteral("Existencia en el almacen ") + almacen);
    titulo->setObjectName(QStringLiteral("lblTitulo"));
    main->addWidget(titulo);
    main->addWidget(m_grdLotes, 1);
    main->addLayout(form);
    main->addLayout(botones);
    resize(420, 360);

    // Start on the typed lot when it is listed, else on the first one.
    int fila = filas.isEmpty() ? -1 : 0;
    for (int i = 0; i < filas.size(); ++i)
        if (filas.at(i).lote == inicial.trimmed())
            fila = i;
    if (fila >= 0 && (inicial.trimmed().isEmpty() || filas.at(fila).lote == inicial.trimmed()))
        m_grdLotes->setCurrentIndex(m_modelo->index(fila, 0));
    (filas.isEmpty() ? static_cast<QWidget *>(m_txtLote) : m_grdLotes)->setFocus();
}

std::optional<QString> frmLoteSerie::elige(ConnectionProvider &connections, Prompter &prompter,
                                           const QString &almacen, const QString &articulo,
                                           const Decimal &cantidad, bool salida, const QString &inicial,
                                           QWidget *parent)
{
    frmLoteSerie w(connections, prompter, almacen, articulo, cantidad, salida, inicial, parent);
    if (w.exec() != QDialog::Accepted)
        return std::nullopt;
    return w.lote();
}

QString frmLoteSerie::lote() const
{
    return m_txtLote->text().trimmed();
}

int frmLoteSerie::filas() const
{
    return m_modelo->rowCount();
}

void frmLoteSerie::cmdAceptar_Click()
{
    bool ok = false;
    try {
        ok = m_salida ? m_lotes.validaSalida(m_almacen, m_articulo, lote(), m_cantidad)
                      : m_lotes.validaEntrada(m_almacen, m_articulo, lote());
    } catch (const std::exception &e) {
        ok = false;
        reportError(m_prompter, QString(), QStringLiteral("frmLoteSerie.cmdAceptar"),
                    ErrorInfo::fromException(e));
    }
    if (!ok) {
        enfocaCampo(m_txtLote);
        return;
    }
    accept();
}

frmLoteSerie::~frmLoteSerie()
{
    sueltaCampos(this);
}
