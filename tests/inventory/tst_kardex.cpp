// An article's history and stock as the editor shows them: the kardex newest first with its
// kinds and stock after each movement, its warehouse, date and row-limit filters; the stock by
// warehouse and lot with its totals; and the editor's two tabs, read when shown and exported.
#include "ArticuloEditor.h"
#include "ArticulosExistencia.h"
#include "ExistenciaArticulo.h"
#include "GridExport.h"
#include "GridView.h"
#include "Existencias.h"
#include "KardexArticulo.h"
#include "Log.h"
#include "PuestoArticulos.h"
#include "TestDatabase.h"
#include "frmArticulo.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The movements of the tests, oldest first: warehouse, article, lot, quantity, E/S, origin.
struct Mov {
    const char *almacen, *articulo, *lote, *cantidad, *tipo, *origen;
};
const Mov kMovs[] = {
    {"A1", "LOT", "L1", "10", "E", "REC-1"},  {"A1", "LOT", "L2", "5", "E", "REC-2"},
    {"A2", "LOT", "L1", "4", "E", "REC-3"},   {"A1", "LOT", "L1", "3", "S", "VENTA-1"},
    {"A2", "LOT", "L1", "4", "S", "VENTA-2"}, {"A1", "LOT", "L2", "1", "S", "VENTA-3"},
    {"A1", "LIB", "", "2.5", "E", "REC-4"},   {"A2", "LIB", "", "1.25", "S", "VENTA-4"},
    {"A9", "LIB", "", "3", "E", "REC-5"},
};

// When each movement happened (the routine stamps "now"; the tests spread them over days).
// VENTA-2 and VENTA-3 share the second: the later key comes first.
QDateTime fechaDe(const QString &origen)
{
    static const QHash<QString, QDateTime> fechas = {
        {QStringLiteral("REC-1"), QDateTime(QDate(2026, 1, 1), QTime(9, 0))},
        {QStringLiteral("REC-2"), QDateTime(QDate(2026, 1, 2), QTime(23, 59, 59))},
        {QStringLiteral("REC-3"), QDateTime(QDate(2026, 1, 3), QTime(0, 0))},
        {QStringLiteral("VENTA-1"), QDateTime(QDate(2026, 1, 4), QTime(12, 30))},
        {QStringLiteral("VENTA-2"), QDateTime(QDate(2026, 1, 5), QTime(18, 0))},
        {QStringLiteral("VENTA-3"), QDateTime(QDate(2026, 1, 5), QTime(18, 0))},
        {QStringLiteral("REC-4"), QDateTime(QDate(2026, 1, 1), QTime(8, 0))},
        {QStringLiteral("VENTA-4"), QDateTime(QDate(2026, 1, 2), QTime(8, 0))},
        {QStringLiteral("REC-5"), QDateTime(QDate(2026, 1, 3), QTime(8, 0))},
    };
    return fechas.value(origen);
}

void creaAlmacenes(db::Connection &c)
{
    for (const auto &[clave, nombre] : {std::pair{"A1", "Almacen uno"}, std::pair{"A2", "Almacen dos"}})
        c.execute(QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values (?, ?)"),
                  {QString::fromLatin1(clave), QString::fromLatin1(nombre)});
}

// Articles, warehouses (A9 has no row in tAlmacen) and every movement through the stock call.
bool mueve(db::Connection &c, PuestoArticulos &p, const Mov &m)
{
    Existencias e(p.provider, p.config, p.prompter);
    const bool ok = e.actualizaArticuloAlmacen(
        QString::fromLatin1(m.almacen), QString::fromLatin1(m.articulo), QString::fromLatin1(m.lote),
        Decimal(QString::fromLatin1(m.cantidad)), QString::fromLatin1(m.tipo), QString::fromLatin1(m.origen),
        QStringLiteral("PROV1"), QStringLiteral("F-") + QString::fromLatin1(m.origen), Decimal(7), false, false,
        false, &c);
    if (!ok)
        qWarning("%s", qPrintable(e.ultimoError()));
    return ok;
}

bool prepara(db::Connection &c, PuestoArticulos &p)
{
    creaArticulosExistencia(c);
    creaAlmacenes(c);
    for (const Mov &m : kMovs) {
        if (!mueve(c, p, m))
            return false;
        c.execute(QStringLiteral("update tArticuloKardex set kar_Fecha = ? where KAR_ORIGEN = ?"),
                  {fechaDe(QString::fromLatin1(m.origen)), QString::fromLatin1(m.origen)});
    }
    return true;
}

QStringList columna(const QAbstractItemModel &m, int col)
{
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r)
        out << m.index(r, col).data().toString();
    return out;
}

QStringList filasDe(const QAbstractItemModel &m)
{
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r) {
        QStringList campos;
        for (int col = 0; col < m.columnCount(); ++col)
            campos << m.index(r, col).data().toString();
        out << campos.join(u'|');
    }
    return out;
}

} // namespace

class tst_Kardex : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void kardexMasRecientePrimero_data() { TestDatabase::addEngineRows(); }
    void kardexMasRecientePrimero();
    void filtros_data();
    void filtros();
    void existencias_data();
    void existencias();
    void ventanaPestanasYExportar_data() { TestDatabase::addEngineRows(); }
    void ventanaPestanasYExportar();
    void ventanaEnAltaVacia();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_Kardex::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_Kardex::cleanup()
{
    Log::setDirectoryProvider({});
    m_dir.reset();
}

void tst_Kardex::kardexMasRecientePrimero()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoArticulos p(&c, settingsFile());
    QVERIFY(prepara(c, p));

    KardexArticulo k(p.provider, p.prompter);
    QAbstractItemModelTester tester(&k, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(k.carga(QStringLiteral("LOT")));
    QCOMPARE(columna(k, KardexArticulo::Origen),
             (QStringList{"VENTA-3", "VENTA-2", "VENTA-1", "REC-3", "REC-2", "REC-1"}));
    QCOMPARE(columna(k, KardexArticulo::Tipo),
             (QStringList{"SALIDA", "SALIDA", "SALIDA", "ENTRADA", "ENTRADA", "ENTRADA"}));
    // The stock after each movement is that of its own warehouse and lot.
    QCOMPARE(columna(k, KardexArticulo::Existencia),
             (QStringList{"4.00", "0.00", "7.00", "4.00", "5.00", "10.00"}));
    QCOMPARE(filasDe(k).first(),
             QStringLiteral("05/01/2026 18:00:00|A1|SALIDA|L2|-1.00|4.00|7.00|VENTA-3|PROV1|F-VENTA-3|ADMIN"));
    QCOMPARE(k.headerData(KardexArticulo::LoteSerie, Qt::Horizontal).toString(), QStringLiteral("Lote/Serie"));
    QCOMPARE(k.resumen(), QStringLiteral("6 movimientos"));
    QVERIFY(!k.recortado());

    // Decimal quantities as the editor shows them; an article with no history is empty.
    QVERIFY(k.carga(QStringLiteral("LIB")));
    QCOMPARE(columna(k, KardexArticulo::Cantidad), (QStringList{"3.00", "-1.25", "2.50"}));
    QCOMPARE(columna(k, KardexArticulo::Almacen), (QStringList{"A9", "A2", "A1"}));
    QVERIFY(k.carga(QStringLiteral("EXI")));
    QCOMPARE(k.rowCount(), 0);
    QCOMPARE(k.resumen(), QStringLiteral("0 movimientos"));
    QVERIFY(p.prompter.shown.isEmpty());
}

void tst_Kardex::filtros_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("almacen");
    QTest::addColumn<QDate>("desde");
    QTest::addColumn<QDate>("hasta");
    QTest::addColumn<int>("limite");
    QTest::addColumn<QStringList>("origenes");
    QTest::addColumn<QString>("resumen");
    const QDate d2(2026, 1, 2), d3(2026, 1, 3), d5(2026, 1, 5);
    const QString seis = QStringLiteral("6 movimientos");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "un almacen") << "A2" << QDate() << QDate() << 1000
                                              << QStringList{"VENTA-2", "REC-3"} << "2 movimientos";
        TestDatabase::newRow(e, "almacen sin movimientos") << "A9" << QDate() << QDate() << 1000
                                                           << QStringList() << "0 movimientos";
        TestDatabase::newRow(e, "desde un dia, desde su primer segundo")
            << "" << d3 << QDate() << 1000 << QStringList{"VENTA-3", "VENTA-2", "VENTA-1", "REC-3"}
            << "4 movimientos";
        TestDatabase::newRow(e, "hasta un dia, hasta su ultimo segundo")
            << "" << QDate() << d2 << 1000 << QStringList{"REC-2", "REC-1"} << "2 movimientos";
        TestDatabase::newRow(e, "entre dos dias") << "" << d2 << d3 << 1000 << QStringList{"REC-3", "REC-2"}
                                                  << "2 movimientos";
        TestDatabase::newRow(e, "un solo dia") << "" << d5 << d5 << 1000 << QStringList{"VENTA-3", "VENTA-2"}
                                               << "2 movimientos";
        TestDatabase::newRow(e, "almacen y fechas") << "A1" << d3 << QDate() << 1000
                                                    << QStringList{"VENTA-3", "VENTA-1"} << "2 movimientos";
        TestDatabase::newRow(e, "rango sin movimientos")
            << "" << QDate(2026, 2, 1) << QDate(2026, 2, 28) << 1000 << QStringList() << "0 movimientos";
        TestDatabase::newRow(e, "limite corta a los mas recientes")
            << "" << QDate() << QDate() << 2 << QStringList{"VENTA-3", "VENTA-2"}
            << "Mostrando los ultimos 2 movimientos";
        TestDatabase::newRow(e, "limite uno menos que todos")
            << "" << QDate() << QDate() << 5 << QStringList{"VENTA-3", "VENTA-2", "VENTA-1", "REC-3", "REC-2"}
            << "Mostrando los ultimos 5 movimientos";
        TestDatabase::newRow(e, "limite justo no corta")
            << "" << QDate() << QDate() << 6
            << QStringList{"VENTA-3", "VENTA-2", "VENTA-1", "REC-3", "REC-2", "REC-1"} << seis;
        TestDatabase::newRow(e, "limite con filtro de almacen")
            << "A1" << QDate() << QDate() << 1 << QStringList{"VENTA-3"} << "Mostrando los ultimos 1 movimientos";
    }
}

void tst_Kardex::filtros()
{
    QFETCH(QString, engine);
    QFETCH(QString, almacen);
    QFETCH(QDate, desde);
    QFETCH(QDate, hasta);
    QFETCH(int, limite);
    QFETCH(QStringList, origenes);
    QFETCH(QString, resumen);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoArticulos p(&c, settingsFile());
    QVERIFY(prepara(c, p));

    KardexArticulo k(p.provider, p.prompter);
    KardexArticulo::Filtro f;
    f.almacen = almacen;
    f.desde = desde;
    f.hasta = hasta;
    f.limite = limite;
    QVERIFY(k.carga(QStringLiteral("LOT"), f));
    QCOMPARE(columna(k, KardexArticulo::Origen), origenes);
    QCOMPARE(k.resumen(), resumen);
    QCOMPARE(k.recortado(), resumen.startsWith(QStringLiteral("Mostrando")));
}

void tst_Kardex::existencias_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("articulo");
    QTest::addColumn<bool>("conCeros");
    QTest::addColumn<QStringList>("filas");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "lotes sin ceros")
            << "LOT" << false
            << QStringList{"A1|Almacen uno|L1|7.00", "A1|Almacen uno|L2|4.00", "A1|Almacen uno|Total del almacen|11.00"};
        TestDatabase::newRow(e, "lotes con ceros")
            << "LOT" << true
            << QStringList{"A1|Almacen uno|L1|7.00", "A1|Almacen uno|L2|4.00",
                           "A1|Almacen uno|Total del almacen|11.00", "A2|Almacen dos|L1|0.00"};
        // One row per warehouse needs no total row; a negative stock is shown; a warehouse
        // missing from the catalogue keeps its key.
        TestDatabase::newRow(e, "sin lotes en tres almacenes")
            << "LIB" << false << QStringList{"A1|Almacen uno||2.50", "A2|Almacen dos||-1.25", "A9|||3.00"};
        TestDatabase::newRow(e, "sin existencia") << "EXI" << true << QStringList();
    }
}

void tst_Kardex::existencias()
{
    QFETCH(QString, engine);
    QFETCH(QString, articulo);
    QFETCH(bool, conCeros);
    QFETCH(QStringList, filas);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoArticulos p(&c, settingsFile());
    QVERIFY(prepara(c, p));

    ExistenciaArticulo m(p.provider, p.prompter);
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(m.carga(articulo, conCeros));
    QCOMPARE(filasDe(m), filas);
    // The totals agree with the article's own and with each warehouse's stock rows.
    QCOMPARE(m.total(), Decimal::fromVariant(c.scalar(
                            QStringLiteral("select art_Existencia from tArticulo where art_Clave = ?"), {articulo})));
    for (const char *alm : {"A1", "A2", "A9"})
        QCOMPARE(m.totalAlmacen(QString::fromLatin1(alm)),
                 Decimal::fromVariant(c.scalar(QStringLiteral("select coalesce(sum(alma_Existencia), 0) from "
                                                              "tArticuloAlmacen where alm_Clave = ? and art_Clave = ?"),
                                               {QString::fromLatin1(alm), articulo})));
    QVERIFY(p.prompter.shown.isEmpty());
}

void tst_Kardex::ventanaPestanasYExportar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoArticulos p(&c, settingsFile());
    QVERIFY(prepara(c, p));

    ArticuloEditor editor(p.provider, p.config, p.prompter, p.calculo);
    frmArticulo w(editor, p.servicios(), u'C', QStringLiteral("LOT"));
    QVERIFY(w.valido());
    QTabWidget *tabs = w.pestanas();
    QCOMPARE(tabs->tabText(frmArticulo::kPestanaExistencias), QStringLiteral("Existencias"));
    QCOMPARE(tabs->tabText(frmArticulo::kPestanaKardex), QStringLiteral("Kardex"));
    // Nothing read until shown.
    QCOMPARE(w.kardex()->rowCount(), 0);
    QCOMPARE(w.existencias()->rowCount(), 0);

    tabs->setCurrentIndex(frmArticulo::kPestanaExistencias);
    QCOMPARE(w.existencias()->rowCount(), 3);
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("existenciaTotal"))->text(),
             QStringLiteral("Existencia total: 11.00"));
    w.findChild<QCheckBox *>(QStringLiteral("existenciasConCeros"))->setChecked(true);
    QCOMPARE(w.existencias()->rowCount(), 4);

    tabs->setCurrentIndex(frmArticulo::kPestanaKardex);
    QCOMPARE(w.kardex()->rowCount(), 6);
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("kardexResumen"))->text(), QStringLiteral("6 movimientos"));

    // Shown again, both are read again.
    QVERIFY(mueve(c, p, Mov{"A2", "LOT", "L7", "2", "E", "REC-9"}));
    tabs->setCurrentIndex(frmArticulo::kPestanaExistencias);
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("existenciaTotal"))->text(),
             QStringLiteral("Existencia total: 13.00"));
    tabs->setCurrentIndex(0);
    tabs->setCurrentIndex(frmArticulo::kPestanaKardex);
    QCOMPARE(w.kardex()->rowCount(), 7);

    auto *almacen = w.findChild<QComboBox *>(QStringLiteral("kardexAlmacen"));
    QVERIFY(almacen);
    almacen->setCurrentIndex(almacen->findData(QStringLiteral("A2")));
    QCOMPARE(columna(*w.kardex(), KardexArticulo::Origen), (QStringList{"REC-9", "VENTA-2", "REC-3"}));
    // A date range: REC-9 was stamped now, the others in January 2026.
    w.findChild<QDateEdit *>(QStringLiteral("kardexHasta"))->setDate(QDate(2026, 1, 31));
    w.findChild<QCheckBox *>(QStringLiteral("kardexHasta_usa"))->setChecked(true);
    QCOMPARE(columna(*w.kardex(), KardexArticulo::Origen), (QStringList{"VENTA-2", "REC-3"}));

    // The grid as shown goes to the file the user names.
    const QString archivo = m_dir->filePath(QStringLiteral("kardex.csv"));
    // (The button asks for the name in a file dialog, which an offscreen run cannot drive
    // reliably; the export below is what it does once it has the name.)
    QVERIFY(w.findChild<QPushButton *>(QStringLiteral("kardex_exportar"))->isEnabled());
    QTableView *vista = nullptr;
    for (QTableView *v : w.findChildren<QTableView *>())
        if (v->model() == w.kardex())
            vista = v;
    QVERIFY(vista);
    QVERIFY(GridExport::exportToFile(*vista->model(), archivo, p.prompter, GridView::visibleColumns(*vista)));
    QFile f(archivo);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lineas = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lineas, (QStringList{
                         "Fecha,Almacen,Tipo,Lote/Serie,Cantidad,Existencia,Costo,Origen,Proveedor,Factura,Usuario",
                         "05/01/2026 18:00:00,A2,SALIDA,L1,-4.00,0.00,7.00,VENTA-2,PROV1,F-VENTA-2,ADMIN",
                         "03/01/2026 00:00:00,A2,ENTRADA,L1,4.00,4.00,7.00,REC-3,PROV1,F-REC-3,ADMIN",
                     }));
    QVERIFY(p.prompter.shown.isEmpty());
}

// A new article has no history: both tabs show empty.
void tst_Kardex::ventanaEnAltaVacia()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoArticulos p(&c, settingsFile());
    QVERIFY(prepara(c, p));
    ArticuloEditor editor(p.provider, p.config, p.prompter, p.calculo);
    frmArticulo w(editor, p.servicios(), u'A');
    // The key of an article with history typed into a new one still shows nothing.
    editor.setTexto(QStringLiteral("art_Clave"), QStringLiteral("LOT"));
    w.pestanas()->setCurrentIndex(frmArticulo::kPestanaExistencias);
    QCOMPARE(w.existencias()->rowCount(), 0);
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("existenciaTotal"))->text(),
             QStringLiteral("Existencia total: 0.00"));
    w.pestanas()->setCurrentIndex(frmArticulo::kPestanaKardex);
    QCOMPARE(w.kardex()->rowCount(), 0);
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("kardexResumen"))->text(), QStringLiteral("0 movimientos"));
}

int main(int argc, char **argv)
{
    // The Exportar test answers Qt's own save dialog.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    tst_Kardex t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "tst_kardex.moc"
