#include "FieldInfo.h"

#include "Decimal.h"

#include <QByteArray>
#include <QDateTime>

namespace db {

QMetaType metaTypeForDeclared(const QString &declaredType)
{
    const QString t = declaredType.toLower();
    if (t.contains(QLatin1String("char")) || t.contains(QLatin1String("text")) ||
        t.contains(QLatin1String("clob")))
        return QMetaType::fromType<QString>();
    if (t.contains(QLatin1String("timestamp")) || t.contains(QLatin1String("datetime")))
        return QMetaType::fromType<QDateTime>();
    if (t.startsWith(QLatin1String("date")))
        return QMetaType::fromType<QDate>();
    if (t.startsWith(QLatin1String("time")))
        return QMetaType::fromType<QTime>();
    if (t.contains(QLatin1String("int")))
        return QMetaType::fromType<qint64>();
    if (t.contains(QLatin1String("numeric")) || t.contains(QLatin1String("decimal")) ||
        t.contains(QLatin1String("money")))
        return QMetaType::fromType<Decimal>();
    if (t.contains(QLatin1String("real")) || t.contains(QLatin1String("double")) ||
        t.contains(QLatin1String("float")))
        return QMetaType::fromType<double>();
    if (t.contains(QLatin1String("bool")))
        return QMetaType::fromType<bool>();
    if (t.contains(QLatin1String("blob")) || t.contains(QLatin1String("bytea")) ||
        t.contains(QLatin1String("binary")) || t.contains(QLatin1String("image")))
        return QMetaType::fromType<QByteArray>();
    return QMetaType::fromType<QString>();
}

QString kindForMetaType(QMetaType type)
{
    if (type == QMetaType::fromType<Decimal>())
        return QStringLiteral("N");
    switch (type.id()) {
    case QMetaType::QDateTime:
    case QMetaType::QDate:
    case QMetaType::QTime:
        return QStringLiteral("F");
    case QMetaType::QByteArray:
        return QStringLiteral("I");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::Bool:
        return QStringLiteral("N");
    default:
        return QStringLiteral("T");
    }
}

} // namespace db
