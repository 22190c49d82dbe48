// Several workstations draw folios from the same keys at once: separate processes
// (sequence_worker) on one database. No folio may be handed out twice and none skipped.
#include "Secuencias.h"
#include "TestDatabase.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QMap>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {
constexpr int kWorkers = 4;

const QStringList &claves()
{
    static const QStringList k = {QStringLiteral("VENTA_01"), QStringLiteral("COBRO_01_2026"),
                                  QStringLiteral("MOV_CAJA_01_CAJA1_2026_1")};
    return k;
}

// 1..n in order: nothing repeated, nothing skipped.
QString huecosODuplicados(QList<qint64> folios)
{
    std::sort(folios.begin(), folios.end());
    for (qsizetype i = 0; i < folios.size(); ++i)
        if (folios[i] != i + 1)
            return QStringLiteral("posición %1 tiene %2").arg(i).arg(folios[i]);
    return {};
}
} // namespace

class tst_SecuenciaConcurrencia : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void variosProcesos_data();
    void variosProcesos();
};

void tst_SecuenciaConcurrencia::variosProcesos_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<bool>("documentos");
    QTest::addColumn<int>("cuantos");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "folios sueltos") << false << 150;
        TestDatabase::newRow(e, "dentro de documentos, uno de cada tres deshecho") << true << 90;
    }
}

void tst_SecuenciaConcurrencia::variosProcesos()
{
    QFETCH(QString, engine);
    QFETCH(bool, documentos);
    QFETCH(int, cuantos);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    if (documentos)
        db.connection().executeScript(
            QStringLiteral("create table tFolioPrueba (clave varchar(100), folio bigint)"));

    const QString worker = QCoreApplication::applicationDirPath() + QStringLiteral("/sequence-worker");
    const QString inicio = QString::number(QDateTime::currentMSecsSinceEpoch() + 1500);
    std::vector<std::unique_ptr<QProcess>> procesos;
    for (int i = 0; i < kWorkers; ++i) {
        auto p = std::make_unique<QProcess>();
        // Each worker starts on a different key so that all keys are contended from the start.
        QStringList keys = claves();
        std::rotate(keys.begin(), keys.begin() + (i % keys.size()), keys.end());
        p->start(worker, QStringList{db.connectionString(), inicio, QString::number(cuantos),
                                     documentos ? QStringLiteral("1") : QStringLiteral("0")} +
                             keys);
        QVERIFY2(p->waitForStarted(10000), qPrintable(worker + QStringLiteral(": ") + p->errorString()));
        procesos.push_back(std::move(p));
    }

    QMap<QString, QList<qint64>> entregados;
    for (auto &p : procesos) {
        QVERIFY(p->waitForFinished(300000));
        const QByteArray err = p->readAllStandardError();
        QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0, err.constData());
        for (const QByteArray &line : p->readAllStandardOutput().split('\n')) {
            if (line.isEmpty())
                continue;
            const QList<QByteArray> parts = line.split('\t');
            QCOMPARE(parts.size(), 2);
            entregados[QString::fromUtf8(parts[0])] << parts[1].toLongLong();
        }
    }

    // Every third draw of a worker belongs to a rolled-back document and is not printed.
    const int porProceso = documentos ? cuantos - cuantos / 3 : cuantos;
    int total = 0;
    for (const QString &clave : claves()) {
        const QList<qint64> folios = entregados.value(clave);
        total += int(folios.size());
        QVERIFY2(huecosODuplicados(folios).isEmpty(), qPrintable(clave + u' ' + huecosODuplicados(folios)));
        QCOMPARE(db.connection()
                     .scalar(QStringLiteral("select sec_Valor from tSecuencia where sec_Clave = ?"), {clave})
                     .toLongLong(),
                 qint64(folios.size()));
        if (documentos) {
            QList<qint64> escritos;
            db::Recordset rs = db.connection().openRecordset(
                QStringLiteral("select folio from tFolioPrueba where clave = ? order by folio"), {clave});
            for (; !rs.eof(); rs.moveNext())
                escritos << rs.integer(QStringLiteral("folio"));
            QList<qint64> esperados = folios;
            std::sort(esperados.begin(), esperados.end());
            QCOMPARE(escritos, esperados);
        }
    }
    QCOMPARE(total, kWorkers * porProceso);
}

QTEST_GUILESS_MAIN(tst_SecuenciaConcurrencia)
#include "tst_secuencia_concurrencia.moc"
