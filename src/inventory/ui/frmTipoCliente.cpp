#include "frmTipoCliente.h"

#include "CatalogoEditor.h"
#include "Catalogos.h"
#include "TipoClienteConceptos.h"
#include "frmTipoClienteConcepto.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>

#include <algorithm>

frmTipoCliente::frmTipoCliente(CatalogoEditor &editor, ConnectionProvider &connections, Permisos &permisos,
                               Prompter &prompter, const QStringList &clave, QWidget *parent)
    : frmCatalogoDet(editor, clave, parent), m_connections(connections), m_permisos(permisos),
      m_prompter(prompter), m_tcli(clave.value(0)), m_modo(editor.modo())
{
    setObjectName(QStringLiteral("frmTipoCliente"));
    ordenaControles();

    // Concepts hang off a stored type: offered once the type exists, that is outside "A".
    m_cmdConceptos = new QPushButton(QStringLiteral("Conceptos de &precio..."));
    m_cmdConceptos->setObjectName(QStringLiteral("cmdConceptos"));
    m_cmdConceptos->setAutoDefault(false);
    m_cmdConceptos->setEnabled(editor.modo() != QLatin1String("A") && valido());
    connect(m_cmdConceptos, &QPushButton::clicked, this, &frmTipoCliente::cmdConceptos_Click);
    if (auto *box = qobject_cast<QBoxLayout *>(layout())) {
        auto *fila = new QHBoxLayout;
        fila->addWidget(m_cmdConceptos);
        fila->addStretch();
        box->insertLayout(box->count() - 1, fila);
    }
}

void frmTipoCliente::ordenaControles()
{
    auto *cmb = qobject_cast<QComboBox *>(control(QStringLiteral("tcontrol_Clave")));
    if (!cmb)
        return;
    TipoClienteConceptos reglas(m_connections, m_permisos, m_prompter);
    QStringList orden;
    for (const auto &o : reglas.tiposControl())
        orden << o.clave;
    struct Item {
        QString texto;
        QVariant dato;
    };
    QList<Item> items;
    for (int i = 1; i < cmb->count(); ++i) // entry 0 is "nothing chosen"
        items.append({cmb->itemText(i), cmb->itemData(i)});
    const auto posicion = [&](const Item &item) {
        const qsizetype p = orden.indexOf(CatalogoEditor::claveDe(item.dato.toString()));
        return p < 0 ? orden.size() : p;
    };
    std::stable_sort(items.begin(), items.end(),
                     [&](const Item &a, const Item &b) { return posicion(a) < posicion(b); });
    const QVariant actual = cmb->currentData();
    while (cmb->count() > 1)
        cmb->removeItem(1);
    for (const Item &item : items)
        cmb->addItem(item.texto, item.dato);
    cmb->setCurrentIndex(qMax(0, cmb->findData(actual)));
}

void frmTipoCliente::cmdConceptos_Click()
{
    // The concepts follow the form: editable in change, shown in query.
    frmTipoClienteConcepto window(m_connections, m_permisos, m_prompter, m_modo, m_tcli, this);
    if (!window.valido())
        return;
    window.exec();
    m_conceptosGuardados = m_conceptosGuardados || window.guardado();
}

bool frmTipoCliente::abrir(ConnectionProvider &connections, Permisos &permisos, Prompter &prompter,
                           QChar comando, const QString &clave, QWidget *parent)
{
    const CatalogoDef *def = Catalogos::porTabla(QStringLiteral("tTipoCliente"));
    if (!def)
        return false;
    const QChar c = comando.toUpper();
    const QString modo = c == u'A'   ? QStringLiteral("A")
                         : c == u'Q' ? QStringLiteral("Q")
                                     : QStringLiteral("C");
    CatalogoEditor editor(*def, connections, permisos, prompter, modo);
    const QStringList partes = c == u'A' ? QStringList() : def->decodificaClave(clave);
    if (c == u'B')
        return editor.eliminarRegistro(partes);
    frmTipoCliente window(editor, connections, permisos, prompter, partes, parent);
    if (!window.valido())
        return false;
    window.exec();
    return window.guardado() || window.conceptosGuardados();
}
