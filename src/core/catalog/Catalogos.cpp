#include "Catalogos.h"

#include "MenuTree.h"

#include <QHash>

namespace {

using Tipo = CatalogoCampo::Tipo;

CatalogoCampo texto(const char *columna, const char *titulo, const char *falta, int longitud, bool requerido = false)
{
    CatalogoCampo c;
    c.columna = QString::fromLatin1(columna);
    c.titulo = QString::fromUtf8(titulo);
    c.falta = QString::fromUtf8(falta);
    c.longitud = longitud;
    c.requerido = requerido;
    return c;
}

CatalogoCampo clave(const char *columna, int longitud)
{
    return texto(columna, "Clave", "una clave", longitud, true);
}

CatalogoCampo nombre(const char *columna, int longitud = 100)
{
    return texto(columna, "Nombre", "un nombre", longitud, true);
}

CatalogoCampo numero(Tipo tipo, const char *columna, const char *titulo, const char *falta, bool requerido = false,
                     std::optional<qint64> minimo = std::nullopt, std::optional<qint64> maximo = std::nullopt)
{
    CatalogoCampo c = texto(columna, titulo, falta, 0, requerido);
    c.tipo = tipo;
    c.minimo = minimo;
    c.maximo = maximo;
    return c;
}

CatalogoCampo bandera(const char *columna, const char *titulo, bool marcada = false, const char *si = "S",
                      const char *no = "N")
{
    CatalogoCampo c = texto(columna, titulo, "", 0);
    c.tipo = Tipo::Bandera;
    c.si = QString::fromLatin1(si);
    c.no = QString::fromLatin1(no);
    c.marcada = marcada;
    return c;
}

CatalogoCampo referencia(const char *columna, const char *titulo, const char *falta, const char *tabla,
                         const char *refClave, const char *refNombre, bool requerido = true)
{
    CatalogoCampo c = texto(columna, titulo, falta, 0, requerido);
    c.tipo = Tipo::Referencia;
    c.refTabla = QString::fromLatin1(tabla);
    c.refClave = QString::fromLatin1(refClave);
    c.refNombre = QString::fromLatin1(refNombre);
    return c;
}

CatalogoCampo signo(const char *columna)
{
    CatalogoCampo c = texto(columna, "Signo", "un signo", 0, true);
    c.tipo = Tipo::Opcion;
    c.opciones = {QStringLiteral("(+) Suma\t+"), QStringLiteral("(-) Resta\t-")};
    return c;
}

CatalogoReferencia ref(const char *tabla, QStringList columnas)
{
    return {QString::fromLatin1(tabla), columnas};
}

// A catalogue of key and name; more columns and references are appended by the caller.
CatalogoDef simple(const char *tabla, const char *ventana, const char *titulo, const char *singular,
                   const char *articulo, const char *plural, const char *columnaClave, int longitud,
                   const char *columnaNombre, int longitudNombre = 100)
{
    CatalogoDef d;
    d.tabla = QString::fromLatin1(tabla);
    d.ventana = QString::fromLatin1(ventana);
    d.titulo = QString::fromUtf8(titulo);
    d.singular = QString::fromUtf8(singular);
    d.articulo = QString::fromLatin1(articulo);
    d.plural = QString::fromUtf8(plural);
    d.claves = {QString::fromLatin1(columnaClave)};
    d.nombre = QString::fromLatin1(columnaNombre);
    d.campos << clave(columnaClave, longitud) << nombre(columnaNombre, longitudNombre);
    return d;
}

QList<CatalogoDef> build()
{
    QList<CatalogoDef> t;
    CatalogoDef pais = simple("tPais", "frmPais", "Pais", "pais", "el", "paises", "pais_Clave", 10, "pais_Nombre");
    pais.referencias << ref("tEstado", {"pais_Clave"}) << ref("tCliente", {"pais_Clave"})
                     << ref("tCliente", {"pais_ClaveFis"}) << ref("tProveedor", {"pais_Clave"});
    t << pais;

    CatalogoDef estado;
    estado.tabla = QStringLiteral("tEstado");
    estado.ventana = QStringLiteral("frmEstado");
    estado.titulo = QStringLiteral("Estados");
    estado.singular = QStringLiteral("estado");
    estado.articulo = QStringLiteral("el");
    estado.plural = QStringLiteral("estados");
    estado.claves = {QStringLiteral("pais_Clave"), QStringLiteral("edo_Clave")};
    estado.nombre = QStringLiteral("edo_Nombre");
    estado.campos << referencia("pais_Clave", "Pais", "un pais", "tPais", "pais_Clave", "pais_Nombre")
                  << clave("edo_Clave", 10) << nombre("edo_Nombre");
    estado.referencias << ref("tCliente", {"pais_Clave", "edo_Clave"}) << ref("tCliente", {"pais_ClaveFis", "edo_ClaveFis"})
                       << ref("tProveedor", {"pais_Clave", "edo_Clave"});
    estado.padreTabla = QStringLiteral("tPais");
    estado.padrePrimero = QStringLiteral("MEX");
    estado.padreNombre = QStringLiteral("pais_Nombre");
    estado.padreTitulo = QStringLiteral("Pais");
    t << estado;

    CatalogoDef banco = simple("tBanco", "frmBanco", "Bancos", "banco", "el", "bancos", "banco_Clave", 20, "banco_Nombre");
    banco.referencias << ref("tCuentaBancaria", {"banco_Clave"}) << ref("tProveedor", {"banco_Clave"})
                      << ref("tVentaPago", {"banco_Clave"}) << ref("tDevolucionPago", {"banco_Clave"})
                      << ref("tCobro", {"banco_Clave"});
    t << banco;

    CatalogoDef medida = simple("tMedida", "frmMedida", "Medidas", "medida", "la", "medidas", "med_Clave", 10, "med_Nombre");
    medida.referencias << ref("tArticulo", {"med_Clave"});
    t << medida;

    CatalogoDef fab = simple("tFabricante", "frmFabricante", "Fabricantes", "fabricante", "el", "fabricantes",
                             "fab_Clave", 20, "fab_Nombre");
    fab.referencias << ref("tArticulo", {"fab_Clave"});
    t << fab;

    CatalogoDef fam = simple("tFamilia", "frmFamilia", "Familias", "familia", "la", "familias", "fam_Clave", 20, "fam_Nombre");
    fam.referencias << ref("tArticulo", {"fam_Clave"});
    t << fam;

    CatalogoDef depto = simple("tTipoArticulo", "frmTipoArticulo", "Departamentos", "departamento", "el",
                               "departamentos", "tart_Clave", 20, "tart_Nombre");
    depto.referencias << ref("tSubTipo", {"tart_Clave"}) << ref("tArticulo", {"tart_Clave"})
                      << ref("tProveedorTipoArt", {"tart_Clave"}) << ref("tInventario", {"tart_Clave"});
    t << depto;

    CatalogoDef cat = simple("tSubTipo", "frmSubTipo", "Categoria", "categoria", "la", "categorias", "sub_Clave", 20,
                             "sub_Nombre");
    cat.campos << referencia("tart_Clave", "Departamento", "un departamento", "tTipoArticulo", "tart_Clave",
                             "tart_Nombre");
    cat.referencias << ref("tArticulo", {"sub_Clave"}) << ref("tInventario", {"sub_Clave"});
    cat.padreTabla = QStringLiteral("tTipoArticulo");
    cat.padreNombre = QStringLiteral("tart_Nombre");
    cat.padreTitulo = QStringLiteral("Departamento");
    t << cat;

    CatalogoDef ssa = simple("tSSA", "frmSSA", "SSA", "clave SSA", "la", "claves SSA", "ssa_Clave", 20, "ssa_Nombre", 255);
    ssa.referencias << ref("tArticulo", {"ssa_Clave"});
    t << ssa;

    CatalogoDef tcli = simple("tTipoCliente", "frmTipoCliente", "Tipo de Cliente", "tipo de cliente", "el",
                              "tipos de cliente", "tcli_Clave", 20, "tcli_Nombre");
    tcli.campos << numero(Tipo::Decimal, "tcli_Descuento", "Descuento %", "el descuento", false, 0, 100)
                << referencia("tcontrol_Clave", "Control de precio", "un control de precio", "tTipoControlPrecio",
                              "tcontrol_Clave", "tcontrol_Nombre")
                << numero(Tipo::Entero, "tcli_Lista", "Lista de precios", "la lista de precios", false, 1)
                << bandera("tcli_Ticket", "Emite ticket", true, "SI", "NO")
                << bandera("tcli_Nota", "Emite nota", false, "SI", "NO")
                << bandera("tcli_Factura", "Emite factura", false, "SI", "NO")
                << bandera("tcli_AcumularArticulos", "Acumular articulos en la venta", true)
                << bandera("tcli_RedondeoVenta", "Redondeo de la venta")
                << numero(Tipo::Decimal, "tcli_RedondeoVentaCantidad", "Redondear venta a", "el redondeo de la venta",
                          false, 0)
                << bandera("tcli_RedondeoVentaImporteMedio", "Venta: medio importe hacia arriba", true)
                << bandera("tcli_RedondeoArticulo", "Redondeo por articulo")
                << numero(Tipo::Decimal, "tcli_RedondeoArticuloCantidad", "Redondear articulo a",
                          "el redondeo por articulo", false, 0)
                << bandera("tcli_RedondeoArticuloImporteMedio", "Articulo: medio importe hacia arriba", true)
                << numero(Tipo::Entero, "tcli_Periodo", "Periodo de credito", "el periodo de credito", false, 0)
                << texto("per_Clave", "Tipo de periodo", "el tipo de periodo", 20)
                << numero(Tipo::Decimal, "tcli_Credito", "Limite de credito", "el limite de credito", false, 0);
    tcli.referencias << ref("tCliente", {"tcli_Clave"});
    tcli.detalles << ref("tTipoClienteTipoPago", {"tcli_Clave"}) << ref("tTipoClienteConcepto", {"tcli_Clave"});
    t << tcli;

    CatalogoDef zona = simple("tZona", "frmZona", "Zona de entrega", "zona", "la", "zonas", "zona_Clave", 20, "zona_Nombre");
    zona.referencias << ref("tCliente", {"zona_Clave"});
    t << zona;

    CatalogoDef ruta = simple("tRuta", "frmRuta", "Ruta de entrega", "ruta", "la", "rutas", "ruta_Clave", 20, "ruta_Nombre");
    ruta.referencias << ref("tCliente", {"ruta_Clave"});
    t << ruta;

    CatalogoDef tmovcb = simple("tTipoMovCuentaBancaria", "frmTipoMovCuentaBancaria",
                                "Tipo de Movimiento de Cuenta Bancaria", "tipo de movimiento", "el",
                                "tipos de movimiento", "tmovcb_Clave", 20, "tmovcb_Nombre");
    tmovcb.campos << referencia("tdocb_Clave", "Documento", "un tipo de documento", "tTipoDocumentoBancario",
                                "tdocb_Clave", "tdocb_Nombre")
                  << signo("tmovcb_Signo");
    tmovcb.referencias << ref("tMovCuentaBancaria", {"tmovcb_Clave"});
    t << tmovcb;

    CatalogoDef tpago = simple("tTipoPago", "frmTipoPago", "Tipo de Pago", "tipo de pago", "el", "tipos de pago",
                               "tpago_Clave", 20, "tpago_Nombre");
    tpago.referencias << ref("tTipoClienteTipoPago", {"tpago_Clave"}) << ref("tVentaPago", {"tpago_Clave"})
                      << ref("tCorteTipoPago", {"tpago_Clave"}) << ref("tDevolucionPago", {"tpago_Clave"})
                      << ref("tProveedor", {"tpag_Clave"});
    t << tpago;

    CatalogoDef concepto = simple("tConcepto", "frmConcepto", "Conceptos de Caja", "concepto", "el", "conceptos",
                                  "concepto_Clave", 20, "concepto_Nombre");
    concepto.campos << referencia("tconcepto_Clave", "Tipo", "un tipo de concepto", "tTipoConcepto", "tconcepto_Clave",
                                  "tconcepto_Nombre")
                    << signo("concepto_Signo");
    concepto.referencias << ref("tMovCaja", {"concepto_Clave"});
    t << concepto;

    CatalogoDef alm = simple("tAlmacen", "frmAlmacen", "Almacen", "almacen", "el", "almacenes", "alm_Clave", 20,
                             "alm_Nombre");
    alm.campos << texto("alm_Direccion", "Direccion", "una direccion", 200)
               << texto("alm_Telefono", "Telefono", "un telefono", 50) << bandera("alm_Activo", "Activo", true);
    alm.referencias << ref("tTerminal", {"alm_Clave"}) << ref("tUsuario", {"alm_Clave"})
                    << ref("tArticuloAlmacen", {"alm_Clave"}) << ref("tMovAlmacen", {"alm_Clave"})
                    << ref("tCorte", {"alm_Clave"}) << ref("tVenta", {"alm_Clave"});
    t << alm;

    CatalogoDef suc = simple("tSucursal", "frmSucursal", "Sucursal", "sucursal", "la", "sucursales", "suc_Clave", 20,
                             "suc_Nombre");
    QList<CatalogoCampo> &sc = suc.campos;
    CatalogoCampo sucPsw = texto("suc_Psw", "Contraseña de la base", "una contraseña", 100);
    sucPsw.oculto = true;
    CatalogoCampo usuPsw = texto("usu_Psw", "Contraseña del usuario", "una contraseña", 100);
    usuPsw.oculto = true;
    sc << bandera("suc_Matriz", "Es la matriz") << texto("alm_Clave", "Almacen en la sucursal", "un almacen", 20)
       << texto("suc_DSN", "Conexion", "una conexion", 500) << texto("suc_User", "Usuario de la base", "un usuario", 100)
       << sucPsw << texto("usu_Clave", "Usuario del programa", "un usuario", 20) << usuPsw;
    t << suc;

    CatalogoDef tmov = simple("tTipoMovAlmacen", "frmTipoMovAlmacen", "Tipo de Movimiento de Almacen",
                              "tipo de movimiento", "el", "tipos de movimiento", "tmova_Clave", 20, "tmova_Nombre");
    tmov.campos << bandera("tmova_Entrada", "Entrada al almacen") << bandera("tmova_Salida", "Salida del almacen");
    tmov.referencias << ref("tMovAlmacen", {"tmova_Clave"});
    t << tmov;

    CatalogoDef tedi = simple("tTipoEDI", "frmTipoEDI", "Tipo de EDI", "tipo de EDI", "el", "tipos de EDI", "tedi_Clave",
                              20, "tedi_Nombre");
    tedi.campos << numero(Tipo::Entero, "tedi_Orden", "Orden", "el orden", false, 0);
    tedi.referencias << ref("tLayOut", {"tedi_Clave"}) << ref("tProveedorEDI", {"tedi_Clave"});
    t << tedi;

    CatalogoDef id = simple("tIdentificacion", "frmIdentificacion", "Identificaciones", "identificacion", "la",
                            "identificaciones", "id_Clave", 20, "id_Nombre");
    id.referencias << ref("tUsuario", {"id_Clave"});
    t << id;

    t << simple("tEstadoCivil", "frmEstadoCivil", "Estado Civil", "estado civil", "el", "estados civiles",
                "ecivil_Clave", 20, "ecivil_Nombre");

    CatalogoDef rel = simple("tRelacionUsuario", "frmRelacionUsuario", "Relacion", "relacion", "la", "relaciones",
                             "rusu_Clave", 20, "rusu_Nombre");
    rel.referencias << ref("tUsuario", {"rusu_Clave"});
    t << rel;

    CatalogoDef tdoc = simple("tTipoDocumento", "frmTipoDocumento", "Tipo de Documento", "tipo de documento", "el",
                              "tipos de documento", "tdoc_Clave", 20, "tdoc_Nombre");
    tdoc.campos << numero(Tipo::Entero, "obj_Clave", "Imagen de plantilla", "la imagen de plantilla", false, 1);
    tdoc.referencias << ref("tPacienteDocumento", {"tdoc_Clave"});
    t << tdoc;

    CatalogoDef tpac = simple("tTipoPaciente", "frmTipoPaciente", "Tipo de Paciente", "tipo de paciente", "el",
                              "tipos de paciente", "tpac_Clave", 20, "tpac_Nombre");
    tpac.campos << bandera("tpac_PorOmision", "Tipo por omision");
    tpac.referencias << ref("tPaciente", {"tpac_Clave"});
    t << tpac;

    CatalogoDef term = simple("tTerminal", "frmTerminal", "Terminales", "terminal", "la", "terminales", "term_Clave", 20,
                              "term_Nombre");
    term.campos << referencia("alm_Clave", "Almacen", "un almacen", "tAlmacen", "alm_Clave", "alm_Nombre");
    term.referencias << ref("tUsuario", {"term_Clave"}) << ref("tCorte", {"term_Clave"});
    t << term;

    // Kept by windows of their own; described for their lookups.
    CatalogoDef cambio =
        simple("tCambioPrecio", "frmCambioPrecio", "Tipo de Cambio de Precio", "tipo de cambio de precio",
               "el", "Tipos de Cambio de Precios", "cambio_Clave", 30, "cambio_Nombre");
    cambio.referencias << ref("tArticulo", {"cambio_Clave"}) << ref("tArticuloPrecio", {"cambio_Clave"})
                       << ref("tTipoClienteConcepto", {"cambio_Clave"});
    t << cambio;

    CatalogoDef param;
    param.tabla = QStringLiteral("tParametro");
    param.ventana = QStringLiteral("frmParametro");
    param.titulo = QStringLiteral("Parametros");
    param.claves = {QStringLiteral("param_Tipo"), QStringLiteral("param_Clave")};
    param.nombre = QStringLiteral("param_Nombre");
    param.campos << texto("param_Tipo", "Tipo", "un tipo", 20, true) << clave("param_Clave", 20)
                 << nombre("param_Nombre") << texto("param_Valor", "Valor", "un valor", 255);
    t << param;

    CatalogoDef sec = simple("tSecuencia", "frmSecuencia", "Secuencias", "secuencia", "la", "secuencias", "sec_Clave",
                             100, "sec_Clave");
    sec.campos = {clave("sec_Clave", 100), numero(Tipo::Entero, "sec_Valor", "Valor", "el valor", true)};
    sec.nombre = QStringLiteral("sec_Valor");
    sec.nombreTitulo = QStringLiteral("Valor");
    t << sec;

    CatalogoDef codigo = simple("tCodigo", "frmCodigo", "Codigos", "codigo", "el", "codigos", "codigo_Clave", 100,
                                "codigo_Nombre", 255);
    t << codigo;

    CatalogoDef consulta = simple("tConsulta", "frmConsultaSQL", "Consulta SQL", "consulta", "la", "consultas",
                                  "con_Clave", 0, "con_Nombre");
    consulta.campos.first() = numero(Tipo::Entero, "con_Clave", "Clave", "una clave", true);
    t << consulta;

    // Kept by the article editor of the inventory; described for the lookup of its menu entry.
    t << simple("tArticulo", "frmArticulo", "Articulos", "articulo", "el", "articulos", "art_Clave", 30, "art_Nombre",
                150);

    // Kept by the client editor of the masters; described for the lookup of its menu entry.
    t << simple("tCliente", "frmCliente", "Clientes", "cliente", "el", "clientes", "cli_Clave", 20, "cli_Nombre", 150);
    t << simple("tProveedor", "frmProveedor", "Proveedores", "proveedor", "el", "proveedores", "prov_Clave", 30,
                "prov_Nombre", 150);

    t << simple("tPerfil", "frmPerfil", "Perfil", "perfil", "el", "perfiles", "perf_Clave", 20, "perf_Nombre");
    t << simple("tUsuario", "frmUsuario", "Usuarios", "usuario", "el", "usuarios", "usu_Clave", 20, "usu_Nombre");
    return t;
}

} // namespace

const QList<CatalogoDef> &Catalogos::todos()
{
    static const QList<CatalogoDef> all = build();
    return all;
}

const CatalogoDef *Catalogos::porTabla(const QString &tabla)
{
    for (const CatalogoDef &d : todos())
        if (d.tabla.compare(tabla, Qt::CaseInsensitive) == 0)
            return &d;
    return nullptr;
}

const CatalogoDef *Catalogos::porVentana(const QString &ventana)
{
    for (const CatalogoDef &d : todos())
        if (d.ventana == ventana)
            return &d;
    return nullptr;
}

bool Catalogos::tieneVentanaPropia(const CatalogoDef &def)
{
    static const QStringList propias = {QStringLiteral("frmParametro"),   QStringLiteral("frmSecuencia"),
                                        QStringLiteral("frmPerfil"),      QStringLiteral("frmUsuario"),
                                        QStringLiteral("frmCodigo"),      QStringLiteral("frmConsultaSQL"),
                                        QStringLiteral("frmCambioPrecio"), QStringLiteral("frmArticulo"),
                                        QStringLiteral("frmCliente"), QStringLiteral("frmProveedor")};
    return propias.contains(def.ventana);
}

const CatalogoDef *Catalogos::paraMenu(const MenuEntry &entry)
{
    if (!entry.catalogue.isValid() || pendientes().contains(entry.name))
        return nullptr;
    return porTabla(entry.catalogue.tables.last());
}

const QHash<QString, QString> &Catalogos::pendientes()
{
    static const QHash<QString, QString> p = [] {
        const QString articulo = QStringLiteral("el catalogo de articulos y precios");
        const QString interc = QStringLiteral("el intercambio de datos");
        return QHash<QString, QString>{
            {QStringLiteral("mnuCatalogo_lista"), articulo},
            {QStringLiteral("mnuCatalogo_Ofertas"), articulo},
            {QStringLiteral("mnuCatalogo_CuentaBancaria"), QStringLiteral("las cuentas bancarias")},
            {QStringLiteral("mnuConsultorio_Pacientes"), QStringLiteral("los pacientes")},
            {QStringLiteral("mnuSistema_Reportes"), QStringLiteral("los reportes")},
            {QStringLiteral("mnuSistema_Imagenes"), QStringLiteral("la ventana de imagenes")},
            {QStringLiteral("mnuSistema_EDI_Origen"), interc},
            {QStringLiteral("mnuSistema_EDI_Destino"), interc},
            {QStringLiteral("mnuSistema_EDI_LayOut"), interc},
        };
    }();
    return p;
}
