#include "ReportPainter.h"

#include "easyReport.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

QColor vbColor(qint64 rgb)
{
    // VB keeps red in the low byte.
    return QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
}

Qt::PenStyle penStyle(double style)
{
    switch (int(style)) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    case 5:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

int qtFlags(int flags)
{
    int out = Qt::TextWordWrap;
    if (flags & 0x1)
        out |= Qt::AlignHCenter;
    else if (flags & 0x2)
        out |= Qt::AlignRight;
    else
        out |= Qt::AlignLeft;
    if (flags & 0x4)
        out |= Qt::AlignVCenter;
    else if (flags & 0x8)
        out |= Qt::AlignBottom;
    else
        out |= Qt::AlignTop;
    return out;
}

QPageLayout layoutOf(const ReportPaper &paper)
{
    const QPageSize size(QSizeF(paper.widthMm, paper.heightMm), QPageSize::Millimeter,
                         paper.formName.isEmpty() ? QString() : paper.formName, QPageSize::FuzzyMatch);
    return QPageLayout(size, paper.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(paper.marginMm, paper.marginMm, paper.marginMm, paper.marginMm),
                       QPageLayout::Millimeter);
}

} // namespace

ReportPainterCanvas::ReportPainterCanvas(std::function<QString(qint64)> imagePath)
    : m_imagePath(std::move(imagePath))
{
}

ReportPainterCanvas::~ReportPainterCanvas() = default;

void ReportPainterCanvas::attach(QPainter *painter, double deviceDpi, QPointF origin)
{
    m_painter = painter;
    m_scale = deviceDpi / 96.0;
    m_origin = origin;
}

QRectF ReportPainterCanvas::device(const QRect &r) const
{
    return QRectF(m_origin.x() + r.left() * m_scale, m_origin.y() + r.top() * m_scale, (r.width()) * m_scale,
                  (r.height()) * m_scale);
}

void ReportPainterCanvas::usePen(const ReportPen &pen)
{
    QPen p(vbColor(pen.foreColor));
    p.setWidthF(qMax(1.0, pen.drawWidth) * m_scale * 0.75);
    p.setStyle(penStyle(pen.drawStyle));
    m_painter->setPen(p);
    m_painter->setBrush(Qt::NoBrush);
}

void ReportPainterCanvas::useFont(const ReportPen &pen)
{
    QFont f(pen.fontName.isEmpty() ? QStringLiteral("Arial") : pen.fontName);
    f.setPointSizeF(pen.fontSize > 0 ? pen.fontSize : 10);
    f.setBold(pen.fontBold);
    f.setItalic(pen.fontItalic);
    m_painter->setFont(f);
    m_painter->setPen(vbColor(pen.foreColor));
}

void ReportPainterCanvas::drawText(const QRect &rect, const QString &text, int flags, const ReportPen &pen)
{
    if (!m_painter)
        return;
    useFont(pen);
    m_painter->drawText(device(rect), qtFlags(flags), text);
}

void ReportPainterCanvas::drawLine(int x1, int y1, int x2, int y2, bool box, const ReportPen &pen)
{
    if (!m_painter)
        return;
    usePen(pen);
    const QPointF a(m_origin.x() + x1 * m_scale, m_origin.y() + y1 * m_scale);
    const QPointF b(m_origin.x() + x2 * m_scale, m_origin.y() + y2 * m_scale);
    if (box)
        m_painter->drawRect(QRectF(a, b).normalized());
    else
        m_painter->drawLine(a, b);
}

void ReportPainterCanvas::drawImage(const QRect &rect, qint64 imageKey)
{
    if (!m_painter || imageKey <= 0)
        return;
    auto it = m_images.find(imageKey);
    if (it == m_images.end()) {
        QImage image;
        if (m_imagePath) {
            const QString path = m_imagePath(imageKey);
            if (!path.isEmpty())
                image.load(path);
        }
        it = m_images.insert(imageKey, image);
    }
    if (!it->isNull())
        m_painter->drawImage(device(rect), *it);
}

void ReportPainterCanvas::printText(int x, int y, const QString &text, const ReportPen &pen)
{
    if (!m_painter)
        return;
    useFont(pen);
    const QPointF at(m_origin.x() + x * m_scale, m_origin.y() + y * m_scale);
    m_painter->drawText(QRectF(at, QSizeF(1e6, 1e6)), Qt::AlignLeft | Qt::AlignTop, text);
}

QSizeF ReportPainterCanvas::textSize(const QString &text, const ReportPen &pen) const
{
    QFont f(pen.fontName);
    f.setPointSizeF(pen.fontSize > 0 ? pen.fontSize : 10);
    f.setBold(pen.fontBold);
    f.setItalic(pen.fontItalic);
    const QFontMetricsF m(f);
    // Metrics are at the screen's resolution; the printer's pixels are 96 to the inch.
    const double k = 96.0 / qMax(1.0, double(QFontMetricsF(f).fontDpi()));
    return {m.horizontalAdvance(text) * k, m.height() * k};
}

ReportPaper ReportPaper::of(const easyReport &report)
{
    ReportPaper p;
    if (report.UserPageWidth() > 0 && report.UserPageHeight() > 0) {
        p.widthMm = report.UserPageWidth();
        p.heightMm = report.UserPageHeight();
        p.marginMm = 0;
        p.formName = report.printForm();
        return p;
    }
    const easyReport::Paper paper = easyReport::paperOf(report.paperSize());
    p.widthMm = paper.widthMm;
    p.heightMm = paper.heightMm;
    p.marginMm = paper.marginMm;
    p.landscape = report.orientPage() == 2;
    p.formName = report.printForm();
    return p;
}

ReportPdfCanvas::ReportPdfCanvas(const QString &file, const ReportPaper &paper,
                                 std::function<QString(qint64)> imagePath)
    : ReportPainterCanvas(std::move(imagePath)), m_writer(std::make_unique<QPdfWriter>(file))
{
    m_writer->setResolution(300);
    m_writer->setCreator(QStringLiteral("Mostrador"));
    m_writer->setPageLayout(layoutOf(paper));
}

ReportPdfCanvas::~ReportPdfCanvas()
{
    finish();
}

bool ReportPdfCanvas::startDoc()
{
    if (m_failed)
        return false;
    if (!m_open) {
        m_ownPainter = std::make_unique<QPainter>();
        if (!m_ownPainter->begin(m_writer.get())) {
            m_failed = true;
            return false;
        }
        m_open = true;
        // QPdfWriter's painter starts at the printable area.
        attach(m_ownPainter.get(), m_writer->resolution());
        m_pageStarted = false;
    }
    return true;
}

void ReportPdfCanvas::newPage()
{
    if (m_pageStarted)
        m_writer->newPage();
    m_pageStarted = true;
}

bool ReportPdfCanvas::finish()
{
    if (m_open) {
        m_open = false;
        return m_ownPainter->end() && !m_failed;
    }
    return !m_failed;
}

ReportPrinterCanvas::ReportPrinterCanvas(const QString &printerName, const ReportPaper &paper,
                                         std::function<QString(qint64)> imagePath)
    : ReportPainterCanvas(std::move(imagePath)), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    // "pdf:FILE" writes what the printer would print, as the receipt printer's outputs do.
    if (printerName.startsWith(QLatin1String("pdf:"))) {
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(printerName.mid(4));
    } else if (!printerName.isEmpty() && !QPrinterInfo::availablePrinterNames().contains(printerName)) {
        m_error = QStringLiteral("La impresora «%1» no está instalada").arg(printerName);
    } else if (!printerName.isEmpty()) {
        m_printer->setPrinterName(printerName);
    } else if (QPrinterInfo::defaultPrinterName().isEmpty()) {
        m_error = QStringLiteral("No hay una impresora predeterminada");
    }
    m_printer->setDocName(QStringLiteral("Mostrador"));
    m_printer->setPageLayout(layoutOf(paper));
    m_printer->setFullPage(false);
}

ReportPrinterCanvas::~ReportPrinterCanvas()
{
    if (m_ownPainter && m_ownPainter->isActive())
        m_ownPainter->end();
}

bool ReportPrinterCanvas::startDoc()
{
    if (!m_error.isEmpty())
        return false;
    m_ownPainter = std::make_unique<QPainter>();
    if (!m_ownPainter->begin(m_printer.get())) {
        m_error = QStringLiteral("No se pudo iniciar la impresión en «%1»").arg(m_printer->printerName());
        return false;
    }
    attach(m_ownPainter.get(), m_printer->resolution());
    m_pageStarted = false;
    return true;
}

void ReportPrinterCanvas::newPage()
{
    if (m_pageStarted)
        m_printer->newPage();
    m_pageStarted = true;
}

void ReportPrinterCanvas::endDoc()
{
    if (m_ownPainter && m_ownPainter->isActive())
        m_ownPainter->end();
}

bool reportToPdf(easyReport &report, const QString &file, QString *error,
                 std::function<QString(qint64)> imagePath)
{
    ReportPdfCanvas canvas(file, ReportPaper::of(report), std::move(imagePath));
    if (!report.printPages(canvas, 1, 1, 0)) {
        if (error)
            *error = QStringLiteral("No fue posible escribir el archivo ") + file;
        return false;
    }
    if (!canvas.finish()) {
        if (error)
            *error = QStringLiteral("No fue posible escribir el archivo ") + file;
        return false;
    }
    return true;
}

QImage reportPageImage(easyReport &report, int page, double dpi, std::function<QString(qint64)> imagePath)
{
    const ReportPaper paper = ReportPaper::of(report);
    const double w = paper.landscape ? paper.heightMm : paper.widthMm;
    const double h = paper.landscape ? paper.widthMm : paper.heightMm;
    QImage image(QSize(qRound(w / 25.4 * dpi), qRound(h / 25.4 * dpi)), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    ReportPainterCanvas canvas(std::move(imagePath));
    const double margin = paper.marginMm / 25.4 * dpi;
    canvas.attach(&painter, dpi, QPointF(margin, margin));
    report.printer().replay(report.pageLog(page), canvas);
    return image;
}
