// The run window by keyboard: choose a report, give a one-day range, Enter hands the program and
// the values to the runner and closes; a refused input keeps the window open and takes the
// focus; a report that cannot be loaded leaves none chosen; a request with its report and values
// runs at once when automatic.
#include "ReportePrueba.h"

#include "EstacionPrueba.h"
#include "TestDatabase.h"
#include "frmReporte.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace reportes;

namespace {

const QString kPrograma = QStringLiteral("xRpt.SQL = \"select 1\"\n");

// Two runnable reports (one with a range, a list and a number), one switched off, one not allowed.
void reportesDeVentana(db::Connection &c)
{
    EstacionPrueba::grant(c, {QStringLiteral("mnuReporte")});
    c.execute(
        QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre, alm_Activo) values ('MATRIZ', 'Matriz "
                       "Guadalajara', 'S'), ('SUC2', 'Sucursal Zapopan', 'S')"));
    consulta(c, 7, QStringLiteral("select alm_Clave, alm_Nombre from tAlmacen order by alm_Nombre"),
             QStringLiteral("alm_Clave"), QStringLiteral("alm_Nombre"));
    reporte(c, QStringLiteral("VENTAS"), QStringLiteral("Ventas por día"), QStringLiteral("select 1"),
            QStringLiteral("PRG_VENTAS"), 1);
    programa(c, QStringLiteral("PRG_VENTAS"), kPrograma);
    parametro(c, QStringLiteral("VENTAS"), 1, QStringLiteral("FECHA"), QStringLiteral("Periodo"),
              QStringLiteral("RANGOFECHA"), QStringLiteral("F"), 0, true, QStringLiteral("HOY"));
    parametro(c, QStringLiteral("VENTAS"), 2, QStringLiteral("ALMACEN"), QStringLiteral("Almacén"),
              QStringLiteral("LISTA"), QStringLiteral("T"), 7, true, QStringLiteral("MATRIZ"));
    parametro(c, QStringLiteral("VENTAS"), 3, QStringLiteral("MINIMO"), QStringLiteral("Importe mínimo"),
              QStringLiteral("TEXTO"), QStringLiteral("N"));
    reporte(c, QStringLiteral("APAGADO"), QStringLiteral("Apagado"), QStringLiteral("select 1"),
            QStringLiteral("PRG_APAGADO"), 2);
    programa(c, QStringLiteral("PRG_APAGADO"), kPrograma, QStringLiteral("N"));
    reporte(c, QStringLiteral("FACTURA"), QStringLiteral("Factura"), QStringLiteral("select 1"),
            QStringLiteral("PRG_FACTURA"), 3, QString(), QStringLiteral("FACTURA"));
    programa(c, QStringLiteral("PRG_FACTURA"), kPrograma);
    parametro(c, QStringLiteral("FACTURA"), 1, QStringLiteral("Factura"), QStringLiteral("Folio"),
              QStringLiteral("TEXTO"), QStringLiteral("N"), 0, true);
    reporte(c, QStringLiteral("AJENO"), QStringLiteral("Ajeno"), QStringLiteral("select 1"),
            QStringLiteral("PRG"));
    for (const char *k : {"VENTAS", "APAGADO", "FACTURA"})
        derecho(c, QStringLiteral("PRUEBA"), QLatin1String(k));
}

struct Corrida {
    int veces = 0;
    QString clave, programa;
    QList<ValorParametro> valores;

    QString valor(const QString &nombre) const
    {
        for (const ValorParametro &v : valores)
            if (v.clave == nombre)
                return v.valor.isNull() ? QStringLiteral("<null>") : v.valor.toString();
        return QStringLiteral("<falta>");
    }
    QString extra(const QString &nombre) const
    {
        for (const ValorParametro &v : valores)
            if (v.clave == nombre)
                return v.valorExtra.toString();
        return QStringLiteral("<falta>");
    }
};

// With MDR_CAPTURAS set, the window as drawn goes to a PNG there (to look at it).
void captura(QWidget *w, const char *nombre)
{
    const QString dir = qEnvironmentVariable("MDR_CAPTURAS");
    if (dir.isEmpty())
        return;
    QTest::qWait(50); // inputs made while the window shows appear on the next turn of the loop
    w->grab().save(dir + u'/' + QString::fromLatin1(nombre) + QStringLiteral(".png"));
}

QStringList nombres(QListWidget *l)
{
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

} // namespace

class tst_ReporteVentana : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void unDiaConEnter_data() { TestDatabase::addEngineRows(); }
    void unDiaConEnter();
    void rechazoEnfocaCampo_data() { TestDatabase::addEngineRows(); }
    void rechazoEnfocaCampo();
    void reporteQueNoCarga_data() { TestDatabase::addEngineRows(); }
    void reporteQueNoCarga();
    void automatico_data() { TestDatabase::addEngineRows(); }
    void automatico();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString ini() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_ReporteVentana::unDiaConEnter()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    reportesDeVentana(db.connection());
    EstacionPrueba estacion(&db.connection(), ini());
    CatalogoReportes catalogo(estacion.provider, estacion.config, estacion.prompter);
    Corrida corrida;
    frmReporte w(catalogo,
                 [&](const QString &clave, const QString &programa, const QList<ValorParametro> &valores) {
                     ++corrida.veces;
                     corrida.clave = clave;
                     corrida.programa = programa;
                     corrida.valores = valores;
                 });
    QVERIFY(!w.init(QString(), {}, false, QString()));
    auto *lista = w.findChild<QListWidget *>(QStringLiteral("lstReportes"));
    QCOMPARE(nombres(lista), (QStringList{"Ventas por día", "Apagado", "Factura"}));
    QVERIFY(!w.entrada(QStringLiteral("FECHA"))); // nothing chosen yet
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    lista->setFocus();
    QTest::keyClick(lista, Qt::Key_Home);
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("lblNombre"))->text(), QStringLiteral("Ventas por día"));
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("lblDescripcion"))->text(),
             QStringLiteral("Descripcion de Ventas por día"));
    auto *desde = qobject_cast<QDateEdit *>(w.entrada(QStringLiteral("FECHA")));
    QDateEdit *hasta = w.fechaFin(QStringLiteral("FECHA"));
    QVERIFY(desde && hasta);
    QCOMPARE(desde->date(), QDate::currentDate()); // the stored default HOY
    auto *almacen = qobject_cast<QComboBox *>(w.entrada(QStringLiteral("ALMACEN")));
    QVERIFY(almacen);
    QCOMPARE(almacen->count(), 2); // required: no empty entry
    QCOMPARE(almacen->currentText(), QStringLiteral("Matriz Guadalajara"));
    auto *minimo = qobject_cast<QLineEdit *>(w.entrada(QStringLiteral("MINIMO")));
    QVERIFY(minimo);
    QVERIFY(minimo->alignment() & Qt::AlignRight);

    desde->setDate(QDate(2026, 3, 5));
    hasta->setDate(QDate(2026, 3, 5));
    almacen->setCurrentIndex(almacen->findData(QStringLiteral("SUC2")));
    captura(&w, "frmReporte");
    hasta->setFocus();
    QTest::keyClick(hasta, Qt::Key_Return);

    QCOMPARE(corrida.veces, 1);
    QCOMPARE(corrida.clave, QStringLiteral("VENTAS"));
    QCOMPARE(corrida.programa, kPrograma);
    QCOMPARE(corrida.valor(QStringLiteral("FECHA")), QStringLiteral("05/03/2026 00:00:00"));
    QCOMPARE(corrida.extra(QStringLiteral("FECHA")), QStringLiteral("05/03/2026 23:59:59"));
    QCOMPARE(corrida.valor(QStringLiteral("FECHA_INI")), QStringLiteral("05/03/2026 00:00:00"));
    QCOMPARE(corrida.valor(QStringLiteral("FECHA_FIN")), QStringLiteral("05/03/2026 23:59:59"));
    QCOMPARE(corrida.valor(QStringLiteral("ALMACEN")), QStringLiteral("SUC2"));
    QCOMPARE(corrida.extra(QStringLiteral("ALMACEN")), QStringLiteral("Sucursal Zapopan"));
    QCOMPARE(corrida.valor(QStringLiteral("MINIMO")), QStringLiteral("<null>"));
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QVERIFY(!w.isVisible());
    QVERIFY(estacion.prompter.texts().isEmpty());
}

void tst_ReporteVentana::rechazoEnfocaCampo()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    reportesDeVentana(db.connection());
    EstacionPrueba estacion(&db.connection(), ini());
    CatalogoReportes catalogo(estacion.provider, estacion.config, estacion.prompter);
    int veces = 0;
    frmReporte w(catalogo, [&](const QString &, const QString &, const QList<ValorParametro> &) { ++veces; });
    w.init(QString(), {}, false, QStringLiteral("VENTAS"));
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    auto *minimo = qobject_cast<QLineEdit *>(w.entrada(QStringLiteral("MINIMO")));
    QVERIFY(minimo);
    minimo->setFocus();
    QTest::keyClicks(minimo, QStringLiteral("doce"));
    QTest::keyClick(minimo, Qt::Key_Enter);
    QCOMPARE(estacion.prompter.texts(), QStringList{QStringLiteral("Importe mínimo debe ser un numero")});
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(minimo));
    QCOMPARE(minimo->selectedText(), QStringLiteral("doce"));

    minimo->setText(QStringLiteral("12.5"));
    auto *desde = qobject_cast<QDateEdit *>(w.entrada(QStringLiteral("FECHA")));
    desde->setDate(QDate(2026, 3, 6));
    w.fechaFin(QStringLiteral("FECHA"))->setDate(QDate(2026, 3, 5));
    estacion.prompter.clear();
    QTest::keyClick(minimo, Qt::Key_Return);
    QCOMPARE(estacion.prompter.texts(),
             QStringList{QStringLiteral("La fecha de inicio debe ser menor a la de fin")});
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(desde));
    QCOMPARE(veces, 0);
    QVERIFY(w.isVisible());

    // Escape closes without running.
    QTest::keyClick(desde, Qt::Key_Escape);
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QVERIFY(!w.isVisible());
    QCOMPARE(veces, 0);
}

void tst_ReporteVentana::reporteQueNoCarga()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    reportesDeVentana(db.connection());
    EstacionPrueba estacion(&db.connection(), ini());
    CatalogoReportes catalogo(estacion.provider, estacion.config, estacion.prompter);
    int veces = 0;
    frmReporte w(catalogo, [&](const QString &, const QString &, const QList<ValorParametro> &) { ++veces; });
    w.init(QString(), {}, false, QStringLiteral("VENTAS"));
    auto *lista = w.findChild<QListWidget *>(QStringLiteral("lstReportes"));
    QCOMPARE(lista->currentRow(), 0);

    // The switched-off report is refused and nothing stays chosen, not even the report before.
    lista->setCurrentRow(1);
    QCOMPARE(estacion.prompter.texts(), QStringList{QStringLiteral("El reporte no esta activo")});
    QCOMPARE(lista->currentRow(), -1);
    QVERIFY(!w.entrada(QStringLiteral("FECHA")));
    QVERIFY(w.findChild<QLabel *>(QStringLiteral("lblNombre"))->text().isEmpty());
    estacion.prompter.clear();
    QVERIFY(!w.cmdAceptar());
    QCOMPARE(estacion.prompter.texts(), QStringList{QStringLiteral("No hay reporte cargado")});
    QCOMPARE(veces, 0);

    // A report the profile may not run is not offered.
    estacion.prompter.clear();
    frmReporte otra(catalogo, {});
    QVERIFY(!otra.init(QString(), {}, true, QStringLiteral("AJENO")));
    QCOMPARE(estacion.prompter.texts(), QStringList{QStringLiteral("El reporte no fue encontrado")});
    QCOMPARE(otra.findChild<QListWidget *>(QStringLiteral("lstReportes"))->currentRow(), -1);
}

void tst_ReporteVentana::automatico()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    reportesDeVentana(db.connection());
    EstacionPrueba estacion(&db.connection(), ini());
    CatalogoReportes catalogo(estacion.provider, estacion.config, estacion.prompter);
    Corrida corrida;
    const auto registra = [&](const QString &clave, const QString &, const QList<ValorParametro> &valores) {
        ++corrida.veces;
        corrida.clave = clave;
        corrida.valores = valores;
    };

    // The kind's only report, with its value given and one the report does not ask for.
    frmReporte w(catalogo, registra);
    QVERIFY(w.init(
        QStringLiteral("FACTURA"),
        {{QStringLiteral("factura"), 2026001, {}}, {QStringLiteral("Almacen"), QStringLiteral("MATRIZ"), {}}},
        true, QString()));
    QCOMPARE(corrida.veces, 1);
    QCOMPARE(corrida.clave, QStringLiteral("FACTURA"));
    QCOMPARE(corrida.valor(QStringLiteral("Factura")), QStringLiteral("2026001"));
    QCOMPARE(corrida.valor(QStringLiteral("Almacen")), QStringLiteral("MATRIZ"));

    // Given values fill the inputs; a missing required one keeps the window for the user.
    frmReporte v(catalogo, registra);
    QVERIFY(!v.init(QString(),
                    {{QStringLiteral("FECHA"), QStringLiteral("01/02/2026 00:00:00"),
                      QStringLiteral("03/02/2026 23:59:59")},
                     {QStringLiteral("MINIMO"), QStringLiteral("abc"), {}}},
                    true, QStringLiteral("VENTAS")));
    QCOMPARE(estacion.prompter.texts(), QStringList{QStringLiteral("Importe mínimo debe ser un numero")});
    QCOMPARE(qobject_cast<QDateEdit *>(v.entrada(QStringLiteral("FECHA")))->date(), QDate(2026, 2, 1));
    QCOMPARE(v.fechaFin(QStringLiteral("FECHA"))->date(), QDate(2026, 2, 3));
    qobject_cast<QLineEdit *>(v.entrada(QStringLiteral("MINIMO")))->setText(QStringLiteral("100"));
    QVERIFY(v.cmdAceptar());
    QCOMPARE(corrida.veces, 2);
    QCOMPARE(corrida.valor(QStringLiteral("FECHA_FIN")), QStringLiteral("03/02/2026 23:59:59"));
    QCOMPARE(corrida.valor(QStringLiteral("MINIMO")), QStringLiteral("100"));

    // Several reports of the kind and none named: the user chooses.
    frmReporte u(catalogo, registra);
    QVERIFY(!u.init(QStringLiteral("GENERAL"), {}, true, QString()));
    QCOMPARE(corrida.veces, 2);
}

QTEST_MAIN(tst_ReporteVentana)
#include "tst_reporte_ventana.moc"
