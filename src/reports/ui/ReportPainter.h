#pragma once

#include "ReportCanvas.h"

#include <QHash>
#include <QImage>
#include <QPointF>
#include <QString>

#include <functional>
#include <memory>

class QPainter;
class QPaintDevice;
class QPdfWriter;
class QPrinter;
class easyReport;

// Draws report operations with a QPainter on any device: the printer's 96-to-the-inch pixels
// are scaled to the device's resolution, fonts keep their point sizes.
class ReportPainterCanvas : public ReportCanvas {
public:
    // imagePath: the file of a stored image by key (the application's getImage).
    explicit ReportPainterCanvas(std::function<QString(qint64)> imagePath = {});
    ~ReportPainterCanvas() override;

    // Draws on painter; origin is where the printable area starts, in device pixels.
    void attach(QPainter *painter, double deviceDpi, QPointF origin = {});
    QPainter *painter() const { return m_painter; }

    void drawText(const QRect &rect, const QString &text, int flags, const ReportPen &pen) override;
    void drawLine(int x1, int y1, int x2, int y2, bool box, const ReportPen &pen) override;
    void drawImage(const QRect &rect, qint64 imageKey) override;
    void printText(int x, int y, const QString &text, const ReportPen &pen) override;
    QSizeF textSize(const QString &text, const ReportPen &pen) const override;

protected:
    QRectF device(const QRect &r) const;
    void usePen(const ReportPen &pen);
    void useFont(const ReportPen &pen);

    QPainter *m_painter = nullptr;
    double m_scale = 1;
    QPointF m_origin;
    std::function<QString(qint64)> m_imagePath;
    QHash<qint64, QImage> m_images;
};

// The paper of a report: its size and margins in millimetres, orientation, form name.
struct ReportPaper {
    double widthMm = 215.9, heightMm = 279.4; // portrait
    double marginMm = 6.35;
    bool landscape = false;
    QString formName;
    static ReportPaper of(const easyReport &report);
};

// A PDF file of the report's pages, one document whatever the copies.
class ReportPdfCanvas : public ReportPainterCanvas {
public:
    ReportPdfCanvas(const QString &file, const ReportPaper &paper,
                    std::function<QString(qint64)> imagePath = {});
    ~ReportPdfCanvas() override;
    bool startDoc() override;
    void newPage() override;
    void endDoc() override {}
    // Closes the file; false when it could not be written.
    bool finish();

private:
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_ownPainter;
    bool m_open = false;
    bool m_pageStarted = false;
    bool m_failed = false;
};

// A system printer by name: each StartDoc/EndDoc pair is one print job.
class ReportPrinterCanvas : public ReportPainterCanvas {
public:
    ReportPrinterCanvas(const QString &printerName, const ReportPaper &paper,
                        std::function<QString(qint64)> imagePath = {});
    ~ReportPrinterCanvas() override;
    bool startDoc() override;
    void newPage() override;
    void endDoc() override;
    QString error() const { return m_error; }
    QPrinter &printer() { return *m_printer; }

private:
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_ownPainter;
    bool m_pageStarted = false;
    QString m_error;
};

// Writes the whole report, run from its first row, to a PDF file.
bool reportToPdf(easyReport &report, const QString &file, QString *error = nullptr,
                 std::function<QString(qint64)> imagePath = {});
// Renders one composed page (from its log) as an image at the given resolution.
QImage reportPageImage(easyReport &report, int page, double dpi,
                       std::function<QString(qint64)> imagePath = {});
