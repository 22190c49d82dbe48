#include "BuscaArticulo.h"

#include "Connection.h"

QString BuscaArticulo::porCodigo(db::Connection &connection, const QString &code)
{
    // A scanner may send a trailing Enter or spaces; no key or barcode holds them.
    const QString typed = code.trimmed();
    if (typed.isEmpty())
        return {};
    const QVariant key = connection.scalar(QStringLiteral("select art_Clave from tArticulo where art_Clave = ?"), {typed});
    if (key.isValid())
        return key.toString();
    return connection.scalar(QStringLiteral("select art_Clave from tArticuloCodigo where acod_Codigo = ?"), {typed})
        .toString();
}
