#include "ArticleGenerator.h"

#include "Connection.h"
#include "DemoPrice.h"
#include "Ean13.h"
#include "Transaction.h"

#include <QDateTime>
#include <QStringList>

#include <span>

namespace db {

namespace {

// SplitMix64: a fixed sequence of draws from the serial, so an article never depends on the run.
class Dado {
public:
    explicit Dado(qint64 serial) : m_s(quint64(serial) * 0x9E3779B97F4A7C15ull ^ 0x4D4F535452414Full) {}
    quint64 next()
    {
        quint64 z = (m_s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(qsizetype n) { return int(next() % quint64(n)); }
    template <typename T> const T &pick(std::span<const T> items)
    {
        return items[below(qsizetype(items.size()))];
    }

private:
    quint64 m_s;
};

struct Producto {
    const char *nombre;
    const char *fam;
    int iva;
};

// ---- Medicines: substance, strength, form and pack, laboratory

const Producto kSustancias[] = {
    {"PARACETAMOL", "ANALGESICOS", 0},
    {"IBUPROFENO", "ANALGESICOS", 0},
    {"NAPROXENO", "ANALGESICOS", 0},
    {"DICLOFENACO", "ANALGESICOS", 0},
    {"KETOROLACO", "ANALGESICOS", 0},
    {"METAMIZOL SODICO", "ANALGESICOS", 0},
    {"CELECOXIB", "ANALGESICOS", 0},
    {"MELOXICAM", "ANALGESICOS", 0},
    {"AMOXICILINA", "ANTIBIOTICOS", 0},
    {"AMPICILINA", "ANTIBIOTICOS", 0},
    {"AZITROMICINA", "ANTIBIOTICOS", 0},
    {"CIPROFLOXACINO", "ANTIBIOTICOS", 0},
    {"CEFALEXINA", "ANTIBIOTICOS", 0},
    {"CLARITROMICINA", "ANTIBIOTICOS", 0},
    {"DOXICICLINA", "ANTIBIOTICOS", 0},
    {"METRONIDAZOL", "ANTIBIOTICOS", 0},
    {"LEVOFLOXACINO", "ANTIBIOTICOS", 0},
    {"CEFUROXIMA", "ANTIBIOTICOS", 0},
    {"LORATADINA", "ANTIGRIPALES", 0},
    {"CETIRIZINA", "ANTIGRIPALES", 0},
    {"AMBROXOL", "ANTIGRIPALES", 0},
    {"CLORFENAMINA", "ANTIGRIPALES", 0},
    {"DEXTROMETORFANO", "ANTIGRIPALES", 0},
    {"FEXOFENADINA", "ANTIGRIPALES", 0},
    {"OMEPRAZOL", "GASTRO", 0},
    {"PANTOPRAZOL", "GASTRO", 0},
    {"ESOMEPRAZOL", "GASTRO", 0},
    {"LOPERAMIDA", "GASTRO", 0},
    {"METOCLOPRAMIDA", "GASTRO", 0},
    {"BUTILHIOSCINA", "GASTRO", 0},
    {"METFORMINA", "CRONICOS", 0},
    {"GLIBENCLAMIDA", "CRONICOS", 0},
    {"LOSARTAN", "CRONICOS", 0},
    {"ENALAPRIL", "CRONICOS", 0},
    {"CAPTOPRIL", "CRONICOS", 0},
    {"AMLODIPINO", "CRONICOS", 0},
    {"ATORVASTATINA", "CRONICOS", 0},
    {"SIMVASTATINA", "CRONICOS", 0},
    {"METOPROLOL", "CRONICOS", 0},
    {"LEVOTIROXINA", "CRONICOS", 0},
    {"COMPLEJO B", "VITAMINAS", 0},
    {"ACIDO FOLICO", "VITAMINAS", 0},
    {"VITAMINA C", "VITAMINAS", 0},
    {"SULFATO FERROSO", "VITAMINAS", 0},
    {"CLOTRIMAZOL", "DERMATOLOGICOS", 0},
    {"KETOCONAZOL", "DERMATOLOGICOS", 0},
};
const char *const kDosis[] = {"5 MG",   "10 MG",  "20 MG",  "25 MG",  "40 MG",  "50 MG",  "100 MG",
                              "200 MG", "250 MG", "400 MG", "500 MG", "600 MG", "850 MG", "1 G"};
const char *const kFormasSolidas[] = {"TAB", "CAPS", "GRAG", "TAB REC", "TAB LIB PROL", "TAB MAST"};
const char *const kCajas[] = {"C/10", "C/12", "C/14", "C/20", "C/24", "C/28", "C/30", "C/50"};
const char *const kFormasLiquidas[] = {"SUSP", "JARABE", "SOL ORAL", "GOTAS", "SOL INY"};
const char *const kVolumenes[] = {"15 ML", "30 ML", "60 ML", "75 ML", "100 ML", "120 ML", "240 ML"};
const char *const kLaboratorios[] = {"GIMEX", "FARMALAB", "PISA",   "SILANES",   "LIOMONT",
                                     "BAYER", "PFIZER",   "SANOFI", "SENOSIAIN", "SOPHIA"};

// ---- Everything else: product, variety, size, brand

const Producto kPerfumeria[] = {
    {"SHAMPOO", "HIGIENE", 16},
    {"ACONDICIONADOR", "HIGIENE", 16},
    {"JABON DE TOCADOR", "HIGIENE", 16},
    {"JABON LIQUIDO", "HIGIENE", 16},
    {"CREMA CORPORAL", "HIGIENE", 16},
    {"DESODORANTE AEROSOL", "HIGIENE", 16},
    {"DESODORANTE BARRA", "HIGIENE", 16},
    {"PASTA DENTAL", "HIGIENE", 16},
    {"ENJUAGUE BUCAL", "HIGIENE", 16},
    {"GEL PARA CABELLO", "HIGIENE", 16},
    {"TALCO", "HIGIENE", 16},
    {"PROTECTOR SOLAR", "HIGIENE", 16},
    {"TOALLITAS HUMEDAS", "BEBES", 16},
    {"PAÑALES", "BEBES", 16},
    {"ACEITE PARA BEBE", "BEBES", 16},
    {"CREMA PARA PEINAR", "HIGIENE", 16},
};
const char *const kAromas[] = {"MANZANILLA", "ROMERO",          "ALOE VERA", "COCO",   "ANTICASPA",
                               "SENSIBLE",   "MENTA",           "LAVANDA",   "AVENA",  "NEUTRO",
                               "KERATINA",   "CARBON ACTIVADO", "ARGAN",     "PEPINO", "ALMENDRAS",
                               "CLASICO",    "FRESCURA EXTREMA"};
const char *const kTamanosPerfumeria[] = {"60 ML",  "90 G",   "120 ML", "150 G", "200 ML", "250 ML",
                                          "400 ML", "750 ML", "1 LT",   "C/40",  "C/80"};
const char *const kMarcasPerfumeria[] = {"PALMOLIVE", "COLGATE", "UNILEVER", "PYG",
                                         "HENKEL",    "JNJ",     "KIMBERLY", "GENOMMA"};

const Producto kAbarrotes[] = {
    {"ARROZ", "GRANOS", 0},
    {"FRIJOL", "GRANOS", 0},
    {"LENTEJA", "GRANOS", 0},
    {"AZUCAR", "ABARROTES", 0},
    {"ACEITE", "ABARROTES", 0},
    {"HARINA", "ABARROTES", 0},
    {"PASTA PARA SOPA", "ABARROTES", 0},
    {"ATUN", "ENLATADOS", 0},
    {"SARDINA", "ENLATADOS", 0},
    {"CHILES", "ENLATADOS", 0},
    {"SALSA", "ENLATADOS", 0},
    {"CAFE", "ABARROTES", 0},
    {"AVENA", "CEREALES", 0},
    {"CEREAL", "CEREALES", 0},
    {"GALLETAS", "BOTANAS", 16},
    {"PAPAS FRITAS", "BOTANAS", 16},
    {"CHOCOLATE", "BOTANAS", 16},
    {"DULCES", "BOTANAS", 16},
    {"CACAHUATES", "BOTANAS", 16},
    {"MERMELADA", "ABARROTES", 0},
};
const char *const kVariedades[] = {
    "SUPER EXTRA", "PINTO", "NEGRO",   "INTEGRAL", "CLASICO", "EN AGUA",  "EN ACEITE", "JALAPEÑOS",
    "CHIPOTLE",    "VERDE", "ROJA",    "DE FRESA", "DE MAIZ", "DE TRIGO", "MOLIDO",    "SOLUBLE",
    "CON CHILE",   "LIGHT", "SIN SAL", "ESTANDAR", "MORENA",  "FIDEO",    "CODITO",    "ENCHILADOS"};
const char *const kTamanosAbarrotes[] = {"100 G", "140 G", "200 G", "250 G",  "400 G", "500 G",
                                         "900 G", "1 KG",  "2 KG",  "850 ML", "1 LT"};
const char *const kMarcasAbarrotes[] = {"ESPERANZA", "VERDEVALLE", "GRUMA",    "HERDEZ", "COSTENA",
                                        "NESTLE",    "GAMESA",     "SABRITAS", "BIMBO"};

const Producto kBebidas[] = {
    {"REFRESCO", "BEBIDAS", 16},     {"AGUA NATURAL", "BEBIDAS", 16},
    {"AGUA MINERAL", "BEBIDAS", 16}, {"JUGO", "BEBIDAS", 16},
    {"NECTAR", "BEBIDAS", 16},       {"BEBIDA ISOTONICA", "BEBIDAS", 16},
    {"TE HELADO", "BEBIDAS", 16},    {"BEBIDA ENERGETICA", "BEBIDAS", 16},
};
const char *const kSabores[] = {"COLA",    "LIMA LIMON", "NARANJA", "TORONJA", "MANZANA", "MANGO",
                                "DURAZNO", "GUAYABA",    "UVA",     "PIÑA",    "JAMAICA", "NATURAL"};
const char *const kTamanosBebidas[] = {"250 ML", "355 ML", "500 ML", "600 ML",
                                       "1 LT",   "1.5 LT", "2 LT",   "3 LT"};
const char *const kMarcasBebidas[] = {"COCA", "JUMEX", "BONAFONT", "ESPERANZA"};

const Producto kLacteos[] = {
    {"LECHE", "LACTEOS", 0}, {"YOGUR", "LACTEOS", 0},       {"QUESO", "LACTEOS", 0},
    {"CREMA", "LACTEOS", 0}, {"MANTEQUILLA", "LACTEOS", 0}, {"JAMON", "LACTEOS", 0},
};
const char *const kTiposLacteo[] = {"ENTERA",  "DESLACTOSADA", "LIGHT",  "SEMIDESCREMADA", "DE FRESA",
                                    "NATURAL", "PANELA",       "OAXACA", "MANCHEGO",       "ACIDA",
                                    "DE PAVO", "SIN SAL",      "BATIDO", "BEBIBLE"};
const char *const kTamanosLacteos[] = {"90 G", "200 G", "250 G", "400 G", "500 G", "1 KG", "1 LT", "1.5 LT"};
const char *const kMarcasLacteos[] = {"LALA", "ALPURA", "NESTLE", "ESPERANZA"};

template <typename T, size_t N> std::span<const T> lista(const T (&a)[N])
{
    return {a, N};
}

QString palabra(const char *s)
{
    return QString::fromUtf8(s);
}

struct Generado {
    QString nombre, tart, fam, fab, med, cinv, cad;
    int iva = 0;
};

Generado articulo(Dado &d)
{
    Generado g;
    const int depto = d.below(100);
    if (depto < 35) {
        const Producto &p = d.pick(lista(kSustancias));
        QString forma;
        if (d.below(4) == 0) {
            forma = palabra(d.pick(lista(kFormasLiquidas))) + u' ' + palabra(d.pick(lista(kVolumenes)));
            g.med = QStringLiteral("FCO");
        } else {
            forma = palabra(d.pick(lista(kFormasSolidas))) + u' ' + palabra(d.pick(lista(kCajas)));
            g.med = QStringLiteral("CAJA");
        }
        g.fab = palabra(d.pick(lista(kLaboratorios)));
        g.nombre = palabra(p.nombre) + u' ' + palabra(d.pick(lista(kDosis))) + u' ' + forma + u' ' + g.fab;
        g.tart = QStringLiteral("FARMACIA");
        g.fam = palabra(p.fam);
        g.cinv = QStringLiteral("LOTE");
        g.cad = QStringLiteral("SI");
        return g;
    }
    const auto compuesto = [&](std::span<const Producto> productos, std::span<const char *const> variedades,
                               std::span<const char *const> tamanos, std::span<const char *const> marcas,
                               const char *tart) {
        const Producto &p = d.pick(productos);
        g.fab = palabra(d.pick(marcas));
        g.nombre = palabra(p.nombre) + u' ' + palabra(d.pick(variedades)) + u' ' + palabra(d.pick(tamanos)) +
                   u' ' + g.fab;
        g.tart = palabra(tart);
        g.fam = palabra(p.fam);
        g.iva = p.iva;
        g.med = QStringLiteral("PZA");
        g.cinv = QStringLiteral("EXISTENCIA");
        g.cad = QStringLiteral("NO");
    };
    if (depto < 55)
        compuesto(lista(kPerfumeria), lista(kAromas), lista(kTamanosPerfumeria), lista(kMarcasPerfumeria),
                  "PERFUMERIA");
    else if (depto < 80)
        compuesto(lista(kAbarrotes), lista(kVariedades), lista(kTamanosAbarrotes), lista(kMarcasAbarrotes),
                  "ABARROTES");
    else if (depto < 90)
        compuesto(lista(kBebidas), lista(kSabores), lista(kTamanosBebidas), lista(kMarcasBebidas), "BEBIDAS");
    else
        compuesto(lista(kLacteos), lista(kTiposLacteo), lista(kTamanosLacteos), lista(kMarcasLacteos),
                  "LACTEOS");
    return g;
}

// A cost between 3 and 603 pesos and a price by one of the usual methods.
QString precio(Dado &d, int iva, DemoPrice &p)
{
    p = {};
    p.costo = Decimal::fromRaw(qint64(300 + d.below(60000)) * 10000);
    p.ivaPorc = Decimal(iva);
    const int metodo = d.below(20);
    if (metodo < 12) {
        p.publico = (p.costo * Decimal::fromRaw(qint64(1250000 + d.below(650000)))).round(2);
        if (metodo == 0)
            p.descuento = Decimal(5 * (1 + d.below(2)));
        p = DemoPrice::calcula(QStringLiteral("PUBLICO"), p);
        return QStringLiteral("PUBLICO");
    }
    if (metodo < 17) {
        p.utilidad = Decimal(20 + d.below(71));
        p = DemoPrice::calcula(QStringLiteral("UTILIDAD"), p);
        return QStringLiteral("UTILIDAD");
    }
    p.margen = (p.costo * Decimal("0.3")).round(2);
    p = DemoPrice::calcula(QStringLiteral("MARGEN"), p);
    return QStringLiteral("MARGEN");
}

const QStringList kColumnasArticulo = {
    QStringLiteral("art_Clave"),     QStringLiteral("art_Nombre"),      QStringLiteral("tart_Clave"),
    QStringLiteral("fam_Clave"),     QStringLiteral("fab_Clave"),       QStringLiteral("med_Clave"),
    QStringLiteral("eart_Clave"),    QStringLiteral("art_FecAlta"),     QStringLiteral("art_FecMod"),
    QStringLiteral("usu_Clave"),     QStringLiteral("art_Costo"),       QStringLiteral("art_Importe"),
    QStringLiteral("art_Descuento"), QStringLiteral("art_SubTotal"),    QStringLiteral("art_Margen"),
    QStringLiteral("art_Utilidad"),  QStringLiteral("art_IVAPorc"),     QStringLiteral("art_IVA"),
    QStringLiteral("art_Total"),     QStringLiteral("art_CostoCompra"), QStringLiteral("cambio_Clave"),
    QStringLiteral("cinv_Clave"),    QStringLiteral("cad_Clave"),
};
// The 'NORMAL' rows of a batch, copied from the articles just written as the normal row is always
// rewritten from its article.
QString copiaNormal(qsizetype rows)
{
    QStringList marcas(rows, QStringLiteral("?"));
    return QStringLiteral(
               "insert into tArticuloPrecio (art_Clave, tprecio_Clave, precio_Clave, cambio_Clave, "
               "art_Costo, "
               "precio_Importe, precio_Descuento, precio_SubTotal, precio_Margen, precio_Utilidad, "
               "precio_IVA, "
               "precio_IVAPorc, precio_Total, PRECIO_FECINI) "
               "select art_Clave, 'NORMAL', 1, cambio_Clave, art_Costo, art_Importe, art_Descuento, "
               "art_SubTotal, "
               "art_Margen, art_Utilidad, art_IVA, art_IVAPorc, art_Total, art_FecAlta from tArticulo "
               "where art_Clave in (") +
           marcas.join(u',') + u')';
}

// "insert into t (a, b) values (?,?),(?,?)…" for rows rows.
QString insercion(const QString &tabla, const QStringList &columnas, qsizetype rows)
{
    QString fila = QStringLiteral("(?");
    for (qsizetype i = 1; i < columnas.size(); ++i)
        fila += QStringLiteral(",?");
    fila += u')';
    QStringList filas(rows, fila);
    return QStringLiteral("insert into ") + tabla + QStringLiteral(" (") +
           columnas.join(QStringLiteral(", ")) + QStringLiteral(") values ") + filas.join(u',');
}

bool esSerie(const QString &clave, qint64 *serial)
{
    if (clave.size() != 13 || !clave.startsWith(QLatin1String("7509")))
        return false;
    for (qsizetype i = 4; i < 12; ++i)
        if (clave[i] < u'0' || clave[i] > u'9')
            return false;
    *serial = clave.mid(4, 8).toLongLong();
    return true;
}

// The highest serial already used by an article key or an extra bar code.
qint64 ultimoSerial(Connection &c)
{
    qint64 ultimo = 0;
    const QVariantList rango = {QStringLiteral("7509000000000"), QStringLiteral("7509999999999")};
    const struct {
        QString maximo, todas;
    } consultas[] = {
        {QStringLiteral("select max(art_Clave) from tArticulo where art_Clave between ? and ?"),
         QStringLiteral("select art_Clave from tArticulo where art_Clave between ? and ?")},
        {QStringLiteral("select max(acod_Codigo) from tArticuloCodigo where acod_Codigo between ? and ?"),
         QStringLiteral("select acod_Codigo from tArticuloCodigo where acod_Codigo between ? and ?")},
    };
    for (const auto &q : consultas) {
        const QString mayor = c.scalar(q.maximo, rango).toString();
        qint64 serial = 0;
        if (mayor.isEmpty())
            continue;
        if (esSerie(mayor, &serial)) {
            ultimo = qMax(ultimo, serial);
            continue;
        }
        // A hand-made key in the range that is not all digits: look at every key of the range.
        for (Recordset rs = c.openForwardOnly(q.todas, rango); !rs.eof(); rs.moveNext())
            if (esSerie(rs.value(0).toString(), &serial))
                ultimo = qMax(ultimo, serial);
    }
    return ultimo;
}

} // namespace

QString ArticleGenerator::keyFor(qint64 serial)
{
    return Ean13::complete(QStringLiteral("7509%1").arg(serial, 8, 10, QLatin1Char('0')));
}

ArticleGenerator::Result ArticleGenerator::generate(Connection &c, qint64 count, const Progress &progress)
{
    if (count <= 0)
        throw DbError(-1, QStringLiteral("El número de artículos debe ser mayor que cero"),
                      QStringLiteral("ArticleGenerator"), {}, DbError::Usage);
    // SQLite: a cache big enough that the rows of the one transaction are not spilled to the
    // journal page by page while the indexes grow (the connection's own size comes back after).
    const bool sqlite = c.engine() == Engine::SQLite;
    const QVariant cache = sqlite ? c.scalar(QStringLiteral("pragma cache_size")) : QVariant();
    if (sqlite)
        c.executeStatement(QStringLiteral("pragma cache_size = -262144"));
    struct Restaura {
        Connection &c;
        QVariant cache;
        ~Restaura()
        {
            try {
                if (cache.isValid())
                    c.executeStatement(QStringLiteral("pragma cache_size = ") +
                                       QString::number(cache.toLongLong()));
            } catch (const DbError &) {
                // A connection that failed keeps the bigger cache until it is closed.
            }
        }
    } restaura{c, cache};
    Transaction tx(c);
    const qint64 primero = ultimoSerial(c) + 1;
    if (primero + count - 1 > kMaxSerial)
        throw DbError(
            -1,
            QStringLiteral("Sólo quedan %1 claves de artículos generados (7509…); no se generó ninguno")
                .arg(kMaxSerial - primero + 1),
            QStringLiteral("ArticleGenerator"), {}, DbError::Usage);

    const QDateTime ahora = QDateTime::currentDateTime().addMSecs(-QTime::currentTime().msec());
    const QVariant usuario = QStringLiteral("ADMIN");
    const QVariant registrado = QStringLiteral("REGISTRADO");
    const QVariant cuando(ahora);
    const QString lote = insercion(QStringLiteral("tArticulo"), kColumnasArticulo, kBatch);
    const QString lotePrecios = copiaNormal(kBatch);

    QVariantList articulos, claves;
    articulos.reserve(kBatch * kColumnasArticulo.size());
    claves.reserve(kBatch);
    qint64 hechos = 0;
    const auto escribe = [&] {
        const qsizetype filas = articulos.size() / kColumnasArticulo.size();
        const bool completo = filas == kBatch;
        c.execute(completo ? lote : insercion(QStringLiteral("tArticulo"), kColumnasArticulo, filas),
                  articulos);
        c.execute(completo ? lotePrecios : copiaNormal(filas), claves);
        articulos.clear();
        claves.clear();
        hechos += filas;
        if (progress)
            progress(hechos, count);
    };
    for (qint64 serial = primero; serial < primero + count; ++serial) {
        Dado d(serial);
        const Generado g = articulo(d);
        DemoPrice p;
        const QString metodo = precio(d, g.iva, p);
        const QString clave = keyFor(serial);
        const QVariant c1 = clave;
        const QVariant m = metodo;
        const QVariant costo = p.costo.toQVariant();
        articulos << c1 << g.nombre << g.tart << g.fam << g.fab << g.med << registrado << cuando << cuando
                  << usuario << costo << p.publico.toQVariant() << p.descuento.toQVariant()
                  << p.subTotal.toQVariant() << p.margen.toQVariant() << p.utilidad.toQVariant()
                  << p.ivaPorc.toQVariant() << p.iva.toQVariant() << p.total.toQVariant() << costo << m
                  << g.cinv << g.cad;
        claves << c1;
        if (articulos.size() == kBatch * kColumnasArticulo.size())
            escribe();
    }
    if (!articulos.isEmpty())
        escribe();
    tx.commit();
    return {count, keyFor(primero), keyFor(primero + count - 1)};
}

} // namespace db
