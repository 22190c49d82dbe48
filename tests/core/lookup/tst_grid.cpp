#include "ConnectionProvider.h"
#include "GridExport.h"
#include "GridLayout.h"
#include "GridSearch.h"
#include "GridView.h"
#include "ScriptedPrompter.h"
#include "SettingsStore.h"
#include "cAplication.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QHeaderView>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

class tst_Grid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void layoutRoundTrip();
    void layoutWaitsForWrite_data();
    void layoutWaitsForWrite();
    void layoutKeysAsStored();
    void exportText_data();
    void exportText();
    void exportToNewFile();
    void exportOverwrite_data();
    void exportOverwrite();
    void quickExport();
    void search_data();
    void search();
    void viewLayoutRoundTrip();
    void viewSearchSelectsRow();

private:
    static std::unique_ptr<QStandardItemModel> articles();
    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_settings;
};

std::unique_ptr<QStandardItemModel> tst_Grid::articles()
{
    auto m = std::make_unique<QStandardItemModel>(0, 3);
    m->setHorizontalHeaderLabels({"Clave", "Descripción", "Precio"});
    const char *rows[][3] = {{"A001", "Aspirina 500 mg", "35.50"},
                             {"B002", "Bolsa, chica", "1.00"},
                             {"C003", "Crema \"Nivea\"", "89.90"}};
    for (const auto &r : rows)
        m->appendRow({new QStandardItem(QString::fromUtf8(r[0])), new QStandardItem(QString::fromUtf8(r[1])),
                      new QStandardItem(QString::fromUtf8(r[2]))});
    return m;
}

void tst_Grid::init()
{
    QVERIFY(m_dir.isValid());
    QFile::remove(m_dir.filePath("settings.ini"));
    m_settings = std::make_unique<SettingsStore>(m_dir.filePath("settings.ini"));
}

void tst_Grid::layoutRoundTrip()
{
    const QList<GridColumn> cols{{80, 1, "Clave"}, {250, 0, "Descripción"}, {0, 2, ""}};
    GridLayout::save(*m_settings, "frmVentaCon", "grdData", cols);
    const auto back = GridLayout::load(*m_settings, "frmVentaCon", "grdData");
    QVERIFY(back);
    QCOMPARE(*back, cols);
    // Another grid of the same window is a separate section.
    QVERIFY(!GridLayout::load(*m_settings, "frmVentaCon", "grdDetalle"));
}

void tst_Grid::layoutWaitsForWrite_data()
{
    QTest::addColumn<QString>("write"); // "" = key absent
    QTest::addColumn<bool>("applied");
    QTest::newRow("never stored: default NO") << "" << false;
    QTest::newRow("write NO") << "NO" << false;
    QTest::newRow("write SI") << "SI" << true;
    QTest::newRow("write si by hand") << "si" << true;
}

void tst_Grid::layoutWaitsForWrite()
{
    QFETCH(QString, write);
    QFETCH(bool, applied);
    GridLayout::save(*m_settings, "frmArticulo", "grdPrecios", {{60, 0, "Lista"}});
    if (write.isEmpty())
        m_settings->deleteSetting("frmArticulo-grdPrecios", "write");
    else
        m_settings->saveSetting("frmArticulo-grdPrecios", "write", write);
    QCOMPARE(GridLayout::load(*m_settings, "frmArticulo", "grdPrecios").has_value(), applied);
}

void tst_Grid::layoutKeysAsStored()
{
    GridLayout::save(*m_settings, "frmCorte", "grdPagos", {{120, 1, "Forma"}, {90, 0, "Importe"}});
    const QString s = "frmCorte-grdPagos";
    QCOMPARE(m_settings->getSetting(s, "load"), QStringLiteral("SI"));
    QCOMPARE(m_settings->getSetting(s, "Columns"), QStringLiteral("2"));
    QCOMPARE(m_settings->getSetting(s, "Column_0_Width"), QStringLiteral("120"));
    QCOMPARE(m_settings->getSetting(s, "Column_0_Order"), QStringLiteral("1"));
    QCOMPARE(m_settings->getSetting(s, "Column_1_Header"), QStringLiteral("Importe"));
    QCOMPARE(m_settings->getSetting(s, "write"), QStringLiteral("SI"));

    // Damaged by hand: the designed layout stays.
    m_settings->saveSetting(s, "Column_1_Order", "7");
    QVERIFY(!GridLayout::load(*m_settings, "frmCorte", "grdPagos"));
    m_settings->saveSetting(s, "Column_1_Order", "0");
    m_settings->saveSetting(s, "Columns", "dos");
    QVERIFY(!GridLayout::load(*m_settings, "frmCorte", "grdPagos"));
}

void tst_Grid::exportText_data()
{
    QTest::addColumn<QList<int>>("columns");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all columns")
        << QList<int>{}
        << "Clave,Descripción,Precio\r\nA001,Aspirina 500 mg,35.50\r\nB002,\"Bolsa, chica\",1.00\r\n"
           "C003,\"Crema \"\"Nivea\"\"\",89.90\r\n";
    QTest::newRow("screen order, one hidden")
        << QList<int>{2, 0} << "Precio,Clave\r\n35.50,A001\r\n1.00,B002\r\n89.90,C003\r\n";
}

void tst_Grid::exportText()
{
    QFETCH(QList<int>, columns);
    QFETCH(QString, expected);
    auto model = articles();
    QCOMPARE(GridExport::toText(*model, columns), expected);

    QStandardItemModel empty(0, 2);
    empty.setHorizontalHeaderLabels({"A", "B"});
    QCOMPARE(GridExport::toText(empty), QStringLiteral("A,B\r\n"));
}

void tst_Grid::exportToNewFile()
{
    auto model = articles();
    ScriptedPrompter prompter;
    const QString file = m_dir.filePath("nuevo.csv");
    QVERIFY(GridExport::exportToFile(*model, file, prompter));
    QVERIFY(prompter.shown.isEmpty()); // nothing to ask about a new file
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()), GridExport::toText(*model));
}

void tst_Grid::exportOverwrite_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("yes replaces") << true;
    QTest::newRow("no leaves the file alone") << false;
}

void tst_Grid::exportOverwrite()
{
    QFETCH(bool, answer);
    auto model = articles();
    const QString file = m_dir.filePath("existe.csv");
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("contenido anterior");
    }
    ScriptedPrompter prompter;
    prompter.answers << answer;
    QCOMPARE(GridExport::exportToFile(*model, file, prompter), answer);
    QCOMPARE(prompter.texts(), QStringList{"El archivo ya existe, desea sobreescribirlo"});
    QCOMPARE(prompter.shown.first().defaultYes, false);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), answer ? GridExport::toText(*model).toUtf8() : QByteArray("contenido anterior"));
}

void tst_Grid::quickExport()
{
    auto model = articles();
    ScriptedPrompter prompter;
    FixedConnectionProvider none(nullptr);
    cAplication app(none, prompter);
    QStringList opened;
    app.setShellRunner([&](const QString &program, const QStringList &args, bool) {
        opened << program + ' ' + args.join(' ');
        return 0;
    });
    QSignalSpy status(&app, &cAplication::statusMessage);
    const QString file = GridExport::quickExport(*model, app, "txt");
    QVERIFY(!file.isEmpty());
    QCOMPARE(status.size(), 1);
    QCOMPARE(status.first().first().toString(), QStringLiteral("Exportando"));
    QVERIFY2(QFileInfo(file).fileName().startsWith("zevexp"), qPrintable(file));
    QCOMPARE(QFileInfo(file).suffix(), QStringLiteral("txt"));
    QCOMPARE(QFileInfo(file).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    QCOMPARE(opened, QStringList{"xdg-open " + QFileInfo(file).absoluteFilePath()});
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()), GridExport::toText(*model));
    QVERIFY(prompter.shown.isEmpty());
    f.remove();
}

void tst_Grid::search_data()
{
    QTest::addColumn<QStringList>("inputs"); // empty: the user cancels
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("messages");
    const QString notFound = "No se encontro el elemento deseado";
    QTest::newRow("key") << QStringList{"B002"} << 1 << QStringList();
    QTest::newRow("part of a description, other case") << QStringList{"nivea"} << 2 << QStringList();
    QTest::newRow("first of several matches") << QStringList{"0"} << 0 << QStringList();
    QTest::newRow("no match") << QStringList{"Paracetamol"} << -1 << QStringList{notFound};
    QTest::newRow("cancelled: no message") << QStringList() << -1 << QStringList();
    QTest::newRow("blank: no message") << QStringList{"   "} << -1 << QStringList();
}

void tst_Grid::search()
{
    QFETCH(QStringList, inputs);
    QFETCH(int, row);
    QFETCH(QStringList, messages);
    auto model = articles();
    ScriptedPrompter prompter;
    for (const auto &i : inputs)
        prompter.inputs << i;
    QCOMPARE(GridSearch::buscar(*model, prompter), row);
    QCOMPARE(prompter.shown.first().title, QStringLiteral("Buscar Por"));
    QCOMPARE(prompter.texts().mid(1), messages);
}

void tst_Grid::viewLayoutRoundTrip()
{
    auto model = articles();
    QAbstractItemModelTester tester(model.get());
    QTableView view;
    view.setObjectName("grdArticulos");
    view.setModel(model.get());
    view.horizontalHeader()->resizeSection(1, 211);
    view.horizontalHeader()->moveSection(2, 0); // Precio first on screen
    GridView::saveLayout(*m_settings, "frmArticuloCon", view);

    QTableView fresh;
    fresh.setObjectName("grdArticulos");
    auto model2 = articles();
    fresh.setModel(model2.get());
    QVERIFY(GridView::loadLayout(*m_settings, "frmArticuloCon", fresh));
    QCOMPARE(fresh.horizontalHeader()->sectionSize(1), 211);
    QCOMPARE(fresh.horizontalHeader()->logicalIndex(0), 2);
    QCOMPARE(GridView::captureLayout(fresh), GridView::captureLayout(view));
    QCOMPARE(GridView::visibleColumns(fresh), (QList<int>{2, 0, 1}));

    m_settings->saveSetting("frmArticuloCon-grdArticulos", "write", "NO");
    QTableView designed;
    designed.setObjectName("grdArticulos");
    designed.setModel(model2.get());
    const int before = designed.horizontalHeader()->sectionSize(1);
    QVERIFY(!GridView::loadLayout(*m_settings, "frmArticuloCon", designed));
    QCOMPARE(designed.horizontalHeader()->sectionSize(1), before);
}

void tst_Grid::viewSearchSelectsRow()
{
    auto model = articles();
    QTableView view;
    view.setModel(model.get());
    view.setColumnHidden(1, true); // what the user cannot see is not searched
    ScriptedPrompter prompter;
    prompter.inputs << "Aspirina"
                    << "C003";
    QVERIFY(!GridView::search(view, prompter));
    QCOMPARE(prompter.last(), QStringLiteral("No se encontro el elemento deseado"));
    QVERIFY(GridView::search(view, prompter));
    QCOMPARE(view.currentIndex().row(), 2);
    QVERIFY(view.selectionModel()->isRowSelected(2, {}));
}

QTEST_MAIN(tst_Grid)
#include "tst_grid.moc"
