// A client type's price concepts: the rewrite of one type and control kind (other kinds and
// types untouched), every refusal with the line and column it names, rights, the order of the
// control kinds, all-or-nothing writes (a failure at each statement in turn) and the grid's
// model; on both engines.
#include "CatalogoEditor.h"
#include "Catalogos.h"
#include "ConceptosModel.h"
#include "EstacionPrueba.h"
#include "Log.h"
#include "TestDatabase.h"
#include "TipoClienteConceptos.h"

#include "DbError.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QTest>

#include <utility>

using Linea = TipoClienteConceptos::Linea;
using Icon = Prompter::Icon;

Q_DECLARE_METATYPE(QList<TipoClienteConceptos::Linea>)

namespace {

void catalogos(db::Connection &c)
{
    for (const auto &[clave, nombre] : {std::pair{"MED", "Medicamentos"}, std::pair{"PERF", "Perfumeria"}})
        c.execute(QStringLiteral("insert into tTipoArticulo (tart_Clave, tart_Nombre) values (?, ?)"),
                  {QString::fromLatin1(clave), QString::fromLatin1(nombre)});
    for (const auto &[clave, nombre] : {std::pair{"VIT", "Vitaminas"}, std::pair{"ANT", "Antibioticos"}})
        c.execute(QStringLiteral("insert into tFamilia (fam_Clave, fam_Nombre) values (?, ?)"),
                  {QString::fromLatin1(clave), QString::fromLatin1(nombre)});
    c.execute(QStringLiteral("insert into tTipoCliente (tcli_Clave, tcli_Nombre, tcontrol_Clave) "
                             "values ('MAYOREO', 'Mayoreo', 'DEPARTAMENTO')"));
}

QStringList conceptos(db::Connection &c)
{
    return filas(c,
                 QStringLiteral("select tcli_Clave, tcontrol_Clave, tcc_Clave, cambio_Clave, tcc_Valor "
                                "from tTipoClienteConcepto order by tcli_Clave, tcontrol_Clave, tcc_Clave"));
}

Linea l(const char *concepto, const char *metodo, const char *valor)
{
    return {QString::fromUtf8(concepto), QString::fromUtf8(metodo), QString::fromUtf8(valor)};
}

} // namespace

class tst_TipoClienteConceptos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void reescribe_data() { TestDatabase::addEngineRows(); }
    void reescribe();
    void validaDatos_data();
    void validaDatos();
    void tipoInexistente_data() { TestDatabase::addEngineRows(); }
    void tipoInexistente();
    void derechos();
    void ordenDeControles_data() { TestDatabase::addEngineRows(); }
    void ordenDeControles();
    void fallaEnCadaSentencia_data() { TestDatabase::addEngineRows(); }
    void fallaEnCadaSentencia();
    void bajaDelTipo_data() { TestDatabase::addEngineRows(); }
    void bajaDelTipo();
    void modelo();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_TipoClienteConceptos::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_TipoClienteConceptos::reescribe()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    catalogos(c);
    // Rows of another kind and of another type stay as they are.
    c.execute(QStringLiteral(
        "insert into tTipoClienteConcepto (tcontrol_Clave, tcli_Clave, tcc_Clave, cambio_Clave, "
        "tcc_Valor) values ('FAMILIA', 'MAYOREO', 'VIT', 'MARGEN', 3)"));
    c.execute(QStringLiteral(
        "insert into tTipoClienteConcepto (tcontrol_Clave, tcli_Clave, tcc_Clave, cambio_Clave, "
        "tcc_Valor) values ('DEPARTAMENTO', 'SYS', 'MED', 'FIJO', 99.5)"));
    EstacionPrueba s(&c, settingsFile());
    TipoClienteConceptos reglas(s.provider, s.permisos, s.prompter);
    const QString depto = TipoClienteConceptos::kDepartamento;

    QVERIFY(reglas.guardar(QStringLiteral("MAYOREO"), depto,
                           {l("MED", "PUBLICO", "10"), l("", "", " "), l(" PERF ", "MARGEN", "5.25")}));
    QCOMPARE(s.prompter.texts(),
             QStringList{QStringLiteral("Los conceptos de precio fueron guardados con exito")});
    QCOMPARE(conceptos(c),
             (QStringList{"MAYOREO|DEPARTAMENTO|MED|PUBLICO|10", "MAYOREO|DEPARTAMENTO|PERF|MARGEN|5.25",
                          "MAYOREO|FAMILIA|VIT|MARGEN|3", "SYS|DEPARTAMENTO|MED|FIJO|99.5"}));
    QList<Linea> leidas;
    QVERIFY(reglas.consultar(QStringLiteral("MAYOREO"), depto, &leidas));
    QCOMPARE(leidas.size(), 2);
    QCOMPARE(leidas.at(1).concepto, QStringLiteral("PERF"));
    QCOMPARE(leidas.at(1).metodo, QStringLiteral("MARGEN"));
    QCOMPARE(leidas.at(1).valor, QStringLiteral("5.25"));

    // The second save replaces the kind's rows as a whole.
    QVERIFY(reglas.guardar(QStringLiteral("MAYOREO"), depto, {l("PERF", "UTILIDAD", "20")}));
    QCOMPARE(conceptos(c), (QStringList{"MAYOREO|DEPARTAMENTO|PERF|UTILIDAD|20",
                                        "MAYOREO|FAMILIA|VIT|MARGEN|3", "SYS|DEPARTAMENTO|MED|FIJO|99.5"}));
    QVERIFY(reglas.guardar(QStringLiteral("MAYOREO"), TipoClienteConceptos::kFamilia,
                           {l("ANT", "FINANCIERO", "0"), l("VIT", "PUBLICO", "100")}));
    QVERIFY(reglas.guardar(QStringLiteral("MAYOREO"), depto, {}));
    QCOMPARE(conceptos(c), (QStringList{"MAYOREO|FAMILIA|ANT|FINANCIERO|0", "MAYOREO|FAMILIA|VIT|PUBLICO|100",
                                        "SYS|DEPARTAMENTO|MED|FIJO|99.5"}));
}

void tst_TipoClienteConceptos::validaDatos_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QList<Linea>>("lineas");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<int>("fila");
    QTest::addColumn<int>("columna");
    const QString d = TipoClienteConceptos::kDepartamento;
    const QString f = TipoClienteConceptos::kFamilia;
    using Lineas = QList<Linea>;
    QTest::newRow("sin departamento")
        << d << Lineas{l("MED", "FIJO", "1"), l("", "FIJO", "1")} << "Debe indicar el departamento" << 1 << 0;
    QTest::newRow("sin familia") << f << Lineas{l("", "", "3")} << "Debe indicar la familia" << 0 << 0;
    QTest::newRow("departamento inexistente")
        << d << Lineas{l("VIT", "FIJO", "1")} << "El departamento VIT no existe" << 0 << 0;
    QTest::newRow("familia inexistente")
        << f << Lineas{l("VIT", "FIJO", "1"), l("MED", "FIJO", "1")} << "La familia MED no existe" << 1 << 0;
    QTest::newRow("departamento repetido")
        << d << Lineas{l("MED", "FIJO", "1"), l("PERF", "FIJO", "1"), l("MED", "MARGEN", "2")}
        << "El departamento MED esta repetido en la lista" << 2 << 0;
    QTest::newRow("familia repetida") << f << Lineas{l("VIT", "FIJO", "1"), l("VIT", "FIJO", "1")}
                                      << "La familia VIT esta repetida en la lista" << 1 << 0;
    QTest::newRow("sin metodo") << d << Lineas{l("MED", "", "1")}
                                << "Debe indicar el metodo de cambio de precio" << 0 << 1;
    QTest::newRow("metodo inexistente")
        << d << Lineas{l("MED", "REGALO", "1")} << "El tipo de cambio de precio REGALO no existe" << 0 << 1;
    QTest::newRow("metodo en minusculas")
        << d << Lineas{l("MED", "publico", "1")} << "El tipo de cambio de precio publico no existe" << 0 << 1;
    QTest::newRow("sin valor") << d << Lineas{l("MED", "FIJO", " ")} << "Debe indicar el valor" << 0 << 2;
    QTest::newRow("valor no numerico")
        << d << Lineas{l("MED", "FIJO", "diez")} << "El valor debe ser numerico" << 0 << 2;
    QTest::newRow("valor con dos puntos")
        << d << Lineas{l("MED", "FIJO", "1.2.3")} << "El valor debe ser numerico" << 0 << 2;
    QTest::newRow("valor negativo") << d << Lineas{l("MED", "MARGEN", "-0.01")}
                                    << "El valor no puede ser negativo" << 0 << 2;
    QTest::newRow("descuento arriba de 100")
        << d << Lineas{l("MED", "PUBLICO", "100.01")}
        << "El descuento del metodo PUBLICO no puede ser mayor a 100" << 0 << 2;
    QTest::newRow("control sin conceptos")
        << "ARTICULO" << Lineas{l("MED", "FIJO", "1")}
        << "El control de precio ARTICULO no usa conceptos de precio" << -1 << -1;
    QTest::newRow("descuento de 100") << d << Lineas{l("MED", "PUBLICO", "100")} << "" << -1 << -1;
    QTest::newRow("margen de 150") << d << Lineas{l("MED", "MARGEN", "150")} << "" << -1 << -1;
    QTest::newRow("valor cero") << d << Lineas{l("PERF", "FIJO", "0")} << "" << -1 << -1;
    QTest::newRow("solo renglones vacios") << f << Lineas{l("", "", ""), l(" ", "", "")} << "" << -1 << -1;
}

void tst_TipoClienteConceptos::validaDatos()
{
    QFETCH(QString, control);
    QFETCH(QList<Linea>, lineas);
    QFETCH(QString, mensaje);
    QFETCH(int, fila);
    QFETCH(int, columna);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    catalogos(c);
    c.execute(
        QStringLiteral(
            "insert into tTipoClienteConcepto (tcontrol_Clave, tcli_Clave, tcc_Clave, cambio_Clave, "
            "tcc_Valor) values (?, 'MAYOREO', 'MED', 'FIJO', 7)"),
        {control == QLatin1String("FAMILIA") ? QStringLiteral("FAMILIA") : QStringLiteral("DEPARTAMENTO")});
    EstacionPrueba s(&c, settingsFile());
    TipoClienteConceptos reglas(s.provider, s.permisos, s.prompter);
    QCOMPARE(reglas.validaDatos(control, lineas), mensaje.isEmpty());
    QCOMPARE(s.prompter.texts(), mensaje.isEmpty() ? QStringList() : QStringList{mensaje});
    QCOMPARE(reglas.filaRechazada(), fila);
    QCOMPARE(reglas.columnaRechazada(), columna);
    if (mensaje.isEmpty())
        return;
    // A refused grid writes nothing.
    const QStringList antes = conceptos(c);
    s.prompter.clear();
    QVERIFY(!reglas.guardar(QStringLiteral("MAYOREO"), control, lineas));
    QCOMPARE(s.prompter.texts(), QStringList{mensaje});
    QCOMPARE(conceptos(c), antes);
}

void tst_TipoClienteConceptos::tipoInexistente()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    catalogos(c);
    EstacionPrueba s(&c, settingsFile());
    TipoClienteConceptos reglas(s.provider, s.permisos, s.prompter);
    QVERIFY(!reglas.guardar(QStringLiteral("NOHAY"), TipoClienteConceptos::kDepartamento,
                            {l("MED", "FIJO", "1")}));
    QString nombre;
    QVERIFY(!reglas.tipoCliente(QStringLiteral("NOHAY"), &nombre));
    QCOMPARE(s.prompter.texts(), (QStringList{QStringLiteral("La clave del tipo de cliente no existe"),
                                              QStringLiteral("La clave del tipo de cliente no existe")}));
    QVERIFY(conceptos(c).isEmpty());
    QString control;
    QVERIFY(reglas.tipoCliente(QStringLiteral("MAYOREO"), &nombre, &control));
    QCOMPARE(nombre, QStringLiteral("Mayoreo"));
    QCOMPARE(control, QStringLiteral("DEPARTAMENTO"));
}

void tst_TipoClienteConceptos::derechos()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c, {QStringLiteral("frmTipoCliente_cmdConsulta")});
    catalogos(c);
    c.execute(QStringLiteral(
        "insert into tTipoClienteConcepto (tcontrol_Clave, tcli_Clave, tcc_Clave, cambio_Clave, "
        "tcc_Valor) values ('DEPARTAMENTO', 'MAYOREO', 'MED', 'FIJO', 7)"));
    EstacionPrueba s(&c, settingsFile());
    TipoClienteConceptos reglas(s.provider, s.permisos, s.prompter, QStringLiteral("Q"));
    QVERIFY(reglas.soloLectura());
    QList<Linea> leidas;
    QVERIFY(reglas.consultar(QStringLiteral("MAYOREO"), TipoClienteConceptos::kDepartamento, &leidas));
    QCOMPARE(leidas.size(), 1);
    QVERIFY(s.prompter.texts().isEmpty());
    QVERIFY(!reglas.guardar(QStringLiteral("MAYOREO"), TipoClienteConceptos::kDepartamento, {}));
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("Su perfil no tiene acceso a esta operacion")});
    QCOMPARE(conceptos(c).size(), 1);

    // Without any right of the client types nothing is read either.
    c.execute(QStringLiteral("delete from tSeguridad"));
    EstacionPrueba otra(&c, settingsFile());
    TipoClienteConceptos sinNada(otra.provider, otra.permisos, otra.prompter);
    QVERIFY(!sinNada.consultar(QStringLiteral("MAYOREO"), TipoClienteConceptos::kDepartamento, &leidas));
    QVERIFY(leidas.isEmpty());
    QCOMPARE(otra.prompter.texts(),
             QStringList{QStringLiteral("Su perfil no tiene acceso a esta operacion")});
}

void tst_TipoClienteConceptos::ordenDeControles()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    catalogos(c);
    EstacionPrueba s(&c, settingsFile());
    TipoClienteConceptos reglas(s.provider, s.permisos, s.prompter);
    const auto claves = [](const QList<TipoClienteConceptos::Opcion> &opciones) {
        QStringList out;
        for (const auto &o : opciones)
            out << o.clave;
        return out;
    };
    QCOMPARE(claves(reglas.tiposControl()), (QStringList{"ARTICULO", "DEPARTAMENTO", "FAMILIA", "LISTA"}));
    // The order column decides, not the names.
    c.execute(QStringLiteral("update tTipoControlPrecio set tcontrol_Orden = 5 - tcontrol_Orden"));
    QCOMPARE(claves(reglas.tiposControl()), (QStringList{"LISTA", "FAMILIA", "DEPARTAMENTO", "ARTICULO"}));
    QCOMPARE(claves(reglas.controlesConConceptos()), (QStringList{"FAMILIA", "DEPARTAMENTO"}));
    QCOMPARE(claves(reglas.conceptos(TipoClienteConceptos::kFamilia)), (QStringList{"ANT", "VIT"}));
    QCOMPARE(claves(reglas.conceptos(TipoClienteConceptos::kDepartamento)), (QStringList{"MED", "PERF"}));
    QVERIFY(reglas.conceptos(QStringLiteral("LISTA")).isEmpty());
    QCOMPARE(reglas.metodos().size(), 5);
}

void tst_TipoClienteConceptos::fallaEnCadaSentencia()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    catalogos(c);
    EstacionPrueba s(&c, settingsFile());
    TipoClienteConceptos reglas(s.provider, s.permisos, s.prompter);
    const QString depto = TipoClienteConceptos::kDepartamento;
    QVERIFY(
        reglas.guardar(QStringLiteral("MAYOREO"), depto, {l("MED", "FIJO", "1"), l("PERF", "FIJO", "2")}));
    const QStringList antes = conceptos(c);
    int fallas = 0;
    for (int n = 1;; ++n) {
        QVERIFY2(n < 40, "the save never ended");
        int vista = 0;
        c.setStatementHook([&](const QString &) {
            if (++vista == n)
                throw db::DbError(99, QStringLiteral("falla simulada"), QStringLiteral("prueba"));
        });
        s.prompter.clear();
        const bool ok = reglas.guardar(QStringLiteral("MAYOREO"), depto,
                                       {l("MED", "MARGEN", "3"), l("PERF", "UTILIDAD", "4"), l("", "", "")});
        c.setStatementHook({});
        if (vista < n) {
            QVERIFY(ok);
            break;
        }
        QVERIFY2(!ok, qPrintable(QStringLiteral("statement %1").arg(n)));
        QVERIFY(!s.prompter.shown.isEmpty());
        QVERIFY2(conceptos(c) == antes,
                 qPrintable(QStringLiteral("statement %1 left a partial write").arg(n)));
        QCOMPARE(c.transactionDepth(), 0);
        ++fallas;
    }
    // BEGIN, the delete, both inserts and COMMIT among them.
    QVERIFY2(fallas >= 5, qPrintable(QString::number(fallas)));
    QCOMPARE(conceptos(c),
             (QStringList{"MAYOREO|DEPARTAMENTO|MED|MARGEN|3", "MAYOREO|DEPARTAMENTO|PERF|UTILIDAD|4"}));
}

void tst_TipoClienteConceptos::bajaDelTipo()
{
    // The type's generic delete takes its concepts along (they are its details).
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    catalogos(c);
    EstacionPrueba s(&c, settingsFile());
    TipoClienteConceptos reglas(s.provider, s.permisos, s.prompter);
    QVERIFY(
        reglas.guardar(QStringLiteral("MAYOREO"), TipoClienteConceptos::kFamilia, {l("VIT", "FIJO", "1")}));
    CatalogoEditor tipos(*Catalogos::porTabla(QStringLiteral("tTipoCliente")), s.provider, s.permisos,
                         s.prompter);
    s.prompter.clear();
    s.prompter.answers << true;
    QVERIFY(tipos.eliminarRegistro({QStringLiteral("MAYOREO")}));
    QCOMPARE(s.prompter.texts(), (QStringList{QStringLiteral("Esta seguro de eliminar el tipo de cliente"),
                                              QStringLiteral("El registro fue eliminado con exito")}));
    QVERIFY(conceptos(c).isEmpty());
}

void tst_TipoClienteConceptos::modelo()
{
    ConceptosModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setControl(QStringLiteral("Familia"), {{QStringLiteral("VIT"), QStringLiteral("Vitaminas")}},
                     {{QStringLiteral("FIJO"), QStringLiteral("Precio fijo")}});
    model.setLineas({l("VIT", "FIJO", "1"), l("BORRADA", "FIJO", "2")});
    QVERIFY(!model.modificado());
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Familia"));
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Metodo"));
    QCOMPARE(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Valor"));
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("VIT - Vitaminas"));
    QCOMPARE(model.index(0, 0).data(Qt::EditRole).toString(), QStringLiteral("VIT"));
    QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("FIJO - Precio fijo"));
    QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("BORRADA")); // a key no longer listed

    QVERIFY(model.insertRows(2, 1));
    QVERIFY(model.modificado());
    QVERIFY(model.setData(model.index(2, 2), QStringLiteral(" 4.5 ")));
    QCOMPARE(model.lineas().at(2).valor, QStringLiteral("4.5"));
    QVERIFY(model.removeRows(0, 1));
    QCOMPARE(model.lineas().first().concepto, QStringLiteral("BORRADA"));
    QVERIFY(!model.removeRows(2, 1));
    model.marcaGuardado();
    QVERIFY(!model.modificado());

    model.setSoloLectura(true);
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(!model.setData(model.index(0, 2), QStringLiteral("9")));
    QVERIFY(!model.insertRows(0, 1));
    QVERIFY(!model.modificado());
}

QTEST_GUILESS_MAIN(tst_TipoClienteConceptos)
#include "tst_tipo_cliente_conceptos.moc"
