#pragma once

#include <QRect>
#include <QSizeF>
#include <QString>

// The pen and font the report printer holds when it draws.
struct ReportPen {
    double drawStyle = 0; // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 none
    double drawMode = 13;
    double drawWidth = 1;
    qint64 foreColor = 0; // RGB as VB writes it: red in the low byte
    qint64 backColor = 0xFFFFFF;
    QString fontName = QStringLiteral("Arial");
    double fontSize = 10;
    bool fontBold = false;
    bool fontItalic = false;
    bool fontTransparent = false;
};

// Where the report printer draws: the preview, a system printer or a PDF. Coordinates are the
// printer's pixels, 96 to the inch, from the top-left corner of the printable area.
class ReportCanvas {
public:
    virtual ~ReportCanvas() = default;

    virtual void clear() {}
    virtual void drawText(const QRect &rect, const QString &text, int flags, const ReportPen &pen) = 0;
    // A line, or the frame of the rectangle between the two points when box is set.
    virtual void drawLine(int x1, int y1, int x2, int y2, bool box, const ReportPen &pen) = 0;
    virtual void drawImage(const QRect &rect, qint64 imageKey) = 0;
    // Text at a point (the pen's font), without wrapping.
    virtual void printText(int x, int y, const QString &text, const ReportPen &pen) = 0;

    // Print jobs: a document of pages, on printers and PDF files.
    virtual bool startDoc() { return true; }
    virtual void newPage() {}
    virtual void endPage() {}
    virtual void endDoc() {}
    virtual void setOrientation(int /*orient: 1 portrait, 2 landscape*/) {}

    // Size of a text in the printer's pixels; an estimate where there is no font machinery.
    virtual QSizeF textSize(const QString &text, const ReportPen &pen) const
    {
        return textSizeEstimate(text, pen);
    }
    static QSizeF textSizeEstimate(const QString &text, const ReportPen &pen)
    {
        const double px = pen.fontSize * 96.0 / 72.0;
        return {text.size() * px * 0.5, px * 1.2};
    }
};
