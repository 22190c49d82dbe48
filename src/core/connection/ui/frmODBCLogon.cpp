#include "frmODBCLogon.h"

#include "ConnectionCatalog.h"
#include "Log.h"
#include "Prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QVBoxLayout>

frmODBCLogon::frmODBCLogon(ConnectionCatalog &catalog, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_catalog(catalog), m_prompter(prompter), m_editor(catalog, prompter)
{
    setObjectName(QStringLiteral("frmODBCLogon"));
    setWindowTitle(QStringLiteral("Conexión a base de datos"));

    lstConexion = new QListWidget;
    lstConexion->setObjectName(QStringLiteral("lstConexion"));
    txtNombre = new QLineEdit;
    txtNombre->setObjectName(QStringLiteral("txtNombre"));
    cmbMotor = new QComboBox;
    cmbMotor->setObjectName(QStringLiteral("cmbMotor"));
    cmbMotor->addItem(QStringLiteral("SQLite (archivo local)"));
    cmbMotor->addItem(QStringLiteral("PostgreSQL (servidor)"));

    txtArchivo = new QLineEdit;
    txtArchivo->setObjectName(QStringLiteral("txtArchivo"));
    auto *cmdArchivo = new QPushButton(QStringLiteral("..."));
    cmdArchivo->setObjectName(QStringLiteral("cmdArchivo"));
    auto *sqlitePage = new QWidget;
    auto *sqliteColumn = new QVBoxLayout(sqlitePage);
    sqliteColumn->setContentsMargins(0, 0, 0, 0);
    auto *sqliteRow = new QHBoxLayout;
    sqliteColumn->addLayout(sqliteRow);
    sqliteColumn->addStretch(1);
    sqliteRow->addWidget(new QLabel(QStringLiteral("Archivo")));
    sqliteRow->addWidget(txtArchivo, 1);
    sqliteRow->addWidget(cmdArchivo);

    cmbServer = new QComboBox;
    cmbServer->setObjectName(QStringLiteral("cmbServer"));
    cmbServer->setEditable(true);
    cmbServer->addItems({QStringLiteral("localhost"), QStringLiteral("127.0.0.1")});
    txtPuerto = new QLineEdit;
    txtPuerto->setObjectName(QStringLiteral("txtPuerto"));
    txtPuerto->setPlaceholderText(QStringLiteral("5432"));
    txtUsuario = new QLineEdit;
    txtUsuario->setObjectName(QStringLiteral("txtUsuario"));
    txtPassword = new QLineEdit;
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    cmbBase = new QComboBox;
    cmbBase->setObjectName(QStringLiteral("cmbBase"));
    cmbBase->setEditable(true);
    auto *cmdBaseButton = new QPushButton(QStringLiteral("Bases..."));
    cmdBaseButton->setObjectName(QStringLiteral("cmdBase"));
    txtOpciones = new QLineEdit;
    txtOpciones->setObjectName(QStringLiteral("txtOpciones"));
    txtOpciones->setPlaceholderText(QStringLiteral("connect_timeout=10"));
    auto *pgPage = new QWidget;
    auto *pgColumn = new QVBoxLayout(pgPage);
    pgColumn->setContentsMargins(0, 0, 0, 0);
    auto *pgForm = new QFormLayout;
    pgColumn->addLayout(pgForm);
    pgColumn->addStretch(1);
    pgForm->addRow(QStringLiteral("Servidor"), cmbServer);
    pgForm->addRow(QStringLiteral("Puerto"), txtPuerto);
    pgForm->addRow(QStringLiteral("Usuario"), txtUsuario);
    pgForm->addRow(QStringLiteral("Contraseña"), txtPassword);
    auto *baseRow = new QHBoxLayout;
    baseRow->addWidget(cmbBase, 1);
    baseRow->addWidget(cmdBaseButton);
    pgForm->addRow(QStringLiteral("Base de datos"), baseRow);
    pgForm->addRow(QStringLiteral("Opciones"), txtOpciones);

    m_pages = new QStackedWidget;
    m_pages->addWidget(sqlitePage);
    m_pages->addWidget(pgPage);

    chkMostrar = new QCheckBox(QStringLiteral("Mostrar al iniciar"));
    chkMostrar->setObjectName(QStringLiteral("chkMostrar"));

    auto *cmdSalvarButton = new QPushButton(QStringLiteral("Salvar"));
    cmdSalvarButton->setObjectName(QStringLiteral("cmdSalvar"));
    auto *cmdLimpiarButton = new QPushButton(QStringLiteral("Limpiar"));
    cmdLimpiarButton->setObjectName(QStringLiteral("cmdLimpiar"));
    auto *cmdOKButton = new QPushButton(QStringLiteral("Aceptar"));
    cmdOKButton->setObjectName(QStringLiteral("cmdOK"));
    cmdOKButton->setDefault(true);
    auto *cmdCancelButton = new QPushButton(QStringLiteral("Cancelar"));
    cmdCancelButton->setObjectName(QStringLiteral("cmdCancel"));

    auto *definition = new QGroupBox(QStringLiteral("Conexión"));
    auto *defForm = new QFormLayout(definition);
    defForm->addRow(QStringLiteral("Nombre"), txtNombre);
    defForm->addRow(QStringLiteral("Motor"), cmbMotor);
    defForm->addRow(m_pages);

    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Conexiones")));
    left->addWidget(lstConexion, 1);
    left->addWidget(chkMostrar);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdSalvarButton);
    buttons->addWidget(cmdLimpiarButton);
    buttons->addStretch(1);
    buttons->addWidget(cmdOKButton);
    buttons->addWidget(cmdCancelButton);

    auto *right = new QVBoxLayout;
    right->addWidget(definition, 1);
    right->addLayout(buttons);

    auto *top = new QHBoxLayout(this);
    top->addLayout(left, 2);
    top->addLayout(right, 3);
    resize(720, 360);

    connect(cmbMotor, &QComboBox::currentIndexChanged, this, [this] { engineChanged(); });
    connect(cmdArchivo, &QPushButton::clicked, this, [this] { browseFile(); });
    connect(cmdBaseButton, &QPushButton::clicked, this, [this] { cmdBase(); });
    connect(cmdSalvarButton, &QPushButton::clicked, this, [this] { cmdSalvar(); });
    connect(cmdLimpiarButton, &QPushButton::clicked, this, [this] { cmdLimpiar(); });
    connect(cmdOKButton, &QPushButton::clicked, this, [this] { cmdOK(); });
    connect(cmdCancelButton, &QPushButton::clicked, this, [this] { cmdCancel(); });
    connect(lstConexion, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            setFields(m_editor.load(row + 1));
    });
    connect(chkMostrar, &QCheckBox::clicked, this, [this](bool on) { m_catalog.setMostrar(on); });

    reloadList();
    const int selected = m_catalog.indexOf(m_catalog.selected());
    if (selected > 0)
        selectEntry(selected);
    chkMostrar->setChecked(m_catalog.mostrar());
    engineChanged();
}

void frmODBCLogon::reloadList()
{
    lstConexion->blockSignals(true);
    lstConexion->clear();
    lstConexion->addItems(m_catalog.names());
    lstConexion->blockSignals(false);
}

void frmODBCLogon::selectEntry(int index)
{
    if (index < 1 || index > lstConexion->count()) {
        lstConexion->setCurrentRow(-1);
        return;
    }
    lstConexion->setCurrentRow(index - 1);
    setFields(m_editor.load(index));
}

void frmODBCLogon::engineChanged()
{
    m_pages->setCurrentIndex(cmbMotor->currentIndex());
}

void frmODBCLogon::browseFile()
{
    const QString start = txtArchivo->text().isEmpty()
                              ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                              : txtArchivo->text();
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Base de datos SQLite"), start,
                                                      QStringLiteral("SQLite (*.sqlite *.db);;Todos (*)"), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (!file.isEmpty())
        txtArchivo->setText(file);
}

ConnectionFields frmODBCLogon::fields() const
{
    ConnectionFields f;
    f.name = txtNombre->text();
    f.engine = cmbMotor->currentIndex() == 1 ? ConnectionFields::PostgreSQL : ConnectionFields::SQLite;
    f.file = txtArchivo->text();
    f.server = cmbServer->currentText();
    f.port = txtPuerto->text();
    f.user = txtUsuario->text();
    f.password = txtPassword->text();
    f.database = cmbBase->currentText();
    f.options = txtOpciones->text();
    return f;
}

void frmODBCLogon::setFields(const ConnectionFields &f)
{
    txtNombre->setText(f.name);
    cmbMotor->setCurrentIndex(f.engine == ConnectionFields::PostgreSQL ? 1 : 0);
    txtArchivo->setText(f.file);
    cmbServer->setCurrentText(f.server);
    txtPuerto->setText(f.port);
    txtUsuario->setText(f.user);
    txtPassword->setText(f.password);
    cmbBase->setCurrentText(f.database);
    txtOpciones->setText(f.options);
    engineChanged();
}

void frmODBCLogon::cmdSalvar()
{
    const int index = m_editor.cmdSalvar(fields());
    if (index < 1)
        return;
    reloadList();
    selectEntry(index);
}

void frmODBCLogon::cmdOK()
{
    const std::optional<QString> cs = m_editor.cmdOK(fields(), lstConexion->currentRow() + 1);
    if (!cs)
        return;
    m_accepted = *cs;
    accept();
}

void frmODBCLogon::cmdCancel()
{
    m_accepted.clear();
    reject();
}

void frmODBCLogon::cmdBase()
{
    try {
        const QString previous = cmbBase->currentText();
        const QStringList bases = m_editor.cmdBase(fields());
        if (fields().engine == ConnectionFields::SQLite) {
            browseFile();
            return;
        }
        cmbBase->clear();
        cmbBase->addItems(bases);
        cmbBase->setCurrentText(previous);
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("Error al abrir la conexion"), QStringLiteral("cmdBase"),
                    ErrorInfo::fromException(e));
    }
}

void frmODBCLogon::cmdLimpiar()
{
    setFields(ConnectionFields{});
    lstConexion->setCurrentRow(-1);
}
