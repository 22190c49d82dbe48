#include "frmConsultaSQL.h"

#include "Enfoque.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

frmConsultaSQL::frmConsultaSQL(const LookupServices &services, const QString &modo, const QString &clave,
                               QWidget *parent)
    : QDialog(parent), m_editor(services.connections, services.prompter)
{
    setObjectName(QStringLiteral("frmConsultaSQL"));
    const QString m = modo.trimmed().toUpper();
    m_editor.setModo(m);
    setWindowTitle(m == QLatin1String("A")   ? QStringLiteral("Alta de Consulta SQL")
                   : m == QLatin1String("C") ? QStringLiteral("Cambio de Consulta SQL")
                                             : QStringLiteral("Consulta SQL"));

    m_txtClave = new QLineEdit(this);
    m_txtClave->setObjectName(QStringLiteral("txtClave"));
    m_txtClave->setValidator(new QIntValidator(1, 2147483647, m_txtClave));
    m_txtNombre = new QLineEdit(this);
    m_txtNombre->setObjectName(QStringLiteral("txtNombre"));
    m_txtNombre->setMaxLength(100);
    m_txtSQL = new QPlainTextEdit(this);
    m_txtSQL->setObjectName(QStringLiteral("txtSQL"));
    m_txtSQL->setFont(QFont(QStringLiteral("Monospace")));
    m_grdColumnas = new QTableView(this);
    m_grdColumnas->setObjectName(QStringLiteral("grdColumnas"));
    m_grdColumnas->setModel(&m_columnas);
    m_grdColumnas->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grdColumnas->horizontalHeader()->setStretchLastSection(true);

    const auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    m_cmdAgregarColumna = button("cmdAgregarColumna", QStringLiteral("Agregar columna"));
    m_cmdQuitarColumna = button("cmdQuitarColumna", QStringLiteral("Quitar columna"));
    m_cmdAceptar = button("cmdAceptar", QStringLiteral("&Aceptar"));
    m_cmdEliminar = button("cmdEliminar", QStringLiteral("&Eliminar"));
    auto *cmdCerrar = button("cmdCerrar", QStringLiteral("&Cerrar"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Clave *"), m_txtClave);
    form->addRow(QStringLiteral("Nombre *"), m_txtNombre);
    form->addRow(QStringLiteral("SQL *"), m_txtSQL);
    auto *columnButtons = new QHBoxLayout;
    columnButtons->addWidget(m_cmdAgregarColumna);
    columnButtons->addWidget(m_cmdQuitarColumna);
    columnButtons->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdAceptar);
    buttons->addWidget(m_cmdEliminar);
    buttons->addWidget(cmdCerrar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form, 2);
    layout->addWidget(m_grdColumnas, 1);
    layout->addLayout(columnButtons);
    layout->addLayout(buttons);
    resize(720, 560);

    connect(m_cmdAgregarColumna, &QPushButton::clicked, this, [this] { m_columnas.agregar(); });
    connect(m_cmdQuitarColumna, &QPushButton::clicked, this,
            [this] { m_columnas.quitar(m_grdColumnas->currentIndex().row()); });
    connect(m_cmdAceptar, &QPushButton::clicked, this, &frmConsultaSQL::cmdAceptar_Click);
    connect(m_cmdEliminar, &QPushButton::clicked, this, &frmConsultaSQL::cmdEliminar_Click);
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::reject);

    const bool soloConsulta = m == QLatin1String("Q");
    m_txtClave->setReadOnly(m != QLatin1String("A"));
    m_txtNombre->setReadOnly(soloConsulta);
    m_txtSQL->setReadOnly(soloConsulta);
    m_grdColumnas->setEnabled(!soloConsulta);
    m_cmdAgregarColumna->setVisible(!soloConsulta);
    m_cmdQuitarColumna->setVisible(!soloConsulta);
    m_cmdAceptar->setVisible(!soloConsulta);
    m_cmdEliminar->setVisible(m == QLatin1String("C"));
    if (m == QLatin1String("A")) {
        limpia();
    } else if (const auto d = m_editor.consultarRegistro(clave)) {
        setDatos(*d);
    } else {
        m_cmdAceptar->setEnabled(false);
        m_cmdEliminar->setEnabled(false);
    }
}

ConsultaSQLEditor::Datos frmConsultaSQL::datos() const
{
    return {m_txtClave->text(), m_txtNombre->text(), m_txtSQL->toPlainText(), m_columnas.columnas()};
}

void frmConsultaSQL::setDatos(const ConsultaSQLEditor::Datos &d)
{
    m_txtClave->setText(d.clave);
    m_txtNombre->setText(d.nombre);
    m_txtSQL->setPlainText(d.sql);
    m_columnas.setColumnas(d.columnas);
}

void frmConsultaSQL::limpia()
{
    const int clave = m_editor.nuevaClave();
    setDatos({clave > 0 ? QString::number(clave) : QString(), QString(), QString(), {}});
    m_txtNombre->setFocus();
}

void frmConsultaSQL::cmdAceptar_Click()
{
    const auto enfoca = [this] {
        const QString &campo = m_editor.campoRechazado();
        enfocaCampo(campo == QLatin1String("clave")    ? static_cast<QWidget *>(m_txtClave)
                    : campo == QLatin1String("nombre") ? static_cast<QWidget *>(m_txtNombre)
                    : campo == QLatin1String("sql")    ? static_cast<QWidget *>(m_txtSQL)
                                                       : nullptr);
    };
    if (m_editor.modo() == QLatin1String("A")) {
        bool continuar = false;
        if (!m_editor.agregarRegistro(datos(), &continuar)) {
            enfoca();
            return;
        }
        m_cambios = true;
        if (continuar)
            limpia();
        else
            accept();
        return;
    }
    if (m_editor.modificarRegistro(datos())) {
        m_cambios = true;
        accept();
    } else {
        enfoca();
    }
}

void frmConsultaSQL::cmdEliminar_Click()
{
    if (m_editor.eliminarRegistro(m_txtClave->text())) {
        m_cambios = true;
        accept();
    }
}

bool frmConsultaSQL::abrir(const LookupServices &services, QChar command, const QString &clave,
                           QWidget *parent)
{
    const QChar c = command.toUpper();
    if (c == QLatin1Char('B')) {
        ConsultaSQLEditor editor(services.connections, services.prompter);
        return editor.eliminarRegistro(clave);
    }
    frmConsultaSQL w(services, QString(c), clave, parent);
    w.exec();
    return w.cambios();
}

MaintenanceOpener frmConsultaSQL::opener(const LookupServices &services, QWidget *parent)
{
    return [services, parent](const QString &, QChar command, const QString &clave) {
        return abrir(services, command, clave, parent);
    };
}
