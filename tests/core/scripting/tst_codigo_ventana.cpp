// The script editor window offscreen: a stored script shown for change, the read-only query,
// the run mode with its error and line, the help tree, and the catalogue's entry point; on both
// engines.
#include "CodigoFixture.h"
#include "Log.h"
#include "cCollectionContainer.h"
#include "VbsHighlighter.h"
#include "frmCodigo.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

namespace {

const CodigoEditor::Codigo kTicket = {"OnTicketPrint", "Impresion del ticket",
                                      "' Impresión\r\nxApp.msgBar \"Ñandú\"", "N"};

// A logged-in workstation on db holding kTicket.
bool open(CodigoSession &s, TestDatabase &db, const QStringList &rights)
{
    if (!s.open(db, rights))
        return false;
    insertScript(db.connection(), kTicket);
    return true;
}

template <typename T> T *child(QWidget &w, const char *name)
{
    T *c = w.findChild<T *>(QLatin1String(name));
    if (!c)
        qWarning("missing %s", name);
    return c;
}

int rows(TestDatabase &db)
{
    return db.connection().scalar(QStringLiteral("select count(*) from tCodigo")).toInt();
}

// What a modal window showed before the timer closed it.
struct Seen {
    QString title;
    QString error;
    int line = -1;
};

void closeNextModal(QObject *context, Seen &seen)
{
    QTimer::singleShot(0, context, [&seen] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            seen.title = w->windowTitle();
            seen.error = w->findChild<QPlainTextEdit *>(QStringLiteral("txtError"))->toPlainText();
            seen.line =
                w->findChild<QPlainTextEdit *>(QStringLiteral("txtCodigo"))->textCursor().blockNumber();
            w->close();
        }
    });
}

} // namespace

class tst_CodigoVentana : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void cambio_data() { TestDatabase::addEngineRows(); }
    void cambio();
    void consulta_data() { TestDatabase::addEngineRows(); }
    void consulta();
    void ejecutar_data() { TestDatabase::addEngineRows(); }
    void ejecutar();
    void abrir_data() { TestDatabase::addEngineRows(); }
    void abrir();
    void corregir_data() { TestDatabase::addEngineRows(); }
    void corregir();
    void historial_data() { TestDatabase::addEngineRows(); }
    void historial();
    void resaltado_data();
    void resaltado();

private:
    QTemporaryDir m_logDir;
};

void tst_CodigoVentana::initTestCase()
{
    const QString dir = m_logDir.path();
    Log::setDirectoryProvider([dir] { return dir; });
}

void tst_CodigoVentana::cleanupTestCase()
{
    Log::setDirectoryProvider({});
}

void tst_CodigoVentana::cambio()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    CodigoSession s;
    QVERIFY(open(s, db, kCodigoRights));
    frmCodigo window(s.services.scriptServices(), s.prompter, s.permisos, QStringLiteral("C"),
                     QStringLiteral("OnTicketPrint"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Cambio de Codigo"));
    auto *clave = child<QLineEdit>(window, "txtClave");
    auto *nombre = child<QLineEdit>(window, "txtNombre");
    auto *activo = child<QComboBox>(window, "cmbActivo");
    auto *texto = child<QPlainTextEdit>(window, "txtCodigo");
    auto *aceptar = child<QPushButton>(window, "cmdAceptar");
    QVERIFY(clave && nombre && activo && texto && aceptar);
    QCOMPARE(clave->text(), QStringLiteral("OnTicketPrint"));
    QVERIFY(clave->isReadOnly()); // the key of a stored script does not change
    QCOMPARE(nombre->text(), QStringLiteral("Impresion del ticket"));
    QCOMPARE(activo->currentData().toString(), QStringLiteral("N"));
    QCOMPARE(texto->toPlainText(), QStringLiteral("' Impresión\nxApp.msgBar \"Ñandú\""));
    QVERIFY(child<QPushButton>(window, "cmdEliminar")->isVisible());
    QVERIFY(!child<QPushButton>(window, "cmdEjecutar")->isVisible());
    QVERIFY(s.prompter.texts().isEmpty());

    // The help tree: one node per object, xGlobal under "Globales".
    auto *ayuda = child<QTreeWidget>(window, "tvwAyuda");
    QStringList topics;
    for (int i = 0; i < ayuda->topLevelItemCount(); ++i)
        topics << ayuda->topLevelItem(i)->text(0);
    QVERIFY2(topics.contains(QStringLiteral("Globales (xGlobal)")), qPrintable(topics.join(u',')));
    QVERIFY(topics.contains(QStringLiteral("Aplicacion (xApp)")));

    // Double-clicking a member inserts it qualified by its object.
    QTreeWidgetItem *app = ayuda->findItems(QStringLiteral("Aplicacion (xApp)"), Qt::MatchExactly).value(0);
    QTreeWidgetItem *msgBar = nullptr;
    for (int i = 0; app && i < app->childCount(); ++i)
        if (app->child(i)->text(0) == QLatin1String("msgBar(sCad)"))
            msgBar = app->child(i);
    QVERIFY(msgBar);
    texto->moveCursor(QTextCursor::End);
    Q_EMIT ayuda->itemDoubleClicked(msgBar, 0);
    QVERIFY(texto->toPlainText().endsWith(QLatin1String("xApp.msgBar(sCad)")));

    // The inserted member ran into the last statement: the save names the compile error, shows
    // it with its line, and stores the text because the user insists; the window reports the
    // row changed.
    nombre->setText(QStringLiteral("Ticket"));
    activo->setCurrentIndex(activo->findData(QStringLiteral("S")));
    s.prompter.answers.enqueue(true);
    QTest::mouseClick(aceptar, Qt::LeftButton);
    QCOMPARE(s.prompter.texts().size(), 2);
    QVERIFY(s.prompter.texts().first().startsWith(QStringLiteral("El codigo tiene un error de sintaxis")));
    QCOMPARE(s.prompter.texts().last(), CodigoEditor::kActualizado);
    QVERIFY2(child<QPlainTextEdit>(window, "txtError")->toPlainText().contains(QStringLiteral("(line 2)")),
             qPrintable(child<QPlainTextEdit>(window, "txtError")->toPlainText()));
    QCOMPARE(texto->textCursor().blockNumber(), 1);
    QVERIFY(window.modificado());
    QCOMPARE(
        db.connection()
            .scalar(QStringLiteral("select codigo_Activo from tCodigo where codigo_Clave = 'OnTicketPrint'"))
            .toString()
            .trimmed(),
        QStringLiteral("S"));
    // The stored line ends come back as they were.
    QCOMPARE(
        db.connection()
            .scalar(QStringLiteral("select codigo_Text from tCodigo where codigo_Clave = 'OnTicketPrint'"))
            .toString(),
        QStringLiteral("' Impresión\r\nxApp.msgBar \"Ñandú\"xApp.msgBar(sCad)"));
}

void tst_CodigoVentana::consulta()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    CodigoSession s;
    QVERIFY(open(s, db, {"frmCodigo_cmdConsulta"}));
    frmCodigo window(s.services.scriptServices(), s.prompter, s.permisos, QStringLiteral("Q"),
                     QStringLiteral("OnTicketPrint"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Consulta de Codigo"));
    QCOMPARE(child<QLineEdit>(window, "txtNombre")->text(), QStringLiteral("Impresion del ticket"));
    QVERIFY(child<QLineEdit>(window, "txtClave")->isReadOnly() == false); // another key may be typed
    QVERIFY(child<QLineEdit>(window, "txtNombre")->isReadOnly());
    QVERIFY(!child<QComboBox>(window, "cmbActivo")->isEnabled());
    QVERIFY(child<QPlainTextEdit>(window, "txtCodigo")->isReadOnly());
    QVERIFY(!child<QPushButton>(window, "cmdImportar")->isEnabled());
    QVERIFY(child<QPushButton>(window, "cmdAceptar")->isHidden());
    QVERIFY(child<QPushButton>(window, "cmdEliminar")->isHidden());
}

void tst_CodigoVentana::ejecutar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    CodigoSession s;
    QVERIFY(open(s, db, kCodigoRights));
    db.connection().execute(QStringLiteral("insert into tCodigo (codigo_Clave, codigo_Nombre, codigo_Text, "
                                           "codigo_Activo) values ('LIBRERIA', 'Libreria', ?, 'S')"),
                            {QStringLiteral("Function Doble(n)\r\n Doble = n * 2\r\nEnd Function")});
    frmCodigo window(s.services.scriptServices(), s.prompter, s.permisos, QStringLiteral("R"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Ejecutar codigo"));
    auto *texto = child<QPlainTextEdit>(window, "txtCodigo");
    auto *error = child<QPlainTextEdit>(window, "txtError");
    auto *ejecutar = child<QPushButton>(window, "cmdEjecutar");
    QVERIFY(texto && error && ejecutar && ejecutar->isVisible() && ejecutar->isEnabled());

    // The text sees the standard objects and the library.
    texto->setPlainText(QStringLiteral("xGlobal.addObject Doble(21), \"respuesta\""));
    QTest::mouseClick(ejecutar, Qt::LeftButton);
    QCOMPARE(error->toPlainText(), QString());
    QCOMPARE(s.services.global().getItem(QStringLiteral("respuesta")).toInt(), 42);

    // MsgBox reaches the user.
    texto->setPlainText(QStringLiteral("MsgBox \"Hola \" & Doble(2)"));
    QTest::mouseClick(ejecutar, Qt::LeftButton);
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("Hola 4")});
    s.prompter.clear();

    // A failure shows its text and puts the cursor on its line, in this window only: no message
    // box and no other editor.
    texto->setPlainText(QStringLiteral("x = 1\ny = x / 0\nz = 2"));
    QTest::mouseClick(ejecutar, Qt::LeftButton);
    QVERIFY2(error->toPlainText().contains(QLatin1String("Division by zero")),
             qPrintable(error->toPlainText()));
    QCOMPARE(texto->textCursor().blockNumber(), 1);
    QVERIFY(s.prompter.shown.isEmpty());
    QTest::qWait(0);
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(
                 windows.cbegin(), windows.cend(),
                 [](QWidget *w) { return w->objectName() == QLatin1String("frmCodigo") && w->isVisible(); }),
             1);

    // The next good run clears the error field.
    texto->setPlainText(QStringLiteral("x = 1"));
    QTest::mouseClick(ejecutar, Qt::LeftButton);
    QCOMPARE(error->toPlainText(), QString());
}

void tst_CodigoVentana::abrir()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    CodigoSession s;
    QVERIFY(open(s, db, {"frmCodigo_cmdConsulta", "frmCodigo_cmdBaja"}));

    // Without the right the window does not open.
    QVERIFY(!frmCodigo::abrir(s.services.scriptServices(), s.prompter, s.permisos, u'A', QString()));
    QCOMPARE(s.prompter.texts(), QStringList{CodigoEditor::kSinAcceso});
    QVERIFY(!frmCodigo::abrir(s.services.scriptServices(), s.prompter, s.permisos, u'C',
                              QStringLiteral("OnTicketPrint")));

    // Query opens modally and changes nothing.
    s.prompter.clear();
    Seen seen;
    closeNextModal(this, seen);
    QVERIFY(!frmCodigo::abrir(s.services.scriptServices(), s.prompter, s.permisos, u'q',
                              QStringLiteral("OnTicketPrint")));
    QCOMPARE(seen.title, QStringLiteral("Consulta de Codigo"));

    // Delete asks; No keeps the row, Yes removes it.
    s.prompter.answers.enqueue(false);
    QVERIFY(!frmCodigo::abrir(s.services.scriptServices(), s.prompter, s.permisos, u'B',
                              QStringLiteral("OnTicketPrint")));
    QCOMPARE(rows(db), 1);
    s.prompter.answers.enqueue(true);
    QVERIFY(frmCodigo::abrir(s.services.scriptServices(), s.prompter, s.permisos, u'B',
                             QStringLiteral("OnTicketPrint")));
    QCOMPARE(rows(db), 0);
    QCOMPARE(s.prompter.texts(), (QStringList{CodigoEditor::kConfirmaBaja, CodigoEditor::kConfirmaBaja,
                                              CodigoEditor::kEliminado}));
}

void tst_CodigoVentana::corregir()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    CodigoSession s;
    QVERIFY(open(s, db, {"frmCodigo_cmdConsulta"}));
    {
        // Without the change right the failing script is not opened.
        Seen seen;
        closeNextModal(this, seen);
        frmCodigo::corregir(s.services.scriptServices(), s.prompter, s.permisos,
                            QStringLiteral("OnTicketPrint"), QStringLiteral("Error"), 2);
        QCOMPARE(seen.title, QString());
        QVERIFY(s.prompter.texts().isEmpty());
        QTest::qWait(0); // let the timer go by before the next case
    }
    s.grant({"frmCodigo_cmdCambio"});
    Seen seen;
    closeNextModal(this, seen);
    frmCodigo::corregir(s.services.scriptServices(), s.prompter, s.permisos, QStringLiteral("OnTicketPrint"),
                        QStringLiteral("Type mismatch (line 2)"), 2);
    QCOMPARE(seen.title, QStringLiteral("Cambio de Codigo"));
    QCOMPARE(seen.error, QStringLiteral("Type mismatch (line 2)"));
    QCOMPARE(seen.line, 1);
}

using Kind = VbsHighlighter::Kind;
Q_DECLARE_METATYPE(VbsHighlighter::Kind)

void tst_CodigoVentana::resaltado_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("at"); // the first occurrence of this text
    QTest::addColumn<Kind>("kind");
    QTest::newRow("palabra clave") << "Dim x"
                                   << "Dim" << Kind::Keyword;
    QTest::newRow("palabra clave en minusculas") << "end if"
                                                 << "if" << Kind::Keyword;
    QTest::newRow("objeto") << "xApp.msgBar \"x\""
                            << "xApp" << Kind::Object;
    QTest::newRow("miembro sin color") << "xApp.msgBar \"x\""
                                       << "msgBar" << Kind::Plain;
    QTest::newRow("apostrofo dentro de texto") << "s = \"It's\" ' nota"
                                               << "'s" << Kind::String;
    QTest::newRow("comentario tras el texto") << "s = \"It's\" ' nota"
                                              << "nota" << Kind::Comment;
    QTest::newRow("comillas dobladas") << "s = \"a \"\" Then\""
                                       << "Then" << Kind::String;
    QTest::newRow("texto sin cerrar") << "s = \"If abierto"
                                      << "abierto" << Kind::String;
    QTest::newRow("comillas dentro de comentario") << "' dice \"If\""
                                                   << "If" << Kind::Comment;
    QTest::newRow("Rem al inicio") << "  Rem If nota"
                                   << "If" << Kind::Comment;
    QTest::newRow("Rem tras dos puntos") << "x = 1 : Rem nota"
                                         << "nota" << Kind::Comment;
    QTest::newRow("nombre que empieza con Rem") << "Remate = 1"
                                                << "Remate" << Kind::Plain;
    QTest::newRow("Rem dentro de una linea") << "x = Rem"
                                             << "Rem" << Kind::Plain;
    QTest::newRow("hexadecimal") << "n = &H1F + 2.5"
                                 << "&H1F" << Kind::Number;
    QTest::newRow("decimal") << "n = &H1F + 2.5"
                             << "2.5" << Kind::Number;
    QTest::newRow("digito de un nombre") << "v1 = 3"
                                         << "1" << Kind::Plain;
    QTest::newRow("palabra clave dentro de un nombre") << "EndIfs = 1"
                                                       << "If" << Kind::Plain;
}

void tst_CodigoVentana::resaltado()
{
    QFETCH(QString, line);
    QFETCH(QString, at);
    QFETCH(Kind, kind);
    QTextDocument document;
    VbsHighlighter highlighter(&document);
    highlighter.setObjectNames({QStringLiteral("xApp"), QStringLiteral("cn")});
    document.setPlainText(line);
    highlighter.rehighlight(); // a new highlighter's first pass is otherwise left to the event loop
    const int position = int(line.indexOf(at));
    QVERIFY(position >= 0);
    for (int i = position; i < position + at.size(); ++i)
        QCOMPARE(highlighter.kindAt(document.firstBlock(), i), kind);
}

// Historial... lists who changed the script, newest first, and shows the text before and after
// the chosen change.
void tst_CodigoVentana::historial()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    CodigoSession s;
    QVERIFY(open(s, db, kCodigoRights));
    db.connection().execute(QStringLiteral("update tCodigo set codigo_Text = ? where codigo_Clave = ?"),
                            {QStringLiteral("x = 2"), kTicket.clave});
    frmCodigo window(s.services.scriptServices(), s.prompter, s.permisos, QStringLiteral("C"), kTicket.clave);
    int filas = -1;
    QStringList operaciones;
    QString antes, despues;
    QTimer::singleShot(0, &window, [&] {
        QWidget *w = QApplication::activeModalWidget();
        QVERIFY(w);
        QCOMPARE(w->objectName(), QStringLiteral("frmCodigoHistorial"));
        auto *lista = w->findChild<QTableWidget *>(QStringLiteral("lvwCambios"));
        QVERIFY(lista);
        filas = lista->rowCount();
        for (int r = 0; r < filas; ++r)
            operaciones << lista->item(r, 1)->text();
        const int cambio = int(operaciones.indexOf(QStringLiteral("Cambio")));
        lista->setCurrentCell(cambio, 0);
        const QList<QPlainTextEdit *> textos = w->findChildren<QPlainTextEdit *>();
        QCOMPARE(textos.size(), 2);
        antes = textos.at(0)->toPlainText();
        despues = textos.at(1)->toPlainText();
        static_cast<QDialog *>(w)->accept();
    });
    QTest::mouseClick(child<QPushButton>(window, "cmdHistorial"), Qt::LeftButton);
    // The row was added by the fixture and changed by plain SQL: both are in the trail.
    QCOMPARE(filas, 2);
    QVERIFY2(operaciones.contains(QStringLiteral("Alta")) && operaciones.contains(QStringLiteral("Cambio")),
             qPrintable(operaciones.join(u',')));
    // The two texts of the chosen change: one before (the fixture's text), one after (x = 2).
    QVERIFY2(antes.contains(QStringLiteral("x = 2")) != despues.contains(QStringLiteral("x = 2")),
             qPrintable(antes + u'|' + despues));
    QVERIFY(antes.contains(QStringLiteral("msgBar")) != despues.contains(QStringLiteral("msgBar")));
}

QTEST_MAIN(tst_CodigoVentana)
#include "tst_codigo_ventana.moc"
