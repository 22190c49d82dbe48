#include "ClienteEditor.h"

#include "ConnectionProvider.h"
#include "DatosFiscales.h"
#include "Log.h"
#include "MensajesMantenimiento.h"
#include "Permisos.h"
#include "Prompter.h"
#include "cConfigure.h"

#include "Connection.h"
#include "DbError.h"
#include "Decimal.h"
#include "Transaction.h"

namespace {

const QString kFormato = QStringLiteral("0.00");

const QStringList kDecimales = {QStringLiteral("cli_Descuento"), QStringLiteral("cli_ComisionVendedor"),
                                QStringLiteral("cli_Credito"), QStringLiteral("cli_ComisionCobrador")};

using Catalogo = EditorMaestro::Catalogo;
const Catalogo kCatalogos[] = {
    {"edoc_Clave", "tEstadoCliente", "edoc_Clave", "edoc_Nombre"},
    {"pais_Clave", "tPais", "pais_Clave", "pais_Nombre"},
    {"edo_Clave", "tEstado", "edo_Clave", "edo_Nombre"},
    {"pais_ClaveFis", "tPais", "pais_Clave", "pais_Nombre"},
    {"edo_ClaveFis", "tEstado", "edo_Clave", "edo_Nombre"},
    {"cli_RegimenFiscal", "tRegimenFiscal", "regf_Clave", "regf_Nombre"},
    {"cli_UsoCFDI", "tUsoCFDI", "uso_Clave", "uso_Nombre"},
    {"usu_ClaveVendedor", "tUsuario", "usu_Clave", "usu_Nombre"},
    {"per_Clave", "tPeriodo", "per_Clave", "per_Nombre"},
    {"cpago_Clave", "tControlPago", "cpago_Clave", "cpago_Nombre"},
    {"percp_Clave", "tPeriodoControlPago", "percp_Clave", "percp_Nombre"},
    {"usu_ClaveCobrador", "tUsuario", "usu_Clave", "usu_Nombre"},
    {"tcli_Clave", "tTipoCliente", "tcli_Clave", "tcli_Nombre"},
    {"tent_Clave", "tTipoEntrega", "tent_Clave", "tent_Nombre"},
    {"zona_Clave", "tZona", "zona_Clave", "zona_Nombre"},
    {"ruta_Clave", "tRuta", "ruta_Clave", "ruta_Nombre"},
    {"usu_ClaveEnvio", "tUsuario", "usu_Clave", "usu_Nombre"},
};

} // namespace

const QString ClienteEditor::kDerechoCambiarTipo = QStringLiteral("frmTipoCliente_CambiarTipoCliente");

const QStringList &ClienteEditor::campos()
{
    static const QStringList c = {
        QStringLiteral("cli_Clave"),         QStringLiteral("cli_Nombre"),        QStringLiteral("cli_Descuento"),
        QStringLiteral("edoc_Clave"),        QStringLiteral("cli_Calle"),         QStringLiteral("cli_Interior"),
        QStringLiteral("cli_Exterior"),      QStringLiteral("cli_Colonia"),       QStringLiteral("cli_DelMun"),
        QStringLiteral("cli_Ciudad"),        QStringLiteral("edo_Clave"),         QStringLiteral("pais_Clave"),
        QStringLiteral("cli_Telefono1"),     QStringLiteral("cli_Telefono2"),     QStringLiteral("cli_Fax"),
        QStringLiteral("cli_email"),         QStringLiteral("cli_Referencia"),    QStringLiteral("cli_CP"),
        QStringLiteral("cli_RFC"),           QStringLiteral("cli_CURP"),          QStringLiteral("cli_NombreFis"),
        QStringLiteral("cli_CalleFis"),      QStringLiteral("cli_InteriorFis"),   QStringLiteral("cli_ExteriorFis"),
        QStringLiteral("cli_ColoniaFis"),    QStringLiteral("cli_DelMunFis"),     QStringLiteral("cli_CiudadFis"),
        QStringLiteral("edo_ClaveFis"),      QStringLiteral("pais_ClaveFis"),     QStringLiteral("cli_CPFis"),
        QStringLiteral("cli_Nota1"),         QStringLiteral("cli_Nota2"),         QStringLiteral("usu_ClaveVendedor"),
        QStringLiteral("cli_ComisionVendedor"), QStringLiteral("cli_Credito"),    QStringLiteral("cli_Periodo"),
        QStringLiteral("per_Clave"),         QStringLiteral("cpago_Clave"),       QStringLiteral("percp_Clave"),
        QStringLiteral("usu_ClaveCobrador"), QStringLiteral("cli_ComisionCobrador"), QStringLiteral("tcli_Clave"),
        QStringLiteral("tent_Clave"),        QStringLiteral("zona_Clave"),        QStringLiteral("ruta_Clave"),
        QStringLiteral("usu_ClaveEnvio"),    QStringLiteral("cli_RegimenFiscal"), QStringLiteral("cli_UsoCFDI")};
    return c;
}

bool ClienteEditor::esSeleccion(const QString &campo)
{
    return catalogoDe(kCatalogos, campo) != nullptr;
}

const EditorMaestro::Tabla &ClienteEditor::tabla()
{
    static const Tabla t{QStringLiteral("tCliente"),
                         QStringLiteral("cli_Clave"),
                         QStringLiteral("cli_Nombre"),
                         QStringLiteral("cli"),
                         QStringLiteral("cliente"),
                         campos(),
                         kDecimales,
                         {QStringLiteral("cli_Periodo")},
                         {QStringLiteral("cli_Nombre"), QStringLiteral("tcli_Clave")},
                         {}};
    return t;
}

const QStringList &ClienteEditor::tablasQueRefieren()
{
    // Sales, held sales, receivables, payments received, credit notes, issued invoices and patients.
    static const QStringList t = {QStringLiteral("tVenta"),        QStringLiteral("tVentaPendiente"),
                                  QStringLiteral("tCobranza"),     QStringLiteral("TCOBRO"),
                                  QStringLiteral("tNotaCliente"),  QStringLiteral("tFacturaEmitida"),
                                  QStringLiteral("tPaciente")};
    return t;
}

ClienteEditor::ClienteEditor(ConnectionProvider &connections, cConfigure &config, Permisos &permisos,
                             Prompter &prompter)
    : EditorMaestro(connections, prompter, tabla()), m_config(config), m_permisos(permisos)
{
    nuevo();
}

bool ClienteEditor::puede(const QString &modulo) const
{
    return m_permisos.hasPermission(modulo);
}

bool ClienteEditor::puedeCambiarTipo() const
{
    return m_nuevo || puede(kDerechoCambiarTipo);
}

void ClienteEditor::nuevo()
{
    m_nuevo = true;
    m_tipoCargado.clear();
    m_continuar = false;
    limpiaTexto();
    m_texto.insert(QStringLiteral("cli_periodo"), QStringLiteral("0"));
    m_texto.insert(QStringLiteral("edoc_clave"), QStringLiteral("ACTIVO"));
    m_texto.insert(QStringLiteral("pais_clave"), QStringLiteral("MEX"));
    m_texto.insert(QStringLiteral("pais_clavefis"), QStringLiteral("MEX"));
    m_texto.insert(QStringLiteral("tent_clave"), QStringLiteral("MOSTRADOR"));
    setTexto(QStringLiteral("tcli_Clave"), m_config.getValue(QStringLiteral("TIPO-CLIENTE-POR-OMISION")).toString());
}

bool ClienteEditor::carga(const QString &clave)
{
    if (!leeRegistro(clave.trimmed(), [this] { nuevo(); }))
        return false;
    m_nuevo = false;
    m_tipoCargado = texto(QStringLiteral("tcli_Clave"));
    return true;
}

bool ClienteEditor::setTexto(const QString &campo, const QString &valor)
{
    if (campo.compare(QLatin1String("tcli_Clave"), Qt::CaseInsensitive) == 0) {
        const QString tipo = valor.trimmed();
        if (!m_nuevo && tipo != m_tipoCargado && !puede(kDerechoCambiarTipo)) {
            m_prompter.exclamation(MensajesMantenimiento::sinAcceso());
            return false;
        }
        m_texto.insert(campo.toLower(), tipo);
        if (m_nuevo)
            aplicaTipo(tipo);
        return true;
    }
    m_texto.insert(campo.toLower(), valor);
    return true;
}

void ClienteEditor::aplicaTipo(const QString &tipo)
{
    if (tipo.isEmpty())
        return;
    try {
        db::Recordset rs = m_connections.getConnection().openRecordset(
            QStringLiteral("select tcli_Descuento, tcli_Periodo, per_Clave, tcli_Credito, cpago_Clave, percp_Clave "
                           "from tTipoCliente where tcli_Clave = ?"),
            {tipo});
        if (rs.eof())
            return;
        m_texto.insert(QStringLiteral("cli_descuento"), rs.decimal(QStringLiteral("tcli_Descuento")).format(kFormato));
        m_texto.insert(QStringLiteral("cli_periodo"), QString::number(rs.integer(QStringLiteral("tcli_Periodo"))));
        m_texto.insert(QStringLiteral("per_clave"), rs.text(QStringLiteral("per_Clave")).trimmed());
        m_texto.insert(QStringLiteral("cli_credito"), rs.decimal(QStringLiteral("tcli_Credito")).format(kFormato));
        m_texto.insert(QStringLiteral("cpago_clave"), rs.text(QStringLiteral("cpago_Clave")).trimmed());
        m_texto.insert(QStringLiteral("percp_clave"), rs.text(QStringLiteral("percp_Clave")).trimmed());
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("aplicaTipo"), ErrorInfo::fromException(e));
    }
}

QList<ClienteEditor::Opcion> ClienteEditor::opciones(const QString &campo) const
{
    return opcionesDe(catalogoDe(kCatalogos, campo), campo.endsWith(QLatin1String("Fis"), Qt::CaseInsensitive)
                                                         ? QStringLiteral("pais_ClaveFis")
                                                         : QStringLiteral("pais_Clave"));
}

bool ClienteEditor::validaDatos()
{
    m_campo.clear();
    const auto vacio = [&](const char *campo) { return texto(QLatin1String(campo)).trimmed().isEmpty(); };
    if (vacio("cli_Clave"))
        return rechaza(Pestana::General, QStringLiteral("cli_Clave"), QStringLiteral("Debe indicar una clave"));
    if (vacio("pais_Clave"))
        return rechaza(Pestana::Domicilio, QStringLiteral("pais_Clave"), QStringLiteral("Debe indicar el pais"));
    if (vacio("edo_Clave"))
        return rechaza(Pestana::Domicilio, QStringLiteral("edo_Clave"), QStringLiteral("Debe indicar el estado"));
    if (vacio("pais_ClaveFis"))
        return rechaza(Pestana::Fiscal, QStringLiteral("pais_ClaveFis"), QStringLiteral("Debe indicar el Pais"));
    if (vacio("cli_Nombre"))
        return rechaza(Pestana::General, QStringLiteral("cli_Nombre"), QStringLiteral("Debe indicar un nombre"));
    Decimal descuento;
    if (!esNumero(texto(QStringLiteral("cli_Descuento")), &descuento) || descuento.isNegative() ||
        descuento > Decimal(100))
        return rechaza(Pestana::General, QStringLiteral("cli_Descuento"),
                       QStringLiteral("Debe indicar el descuento [0-100]%"));
    if (vacio("tcli_Clave"))
        return rechaza(Pestana::Credito, QStringLiteral("tcli_Clave"), QStringLiteral("Debe indicar un tipo de cliente"));

    // What the database would otherwise refuse with a technical error, or take silently.
    for (const char *campo : {"cli_Credito", "cli_ComisionVendedor", "cli_ComisionCobrador", "cli_Periodo"}) {
        const QString t = texto(QLatin1String(campo)).trimmed();
        Decimal valor;
        if (!t.isEmpty() && (!esNumero(t, &valor) || valor.isNegative() ||
                             (campo == QLatin1String("cli_Periodo") && valor != Decimal(valor.toInt64()))))
            return rechaza(Pestana::Credito, QLatin1String(campo),
                           QStringLiteral("Debe indicar un numero mayor o igual a cero"));
    }
    for (const char *campo : {"cli_ComisionVendedor", "cli_ComisionCobrador"}) {
        Decimal valor;
        if (esNumero(texto(QLatin1String(campo)), &valor) && valor > Decimal(100))
            return rechaza(Pestana::Credito, QLatin1String(campo), QStringLiteral("La comision debe estar entre 0 y 100%"));
    }
    if (!revisaFiscales())
        return false;
    if (!claveLibre(Pestana::General))
        return false;
    if (!m_nuevo && texto(QStringLiteral("tcli_Clave")).trimmed() != m_tipoCargado && !puede(kDerechoCambiarTipo))
        return rechaza(Pestana::Credito, QStringLiteral("tcli_Clave"), MensajesMantenimiento::sinAcceso());
    return true;
}

bool ClienteEditor::revisaFiscales()
{
    using R = DatosFiscales::Resultado;
    // Postal codes are checked for Mexican addresses only: other countries write theirs otherwise.
    for (const auto &[cp, pais, pestana] :
         {std::tuple{"cli_CP", "pais_Clave", Pestana::Domicilio}, std::tuple{"cli_CPFis", "pais_ClaveFis", Pestana::Fiscal}}) {
        const QString t = texto(QLatin1String(cp)).trimmed();
        if (!t.isEmpty() && texto(QLatin1String(pais)).trimmed() == QLatin1String("MEX") &&
            !DatosFiscales::codigoPostalValido(t))
            return rechaza(pestana, QLatin1String(cp), QStringLiteral("El codigo postal debe tener 5 digitos"));
    }
    const QString rfc = DatosFiscales::normaliza(texto(QStringLiteral("cli_RFC")));
    if (!rfc.isEmpty()) {
        const R r = DatosFiscales::revisaRfc(rfc);
        if (r == R::FormatoInvalido)
            return rechaza(Pestana::Fiscal, QStringLiteral("cli_RFC"),
                           QStringLiteral("El RFC no es valido: debe tener 13 caracteres para personas fisicas o 12 "
                                          "para personas morales (letras, fecha AAMMDD y homoclave)"));
        if (r == R::DigitoIncorrecto &&
            !m_prompter.question(QStringLiteral("El digito verificador del RFC ") + rfc +
                                     QStringLiteral(" no corresponde, desea continuar"),
                                 false))
            return detiene(Pestana::Fiscal, QStringLiteral("cli_RFC"));
        m_texto.insert(QStringLiteral("cli_rfc"), rfc);
    }
    const QString curp = DatosFiscales::normaliza(texto(QStringLiteral("cli_CURP")));
    if (!curp.isEmpty()) {
        const R r = DatosFiscales::revisaCurp(curp);
        if (r == R::FormatoInvalido)
            return rechaza(Pestana::Fiscal, QStringLiteral("cli_CURP"),
                           QStringLiteral("La CURP no es valida: debe tener 18 caracteres"));
        if (r == R::DigitoIncorrecto &&
            !m_prompter.question(QStringLiteral("El digito verificador de la CURP ") + curp +
                                     QStringLiteral(" no corresponde, desea continuar"),
                                 false))
            return detiene(Pestana::Fiscal, QStringLiteral("cli_CURP"));
        if (!rfc.isEmpty() && DatosFiscales::esPersonaFisica(rfc) && r != R::FormatoInvalido &&
            DatosFiscales::revisaRfc(rfc) != R::Generico && curp.left(10) != rfc.left(10) &&
            !m_prompter.question(QStringLiteral("La CURP y el RFC no corresponden a la misma persona, desea continuar"),
                                 false))
            return detiene(Pestana::Fiscal, QStringLiteral("cli_CURP"));
        m_texto.insert(QStringLiteral("cli_curp"), curp);
    }
    // A regime or use the SAT does not allow for the taxpayer's kind would be refused on invoicing.
    if (!rfc.isEmpty()) {
        const bool fisica = DatosFiscales::esPersonaFisica(rfc);
        const QString persona = fisica ? QStringLiteral("personas fisicas") : QStringLiteral("personas morales");
        db::Connection &c = m_connections.getConnection();
        const QString regimen = texto(QStringLiteral("cli_RegimenFiscal")).trimmed();
        if (!regimen.isEmpty() &&
            c.scalar(fisica ? QStringLiteral("select regf_Fisica from tRegimenFiscal where regf_Clave = ?")
                            : QStringLiteral("select regf_Moral from tRegimenFiscal where regf_Clave = ?"),
                     {regimen})
                    .toString() != QLatin1String("S"))
            return rechaza(Pestana::Fiscal, QStringLiteral("cli_RegimenFiscal"),
                           QStringLiteral("El regimen fiscal ") + regimen + QStringLiteral(" no aplica a ") + persona);
        const QString uso = texto(QStringLiteral("cli_UsoCFDI")).trimmed();
        if (!uso.isEmpty() &&
            c.scalar(fisica ? QStringLiteral("select uso_Fisica from tUsoCFDI where uso_Clave = ?")
                            : QStringLiteral("select uso_Moral from tUsoCFDI where uso_Clave = ?"),
                     {uso})
                    .toString() != QLatin1String("S"))
            return rechaza(Pestana::Fiscal, QStringLiteral("cli_UsoCFDI"),
                           QStringLiteral("El uso del CFDI ") + uso + QStringLiteral(" no aplica a ") + persona);
    }
    return true;
}

bool ClienteEditor::guardaDatos()
{
    if (!guarda([this] { return validaDatos(); }, [this] { escribeRegistro(); }, false, QStringLiteral("clientes")))
        return false;
    m_tipoCargado = texto(QStringLiteral("tcli_Clave")).trimmed();
    return true;
}

bool ClienteEditor::eliminarRegistro(const QString &claveTexto)
{
    const QString clave = claveTexto.trimmed();
    QList<QPair<QString, QString>> referencias;
    for (const QString &t : tablasQueRefieren())
        referencias.append({t, QStringLiteral("cli_Clave")});
    const auto pregunta = [&] {
        const bool porOmision =
            clave.compare(m_config.getValue(QStringLiteral("CLIENTE-POR-OMISION")).toString().trimmed(),
                          Qt::CaseInsensitive) == 0;
        return porOmision ? QStringLiteral("Este cliente, es el cliente por omision, esta seguro de eliminar el cliente")
                          : QStringLiteral("Esta seguro de eliminar el cliente");
    };
    return elimina(clave, referencias, pregunta, {QStringLiteral("delete from tCliente where cli_Clave = ?")});
}
