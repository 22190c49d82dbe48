#include "frmerReport.h"

#include "Prompter.h"
#include "ReportPainter.h"
#include "easyReport.h"
#include "frmShowPrinter.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QTemporaryFile>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QToolButton *boton(QWidget *parent, const QString &texto, const QString &ayuda, const QKeySequence &tecla)
{
    auto *b = new QToolButton(parent);
    b->setText(texto);
    b->setToolTip(ayuda + (tecla.isEmpty()
                               ? QString()
                               : QStringLiteral(" (") + tecla.toString(QKeySequence::NativeText) + u')'));
    if (!tecla.isEmpty()) {
        auto *atajo = new QShortcut(tecla, parent);
        atajo->setContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(atajo, &QShortcut::activated, b, &QToolButton::click);
    }
    b->setAutoRaise(true);
    return b;
}

} // namespace

frmerReport::frmerReport(easyReport &report, Prompter &prompter, std::function<QString(qint64)> imagePath,
                         QWidget *parent)
    : QDialog(parent), m_report(report), m_prompter(prompter), m_imagePath(std::move(imagePath))
{
    setWindowTitle(QStringLiteral("Reporte"));
    resize(1000, 680);
    auto *barra = new QHBoxLayout;
    QToolButton *primera =
        boton(this, QStringLiteral("|<"), QStringLiteral("Primera página"), QKeySequence(Qt::Key_Home));
    QToolButton *anterior =
        boton(this, QStringLiteral("<"), QStringLiteral("Página anterior"), QKeySequence(Qt::Key_PageUp));
    QToolButton *siguiente =
        boton(this, QStringLiteral(">"), QStringLiteral("Página siguiente"), QKeySequence(Qt::Key_PageDown));
    QToolButton *ultima =
        boton(this, QStringLiteral(">|"), QStringLiteral("Última página"), QKeySequence(Qt::Key_End));
    txtPagina = new QLineEdit(this);
    txtPagina->setObjectName(QStringLiteral("txtPagina"));
    txtPagina->setFixedWidth(60);
    txtPagina->setAlignment(Qt::AlignRight);
    lblPagina = new QLabel(this);
    QToolButton *detener =
        boton(this, QStringLiteral("Detener"), QStringLiteral("Detener la composición"), {});
    QToolButton *recargar = boton(this, QStringLiteral("Recargar"),
                                  QStringLiteral("Ejecutar el reporte de nuevo"), QKeySequence(Qt::Key_F5));
    QToolButton *imprimir = boton(this, QStringLiteral("&Imprimir"), QStringLiteral("Imprimir"),
                                  QKeySequence(QStringLiteral("Ctrl+P")));
    QToolButton *exportar = boton(this, QStringLiteral("E&xportar datos"),
                                  QStringLiteral("Abrir los datos en una hoja de cálculo (CSV)"), {});
    QToolButton *pdf =
        boton(this, QStringLiteral("&PDF"), QStringLiteral("Guardar las páginas como PDF"), {});
    QToolButton *errores =
        boton(this, QStringLiteral("&Errores"), QStringLiteral("Ver la lista de errores"), {});
    QToolButton *acercar =
        boton(this, QStringLiteral("+"), QStringLiteral("Acercar"), QKeySequence(QStringLiteral("Ctrl++")));
    QToolButton *alejar =
        boton(this, QStringLiteral("-"), QStringLiteral("Alejar"), QKeySequence(QStringLiteral("Ctrl+-")));
    for (QWidget *w :
         {static_cast<QWidget *>(primera), static_cast<QWidget *>(anterior),
          static_cast<QWidget *>(txtPagina), static_cast<QWidget *>(lblPagina),
          static_cast<QWidget *>(siguiente), static_cast<QWidget *>(ultima), static_cast<QWidget *>(detener),
          static_cast<QWidget *>(recargar), static_cast<QWidget *>(alejar), static_cast<QWidget *>(acercar),
          static_cast<QWidget *>(imprimir), static_cast<QWidget *>(pdf), static_cast<QWidget *>(exportar),
          static_cast<QWidget *>(errores)})
        barra->addWidget(w);
    barra->addStretch();
    m_scroll = new QScrollArea(this);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    lblHoja = new QLabel(m_scroll);
    lblHoja->setObjectName(QStringLiteral("lblHoja"));
    m_scroll->setWidget(lblHoja);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(barra);
    layout->addWidget(m_scroll, 1);

    connect(primera, &QToolButton::clicked, this, &frmerReport::cmdPrimera);
    connect(anterior, &QToolButton::clicked, this, &frmerReport::cmdAnterior);
    connect(siguiente, &QToolButton::clicked, this, &frmerReport::cmdSiguiente);
    connect(ultima, &QToolButton::clicked, this, &frmerReport::cmdUltima);
    connect(detener, &QToolButton::clicked, this, &frmerReport::cmdStop);
    connect(recargar, &QToolButton::clicked, this, &frmerReport::cmdRecargar);
    connect(imprimir, &QToolButton::clicked, this, &frmerReport::cmdImprimir);
    connect(exportar, &QToolButton::clicked, this, &frmerReport::cmdExport);
    connect(pdf, &QToolButton::clicked, this, &frmerReport::cmdExportPdf);
    connect(errores, &QToolButton::clicked, this, &frmerReport::cmdErrores);
    connect(acercar, &QToolButton::clicked, this, [this] {
        m_zoom = qMin(3.0, m_zoom * 1.25);
        muestraPagina(m_pagina);
    });
    connect(alejar, &QToolButton::clicked, this, [this] {
        m_zoom = qMax(0.4, m_zoom / 1.25);
        muestraPagina(m_pagina);
    });
    connect(txtPagina, &QLineEdit::returnPressed, this, [this] { muestraPagina(txtPagina->text().toInt()); });
    connect(txtPagina, &QLineEdit::editingFinished, this, [this] {
        if (txtPagina->text().toInt() != m_pagina)
            muestraPagina(txtPagina->text().toInt());
    });
    m_report.setErrorListShower([this](const QStringList &e) { muestraErrores(e); });
}

frmerReport::~frmerReport()
{
    // The page box loses the focus while the window goes: it must not reach a half-destroyed
    // window, and the report, which may outlive it, must not call it back.
    txtPagina->disconnect(this);
    m_report.setErrorListShower({});
}

bool frmerReport::cargaReporteSimple(const QString &programa)
{
    QString error;
    if (!m_report.configureScript(programa, &error)) {
        m_prompter.detailedMessage(Prompter::Icon::Critical,
                                   QStringLiteral("El programa del reporte tiene errores"), error);
        return false;
    }
    if (!m_report.printReport())
        return false;
    muestraPagina(1);
    return true;
}

bool frmerReport::cargaReporteParametros(const QString &programa, const QList<Parametro> &parametros)
{
    for (const Parametro &p : parametros)
        m_report.setParam(p.clave, p.valor, p.valorExtra, p.tipoDato);
    return cargaReporteSimple(programa);
}

void frmerReport::muestraPagina(int pagina)
{
    if (pagina < 1)
        pagina = 1;
    if (pagina > m_report.pageCount()) {
        m_componiendo = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_report.composeUntil(pagina);
        QApplication::restoreOverrideCursor();
        m_componiendo = false;
        pagina = qMin(pagina, m_report.pageCount());
    }
    if (pagina < 1)
        return;
    m_pagina = pagina;
    const QImage hoja = reportPageImage(m_report, pagina, 96.0 * m_zoom, m_imagePath);
    lblHoja->setPixmap(QPixmap::fromImage(hoja));
    lblHoja->resize(hoja.size());
    actualizaEstado();
}

QImage frmerReport::imagenPagina() const
{
    return lblHoja->pixmap().toImage();
}

void frmerReport::cmdAnterior()
{
    if (m_pagina > 1)
        muestraPagina(m_pagina - 1);
}

void frmerReport::cmdUltima()
{
    m_componiendo = true;
    while (m_report.composeNext())
        QApplication::processEvents(); // the stop button stays usable
    m_componiendo = false;
    muestraPagina(m_report.pageCount());
}

void frmerReport::cmdStop()
{
    m_report.stop();
}

void frmerReport::cmdRecargar()
{
    if (m_report.printReport())
        muestraPagina(1);
}

void frmerReport::cmdImprimir()
{
    frmShowPrinter dialogo(m_prompter, m_report.printerName(), this);
    if (dialogo.exec() != QDialog::Accepted)
        return;
    const RangoImpresion r = dialogo.rango();
    ReportPrinterCanvas impresora(dialogo.impresora(), ReportPaper::of(m_report), m_imagePath);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = m_report.printPages(impresora, r.copias, r.todas ? 1 : r.desde, r.todas ? 0 : r.hasta);
    QApplication::restoreOverrideCursor();
    if (!ok)
        m_prompter.detailedMessage(Prompter::Icon::Exclamation,
                                   QStringLiteral("No fue posible imprimir el reporte"), impresora.error());
    // The preview starts again from its first page.
    if (m_report.printReport())
        muestraPagina(1);
}

void frmerReport::cmdExport()
{
    QTemporaryFile archivo(QDir::tempPath() + QStringLiteral("/zevexpXXXXXX.csv"));
    archivo.setAutoRemove(false);
    if (!archivo.open()) {
        m_prompter.exclamation(QStringLiteral("No fue posible crear el archivo temporal"));
        return;
    }
    const QString ruta = archivo.fileName();
    archivo.close();
    QString error;
    if (!m_report.exportCsv(ruta, &error)) {
        m_prompter.detailedMessage(Prompter::Icon::Exclamation,
                                   QStringLiteral("No fue posible exportar los datos"), error);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(ruta));
}

void frmerReport::cmdExportPdf()
{
    const QString ruta = QFileDialog::getSaveFileName(this, QStringLiteral("Guardar como PDF"), QString(),
                                                      QStringLiteral("Documentos PDF (*.pdf)"));
    if (ruta.isEmpty())
        return;
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = reportToPdf(m_report, ruta, &error, m_imagePath);
    QApplication::restoreOverrideCursor();
    if (!ok)
        m_prompter.detailedMessage(Prompter::Icon::Exclamation,
                                   QStringLiteral("No fue posible guardar el PDF"), error);
    if (m_report.printReport())
        muestraPagina(1);
}

void frmerReport::cmdErrores()
{
    muestraErrores(m_report.errors());
}

void frmerReport::muestraErrores(const QStringList &errores)
{
    QDialog lista(this);
    lista.setWindowTitle(QStringLiteral("Errores del reporte"));
    lista.resize(640, 400);
    auto *texto = new QPlainTextEdit(&lista);
    texto->setReadOnly(true);
    texto->setPlainText(errores.isEmpty() ? QStringLiteral("No hubo errores")
                                          : errores.join(QStringLiteral("\n\n")));
    auto *botones = new QDialogButtonBox(&lista);
    botones->addButton(QStringLiteral("&Cerrar"), QDialogButtonBox::RejectRole);
    connect(botones, &QDialogButtonBox::rejected, &lista, &QDialog::reject);
    auto *layout = new QVBoxLayout(&lista);
    layout->addWidget(texto);
    layout->addWidget(botones);
    lista.exec();
}

void frmerReport::actualizaEstado()
{
    txtPagina->setText(QString::number(m_pagina));
    lblPagina->setText(m_report.finished() ? QStringLiteral("de %1").arg(m_report.pageCount())
                                           : QStringLiteral("de %1+").arg(m_report.pageCount()));
}
