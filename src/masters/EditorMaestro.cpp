#include "EditorMaestro.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "MensajesMantenimiento.h"
#include "Prompter.h"

#include "Connection.h"
#include "DbError.h"
#include "Decimal.h"
#include "Transaction.h"

namespace {

const QString kFormato = QStringLiteral("0.00");

QVariant nuloSiVacio(const QString &text)
{
    const QString t = text.trimmed();
    return t.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(t);
}

} // namespace

EditorMaestro::EditorMaestro(ConnectionProvider &connections, Prompter &prompter, const Tabla &tabla)
    : m_connections(connections), m_prompter(prompter), m_tabla(tabla)
{
}

const EditorMaestro::Catalogo *EditorMaestro::catalogoDe(std::span<const Catalogo> catalogos,
                                                         const QString &campo)
{
    for (const Catalogo &c : catalogos)
        if (campo.compare(QLatin1String(c.campo), Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QList<EditorMaestro::Opcion> EditorMaestro::opcionesDe(const Catalogo *cat,
                                                       const QString &paisDeEstados) const
{
    QList<Opcion> out{{QString(), QString()}};
    if (!cat)
        return out;
    db::Connection &c = m_connections.getConnection();
    QString sql = QStringLiteral("select ") + QLatin1String(cat->clave) + QStringLiteral(", ") +
                  QLatin1String(cat->nombre) + QStringLiteral(" from ") + QLatin1String(cat->tabla);
    QVariantList params;
    if (QLatin1String(cat->tabla) == QLatin1String("tEstado")) {
        sql += QStringLiteral(" where pais_Clave = ?");
        params << texto(paisDeEstados).trimmed();
    }
    sql += QStringLiteral(" order by ") + QLatin1String(cat->clave);
    for (db::Recordset rs = c.openRecordset(sql, params); !rs.eof(); rs.moveNext())
        out.append({rs.value(0).toString().trimmed(), rs.value(1).toString().trimmed()});
    return out;
}

bool EditorMaestro::esNumero(const QString &text, Decimal *valor)
{
    bool ok = false;
    const Decimal d = Decimal::fromString(text.trimmed(), &ok);
    if (valor)
        *valor = d;
    return ok && !text.trimmed().isEmpty();
}

void EditorMaestro::limpiaTexto()
{
    m_texto.clear();
    for (const QString &c : m_tabla.decimales)
        m_texto.insert(c.toLower(), Decimal().format(kFormato));
}

bool EditorMaestro::leeRegistro(const QString &clave, const std::function<void()> &antes)
{
    db::Recordset rs = m_connections.getConnection().openRecordset(
        QStringLiteral("select * from ") + m_tabla.tabla + QStringLiteral(" where ") + m_tabla.clave +
            QStringLiteral(" = ?"),
        {clave});
    if (rs.eof()) {
        m_prompter.exclamation(MensajesMantenimiento::claveNoExiste());
        return false;
    }
    if (antes)
        antes();
    m_texto.clear();
    m_continuar = false;
    for (const QString &campo : m_tabla.campos) {
        const QVariant v = rs.value(campo);
        QString t;
        if (v.isNull())
            t.clear();
        else if (m_tabla.decimales.contains(campo))
            t = rs.decimal(campo).format(kFormato);
        else if (m_tabla.enteros.contains(campo))
            t = QString::number(rs.integer(campo));
        else
            t = rs.text(campo).trimmed();
        m_texto.insert(campo.toLower(), t);
    }
    rs.close();
    return true;
}

bool EditorMaestro::existe(const QString &clave)
{
    return m_connections.getConnection()
               .scalar(QStringLiteral("select count(*) from ") + m_tabla.tabla + QStringLiteral(" where ") +
                           m_tabla.clave + QStringLiteral(" = ?"),
                       {clave})
               .toLongLong() > 0;
}

void EditorMaestro::escribeRegistro()
{
    db::Connection &c = m_connections.getConnection();
    const QString clave = texto(m_tabla.clave).trimmed();
    QStringList columnas;
    QVariantList valores;
    for (const QString &campo : m_tabla.campos) {
        if (campo == m_tabla.clave || m_tabla.soloLectura.contains(campo))
            continue;
        const QString t = texto(campo).trimmed();
        columnas << campo;
        if (m_tabla.decimales.contains(campo))
            valores << (t.isEmpty() ? Decimal() : Decimal::fromString(t)).toQVariant();
        else if (m_tabla.enteros.contains(campo))
            valores << (t.isEmpty() ? Decimal() : Decimal::fromString(t)).toInt64();
        else if (m_tabla.siempreTexto.contains(campo))
            valores << t;
        else
            valores << nuloSiVacio(t);
    }
    // The table and column names are the program's own constants.
    if (m_nuevo) {
        const QStringList marcas(columnas.size(), QStringLiteral("?"));
        c.execute(QStringLiteral("insert into ") + m_tabla.tabla + QStringLiteral(" (") + m_tabla.clave +
                      QStringLiteral(", ") + columnas.join(u',') + QStringLiteral(", ") + m_tabla.fechas +
                      QStringLiteral("_FecAlta, ") + m_tabla.fechas + QStringLiteral("_FecMod) values (?, ") +
                      marcas.join(u',') + QStringLiteral(", getdate(), getdate())"),
                  QVariantList{clave} + valores);
    } else {
        QStringList sets;
        for (const QString &col : columnas)
            sets << col + QStringLiteral(" = ?");
        c.execute(QStringLiteral("update ") + m_tabla.tabla + QStringLiteral(" set ") + m_tabla.fechas +
                      QStringLiteral("_FecMod = getdate(), ") + sets.join(u',') + QStringLiteral(" where ") +
                      m_tabla.clave + QStringLiteral(" = ?"),
                  valores + QVariantList{clave});
    }
}

bool EditorMaestro::rechazaEn(int pestana, const QString &campo, const QString &mensaje)
{
    m_pestana = pestana;
    m_campo = campo;
    m_prompter.exclamation(mensaje);
    return false;
}

bool EditorMaestro::claveLibreEn(int pestana)
{
    const QString clave = texto(m_tabla.clave).trimmed();
    if (!m_nuevo || !existe(clave))
        return true;
    const QString nombre =
        m_connections.getConnection()
            .scalar(QStringLiteral("select ") + m_tabla.nombre + QStringLiteral(" from ") + m_tabla.tabla +
                        QStringLiteral(" where ") + m_tabla.clave + QStringLiteral(" = ?"),
                    {clave})
            .toString()
            .trimmed();
    return rechazaEn(pestana, m_tabla.clave,
                     QStringLiteral("La clave ya esta en uso para el siguiente ") + m_tabla.sujeto +
                         QStringLiteral(": ") + nombre);
}

bool EditorMaestro::guarda(const std::function<bool()> &valida, const std::function<void()> &escribe,
                           bool enTransaccion, const QString &plural)
{
    m_continuar = false;
    try {
        if (!valida())
            return false;
        db::Connection &c = m_connections.getConnection();
        if (!m_nuevo && !existe(texto(m_tabla.clave).trimmed())) {
            m_prompter.exclamation(QStringLiteral("La clave del ") + m_tabla.sujeto +
                                   QStringLiteral(" no existe"));
            return false;
        }
        if (enTransaccion) {
            db::Transaction tx(c);
            escribe();
            tx.commit();
        } else {
            escribe();
        }
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(),
                    m_nuevo ? QStringLiteral("agregarRegistro") : QStringLiteral("modificarRegistro"),
                    ErrorInfo::fromException(e));
        return false;
    }
    if (m_nuevo) {
        m_nuevo = false;
        m_continuar = m_prompter.question(
            QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas ") + plural,
            true);
    } else {
        m_prompter.information(MensajesMantenimiento::actualizado());
    }
    return true;
}

bool EditorMaestro::elimina(const QString &claveTexto, const QList<QPair<QString, QString>> &referencias,
                            const std::function<QString()> &pregunta, const QStringList &borrados)
{
    const QString clave = claveTexto.trimmed();
    try {
        db::Connection &c = m_connections.getConnection();
        if (clave.isEmpty() || !existe(clave)) {
            m_prompter.exclamation(MensajesMantenimiento::claveNoExiste());
            return false;
        }
        for (const auto &[tabla, columna] : referencias) {
            if (!c.tableExists(tabla))
                continue;
            // The table and column names are the program's own constants.
            if (c.scalar(QStringLiteral("select count(*) from ") + tabla + QStringLiteral(" where ") +
                             columna + QStringLiteral(" = ?"),
                         {clave})
                    .toLongLong() > 0) {
                m_prompter.exclamation(MensajesMantenimiento::enUso());
                return false;
            }
        }
        if (!m_prompter.question(pregunta(), false))
            return false;
        try {
            db::Transaction tx(c);
            for (const QString &sql : borrados)
                c.execute(sql, {clave});
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
