#include "ParametrosReporte.h"

#include "CConsulta.h"
#include "CValue.h"
#include "ConnectionProvider.h"
#include "ListEntry.h"
#include "Prompter.h"
#include "cConfigValue.h"
#include "cConfigure.h"

#include "Connection.h"
#include "Decimal.h"

#include <memory>
#include <vector>

namespace {

// Keeps what the stored query's code would have shown, to put it behind the one message the
// parameter list gives.
class PrompterRegistro : public Prompter {
public:
    QStringList textos;

    void message(Icon, const QString &text, const QString &) override { textos << text; }
    void detailedMessage(Icon, const QString &text, const QString &details, const QString &) override
    {
        textos << text + QStringLiteral(": ") + details;
    }
    bool question(const QString &text, bool, const QString &) override
    {
        textos << text;
        return false;
    }
    bool input(const QString &, const QString &, QString &) override { return false; }
    bool choose(const QString &, const QString &, const QStringList &, int &) override { return false; }
};

// A day-first date as typed, or the word HOY for today.
QDate fecha(const QString &texto, const QDate &hoy)
{
    const QString t = texto.trimmed();
    if (t.compare(QLatin1String("HOY"), Qt::CaseInsensitive) == 0)
        return hoy;
    return QDate::fromString(t, QStringLiteral("d/M/yyyy"));
}

} // namespace

ParametrosReporte::Entrada ParametrosReporte::Definicion::entrada() const
{
    const QString tipo = tipoParametro.trimmed().toUpper();
    const QString dato = tipoDato.trimmed().toUpper();
    if (tipo == QLatin1String("LISTA"))
        return Entrada::Lista;
    if (tipo == QLatin1String("RANGOFECHA"))
        return Entrada::RangoFechas;
    if (tipo == QLatin1String("FECHA") || dato == QLatin1String("F"))
        return Entrada::Fecha;
    if (dato == QLatin1String("N"))
        return Entrada::Numero;
    return Entrada::Texto;
}

ParametrosReporte::ParametrosReporte(ConnectionProvider &connections, cConfigure &config, Prompter &prompter)
    : m_connections(connections), m_config(config), m_prompter(prompter)
{
}

QList<ParametrosReporte::Definicion> ParametrosReporte::lee(db::Connection &c, const QString &repClave)
{
    QList<Definicion> out;
    for (db::Recordset r = c.openRecordset(
             QStringLiteral(
                 "select rparam_Clave, rparam_Nombre, rparam_Descripcion, tparam_Clave, tdat_Clave, "
                 "con_clave, rparam_ClaveChg, rparam_Requerido, rparam_Valor from TREPORTEPARAM "
                 "where rep_Clave = ? order by rparam_Clave"),
             {repClave});
         !r.eof(); r.moveNext()) {
        Definicion d;
        d.clave = int(r.integer(QStringLiteral("rparam_Clave")));
        d.nombre = r.text(QStringLiteral("rparam_Nombre")).trimmed();
        d.descripcion = r.text(QStringLiteral("rparam_Descripcion")).trimmed();
        d.tipoParametro = r.text(QStringLiteral("tparam_Clave")).trimmed().toUpper();
        d.tipoDato = r.text(QStringLiteral("tdat_Clave")).trimmed().toUpper();
        d.consulta = int(r.integer(QStringLiteral("con_clave")));
        d.claveChg = int(r.integer(QStringLiteral("rparam_ClaveChg")));
        d.requerido = r.text(QStringLiteral("rparam_Requerido")).trimmed().toUpper() == QLatin1String("S");
        d.valorDefecto = r.text(QStringLiteral("rparam_Valor"));
        out << d;
    }
    return out;
}

std::optional<QList<ParametrosReporte::Opcion>>
ParametrosReporte::cargaLista(const Definicion &definicion, const QList<ValorParametro> &otros)
{
    PrompterRegistro registro;
    CConsulta consulta(m_connections, m_config, registro);
    std::vector<std::unique_ptr<CValue>> valores;
    ParametrosConsulta parametros;
    for (const ValorParametro &v : otros) {
        valores.push_back(std::make_unique<CValue>(v.clave, v.valor,
                                                   v.tipoDato.isEmpty() ? QStringLiteral("T") : v.tipoDato));
        valores.back()->setConfig(&m_config);
        parametros << valores.back().get();
    }
    QStringList entradas, claves;
    int seleccion = -1;
    if (!consulta.cargaConsulta(definicion.consulta)) {
        if (registro.textos.isEmpty())
            registro.textos << QStringLiteral("tConsulta ") + QString::number(definicion.consulta);
    } else if (consulta.cargaCombo(entradas, seleccion, QString(), 0, parametros, &claves)) {
        QList<Opcion> out;
        for (qsizetype i = 0; i < entradas.size(); ++i)
            out << Opcion{claves.value(i).trimmed(), ListEntry::key(entradas.at(i)).trimmed()};
        return out;
    } else if (registro.textos.isEmpty()) {
        registro.textos << consulta.nombre();
    }
    m_prompter.detailedMessage(Prompter::Icon::Critical, QStringLiteral("Error al cargar la consulta"),
                               definicion.etiqueta() + QStringLiteral(": ") + registro.textos.join(u'\n'));
    return std::nullopt;
}

ParametrosReporte::Captura ParametrosReporte::valorInicial(const Definicion &definicion, const QDate &hoy)
{
    Captura c;
    switch (definicion.entrada()) {
    case Entrada::Fecha:
    case Entrada::RangoFechas: {
        const QStringList partes = definicion.valorDefecto.split(u',');
        const auto dia = [&](const QString &texto) {
            const QDate d = texto.trimmed().isEmpty() ? hoy : fecha(texto, hoy);
            return d.isValid() ? d : hoy;
        };
        c.desde = dia(partes.value(0));
        c.hasta = partes.size() > 1 ? dia(partes.value(1)) : c.desde;
        break;
    }
    default:
        c.texto = definicion.valorDefecto;
        break;
    }
    return c;
}

QString ParametrosReporte::fechaServidor(const QDate &dia) const
{
    return dia.toString(
        cConfigValue::qtDateFormat(m_config.getString(QStringLiteral("FORMATO-FECHA-SERVIDOR"))));
}

QList<ValorParametro> ParametrosReporte::borrador(const QList<Definicion> &definiciones,
                                                  const QList<Captura> &capturas) const
{
    QList<ValorParametro> out;
    for (int i = 0; i < definiciones.size(); ++i) {
        const Definicion &d = definiciones.at(i);
        const Captura c = capturas.value(i);
        const auto dia = [&](const QDate &f, const char *hora) {
            return f.isValid() ? QVariant(fechaServidor(f) + QLatin1String(hora)) : QVariant();
        };
        switch (d.entrada()) {
        case Entrada::Fecha:
            out << ValorParametro{d.nombre, dia(c.desde, ""), {}, QStringLiteral("F")};
            break;
        case Entrada::RangoFechas:
            out << ValorParametro{d.nombre, dia(c.desde, " 00:00:00"), dia(c.hasta, " 23:59:59"),
                                  QStringLiteral("F")};
            break;
        default:
            out << ValorParametro{d.nombre, c.texto.trimmed(), c.extra,
                                  d.tipoDato.isEmpty() ? QStringLiteral("T") : d.tipoDato};
            break;
        }
    }
    return out;
}

bool ParametrosReporte::rechaza(const QString &texto, int campo, Parte parte, bool falta)
{
    m_campo = campo;
    m_parte = parte;
    // Missing input is information; a value that will not do is a refusal.
    m_prompter.message(falta ? Prompter::Icon::Information : Prompter::Icon::Exclamation, texto);
    return false;
}

bool ParametrosReporte::enSusListas(const QList<Definicion> &definiciones, const QList<Captura> &capturas,
                                    const QList<ValorParametro> &valores)
{
    for (int i = 0; i < definiciones.size(); ++i) {
        const Definicion &d = definiciones.at(i);
        const QString elegido = capturas.value(i).texto;
        if (d.entrada() != Entrada::Lista || elegido.isEmpty())
            continue;
        const auto opciones = cargaLista(d, valores);
        if (!opciones)
            return false;
        QStringList claves;
        for (const Opcion &o : *opciones)
            claves << o.clave;
        if (!claves.contains(elegido))
            return rechaza(d.etiqueta() + QStringLiteral(": ") + elegido +
                               QStringLiteral(" no es una de las opciones (") +
                               claves.join(QStringLiteral(", ")) + u')',
                           i);
    }
    return true;
}

std::optional<QList<ValorParametro>> ParametrosReporte::valida(const QList<Definicion> &definiciones,
                                                               const QList<Captura> &capturas)
{
    m_campo = -1;
    m_parte = Parte::Valor;
    QList<ValorParametro> out;
    for (int i = 0; i < definiciones.size(); ++i) {
        const Definicion &d = definiciones.at(i);
        const Captura c = capturas.value(i);
        const QString requerido = d.etiqueta() + QStringLiteral(" es requerido");
        const QString tipo = d.tipoDato.isEmpty() ? QStringLiteral("T") : d.tipoDato;
        const QVariant nulo;
        switch (d.entrada()) {
        case Entrada::Fecha: {
            QVariant dia, inicio, fin;
            if (!c.desde.isValid()) {
                if (d.requerido) {
                    rechaza(requerido, i, Parte::Valor, true);
                    return std::nullopt;
                }
            } else {
                dia = fechaServidor(c.desde);
                inicio = QString(fechaServidor(c.desde) + QStringLiteral(" 00:00:00"));
                fin = QString(fechaServidor(c.desde) + QStringLiteral(" 23:59:59"));
            }
            // The day, and its two ends for queries that take the whole day.
            out << ValorParametro{d.nombre, dia, nulo, QStringLiteral("F")}
                << ValorParametro{d.nombre + QStringLiteral("_INI"), inicio, nulo, QStringLiteral("F")}
                << ValorParametro{d.nombre + QStringLiteral("_FIN"), fin, nulo, QStringLiteral("F")};
            break;
        }
        case Entrada::RangoFechas: {
            QVariant inicio, fin;
            if (c.desde.isValid() || c.hasta.isValid() || d.requerido) {
                if (!c.desde.isValid() || !c.hasta.isValid()) {
                    rechaza(requerido, i, c.desde.isValid() ? Parte::Fin : Parte::Inicio, true);
                    return std::nullopt;
                }
                if (c.desde > c.hasta) {
                    rechaza(QStringLiteral("La fecha de inicio debe ser menor a la de fin"), i,
                            Parte::Inicio);
                    return std::nullopt;
                }
                inicio = QString(fechaServidor(c.desde) + QStringLiteral(" 00:00:00"));
                fin = QString(fechaServidor(c.hasta) + QStringLiteral(" 23:59:59"));
            }
            out << ValorParametro{d.nombre, inicio, fin, QStringLiteral("F")}
                << ValorParametro{d.nombre + QStringLiteral("_INI"), inicio, nulo, QStringLiteral("F")}
                << ValorParametro{d.nombre + QStringLiteral("_FIN"), fin, nulo, QStringLiteral("F")};
            break;
        }
        default: {
            const QString texto = c.texto.trimmed();
            const QVariant extra = d.entrada() == Entrada::Lista ? QVariant(c.extra) : nulo;
            const bool numerico = d.entrada() == Entrada::Numero || tipo == QLatin1String("N");
            if (texto.isEmpty()) {
                if (d.requerido) {
                    rechaza(requerido, i, Parte::Valor, true);
                    return std::nullopt;
                }
                out << ValorParametro{d.nombre, numerico ? nulo : QVariant(QString()), extra, tipo};
                break;
            }
            if (numerico) {
                bool ok = false;
                const Decimal n = Decimal::fromString(texto, &ok);
                if (!ok) {
                    rechaza(d.etiqueta() + QStringLiteral(" debe ser un numero"), i);
                    return std::nullopt;
                }
                out << ValorParametro{d.nombre, n.toString(), extra, tipo};
            } else {
                out << ValorParametro{d.nombre, texto, extra, tipo};
            }
            break;
        }
        }
    }
    return out;
}

std::optional<QList<ParametrosReporte::Captura>>
ParametrosReporte::leeArgumentos(const QList<Definicion> &definiciones, const QStringList &argumentos,
                                 const QDate &hoy)
{
    m_campo = -1;
    m_parte = Parte::Valor;
    QList<Captura> capturas;
    for (const Definicion &d : definiciones)
        capturas << valorInicial(d, hoy);
    for (const QString &argumento : argumentos) {
        const qsizetype igual = argumento.indexOf(u'=');
        const QString nombre = argumento.left(igual).trimmed();
        const QString valor = igual < 0 ? QString() : argumento.mid(igual + 1).trimmed();
        int i = -1;
        for (int k = 0; k < definiciones.size() && igual > 0; ++k)
            if (definiciones.at(k).nombre.compare(nombre, Qt::CaseInsensitive) == 0)
                i = k;
        if (i < 0) {
            rechaza(QStringLiteral("Parametro no encontrado [") + nombre + u']', -1);
            return std::nullopt;
        }
        const Definicion &d = definiciones.at(i);
        Captura &c = capturas[i];
        const QString noEsFecha = d.etiqueta() + QStringLiteral(" debe ser una fecha dd/mm/yyyy");
        switch (d.entrada()) {
        case Entrada::Fecha:
            c.desde = valor.isEmpty() ? QDate() : fecha(valor, hoy);
            if (!valor.isEmpty() && !c.desde.isValid()) {
                rechaza(noEsFecha, i);
                return std::nullopt;
            }
            break;
        case Entrada::RangoFechas: {
            const QStringList partes = valor.split(u',');
            if (valor.isEmpty()) {
                c.desde = c.hasta = QDate();
                break;
            }
            c.desde = fecha(partes.value(0), hoy);
            c.hasta = partes.size() > 1 ? fecha(partes.value(1), hoy) : c.desde;
            if (partes.size() > 2 || !c.desde.isValid() || !c.hasta.isValid()) {
                rechaza(noEsFecha, i, c.desde.isValid() ? Parte::Fin : Parte::Inicio);
                return std::nullopt;
            }
            break;
        }
        default:
            c.texto = valor;
            c.extra.clear();
            break;
        }
    }
    return capturas;
}
