#include "ProveedorEditor.h"

#include "ConnectionProvider.h"
#include "DatosFiscales.h"
#include "Log.h"
#include "MensajesMantenimiento.h"
#include "Prompter.h"

#include "Connection.h"
#include "DbError.h"
#include "Decimal.h"
#include "Transaction.h"

namespace {

const QStringList kDecimales = {QStringLiteral("prov_Descuento"),      QStringLiteral("prov_Bonificacion"),
                                QStringLiteral("prov_ValCantidadPorc"), QStringLiteral("prov_ValPrecioPorc"),
                                QStringLiteral("prov_LimCredito"),      QStringLiteral("prov_Saldo")};
const QStringList kEnteros = {QStringLiteral("prov_Periodo"), QStringLiteral("prov_DiasResurtido"),
                              QStringLiteral("prov_DiasResurtidoMax"), QStringLiteral("prov_Preferencia")};
const QStringList kBanderas = {QStringLiteral("prov_ActPrecio"), QStringLiteral("prov_ReqPedido"),
                               QStringLiteral("prov_ReqFalta"),  QStringLiteral("prov_ValCantidad"),
                               QStringLiteral("prov_ValPrecio"), QStringLiteral("prov_EDI"),
                               QStringLiteral("prov_UtilDesc"),  QStringLiteral("prov_ActLista"),
                               QStringLiteral("prov_DispLista"), QStringLiteral("prov_ValMaxMin")};
// Kept by accounts payable: read, never written here.
const QString kSaldo = QStringLiteral("prov_Saldo");

using Catalogo = EditorMaestro::Catalogo;
const Catalogo kCatalogos[] = {
    {"pais_Clave", "tPais", "pais_Clave", "pais_Nombre"},
    {"edo_Clave", "tEstado", "edo_Clave", "edo_Nombre"},
    {"prov_RegimenFiscal", "tRegimenFiscal", "regf_Clave", "regf_Nombre"},
    {"tpag_Clave", "tTipoPago", "tpago_Clave", "tpago_Nombre"},
    {"per_Clave", "tPeriodo", "per_Clave", "per_Nombre"},
    {"banco_Clave", "tBanco", "banco_Clave", "banco_Nombre"},
    {"cpago_Clave", "tControlPago", "cpago_Clave", "cpago_Nombre"},
    {"percp_Clave", "tPeriodoControlPago", "percp_Clave", "percp_Nombre"},
    {"control_Clave", "tControlPrecio", "control_Clave", "control_Nombre"},
};

bool contiene(const QStringList &lista, const QString &campo)
{
    return lista.contains(campo, Qt::CaseInsensitive);
}

} // namespace

const QStringList &ProveedorEditor::campos()
{
    static const QStringList c = {
        // identity
        QStringLiteral("prov_Clave"), QStringLiteral("prov_Abreviatura"), QStringLiteral("prov_Nombre"),
        QStringLiteral("prov_RFC"), QStringLiteral("prov_Domicilio"), QStringLiteral("prov_Ciudad"),
        QStringLiteral("prov_CP"), QStringLiteral("pais_Clave"), QStringLiteral("edo_Clave"),
        QStringLiteral("prov_Agente"), QStringLiteral("prov_Supervisor"), QStringLiteral("prov_Tel1"),
        QStringLiteral("prov_Tel2"), QStringLiteral("prov_Fax"), QStringLiteral("prov_email"),
        // commercial terms
        QStringLiteral("prov_Descuento"), QStringLiteral("prov_Bonificacion"), QStringLiteral("tpag_Clave"),
        QStringLiteral("prov_Periodo"), QStringLiteral("per_Clave"), QStringLiteral("banco_Clave"),
        QStringLiteral("prov_Sucursal"), QStringLiteral("prov_Cuenta"), QStringLiteral("prov_Referencia"),
        // reception rules
        QStringLiteral("prov_ActPrecio"), QStringLiteral("prov_ReqPedido"), QStringLiteral("prov_ReqFalta"),
        QStringLiteral("prov_ValCantidad"), QStringLiteral("prov_ValCantidadPorc"), QStringLiteral("prov_ValPrecio"),
        QStringLiteral("prov_ValPrecioPorc"),
        // payment control and credit
        QStringLiteral("cpago_Clave"), QStringLiteral("percp_Clave"), QStringLiteral("prov_LimCredito"),
        QStringLiteral("prov_Saldo"),
        // electronic exchange
        QStringLiteral("prov_EDI"), QStringLiteral("prov_CodProvEDI"), QStringLiteral("prov_CodClienteEDI"),
        // replenishment
        QStringLiteral("control_Clave"), QStringLiteral("prov_UtilDesc"), QStringLiteral("prov_DiasResurtido"),
        QStringLiteral("prov_DiasResurtidoMax"), QStringLiteral("prov_Preferencia"), QStringLiteral("prov_ActLista"),
        QStringLiteral("prov_DispLista"), QStringLiteral("prov_ValMaxMin"),
        // tax
        QStringLiteral("prov_RegimenFiscal")};
    return c;
}

bool ProveedorEditor::esSeleccion(const QString &campo)
{
    return catalogoDe(kCatalogos, campo) != nullptr;
}

const EditorMaestro::Tabla &ProveedorEditor::tabla()
{
    static const Tabla t{QStringLiteral("tProveedor"),
                         QStringLiteral("prov_Clave"),
                         QStringLiteral("prov_Nombre"),
                         QStringLiteral("prov"),
                         QStringLiteral("proveedor"),
                         campos(),
                         kDecimales,
                         kEnteros,
                         kBanderas + QStringList{QStringLiteral("prov_Nombre")},
                         {kSaldo}};
    return t;
}

bool ProveedorEditor::esBandera(const QString &campo)
{
    return contiene(kBanderas, campo);
}

const QList<QPair<QString, QString>> &ProveedorEditor::tablasQueRefieren()
{
    // Articles (preferred supplier and supplier of the last purchase), stock history, and the
    // purchasing, payables, bank and airtime documents.
    static const QList<QPair<QString, QString>> t = {
        {QStringLiteral("tArticulo"), QStringLiteral("prov_Clave")},
        {QStringLiteral("tArticulo"), QStringLiteral("prov_ClaveAct")},
        {QStringLiteral("tArticuloKardex"), QStringLiteral("prov_Clave")},
        {QStringLiteral("tLista"), QStringLiteral("prov_Clave")},
        {QStringLiteral("tOferta"), QStringLiteral("prov_Clave")},
        {QStringLiteral("tFaltante"), QStringLiteral("prov_Clave")},
        {QStringLiteral("tRecepcion"), QStringLiteral("prov_Clave")},
        {QStringLiteral("tFactura"), QStringLiteral("prov_Clave")},
        {QStringLiteral("TPAGO"), QStringLiteral("prov_Clave")},
        {QStringLiteral("tDevolucionProveedor"), QStringLiteral("prov_Clave")},
        {QStringLiteral("tFaltanteProveedor"), QStringLiteral("prov_Clave")},
        {QStringLiteral("tNotaProveedor"), QStringLiteral("prov_Clave")},
        {QStringLiteral("tMovCuentaBancaria"), QStringLiteral("prov_Clave")},
        {QStringLiteral("tTiempoAireConfig"), QStringLiteral("prov_Clave")},
        {QStringLiteral("tProveedorProducto"), QStringLiteral("prov_Clave")},
        {QStringLiteral("tTiempoAire"), QStringLiteral("prov_Clave")},
    };
    return t;
}

ProveedorEditor::ProveedorEditor(ConnectionProvider &connections, Prompter &prompter)
    : EditorMaestro(connections, prompter, tabla())
{
    nuevo();
}

void ProveedorEditor::nuevo()
{
    m_nuevo = true;
    m_continuar = false;
    limpiaTexto();
    for (const QString &c : kBanderas)
        m_texto.insert(c.toLower(), QStringLiteral("N"));
    m_texto.insert(QStringLiteral("pais_clave"), QStringLiteral("MEX"));
    m_texto.insert(QStringLiteral("tpag_clave"), QStringLiteral("CREDITO"));
    m_texto.insert(QStringLiteral("prov_periodo"), QStringLiteral("30"));
    m_texto.insert(QStringLiteral("per_clave"), QStringLiteral("DIA"));
    m_texto.insert(QStringLiteral("prov_diasresurtido"), QStringLiteral("1"));
    m_texto.insert(QStringLiteral("prov_diasresurtidomax"), QStringLiteral("3"));
    m_texto.insert(QStringLiteral("prov_preferencia"), QStringLiteral("1"));
    try {
        cargaListas(QString());
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("nuevo"), ErrorInfo::fromException(e));
    }
}

void ProveedorEditor::cargaListas(const QString &clave)
{
    db::Connection &c = m_connections.getConnection();
    m_departamentos.clear();
    for (db::Recordset rs = c.openRecordset(
             QStringLiteral("select t.tart_Clave, t.tart_Nombre, p.tap_Seleccion from tTipoArticulo t "
                            "left join TPROVEEDORTIPOART p on p.tart_Clave = t.tart_Clave and p.prov_Clave = ? "
                            "order by t.tart_Clave"),
             {clave});
         !rs.eof(); rs.moveNext())
        m_departamentos.append({rs.value(0).toString().trimmed(), rs.value(1).toString().trimmed(),
                                rs.value(2).toString().trimmed().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0});
    m_intercambios.clear();
    for (db::Recordset rs = c.openRecordset(
             QStringLiteral("select t.tedi_Clave, t.tedi_Nombre, e.layout_Clave from tTipoEDI t "
                            "left join tProveedorEDI e on e.tedi_Clave = t.tedi_Clave and e.prov_Clave = ? "
                            "order by t.tedi_Orden, t.tedi_Clave"),
             {clave});
         !rs.eof(); rs.moveNext())
        m_intercambios.append(
            {rs.value(0).toString().trimmed(), rs.value(1).toString().trimmed(), rs.value(2).toString().trimmed()});
}

bool ProveedorEditor::carga(const QString &claveTexto)
{
    const QString clave = claveTexto.trimmed();
    if (!leeRegistro(clave))
        return false;
    cargaListas(clave);
    m_nuevo = false;
    return true;
}

bool ProveedorEditor::setTexto(const QString &campo, const QString &valor)
{
    if (esBandera(campo))
        m_texto.insert(campo.toLower(), valor.trimmed().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0
                                            ? QStringLiteral("S")
                                            : QStringLiteral("N"));
    else
        m_texto.insert(campo.toLower(), valor);
    return true;
}

QList<ProveedorEditor::Opcion> ProveedorEditor::opciones(const QString &campo) const
{
    return opcionesDe(catalogoDe(kCatalogos, campo), QStringLiteral("pais_Clave"));
}

bool ProveedorEditor::marcaDepartamento(const QString &clave, bool servido)
{
    for (Departamento &d : m_departamentos)
        if (d.clave == clave.trimmed()) {
            d.servido = servido;
            return true;
        }
    return false;
}

bool ProveedorEditor::setLayout(const QString &tipo, const QString &layout)
{
    const QString l = layout.trimmed();
    for (Intercambio &i : m_intercambios)
        if (i.tipo == tipo.trimmed()) {
            i.layout = l == ninguno() ? QString() : l;
            return true;
        }
    return false;
}

QList<ProveedorEditor::Opcion> ProveedorEditor::layouts(const QString &tipo) const
{
    QList<Opcion> out{{QString(), ninguno()}};
    db::Connection &c = m_connections.getConnection();
    if (c.tableExists(QStringLiteral("tLayOut"))) {
        for (db::Recordset rs = c.openRecordset(QStringLiteral("select layout_Clave, layout_NOMBRE from tLayOut "
                                                               "where tedi_Clave = ? order by layout_NOMBRE"),
                                                {tipo});
             !rs.eof(); rs.moveNext())
            out.append({rs.value(0).toString().trimmed(), rs.value(1).toString().trimmed()});
    }
    for (const Intercambio &i : m_intercambios) {
        if (i.tipo != tipo || i.layout.isEmpty())
            continue;
        bool ofrecido = false;
        for (const Opcion &o : out)
            ofrecido = ofrecido || o.first == i.layout;
        if (!ofrecido)
            out.append({i.layout, i.layout});
    }
    return out;
}

bool ProveedorEditor::validaDatos()
{
    m_campo.clear();
    const auto vacio = [&](const char *campo) { return texto(QLatin1String(campo)).trimmed().isEmpty(); };
    if (vacio("prov_Clave"))
        return rechaza(Pestana::Generales, QStringLiteral("prov_Clave"), QStringLiteral("Debe indicar una clave"));
    if (vacio("prov_Nombre"))
        return rechaza(Pestana::Generales, QStringLiteral("prov_Nombre"), QStringLiteral("Debe indicar un nombre"));
    if (vacio("pais_Clave"))
        return rechaza(Pestana::Generales, QStringLiteral("pais_Clave"), QStringLiteral("Debe indicar un pais"));
    if (vacio("tpag_Clave"))
        return rechaza(Pestana::Condiciones, QStringLiteral("tpag_Clave"),
                       QStringLiteral("Debe indicar una forma de  pago"));
    if (vacio("edo_Clave"))
        return rechaza(Pestana::Generales, QStringLiteral("edo_Clave"), QStringLiteral("Debe indicar un estado"));
    if (!revisaFiscales() || !revisaNumeros())
        return false;
    return claveLibre(Pestana::Generales);
}

bool ProveedorEditor::revisaNumeros()
{
    // Percentages: an empty field counts as 0.
    const std::tuple<const char *, Pestana, const char *> porcentajes[] = {
        {"prov_Descuento", Pestana::Condiciones, "Debe indicar el descuento [0-100]%"},
        {"prov_Bonificacion", Pestana::Condiciones, "Debe indicar la bonificacion [0-100]%"},
        {"prov_ValCantidadPorc", Pestana::Recepcion, "Debe indicar la tolerancia de la cantidad [0-100]%"},
        {"prov_ValPrecioPorc", Pestana::Recepcion, "Debe indicar la tolerancia del precio [0-100]%"},
    };
    for (const auto &[campo, pestana, mensaje] : porcentajes) {
        const QString t = texto(QLatin1String(campo)).trimmed();
        Decimal valor;
        if (!t.isEmpty() && (!esNumero(t, &valor) || valor.isNegative() || valor > Decimal(100)))
            return rechaza(pestana, QLatin1String(campo), QLatin1String(mensaje));
    }
    // Days, counts and amounts: what the database would otherwise refuse with a technical error.
    const std::pair<const char *, Pestana> cantidades[] = {
        {"prov_Periodo", Pestana::Condiciones},       {"prov_LimCredito", Pestana::Condiciones},
        {"prov_DiasResurtido", Pestana::Resurtido},   {"prov_DiasResurtidoMax", Pestana::Resurtido},
        {"prov_Preferencia", Pestana::Resurtido},
    };
    for (const auto &[campo, pestana] : cantidades) {
        const QString t = texto(QLatin1String(campo)).trimmed();
        Decimal valor;
        if (!t.isEmpty() && (!esNumero(t, &valor) || valor.isNegative() ||
                             (contiene(kEnteros, QLatin1String(campo)) && valor != Decimal(valor.toInt64()))))
            return rechaza(pestana, QLatin1String(campo), QStringLiteral("Debe indicar un numero mayor o igual a cero"));
    }
    const qint64 dias = Decimal::fromString(texto(QStringLiteral("prov_DiasResurtido")).trimmed()).toInt64();
    const qint64 maximo = Decimal::fromString(texto(QStringLiteral("prov_DiasResurtidoMax")).trimmed()).toInt64();
    if (maximo < dias)
        return rechaza(Pestana::Resurtido, QStringLiteral("prov_DiasResurtidoMax"),
                       QStringLiteral("Los dias maximos de resurtido no pueden ser menos que los dias de resurtido"));
    return true;
}

bool ProveedorEditor::revisaFiscales()
{
    using R = DatosFiscales::Resultado;
    // Postal codes are checked for Mexican addresses only: other countries write theirs otherwise.
    const QString cp = texto(QStringLiteral("prov_CP")).trimmed();
    if (!cp.isEmpty() && texto(QStringLiteral("pais_Clave")).trimmed() == QLatin1String("MEX") &&
        !DatosFiscales::codigoPostalValido(cp))
        return rechaza(Pestana::Generales, QStringLiteral("prov_CP"),
                       QStringLiteral("El codigo postal debe tener 5 digitos"));
    const QString rfc = DatosFiscales::normaliza(texto(QStringLiteral("prov_RFC")));
    if (rfc.isEmpty())
        return true;
    const R r = DatosFiscales::revisaRfc(rfc);
    if (r == R::FormatoInvalido)
        return rechaza(Pestana::Generales, QStringLiteral("prov_RFC"),
                       QStringLiteral("El RFC no es valido: debe tener 13 caracteres para personas fisicas o 12 "
                                      "para personas morales (letras, fecha AAMMDD y homoclave)"));
    if (r == R::DigitoIncorrecto &&
        !m_prompter.question(QStringLiteral("El digito verificador del RFC ") + rfc +
                                 QStringLiteral(" no corresponde, desea continuar"),
                             false))
        return detiene(Pestana::Generales, QStringLiteral("prov_RFC"));
    m_texto.insert(QStringLiteral("prov_rfc"), rfc);
    // A regime the SAT does not allow for the taxpayer's kind would make its invoices invalid.
    const QString regimen = texto(QStringLiteral("prov_RegimenFiscal")).trimmed();
    if (!regimen.isEmpty() && r != R::Generico) {
        const bool fisica = DatosFiscales::esPersonaFisica(rfc);
        if (m_connections.getConnection()
                .scalar(fisica ? QStringLiteral("select regf_Fisica from tRegimenFiscal where regf_Clave = ?")
                               : QStringLiteral("select regf_Moral from tRegimenFiscal where regf_Clave = ?"),
                        {regimen})
                .toString() != QLatin1String("S"))
            return rechaza(Pestana::Generales, QStringLiteral("prov_RegimenFiscal"),
                           QStringLiteral("El regimen fiscal ") + regimen + QStringLiteral(" no aplica a ") +
                               (fisica ? QStringLiteral("personas fisicas") : QStringLiteral("personas morales")));
    }
    return true;
}

void ProveedorEditor::escribe()
{
    escribeRegistro();
    db::Connection &c = m_connections.getConnection();
    const QString clave = texto(QStringLiteral("prov_Clave")).trimmed();
    c.execute(QStringLiteral("delete from TPROVEEDORTIPOART where prov_Clave = ?"), {clave});
    for (const Departamento &d : std::as_const(m_departamentos))
        if (d.servido)
            c.execute(QStringLiteral("insert into TPROVEEDORTIPOART (prov_Clave, tart_Clave, tap_Seleccion) "
                                     "values (?, ?, 'S')"),
                      {clave, d.clave});
    c.execute(QStringLiteral("delete from tProveedorEDI where prov_Clave = ?"), {clave});
    for (const Intercambio &i : std::as_const(m_intercambios))
        if (!i.layout.isEmpty())
            c.execute(QStringLiteral("insert into tProveedorEDI (prov_Clave, tedi_Clave, layout_Clave) values (?, ?, ?)"),
                      {clave, i.tipo, i.layout});
}

bool ProveedorEditor::guardaDatos()
{
    return guarda([this] { return validaDatos(); }, [this] { escribe(); }, true, QStringLiteral("proveedores"));
}

bool ProveedorEditor::eliminarRegistro(const QString &clave)
{
    return elimina(clave, tablasQueRefieren(), [] { return QStringLiteral("Esta seguro de eliminar el proveedor"); },
                   {QStringLiteral("delete from TPROVEEDORTIPOART where prov_Clave = ?"),
                    QStringLiteral("delete from tProveedorEDI where prov_Clave = ?"),
                    QStringLiteral("delete from tProveedor where prov_Clave = ?")});
}
