// cAplication: the fingerprint templates of tHuellaDigital.
#include "cAplication.h"

#include "Connection.h"
#include "ConnectionProvider.h"
#include "Transaction.h"

qint64 cAplication::saveDigitalFinger(const QByteArray &templ, qint64 key, const QString &extension)
{
    db::Connection &conn = m_connections.getConnection();
    db::Transaction tx(conn);
    if (key > 0 && conn.execute(QStringLiteral("update tHuellaDigital set hdigital_Extension = ?, "
                                               "hdigital_Templeate = ? where hdigital_Clave = ?"),
                                {extension, templ, key}) > 0) {
        tx.commit();
        return key;
    }
    if (key <= 0) {
        // max + 1 needs the writers kept out until the insert (SQLite's BEGIN IMMEDIATE does that).
        if (conn.engine() == db::Engine::PostgreSQL)
            conn.execute(QStringLiteral("lock table tHuellaDigital in share row exclusive mode"));
        db::Recordset rs = conn.openRecordset(QStringLiteral("select max(hdigital_Clave) as Maximo from tHuellaDigital"));
        key = (rs.eof() ? 0 : rs.integer(QStringLiteral("Maximo"))) + 1;
    }
    conn.execute(QStringLiteral("insert into tHuellaDigital (hdigital_Clave, hdigital_Extension, hdigital_Templeate) "
                                "values (?, ?, ?)"),
                 {key, extension, templ});
    tx.commit();
    return key;
}

QByteArray cAplication::getDigitalFinger(qint64 key)
{
    db::Recordset rs = m_connections.getConnection().openRecordset(
        QStringLiteral("select hdigital_Templeate from tHuellaDigital where hdigital_Clave = ?"), {key});
    return rs.eof() ? QByteArray() : rs.value(QStringLiteral("hdigital_Templeate")).toByteArray();
}
