// sequence_worker CONNECTION START_MS COUNT DOCUMENTS KEY...
// Waits until the wall clock reaches START_MS (so every worker starts at once), then draws COUNT
// folios, taking the keys in turn, and prints "key<TAB>folio" per folio. With DOCUMENTS = 1
// each folio is drawn inside a transaction that writes a row of tFolioPrueba, and every third
// one is rolled back: the folio must go back to its sequence.
#include "Connection.h"
#include "Secuencias.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 6) {
        std::fprintf(stderr, "uso: sequence_worker CONEXION INICIO_MS CUANTOS DOCUMENTOS CLAVE...\n");
        return 2;
    }
    const qint64 start = args[2].toLongLong();
    const int count = args[3].toInt();
    const bool documents = args[4] == QLatin1String("1");
    const QStringList keys = args.mid(5);
    try {
        db::Connection conn;
        conn.open(args[1]);
        const qint64 wait = start - QDateTime::currentMSecsSinceEpoch();
        if (wait > 0)
            QThread::msleep(ulong(wait));
        QByteArray out;
        for (int i = 0; i < count; ++i) {
            const QString &key = keys[i % keys.size()];
            qint64 folio = 0;
            if (documents) {
                db::Transaction tx(conn);
                folio = qint64(Secuencias::getNextSequence(conn, key));
                conn.execute(QStringLiteral("insert into tFolioPrueba (clave, folio) values (?, ?)"),
                             {key, folio});
                if (i % 3 == 2)
                    continue; // rolled back
                tx.commit();
            } else {
                folio = qint64(Secuencias::getNextSequence(conn, key));
            }
            out += key.toUtf8() + '\t' + QByteArray::number(folio) + '\n';
        }
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
