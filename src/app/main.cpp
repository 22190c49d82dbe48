// The desktop program: creates the process-wide services, connects, shows the splash, the login
// and then the main window. Everything here is wiring; the order and the rules live in src/core.
#include "AjustePantalla.h"
#include "AppServices.h"
#include "CatalogoWindows.h"
#include "ConnectionCatalog.h"
#include "ConnectionManager.h"
#include "FingerprintSimulated.h"
#include "LoginController.h"
#include "LoginWarehouse.h"
#include "MainWindowController.h"
#include "IconoPrograma.h"
#include "MessageBoxPrompter.h"
#include "Corte.h"
#include "Permisos.h"
#include "PermisosMenu.h"
#include "Startup.h"
#include "Traducciones.h"
#include "cAplication.h"
#include "cCode.h"
#include "cConfigure.h"
#include "cArticulo.h"
#include "cCliente.h"
#include "cProveedor.h"
#include "cVenta.h"
#include "cObjectFactory.h"
#include "CatalogoReportes.h"
#include "ReportFactory.h"
#include "RegistroReportes.h"
#include "ServiciosReporte.h"
#include "cReporte.h"
#include "easyReport.h"
#include "frmReporte.h"
#include "frmerReport.h"
#include "frmArticulo.h"
#include "frmCambioPrecio.h"
#include "frmCliente.h"
#include "frmCodigo.h"
#include "frmConfig.h"
#include "frmConsultaSQL.h"
#include "frmCtasXCobrar.h"
#include "CorteCierre.h"
#include "ImpresionCaja.h"
#include "ImpresionTicket.h"
#include "cCorte.h"
#include "cMovCaja.h"
#include "frmCorteFin.h"
#include "frmImpresora.h"
#include "frmVistaPrevia.h"
#include "ImpresoraSistemaQt.h"
#include "cTicketPrinter.h"
#include "frmInventario.h"
#include "frmLogin.h"
#include "frmModuloCon.h"
#include "frmProveedor.h"
#include "frmMovAlmCon.h"
#include "frmMovAlmDet.h"
#include "frmODBCLogon.h"
#include "frmPsw.h"
#include "frmSelAlmacen.h"
#include "frmSplash.h"
#include "frmTipoCliente.h"
#include "frmVenta.h"
#include "mdiMain.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QPointer>
#include <QRegularExpression>
#include <QShortcut>
#include <QStandardPaths>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mostrador"));
    QApplication::setOrganizationName(QStringLiteral("Mostrador"));
    QApplication::setApplicationVersion(QStringLiteral(MOSTRADOR_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(iconoPrograma());
    QGuiApplication::setDesktopFileName(QStringLiteral("mostrador"));
    cargaTraducciones(application);
    application.installEventFilter(new AjustePantalla(&application));

    MessageBoxPrompter prompter;
    AppServices services(prompter);
    services.connection().setRestoreCursor([] {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    });

    std::unique_ptr<MainWindowController> controller;
    QPointer<mdiMain> mainWindow;
    QPointer<frmSplash> splash;

    Startup::Hooks hooks;
    hooks.runConnectionDialog = [&]() -> std::optional<QString> {
        frmODBCLogon dialog(services.catalog(), prompter);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.connectionString();
    };
    // Scripts read articles with xFactory.create("newcArticulo"); a store's own price methods run
    // their formula in the event-script host.
    CalculoPrecio calculoPrecio(&services.code());
    services.factory().registerClass(QStringLiteral("newcArticulo"), [&] {
        return new cArticulo(services.connection(), prompter, calculoPrecio);
    });
    registraScriptsClientes(services.factory(), services.connection());
    registraScriptsVenta(services.factory());
    registraScriptsCorte(services.factory(), services.connection(), services.config());
    registraScriptsProveedores(services.factory(), services.connection());
    registraObjetosReporte(services.factory());
    registraReportes(services.factory());
    // The receipt printer, reachable by scripts as "xTicketPrinter" before the first one runs.
    cTicketPrinter impresora(services.connection(), services.config(), services.string());
    ImpresoraSistemaQt impresoraSistema;
    impresora.setImpresoraSistema(&impresoraSistema);
    frmVistaPrevia vistaPrevia;
    impresora.setVistaPreviaPrograma(&vistaPrevia);
    services.setTicketPrinter(&impresora);
    // Event scripts: Echo output goes to the log; a failing script never stops the caller.
    hooks.runEventScript = [&](const char *key) { services.code().runEvent(QString::fromLatin1(key)); };
    hooks.quit = [&] {
        if (mainWindow)
            mainWindow->unload();
        QApplication::quit();
    };
    std::unique_ptr<Startup> startup;

    // The reader is chosen with MOSTRADOR_LECTOR_HUELLA ("simulado" by default).
    FingerprintReader *reader =
        FingerprintReader::create(qEnvironmentVariable("MOSTRADOR_LECTOR_HUELLA"), &application);
    Permisos permisos(services.connection(), services.config());
    // A failing script opens in the editor, on its error line, for users who may change scripts.
    // Everyone else only sees a note in the status bar; the detail is in the log.
    services.code().setOnScriptError([&](const QString &clave, const QString &text) {
        if (mainWindow)
            mainWindow->showMessage(QStringLiteral("El script ") + clave +
                                    QStringLiteral(" no terminó; el detalle quedó en la bitácora"));
        frmCodigo::corregir(services.scriptServices(), services.prompter(), permisos, clave, text,
                            services.code().lastErrorLine(), QApplication::activeWindow());
    });
    LoginController::Hooks loginHooks;
    loginHooks.databaseCurrent = [&] { return services.connection().databaseCurrent(); };
    loginHooks.selectedConnection = [&] { return services.catalog().selected(); };
    loginHooks.askPassword = [&] { return frmPsw::ask(QApplication::activeWindow()); };
    loginHooks.connectionDialog = [&] { return startup->showConnectionDialog(); };
    LoginController login(services.connection(), services.config(), services.app(), prompter, loginHooks,
                          reader);
    // frmLogin, modal; the change of user keeps the workstation's terminal.
    auto runLogin = [&](bool terminalList) {
        frmLogin dialog(login, qobject_cast<FingerprintSimulated *>(reader), mainWindow);
        dialog.setTerminalListEnabled(terminalList);
        dialog.exec();
        return login.loginOk();
    };

    CatalogoWindows catalogos(services.connection(), services.config(), permisos, prompter);
    // Stored reports: the run window asks for the parameters, the report shows in its preview.
    // The Reportes menu, scripts (xFactory.newcReporte) and other windows all come through here.
    auto ejecutaReporte = [&](const QString &tipo, const QList<cReporte::Valor> &valores, bool automatico,
                              const QString &clave) {
        CatalogoReportes catalogo(services.connection(), services.config(), prompter);
        bool corrio = false;
        frmReporte ventana(
            catalogo,
            [&](const QString &repClave, const QString &programa, const QList<ValorParametro> &parametros) {
                easyReport reporte(serviciosReporte(services, &prompter));
                frmerReport visor(reporte, prompter, rutaImagen(services), QApplication::activeWindow());
                QList<frmerReport::Parametro> lista;
                for (const ValorParametro &v : parametros)
                    lista.append({v.clave, v.valor, v.valorExtra, v.tipoDato});
                if (catalogo.reporte())
                    visor.setWindowTitle(catalogo.reporte()->nombre);
                else
                    visor.setWindowTitle(repClave);
                if (visor.cargaReporteParametros(programa, lista)) {
                    corrio = true;
                    visor.exec();
                }
            },
            QApplication::activeWindow());
        if (ventana.init(tipo, valores, automatico, clave))
            return true;
        ventana.exec();
        return corrio;
    };
    cReporte::setEjecutor([&](const cReporte &r) {
        return ejecutaReporte(r.tipo(), r.parametros(), r.autoImpresion(), r.reporte());
    });
    auto showMainWindow = [&] {
        MainWindowController::Hooks mainHooks;
        mainHooks.selectedConnection = [&] { return services.catalog().selected(); };
        mainHooks.user = [&] { return services.config().getValue(QStringLiteral("USUARIO")).toString(); };
        mainHooks.warehouse = [&] {
            return services.config().getValue(QStringLiteral("ALMACEN")).toString();
        };
        mainHooks.terminateProgram = [&] { startup->terminateProgram(); };
        mainHooks.runEventScript = [&](const QString &key) { services.code().runEvent(key); };
        mainHooks.changeUser = [&] { return runLogin(false); };
        mainHooks.selectWarehouse = [&] {
            LoginWarehouse rules(services.connection(), services.config(), services.app(), prompter);
            frmSelAlmacen dialog(rules, mainWindow);
            dialog.exec();
        };
        mainHooks.buildReportsMenu = [&] {
            if (mainWindow)
                PermisosMenu::buildReportsMenu(*mainWindow, permisos, [&](const QString &modulo) {
                    ejecutaReporte({}, {}, false, CatalogoReportes::claveDeMenu(modulo));
                });
        };
        mainHooks.applyMenuPermissions = [&] {
            if (mainWindow)
                PermisosMenu::applyMenuPermissions(*mainWindow, permisos);
        };
        controller = std::make_unique<MainWindowController>(prompter, mainHooks);
        mainWindow = new mdiMain(*controller);
        // Ctrl+Pausa stops an event script that keeps the windows answering (xApp.execDoEvents);
        // every run also ends at CODIGO-LIMITE-SEGUNDOS.
        auto *detener = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Pause), mainWindow);
        detener->setContext(Qt::ApplicationShortcut);
        QObject::connect(detener, &QShortcut::activated, &services.code(),
                         [&services] { services.code().cancel(); });
        mainWindow->setAttribute(Qt::WA_DeleteOnClose);
        prompter.setParent(mainWindow);
        QObject::connect(&services.app(), &cAplication::statusMessage, mainWindow, &mdiMain::showMessage);

        mainWindow->setCommand(QStringLiteral("mnuSistema_Configuracion"), [&] {
            mainWindow->addWindow(new frmConfig(services.config(), prompter), QSize(860, 520));
        });
        // Catalogue entries open their lookup; those without one stay disabled.
        catalogos.setReapplyPermissions([&] {
            if (mainWindow)
                PermisosMenu::applyMenuPermissions(*mainWindow, permisos);
        });
        catalogos.registraVentana(QStringLiteral("frmCodigo"),
                                  [&](const QString &, QChar command, const QString &clave) {
                                      return frmCodigo::abrir(services.scriptServices(), services.prompter(),
                                                              permisos, command, clave, mainWindow);
                                  });
        catalogos.registraVentana(
            QStringLiteral("frmConsultaSQL"), [&](const QString &, QChar command, const QString &clave) {
                return frmConsultaSQL::abrir({services.connection(), services.config(), prompter}, command,
                                             clave, mainWindow);
            });
        catalogos.registraVentana(QStringLiteral("frmCambioPrecio"),
                                  [&](const QString &, QChar command, const QString &clave) {
                                      return frmCambioPrecio::abrir(services.connection(), permisos, prompter,
                                                                    command, clave, mainWindow);
                                  });
        catalogos.registraVentana(QStringLiteral("frmTipoCliente"),
                                  [&](const QString &, QChar command, const QString &clave) {
                                      return frmTipoCliente::abrir(services.connection(), permisos, prompter,
                                                                   command, clave, mainWindow);
                                  });
        catalogos.registraVentana(QStringLiteral("frmArticulo"),
                                  [&](const QString &, QChar command, const QString &clave) {
                                      return frmArticulo::abrir({services.connection(), services.config(), prompter},
                                                                calculoPrecio, command, clave, mainWindow);
                                  });
        catalogos.registraVentana(QStringLiteral("frmCliente"), [&](const QString &, QChar command,
                                                                   const QString &clave) {
            return frmCliente::abrir(services.connection(), services.config(), permisos, prompter, command, clave,
                                     catalogos.opener(mainWindow), mainWindow);
        });
        catalogos.registraVentana(QStringLiteral("frmProveedor"),
                                  [&](const QString &, QChar command, const QString &clave) {
                                      return frmProveedor::abrir(services.connection(), prompter, command, clave,
                                                                 mainWindow);
                                  });
        catalogos.conecta(*mainWindow);
        const auto lookup = [&]() -> LookupServices { return {services.connection(), services.config(), prompter}; };
        mainWindow->setCommand(QStringLiteral("mnuAlmacen_MovAlm"),
                               [&, lookup] { frmMovAlmCon::abrir(lookup(), permisos, mainWindow); });
        mainWindow->setCommand(QStringLiteral("mnuInter_Movimientos"), [&, lookup] {
            frmMovAlmDet::abrir(lookup(), permisos, mainWindow, QStringLiteral("INTERSUCURSAL"));
        });
        mainWindow->setCommand(QStringLiteral("mnuAlmacen_Inv"), [&, lookup] {
            // An article counted but not on file can be registered on the spot.
            auto registra = [&, lookup](const QString &clave) {
                return frmArticulo::abrir(lookup(), calculoPrecio, u'A', clave, mainWindow);
            };
            mainWindow->addWindow(new frmInventario(lookup(), registra), QSize(900, 480));
        });
        mainWindow->setCommand(QStringLiteral("mnuVentas_Ventas"), [&] {
            frmVenta::Servicios s{services.connection(), services.config(), prompter, permisos, calculoPrecio,
                                  &services.code(), &services.string(),
                                  // VENTA-PROMISCUA: the login before each sale
                                  [&]() -> std::optional<QString> {
                                      if (!runLogin(false))
                                          return std::nullopt;
                                      return services.config().getString(QStringLiteral("USUARIO"));
                                  }};
            // The sale being rung up survives a crash in the workstation's data folder, per terminal.
            QString terminal = services.config().getString(QStringLiteral("TERMINAL"));
            terminal.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
            s.impresora = &impresora;
            s.imprimeMovimiento = [&](const cMovCaja &m) {
                ImpresionTicket(impresora, services.config(), prompter, &services.code())
                    .imprimeMovimiento(movimientoTicketDe(m));
            };
            s.respaldo = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
                         QStringLiteral("/venta-en-curso-") + terminal + QStringLiteral(".json");
            if (frmVenta *w = frmVenta::abrir(s))
                mainWindow->addWindow(w, QSize(1200, 680));
        });
        mainWindow->setCommand(QStringLiteral("mnuArchivo_Impresoras"), [&] {
            frmImpresora w(services.config(), impresora, prompter, mainWindow);
            w.exec();
        });
        mainWindow->setCommand(QStringLiteral("mnuConta_CtasXCobrar"),
                               [&, lookup] { frmCtasXCobrar::abrir(lookup(), mainWindow); });
        // Closing a cut comes with the cash-cut report; until then the entry opens one.
        // Closes the open cut (or opens one when there is none); the report goes to the receipt printer.
        mainWindow->setCommand(QStringLiteral("mnuCaja_Corte"), [&] {
            Corte corte(services.connection(), services.config(), prompter);
            CorteCierre cierre(services.connection(), services.config(), prompter, permisos, &services.code());
            cierre.setImprime([&](const cCorte &c) {
                ImpresionTicket(impresora, services.config(), prompter, &services.code())
                    .imprimeCorte(corteTicketDe(c.resumen()));
            });
            frmCorteFin::corteDeCaja(corte, cierre, mainWindow);
            // An open sale window shows the cut its next sale goes to.
            for (frmVenta *venta : mainWindow->findChildren<frmVenta *>())
                venta->actualizaCorte();
        });
        mainWindow->setCommand(QStringLiteral("mnuSeguridad_Mod"), [&] {
            mainWindow->addWindow(new frmModuloCon(services.connection(), prompter), QSize(820, 520));
        });
        mainWindow->showMaximized();
    };

    hooks.showSplash = [&] {
        splash = new frmSplash([&] {
            if (runLogin(true))
                showMainWindow();
            else
                startup->terminateProgram();
        });
        splash->setAttribute(Qt::WA_DeleteOnClose);
        splash->show();
    };
    startup = std::make_unique<Startup>(services.config(), services.catalog(), services.connection(), hooks);

    if (!startup->Main())
        return 0;
    return application.exec();
}
