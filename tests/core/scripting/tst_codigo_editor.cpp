// The script editor's rules: checks and messages of every mode, the rights that guard each
// command, script files in and out (UTF-8 and the Windows-1252 of older scripts) and the help
// list read from the objects scripts receive; on both engines where the table is involved.
#include "AdoObjects.h"
#include "CodigoFixture.h"
#include "AppServices.h"
#include "CodigoEditor.h"
#include "Log.h"
#include "ScriptHelp.h"
#include "ScriptObjects.h"
#include "ScriptedPrompter.h"
#include "TestDatabase.h"
#include "cAplication.h"
#include "cCollectionContainer.h"
#include "cConfigure.h"
#include "cString.h"

#include <QFile>
#include <QSet>
#include <QMetaMethod>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

using C = CodigoEditor::Codigo;
using Texts = QStringList;

// The row as "name|text|flag", empty when it does not exist.
QString row(db::Connection &c, const QString &clave)
{
    db::Recordset rs = c.openRecordset(
        QStringLiteral(
            "select codigo_Nombre, codigo_Text, codigo_Activo from tCodigo where codigo_Clave = ?"),
        {clave});
    if (rs.eof())
        return QString();
    return rs.text(QStringLiteral("codigo_Nombre")) + u'|' + rs.text(QStringLiteral("codigo_Text")) + u'|' +
           rs.text(QStringLiteral("codigo_Activo")).trimmed();
}

// The first member line starting with prefix, -1 when none does.
int startingWith(const QStringList &lines, const QString &prefix)
{
    for (int i = 0; i < lines.size(); ++i)
        if (lines.at(i).startsWith(prefix))
            return i;
    return -1;
}

int count(db::Connection &c)
{
    return c.scalar(QStringLiteral("select count(*) from tCodigo")).toInt();
}

const C kTicket = {"OnTicketPrint", "Impresion del ticket", "xApp.msgBar \"Imprimiendo\"\r\nDim n : n = 1",
                   "S"};

// A class whose overloads are not the chain that default arguments make.
class Mixed : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Total READ total)
    Q_PROPERTY(QString Nombre READ nombre)
public:
    int total() const { return 0; }
    QString nombre() const { return {}; }
    Q_INVOKABLE void buscar(const QString &sClave) { Q_UNUSED(sClave); }
    Q_INVOKABLE void buscar(int iPos, bool bExacta)
    {
        Q_UNUSED(iPos);
        Q_UNUSED(bExacta);
    }
    Q_INVOKABLE int total(int iDesde) const { return iDesde; }
    Q_INVOKABLE void saltado(int a, int b = 1, int c = 2);
    Q_INVOKABLE void saltado(int a, int b, int c, int d, int e);
public Q_SLOTS:
    void refrescar() {}
Q_SIGNALS:
    void cambiado(int n);
};

void Mixed::saltado(int, int, int) {}
void Mixed::saltado(int, int, int, int, int) {}

} // namespace

Q_DECLARE_METATYPE(CodigoEditor::Codigo)

class tst_CodigoEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void titulo_data();
    void titulo();
    void validaDatos_data();
    void validaDatos();
    void mensajes_data();
    void mensajes();
    void derechos_data();
    void derechos();
    void consultaConDerechoDeCambio_data() { TestDatabase::addEngineRows(); }
    void consultaConDerechoDeCambio();
    void historial_data() { TestDatabase::addEngineRows(); }
    void historial();

    void sintaxisAlGuardar_data();
    void sintaxisAlGuardar();
    void decodeScript_data();
    void decodeScript();
    void exportarImportar();
    void importarAnsi();
    void archivosInaccesibles();

    void firma_data();
    void firma();
    void ayudaDeAplicacion_data();
    void ayudaDeAplicacion();
    void ayudaCompletaDeAplicacion();
    void ayudaSobrecargasYPropiedades();
    void ayudaEstandar();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_CodigoEditor::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_CodigoEditor::cleanup()
{
    Log::setDirectoryProvider({});
    m_dir.reset();
}

void tst_CodigoEditor::titulo_data()
{
    QTest::addColumn<QString>("modo");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<bool>("soloLectura");
    QTest::newRow("alta") << "A"
                          << "Alta de Codigo" << false;
    QTest::newRow("cambio") << "C"
                            << "Cambio de Codigo" << false;
    QTest::newRow("consulta") << "Q"
                              << "Consulta de Codigo" << true;
    QTest::newRow("ejecutar") << "R"
                              << "Ejecutar codigo" << true;
    QTest::newRow("minusculas y espacios") << " c "
                                           << "Cambio de Codigo" << false;
}

void tst_CodigoEditor::titulo()
{
    QFETCH(QString, modo);
    QFETCH(QString, titulo);
    QFETCH(bool, soloLectura);
    CodigoSession s;
    CodigoEditor editor = s.editor(modo);
    QCOMPARE(editor.titulo(), titulo);
    QCOMPARE(editor.soloLectura(), soloLectura);
}

void tst_CodigoEditor::validaDatos_data()
{
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("activo");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::newRow("sin clave") << ""
                               << "Nombre"
                               << "S"
                               << "Debe indicar una clave";
    QTest::newRow("clave en blanco") << "   "
                                     << "Nombre"
                                     << "S"
                                     << "Debe indicar una clave";
    QTest::newRow("sin nombre") << "K"
                                << ""
                                << "S"
                                << "Debe indicar un nombre";
    QTest::newRow("nombre en blanco") << "K"
                                      << " \t"
                                      << "N"
                                      << "Debe indicar un nombre";
    QTest::newRow("activo sin elegir") << "K"
                                       << "Nombre"
                                       << ""
                                       << "De indicar si esta activo o no el procedimiento";
    QTest::newRow("activo desconocido") << "K"
                                        << "Nombre"
                                        << "X"
                                        << "De indicar si esta activo o no el procedimiento";
    QTest::newRow("la clave se revisa antes") << ""
                                              << ""
                                              << ""
                                              << "Debe indicar una clave";
    QTest::newRow("activo") << "K"
                            << "Nombre"
                            << "S"
                            << "";
    QTest::newRow("inactivo en minuscula") << "K"
                                           << "Nombre"
                                           << "n"
                                           << "";
}

void tst_CodigoEditor::validaDatos()
{
    QFETCH(QString, clave);
    QFETCH(QString, nombre);
    QFETCH(QString, activo);
    QFETCH(QString, message);
    CodigoSession s;
    CodigoEditor editor = s.editor(QStringLiteral("A"));
    QCOMPARE(editor.validaDatos({clave, nombre, QString(), activo}), message.isEmpty());
    QCOMPARE(s.prompter.texts(), message.isEmpty() ? Texts{} : Texts{message});
}

void tst_CodigoEditor::sintaxisAlGuardar_data()
{
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<bool>>("answers"); // empty: no question expected
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("line"); // of the compile error, 0 when none
    QTest::newRow("compila") << "OnStartUpSale"
                             << "x = 1\ny = x + 1" << QList<bool>{} << true << 0;
    QTest::newRow("no compila: no se guarda") << "OnStartUpSale"
                                              << "x = 1\ny = (" << QList<bool>{false} << false << 2;
    QTest::newRow("no compila: guardado a proposito") << "OnStartUpSale"
                                                      << "x = 1\ny = (" << QList<bool>{true} << true << 2;
    QTest::newRow("procedimiento en un evento") << "OnStartUpSale"
                                                << "Sub f()\nEnd Sub" << QList<bool>{false} << false << 1;
    QTest::newRow("la libreria compila entera")
        << "LIBRERIA"
        << "Sub f()\nEnd Sub\nFunction g()\nEnd Function" << QList<bool>{} << true << 0;
    // Compiling runs nothing that could hang the save.
    QTest::newRow("libreria con un ciclo") << "LIBRERIA"
                                           << "Do\nLoop\nSub f()\nEnd Sub" << QList<bool>{} << true << 0;
    QTest::newRow("error de ejecucion no es de sintaxis") << "OnStartUpSale"
                                                          << "x = 1 / 0" << QList<bool>{} << true << 0;
}

// A text that does not compile is named with its line before it is stored, and stored only when
// the user insists.
void tst_CodigoEditor::sintaxisAlGuardar()
{
    QFETCH(QString, clave);
    QFETCH(QString, text);
    QFETCH(QList<bool>, answers);
    QFETCH(bool, saved);
    QFETCH(int, line);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    CodigoSession s;
    QVERIFY(s.open(db, kCodigoRights));
    for (bool a : answers)
        s.prompter.answers.enqueue(a);
    s.prompter.answers.enqueue(false); // "continuar agregando"
    CodigoEditor editor = s.editor(QStringLiteral("A"));
    QCOMPARE(editor.agregarRegistro({clave, QStringLiteral("Prueba"), text, QStringLiteral("S")}), saved);
    QCOMPARE(editor.lineaError(), line);
    QCOMPARE(editor.errorSintaxis().isEmpty(), line == 0);
    if (!answers.isEmpty()) {
        QCOMPARE(s.prompter.shown.first().text, CodigoEditor::preguntaSintaxis(editor.errorSintaxis()));
        QVERIFY(!s.prompter.shown.first().defaultYes);
    }
    QCOMPARE(db.connection()
                 .scalar(QStringLiteral("select count(*) from tCodigo where codigo_Clave = ?"), {clave})
                 .toInt(),
             saved ? 1 : 0);
}

// Every command against a table holding kTicket: the messages in order, the questions'
// answers, the command's result, and the row of kTicket.clave and the table size afterwards.
void tst_CodigoEditor::mensajes_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("command");
    QTest::addColumn<C>("codigo");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("result");
    QTest::addColumn<Texts>("messages");
    QTest::addColumn<QString>("ticketRow");
    QTest::addColumn<int>("rows");

    const QString original = kTicket.nombre + u'|' + kTicket.text + u'|' + kTicket.activo;
    const C nuevo = {"  OnStartUpSale ", " Al abrir la venta ", "xGlobal.addObject 1, \"k\"", "n"};
    const C cambio = {"OnTicketPrint ", "Ticket con logotipo", "' sin impresion\r\n", "N"};
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, "alta y seguir")
            << "A" << nuevo << QList<bool>{true} << true << Texts{CodigoEditor::kAgregado} << original << 2;
        TestDatabase::newRow(engine, "alta sin seguir")
            << "A" << nuevo << QList<bool>{false} << true << Texts{CodigoEditor::kAgregado} << original << 2;
        TestDatabase::newRow(engine, "alta de clave en uso")
            << "A" << C{"OnTicketPrint", "Otro", "x = 1", "S"} << QList<bool>{} << false
            << Texts{CodigoEditor::kClaveEnUso + QStringLiteral(" Impresion del ticket")} << original << 1;
        TestDatabase::newRow(engine, "alta incompleta")
            << "A" << C{"Nuevo", "Nombre", "x = 1", ""} << QList<bool>{} << false
            << Texts{"De indicar si esta activo o no el procedimiento"} << original << 1;
        TestDatabase::newRow(engine, "cambio")
            << "C" << cambio << QList<bool>{} << true << Texts{CodigoEditor::kActualizado}
            << "Ticket con logotipo|' sin impresion\r\n|N" << 1;
        TestDatabase::newRow(engine, "cambio de clave inexistente")
            << "C" << C{"OnCutOfBox", "Corte", "x = 1", "S"} << QList<bool>{} << false
            << Texts{CodigoEditor::kNoExiste} << original << 1;
        TestDatabase::newRow(engine, "cambio incompleto")
            << "C" << C{"OnTicketPrint", "", "x = 1", "S"} << QList<bool>{} << false
            << Texts{"Debe indicar un nombre"} << original << 1;
        TestDatabase::newRow(engine, "baja confirmada")
            << "B" << kTicket << QList<bool>{true} << true
            << Texts{CodigoEditor::kConfirmaBaja, CodigoEditor::kEliminado} << "" << 0;
        TestDatabase::newRow(engine, "baja rechazada conserva el registro")
            << "B" << kTicket << QList<bool>{false} << false << Texts{CodigoEditor::kConfirmaBaja} << original
            << 1;
        TestDatabase::newRow(engine, "baja de clave inexistente")
            << "B" << C{"OnCutOfBox", "", "", ""} << QList<bool>{} << false << Texts{CodigoEditor::kNoExiste}
            << original << 1;
        TestDatabase::newRow(engine, "consulta inexistente")
            << "Q" << C{"OnCutOfBox", "", "", ""} << QList<bool>{} << false << Texts{CodigoEditor::kNoExiste}
            << original << 1;
        TestDatabase::newRow(engine, "consulta sin clave")
            << "Q" << C{" ", "", "", ""} << QList<bool>{} << false << Texts{"Debe indicar una clave"}
            << original << 1;
    }
}

void tst_CodigoEditor::mensajes()
{
    QFETCH(QString, engine);
    QFETCH(QString, command);
    QFETCH(C, codigo);
    QFETCH(QList<bool>, answers);
    QFETCH(bool, result);
    QFETCH(Texts, messages);
    QFETCH(QString, ticketRow);
    QFETCH(int, rows);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    CodigoSession s;
    QVERIFY(s.open(db, kCodigoRights));
    insertScript(db.connection(), kTicket);
    for (bool a : answers)
        s.prompter.answers.enqueue(a);
    CodigoEditor editor = s.editor(command == QLatin1String("B") ? "C" : command);

    bool done = false;
    if (command == QLatin1String("A")) {
        done = editor.agregarRegistro(codigo);
        QCOMPARE(editor.continuarAgregando(), done && answers.value(0));
        if (done) // stored trimmed, the flag in capitals, the text as typed
            QCOMPARE(row(db.connection(), codigo.clave.trimmed()),
                     codigo.nombre.trimmed() + u'|' + codigo.text + u'|' + codigo.activo.toUpper());
    } else if (command == QLatin1String("C")) {
        done = editor.modificarRegistro(codigo);
    } else if (command == QLatin1String("B")) {
        done = editor.eliminarRegistro(codigo.clave);
    } else {
        C read;
        done = editor.consultarRegistro(codigo.clave, &read);
    }
    QCOMPARE(done, result);
    QCOMPARE(s.prompter.texts(), messages);
    QVERIFY(s.prompter.drained());
    QCOMPARE(row(db.connection(), kTicket.clave), ticketRow);
    QCOMPARE(count(db.connection()), rows);
    if (command == QLatin1String("B"))
        QCOMPARE(s.prompter.shown.first().defaultYes, false); // a delete defaults to No
}

// A profile lacking one right: which commands it may use, and every refused command shows the
// refusal and changes nothing.
void tst_CodigoEditor::derechos_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QString>("allowed");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, "sin alta") << "frmCodigo_cmdAlta"
                                                 << "CBQR";
        // Running any text is as powerful as changing a stored script.
        TestDatabase::newRow(engine, "sin cambio") << "frmCodigo_cmdCambio"
                                                   << "ABQ";
        TestDatabase::newRow(engine, "sin baja") << "frmCodigo_cmdBaja"
                                                 << "ACQR";
        // Who may change a script may read it.
        TestDatabase::newRow(engine, "sin consulta") << "frmCodigo_cmdConsulta"
                                                     << "ACBQR";
    }
}

void tst_CodigoEditor::derechos()
{
    QFETCH(QString, engine);
    QFETCH(QString, missing);
    QFETCH(QString, allowed);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    QStringList rights = kCodigoRights;
    rights.removeAll(missing);
    CodigoSession s;
    QVERIFY(s.open(db, rights));
    insertScript(db.connection(), kTicket);
    CodigoEditor editor = s.editor(QStringLiteral("C"));
    for (QChar command : QStringLiteral("ACBQR"))
        QCOMPARE(editor.puede(command), allowed.contains(command));

    const QString original = kTicket.nombre + u'|' + kTicket.text + u'|' + kTicket.activo;
    const QList<std::pair<QChar, std::function<bool()>>> commands = {
        {u'A',
         [&] {
             return editor.agregarRegistro({"Nuevo", "Nuevo", "x = 1", "S"});
         }},
        {u'C',
         [&] {
             return editor.modificarRegistro({kTicket.clave, "Cambiado", "x = 2", "N"});
         }},
        {u'B', [&] { return editor.eliminarRegistro(kTicket.clave); }},
    };
    for (const auto &[command, run] : commands) {
        if (allowed.contains(command))
            continue;
        s.prompter.answers.enqueue(true); // would confirm anything asked
        QVERIFY(!run());
        QCOMPARE(s.prompter.texts(), Texts{CodigoEditor::kSinAcceso});
        QCOMPARE(s.prompter.shown.first().icon, Prompter::Icon::Exclamation);
        QCOMPARE(s.prompter.answers.size(), 1); // refused before any question
        s.prompter.answers.clear();
        s.prompter.clear();
    }
    QCOMPARE(count(db.connection()), 1);
    QCOMPARE(row(db.connection(), kTicket.clave), original);
}

void tst_CodigoEditor::consultaConDerechoDeCambio()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    insertScript(db.connection(), kTicket);
    CodigoSession s;
    QVERIFY(s.open(db));
    CodigoEditor editor = s.editor(QStringLiteral("C"));
    {
        // No right at all: even reading is refused.
        C read;
        QVERIFY(!editor.consultarRegistro(kTicket.clave, &read));
        QCOMPARE(s.prompter.texts(), Texts{CodigoEditor::kSinAcceso});
        QVERIFY(read.clave.isEmpty());
        s.prompter.clear();
    }
    s.grant({"frmCodigo_cmdCambio"});
    C read;
    QVERIFY(editor.consultarRegistro(QStringLiteral(" OnTicketPrint "), &read));
    QCOMPARE(read.clave, kTicket.clave);
    QCOMPARE(read.nombre, kTicket.nombre);
    QCOMPARE(read.text, kTicket.text);
    QCOMPARE(read.activo, QStringLiteral("S"));
    QVERIFY(s.prompter.texts().isEmpty());
}

void tst_CodigoEditor::decodeScript_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString accents = QStringLiteral("' Descripción: año, niño €\r\nx = \"Ñandú\"");
    QTest::newRow("ascii") << QByteArray("x = 1\r\n") << "x = 1\r\n";
    QTest::newRow("utf-8 sin marca") << accents.toUtf8() << accents;
    QTest::newRow("utf-8 con marca") << QByteArray("\xEF\xBB\xBF") + accents.toUtf8() << accents;
    QByteArray utf16("\xFF\xFE", 2);
    for (QChar c : accents)
        utf16 += char(c.unicode() & 0xFF), utf16 += char(c.unicode() >> 8);
    QTest::newRow("utf-16 con marca") << utf16 << accents;
    // As older scripts were saved: Windows-1252, no mark; 0x80 is the euro sign there.
    QTest::newRow("windows-1252") << QByteArray("' Descripci\xF3n: a\xF1o, ni\xF1o \x80\r\nx = \"\xD1"
                                                "and\xFA\"")
                                  << accents;
    QTest::newRow("windows-1252 con comillas tipograficas")
        << QByteArray("s = \"\x93hola\x94\"") << QStringLiteral("s = \"\u201Chola\u201D\"");
    QTest::newRow("vacio") << QByteArray() << QString();
}

void tst_CodigoEditor::decodeScript()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(CodigoEditor::decodeScript(bytes), text);
}

void tst_CodigoEditor::exportarImportar()
{
    CodigoSession s;
    CodigoEditor editor = s.editor(QStringLiteral("C"));
    const QString text =
        QStringLiteral("Sub Main()\r\n  ' Descripción del año\r\n  xApp.msgBar \"Ñandú €\"\r\nEnd Sub\r\n");
    const QString file = m_dir->filePath(QStringLiteral("OnTicketPrint.vbs"));
    QVERIFY(editor.exportar(file, text));
    QCOMPARE(s.prompter.texts(), Texts{CodigoEditor::kExportado});
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), text.toUtf8()); // line ends kept, no mark added
    written.close();

    s.prompter.clear();
    QString back;
    QVERIFY(editor.importar(file, &back));
    QCOMPARE(back, text);
    QVERIFY(s.prompter.texts().isEmpty());

    // Exporting again replaces the file whole.
    QVERIFY(editor.exportar(file, QStringLiteral("x = 1")));
    QVERIFY(editor.importar(file, &back));
    QCOMPARE(back, QStringLiteral("x = 1"));
}

void tst_CodigoEditor::importarAnsi()
{
    CodigoSession s;
    CodigoEditor editor = s.editor(QStringLiteral("A"));
    const QString file = m_dir->filePath(QStringLiteral("viejo.vbs"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("' Cancelaci\xF3n de la venta\r\nIf x > 0 Then msg = \"Devoluci\xF3n\"\r\n");
    f.close();
    QString text;
    QVERIFY(editor.importar(file, &text));
    QCOMPARE(text, QStringLiteral("' Cancelación de la venta\r\nIf x > 0 Then msg = \"Devolución\"\r\n"));
}

void tst_CodigoEditor::archivosInaccesibles()
{
    CodigoSession s;
    CodigoEditor editor = s.editor(QStringLiteral("A"));
    QString text = QStringLiteral("unchanged");
    const QString missing = m_dir->filePath(QStringLiteral("no-existe.vbs"));
    QVERIFY(!editor.importar(missing, &text));
    QCOMPARE(text, QStringLiteral("unchanged"));
    QCOMPARE(s.prompter.shown.size(), 1);
    QCOMPARE(s.prompter.shown.first().icon, Prompter::Icon::Critical);
    QVERIFY(s.prompter.last().startsWith(QStringLiteral("No fue posible leer el archivo ") + missing));

    s.prompter.clear();
    const QString noFolder = m_dir->filePath(QStringLiteral("no/hay/carpeta.vbs"));
    QVERIFY(!editor.exportar(noFolder, QStringLiteral("x = 1")));
    QCOMPARE(s.prompter.shown.size(), 1);
    QCOMPARE(s.prompter.shown.first().icon, Prompter::Icon::Critical);
    QVERIFY(s.prompter.last().startsWith(QStringLiteral("No fue posible escribir el archivo ") + noFolder));
    QVERIFY(!QFile::exists(noFolder));
}

void tst_CodigoEditor::firma_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("required");
    QTest::addColumn<QStringList>("optional");
    QTest::addColumn<bool>("function");
    QTest::addColumn<QString>("line");
    QTest::newRow("procedimiento sin parametros")
        << "execDoEvents" << QStringList{} << QStringList{} << false << "execDoEvents";
    QTest::newRow("funcion sin parametros")
        << "getDate" << QStringList{} << QStringList{} << true << "getDate()";
    QTest::newRow("solo requeridos") << "ShellAndWait" << QStringList{"sProgram_name", "window_style"}
                                     << QStringList{} << true << "ShellAndWait(sProgram_name, window_style)";
    QTest::newRow("un opcional") << "generaFaltanteCompras" << QStringList{"bTodo"}
                                 << QStringList{"sProvBusq"} << false
                                 << "generaFaltanteCompras(bTodo, [sProvBusq])";
    QTest::newRow("cuatro opcionales")
        << "getNextSequence" << QStringList{"sTipo"}
        << QStringList{"dValorIni", "dValorFin", "dIncremento", "dValorInicial"} << true
        << "getNextSequence(sTipo, [[[[dValorIni,] dValorFin,] dIncremento,] dValorInicial])";
    QTest::newRow("solo opcionales") << "getTempFile" << QStringList{} << QStringList{"prefix", "extension"}
                                     << true << "getTempFile([[prefix,] extension])";
}

void tst_CodigoEditor::firma()
{
    QFETCH(QString, name);
    QFETCH(QStringList, required);
    QFETCH(QStringList, optional);
    QFETCH(bool, function);
    QFETCH(QString, line);
    QCOMPARE(ScriptHelp::signature(name, required, optional, function), line);
}

void tst_CodigoEditor::ayudaDeAplicacion_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("getNextSequence")
        << "getNextSequence(sTipo, [[[[dValorIni,] dValorFin,] dIncremento,] dValorInicial])";
    QTest::newRow("msgBar") << "msgBar(sCad)";
    QTest::newRow("execDoEvents") << "execDoEvents";
    QTest::newRow("ShellExecuteAndWait") << "ShellExecuteAndWait(sFile)";
    // window_style has a default, so the help brackets it.
    QTest::newRow("ShellAndWait") << "ShellAndWait(sProgram_name, [window_style])";
    QTest::newRow("getDate") << "getDate()";
    QTest::newRow("setSequenceValue") << "setSequenceValue(sClave, dValor)";
}

void tst_CodigoEditor::ayudaDeAplicacion()
{
    QFETCH(QString, line);
    const QStringList help = ScriptHelp::members(cAplication::staticMetaObject);
    QVERIFY2(help.contains(line), qPrintable(help.join(QLatin1Char('\n'))));
    QCOMPARE(help.count(line), 1);
}

// Every member a script can call on xApp is listed once, and nothing of QObject's own.
void tst_CodigoEditor::ayudaCompletaDeAplicacion()
{
    const QMetaObject &meta = cAplication::staticMetaObject;
    const QStringList help = ScriptHelp::members(meta);
    const auto nameOf = [](const QString &line) { return line.section(QLatin1Char('('), 0, 0); };
    QStringList names;
    for (const QString &line : help)
        names << nameOf(line);
    QSet<QString> invokables;
    for (int i = 0; i < meta.methodCount(); ++i) {
        const QMetaMethod m = meta.method(i);
        if (m.methodType() == QMetaMethod::Method && m.access() == QMetaMethod::Public)
            invokables.insert(QString::fromLatin1(m.name()));
    }
    QVERIFY(invokables.size() > 20);
    for (const QString &name : invokables)
        QCOMPARE(names.count(name), 1);
    for (const char *hidden :
         {"deleteLater", "destroyed", "objectName", "objectNameChanged", "statusMessage"})
        QVERIFY2(!names.contains(QLatin1String(hidden)), hidden);
}

void tst_CodigoEditor::ayudaSobrecargasYPropiedades()
{
    const QStringList help = ScriptHelp::members(Mixed::staticMetaObject);
    const QStringList expected = {
        "refrescar", // public slots are callable (the meta-object lists them first)
        "buscar(sClave)",
        "buscar(iPos, bExacta)", // different overloads: one line each
        "total(iDesde)",         // the method stands for the property too
        "saltado(a, [[b,] c])",
        "saltado(a, b, c, d, e)", // a gap in the counts: not one chain
        "Nombre",                 // a property
    };
    QCOMPARE(help, expected);
}

void tst_CodigoEditor::ayudaEstandar()
{
    CodigoSession s;
    AppServices &services = s.services;
    const ScriptServices objects{services.config(), services.connection(), services.string(),
                                 services.app(),    services.factory(),    services.global()};
    const QList<ScriptHelp::Topic> topics = ScriptHelp::standard(objects);
    QStringList order;
    for (const ScriptHelp::Topic &t : topics)
        order << t.object;
    // The standard list, in its order, then the recordsets cn.Execute gives.
    QCOMPARE(order, buildScriptObjects(objects).names() << QStringLiteral("rs"));
    QCOMPARE(order.mid(0, 6), (QStringList{"xConfig", "cn", "xLibStr", "xApp", "xFactory", "xGlobal"}));

    const auto find = [&](const QString &object) {
        for (const ScriptHelp::Topic &t : topics)
            if (t.object == object)
                return t;
        return ScriptHelp::Topic{};
    };
    const ScriptHelp::Topic globales = find(QStringLiteral("xGlobal"));
    QCOMPARE(globales.title, QStringLiteral("Globales"));
    QCOMPARE(globales.members, ScriptHelp::members(cCollectionContainer::staticMetaObject));
    const int add = startingWith(globales.members, QStringLiteral("addObject("));
    QVERIFY(add >= 0);
    // The signatures scripts were written against.
    QCOMPARE(globales.qualified(add), QStringLiteral("xGlobal.addObject(xObj, sKey)"));
    for (const char *member : {"getItem(vVariant)", "removeItem(vVariant)"})
        QVERIFY2(globales.members.contains(QLatin1String(member)), member);

    QCOMPARE(find(QStringLiteral("cn")).members, ado::connectionMembers());
    QCOMPARE(find(QStringLiteral("rs")).members, ado::recordsetMembers());
    QVERIFY(!find(QStringLiteral("cn")).members.isEmpty());
    // xLibStr reaches scripts through an adapter: the string library's members, and the ByRef
    // StrToArr that only the adapter offers.
    const QStringList cadenas = find(QStringLiteral("xLibStr")).members;
    const QStringList plain = ScriptHelp::members(cString::staticMetaObject);
    QCOMPARE(cadenas.mid(0, plain.size()), plain);
    QCOMPARE(cadenas.mid(plain.size()), QStringList{QStringLiteral("StrToArr(aArr, sString, iLen)")});
    QVERIFY(find(QStringLiteral("xApp"))
                .members.contains(QStringLiteral(
                    "getNextSequence(sTipo, [[[[dValorIni,] dValorFin,] dIncremento,] dValorInicial])")));
    QVERIFY(startingWith(find(QStringLiteral("xConfig")).members, QStringLiteral("getValue(")) >= 0);
}

// The editor shows who changed a script: through the editor with the session's user, and with
// raw SQL from anywhere else, which the trail records too.
void tst_CodigoEditor::historial()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    CodigoSession session;
    QVERIFY(session.open(db, kCodigoRights));
    session.services.config().setValue(QStringLiteral("USUARIO"), QStringLiteral("ADMIN"));
    QVERIFY(session.services.connection().connectDatabase()); // the session's user reaches the connection
    CodigoEditor alta = session.editor(QStringLiteral("A"));
    session.prompter.answers.enqueue(false);
    QVERIFY(alta.agregarRegistro({"TICKET", "Ticket", "x = 1", "S"}));
    CodigoEditor cambio = session.editor(QStringLiteral("C"));
    QVERIFY(cambio.modificarRegistro({"TICKET", "Ticket", "x = 2", "S"}));
    db.openAnother()->execute(QStringLiteral("update tCodigo set codigo_Text = 'x = 3' where codigo_Clave = 'TICKET'"));

    QList<CodigoEditor::Cambio> cambios;
    QVERIFY(cambio.historial(QStringLiteral("TICKET"), &cambios));
    QCOMPARE(cambios.size(), 3);
    QCOMPARE(cambios.at(0).operacion, QStringLiteral("INSERT"));
    QCOMPARE(cambios.at(1).operacion, QStringLiteral("UPDATE"));
    QCOMPARE(cambios.at(1).usuario, QStringLiteral("ADMIN"));
    QCOMPARE(cambios.at(1).estacion, QStringLiteral("CAJA1"));
    QVERIFY(cambios.at(1).anterior.contains(QStringLiteral("x = 1")));
    QVERIFY(cambios.at(1).nuevo.contains(QStringLiteral("x = 2")));
    QVERIFY(cambios.at(2).usuario.isEmpty()); // outside the program
    QVERIFY(cambios.at(2).nuevo.contains(QStringLiteral("x = 3")));
}

QTEST_GUILESS_MAIN(tst_CodigoEditor)
#include "tst_codigo_editor.moc"
