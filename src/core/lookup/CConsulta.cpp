#include "CConsulta.h"

#include "CValue.h"
#include "ConnectionProvider.h"
#include "ListEntry.h"
#include "Log.h"
#include "Prompter.h"
#include "cConfigure.h"

#include "Connection.h"

#include <QDate>

namespace {

QString escaped(const QString &text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QStringLiteral("''"));
    return t;
}

// Copies sql with every marker open…close replaced by value(name), in the way the stored
// queries have always been expanded: no regard to quotes, every occurrence of a marker at once.
// value returns false to stop at a marker (which stays in the text).
QString replaceMarkers(const QString &sql, QChar open, QChar close,
                       const std::function<bool(const QString &name, QString &value)> &value)
{
    QString out = sql;
    qsizetype from = 0;
    for (;;) {
        const qsizetype start = out.indexOf(open, from);
        if (start < 0)
            break;
        const qsizetype end = out.indexOf(close, start + 1);
        if (end < 0)
            break;
        const QString marker = out.mid(start, end - start + 1);
        QString replacement;
        if (!value(marker.mid(1, marker.size() - 2), replacement))
            break;
        out = out.left(start) + out.mid(start).replace(marker, replacement);
        from = start + replacement.size();
    }
    return out;
}

} // namespace

CConsulta::CConsulta(ConnectionProvider &connections, cConfigure &config, Prompter &prompter)
    : m_connections(connections), m_config(config), m_prompter(prompter)
{
}

void CConsulta::limpia()
{
    m_clave = 0;
    m_nombre.clear();
    m_sql.clear();
    m_completar = false;
    m_columnas.clear();
}

bool CConsulta::cargaConsulta(int conClave)
{
    limpia();
    try {
        db::Connection &c = m_connections.getConnection();
        db::Recordset rs = c.openRecordset(
            QStringLiteral("select con_Clave, con_Nombre, con_Completar, con_SQL from tConsulta where con_Clave = ?"),
            {conClave});
        if (rs.eof())
            return false;
        m_clave = int(rs.integer(QStringLiteral("con_Clave")));
        m_nombre = rs.text(QStringLiteral("con_Nombre"));
        m_completar = rs.text(QStringLiteral("con_Completar")).trimmed().toUpper() == QLatin1String("S");
        m_sql = rs.text(QStringLiteral("con_SQL"));
        QList<Columna> columnas;
        for (db::Recordset sel = c.openRecordset(
                 QStringLiteral("select sel_Campo, sel_Nombre, sel_Valor, sel_Descripcion from tSelect "
                                "where con_Clave = ? order by sel_Orden"),
                 {conClave});
             !sel.eof(); sel.moveNext()) {
            const auto flag = [&](const char *name) {
                return sel.text(QString::fromLatin1(name)).trimmed().toUpper() == QLatin1String("S");
            };
            columnas.append({sel.text(QStringLiteral("sel_Campo")), sel.text(QStringLiteral("sel_Nombre")),
                             flag("sel_Valor"), flag("sel_Descripcion")});
        }
        m_columnas = columnas;
        return true;
    } catch (const std::exception &e) {
        limpia();
        reportError(m_prompter, QStringLiteral("cargaConsulta"), QStringLiteral("CConsulta"),
                    ErrorInfo::fromException(e));
        return false;
    }
}

QVariant CConsulta::valorSistema(const QString &name) const
{
    const QString n = name.trimmed().toUpper();
    if (n == QLatin1String("ALM_CLAVE") || n == QLatin1String("ALMACEN"))
        return m_config.getValue(QStringLiteral("ALMACEN")).toString();
    if (n == QLatin1String("USU_CLAVE"))
        return m_config.getValue(QStringLiteral("USUARIO")).toString();
    if (n == QLatin1String("TERM_CLAVE"))
        return m_config.getValue(QStringLiteral("TERMINAL")).toString();
    if (n == QLatin1String("ANIO"))
        return qint64(QDate::currentDate().year());
    return {};
}

const CValue *CConsulta::parametro(const ParametrosConsulta &parameters, const QString &name) const
{
    for (const CValue *p : parameters)
        if (p && p->key().compare(name, Qt::CaseInsensitive) == 0)
            return p;
    return nullptr;
}

QString CConsulta::remplazaValorSistema(const QString &sql) const
{
    return replaceMarkers(sql, QLatin1Char('{'), QLatin1Char('}'), [this](const QString &name, QString &value) {
        const QVariant v = valorSistema(name);
        value = v.isValid() ? v.toString() : QString();
        return true;
    });
}

QString CConsulta::remplazaValorUsuario(const QString &sql, const ParametrosConsulta &parameters) const
{
    const QString format = m_config.getValue(QStringLiteral("FORMATO-FECHA-SERVIDOR-FULL")).toString();
    return replaceMarkers(sql, QLatin1Char('['), QLatin1Char(']'), [&](const QString &name, QString &value) {
        const CValue *p = parametro(parameters, name);
        if (!p) {
            m_prompter.exclamation(QStringLiteral("Parametro no encontrado [") + name + QLatin1Char(']'));
            return false;
        }
        value = p->valueToDb(format);
        return true;
    });
}

QString CConsulta::preparaQuery(const ParametrosConsulta &parameters, const QString &sql) const
{
    return remplazaValorUsuario(remplazaValorSistema(sql.isEmpty() ? m_sql : sql), parameters);
}

std::optional<PreparedQuery> CConsulta::preparaConsulta(const ParametrosConsulta &parameters,
                                                        const QString &sql) const
{
    return prepara(sql.isEmpty() ? m_sql : sql, {}, &parameters);
}

std::optional<PreparedQuery> CConsulta::prepara(const QString &sql, const QVariantList &values,
                                                const ParametrosConsulta *parameters) const
{
    const QString format = m_config.getValue(QStringLiteral("FORMATO-FECHA-SERVIDOR-FULL")).toString();
    PreparedQuery out;
    qsizetype nextValue = 0;
    bool inLiteral = false;
    const qsizetype n = sql.size();
    qsizetype i = 0;

    // A marker starting at i (sql[i] is its opening character): its name, or nothing when
    // no closing character follows before the end of the literal or the line.
    const auto markerAt = [&](QChar close, QString &name) {
        for (qsizetype j = i + 1; j < n; ++j) {
            const QChar c = sql.at(j);
            if (c == close) {
                name = sql.mid(i + 1, j - i - 1);
                return j;
            }
            if (c == QLatin1Char('\'') || c == QLatin1Char('\n') || c == QLatin1Char('{') || c == QLatin1Char('['))
                return qsizetype(-1);
        }
        return qsizetype(-1);
    };
    const auto copyUntil = [&](const QString &end) {
        const qsizetype stop = sql.indexOf(end, i);
        const qsizetype to = stop < 0 ? n : stop + end.size();
        out.sql += sql.mid(i, to - i);
        i = to;
    };

    while (i < n) {
        const QChar c = sql.at(i);
        const QChar next = i + 1 < n ? sql.at(i + 1) : QChar();
        if (c == QLatin1Char('\'')) {
            inLiteral = !inLiteral; // '' inside a literal toggles twice
            out.sql += c;
            ++i;
            continue;
        }
        if (!inLiteral && c == QLatin1Char('-') && next == QLatin1Char('-')) {
            copyUntil(QStringLiteral("\n"));
            continue;
        }
        if (!inLiteral && c == QLatin1Char('/') && next == QLatin1Char('*')) {
            copyUntil(QStringLiteral("*/"));
            continue;
        }
        if (!inLiteral && c == QLatin1Char('"')) {
            ++i;
            out.sql += c;
            copyUntil(QStringLiteral("\""));
            continue;
        }
        if (!inLiteral && c == QLatin1Char('?')) {
            out.sql += c;
            out.values.append(nextValue < values.size() ? values.at(nextValue) : QVariant());
            ++nextValue;
            ++i;
            continue;
        }
        const bool system = c == QLatin1Char('{');
        const bool user = c == QLatin1Char('[') && parameters;
        QString name;
        const qsizetype end = system || user ? markerAt(system ? QLatin1Char('}') : QLatin1Char(']'), name) : -1;
        if (end < 0) {
            out.sql += c;
            ++i;
            continue;
        }
        QVariant bound;
        QString text;
        if (system) {
            bound = valorSistema(name);
            text = bound.toString();
            if (!bound.isValid())
                bound = QVariant(QMetaType(QMetaType::QString)); // no such value: NULL
        } else {
            const CValue *p = parametro(*parameters, name);
            if (!p) {
                m_prompter.exclamation(QStringLiteral("Parametro no encontrado [") + name + QLatin1Char(']'));
                return std::nullopt;
            }
            bound = p->valueForBinding();
            text = p->literalText(format);
        }
        if (inLiteral) {
            out.sql += escaped(text);
        } else {
            out.sql += QLatin1Char('?');
            out.values.append(bound);
        }
        i = end + 1;
    }
    return out;
}

bool CConsulta::cargaCombo(QStringList &entries, int &selected, const QString &selectedKey, int keyWidth,
                           const ParametrosConsulta &parameters, QStringList *keys) const
{
    const std::optional<PreparedQuery> q = preparaConsulta(parameters);
    if (!q)
        return false;
    try {
        db::Recordset rs = m_connections.getConnection().openRecordset(q->sql, q->values);
        entries.clear();
        if (keys)
            keys->clear();
        selected = -1;
        for (; !rs.eof(); rs.moveNext()) {
            QString key;
            QString text;
            for (const Columna &col : m_columnas) {
                if (col.valor)
                    key += rs.text(col.campo);
                if (col.descripcion)
                    text += rs.text(col.campo);
            }
            if (selected < 0 && key.trimmed() == selectedKey.trimmed() && !selectedKey.trimmed().isEmpty())
                selected = int(entries.size());
            entries.append(ListEntry::make(key, text, keyWidth));
            if (keys)
                keys->append(key);
        }
        return true;
    } catch (const std::exception &e) {
        entries.clear();
        if (keys)
            keys->clear();
        selected = -1;
        reportError(m_prompter, QStringLiteral("cargaCombo"), QStringLiteral("CConsulta"),
                    ErrorInfo::fromException(e));
        return false;
    }
}

QString CConsulta::claveDeEntrada(const QString &entry)
{
    return ListEntry::text(entry);
}
