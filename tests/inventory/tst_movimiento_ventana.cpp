// The warehouse movement windows offscreen: movements registered through the fields of
// frmMovAlmDet (a plain entry with Enter, a transfer, an assembly with its component grid), a
// refused field taking the focus, the fields of each type, the lot/serial picker, and the list
// frmMovAlmCon: newest first, filters, registering, consulting and cancelling from it, rights.
#include "ArticulosExistencia.h"
#include "EstacionPrueba.h"
#include "Existencias.h"
#include "InvariantesExistencia.h"
#include "Log.h"
#include "LookupServices.h"
#include "MovimientoAlmacen.h"
#include "TestDatabase.h"
#include "frmLoteSerie.h"
#include "frmMovAlmCon.h"
#include "frmMovAlmDet.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

void preparaDatos(db::Connection &c)
{
    creaArticulosExistencia(c);
    c.execute(
        QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('A1', 'Uno'), ('A2', 'Dos')"));
    c.execute(
        QStringLiteral("insert into tTipoMovAlmacen (tmova_Clave, tmova_Nombre, tmova_Entrada, "
                       "tmova_Salida) values ('REGALO', 'Regalo', 'S', 'N'), ('MERMA', 'Merma', 'N', 'S')"));
}

void entra(Existencias &e, const char *art, const char *lote, const char *cantidad)
{
    QVERIFY(e.actualizaArticuloAlmacen(QStringLiteral("A1"), QString::fromLatin1(art),
                                       QString::fromLatin1(lote), Decimal(cantidad), QStringLiteral("E"),
                                       QStringLiteral("PRUEBA"), QString(), QString(), Decimal(1), false,
                                       false, false));
}

template <typename T> T *campo(QWidget &w, const char *nombre)
{
    T *t = w.findChild<T *>(QString::fromLatin1(nombre));
    if (!t)
        qFatal("no existe el campo %s", nombre);
    return t;
}

void elige(QWidget &w, const char *combo, const QString &clave)
{
    auto *c = campo<QComboBox>(w, combo);
    c->setCurrentIndex(c->findData(clave));
}

// Types into a field and leaves it, as the user does.
void escribe(QWidget &w, const char *nombre, const QString &texto)
{
    auto *e = campo<QLineEdit>(w, nombre);
    e->setFocus();
    e->clear();
    QTest::keyClicks(e, texto);
    Q_EMIT e->editingFinished();
}

// "type|article|lot|quantity|destination" typed into the window.
void captura(frmMovAlmDet &w, const QString &movimiento)
{
    const QStringList p = movimiento.split(u'|');
    elige(w, "cmbTipo", p.value(0));
    escribe(w, "txtArticulo", p.value(1));
    escribe(w, "txtLote", p.value(2));
    escribe(w, "txtCantidad", p.value(3));
    if (!p.value(4).isEmpty())
        elige(w, p.value(0) == QLatin1String("INTERSUCURSAL") ? "cmbSucursal" : "cmbDestino", p.value(4));
}

} // namespace

class tst_MovimientoVentana : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void entradaConEnter_data() { TestDatabase::addEngineRows(); }
    void entradaConEnter();
    void traspaso_data() { TestDatabase::addEngineRows(); }
    void traspaso();
    void ensamble_data() { TestDatabase::addEngineRows(); }
    void ensamble();
    void campoRechazado_data();
    void campoRechazado();
    void camposPorTipo_data();
    void camposPorTipo();
    void eligeLote_data() { TestDatabase::addEngineRows(); }
    void eligeLote();
    void lista_data() { TestDatabase::addEngineRows(); }
    void lista();
    void consultaYCancelacion_data() { TestDatabase::addEngineRows(); }
    void consultaYCancelacion();
    void derechos_data() { TestDatabase::addEngineRows(); }
    void derechos();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_MovimientoVentana::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

#define ESTACION                                                                                             \
    QFETCH(QString, engine);                                                                                 \
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);                                                   \
    db::Connection &c = db.connection();                                                                     \
    preparaDatos(c);                                                                                         \
    EstacionPrueba::grant(c);                                                                                \
    EstacionPrueba s(&c, settingsFile());                                                                    \
    s.config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("A1"));                                      \
    const LookupServices services{s.provider, s.config, s.prompter};                                         \
    Existencias e(s.provider, s.config, s.prompter)

void tst_MovimientoVentana::entradaConEnter()
{
    ESTACION;
    frmMovAlmDet w(services, s.permisos);
    QVERIFY(w.width() <= 1000 && w.height() <= 600);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // The session's warehouse, today's date, the cost still empty.
    QCOMPARE(campo<QComboBox>(w, "cmbAlmacen")->currentData().toString(), QStringLiteral("A1"));
    QCOMPARE(campo<QLineEdit>(w, "txtFecha")->text(), c.scalar(QStringLiteral("select getdate()"))
                                                          .toDateTime()
                                                          .date()
                                                          .toString(QStringLiteral("dd/MM/yyyy")));
    QVERIFY(campo<QLineEdit>(w, "txtFecha")->isReadOnly());
    QCOMPARE(campo<QLineEdit>(w, "txtCosto")->text(), QStringLiteral("0.00"));
    QVERIFY(campo<QLineEdit>(w, "txtFolio")->isHidden());
    QVERIFY(campo<QPushButton>(w, "cmdCancelarMovimiento")->isHidden());

    elige(w, "cmbTipo", QStringLiteral("REGALO"));
    escribe(w, "txtArticulo", QStringLiteral("EXI"));
    // The article's name and cost come with it.
    QCOMPARE(campo<QLabel>(w, "lblNombre")->text(), QStringLiteral("Articulo EXI"));
    QCOMPARE(campo<QLineEdit>(w, "txtCosto")->text(), QStringLiteral("4.50"));
    escribe(w, "txtCantidad", QStringLiteral("5"));
    escribe(w, "txtDescripcion", QStringLiteral("Muestra del proveedor"));
    s.prompter.answers << true;
    QTest::keyClick(campo<QLineEdit>(w, "txtDescripcion"), Qt::Key_Return);
    QCOMPARE(s.prompter.texts(), (QStringList{QStringLiteral("Los datos son correctos"),
                                              QStringLiteral("El registro fue dado de alta con exito")}));
    QVERIFY(w.cambiado());
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(filas(c, QStringLiteral("select alm_Clave, tmova_Clave, art_Clave, alma_Clave, MOVA_Cantidad, "
                                     "MOVA_Costo, MOVA_Total, EMOVA_CLAVE, alm_Destino, mova_Descripcion "
                                     "from tMovAlmacen")),
             QStringList{QStringLiteral("A1|REGALO|EXI||5|4.5|22.5|REGISTRADO||Muestra del proveedor")});
    QCOMPARE(filasExistencia(c), QStringList{QStringLiteral("A1|EXI|=5")});
    MDR_VERIFICA_INVARIANTES(c);
}

void tst_MovimientoVentana::traspaso()
{
    ESTACION;
    entra(e, "LOT", "L1", "5");
    frmMovAlmDet w(services, s.permisos);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    captura(w, QStringLiteral("TRASPASO|LOT|L1|3|A2"));
    QVERIFY(!campo<QWidget>(w, "cmbDestino")->isHidden());
    s.prompter.answers << true;
    campo<QPushButton>(w, "cmdAceptar")->click();
    QCOMPARE(s.prompter.last(), QStringLiteral("El registro fue dado de alta con exito"));
    QCOMPARE(filasExistencia(c), (QStringList{"A1|LOT|L1=2", "A2|LOT|L1=3"}));
    QCOMPARE(filas(c, QStringLiteral("select tmova_Clave, alm_Destino, MOVA_Costo from tMovAlmacen")),
             QStringList{QStringLiteral("TRASPASO|A2|7")});
    MDR_VERIFICA_INVARIANTES(c);
}

void tst_MovimientoVentana::ensamble()
{
    ESTACION;
    entra(e, "LIB", "", "10");
    entra(e, "EXI", "", "3");
    frmMovAlmDet w(services, s.permisos);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    captura(w, QStringLiteral("ENSAMBLE|KIT||2"));
    auto *grupo = campo<QGroupBox>(w, "grpComponentes");
    QVERIFY(!grupo->isHidden());
    QCOMPARE(grupo->title(), QStringLiteral("Componentes del Ensamble"));
    ComponentesModel *m = w.componentes();
    QAbstractItemModelTester probador(m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // esa_Cantidad × the quantity, at each component's cost.
    QCOMPARE(m->rowCount(), 2);
    const auto linea = [m](int r) {
        QStringList out;
        for (int k = 0; k < m->columnCount(); ++k)
            out << m->index(r, k).data().toString();
        return out.join(u'|');
    };
    QCOMPARE(linea(0), QStringLiteral("EXI|Articulo EXI||2|4.50|9.00"));
    QCOMPARE(linea(1), QStringLiteral("LIB|Articulo LIB||4|10.00|40.00"));
    // The quantity changes: the lines follow.
    escribe(w, "txtCantidad", QStringLiteral("3"));
    QCOMPARE(m->index(1, ComponentesModel::Cantidad).data().toString(), QStringLiteral("6"));
    escribe(w, "txtCantidad", QStringLiteral("2"));

    // A line edited in the grid: a text is refused, more than the stock is refused, a number kept.
    QVERIFY(m->flags(m->index(0, ComponentesModel::Lote)) & Qt::ItemIsEditable);
    QVERIFY(!(m->flags(m->index(0, ComponentesModel::Articulo)) & Qt::ItemIsEditable));
    QVERIFY(!m->setData(m->index(1, ComponentesModel::Cantidad), QStringLiteral("tres")));
    QVERIFY(!m->setData(m->index(0, ComponentesModel::Cantidad), QStringLiteral("4")));
    QCOMPARE(s.prompter.texts(), (QStringList{QStringLiteral("Debe ingresar un numero"),
                                              QStringLiteral("Existencia 3 Requerida 4")}));
    QCOMPARE(linea(0), QStringLiteral("EXI|Articulo EXI||2|4.50|9.00"));
    QVERIFY(m->setData(m->index(1, ComponentesModel::Cantidad), QStringLiteral("5")));
    QCOMPARE(linea(1), QStringLiteral("LIB|Articulo LIB||5|10.00|50.00"));

    s.prompter.clear();
    s.prompter.answers << true;
    campo<QPushButton>(w, "cmdAceptar")->click();
    QCOMPARE(s.prompter.last(), QStringLiteral("El registro fue dado de alta con exito"));
    QCOMPARE(filasExistencia(c), (QStringList{"A1|EXI|=1", "A1|KIT|=2", "A1|LIB|=5"}));
    MDR_VERIFICA_INVARIANTES(c);

    // Shown again, read only, with the lines as they moved.
    frmMovAlmDet q(services, s.permisos, u'Q', QStringLiteral("A1"), w.movimiento().anio(),
                   w.movimiento().numero());
    QVERIFY(q.valido());
    QCOMPARE(q.componentes()->rowCount(), 2);
    QCOMPARE(q.componentes()->index(1, ComponentesModel::Cantidad).data().toString(), QStringLiteral("5"));
    QVERIFY(
        !(q.componentes()->flags(q.componentes()->index(0, ComponentesModel::Lote)) & Qt::ItemIsEditable));
    QCOMPARE(campo<QGroupBox>(q, "grpComponentes")->title(), QStringLiteral("Componentes del Ensamble"));
}

void tst_MovimientoVentana::campoRechazado_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("movimiento");
    QTest::addColumn<QString>("costo");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<QString>("foco");
    const struct {
        const char *nombre, *movimiento, *costo, *mensaje, *foco;
    } casos[] = {
        {"sin tipo", "|LIB||1", "", "Debe seleccionar un tipo de movimiento", "cmbTipo"},
        {"sin articulo", "REGALO|||1", "", "Debe indicar el articulo", "txtArticulo"},
        {"articulo inexistente", "REGALO|NADA||1", "", "El articulo NADA no existe", "txtArticulo"},
        {"sin cantidad", "REGALO|LIB||", "", "Debe indicar la cantidad", "txtCantidad"},
        {"cantidad no numerica", "REGALO|LIB||dos", "", "Debe indicar la cantidad", "txtCantidad"},
        {"lote sin capturar", "REGALO|LOT||1", "", "Requiere capturar el Lote", "txtLote"},
        {"serie de dos", "REGALO|SER|S1|2", "",
         "La cantidad para un articulo controlado por serie siempre debe ser uno", "txtCantidad"},
        {"traspaso sin destino", "TRASPASO|LIB||1", "", "Debe seleccionar el almacen destino", "cmbDestino"},
        {"traspaso al mismo almacen", "TRASPASO|LIB||1|A1", "",
         "El almacen destino debe ser distinto al almacen origen", "cmbDestino"},
        {"envio sin sucursal", "INTERSUCURSAL|LIB||1", "", "Selecciona la sucursal destino", "cmbSucursal"},
        {"cambio sin articulo", "CAMBIOS|LIB||1", "", "Debe indicar el articulo de cambio",
         "txtArticuloCambio"},
        {"costo no numerico", "REGALO|LIB||1", "diez", "Debe ingresar un numero", "txtCosto"},
    };
    for (const QString &e : TestDatabase::engines())
        for (const auto &k : casos)
            TestDatabase::newRow(e, k.nombre)
                << QString::fromLatin1(k.movimiento) << QString::fromLatin1(k.costo)
                << QString::fromLatin1(k.mensaje) << QString::fromLatin1(k.foco);
}

void tst_MovimientoVentana::campoRechazado()
{
    QFETCH(QString, movimiento);
    QFETCH(QString, costo);
    QFETCH(QString, mensaje);
    QFETCH(QString, foco);
    ESTACION;
    entra(e, "LIB", "", "5");
    frmMovAlmDet w(services, s.permisos);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    captura(w, movimiento);
    if (!costo.isEmpty())
        escribe(w, "txtCosto", costo);
    campo<QLineEdit>(w, "txtDescripcion")->setFocus();
    QTest::keyClick(campo<QLineEdit>(w, "txtDescripcion"), Qt::Key_Return);
    QCOMPARE(s.prompter.texts(), QStringList{mensaje});
    QTRY_COMPARE(QApplication::focusWidget()->objectName(), foco);
    QVERIFY(w.isVisible());
    QVERIFY(!w.cambiado());
    // Nothing invalid was written.
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tMovAlmacen")).toInt(), 0);
    QCOMPARE(filasExistencia(c), QStringList{QStringLiteral("A1|LIB|=5")});
}

void tst_MovimientoVentana::camposPorTipo_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QStringList>("visibles");
    QTest::addColumn<QString>("titulo");
    QTest::newRow("entrada") << "REGALO" << QStringList{} << QString();
    QTest::newRow("salida") << "MERMA" << QStringList{} << QString();
    QTest::newRow("traspaso") << "TRASPASO" << QStringList{"cmbDestino"} << QString();
    QTest::newRow("sucursal") << "INTERSUCURSAL" << QStringList{"cmbSucursal"} << QString();
    QTest::newRow("cambio") << "CAMBIOS" << QStringList{"txtArticuloCambio", "txtLoteCambio"} << QString();
    QTest::newRow("ensamble") << "ENSAMBLE" << QStringList{"grpComponentes"} << "Componentes del Ensamble";
    QTest::newRow("desensamble") << "DESENSAMBLE" << QStringList{"grpComponentes"}
                                 << "Componentes del DesEnsamble";
}

void tst_MovimientoVentana::camposPorTipo()
{
    QFETCH(QString, tipo);
    QFETCH(QStringList, visibles);
    QFETCH(QString, titulo);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaDatos(c);
    c.execute(
        QStringLiteral("insert into tSucursal (suc_Clave, suc_Nombre) values ('NORTE', 'Sucursal Norte')"));
    EstacionPrueba::grant(c);
    EstacionPrueba s(&c, settingsFile());
    s.config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("A1"));
    frmMovAlmDet w(LookupServices{s.provider, s.config, s.prompter}, s.permisos, u'A', QString(), 0, 0, tipo);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(campo<QComboBox>(w, "cmbTipo")->currentData().toString(), tipo);
    for (const char *f :
         {"cmbDestino", "cmbSucursal", "txtArticuloCambio", "txtLoteCambio", "grpComponentes"})
        QCOMPARE(campo<QWidget>(w, f)->isVisible(), visibles.contains(QString::fromLatin1(f)));
    if (!titulo.isEmpty())
        QCOMPARE(campo<QGroupBox>(w, "grpComponentes")->title(), titulo);
    if (tipo == QLatin1String("INTERSUCURSAL")) {
        QCOMPARE(campo<QComboBox>(w, "cmbSucursal")->count(), 1);
        QVERIFY(!w.findChildren<QLabel *>().isEmpty());
        bool etiqueta = false;
        for (QLabel *l : w.findChildren<QLabel *>())
            etiqueta |= l->isVisible() && l->text() == QLatin1String("Selecciona la sucursal destino");
        QVERIFY(etiqueta);
    }
    // A preset type starts on the article.
    QCOMPARE(QApplication::focusWidget(), campo<QLineEdit>(w, "txtArticulo"));
    QVERIFY(s.prompter.shown.isEmpty());
}

void tst_MovimientoVentana::eligeLote()
{
    ESTACION;
    entra(e, "LOT", "L1", "5");
    entra(e, "LOT", "L2", "1");
    {
        frmLoteSerie p(s.provider, s.prompter, QStringLiteral("A1"), QStringLiteral("LOT"), Decimal(2));
        p.show();
        QVERIFY(QTest::qWaitForWindowActive(&p));
        QCOMPARE(p.filas(), 2);
        auto *grid = campo<QTableView>(p, "grdLotes");
        QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("L1"));
        QCOMPARE(grid->model()->index(0, 1).data().toString(), QStringLiteral("5"));
        // Picking a row writes it; Enter on the short lot is refused and the field keeps the focus.
        grid->setCurrentIndex(grid->model()->index(1, 0));
        QCOMPARE(p.lote(), QStringLiteral("L2"));
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("El Lote no tiene existencia suficiente")});
        QVERIFY(p.isVisible());
        QTRY_COMPARE(QApplication::focusWidget(), campo<QLineEdit>(p, "txtLote"));
        s.prompter.clear();
        auto *texto = campo<QLineEdit>(p, "txtLote");
        texto->clear();
        QTest::keyClicks(texto, QStringLiteral("L9"));
        QTest::keyClick(texto, Qt::Key_Return);
        QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("El Lote no existe")});
        grid->setCurrentIndex(grid->model()->index(0, 0));
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(p.result(), int(QDialog::Accepted));
        QCOMPARE(p.lote(), QStringLiteral("L1"));
    }
    {
        // Escape gives nothing back.
        frmLoteSerie p(s.provider, s.prompter, QStringLiteral("A1"), QStringLiteral("LOT"), Decimal(1));
        p.show();
        QVERIFY(QTest::qWaitForWindowActive(&p));
        QTest::keyClick(&p, Qt::Key_Escape);
        QCOMPARE(p.result(), int(QDialog::Rejected));
    }
    // From the movement: F2 on the lot opens the picker, whose choice fills the field.
    frmMovAlmDet w(services, s.permisos, u'A', QString(), 0, 0, QStringLiteral("MERMA"));
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    escribe(w, "txtArticulo", QStringLiteral("LOT"));
    escribe(w, "txtCantidad", QStringLiteral("1"));
    s.prompter.clear();
    bool abierto = false;
    QTimer::singleShot(0, this, [&abierto] {
        auto *p = qobject_cast<frmLoteSerie *>(QApplication::activeModalWidget());
        if (!p)
            return;
        abierto = true;
        auto *grid = p->findChild<QTableView *>(QStringLiteral("grdLotes"));
        grid->setCurrentIndex(grid->model()->index(1, 0));
        QTest::keyClick(grid, Qt::Key_Return);
    });
    auto *lote = campo<QLineEdit>(w, "txtLote");
    lote->setFocus();
    QTest::keyClick(lote, Qt::Key_F2);
    QVERIFY(abierto);
    QCOMPARE(lote->text(), QStringLiteral("L2"));
    QVERIFY(s.prompter.shown.isEmpty());
}

void tst_MovimientoVentana::lista()
{
    ESTACION;
    entra(e, "EXI", "", "10");
    MovimientoAlmacen m(s.provider, s.config, s.prompter);
    const auto registra = [&](const char *tipo, const char *cantidad) {
        MovimientoAlmacen::Datos d;
        d.almacen = QStringLiteral("A1");
        d.tipo = QString::fromLatin1(tipo);
        d.articulo = QStringLiteral("EXI");
        d.lote = QStringLiteral("");
        d.cantidad = Decimal(cantidad);
        d.costo = Decimal(2);
        s.prompter.answers << true;
        QVERIFY(m.registra(d));
    };
    registra("MERMA", "1");
    registra("REGALO", "2");
    registra("MERMA", "3");
    const int anio = m.anio();
    s.prompter.clear();

    frmMovAlmCon w(services, s.permisos);
    QVERIFY(w.width() <= 1000 && w.height() <= 600);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    MovimientosModel *modelo = w.modelo();
    QAbstractItemModelTester probador(modelo, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const auto columna = [modelo](int col) {
        QStringList out;
        for (int r = 0; r < modelo->rowCount(); ++r)
            out << modelo->index(r, col).data().toString();
        return out;
    };
    const QString y = QString::number(anio);
    QCOMPARE(columna(MovimientosModel::Folio), (QStringList{y + "-3", y + "-2", y + "-1"}));
    QCOMPARE(columna(MovimientosModel::Total), (QStringList{"6.00", "4.00", "2.00"}));
    QCOMPARE(columna(MovimientosModel::Nombre).first(), QStringLiteral("Articulo EXI"));
    QCOMPARE(modelo->headerData(MovimientosModel::Folio, Qt::Horizontal).toString(),
             QStringLiteral("Movimiento"));
    // Filters.
    elige(w, "cmbTipo", QStringLiteral("REGALO"));
    QCOMPARE(columna(MovimientosModel::Folio), QStringList{y + "-2"});
    elige(w, "cmbTipo", QString());
    elige(w, "cmbAlmacen", QStringLiteral("A2"));
    QCOMPARE(modelo->rowCount(), 0);
    elige(w, "cmbAlmacen", QStringLiteral("A1"));
    QCOMPARE(modelo->rowCount(), 3);

    // Nuevo: registered through the window and shown first.
    QTimer::singleShot(0, this, [&s] {
        auto *d = qobject_cast<frmMovAlmDet *>(QApplication::activeModalWidget());
        if (!d)
            return;
        captura(*d, QStringLiteral("REGALO|LIB||4"));
        s.prompter.answers << true;
        d->findChild<QPushButton *>(QStringLiteral("cmdAceptar"))->click();
    });
    campo<QPushButton>(w, "cmdNuevo")->click();
    QCOMPARE(s.prompter.last(), QStringLiteral("El registro fue dado de alta con exito"));
    QCOMPARE(columna(MovimientosModel::Folio).first(), y + "-4");
    QCOMPARE(columna(MovimientosModel::Articulo).first(), QStringLiteral("LIB"));

    // Cancelling the selected one: asked, then shown cancelled, its stock back.
    w.grid()->setCurrentIndex(modelo->index(1, 0)); // the MERMA of 3
    s.prompter.clear();
    s.prompter.answers << true;
    campo<QPushButton>(w, "cmdCancelar")->click();
    QCOMPARE(s.prompter.texts(),
             (QStringList{QStringLiteral("Esta seguro que desea cancelar el movimiento ") + y + "-3 ?",
                          QStringLiteral("El registro ha sido cancelado con exito")}));
    QCOMPARE(columna(MovimientosModel::Estado),
             (QStringList{"REGISTRADO", "CANCELADO", "REGISTRADO", "REGISTRADO"}));
    QCOMPARE(filasExistencia(c), (QStringList{"A1|EXI|=11", "A1|LIB|=4"}));
    elige(w, "cmbEstado", QStringLiteral("CANCELADO"));
    QCOMPARE(columna(MovimientosModel::Folio), QStringList{y + "-3"});
    MDR_VERIFICA_INVARIANTES(c);
}

void tst_MovimientoVentana::consultaYCancelacion()
{
    ESTACION;
    entra(e, "LOT", "L1", "5");
    MovimientoAlmacen m(s.provider, s.config, s.prompter);
    MovimientoAlmacen::Datos d;
    d.almacen = QStringLiteral("A1");
    d.tipo = QStringLiteral("TRASPASO");
    d.articulo = QStringLiteral("LOT");
    d.lote = QStringLiteral("L1");
    d.cantidad = Decimal(2);
    d.costo = Decimal(7);
    d.destino = QStringLiteral("A2");
    d.descripcion = QStringLiteral("Para la bodega");
    s.prompter.answers << true;
    QVERIFY(m.registra(d));
    s.prompter.clear();

    frmMovAlmDet w(services, s.permisos, u'Q', QStringLiteral("A1"), m.anio(), m.numero());
    QVERIFY(w.valido());
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(campo<QLineEdit>(w, "txtFolio")->text(), QString::number(m.anio()) + QStringLiteral("-1"));
    QCOMPARE(campo<QLineEdit>(w, "txtEstado")->text(), QStringLiteral("REGISTRADO"));
    QCOMPARE(campo<QLineEdit>(w, "txtArticulo")->text(), QStringLiteral("LOT"));
    QCOMPARE(campo<QLabel>(w, "lblNombre")->text(), QStringLiteral("Articulo LOT"));
    QCOMPARE(campo<QLineEdit>(w, "txtLote")->text(), QStringLiteral("L1"));
    QCOMPARE(campo<QLineEdit>(w, "txtCosto")->text(), QStringLiteral("7.00"));
    QCOMPARE(campo<QComboBox>(w, "cmbDestino")->currentData().toString(), QStringLiteral("A2"));
    QVERIFY(campo<QWidget>(w, "cmbDestino")->isVisible());
    QVERIFY(campo<QLineEdit>(w, "txtCantidad")->isReadOnly());
    QVERIFY(!campo<QComboBox>(w, "cmbTipo")->isEnabled());
    QVERIFY(campo<QPushButton>(w, "cmdAceptar")->isHidden());
    auto *cancelar = campo<QPushButton>(w, "cmdCancelarMovimiento");
    QVERIFY(cancelar->isVisible());
    // Answering No changes nothing.
    s.prompter.answers << false;
    cancelar->click();
    QCOMPARE(filasExistencia(c), (QStringList{"A1|LOT|L1=3", "A2|LOT|L1=2"}));
    s.prompter.clear();
    s.prompter.answers << true;
    cancelar->click();
    QCOMPARE(s.prompter.last(), QStringLiteral("El registro ha sido cancelado con exito"));
    QVERIFY(w.cambiado());
    QCOMPARE(campo<QLineEdit>(w, "txtEstado")->text(), QStringLiteral("CANCELADO"));
    QVERIFY(cancelar->isHidden());
    QCOMPARE(filasExistencia(c), (QStringList{"A1|LOT|L1=5", "A2|LOT|L1=0"}));
    MDR_VERIFICA_INVARIANTES(c);

    // A movement that is not there.
    s.prompter.clear();
    frmMovAlmDet nada(services, s.permisos, u'Q', QStringLiteral("A1"), m.anio(), 99);
    QVERIFY(!nada.valido());
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("No se encontro informacion del movimiento")});
}

void tst_MovimientoVentana::derechos()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaDatos(c);
    // The upgrade adds both commands under the menu entry.
    QCOMPARE(
        filas(c, QStringLiteral("select mod_Clave, mod_ClaveSup, tmod_Clave, mod_Arbol from tModulo where "
                                "mod_Clave like 'frmMovAlmCon%' order by mod_Clave")),
        (QStringList{"frmMovAlmCon_cmdAlta|mnuAlmacen_MovAlm|COMANDO|ZEV.mnuAlmacen.mnuAlmacen_MovAlm."
                     "frmMovAlmCon_cmdAlta",
                     "frmMovAlmCon_cmdBaja|mnuAlmacen_MovAlm|COMANDO|ZEV.mnuAlmacen.mnuAlmacen_MovAlm."
                     "frmMovAlmCon_cmdBaja"}));
    EstacionPrueba::grant(c, {QStringLiteral("mnuAlmacen_MovAlm")});
    EstacionPrueba s(&c, settingsFile());
    s.config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("A1"));
    const LookupServices services{s.provider, s.config, s.prompter};
    frmMovAlmCon w(services, s.permisos);
    QVERIFY(!campo<QPushButton>(w, "cmdNuevo")->isEnabled());
    QVERIFY(!campo<QPushButton>(w, "cmdCancelar")->isEnabled());
    QVERIFY(campo<QPushButton>(w, "cmdConsultar")->isEnabled());
    // Called anyway (a shortcut, a script): refused by the rule, not only by the button.
    w.cmdNuevo_Click();
    w.cmdCancelar_Click();
    QCOMPARE(s.prompter.texts(), QStringList(2, MovimientosAlmacenLista::kSinAcceso));
    c.execute(QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) values ('PRUEBA', "
                             "'frmMovAlmCon_cmdAlta'), ('PRUEBA', 'frmMovAlmCon_cmdBaja')"));
    frmMovAlmCon w2(services, s.permisos);
    QVERIFY(campo<QPushButton>(w2, "cmdNuevo")->isEnabled());
    QVERIFY(campo<QPushButton>(w2, "cmdCancelar")->isEnabled());
}

QTEST_MAIN(tst_MovimientoVentana)
#include "tst_movimiento_ventana.moc"
