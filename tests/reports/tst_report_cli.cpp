// `mostrador-admin report run`: every report of the demo store to PDF and CSV on both engines,
// and the refusals an unattended run reports on stderr.
#include "AdminRun.h"
#include "TestDatabase.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class tst_report_cli : public QObject {
    Q_OBJECT
private slots:
    void reportesDeDemostracion_data() { TestDatabase::addEngineRows(); }
    void reportesDeDemostracion();
};

void tst_report_cli::reportesDeDemostracion()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Empty);
    const QString admin = QStringLiteral(MDR_ADMIN_PATH);
    AdminRun r = runAdmin(admin, {"db", "init", "--demo", "--connection", db.connectionString()});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QStringList claves;
    for (db::Recordset rs = db.connection().openRecordset(
             QStringLiteral("select rep_Clave from tReporte order by rep_Clave"));
         !rs.eof(); rs.moveNext())
        claves << rs.text(QStringLiteral("rep_Clave"));
    QVERIFY(claves.size() >= 6);
    QTemporaryDir dir;
    const QStringList base = {QStringLiteral("--connection"), db.connectionString()};
    for (const QString &clave : claves) {
        const QString pdf = dir.filePath(clave + QStringLiteral(".pdf"));
        r = runAdmin(admin, QStringList{"report", "run", clave} + base + QStringList{"--to", "pdf:" + pdf});
        QVERIFY2(r.code == 0, qPrintable(clave + u' ' + r.err));
        QVERIFY2(r.out.contains(QStringLiteral("Reporte ") + clave + u':'), qPrintable(r.out));
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))) >=
                1);
    }
    // The data of a report with rows, as CSV.
    const QString csv = dir.filePath(QStringLiteral("existencias.csv"));
    r = runAdmin(admin,
                 QStringList{"report", "run", "EXISTENCIAS"} + base + QStringList{"--to", "csv:" + csv});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QFile f(csv);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().split('\n').size() > 10);

    // Refusals: a date that is not one (exit 2), a report that does not exist, a bad destination.
    r = runAdmin(admin,
                 QStringList{"report", "run", "CORTEDIA"} + base +
                     QStringList{"--param", "FECHA=31/02/2026", "--to", "pdf:" + dir.filePath("x.pdf")});
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(QStringLiteral("debe ser una fecha dd/mm/yyyy")), qPrintable(r.err));
    QVERIFY(!QFile::exists(dir.filePath("x.pdf")));
    r = runAdmin(admin,
                 QStringList{"report", "run", "CORTEDIA"} + base +
                     QStringList{"--param", "ALMACEN=NOEXISTE", "--to", "pdf:" + dir.filePath("x.pdf")});
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(QStringLiteral("Almacen: NOEXISTE no es una de las opciones (")),
             qPrintable(r.err));
    QVERIFY(!QFile::exists(dir.filePath("x.pdf")));
    r = runAdmin(admin, QStringList{"report", "run", "NOEXISTE"} + base +
                            QStringList{"--to", "pdf:" + dir.filePath("y.pdf")});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("El reporte no fue encontrado")), qPrintable(r.err));
    r = runAdmin(admin, QStringList{"report", "run", "CORTEDIA"} + base +
                            QStringList{"--to", "xls:" + dir.filePath("z")});
    QCOMPARE(r.code, 2);
    QVERIFY(r.err.contains(QStringLiteral("El destino debe ser pdf:RUTA, csv:RUTA o printer:NOMBRE")));
}

QTEST_GUILESS_MAIN(tst_report_cli)
#include "tst_report_cli.moc"
