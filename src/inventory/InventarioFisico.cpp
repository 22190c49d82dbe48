#include "InventarioFisico.h"

#include "BuscaArticulo.h"
#include "Connection.h"
#include "ConnectionProvider.h"
#include "DbError.h"
#include "Existencias.h"
#include "Prompter.h"
#include "Transaction.h"
#include "cConfigure.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTextStream>
#include <QVariantList>

namespace {

const QString kDonde = QStringLiteral(" where alm_Clave = ? and inv_Anio = ? and inv_Clave = ?");

// The column of a count; n is always 1 to 3, never a user's text.
QString columna(int n)
{
    return QStringLiteral("inva_Conteo") + QString::number(n);
}

// A lot key as stored: never null (no lot is the empty text).
QString llaveLote(const QString &lote)
{
    return lote.isNull() ? QStringLiteral("") : lote;
}

} // namespace

InventarioFisico::InventarioFisico(ConnectionProvider &connections, cConfigure &config, Prompter &prompter,
                                   Existencias &existencias)
    : m_connections(connections), m_config(config), m_prompter(prompter), m_existencias(existencias)
{
}

db::Connection &InventarioFisico::conexion()
{
    return m_connections.getConnection();
}

bool InventarioFisico::pregunta(const QString &texto)
{
    return m_prompter.question(texto, true);
}

void InventarioFisico::aviso(const QString &texto)
{
    m_prompter.exclamation(texto);
}

InventarioFisico::Captura InventarioFisico::rechaza(const QString &texto, const QString &campo)
{
    m_campoRechazado = campo;
    if (m_motivo) {
        *m_motivo = texto;
        return Captura::Rechazado;
    }
    aviso(texto);
    return Captura::Rechazado;
}

QString InventarioFisico::origen() const
{
    return QStringLiteral("INVENTARIO-%1-%2").arg(m_anio).arg(m_numero);
}

int InventarioFisico::siguienteNumero(const QString &almacen, int anio)
{
    return int(conexion()
                   .scalar(QStringLiteral("select coalesce(max(inv_Clave), 0) + 1 from tInventario "
                                          "where alm_Clave = ? and inv_Anio = ?"),
                           {almacen, anio})
                   .toLongLong());
}

bool InventarioFisico::abre(const Apertura &d)
{
    static const QStringList tipos = {QStringLiteral("TOTAL"), QStringLiteral("PARCIAL"),
                                      QStringLiteral("DEPTO"), QStringLiteral("CATEGORIA")};
    m_campoRechazado.clear();
    if (d.almacen.trimmed().isEmpty())
        return rechazaCampo(QStringLiteral("almacen"), QStringLiteral("Debe seleccionar un almacen"));
    if (d.anio <= 0)
        return rechazaCampo(QStringLiteral("anio"), QStringLiteral("Debe seleccionar un año"));
    if (d.numero <= 0)
        return rechazaCampo(QStringLiteral("numero"), QStringLiteral("Debe indicar un numero de inventario"));
    if (d.conteos < 1 || d.conteos > 3)
        return rechazaCampo(
            QStringLiteral("conteos"),
            QStringLiteral("Debe indicar la cantidad de veces que se realizara el conteo de los articulos"));
    if (!tipos.contains(d.tipo))
        return rechazaCampo(QStringLiteral("tipo"),
                            QStringLiteral("Debe indicar el tipo de inventario a realizar"));
    if (d.tipo == QLatin1String("DEPTO") && d.departamento.trimmed().isEmpty())
        return rechazaCampo(QStringLiteral("departamento"),
                            QStringLiteral("Debe seleccionar un departamento"));
    if (d.tipo == QLatin1String("CATEGORIA") && d.categoria.trimmed().isEmpty())
        return rechazaCampo(QStringLiteral("categoria"), QStringLiteral("Debe seleccionar una categoria"));

    db::Connection &c = conexion();
    const QVariantList clave = {d.almacen, d.anio, d.numero};
    const QString estado =
        c.scalar(QStringLiteral("select einv_Clave from tInventario") + kDonde, clave).toString();
    if (estado == QLatin1String("CERRADO")) {
        m_prompter.information(QStringLiteral("El Inventario ya ha sido cerrado, para ver los resultados, "
                                              "consulte los reportes de inventarios"));
        return false;
    }
    if (!estado.isEmpty()) {
        if (!pregunta(QStringLiteral(
                "El inventario se encuentra en curso, desea capturar sobre este mismo inventario")))
            return false;
        m_almacen = d.almacen;
        m_anio = d.anio;
        m_numero = d.numero;
        cargaCabecera();
        return true;
    }
    if (!pregunta(QStringLiteral("Desea iniciar un nuevo inventario")))
        return false;

    db::Transaction t(c);
    c.execute(QStringLiteral("insert into tInventario (alm_Clave, inv_Anio, inv_Clave, inv_Fecha, usu_Clave, "
                             "einv_Clave, inv_Conteo, tinv_Clave, inv_ConteoActual, tart_Clave, sub_Clave) "
                             "values (?, ?, ?, ?, ?, 'REGISTRADO', ?, ?, 1, ?, ?)"),
              {d.almacen, d.anio, d.numero, QDateTime::currentDateTime(),
               m_config.getValue(QStringLiteral("USUARIO")).toString(), d.conteos, d.tipo,
               d.tipo == QLatin1String("DEPTO") ? QVariant(d.departamento) : QVariant(),
               d.tipo == QLatin1String("CATEGORIA") ? QVariant(d.categoria) : QVariant()});
    if (d.tipo != QLatin1String("PARCIAL")) {
        // Every article with a stock row in the warehouse, except the pieces that fill containers.
        QString sql = QStringLiteral(
            "insert into tInventarioArticulo (alm_Clave, inv_Anio, inv_Clave, art_Clave, alma_Clave) "
            "select distinct cast(? as varchar(20)), cast(? as integer), cast(? as integer), a.art_Clave, '' "
            "from tArticuloAlmacen aa "
            "join tArticulo a on a.art_Clave = aa.art_Clave "
            "where aa.alm_Clave = ? and coalesce(a.art_AcumNum, 0) = 0");
        QVariantList params = clave;
        params << d.almacen;
        if (d.tipo == QLatin1String("DEPTO")) {
            sql += QStringLiteral(" and a.tart_Clave = ?");
            params << d.departamento;
        } else if (d.tipo == QLatin1String("CATEGORIA")) {
            sql += QStringLiteral(" and a.sub_Clave = ?");
            params << d.categoria;
        }
        c.execute(sql, params);
    }
    t.commit();
    m_almacen = d.almacen;
    m_anio = d.anio;
    m_numero = d.numero;
    cargaCabecera();
    return true;
}

bool InventarioFisico::rechazaCampo(const QString &campo, const QString &texto)
{
    m_campoRechazado = campo;
    aviso(texto);
    return false;
}

bool InventarioFisico::consulta(const QString &almacen, int anio, int numero)
{
    if (conexion()
            .scalar(QStringLiteral("select count(*) from tInventario") + kDonde, {almacen, anio, numero})
            .toLongLong() == 0)
        return false;
    m_almacen = almacen;
    m_anio = anio;
    m_numero = numero;
    cargaCabecera();
    return true;
}

void InventarioFisico::cargaCabecera()
{
    db::Recordset rs =
        conexion().openRecordset(QStringLiteral("select inv_Conteo, tinv_Clave from tInventario") + kDonde,
                                 {m_almacen, m_anio, m_numero});
    m_conteos = int(rs.integer(QStringLiteral("inv_Conteo")));
    m_tipo = rs.text(QStringLiteral("tinv_Clave"));
}

QString InventarioFisico::estado()
{
    return conexion()
        .scalar(QStringLiteral("select einv_Clave from tInventario") + kDonde, {m_almacen, m_anio, m_numero})
        .toString();
}

int InventarioFisico::conteoActual()
{
    return int(conexion()
                   .scalar(QStringLiteral("select inv_ConteoActual from tInventario") + kDonde,
                           {m_almacen, m_anio, m_numero})
                   .toLongLong());
}

InventarioFisico::Captura InventarioFisico::captura(const QString &articulo, const QString &lote,
                                                    std::optional<Decimal> cantidad)
{
    m_campoRechazado = QStringLiteral("articulo");
    if (articulo.trimmed().isEmpty())
        return rechaza(QStringLiteral("Debe indicar el articulo"));
    if (!cantidad && m_config.getBool(QStringLiteral("OPERACION-CAPTURA-AUTOMATICA")))
        cantidad = Decimal(1);
    if (!cantidad)
        return rechaza(QStringLiteral("Debe indicar la cantidad"), QStringLiteral("cantidad"));
    if (cantidad->isNegative())
        return rechaza(QStringLiteral("No se admiten existencias negativas"), QStringLiteral("cantidad"));
    const QString edo = estado();
    if (edo == QLatin1String("CERRADO"))
        return rechaza(QStringLiteral("El Inventario ya ha sido cerrado, para ver los resultados, consulte "
                                      "los reportes de inventarios"));
    if (edo != QLatin1String("REGISTRADO"))
        return rechaza(
            QStringLiteral("El inventario ya fue procesado, inicie de nuevo la captura para modificarlo"));

    db::Connection &c = conexion();
    const QString clave = BuscaArticulo::porCodigo(c, articulo.trimmed());
    db::Recordset art = c.openRecordset(
        QStringLiteral("select coalesce(cinv_Clave, '') as control from tArticulo where art_Clave = ?"),
        {clave});
    if (clave.isEmpty() || art.eof()) {
        if (m_motivo)
            return rechaza(QStringLiteral("Articulo no existe : ") + articulo);
        return pregunta(QStringLiteral("Articulo no encontrado, desea registrarlo ?"))
                   ? Captura::RegistrarArticulo
                   : Captura::Rechazado;
    }
    const QString control = art.text(QStringLiteral("control"));
    if (control == QLatin1String("NINGUNO"))
        return rechaza(
            QStringLiteral("No es posible inventariar articulos sin control de inventario  ( CONTROL DE "
                           "INVENTARIO = <NINGUNO> )"));
    if (!m_existencias.validaLoteSerie(lote, control, !m_motivo)) {
        m_campoRechazado = QStringLiteral("lote");
        return m_motivo
                   ? rechaza(control == QLatin1String("LOTE") ? QStringLiteral("Requiere capturar el Lote")
                                                              : QStringLiteral("Capture la serie"),
                             m_campoRechazado)
                   : Captura::Rechazado;
    }
    const QString loteSerie = (control == QLatin1String("LOTE") || control == QLatin1String("SERIE"))
                                  ? lote.trimmed()
                                  : QStringLiteral("");

    const int n = conteoActual();
    QVariantList fila = {m_almacen, m_anio, m_numero, clave, loteSerie};
    const QString dondeFila = kDonde + QStringLiteral(" and art_Clave = ? and alma_Clave = ?");
    db::Recordset actual =
        c.openRecordset(QStringLiteral("select inva_Conteo1, inva_Conteo2, ") + columna(n) +
                            QStringLiteral(" as actual from tInventarioArticulo") + dondeFila,
                        fila);
    if (control == QLatin1String("SERIE")) {
        if (*cantidad != Decimal(1))
            return rechaza(QStringLiteral("Solo se admite un articulo por serie"),
                           QStringLiteral("cantidad"));
        if (!actual.eof() && !actual.decimal(QStringLiteral("actual")).isZero())
            return rechaza(QStringLiteral("La serie ya existe"), QStringLiteral("lote"));
    }
    // The third count covers only what the first two disagree on.
    if (n == 3 && (actual.eof() || actual.decimal(QStringLiteral("inva_Conteo1")) ==
                                       actual.decimal(QStringLiteral("inva_Conteo2"))))
        return rechaza(QStringLiteral(
            "Las cantidades para este articulo son iguales, no es necesario volver a capturalo"));
    if (cantidad->isZero() && !m_motivo &&
        !pregunta(QStringLiteral("La cantidad es cero, desea continuar"))) {
        m_campoRechazado = QStringLiteral("cantidad");
        return Captura::Rechazado;
    }

    if (actual.eof()) {
        c.execute(
            QStringLiteral("insert into tInventarioArticulo (alm_Clave, inv_Anio, inv_Clave, art_Clave, "
                           "alma_Clave, ") +
                columna(n) + QStringLiteral(") values (?, ?, ?, ?, ?, ?)"),
            fila << cantidad->toQVariant());
    } else {
        c.execute(QStringLiteral("update tInventarioArticulo set ") + columna(n) + QStringLiteral(" = ") +
                      columna(n) + QStringLiteral(" + ?") + dondeFila,
                  QVariantList{cantidad->toQVariant()} + fila);
    }
    m_campoRechazado.clear();
    m_ultimoArticulo = clave;
    m_ultimoLote = loteSerie;
    return Captura::Capturado;
}

std::optional<QString> InventarioFisico::controlDe(const QString &codigo)
{
    db::Connection &c = conexion();
    const QString clave = BuscaArticulo::porCodigo(c, codigo.trimmed());
    if (clave.isEmpty())
        return std::nullopt;
    db::Recordset rs = c.openRecordset(
        QStringLiteral("select coalesce(cinv_Clave, '') as control from tArticulo where art_Clave = ?"),
        {clave});
    if (rs.eof())
        return std::nullopt;
    return rs.text(QStringLiteral("control"));
}

bool InventarioFisico::fijaConteo(const QString &articulo, const QString &lote, int conteo,
                                  const QString &texto)
{
    bool ok = false;
    const Decimal valor = Decimal::fromString(texto.trimmed(), &ok);
    if (!ok || conteo < 1 || conteo > 3)
        return aviso(QStringLiteral("Debe capturar un numero")), false;
    if (valor.isNegative())
        return aviso(QStringLiteral("No se admiten existencias negativas")), false;
    return conexion().execute(QStringLiteral("update tInventarioArticulo set ") + columna(conteo) +
                                  QStringLiteral(" = ?") + kDonde +
                                  QStringLiteral(" and art_Clave = ? and alma_Clave = ?"),
                              {valor, m_almacen, m_anio, m_numero, articulo, llaveLote(lote)}) == 1;
}

bool InventarioFisico::eliminaArticulo(const QString &articulo, const QString &lote)
{
    if (!pregunta(QStringLiteral("Desea eliminar el articulo ") + articulo))
        return false;
    return conexion().execute(QStringLiteral("delete from tInventarioArticulo") + kDonde +
                                  QStringLiteral(" and art_Clave = ? and alma_Clave = ?"),
                              {m_almacen, m_anio, m_numero, articulo, llaveLote(lote)}) == 1;
}

bool InventarioFisico::cargaArchivo(const QString &ruta, QStringList &reporte)
{
    reporte.clear();
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly | QIODevice::Text)) {
        m_prompter.critical(QStringLiteral("No fue posible abrir el archivo ") + ruta);
        return false;
    }
    db::Connection &c = conexion();
    const QVariantList clave = {m_almacen, m_anio, m_numero};
    if (c.scalar(QStringLiteral("select count(*) from tInventarioArticulo") + kDonde, clave).toLongLong() >
            0 &&
        pregunta(
            QStringLiteral("Ya existen articulos registrados en el inventario, desea eliminarlos antes de "
                           "ejecuar la carga de informacion")))
        c.execute(QStringLiteral("delete from tInventarioArticulo") + kDonde, clave);

    static const QRegularExpression separador(QStringLiteral("[\\s,;]+"));
    QTextStream entrada(&archivo);
    QString motivo;
    m_motivo = &motivo;
    const auto fin = qScopeGuard([this] { m_motivo = nullptr; });
    for (int linea = 1; !entrada.atEnd(); ++linea) {
        const QString texto = entrada.readLine().trimmed();
        if (texto.isEmpty())
            continue;
        const QStringList campos = texto.split(separador, Qt::SkipEmptyParts);
        bool ok = false;
        const Decimal cantidad = campos.size() == 2 ? Decimal::fromString(campos[1], &ok) : Decimal();
        if (!ok) {
            reporte << QStringLiteral("Linea %1: no se entiende \"%2\"").arg(linea).arg(texto);
            continue;
        }
        motivo.clear();
        if (captura(campos[0], QString(), cantidad) != Captura::Capturado)
            reporte << QStringLiteral("Linea %1: ").arg(linea) + motivo;
    }
    return true;
}

bool InventarioFisico::hayDiferencias()
{
    return conexion()
               .scalar(QStringLiteral("select count(*) from tInventarioArticulo") + kDonde +
                           QStringLiteral(" and inva_Conteo1 <> inva_Conteo2"),
                       {m_almacen, m_anio, m_numero})
               .toLongLong() > 0;
}

bool InventarioFisico::cierraConteo()
{
    if (estado() != QLatin1String("REGISTRADO"))
        return false;
    db::Connection &c = conexion();
    const int n = conteoActual();
    QString sinContar = QStringLiteral("select count(*) from tInventarioArticulo") + kDonde +
                        QStringLiteral(" and ") + columna(n) + QStringLiteral(" = 0");
    if (n == 3)
        sinContar += QStringLiteral(" and inva_Conteo1 <> inva_Conteo2");
    if (c.scalar(sinContar, {m_almacen, m_anio, m_numero}).toLongLong() > 0) {
        const QString texto =
            n < 3 ? QStringLiteral(
                        "La captura de articulos contiene uno o varios registros con conteo %1 igual a "
                        "cero, desea continuar")
                        .arg(n)
                  : QStringLiteral("La captura de articulos contiene uno o varios registros con conteo igual "
                                   "a cero, desea continuar");
        if (!pregunta(texto))
            return false;
    }
    static const QStringList nombres = {QStringLiteral("Desea cerrar el primer conteo"),
                                        QStringLiteral("Desea cerrar el segundo conteo"),
                                        QStringLiteral("Desea cerrar el tercer conteo")};
    if (!pregunta(nombres[n - 1]))
        return false;
    const auto avanza = [&] {
        c.execute(QStringLiteral("update tInventario set inv_ConteoActual = ?") + kDonde,
                  {n + 1, m_almacen, m_anio, m_numero});
    };
    if (n < m_conteos) {
        if (n == 1) {
            avanza();
            m_prompter.information(
                QStringLiteral("Por favor capture nuevamente los articulos para el conteo 2"));
            return true;
        }
        if (hayDiferencias()) {
            avanza();
            m_prompter.information(
                QStringLiteral("Existen diferencias en el conteo por favor capture el conteo 3 "
                               "de los articulos en que hay diferencias"));
            return true;
        }
    }
    if (pregunta(QStringLiteral("La captura ha sido completada, desea procesar el inventario")))
        return procesa();
    return true;
}

bool InventarioFisico::reiniciaCaptura()
{
    if (estado() == QLatin1String("CERRADO"))
        return false;
    if (!pregunta(QStringLiteral("Desea iniciar de nuevo la captura del inventario")))
        return false;
    conexion().execute(
        QStringLiteral("update tInventario set inv_ConteoActual = 1, einv_Clave = 'REGISTRADO'") + kDonde,
        {m_almacen, m_anio, m_numero});
    return true;
}

bool InventarioFisico::procesa()
{
    const QString edo = estado();
    if (edo != QLatin1String("REGISTRADO") && edo != QLatin1String("PROCESADO"))
        return false;
    db::Connection &c = conexion();
    const QVariantList clave = {m_almacen, m_anio, m_numero};
    db::Transaction t(c);
    c.execute(QStringLiteral(
        "update tArticulo set cinv_Clave = 'LIBRE' where cinv_Clave is null or cinv_Clave = ''"));
    c.execute(m_conteos == 1
                  ? QStringLiteral("update tInventarioArticulo set inva_Resultado = inva_Conteo1") + kDonde
                  : QStringLiteral("update tInventarioArticulo set inva_Resultado = case inva_Conteo3 "
                                   "when 0 then inva_Conteo2 else inva_Conteo3 end") +
                        kDonde,
              clave);
    c.execute(QStringLiteral("update tInventario set einv_Clave = 'PROCESADO'") + kDonde, clave);
    c.execute(QStringLiteral("delete from tInventarioAjuste") + kDonde, clave);
    // The stock compared is the article's in the warehouse over all its lots; a lot or serial
    // article is compared lot by lot, since each of its counted rows names one.
    c.execute(QStringLiteral(R"(
insert into tInventarioAjuste (alm_Clave, inv_Anio, inv_Clave, art_Clave, alma_Clave, inva_Resultado,
    alma_Existencia, ajuste_Tipo, ajuste_Cantidad, art_Costo)
select x.alm_Clave, x.inv_Anio, x.inv_Clave, x.art_Clave, x.alma_Clave, x.inva_Resultado, x.existencia,
    case when x.inva_Resultado > x.existencia then 'E' else 'S' end,
    abs(x.inva_Resultado - x.existencia), x.art_Costo
from (
    select ia.alm_Clave, ia.inv_Anio, ia.inv_Clave, ia.art_Clave, ia.alma_Clave, ia.inva_Resultado,
        a.art_Costo,
        coalesce((select sum(aa.alma_Existencia) from tArticuloAlmacen aa
                  where aa.alm_Clave = ia.alm_Clave and aa.art_Clave = ia.art_Clave
                    and (a.cinv_Clave not in ('LOTE', 'SERIE') or aa.alma_Clave = ia.alma_Clave)), 0)
            as existencia
    from tInventarioArticulo ia
    join tArticulo a on a.art_Clave = ia.art_Clave
    where ia.alm_Clave = ? and ia.inv_Anio = ? and ia.inv_Clave = ? and a.cinv_Clave <> 'NINGUNO'
) x
where x.inva_Resultado <> x.existencia
)"),
              clave);
    // A whole count (all but 'PARCIAL') covers every lot of the articles it holds: a lot or serial
    // still on the books that nobody counted is not on the shelf, so it leaves.
    if (m_tipo != QLatin1String("PARCIAL"))
        c.execute(QStringLiteral(R"(
insert into tInventarioAjuste (alm_Clave, inv_Anio, inv_Clave, art_Clave, alma_Clave, inva_Resultado,
    alma_Existencia, ajuste_Tipo, ajuste_Cantidad, art_Costo)
select aa.alm_Clave, ?, ?, aa.art_Clave, aa.alma_Clave, 0, aa.alma_Existencia,
    case when aa.alma_Existencia > 0 then 'S' else 'E' end, abs(aa.alma_Existencia), a.art_Costo
from tArticuloAlmacen aa
join tArticulo a on a.art_Clave = aa.art_Clave
where aa.alm_Clave = ? and a.cinv_Clave in ('LOTE', 'SERIE') and aa.alma_Existencia <> 0
  and exists (select 1 from tInventarioArticulo ia where ia.alm_Clave = aa.alm_Clave and ia.inv_Anio = ?
              and ia.inv_Clave = ? and ia.art_Clave = aa.art_Clave)
  and not exists (select 1 from tInventarioArticulo ia where ia.alm_Clave = aa.alm_Clave and ia.inv_Anio = ?
                  and ia.inv_Clave = ? and ia.art_Clave = aa.art_Clave and ia.alma_Clave = aa.alma_Clave)
)"),
                  {m_anio, m_numero, m_almacen, m_anio, m_numero, m_anio, m_numero});
    t.commit();
    return true;
}

bool InventarioFisico::concluye()
{
    db::Connection &c = conexion();
    const QVariantList clave = {m_almacen, m_anio, m_numero};
    const QString factura = QStringLiteral("INV-%1-%2").arg(m_anio).arg(m_numero);
    try {
        if (estado() != QLatin1String("PROCESADO"))
            return aviso(QStringLiteral("El inventario debe procesarse antes de concluirlo")), false;
        if (!pregunta(QStringLiteral(
                "Esto modificara las existencias para los articulos afectados, desea continuar")))
            return false;
        // One transaction: a count changes the whole warehouse's stock or none of it.
        db::Transaction t(c);
        for (db::Recordset rs = c.openRecordset(
                 QStringLiteral("select art_Clave, alma_Clave, ajuste_Tipo, ajuste_Cantidad, art_Costo "
                                "from tInventarioAjuste") +
                     kDonde + QStringLiteral(" order by art_Clave, alma_Clave"),
                 clave);
             !rs.eof(); rs.moveNext()) {
            const QString articulo = rs.text(QStringLiteral("art_Clave"));
            // An adjustment sets the counted quantity: no boxes opened, no containers filled.
            if (!m_existencias.actualizaArticuloAlmacen(
                    m_almacen, articulo, rs.text(QStringLiteral("alma_Clave")),
                    rs.decimal(QStringLiteral("ajuste_Cantidad")), rs.text(QStringLiteral("ajuste_Tipo")),
                    origen(), QStringLiteral("SYS"), factura, rs.decimal(QStringLiteral("art_Costo")), false,
                    false, false, &c)) {
                t.rollback();
                // A refusal is the routine's own sentence; a failure a plain one, its text behind
                // "Detalles" (the stock call logged it).
                if (m_existencias.ultimoDetalle().isEmpty())
                    m_prompter.exclamation(QStringLiteral("No fue posible actualizar la existencia del articulo ") +
                                           articulo + QStringLiteral(": ") +
                                           m_existencias.ultimoError());
                else
                    m_prompter.detailedMessage(Prompter::Icon::Critical, m_existencias.ultimoError(),
                                               m_existencias.ultimoDetalle());
                return false;
            }
        }
        c.execute(QStringLiteral("update tInventario set einv_Clave = 'CERRADO'") + kDonde, clave);
        t.commit();
    } catch (const db::DbError &e) {
        m_prompter.detailedMessage(Prompter::Icon::Critical,
                                   QStringLiteral("No fue posible concluir el inventario"), e.description());
        return false;
    }
    m_prompter.information(QStringLiteral("El Inventario ha sido concluido con exito"));
    return true;
}

bool InventarioFisico::elimina()
{
    if (!pregunta(QStringLiteral("Esta seguro de eliminar el inventario ") +
                  QStringLiteral("%1-%2").arg(m_anio).arg(m_numero)))
        return false;
    db::Connection &c = conexion();
    const QVariantList clave = {m_almacen, m_anio, m_numero};
    db::Transaction t(c);
    c.execute(QStringLiteral("delete from tInventarioAjuste") + kDonde, clave);
    c.execute(QStringLiteral("delete from tInventarioArticulo") + kDonde, clave);
    c.execute(QStringLiteral("delete from tInventario") + kDonde, clave);
    t.commit();
    m_almacen.clear();
    return true;
}

QList<InventarioFisico::FilaConteo> InventarioFisico::articulos()
{
    QList<FilaConteo> out;
    for (db::Recordset rs = conexion().openRecordset(
             QStringLiteral(
                 "select ia.art_Clave, a.art_Nombre, ia.alma_Clave, ia.inva_Conteo1, ia.inva_Conteo2, "
                 "ia.inva_Conteo3 from tInventarioArticulo ia "
                 "join tArticulo a on a.art_Clave = ia.art_Clave "
                 "where ia.alm_Clave = ? and ia.inv_Anio = ? and ia.inv_Clave = ? "
                 "order by ia.art_Clave, ia.alma_Clave"),
             {m_almacen, m_anio, m_numero});
         !rs.eof(); rs.moveNext())
        out.append({rs.text(QStringLiteral("art_Clave")), rs.text(QStringLiteral("art_Nombre")),
                    rs.text(QStringLiteral("alma_Clave")), rs.decimal(QStringLiteral("inva_Conteo1")),
                    rs.decimal(QStringLiteral("inva_Conteo2")), rs.decimal(QStringLiteral("inva_Conteo3"))});
    return out;
}

QList<InventarioFisico::FilaAjuste> InventarioFisico::ajustes()
{
    QList<FilaAjuste> out;
    for (db::Recordset rs = conexion().openRecordset(
             QStringLiteral(
                 "select j.art_Clave, a.art_Nombre, j.alma_Clave, j.inva_Resultado, j.alma_Existencia, "
                 "j.ajuste_Tipo, j.ajuste_Cantidad, j.art_Costo from tInventarioAjuste j "
                 "join tArticulo a on a.art_Clave = j.art_Clave "
                 "where j.alm_Clave = ? and j.inv_Anio = ? and j.inv_Clave = ? "
                 "order by j.art_Clave, j.alma_Clave"),
             {m_almacen, m_anio, m_numero});
         !rs.eof(); rs.moveNext())
        out.append({rs.text(QStringLiteral("art_Clave")), rs.text(QStringLiteral("art_Nombre")),
                    rs.text(QStringLiteral("alma_Clave")), rs.decimal(QStringLiteral("inva_Resultado")),
                    rs.decimal(QStringLiteral("alma_Existencia")),
                    rs.text(QStringLiteral("ajuste_Tipo")).trimmed(),
                    rs.decimal(QStringLiteral("ajuste_Cantidad")), rs.decimal(QStringLiteral("art_Costo"))});
    return out;
}

QString InventarioFisico::nombreAjuste(const QString &tipo)
{
    return tipo == QLatin1String("E") ? QStringLiteral("ENTRADA DE ALMACEN")
                                      : QStringLiteral("SALIDA DE ALMACEN");
}
