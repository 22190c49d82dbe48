#include "Migrations.h"

#include "Connection.h"

#include <QHash>

namespace db::migrations {

namespace {

// A module of the rights tree as this migration ships it. The main menu part mirrors
// core's MenuTree at the time of writing (a test keeps the two in step); a later menu entry
// comes with a migration of its own.
struct Module {
    const char *key;
    const char *parent; // nullptr: a child of the root
    const char *name;
    const char *kind;
};

constexpr const char *kMenu = "MENU";
constexpr const char *kOption = "OPCION";
constexpr const char *kCommand = "COMANDO";

// Parents come before their children; siblings in menu order.
const Module kMenuModules[] = {
    {"mnuArchivo", nullptr, "Archivo", kMenu},
    {"mnuArchivo_Impresoras", "mnuArchivo", "Impresoras", kOption},
    {"mnuArchivo_Usuario", "mnuArchivo", "Cambiar de Usuario", kOption},
    {"mnuArchivo_Salir", "mnuArchivo", "Salir", kOption},
    {"mnuCatalogo", nullptr, "Catalogos", kMenu},
    {"mnuCatalogo_Articulos", "mnuCatalogo", "Articulos", kOption},
    {"mnuCatalogo_lista", "mnuCatalogo", "Lista de Precios", kOption},
    {"mnuCatalogo_Ofertas", "mnuCatalogo", "Ofertas del proveedor", kOption},
    {"mnuCatalogo_CambioPrecio", "mnuCatalogo", "Tipo de Cambio de Precio", kOption},
    {"mnuCatalogo_Departamentos", "mnuCatalogo", "Departamentos", kOption},
    {"mnuCatalogo_Categoria", "mnuCatalogo", "Categoria", kOption},
    {"mnuCatalogo_Familia", "mnuCatalogo", "Familias", kOption},
    {"mnuCatalogo_Fabricante", "mnuCatalogo", "Fabricantes", kOption},
    {"mnuCatalogo_Medidas", "mnuCatalogo", "Medidas", kOption},
    {"mnuCatalogo_SSA", "mnuCatalogo", "SSA", kOption},
    {"mnuCatalogo_Clientes", "mnuCatalogo", "Clientes", kOption},
    {"mnuCatalogo_TipoCliente", "mnuCatalogo", "Tipo de Cliente", kOption},
    {"mnuCatalogo_Proveedores", "mnuCatalogo", "Proveedores", kOption},
    {"mnuCatalogo_Zona", "mnuCatalogo", "Zona de entrega", kOption},
    {"mnuCatalogo_Ruta", "mnuCatalogo", "Ruta de entrega", kOption},
    {"mnuCatalogo_Pais", "mnuCatalogo", "Pais", kOption},
    {"mnuCatalogo_Estado", "mnuCatalogo", "Estados", kOption},
    {"mnuCatalogo_Banco", "mnuCatalogo", "Bancos", kOption},
    {"mnuCatalogo_CuentaBancaria", "mnuCatalogo", "Cuentas Bancarias", kOption},
    {"mnuCatalogo_TipoMovCtaBan", "mnuCatalogo", "Tipo de Movimiento de Cuenta Bancaria", kOption},
    {"mnuCatalogo_TipoPago", "mnuCatalogo", "Tipo de Pago", kOption},
    {"mnuCatalogo_Concepto", "mnuCatalogo", "Conceptos de Caja", kOption},
    {"mnuCatalogo_Almacen", "mnuCatalogo", "Almacen", kOption},
    {"mnuCatalogo_Sucursal", "mnuCatalogo", "Sucursal", kOption},
    {"mnuCatalogo_TipoMov", "mnuCatalogo", "Tipo de Movimiento de Almacen", kOption},
    {"mnuCatalogo_TipoEDI", "mnuCatalogo", "Tipo de EDI", kOption},
    {"mnuCatalogo_Secuencia", "mnuCatalogo", "Secuencias", kOption},
    {"mnuCatalogo_Identificaciones", "mnuCatalogo", "Identificaciones", kOption},
    {"mnuCatalogo_EstadoCivil", "mnuCatalogo", "Estado Civil", kOption},
    {"mnuCatalogo_RelacionUsuario", "mnuCatalogo", "Relacion", kOption},
    {"mnuVentas", nullptr, "Ventas", kMenu},
    {"mnuVentas_Ventas", "mnuVentas", "Ventas", kOption},
    {"mnuVentas_Consulta", "mnuVentas", "Consulta de Ventas", kOption},
    {"mnuVentas_Dev", "mnuVentas", "Devoluciones", kOption},
    {"mnuCaja", nullptr, "Caja", kMenu},
    {"mnuCaja_Corte", "mnuCaja", "Corte de Caja", kOption},
    {"mnuAlmacen", nullptr, "Almacen", kMenu},
    {"mnuAlmacen_Compras", "mnuAlmacen", "Faltantes y Compras", kOption},
    {"mnuAlmacen_Pedido", "mnuAlmacen", "Pedidos", kOption},
    {"mnuAlmacen_RecepMerc", "mnuAlmacen", "Recepcion de Mercancia", kOption},
    {"mnuAlmacen_MovAlm", "mnuAlmacen", "Movimientos de Almacen", kOption},
    {"mnuAlmacen_Inv", "mnuAlmacen", "Inventario Fisico", kOption},
    {"mnuInter", nullptr, "Interconsulta", kMenu},
    {"mnuInter_Articulo", "mnuInter", "Articulos", kOption},
    {"mnuInter_Movimientos", "mnuInter", "Movimientos de Almacen", kOption},
    {"mnuInter_Transferencia", "mnuInter", "Transferencias", kOption},
    {"mnuProceso", nullptr, "Procesos", kMenu},
    {"mnuProceso_EDI", "mnuProceso", "EDI", kOption},
    {"mnuProceso_ModMasLista", "mnuProceso", "Modificacion Masiva de Listas", kOption},
    {"mnuConta", nullptr, "Contabilidad", kMenu},
    {"mnuConta_CtasXCobrar", "mnuConta", "Cuentas por Cobrar", kOption},
    {"mnuConta_CtasXPagar", "mnuConta", "Cuentas por Pagar", kOption},
    {"mnuConta_Facturacion", "mnuConta", "Facturacion", kOption},
    {"mnuConta_Tesoreria", "mnuConta", "Tesoreria", kOption},
    {"mnuConta_Comision", "mnuConta", "Comisiones", kOption},
    {"mnuConsultorio", nullptr, "Consultorio", kMenu},
    {"mnuConsultorio_Pacientes", "mnuConsultorio", "Pacientes", kOption},
    {"mnuConsultorio_Recetas", "mnuConsultorio", "Recetas", kOption},
    {"mnuConsultorioCat", "mnuConsultorio", "Catalogos", kMenu},
    {"mnuConsultorioCat_TipoDoc", "mnuConsultorioCat", "Tipo de Documento", kOption},
    {"mnuConsultorioCat_TipoPaciente", "mnuConsultorioCat", "Tipo de Paciente", kOption},
    {"mnuSeguridad", nullptr, "Seguridad", kMenu},
    {"mnuSeguridad_Usuarios", "mnuSeguridad", "Usuarios", kOption},
    {"mnuSeguridad_Perfil", "mnuSeguridad", "Perfiles", kOption},
    {"mnuSeguridad_Mod", "mnuSeguridad", "Modulos", kOption},
    {"mnuSistema", nullptr, "Sistema", kMenu},
    {"mnuSistema_Configuracion", "mnuSistema", "Configuracion", kOption},
    {"mnuSistema_Parametros", "mnuSistema", "Parametros", kOption},
    {"mnuSistema_Terminales", "mnuSistema", "Terminales", kOption},
    {"mnuSistema_Codigo", "mnuSistema", "Codigos", kOption},
    {"mnuSistema_Consulta", "mnuSistema", "Consulta SQL", kOption},
    {"mnuSistema_Reportes", "mnuSistema", "Reportes", kOption},
    {"mnuSistema_Imagenes", "mnuSistema", "Imagenes", kOption},
    {"mnuSistema_EDI", "mnuSistema", "EDI", kMenu},
    {"mnuSistema_EDI_Origen", "mnuSistema_EDI", "Origenes", kOption},
    {"mnuSistema_EDI_Destino", "mnuSistema_EDI", "Destinos", kOption},
    {"mnuSistema_EDI_LayOut", "mnuSistema_EDI", "LayOuts", kOption},
    {"mnuReporte", nullptr, "Reportes", kMenu},
    {"mnuReporte_Reportes", "mnuReporte", "Reportes", kOption},
    {"mnuAsistencia", nullptr, "Asistencia", kMenu},
    {"mnuAsistencia_Registro", "mnuAsistencia", "Registro de Asistencia", kOption},
};

// The maintenance window behind each catalogue entry: its four commands are rights of their own
// ("frmCliente_cmdAlta" ...), hung under the entry that opens the catalogue.
struct Maintenance {
    const char *menu;
    const char *window;
};

const Maintenance kMaintenance[] = {
    {"mnuCatalogo_Articulos", "frmArticulo"},
    {"mnuCatalogo_lista", "frmLista"},
    {"mnuCatalogo_Ofertas", "frmOferta"},
    {"mnuCatalogo_CambioPrecio", "frmCambioPrecio"},
    {"mnuCatalogo_Departamentos", "frmTipoArticulo"},
    {"mnuCatalogo_Categoria", "frmSubTipo"},
    {"mnuCatalogo_Familia", "frmFamilia"},
    {"mnuCatalogo_Fabricante", "frmFabricante"},
    {"mnuCatalogo_Medidas", "frmMedida"},
    {"mnuCatalogo_SSA", "frmSSA"},
    {"mnuCatalogo_Clientes", "frmCliente"},
    {"mnuCatalogo_TipoCliente", "frmTipoCliente"},
    {"mnuCatalogo_Proveedores", "frmProveedor"},
    {"mnuCatalogo_Zona", "frmZona"},
    {"mnuCatalogo_Ruta", "frmRuta"},
    {"mnuCatalogo_Pais", "frmPais"},
    {"mnuCatalogo_Estado", "frmEstado"},
    {"mnuCatalogo_Banco", "frmBanco"},
    {"mnuCatalogo_CuentaBancaria", "frmCuentaBancaria"},
    {"mnuCatalogo_TipoMovCtaBan", "frmTipoMovCuentaBancaria"},
    {"mnuCatalogo_TipoPago", "frmTipoPago"},
    {"mnuCatalogo_Concepto", "frmConcepto"},
    {"mnuCatalogo_Almacen", "frmAlmacen"},
    {"mnuCatalogo_Sucursal", "frmSucursal"},
    {"mnuCatalogo_TipoMov", "frmTipoMovAlmacen"},
    {"mnuCatalogo_TipoEDI", "frmTipoEDI"},
    {"mnuCatalogo_Secuencia", "frmSecuencia"},
    {"mnuCatalogo_Identificaciones", "frmIdentificacion"},
    {"mnuCatalogo_EstadoCivil", "frmEstadoCivil"},
    {"mnuCatalogo_RelacionUsuario", "frmRelacionUsuario"},
    {"mnuConsultorio_Pacientes", "frmPaciente"},
    {"mnuConsultorioCat_TipoDoc", "frmTipoDocumento"},
    {"mnuConsultorioCat_TipoPaciente", "frmTipoPaciente"},
    {"mnuSeguridad_Usuarios", "frmUsuario"},
    {"mnuSeguridad_Perfil", "frmPerfil"},
    {"mnuSistema_Parametros", "frmParametro"},
    {"mnuSistema_Terminales", "frmTerminal"},
    {"mnuSistema_Codigo", "frmCodigo"},
    {"mnuSistema_Consulta", "frmConsultaSQL"},
    {"mnuSistema_Reportes", "frmReporte"},
    {"mnuSistema_Imagenes", "frmObjeto"},
    {"mnuSistema_EDI_Origen", "frmOrigen"},
    {"mnuSistema_EDI_Destino", "frmDestino"},
    {"mnuSistema_EDI_LayOut", "frmLayOut"},
};

// Guarded commands inside windows that are not maintenance commands.
const Module kCommandModules[] = {
    {"frmVenta_SobreGiro", "mnuVentas_Ventas", "Vender sobre el limite de credito", kCommand},
    {"frmVenta_ReversoTiempoAire", "mnuVentas_Ventas", "Reverso de tiempo aire", kCommand},
    {"frmVenta_ConfiguracionTiempoAire", "mnuVentas_Ventas", "Configuracion de tiempo aire", kCommand},
    {"frmCorteFin_VerTotal", "mnuCaja_Corte", "Ver totales del corte", kCommand},
    {"frmCorteFin_CerrarSinCapturar", "mnuCaja_Corte", "Cerrar corte sin capturar", kCommand},
    {"frmCorteFin_CambiarTerminal", "mnuCaja_Corte", "Cambiar de terminal en el corte", kCommand},
    {"frmTipoCliente_CambiarTipoCliente", "mnuCatalogo_Clientes", "Cambiar el tipo de cliente", kCommand},
    {"frmCtasXPagar_cmdPagar", "mnuConta_CtasXPagar", "Pagar cuentas por pagar", kCommand},
    {"frmTesoreria_cmdAgregar", "mnuConta_Tesoreria", "Agregar movimientos de tesoreria", kCommand},
};

struct Verb {
    const char *suffix;
    const char *name;
};
const Verb kVerbs[] = {
    {"_cmdAlta", "Alta"},
    {"_cmdCambio", "Cambio"},
    {"_cmdBaja", "Baja"},
    {"_cmdConsulta", "Consulta"},
};

class ModuleWriter {
public:
    explicit ModuleWriter(Connection &c) : m_c(c) {}

    void add(const QString &key, const QString &parent, const QString &name, const QString &kind,
             const QString &description)
    {
        const QString path = parent.isEmpty() ? key : m_paths.value(parent) + QLatin1Char('.') + key;
        const int sequence = ++m_siblings[parent];
        m_paths.insert(key, path);
        m_c.execute(QStringLiteral("insert into tModulo (mod_Clave, mod_Nombre, mod_Descripcion, mod_ClaveSup, "
                                   "mod_Secuencia, tmod_Clave, mod_Arbol) values (?, ?, ?, ?, ?, ?, ?)"),
                    {key, name, description, parent.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(parent),
                     sequence, kind, path});
    }

private:
    Connection &m_c;
    QHash<QString, QString> m_paths;
    QHash<QString, int> m_siblings;
};

} // namespace

// Users, profiles, the module tree and the rights of each profile over it.
void seguridad(Connection &connection)
{
    Schema::executeDdl(connection, QStringLiteral(R"(
create table if not exists tTipoModulo (
    tmod_Clave varchar(20) not null primary key,
    tmod_Nombre varchar(100) not null
);

create table if not exists tModulo (
    mod_Clave varchar(100) not null primary key,
    mod_Nombre varchar(100) not null,
    mod_Descripcion varchar(255),
    mod_ClaveSup varchar(100),
    mod_Secuencia integer,
    tmod_Clave varchar(20),
    mod_Arbol varchar(1000)
);
create index if not exists ix_tModulo_Sup on tModulo (mod_ClaveSup);

create table if not exists tPerfil (
    perf_Clave varchar(20) not null primary key,
    perf_Nombre varchar(100) not null
);

create table if not exists tSeguridad (
    perf_Clave varchar(20) not null references tPerfil (perf_Clave),
    mod_Clave varchar(100) not null,
    primary key (perf_Clave, mod_Clave)
);

create table if not exists tEstadoUsuario (
    eusu_Clave varchar(20) not null primary key,
    eusu_Nombre varchar(100) not null
);

create table if not exists tRelacionUsuario (
    rusu_Clave varchar(20) not null primary key,
    rusu_Nombre varchar(100) not null
);

create table if not exists tUsuario (
    usu_Clave varchar(20) not null primary key,
    usu_Nombre varchar(100) not null,
    usu_Psw varchar(255),
    alm_Clave varchar(20),
    perf_Clave varchar(20),
    eusu_Clave varchar(20),
    term_Clave varchar(20),
    usu_Credencial varchar(50),
    hdigital_Clave numeric(18,0),
    obj_ClaveFoto numeric(18,0),
    rusu_Clave varchar(20),
    id_Clave varchar(20),
    usu_Calle varchar(100),
    usu_Exterior varchar(20),
    usu_Interior varchar(20),
    usu_Colonia varchar(100),
    usu_DelMun varchar(100),
    usu_Ciudad varchar(100),
    usu_CP varchar(10),
    usu_Telefono1 varchar(50),
    usu_Telefono2 varchar(50),
    usu_Email varchar(100),
    usu_RFC varchar(20),
    usu_CURP varchar(20),
    usu_IMSS varchar(20),
    usu_INFONAVIT varchar(20),
    usu_Cedula varchar(50),
    usu_InstCedula varchar(100),
    usu_Identificacion varchar(50),
    usu_Relacion varchar(100),
    usu_Referencia varchar(255),
    usu_FecNacimiento timestamp,
    usu_FecIngreso timestamp,
    usu_FecBaja timestamp,
    usu_OtraInfo varchar(1000)
);
create unique index if not exists ux_tUsuario_Credencial on tUsuario (usu_Credencial);
create index if not exists ix_tUsuario_Huella on tUsuario (hdigital_Clave);
)"));

    const QList<QPair<QString, QString>> kinds = {
        {QStringLiteral("SISTEMA"), QStringLiteral("Sistema")},
        {QStringLiteral("MENU"), QStringLiteral("Menu")},
        {QStringLiteral("OPCION"), QStringLiteral("Opcion de menu")},
        {QStringLiteral("COMANDO"), QStringLiteral("Comando de ventana")},
        {QStringLiteral("TREPORTE"), QStringLiteral("Grupo de reportes")},
        {QStringLiteral("REPORTE"), QStringLiteral("Reporte")},
    };
    for (const auto &k : kinds)
        connection.execute(QStringLiteral("insert into tTipoModulo (tmod_Clave, tmod_Nombre) values (?, ?)"),
                           {k.first, k.second});

    const QList<QPair<QString, QString>> states = {
        {QStringLiteral("ACTIVO"), QStringLiteral("Activo")},
        {QStringLiteral("INACTIVO"), QStringLiteral("Inactivo")},
        {QStringLiteral("BAJA"), QStringLiteral("Baja")},
    };
    for (const auto &s : states)
        connection.execute(QStringLiteral("insert into tEstadoUsuario (eusu_Clave, eusu_Nombre) values (?, ?)"),
                           {s.first, s.second});
    const QList<QPair<QString, QString>> relations = {
        {QStringLiteral("EMPLEADO"), QStringLiteral("Empleado")},
        {QStringLiteral("EVENTUAL"), QStringLiteral("Eventual")},
        {QStringLiteral("EXTERNO"), QStringLiteral("Externo")},
    };
    for (const auto &r : relations)
        connection.execute(
            QStringLiteral("insert into tRelacionUsuario (rusu_Clave, rusu_Nombre) values (?, ?)"),
            {r.first, r.second});

    ModuleWriter w(connection);
    const QString root = QStringLiteral("ZEV");
    w.add(root, QString(), QStringLiteral("Mostrador"), QStringLiteral("SISTEMA"),
          QStringLiteral("Menu principal"));
    QHash<QString, QStringList> commandsUnder;
    for (const Module &c : kCommandModules)
        commandsUnder[QString::fromLatin1(c.parent)].append(QString::fromLatin1(c.key));
    QHash<QString, QString> maintenanceOf;
    for (const Maintenance &m : kMaintenance)
        maintenanceOf.insert(QString::fromLatin1(m.menu), QString::fromLatin1(m.window));
    QHash<QString, const Module *> commandByKey;
    for (const Module &c : kCommandModules)
        commandByKey.insert(QString::fromLatin1(c.key), &c);

    for (const Module &m : kMenuModules) {
        const QString key = QString::fromLatin1(m.key);
        const QString name = QString::fromUtf8(m.name);
        w.add(key, m.parent ? QString::fromLatin1(m.parent) : root, name, QString::fromLatin1(m.kind), name);
        // A leaf's guarded commands follow it at once, so they sit under it in the tree.
        if (const QString window = maintenanceOf.value(key); !window.isEmpty()) {
            for (const Verb &v : kVerbs)
                w.add(window + QLatin1String(v.suffix), key, QString::fromLatin1(v.name), QString::fromLatin1(kCommand),
                      QString::fromLatin1(v.name) + QStringLiteral(" en ") + name);
        }
        for (const QString &c : commandsUnder.value(key)) {
            const Module *cm = commandByKey.value(c);
            const QString cname = QString::fromUtf8(cm->name);
            w.add(c, key, cname, QString::fromLatin1(cm->kind), cname);
        }
    }
}

} // namespace db::migrations
