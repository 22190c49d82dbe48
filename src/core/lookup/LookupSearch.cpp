#include "LookupSearch.h"

#include "ConnectionProvider.h"
#include "ListEntry.h"
#include "Log.h"
#include "Permisos.h"
#include "Prompter.h"
#include "cConfigure.h"

#include "Connection.h"
#include "Decimal.h"
#include "TextFold.h"

#include <QTime>

namespace {

// '?' placeholders outside quoted literals.
int placeholders(const QString &sql)
{
    int count = 0;
    bool literal = false;
    for (const QChar c : sql) {
        if (c == QLatin1Char('\''))
            literal = !literal;
        else if (!literal && c == QLatin1Char('?'))
            ++count;
    }
    return count;
}

const QString kReplace = QStringLiteral("##REPLACE##");

} // namespace

LookupSearch::LookupSearch(const LookupServices &services, const LookupDefinition &definition,
                           MaintenanceOpener opener)
    : m_services(services), m_definition(definition), m_opener(std::move(opener)),
      m_consulta(services.connections, services.config, services.prompter), m_model(services.config)
{
    m_model.setColumns(definition.columns);
    m_model.setErrorHandler([this](const std::exception &e) {
        reportError(m_services.prompter, QStringLiteral("cargaGrid"), QStringLiteral("frmConsulta"),
                    ErrorInfo::fromException(e));
    });
    const QString window = definition.maintenanceWindow.trimmed();
    if (!window.isEmpty() && m_opener) {
        const Permisos permisos(services.connections, services.config);
        m_commands.visible = true;
        m_commands.alta = permisos.hasPermission(window + QStringLiteral("_cmdAlta"));
        m_commands.cambio = permisos.hasPermission(window + QStringLiteral("_cmdCambio"));
        m_commands.baja = permisos.hasPermission(window + QStringLiteral("_cmdBaja"));
        m_commands.consulta = permisos.hasPermission(window + QStringLiteral("_cmdConsulta"));
    }
}

PreparedQuery LookupSearch::textCondition(const QString &column, const QString &text, bool anywhere,
                                          bool sqlite)
{
    // Case and accents do not count ("mexico" finds "México"): both sides go through the same
    // fold, mdr_fold in SQL and foldText here.
    QString pattern = db::foldText(text);
    pattern.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    pattern.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    pattern.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    pattern = (anywhere ? QStringLiteral("%") : QString()) + pattern + QLatin1Char('%');
    const QString value = sqlite ? column : QStringLiteral("cast(") + column + QStringLiteral(" as text)");
    return {QStringLiteral("mdr_fold(") + value + QStringLiteral(") LIKE ? ESCAPE '\\'"), {pattern}};
}

PreparedQuery LookupSearch::fieldCondition(const LookupField &field, const QString &text, bool anywhere,
                                           bool sqlite)
{
    const QString folded = db::foldText(text);
    // Trigrams count characters, not UTF-16 units; fewer than 3 match nothing in the index.
    if (field.trigramTable.isEmpty() || field.indexedRowid.isEmpty() || folded.toUcs4().size() < 3)
        return textCondition(field.column, text, anywhere, sqlite);
    if (!sqlite) {
        // PostgreSQL: a trigram index over the folded column. Asked for the first page in name
        // order, the planner walks the name index and folds row after row until the page fills,
        // seconds for a common word that sorts late; the matching row addresses are taken from the
        // trigram index first instead.
        const PreparedQuery plain = textCondition(field.column, text, anywhere, sqlite);
        return {field.indexedRowid + QStringLiteral(" = any(array(select ctid from ") + field.trigramTable +
                    QStringLiteral(" where ") + plain.sql + QStringLiteral("))"),
                plain.values};
    }
    // One FTS5 phrase: inside double quotes everything is literal but '"', which is doubled.
    // The trigram phrase matches exactly the names holding the folded text.
    QString phrase = folded;
    phrase.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    PreparedQuery q{field.indexedRowid + QStringLiteral(" in (select rowid from ") + field.trigramTable +
                        QStringLiteral(" where ") + field.trigramTable + QStringLiteral(" match ?)"),
                    {QVariant(QString(QLatin1Char('"') + phrase + QLatin1Char('"')))}};
    if (!anywhere) {
        // "Inicio de la palabra": the index narrows to the names holding the text, the plain
        // condition keeps those that start with it.
        const PreparedQuery start = textCondition(field.column, text, false, sqlite);
        q.sql += QStringLiteral(" AND ") + start.sql;
        q.values += start.values;
    }
    return q;
}

std::optional<PreparedQuery> LookupSearch::composeQuery(const Criteria &criteria, Outcome *outcome)
{
    const auto refuse = [&](Outcome o, Focus f, const QString &message) -> std::optional<PreparedQuery> {
        if (!message.isEmpty())
            m_services.prompter.information(message);
        m_focus = f;
        if (outcome)
            *outcome = o;
        return std::nullopt;
    };
    if (criteria.field < 0 || criteria.field >= m_definition.searchFields.size())
        return refuse(Outcome::Refused, Focus::Field,
                      QStringLiteral("Deber seleccionar un campo de busqueda"));
    const LookupField &field = m_definition.searchFields.at(criteria.field);
    const QString text = criteria.text.trimmed();
    const cConfigure &config = m_services.config;

    const auto emptyAllowed = [&] {
        if (m_definition.noQuestion || !text.isEmpty() ||
            !config.getValue(QStringLiteral("PREGUNTAR-CONSULTA-VACIA")).toBool())
            return true;
        return m_services.prompter.question(
            QStringLiteral(
                "No se ha indicado un elemento de busqueda, el resultado puede ser muy grande, desea "
                "continuar"),
            false);
    };

    PreparedQuery condition;
    switch (field.kind) {
    case LookupField::Numero: {
        if (!emptyAllowed())
            return refuse(Outcome::Cancelled, Focus::Text, QString());
        if (text.isEmpty())
            break; // every row: "column = " with nothing after it is no statement
        bool ok = false;
        QVariant value = text.toLongLong(&ok);
        if (!ok) {
            const Decimal number = Decimal::fromString(text, &ok);
            value = number.toQVariant();
        }
        if (!ok)
            return refuse(Outcome::Refused, Focus::Text,
                          QStringLiteral("Debe indicar un numero para efectuar la busqueda"));
        condition = {field.column + QStringLiteral(" = ?"), {value}};
        break;
    }
    case LookupField::Fecha: {
        if (!criteria.desde.isValid() || !criteria.hasta.isValid())
            return refuse(Outcome::Refused, Focus::Dates,
                          QStringLiteral("Debe indicar una fecha para efectuar la busqueda"));
        condition = {
            field.column + QStringLiteral(" BETWEEN ? AND ?"),
            {QDateTime(criteria.desde, QTime(0, 0, 0)), QDateTime(criteria.hasta, QTime(23, 59, 59))}};
        break;
    }
    default: {
        if (!emptyAllowed())
            return refuse(Outcome::Cancelled, Focus::Text, QString());
        db::Connection &c = m_services.connections.getConnection();
        const bool sqlite = c.engine() == db::Engine::SQLite;
        condition = fieldCondition(field, text, config.getValue(QStringLiteral("BUSQUEDA-LIKE")).toBool(), sqlite);
        break;
    }
    }

    PreparedQuery q;
    if (!m_definition.sqlTemplate.isEmpty()) {
        // The condition's values go where the marker stands among the template's own placeholders.
        const QString tpl = m_definition.sqlTemplate;
        const QString cond = condition.sql.isEmpty() ? QStringLiteral("1 = 1") : condition.sql;
        const QStringList parts = tpl.split(kReplace);
        qsizetype used = 0;
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const int own = placeholders(parts.at(i));
            q.sql += parts.at(i);
            q.values += m_definition.filterParams.mid(used, own);
            used += own;
            if (i + 1 < parts.size()) {
                q.sql += cond;
                q.values += condition.values;
            }
        }
    } else {
        q.sql = QStringLiteral("SELECT ") + m_definition.selectList + QStringLiteral(" FROM ") +
                m_definition.table;
        const bool filtered = !m_definition.filter.trimmed().isEmpty();
        // The fixed filter stands in parentheses: an OR in it must not swallow the condition.
        if (filtered) {
            q.sql += QStringLiteral(" WHERE (") + m_definition.filter + QLatin1Char(')');
            q.values = m_definition.filterParams;
        }
        if (!condition.sql.isEmpty()) {
            q.sql += (filtered ? QStringLiteral(" AND ") : QStringLiteral(" WHERE ")) + condition.sql;
            q.values += condition.values;
        }
        if (!m_definition.order.trimmed().isEmpty())
            q.sql += QStringLiteral(" ORDER BY ") + m_definition.order;
    }
    // {ALM_CLAVE} and the other system markers of the definition become bound values too.
    std::optional<PreparedQuery> prepared = m_consulta.prepara(q.sql, q.values, nullptr);
    if (outcome)
        *outcome = Outcome::Found;
    return prepared;
}

void LookupSearch::ordena(int column, Qt::SortOrder order)
{
    m_sortColumn = column;
    m_sortOrder = order;
    if (m_last)
        cargaGrid(*m_last);
}

bool LookupSearch::cargaGrid(const PreparedQuery &query)
{
    const bool templated = !m_definition.sqlTemplate.isEmpty();
    const bool ordered = templated || !m_definition.order.trimmed().isEmpty();
    QString sql = query.sql.trimmed();
    while (sql.endsWith(QLatin1Char(';')))
        sql.chop(1);
    // Pages need a stable order; without one, the first column gives it.
    QString paged = templated ? QString(QStringLiteral("SELECT * FROM (") + sql + QStringLiteral(") mdr_pagina"))
                              : QString(sql + (ordered ? QString() : QStringLiteral(" ORDER BY 1")));
    if (m_sortColumn >= 0 && m_sortColumn < m_model.columnCount())
        paged = QStringLiteral("SELECT * FROM (") + sql + QStringLiteral(") mdr_orden ORDER BY ") +
                QString::number(m_sortColumn + 1) +
                (m_sortOrder == Qt::DescendingOrder ? QStringLiteral(" DESC") : QString()) +
                (m_sortColumn == 0 ? QString() : QStringLiteral(", 1"));
    const QString pageSql = paged + QStringLiteral(" LIMIT ? OFFSET ?");
    ConnectionProvider &connections = m_services.connections;
    const QVariantList values = query.values;
    if (m_busy)
        m_busy(true);
    if (m_status)
        m_status(QStringLiteral("Cargando datos ..."));
    bool ok = true;
    try {
        m_model.load([&connections, pageSql, values](int offset, int limit) {
            QVariantList v = values;
            v << limit << offset;
            return connections.getConnection().openRecordset(pageSql, v);
        });
    } catch (const std::exception &e) {
        ok = false;
        reportError(m_services.prompter, QStringLiteral("cmdBuscar"), QStringLiteral("frmConsulta"),
                    ErrorInfo::fromException(e));
    }
    if (m_status)
        m_status(QString());
    if (m_busy)
        m_busy(false);
    return ok;
}

LookupSearch::Outcome LookupSearch::cmdBuscar(const Criteria &criteria)
{
    m_focus = Focus::None;
    Outcome outcome = Outcome::Found;
    std::optional<PreparedQuery> q;
    try {
        q = composeQuery(criteria, &outcome);
    } catch (const std::exception &e) { // no connection to ask the engine of
        reportError(m_services.prompter, QStringLiteral("cmdBuscar"), QStringLiteral("frmConsulta"),
                    ErrorInfo::fromException(e));
        return Outcome::Failed;
    }
    if (!q)
        return outcome;
    if (!cargaGrid(*q))
        return Outcome::Failed;
    m_last = q;
    if (m_definition.autoAccept && m_model.rowCount() == 1 && m_model.complete()) {
        m_result = resultFor(0);
        return Outcome::Accepted;
    }
    if (m_model.rowCount() == 0) {
        m_services.prompter.information(
            QStringLiteral("No se encontraron elementos con el criterio indicado"));
        m_focus = Focus::Text;
        return Outcome::NotFound;
    }
    return Outcome::Found;
}

LookupResult LookupSearch::resultFor(int row) const
{
    LookupResult r;
    if (row < 0 || row >= m_model.rowCount())
        return r;
    r.accepted = true;
    r.row = m_model.row(row);
    const auto inRow = [&](int column) { return column >= 0 && column < r.row.size(); };
    // The key as stored ("1234.5", not the grid's "1,234.50"); the name as the user saw it.
    r.key =
        inRow(m_definition.keyColumn) ? m_model.plainText(row, m_definition.keyColumn).trimmed() : QString();
    r.name = inRow(m_definition.nameColumn) ? m_model.displayText(row, m_definition.nameColumn).trimmed()
                                            : QString();
    return r;
}

bool LookupSearch::needsRow(int row)
{
    if (row >= 0 && row < m_model.rowCount())
        return true;
    m_services.prompter.information(QStringLiteral("Debe seleccionar un registro"));
    return false;
}

bool LookupSearch::cmdAceptar(int row)
{
    if (!needsRow(row))
        return false;
    m_result = resultFor(row);
    return true;
}

bool LookupSearch::maintenance(QChar command, bool allowed, int row)
{
    if (!m_commands.visible || !allowed)
        return false;
    const bool withRow = command != QLatin1Char('A');
    if (withRow && !needsRow(row))
        return false;
    const QString key = withRow ? resultFor(row).key : QString();
    try {
        if (!m_opener(m_definition.maintenanceWindow, command, key))
            return false;
    } catch (const std::exception &e) {
        reportError(m_services.prompter, m_definition.maintenanceWindow, QStringLiteral("frmConsulta"),
                    ErrorInfo::fromException(e));
        return false;
    }
    if (m_last)
        cargaGrid(*m_last);
    return true;
}

bool LookupSearch::cmdReg()
{
    return maintenance(QLatin1Char('A'), m_commands.alta, -1);
}

bool LookupSearch::cmdMod(int row)
{
    return maintenance(QLatin1Char('C'), m_commands.cambio, row);
}

bool LookupSearch::cmdBaja(int row)
{
    return maintenance(QLatin1Char('B'), m_commands.baja, row);
}

bool LookupSearch::cmdCon(int row)
{
    return maintenance(QLatin1Char('Q'), m_commands.consulta, row);
}

QStringList LookupSearch::opcionesBusqueda()
{
    return {ListEntry::make(QStringLiteral("Cualquier parte de la palabra"), QStringLiteral("S"), 60),
            ListEntry::make(QStringLiteral("Inicio de la palabra"), QStringLiteral("N"), 60)};
}

QStringList LookupSearch::opcionesPregunta()
{
    return {ListEntry::make(QStringLiteral("Si"), QStringLiteral("S"), 60),
            ListEntry::make(QStringLiteral("No"), QStringLiteral("N"), 60)};
}

int LookupSearch::busquedaIndex() const
{
    return m_services.config.getValue(QStringLiteral("BUSQUEDA-LIKE")).toBool() ? 0 : 1;
}

int LookupSearch::preguntaIndex() const
{
    return m_services.config.getValue(QStringLiteral("PREGUNTAR-CONSULTA-VACIA")).toBool() ? 0 : 1;
}

void LookupSearch::setBusqueda(const QString &entry)
{
    m_services.config.setValue(QStringLiteral("BUSQUEDA-LIKE"), ListEntry::key(entry) == QLatin1String("S"));
}

void LookupSearch::setPregunta(const QString &entry)
{
    m_services.config.setValue(QStringLiteral("PREGUNTAR-CONSULTA-VACIA"),
                               ListEntry::key(entry) == QLatin1String("S"));
}

bool LookupSearch::cmdSalvarSetting()
{
    const bool like = m_services.config.saveValue(QStringLiteral("BUSQUEDA-LIKE"));
    const bool pregunta = m_services.config.saveValue(QStringLiteral("PREGUNTAR-CONSULTA-VACIA"));
    if (!like || !pregunta)
        return false; // saveValue reported it
    m_services.prompter.information(QStringLiteral("Configuracion actualizada"));
    return true;
}

std::pair<QDate, QDate> LookupSearch::rangoInicial(const QDate &today)
{
    const QDate first(today.year(), today.month(), 1);
    return {first, first.addDays(-1).addMonths(1)};
}
