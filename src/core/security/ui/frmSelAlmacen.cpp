#include "frmSelAlmacen.h"

#include "LoginWarehouse.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

frmSelAlmacen::frmSelAlmacen(LoginWarehouse &rules, QWidget *parent) : QDialog(parent), m_rules(rules)
{
    setObjectName(QStringLiteral("frmSelAlmacen"));
    setWindowTitle(QStringLiteral("Seleccione el almacen"));
    setModal(true);

    auto *layout = new QHBoxLayout(this);
    imgFoto = new QLabel(this);
    imgFoto->setObjectName(QStringLiteral("imgFoto"));
    imgFoto->setFixedSize(120, 150);
    imgFoto->setFrameShape(QFrame::StyledPanel);
    imgFoto->setAlignment(Qt::AlignCenter);
    layout->addWidget(imgFoto);

    auto *right = new QVBoxLayout;
    auto *form = new QFormLayout;
    lblBaseDatos = new QLabel(this);
    lblBaseDatos->setObjectName(QStringLiteral("lblBaseDatos"));
    lblUsuario = new QLabel(this);
    lblUsuario->setObjectName(QStringLiteral("lblUsuario"));
    cmbAlmacen = new QComboBox(this);
    cmbAlmacen->setObjectName(QStringLiteral("cmbAlmacen"));
    cmbAlmacen->setMinimumWidth(260);
    form->addRow(QStringLiteral("Base de datos:"), lblBaseDatos);
    form->addRow(QStringLiteral("Usuario:"), lblUsuario);
    form->addRow(QStringLiteral("&Almacen:"), cmbAlmacen);
    right->addLayout(form);
    right->addStretch();
    auto *ok = new QPushButton(QStringLiteral("&Aceptar"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    right->addLayout(buttons);
    layout->addLayout(right);
    connect(ok, &QPushButton::clicked, this, &frmSelAlmacen::cmdOK);

    m_rules.load();
    lblBaseDatos->setText(m_rules.database());
    lblUsuario->setText(m_rules.userName());
    const QPixmap photo(m_rules.photoFile());
    if (!photo.isNull())
        imgFoto->setPixmap(photo.scaled(imgFoto->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        imgFoto->setText(QStringLiteral("Sin foto"));
    for (const QString &entry : m_rules.warehouses())
        cmbAlmacen->addItem(QString(entry).replace(QLatin1Char('\t'), QStringLiteral(" - ")), entry);
    cmbAlmacen->setCurrentIndex(m_rules.selected());
}

void frmSelAlmacen::cmdOK()
{
    if (m_rules.cmdOK(cmbAlmacen->currentData().toString()))
        accept();
}
