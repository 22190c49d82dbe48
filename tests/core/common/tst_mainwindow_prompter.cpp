#include "AjustePantalla.h"
#include "IconoPrograma.h"
#include "MessageBoxPrompter.h"
#include "Traducciones.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

// The desktop Prompter: what the dialogs show and what Enter and Escape answer.
class tst_MainWindowPrompter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void messageIcons_data();
    void messageIcons();
    void questionDefault_data();
    void questionDefault();
    void inputAndChoice();
    void spanishButtons();
    void detailsBehindAButton();
    void programIcon();
    void windowsFitTheScreen();

private:
    // Runs act on the next modal dialog once it is up.
    static void whenDialog(std::function<void(QWidget *)> act)
    {
        QTimer::singleShot(0, [act] {
            QWidget *w = QApplication::activeModalWidget();
            if (!w) {
                whenDialog(act);
                return;
            }
            act(w);
        });
    }
};

void tst_MainWindowPrompter::initTestCase()
{
    QVERIFY2(cargaTraducciones(*qApp), "Qt's Spanish translations are not installed");
}

// No English word of the toolkit on screen: message boxes and the standard buttons of forms.
void tst_MainWindowPrompter::spanishButtons()
{
    QStringList buttons;
    whenDialog([&](QWidget *w) {
        for (QAbstractButton *b : w->findChildren<QAbstractButton *>())
            buttons << b->text();
        qobject_cast<QDialog *>(w)->accept();
    });
    MessageBoxPrompter prompter;
    prompter.information(QStringLiteral("Listo"));
    QCOMPARE(buttons, QStringList{QStringLiteral("Aceptar")});

    QDialogButtonBox box(QDialogButtonBox::Save | QDialogButtonBox::Cancel | QDialogButtonBox::Close);
    QCOMPARE(box.button(QDialogButtonBox::Save)->text(), QStringLiteral("Guardar"));
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancelar"));
    QCOMPARE(box.button(QDialogButtonBox::Close)->text(), QStringLiteral("Cerrar"));
}

void tst_MainWindowPrompter::detailsBehindAButton()
{
    QString text, details;
    QStringList buttons;
    whenDialog([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        QVERIFY(box);
        text = box->text();
        details = box->detailedText();
        for (QAbstractButton *b : box->buttons())
            buttons << b->text();
        box->accept();
    });
    MessageBoxPrompter prompter;
    prompter.detailedMessage(Prompter::Icon::Critical, QStringLiteral("Error al abrir la conexion"),
                             QStringLiteral("connectDatabase:[0]-[could not connect]-[PostgreSQL.open]"));
    QCOMPARE(text, QStringLiteral("Error al abrir la conexion"));
    QCOMPARE(details, QStringLiteral("connectDatabase:[0]-[could not connect]-[PostgreSQL.open]"));
    buttons.sort();
    QCOMPARE(buttons, (QStringList{QStringLiteral("Aceptar"), QStringLiteral("Detalles")}));
}

// No window larger than the screen, none opened off it; inner windows stay inside the frame.
void tst_MainWindowPrompter::windowsFitTheScreen()
{
    AjustePantalla filter;
    qApp->installEventFilter(&filter);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();

    QDialog tall;
    tall.resize(available.width() + 300, available.height() + 400);
    tall.move(available.right() - 50, available.bottom() - 50);
    tall.show();
    QVERIFY(available.contains(tall.frameGeometry()));

    QWidget frame;
    frame.resize(400, 300);
    auto *area = new QMdiArea(&frame);
    area->resize(400, 300);
    frame.show();
    auto *inner = new QWidget;
    inner->resize(720, 480);
    QMdiSubWindow *sub = area->addSubWindow(inner);
    sub->resize(720, 480);
    sub->show();
    QVERIFY2(area->viewport()->rect().contains(sub->geometry()),
             qPrintable(QStringLiteral("%1x%2").arg(sub->width()).arg(sub->height())));
    qApp->removeEventFilter(&filter);
}

void tst_MainWindowPrompter::programIcon()
{
    const QIcon icon = iconoPrograma();
    QVERIFY(!icon.isNull());
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    QVERIFY(icon.availableSizes().contains(QSize(256, 256)));
    QVERIFY(!icon.pixmap(32, 32).isNull());
}

void tst_MainWindowPrompter::messageIcons_data()
{
    QTest::addColumn<Prompter::Icon>("icon");
    QTest::addColumn<QMessageBox::Icon>("shown");
    QTest::newRow("information") << Prompter::Icon::Information << QMessageBox::Information;
    QTest::newRow("exclamation") << Prompter::Icon::Exclamation << QMessageBox::Warning;
    QTest::newRow("critical") << Prompter::Icon::Critical << QMessageBox::Critical;
}

void tst_MainWindowPrompter::messageIcons()
{
    QFETCH(Prompter::Icon, icon);
    QFETCH(QMessageBox::Icon, shown);
    QMessageBox::Icon seen = QMessageBox::NoIcon;
    QString text, title;
    whenDialog([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        QVERIFY(box);
        seen = box->icon();
        text = box->text();
        title = box->windowTitle();
        box->accept();
    });
    MessageBoxPrompter prompter;
    prompter.message(icon, QStringLiteral("La clave no existe"));
    QCOMPARE(seen, shown);
    QCOMPARE(text, QStringLiteral("La clave no existe"));
    QVERIFY(!title.isEmpty()); // the program's name when the caller gives none
}

void tst_MainWindowPrompter::questionDefault_data()
{
    QTest::addColumn<bool>("defaultYes");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("answer");
    QTest::newRow("default No: Enter answers No") << false << int(Qt::Key_Return) << false;
    QTest::newRow("default Yes: Enter answers Yes") << true << int(Qt::Key_Return) << true;
    QTest::newRow("Escape is No even when Yes is the default") << true << int(Qt::Key_Escape) << false;
}

void tst_MainWindowPrompter::questionDefault()
{
    QFETCH(bool, defaultYes);
    QFETCH(int, key);
    QFETCH(bool, answer);
    whenDialog([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        QVERIFY(box);
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->windowTitle(), QStringLiteral("Salir"));
        QTest::keyClick(box, Qt::Key(key));
    });
    MessageBoxPrompter prompter;
    QCOMPARE(prompter.question(QStringLiteral("Esta usted seguro"), defaultYes, QStringLiteral("Salir")),
             answer);
}

void tst_MainWindowPrompter::inputAndChoice()
{
    MessageBoxPrompter prompter;
    whenDialog([](QWidget *w) {
        auto *dlg = qobject_cast<QInputDialog *>(w);
        QVERIFY(dlg);
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Buscar Por"));
        QCOMPARE(dlg->textValue(), QStringLiteral("previo")); // starts from the given value
        dlg->setTextValue(QStringLiteral("aspirina"));
        dlg->accept();
    });
    QString value = QStringLiteral("previo");
    QVERIFY(prompter.input(QStringLiteral("Texto"), QStringLiteral("Buscar Por"), value));
    QCOMPARE(value, QStringLiteral("aspirina"));

    whenDialog([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
    QVERIFY(!prompter.input(QStringLiteral("Texto"), QStringLiteral("Buscar Por"), value));
    QCOMPARE(value, QStringLiteral("aspirina")); // a cancel leaves the value alone

    whenDialog([](QWidget *w) {
        auto *dlg = qobject_cast<QInputDialog *>(w);
        QVERIFY(dlg);
        QCOMPARE(dlg->comboBoxItems(), (QStringList{"USUARIO", "CREDENCIAL", "HUELLA"}));
        dlg->setTextValue(QStringLiteral("HUELLA"));
        dlg->accept();
    });
    int index = 0;
    QVERIFY(prompter.choose(QStringLiteral("Modo"),
                            QStringLiteral("Indique el Modo de Validacion de su Usuario"),
                            {"USUARIO", "CREDENCIAL", "HUELLA"}, index));
    QCOMPARE(index, 2);
    QVERIFY(!prompter.choose(QStringLiteral("Modo"), QString(), {}, index)); // nothing to choose from
}

QTEST_MAIN(tst_MainWindowPrompter)
#include "tst_mainwindow_prompter.moc"
