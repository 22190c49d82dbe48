#pragma once

#include <QString>

#include <exception>
#include <string>

namespace db {

// The one exception of the database layer: what went wrong (number, description), where
// (source: engine and operation) and with which statement.
class DbError : public std::exception {
public:
    enum Kind {
        Other,
        ConnectionLost,    // the server went away or cannot be reached
        UniqueViolation,   // a duplicate key
        ConstraintViolation, // foreign key, not null, check
        Busy,              // SQLite locked past the busy time-out, PostgreSQL lock/serialization failure
        NotFound,          // a table, column, routine or field that does not exist
        Usage,             // misuse of the layer (no current row, bad connection string …)
    };

    DbError(int number, const QString &description, const QString &source, const QString &sql = {},
            Kind kind = Other, const QString &code = {});

    // Native number: SQLite's extended result code; PostgreSQL's SQLSTATE when it is all digits,
    // otherwise -1 (the text is in code()). Errors of the layer itself use their own numbers.
    int number() const { return m_number; }
    QString code() const { return m_code; }
    QString description() const { return m_description; }
    QString source() const { return m_source; }
    QString sql() const { return m_sql; }
    Kind kind() const { return m_kind; }
    // "description (number) [source]" — what a log line or message shows.
    QString message() const;

    const char *what() const noexcept override { return m_what.c_str(); }

private:
    int m_number;
    QString m_code;
    QString m_description;
    QString m_source;
    QString m_sql;
    Kind m_kind;
    std::string m_what;
};

// Numbers for errors raised by the layer itself (not by an engine).
namespace errors {
constexpr int NoCurrentRecord = 3021; // ADO's "either BOF or EOF is true"
constexpr int FieldNotFound = 3265;   // ADO's "item cannot be found in the collection"
constexpr int NotOpen = 3704;         // ADO's "operation not allowed when the object is closed"
constexpr int BadConnectionString = 3706;
constexpr int NotUpdatable = 3251;
constexpr int RoutineNotFound = 3265;
constexpr int BadParameters = 3708;
constexpr int UntranslatableSql = 3720; // a SQL Server construct with no faithful translation
} // namespace errors

} // namespace db
