// The receipt printer's devices: code pages, ESC/POS bytes, the port settings and the delivery
// to a file or a network printer that answers, refuses, drops or stops.
#include "ImpresoraRed.h"

#include "Codigo128.h"
#include "DestinoImpresion.h"
#include "EscPos.h"
#include "PaginaCodigos.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class tst_SalidaImpresora : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void codifica_data();
    void codifica();
    void paginaPorNombre_data();
    void paginaPorNombre();
    void destino_data();
    void destino();
    void documentoEscPos();
    void codigoBarras();
    void archivo();
    void dispositivo();
    void redRecibeTodo();
    void redFalla_data();
    void redFalla();
};

void tst_SalidaImpresora::codifica_data()
{
    QTest::addColumn<QString>("pagina");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii intacto") << "CP858" << "TOTAL $ 12.50" << QByteArray("TOTAL $ 12.50");
    QTest::newRow("enie") << "CP858" << "AÑO año" << QByteArray("A\xA5O a\xA4o");
    QTest::newRow("vocales acentuadas") << "CP858" << "áéíóú ÁÉÍÓÚ" << QByteArray("\xA0\x82\xA1\xA2\xA3 \xB5\x90\xD6\xE0\xE9");
    QTest::newRow("dieresis y signos") << "CP858" << "ü Ü ¿ ¡ °" << QByteArray("\x81 \x9A \xA8 \xAD \xF8");
    QTest::newRow("euro en CP858") << "CP858" << "€" << QByteArray("\xD5");
    QTest::newRow("euro no existe en CP850") << "CP850" << "€" << QByteArray("?");
    QTest::newRow("CP1252") << "CP1252" << "ñ€" << QByteArray("\xF1\x80");
    QTest::newRow("fuera de la tabla") << "CP858" << "中 ✓" << QByteArray("? ?");
}

void tst_SalidaImpresora::codifica()
{
    QFETCH(QString, pagina);
    QFETCH(QString, texto);
    QFETCH(QByteArray, bytes);
    QCOMPARE(PaginaCodigos::porNombre(pagina)->codifica(texto), bytes);
}

void tst_SalidaImpresora::paginaPorNombre_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<bool>("existe");
    QTest::addColumn<int>("numero");
    QTest::newRow("por omision") << "CP858" << true << 19;
    QTest::newRow("minusculas y blancos") << " cp850 " << true << 2;
    QTest::newRow("numero propio de la impresora") << "CP858:16" << true << 16;
    QTest::newRow("numero fuera de rango") << "CP858:300" << false << 0;
    QTest::newRow("tabla desconocida") << "CP437" << false << 0;
    QTest::newRow("vacio") << "" << false << 0;
}

void tst_SalidaImpresora::paginaPorNombre()
{
    QFETCH(QString, nombre);
    QFETCH(bool, existe);
    QFETCH(int, numero);
    const auto p = PaginaCodigos::porNombre(nombre);
    QCOMPARE(p.has_value(), existe);
    if (existe)
        QCOMPARE(p->numeroEscPos(), numero);
}

void tst_SalidaImpresora::destino_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("valido");
    QTest::addColumn<bool>("red");
    QTest::addColumn<QString>("descripcion");
    QTest::newRow("dispositivo") << "/dev/usb/lp0" << true << false << "/dev/usb/lp0";
    QTest::newRow("LPT1") << "LPT1" << true << false << "/dev/lp0";
    QTest::newRow("com2") << "com2" << true << false << "/dev/ttyS1";
    QTest::newRow("archivo relativo") << "ticket.txt" << true << false << "ticket.txt";
    QTest::newRow("unidad de windows no es red") << "C:\\tickets\\t.txt" << true << false << "C:\\tickets\\t.txt";
    QTest::newRow("file con dos puntos") << "file:caja:1" << true << false << "caja:1";
    QTest::newRow("tcp con puerto") << "tcp:10.0.0.5:9100" << true << true << "10.0.0.5:9100";
    QTest::newRow("host y puerto") << "impresora.local:9101" << true << true << "impresora.local:9101";
    QTest::newRow("tcp sin puerto") << "tcp:caja" << true << true << "caja:9100";
    QTest::newRow("ipv6") << "tcp:[::1]:9100" << true << true << "[::1]:9100";
    QTest::newRow("puerto fuera de rango") << "tcp:caja:70000" << false << false << "";
    QTest::newRow("vacio") << "  " << false << false << "";
}

void tst_SalidaImpresora::destino()
{
    QFETCH(QString, texto);
    QFETCH(bool, valido);
    QFETCH(bool, red);
    QFETCH(QString, descripcion);
    QString error;
    const auto d = DestinoImpresion::deTexto(texto, &error);
    QCOMPARE(d.has_value(), valido);
    if (!valido) {
        QVERIFY(!error.isEmpty());
        return;
    }
    QCOMPARE(d->tipo() == DestinoImpresion::Tipo::Red, red);
    QCOMPARE(d->descripcion(), descripcion);
}

void tst_SalidaImpresora::documentoEscPos()
{
    DocumentoImpreso d;
    d.texto(QStringLiteral("Año"));
    d.imagen(QStringLiteral("/logo.png"));
    d.codigoBarras(QStringLiteral("12{3"));
    const QByteArray esperado = QByteArray("\x1B@\x1Bt\x13"
                                           "A\xA4o\n<IMAGEN>\n",
                                           18) +
                                QByteArray("\x1B\x61\x01\x1Dh\x50\x1Dw\x02\x1DH\x02\x1Dk\x49\x07{B12{{3\x1B\x61\x00", 26);
    QCOMPARE(EscPos::documento(d, PaginaCodigos::cp858()), esperado);
    QCOMPARE(d.textoPlano(), QStringLiteral("Año\n<IMAGEN>\n<CODIGO DE BARRAS 12{3>\n"));
}

void tst_SalidaImpresora::codigoBarras()
{
    // Start B, three symbols, the check symbol (104 + 17·1 + 18·2 + 19·3 = 214; 214 mod 103 = 8)
    // and the stop: 5 × 6 widths and 7.
    const QList<int> m = Codigo128::modulos(QStringLiteral("123"));
    QCOMPARE(m.size(), 37);
    QCOMPARE(m.mid(0, 6), (QList<int>{2, 1, 1, 2, 1, 4}));
    QCOMPARE(m.mid(24, 6), (QList<int>{1, 3, 2, 2, 1, 2}));
    QCOMPARE(m.mid(30), (QList<int>{2, 3, 3, 1, 1, 1, 2}));
    int total = 0;
    for (int w : m)
        total += w;
    QCOMPARE(total, 11 * 5 + 13);
    // Data the printer command cannot hold is cut, never overflowing its length byte.
    const QByteArray largo = EscPos::codigo128(QString(400, u'7'));
    QCOMPARE(quint8(largo.at(15)), quint8(202));
    QCOMPARE(largo.size(), 16 + 202 + 3);
}

void tst_SalidaImpresora::archivo()
{
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("ticket.bin"));
    const auto d = DestinoImpresion::deTexto(ruta);
    QString mensaje, detalle;
    QVERIFY(d->entrega(QByteArray("primero largo\n"), 1000, &mensaje, &detalle));
    QVERIFY(d->entrega(QByteArray("segundo\n"), 1000, &mensaje, &detalle));
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("segundo\n"));

    // A directory cannot be written: the failure is told in Spanish, the cause behind it.
    const auto carpeta = DestinoImpresion::deTexto(dir.path());
    QVERIFY(!carpeta->entrega(QByteArray("x"), 1000, &mensaje, &detalle));
    QVERIFY(mensaje.startsWith(QStringLiteral("No fue posible escribir en ")));
    QVERIFY(detalle.startsWith(dir.path()));
}

// A printer port that takes nothing more (off, out of paper) holds the counter no longer than the
// wait; one nobody has open fails at once; one that reads gets every byte. A pipe stands in for
// the port.
void tst_SalidaImpresora::dispositivo()
{
    QTemporaryDir dir;
    const QByteArray ruta = QFile::encodeName(dir.filePath(QStringLiteral("lp0")));
    QVERIFY(::mkfifo(ruta.constData(), 0600) == 0);
    QVERIFY(DestinoImpresion::esDispositivo(QFile::decodeName(ruta)));
    QVERIFY(!DestinoImpresion::esDispositivo(dir.path()));
    const auto d = DestinoImpresion::deTexto(QFile::decodeName(ruta));
    QString mensaje, detalle;
    QVERIFY(!d->entrega(QByteArray("x"), 500, &mensaje, &detalle));
    QVERIFY(mensaje.startsWith(QStringLiteral("No fue posible escribir en ")));

    const int lector = ::open(ruta.constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(lector >= 0);
    QElapsedTimer reloj;
    reloj.start();
    QVERIFY(!d->entrega(QByteArray(1 << 20, 'x'), 300, &mensaje, &detalle));
    QVERIFY(reloj.elapsed() < 3000);
    QVERIFY2(detalle.contains(QStringLiteral("no tomó")), qPrintable(detalle));
    char basura[65536];
    while (::read(lector, basura, sizeof basura) > 0) {
    }
    QVERIFY2(d->entrega(QByteArray("hola\n"), 500, &mensaje, &detalle), qPrintable(detalle));
    char leido[16] = {};
    QCOMPARE(::read(lector, leido, sizeof leido), ssize_t(5));
    QCOMPARE(QByteArray(leido, 5), QByteArray("hola\n"));
    ::close(lector);
}

void tst_SalidaImpresora::redRecibeTodo()
{
    ImpresoraRed impresora;
    QByteArray documento;
    for (int i = 0; i < 2000; ++i)
        documento += "RENGLON " + QByteArray::number(i) + '\n';
    const auto d = DestinoImpresion::deTexto(impresora.destino());
    QString mensaje, detalle;
    QVERIFY2(d->entrega(documento, 3000, &mensaje, &detalle), qPrintable(detalle));
    QVERIFY(impresora.termina());
    QCOMPARE(impresora.recibido(), documento);
}

void tst_SalidaImpresora::redFalla_data()
{
    QTest::addColumn<int>("modo"); // -1: nobody listens
    QTest::newRow("puerto cerrado") << -1;
    QTest::newRow("corta a la mitad") << int(ImpresoraRed::Modo::CortaALaMitad);
    QTest::newRow("deja de leer") << int(ImpresoraRed::Modo::DejaDeLeer);
}

void tst_SalidaImpresora::redFalla()
{
    QFETCH(int, modo);
    std::unique_ptr<ImpresoraRed> impresora;
    QString destino;
    if (modo < 0) {
        // A port that was just free: nothing listens there.
        QTcpServer s;
        QVERIFY(s.listen(QHostAddress::LocalHost, 0));
        destino = QStringLiteral("tcp:127.0.0.1:") + QString::number(s.serverPort());
    } else {
        impresora = std::make_unique<ImpresoraRed>(ImpresoraRed::Modo(modo));
        destino = impresora->destino();
    }
    const QByteArray documento(4000, 'x');
    QString mensaje, detalle;
    QElapsedTimer reloj;
    reloj.start();
    QVERIFY(!DestinoImpresion::deTexto(destino)->entrega(documento, 500, &mensaje, &detalle));
    // Bounded by the waits, so the counter is never held for long.
    QVERIFY(reloj.elapsed() < 2500);
    QVERIFY(mensaje.startsWith(QStringLiteral("La impresora 127.0.0.1:")));
    QVERIFY(mensaje.contains(QStringLiteral("papel")));
    QVERIFY(!detalle.isEmpty());
    if (impresora)
        QVERIFY(impresora->recibido().size() < documento.size());
}

QTEST_GUILESS_MAIN(tst_SalidaImpresora)
#include "tst_salida_impresora.moc"
