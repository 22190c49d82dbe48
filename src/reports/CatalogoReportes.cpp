#include "CatalogoReportes.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "Permisos.h"
#include "Prompter.h"
#include "cConfigure.h"

#include "Connection.h"

QString CatalogoReportes::claveDeModulo(const QString &repClave)
{
    return QStringLiteral("R") + repClave;
}

QString CatalogoReportes::claveDeMenu(const QString &moduleKey)
{
    if (moduleKey.size() < 2 || !moduleKey.startsWith(u'R'))
        return QString();
    return moduleKey.mid(1);
}

CatalogoReportes::CatalogoReportes(ConnectionProvider &connections, cConfigure &config, Prompter &prompter)
    : m_connections(connections), m_config(config), m_prompter(prompter),
      m_parametros(connections, config, prompter)
{
}

QList<CatalogoReportes::Entrada> CatalogoReportes::lista(const Filtro &filtro)
{
    QString sql = QStringLiteral(
        "select r.rep_Clave, r.rep_Nombre, r.ver_Clave, r.trep_Clave from tReporte r where exists "
        "(select 1 from tSeguridad s where s.perf_Clave = ? and s.mod_Clave = 'R' || r.rep_Clave)");
    QVariantList valores{m_config.getString(QStringLiteral("PERFIL"))};
    const auto filtra = [&](const char *columna, const QString &valor) {
        if (valor.trimmed().isEmpty())
            return;
        sql += QStringLiteral(" and r.") + QLatin1String(columna) + QStringLiteral(" = ?");
        valores << valor.trimmed();
    };
    filtra("ver_Clave", filtro.version);
    filtra("trep_Clave", filtro.tipo);
    filtra("rep_Clave", filtro.clave);
    sql += QStringLiteral(" order by r.ver_Clave, r.rep_Orden, r.rep_Nombre");
    QList<Entrada> out;
    try {
        for (db::Recordset r = m_connections.getConnection().openRecordset(sql, valores); !r.eof();
             r.moveNext())
            out << Entrada{r.text(QStringLiteral("rep_Clave")), r.text(QStringLiteral("rep_Nombre")),
                           r.text(QStringLiteral("ver_Clave")), r.text(QStringLiteral("trep_Clave"))};
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("Error al cargar la lista de reportes"),
                    QStringLiteral("CatalogoReportes.lista"), ErrorInfo::fromException(e));
        out.clear();
    }
    return out;
}

bool CatalogoReportes::cargaReporte(const QString &repClave, Derechos derechos)
{
    m_reporte.reset();
    try {
        db::Connection &c = m_connections.getConnection();
        // A report the profile may not run is one it does not see.
        if (derechos == Derechos::DelPerfil &&
            !Permisos::hasPermissionOn(c, claveDeModulo(repClave),
                                       m_config.getString(QStringLiteral("PERFIL")))) {
            m_prompter.exclamation(QStringLiteral("El reporte no fue encontrado"));
            return false;
        }
        db::Recordset r =
            c.openRecordset(QStringLiteral("select rep_Clave, rep_Nombre, rep_Descripcion, rep_Archivo, "
                                           "codigo_Clave from tReporte where rep_Clave = ?"),
                            {repClave});
        if (r.eof()) {
            m_prompter.exclamation(QStringLiteral("El reporte no fue encontrado"));
            return false;
        }
        Reporte rep;
        rep.clave = r.text(QStringLiteral("rep_Clave"));
        rep.nombre = r.text(QStringLiteral("rep_Nombre"));
        rep.descripcion = r.text(QStringLiteral("rep_Descripcion"));
        rep.archivo = r.text(QStringLiteral("rep_Archivo"));
        rep.codigoClave = r.text(QStringLiteral("codigo_Clave")).trimmed();
        db::Recordset k = c.openRecordset(
            QStringLiteral("select codigo_Text, codigo_Activo from tCodigo where codigo_Clave = ?"),
            {rep.codigoClave});
        if (!k.eof() && k.text(QStringLiteral("codigo_Activo")).trimmed().toUpper() == QLatin1String("N")) {
            m_prompter.exclamation(QStringLiteral("El reporte no esta activo"));
            return false;
        }
        if (rep.codigoClave.isEmpty() || k.eof() ||
            k.text(QStringLiteral("codigo_Text")).trimmed().isEmpty()) {
            m_prompter.exclamation(QStringLiteral("No hay codigo definido para el reporte"));
            return false;
        }
        rep.programa = k.text(QStringLiteral("codigo_Text"));
        rep.parametros = ParametrosReporte::lee(c, rep.clave);
        m_reporte = rep;
        return true;
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("Error al cargar el reporte"),
                    QStringLiteral("CatalogoReportes.cargaReporte"), ErrorInfo::fromException(e));
        m_reporte.reset();
        return false;
    }
}

std::optional<QList<ValorParametro>>
CatalogoReportes::aceptar(const QList<ParametrosReporte::Captura> &capturas)
{
    if (!m_reporte) {
        m_prompter.information(QStringLiteral("No hay reporte cargado"));
        return std::nullopt;
    }
    return m_parametros.valida(m_reporte->parametros, capturas);
}
