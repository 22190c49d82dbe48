#include "cReportPrinter.h"

#include "ReportValue.h"

#include <QFile>
#include <QHash>
#include <QSaveFile>

namespace {

QString num(double v)
{
    return reportvalue::scriptNumber(v);
}

QString flag(bool v)
{
    return v ? QStringLiteral("True") : QStringLiteral("False");
}

// Units of a scale mode in one inch.
double perInch(int mode)
{
    switch (mode) {
    case cReportPrinter::Twips:
        return 1440;
    case cReportPrinter::Points:
        return 72;
    case cReportPrinter::Pixels:
        return 96;
    case cReportPrinter::Inches:
        return 1;
    case cReportPrinter::Millimetres:
        return 25.4;
    case cReportPrinter::Centimetres:
        return 2.54;
    default:
        return 1440;
    }
}

QString escape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            out += QLatin1String("\\\\");
        else if (c == u'|')
            out += QLatin1String("\\p");
        else if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c == u'\r')
            out += QLatin1String("\\r");
        else
            out += c;
    }
    return out;
}

// The arguments of one file line; each ends with an unescaped '|'.
QStringList splitArguments(QStringView text)
{
    QStringList out;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\\' && i + 1 < text.size()) {
            const QChar e = text.at(++i);
            current += e == u'n' ? QChar(u'\n') : e == u'r' ? QChar(u'\r') : e == u'p' ? QChar(u'|') : e;
        } else if (c == u'|') {
            out << current;
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.isEmpty())
        out << current;
    return out;
}

} // namespace

cReportPrinter::cReportPrinter(QObject *parent) : QObject(parent) {}

void cReportPrinter::setPageSizeMm(double width, double height)
{
    if (width > 0)
        m_pageWidthMm = width;
    if (height > 0)
        m_pageHeightMm = height;
}

void cReportPrinter::log(const char *operation, QStringList arguments)
{
    if (!m_logging)
        return;
    // Operation names are few: every record shares one copy of each.
    static thread_local QHash<const char *, QString> names;
    auto it = names.constFind(operation);
    if (it == names.constEnd())
        it = names.insert(operation, QString::fromLatin1(operation));
    m_log.push_back({*it, std::move(arguments)});
}

ReportCanvas *cReportPrinter::target() const
{
    switch (m_mode) {
    case Printer:
        return m_printerCanvas;
    case Preview:
        return m_previewCanvas;
    default:
        return nullptr;
    }
}

void cReportPrinter::setOrient(int orient)
{
    log("Orient", {QString::number(orient)});
    m_orient = orient;
    if (ReportCanvas *c = target())
        c->setOrientation(orient);
}

void cReportPrinter::setScaleMode(int mode)
{
    log("ScaleMode", {QString::number(mode)});
    m_scaleMode = mode;
}

double cReportPrinter::ScaleHeight() const
{
    return ScaleY(m_pageHeightMm, Millimetres, m_scaleMode);
}

double cReportPrinter::ScaleWidth() const
{
    return ScaleX(m_pageWidthMm, Millimetres, m_scaleMode);
}

void cReportPrinter::setDrawStyle(double v)
{
    log("DrawStyle", {num(v)});
    m_pen.drawStyle = v;
}

void cReportPrinter::setDrawMode(double v)
{
    log("DrawMode", {num(v)});
    m_pen.drawMode = v;
}

void cReportPrinter::setDrawWidth(double v)
{
    log("DrawWidth", {num(v)});
    m_pen.drawWidth = v;
}

void cReportPrinter::setCurrentX(double v)
{
    log("CurrentX", {num(v)});
    m_currentX = v;
}

void cReportPrinter::setFontName(const QString &v)
{
    log("FontName", {v});
    m_pen.fontName = v;
}

void cReportPrinter::setFontBold(bool v)
{
    log("FontBold", {flag(v)});
    m_pen.fontBold = v;
}

void cReportPrinter::setFontItalic(bool v)
{
    log("FontItalic", {flag(v)});
    m_pen.fontItalic = v;
}

void cReportPrinter::setFontTransparent(bool v)
{
    log("FontTransparent", {flag(v)});
    m_pen.fontTransparent = v;
}

void cReportPrinter::setFontSize(double v)
{
    log("FontSize", {num(v)});
    m_pen.fontSize = v;
}

void cReportPrinter::setForeColor(qint64 v)
{
    log("ForeColor", {QString::number(v)});
    m_pen.foreColor = v;
}

void cReportPrinter::setBackColor(qint64 v)
{
    log("BackColor", {QString::number(v)});
    m_pen.backColor = v;
}

void cReportPrinter::setCopies(int v)
{
    log("Copies", {QString::number(v)});
    m_copies = v;
}

bool cReportPrinter::StartDoc()
{
    return m_printerCanvas ? m_printerCanvas->startDoc() : false;
}

void cReportPrinter::NewPage()
{
    if (m_printerCanvas)
        m_printerCanvas->newPage();
}

void cReportPrinter::EndPage()
{
    if (m_printerCanvas)
        m_printerCanvas->endPage();
}

void cReportPrinter::EndDoc()
{
    if (m_printerCanvas)
        m_printerCanvas->endDoc();
}

void cReportPrinter::Cls()
{
    m_log.clear();
    m_currentX = m_currentY = 0;
    if (ReportCanvas *c = target())
        c->clear();
}

void cReportPrinter::DrawLine(int x1, int y1, int x2, int y2, qint64 color, bool box)
{
    log("DrawLine", {QString::number(x1), QString::number(y1), QString::number(x2), QString::number(y2),
                     QString::number(color), flag(box)});
    if (ReportCanvas *c = target()) {
        ReportPen pen = m_pen;
        pen.foreColor = color;
        c->drawLine(x1, y1, x2, y2, box, pen);
    }
}

void cReportPrinter::PrintText(const QString &text)
{
    log("PrintText", {text});
    const int x = int(ScaleX(m_currentX, m_scaleMode, Pixels));
    const int y = int(ScaleY(m_currentY, m_scaleMode, Pixels));
    if (ReportCanvas *c = target())
        c->printText(x, y, text, m_pen);
    m_currentY += ScaleY(TextHeight(text), m_scaleMode, m_scaleMode);
}

void cReportPrinter::DrawText(int left, int top, int right, int bottom, const QString &text, int length,
                              int flags)
{
    // Word wrapping is always on.
    flags |= 0x10;
    log("DrawText", {QString::number(left), QString::number(top), QString::number(right),
                     QString::number(bottom), text, QString::number(length), QString::number(flags)});
    if (ReportCanvas *c = target())
        c->drawText(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), text.left(qMax(0, length)),
                    flags, m_pen);
}

void cReportPrinter::DrawImage(int left, int top, int right, int bottom, qint64 imageKey)
{
    log("DrawImage", {QString::number(left), QString::number(top), QString::number(right),
                      QString::number(bottom), QString::number(imageKey)});
    if (ReportCanvas *c = target())
        c->drawImage(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), imageKey);
}

void cReportPrinter::loadPicture(const QString &file)
{
    log("loadPicture", {file});
}

double cReportPrinter::TextWidth(const QString &text) const
{
    const ReportCanvas *c = m_previewCanvas ? m_previewCanvas : m_printerCanvas;
    const double px =
        c ? c->textSize(text, m_pen).width() : ReportCanvas::textSizeEstimate(text, m_pen).width();
    return ScaleX(px, Pixels, m_scaleMode);
}

double cReportPrinter::TextHeight(const QString &text) const
{
    const ReportCanvas *c = m_previewCanvas ? m_previewCanvas : m_printerCanvas;
    const double px =
        c ? c->textSize(text, m_pen).height() : ReportCanvas::textSizeEstimate(text, m_pen).height();
    return ScaleY(px, Pixels, m_scaleMode);
}

double cReportPrinter::ScaleX(double value, int from, int to) const
{
    return value / perInch(from) * perInch(to);
}

double cReportPrinter::ScaleY(double value, int from, int to) const
{
    return value / perInch(from) * perInch(to);
}

void cReportPrinter::msgerrorReportPrinter(const QString &text)
{
    m_errors << text;
}

ReportPageLog cReportPrinter::takeLog()
{
    ReportPageLog out;
    out.swap(m_log);
    return out;
}

void cReportPrinter::doLog()
{
    ReportPageLog copy = m_log;
    if (ReportCanvas *c = target())
        replay(copy, *c);
}

void cReportPrinter::replay(const ReportPageLog &log, ReportCanvas &canvas)
{
    const bool logging = m_logging;
    const ReportPen pen = m_pen;
    m_logging = false;
    for (const ReportLogRecord &r : log)
        apply(r, &canvas);
    m_pen = pen;
    m_logging = logging;
}

void cReportPrinter::apply(const ReportLogRecord &r, ReportCanvas *canvas)
{
    const QStringList &a = r.arguments;
    const auto n = [&a](int i) { return a.value(i).toDouble(); };
    const auto i = [&a](int k) { return a.value(k).toInt(); };
    const auto b = [&a](int k) { return a.value(k) == u"True"; };
    const QString &op = r.operation;
    if (op == u"DrawText") {
        if (a.size() >= 7 && canvas)
            canvas->drawText(QRect(QPoint(i(0), i(1)), QPoint(i(2) - 1, i(3) - 1)),
                             a.at(4).left(qMax(0, i(5))), i(6), m_pen);
    } else if (op == u"DrawLine") {
        if (a.size() >= 6 && canvas) {
            ReportPen pen = m_pen;
            pen.foreColor = a.at(4).toLongLong();
            canvas->drawLine(i(0), i(1), i(2), i(3), b(5), pen);
        }
    } else if (op == u"DrawImage") {
        if (a.size() >= 5 && canvas)
            canvas->drawImage(QRect(QPoint(i(0), i(1)), QPoint(i(2) - 1, i(3) - 1)), a.at(4).toLongLong());
    } else if (op == u"PrintText") {
        if (canvas)
            canvas->printText(int(ScaleX(m_currentX, m_scaleMode, Pixels)),
                              int(ScaleY(m_currentY, m_scaleMode, Pixels)), a.value(0), m_pen);
    } else if (op == u"DrawStyle") {
        m_pen.drawStyle = n(0);
    } else if (op == u"DrawMode") {
        m_pen.drawMode = n(0);
    } else if (op == u"DrawWidth") {
        m_pen.drawWidth = n(0);
    } else if (op == u"FontName") {
        m_pen.fontName = a.value(0);
    } else if (op == u"FontBold") {
        m_pen.fontBold = b(0);
    } else if (op == u"FontItalic") {
        m_pen.fontItalic = b(0);
    } else if (op == u"FontTransparent") {
        m_pen.fontTransparent = b(0);
    } else if (op == u"FontSize") {
        m_pen.fontSize = n(0);
    } else if (op == u"ForeColor") {
        m_pen.foreColor = a.value(0).toLongLong();
    } else if (op == u"BackColor") {
        m_pen.backColor = a.value(0).toLongLong();
    } else if (op == u"CurrentX") {
        m_currentX = n(0);
    } else if (op == u"ScaleMode") {
        m_scaleMode = i(0);
    } else if (op == u"Orient") {
        if (canvas)
            canvas->setOrientation(i(0));
    }
    // "Copies" and "loadPicture" change nothing on a replayed page.
}

QString cReportPrinter::logToText(const ReportPageLog &log)
{
    QString out;
    for (const ReportLogRecord &r : log) {
        out += r.operation;
        out += u':';
        for (const QString &arg : r.arguments) {
            out += escape(arg);
            out += u'|';
        }
        out += u'\n';
    }
    return out;
}

ReportPageLog cReportPrinter::logFromText(const QString &text)
{
    ReportPageLog log;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.isEmpty())
            continue;
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0)
            continue;
        log.push_back({line.left(colon).toString(), splitArguments(line.mid(colon + 1))});
    }
    return log;
}

bool cReportPrinter::saveLogToFile(const QString &file) const
{
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(logToText(m_log).toUtf8());
    return f.commit();
}

bool cReportPrinter::loadLog(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    m_log = logFromText(QString::fromUtf8(f.readAll()));
    return true;
}
