// Where a report's pages go: a printer (pages composed before the range print nothing), a PDF
// file, the preview image; and its data as RFC 4180 CSV.
#include "RangoImpresion.h"
#include "ReportPainter.h"
#include "EjecucionReporte.h"
#include "TestDatabase.h"
#include "VentasPrueba.h"

#include <QImage>
#include <QRegularExpression>
#include <QtTest>

using namespace ventas_prueba;

namespace {

// A printer that keeps what it is told, page by page.
class ImpresoraGrabadora : public ReportCanvas {
public:
    QList<QStringList> paginas;
    int documentos = 0;
    bool startDoc() override
    {
        ++documentos;
        return true;
    }
    void newPage() override { paginas.append(QStringList()); }
    void drawText(const QRect &, const QString &text, int, const ReportPen &) override
    {
        if (!paginas.isEmpty())
            paginas.last() << text;
    }
    void drawLine(int, int, int, int, bool, const ReportPen &) override {}
    void drawImage(const QRect &, qint64) override {}
    void printText(int, int, const QString &, const ReportPen &) override {}
};

// Splits RFC 4180 text into records of fields.
QList<QStringList> leeCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << field;
            field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            row << field;
            rows << row;
            row.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

void preparaReporte(EjecucionReporte &p, const QString &extra = QString())
{
    diaCompleto(*p.report);
    QString error;
    QVERIFY2(p.report->configureScript(QString::fromUtf8(kPrograma) + extra, &error), qPrintable(error));
}

} // namespace

class tst_report_output : public QObject {
    Q_OBJECT
private slots:
    void rangoDeImpresion_data();
    void rangoDeImpresion();
    void imprimePaginas_data();
    void imprimePaginas();
    void pdf_data() { TestDatabase::addEngineRows(); }
    void pdf();
    void csv_data() { TestDatabase::addEngineRows(); }
    void csv();
    void vistaPrevia_data() { TestDatabase::addEngineRows(); }
    void vistaPrevia();
};

void tst_report_output::rangoDeImpresion_data()
{
    QTest::addColumn<QString>("copias");
    QTest::addColumn<QString>("desde");
    QTest::addColumn<QString>("hasta");
    QTest::addColumn<bool>("todas");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<int>("campo");
    QTest::newRow("todas") << "2"
                           << "x"
                           << "" << true << "" << 0;
    QTest::newRow("rango") << "1"
                           << "3"
                           << "4" << false << "" << 0;
    QTest::newRow("una pagina") << "1"
                                << "3"
                                << "3" << false << "" << 0;
    QTest::newRow("copias no numero") << "dos"
                                      << "1"
                                      << "1" << true << "Debe capturar un numero" << 1;
    QTest::newRow("copias cero") << "0"
                                 << "1"
                                 << "1" << true << "Debe capturar un numero" << 1;
    QTest::newRow("desde vacio") << "1"
                                 << ""
                                 << "4" << false << "Debe capturar un numero" << 2;
    QTest::newRow("hasta no numero") << "1"
                                     << "2"
                                     << "x" << false << "Debe capturar un numero" << 3;
    QTest::newRow("al reves") << "1"
                              << "5"
                              << "4" << false << "La página de inicio debe ser menor a la pagina final" << 2;
}

void tst_report_output::rangoDeImpresion()
{
    QFETCH(QString, copias);
    QFETCH(QString, desde);
    QFETCH(QString, hasta);
    QFETCH(bool, todas);
    QFETCH(QString, mensaje);
    QFETCH(int, campo);
    RangoImpresion r;
    QString recibido;
    RangoImpresion::Campo c = RangoImpresion::Campo::Ninguno;
    QCOMPARE(RangoImpresion::lee(copias, desde, hasta, todas, r, &recibido, &c), mensaje.isEmpty());
    QCOMPARE(recibido, mensaje);
    QCOMPARE(int(c), campo);
}

void tst_report_output::imprimePaginas_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<int>("copias");
    QTest::addColumn<int>("desde");
    QTest::addColumn<int>("hasta");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, QStringLiteral("3 a 4")) << 1 << 3 << 4;
        TestDatabase::newRow(e, QStringLiteral("todas, 2 copias")) << 2 << 1 << 0;
        TestDatabase::newRow(e, QStringLiteral("solo la ultima")) << 1 << 5 << 5;
        TestDatabase::newRow(e, QStringLiteral("mas alla del final")) << 1 << 4 << 40;
    }
}

void tst_report_output::imprimePaginas()
{
    QFETCH(QString, engine);
    QFETCH(int, copias);
    QFETCH(int, desde);
    QFETCH(int, hasta);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Empty);
    creaVentas(db.connection(), 3);
    EjecucionReporte p(&db.connection());
    preparaReporte(p);
    // The preview's pages, to compare with what reaches the printer.
    QVERIFY(p.report->printReport());
    p.report->composeUntil(1000);
    const int total = p.report->pageCount();
    QCOMPARE(total, 5);
    QList<QStringList> esperadas;
    for (int i = 1; i <= total; ++i)
        esperadas << p.textos(i);

    ImpresoraGrabadora impresora;
    QVERIFY(p.report->printPages(impresora, copias, desde, hasta));
    // The pages before the range are composed without output; each copy runs from the first row.
    const int ultima = hasta == 0 ? total : qMin(hasta, total);
    QCOMPARE(impresora.documentos, copias);
    QCOMPARE(impresora.paginas.size(), copias * (ultima - desde + 1));
    for (int c = 0; c < copias; ++c)
        for (int i = desde; i <= ultima; ++i)
            QCOMPARE(impresora.paginas.at(c * (ultima - desde + 1) + i - desde), esperadas.at(i - 1));
    QCOMPARE(p.report->printer().PrintMode(), int(cReportPrinter::Preview));
}

void tst_report_output::pdf()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Empty);
    creaVentas(db.connection(), 3);
    EjecucionReporte p(&db.connection());
    preparaReporte(p);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ventas.pdf"));
    QString error;
    QVERIFY2(reportToPdf(*p.report, file, &error), qPrintable(error));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    QVERIFY(pdf.startsWith("%PDF-"));
    // One PDF page per report page.
    const qsizetype paginas =
        QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")));
    QCOMPARE(paginas, 5);
    // A folder that does not exist is an error, not a silent success.
    QVERIFY(!reportToPdf(*p.report, dir.filePath(QStringLiteral("no/existe/x.pdf")), &error));
    QVERIFY(error.startsWith(QStringLiteral("No fue posible escribir el archivo")));

    // A system printer: one that is not installed refuses the job with its name; "pdf:" writes
    // what it would print.
    ReportPrinterCanvas ausente(QStringLiteral("NO-EXISTE-EN-CUPS"), ReportPaper::of(*p.report));
    QVERIFY(!p.report->printPages(ausente));
    QCOMPARE(ausente.error(), QStringLiteral("La impresora «NO-EXISTE-EN-CUPS» no está instalada"));
    const QString impreso = dir.filePath(QStringLiteral("impreso.pdf"));
    {
        ReportPrinterCanvas impresora(QStringLiteral("pdf:") + impreso, ReportPaper::of(*p.report));
        QVERIFY(p.report->printPages(impresora));
    }
    QFile salida(impreso);
    QVERIFY(salida.open(QIODevice::ReadOnly));
    QVERIFY(salida.readAll().startsWith("%PDF-"));
}

void tst_report_output::csv()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Empty);
    creaVentas(db.connection());
    EjecucionReporte p(&db.connection());
    preparaReporte(p);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ventas.csv"));
    QString error;
    QVERIFY2(p.report->exportCsv(file, &error), qPrintable(error));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QList<QStringList> filas = leeCsv(QString::fromUtf8(bytes.mid(3)));
    QCOMPARE(filas.size(), 18); // the names and the day's 17 rows
    QCOMPARE(filas.first().join(u'|').toLower(), QStringLiteral("depto|linea|articulo|importe"));
    // A value holding a comma and quotes stays one field.
    for (const QStringList &fila : filas)
        QCOMPARE(fila.size(), 4);
    bool galleta = false;
    for (const QStringList &fila : filas)
        if (fila.at(2) == QStringLiteral("Galleta \"María\", 200 g")) {
            galleta = true;
            QCOMPARE(Decimal(fila.at(3)), Decimal(QStringLiteral("150")));
        }
    QVERIFY(galleta);
    QVERIFY(bytes.contains("\"Galleta \"\"Mar"));
}

void tst_report_output::vistaPrevia()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Empty);
    creaVentas(db.connection());
    EjecucionReporte p(&db.connection());
    preparaReporte(p);
    QVERIFY(p.report->printReport());
    // The page drawn from its log: ink where the title and the rows are, white elsewhere.
    const QImage pagina = reportPageImage(*p.report, 1, 96);
    QCOMPARE(pagina.size(), QSize(qRound(150 / 25.4 * 96), qRound(100 / 25.4 * 96)));
    int tinta = 0;
    for (int y = 0; y < pagina.height(); ++y)
        for (int x = 0; x < pagina.width(); ++x)
            tinta += qGray(pagina.pixel(x, y)) < 128;
    QVERIFY2(tinta > 500, qPrintable(QString::number(tinta)));
    QVERIFY(reportPageImage(*p.report, 99, 96).isNull() == false); // an unknown page is blank paper
}

QTEST_MAIN(tst_report_output)
#include "tst_report_output.moc"
