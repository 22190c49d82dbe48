#include "MenuTree.h"

#include <QSet>
#include <QTest>

class tst_Menu : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void namedEntryExistsOnce_data();
    void namedEntryExistsOnce();
    void namesAreUniqueAndParentsComeFirst();
    void commandsOpenTheirWindows_data();
    void commandsOpenTheirWindows();
    void rightsPaths_data();
    void rightsPaths();
    void nodesCoverEveryEntryWithSiblingOrder();
    void plainCaption_data();
    void plainCaption();
    void reportsMenuHasOnlyItsAnchor();
};

void tst_Menu::namedEntryExistsOnce_data()
{
    QTest::addColumn<QString>("name");
    // Every entry other parts of the program name: rights, permissions and windows key on them.
    const char *names[] = {
        "mnuAlmacen_Compras", "mnuAlmacen_Inv", "mnuAlmacen_MovAlm", "mnuAlmacen_Pedido",
        "mnuAlmacen_RecepMerc", "mnuArchivo_Impresoras", "mnuArchivo_Salir", "mnuArchivo_Usuario",
        "mnuAsistencia_Registro", "mnuCaja_Corte", "mnuCatalogo_Almacen", "mnuCatalogo_Proveedores",
        "mnuCatalogo_Secuencia", "mnuConsultorioCat_TipoDoc", "mnuConsultorioCat_TipoPaciente",
        "mnuConsultorio_Pacientes", "mnuConsultorio_Recetas", "mnuConta_Comision", "mnuConta_CtasXCobrar",
        "mnuConta_CtasXPagar", "mnuConta_Facturacion", "mnuConta_Tesoreria", "mnuInter_Articulo",
        "mnuInter_Movimientos", "mnuInter_Transferencia", "mnuProceso_EDI", "mnuProceso_ModMasLista",
        "mnuReporte", "mnuReporte_Reportes", "mnuSeguridad_Mod", "mnuSeguridad_Perfil",
        "mnuSeguridad_Usuarios", "mnuSistema_Codigo", "mnuSistema_Configuracion", "mnuSistema_Consulta",
        "mnuSistema_EDI_Destino", "mnuSistema_EDI_LayOut", "mnuSistema_EDI_Origen", "mnuSistema_Imagenes",
        "mnuSistema_Parametros", "mnuSistema_Reportes", "mnuSistema_Terminales", "mnuVentas_Consulta",
        "mnuVentas_Dev", "mnuVentas_Ventas",
        // top-level menus and submenus
        "mnuArchivo", "mnuCatalogo", "mnuVentas", "mnuCaja", "mnuAlmacen", "mnuInter", "mnuProceso",
        "mnuConta", "mnuConsultorio", "mnuConsultorioCat", "mnuSeguridad", "mnuSistema", "mnuSistema_EDI",
        "mnuAsistencia"};
    for (const char *n : names)
        QTest::newRow(n) << QString::fromLatin1(n);
}

void tst_Menu::namedEntryExistsOnce()
{
    QFETCH(QString, name);
    int count = 0;
    for (const auto &e : MenuTree::entries())
        count += e.name == name;
    QCOMPARE(count, 1);
    // Names are exact: module keys are compared as text.
    QVERIFY(!MenuTree::find(name.toLower()) || name == name.toLower());
}

void tst_Menu::namesAreUniqueAndParentsComeFirst()
{
    QSet<QString> seen;
    for (const auto &e : MenuTree::entries()) {
        QVERIFY2(!seen.contains(e.name), qPrintable(e.name));
        QVERIFY2(e.name.startsWith(QLatin1String("mnu")), qPrintable(e.name));
        if (!e.parent.isEmpty()) {
            QVERIFY2(seen.contains(e.parent), qPrintable(e.name + " before its parent"));
            QVERIFY(MenuTree::find(e.parent)->isMenu());
            // A child carries its parent's name as prefix, so module keys read as a path.
            QVERIFY2(e.name.startsWith(e.parent), qPrintable(e.name));
        }
        QVERIFY2(!e.plainCaption().isEmpty(), qPrintable(e.name));
        seen.insert(e.name);
    }
    QCOMPARE(MenuTree::topLevel().size(), 13);
    QCOMPARE(MenuTree::topLevel().first()->name, QStringLiteral("mnuArchivo"));
    QCOMPARE(MenuTree::topLevel().last()->name, QStringLiteral("mnuAsistencia"));
}

void tst_Menu::commandsOpenTheirWindows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("opens");
    const char *pairs[][2] = {
        {"mnuAlmacen_Compras", "frmFaltantes"},
        {"mnuAlmacen_Inv", "frmInventario"},
        {"mnuAlmacen_MovAlm", "frmMovAlmCon"},
        {"mnuAlmacen_Pedido", "frmPedidoCon"},
        {"mnuAlmacen_RecepMerc", "frmRecepcionCon"},
        {"mnuArchivo_Impresoras", "frmImpresora"},
        {"mnuAsistencia_Registro", "frmRegistro"},
        {"mnuVentas_Consulta", "frmVentaCon"},
        {"mnuVentas_Dev", "frmDevoluciones"},
        {"mnuConsultorio_Recetas", "frmRecetaCon"},
        {"mnuConta_Comision", "frmComisionCon"},
        {"mnuConta_CtasXCobrar", "frmCtasXCobrar"},
        {"mnuConta_CtasXPagar", "frmCtasXPagar"},
        {"mnuConta_Facturacion", "frmFacturacion"},
        {"mnuConta_Tesoreria", "frmTesoreria"},
        {"mnuInter_Articulo", "frmInterConsultaArt"},
        {"mnuInter_Movimientos", "frmMovAlmDet"},
        {"mnuInter_Transferencia", "frmTransferenciaCon"},
        {"mnuProceso_EDI", "frmEDI"},
        {"mnuProceso_ModMasLista", "frmModMasivaLista"},
        {"mnuSistema_Configuracion", "frmConfig"},
        {"mnuSeguridad_Mod", "frmModuloCon"},
    };
    for (const auto &p : pairs)
        QTest::newRow(p[0]) << QString::fromLatin1(p[0]) << QString::fromLatin1(p[1]);
}

void tst_Menu::commandsOpenTheirWindows()
{
    QFETCH(QString, name);
    QFETCH(QString, opens);
    const MenuEntry *e = MenuTree::find(name);
    QVERIFY(e);
    QCOMPARE(e->opens, opens);
    QVERIFY(!e->catalogue.isValid());
}

void tst_Menu::rightsPaths_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("top-level menu") << "mnuArchivo"
                                    << "ZEV.mnuArchivo";
    QTest::newRow("catalogue command") << "mnuCatalogo_Almacen"
                                       << "ZEV.mnuCatalogo.mnuCatalogo_Almacen";
    QTest::newRow("submenu command") << "mnuSistema_EDI_LayOut"
                                     << "ZEV.mnuSistema.mnuSistema_EDI.mnuSistema_EDI_LayOut";
    QTest::newRow("consultorio catalogue")
        << "mnuConsultorioCat_TipoDoc"
        << "ZEV.mnuConsultorio.mnuConsultorioCat.mnuConsultorioCat_TipoDoc";
    QTest::newRow("reports hang under ZEV.mnuReporte") << "mnuReporte_Reportes"
                                                       << "ZEV.mnuReporte.mnuReporte_Reportes";
    QTest::newRow("unknown name has no path") << "mnuNoExiste"
                                              << "";
}

void tst_Menu::rightsPaths()
{
    QFETCH(QString, name);
    QFETCH(QString, path);
    QCOMPARE(MenuTree::pathOf(name), path);
}

void tst_Menu::nodesCoverEveryEntryWithSiblingOrder()
{
    const QList<MenuNode> nodes = MenuTree::nodes();
    QCOMPARE(nodes.size(), MenuTree::entries().size());
    QHash<QString, QList<int>> sequences;
    QSet<QString> keys;
    for (const MenuNode &n : nodes) {
        // The parent's path plus the own key: what a rights row stores in mod_Arbol.
        const QString parentPath =
            n.parent == QLatin1String("ZEV") ? QStringLiteral("ZEV") : MenuTree::pathOf(n.parent);
        QCOMPARE(n.path, parentPath + '.' + n.key);
        QVERIFY2(n.parent == QLatin1String("ZEV") || keys.contains(n.parent), qPrintable(n.key));
        QVERIFY(!n.name.contains('&'));
        sequences[n.parent] << n.sequence;
        keys.insert(n.key);
    }
    for (auto it = sequences.cbegin(); it != sequences.cend(); ++it)
        for (int i = 0; i < it->size(); ++i)
            QCOMPARE(it->at(i), i + 1);
    QCOMPARE(sequences.value(QStringLiteral("ZEV")).size(), 13);
}

void tst_Menu::plainCaption_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("plain");
    QTest::newRow("mnemonic first") << "&Archivo"
                                    << "Archivo";
    QTest::newRow("mnemonic inside") << "Catalo&gos"
                                     << "Catalogos";
    QTest::newRow("literal ampersand") << "Cobros && Pagos"
                                       << "Cobros & Pagos";
    QTest::newRow("no mnemonic") << "Tipo de Movimiento de Almacen"
                                 << "Tipo de Movimiento de Almacen";
    QTest::newRow("trailing ampersand") << "Fin&"
                                        << "Fin";
}

void tst_Menu::plainCaption()
{
    QFETCH(QString, caption);
    QFETCH(QString, plain);
    MenuEntry e;
    e.caption = caption;
    QCOMPARE(e.plainCaption(), plain);
}

void tst_Menu::reportsMenuHasOnlyItsAnchor()
{
    const auto children = MenuTree::children(QStringLiteral("mnuReporte"));
    QCOMPARE(children.size(), 1);
    QCOMPARE(children.first()->name, QStringLiteral("mnuReporte_Reportes"));
    QCOMPARE(children.first()->kind, MenuEntry::Kind::Placeholder);
}

QTEST_GUILESS_MAIN(tst_Menu)
#include "tst_menu.moc"
