// The tax-data checks the client and supplier masters share: RFC of persons and companies with
// the SAT's check digit, the generic RFCs, the CURP with its check digit, the postal code.
#include "DatosFiscales.h"

#include <QTest>

using R = DatosFiscales::Resultado;
Q_DECLARE_METATYPE(DatosFiscales::Resultado)

class tst_DatosFiscales : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rfc_data();
    void rfc();
    void digitoRfc_data();
    void digitoRfc();
    void curp_data();
    void curp();
    void codigoPostal_data();
    void codigoPostal();
};

void tst_DatosFiscales::rfc_data()
{
    QTest::addColumn<QString>("rfc");
    QTest::addColumn<R>("esperado");
    QTest::addColumn<bool>("fisica");
    // Published RFCs: the SAT's own worked example, the SAT, CFE and Telmex, the SAT's test issuer.
    QTest::newRow("persona, ejemplo del SAT") << "GODE561231GR8" << R::Valido << true;
    QTest::newRow("moral, SAT") << "SAT970701NN3" << R::Valido << false;
    QTest::newRow("moral, CFE (digito 0)") << "CFE370814QI0" << R::Valido << false;
    QTest::newRow("moral, Telmex") << "TME840315KT6" << R::Valido << false;
    QTest::newRow("moral, emisor de pruebas del SAT") << "EKU9003173C9" << R::Valido << false;
    QTest::newRow("persona, digito A") << "HELG850312K4A" << R::Valido << true;
    QTest::newRow("minusculas, guiones y blancos") << "gode-561231 gr8" << R::Valido << true;
    QTest::newRow("publico en general") << "XAXX010101000" << R::Generico << true;
    QTest::newRow("extranjero") << "XEXX010101000" << R::Generico << true;
    QTest::newRow("persona, digito cambiado") << "GODE561231GR9" << R::DigitoIncorrecto << true;
    QTest::newRow("moral, digito cambiado") << "CFE370814QI1" << R::DigitoIncorrecto << false;
    QTest::newRow("persona, homoclave cambiada") << "GODE561231GS8" << R::DigitoIncorrecto << true;
    QTest::newRow("moral, A en lugar de 0") << "CFE370814QIA" << R::DigitoIncorrecto << false;
    QTest::newRow("corto") << "GODE561231GR" << R::FormatoInvalido << false;
    QTest::newRow("largo") << "GODE561231GR88" << R::FormatoInvalido << false;
    QTest::newRow("mes 13") << "GODE561331GR8" << R::FormatoInvalido << true;
    QTest::newRow("31 de abril") << "GODE560431GR8" << R::FormatoInvalido << true;
    QTest::newRow("29 de febrero de 2000") << "GODE000229GR8" << R::DigitoIncorrecto << true;
    QTest::newRow("29 de febrero de 2001") << "GODE010229GR8" << R::FormatoInvalido << true;
    QTest::newRow("digito no es numero ni A") << "GODE561231GRB" << R::FormatoInvalido << true;
    QTest::newRow("numeros en las letras") << "G0DE561231GR8" << R::FormatoInvalido << true;
    QTest::newRow("vacio") << "" << R::FormatoInvalido << false;
}

void tst_DatosFiscales::rfc()
{
    QFETCH(QString, rfc);
    QFETCH(R, esperado);
    QFETCH(bool, fisica);
    QCOMPARE(DatosFiscales::revisaRfc(rfc), esperado);
    if (esperado != R::FormatoInvalido)
        QCOMPARE(DatosFiscales::esPersonaFisica(rfc), fisica);
}

void tst_DatosFiscales::digitoRfc_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("digito");
    QTest::newRow("persona") << "GODE561231GR" << "8";
    QTest::newRow("moral, como si un blanco la encabezara") << "SAT970701NN" << "3";
    QTest::newRow("residuo cero") << "CFE370814QI" << "0";
    QTest::newRow("diez es A") << "TOMR880117P5" << "A";
}

void tst_DatosFiscales::digitoRfc()
{
    QFETCH(QString, base);
    QFETCH(QString, digito);
    QCOMPARE(QString(DatosFiscales::digitoRfc(base)), digito);
    QVERIFY(!DatosFiscales::digitoRfc(base).isNull());
    QCOMPARE(DatosFiscales::revisaRfc(base + digito), R::Valido);
}

void tst_DatosFiscales::curp_data()
{
    QTest::addColumn<QString>("curp");
    QTest::addColumn<R>("esperado");
    // A CURP published as an example of the RENAPO rules.
    QTest::newRow("publicada") << "HEGG560427MVZRRL04" << R::Valido;
    QTest::newRow("nacida en Jalisco") << "HELG850312MJCRPD08" << R::Valido;
    QTest::newRow("minusculas") << "hegg560427mvzrrl04" << R::Valido;
    QTest::newRow("digito cambiado") << "HEGG560427MVZRRL05" << R::DigitoIncorrecto;
    QTest::newRow("homonimia cambiada") << "HEGG560427MVZRRL14" << R::DigitoIncorrecto;
    QTest::newRow("entidad que no existe") << "HEGG560427MXXRRL04" << R::FormatoInvalido;
    QTest::newRow("sexo que no existe") << "HEGG560427QVZRRL04" << R::FormatoInvalido;
    QTest::newRow("fecha imposible") << "HEGG561327MVZRRL04" << R::FormatoInvalido;
    QTest::newRow("vocal interna en consonantes") << "HEGG560427MVZARL04" << R::FormatoInvalido;
    QTest::newRow("17 caracteres") << "HEGG560427MVZRRL0" << R::FormatoInvalido;
    QTest::newRow("es un RFC") << "GODE561231GR8" << R::FormatoInvalido;
}

void tst_DatosFiscales::curp()
{
    QFETCH(QString, curp);
    QFETCH(R, esperado);
    QCOMPARE(DatosFiscales::revisaCurp(curp), esperado);
}

void tst_DatosFiscales::codigoPostal_data()
{
    QTest::addColumn<QString>("cp");
    QTest::addColumn<bool>("valido");
    QTest::newRow("Guadalajara") << "44100" << true;
    QTest::newRow("con cero inicial") << "01000" << true;
    QTest::newRow("con blancos alrededor") << " 45110 " << true;
    QTest::newRow("cuatro digitos") << "4410" << false;
    QTest::newRow("seis digitos") << "441000" << false;
    QTest::newRow("letras") << "44A00" << false;
    QTest::newRow("vacio") << "" << false;
}

void tst_DatosFiscales::codigoPostal()
{
    QFETCH(QString, cp);
    QFETCH(bool, valido);
    QCOMPARE(DatosFiscales::codigoPostalValido(cp), valido);
}

QTEST_GUILESS_MAIN(tst_DatosFiscales)
#include "tst_datos_fiscales.moc"
