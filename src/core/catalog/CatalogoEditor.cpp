#include "CatalogoEditor.h"


#include "ConnectionProvider.h"
#include "FechaCapturada.h"
#include "ListEntry.h"
#include "Log.h"
#include "MensajesMantenimiento.h"
#include "Permisos.h"
#include "Prompter.h"

#include "Connection.h"
#include "DbError.h"
#include "Decimal.h"
#include "Transaction.h"

#include <QDate>
#include <QDateTime>

using Tipo = CatalogoCampo::Tipo;

const QString CatalogoEditor::kSinAcceso = MensajesMantenimiento::sinAcceso();
const QString CatalogoEditor::kClaveNoExiste = MensajesMantenimiento::claveNoExiste();
const QString CatalogoEditor::kActualizado = MensajesMantenimiento::actualizado();
const QString CatalogoEditor::kEliminado = MensajesMantenimiento::eliminado();
const QString CatalogoEditor::kEnUso = MensajesMantenimiento::enUso();
// A Tab would split the key in every list entry; '|' joins the parts of a composite key.
const QString CatalogoEditor::kClaveInvalida =
    QStringLiteral("La clave no puede contener tabuladores ni el caracter |");

namespace {

constexpr int kAnchoLista = 50;

bool vacio(const QVariant &v)
{
    return !v.isValid() || v.isNull() ||
           (v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty());
}

bool bandera(const CatalogoCampo &c, const QVariant &v)
{
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    return v.toString().trimmed().compare(c.si, Qt::CaseInsensitive) == 0;
}

QString rango(const CatalogoCampo &c)
{
    if (c.minimo && c.maximo)
        return QStringLiteral("El valor de %1 debe estar entre %2 y %3")
            .arg(c.titulo)
            .arg(*c.minimo)
            .arg(*c.maximo);
    if (c.minimo)
        return QStringLiteral("El valor de %1 debe ser mayor o igual a %2").arg(c.titulo).arg(*c.minimo);
    return QStringLiteral("El valor de %1 debe ser menor o igual a %2").arg(c.titulo).arg(*c.maximo);
}

} // namespace

CatalogoEditor::CatalogoEditor(const CatalogoDef &def, ConnectionProvider &connections, Permisos &permisos,
                               Prompter &prompter, const QString &modo)
    : m_def(def), m_connections(connections), m_permisos(permisos), m_prompter(prompter), m_modo(modo)
{
}

QString CatalogoEditor::titulo() const
{
    if (m_modo == QLatin1String("C"))
        return QStringLiteral("Cambio de ") + m_def.titulo;
    if (m_modo == QLatin1String("Q"))
        return QStringLiteral("Consulta de ") + m_def.titulo;
    return QStringLiteral("Alta de ") + m_def.titulo;
}

bool CatalogoEditor::permitido(QChar comando) const
{
    const char *sufijo = comando == u'A'   ? "_cmdAlta"
                         : comando == u'C' ? "_cmdCambio"
                         : comando == u'B' ? "_cmdBaja"
                                           : "_cmdConsulta";
    return m_permisos.hasPermission(m_def.ventana + QLatin1String(sufijo));
}

bool CatalogoEditor::requiere(QChar comando)
{
    if (permitido(comando))
        return true;
    m_prompter.exclamation(kSinAcceso);
    return false;
}

QString CatalogoEditor::claveDe(const QString &entrada)
{
    return (entrada.contains(u'\t') ? ListEntry::key(entrada) : entrada).trimmed();
}

QString CatalogoEditor::entrada(const QString &texto, const QString &clave)
{
    return ListEntry::make(texto, clave, kAnchoLista);
}

QString CatalogoEditor::whereClave() const
{
    QStringList w;
    for (const QString &k : m_def.claves)
        w << k + QStringLiteral(" = ?");
    return w.join(QStringLiteral(" AND "));
}

QStringList CatalogoEditor::claveDe(const QVariantMap &valores) const
{
    QStringList out;
    for (const CatalogoCampo *c : m_def.camposClave())
        out << valorSql(*c, valores.value(c->columna)).toString();
    return out;
}

void CatalogoEditor::falla(const char *donde, const std::exception &e)
{
    reportError(m_prompter, QString::fromLatin1(donde), m_def.ventana, ErrorInfo::fromException(e));
}

QVariant CatalogoEditor::valorSql(const CatalogoCampo &c, const QVariant &v) const
{
    if (c.tipo == Tipo::Bandera)
        return (v.isValid() ? bandera(c, v) : c.marcada) ? c.si : c.no; // absent: as a new row has it
    if (vacio(v))
        return {};
    switch (c.tipo) {
    case Tipo::Entero:
        return v.toString().trimmed().toLongLong();
    case Tipo::Decimal:
        return Decimal::fromString(v.toString().trimmed()).toQVariant();
    case Tipo::Fecha:
        return QDateTime(fechaCapturada(v), QTime(0, 0));
    case Tipo::Opcion:
    case Tipo::Referencia:
        return claveDe(v.toString());
    default:
        return c.oculto ? v.toString() : v.toString().trimmed();
    }
}

QVariant CatalogoEditor::valorLeido(const CatalogoCampo &c, const QVariant &v) const
{
    if (c.tipo == Tipo::Bandera)
        return bandera(c, v);
    if (v.isNull() || !v.isValid())
        return {};
    switch (c.tipo) {
    case Tipo::Entero:
        return v.toLongLong();
    case Tipo::Decimal:
        return Decimal::fromVariant(v).toString();
    case Tipo::Fecha:
        return fechaCapturada(v);
    default:
        return v.toString();
    }
}

bool CatalogoEditor::validaDatos(const QVariantMap &valores)
{
    for (const CatalogoCampo &c : m_def.campos) {
        m_campoRechazado = c.columna; // cleared below when every field passes
        const QVariant v = valores.value(c.columna);
        if (vacio(v) && c.tipo != Tipo::Bandera) {
            if (!c.requerido)
                continue;
            m_prompter.information(
                (c.esSeleccion() ? QStringLiteral("Debe seleccionar ") : QStringLiteral("Debe indicar ")) +
                c.falta);
            return false;
        }
        const QString texto = v.toString().trimmed();
        switch (c.tipo) {
        case Tipo::Texto:
            if (m_def.esClave(c.columna) &&
                (texto.contains(u'\t') || texto.contains(CatalogoDef::kSeparador))) {
                m_prompter.exclamation(kClaveInvalida);
                return false;
            }
            if (c.longitud > 0 && (c.oculto ? v.toString() : texto).size() > c.longitud) {
                m_prompter.exclamation(QStringLiteral("El campo %1 admite a lo mas %2 caracteres")
                                           .arg(c.titulo)
                                           .arg(c.longitud));
                return false;
            }
            break;
        case Tipo::Entero:
        case Tipo::Decimal: {
            bool ok = false;
            Decimal d;
            if (c.tipo == Tipo::Entero) {
                const qint64 n = texto.toLongLong(&ok);
                d = Decimal(n);
            } else {
                d = Decimal::fromString(texto, &ok);
            }
            if (!ok) {
                m_prompter.information((c.tipo == Tipo::Entero
                                            ? QStringLiteral("Debe indicar un numero entero en ")
                                            : QStringLiteral("Debe indicar un valor numerico en ")) +
                                       c.titulo);
                return false;
            }
            if ((c.minimo && d < Decimal(*c.minimo)) || (c.maximo && d > Decimal(*c.maximo))) {
                m_prompter.exclamation(rango(c));
                return false;
            }
            break;
        }
        case Tipo::Fecha:
            if (!fechaCapturada(v).isValid()) {
                m_prompter.information(QStringLiteral("Debe indicar una fecha valida en ") + c.titulo);
                return false;
            }
            break;
        case Tipo::Opcion: {
            const QString k = claveDe(texto);
            bool found = false;
            for (const QString &o : c.opciones)
                found = found || claveDe(o) == k;
            if (!found) {
                m_prompter.information(QStringLiteral("Debe seleccionar ") + c.falta);
                return false;
            }
            break;
        }
        case Tipo::Referencia:
            try {
                // Identifiers from the description; the value is bound.
                if (m_connections.getConnection()
                        .scalar(QStringLiteral("SELECT count(*) FROM ") + c.refTabla +
                                    QStringLiteral(" WHERE ") + c.refClave + QStringLiteral(" = ?"),
                                {claveDe(texto)})
                        .toInt() == 0) {
                    m_prompter.information(QStringLiteral("Debe seleccionar ") + c.falta);
                    return false;
                }
            } catch (const std::exception &e) {
                falla("validaDatos", e);
                return false;
            }
            break;
        case Tipo::Bandera:
            break;
        }
    }
    m_campoRechazado.clear();
    return true;
}

bool CatalogoEditor::existe(const QStringList &clave, QString *nombre)
{
    db::Recordset rs = m_connections.getConnection().openRecordset(
        QStringLiteral("SELECT ") + m_def.nombre + QStringLiteral(" FROM ") + m_def.tabla +
            QStringLiteral(" WHERE ") + whereClave(),
        QVariantList(clave.cbegin(), clave.cend()));
    if (rs.eof())
        return false;
    if (nombre)
        *nombre = rs.value(0).toString();
    return true;
}

bool CatalogoEditor::agregarRegistro(const QVariantMap &valores)
{
    m_continuar = false;
    if (!requiere(u'A') || !validaDatos(valores))
        return false;
    const QStringList clave = claveDe(valores);
    const auto enUsoPor = [&](const QString &nombre) {
        m_prompter.exclamation(QStringLiteral("La clave ya esta en uso para ") + m_def.articulo +
                               QStringLiteral(" siguiente ") + m_def.singular + u' ' + nombre);
    };
    try {
        QString nombre;
        if (existe(clave, &nombre)) {
            enUsoPor(nombre);
            return false;
        }
        QStringList columnas;
        QStringList marcas;
        QVariantList params;
        for (const CatalogoCampo &c : m_def.campos) {
            columnas << c.columna;
            marcas << QStringLiteral("?");
            params << valorSql(c, valores.value(c.columna));
        }
        try {
            m_connections.getConnection().execute(
                QStringLiteral("INSERT INTO ") + m_def.tabla + QStringLiteral(" (") +
                    columnas.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                    marcas.join(QStringLiteral(", ")) + u')',
                params);
        } catch (const db::DbError &e) {
            // Another workstation added the same key between the check and the insert.
            if (e.kind() != db::DbError::UniqueViolation || !existe(clave, &nombre))
                throw;
            enUsoPor(nombre);
            return false;
        }
    } catch (const std::exception &e) {
        falla("agregarRegistro", e);
        return false;
    }
    m_continuar = m_prompter.question(
        QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas ") + m_def.plural,
        true);
    return true;
}

bool CatalogoEditor::modificarRegistro(const QVariantMap &valores)
{
    if (!requiere(u'C') || !validaDatos(valores))
        return false;
    const QStringList clave = claveDe(valores);
    try {
        if (!existe(clave)) {
            m_prompter.exclamation(kClaveNoExiste);
            return false;
        }
        QStringList sets;
        QVariantList params;
        for (const CatalogoCampo &c : m_def.campos) {
            if (m_def.esClave(c.columna))
                continue;
            sets << c.columna + QStringLiteral(" = ?");
            params << valorSql(c, valores.value(c.columna));
        }
        for (const QString &k : clave)
            params << k;
        if (!sets.isEmpty())
            m_connections.getConnection().execute(
                QStringLiteral("UPDATE ") + m_def.tabla + QStringLiteral(" SET ") +
                    sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") + whereClave(),
                params);
    } catch (const std::exception &e) {
        falla("modificarRegistro", e);
        return false;
    }
    m_prompter.information(kActualizado);
    return true;
}

bool CatalogoEditor::claveCompleta(const QStringList &clave)
{
    const auto campos = m_def.camposClave();
    for (qsizetype i = 0; i < campos.size(); ++i) {
        if (i >= clave.size() || clave.at(i).trimmed().isEmpty()) {
            m_prompter.information((campos.at(i)->esSeleccion() ? QStringLiteral("Debe seleccionar ")
                                                                : QStringLiteral("Debe indicar ")) +
                                   campos.at(i)->falta);
            return false;
        }
    }
    return true;
}

bool CatalogoEditor::consultarRegistro(const QStringList &claveTexto, QVariantMap &valores)
{
    if (!requiere(u'Q') || !claveCompleta(claveTexto))
        return false;
    QStringList clave;
    for (const QString &k : claveTexto)
        clave << claveDe(k);
    try {
        QStringList columnas;
        for (const CatalogoCampo &c : m_def.campos)
            columnas << c.columna;
        db::Recordset rs = m_connections.getConnection().openRecordset(
            QStringLiteral("SELECT ") + columnas.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
                m_def.tabla + QStringLiteral(" WHERE ") + whereClave(),
            QVariantList(clave.cbegin(), clave.cend()));
        if (rs.eof()) {
            m_prompter.exclamation(kClaveNoExiste);
            return false;
        }
        valores.clear();
        for (qsizetype i = 0; i < m_def.campos.size(); ++i)
            valores.insert(m_def.campos.at(i).columna, valorLeido(m_def.campos.at(i), rs.value(int(i))));
    } catch (const std::exception &e) {
        falla("consultarRegistro", e);
        return false;
    }
    return true;
}

bool CatalogoEditor::enUso(const QStringList &clave)
{
    db::Connection &c = m_connections.getConnection();
    for (const CatalogoReferencia &r : m_def.referencias) {
        // A referring table that a later part of the program brings may not exist yet.
        if (!c.tableExists(r.tabla))
            continue;
        QStringList w;
        for (const QString &col : r.columnas)
            w << col + QStringLiteral(" = ?");
        if (c.scalar(QStringLiteral("SELECT count(*) FROM ") + r.tabla + QStringLiteral(" WHERE ") +
                         w.join(QStringLiteral(" AND ")),
                     QVariantList(clave.cbegin(), clave.cend()))
                .toInt() > 0)
            return true;
    }
    return false;
}

bool CatalogoEditor::eliminarRegistro(const QStringList &claveTexto)
{
    if (!requiere(u'B') || !claveCompleta(claveTexto))
        return false;
    QStringList clave;
    for (const QString &k : claveTexto)
        clave << claveDe(k);
    try {
        if (!existe(clave)) {
            m_prompter.exclamation(kClaveNoExiste);
            return false;
        }
        if (enUso(clave)) {
            m_prompter.exclamation(kEnUso);
            return false;
        }
        if (!m_prompter.question(
                QStringLiteral("Esta seguro de eliminar ") + m_def.articulo + u' ' + m_def.singular, false))
            return false;
        db::Connection &c = m_connections.getConnection();
        const QVariantList params(clave.cbegin(), clave.cend());
        try {
            db::Transaction tx(c);
            for (const CatalogoReferencia &d : m_def.detalles) {
                if (!c.tableExists(d.tabla))
                    continue;
                QStringList w;
                for (const QString &col : d.columnas)
                    w << col + QStringLiteral(" = ?");
                c.execute(QStringLiteral("DELETE FROM ") + d.tabla + QStringLiteral(" WHERE ") +
                              w.join(QStringLiteral(" AND ")),
                          params);
            }
            c.execute(QStringLiteral("DELETE FROM ") + m_def.tabla + QStringLiteral(" WHERE ") + whereClave(),
                      params);
            tx.commit();
        } catch (const db::DbError &e) {
            // A reference the description does not list: the database's own foreign key refused it.
            if (e.kind() != db::DbError::ConstraintViolation)
                throw;
            m_prompter.exclamation(kEnUso);
            return false;
        }
    } catch (const std::exception &e) {
        falla("eliminarRegistro", e);
        return false;
    }
    m_prompter.information(kEliminado);
    return true;
}

QStringList CatalogoEditor::lista(const CatalogoCampo &campo)
{
    QStringList out;
    if (campo.tipo == Tipo::Opcion) {
        for (const QString &o : campo.opciones)
            out << entrada(ListEntry::text(o), claveDe(o));
        return out;
    }
    if (campo.tipo != Tipo::Referencia)
        return out;
    try {
        db::Recordset rs = m_connections.getConnection().openRecordset(
            QStringLiteral("SELECT ") + campo.refClave + QStringLiteral(", ") + campo.refNombre +
            QStringLiteral(" FROM ") + campo.refTabla + QStringLiteral(" ORDER BY ") + campo.refNombre);
        for (; !rs.eof(); rs.moveNext())
            out << entrada(rs.value(1).toString(), rs.value(0).toString());
    } catch (const std::exception &e) {
        falla("lista", e);
    }
    return out;
}
