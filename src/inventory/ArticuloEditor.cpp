#include "ArticuloEditor.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "MensajesMantenimiento.h"
#include "PreciosArticulo.h"
#include "Prompter.h"
#include "cConfigure.h"

#include "Connection.h"
#include "DbError.h"
#include "Transaction.h"

#include <QTime>

namespace {

const QString kFormato = QStringLiteral("0.00");

// Flags stored as 'S'/'N' and as 'SI'/'NO'; an empty one takes its default.
struct Bandera {
    const char *campo;
    const char *si;
    const char *no;
    bool porOmision;
};
const Bandera kBanderas[] = {
    {"art_ActLista", "SI", "NO", false},   {"art_ActOfertas", "SI", "NO", false},
    {"art_VenderAbajoDelCosto", "SI", "NO", true}, {"art_Granel", "SI", "NO", false},
    {"art_Separar", "S", "N", false},      {"art_Acumular", "S", "N", false},
    {"art_Ensamble", "SI", "NO", false},   {"art_Transferencia", "S", "N", false},
    {"cad_Clave", "SI", "NO", false},      {"ref_Clave", "SI", "NO", false},
    {"ref_Pregunta", "SI", "NO", false},
};

bool esNumero(const QString &text)
{
    bool ok = false;
    Decimal::fromString(text.trimmed(), &ok);
    return ok && !text.trimmed().isEmpty();
}

Decimal numero(const QString &text)
{
    return Decimal::fromString(text.trimmed());
}

QVariant nuloSiVacio(const QString &text)
{
    const QString t = text.trimmed();
    return t.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(t);
}

} // namespace

const QStringList &ArticuloEditor::camposTexto()
{
    static const QStringList campos = {
        QStringLiteral("art_Clave"),      QStringLiteral("art_Nombre"),     QStringLiteral("art_Descripcion"),
        QStringLiteral("tart_Clave"),     QStringLiteral("sub_Clave"),      QStringLiteral("fam_Clave"),
        QStringLiteral("fab_Clave"),      QStringLiteral("med_Clave"),      QStringLiteral("art_Ubicacion"),
        QStringLiteral("ssa_Clave"),      QStringLiteral("art_Indicacion"), QStringLiteral("art_Referencia"),
        QStringLiteral("ref_Clave"),      QStringLiteral("ref_Pregunta"),   QStringLiteral("eart_Clave"),
        QStringLiteral("art_Comision"),   QStringLiteral("cambio_Clave"),   QStringLiteral("mej_Clave"),
        QStringLiteral("art_ActLista"),   QStringLiteral("art_ActOfertas"), QStringLiteral("art_VenderAbajoDelCosto"),
        QStringLiteral("prov_Clave"),     QStringLiteral("prov_ClaveAct"),  QStringLiteral("tres_Clave"),
        QStringLiteral("per_Clave"),      QStringLiteral("cinv_Clave"),     QStringLiteral("art_Caduca"),
        QStringLiteral("cad_Clave"),      QStringLiteral("art_Granel"),     QStringLiteral("art_Separar"),
        QStringLiteral("art_SepArt"),     QStringLiteral("art_SepNum"),     QStringLiteral("art_Acumular"),
        QStringLiteral("art_AcumArt"),    QStringLiteral("art_AcumNum"),    QStringLiteral("art_Ensamble"),
        QStringLiteral("art_Transferencia"), QStringLiteral("art_CostoCompra"), QStringLiteral("art_Existencia")};
    return campos;
}

QString ArticuloEditor::columna(Cifra cifra)
{
    static const char *columnas[] = {"art_Costo",  "art_Importe", "art_Descuento", "art_SubTotal", "art_Margen",
                                     "art_Utilidad", "art_IVAPorc", "art_IVA",      "art_Total"};
    return QLatin1String(columnas[int(cifra)]);
}

ArticuloEditor::ArticuloEditor(ConnectionProvider &connections, cConfigure &config, Prompter &prompter,
                               const CalculoPrecio &calculo)
    : m_connections(connections), m_config(config), m_prompter(prompter), m_calculo(calculo)
{
    nuevo();
}

void ArticuloEditor::setTexto(const QString &campo, const QString &valor)
{
    m_texto.insert(campo.toLower(), valor);
    if (campo.compare(QLatin1String("per_Clave"), Qt::CaseInsensitive) == 0)
        cargaPeriodos();
}

void ArticuloEditor::nuevo()
{
    m_nuevo = true;
    m_texto.clear();
    for (const Bandera &b : kBanderas)
        m_texto.insert(QString::fromLatin1(b.campo).toLower(), QLatin1String(b.porOmision ? b.si : b.no));
    const auto conf = [&](const char *clave) { return m_config.getValue(QLatin1String(clave)).toString(); };
    setTexto(QStringLiteral("eart_Clave"), QStringLiteral("REGISTRADO"));
    setTexto(QStringLiteral("cinv_Clave"), QStringLiteral("LIBRE"));
    setTexto(QStringLiteral("prov_Clave"), conf("PROVEEDOR-PREFERENTE"));
    setTexto(QStringLiteral("tres_Clave"), conf("RESURTIDO-POR-OMISION"));
    setTexto(QStringLiteral("cambio_Clave"), conf("CAMBIO-PRECIO-POR-OMISION"));
    setTexto(QStringLiteral("mej_Clave"), conf("MEJORAR-PRECIO"));
    setTexto(QStringLiteral("art_Caduca"), QStringLiteral("0"));
    setTexto(QStringLiteral("art_SepNum"), QStringLiteral("0"));
    setTexto(QStringLiteral("art_AcumNum"), QStringLiteral("0"));
    setTexto(QStringLiteral("art_Comision"), QStringLiteral("0.00"));
    for (QString &c : m_cifras)
        c = Decimal().format(kFormato);
    m_listas.clear();
    m_ofertas.clear();
    m_tallas.clear();
    m_colores.clear();
    m_modelos.clear();
    m_ensamble.clear();
    m_maxMin.clear();
    m_periodoCargado.clear();
    m_continuar = false;
}

bool ArticuloEditor::carga(const QString &clave)
{
    db::Connection &c = m_connections.getConnection();
    db::Recordset rs = c.openRecordset(QStringLiteral("select * from tArticulo where art_Clave = ?"), {clave.trimmed()});
    if (rs.eof()) {
        m_prompter.exclamation(QStringLiteral("La clave no existe"));
        return false;
    }
    nuevo();
    m_nuevo = false;
    for (const QString &campo : camposTexto()) {
        if (!rs.hasField(campo))
            continue;
        const QVariant v = rs.value(campo);
        QString t;
        if (v.isNull())
            t.clear();
        else if (campo == QLatin1String("art_Caduca"))
            t = QString::number(rs.integer(campo));
        else if (campo == QLatin1String("art_Comision"))
            t = rs.decimal(campo).format(kFormato);
        else if (campo == QLatin1String("art_CostoCompra") ||
                 campo == QLatin1String("art_SepNum") || campo == QLatin1String("art_AcumNum") ||
                 campo == QLatin1String("art_Existencia"))
            t = rs.decimal(campo).toString();
        else
            t = rs.text(campo).trimmed();
        m_texto.insert(campo.toLower(), t);
    }
    for (int i = 0; i < 9; ++i)
        m_cifras[i] = rs.decimal(columna(Cifra(i))).format(kFormato);

    db::Recordset filas = c.openRecordset(
        QStringLiteral("select tprecio_Clave, precio_Clave, precio_Cantidad, art_Costo, precio_Importe, precio_Descuento, "
                       "precio_SubTotal, precio_Margen, precio_Utilidad, precio_IVAPorc, precio_IVA, precio_Total, "
                       "PRECIO_FECINI, PRECIO_FECFIN, precio_Vendidas from tArticuloPrecio where art_Clave = ? and "
                       "tprecio_Clave in ('LISTA','OFERTA') order by tprecio_Clave, precio_Clave"),
        {clave.trimmed()});
    for (; !filas.eof(); filas.moveNext()) {
        FilaPrecio f;
        f.numero = int(filas.integer(QStringLiteral("precio_Clave")));
        f.cantidad = filas.decimal(QStringLiteral("precio_Cantidad"));
        f.precio = Precio::deFilaPrecio(filas);
        f.inicio = filas.dateTime(QStringLiteral("PRECIO_FECINI")).date();
        f.fin = filas.dateTime(QStringLiteral("PRECIO_FECFIN")).date();
        f.vendidas = filas.decimal(QStringLiteral("precio_Vendidas"));
        (filas.text(QStringLiteral("tprecio_Clave")).trimmed().toUpper() == QLatin1String("OFERTA") ? m_ofertas
                                                                                                 : m_listas)
            .append(f);
    }
    const auto claves = [&](const QString &sql) {
        QStringList out;
        for (db::Recordset r = c.openRecordset(sql, {clave.trimmed()}); !r.eof(); r.moveNext())
            out << r.value(0).toString().trimmed();
        return out;
    };
    m_tallas = claves(QStringLiteral("select tala_Clave from tTallaArticulo where art_Clave = ? order by tala_Clave"));
    m_colores = claves(QStringLiteral("select cola_Clave from tColorArticulo where art_Clave = ? order by cola_Clave"));
    m_modelos = claves(QStringLiteral("select moda_Clave from tModeloArticulo where art_Clave = ? order by moda_Clave"));
    for (db::Recordset r = c.openRecordset(QStringLiteral("select esa_Clave, esa_Cantidad from tArticuloEnsamble "
                                                          "where art_Clave = ? order by esa_Clave"),
                                           {clave.trimmed()});
         !r.eof(); r.moveNext())
        m_ensamble.append({r.text(QStringLiteral("esa_Clave")).trimmed(), r.decimal(QStringLiteral("esa_Cantidad"))});
    cargaPeriodos();
    return true;
}

void ArticuloEditor::cargaPeriodos()
{
    const QString periodo = texto(QStringLiteral("per_Clave")).trimmed();
    if (periodo == m_periodoCargado && !m_maxMin.isEmpty())
        return;
    m_periodoCargado = periodo;
    m_maxMin.clear();
    if (periodo.isEmpty())
        return;
    db::Connection &c = m_connections.getConnection();
    const QString almacen = m_config.getValue(QStringLiteral("ALMACEN")).toString();
    for (db::Recordset r = c.openRecordset(QStringLiteral("select perd_Clave, perd_Nombre from tPeriodoDetalle where "
                                                          "per_Clave = ? order by perd_Orden"),
                                           {periodo});
         !r.eof(); r.moveNext())
        m_maxMin.append({r.text(QStringLiteral("perd_Clave")).trimmed(), r.text(QStringLiteral("perd_Nombre")), {}, {}, {}});
    const QString clave = texto(QStringLiteral("art_Clave")).trimmed();
    if (m_nuevo || clave.isEmpty() || almacen.isEmpty())
        return;
    for (db::Recordset r = c.openRecordset(
             QStringLiteral("select perd_Clave, amm_Minimo, amm_ReOrden, amm_Maximo from tArticuloMaxMin where alm_Clave = ? "
                            "and art_Clave = ? and tala_Clave = '' and cola_Clave = '' and per_Clave = ?"),
             {almacen, clave, periodo});
         !r.eof(); r.moveNext())
        for (FilaMaxMin &f : m_maxMin)
            if (f.detalle == r.text(QStringLiteral("perd_Clave")).trimmed()) {
                f.minimo = r.decimal(QStringLiteral("amm_Minimo"));
                f.reorden = r.decimal(QStringLiteral("amm_ReOrden"));
                f.maximo = r.decimal(QStringLiteral("amm_Maximo"));
            }
}

Precio ArticuloEditor::precio() const
{
    Precio p;
    Decimal *campos[] = {&p.costo,    &p.publico,  &p.descuento,          &p.subTotal,        &p.margen,
                         &p.utilidad, &p.impuestoPorcentaje, &p.impuestoImporte, &p.total};
    for (int i = 0; i < 9; ++i)
        *campos[i] = numero(m_cifras[i]);
    return p;
}

void ArticuloEditor::muestra(const Precio &p)
{
    const Precio r = p.redondeado();
    const Decimal *campos[] = {&r.costo,    &r.publico,  &r.descuento,          &r.subTotal,        &r.margen,
                               &r.utilidad, &r.impuestoPorcentaje, &r.impuestoImporte, &r.total};
    for (int i = 0; i < 9; ++i)
        m_cifras[i] = campos[i]->format(kFormato);
}

void ArticuloEditor::setCifra(Cifra cifra, const QString &typed)
{
    m_cifras[int(cifra)] = typed;
    if (!esNumero(typed))
        return;
    // While any typed figure is no number nothing is recalculated: it would count as 0 and be
    // overwritten, and the check on accepting could no longer name it.
    for (Cifra c : {Cifra::Costo, Cifra::Publico, Cifra::Descuento, Cifra::Margen, Cifra::Utilidad,
                    Cifra::ImpuestoPorcentaje})
        if (!esNumero(m_cifras[int(c)]))
            return;
    Precio p = precio();
    const QString metodo =
        cifra == Cifra::Publico ? QStringLiteral("PUBLICO") : texto(QStringLiteral("cambio_Clave")).trimmed();
    if (!m_calculo.calculaPrecio(metodo, p))
        return; // a failing user method: the figures stay as they were
    muestra(p);
    if (cifra == Cifra::Costo) {
        const Decimal costo = precio().costo;
        const auto sigue = [&](const char *bandera) {
            return texto(QLatin1String(bandera)).trimmed().toUpper().startsWith(QLatin1Char('S'))
                       ? texto(QStringLiteral("cambio_Clave")).trimmed()
                       : QStringLiteral("PUBLICO");
        };
        for (FilaPrecio &f : m_listas)
            recalculaFila(f, sigue("art_ActLista"), costo);
        for (FilaPrecio &f : m_ofertas)
            recalculaFila(f, sigue("art_ActOfertas"), costo);
    }
}

void ArticuloEditor::recalculaFila(FilaPrecio &fila, const QString &metodo, const Decimal &costo) const
{
    Precio p = fila.precio;
    p.costo = costo;
    if (m_calculo.calculaPrecio(metodo, p))
        fila.precio = p.redondeado();
}

void ArticuloEditor::setCifraFila(bool oferta, int fila, Cifra cifra, const Decimal &valor)
{
    QList<FilaPrecio> &filas = oferta ? m_ofertas : m_listas;
    if (fila < 0 || fila >= filas.size())
        return;
    Precio p = filas[fila].precio;
    Decimal *campos[] = {&p.costo,    &p.publico,  &p.descuento,          &p.subTotal,        &p.margen,
                         &p.utilidad, &p.impuestoPorcentaje, &p.impuestoImporte, &p.total};
    *campos[int(cifra)] = valor;
    p.costo = precio().costo;
    const QString metodo =
        cifra == Cifra::Publico ? QStringLiteral("PUBLICO") : texto(QStringLiteral("cambio_Clave")).trimmed();
    if (m_calculo.calculaPrecio(metodo, p))
        filas[fila].precio = p.redondeado();
}

void ArticuloEditor::agregaFila(bool oferta)
{
    QList<FilaPrecio> &filas = oferta ? m_ofertas : m_listas;
    FilaPrecio f;
    for (const FilaPrecio &o : filas)
        f.numero = qMax(f.numero, o.numero);
    ++f.numero;
    f.cantidad = Decimal(1);
    f.precio = precio().redondeado();
    if (oferta) {
        f.inicio = QDate::currentDate();
        f.fin = QDate::currentDate();
    }
    filas.append(f);
}

bool ArticuloEditor::rechaza(Pestana pestana, const QString &campo, const QString &mensaje)
{
    m_pestana = pestana;
    m_campo = campo;
    m_prompter.exclamation(mensaje);
    return false;
}

bool ArticuloEditor::existe(const QString &tabla, const QString &columna, const QString &clave)
{
    // Table and column names are our own constants, never typed text.
    return m_connections.getConnection()
        .scalar(QStringLiteral("select count(*) from ") + tabla + QStringLiteral(" where ") + columna +
                    QStringLiteral(" = ?"),
                {clave})
        .toLongLong() > 0;
}

bool ArticuloEditor::validaDatos()
{
    m_campo.clear();
    const auto vacio = [&](const char *campo) { return texto(QLatin1String(campo)).trimmed().isEmpty(); };
    const auto si = [&](const char *campo) {
        return texto(QLatin1String(campo)).trimmed().toUpper().startsWith(QLatin1Char('S'));
    };
    const QString clave = texto(QStringLiteral("art_Clave")).trimmed();
    if (clave.isEmpty())
        return rechaza(Pestana::Identidad, QStringLiteral("art_Clave"), QStringLiteral("Debe indicar una clave de articulo"));
    if (vacio("art_Nombre"))
        return rechaza(Pestana::Identidad, QStringLiteral("art_Nombre"), QStringLiteral("Debe indicar un nombre"));
    if (!esNumero(cifra(Cifra::Costo)))
        return rechaza(Pestana::Precios, QStringLiteral("art_Costo"),
                       QStringLiteral("Debe indicar el costo unitario del articulo"));
    if (!esNumero(cifra(Cifra::Publico)))
        return rechaza(Pestana::Precios, QStringLiteral("art_Importe"), QStringLiteral("Debe indicar el precio público"));
    if (!esNumero(cifra(Cifra::Descuento)))
        return rechaza(Pestana::Precios, QStringLiteral("art_Descuento"), QStringLiteral("Debe indicar el descuento"));
    if (!esNumero(cifra(Cifra::Total)))
        return rechaza(Pestana::Precios, QStringLiteral("art_Total"), QStringLiteral("Debe indicar el precio neto"));
    if (vacio("cambio_Clave"))
        return rechaza(Pestana::Precios, QStringLiteral("cambio_Clave"),
                       QStringLiteral("Debe indicar el metodo de cambio de precio"));
    if (vacio("tart_Clave"))
        return rechaza(Pestana::Identidad, QStringLiteral("tart_Clave"),
                       QStringLiteral("Debe indicar el departamento al que pertence el articulo"));
    if (si("art_Separar")) {
        if (vacio("art_SepArt"))
            return rechaza(Pestana::Paquetes, QStringLiteral("art_SepArt"),
                           QStringLiteral("Necesita indicar el articulo que esta contenido"));
        if (!(numero(texto(QStringLiteral("art_SepNum"))) > Decimal()))
            return rechaza(Pestana::Paquetes, QStringLiteral("art_SepNum"),
                           QStringLiteral("Necesita indicar el numero de articulos que estan contenidos"));
    }
    if (si("art_Acumular")) {
        if (vacio("art_AcumArt"))
            return rechaza(Pestana::Paquetes, QStringLiteral("art_AcumArt"),
                           QStringLiteral("Necesita indicar el articulo que lo contiene"));
        if (!(numero(texto(QStringLiteral("art_AcumNum"))) > Decimal()))
            return rechaza(Pestana::Paquetes, QStringLiteral("art_AcumNum"),
                           QStringLiteral("Necesita indicar el numero de articulos que se acumulan"));
    }
    if (m_config.getValue(QStringLiteral("DATOS-COMPLETOS-ARTICULO")).toBool()) {
        if (vacio("fab_Clave"))
            return rechaza(Pestana::Identidad, QStringLiteral("fab_Clave"), QStringLiteral("Debe indicar el fabricante"));
        if (vacio("med_Clave"))
            return rechaza(Pestana::Identidad, QStringLiteral("med_Clave"), QStringLiteral("Debe indicar un tipo de medida"));
        if (vacio("fam_Clave"))
            return rechaza(Pestana::Identidad, QStringLiteral("fam_Clave"), QStringLiteral("Debe indicar la familia"));
        if (si("cad_Clave") && !(numero(texto(QStringLiteral("art_Caduca"))) > Decimal()))
            return rechaza(Pestana::Inventario, QStringLiteral("art_Caduca"),
                           QStringLiteral("Debe indicar el numero de meses promedio para caducar que tiene el articulo"));
        if (vacio("prov_Clave"))
            return rechaza(Pestana::Resurtido, QStringLiteral("prov_Clave"), QStringLiteral("Debe indicar el proveedor"));
        if (vacio("tres_Clave"))
            return rechaza(Pestana::Resurtido, QStringLiteral("tres_Clave"), QStringLiteral("Debe indicar el resurtido"));
    }

    // What the database would otherwise take silently or refuse with a technical error.
    if (!existe(QStringLiteral("tTipoArticulo"), QStringLiteral("tart_Clave"), texto(QStringLiteral("tart_Clave")).trimmed()))
        return rechaza(Pestana::Identidad, QStringLiteral("tart_Clave"), QStringLiteral("El departamento no existe"));
    if (!existe(QStringLiteral("tCambioPrecio"), QStringLiteral("cambio_Clave"),
                texto(QStringLiteral("cambio_Clave")).trimmed()))
        return rechaza(Pestana::Precios, QStringLiteral("cambio_Clave"),
                       QStringLiteral("El metodo de cambio de precio no existe"));
    for (const auto &[bandera, campo] : {std::pair{"art_Separar", "art_SepArt"}, std::pair{"art_Acumular", "art_AcumArt"}}) {
        if (!si(bandera))
            continue;
        const QString otro = texto(QLatin1String(campo)).trimmed();
        if (otro.compare(clave, Qt::CaseInsensitive) == 0 ||
            !existe(QStringLiteral("tArticulo"), QStringLiteral("art_Clave"), otro))
            return rechaza(Pestana::Paquetes, QLatin1String(campo),
                           QStringLiteral("El articulo ") + otro + QStringLiteral(" no existe o es el mismo articulo"));
    }
    for (const char *campo : {"art_Comision", "art_Caduca", "art_SepNum", "art_AcumNum"}) {
        const QString t = texto(QLatin1String(campo)).trimmed();
        if (!t.isEmpty() && (!esNumero(t) || numero(t).isNegative()))
            return rechaza(campo == QLatin1String("art_Comision") ? Pestana::Precios
                           : campo == QLatin1String("art_Caduca") ? Pestana::Inventario
                                                                  : Pestana::Paquetes,
                           QLatin1String(campo), QStringLiteral("Debe indicar un numero mayor o igual a cero"));
    }
    QList<int> numeros;
    for (const FilaPrecio &f : m_listas) {
        if (f.numero <= 0 || numeros.contains(f.numero))
            return rechaza(Pestana::Listas, QStringLiteral("listas"),
                           QStringLiteral("La lista ") + QString::number(f.numero) +
                               QStringLiteral(" esta repetida o no es valida"));
        numeros << f.numero;
    }
    numeros.clear();
    for (const FilaPrecio &f : m_ofertas) {
        if (f.numero <= 0 || numeros.contains(f.numero))
            return rechaza(Pestana::Ofertas, QStringLiteral("ofertas"),
                           QStringLiteral("La oferta ") + QString::number(f.numero) +
                               QStringLiteral(" esta repetida o no es valida"));
        numeros << f.numero;
        if (!f.inicio.isValid() || !f.fin.isValid() || f.fin < f.inicio)
            return rechaza(Pestana::Ofertas, QStringLiteral("ofertas"),
                           QStringLiteral("La fecha final de la oferta ") + QString::number(f.numero) +
                               QStringLiteral(" debe ser igual o posterior a la inicial"));
        if (!(f.cantidad > Decimal()))
            return rechaza(Pestana::Ofertas, QStringLiteral("ofertas"),
                           QStringLiteral("Debe indicar cuantas piezas se venden en la oferta ") +
                               QString::number(f.numero));
    }
    for (const FilaEnsamble &e : m_ensamble) {
        if (e.articulo.compare(clave, Qt::CaseInsensitive) == 0 ||
            !existe(QStringLiteral("tArticulo"), QStringLiteral("art_Clave"), e.articulo))
            return rechaza(Pestana::Paquetes, QStringLiteral("ensamble"),
                           QStringLiteral("El articulo ") + e.articulo +
                               QStringLiteral(" del ensamble no existe o es el mismo articulo"));
        if (!(e.cantidad > Decimal()))
            return rechaza(Pestana::Paquetes, QStringLiteral("ensamble"),
                           QStringLiteral("Debe indicar la cantidad del articulo ") + e.articulo);
    }
    if (m_nuevo && existe(QStringLiteral("tArticulo"), QStringLiteral("art_Clave"), clave)) {
        const QString nombre = m_connections.getConnection()
                                   .scalar(QStringLiteral("select art_Nombre from tArticulo where art_Clave = ?"), {clave})
                                   .toString();
        return rechaza(Pestana::Identidad, QStringLiteral("art_Clave"),
                       QStringLiteral("La clave ya esta en uso para el siguiente articulo: ") + nombre);
    }
    return true;
}

void ArticuloEditor::escribe()
{
    db::Connection &c = m_connections.getConnection();
    const QString clave = texto(QStringLiteral("art_Clave")).trimmed();
    const Precio p = precio();
    const QString usuario = m_config.getValue(QStringLiteral("USUARIO")).toString();

    // The columns the editor owns, bound in one order for insert and update.
    QStringList columnas;
    QVariantList valores;
    const auto pon = [&](const QString &col, const QVariant &v) {
        columnas << col;
        valores << v;
    };
    const QStringList numericos = {QStringLiteral("art_Comision"), QStringLiteral("art_SepNum"),
                                   QStringLiteral("art_AcumNum")};
    for (const QString &campo : camposTexto()) {
        if (campo == QLatin1String("art_Clave") || campo == QLatin1String("art_CostoCompra") ||
            campo == QLatin1String("art_Existencia"))
            continue;
        const QString t = texto(campo).trimmed();
        if (numericos.contains(campo))
            pon(campo, numero(t).toQVariant());
        else if (campo == QLatin1String("art_Caduca"))
            pon(campo, numero(t).toInt64());
        else if (campo == QLatin1String("art_Nombre") || campo == QLatin1String("eart_Clave"))
            pon(campo, t);
        else
            pon(campo, nuloSiVacio(t));
    }
    // The flags keep their stored spelling.
    for (const Bandera &b : kBanderas) {
        const int i = int(columnas.indexOf(QLatin1String(b.campo)));
        if (i >= 0) {
            const QString t = texto(QLatin1String(b.campo)).trimmed().toUpper();
            valores[i] = QLatin1String(t.isEmpty() ? (b.porOmision ? b.si : b.no) : (t.startsWith(u'S') ? b.si : b.no));
        }
    }
    for (int i = 0; i < 9; ++i)
        pon(columna(Cifra(i)), numero(m_cifras[i]).toQVariant());
    pon(QStringLiteral("usu_Clave"), usuario);

    if (m_nuevo) {
        QStringList marcas(columnas.size(), QStringLiteral("?"));
        c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_FecAlta, art_FecMod, ") + columnas.join(u',') +
                      QStringLiteral(") values (?, getdate(), getdate(), ") + marcas.join(u',') + u')',
                  QVariantList{clave} + valores);
    } else {
        QStringList sets;
        for (const QString &col : columnas)
            sets << col + QStringLiteral(" = ?");
        c.execute(QStringLiteral("update tArticulo set art_FecMod = getdate(), ") + sets.join(u',') +
                      QStringLiteral(" where art_Clave = ?"),
                  valores + QVariantList{clave});
    }

    c.execute(QStringLiteral("delete from tArticuloPrecio where art_Clave = ? and tprecio_Clave in "
                             "('NORMAL','LISTA','OFERTA')"),
              {clave});
    const QString metodo = texto(QStringLiteral("cambio_Clave")).trimmed();
    const QString insertaPrecio = QStringLiteral(
        "insert into tArticuloPrecio (art_Clave, tprecio_Clave, precio_Clave, cambio_Clave, art_Costo, precio_Importe, "
        "precio_Descuento, precio_SubTotal, precio_Margen, precio_Utilidad, precio_IVA, precio_IVAPorc, precio_Total, "
        "PRECIO_FECINI, PRECIO_FECFIN, precio_Cantidad, precio_Vendidas) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    const auto fila = [&](const QString &tipo, int numero, const Precio &q, const QVariant &inicio,
                          const QVariant &fin, const Decimal &cantidad, const Decimal &vendidas) {
        c.execute(insertaPrecio,
                  {clave, tipo, numero, metodo, q.costo.toQVariant(), q.publico.toQVariant(), q.descuento.toQVariant(),
                   q.subTotal.toQVariant(), q.margen.toQVariant(), q.utilidad.toQVariant(),
                   q.impuestoImporte.toQVariant(), q.impuestoPorcentaje.toQVariant(), q.total.toQVariant(), inicio, fin,
                   cantidad.toQVariant(), vendidas.toQVariant()});
    };
    const QVariant sinFecha{QMetaType(QMetaType::QDateTime)};
    fila(QStringLiteral("NORMAL"), 1, p, c.scalar(QStringLiteral("select getdate()")), sinFecha, Decimal(), Decimal());
    for (const FilaPrecio &f : m_listas)
        fila(QStringLiteral("LISTA"), f.numero, f.precio, sinFecha, sinFecha, f.cantidad, Decimal());
    for (const FilaPrecio &f : m_ofertas)
        fila(QStringLiteral("OFERTA"), f.numero, f.precio, QDateTime(f.inicio, QTime(0, 0, 0)),
             QDateTime(f.fin, QTime(23, 59, 59)), f.cantidad, f.vendidas);

    c.execute(QStringLiteral("update tArticulo set art_Existencia = (select coalesce(sum(alma_Existencia), 0) from "
                             "tArticuloAlmacen where tArticuloAlmacen.art_Clave = tArticulo.art_Clave) where art_Clave = ?"),
              {clave});

    const auto reescribe = [&](const QString &tabla, const QString &col, const QStringList &claves) {
        c.execute(QStringLiteral("delete from ") + tabla + QStringLiteral(" where art_Clave = ?"), {clave});
        for (const QString &k : claves)
            c.execute(QStringLiteral("insert into ") + tabla + QStringLiteral(" (art_Clave, ") + col +
                          QStringLiteral(") values (?, ?)"),
                      {clave, k});
    };
    reescribe(QStringLiteral("tTallaArticulo"), QStringLiteral("tala_Clave"), m_tallas);
    reescribe(QStringLiteral("tColorArticulo"), QStringLiteral("cola_Clave"), m_colores);
    reescribe(QStringLiteral("tModeloArticulo"), QStringLiteral("moda_Clave"), m_modelos);
    c.execute(QStringLiteral("delete from tArticuloEnsamble where art_Clave = ?"), {clave});
    for (const FilaEnsamble &e : m_ensamble)
        c.execute(QStringLiteral("insert into tArticuloEnsamble (art_Clave, esa_Clave, esa_Cantidad) values (?, ?, ?)"),
                  {clave, e.articulo, e.cantidad.toQVariant()});

    const QString almacen = m_config.getValue(QStringLiteral("ALMACEN")).toString();
    const QString periodo = texto(QStringLiteral("per_Clave")).trimmed();
    if (!almacen.isEmpty() && !periodo.isEmpty()) {
        c.execute(QStringLiteral("delete from tArticuloMaxMin where alm_Clave = ? and art_Clave = ? and tala_Clave = '' "
                                 "and cola_Clave = '' and per_Clave = ?"),
                  {almacen, clave, periodo});
        for (const FilaMaxMin &m : m_maxMin)
            c.execute(QStringLiteral("insert into tArticuloMaxMin (alm_Clave, art_Clave, tala_Clave, cola_Clave, per_Clave, "
                                     "perd_Clave, amm_Minimo, amm_ReOrden, amm_Maximo) values (?, ?, '', '', ?, ?, ?, ?, ?)"),
                      {almacen, clave, periodo, m.detalle, m.minimo.toQVariant(), m.reorden.toQVariant(),
                       m.maximo.toQVariant()});
    }
}

bool ArticuloEditor::guardaDatos()
{
    m_continuar = false;
    try {
        if (!validaDatos())
            return false;
        db::Connection &c = m_connections.getConnection();
        db::Transaction tx(c);
        escribe();
        tx.commit();
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("guardaDatos"), ErrorInfo::fromException(e));
        return false;
    }
    if (m_nuevo) {
        m_continuar = m_prompter.question(
            QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas articulos"), true);
        m_nuevo = false;
    } else {
        m_prompter.information(QStringLiteral("El registro fue actualizado con exito"));
    }
    return true;
}

bool ArticuloEditor::eliminarRegistro(const QString &claveTexto)
{
    const QString clave = claveTexto.trimmed();
    try {
        db::Connection &c = m_connections.getConnection();
        if (clave.isEmpty() || !existe(QStringLiteral("tArticulo"), QStringLiteral("art_Clave"), clave)) {
            m_prompter.exclamation(MensajesMantenimiento::claveNoExiste());
            return false;
        }
        // Stock rows are the warehouses' history: they never go with the article.
        if (existe(QStringLiteral("tArticuloAlmacen"), QStringLiteral("art_Clave"), clave)) {
            m_prompter.exclamation(
                QStringLiteral("El articulo tiene existencias registradas en los almacenes, no es posible eliminarlo"));
            return false;
        }
        if (!m_prompter.question(QStringLiteral("Esta seguro de eliminar el articulo"), false))
            return false;
        try {
            db::Transaction tx(c);
            c.execute(QStringLiteral("delete from tArticulo where art_Clave = ?"), {clave});
            tx.commit();
        } catch (const db::DbError &e) {
            if (e.kind() != db::DbError::ConstraintViolation)
                throw;
            m_prompter.exclamation(MensajesMantenimiento::enUso());
            return false;
        }
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("eliminarRegistro"), ErrorInfo::fromException(e));
        return false;
    }
    m_prompter.information(MensajesMantenimiento::eliminado());
    return true;
}
