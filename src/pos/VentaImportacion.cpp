// Lines read from a comma-separated file, each validated as a captured one, with a log.
#include "VentaInterno.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "PreciosArticulo.h"
#include "Prompter.h"
#include "cString.h"

#include <QFile>
#include <QTextStream>

using namespace venta;

QString VentaCaptura::Importacion::texto() const
{
    QStringList out;
    for (const RenglonImportacion &r : renglones)
        out << QString::number(r.linea) + u'\t' + r.articulo + u'\t' + r.cantidad + u'\t' + r.mensaje;
    return out.join(u'\n');
}

VentaCaptura::Importacion VentaCaptura::importa(const QString &archivo)
{
    Importacion res;
    if (!aseguraCorte())
        return res;
    QFile f(archivo);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        m_s.prompter.detailedMessage(Prompter::Icon::Exclamation,
                                     QStringLiteral("No se pudo abrir el archivo"), f.errorString());
        return res;
    }
    res.abierto = true;
    QTextStream in(&f);
    int numeroLinea = 0;
    while (!in.atEnd()) {
        const QString linea = in.readLine();
        ++numeroLinea;
        if (linea.trimmed().isEmpty())
            continue;
        const QStringList campos = linea.split(u',');
        RenglonImportacion r;
        r.linea = numeroLinea;
        r.articulo = campos.value(0).trimmed().toUpper();
        if (m_s.cadenas)
            r.articulo = m_s.cadenas->preparaEAN(r.articulo);
        r.cantidad = campos.value(1).trimmed();
        QString rechazo;
        Modo modo;
        modo.interactivo = false;
        modo.rechazo = &rechazo;
        try {
            const auto cantidad = numero(r.cantidad);
            const std::optional<Articulo> art = leeArticulo(r.articulo);
            if (!art) {
                rechazo = QStringLiteral("Articulo no encontrado");
            } else if (!cantidad || cantidad->sign() <= 0) {
                rechazo = QStringLiteral("No se admiten cantidades menores o iguales a cero");
            } else if (const auto precio = m_s.precios.obtenPrecioCliente(art->clave, m_cliente.tipo);
                       !precio) {
                rechazo = QStringLiteral("Articulo no procesado");
            } else {
                Captura cap;
                cap.articulo = art->clave;
                cap.nombre = art->nombre;
                cap.cantidad = r.cantidad;
                cap.precio = precio->precio.publico.toString();
                cap.descuento = precio->precio.descuento.toString();
                cap.iva = precio->precio.impuestoPorcentaje.toString();
                cap.tipoPrecio = precio->tipoPrecio.isEmpty() ? QStringLiteral("NORMAL") : precio->tipoPrecio;
                cap.numeroPrecio = precio->numero;
                cap.loteSerie = campos.value(2).trimmed();
                r.procesado = agrega(cap, modo, *art, *cantidad);
                if (!r.procesado && rechazo.isEmpty())
                    rechazo = QStringLiteral("Articulo no procesado");
            }
        } catch (const std::exception &e) {
            writeLog(QStringLiteral("importa: ") + QString::fromUtf8(e.what()));
            r.procesado = false;
            rechazo = QStringLiteral("Articulo no procesado");
        }
        r.mensaje = rechazo.isEmpty() ? QStringLiteral("Procesado") : rechazo;
        if (!rechazo.isEmpty())
            res.conErrores = true;
        res.renglones.append(r);
    }
    if (res.conErrores)
        res.verRegistro =
            m_s.prompter.question(QStringLiteral("Archivo procesado con errores, desea ver el registro"));
    else
        m_s.prompter.information(QStringLiteral("Archivo procesado con exito"));
    return res;
}
