// The cashier's screen driven by keys only: scanner bursts, the F-keys, a cash sale from scan to
// the written document, Escape and Delete in the grid, refused lines.
#include "EstacionPrueba.h"
#include "VentaFixture.h"
#include "frmDireccionEntrega.h"
#include "frmVenta.h"

#include "Connection.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QFile>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

template <typename T> T *hijo(QWidget &w, const char *nombre)
{
    T *h = w.findChild<T *>(QString::fromLatin1(nombre));
    if (!h)
        qFatal("no existe %s", nombre);
    return h;
}

// Runs f on the first modal dialog that comes up (frmPago, the held-sale list...).
void cuandoModal(std::function<void(QWidget *)> f)
{
    auto *t = new QTimer;
    t->setInterval(5);
    QObject::connect(t, &QTimer::timeout, [t, f] {
        if (QWidget *m = QApplication::activeModalWidget()) {
            t->stop();
            t->deleteLater();
            f(m);
        }
    });
    t->start();
}

const QStringList kCodigos = {"7501000000017", "7501000000024", "7501000000031", "7501000000048",
                              "7501000000055"};
const QStringList kClaves = {"P100", "LIB", "GRA", "LIS", "EXI"};

struct Mostrador {
    explicit Mostrador(db::Connection &c, bool automatica = true) : p(&c)
    {
        creaCatalogoVenta(c);
        for (int i = 1; i < kCodigos.size(); ++i)
            c.execute(QStringLiteral("insert into tArticuloCodigo (acod_Codigo, art_Clave) values (?, ?)"),
                      {kCodigos[i], kClaves[i]});
        p.abreCaja(c);
        p.config.setValue(QStringLiteral("OPERACION-CAPTURA-AUTOMATICA"), automatica);
        p.config.setValue(QStringLiteral("PREGUNTA-PAGO-COMPLETO"), false);
        p.config.setValue(QStringLiteral("PREGUNTA-CAMBIO-DE-PRECIO"), false);
        p.config.setValue(QStringLiteral("TIMER_VENTAS_MSG"), 0);
    }
    frmVenta::Servicios servicios()
    {
        return {p.provider, p.config, p.prompter, p.permisos, p.calculo, &p.code, &p.cadenas, {}};
    }
    PuestoVenta p;
};

void escanea(QLineEdit *campo, const QString &codigo)
{
    QTest::keyClicks(campo, codigo);
    QTest::keyClick(campo, Qt::Key_Return);
}

QStringList clavesDe(const VentaCaptura &c)
{
    QStringList out;
    for (const LineaVenta &l : c.lineas())
        out << l.clave + u'x' + l.cantidad.toString();
    return out;
}

} // namespace

// The row's database, the counter and its window shown with the focus in the article field: db,
// c, m, w and articulo.
#define MDR_CAJA_ABIERTA(automatica)                                                                         \
    QFETCH(QString, engine);                                                                                 \
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);                                                   \
    db::Connection &c = db.connection();                                                                     \
    Mostrador m(c, automatica);                                                                              \
    frmVenta w(m.servicios());                                                                               \
    w.show();                                                                                                \
    QVERIFY(QTest::qWaitForWindowActive(&w));                                                                \
    QLineEdit *articulo = w.campoArticulo();                                                                 \
    Q_UNUSED(c)                                                                                              \
    Q_UNUSED(articulo)

class tst_VentaVentana : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rafagaDeCodigos_data();
    void rafagaDeCodigos();
    void capturaConCantidad_data() { TestDatabase::addEngineRows(); }
    void capturaConCantidad();
    void ventaDeContado_data() { TestDatabase::addEngineRows(); }
    void ventaDeContado();
    void pendienteYRecuperacion_data() { TestDatabase::addEngineRows(); }
    void pendienteYRecuperacion();
    void borrarPregunta_data() { TestDatabase::addEngineRows(); }
    void borrarPregunta();
    void teclasDelGrid_data() { TestDatabase::addEngineRows(); }
    void teclasDelGrid();
    void lineaRechazada_data() { TestDatabase::addEngineRows(); }
    void lineaRechazada();
    void comandosNoDisponibles_data();
    void comandosNoDisponibles();
    void movimientoDeCaja();
    void clienteYCorte_data() { TestDatabase::addEngineRows(); }
    void clienteYCorte();
    void ventaPromiscua_data() { TestDatabase::addEngineRows(); }
    void ventaPromiscua();
    void cajaCentral_data() { TestDatabase::addEngineRows(); }
    void cajaCentral();
    void importaArchivo();
    void domicilioDeEntrega();
    void ventaRecuperada();
};

// A sale an earlier run left unfinished (the window gone without closing, as in a crash) is
// offered when the counter opens again; Sí brings its lines back.
void tst_VentaVentana::ventaRecuperada()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection());
    QTemporaryDir dir;
    frmVenta::Servicios s = m.servicios();
    s.respaldo = dir.filePath(QStringLiteral("venta-en-curso-CAJA1.json"));
    {
        frmVenta w(s);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        escanea(w.campoArticulo(), kCodigos[0]);
        escanea(w.campoArticulo(), kCodigos[1]);
    }
    QVERIFY(QFile::exists(s.respaldo));
    m.p.prompter.answers << true;
    frmVenta w(s);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTRY_COMPARE(clavesDe(w.captura()), (QStringList{"P100x1", "LIBx1"}));
    QCOMPARE(m.p.prompter.texts(),
             QStringList{QStringLiteral("La venta anterior no se termino (2 articulos, $126.70), desea recuperarla")});
    QCOMPARE(hijo<QLabel>(w, "lblTotal")->text(), QStringLiteral("$126.70"));
    QCOMPARE(QApplication::focusWidget(), w.campoArticulo());
}

// The delivery address: Enter without a street is refused there; typed, Enter accepts; Escape
// gives up and leaves the delivery as it was.
void tst_VentaVentana::domicilioDeEntrega()
{
    ScriptedPrompter prompter;
    EntregaVenta e;
    e.tipo = QStringLiteral("DOMICILIO");
    e.domicilio = true;
    e.cp = QStringLiteral("06000");
    frmDireccionEntrega w(e, prompter);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto *calle = hijo<QLineEdit>(w, "txtCalle");
    QCOMPARE(QApplication::focusWidget(), calle);
    QTest::keyClick(calle, Qt::Key_Return);
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("Debe indicar la calle del domicilio de entrega")});
    QVERIFY(w.isVisible());
    QCOMPARE(QApplication::focusWidget(), calle);
    QTest::keyClicks(calle, QStringLiteral("Hidalgo 5"));
    QTest::keyClick(calle, Qt::Key_Return);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(w.entrega().calle, QStringLiteral("Hidalgo 5"));
    QCOMPARE(w.entrega().cp, QStringLiteral("06000"));

    frmDireccionEntrega otra(e, prompter);
    otra.show();
    QVERIFY(QTest::qWaitForWindowActive(&otra));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Morelos"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(otra.result(), int(QDialog::Rejected));
    QCOMPARE(e.calle, QString());
}

void tst_VentaVentana::importaArchivo()
{
    // Lines from a file: the good ones join the sale, the log of the others opens when asked for.
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection());
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("venta.csv"));
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text));
    f.write(QStringLiteral("%1,2\nNOEXISTE,1\n%2,1\n").arg(kClaves[1], kClaves[2]).toUtf8());
    f.close();
    frmVenta w(m.servicios());
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    m.p.prompter.answers << true; // "desea ver el registro"
    w.importaArchivo(ruta);
    QCOMPARE(clavesDe(w.captura()), (QStringList{"LIBx2", "GRAx1"}));
    QCOMPARE(m.p.prompter.last(), QStringLiteral("Archivo procesado con errores, desea ver el registro"));
    auto *registro = w.findChild<QDialog *>(QStringLiteral("dlgRegistroImportacion"));
    QVERIFY(registro);
    QVERIFY(registro->findChild<QPlainTextEdit *>()->toPlainText().contains(QStringLiteral("Articulo no encontrado")));
    registro->close();
    QCOMPARE(QApplication::focusWidget(), w.campoArticulo());
}

void tst_VentaVentana::rafagaDeCodigos_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QStringList>("codigos");
    QTest::addColumn<bool>("acumula");
    QTest::addColumn<QStringList>("lineas");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "cinco articulos en orden")
            << kCodigos << false << QStringList{"P100x1", "LIBx1", "GRAx1", "LISx1", "EXIx1"};
        TestDatabase::newRow(e, "el mismo codigo sin acumular")
            << QStringList(5, kCodigos[1]) << false << QStringList(5, QStringLiteral("LIBx1"));
        TestDatabase::newRow(e, "el mismo codigo acumulado")
            << QStringList(5, kCodigos[1]) << true << QStringList{"LIBx5"};
        TestDatabase::newRow(e, "acumulado entre otros")
            << QStringList{kCodigos[0], kCodigos[1], kCodigos[0], kCodigos[2], kCodigos[1]} << true
            << QStringList{"P100x2", "LIBx2", "GRAx1"};
    }
}

// A scanner types 13 digits and Enter, several times in a row, faster than anyone: every code
// is priced once, in the order scanned, with nothing processed in between.
void tst_VentaVentana::rafagaDeCodigos()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, codigos);
    QFETCH(bool, acumula);
    QFETCH(QStringList, lineas);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Mostrador m(db.connection());
    m.p.config.setValue(QStringLiteral("ACUMULAR-ARTICULOS-VENTA"), acumula);
    frmVenta w(m.servicios());
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QLineEdit *articulo = w.campoArticulo();
    QCOMPARE(QApplication::focusWidget(), articulo);
    for (const QString &c : codigos)
        escanea(articulo, c);
    QCOMPARE(clavesDe(w.captura()), lineas);
    QCOMPARE(w.grid()->model()->rowCount(), lineas.size());
    QCOMPARE(w.captura().totales().articulos, Decimal(int(codigos.size())));
    QCOMPARE(articulo->text(), QString());
    QCOMPARE(QApplication::focusWidget(), articulo);
    QCOMPARE(m.p.prompter.texts(), QStringList());
}

// Without automatic capture Enter finds the article and moves to the quantity; Enter there adds
// and returns to the article field. A refused quantity keeps the focus.
void tst_VentaVentana::capturaConCantidad()
{
    MDR_CAJA_ABIERTA(false);
    auto *cantidad = hijo<QLineEdit>(w, "txtCantidad");
    QTest::keyClicks(articulo, QStringLiteral("p100"));
    QCOMPARE(articulo->text(), QStringLiteral("P100")); // upper case on entry
    QTest::keyClick(articulo, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), cantidad);
    QCOMPARE(cantidad->text(), QStringLiteral("1"));
    QCOMPARE(hijo<QLabel>(w, "lblPrecio")->text(), QStringLiteral("$100.00"));
    QCOMPARE(hijo<QLabel>(w, "lblDescuento")->text(), QStringLiteral("10%"));
    QCOMPARE(hijo<QLabel>(w, "lblImporte")->text(), QStringLiteral("$103.50"));
    QVERIFY(w.captura().lineas().isEmpty());

    QTest::keyClicks(cantidad, QStringLiteral("2.5"));
    QTest::keyClick(cantidad, Qt::Key_Return);
    QCOMPARE(m.p.prompter.last(), QStringLiteral("El articulo P100No se puede vender fraccionado. No es "
                                                 "posible efectuar su venta"));
    QVERIFY(w.captura().lineas().isEmpty());
    QCOMPARE(QApplication::focusWidget(), cantidad);

    QTest::keyClicks(cantidad, QStringLiteral("3"));
    QTest::keyClick(cantidad, Qt::Key_Return);
    QCOMPARE(clavesDe(w.captura()), QStringList{"P100x3"});
    QCOMPARE(hijo<QLabel>(w, "lblTotal")->text(), QStringLiteral("$310.50"));
    QCOMPARE(QApplication::focusWidget(), articulo);

    // A large total (310.50 + 99999 x 103.50) shrinks to stay whole in its place.
    escanea(articulo, QStringLiteral("P100"));
    QTest::keyClicks(cantidad, QStringLiteral("99999"));
    QTest::keyClick(cantidad, Qt::Key_Return);
    auto *total = hijo<QLabel>(w, "lblTotal");
    QCOMPARE(total->text(), QStringLiteral("$10,350,207.00"));
    QVERIFY(QFontMetrics(total->font()).horizontalAdvance(total->text()) <= total->contentsRect().width());
    QVERIFY(w.captura().eliminaLinea(1));

    // Escape in the quantity drops the found article.
    escanea(articulo, QStringLiteral("LIB"));
    QCOMPARE(QApplication::focusWidget(), cantidad);
    QTest::keyClick(cantidad, Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), articulo);
    QVERIFY(w.isVisible());
    QTest::keyClick(cantidad, Qt::Key_Return);
    QCOMPARE(clavesDe(w.captura()), QStringList{"P100x3"});
}

// Three scans, Up to the last line and its quantity changed, F3, the cash amount typed in frmPago
// and Enter: the sale is written with its lines, payment, stock exits and kardex rows; the change
// stays on screen, the grid is empty, the field ready.
void tst_VentaVentana::ventaDeContado()
{
    MDR_CAJA_ABIERTA(true);
    escanea(articulo, kCodigos[0]); // P100 100.00 - 10% + 15% = 103.50
    escanea(articulo, kCodigos[1]); // LIB 20.00 + 16%
    escanea(articulo, kCodigos[4]); // EXI 20.00 + 16%, 5 in stock
    QTest::keyClick(articulo, Qt::Key_Up);
    QWidget *grid = QApplication::focusWidget();
    QCOMPARE(grid, static_cast<QWidget *>(w.grid()));
    QCOMPARE(w.grid()->currentIndex().row(), 2);
    QTest::keyClick(grid, Qt::Key_F2);
    QWidget *editor = QApplication::focusWidget();
    QVERIFY(editor && editor != grid);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("3"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(clavesDe(w.captura()), (QStringList{"P100x1", "LIBx1", "EXIx3"}));
    QTest::keyClick(grid, Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), articulo);
    QCOMPARE(hijo<QLabel>(w, "lblTotal")->text(), QStringLiteral("$196.30"));

    bool pagoAbierto = false;
    cuandoModal([&](QWidget *dlg) {
        pagoAbierto = dlg->objectName() == QLatin1String("frmPago");
        auto *efectivo = dlg->findChild<QLineEdit *>(QStringLiteral("txtEfectivo"));
        if (!efectivo) {
            dlg->close();
            return;
        }
        // The sale window's keys do not reach through the dialog.
        QTest::keyClick(efectivo, Qt::Key_F9);
        QTest::keyClick(efectivo, Qt::Key_F4);
        QTest::keyClicks(efectivo, QStringLiteral("200"));
        QTest::keyClick(efectivo, Qt::Key_Return);
    });
    QTest::keyClick(articulo, Qt::Key_F3);
    QVERIFY(pagoAbierto);
    QCOMPARE(m.p.prompter.texts(), QStringList());

    QVERIFY(w.ultimaVenta().has_value());
    const VentaGuardada v = *w.ultimaVenta();
    QCOMPARE(filas(c, QStringLiteral("select venta_Total, venta_Pago, venta_Cambio, venta_Cantidad from tVenta")),
             QStringList{QStringLiteral("196.3|200|3.7|5")});
    QCOMPARE(filas(c, QStringLiteral("select vdet_Numero, art_Clave, vdet_Cantidad from tVentaDetalle where "
                                     "venta_Folio = %1 order by vdet_Numero")
                          .arg(v.folio)),
             (QStringList{"1|P100|1", "2|LIB|1", "3|EXI|3"}));
    QCOMPARE(filas(c, QStringLiteral("select tpago_Clave, vpago_Importe from tVentaPago")),
             QStringList{QStringLiteral("EFECTIVO|200")});
    QCOMPARE(filas(c, QStringLiteral("select art_Clave, alma_Existencia from tArticuloAlmacen where alm_Clave = "
                                     "'MATRIZ' and art_Clave in ('LIB', 'EXI') order by art_Clave")),
             (QStringList{"EXI|2", "LIB|3"}));
    // One kardex exit per line, each with the stock it left (P100 had none: free articles may go below 0).
    QCOMPARE(filas(c, QStringLiteral("select art_Clave, tkar_Clave, kar_Cantidad, alma_Existencia from "
                                     "tArticuloKardex where KAR_ORIGEN like 'VENTA-%' order by art_Clave")),
             (QStringList{"EXI|S|-3|2", "LIB|S|-1|3", "P100|S|-1|-1"}));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tVentaPendiente")).toInt(), 0);

    QCOMPARE(w.grid()->model()->rowCount(), 0);
    QCOMPARE(hijo<QLabel>(w, "lblTotal")->text(), QStringLiteral("$0.00"));
    QCOMPARE(hijo<QLabel>(w, "lblCambio")->text(), QStringLiteral("Cambio $3.70"));
    // No printer in this window: no ticket, so the folio is told in full.
    QCOMPARE(hijo<QLabel>(w, "lblEstado")->text(),
             QStringLiteral("Venta guardada con el folio ") + QString::number(v.folio));
    // The window gets its activation back after the dialog; the field holds its focus.
    QCOMPARE(w.focusWidget(), articulo);
    // The change stays until the next scan.
    escanea(articulo, kCodigos[0]);
    QCOMPARE(hijo<QLabel>(w, "lblCambio")->text(), QString());
    QCOMPARE(clavesDe(w.captura()), QStringList{"P100x1"});
}

// F9 holds the sale, F12 lists the held sales and Enter loads the chosen one.
void tst_VentaVentana::pendienteYRecuperacion()
{
    MDR_CAJA_ABIERTA(true);
    // Nothing to hold.
    QTest::keyClick(articulo, Qt::Key_F9);
    QCOMPARE(m.p.prompter.last(), QStringLiteral("No hay articulos"));
    m.p.prompter.clear();

    escanea(articulo, kCodigos[0]);
    escanea(articulo, kCodigos[1]);
    QTest::keyClick(articulo, Qt::Key_F9);
    QCOMPARE(m.p.prompter.texts(),
             QStringList{QStringLiteral("La venta pendiente ha sido guardada con el Numero << 1 >> ")});
    m.p.prompter.clear();
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tVentaPendiente")).toInt(), 1);
    QCOMPARE(w.grid()->model()->rowCount(), 0);
    QVERIFY(hijo<QLabel>(w, "lblEstado")->text().startsWith(QStringLiteral("Venta pendiente ")));
    QCOMPARE(QApplication::focusWidget(), articulo);

    int filas = -1;
    cuandoModal([&](QWidget *dlg) {
        auto *grid = dlg->findChild<QTableView *>(QStringLiteral("grdPendientes"));
        if (!grid) {
            dlg->close();
            return;
        }
        filas = grid->model()->rowCount();
        QTest::keyClick(grid, Qt::Key_Return);
    });
    QTest::keyClick(articulo, Qt::Key_F12);
    QCOMPARE(filas, 1);
    QCOMPARE(clavesDe(w.captura()), (QStringList{"P100x1", "LIBx1"}));
    QCOMPARE(w.captura().pendientesCargadas().size(), 1);
    QCOMPARE(w.focusWidget(), articulo);
    QCOMPARE(m.p.prompter.texts(), QStringList());

    // Escape in the list loads nothing.
    // Shortcuts work in the active window; the offscreen platform does not give the activation
    // back after a dialog as a window manager does.
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    m.p.prompter.answers.enqueue(true);
    QTest::keyClick(articulo, Qt::Key_F4);
    QCOMPARE(w.captura().lineas().size(), 0);
    bool lista = false;
    cuandoModal([&](QWidget *dlg) {
        lista = dlg->objectName() == QLatin1String("frmVentaPendiente");
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    QTest::keyClick(articulo, Qt::Key_F12);
    QVERIFY(lista);
    QCOMPARE(w.captura().lineas().size(), 0);
}

// F4 asks before the lines are lost; No keeps them. F6 asks the same.
void tst_VentaVentana::borrarPregunta()
{
    MDR_CAJA_ABIERTA(true);
    const QString pregunta =
        QStringLiteral("Los articulos capturados no han sido guardados y se perderan, desea  continuar");
    // An empty sale asks nothing.
    QTest::keyClick(articulo, Qt::Key_F4);
    QCOMPARE(m.p.prompter.texts(), QStringList());

    escanea(articulo, kCodigos[0]);
    m.p.prompter.answers << false << false << true;
    QTest::keyClick(articulo, Qt::Key_F4);
    QCOMPARE(m.p.prompter.texts(), QStringList{pregunta});
    QCOMPARE(w.captura().lineas().size(), 1);
    QTest::keyClick(articulo, Qt::Key_F6);
    QCOMPARE(w.captura().lineas().size(), 1);
    QTest::keyClick(articulo, Qt::Key_F4);
    QCOMPARE(m.p.prompter.texts(), QStringList(3, pregunta));
    QCOMPARE(w.captura().lineas().size(), 0);
    QCOMPARE(hijo<QLabel>(w, "lblTotal")->text(), QStringLiteral("$0.00"));
    QCOMPARE(QApplication::focusWidget(), articulo);
    QVERIFY(m.p.prompter.drained());
}

// Escape in the grid goes back to the article field; Delete removes the current line; Escape in
// the article field closes the window, asking first when lines are present.
void tst_VentaVentana::teclasDelGrid()
{
    MDR_CAJA_ABIERTA(true);
    for (int i = 0; i < 3; ++i)
        escanea(articulo, kCodigos[i]);
    QTableView *grid = w.grid();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(1, VentaModelo::Nombre));
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(clavesDe(w.captura()), (QStringList{"P100x1", "GRAx1"}));
    QCOMPARE(QApplication::focusWidget(), grid);
    QTest::keyClick(grid, Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), articulo);
    QVERIFY(w.isVisible());
    QCOMPARE(m.p.prompter.texts(), QStringList());

    // Editing a quantity in the grid goes through the capture's rules.
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(1, VentaModelo::Cantidad));
    QTest::keyClick(grid, Qt::Key_F2); // edit key
    QWidget *editor = QApplication::focusWidget();
    QVERIFY(editor && editor != grid);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("1.5"));
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits on its next turn of the event loop.
    QTRY_COMPARE(clavesDe(w.captura()), (QStringList{"P100x1", "GRAx1.5"}));
    QCOMPARE(hijo<QLabel>(w, "lblArticulos")->text(), QStringLiteral("2.5"));

    m.p.prompter.answers << false << true;
    QTest::keyClick(articulo, Qt::Key_Escape);
    QVERIFY(w.isVisible());
    QTest::keyClick(articulo, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QCOMPARE(m.p.prompter.texts().size(), 2);
}

// A refused line leaves the grid as it was and the code in the field, selected.
void tst_VentaVentana::lineaRechazada()
{
    MDR_CAJA_ABIERTA(true);
    escanea(articulo, kCodigos[0]);
    escanea(articulo, kCodigos[1]);
    const QStringList antes = clavesDe(w.captura());
    const QString total = hijo<QLabel>(w, "lblTotal")->text();

    escanea(articulo, QStringLiteral("sus"));
    QCOMPARE(m.p.prompter.last(), QStringLiteral("El articulo SUSSe encuentra en estado de suspendido. No es "
                                                 "posible efectuar su venta"));
    QCOMPARE(clavesDe(w.captura()), antes);
    QCOMPARE(hijo<QLabel>(w, "lblTotal")->text(), total);
    QCOMPARE(articulo->text(), QStringLiteral("SUS"));
    QCOMPARE(articulo->selectedText(), QStringLiteral("SUS"));
    QCOMPARE(QApplication::focusWidget(), articulo);

    escanea(articulo, QStringLiteral("NOEXISTE"));
    QCOMPARE(m.p.prompter.last(), QStringLiteral("Articulo no encontrado"));
    QCOMPARE(clavesDe(w.captura()), antes);
    // The next scan replaces the refused code.
    escanea(articulo, kCodigos[2]);
    QCOMPARE(w.captura().lineas().size(), 3);
    QCOMPARE(w.captura().lineas().last().clave, QStringLiteral("GRA"));
}

void tst_VentaVentana::comandosNoDisponibles_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<int>("tecla");
    QTest::addColumn<QString>("mensaje");
    const QString e = TestDatabase::sqlite();
    TestDatabase::newRow(e, "F5 tiempo aire") << int(Qt::Key_F5) << "El tiempo aire no esta disponible";
    TestDatabase::newRow(e, "F8 presupuesto")
        << int(Qt::Key_F8) << "La impresion de presupuestos no esta disponible";
    TestDatabase::newRow(e, "F3 sin articulos") << int(Qt::Key_F3) << "No hay articulos para cobrar";
}

void tst_VentaVentana::comandosNoDisponibles()
{
    QFETCH(QString, engine);
    QFETCH(int, tecla);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Mostrador m(db.connection());
    frmVenta w(m.servicios());
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(w.campoArticulo(), Qt::Key(tecla));
    QCOMPARE(m.p.prompter.texts(), QStringList{mensaje});
    QCOMPARE(QApplication::focusWidget(), w.campoArticulo());
}

// F7 opens the cash movements of the open cut; closing them gives the article field back.
void tst_VentaVentana::movimientoDeCaja()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection());
    frmVenta w(m.servicios());
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QString abierta;
    QTimer::singleShot(0, [&abierta] {
        if (QWidget *d = QApplication::activeModalWidget()) {
            abierta = d->objectName();
            QTest::keyClick(d, Qt::Key_Escape);
        }
    });
    QTest::keyClick(w.campoArticulo(), Qt::Key_F7);
    QCOMPARE(abierta, QStringLiteral("frmMovCaja"));
    QVERIFY(m.p.prompter.shown.isEmpty());
    QTRY_COMPARE(QApplication::focusWidget(), w.campoArticulo());
}

// The client key with Enter loads the client and re-prices; an unknown key keeps the client.
// Without an open cut the window says so and paying gives the cut message.
void tst_VentaVentana::clienteYCorte()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    Mostrador m(c);
    {
        frmVenta w(m.servicios());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(hijo<QLabel>(w, "lblCorte")->text(), QStringLiteral("CAJA1-%1-7").arg(PuestoVenta::anio(c)));
        QCOMPARE(hijo<QLabel>(w, "lblTerminal")->text(), QStringLiteral("CAJA1"));
        QCOMPARE(hijo<QLabel>(w, "lblVendedor")->text(), QStringLiteral("ADMIN"));
        auto *cliente = hijo<QLineEdit>(w, "txtCliente");
        QCOMPARE(cliente->text(), QStringLiteral("SYS"));
        escanea(w.campoArticulo(), QStringLiteral("LIS"));
        QCOMPARE(hijo<QLabel>(w, "lblTotal")->text(), QStringLiteral("$100.00"));

        cliente->setFocus();
        cliente->selectAll();
        QTest::keyClicks(cliente, QStringLiteral("C9"));
        QTest::keyClick(cliente, Qt::Key_Return);
        QCOMPARE(m.p.prompter.last(), QStringLiteral("No existe informacion del cliente"));
        QCOMPARE(w.captura().cliente().clave, QStringLiteral("SYS"));
        QCOMPARE(QApplication::focusWidget(), cliente);

        cliente->selectAll();
        QTest::keyClicks(cliente, QStringLiteral("C1"));
        QTest::keyClick(cliente, Qt::Key_Return);
        QCOMPARE(hijo<QLabel>(w, "lblNombreCliente")->text(), QStringLiteral("Farmacia Sol"));
        QCOMPARE(hijo<QLabel>(w, "lblDescuentoCliente")->text(), QStringLiteral("-10%"));
        // Type MAYOREO prices by list 1 (70.00), less the client's 10%.
        QCOMPARE(hijo<QLabel>(w, "lblTotal")->text(), QStringLiteral("$63.00"));
        QCOMPARE(QApplication::focusWidget(), w.campoArticulo());
    }
    m.p.prompter.clear();
    c.execute(QStringLiteral("update TCORTE set ecorte_Clave = 'CERRADO'"));
    frmVenta w(m.servicios());
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(hijo<QLabel>(w, "lblCorte")->text(), QStringLiteral("Sin corte abierto"));
    escanea(w.campoArticulo(), kCodigos[0]);
    QTest::keyClick(w.campoArticulo(), Qt::Key_F3);
    QCOMPARE(
        m.p.prompter.texts(),
        QStringList{QStringLiteral("Corte de Caja invalido, aperture un corte de caja antes de continuar")});
    QCOMPARE(w.captura().lineas().size(), 1);
    // A cut opened (or closed) from the Caja menu shows in the open window at once.
    c.execute(QStringLiteral("update TCORTE set ecorte_Clave = 'ABIERTO'"));
    w.actualizaCorte();
    QCOMPARE(hijo<QLabel>(w, "lblCorte")->text(), QStringLiteral("CAJA1-%1-7").arg(PuestoVenta::anio(c)));
    c.execute(QStringLiteral("update TCORTE set ecorte_Clave = 'CERRADO'"));
    w.actualizaCorte();
    QCOMPARE(hijo<QLabel>(w, "lblCorte")->text(), QStringLiteral("Sin corte abierto"));
    QCOMPARE(w.captura().lineas().size(), 1);
}

// "VENTA-PROMISCUA": a login before the window opens and before every new sale; the seller is
// the user who logged in. A refused first login opens nothing.
void tst_VentaVentana::ventaPromiscua()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Mostrador m(db.connection());
    m.p.config.setValue(QStringLiteral("VENTA-PROMISCUA"), true);
    QStringList usuarios{QString(), QStringLiteral("VENDE1"), QStringLiteral("VENDE2")};
    int logins = 0;
    frmVenta::Servicios s = m.servicios();
    s.pideUsuario = [&]() -> std::optional<QString> {
        ++logins;
        const QString u = usuarios.takeFirst();
        return u.isEmpty() ? std::nullopt : std::optional<QString>(u);
    };
    QCOMPARE(frmVenta::abrir(s), nullptr);
    std::unique_ptr<frmVenta> w(frmVenta::abrir(s));
    QVERIFY(w);
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QCOMPARE(hijo<QLabel>(*w, "lblVendedor")->text(), QStringLiteral("VENDE1"));
    QCOMPARE(w->captura().vendedor(), QStringLiteral("VENDE1"));
    QTest::keyClick(w->campoArticulo(), Qt::Key_F6);
    QCOMPARE(logins, 3);
    QCOMPARE(hijo<QLabel>(*w, "lblVendedor")->text(), QStringLiteral("VENDE2"));
    QCOMPARE(m.p.prompter.texts(), QStringList());
}

// "MODO-CAJA-CENTRAL": every new sale starts by choosing a held sale.
void tst_VentaVentana::cajaCentral()
{
    MDR_CAJA_ABIERTA(true);
    escanea(w.campoArticulo(), kCodigos[2]);
    QTest::keyClick(w.campoArticulo(), Qt::Key_F9);
    m.p.prompter.clear();
    m.p.config.setValue(QStringLiteral("MODO-CAJA-CENTRAL"), true);
    cuandoModal([](QWidget *dlg) {
        if (auto *grid = dlg->findChild<QTableView *>(QStringLiteral("grdPendientes")))
            QTest::keyClick(grid, Qt::Key_Return);
        else
            dlg->close();
    });
    QTest::keyClick(w.campoArticulo(), Qt::Key_F6);
    QCOMPARE(clavesDe(w.captura()), QStringList{"GRAx1"});
    QCOMPARE(m.p.prompter.texts(), QStringList());
}

QTEST_MAIN(tst_VentaVentana)
#include "tst_venta_ventana.moc"
