#include "RespaldoVenta.h"

#include "Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {
constexpr int kVersion = 1;

QJsonObject aJson(const LineaVenta &l)
{
    return QJsonObject{{"clave", l.clave},
                       {"nombre", l.nombre},
                       {"talla", l.tallaClave},
                       {"tallaNombre", l.tallaNombre},
                       {"color", l.colorClave},
                       {"colorNombre", l.colorNombre},
                       {"cantidad", l.cantidad.toString()},
                       {"precio", l.precio.toString()},
                       {"descuento", l.descuento.toString()},
                       {"iva", l.iva.toString()},
                       {"importe", l.importe.toString()},
                       {"total", l.total.toString()},
                       {"referencia", l.referencia},
                       {"renglon", l.renglon},
                       {"modificado", l.modificado},
                       {"tipoPrecio", l.tipoPrecio},
                       {"loteSerie", l.loteSerie},
                       {"controlInv", l.controlInv},
                       {"numeroPrecio", l.numeroPrecio}};
}

// A number the file must hold: anything else makes the copy damaged.
Decimal numero(const QJsonObject &o, const char *campo, bool &ok)
{
    bool bien = false;
    const Decimal d = Decimal::fromString(o.value(QLatin1String(campo)).toString(), &bien);
    ok = ok && bien;
    return d;
}

std::optional<LineaVenta> deJson(const QJsonObject &o)
{
    LineaVenta l;
    bool ok = true;
    l.clave = o.value(QLatin1String("clave")).toString();
    l.nombre = o.value(QLatin1String("nombre")).toString();
    l.tallaClave = o.value(QLatin1String("talla")).toString();
    l.tallaNombre = o.value(QLatin1String("tallaNombre")).toString();
    l.colorClave = o.value(QLatin1String("color")).toString();
    l.colorNombre = o.value(QLatin1String("colorNombre")).toString();
    l.cantidad = numero(o, "cantidad", ok);
    l.precio = numero(o, "precio", ok);
    l.descuento = numero(o, "descuento", ok);
    l.iva = numero(o, "iva", ok);
    l.importe = numero(o, "importe", ok);
    l.total = numero(o, "total", ok);
    l.referencia = o.value(QLatin1String("referencia")).toString();
    l.renglon = o.value(QLatin1String("renglon")).toInt();
    l.modificado = o.value(QLatin1String("modificado")).toBool();
    l.tipoPrecio = o.value(QLatin1String("tipoPrecio")).toString();
    l.loteSerie = o.value(QLatin1String("loteSerie")).toString();
    l.controlInv = o.value(QLatin1String("controlInv")).toString();
    l.numeroPrecio = o.value(QLatin1String("numeroPrecio")).toInt();
    if (!ok || l.clave.isEmpty())
        return std::nullopt;
    return l;
}
} // namespace

RespaldoVenta::RespaldoVenta(QString archivo) : m_archivo(std::move(archivo)) {}

bool RespaldoVenta::guarda(const Contenido &contenido)
{
    QJsonArray lineas;
    for (const LineaVenta &l : contenido.lineas)
        lineas.append(aJson(l));
    const QJsonObject o{{"version", kVersion},
                        {"cliente", contenido.cliente},
                        {"vendedor", contenido.vendedor},
                        {"pendientes", QJsonArray::fromStringList(contenido.pendientes)},
                        {"total", contenido.total.toString()},
                        {"fecha", contenido.fecha.toString(Qt::ISODate)},
                        {"lineas", lineas}};
    QDir().mkpath(QFileInfo(m_archivo).absolutePath());
    QSaveFile f(m_archivo);
    if (!f.open(QIODevice::WriteOnly) || f.write(QJsonDocument(o).toJson(QJsonDocument::Compact)) < 0 ||
        !f.commit()) {
        writeLog(QStringLiteral("RespaldoVenta: no se pudo guardar ") + m_archivo + QStringLiteral(": ") +
                 f.errorString());
        return false;
    }
    return true;
}

std::optional<RespaldoVenta::Contenido> RespaldoVenta::lee()
{
    QFile f(m_archivo);
    if (!f.exists() || !f.open(QIODevice::ReadOnly))
        return std::nullopt;
    // A sale copy is small; a file far larger than any sale is not ours to parse.
    constexpr qint64 kMaximo = 64 * 1024 * 1024;
    QJsonParseError error{};
    const QJsonDocument doc =
        f.size() <= kMaximo ? QJsonDocument::fromJson(f.readAll(), &error) : QJsonDocument();
    f.close();
    Contenido c;
    bool ok = doc.isObject() && doc.object().value(QLatin1String("version")).toInt() == kVersion;
    if (ok) {
        const QJsonObject o = doc.object();
        c.cliente = o.value(QLatin1String("cliente")).toString();
        c.vendedor = o.value(QLatin1String("vendedor")).toString();
        for (const QJsonValue &p : o.value(QLatin1String("pendientes")).toArray())
            c.pendientes << p.toString();
        c.total = numero(o, "total", ok);
        c.fecha = QDateTime::fromString(o.value(QLatin1String("fecha")).toString(), Qt::ISODate);
        for (const QJsonValue &v : o.value(QLatin1String("lineas")).toArray()) {
            const auto l = deJson(v.toObject());
            if (!l) {
                ok = false;
                break;
            }
            c.lineas << *l;
        }
    }
    if (!ok) {
        const QString aparte = m_archivo + QStringLiteral(".danado");
        QFile::remove(aparte);
        QFile::rename(m_archivo, aparte);
        writeLog(QStringLiteral("RespaldoVenta: copia danada apartada en ") + aparte);
        return std::nullopt;
    }
    if (c.lineas.isEmpty())
        return std::nullopt;
    return c;
}

void RespaldoVenta::borra()
{
    if (QFile::exists(m_archivo) && !QFile::remove(m_archivo))
        writeLog(QStringLiteral("RespaldoVenta: no se pudo borrar ") + m_archivo);
}
