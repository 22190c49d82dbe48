#include "frmDireccionEntrega.h"

#include "BotonesDialogo.h"

#include "Prompter.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
using Campo = DireccionEntrega::Campo;
const Campo kCampos[] = {Campo::Calle,  Campo::Exterior, Campo::Interior,  Campo::Colonia,    Campo::CP,
                         Campo::Ciudad, Campo::DelMun,   Campo::Telefono, Campo::Referencia, Campo::Comentario};
const char *const kNombres[] = {"txtCalle",  "txtExterior", "txtInterior", "txtColonia",   "txtCP",
                                "txtCiudad", "txtDelMun",   "txtTelefono", "txtReferencia", "txtComentario"};
} // namespace

frmDireccionEntrega::frmDireccionEntrega(const EntregaVenta &entrega, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_entrega(entrega), m_prompter(prompter)
{
    setObjectName(QStringLiteral("frmDireccionEntrega"));
    setWindowTitle(QStringLiteral("Domicilio de entrega"));
    setModal(true);
    setMinimumWidth(520);
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    for (size_t i = 0; i < std::size(kCampos); ++i) {
        auto *t = new QLineEdit(DireccionEntrega::texto(m_entrega, kCampos[i]), this);
        t->setObjectName(QString::fromLatin1(kNombres[i]));
        t->setMaxLength(DireccionEntrega::largo(kCampos[i]));
        form->addRow(DireccionEntrega::titulo(kCampos[i]) + u':', t);
        m_campos.insert(int(kCampos[i]), t);
    }
    layout->addLayout(form);
    layout->addWidget(botonesAceptarCancelar(this, &frmDireccionEntrega::cmdAceptar));
    // The street when it is missing, otherwise the first field, ready to be confirmed with Enter.
    QLineEdit *primero = m_campos.value(int(Campo::Calle));
    primero->setFocus();
    primero->selectAll();
}

bool frmDireccionEntrega::pide(EntregaVenta &entrega, Prompter &prompter, QWidget *parent)
{
    frmDireccionEntrega w(entrega, prompter, parent);
    if (w.exec() != QDialog::Accepted)
        return false;
    entrega = w.entrega();
    return true;
}

void frmDireccionEntrega::cmdAceptar()
{
    EntregaVenta e = m_entrega;
    for (auto it = m_campos.cbegin(); it != m_campos.cend(); ++it)
        DireccionEntrega::texto(e, Campo(it.key())) = it.value()->text().trimmed();
    if (const auto falta = DireccionEntrega::valida(e)) {
        m_prompter.exclamation(falta->mensaje);
        QLineEdit *t = m_campos.value(int(falta->campo));
        t->setFocus();
        t->selectAll();
        return;
    }
    m_entrega = e;
    accept();
}
