#include "frmLogin.h"

#include "FingerprintSimulated.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

frmLogin::frmLogin(LoginController &controller, FingerprintSimulated *simulated, QWidget *parent)
    : QDialog(parent), m_controller(controller), m_simulated(simulated)
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Acceso al sistema"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(QStringLiteral("<b>Mostrador</b>"), this);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);

    m_pages = new QStackedWidget(this);
    auto *userPage = new QWidget(m_pages);
    auto *userForm = new QFormLayout(userPage);
    txtUserName = new QLineEdit(userPage);
    txtUserName->setObjectName(QStringLiteral("txtUserName"));
    txtPassword = new QLineEdit(userPage);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    userForm->addRow(QStringLiteral("&Usuario:"), txtUserName);
    userForm->addRow(QStringLiteral("&Contraseña:"), txtPassword);
    m_pages->addWidget(userPage);

    auto *cardPage = new QWidget(m_pages);
    auto *cardForm = new QFormLayout(cardPage);
    txtCredencial = new QLineEdit(cardPage);
    txtCredencial->setObjectName(QStringLiteral("txtCredencial"));
    txtCredencial->setEchoMode(QLineEdit::Password);
    cardForm->addRow(QStringLiteral("C&redencial:"), txtCredencial);
    m_pages->addWidget(cardPage);

    auto *fingerPage = new QWidget(m_pages);
    auto *fingerLayout = new QVBoxLayout(fingerPage);
    lblHuella = new QLabel(fingerPage);
    lblHuella->setObjectName(QStringLiteral("lblHuella"));
    lblHuella->setAlignment(Qt::AlignCenter);
    lblHuella->setWordWrap(true);
    lblHuella->setFrameShape(QFrame::StyledPanel);
    lblHuella->setMinimumHeight(48);
    fingerLayout->addWidget(lblHuella);
    if (m_simulated) {
        cmdSimular = new QPushButton(QStringLiteral("Simular lectura de huella..."), fingerPage);
        cmdSimular->setObjectName(QStringLiteral("cmdSimular"));
        connect(cmdSimular, &QPushButton::clicked, this, &frmLogin::simulateFinger);
        fingerLayout->addWidget(cmdSimular);
    }
    m_pages->addWidget(fingerPage);
    layout->addWidget(m_pages);

    auto *terminalForm = new QFormLayout;
    cmbTerminal = new QComboBox(this);
    cmbTerminal->setObjectName(QStringLiteral("cmbTerminal"));
    terminalForm->addRow(QStringLiteral("&Terminal:"), cmbTerminal);
    layout->addLayout(terminalForm);

    auto *buttons = new QHBoxLayout;
    cmdModoSesion = new QPushButton(QStringLiteral("&Modo"), this);
    cmdModoSesion->setObjectName(QStringLiteral("cmdModoSesion"));
    cmdConexion = new QPushButton(QStringLiteral("Co&nexion"), this);
    cmdConexion->setObjectName(QStringLiteral("cmdConexion"));
    auto *ok = new QPushButton(QStringLiteral("&Aceptar"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Cancelar"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addWidget(cmdModoSesion);
    buttons->addWidget(cmdConexion);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &frmLogin::cmdOK);
    connect(cancel, &QPushButton::clicked, this, &frmLogin::cmdCancel);
    connect(cmdModoSesion, &QPushButton::clicked, this, [this] { m_controller.cmdModoSesion(); });
    connect(cmdConexion, &QPushButton::clicked, this, [this] { m_controller.cmdConexion(); });
    // Enter in any field reaches cmdOK through the default button only: a second route would
    // check (and refuse) the same login twice.
    connect(cmbTerminal, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_controller.setChosenTerminal(index); });
    connect(&m_controller, &LoginController::modeChanged, this, &frmLogin::showMode);
    connect(&m_controller, &LoginController::terminalsChanged, this, &frmLogin::fillTerminals);
    connect(&m_controller, &LoginController::fingerPromptChanged, lblHuella, &QLabel::setText);
    connect(&m_controller, &LoginController::focusRequested, this, &frmLogin::focusField);
    connect(&m_controller, &LoginController::accepted, this, &QDialog::accept);

    m_controller.load();
    txtUserName->setText(m_controller.lastUser());
    lblHuella->setText(m_controller.fingerPrompt());
    setMinimumWidth(380);
}

void frmLogin::setTerminalListEnabled(bool enabled)
{
    cmbTerminal->setEnabled(enabled);
}

void frmLogin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    showMode(m_controller.mode());
}

void frmLogin::showMode(LoginController::Mode mode)
{
    m_pages->setCurrentIndex(int(mode));
    if (mode == LoginController::Mode::Usuario)
        focusField(txtUserName->text().isEmpty() ? LoginController::Field::User
                                                 : LoginController::Field::Password);
    else
        focusField(mode == LoginController::Mode::Credencial ? LoginController::Field::Credential
                                                             : LoginController::Field::Finger);
}

void frmLogin::fillTerminals()
{
    const QSignalBlocker block(cmbTerminal);
    cmbTerminal->clear();
    for (const auto &t : m_controller.terminals())
        cmbTerminal->addItem(t.key + QStringLiteral(" - ") + t.name);
    cmbTerminal->setCurrentIndex(m_controller.terminalIndex());
}

void frmLogin::focusField(LoginController::Field field)
{
    switch (field) {
    case LoginController::Field::User:
        txtUserName->setFocus();
        txtUserName->selectAll();
        break;
    case LoginController::Field::Password:
        txtPassword->setFocus();
        txtPassword->selectAll();
        break;
    case LoginController::Field::Credential:
        txtCredencial->setFocus();
        txtCredencial->selectAll();
        break;
    case LoginController::Field::Finger:
        if (cmdSimular)
            cmdSimular->setFocus();
        break;
    }
}

void frmLogin::cmdOK()
{
    if (m_controller.cmdOK(txtUserName->text(), txtPassword->text(), txtCredencial->text(),
                           cmbTerminal->currentIndex()))
        accept();
}

void frmLogin::cmdCancel()
{
    m_controller.cmdCancel();
    QDialog::reject();
}

void frmLogin::reject()
{
    cmdCancel();
}

void frmLogin::simulateFinger()
{
    bool ok = false;
    const QString finger = QInputDialog::getText(this, QStringLiteral("Lector simulado"),
                                                 QStringLiteral("Huella (texto del patron registrado):"),
                                                 QLineEdit::Normal, QString(), &ok);
    if (ok && m_simulated)
        m_simulated->touch(finger.toUtf8());
}
