#include "frmReporte.h"

#include "BotonesDialogo.h"
#include "Enfoque.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

using Entrada = ParametrosReporte::Entrada;

QDateEdit *nuevaFecha(QWidget *parent, const QString &nombre)
{
    auto *f = new QDateEdit(parent);
    f->setObjectName(nombre);
    f->setCalendarPopup(true);
    f->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    return f;
}

// A value given by the caller as a date: a date, or a day-first text.
QDate comoFecha(const QVariant &v)
{
    if (v.metaType() == QMetaType::fromType<QDate>())
        return v.toDate();
    if (v.metaType() == QMetaType::fromType<QDateTime>())
        return v.toDateTime().date();
    return QDate::fromString(v.toString().trimmed().left(10), QStringLiteral("d/M/yyyy"));
}

} // namespace

frmReporte::frmReporte(CatalogoReportes &catalogo, Ejecucion ejecuta, QWidget *parent)
    : QDialog(parent), m_catalogo(catalogo), m_ejecuta(std::move(ejecuta))
{
    setObjectName(QStringLiteral("frmReporte"));
    setWindowTitle(QStringLiteral("Reportes"));

    lstReportes = new QListWidget(this);
    lstReportes->setObjectName(QStringLiteral("lstReportes"));
    lstReportes->setMinimumWidth(260);
    auto *lblLista = new QLabel(QStringLiteral("&Reportes"), this);
    lblLista->setBuddy(lstReportes);

    lblNombre = new QLabel(this);
    lblNombre->setObjectName(QStringLiteral("lblNombre"));
    QFont negrita = lblNombre->font();
    negrita.setBold(true);
    negrita.setPointSizeF(negrita.pointSizeF() * 1.2);
    lblNombre->setFont(negrita);
    lblDescripcion = new QLabel(this);
    lblDescripcion->setObjectName(QStringLiteral("lblDescripcion"));
    lblDescripcion->setWordWrap(true);
    lblDescripcion->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    fraParametros = new QWidget;
    fraParametros->setObjectName(QStringLiteral("fraParametros"));
    m_formulario = new QFormLayout(fraParametros);
    auto *desplazable = new QScrollArea(this);
    desplazable->setWidgetResizable(true);
    desplazable->setFrameShape(QFrame::NoFrame);
    desplazable->setWidget(fraParametros);

    auto *derecha = new QVBoxLayout;
    derecha->addWidget(lblNombre);
    derecha->addWidget(lblDescripcion);
    derecha->addWidget(desplazable, 1);

    auto *izquierda = new QVBoxLayout;
    izquierda->addWidget(lblLista);
    izquierda->addWidget(lstReportes, 1);

    auto *cuerpo = new QHBoxLayout;
    cuerpo->addLayout(izquierda, 2);
    cuerpo->addLayout(derecha, 3);

    QDialogButtonBox *botones = botonesAceptarCancelar(this, [this] { cmdAceptar(); });
    botones->findChild<QPushButton *>(QStringLiteral("cmdCancelar"))->setText(QStringLiteral("C&errar"));

    auto *todo = new QVBoxLayout(this);
    todo->addLayout(cuerpo, 1);
    todo->addWidget(botones);
    resize(820, 480);

    connect(lstReportes, &QListWidget::currentRowChanged, this, [this] { seleccionaReporte(); });
}

frmReporte::~frmReporte()
{
    sueltaCampos(this);
}

bool frmReporte::init(const QString &tipo, const QList<cReporte::Valor> &parametros, bool automatico,
                      const QString &repClave)
{
    m_valores = parametros;
    const QSignalBlocker quieto(lstReportes);
    lstReportes->clear();
    m_catalogo.descarga();
    int elegido = -1;
    for (const CatalogoReportes::Entrada &e : m_catalogo.lista({QString(), tipo, QString()})) {
        auto *item = new QListWidgetItem(e.nombre, lstReportes);
        item->setData(Qt::UserRole, e.clave);
        if (!repClave.isEmpty() && e.clave.compare(repClave, Qt::CaseInsensitive) == 0)
            elegido = lstReportes->count() - 1;
    }
    // Asked for one report only, the kind's single report is the one.
    if (repClave.isEmpty() && automatico && lstReportes->count() == 1)
        elegido = 0;
    lstReportes->setCurrentRow(elegido);
    if (elegido >= 0)
        seleccionaReporte();
    else if (!repClave.isEmpty())
        m_catalogo.cargaReporte(repClave); // says why it is not offered, and stays unloaded
    if (!m_catalogo.reporte())
        limpiaEntradas();
    if (automatico && m_catalogo.reporte())
        return cmdAceptar();
    return false;
}

void frmReporte::seleccionaReporte()
{
    QListWidgetItem *item = lstReportes->currentItem();
    if (!item || !m_catalogo.cargaReporte(item->data(Qt::UserRole).toString())) {
        // A report that cannot be loaded leaves nothing chosen.
        const QSignalBlocker quieto(lstReportes);
        lstReportes->setCurrentRow(-1);
        limpiaEntradas();
        return;
    }
    construyeEntradas();
}

void frmReporte::limpiaEntradas()
{
    m_campos.clear();
    while (m_formulario->rowCount() > 0)
        m_formulario->removeRow(0);
    lblNombre->clear();
    lblDescripcion->clear();
}

void frmReporte::construyeEntradas()
{
    limpiaEntradas();
    const CatalogoReportes::Reporte &r = *m_catalogo.reporte();
    lblNombre->setText(r.nombre);
    lblDescripcion->setText(r.descripcion);
    for (int i = 0; i < r.parametros.size(); ++i) {
        const ParametrosReporte::Definicion &d = r.parametros.at(i);
        const ParametrosReporte::Captura inicial = ParametrosReporte::valorInicial(d);
        Campo campo;
        QWidget *fila = nullptr;
        switch (d.entrada()) {
        case Entrada::Lista: {
            auto *cmb = new QComboBox(fraParametros);
            cmb->setObjectName(QStringLiteral("cmb") + d.nombre);
            cmb->setMinimumWidth(240);
            connect(cmb, &QComboBox::currentIndexChanged, this, [this, i] { cambioEn(i); });
            campo.valor = cmb;
            break;
        }
        case Entrada::Texto:
        case Entrada::Numero: {
            auto *txt = new QLineEdit(inicial.texto, fraParametros);
            txt->setObjectName(QStringLiteral("txt") + d.nombre);
            if (d.entrada() == Entrada::Numero) {
                txt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                txt->setMaximumWidth(160);
            }
            connect(txt, &QLineEdit::editingFinished, this, [this, i] { cambioEn(i); });
            campo.valor = txt;
            break;
        }
        case Entrada::Fecha: {
            QDateEdit *f = nuevaFecha(fraParametros, QStringLiteral("dtp") + d.nombre);
            f->setDate(inicial.desde);
            connect(f, &QDateEdit::dateChanged, this, [this, i] { cambioEn(i); });
            campo.valor = f;
            break;
        }
        case Entrada::RangoFechas: {
            fila = new QWidget(fraParametros);
            auto *h = new QHBoxLayout(fila);
            h->setContentsMargins(0, 0, 0, 0);
            QDateEdit *desde = nuevaFecha(fila, QStringLiteral("dtp") + d.nombre + QStringLiteral("Ini"));
            QDateEdit *hasta = nuevaFecha(fila, QStringLiteral("dtp") + d.nombre + QStringLiteral("Fin"));
            desde->setDate(inicial.desde);
            hasta->setDate(inicial.hasta);
            h->addWidget(desde);
            h->addWidget(new QLabel(QStringLiteral("al"), fila));
            h->addWidget(hasta);
            h->addStretch(1);
            connect(desde, &QDateEdit::dateChanged, this, [this, i] { cambioEn(i); });
            connect(hasta, &QDateEdit::dateChanged, this, [this, i] { cambioEn(i); });
            campo.valor = desde;
            campo.fin = hasta;
            break;
        }
        }
        auto *etiqueta =
            new QLabel(d.etiqueta() + (d.requerido ? QStringLiteral(" *") : QString()), fraParametros);
        etiqueta->setBuddy(campo.valor);
        m_formulario->addRow(etiqueta, fila ? fila : campo.valor);
        m_campos << campo;
    }
    aplicaValores();
    for (int i = 0; i < r.parametros.size(); ++i)
        if (r.parametros.at(i).entrada() == Entrada::Lista)
            llenaLista(i);
}

// The values the caller gave, by parameter name; a list's key is chosen once the list is filled.
void frmReporte::aplicaValores()
{
    const QList<ParametrosReporte::Definicion> &defs = m_catalogo.reporte()->parametros;
    for (int i = 0; i < defs.size(); ++i) {
        for (const cReporte::Valor &v : m_valores) {
            if (v.clave.compare(defs.at(i).nombre, Qt::CaseInsensitive) != 0)
                continue;
            const Campo &c = m_campos.at(i);
            if (auto *txt = qobject_cast<QLineEdit *>(c.valor)) {
                txt->setText(v.valor.toString());
            } else if (auto *fecha = qobject_cast<QDateEdit *>(c.valor)) {
                if (const QDate d = comoFecha(v.valor); d.isValid())
                    fecha->setDate(d);
                if (c.fin) {
                    const QDate fin = comoFecha(v.valorExtra.isValid() ? v.valorExtra : v.valor);
                    if (fin.isValid())
                        c.fin->setDate(fin);
                }
            }
        }
    }
}

void frmReporte::llenaLista(int indice)
{
    const CatalogoReportes::Reporte &r = *m_catalogo.reporte();
    const ParametrosReporte::Definicion &d = r.parametros.at(indice);
    auto *cmb = qobject_cast<QComboBox *>(m_campos.at(indice).valor);
    if (!cmb)
        return;
    QString elegida =
        cmb->count() > 0 ? cmb->currentData().toString() : ParametrosReporte::valorInicial(d).texto;
    for (const cReporte::Valor &v : m_valores)
        if (cmb->count() == 0 && v.clave.compare(d.nombre, Qt::CaseInsensitive) == 0)
            elegida = v.valor.toString();
    QList<ValorParametro> otros = m_catalogo.parametros().borrador(r.parametros, capturas());
    otros.removeAt(indice);
    const std::optional<QList<ParametrosReporte::Opcion>> opciones =
        m_catalogo.parametros().cargaLista(d, otros);
    const QSignalBlocker quieto(cmb);
    cmb->clear();
    if (!d.requerido)
        cmb->addItem(QString(), QString());
    for (const ParametrosReporte::Opcion &o : opciones.value_or(QList<ParametrosReporte::Opcion>()))
        cmb->addItem(o.texto.isEmpty() ? o.clave : o.texto, o.clave);
    const int i = cmb->findData(elegida.trimmed());
    cmb->setCurrentIndex(i >= 0 ? i : (d.requerido ? -1 : 0));
}

// A list whose query reads the parameter that changed is filled again.
void frmReporte::cambioEn(int indice)
{
    if (!m_catalogo.reporte())
        return;
    const QList<ParametrosReporte::Definicion> &defs = m_catalogo.reporte()->parametros;
    for (int i = 0; i < defs.size(); ++i)
        if (i != indice && defs.at(i).entrada() == Entrada::Lista && defs.at(i).claveChg != 0 &&
            defs.at(i).claveChg == defs.at(indice).clave)
            llenaLista(i);
}

QList<ParametrosReporte::Captura> frmReporte::capturas() const
{
    QList<ParametrosReporte::Captura> out;
    for (const Campo &c : m_campos) {
        ParametrosReporte::Captura k;
        if (auto *cmb = qobject_cast<QComboBox *>(c.valor)) {
            k.texto = cmb->currentIndex() >= 0 ? cmb->currentData().toString() : QString();
            k.extra = cmb->currentText();
        } else if (auto *txt = qobject_cast<QLineEdit *>(c.valor)) {
            k.texto = txt->text();
        } else if (auto *fecha = qobject_cast<QDateEdit *>(c.valor)) {
            k.desde = fecha->date();
            k.hasta = c.fin ? c.fin->date() : k.desde;
        }
        out << k;
    }
    return out;
}

bool frmReporte::cmdAceptar()
{
    const std::optional<QList<ValorParametro>> valores = m_catalogo.aceptar(capturas());
    if (!valores) {
        if (!m_catalogo.reporte()) {
            lstReportes->setFocus();
            return false;
        }
        const int i = m_catalogo.parametros().campoRechazado();
        if (i >= 0 && i < m_campos.size()) {
            const Campo &c = m_campos.at(i);
            enfocaCampo(m_catalogo.parametros().parteRechazada() == ParametrosReporte::Parte::Fin && c.fin
                            ? c.fin
                            : c.valor);
        }
        return false;
    }
    QList<ValorParametro> todos = *valores;
    // What the caller gave for names the report does not ask reaches the report as it came.
    for (const cReporte::Valor &v : m_valores) {
        bool definido = false;
        for (const ValorParametro &p : todos)
            definido = definido || p.clave.compare(v.clave, Qt::CaseInsensitive) == 0;
        if (!definido)
            todos << ValorParametro{v.clave, v.valor, v.valorExtra, QStringLiteral("T")};
    }
    const CatalogoReportes::Reporte &r = *m_catalogo.reporte();
    if (m_ejecuta)
        m_ejecuta(r.clave, r.programa, todos);
    accept();
    return true;
}

QWidget *frmReporte::entrada(const QString &nombre) const
{
    if (!m_catalogo.reporte())
        return nullptr;
    const QList<ParametrosReporte::Definicion> &defs = m_catalogo.reporte()->parametros;
    for (int i = 0; i < defs.size() && i < m_campos.size(); ++i)
        if (defs.at(i).nombre.compare(nombre, Qt::CaseInsensitive) == 0)
            return m_campos.at(i).valor;
    return nullptr;
}

QDateEdit *frmReporte::fechaFin(const QString &nombre) const
{
    if (!m_catalogo.reporte())
        return nullptr;
    const QList<ParametrosReporte::Definicion> &defs = m_catalogo.reporte()->parametros;
    for (int i = 0; i < defs.size() && i < m_campos.size(); ++i)
        if (defs.at(i).nombre.compare(nombre, Qt::CaseInsensitive) == 0)
            return m_campos.at(i).fin;
    return nullptr;
}
