// frmImpresora as a person uses it: a refused field gets the focus, "Probar" sends the test page
// (accents, drawer, cut) to the printer on screen, the preview draws it, Escape puts back what
// was there and Aceptar keeps the choice.
#include "ImpresoraPrueba.h"

#include "CalculoVenta.h"

#include "ImpresoraSistemaQt.h"
#include "Log.h"
#include "TestDatabase.h"
#include "frmImpresora.h"
#include "frmVistaPrevia.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

class tst_ImpresoraVentana : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void probarYGuardar_data() { TestDatabase::addEngineRows(); }
    void probarYGuardar();
};

void tst_ImpresoraVentana::probarYGuardar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    QTemporaryDir dir;
    const QString logDir = dir.path();
    Log::setDirectoryProvider([logDir] { return logDir; });
    EstacionPrueba s(&c, dir.filePath(QStringLiteral("Mostrador.ini")));
    const QString archivo = dir.filePath(QStringLiteral("prueba.bin"));
    configuraImpresora(s.config, archivo, dir.filePath(QStringLiteral("nota.bin")));
    cString cadenas(&s.config);
    cTicketPrinter impresora(s.provider, s.config, cadenas);
    impresora.setReloj(relojTicket);
    ImpresoraSistemaQt sistema;
    impresora.setImpresoraSistema(&sistema);

    frmImpresora w(s.config, impresora, s.prompter);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto *puerto = w.findChild<QLineEdit *>(QStringLiteral("txtRecibosPuerto"));
    QCOMPARE(puerto->text(), archivo);

    // A direct output without a port is refused and its field gets the focus.
    puerto->clear();
    QTest::keyClick(&w, Qt::Key_Return);
    QVERIFY(w.isVisible());
    QCOMPARE(s.prompter.last(), QStringLiteral("Debe indicar el puerto de la impresora de recibos"));
    QCOMPARE(QApplication::focusWidget(), puerto);

    // The test page goes to the port on screen: drawer first, accents in CP858, cut last.
    const QString otro = dir.filePath(QStringLiteral("otra.bin"));
    puerto->setText(otro);
    w.findChild<QLineEdit *>(QStringLiteral("txtCajonPuerto"))->setText(otro);
    w.findChild<QLineEdit *>(QStringLiteral("txtCortePuerto"))->setText(otro);
    w.cmdProbar(int(ConfiguracionImpresoras::Impresora::Recibos));
    QCOMPARE(s.prompter.last(), QStringLiteral("La página de prueba fue enviada a la impresora"));
    const QByteArray bytes = leeArchivo(otro);
    QVERIFY(bytes.startsWith("\x1Bp0\x19\xFA\n\x1B@\x1Bt\x13"));
    QVERIFY(bytes.contains("\xA0\x82\xA1\xA2\xA3 \xB5\x90\xD6\xE0\xE9 \xA4\xA5"));
    QVERIFY(bytes.endsWith(QByteArray("\x1DVB\x00\n", 5)));

    // The preview draws the page and sends nothing.
    QFile::remove(otro);
    w.cmdVistaPrevia();
    QVERIFY(w.vistaPrevia());
    QVERIFY(!QFile::exists(otro));
    const QImage img = w.vistaPrevia()->imagen();
    QVERIFY(!img.isNull());
    // Text and the barcode's bars are on the paper, not a blank strip.
    int oscuros = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            oscuros += qGray(img.pixel(x, y)) < 128;
    QVERIFY(oscuros > 2000);
    QCOMPARE(impresora.ultimoDocumento().renglones.size(), 12);
    if (qEnvironmentVariableIsSet("MDR_CAPTURA_VISTA"))
        img.save(qEnvironmentVariable("MDR_CAPTURA_VISTA"));

    if (qEnvironmentVariableIsSet("MDR_CAPTURA_PAUSA")) {
        // A sale's ticket in the preview, as a cashier sees it, for a screenshot.
        encabezadosTicket(c);
        impresora.cargaValoresReportes();
        TicketVenta t;
        const auto agrega = [&t](const char *clave, const char *nombre, const char *cantidad, const char *precio,
                                 const char *descuento) {
            LineaVenta l;
            l.clave = QString::fromLatin1(clave);
            l.nombre = QString::fromUtf8(nombre);
            l.cantidad = Decimal(cantidad);
            l.precio = Decimal(precio);
            l.descuento = Decimal(descuento);
            l.iva = Decimal(16);
            CalculoVenta::calculaLinea(l, ReglaRedondeo{});
            t.lineas << l;
            t.importe += l.total;
            t.articulos += l.cantidad;
        };
        agrega("7501000111", "Jabón Zote Rosa 400g", "2", "17.24", "0");
        agrega("7502000222", "Paracetamol 500mg c/20 tabletas", "1", "38.79", "10");
        agrega("7503000333", "Agua Ciel 1.5 L", "3", "9.48", "0");
        t.total = t.importe;
        PagoVenta p;
        p.tipo = QStringLiteral("EFECTIVO");
        p.importe = Decimal(200);
        t.pagos << p;
        t.cambio = Decimal(200) - t.total;
        t.folio = 1287;
        t.fecha = relojTicket();
        impresora.setVistaPrevia(w.vistaPrevia());
        impresora.setSoloVistaPrevia(true);
        QVERIFY(impresora.imprimeTicket(t));
        impresora.setSoloVistaPrevia(false);
        impresora.setVistaPrevia(nullptr);
        QTest::qWait(qEnvironmentVariableIntValue("MDR_CAPTURA_PAUSA"));
    }

    // Escape puts back the loaded values; Aceptar saves what is on screen.
    QTest::keyClick(&w, Qt::Key_Escape);
    QCOMPARE(s.config.getString(QStringLiteral("IMPRESORA-PUERTO")), archivo);
    frmImpresora w2(s.config, impresora, s.prompter);
    w2.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w2));
    w2.findChild<QLineEdit *>(QStringLiteral("txtRecibosPuerto"))->setText(QStringLiteral("tcp:192.168.1.50:9100"));
    QTest::keyClick(&w2, Qt::Key_Return);
    QVERIFY(!w2.isVisible());
    QCOMPARE(c.scalar(QStringLiteral("select config_ValorStr from tConfiguracion where config_Clave = "
                                     "'IMPRESORA-PUERTO'"))
                 .toString(),
             QStringLiteral("tcp:192.168.1.50:9100"));
}

QTEST_MAIN(tst_ImpresoraVentana)
#include "tst_impresora_ventana.moc"
