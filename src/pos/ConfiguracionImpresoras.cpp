#include "ConfiguracionImpresoras.h"

#include "DestinoImpresion.h"
#include "DocumentoImpreso.h"
#include "ImpresoraSistema.h"
#include "PaginaCodigos.h"
#include "Prompter.h"
#include "cConfigure.h"
#include "cTicketPrinter.h"

#include <QRegularExpression>

namespace {

const char *const kClaves[] = {"IMPRESORA-EN-LINEA",
                               "IMPRESORA-DIRECTO-A-PUERTO",
                               "IMPRESORA-PUERTO",
                               "IMPRESORA-DE-RECIBOS",
                               "IMPRESORA-PAGINA-CODIGOS",
                               "FUENTE-IMPRESION",
                               "TAMANIO-FUENTE-IMPRESION",
                               "IMPRESORA-NOTA-EN-LINEA",
                               "IMPRESORA-NOTA-DIRECTO-A-PUERTO",
                               "IMPRESORA-NOTA-PUERTO",
                               "IMPRESORA-DE-NOTAS",
                               "IMPRESORA-NOTA-PAGINA-CODIGOS",
                               "IMPRESORA-NOTA-FUENTE-IMPRESION",
                               "IMPRESORA-NOTA-TAMANIO-FUENTE-IMPRESION",
                               "IMPRESORA-DE-REPORTES",
                               "IMPRIME-ABRE-CAJON",
                               "PUERTO-APERTURA-CAJON",
                               "IMPRIME-CODIGOS-CAJON",
                               "IMPRIME-CORTE-DE-PAGINA",
                               "PUERTO-CORTE-DE-PAGINA",
                               "IMPRIME-CODIGOS-CORTE",
                               "IMPRESORA-ESPERA-RED"};

QString k(const char *clave)
{
    return QString::fromLatin1(clave);
}

} // namespace

ConfiguracionImpresoras::ConfiguracionImpresoras(cConfigure &config, cTicketPrinter &impresora, Prompter &prompter)
    : m_config(config), m_impresora(impresora), m_prompter(prompter)
{
}

void ConfiguracionImpresoras::carga()
{
    Valores v;
    const auto salida = [this](Salida &s, const char *enLinea, const char *directo, const char *puerto,
                               const char *impresora, const char *pagina, const char *fuente, const char *tamanio) {
        s.enLinea = m_config.getBool(k(enLinea));
        s.directo = m_config.getBool(k(directo));
        s.puerto = m_config.getString(k(puerto));
        s.impresora = m_config.getString(k(impresora));
        s.paginaCodigos = m_config.getString(k(pagina));
        s.fuente = m_config.getString(k(fuente));
        s.tamanio = m_config.getLong(k(tamanio));
    };
    salida(v.recibos, "IMPRESORA-EN-LINEA", "IMPRESORA-DIRECTO-A-PUERTO", "IMPRESORA-PUERTO", "IMPRESORA-DE-RECIBOS",
           "IMPRESORA-PAGINA-CODIGOS", "FUENTE-IMPRESION", "TAMANIO-FUENTE-IMPRESION");
    salida(v.nota, "IMPRESORA-NOTA-EN-LINEA", "IMPRESORA-NOTA-DIRECTO-A-PUERTO", "IMPRESORA-NOTA-PUERTO",
           "IMPRESORA-DE-NOTAS", "IMPRESORA-NOTA-PAGINA-CODIGOS", "IMPRESORA-NOTA-FUENTE-IMPRESION",
           "IMPRESORA-NOTA-TAMANIO-FUENTE-IMPRESION");
    v.impresoraReportes = m_config.getString(k("IMPRESORA-DE-REPORTES"));
    v.abreCajon = m_config.getBool(k("IMPRIME-ABRE-CAJON"));
    v.puertoCajon = m_config.getString(k("PUERTO-APERTURA-CAJON"));
    v.codigosCajon = m_config.getString(k("IMPRIME-CODIGOS-CAJON"));
    v.cortePagina = m_config.getBool(k("IMPRIME-CORTE-DE-PAGINA"));
    v.puertoCorte = m_config.getString(k("PUERTO-CORTE-DE-PAGINA"));
    v.codigosCorte = m_config.getString(k("IMPRIME-CODIGOS-CORTE"));
    v.esperaRed = m_config.getLong(k("IMPRESORA-ESPERA-RED"));
    m_valores = m_cargados = v;
}

bool ConfiguracionImpresoras::rechaza(const QString &campo, const QString &mensaje)
{
    m_campo = campo;
    m_prompter.information(mensaje);
    return false;
}

bool ConfiguracionImpresoras::validaDatos()
{
    m_campo.clear();
    const Valores &v = m_valores;
    const auto salida = [&](const Salida &s, const QString &prefijo, const QString &nombre) {
        if (!s.enLinea)
            return true;
        QString error;
        if (s.directo && !DestinoImpresion::deTexto(s.puerto, &error))
            return rechaza(prefijo + QStringLiteral("Puerto"),
                           QStringLiteral("Debe indicar el puerto de la impresora de ") + nombre);
        if (s.directo && !PaginaCodigos::porNombre(s.paginaCodigos))
            return rechaza(prefijo + QStringLiteral("Pagina"),
                           QStringLiteral("Debe seleccionar una tabla de caracteres de la impresora de ") + nombre +
                               QStringLiteral(" (") + PaginaCodigos::disponibles().join(QStringLiteral(", ")) +
                               u')');
        if (s.tamanio < 4 || s.tamanio > 72)
            return rechaza(prefijo + QStringLiteral("Tamanio"),
                           QStringLiteral("Debe indicar un tamaño de letra entre 4 y 72"));
        return true;
    };
    if (!salida(v.recibos, QStringLiteral("txtRecibos"), QStringLiteral("recibos")) ||
        !salida(v.nota, QStringLiteral("txtNota"), QStringLiteral("notas")))
        return false;
    // "27,112,48,49," : byte values separated by commas.
    static const QRegularExpression codigos(QStringLiteral("^\\s*(\\d{1,3}\\s*,\\s*)*(\\d{1,3})?\\s*,?\\s*$"));
    const auto control = [&](bool activo, const QString &puerto, const QString &texto, const QString &campo,
                             const QString &que) {
        if (!activo)
            return true;
        if (!DestinoImpresion::deTexto(puerto))
            return rechaza(campo + QStringLiteral("Puerto"), QStringLiteral("Debe indicar el puerto ") + que);
        bool ok = codigos.match(texto).hasMatch() && !texto.trimmed().isEmpty();
        for (const QString &n : texto.split(u',', Qt::SkipEmptyParts))
            ok = ok && n.trimmed().toInt() <= 255;
        if (!ok)
            return rechaza(campo + QStringLiteral("Codigos"),
                           QStringLiteral("Debe indicar los códigos ") + que +
                               QStringLiteral(" como números de 0 a 255 separados por comas"));
        return true;
    };
    if (!control(v.abreCajon, v.puertoCajon, v.codigosCajon, QStringLiteral("txtCajon"),
                 QStringLiteral("para abrir el cajón")) ||
        !control(v.cortePagina, v.puertoCorte, v.codigosCorte, QStringLiteral("txtCorte"),
                 QStringLiteral("para cortar el papel")))
        return false;
    if (v.esperaRed < 100 || v.esperaRed > 60000)
        return rechaza(QStringLiteral("txtEspera"),
                       QStringLiteral("Debe indicar una espera de la impresora de red entre 100 y 60000 milisegundos"));
    return true;
}

void ConfiguracionImpresoras::aplica()
{
    const Valores &v = m_valores;
    const auto salida = [this](const Salida &s, const char *enLinea, const char *directo, const char *puerto,
                               const char *impresora, const char *pagina, const char *fuente, const char *tamanio) {
        m_config.setValue(k(enLinea), s.enLinea);
        m_config.setValue(k(directo), s.directo);
        m_config.setValue(k(puerto), s.puerto.trimmed());
        m_config.setValue(k(impresora), s.impresora);
        m_config.setValue(k(pagina), s.paginaCodigos.trimmed().toUpper());
        m_config.setValue(k(fuente), s.fuente);
        m_config.setValue(k(tamanio), s.tamanio);
    };
    salida(v.recibos, "IMPRESORA-EN-LINEA", "IMPRESORA-DIRECTO-A-PUERTO", "IMPRESORA-PUERTO", "IMPRESORA-DE-RECIBOS",
           "IMPRESORA-PAGINA-CODIGOS", "FUENTE-IMPRESION", "TAMANIO-FUENTE-IMPRESION");
    salida(v.nota, "IMPRESORA-NOTA-EN-LINEA", "IMPRESORA-NOTA-DIRECTO-A-PUERTO", "IMPRESORA-NOTA-PUERTO",
           "IMPRESORA-DE-NOTAS", "IMPRESORA-NOTA-PAGINA-CODIGOS", "IMPRESORA-NOTA-FUENTE-IMPRESION",
           "IMPRESORA-NOTA-TAMANIO-FUENTE-IMPRESION");
    m_config.setValue(k("IMPRESORA-DE-REPORTES"), v.impresoraReportes);
    m_config.setValue(k("IMPRIME-ABRE-CAJON"), v.abreCajon);
    m_config.setValue(k("PUERTO-APERTURA-CAJON"), v.puertoCajon.trimmed());
    m_config.setValue(k("IMPRIME-CODIGOS-CAJON"), v.codigosCajon.trimmed());
    m_config.setValue(k("IMPRIME-CORTE-DE-PAGINA"), v.cortePagina);
    m_config.setValue(k("PUERTO-CORTE-DE-PAGINA"), v.puertoCorte.trimmed());
    m_config.setValue(k("IMPRIME-CODIGOS-CORTE"), v.codigosCorte.trimmed());
    m_config.setValue(k("IMPRESORA-ESPERA-RED"), v.esperaRed);
    // The control strings the printer sends are derived from the codes.
    m_config.traducir();
}

bool ConfiguracionImpresoras::guarda()
{
    aplica();
    bool ok = true;
    for (const char *clave : kClaves)
        ok = m_config.saveValue(k(clave)) && ok;
    m_cargados = m_valores;
    return ok;
}

void ConfiguracionImpresoras::cancela()
{
    m_valores = m_cargados;
    aplica();
}

bool ConfiguracionImpresoras::prueba(Impresora impresora)
{
    if (!validaDatos())
        return false;
    aplica();
    bool ok = false;
    if (impresora == Impresora::Reportes) {
        ImpresoraSistema *sistema = m_impresora.impresoraSistema();
        DocumentoImpreso d;
        d.texto(QStringLiteral("PRUEBA DE LA IMPRESORA DE REPORTES"));
        d.texto(QStringLiteral("áéíóú ÁÉÍÓÚ ñÑ üÜ ¿? ¡! $ € °"));
        QString detalle;
        ok = sistema && sistema->imprime(m_valores.impresoraReportes, FuenteImpresion{}, d, &detalle);
        if (!ok) {
            m_prompter.detailedMessage(Prompter::Icon::Exclamation,
                                       QStringLiteral("No fue posible imprimir en la impresora de reportes"),
                                       sistema ? detalle : QStringLiteral("sin impresoras del sistema"));
            return false;
        }
    } else {
        ok = m_impresora.imprimePrueba(impresora == Impresora::Nota);
        if (!ok) {
            m_prompter.detailedMessage(Prompter::Icon::Exclamation, m_impresora.fallo().mensaje,
                                       m_impresora.fallo().detalle);
            return false;
        }
    }
    m_prompter.information(QStringLiteral("La página de prueba fue enviada a la impresora"));
    return true;
}

bool ConfiguracionImpresoras::vistaPrevia(Impresora impresora, VistaPrevia &vista)
{
    if (!validaDatos())
        return false;
    aplica();
    m_impresora.setVistaPrevia(&vista);
    m_impresora.setSoloVistaPrevia(true);
    const bool ok = m_impresora.imprimePrueba(impresora == Impresora::Nota);
    m_impresora.setSoloVistaPrevia(false);
    m_impresora.setVistaPrevia(nullptr);
    return ok;
}
