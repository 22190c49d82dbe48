#include "MenuTree.h"

#include <QHash>

namespace {

MenuEntry menu(const QString &name, const QString &parent, const QString &caption,
               bool separatorBefore = false)
{
    MenuEntry e;
    e.name = name;
    e.parent = parent;
    e.caption = caption;
    e.kind = MenuEntry::Kind::Menu;
    e.separatorBefore = separatorBefore;
    return e;
}

MenuEntry command(const QString &name, const QString &parent, const QString &caption, const QString &opens,
                  bool separatorBefore = false)
{
    MenuEntry e;
    e.name = name;
    e.parent = parent;
    e.caption = caption;
    e.opens = opens;
    e.separatorBefore = separatorBefore;
    return e;
}

MenuEntry catalogue(const QString &name, const QString &parent, const QString &caption, const QString &title,
                    const QStringList &tables, bool separatorBefore = false)
{
    MenuEntry e =
        command(name, parent, caption, QString::fromLatin1(MenuTree::kCatalogueWindow), separatorBefore);
    e.catalogue.title = title;
    e.catalogue.tables = tables;
    return e;
}

QList<MenuEntry> buildEntries()
{
    QList<MenuEntry> t;
    const QString arch = QStringLiteral("mnuArchivo");
    t << menu(arch, {}, QStringLiteral("&Archivo"))
      << command(QStringLiteral("mnuArchivo_Impresoras"), arch, QStringLiteral("&Impresoras"),
                 QStringLiteral("frmImpresora"))
      << command(QStringLiteral("mnuArchivo_Usuario"), arch, QStringLiteral("Cambiar de &Usuario"),
                 QStringLiteral("frmLogin"))
      << command(QStringLiteral("mnuArchivo_Salir"), arch, QStringLiteral("&Salir"), QString(), true);

    const QString cat = QStringLiteral("mnuCatalogo");
    auto c = [&](const char *suffix, const char *caption, const char *title, QStringList tables,
                 bool sep = false) {
        return catalogue(cat + QLatin1Char('_') + QLatin1String(suffix), cat, QString::fromUtf8(caption),
                         QString::fromUtf8(title), tables, sep);
    };
    t << menu(cat, {}, QStringLiteral("Catalo&gos"))
      // articles and prices
      << c("Articulos", "&Articulos", "Articulos", {QStringLiteral("tArticulo")})
      << c("lista", "&Lista de Precios", "Lista de Precios",
           {QStringLiteral("tArticulo"), QStringLiteral("tLista")})
      << c("Ofertas", "&Ofertas del proveedor", "Ofertas del proveedor",
           {QStringLiteral("tArticulo"), QStringLiteral("tOferta")})
      << c("CambioPrecio", "Tipo de Cambio de &Precio", "Tipo de Cambio de Precio",
           {QStringLiteral("tCambioPrecio")})
      << c("Departamentos", "&Departamentos", "Departamentos", {QStringLiteral("tTipoArticulo")})
      << c("Categoria", "&Categoria", "Categoria",
           {QStringLiteral("tTipoArticulo"), QStringLiteral("tSubTipo")})
      << c("Familia", "&Familias", "Familias", {QStringLiteral("tFamilia")})
      << c("Fabricante", "Fa&bricantes", "Fabricantes", {QStringLiteral("tFabricante")})
      << c("Medidas", "&Medidas", "Medidas", {QStringLiteral("tMedida")})
      << c("SSA", "SS&A", "SSA", {QStringLiteral("tSSA")})
      // trading partners
      << c("Clientes", "Cl&ientes", "Cliente", {QStringLiteral("tCliente")}, true)
      << c("TipoCliente", "&Tipo de Cliente", "Tipo de Cliente", {QStringLiteral("tTipoCliente")})
      << c("Proveedores", "P&roveedores", "Proveedor", {QStringLiteral("tProveedor")})
      << c("Zona", "&Zona de entrega", "Zona de entrega", {QStringLiteral("tZona")})
      << c("Ruta", "R&uta de entrega", "Ruta de entrega", {QStringLiteral("tRuta")})
      << c("Pais", "&Pais", "Pais", {QStringLiteral("tPais")})
      << c("Estado", "&Estados", "Estados", {QStringLiteral("tPais"), QStringLiteral("tEstado")})
      // money
      << c("Banco", "&Bancos", "Bancos", {QStringLiteral("tBanco")}, true)
      << c("CuentaBancaria", "Cuentas Ba&ncarias", "Cuentas Bancarias", {QStringLiteral("tCuentaBancaria")})
      << c("TipoMovCtaBan", "Tipo de Movimiento de Cuenta Bancaria", "Tipo de Movimiento de Cuenta Bancaria",
           {QStringLiteral("tTipoMovCuentaBancaria")})
      << c("TipoPago", "Tipo de Pa&go", "Tipo de Pago", {QStringLiteral("tTipoPago")})
      << c("Concepto", "Conceptos de &Caja", "Conceptos de Caja", {QStringLiteral("tConcepto")})
      // stores and staff
      << c("Almacen", "&Almacen", "Almacen", {QStringLiteral("tAlmacen")}, true)
      << c("Sucursal", "&Sucursal", "Sucursal", {QStringLiteral("tSucursal")})
      << c("TipoMov", "Tipo de Movimiento de Almacen", "Tipo de Movimiento de Almacen",
           {QStringLiteral("tTipoMovAlmacen")})
      << c("TipoEDI", "Tipo de &EDI", "Tipo de EDI", {QStringLiteral("tTipoEDI")})
      << c("Secuencia", "Se&cuencias", "Secuencias", {QStringLiteral("tSecuencia")})
      << c("Identificaciones", "&Identificaciones", "Identificaciones", {QStringLiteral("tIdentificacion")},
           true)
      << c("EstadoCivil", "Estado Ci&vil", "Estado Civil", {QStringLiteral("tEstadoCivil")})
      << c("RelacionUsuario", "&Relacion", "Relacion", {QStringLiteral("tRelacionUsuario")});

    const QString ven = QStringLiteral("mnuVentas");
    t << menu(ven, {}, QStringLiteral("&Ventas"))
      << command(QStringLiteral("mnuVentas_Ventas"), ven, QStringLiteral("&Ventas"),
                 QStringLiteral("frmVenta"))
      << command(QStringLiteral("mnuVentas_Consulta"), ven, QStringLiteral("&Consulta de Ventas"),
                 QStringLiteral("frmVentaCon"))
      << command(QStringLiteral("mnuVentas_Dev"), ven, QStringLiteral("&Devoluciones"),
                 QStringLiteral("frmDevoluciones"));

    const QString caja = QStringLiteral("mnuCaja");
    t << menu(caja, {}, QStringLiteral("&Caja"))
      << command(QStringLiteral("mnuCaja_Corte"), caja, QStringLiteral("&Corte de Caja"),
                 QStringLiteral("frmCorte"));

    const QString alm = QStringLiteral("mnuAlmacen");
    t << menu(alm, {}, QStringLiteral("A&lmacen"))
      << command(QStringLiteral("mnuAlmacen_Compras"), alm, QStringLiteral("&Faltantes y Compras"),
                 QStringLiteral("frmFaltantes"))
      << command(QStringLiteral("mnuAlmacen_Pedido"), alm, QStringLiteral("&Pedidos"),
                 QStringLiteral("frmPedidoCon"))
      << command(QStringLiteral("mnuAlmacen_RecepMerc"), alm, QStringLiteral("&Recepcion de Mercancia"),
                 QStringLiteral("frmRecepcionCon"))
      << command(QStringLiteral("mnuAlmacen_MovAlm"), alm, QStringLiteral("&Movimientos de Almacen"),
                 QStringLiteral("frmMovAlmCon"), true)
      << command(QStringLiteral("mnuAlmacen_Inv"), alm, QStringLiteral("&Inventario Fisico"),
                 QStringLiteral("frmInventario"));

    const QString inter = QStringLiteral("mnuInter");
    t << menu(inter, {}, QStringLiteral("&Interconsulta"))
      << command(QStringLiteral("mnuInter_Articulo"), inter, QStringLiteral("&Articulos"),
                 QStringLiteral("frmInterConsultaArt"))
      << command(QStringLiteral("mnuInter_Movimientos"), inter, QStringLiteral("&Movimientos de Almacen"),
                 QStringLiteral("frmMovAlmDet"))
      << command(QStringLiteral("mnuInter_Transferencia"), inter, QStringLiteral("&Transferencias"),
                 QStringLiteral("frmTransferenciaCon"));

    const QString proc = QStringLiteral("mnuProceso");
    t << menu(proc, {}, QStringLiteral("&Procesos"))
      << command(QStringLiteral("mnuProceso_EDI"), proc, QStringLiteral("&EDI"), QStringLiteral("frmEDI"))
      << command(QStringLiteral("mnuProceso_ModMasLista"), proc,
                 QStringLiteral("&Modificacion Masiva de Listas"), QStringLiteral("frmModMasivaLista"));

    const QString conta = QStringLiteral("mnuConta");
    t << menu(conta, {}, QStringLiteral("C&ontabilidad"))
      << command(QStringLiteral("mnuConta_CtasXCobrar"), conta, QStringLiteral("Cuentas por &Cobrar"),
                 QStringLiteral("frmCtasXCobrar"))
      << command(QStringLiteral("mnuConta_CtasXPagar"), conta, QStringLiteral("Cuentas por &Pagar"),
                 QStringLiteral("frmCtasXPagar"))
      << command(QStringLiteral("mnuConta_Facturacion"), conta, QStringLiteral("&Facturacion"),
                 QStringLiteral("frmFacturacion"))
      << command(QStringLiteral("mnuConta_Tesoreria"), conta, QStringLiteral("&Tesoreria"),
                 QStringLiteral("frmTesoreria"))
      << command(QStringLiteral("mnuConta_Comision"), conta, QStringLiteral("C&omisiones"),
                 QStringLiteral("frmComisionCon"), true);

    const QString cons = QStringLiteral("mnuConsultorio");
    const QString consCat = QStringLiteral("mnuConsultorioCat");
    t << menu(cons, {}, QStringLiteral("Co&nsultorio"))
      << catalogue(QStringLiteral("mnuConsultorio_Pacientes"), cons, QStringLiteral("&Pacientes"),
                   QStringLiteral("Paciente"), {QStringLiteral("tPaciente")})
      << command(QStringLiteral("mnuConsultorio_Recetas"), cons, QStringLiteral("&Recetas"),
                 QStringLiteral("frmRecetaCon"))
      << menu(consCat, cons, QStringLiteral("&Catalogos"), true)
      << catalogue(QStringLiteral("mnuConsultorioCat_TipoDoc"), consCat, QStringLiteral("Tipo de &Documento"),
                   QStringLiteral("Tipo de Documento"), {QStringLiteral("tTipoDocumento")})
      << catalogue(QStringLiteral("mnuConsultorioCat_TipoPaciente"), consCat,
                   QStringLiteral("Tipo de &Paciente"), QStringLiteral("Tipo de Paciente"),
                   {QStringLiteral("tTipoPaciente")});

    const QString seg = QStringLiteral("mnuSeguridad");
    MenuEntry perfil = catalogue(QStringLiteral("mnuSeguridad_Perfil"), seg, QStringLiteral("&Perfiles"),
                                 QStringLiteral("Perfil"), {QStringLiteral("tPerfil")});
    perfil.catalogue.reapplyPermissions = true;
    t << menu(seg, {}, QStringLiteral("&Seguridad"))
      << catalogue(QStringLiteral("mnuSeguridad_Usuarios"), seg, QStringLiteral("&Usuarios"),
                   QStringLiteral("Usuarios"), {QStringLiteral("tUsuario")})
      << perfil
      << command(QStringLiteral("mnuSeguridad_Mod"), seg, QStringLiteral("&Modulos"),
                 QStringLiteral("frmModuloCon"));

    const QString sis = QStringLiteral("mnuSistema");
    const QString edi = QStringLiteral("mnuSistema_EDI");
    MenuEntry reportes = catalogue(QStringLiteral("mnuSistema_Reportes"), sis, QStringLiteral("&Reportes"),
                                   QStringLiteral("Reportes"), {QStringLiteral("tReporte")});
    reportes.catalogue.reapplyPermissions = true;
    MenuEntry imagenes = catalogue(QStringLiteral("mnuSistema_Imagenes"), sis, QStringLiteral("&Imagenes"),
                                   QStringLiteral("Imagenes"), {QStringLiteral("tObjeto")});
    imagenes.catalogue.filterColumn = QStringLiteral("obj_Extension");
    imagenes.catalogue.filterValue = QStringLiteral("jpg");
    MenuEntry layouts = catalogue(QStringLiteral("mnuSistema_EDI_LayOut"), edi, QStringLiteral("&LayOuts"),
                                  QStringLiteral("LayOuts"), {QStringLiteral("tLayOut")});
    layouts.catalogue.filterColumn = QStringLiteral("layOut_Sistema");
    layouts.catalogue.filterValue = QStringLiteral("N");
    t << menu(sis, {}, QStringLiteral("Siste&ma"))
      << command(QStringLiteral("mnuSistema_Configuracion"), sis, QStringLiteral("&Configuracion"),
                 QStringLiteral("frmConfig"))
      << catalogue(QStringLiteral("mnuSistema_Parametros"), sis, QStringLiteral("&Parametros"),
                   QStringLiteral("Parametros"), {QStringLiteral("tParametro")})
      << catalogue(QStringLiteral("mnuSistema_Terminales"), sis, QStringLiteral("&Terminales"),
                   QStringLiteral("Terminales"), {QStringLiteral("tTerminal")})
      << catalogue(QStringLiteral("mnuSistema_Codigo"), sis, QStringLiteral("C&odigos"),
                   QStringLiteral("Codigos"), {QStringLiteral("tCodigo")}, true)
      << catalogue(QStringLiteral("mnuSistema_Consulta"), sis, QStringLiteral("Consulta &SQL"),
                   QStringLiteral("Consulta SQL"), {QStringLiteral("tConsulta")})
      << reportes << imagenes << menu(edi, sis, QStringLiteral("&EDI"), true)
      << catalogue(QStringLiteral("mnuSistema_EDI_Origen"), edi, QStringLiteral("&Origenes"),
                   QStringLiteral("Origenes"), {QStringLiteral("tOrigen")})
      << catalogue(QStringLiteral("mnuSistema_EDI_Destino"), edi, QStringLiteral("&Destinos"),
                   QStringLiteral("Destinos"), {QStringLiteral("tDestino")})
      << layouts;

    // The reports menu is filled from tModulo when the user logs in; its anchor entry only
    // exists so that the rights tree has the module the reports hang from.
    const QString rep = QString::fromLatin1(MenuTree::kReportsMenu);
    MenuEntry anchor =
        command(QStringLiteral("mnuReporte_Reportes"), rep, QStringLiteral("&Reportes"), QString());
    anchor.kind = MenuEntry::Kind::Placeholder;
    t << menu(rep, {}, QStringLiteral("&Reportes")) << anchor;

    const QString asis = QStringLiteral("mnuAsistencia");
    t << menu(asis, {}, QStringLiteral("Asis&tencia"))
      << command(QStringLiteral("mnuAsistencia_Registro"), asis, QStringLiteral("&Registro de Asistencia"),
                 QStringLiteral("frmRegistro"));
    return t;
}

} // namespace

QString MenuEntry::plainCaption() const
{
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            // "&&" is a literal ampersand
            if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&')) {
                out += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        out += caption.at(i);
    }
    return out;
}

const QList<MenuEntry> &MenuTree::entries()
{
    static const QList<MenuEntry> all = buildEntries();
    return all;
}

const MenuEntry *MenuTree::find(const QString &name)
{
    static const QHash<QString, qsizetype> index = [] {
        QHash<QString, qsizetype> h;
        const auto &all = entries();
        for (qsizetype i = 0; i < all.size(); ++i)
            h.insert(all.at(i).name, i);
        return h;
    }();
    const auto it = index.constFind(name);
    return it == index.cend() ? nullptr : &entries().at(*it);
}

QList<const MenuEntry *> MenuTree::children(const QString &parent)
{
    QList<const MenuEntry *> out;
    for (const auto &e : entries())
        if (e.parent == parent)
            out << &e;
    return out;
}

QString MenuTree::pathOf(const QString &name)
{
    const MenuEntry *e = find(name);
    if (!e)
        return {};
    QString path = e->name;
    while (!e->parent.isEmpty()) {
        e = find(e->parent);
        path.prepend(e->name + QLatin1Char('.'));
    }
    return QLatin1String(kRoot) + QLatin1Char('.') + path;
}

QList<MenuNode> MenuTree::nodes()
{
    QList<MenuNode> out;
    QHash<QString, int> siblings;
    for (const auto &e : entries()) {
        MenuNode n;
        n.key = e.name;
        n.parent = e.parent.isEmpty() ? QString::fromLatin1(kRoot) : e.parent;
        n.name = e.plainCaption();
        n.path = pathOf(e.name);
        n.sequence = ++siblings[n.parent];
        n.isMenu = e.isMenu();
        out << n;
    }
    return out;
}
