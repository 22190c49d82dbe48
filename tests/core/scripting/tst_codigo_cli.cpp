// mostrador-admin script run / script file against a demo store, as an administrator runs them.
#include "AdminRun.h"
#include "DatabaseAdmin.h"
#include "TestDatabase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Run = AdminRun;

Run admin(const QStringList &args)
{
    return runAdmin(QStringLiteral(MDR_ADMIN_PATH), args);
}

// A script that touches every standard object a session has.
constexpr const char *kTodos = R"VBS(' every standard object
Echo "sesion " & xConfig.getValue("USUARIO") & "/" & xConfig.getValue("PERFIL") & "/" & _
     xConfig.getValue("ALMACEN") & "/" & xConfig.getValue("TERMINAL")
Set rs = cn.Execute("select alm_Nombre from tAlmacen where alm_Clave = '" & xConfig.getValue("ALMACEN") & "'")
Echo "almacen " & rs("alm_Nombre")
rs.Close
cn.Execute "update tTerminal set term_Nombre = 'Caja principal' where term_Clave = 'TERMINAL1'"
Echo "folio " & xApp.getNextSequence("CLI_PRUEBA") & " " & xApp.getNextSequence("CLI_PRUEBA")
Echo "relleno " & xLibStr.leftFill("42", "0", 6)
xApp.msgBar "sin ventana"
Set bolsa = xFactory.newcCollectionContainer()
Echo "fabrica " & bolsa.count
xGlobal.addObject "valor", "clave"
Echo "global " & xGlobal.count
Set otra = CreateObject("ADODB.Connection")
Echo "ado " & otra.State
Echo "impresora " & TypeName(xTicketPrinter)
Echo "libreria " & fmtMoneda(1234.5)
)VBS";

// A .vbs file as administrators write them: classes, functions, procedures and statements.
constexpr const char *kPrograma = R"VBS(Option Explicit
Class Contador
    Public n
    Private Sub Class_Initialize()
        n = 0
    End Sub
    Public Sub Suma(x)
        n = n + x
    End Sub
End Class
Function Doble(x)
    Doble = x * 2
End Function
Sub Muestra(t)
    Echo "total " & t
End Sub
Dim c
Set c = New Contador
c.Suma Doble(3)
c.Suma 1
Muestra c.n
)VBS";

constexpr const char *kMiembros = R"VBS(Set item = xConfig.getItemByKey("terminal")
Echo item.xKey & " " & item & " " & item.xType & " " & item.xDataType
Echo xConfig.getItemByPos(1).xKey
Echo TypeName(xConfig.getItemByKey("NO-EXISTE")) & " " & TypeName(xConfig.getItemByPos(xConfig.getCount + 1))
xConfig.getItemByKey("TIMER_VENTAS_MSG").vValue = 5000
Echo xConfig.getValue("TIMER_VENTAS_MSG")
xGlobal.addObject "a", "k1"
xGlobal.addObject "b", "k2"
Echo xGlobal.getItem(1) & xGlobal.getItem(2) & " " & xGlobal.getItem("K2")
Set rs = cn.Execute("select 2 as n, 'k1' as k")
Set pos = xFactory.newCValue()
pos.Value = 1
Echo xGlobal.getItem(rs("n")) & xGlobal.getItem(rs("k")) & xGlobal.getItem(pos)
)VBS";

// The branch NORTE points at the same database.
constexpr const char *kSucursal = R"VBS(Set s = xFactory.newcSucursal()
If s.cargarSucursal("NORTE") And s.abrirSucursal() Then
    Set rs = s.Connection.Execute("select suc_Nombre from tSucursal where suc_Clave = 'NORTE'")
    Echo rs("suc_Nombre")
    Echo "misma " & (s.Connection Is s.Connection)
End If
s.cerrarSucursal
s.Connection.Execute "select 1"
)VBS";

constexpr const char *kImagenes = R"VBS(archivo = xApp.getTempFile("foto", "")
xApp.StringToBinaryFile archivo, "JFIF" & Chr(255)
clave = xApp.saveImageFromPicture(archivo)
Set rs = cn.Execute("select obj_Extension, obj_Contenido, '' as vacio from tObjeto where obj_Clave = " & clave)
imagen = xApp.getImageFromRecordSet(rs, "obj_Contenido")
datos = xApp.binaryFileToString(imagen)
Echo Left(datos, 4) & Asc(Right(datos, 1))
Echo rs("obj_Extension")
Echo "vacio " & xApp.getImageFromRecordSet(rs, "vacio")
On Error Resume Next
xApp.IconList
Echo Err.Description
Err.Clear
xApp.DibujarDegradado 1, 2
Echo Err.Description
)VBS";

} // namespace

class tst_CodigoCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void todosLosObjetos_data() { TestDatabase::addEngineRows(); }
    void todosLosObjetos();
    void resultados_data();
    void resultados();
    void malosArgumentos_data();
    void malosArgumentos();
    void conexionPerdidaSeRinde();

private:
    QString writeScript(const QString &name, const QByteArray &text);
    QTemporaryDir m_dir;
};

// The server stops taking the session's database in the middle of a script: the command tries
// again with growing pauses, gives up after --retry seconds and ends with a failure code
// instead of retrying thousands of times a second forever.
void tst_CodigoCli::conexionPerdidaSeRinde()
{
    MDR_TEST_DATABASE(db, TestDatabase::postgresql(), TestDatabase::Empty);
    Run r = admin({"db", "init", "--connection", db.connectionString()});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    const QString base = db.target().database();
    struct Reopen {
        db::Connection &c;
        QString base;
        ~Reopen() { c.execute(QStringLiteral("alter database \"%1\" connection limit -1").arg(base)); }
    } reopen{db.connection(), base};

    // As the database's owner role, which the connection limit applies to (not to superusers).
    const QString owner = db::DatabaseAdmin::ownerRole(base);
    const QString file =
        writeScript(QStringLiteral("perdida.vbs"),
                    QStringLiteral("cn.Execute \"alter database \"\"%1\"\" connection limit 0\"\n"
                                   "On Error Resume Next\n"
                                   "cn.Execute \"select pg_terminate_backend(pg_backend_pid())\"\n"
                                   "On Error GoTo 0\n"
                                   "cn.Execute \"select 1\"\n"
                                   "Echo \"no debio llegar\"\n")
                        .arg(base)
                        .toUtf8());
    QProcess p;
    QElapsedTimer clock;
    clock.start();
    p.start(QStringLiteral(MDR_ADMIN_PATH),
            {"script", "file", file, "--connection", db.target().withLogin(owner, QString()).toString(),
             "--retry", "3"});
    const bool finished = p.waitForFinished(30000);
    if (!finished)
        p.kill();
    QVERIFY2(finished, "the command kept retrying");
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 1);
    QVERIFY2(clock.elapsed() >= 3000, qPrintable(err));
    QVERIFY2(err.contains(QStringLiteral("No hay conexion a base de datos")), qPrintable(err.right(2000)));
    QVERIFY2(err.count(u'\n') < 60,
             qPrintable(QString::number(err.count(u'\n')))); // a few attempts, not thousands
    QVERIFY(!QString::fromUtf8(p.readAllStandardOutput()).contains(QStringLiteral("no debio llegar")));
}

QString tst_CodigoCli::writeScript(const QString &name, const QByteArray &text)
{
    const QString path = m_dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(text);
    return path;
}

void tst_CodigoCli::todosLosObjetos()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Empty);
    Run r = admin({"db", "init", "--demo", "--connection", db.connectionString()});
    QVERIFY2(r.code == 0, qPrintable(r.err));

    const QString file = writeScript(QStringLiteral("todos.vbs"), kTodos);
    r = admin({"script", "file", file, "--connection", db.connectionString(), "--user", "ADMIN",
               "--warehouse", "MATRIZ", "--terminal", "TERMINAL1"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(r.out, QStringLiteral("sesion ADMIN/ADMINISTRADOR/MATRIZ/TERMINAL1\n"
                                   "almacen Farmacia La Esperanza - Matriz\n"
                                   "folio 1 2\n"
                                   "relleno 000042\n"
                                   "fabrica 0\n"
                                   "global 1\n"
                                   "ado 0\n"
                                   "impresora Empty\n"
                                   "libreria $1,234.50\n"));
    QCOMPARE(r.err, QString());
    db::Connection &c = db.connection();
    QCOMPARE(c.scalar(QStringLiteral("select term_Nombre from tTerminal where term_Clave = 'TERMINAL1'"))
                 .toString(),
             QStringLiteral("Caja principal"));
    QCOMPARE(
        c.scalar(QStringLiteral("select sec_Valor from tSecuencia where sec_Clave = 'CLI_PRUEBA'")).toInt(),
        2);

    // The demo's start-up script as a stored script.
    r = admin(
        {"script", "run", "OnStartUpProgram", "--connection", db.connectionString(), "--user", "CAJERO"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(r.out, QString());
}

void tst_CodigoCli::resultados_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QStringList>("args"); // %DB% for the connection, %FILE% for the script file
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err"); // contained in stderr; empty: stderr empty
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "error en la linea 3: lo anterior se imprimio")
            << QStringList{"script", "file", "%FILE%", "--connection", "%DB%"}
            << QByteArray("Echo \"uno\"\nEcho \"dos\"\nx = 1 / 0\nEcho \"tres\"\n") << 1 << "uno\ndos\n"
            << "[Division by zero (line 3)]";
        TestDatabase::newRow(e, "ciclo sin fin detenido por --limite-segundos")
            << QStringList{"script", "file", "%FILE%", "--connection", "%DB%", "--limite-segundos", "1"}
            << QByteArray("Echo \"uno\"\nDo\n  x = Replace(Space(100000), \" \", \"a\")\nLoop\n") << 1
            << "uno\n"
            << "time limit";
        TestDatabase::newRow(e, "error de sintaxis")
            << QStringList{"script", "file", "%FILE%", "--connection", "%DB%"}
            << QByteArray("Echo \"uno\"\nFor i = 1 To\n") << 1 << ""
            << "(line 2)";
        TestDatabase::newRow(e, "error de la base de datos")
            << QStringList{"script", "file", "%FILE%", "--connection", "%DB%"}
            << QByteArray("cn.Execute \"delete from tNoExiste\"") << 1 << ""
            << "(line 1)";
        TestDatabase::newRow(e, "archivo en Windows-1252")
            << QStringList{"script", "file", "%FILE%", "--connection", "%DB%"}
            << QByteArray("Echo \"Almac\xe9n \" & Len(\"\xf1\")\n") << 0 << "Almacén 1\n"
            << "";
        TestDatabase::newRow(e, "un archivo es un programa: Sub, Function, Class e instrucciones")
            << QStringList{"script", "file", "%FILE%", "--connection", "%DB%"} << QByteArray(kPrograma) << 0
            << "total 7\n"
            << "";
        TestDatabase::newRow(e, "error dentro de un Sub: la linea del archivo")
            << QStringList{"script", "file", "%FILE%", "--connection", "%DB%"}
            << QByteArray("Sub Falla()\n  x = 1 / 0\nEnd Sub\nEcho \"antes\"\nFalla\n") << 1 << "antes\n"
            << "(line 2)";
        TestDatabase::newRow(e, "miembros de xConfig y xGlobal")
            << QStringList{"script", "file", "%FILE%", "--connection", "%DB%"} << QByteArray(kMiembros) << 0
            << "TERMINAL TERMINAL1 8 1\nCONEXION-PSW\nNothing Nothing\n5000\nab b\nbaa\n"
            << "";
        TestDatabase::newRow(e, "valor de otro tipo en la configuracion")
            << QStringList{"script", "file", "%FILE%", "--connection", "%DB%"}
            << QByteArray("xConfig.getItemByKey(\"TIMER_VENTAS_MSG\").vValue = \"mucho\"") << 1 << ""
            << "«TIMER_VENTAS_MSG»";
        TestDatabase::newRow(e, "conexion de una sucursal")
            << QStringList{"script", "file", "%FILE%", "--connection", "%DB%"} << QByteArray(kSucursal) << 1
            << "Norte\nmisma True\n"
            << "La conexion de la sucursal no esta abierta";
        TestDatabase::newRow(e, "imagenes de xApp y lo que no existe aqui")
            << QStringList{"script", "file", "%FILE%", "--connection", "%DB%"} << QByteArray(kImagenes) << 0
            << "JFIF255\njpg\nvacio \nxApp.IconList no existe en esta plataforma: los iconos son de las "
               "ventanas\n"
               "xApp.DibujarDegradado no existe en esta plataforma: el fondo de las ventanas lo dibuja el "
               "programa\n"
            << "";
        TestDatabase::newRow(e, "script guardado inexistente")
            << QStringList{"script", "run", "NoExiste", "--connection", "%DB%"} << QByteArray() << 1 << ""
            << "No existe el script «NoExiste»";
        TestDatabase::newRow(e, "script guardado inactivo: no corre y no es falla")
            << QStringList{"script", "run", "INACTIVO", "--connection", "%DB%"} << QByteArray() << 0 << ""
            << "El script «INACTIVO» está inactivo: no se ejecutó";
        TestDatabase::newRow(e, "usuario inexistente")
            << QStringList{"script", "file", "%FILE%", "--connection", "%DB%", "--user", "NADIE"}
            << QByteArray("Echo 1") << 1 << ""
            << "El usuario «NADIE» no existe";
        TestDatabase::newRow(e, "almacen inexistente")
            << QStringList{"script", "file", "%FILE%", "--connection", "%DB%", "--warehouse", "NORTE"}
            << QByteArray("Echo 1") << 1 << ""
            << "El almacén «NORTE» no existe";
        TestDatabase::newRow(e, "terminal inexistente")
            << QStringList{"script", "file", "%FILE%", "--connection", "%DB%", "--terminal", "T9"}
            << QByteArray("Echo 1") << 1 << ""
            << "La terminal «T9» no existe";
        TestDatabase::newRow(e, "archivo inexistente")
            << QStringList{"script", "file", "/nonexistent/x.vbs", "--connection", "%DB%"} << QByteArray()
            << 1 << ""
            << "No se puede leer el archivo «/nonexistent/x.vbs»";
    }
}

void tst_CodigoCli::resultados()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, args);
    QFETCH(QByteArray, file);
    QFETCH(int, code);
    QFETCH(QString, out);
    QFETCH(QString, err);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db.connection().execute(QStringLiteral("insert into tCodigo (codigo_Clave, codigo_Nombre, codigo_Text, "
                                           "codigo_Activo) values ('INACTIVO', 'x', 'Echo 1', 'N')"));
    db.connection().execute(
        QStringLiteral("insert into tSucursal (suc_Clave, suc_Nombre, suc_DSN) values (?, ?, ?)"),
        {"NORTE", "Norte", db.connectionString()});
    const QString path = writeScript(QStringLiteral("prueba.vbs"), file);
    args.replaceInStrings(QStringLiteral("%DB%"), db.connectionString());
    args.replaceInStrings(QStringLiteral("%FILE%"), path);
    const Run r = admin(args);
    QCOMPARE(r.code, code);
    QCOMPARE(r.out, out);
    if (err.isEmpty())
        QCOMPARE(r.err, QString());
    else
        QVERIFY2(r.err.contains(err), qPrintable(r.err));
}

void tst_CodigoCli::malosArgumentos_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("why");
    QTest::newRow("run sin clave") << QStringList{"script", "run", "--connection", "sqlite:x.db"}
                                   << "Falta CLAVE";
    QTest::newRow("file sin archivo")
        << QStringList{"script", "file", "--connection", "sqlite:x.db"} << "Falta ARCHIVO";
    QTest::newRow("sin conexion") << QStringList{"script", "run", "A"} << "Falta --connection";
    QTest::newRow("dos claves") << QStringList{"script", "run", "A", "B", "--connection", "sqlite:x.db"}
                                << "Argumento no reconocido: B";
    QTest::newRow("opcion desconocida")
        << QStringList{"script", "run", "A", "--connection", "sqlite:x.db", "--demo"}
        << "Argumento no reconocido: --demo";
    QTest::newRow("usuario sin valor")
        << QStringList{"script", "run", "A", "--connection", "sqlite:x.db", "--user"}
        << "Falta el valor de --user";
}

void tst_CodigoCli::malosArgumentos()
{
    QFETCH(QStringList, args);
    QFETCH(QString, why);
    const Run r = admin(args);
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.startsWith(why + QLatin1Char('\n')), qPrintable(r.err));
    QVERIFY2(r.err.contains(QLatin1String("mostrador-admin script file ARCHIVO.vbs --connection CADENA")),
             qPrintable(r.err));
    QCOMPARE(r.out, QString());
}

QTEST_GUILESS_MAIN(tst_CodigoCli)
#include "tst_codigo_cli.moc"
