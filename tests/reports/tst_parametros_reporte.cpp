// Report parameters: the inputs' first values, the checks on accepting with their messages, the
// values the report receives (a one-day range covers the whole day), the command-line form, and
// lists filled from stored queries on both engines.
#include "ReportePrueba.h"

#include "EstacionPrueba.h"
#include "ParametrosReporte.h"
#include "TestDatabase.h"

#include <QTemporaryDir>
#include <QTest>

using namespace reportes;
using Definicion = ParametrosReporte::Definicion;
using Captura = ParametrosReporte::Captura;

Q_DECLARE_METATYPE(ParametrosReporte::Parte)
Q_DECLARE_METATYPE(ParametrosReporte::Definicion)
Q_DECLARE_METATYPE(ParametrosReporte::Captura)

namespace {

Definicion def(const char *nombre, const char *descripcion, const char *entrada, const char *dato,
               bool requerido = false, const char *omision = "")
{
    Definicion d;
    d.nombre = QLatin1String(nombre);
    d.descripcion = QString::fromUtf8(descripcion);
    d.tipoParametro = QLatin1String(entrada);
    d.tipoDato = QLatin1String(dato);
    d.requerido = requerido;
    d.valorDefecto = QString::fromUtf8(omision);
    return d;
}

Captura texto(const QString &t, const QString &extra = QString())
{
    Captura c;
    c.texto = t;
    c.extra = extra;
    return c;
}

Captura fechas(const QDate &desde, const QDate &hasta = QDate())
{
    Captura c;
    c.desde = desde;
    c.hasta = hasta.isValid() ? hasta : desde;
    return c;
}

// Each value as "clave=valor|extra|tipo", a null shown as <null>.
QStringList comoTexto(const QList<ValorParametro> &valores)
{
    const auto t = [](const QVariant &v) { return v.isNull() ? QStringLiteral("<null>") : v.toString(); };
    QStringList out;
    for (const ValorParametro &v : valores)
        out << v.clave + u'=' + t(v.valor) + u'|' + t(v.valorExtra) + u'|' + v.tipoDato;
    return out;
}

const QDate kHoy(2026, 3, 5);

} // namespace

class tst_ParametrosReporte : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void entrada_data();
    void entrada();
    void valorInicial_data();
    void valorInicial();
    void valida_data();
    void valida();
    void formatoDelServidor();
    void argumentos_data();
    void argumentos();
    void lista_data() { TestDatabase::addEngineRows(); }
    void lista();
    void listaDependiente_data() { TestDatabase::addEngineRows(); }
    void listaDependiente();
    void listaQueFalla_data();
    void listaQueFalla();
    void lee_data() { TestDatabase::addEngineRows(); }
    void lee();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString ini() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_ParametrosReporte::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void tst_ParametrosReporte::entrada_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("dato");
    QTest::addColumn<int>("entrada");
    QTest::newRow("lista") << "LISTA"
                           << "T" << int(ParametrosReporte::Entrada::Lista);
    QTest::newRow("lista numerica") << "lista"
                                    << "N" << int(ParametrosReporte::Entrada::Lista);
    QTest::newRow("texto") << "TEXTO"
                           << "T" << int(ParametrosReporte::Entrada::Texto);
    QTest::newRow("numero") << "TEXTO"
                            << "N" << int(ParametrosReporte::Entrada::Numero);
    QTest::newRow("captura de fecha") << "TEXTO"
                                      << "F" << int(ParametrosReporte::Entrada::Fecha);
    QTest::newRow("fecha") << "FECHA"
                           << "F" << int(ParametrosReporte::Entrada::Fecha);
    QTest::newRow("rango") << "RANGOFECHA"
                           << "F" << int(ParametrosReporte::Entrada::RangoFechas);
    QTest::newRow("tipo desconocido") << "OTRO"
                                      << "T" << int(ParametrosReporte::Entrada::Texto);
}

void tst_ParametrosReporte::entrada()
{
    QFETCH(QString, tipo);
    QFETCH(QString, dato);
    QFETCH(int, entrada);
    Definicion d;
    d.tipoParametro = tipo;
    d.tipoDato = dato;
    QCOMPARE(int(d.entrada()), entrada);
}

void tst_ParametrosReporte::valorInicial_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("omision");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QDate>("desde");
    QTest::addColumn<QDate>("hasta");
    QTest::newRow("texto") << "TEXTO"
                           << "MATRIZ"
                           << "MATRIZ" << QDate() << QDate();
    QTest::newRow("lista") << "LISTA"
                           << "T1"
                           << "T1" << QDate() << QDate();
    QTest::newRow("fecha sin valor: hoy") << "FECHA"
                                          << ""
                                          << "" << kHoy << kHoy;
    QTest::newRow("fecha HOY") << "FECHA"
                               << "hoy"
                               << "" << kHoy << kHoy;
    QTest::newRow("fecha dada") << "FECHA"
                                << "15/02/2026"
                                << "" << QDate(2026, 2, 15) << QDate(2026, 2, 15);
    QTest::newRow("fecha sin ceros") << "FECHA"
                                     << "1/2/2026"
                                     << "" << QDate(2026, 2, 1) << QDate(2026, 2, 1);
    QTest::newRow("fecha ilegible: hoy") << "FECHA"
                                         << "ayer"
                                         << "" << kHoy << kHoy;
    QTest::newRow("rango de un dia") << "RANGOFECHA"
                                     << "HOY"
                                     << "" << kHoy << kHoy;
    QTest::newRow("rango dado") << "RANGOFECHA"
                                << "01/02/2026,15/02/2026"
                                << "" << QDate(2026, 2, 1) << QDate(2026, 2, 15);
    QTest::newRow("rango hasta hoy") << "RANGOFECHA"
                                     << "01/02/2026,HOY"
                                     << "" << QDate(2026, 2, 1) << kHoy;
}

void tst_ParametrosReporte::valorInicial()
{
    QFETCH(QString, tipo);
    QFETCH(QString, omision);
    QFETCH(QString, texto);
    QFETCH(QDate, desde);
    QFETCH(QDate, hasta);
    Definicion d = def("P", "P", "TEXTO", "T");
    d.tipoParametro = tipo;
    d.valorDefecto = omision;
    const Captura c = ParametrosReporte::valorInicial(d, kHoy);
    QCOMPARE(c.texto, texto);
    QCOMPARE(c.desde, desde);
    QCOMPARE(c.hasta, hasta);
}

void tst_ParametrosReporte::valida_data()
{
    QTest::addColumn<QList<Definicion>>("definiciones");
    QTest::addColumn<QList<Captura>>("capturas");
    QTest::addColumn<QStringList>("valores");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<int>("campo");
    QTest::addColumn<ParametrosReporte::Parte>("parte");
    const auto P = ParametrosReporte::Parte::Valor;
    const Definicion periodo = def("FECHA", "Periodo", "RANGOFECHA", "F", true);
    const Definicion almacen = def("ALMACEN", "Almacén", "LISTA", "T", true);
    const Definicion total = def("MINIMO", "Importe mínimo", "TEXTO", "N");

    QTest::newRow("rango de un dia: del primer al ultimo segundo")
        << QList<Definicion>{periodo} << QList<Captura>{fechas(QDate(2026, 3, 5))}
        << QStringList{"FECHA=05/03/2026 00:00:00|05/03/2026 23:59:59|F",
                       "FECHA_INI=05/03/2026 00:00:00|<null>|F", "FECHA_FIN=05/03/2026 23:59:59|<null>|F"}
        << "" << -1 << P;
    QTest::newRow("rango de varios dias")
        << QList<Definicion>{periodo} << QList<Captura>{fechas(QDate(2026, 2, 28), QDate(2026, 3, 1))}
        << QStringList{"FECHA=28/02/2026 00:00:00|01/03/2026 23:59:59|F",
                       "FECHA_INI=28/02/2026 00:00:00|<null>|F", "FECHA_FIN=01/03/2026 23:59:59|<null>|F"}
        << "" << -1 << P;
    QTest::newRow("inicio despues del fin")
        << QList<Definicion>{almacen, periodo}
        << QList<Captura>{texto("MATRIZ"), fechas(QDate(2026, 3, 6), QDate(2026, 3, 5))} << QStringList()
        << "La fecha de inicio debe ser menor a la de fin" << 1 << ParametrosReporte::Parte::Inicio;
    QTest::newRow("rango requerido sin fin") << QList<Definicion>{periodo} << QList<Captura>{[] {
        Captura c;
        c.desde = QDate(2026, 3, 5);
        return c;
    }()} << QStringList() << "Periodo es requerido"
                                             << 0 << ParametrosReporte::Parte::Fin;
    QTest::newRow("rango opcional vacio")
        << QList<Definicion>{def("FECHA", "Periodo", "RANGOFECHA", "F")} << QList<Captura>{Captura{}}
        << QStringList{"FECHA=<null>|<null>|F", "FECHA_INI=<null>|<null>|F", "FECHA_FIN=<null>|<null>|F"}
        << "" << -1 << P;
    QTest::newRow("fecha: el dia y sus extremos")
        << QList<Definicion>{def("FECHA", "Fecha", "FECHA", "F", true)}
        << QList<Captura>{fechas(QDate(2026, 1, 9))}
        << QStringList{"FECHA=09/01/2026|<null>|F", "FECHA_INI=09/01/2026 00:00:00|<null>|F",
                       "FECHA_FIN=09/01/2026 23:59:59|<null>|F"}
        << "" << -1 << P;
    QTest::newRow("fecha requerida vacia")
        << QList<Definicion>{def("FECHA", "Fecha del corte", "FECHA", "F", true)} << QList<Captura>{Captura{}}
        << QStringList() << "Fecha del corte es requerido" << 0 << P;
    QTest::newRow("lista: clave y texto")
        << QList<Definicion>{almacen} << QList<Captura>{texto("MATRIZ", "Matriz Guadalajara")}
        << QStringList{"ALMACEN=MATRIZ|Matriz Guadalajara|T"} << "" << -1 << P;
    QTest::newRow("lista requerida sin eleccion") << QList<Definicion>{almacen} << QList<Captura>{texto("  ")}
                                                  << QStringList() << "Almacén es requerido" << 0 << P;
    QTest::newRow("requerido sin descripcion usa el nombre")
        << QList<Definicion>{def("CLIENTE", "", "TEXTO", "T", true)} << QList<Captura>{texto("")}
        << QStringList() << "CLIENTE es requerido" << 0 << P;
    QTest::newRow("texto opcional vacio: texto vacio")
        << QList<Definicion>{def("BUSCAR", "Nombre contiene", "TEXTO", "T")} << QList<Captura>{texto("")}
        << QStringList{"BUSCAR=|<null>|T"} << "" << -1 << P;
    QTest::newRow("texto se recorta")
        << QList<Definicion>{def("BUSCAR", "Nombre contiene", "TEXTO", "T")}
        << QList<Captura>{texto("  aspirina ")} << QStringList{"BUSCAR=aspirina|<null>|T"} << "" << -1 << P;
    QTest::newRow("numero") << QList<Definicion>{total} << QList<Captura>{texto(" 012.50 ")}
                            << QStringList{"MINIMO=12.5|<null>|N"} << "" << -1 << P;
    QTest::newRow("numero negativo") << QList<Definicion>{total} << QList<Captura>{texto("-3")}
                                     << QStringList{"MINIMO=-3|<null>|N"} << "" << -1 << P;
    QTest::newRow("numero opcional vacio: nulo") << QList<Definicion>{total} << QList<Captura>{texto("")}
                                                 << QStringList{"MINIMO=<null>|<null>|N"} << "" << -1 << P;
    QTest::newRow("no es numero") << QList<Definicion>{almacen, total}
                                  << QList<Captura>{texto("MATRIZ"), texto("12a")} << QStringList()
                                  << "Importe mínimo debe ser un numero" << 1 << P;
    QTest::newRow("numero con coma de miles")
        << QList<Definicion>{total} << QList<Captura>{texto("1,200")} << QStringList()
        << "Importe mínimo debe ser un numero" << 0 << P;
    QTest::newRow("lista numerica no numerica")
        << QList<Definicion>{def("TERMINAL", "Terminal", "LISTA", "N")} << QList<Captura>{texto("T1")}
        << QStringList() << "Terminal debe ser un numero" << 0 << P;
    QTest::newRow("el primer rechazo detiene")
        << QList<Definicion>{def("A", "Primero", "TEXTO", "T", true), def("B", "Segundo", "TEXTO", "T", true)}
        << QList<Captura>{texto(""), texto("")} << QStringList() << "Primero es requerido" << 0 << P;
    QTest::newRow("sin parametros") << QList<Definicion>() << QList<Captura>() << QStringList() << "" << -1
                                    << P;
}

void tst_ParametrosReporte::valida()
{
    QFETCH(QList<Definicion>, definiciones);
    QFETCH(QList<Captura>, capturas);
    QFETCH(QStringList, valores);
    QFETCH(QString, mensaje);
    QFETCH(int, campo);
    QFETCH(ParametrosReporte::Parte, parte);
    EstacionPrueba estacion(nullptr, ini());
    ParametrosReporte p(estacion.provider, estacion.config, estacion.prompter);
    const std::optional<QList<ValorParametro>> r = p.valida(definiciones, capturas);
    QCOMPARE(bool(r), mensaje.isEmpty());
    if (r)
        QCOMPARE(comoTexto(*r), valores);
    QCOMPARE(estacion.prompter.texts(), mensaje.isEmpty() ? QStringList() : QStringList{mensaje});
    QCOMPARE(p.campoRechazado(), campo);
    if (!mensaje.isEmpty()) {
        QCOMPARE(p.parteRechazada(), parte);
        // Missing input is information; a wrong value a refusal.
        QCOMPARE(estacion.prompter.shown.first().icon, mensaje.endsWith(QLatin1String("es requerido"))
                                                           ? Prompter::Icon::Information
                                                           : Prompter::Icon::Exclamation);
    }
}

void tst_ParametrosReporte::formatoDelServidor()
{
    EstacionPrueba estacion(nullptr, ini());
    estacion.config.setValue(QStringLiteral("FORMATO-FECHA-SERVIDOR"), QStringLiteral("yyyy-mm-dd"));
    ParametrosReporte p(estacion.provider, estacion.config, estacion.prompter);
    const auto r = p.valida({def("FECHA", "Periodo", "RANGOFECHA", "F", true)},
                            {fechas(QDate(2026, 12, 31), QDate(2027, 1, 1))});
    QVERIFY(r);
    QCOMPARE(comoTexto(*r).first(), QStringLiteral("FECHA=2026-12-31 00:00:00|2027-01-01 23:59:59|F"));
}

void tst_ParametrosReporte::argumentos_data()
{
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<QStringList>("valores");
    QTest::addColumn<QString>("mensaje");
    const QString dia = QStringLiteral("FECHA=05/03/2026 00:00:00|05/03/2026 23:59:59|F");
    QTest::newRow("un dia") << QStringList{"FECHA=05/03/2026", "ALMACEN=MATRIZ"}
                            << QStringList{dia, "ALMACEN=MATRIZ||T", "BUSCAR=|<null>|T",
                                           "MINIMO=<null>|<null>|N"}
                            << "";
    QTest::newRow("rango y nombres en otro caso")
        << QStringList{"fecha=01/03/2026,05/03/2026", "Almacen=SUC2", "buscar=jarabe", "MINIMO=10"}
        << QStringList{"FECHA=01/03/2026 00:00:00|05/03/2026 23:59:59|F", "ALMACEN=SUC2||T",
                       "BUSCAR=jarabe|<null>|T", "MINIMO=10|<null>|N"}
        << "";
    QTest::newRow("sin argumentos: valores iniciales")
        << QStringList()
        << QStringList{dia, "ALMACEN=MATRIZ||T", "BUSCAR=|<null>|T", "MINIMO=<null>|<null>|N"} << "";
    QTest::newRow("el ultimo gana") << QStringList{"MINIMO=1", "MINIMO=2"}
                                    << QStringList{dia, "ALMACEN=MATRIZ||T", "BUSCAR=|<null>|T",
                                                   "MINIMO=2|<null>|N"}
                                    << "";
    QTest::newRow("valor con igual") << QStringList{"BUSCAR=a=b"}
                                     << QStringList{dia, "ALMACEN=MATRIZ||T", "BUSCAR=a=b|<null>|T",
                                                    "MINIMO=<null>|<null>|N"}
                                     << "";
    QTest::newRow("parametro desconocido")
        << QStringList{"TERMINAL=T1"} << QStringList() << "Parametro no encontrado [TERMINAL]";
    QTest::newRow("sin igual") << QStringList{"FECHA"} << QStringList() << "Parametro no encontrado [FECHA]";
    QTest::newRow("fecha ilegible") << QStringList{"FECHA=5-3-2026"} << QStringList()
                                    << "Periodo debe ser una fecha dd/mm/yyyy";
    QTest::newRow("fecha imposible") << QStringList{"FECHA=31/02/2026"} << QStringList()
                                     << "Periodo debe ser una fecha dd/mm/yyyy";
    QTest::newRow("tres fechas") << QStringList{"FECHA=01/03/2026,02/03/2026,03/03/2026"} << QStringList()
                                 << "Periodo debe ser una fecha dd/mm/yyyy";
    QTest::newRow("fin vacio") << QStringList{"FECHA=01/03/2026,"} << QStringList()
                               << "Periodo debe ser una fecha dd/mm/yyyy";
    // Read, then checked like the window's inputs.
    QTest::newRow("inicio despues del fin") << QStringList{"FECHA=06/03/2026,05/03/2026"} << QStringList()
                                            << "La fecha de inicio debe ser menor a la de fin";
    QTest::newRow("rango vacio requerido")
        << QStringList{"FECHA="} << QStringList() << "Periodo es requerido";
    QTest::newRow("numero invalido") << QStringList{"MINIMO=diez"} << QStringList()
                                     << "Importe minimo debe ser un numero";
    QTest::newRow("lista vacia requerida")
        << QStringList{"ALMACEN="} << QStringList() << "Almacen es requerido";
}

void tst_ParametrosReporte::argumentos()
{
    QFETCH(QStringList, argumentos);
    QFETCH(QStringList, valores);
    QFETCH(QString, mensaje);
    EstacionPrueba estacion(nullptr, ini());
    ParametrosReporte p(estacion.provider, estacion.config, estacion.prompter);
    const QList<Definicion> defs = {def("FECHA", "Periodo", "RANGOFECHA", "F", true, "HOY"),
                                    def("ALMACEN", "Almacen", "LISTA", "T", true, "MATRIZ"),
                                    def("BUSCAR", "Nombre contiene", "TEXTO", "T"),
                                    def("MINIMO", "Importe minimo", "TEXTO", "N")};
    std::optional<QList<ValorParametro>> r;
    if (const auto capturas = p.leeArgumentos(defs, argumentos, kHoy))
        r = p.valida(defs, *capturas);
    QCOMPARE(bool(r), mensaje.isEmpty());
    QCOMPARE(estacion.prompter.texts(), mensaje.isEmpty() ? QStringList() : QStringList{mensaje});
    if (!r)
        return;
    QStringList obtenidos = comoTexto(*r);
    // The two ends of the range are checked in valida's rows.
    obtenidos.removeIf([](const QString &v) { return v.startsWith(QLatin1String("FECHA_")); });
    QCOMPARE(obtenidos, valores);
}

void tst_ParametrosReporte::lista()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    c.execute(
        QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre, alm_Activo) values ('MATRIZ', "
                       "'Matriz Guadalajara', 'S'), ('SUC2', 'Sucursal Zapopan', 'S'), ('VIEJO', 'Cerrado', "
                       "'N')"));
    consulta(c, 7,
             QStringLiteral("select alm_Clave, alm_Nombre from tAlmacen where alm_Activo = 'S' order by "
                            "alm_Nombre"),
             QStringLiteral("alm_Clave"), QStringLiteral("alm_Nombre"));
    EstacionPrueba estacion(&c, ini());
    ParametrosReporte p(estacion.provider, estacion.config, estacion.prompter);
    Definicion d = def("ALMACEN", "Almacen", "LISTA", "T", true, "MATRIZ");
    d.consulta = 7;
    const auto opciones = p.cargaLista(d);
    QVERIFY(opciones);
    QCOMPARE(opciones->size(), 2);
    QCOMPARE(opciones->at(0).clave, QStringLiteral("MATRIZ"));
    QCOMPARE(opciones->at(0).texto, QStringLiteral("Matriz Guadalajara"));
    QCOMPARE(opciones->at(1).clave, QStringLiteral("SUC2"));
    QCOMPARE(opciones->at(1).texto, QStringLiteral("Sucursal Zapopan"));
    QVERIFY(estacion.prompter.texts().isEmpty());
}

void tst_ParametrosReporte::listaDependiente()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    c.execute(
        QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('MATRIZ', 'Matriz'), ('SUC2', "
                       "'Zapopan')"));
    c.execute(
        QStringLiteral("insert into tTerminal (term_Clave, term_Nombre, alm_Clave) values ('T1', 'Caja 1', "
                       "'MATRIZ'), ('T2', 'Caja 2', 'MATRIZ'), ('Z1', 'Caja Zapopan', 'SUC2')"));
    consulta(
        c, 8,
        QStringLiteral("select term_Clave, term_Nombre from tTerminal where alm_Clave = [ALMACEN] order by "
                       "term_Clave"),
        QStringLiteral("term_Clave"), QStringLiteral("term_Nombre"));
    EstacionPrueba estacion(&c, ini());
    ParametrosReporte p(estacion.provider, estacion.config, estacion.prompter);
    Definicion almacen = def("ALMACEN", "Almacen", "LISTA", "T", true);
    almacen.clave = 1;
    Definicion terminal = def("TERMINAL", "Terminal", "LISTA", "T");
    terminal.clave = 2;
    terminal.consulta = 8;
    terminal.claveChg = 1;
    const QList<ValorParametro> otros =
        p.borrador({almacen}, {texto(QStringLiteral("SUC2"), QStringLiteral("Zapopan"))});
    const auto opciones = p.cargaLista(terminal, otros);
    QVERIFY2(opciones, qPrintable(estacion.prompter.texts().join(u'\n')));
    QCOMPARE(opciones->size(), 1);
    QCOMPARE(opciones->first().clave, QStringLiteral("Z1"));

    // Without the value the query reads, the list cannot be filled.
    QVERIFY(!p.cargaLista(terminal));
    QCOMPARE(estacion.prompter.last(), QStringLiteral("Error al cargar la consulta"));
    QVERIFY(
        estacion.prompter.shown.last().details.contains(QLatin1String("Parametro no encontrado [ALMACEN]")));
}

void tst_ParametrosReporte::listaQueFalla_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<int>("consulta");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, QStringLiteral("consulta inexistente")) << 99;
        TestDatabase::newRow(e, QStringLiteral("tabla inexistente")) << 9;
        TestDatabase::newRow(e, QStringLiteral("sin consulta")) << 0;
    }
}

void tst_ParametrosReporte::listaQueFalla()
{
    QFETCH(QString, engine);
    QFETCH(int, consulta);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    reportes::consulta(c, 9, QStringLiteral("select x_Clave, x_Nombre from tNoExiste"),
                       QStringLiteral("x_Clave"), QStringLiteral("x_Nombre"));
    EstacionPrueba estacion(&c, ini());
    ParametrosReporte p(estacion.provider, estacion.config, estacion.prompter);
    Definicion d = def("X", "Equis", "LISTA", "T");
    d.consulta = consulta;
    QVERIFY(!p.cargaLista(d));
    QCOMPARE(estacion.prompter.texts(), QStringList{QStringLiteral("Error al cargar la consulta")});
    QCOMPARE(estacion.prompter.shown.first().icon, Prompter::Icon::Critical);
    QVERIFY(estacion.prompter.shown.first().details.startsWith(QLatin1String("Equis: ")));
}

void tst_ParametrosReporte::lee()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    consulta(c, 3, QStringLiteral("select 'A' as k, 'a' as t"), QStringLiteral("k"), QStringLiteral("t"));
    reporte(c, QStringLiteral("R1"), QStringLiteral("Uno"));
    reporte(c, QStringLiteral("R2"), QStringLiteral("Otro"));
    parametro(c, QStringLiteral("R1"), 2, QStringLiteral("ALMACEN"), QStringLiteral("Almacen"),
              QStringLiteral("LISTA"), QStringLiteral("T"), 3, true, QStringLiteral("MATRIZ"), 1);
    parametro(c, QStringLiteral("R1"), 1, QStringLiteral("FECHA"), QStringLiteral("Periodo"),
              QStringLiteral("RANGOFECHA"), QStringLiteral("F"));
    parametro(c, QStringLiteral("R2"), 1, QStringLiteral("OTRO"), QStringLiteral("Otro"),
              QStringLiteral("TEXTO"), QStringLiteral("T"));
    const QList<Definicion> defs = ParametrosReporte::lee(c, QStringLiteral("R1"));
    QCOMPARE(defs.size(), 2);
    QCOMPARE(defs[0].nombre, QStringLiteral("FECHA"));
    QCOMPARE(defs[0].tipoParametro, QStringLiteral("RANGOFECHA"));
    QCOMPARE(defs[0].tipoDato, QStringLiteral("F"));
    QCOMPARE(defs[0].consulta, 0);
    QVERIFY(!defs[0].requerido);
    QCOMPARE(defs[1].nombre, QStringLiteral("ALMACEN"));
    QCOMPARE(defs[1].consulta, 3);
    QCOMPARE(defs[1].claveChg, 1);
    QVERIFY(defs[1].requerido);
    QCOMPARE(defs[1].valorDefecto, QStringLiteral("MATRIZ"));
    QCOMPARE(int(defs[1].entrada()), int(ParametrosReporte::Entrada::Lista));
}

QTEST_GUILESS_MAIN(tst_ParametrosReporte)
#include "tst_parametros_reporte.moc"
