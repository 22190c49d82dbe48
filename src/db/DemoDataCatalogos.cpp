#include "DemoDataCatalogos.h"

#include "Connection.h"

#include <QStringList>

namespace db {

namespace {

// Rows of one table; the first keyCount columns form the key, and a row is written only when
// its key is missing, so running the demo twice (or over edited catalogues) changes nothing.
class Filler {
public:
    Filler(Connection &c, const char *table, const char *columns, int keyCount = 1)
        : m_c(c), m_table(QString::fromLatin1(table)),
          m_columns(QString::fromLatin1(columns).split(u',', Qt::SkipEmptyParts))
    {
        QStringList where;
        QStringList marks;
        for (QString &col : m_columns) {
            col = col.trimmed();
            marks << QStringLiteral("?");
        }
        for (int i = 0; i < keyCount; ++i)
            where << m_columns.at(i) + QStringLiteral(" = ?");
        m_keyCount = keyCount;
        m_exists = QStringLiteral("select count(*) from ") + m_table + QStringLiteral(" where ") +
                   where.join(QStringLiteral(" and "));
        m_insert = QStringLiteral("insert into ") + m_table + QStringLiteral(" (") + m_columns.join(u',') +
                   QStringLiteral(") values (") + marks.join(u',') + u')';
    }

    Filler &operator()(const QVariantList &values)
    {
        if (m_c.scalar(m_exists, values.mid(0, m_keyCount)).toInt() == 0)
            m_c.execute(m_insert, values);
        return *this;
    }

private:
    Connection &m_c;
    QString m_table;
    QStringList m_columns;
    int m_keyCount = 1;
    QString m_exists;
    QString m_insert;
};

void lugares(Connection &c)
{
    Filler(c, "tPais", "pais_Clave, pais_Nombre")({"MEX", "México"})({"USA", "Estados Unidos de América"})(
        {"GTM", "Guatemala"})({"CAN", "Canadá"})({"ESP", "España"});

    // The 32 federal entities; Mexico City keeps the key 'DF' that older records carry.
    const char *const estados[][2] = {
        {"AGS", "Aguascalientes"},  {"BC", "Baja California"},   {"BCS", "Baja California Sur"},
        {"CAM", "Campeche"},        {"CHIS", "Chiapas"},         {"CHIH", "Chihuahua"},
        {"DF", "Ciudad de México"}, {"COAH", "Coahuila"},        {"COL", "Colima"},
        {"DGO", "Durango"},         {"GTO", "Guanajuato"},       {"GRO", "Guerrero"},
        {"HGO", "Hidalgo"},         {"JAL", "Jalisco"},          {"MEX", "Estado de México"},
        {"MICH", "Michoacán"},      {"MOR", "Morelos"},          {"NAY", "Nayarit"},
        {"NL", "Nuevo León"},       {"OAX", "Oaxaca"},           {"PUE", "Puebla"},
        {"QRO", "Querétaro"},       {"QROO", "Quintana Roo"},    {"SLP", "San Luis Potosí"},
        {"SIN", "Sinaloa"},         {"SON", "Sonora"},           {"TAB", "Tabasco"},
        {"TAMPS", "Tamaulipas"},    {"TLAX", "Tlaxcala"},        {"VER", "Veracruz"},
        {"YUC", "Yucatán"},         {"ZAC", "Zacatecas"},
    };
    Filler estado(c, "tEstado", "pais_Clave, edo_Clave, edo_Nombre", 2);
    for (const auto &e : estados)
        estado({"MEX", e[0], QString::fromUtf8(e[1])});
    estado({"USA", "CA", "California"})({"USA", "TX", "Texas"})({"USA", "AZ", "Arizona"});
    estado({"GTM", "GUA", "Guatemala"});
}

void dinero(Connection &c)
{
    Filler(c, "tBanco", "banco_Clave, banco_Nombre")({"BBVA", "BBVA México"})({"BANORTE", "Banorte"})(
        {"SANTANDER", "Santander"})({"BANAMEX", "Banamex"})({"HSBC", "HSBC"})({"SCOTIA", "Scotiabank"})(
        {"INBURSA", "Inbursa"})({"AZTECA", "Banco Azteca"})({"BANCOPPEL", "BanCoppel"})({"BANREGIO", "Banregio"})(
        {"BANBAJIO", "BanBajío"})({"AFIRME", "Afirme"});

    Filler(c, "tTipoPago", "tpago_Clave, tpago_Nombre")({"VALES", "Vales de despensa"})(
        {"TRANSFERENCIA", "Transferencia electrónica"});
    Filler(c, "tMoneda", "moneda_Clave, moneda_Nombre")({"USD", "Dólar estadounidense"});

    Filler concepto(c, "tConcepto", "concepto_Clave, concepto_Nombre, tconcepto_Clave, concepto_Signo");
    concepto({"EFEC_CAMBIO", "FONDO PARA CAMBIO", "INGRESO", "+"})({"EFEC_RETIRO", "RETIRO PARCIAL", "GASTO", "-"})(
        {"GASTO_LIMPIEZA", "ARTICULOS DE LIMPIEZA", "GASTO", "-"})({"GASTO_PAPELERIA", "PAPELERIA", "GASTO", "-"})(
        {"GASTO_MENSAJERIA", "MENSAJERIA Y FLETES", "GASTO", "-"})({"PAGO_PROVEEDOR", "PAGO A PROVEEDOR", "FACTURA", "-"})(
        {"DEPOSITO_BANCO", "DEPOSITO A BANCO", "TESORERIA", "-"});

    // Bills and coins of the peso in circulation.
    Filler deno(c, "tDenominacion", "deno_Clave, deno_Valor, deno_Nombre");
    deno({"B1000", QStringLiteral("1000"), "Billete"})({"B500", QStringLiteral("500"), "Billete"})(
        {"B200", QStringLiteral("200"), "Billete"})({"B100", QStringLiteral("100"), "Billete"})(
        {"B50", QStringLiteral("50"), "Billete"})({"B20", QStringLiteral("20"), "Billete"})(
        {"M20", QStringLiteral("20"), "Moneda"})({"M10", QStringLiteral("10"), "Moneda"})(
        {"M5", QStringLiteral("5"), "Moneda"})({"M2", QStringLiteral("2"), "Moneda"})(
        {"M1", QStringLiteral("1"), "Moneda"})({"M050", QStringLiteral("0.50"), "Moneda"});

    Filler(c, "tTipoMovCuentaBancaria", "tmovcb_Clave, tmovcb_Nombre, tdocb_Clave, tmovcb_Signo")(
        {"DEPOSITO", "Deposito en efectivo", "DEPOSITO", "+"})({"CHEQUE", "Cheque expedido", "CHEQUE", "-"})(
        {"PAGOPROV", "Pago a proveedor", "FACTURA", "-"})({"COBRO", "Cobro a cliente", "ADEUDO", "+"})(
        {"TRASPASO_ENT", "Transferencia recibida", "TRANSFERENCIA", "+"})(
        {"TRASPASO_SAL", "Transferencia enviada", "TRANSFERENCIA", "-"})({"COMISION", "Comision bancaria", "CHEQUE", "-"});
}

void articulos(Connection &c)
{
    Filler(c, "tMedida", "med_Clave, med_Nombre")({"PZA", "Pieza"})({"CAJA", "Caja"})({"KG", "Kilogramo"})(
        {"GR", "Gramo"})({"LT", "Litro"})({"ML", "Mililitro"})({"FCO", "Frasco"})({"TAB", "Tableta"})(
        {"SOB", "Sobre"})({"PAQ", "Paquete"})({"AMP", "Ampolleta"})({"TUB", "Tubo"});

    Filler(c, "tFabricante", "fab_Clave, fab_Nombre")({"BAYER", "Bayer de México"})({"PFIZER", "Pfizer"})(
        {"SANOFI", "Sanofi-Aventis de México"})({"GENOMMA", "Genomma Lab"})({"LILLY", "Eli Lilly y Compañía de México"})(
        {"SILANES", "Laboratorios Silanes"})({"LIOMONT", "Laboratorios Liomont"})({"PISA", "Laboratorios PiSA"})(
        {"BIMBO", "Grupo Bimbo"})({"LALA", "Grupo Lala"})({"COCA", "Coca-Cola FEMSA"})({"PYG", "Procter & Gamble México"})(
        {"KIMBERLY", "Kimberly-Clark de México"})({"NESTLE", "Nestlé México"})(
        {"GIMEX", "Genéricos Intercambiables de México"})({"FARMALAB", "Farmalab del Bajío"})(
        {"SENOSIAIN", "Laboratorios Senosiain"})({"SOPHIA", "Laboratorios Sophia"})({"DEGASA", "Degasa"})(
        {"TRESM", "3M México"})({"JNJ", "Johnson & Johnson de México"})({"ROCHE", "Roche Diagnóstica"})(
        {"OMRON", "Omron Healthcare"})({"PALMOLIVE", "Palmolive"})({"COLGATE", "Colgate-Palmolive"})(
        {"UNILEVER", "Unilever de México"})({"HENKEL", "Henkel Capital"})({"ESPERANZA", "Marca propia La Esperanza"})(
        {"VERDEVALLE", "Verde Valle"})({"GRUMA", "Gruma"})({"HERDEZ", "Grupo Herdez"})({"COSTENA", "La Costeña"})(
        {"GAMESA", "Gamesa"})({"SABRITAS", "Sabritas"})({"BONAFONT", "Bonafont"})({"JUMEX", "Grupo Jumex"})(
        {"ALPURA", "Alpura"});

    Filler(c, "tFamilia", "fam_Clave, fam_Nombre")({"ANALGESICOS", "Analgésicos"})({"ANTIBIOTICOS", "Antibióticos"})(
        {"ANTIGRIPALES", "Antigripales"})({"VITAMINAS", "Vitaminas y suplementos"})({"CURACION", "Material de curación"})(
        {"BEBIDAS", "Bebidas"})({"BOTANAS", "Botanas y dulces"})({"LACTEOS", "Lácteos"})({"PANADERIA", "Panadería"})(
        {"HIGIENE", "Higiene personal"})({"BEBES", "Bebés"})({"LIMPIEZA", "Limpieza del hogar"})(
        {"GASTRO", "Gastrointestinales"})({"CRONICOS", "Enfermedades crónicas"})({"DERMATOLOGICOS", "Dermatológicos"})(
        {"EQUIPO", "Equipo médico"})({"GRANOS", "Granos y semillas"})({"ABARROTES", "Abarrotes básicos"})(
        {"ENLATADOS", "Enlatados y conservas"})({"CEREALES", "Cereales y avenas"})({"DESPENSA", "Despensas y canastas"});

    Filler(c, "tTipoArticulo", "tart_Clave, tart_Nombre")({"FARMACIA", "Farmacia"})({"GENERICOS", "Genéricos"})(
        {"PERFUMERIA", "Perfumería y cuidado personal"})({"ABARROTES", "Abarrotes"})({"BEBIDAS", "Bebidas"})(
        {"SERVICIOS", "Servicios"})({"LACTEOS", "Lácteos y refrigerados"})({"CURACION", "Material de curación y equipo"});

    Filler(c, "tSubTipo", "sub_Clave, sub_Nombre, tart_Clave")({"PATENTE", "Medicamento de patente", "FARMACIA"})(
        {"CONTROLADO", "Medicamento controlado", "FARMACIA"})({"ANTIBIOTICO", "Antibiótico con receta", "FARMACIA"})(
        {"OTC", "Venta libre", "FARMACIA"})({"GI", "Genérico intercambiable", "GENERICOS"})(
        {"SHAMPOO", "Shampoo y acondicionador", "PERFUMERIA"})({"DESODORANTE", "Desodorantes", "PERFUMERIA"})(
        {"PANALES", "Pañales", "PERFUMERIA"})({"ENLATADOS", "Enlatados", "ABARROTES"})({"DULCES", "Dulces y botanas", "ABARROTES"})(
        {"REFRESCOS", "Refrescos", "BEBIDAS"})({"AGUA", "Agua embotellada", "BEBIDAS"})(
        {"TIEMPOAIRE", "Tiempo aire", "SERVICIOS"})({"BASICOS", "Canasta básica", "ABARROTES"})(
        {"LIMPIEZA", "Limpieza del hogar", "ABARROTES"})({"TEMPORADA", "Artículos de temporada", "ABARROTES"})(
        {"REFRIGERADOS", "Refrigerados", "LACTEOS"})({"CURACION", "Material de curación", "CURACION"})(
        {"EQUIPO", "Equipo médico", "CURACION"});

    // Keys of the national health compendium (Compendio Nacional de Insumos para la Salud).
    Filler(c, "tSSA", "ssa_Clave, ssa_Nombre")({"010.000.0104.00", "Paracetamol 500 mg tabletas"})(
        {"010.000.0101.00", "Ácido acetilsalicílico 500 mg tabletas"})({"010.000.3407.00", "Naproxeno 250 mg tabletas"})(
        {"010.000.2128.00", "Amoxicilina 500 mg cápsulas"})({"010.000.1206.00", "Butilhioscina 10 mg grageas"})(
        {"010.000.0406.00", "Ranitidina 150 mg tabletas"})({"010.000.5186.00", "Omeprazol 20 mg cápsulas"})(
        {"010.000.0574.00", "Captopril 25 mg tabletas"})({"010.000.5165.00", "Metformina 850 mg tabletas"})(
        {"010.000.3623.00", "Electrolitos orales polvo"});
}

void personas(Connection &c)
{
    Filler(c, "tZona", "zona_Clave, zona_Nombre")({"CENTRO", "Centro"})({"NORTE", "Zona norte"})(
        {"SUR", "Zona sur"})({"ORIENTE", "Zona oriente"})({"PONIENTE", "Zona poniente"});
    Filler(c, "tRuta", "ruta_Clave, ruta_Nombre")({"R01", "Ruta 1 - Centro y Americana"})(
        {"R02", "Ruta 2 - Providencia y Chapultepec"})({"R03", "Ruta 3 - Tlaquepaque"})({"R04", "Ruta 4 - Zapopan"});
    Filler(c, "tEstadoCivil", "ecivil_Clave, ecivil_Nombre")({"SOLTERO", "Soltero(a)"})({"CASADO", "Casado(a)"})(
        {"UNIONLIBRE", "Unión libre"})({"DIVORCIADO", "Divorciado(a)"})({"VIUDO", "Viudo(a)"});
    Filler(c, "tIdentificacion", "id_Clave, id_Nombre")({"INE", "Credencial para votar (INE)"})(
        {"PASAPORTE", "Pasaporte"})({"CEDULA", "Cédula profesional"})({"LICENCIA", "Licencia de conducir"})(
        {"CARTILLA", "Cartilla del servicio militar"})({"INAPAM", "Credencial INAPAM"});
    Filler(c, "tRelacionUsuario", "rusu_Clave, rusu_Nombre")({"HONORARIOS", "Honorarios"})(
        {"PRACTICANTE", "Practicante"});
    Filler(c, "tTipoPaciente", "tpac_Clave, tpac_Nombre, tpac_PorOmision")({"GENERAL", "Consulta general", "S"})(
        {"PEDIATRIA", "Pediatría", "N"})({"GERIATRIA", "Adulto mayor", "N"})({"EMBARAZO", "Control prenatal", "N"});
    Filler(c, "tTipoDocumento", "tdoc_Clave, tdoc_Nombre")({"RECETA", "Receta médica"})(
        {"ESTUDIO", "Estudio de laboratorio"})({"RADIOGRAFIA", "Radiografía"})({"IDENTIFICACION", "Identificación"});
}

void operacion(Connection &c)
{
    Filler(c, "tTipoMovAlmacen", "tmova_Clave, tmova_Nombre, tmova_Entrada, tmova_Salida")(
        {"ENTRADA", "Entrada por ajuste", "S", "N"})({"SALIDA", "Salida por ajuste", "N", "S"})(
        {"MERMA", "Merma", "N", "S"})({"CADUCIDAD", "Salida por caducidad", "N", "S"})(
        {"DEVPROV", "Devolución a proveedor", "N", "S"})({"CONSUMO", "Consumo interno", "N", "S"});

    Filler tipo(c, "tTipoCliente",
                "tcli_Clave, tcli_Nombre, tcli_Descuento, tcontrol_Clave, tcli_Lista, tcli_Factura, tcli_Periodo, "
                "tcli_Credito");
    tipo({"MAYOREO", "Mayoreo", QStringLiteral("0"), "LISTA", 2, "NO", 0, QStringLiteral("0")})(
        {"EMPLEADO", "Empleado", QStringLiteral("10"), "DEPARTAMENTO", QVariant(), "NO", 15, QStringLiteral("2000")})(
        {"CREDITO", "Cliente con credito", QStringLiteral("0"), "ARTICULO", QVariant(), "SI", 30, QStringLiteral("10000")})(
        {"INSTITUCION", "Institucion de salud", QStringLiteral("5"), "DEPARTAMENTO", QVariant(), "SI", 30,
         QStringLiteral("50000")});
    Filler pago(c, "tTipoClienteTipoPago", "tcli_Clave, tpago_Clave", 2);
    for (const char *t : {"MAYOREO", "EMPLEADO", "CREDITO", "INSTITUCION"})
        for (const char *p : {"EFECTIVO", "TARJETA", "CHEQUE"})
            pago({t, p});
    pago({"SYS", "VALES"})({"EMPLEADO", "CREDITO"})({"CREDITO", "CREDITO"})({"INSTITUCION", "CREDITO"});

    Filler(c, "tTipoEDI", "tedi_Clave, tedi_Nombre, tedi_Orden")({"PEDIDO", "Pedido a proveedor", 1})(
        {"FACTURA", "Factura de proveedor", 2})({"LISTA", "Lista de precios de proveedor", 3})(
        {"TRANSFERENCIA", "Transferencia entre sucursales", 4});
}

} // namespace

void populateDemoCatalogos(Connection &c)
{
    lugares(c);
    dinero(c);
    articulos(c);
    personas(c);
    operacion(c);
}

} // namespace db
