#include "ProgramaReporte.h"

#include "Prompter.h"

#include "Connection.h"
#include "Decimal.h"
#include "Transaction.h"

#include <QHash>

namespace {

enum class Tipo { Texto, Variante, Numero, Logico };

struct Propiedad {
    const char *nombre;
    Tipo tipo;
};

// The property interface of each class, in its order: the order the statements are written in.
const QHash<QString, QList<Propiedad>> &propiedadesPorClase()
{
    static const QHash<QString, QList<Propiedad>> tabla = [] {
        const Propiedad name{"Name", Tipo::Texto}, value{"Value", Tipo::Variante},
            dataType{"DataType", Tipo::Texto}, align{"Align", Tipo::Numero},
            fontName{"FontName", Tipo::Texto}, fontSize{"FontSize", Tipo::Numero},
            fontBold{"FontBold", Tipo::Logico}, fontItalic{"FontItalic", Tipo::Logico},
            fontTransparent{"FontTransparent", Tipo::Logico}, formatField{"FormatField", Tipo::Texto},
            formula{"Formula", Tipo::Texto}, box{"Box", Tipo::Logico}, reCalc{"ReCalc", Tipo::Logico},
            onPrint{"onPrintFormula", Tipo::Texto};
        const QList<Propiedad> posicion = {
            {"Left", Tipo::Numero},      {"Top", Tipo::Numero},       {"Width", Tipo::Numero},
            {"Height", Tipo::Numero},    {"ForeColor", Tipo::Numero}, {"DrawWidth", Tipo::Numero},
            {"DrawStyle", Tipo::Numero}, {"DrawMode", Tipo::Numero},  {"Visible", Tipo::Logico}};
        const QList<Propiedad> letra = {align, fontName, fontSize, fontBold, fontItalic, fontTransparent};

        QHash<QString, QList<Propiedad>> t;
        t.insert(QStringLiteral("cPrintLine"), QList<Propiedad>{name, value, dataType} + posicion);
        t.insert(QStringLiteral("cPrintText"), QList<Propiedad>{name, value} + letra +
                                                   QList<Propiedad>{dataType} + posicion +
                                                   QList<Propiedad>{box});
        const QList<Propiedad> campo =
            QList<Propiedad>{value} + letra + QList<Propiedad>{formatField, dataType} + posicion;
        t.insert(QStringLiteral("cPrintField"), QList<Propiedad>{name} + campo);
        t.insert(QStringLiteral("cPrintGroup"), QList<Propiedad>{name, value} + letra + posicion);
        t.insert(QStringLiteral("cPrintSumary"), QList<Propiedad>{name, formula} + campo);
        t.insert(QStringLiteral("cPrintFormula"),
                 QList<Propiedad>{name, formula} + campo + QList<Propiedad>{box, reCalc, onPrint});
        t.insert(QStringLiteral("cPrintImage"),
                 QList<Propiedad>{name, value, dataType, formula, posicion[0], posicion[1], posicion[2],
                                  posicion[3], posicion[8], box, reCalc, onPrint});
        return t;
    }();
    return tabla;
}

// The section words of the design and the control member that places an object in each.
const QList<QPair<QString, QString>> &secciones()
{
    static const QList<QPair<QString, QString>> lista = {
        {QStringLiteral("HEADER"), QStringLiteral("addHeaderObject")},
        {QStringLiteral("DETAIL"), QStringLiteral("addDetailObject")},
        {QStringLiteral("GROUP"), QStringLiteral("addGroupObject")},
        {QStringLiteral("SUMARY"), QStringLiteral("addSumaryObject")},
        {QStringLiteral("BOTTOM"), QStringLiteral("addFooterObject")},
        {QStringLiteral("TOTAL"), QStringLiteral("addReportFooterObject")},
    };
    return lista;
}

// A number as the script writes it: no padding zeros, a point for decimals.
std::optional<QString> numero(const QString &texto)
{
    bool ok = false;
    const Decimal d = Decimal::fromString(texto.trimmed(), &ok);
    if (!ok)
        return std::nullopt;
    return d.toString();
}

std::optional<bool> logico(const QString &texto)
{
    const QString t = texto.trimmed().toUpper();
    for (const char *si : {"1", "S", "SI", "TRUE", "VERDADERO"})
        if (t == QLatin1String(si))
            return true;
    for (const char *no : {"0", "N", "NO", "FALSE", "FALSO"})
        if (t == QLatin1String(no))
            return false;
    return std::nullopt;
}

QString objeto(const QString &nombre)
{
    return QStringLiteral("xRpt.getObject(") + ProgramaReporte::cadenaScript(nombre) + u')';
}

// Values of one object by property name (any case), with the class defaults for what is not stored.
class Valores {
public:
    explicit Valores(const ProgramaReporte::Objeto &o) : m_objeto(o) {}

    QString texto(const char *propiedad, const QString &omision = QString()) const
    {
        const std::optional<QString> v = guardado(propiedad);
        return ProgramaReporte::cadenaScript(v ? *v : omision);
    }
    QString num(const char *propiedad, const char *omision) const
    {
        const std::optional<QString> v = guardado(propiedad);
        const std::optional<QString> n = v ? numero(*v) : std::nullopt;
        return n ? *n : QString::fromLatin1(omision); // already checked by the property statements
    }
    QString bol(const char *propiedad) const
    {
        const std::optional<QString> v = guardado(propiedad);
        const std::optional<bool> b = v ? logico(*v) : std::nullopt;
        return b.value_or(false) ? QStringLiteral("True") : QStringLiteral("False");
    }

private:
    std::optional<QString> guardado(const char *propiedad) const
    {
        for (const auto &p : m_objeto.propiedades)
            if (p.first.compare(QLatin1String(propiedad), Qt::CaseInsensitive) == 0)
                return p.second;
        return std::nullopt;
    }

    const ProgramaReporte::Objeto &m_objeto;
};

// The factory statement: the constructors' arguments in their order, from the stored properties.
QString constructor(const ProgramaReporte::Objeto &o)
{
    const Valores v(o);
    const QString nombre = ProgramaReporte::cadenaScript(o.nombre);
    const QString caja = v.num("Top", "0") + QStringLiteral(", ") + v.num("Left", "0") +
                         QStringLiteral(", ") + v.num("Height", "0") + QStringLiteral(", ") +
                         v.num("Width", "0");
    const QString letra = v.num("ForeColor", "0") + QStringLiteral(", ") + v.num("Align", "0") +
                          QStringLiteral(", ") + v.texto("FontName", QStringLiteral("Arial")) +
                          QStringLiteral(", ") + v.bol("FontBold") + QStringLiteral(", ") +
                          v.num("FontSize", "10");
    QStringList args{nombre, caja};
    const QString &c = o.clase;
    if (c == QLatin1String("cPrintLine")) {
        args << v.num("DrawWidth", "1") << v.num("ForeColor", "0");
    } else if (c == QLatin1String("cPrintText")) {
        args << v.texto("Value") << letra;
    } else if (c == QLatin1String("cPrintField")) {
        args << letra << v.texto("FormatField");
    } else if (c == QLatin1String("cPrintFormula")) {
        const QString tipo = o.tipo.trimmed().isEmpty() ? QStringLiteral("T") : o.tipo.trimmed();
        args << v.texto("Formula") << v.texto("Value") << letra << v.texto("FormatField")
             << v.texto("DataType", tipo);
    } else if (c == QLatin1String("cPrintGroup")) {
        args << letra;
    } else if (c == QLatin1String("cPrintSumary")) {
        args << v.texto("Formula") << v.texto("Value", QStringLiteral("0")) << letra
             << v.texto("FormatField");
    }
    // cPrintImage: the rectangle only; its formula and value come as property statements.
    return QStringLiteral("xRpt.addObject xFactory.New") + c + u'(' + args.join(QStringLiteral(", ")) + u')';
}

} // namespace

const QStringList &ProgramaReporte::clavesImpresora()
{
    static const QStringList claves = {
        QStringLiteral("IMPRESORA-DE-REPORTES"), QStringLiteral("IMPRESORA-DE-FACTURAS"),
        QStringLiteral("IMPRESORA-DE-RECIBOS"), QStringLiteral("IMPRESORA-DE-NOTAS")};
    return claves;
}

const QStringList &ProgramaReporte::clases()
{
    static const QStringList lista = {QStringLiteral("cPrintImage"),   QStringLiteral("cPrintLine"),
                                      QStringLiteral("cPrintText"),    QStringLiteral("cPrintField"),
                                      QStringLiteral("cPrintFormula"), QStringLiteral("cPrintGroup"),
                                      QStringLiteral("cPrintSumary")};
    return lista;
}

QString ProgramaReporte::cadenaScript(const QString &texto)
{
    QString t = texto;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(u'\r', u'\n');
    QStringList lineas;
    for (QString linea : t.split(u'\n')) {
        linea.replace(u'"', QLatin1String("\" & chr(34) & \""));
        lineas << u'"' + linea + u'"';
    }
    return lineas.join(QLatin1String(" & Chr(13) & Chr(10) & "));
}

ProgramaReporte::ProgramaReporte(Prompter &prompter) : m_prompter(prompter) {}

bool ProgramaReporte::rechaza(const QString &texto, const QString &detalle)
{
    if (detalle.isEmpty())
        m_prompter.exclamation(texto);
    else
        m_prompter.detailedMessage(Prompter::Icon::Exclamation, texto, detalle);
    return false;
}

std::optional<ProgramaReporte::Diseno> ProgramaReporte::leeDiseno(db::Connection &c, const QString &repClave)
{
    db::Recordset r = c.openRecordset(
        QStringLiteral(
            "select rep_Clave, rep_Nombre, codigo_Clave, rep_Impresora, rep_Orientacion, rep_Papel, "
            "rep_Encabezado, rep_Pie, rep_Forma, rep_AltoForma, rep_AnchoForma, rep_SQL from tReporte "
            "where rep_Clave = ?"),
        {repClave});
    if (r.eof()) {
        rechaza(QStringLiteral("El reporte no fue encontrado"));
        return std::nullopt;
    }
    Diseno d;
    d.clave = r.text(QStringLiteral("rep_Clave"));
    d.nombre = r.text(QStringLiteral("rep_Nombre"));
    d.codigoClave = r.text(QStringLiteral("codigo_Clave")).trimmed();
    d.impresora = r.text(QStringLiteral("rep_Impresora")).trimmed();
    d.orientacion = QString::number(r.integer(QStringLiteral("rep_Orientacion")));
    d.papel = QString::number(r.integer(QStringLiteral("rep_Papel")));
    d.encabezado = r.decimal(QStringLiteral("rep_Encabezado")).toString();
    d.pie = r.decimal(QStringLiteral("rep_Pie")).toString();
    d.forma = r.text(QStringLiteral("rep_Forma"));
    d.alto = r.decimal(QStringLiteral("rep_AltoForma")).toString();
    d.ancho = r.decimal(QStringLiteral("rep_AnchoForma")).toString();
    d.sql = r.text(QStringLiteral("rep_SQL"));

    QHash<int, qsizetype> porClave;
    for (db::Recordset o =
             c.openRecordset(QStringLiteral("select robj_Clave, robj_Nombre, robj_Seccion, robj_Tipo, "
                                            "robj_Clase from tReporteObjeto where rep_Clave = ? "
                                            "order by robj_Clave"),
                             {repClave});
         !o.eof(); o.moveNext()) {
        Objeto obj;
        obj.clave = int(o.integer(QStringLiteral("robj_Clave")));
        obj.nombre = o.text(QStringLiteral("robj_Nombre")).trimmed();
        obj.seccion = o.text(QStringLiteral("robj_Seccion")).trimmed();
        obj.tipo = o.text(QStringLiteral("robj_Tipo")).trimmed();
        obj.clase = o.text(QStringLiteral("robj_Clase")).trimmed();
        porClave.insert(obj.clave, d.objetos.size());
        d.objetos << obj;
    }
    for (db::Recordset p = c.openRecordset(QStringLiteral("select robj_Clave, rop_Nombre, rop_Valor from "
                                                          "tReporteObjetoPropiedad where rep_Clave = ? "
                                                          "order by robj_Clave, rop_Nombre"),
                                           {repClave});
         !p.eof(); p.moveNext()) {
        const auto it = porClave.constFind(int(p.integer(QStringLiteral("robj_Clave"))));
        if (it != porClave.cend())
            d.objetos[*it].propiedades.append(
                {p.text(QStringLiteral("rop_Nombre")).trimmed(), p.text(QStringLiteral("rop_Valor"))});
    }

    for (db::Recordset g = c.openRecordset(
             QStringLiteral("select rgrupo_Nombre, rgrupo_Campos from TREPORTEGRUPO where rep_Clave = ? "
                            "order by rgrupo_Nombre"),
             {repClave});
         !g.eof(); g.moveNext()) {
        Grupo grupo;
        grupo.nombre = g.text(QStringLiteral("rgrupo_Nombre")).trimmed();
        for (const QString &campo : g.text(QStringLiteral("rgrupo_Campos")).split(u',', Qt::SkipEmptyParts))
            if (!campo.trimmed().isEmpty())
                grupo.campos << campo.trimmed();
        d.grupos << grupo;
    }
    for (db::Recordset s = c.openRecordset(
             QStringLiteral(
                 "select rsum_Nombre, rsum_Formula, rgrupo_Nombre from tReporteSumario where rep_Clave = ? "
                 "order by rsum_Nombre"),
             {repClave});
         !s.eof(); s.moveNext()) {
        d.formulas.append(
            {s.text(QStringLiteral("rsum_Nombre")).trimmed(), s.text(QStringLiteral("rsum_Formula"))});
        const QString grupo = s.text(QStringLiteral("rgrupo_Nombre")).trimmed();
        if (grupo.isEmpty())
            continue;
        bool encontrado = false;
        for (Grupo &g : d.grupos)
            if (g.nombre.compare(grupo, Qt::CaseInsensitive) == 0) {
                g.sumarios << s.text(QStringLiteral("rsum_Nombre")).trimmed();
                encontrado = true;
            }
        if (!encontrado) // a summary reset by a group with no key fields: still a group to wire
            d.grupos << Grupo{grupo, {}, {s.text(QStringLiteral("rsum_Nombre")).trimmed()}};
    }
    for (db::Recordset t =
             c.openRecordset(QStringLiteral("select rtotal_Nombre, rtotal_Formula from tReporteTotales "
                                            "where rep_Clave = ? order by rtotal_Nombre"),
                             {repClave});
         !t.eof(); t.moveNext())
        d.formulas.append(
            {t.text(QStringLiteral("rtotal_Nombre")).trimmed(), t.text(QStringLiteral("rtotal_Formula"))});
    return d;
}

std::optional<QString> ProgramaReporte::escribe(const Diseno &diseno)
{
    Diseno d = diseno;
    for (const auto &f : diseno.formulas) {
        Objeto *o = nullptr;
        for (Objeto &candidato : d.objetos)
            if (candidato.nombre.compare(f.first, Qt::CaseInsensitive) == 0)
                o = &candidato;
        if (!o || (o->clase != QLatin1String("cPrintSumary") && o->clase != QLatin1String("cPrintFormula"))) {
            rechaza(QStringLiteral("El sumario ") + f.first + QStringLiteral(" no es un objeto del reporte"));
            return std::nullopt;
        }
        bool tiene = false;
        for (const auto &prop : o->propiedades)
            tiene = tiene || prop.first.compare(QLatin1String("Formula"), Qt::CaseInsensitive) == 0;
        if (!tiene && !f.second.trimmed().isEmpty())
            o->propiedades.append({QStringLiteral("Formula"), f.second});
    }

    QStringList p;
    if (!d.impresora.isEmpty()) {
        if (clavesImpresora().contains(d.impresora, Qt::CaseInsensitive))
            p << QStringLiteral("xRpt.setPrinter xConfig.getValue(") + cadenaScript(d.impresora.toUpper()) +
                     u')';
        else
            p << QStringLiteral("xRpt.setPrinter ") + cadenaScript(d.impresora);
    }
    const auto ajuste = [&](const char *miembro, const QString &valor, const char *omision) {
        const std::optional<QString> n = numero(valor);
        p << QStringLiteral("xRpt.") + QLatin1String(miembro) + QStringLiteral(" = ") +
                 (n ? *n : QString::fromLatin1(omision));
    };
    ajuste("OrientPage", d.orientacion, "1");
    ajuste("PaperSize", d.papel, "1");
    ajuste("HeaderHeight", d.encabezado, "0");
    ajuste("FooterHeight", d.pie, "0");
    p << QStringLiteral("xRpt.PrintForm = ") + cadenaScript(d.forma);
    ajuste("UserPageHeight", d.alto, "-1");
    ajuste("UserPageWidth", d.ancho, "-1");
    p << QStringLiteral("xRpt.SQL = ") + cadenaScript(d.sql);

    QHash<QString, QString> claseDe; // folded object name -> class
    for (const Objeto &o : d.objetos) {
        const auto &tabla = propiedadesPorClase();
        const auto clase = tabla.constFind(o.clase);
        if (clase == tabla.cend()) {
            rechaza(QStringLiteral("Tipo de objeto incorrecto"), o.nombre + QStringLiteral(": ") + o.clase);
            return std::nullopt;
        }
        // The report finds its objects by name without regard to case: two of one name would be one.
        if (claseDe.contains(o.nombre.toCaseFolded())) {
            rechaza(QStringLiteral("El nombre de objeto ") + o.nombre +
                    QStringLiteral(" se repite en el reporte"));
            return std::nullopt;
        }
        claseDe.insert(o.nombre.toCaseFolded(), o.clase);
        p << constructor(o);
        // Stored properties in the class's property order; the name is the object's own.
        for (const Propiedad &prop : *clase) {
            const QString nombreProp = QString::fromLatin1(prop.nombre);
            if (nombreProp == QLatin1String("Name"))
                continue;
            for (const auto &guardada : o.propiedades) {
                if (guardada.first.compare(nombreProp, Qt::CaseInsensitive) != 0)
                    continue;
                QString valor;
                const QString detalle =
                    o.nombre + u'.' + nombreProp + QStringLiteral(" = ") + guardada.second;
                if (prop.tipo == Tipo::Numero) {
                    const std::optional<QString> n = numero(guardada.second);
                    if (!n) {
                        rechaza(QStringLiteral("Debe ingresar un valor numerico"), detalle);
                        return std::nullopt;
                    }
                    valor = *n;
                } else if (prop.tipo == Tipo::Logico) {
                    const std::optional<bool> b = logico(guardada.second);
                    if (!b) {
                        rechaza(QStringLiteral("Valor invalido, se esperaba TRUE,FALSE,SI,NO"), detalle);
                        return std::nullopt;
                    }
                    valor = *b ? QStringLiteral("True") : QStringLiteral("False");
                } else {
                    valor = cadenaScript(guardada.second);
                }
                p << objeto(o.nombre) + u'.' + nombreProp + QStringLiteral(" = ") + valor;
            }
        }
        for (const auto &guardada : o.propiedades) {
            bool conocida = false;
            for (const Propiedad &prop : *clase)
                conocida =
                    conocida || guardada.first.compare(QLatin1String(prop.nombre), Qt::CaseInsensitive) == 0;
            if (!conocida) {
                rechaza(QStringLiteral("La propiedad ") + guardada.first +
                            QStringLiteral(" no es de un objeto ") + o.clase,
                        o.nombre);
                return std::nullopt;
            }
        }
    }

    for (const Objeto &o : d.objetos) {
        if (o.seccion.isEmpty())
            continue; // an object the formulas use but no section prints
        QString miembro;
        for (const auto &s : secciones())
            if (s.first.compare(o.seccion, Qt::CaseInsensitive) == 0)
                miembro = s.second;
        if (miembro.isEmpty()) {
            rechaza(QStringLiteral("La seccion ") + o.seccion + QStringLiteral(" del objeto ") + o.nombre +
                    QStringLiteral(" no es valida"));
            return std::nullopt;
        }
        p << QStringLiteral("xRpt.") + miembro + u'(' + objeto(o.nombre) + u')';
    }

    for (const Grupo &g : d.grupos) {
        if (claseDe.value(g.nombre.toCaseFolded()) != QLatin1String("cPrintGroup")) {
            rechaza(QStringLiteral("El grupo ") + g.nombre + QStringLiteral(" no es un objeto del reporte"));
            return std::nullopt;
        }
        for (const QString &campo : g.campos) {
            if (!claseDe.contains(campo.toCaseFolded())) {
                rechaza(QStringLiteral("El campo ") + campo + QStringLiteral(" del grupo ") + g.nombre +
                        QStringLiteral(" no es un objeto del reporte"));
                return std::nullopt;
            }
            p << objeto(g.nombre) + QStringLiteral(".addField ") + objeto(campo);
        }
        for (const QString &sumario : g.sumarios) {
            if (claseDe.value(sumario.toCaseFolded()) != QLatin1String("cPrintSumary")) {
                rechaza(QStringLiteral("El sumario ") + sumario + QStringLiteral(" del grupo ") + g.nombre +
                        QStringLiteral(" no es un objeto del reporte"));
                return std::nullopt;
            }
            p << objeto(g.nombre) + QStringLiteral(".addSumary ") + objeto(sumario);
        }
    }
    return p.join(u'\n') + u'\n';
}

std::optional<QString> ProgramaReporte::generaPrograma(db::Connection &c, const QString &repClave)
{
    const std::optional<Diseno> d = leeDiseno(c, repClave);
    if (!d)
        return std::nullopt;
    return escribe(*d);
}

bool ProgramaReporte::guardaPrograma(db::Connection &c, const QString &repClave)
{
    db::Transaction tx(c);
    const std::optional<Diseno> d = leeDiseno(c, repClave);
    if (!d)
        return false;
    const std::optional<QString> programa = escribe(*d);
    if (!programa)
        return false;
    QString codigo = d->codigoClave;
    if (codigo.isEmpty()) {
        // A new key: a script that already has the usual one is somebody else's and stays as it is.
        const QString base = QStringLiteral("REPORTE_") + d->clave;
        codigo = base;
        for (int n = 2;
             c.scalar(QStringLiteral("select count(*) from tCodigo where codigo_Clave = ?"), {codigo})
                 .toInt() > 0;
             ++n)
            codigo = base + u'_' + QString::number(n);
        c.execute(QStringLiteral("update tReporte set codigo_Clave = ? where rep_Clave = ?"),
                  {codigo, d->clave});
    }
    if (c.scalar(QStringLiteral("select count(*) from tCodigo where codigo_Clave = ?"), {codigo}).toInt() > 0)
        c.execute(
            QStringLiteral("update tCodigo set codigo_Nombre = ?, codigo_Text = ? where codigo_Clave = ?"),
            {d->nombre, *programa, codigo});
    else
        c.execute(
            QStringLiteral("insert into tCodigo (codigo_Clave, codigo_Nombre, codigo_Text, codigo_Activo) "
                           "values (?, ?, ?, 'S')"),
            {codigo, d->nombre, *programa});
    tx.commit();
    return true;
}

std::optional<int> ProgramaReporte::guardaFaltantes(db::Connection &c)
{
    QStringList faltantes;
    for (db::Recordset r = c.openRecordset(QStringLiteral(
             "select r.rep_Clave from tReporte r where r.rep_SoloCodigo <> 'S' and not exists "
             "(select 1 from tCodigo k where k.codigo_Clave = r.codigo_Clave) order by r.rep_Clave"));
         !r.eof(); r.moveNext())
        faltantes << r.text(QStringLiteral("rep_Clave"));
    int escritos = 0;
    for (const QString &clave : faltantes) {
        if (!guardaPrograma(c, clave))
            return std::nullopt;
        ++escritos;
    }
    return escritos;
}
