#include "DemoDataArticulos.h"

#include "Connection.h"
#include "DemoPrice.h"
#include "Ean13.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

#include <span>

namespace db {

namespace {

enum Metodo { Publico, Utilidad, Margen, Fijo, Financiero };
const char *const kMetodos[] = {"PUBLICO", "UTILIDAD", "MARGEN", "FIJO", "FINANCIERO"};

// valor is the method's input: public price (PUBLICO, FIJO), margin in pesos (MARGEN), utility
// percentage (UTILIDAD, FINANCIERO). extra is the discount percentage of PUBLICO and FIJO, or the
// public price of FINANCIERO. Prices are without tax.
struct Fila {
    const char *nombre;
    const char *fam;
    const char *fab;
    const char *med;
    const char *costo;
    Metodo metodo;
    const char *valor;
    const char *extra = nullptr;
};

// Articles that share department, sub-type, tax, inventory control and expiry.
struct Seccion {
    const char *tart;
    const char *sub;
    int iva;
    const char *control; // cinv_Clave
    int caduca;          // average months to expiry; 0: does not expire
    const char *ubicacion;
    bool mayoreo;        // sold by the wholesale lists 1 and 2
    std::span<const Fila> filas;
};

// ---- Pharmacy (medicines carry no VAT)

const Fila kAnalgesicos[] = {
    {"PARACETAMOL 500 MG TAB C/10", "ANALGESICOS", "GIMEX", "CAJA", "6.50", Utilidad, "80"},
    {"PARACETAMOL 500 MG TAB C/20", "ANALGESICOS", "GIMEX", "CAJA", "11.20", Utilidad, "75"},
    {"PARACETAMOL 750 MG TAB C/24", "ANALGESICOS", "FARMALAB", "CAJA", "18.40", Utilidad, "70"},
    {"PARACETAMOL 120 MG/5 ML JARABE 120 ML", "ANALGESICOS", "FARMALAB", "FCO", "17.90", Publico, "34.00"},
    {"PARACETAMOL 100 MG/ML GOTAS 15 ML", "ANALGESICOS", "GIMEX", "FCO", "15.30", Publico, "29.50"},
    {"TEMPRA 500 MG TAB C/24", "ANALGESICOS", "PFIZER", "CAJA", "52.80", Publico, "79.00"},
    {"IBUPROFENO 400 MG TAB C/10", "ANALGESICOS", "GIMEX", "CAJA", "9.10", Utilidad, "85"},
    {"IBUPROFENO 600 MG TAB C/10", "ANALGESICOS", "FARMALAB", "CAJA", "12.60", Utilidad, "80"},
    {"IBUPROFENO 800 MG TAB C/10", "ANALGESICOS", "FARMALAB", "CAJA", "15.40", Utilidad, "80"},
    {"IBUPROFENO 100 MG/5 ML SUSP 120 ML", "ANALGESICOS", "GIMEX", "FCO", "21.70", Publico, "42.00"},
    {"NAPROXENO 250 MG TAB C/30", "ANALGESICOS", "GIMEX", "CAJA", "19.80", Utilidad, "75"},
    {"NAPROXENO 500 MG TAB C/20", "ANALGESICOS", "FARMALAB", "CAJA", "24.50", Utilidad, "70"},
    {"DICLOFENACO 100 MG TAB C/20", "ANALGESICOS", "GIMEX", "CAJA", "16.30", Utilidad, "90"},
    {"DICLOFENACO 75 MG/3 ML SOL INY C/2", "ANALGESICOS", "PISA", "CAJA", "23.60", Margen, "21.40"},
    {"KETOROLACO 10 MG TAB C/10", "ANALGESICOS", "FARMALAB", "CAJA", "14.90", Utilidad, "85"},
    {"KETOROLACO 30 MG/ML SOL INY C/3", "ANALGESICOS", "PISA", "CAJA", "38.70", Margen, "31.30"},
    {"ACIDO ACETILSALICILICO 500 MG TAB C/20", "ANALGESICOS", "BAYER", "CAJA", "27.50", Publico, "42.50"},
    {"ASPIRINA PROTECT 100 MG TAB C/28", "ANALGESICOS", "BAYER", "CAJA", "61.20", Publico, "89.00"},
    {"METAMIZOL SODICO 500 MG TAB C/10", "ANALGESICOS", "GIMEX", "CAJA", "11.80", Utilidad, "80"},
    {"METAMIZOL SODICO 1 G/2 ML SOL INY C/3", "ANALGESICOS", "PISA", "CAJA", "29.40", Margen, "25.60"},
    {"BUTILHIOSCINA 10 MG GRAG C/20", "ANALGESICOS", "FARMALAB", "CAJA", "22.10", Utilidad, "75"},
    {"BUTILHIOSCINA CON METAMIZOL TAB C/10", "ANALGESICOS", "LIOMONT", "CAJA", "46.30", Publico, "72.00"},
    {"CELECOXIB 200 MG CAPS C/10", "ANALGESICOS", "GIMEX", "CAJA", "38.90", Utilidad, "70"},
    {"TRAMADOL CON PARACETAMOL TAB C/20", "ANALGESICOS", "SILANES", "CAJA", "96.40", Publico, "148.00"},
};

const Fila kAntibioticos[] = {
    {"AMOXICILINA 500MG CAPS C/12", "ANTIBIOTICOS", "GIMEX", "CAJA", "18.60", Utilidad, "90"},
    {"AMOXICILINA 500MG CAPS C/24", "ANTIBIOTICOS", "GIMEX", "CAJA", "33.10", Utilidad, "85"},
    {"AMOXICILINA 250 MG/5 ML SUSP 75 ML", "ANTIBIOTICOS", "FARMALAB", "FCO", "24.80", Publico, "48.00"},
    {"AMOXICILINA CON ACIDO CLAVULANICO 875 MG TAB C/14", "ANTIBIOTICOS", "FARMALAB", "CAJA", "118.00", Utilidad, "45"},
    {"AMPICILINA 500 MG CAPS C/20", "ANTIBIOTICOS", "GIMEX", "CAJA", "29.70", Utilidad, "80"},
    {"AZITROMICINA 500 MG TAB C/3", "ANTIBIOTICOS", "GIMEX", "CAJA", "36.20", Utilidad, "85"},
    {"AZITROMICINA 200 MG/5 ML SUSP 15 ML", "ANTIBIOTICOS", "FARMALAB", "FCO", "52.40", Publico, "95.00"},
    {"CIPROFLOXACINO 500 MG TAB C/14", "ANTIBIOTICOS", "GIMEX", "CAJA", "31.50", Utilidad, "80"},
    {"CEFALEXINA 500 MG CAPS C/20", "ANTIBIOTICOS", "FARMALAB", "CAJA", "42.90", Utilidad, "70"},
    {"CLARITROMICINA 500 MG TAB C/10", "ANTIBIOTICOS", "FARMALAB", "CAJA", "88.60", Utilidad, "55"},
    {"DOXICICLINA 100 MG CAPS C/10", "ANTIBIOTICOS", "GIMEX", "CAJA", "34.20", Utilidad, "75"},
    {"NITROFURANTOINA 100 MG CAPS C/40", "ANTIBIOTICOS", "SILANES", "CAJA", "74.30", Publico, "118.00"},
    {"TRIMETOPRIMA CON SULFAMETOXAZOL TAB C/14", "ANTIBIOTICOS", "GIMEX", "CAJA", "17.40", Utilidad, "90"},
    {"TRIMETOPRIMA CON SULFAMETOXAZOL SUSP 120 ML", "ANTIBIOTICOS", "GIMEX", "FCO", "19.60", Publico, "38.00"},
    {"METRONIDAZOL 500 MG TAB C/30", "ANTIBIOTICOS", "FARMALAB", "CAJA", "26.80", Utilidad, "80"},
    {"CEFTRIAXONA 1 G SOL INY", "ANTIBIOTICOS", "PISA", "AMP", "39.50", Margen, "45.50"},
    {"PENICILINA BENZATINICA 1 200 000 UI SOL INY", "ANTIBIOTICOS", "PISA", "AMP", "27.80", Margen, "32.20"},
    {"GENTAMICINA 80 MG/2 ML SOL INY C/1", "ANTIBIOTICOS", "PISA", "AMP", "12.30", Margen, "15.70"},
    {"LEVOFLOXACINO 500 MG TAB C/7", "ANTIBIOTICOS", "SANOFI", "CAJA", "165.00", Publico, "239.00"},
    {"CLINDAMICINA 300 MG CAPS C/16", "ANTIBIOTICOS", "PFIZER", "CAJA", "212.00", Publico, "298.00"},
    {"NEOMICINA Y BACITRACINA UNGUENTO 15 G", "ANTIBIOTICOS", "LIOMONT", "TUB", "28.40", Publico, "49.00"},
    {"CLORANFENICOL GOTAS OFTALMICAS 15 ML", "ANTIBIOTICOS", "SOPHIA", "FCO", "31.60", Publico, "55.00"},
};

const Fila kAntigripales[] = {
    {"LORATADINA 10 MG TAB C/10", "ANTIGRIPALES", "GIMEX", "CAJA", "8.90", Utilidad, "90"},
    {"LORATADINA 5 MG/5 ML JARABE 60 ML", "ANTIGRIPALES", "GIMEX", "FCO", "16.20", Publico, "32.00"},
    {"CETIRIZINA 10 MG TAB C/10", "ANTIGRIPALES", "FARMALAB", "CAJA", "12.40", Utilidad, "85"},
    {"CLORFENAMINA 4 MG TAB C/20", "ANTIGRIPALES", "GIMEX", "CAJA", "7.30", Utilidad, "95"},
    {"AMBROXOL 30 MG/5 ML JARABE 120 ML", "ANTIGRIPALES", "FARMALAB", "FCO", "21.50", Publico, "42.00"},
    {"AMBROXOL 30 MG TAB C/20", "ANTIGRIPALES", "GIMEX", "CAJA", "14.70", Utilidad, "85"},
    {"DEXTROMETORFANO JARABE 120 ML", "ANTIGRIPALES", "GENOMMA", "FCO", "38.90", Publico, "62.00"},
    {"PARACETAMOL CON FENILEFRINA Y CLORFENAMINA TAB C/12", "ANTIGRIPALES", "GENOMMA", "CAJA", "42.30", Publico, "69.00"},
    {"ANTIGRIPAL DIA Y NOCHE CAPS C/12", "ANTIGRIPALES", "GENOMMA", "CAJA", "51.60", Publico, "83.00"},
    {"DESENFRIOLITO SOBRE EFERVESCENTE C/2", "ANTIGRIPALES", "GENOMMA", "SOB", "13.20", Publico, "22.00"},
    {"XL-3 TAB C/12", "ANTIGRIPALES", "GENOMMA", "CAJA", "39.80", Publico, "64.00"},
    {"TABCIN ACTIVE TAB EFERV C/12", "ANTIGRIPALES", "BAYER", "CAJA", "61.40", Publico, "92.00"},
    {"BENZONATATO 100 MG CAPS C/20", "ANTIGRIPALES", "FARMALAB", "CAJA", "41.20", Utilidad, "70"},
    {"SALBUTAMOL 100 MCG AEROSOL 200 DOSIS", "ANTIGRIPALES", "GIMEX", "PZA", "47.30", Utilidad, "65"},
    {"SALBUTAMOL 2 MG/5 ML JARABE 120 ML", "ANTIGRIPALES", "GIMEX", "FCO", "18.40", Publico, "35.00"},
    {"OXIMETAZOLINA SOL NASAL 20 ML", "ANTIGRIPALES", "BAYER", "FCO", "52.70", Publico, "79.00"},
    {"CLORURO DE SODIO SOL NASAL 30 ML", "ANTIGRIPALES", "SOPHIA", "FCO", "33.90", Publico, "56.00"},
    {"PASTILLAS PARA LA GARGANTA MIEL Y LIMON C/12", "ANTIGRIPALES", "SANOFI", "CAJA", "17.60", Publico, "29.00"},
    {"VICK VAPORUB 50 G", "ANTIGRIPALES", "PYG", "FCO", "41.80", Publico, "64.00"},
    {"DEXAMETASONA 8 MG/2 ML SOL INY", "ANTIGRIPALES", "PISA", "AMP", "18.90", Margen, "22.10"},
};

const Fila kGastro[] = {
    {"OMEPRAZOL 20 MG CAPS C/14", "GASTRO", "GIMEX", "CAJA", "12.80", Utilidad, "120"},
    {"OMEPRAZOL 20 MG CAPS C/28", "GASTRO", "GIMEX", "CAJA", "21.90", Utilidad, "110"},
    {"PANTOPRAZOL 40 MG TAB C/14", "GASTRO", "FARMALAB", "CAJA", "29.60", Utilidad, "90"},
    {"RANITIDINA 150 MG TAB C/20", "GASTRO", "GIMEX", "CAJA", "13.40", Utilidad, "85"},
    {"LOPERAMIDA 2 MG TAB C/12", "GASTRO", "GIMEX", "CAJA", "9.80", Utilidad, "90"},
    {"METOCLOPRAMIDA 10 MG TAB C/20", "GASTRO", "FARMALAB", "CAJA", "11.30", Utilidad, "85"},
    {"SUBSALICILATO DE BISMUTO SUSP 240 ML", "GASTRO", "PYG", "FCO", "71.40", Publico, "109.00"},
    {"HIDROXIDO DE ALUMINIO Y MAGNESIO SUSP 360 ML", "GASTRO", "SANOFI", "FCO", "58.20", Publico, "89.00"},
    {"SAL DE UVAS PICOT SOBRE C/1", "GASTRO", "GENOMMA", "SOB", "5.10", Publico, "9.00"},
    {"ALKA-SELTZER TAB EFERV C/12", "GASTRO", "BAYER", "CAJA", "36.80", Publico, "56.00"},
    {"ELECTROLITOS ORALES POLVO SOBRE 27.9 G", "GASTRO", "PISA", "SOB", "6.20", Publico, "11.00"},
    {"SUERO ORAL ELECTROLIT FRESA 625 ML", "GASTRO", "PISA", "FCO", "16.90", Publico, "27.00"},
    {"SUERO ORAL ELECTROLIT COCO 625 ML", "GASTRO", "PISA", "FCO", "16.90", Publico, "27.00"},
    {"ALBENDAZOL 200 MG TAB C/2", "GASTRO", "GIMEX", "CAJA", "7.40", Utilidad, "100"},
    {"NITAZOXANIDA 500 MG TAB C/6", "GASTRO", "LIOMONT", "CAJA", "68.90", Publico, "104.00"},
    {"TRIMEBUTINA 200 MG TAB C/20", "GASTRO", "FARMALAB", "CAJA", "41.60", Utilidad, "70"},
    {"SENOSIDOS A-B 8.6 MG TAB C/20", "GASTRO", "SENOSIAIN", "CAJA", "33.40", Publico, "52.00"},
    {"PSYLLIUM PLANTAGO POLVO 400 G", "GASTRO", "SENOSIAIN", "FCO", "98.70", Publico, "149.00"},
};

const Fila kCronicos[] = {
    {"METFORMINA 850 MG TAB C/30", "CRONICOS", "GIMEX", "CAJA", "14.20", Utilidad, "110"},
    {"METFORMINA 500 MG TAB C/30", "CRONICOS", "GIMEX", "CAJA", "12.60", Utilidad, "110"},
    {"GLIBENCLAMIDA 5 MG TAB C/50", "CRONICOS", "GIMEX", "CAJA", "10.90", Utilidad, "100"},
    {"METFORMINA CON GLIBENCLAMIDA TAB C/60", "CRONICOS", "FARMALAB", "CAJA", "38.70", Utilidad, "80"},
    {"SITAGLIPTINA 100 MG TAB C/28", "CRONICOS", "LILLY", "CAJA", "512.00", Publico, "689.00"},
    {"INSULINA HUMANA NPH 100 UI/ML 10 ML", "CRONICOS", "LILLY", "FCO", "189.00", Margen, "96.00"},
    {"INSULINA GLARGINA 100 UI/ML PLUMA 3 ML", "CRONICOS", "SANOFI", "PZA", "448.00", Margen, "151.00"},
    {"LOSARTAN 50 MG TAB C/30", "CRONICOS", "GIMEX", "CAJA", "17.40", Utilidad, "110"},
    {"LOSARTAN CON HIDROCLOROTIAZIDA TAB C/30", "CRONICOS", "FARMALAB", "CAJA", "44.60", Utilidad, "80"},
    {"ENALAPRIL 10 MG TAB C/30", "CRONICOS", "GIMEX", "CAJA", "11.70", Utilidad, "100"},
    {"CAPTOPRIL 25 MG TAB C/30", "CRONICOS", "GIMEX", "CAJA", "10.40", Utilidad, "100"},
    {"AMLODIPINO 5 MG TAB C/30", "CRONICOS", "GIMEX", "CAJA", "13.90", Utilidad, "100"},
    {"NIFEDIPINO 30 MG TAB LIB PROL C/30", "CRONICOS", "FARMALAB", "CAJA", "56.80", Utilidad, "70"},
    {"METOPROLOL 100 MG TAB C/20", "CRONICOS", "GIMEX", "CAJA", "15.30", Utilidad, "95"},
    {"HIDROCLOROTIAZIDA 25 MG TAB C/20", "CRONICOS", "GIMEX", "CAJA", "8.60", Utilidad, "100"},
    {"ATORVASTATINA 20 MG TAB C/30", "CRONICOS", "GIMEX", "CAJA", "24.90", Utilidad, "100"},
    {"ATORVASTATINA 20 MG TAB C/30 LIPITOR", "CRONICOS", "PFIZER", "CAJA", "598.00", Publico, "779.00"},
    {"PRAVASTATINA 20 MG TAB C/30", "CRONICOS", "FARMALAB", "CAJA", "62.30", Utilidad, "70"},
    {"BEZAFIBRATO 200 MG TAB C/30", "CRONICOS", "FARMALAB", "CAJA", "38.20", Utilidad, "75"},
    {"LEVOTIROXINA 100 MCG TAB C/50", "CRONICOS", "SANOFI", "CAJA", "74.60", Publico, "112.00"},
    {"CLOPIDOGREL 75 MG TAB C/28", "CRONICOS", "GIMEX", "CAJA", "46.30", Utilidad, "90"},
    {"ACIDO ACETILSALICILICO 100 MG TAB C/30", "CRONICOS", "GIMEX", "CAJA", "9.70", Utilidad, "110"},
    {"TAMSULOSINA 0.4 MG CAPS C/20", "CRONICOS", "FARMALAB", "CAJA", "89.40", Utilidad, "60"},
    {"ALOPURINOL 300 MG TAB C/30", "CRONICOS", "GIMEX", "CAJA", "16.80", Utilidad, "95"},
};

const Fila kVitaminas[] = {
    {"COMPLEJO B TAB C/30", "VITAMINAS", "GIMEX", "CAJA", "19.70", Utilidad, "90"},
    {"COMPLEJO B SOL INY C/3", "VITAMINAS", "PISA", "CAJA", "42.80", Margen, "37.20"},
    {"VITAMINA C 500 MG TAB MASTICABLE C/100", "VITAMINAS", "GIMEX", "FCO", "48.60", Utilidad, "80"},
    {"VITAMINA C 1 G TAB EFERV C/10", "VITAMINAS", "BAYER", "CAJA", "80.00", Financiero, "25", "125.00"},
    {"ACIDO FOLICO 5 MG TAB C/20", "VITAMINAS", "GIMEX", "CAJA", "7.90", Utilidad, "100"},
    {"SULFATO FERROSO 200 MG TAB C/30", "VITAMINAS", "GIMEX", "CAJA", "9.40", Utilidad, "100"},
    {"CALCIO CON VITAMINA D TAB C/60", "VITAMINAS", "FARMALAB", "FCO", "89.50", Publico, "139.00"},
    {"MULTIVITAMINICO ADULTO TAB C/30", "VITAMINAS", "BAYER", "FCO", "148.00", Publico, "219.00", "10"},
    {"MULTIVITAMINICO INFANTIL JARABE 240 ML", "VITAMINAS", "GENOMMA", "FCO", "61.30", Publico, "95.00"},
    {"OMEGA 3 CAPS C/60", "VITAMINAS", "FARMALAB", "FCO", "112.00", Utilidad, "60"},
    {"VITAMINA E 400 UI CAPS C/30", "VITAMINAS", "FARMALAB", "FCO", "72.40", Utilidad, "65"},
    {"ZINC 50 MG TAB C/30", "VITAMINAS", "GIMEX", "FCO", "44.80", Utilidad, "75"},
    {"MAGNESIO CITRATO TAB C/60", "VITAMINAS", "FARMALAB", "FCO", "98.20", Utilidad, "60"},
    {"COLAGENO HIDROLIZADO POLVO 300 G", "VITAMINAS", "GENOMMA", "FCO", "176.00", Publico, "259.00"},
    {"SUPLEMENTO ALIMENTICIO ADULTO MAYOR VAINILLA 400 G", "VITAMINAS", "NESTLE", "FCO", "214.00", Publico, "289.00"},
    {"FORMULA INFANTIL ETAPA 1 800 G", "VITAMINAS", "NESTLE", "FCO", "289.00", Publico, "369.00"},
};

const Fila kDermatologicos[] = {
    {"CLOTRIMAZOL CREMA 1% 20 G", "DERMATOLOGICOS", "GIMEX", "TUB", "11.20", Utilidad, "100"},
    {"KETOCONAZOL CREMA 2% 30 G", "DERMATOLOGICOS", "GIMEX", "TUB", "17.80", Utilidad, "90"},
    {"HIDROCORTISONA CREMA 1% 15 G", "DERMATOLOGICOS", "FARMALAB", "TUB", "21.40", Utilidad, "85"},
    {"BETAMETASONA CREMA 0.05% 30 G", "DERMATOLOGICOS", "FARMALAB", "TUB", "24.30", Utilidad, "85"},
    {"OXIDO DE ZINC POMADA 60 G", "DERMATOLOGICOS", "GENOMMA", "TUB", "32.70", Publico, "54.00"},
    {"ACICLOVIR CREMA 5% 10 G", "DERMATOLOGICOS", "GIMEX", "TUB", "19.60", Utilidad, "90"},
    {"TERBINAFINA CREMA 1% 15 G", "DERMATOLOGICOS", "LIOMONT", "TUB", "54.20", Publico, "84.00"},
    {"DICLOFENACO GEL 1% 50 G", "DERMATOLOGICOS", "GIMEX", "TUB", "23.90", Utilidad, "90"},
    {"ARNICA GEL 120 G", "DERMATOLOGICOS", "GENOMMA", "TUB", "39.40", Publico, "63.00"},
    {"MICONAZOL POLVO 2% 40 G", "DERMATOLOGICOS", "GENOMMA", "FCO", "42.10", Publico, "66.00"},
};

// ---- Wound care and devices (16 %)

const Fila kCuracion[] = {
    {"GASA ESTERIL 10X10 CM SOBRE C/1", "CURACION", "DEGASA", "SOB", "1.60", Publico, "3.50"},
    {"GASA ESTERIL 10X10 CM CAJA C/100", "CURACION", "DEGASA", "CAJA", "118.00", Utilidad, "45"},
    {"VENDA ELASTICA 10 CM X 5 M", "CURACION", "DEGASA", "PZA", "19.80", Utilidad, "70"},
    {"VENDA ELASTICA 5 CM X 5 M", "CURACION", "DEGASA", "PZA", "13.40", Utilidad, "70"},
    {"ALGODON PLISADO 100 G", "CURACION", "DEGASA", "PAQ", "18.60", Publico, "31.00"},
    {"TELA ADHESIVA MICROPORE 2.5 CM", "CURACION", "TRESM", "PZA", "21.30", Publico, "35.00"},
    {"CURITAS BANDITAS C/20", "CURACION", "JNJ", "CAJA", "24.70", Publico, "39.00"},
    {"ALCOHOL ETILICO 96 500 ML", "CURACION", "DEGASA", "FCO", "28.40", Publico, "46.00"},
    {"AGUA OXIGENADA 480 ML", "CURACION", "DEGASA", "FCO", "14.90", Publico, "25.00"},
    {"ANTISEPTICO BENZALCONIO 240 ML", "CURACION", "DEGASA", "FCO", "26.10", Utilidad, "65"},
    {"CUBREBOCAS TRICAPA CAJA C/50", "CURACION", "DEGASA", "CAJA", "42.00", Fijo, "79.00"},
    {"GUANTES DE LATEX MEDIANOS CAJA C/100", "CURACION", "DEGASA", "CAJA", "98.50", Fijo, "149.00"},
    {"JERINGA DESECHABLE 5 ML CAJA C/10", "CURACION", "DEGASA", "CAJA", "21.00", Fijo, "35.00"},
    {"JERINGA DESECHABLE 5 ML PIEZA", "CURACION", "DEGASA", "PZA", "2.30", Fijo, "4.50"},
    {"PRUEBA DE EMBARAZO CASSETTE", "CURACION", "GENOMMA", "PZA", "27.60", Publico, "49.00"},
    {"PRESERVATIVOS LATEX C/3", "CURACION", "JNJ", "CAJA", "31.20", Publico, "52.00"},
};

const Fila kEquipo[] = {
    {"GLUCOMETRO ACCU-CHEK INSTANT", "EQUIPO", "ROCHE", "PZA", "398.00", Fijo, "599.00"},
    {"BAUMANOMETRO DIGITAL DE BRAZO", "EQUIPO", "OMRON", "PZA", "642.00", Utilidad, "40"},
    {"BAUMANOMETRO DIGITAL DE MUÑECA", "EQUIPO", "OMRON", "PZA", "498.00", Utilidad, "40"},
    {"NEBULIZADOR COMPRESOR", "EQUIPO", "OMRON", "PZA", "735.00", Publico, "999.00", "5"},
    {"OXIMETRO DE PULSO DIGITAL", "EQUIPO", "OMRON", "PZA", "214.00", Utilidad, "55"},
};

const Fila kTiras[] = {
    {"TIRAS REACTIVAS ACCU-CHEK INSTANT C/50", "EQUIPO", "ROCHE", "CAJA", "389.00", Publico, "519.00"},
    {"TIRAS REACTIVAS ACCU-CHEK INSTANT C/25", "EQUIPO", "ROCHE", "CAJA", "214.00", Publico, "289.00"},
    {"LANCETAS ESTERILES C/100", "EQUIPO", "ROCHE", "CAJA", "96.00", Utilidad, "50"},
    {"TERMOMETRO DIGITAL", "EQUIPO", "OMRON", "PZA", "58.00", Utilidad, "70"},
};

// ---- Personal care (16 %)

const Fila kHigiene[] = {
    {"JABON DE TOCADOR 150 G", "HIGIENE", "PALMOLIVE", "PZA", "13.20", Utilidad, "40"},
    {"JABON DE TOCADOR AVENA 150 G", "HIGIENE", "PALMOLIVE", "PZA", "14.10", Utilidad, "40"},
    {"JABON DE TOCADOR NEUTRO 3 PZAS 450 G", "HIGIENE", "PALMOLIVE", "PAQ", "36.80", Utilidad, "35"},
    {"JABON LIQUIDO PARA MANOS 250 ML", "HIGIENE", "HENKEL", "FCO", "28.70", Utilidad, "40"},
    {"JABON ANTIBACTERIAL 120 G", "HIGIENE", "HENKEL", "PZA", "15.30", Utilidad, "40"},
    {"SHAMPOO MANZANILLA 400 ML", "HIGIENE", "UNILEVER", "FCO", "42.60", Publico, "62.00"},
    {"SHAMPOO ANTICASPA 375 ML", "HIGIENE", "PYG", "FCO", "71.80", Publico, "99.00"},
    {"SHAMPOO RIZOS DEFINIDOS 750 ML", "HIGIENE", "UNILEVER", "FCO", "68.90", Publico, "95.00"},
    {"SHAMPOO PARA BEBE 400 ML", "BEBES", "JNJ", "FCO", "58.40", Publico, "84.00"},
    {"ACONDICIONADOR RECONSTRUCCION 400 ML", "HIGIENE", "UNILEVER", "FCO", "44.30", Publico, "64.00"},
    {"CREMA CORPORAL HUMECTANTE 400 ML", "HIGIENE", "UNILEVER", "FCO", "59.70", Publico, "86.00"},
    {"CREMA PARA MANOS 100 ML", "HIGIENE", "UNILEVER", "TUB", "31.40", Publico, "46.00"},
    {"DESODORANTE AEROSOL HOMBRE 150 ML", "HIGIENE", "UNILEVER", "PZA", "52.90", Publico, "74.00"},
    {"DESODORANTE AEROSOL MUJER 150 ML", "HIGIENE", "UNILEVER", "PZA", "52.90", Publico, "74.00"},
    {"DESODORANTE BARRA CLINICAL 48 G", "HIGIENE", "PYG", "PZA", "64.20", Publico, "89.00"},
    {"DESODORANTE ROLL ON 50 ML", "HIGIENE", "HENKEL", "PZA", "34.80", Publico, "49.00"},
    {"PASTA DENTAL 100 ML", "HIGIENE", "COLGATE", "TUB", "22.40", Utilidad, "45"},
    {"PASTA DENTAL TRIPLE ACCION 150 ML", "HIGIENE", "COLGATE", "TUB", "31.70", Utilidad, "45"},
    {"PASTA DENTAL BLANQUEADORA 75 ML", "HIGIENE", "COLGATE", "TUB", "38.90", Utilidad, "45"},
    {"PASTA DENTAL PARA NIÑOS 50 ML", "BEBES", "COLGATE", "TUB", "24.10", Utilidad, "45"},
    {"CEPILLO DENTAL MEDIO", "HIGIENE", "COLGATE", "PZA", "14.60", Utilidad, "60"},
    {"CEPILLO DENTAL SUAVE 2 PZAS", "HIGIENE", "COLGATE", "PAQ", "29.40", Utilidad, "55"},
    {"ENJUAGUE BUCAL 500 ML", "HIGIENE", "JNJ", "FCO", "62.30", Publico, "89.00"},
    {"HILO DENTAL 50 M", "HIGIENE", "JNJ", "PZA", "27.80", Publico, "42.00"},
    {"TOALLAS FEMENINAS CON ALAS C/10", "HIGIENE", "KIMBERLY", "PAQ", "24.60", Utilidad, "40"},
    {"TOALLAS FEMENINAS NOCTURNAS C/8", "HIGIENE", "KIMBERLY", "PAQ", "28.30", Utilidad, "40"},
    {"PROTECTORES DIARIOS C/40", "HIGIENE", "KIMBERLY", "PAQ", "31.50", Utilidad, "40"},
    {"TAMPONES REGULAR C/16", "HIGIENE", "JNJ", "CAJA", "54.80", Publico, "79.00"},
    {"PAPEL HIGIENICO 4 ROLLOS", "HIGIENE", "KIMBERLY", "PAQ", "26.90", Utilidad, "30"},
    {"PAPEL HIGIENICO 12 ROLLOS", "HIGIENE", "KIMBERLY", "PAQ", "74.20", Utilidad, "28"},
    {"PAÑUELOS DESECHABLES C/90", "HIGIENE", "KIMBERLY", "CAJA", "21.30", Utilidad, "40"},
    {"RASTRILLO DESECHABLE C/3", "HIGIENE", "PYG", "PAQ", "33.60", Publico, "49.00"},
    {"ESPUMA PARA AFEITAR 200 ML", "HIGIENE", "PYG", "PZA", "46.90", Publico, "67.00"},
    {"GEL PARA CABELLO FIJACION EXTREMA 500 G", "HIGIENE", "HENKEL", "FCO", "34.20", Utilidad, "45"},
    {"PROTECTOR SOLAR FPS 50 120 ML", "HIGIENE", "GENOMMA", "FCO", "148.00", Publico, "219.00"},
    {"REPELENTE DE INSECTOS AEROSOL 165 ML", "HIGIENE", "JNJ", "PZA", "72.40", Publico, "104.00"},
    {"GEL ANTIBACTERIAL 500 ML", "HIGIENE", "HENKEL", "FCO", "34.80", Margen, "20.20"},
    {"GEL ANTIBACTERIAL 60 ML", "HIGIENE", "HENKEL", "FCO", "8.90", Margen, "6.10"},
    {"TALCO PARA PIES 160 G", "HIGIENE", "GENOMMA", "FCO", "47.30", Publico, "69.00"},
    {"QUITAESMALTE 120 ML", "HIGIENE", "GENOMMA", "FCO", "19.80", Utilidad, "50"},
};

const Fila kBebes[] = {
    {"PAÑALES ETAPA 1 C/40", "BEBES", "KIMBERLY", "PAQ", "148.00", Utilidad, "30"},
    {"PAÑALES ETAPA 3 C/40", "BEBES", "KIMBERLY", "PAQ", "176.00", Utilidad, "30"},
    {"PAÑALES ETAPA 4 C/38", "BEBES", "KIMBERLY", "PAQ", "184.00", Utilidad, "30"},
    {"PAÑALES ETAPA 5 C/36", "BEBES", "KIMBERLY", "PAQ", "192.00", Utilidad, "30"},
    {"PAÑALES PARA ADULTO MEDIANO C/10", "BEBES", "KIMBERLY", "PAQ", "112.00", Utilidad, "35"},
    {"TOALLITAS HUMEDAS C/80", "BEBES", "KIMBERLY", "PAQ", "38.60", Utilidad, "40"},
    {"TOALLITAS HUMEDAS SIN AROMA C/100", "BEBES", "KIMBERLY", "PAQ", "46.20", Utilidad, "40"},
    {"ACEITE PARA BEBE 200 ML", "BEBES", "JNJ", "FCO", "51.40", Publico, "76.00"},
    {"CREMA PARA ROZADURAS 60 G", "BEBES", "BAYER", "TUB", "64.90", Publico, "95.00"},
    {"MAMILA 9 OZ", "BEBES", "JNJ", "PZA", "48.30", Utilidad, "55"},
    {"CHUPON DE SILICON 0-6 MESES", "BEBES", "JNJ", "PZA", "36.70", Utilidad, "55"},
    {"JABON LIQUIDO PARA BEBE 400 ML", "BEBES", "JNJ", "FCO", "57.10", Publico, "83.00"},
};

const Fila kLimpieza[] = {
    {"DETERGENTE EN POLVO 1 KG", "LIMPIEZA", "HENKEL", "PAQ", "32.40", Utilidad, "30"},
    {"DETERGENTE EN POLVO 3 KG", "LIMPIEZA", "HENKEL", "PAQ", "89.70", Utilidad, "28"},
    {"DETERGENTE LIQUIDO 2.8 LT", "LIMPIEZA", "PYG", "FCO", "126.00", Utilidad, "28"},
    {"SUAVIZANTE DE TELAS 850 ML", "LIMPIEZA", "COLGATE", "FCO", "24.80", Utilidad, "35"},
    {"CLORO 950 ML", "LIMPIEZA", "ESPERANZA", "FCO", "11.60", Utilidad, "45"},
    {"CLORO 3.75 LT", "LIMPIEZA", "ESPERANZA", "FCO", "33.90", Utilidad, "40"},
    {"LIMPIADOR MULTIUSOS LAVANDA 1 LT", "LIMPIEZA", "COLGATE", "FCO", "21.70", Utilidad, "40"},
    {"LAVATRASTES LIQUIDO LIMON 750 ML", "LIMPIEZA", "COLGATE", "FCO", "27.30", Utilidad, "35"},
    {"LAVATRASTES EN PASTA 400 G", "LIMPIEZA", "COLGATE", "PZA", "15.90", Utilidad, "40"},
    {"ESPONJA PARA TRASTES C/3", "LIMPIEZA", "TRESM", "PAQ", "18.40", Utilidad, "45"},
    {"BOLSA PARA BASURA JUMBO C/10", "LIMPIEZA", "ESPERANZA", "PAQ", "26.80", Utilidad, "45"},
    {"INSECTICIDA AEROSOL 400 ML", "LIMPIEZA", "HENKEL", "PZA", "58.90", Publico, "84.00"},
    {"SERVILLETAS C/500", "LIMPIEZA", "KIMBERLY", "PAQ", "29.60", Utilidad, "35"},
    {"TOALLA DE PAPEL PARA COCINA 2 ROLLOS", "LIMPIEZA", "KIMBERLY", "PAQ", "32.80", Utilidad, "35"},
};

// ---- Groceries: the basic basket carries no VAT, snacks and sweets do

const Fila kAbarrotesBasicos[] = {
    {"ARROZ SUPER EXTRA 1 KG", "GRANOS", "ESPERANZA", "PAQ", "24.80", Utilidad, "25"},
    {"ARROZ SUPER EXTRA 900 G", "GRANOS", "VERDEVALLE", "PAQ", "29.40", Publico, "36.50"},
    {"FRIJOL PINTO 1 KG", "GRANOS", "ESPERANZA", "PAQ", "31.60", Utilidad, "25"},
    {"FRIJOL NEGRO 1 KG", "GRANOS", "ESPERANZA", "PAQ", "33.20", Utilidad, "25"},
    {"FRIJOL PERUANO 900 G", "GRANOS", "VERDEVALLE", "PAQ", "42.70", Publico, "53.00"},
    {"LENTEJA 500 G", "GRANOS", "VERDEVALLE", "PAQ", "22.30", Publico, "28.50"},
    {"GARBANZO 500 G", "GRANOS", "VERDEVALLE", "PAQ", "26.10", Publico, "33.00"},
    {"FRIJOL PINTO A GRANEL KG", "GRANOS", "ESPERANZA", "KG", "28.90", Margen, "7.10"},
    {"AZUCAR ESTANDAR 1 KG", "ABARROTES", "ESPERANZA", "PAQ", "26.40", Utilidad, "20"},
    {"AZUCAR REFINADA 2 KG", "ABARROTES", "ESPERANZA", "PAQ", "58.20", Utilidad, "20"},
    {"SAL DE MESA 1 KG", "ABARROTES", "ESPERANZA", "PAQ", "11.80", Utilidad, "40"},
    {"ACEITE VEGETAL 1 LT", "ABARROTES", "ESPERANZA", "FCO", "34.60", Utilidad, "22"},
    {"ACEITE DE CANOLA 850 ML", "ABARROTES", "ESPERANZA", "FCO", "39.80", Utilidad, "22"},
    {"HARINA DE MAIZ 1 KG", "ABARROTES", "GRUMA", "PAQ", "19.70", Utilidad, "25"},
    {"HARINA DE TRIGO 1 KG", "ABARROTES", "ESPERANZA", "PAQ", "21.30", Utilidad, "25"},
    {"AVENA EN HOJUELAS 400 G", "CEREALES", "ESPERANZA", "PAQ", "18.90", Utilidad, "30"},
    {"PASTA PARA SOPA FIDEO 200 G", "ABARROTES", "ESPERANZA", "PAQ", "7.40", Utilidad, "35"},
    {"PASTA PARA SOPA CODITO 200 G", "ABARROTES", "ESPERANZA", "PAQ", "7.40", Utilidad, "35"},
    {"PASTA SPAGHETTI 500 G", "ABARROTES", "ESPERANZA", "PAQ", "17.20", Utilidad, "30"},
    {"ATUN EN AGUA 140 G", "ENLATADOS", "HERDEZ", "PZA", "17.60", Utilidad, "30"},
    {"ATUN EN ACEITE 140 G", "ENLATADOS", "HERDEZ", "PZA", "17.60", Utilidad, "30"},
    {"SARDINA EN TOMATE 425 G", "ENLATADOS", "HERDEZ", "PZA", "29.80", Utilidad, "30"},
    {"CHILES JALAPEÑOS EN RAJAS 220 G", "ENLATADOS", "COSTENA", "PZA", "14.30", Utilidad, "35"},
    {"CHILES CHIPOTLES ADOBADOS 210 G", "ENLATADOS", "COSTENA", "PZA", "21.60", Utilidad, "35"},
    {"FRIJOLES REFRITOS BAYOS 430 G", "ENLATADOS", "COSTENA", "PZA", "18.90", Utilidad, "35"},
    {"ELOTE EN GRANO 400 G", "ENLATADOS", "HERDEZ", "PZA", "19.40", Utilidad, "35"},
    {"PURE DE TOMATE 210 G", "ENLATADOS", "HERDEZ", "PZA", "7.30", Utilidad, "40"},
    {"SALSA VERDE 210 G", "ENLATADOS", "HERDEZ", "PZA", "13.60", Utilidad, "35"},
    {"MAYONESA 390 G", "ABARROTES", "HERDEZ", "FCO", "38.70", Utilidad, "28"},
    {"CAFE SOLUBLE 200 G", "ABARROTES", "NESTLE", "FCO", "112.00", Publico, "139.00"},
    {"CAFE DE GRANO MOLIDO 400 G", "ABARROTES", "ESPERANZA", "PAQ", "89.60", Utilidad, "30"},
    {"CEREAL DE MAIZ 500 G", "CEREALES", "NESTLE", "CAJA", "48.30", Publico, "62.00"},
    {"CEREAL DE TRIGO CON MIEL 480 G", "CEREALES", "NESTLE", "CAJA", "56.90", Publico, "73.00"},
    {"HUEVO BLANCO C/12", "ABARROTES", "ESPERANZA", "PAQ", "34.20", Margen, "8.80"},
    {"HUEVO BLANCO C/30", "ABARROTES", "ESPERANZA", "PAQ", "82.60", Margen, "18.40"},
    {"TORTILLINAS DE HARINA C/10", "PANADERIA", "BIMBO", "PAQ", "21.40", Publico, "27.00"},
    {"PAN BLANCO GRANDE 680 G", "PANADERIA", "BIMBO", "PAQ", "39.60", Publico, "49.00"},
    {"PAN INTEGRAL 680 G", "PANADERIA", "BIMBO", "PAQ", "43.80", Publico, "54.00"},
    {"TOSTADAS HORNEADAS C/20", "PANADERIA", "ESPERANZA", "PAQ", "17.90", Utilidad, "30"},
    {"LECHE EN POLVO ENTERA 800 G", "LACTEOS", "NESTLE", "PZA", "134.00", Publico, "165.00"},
};

const Fila kAbarrotesGravados[] = {
    {"GALLETAS MARIAS 850 G", "BOTANAS", "GAMESA", "PAQ", "42.60", Utilidad, "25"},
    {"GALLETAS SURTIDAS 500 G", "BOTANAS", "GAMESA", "PAQ", "47.30", Utilidad, "25"},
    {"GALLETAS DE AVENA 300 G", "BOTANAS", "GAMESA", "PAQ", "26.80", Utilidad, "30"},
    {"GALLETAS SALADAS 510 G", "BOTANAS", "GAMESA", "PAQ", "39.40", Utilidad, "25"},
    {"PAPAS FRITAS SAL 45 G", "BOTANAS", "SABRITAS", "PZA", "13.20", Publico, "17.24"},
    {"PAPAS FRITAS ADOBADAS 45 G", "BOTANAS", "SABRITAS", "PZA", "13.20", Publico, "17.24"},
    {"TOTOPOS NACHO 62 G", "BOTANAS", "SABRITAS", "PZA", "14.10", Publico, "18.10"},
    {"CACAHUATES JAPONESES 100 G", "BOTANAS", "SABRITAS", "PZA", "11.30", Publico, "15.52"},
    {"CHICHARRONES DE HARINA 60 G", "BOTANAS", "SABRITAS", "PZA", "10.60", Publico, "14.66"},
    {"PALOMITAS PARA MICROONDAS C/3", "BOTANAS", "ESPERANZA", "CAJA", "24.80", Utilidad, "35"},
    {"CHOCOLATE EN TABLILLA 540 G", "BOTANAS", "NESTLE", "CAJA", "62.40", Publico, "79.00"},
    {"CHOCOLATE DE LECHE BARRA 40 G", "BOTANAS", "NESTLE", "PZA", "9.80", Publico, "14.66"},
    {"CHICLES DE MENTA C/10", "BOTANAS", "ESPERANZA", "PAQ", "6.20", Publico, "9.48"},
    {"CARAMELOS SURTIDOS BOLSA 200 G", "BOTANAS", "ESPERANZA", "PAQ", "18.30", Utilidad, "40"},
    {"PALETAS DE CARAMELO C/20", "BOTANAS", "ESPERANZA", "PAQ", "31.60", Utilidad, "40"},
    {"GOMITAS DE GRENETINA 100 G", "BOTANAS", "ESPERANZA", "PAQ", "12.90", Utilidad, "45"},
    {"BARRA DE CEREAL C/6", "BOTANAS", "NESTLE", "CAJA", "38.70", Publico, "51.00"},
    {"CONCENTRADO PARA AGUA DE JAMAICA 700 ML", "BOTANAS", "COSTENA", "FCO", "29.40", Utilidad, "35"},
    {"SOPA INSTANTANEA POLLO 64 G", "ABARROTES", "ESPERANZA", "PZA", "9.40", Utilidad, "45"},
    {"SOPA INSTANTANEA CAMARON 64 G", "ABARROTES", "ESPERANZA", "PZA", "9.40", Utilidad, "45"},
};

const Fila kBebidas[] = {
    {"REFRESCO COLA 600 ML", "BEBIDAS", "COCA", "PZA", "12.80", Publico, "16.38"},
    {"REFRESCO COLA 2 LT", "BEBIDAS", "COCA", "PZA", "27.60", Publico, "34.48"},
    {"REFRESCO COLA 3 LT", "BEBIDAS", "COCA", "PZA", "38.90", Publico, "47.41"},
    {"REFRESCO COLA SIN AZUCAR 600 ML", "BEBIDAS", "COCA", "PZA", "12.80", Publico, "16.38"},
    {"REFRESCO LIMA LIMON 600 ML", "BEBIDAS", "COCA", "PZA", "11.90", Publico, "15.52"},
    {"REFRESCO DE TORONJA 2 LT", "BEBIDAS", "COCA", "PZA", "24.70", Publico, "31.03"},
    {"REFRESCO DE NARANJA 600 ML", "BEBIDAS", "COCA", "PZA", "11.90", Publico, "15.52"},
    {"AGUA NATURAL 600 ML", "BEBIDAS", "BONAFONT", "PZA", "6.40", Publico, "9.48"},
    {"AGUA NATURAL 1 LT", "BEBIDAS", "BONAFONT", "PZA", "8.90", Publico, "12.93"},
    {"AGUA NATURAL 1.5 LT", "BEBIDAS", "BONAFONT", "PZA", "10.70", Publico, "15.52"},
    {"AGUA MINERAL 355 ML", "BEBIDAS", "COCA", "PZA", "9.60", Publico, "12.93"},
    {"AGUA MINERAL 1.5 LT", "BEBIDAS", "COCA", "PZA", "18.40", Publico, "24.14"},
    {"BEBIDA ISOTONICA FRUTAS 1 LT", "BEBIDAS", "COCA", "PZA", "20.30", Publico, "26.72"},
    {"BEBIDA ISOTONICA LIMA LIMON 600 ML", "BEBIDAS", "COCA", "PZA", "14.60", Publico, "19.83"},
    {"JUGO DE NARANJA 1 LT", "BEBIDAS", "JUMEX", "PZA", "21.40", Utilidad, "30"},
    {"NECTAR DE DURAZNO 1 LT", "BEBIDAS", "JUMEX", "PZA", "19.60", Utilidad, "30"},
    {"NECTAR DE MANGO 335 ML", "BEBIDAS", "JUMEX", "PZA", "9.20", Utilidad, "35"},
    {"JUGO DE MANZANA 200 ML C/6", "BEBIDAS", "JUMEX", "PAQ", "38.40", Utilidad, "28"},
    {"BEBIDA ENERGETICA 473 ML", "BEBIDAS", "COCA", "PZA", "21.80", Publico, "28.45"},
    {"TE HELADO LIMON 600 ML", "BEBIDAS", "COCA", "PZA", "11.40", Publico, "15.52"},
    {"CAFE FRIO CAPUCHINO 281 ML", "BEBIDAS", "NESTLE", "PZA", "17.90", Publico, "23.28"},
    {"BEBIDA DE SOYA NATURAL 946 ML", "BEBIDAS", "ESPERANZA", "PZA", "23.60", Utilidad, "28"},
    {"HIELO EN BOLSA 5 KG", "BEBIDAS", "ESPERANZA", "PAQ", "18.00", Fijo, "25.00"},
    {"AGUA NATURAL GARRAFON 10 LT", "BEBIDAS", "BONAFONT", "PZA", "29.50", Fijo, "39.00"},
};

const Fila kLacteos[] = {
    {"LECHE ENTERA 1 LT", "LACTEOS", "LALA", "PZA", "22.40", Publico, "27.50"},
    {"LECHE DESLACTOSADA 1 LT", "LACTEOS", "LALA", "PZA", "24.80", Publico, "30.50"},
    {"LECHE SEMIDESCREMADA 1 LT", "LACTEOS", "LALA", "PZA", "23.60", Publico, "29.00"},
    {"LECHE ENTERA 1 LT ALPURA", "LACTEOS", "ALPURA", "PZA", "23.10", Publico, "28.50"},
    {"LECHE DESLACTOSADA LIGHT 1 LT ALPURA", "LACTEOS", "ALPURA", "PZA", "25.20", Publico, "31.00"},
    {"LECHE SABOR CHOCOLATE 250 ML", "LACTEOS", "LALA", "PZA", "10.60", Utilidad, "30"},
    {"YOGUR BEBIBLE FRESA 250 G", "LACTEOS", "LALA", "PZA", "9.80", Utilidad, "30"},
    {"YOGUR BATIDO NATURAL 1 KG", "LACTEOS", "ALPURA", "PZA", "41.30", Utilidad, "25"},
    {"QUESO PANELA 400 G", "LACTEOS", "LALA", "PZA", "58.60", Utilidad, "25"},
    {"QUESO OAXACA 400 G", "LACTEOS", "LALA", "PZA", "71.90", Utilidad, "25"},
    {"QUESO MANCHEGO REBANADO 200 G", "LACTEOS", "ALPURA", "PAQ", "52.40", Utilidad, "25"},
    {"QUESO AMARILLO AMERICANO 12 REBANADAS", "LACTEOS", "LALA", "PAQ", "34.70", Utilidad, "25"},
    {"CREMA ACIDA 450 ML", "LACTEOS", "LALA", "PZA", "33.80", Utilidad, "25"},
    {"MANTEQUILLA SIN SAL 90 G", "LACTEOS", "ALPURA", "PZA", "21.30", Utilidad, "30"},
    {"MARGARINA 225 G", "LACTEOS", "ESPERANZA", "PZA", "17.60", Utilidad, "30"},
    {"LECHE EVAPORADA 360 G", "LACTEOS", "NESTLE", "PZA", "18.40", Utilidad, "30"},
    {"LECHE CONDENSADA 387 G", "LACTEOS", "NESTLE", "PZA", "26.70", Utilidad, "30"},
    {"JAMON DE PAVO 250 G", "LACTEOS", "ESPERANZA", "PAQ", "39.80", Margen, "10.20"},
    {"SALCHICHA DE PAVO 500 G", "LACTEOS", "ESPERANZA", "PAQ", "36.40", Margen, "9.60"},
    {"GELATINA DE LECHE VASO 125 G", "LACTEOS", "LALA", "PZA", "8.70", Utilidad, "35"},
};

const Fila kDespensa[] = {
    {"DESPENSA NAVIDEÑA", "DESPENSA", "ESPERANZA", "PZA", "0", Fijo, "549.00"},
};

const Seccion kSecciones[] = {
    {"FARMACIA", "OTC", 0, "LOTE", 36, "MOSTRADOR A", false, kAnalgesicos},
    {"FARMACIA", "ANTIBIOTICO", 0, "LOTE", 24, "MOSTRADOR B", false, kAntibioticos},
    {"FARMACIA", "OTC", 0, "LOTE", 24, "MOSTRADOR C", false, kAntigripales},
    {"FARMACIA", "OTC", 0, "LOTE", 24, "MOSTRADOR D", false, kGastro},
    {"FARMACIA", "PATENTE", 0, "LOTE", 24, "MOSTRADOR E", false, kCronicos},
    {"FARMACIA", "OTC", 0, "EXISTENCIA", 24, "MOSTRADOR F", false, kVitaminas},
    {"FARMACIA", "OTC", 0, "LOTE", 24, "MOSTRADOR G", false, kDermatologicos},
    {"CURACION", "CURACION", 16, "EXISTENCIA", 0, "PASILLO 1", false, kCuracion},
    {"CURACION", "EQUIPO", 16, "SERIE", 0, "VITRINA", false, kEquipo},
    {"CURACION", "EQUIPO", 16, "LOTE", 18, "VITRINA", false, kTiras},
    {"PERFUMERIA", "", 16, "LIBRE", 0, "PASILLO 2", false, kHigiene},
    {"PERFUMERIA", "PANALES", 16, "LIBRE", 0, "PASILLO 3", true, kBebes},
    {"ABARROTES", "LIMPIEZA", 16, "LIBRE", 0, "PASILLO 4", true, kLimpieza},
    {"ABARROTES", "BASICOS", 0, "EXISTENCIA", 0, "PASILLO 5", true, kAbarrotesBasicos},
    {"ABARROTES", "DULCES", 16, "EXISTENCIA", 0, "PASILLO 6", true, kAbarrotesGravados},
    {"BEBIDAS", "REFRESCOS", 16, "EXISTENCIA", 0, "REFRIGERADOR 1", true, kBebidas},
    {"LACTEOS", "REFRIGERADOS", 0, "EXISTENCIA", 0, "REFRIGERADOR 2", true, kLacteos},
    {"ABARROTES", "TEMPORADA", 16, "EXISTENCIA", 0, "EXHIBIDOR", false, kDespensa},
};

// GS1 company numbers behind Mexico's prefix 750 (made up): key = 750 + company + item + check.
const struct {
    const char *fab;
    int empresa;
} kEmpresas[] = {
    {"GIMEX", 1201},     {"FARMALAB", 1202},  {"PISA", 1203},     {"BAYER", 1204},     {"PFIZER", 1205},
    {"SANOFI", 1206},    {"GENOMMA", 1207},   {"LILLY", 1208},    {"SILANES", 1209},   {"LIOMONT", 1210},
    {"SENOSIAIN", 1211}, {"SOPHIA", 1212},    {"DEGASA", 1301},   {"TRESM", 1302},     {"JNJ", 1303},
    {"ROCHE", 1304},     {"OMRON", 1305},     {"PALMOLIVE", 1401}, {"COLGATE", 1402},  {"UNILEVER", 1403},
    {"PYG", 1404},       {"HENKEL", 1405},    {"KIMBERLY", 1406}, {"ESPERANZA", 1501}, {"VERDEVALLE", 1502},
    {"GRUMA", 1503},     {"HERDEZ", 1504},    {"COSTENA", 1505},  {"NESTLE", 1506},    {"BIMBO", 1507},
    {"GAMESA", 1508},    {"SABRITAS", 1509},  {"COCA", 1601},     {"BONAFONT", 1602},  {"JUMEX", 1603},
    {"LALA", 1701},      {"ALPURA", 1702},
};

// ---- What some articles have besides their normal price

const char *const kSuspendido = "RANITIDINA 150 MG TAB C/20";

const struct {
    const char *caja;
    const char *pieza;
    int contiene;
} kPaquetes[] = {
    {"JERINGA DESECHABLE 5 ML CAJA C/10", "JERINGA DESECHABLE 5 ML PIEZA", 10},
};

const struct {
    const char *ensamble;
    const char *componente;
    int cantidad;
} kComponentes[] = {
    {"DESPENSA NAVIDEÑA", "ARROZ SUPER EXTRA 1 KG", 2},
    {"DESPENSA NAVIDEÑA", "FRIJOL PINTO 1 KG", 1},
    {"DESPENSA NAVIDEÑA", "ACEITE VEGETAL 1 LT", 1},
    {"DESPENSA NAVIDEÑA", "AZUCAR ESTANDAR 1 KG", 1},
    {"DESPENSA NAVIDEÑA", "ATUN EN AGUA 140 G", 3},
    {"DESPENSA NAVIDEÑA", "PURE DE TOMATE 210 G", 2},
    {"DESPENSA NAVIDEÑA", "CAFE SOLUBLE 200 G", 1},
    {"DESPENSA NAVIDEÑA", "CHOCOLATE EN TABLILLA 540 G", 1},
    {"DESPENSA NAVIDEÑA", "GALLETAS MARIAS 850 G", 1},
    {"DESPENSA NAVIDEÑA", "PASTA PARA SOPA FIDEO 200 G", 3},
};

// Offers relative to the day the store is created: one in force, one over, one sold out.
const struct {
    const char *nombre;
    int desde, hasta; // days from today
    int cantidad, vendidas;
    int rebaja;       // percentage off the public price
} kOfertas[] = {
    {"SHAMPOO MANZANILLA 400 ML", -3, 27, 60, 12, 15},
    {"DESODORANTE AEROSOL HOMBRE 150 ML", -60, -31, 48, 20, 20},
    {"REFRESCO COLA 2 LT", -5, 10, 24, 24, 10},
};

// Codes of older packagings that still reach the counter (twelve digits; the check is added).
const struct {
    const char *nombre;
    const char *codigo;
} kCodigos[] = {
    {"PARACETAMOL 500 MG TAB C/10", "750850000001"},
    {"LECHE ENTERA 1 LT", "750850000002"},
    {"LECHE ENTERA 1 LT", "750850000003"},
    {"AMOXICILINA 500MG CAPS C/12", "750850000004"},
    {"REFRESCO COLA 600 ML", "750850000005"},
    {"JABON DE TOCADOR 150 G", "750850000006"},
};

// Health-catalogue keys of the articles that are those medicines.
const struct {
    const char *nombre;
    const char *ssa;
} kSsa[] = {
    {"PARACETAMOL 500 MG TAB C/10", "010.000.0104.00"},
    {"PARACETAMOL 500 MG TAB C/20", "010.000.0104.00"},
    {"ACIDO ACETILSALICILICO 500 MG TAB C/20", "010.000.0101.00"},
    {"NAPROXENO 250 MG TAB C/30", "010.000.3407.00"},
    {"AMOXICILINA 500MG CAPS C/12", "010.000.2128.00"},
    {"AMOXICILINA 500MG CAPS C/24", "010.000.2128.00"},
    {"BUTILHIOSCINA 10 MG GRAG C/20", "010.000.1206.00"},
    {"RANITIDINA 150 MG TAB C/20", "010.000.0406.00"},
    {"OMEPRAZOL 20 MG CAPS C/14", "010.000.5186.00"},
    {"OMEPRAZOL 20 MG CAPS C/28", "010.000.5186.00"},
    {"CAPTOPRIL 25 MG TAB C/30", "010.000.0574.00"},
    {"METFORMINA 850 MG TAB C/30", "010.000.5165.00"},
    {"ELECTROLITOS ORALES POLVO SOBRE 27.9 G", "010.000.3623.00"},
};

// Concepts of the client types priced by department: the method and its value.
const struct {
    const char *tcli;
    const char *tart;
    const char *cambio;
    const char *valor;
} kConceptos[] = {
    {"EMPLEADO", "FARMACIA", "PUBLICO", "10"},    {"EMPLEADO", "CURACION", "PUBLICO", "10"},
    {"EMPLEADO", "PERFUMERIA", "PUBLICO", "5"},   {"EMPLEADO", "ABARROTES", "UTILIDAD", "15"},
    {"EMPLEADO", "BEBIDAS", "UTILIDAD", "15"},    {"EMPLEADO", "LACTEOS", "UTILIDAD", "10"},
    {"INSTITUCION", "FARMACIA", "UTILIDAD", "20"}, {"INSTITUCION", "CURACION", "UTILIDAD", "20"},
};

// ---- Rows as they are written

struct PrecioDemo {
    QString metodo;
    DemoPrice p;
    Decimal cantidad, vendidas;
    QDateTime desde, hasta;
};

struct ArticuloDemo {
    QString clave, nombre, tart, sub, fam, fab, med, ubicacion, ssa;
    QString eart = QStringLiteral("REGISTRADO");
    QString metodo;
    DemoPrice precio;
    QString cinv, cad;
    int caduca = 0;
    QString granel = QStringLiteral("NO");
    QString separar = QStringLiteral("N"), sepArt;
    Decimal sepNum;
    QString acumular = QStringLiteral("N"), acumArt;
    Decimal acumNum;
    QString ensamble = QStringLiteral("NO");
    QString actLista = QStringLiteral("NO");
    Decimal existencia;
    QList<PrecioDemo> listas, ofertas;
    QStringList codigos;
    QList<QPair<QString, Decimal>> componentes;
};

QString texto(const char *s)
{
    return QString::fromUtf8(s);
}

QVariant opcional(const QString &s)
{
    return s.isEmpty() ? QVariant() : QVariant(s);
}

DemoPrice entrada(const Fila &f, int iva)
{
    DemoPrice p;
    p.costo = Decimal(f.costo);
    p.ivaPorc = Decimal(iva);
    switch (f.metodo) {
    case Publico:
    case Fijo:
        p.publico = Decimal(f.valor);
        p.descuento = f.extra ? Decimal(f.extra) : Decimal();
        break;
    case Margen:
        p.margen = Decimal(f.valor);
        break;
    case Utilidad:
        p.utilidad = Decimal(f.valor);
        break;
    case Financiero:
        p.utilidad = Decimal(f.valor);
        p.publico = Decimal(f.extra);
        break;
    }
    return p;
}

// The public price less a percentage, as a 'PUBLICO' row over the article's cost and tax.
DemoPrice rebajado(const DemoPrice &normal, int porcentaje)
{
    DemoPrice p;
    p.costo = normal.costo;
    p.ivaPorc = normal.ivaPorc;
    p.publico = (normal.publico * Decimal(100 - porcentaje) / Decimal(100)).round(2);
    return DemoPrice::calcula(QStringLiteral("PUBLICO"), p);
}

QList<ArticuloDemo> articulosDemo(const QDateTime &ahora)
{
    QHash<QString, int> empresas;
    for (const auto &e : kEmpresas)
        empresas.insert(texto(e.fab), e.empresa);
    QHash<QString, int> siguiente; // next item number per company
    QList<ArticuloDemo> out;
    QHash<QString, qsizetype> porNombre;
    int n = 0;
    for (const Seccion &s : kSecciones) {
        for (const Fila &f : s.filas) {
            ArticuloDemo a;
            a.nombre = texto(f.nombre);
            a.fab = texto(f.fab);
            Q_ASSERT_X(empresas.contains(a.fab), "articulosDemo", f.fab);
            const int item = 100 + siguiente[a.fab]++;
            a.clave = Ean13::complete(QStringLiteral("750%1%2").arg(empresas.value(a.fab), 4, 10, QLatin1Char('0'))
                                          .arg(item, 5, 10, QLatin1Char('0')));
            a.tart = texto(s.tart);
            a.sub = texto(s.sub);
            a.fam = texto(f.fam);
            a.med = texto(f.med);
            a.ubicacion = texto(s.ubicacion);
            a.metodo = texto(kMetodos[f.metodo]);
            a.precio = DemoPrice::calcula(a.metodo, entrada(f, s.iva));
            a.cinv = texto(s.control);
            a.caduca = s.caduca;
            a.cad = s.caduca > 0 ? QStringLiteral("SI") : QStringLiteral("NO");
            if (a.med == u"KG")
                a.granel = QStringLiteral("SI");
            // Some stock of everything; devices sold by serial number come a few at a time.
            a.existencia = a.cinv == u"SERIE" ? Decimal(2 + n % 3) : Decimal(6 + (n * 37) % 90);
            if (s.mayoreo) {
                a.actLista = QStringLiteral("SI");
                PrecioDemo lista1{QStringLiteral("PUBLICO"), rebajado(a.precio, 5), Decimal(6), {}, {}, {}};
                PrecioDemo lista2{QStringLiteral("PUBLICO"), rebajado(a.precio, 10), Decimal(12), {}, {}, {}};
                a.listas = {lista1, lista2};
            }
            porNombre.insert(a.nombre, out.size());
            out.append(a);
            ++n;
        }
    }
    const auto articulo = [&](const char *nombre) -> ArticuloDemo & {
        const auto it = porNombre.constFind(texto(nombre));
        if (it == porNombre.cend())
            qFatal("Datos de demostración: no existe el artículo %s", nombre);
        return out[*it];
    };

    articulo(kSuspendido).eart = QStringLiteral("SUSPENDIDO");
    articulo(kSuspendido).existencia = Decimal();
    for (const auto &p : kPaquetes) {
        ArticuloDemo &caja = articulo(p.caja);
        ArticuloDemo &pieza = articulo(p.pieza);
        caja.separar = QStringLiteral("S");
        caja.sepArt = pieza.clave;
        caja.sepNum = Decimal(p.contiene);
        pieza.acumular = QStringLiteral("S");
        pieza.acumArt = caja.clave;
        pieza.acumNum = Decimal(p.contiene);
    }
    // An assembly costs what its components cost.
    for (const auto &k : kComponentes) {
        ArticuloDemo &ensamble = articulo(k.ensamble);
        const ArticuloDemo &componente = articulo(k.componente);
        ensamble.ensamble = QStringLiteral("SI");
        ensamble.componentes.append({componente.clave, Decimal(k.cantidad)});
        ensamble.precio.costo += componente.precio.costo * Decimal(k.cantidad);
    }
    for (ArticuloDemo &a : out)
        if (!a.componentes.isEmpty())
            a.precio = DemoPrice::calcula(a.metodo, a.precio);
    const QDate hoy = ahora.date();
    for (const auto &o : kOfertas) {
        ArticuloDemo &a = articulo(o.nombre);
        a.ofertas.append({QStringLiteral("PUBLICO"), rebajado(a.precio, o.rebaja), Decimal(o.cantidad),
                          Decimal(o.vendidas), QDateTime(hoy.addDays(o.desde), QTime(0, 0)),
                          QDateTime(hoy.addDays(o.hasta), QTime(23, 59, 59))});
    }
    for (const auto &k : kCodigos)
        articulo(k.nombre).codigos.append(Ean13::complete(texto(k.codigo)));
    for (const auto &s : kSsa)
        articulo(s.nombre).ssa = texto(s.ssa);
    return out;
}

const QString kColumnasArticulo = QStringLiteral(
    "art_Clave, art_Nombre, tart_Clave, sub_Clave, fam_Clave, fab_Clave, med_Clave, art_Ubicacion, ssa_Clave, "
    "eart_Clave, art_FecAlta, art_FecMod, usu_Clave, art_Costo, art_Importe, art_Descuento, art_SubTotal, "
    "art_Margen, art_Utilidad, art_IVAPorc, art_IVA, art_Total, art_Comision, art_CostoCompra, cambio_Clave, "
    "mej_Clave, art_ActLista, art_ActOfertas, art_VenderAbajoDelCosto, tres_Clave, per_Clave, cinv_Clave, "
    "art_Existencia, art_Caduca, cad_Clave, art_Granel, art_Separar, art_SepArt, art_SepNum, art_Acumular, "
    "art_AcumArt, art_AcumNum, art_Ensamble, art_Transferencia");

const QString kColumnasPrecio = QStringLiteral(
    "art_Clave, tprecio_Clave, precio_Clave, cambio_Clave, art_Costo, precio_Importe, precio_Descuento, "
    "precio_SubTotal, precio_Margen, precio_Utilidad, precio_IVA, precio_IVAPorc, precio_Total, PRECIO_FECINI, "
    "PRECIO_FECFIN, precio_Cantidad, precio_Vendidas");

QString insercion(const QString &tabla, const QString &columnas)
{
    QStringList marcas;
    for (qsizetype i = 0, n = columnas.count(u',') + 1; i < n; ++i)
        marcas << QStringLiteral("?");
    return QStringLiteral("insert into ") + tabla + QStringLiteral(" (") + columnas + QStringLiteral(") values (") +
           marcas.join(u',') + u')';
}

void escribePrecio(Connection &c, const QString &clave, const QString &tipo, int numero, const PrecioDemo &r)
{
    static const QString sql = insercion(QStringLiteral("tArticuloPrecio"), kColumnasPrecio);
    const DemoPrice &p = r.p;
    c.execute(sql, {clave, tipo, numero, r.metodo, p.costo, p.publico, p.descuento, p.subTotal, p.margen,
                    p.utilidad, p.iva, p.ivaPorc, p.total, r.desde.isValid() ? QVariant(r.desde) : QVariant(),
                    r.hasta.isValid() ? QVariant(r.hasta) : QVariant(), r.cantidad, r.vendidas});
}

void escribe(Connection &c, const ArticuloDemo &a, const QDateTime &ahora)
{
    static const QString sql = insercion(QStringLiteral("tArticulo"), kColumnasArticulo);
    const DemoPrice &p = a.precio;
    c.execute(sql, {a.clave,
                    a.nombre,
                    a.tart,
                    opcional(a.sub),
                    a.fam,
                    a.fab,
                    a.med,
                    a.ubicacion,
                    opcional(a.ssa),
                    a.eart,
                    ahora,
                    ahora,
                    "ADMIN",
                    p.costo,
                    p.publico,
                    p.descuento,
                    p.subTotal,
                    p.margen,
                    p.utilidad,
                    p.ivaPorc,
                    p.iva,
                    p.total,
                    Decimal(),
                    p.costo,
                    a.metodo,
                    "NO",
                    a.actLista,
                    "NO",
                    a.tart == u"FARMACIA" ? "NO" : "SI",
                    "A",
                    "MES",
                    a.cinv,
                    a.existencia,
                    a.caduca,
                    a.cad,
                    a.granel,
                    a.separar,
                    opcional(a.sepArt),
                    a.sepNum,
                    a.acumular,
                    opcional(a.acumArt),
                    a.acumNum,
                    a.ensamble,
                    "N"});
    escribePrecio(c, a.clave, QStringLiteral("NORMAL"), 1, {a.metodo, p, {}, {}, ahora, {}});
    for (qsizetype i = 0; i < a.listas.size(); ++i)
        escribePrecio(c, a.clave, QStringLiteral("LISTA"), int(i + 1), a.listas[i]);
    for (qsizetype i = 0; i < a.ofertas.size(); ++i)
        escribePrecio(c, a.clave, QStringLiteral("OFERTA"), int(i + 1), a.ofertas[i]);
    for (const QString &codigo : a.codigos)
        c.execute(QStringLiteral("insert into tArticuloCodigo (acod_Codigo, art_Clave) values (?, ?)"), {codigo, a.clave});
    c.execute(QStringLiteral("insert into tArticuloAlmacen (alm_Clave, art_Clave, alma_Clave, alma_Existencia) "
                             "values (?, ?, ?, ?)"),
              {"MATRIZ", a.clave, "", a.existencia});
}

} // namespace

void populateDemoArticulos(Connection &c)
{
    const QDateTime ahora = QDateTime::currentDateTime().addMSecs(-QTime::currentTime().msec());
    const QList<ArticuloDemo> articulos = articulosDemo(ahora);
    QSet<QString> existentes;
    {
        Recordset rs = c.openForwardOnly(QStringLiteral("select art_Clave from tArticulo"));
        for (; !rs.eof(); rs.moveNext())
            existentes.insert(rs.value(0).toString());
    }
    // Components first: an assembly's rows name articles that must already be there.
    for (const ArticuloDemo &a : articulos)
        if (a.componentes.isEmpty() && !existentes.contains(a.clave))
            escribe(c, a, ahora);
    for (const ArticuloDemo &a : articulos) {
        if (a.componentes.isEmpty() || existentes.contains(a.clave))
            continue;
        escribe(c, a, ahora);
        for (const auto &[componente, cantidad] : a.componentes)
            c.execute(QStringLiteral("insert into tArticuloEnsamble (art_Clave, esa_Clave, esa_Cantidad) values (?, ?, ?)"),
                      {a.clave, componente, cantidad});
    }
    for (const auto &k : kConceptos) {
        const QVariantList llave = {"DEPARTAMENTO", texto(k.tcli), texto(k.tart)};
        if (c.scalar(QStringLiteral("select count(*) from tTipoClienteConcepto where tcontrol_Clave = ? and "
                                    "tcli_Clave = ? and tcc_Clave = ?"),
                     llave)
                .toInt() == 0)
            c.execute(QStringLiteral("insert into tTipoClienteConcepto (tcontrol_Clave, tcli_Clave, tcc_Clave, "
                                     "cambio_Clave, tcc_Valor) values (?, ?, ?, ?, ?)"),
                      llave + QVariantList{texto(k.cambio), Decimal(k.valor).toQVariant()});
    }
}

} // namespace db
