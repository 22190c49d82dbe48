#include "DibujoTicket.h"

#include "Codigo128.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr int kMargen = 16;

int altoCodigo(const QFontMetrics &m)
{
    return m.height() * 3 + m.height(); // bars, then the text
}

int altoRenglon(const RenglonImpreso &r, const QFontMetrics &m, int ancho)
{
    switch (r.tipo) {
    case RenglonImpreso::Tipo::Texto:
        return m.lineSpacing();
    case RenglonImpreso::Tipo::CodigoBarras:
        return altoCodigo(m);
    case RenglonImpreso::Tipo::Imagen: {
        const QImage img(r.texto);
        if (img.isNull() || img.width() == 0)
            return m.lineSpacing();
        const int w = qMin(ancho, img.width());
        return int(qint64(img.height()) * w / img.width());
    }
    }
    return m.lineSpacing();
}

} // namespace

QFont DibujoTicket::fuente(const FuenteImpresion &f)
{
    QFont font(f.nombre.isEmpty() ? QStringLiteral("Courier New") : f.nombre);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(qBound(4, f.tamanio, 72));
    font.setBold(f.negritas);
    font.setItalic(f.italica);
    return font;
}

int DibujoTicket::alto(const FuenteImpresion &f, const DocumentoImpreso &documento, int ancho,
                       QPaintDevice *dispositivo)
{
    const QFontMetrics m(fuente(f), dispositivo);
    int h = 0;
    for (const RenglonImpreso &r : documento.renglones)
        h += altoRenglon(r, m, ancho);
    return h;
}

void DibujoTicket::dibuja(QPainter &p, const FuenteImpresion &f, const DocumentoImpreso &documento,
                          const QRect &area)
{
    p.save();
    p.setFont(fuente(f));
    const QFontMetrics m(p.font(), p.device());
    int y = area.top();
    for (const RenglonImpreso &r : documento.renglones) {
        const int h = altoRenglon(r, m, area.width());
        switch (r.tipo) {
        case RenglonImpreso::Tipo::Texto:
            p.drawText(area.left(), y + m.ascent(), r.texto);
            break;
        case RenglonImpreso::Tipo::Imagen: {
            const QImage img(r.texto);
            if (img.isNull())
                p.drawText(area.left(), y + m.ascent(), QStringLiteral("<IMAGEN>"));
            else
                p.drawImage(QRect(area.left(), y, qMin(area.width(), img.width()), h), img);
            break;
        }
        case RenglonImpreso::Tipo::CodigoBarras: {
            const QList<int> modulos = Codigo128::modulos(r.texto);
            int total = 0;
            for (int w : modulos)
                total += w;
            const qreal modulo = qMax<qreal>(1.0, qreal(area.width()) * 0.8 / qMax(total, 1));
            qreal x = area.left() + (area.width() - modulo * total) / 2;
            const int barras = m.height() * 3;
            for (int i = 0; i < modulos.size(); ++i) {
                const qreal w = modulo * modulos.at(i);
                if (i % 2 == 0)
                    p.fillRect(QRectF(x, y, w, barras), Qt::black);
                x += w;
            }
            p.drawText(QRect(area.left(), y + barras, area.width(), m.height()), Qt::AlignHCenter, r.texto);
            break;
        }
        }
        y += h;
    }
    p.restore();
}

QImage DibujoTicket::imagen(const FuenteImpresion &f, const DocumentoImpreso &documento)
{
    const QFontMetrics m(fuente(f));
    const int ancho = m.horizontalAdvance(QString(DocumentoImpreso::kAncho, u'M'));
    const int h = alto(f, documento, ancho);
    QImage img(ancho + 2 * kMargen, h + 2 * kMargen, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(Qt::black);
    dibuja(p, f, documento, QRect(kMargen, kMargen, ancho, h));
    return img;
}
