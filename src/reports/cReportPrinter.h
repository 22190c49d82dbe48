#pragma once

#include "ReportCanvas.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

// One drawing operation of a page: its name and its arguments as text.
struct ReportLogRecord {
    QString operation;
    QStringList arguments;

    bool operator==(const ReportLogRecord &o) const = default;
};
using ReportPageLog = std::vector<ReportLogRecord>;

// The report's drawing surface. Every setter and drawing call is appended to the page log, then
// drawn on the target PrintMode chooses: 0 nothing, 1 the system printer, 2 the preview. A page
// log replayed (doLog) draws the page again without composing it: the preview, a printer and a
// PDF all draw from the same record.
class cReportPrinter : public QObject {
    Q_OBJECT
    Q_PROPERTY(int PrintMode READ PrintMode WRITE setPrintMode)
    Q_PROPERTY(double MarginLeft MEMBER m_marginLeft)
    Q_PROPERTY(double MarginRight MEMBER m_marginRight)
    Q_PROPERTY(double MarginTop MEMBER m_marginTop)
    Q_PROPERTY(double MarginBottom MEMBER m_marginBottom)
    Q_PROPERTY(int Orient READ Orient WRITE setOrient)
    Q_PROPERTY(int ScaleMode READ ScaleMode WRITE setScaleMode)
    Q_PROPERTY(double ScaleHeight READ ScaleHeight)
    Q_PROPERTY(double ScaleWidth READ ScaleWidth)
    Q_PROPERTY(double DrawStyle READ DrawStyle WRITE setDrawStyle)
    Q_PROPERTY(double DrawMode READ DrawMode WRITE setDrawMode)
    Q_PROPERTY(double DrawWidth READ DrawWidth WRITE setDrawWidth)
    Q_PROPERTY(double CurrentX READ CurrentX WRITE setCurrentX)
    Q_PROPERTY(double CurrentY READ CurrentY WRITE setCurrentY)
    Q_PROPERTY(QString FontName READ FontName WRITE setFontName)
    Q_PROPERTY(bool FontBold READ FontBold WRITE setFontBold)
    Q_PROPERTY(bool FontItalic READ FontItalic WRITE setFontItalic)
    Q_PROPERTY(bool FontTransparent READ FontTransparent WRITE setFontTransparent)
    Q_PROPERTY(double FontSize READ FontSize WRITE setFontSize)
    Q_PROPERTY(qint64 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(qint64 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(int Copies READ Copies WRITE setCopies)
public:
    enum Mode { Compose = 0, Printer = 1, Preview = 2 };
    // VB scale modes: 1 twip, 2 point, 3 pixel, 5 inch, 6 millimetre, 7 centimetre.
    enum Scale { Twips = 1, Points = 2, Pixels = 3, Inches = 5, Millimetres = 6, Centimetres = 7 };

    explicit cReportPrinter(QObject *parent = nullptr);

    // The targets of modes 1 and 2 (not owned; nullptr draws nothing).
    void setPrinterCanvas(ReportCanvas *canvas) { m_printerCanvas = canvas; }
    void setPreviewCanvas(ReportCanvas *canvas) { m_previewCanvas = canvas; }
    ReportCanvas *printerCanvas() const { return m_printerCanvas; }
    // Printable page size in millimetres (Letter less 6.35 mm margins until told otherwise).
    void setPageSizeMm(double width, double height);
    double pageWidthMm() const { return m_pageWidthMm; }
    double pageHeightMm() const { return m_pageHeightMm; }

    int PrintMode() const { return m_mode; }
    void setPrintMode(int mode) { m_mode = mode; }
    int Orient() const { return m_orient; }
    void setOrient(int orient);
    int ScaleMode() const { return m_scaleMode; }
    void setScaleMode(int mode);
    double ScaleHeight() const;
    double ScaleWidth() const;
    double DrawStyle() const { return m_pen.drawStyle; }
    void setDrawStyle(double v);
    double DrawMode() const { return m_pen.drawMode; }
    void setDrawMode(double v);
    double DrawWidth() const { return m_pen.drawWidth; }
    void setDrawWidth(double v);
    double CurrentX() const { return m_currentX; }
    void setCurrentX(double v);
    double CurrentY() const { return m_currentY; }
    void setCurrentY(double v) { m_currentY = v; }
    QString FontName() const { return m_pen.fontName; }
    void setFontName(const QString &v);
    bool FontBold() const { return m_pen.fontBold; }
    void setFontBold(bool v);
    bool FontItalic() const { return m_pen.fontItalic; }
    void setFontItalic(bool v);
    bool FontTransparent() const { return m_pen.fontTransparent; }
    void setFontTransparent(bool v);
    double FontSize() const { return m_pen.fontSize; }
    void setFontSize(double v);
    qint64 ForeColor() const { return m_pen.foreColor; }
    void setForeColor(qint64 v);
    qint64 BackColor() const { return m_pen.backColor; }
    void setBackColor(qint64 v);
    int Copies() const { return m_copies; }
    void setCopies(int v);
    const ReportPen &pen() const { return m_pen; }

    Q_INVOKABLE bool StartDoc();
    Q_INVOKABLE void NewPage();
    Q_INVOKABLE void EndPage();
    Q_INVOKABLE void EndDoc();
    Q_INVOKABLE void Cls();
    Q_INVOKABLE void DrawLine(int x1, int y1, int x2, int y2, qint64 color, bool box);
    Q_INVOKABLE void PrintText(const QString &text);
    Q_INVOKABLE void DrawText(int left, int top, int right, int bottom, const QString &text, int length,
                              int flags);
    Q_INVOKABLE void DrawImage(int left, int top, int right, int bottom, qint64 imageKey);
    Q_INVOKABLE void loadPicture(const QString &file);
    Q_INVOKABLE double TextWidth(const QString &text) const;
    Q_INVOKABLE double TextHeight(const QString &text) const;
    Q_INVOKABLE double ScaleX(double value, int from, int to) const;
    Q_INVOKABLE double ScaleY(double value, int from, int to) const;
    Q_INVOKABLE void msgerrorReportPrinter(const QString &text);

    // The page log: the current one, replaced, replayed on the current target, or as a file.
    const ReportPageLog &getLog() const { return m_log; }
    void setLog(ReportPageLog log) { m_log = std::move(log); }
    ReportPageLog takeLog();
    void doLog();
    // Replays a log on a canvas, whatever the mode (the PDF and the preview use this).
    void replay(const ReportPageLog &log, ReportCanvas &canvas);
    bool saveLogToFile(const QString &file) const;
    bool loadLog(const QString &file);
    // The file form: one line per record, "Operation:arg|arg|"; '\\', '|' and line breaks escaped.
    static QString logToText(const ReportPageLog &log);
    static ReportPageLog logFromText(const QString &text);

    QStringList errors() const { return m_errors; }
    void clearErrors() { m_errors.clear(); }

private:
    void log(const char *operation, QStringList arguments);
    ReportCanvas *target() const;
    void apply(const ReportLogRecord &record, ReportCanvas *canvas);

    ReportCanvas *m_printerCanvas = nullptr;
    ReportCanvas *m_previewCanvas = nullptr;
    int m_mode = Compose;
    double m_marginLeft = 0, m_marginRight = 0, m_marginTop = 0, m_marginBottom = 0;
    int m_orient = 1;
    int m_scaleMode = Twips;
    double m_currentX = 0, m_currentY = 0;
    int m_copies = 1;
    ReportPen m_pen;
    double m_pageWidthMm = 203.2;
    double m_pageHeightMm = 266.7;
    bool m_logging = true;
    ReportPageLog m_log;
    QStringList m_errors;
};
