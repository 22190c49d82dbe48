#include "DbError.h"

namespace db {

DbError::DbError(int number, const QString &description, const QString &source, const QString &sql, Kind kind,
                 const QString &code)
    : m_number(number), m_code(code.isEmpty() ? QString::number(number) : code), m_description(description),
      m_source(source), m_sql(sql), m_kind(kind), m_what(message().toStdString())
{
}

QString DbError::message() const
{
    return m_description + QStringLiteral(" (") + m_code + QStringLiteral(") [") + m_source + u']';
}

} // namespace db
