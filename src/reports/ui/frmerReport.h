#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;
class Prompter;
class easyReport;

// The report on screen: one composed page at a time, first/previous/next/last, a page box,
// stop, reload, print, export (CSV of the data, PDF of the pages) and the error list.
class frmerReport : public QDialog {
    Q_OBJECT
public:
    frmerReport(easyReport &report, Prompter &prompter, std::function<QString(qint64)> imagePath = {},
                QWidget *parent = nullptr);
    ~frmerReport() override;

    // Installs the program in the report and shows its first page.
    bool cargaReporteSimple(const QString &programa);
    // The same after handing the parameters over (key, value, end of a range, kind).
    struct Parametro {
        QString clave;
        QVariant valor;
        QVariant valorExtra;
        QString tipoDato;
    };
    bool cargaReporteParametros(const QString &programa, const QList<Parametro> &parametros);

    int paginaMostrada() const { return m_pagina; }
    void muestraPagina(int pagina);
    void cmdPrimera() { muestraPagina(1); }
    void cmdAnterior();
    void cmdSiguiente() { muestraPagina(m_pagina + 1); }
    void cmdUltima();
    void cmdStop();
    void cmdRecargar();
    void cmdImprimir();
    void cmdExport();
    void cmdExportPdf();
    void cmdErrores();
    QImage imagenPagina() const;

    QLineEdit *txtPagina;
    QLabel *lblPagina;
    QLabel *lblHoja;

private:
    void actualizaEstado();
    void muestraErrores(const QStringList &errores);

    easyReport &m_report;
    Prompter &m_prompter;
    std::function<QString(qint64)> m_imagePath;
    QScrollArea *m_scroll;
    int m_pagina = 0;
    double m_zoom = 1.0;
    bool m_componiendo = false;
};
