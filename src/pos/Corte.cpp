#include "Corte.h"

#include "Connection.h"
#include "ConnectionProvider.h"
#include "DbError.h"
#include "Log.h"
#include "Prompter.h"
#include "Secuencias.h"
#include "Transaction.h"
#include "cConfigure.h"

namespace {

const QString kHayAbierto = QStringLiteral("Hay un corte de caja abierto, debe  cerrarlo antes de iniciar uno nuevo");
const QString kSinNumero = QStringLiteral("No se obtuvo un numero de corte");
const QString kSinImporte = QStringLiteral("Debe indicar el importe inicial");

struct Rechazo {
    QString texto;
};

int siguienteNumero(db::Connection &c, const QString &almacen, const QString &terminal, int anio)
{
    const QVariant v = c.scalar(QStringLiteral("select max(corte_Numero) from TCORTE where alm_Clave = ? and "
                                               "term_Clave = ? and corte_Anio = ?"),
                                {almacen, terminal, anio});
    return v.isNull() ? 1 : v.toInt() + 1;
}

} // namespace

const QString Corte::kCorteInvalido =
    QStringLiteral("Corte de Caja invalido, aperture un corte de caja antes de continuar");

Corte::Corte(ConnectionProvider &connections, cConfigure &config, Prompter &prompter)
    : m_connections(connections), m_config(config), m_prompter(prompter)
{
}

QString Corte::codigo(const Clave &clave)
{
    return clave.terminal + u'-' + QString::number(clave.anio) + u'-' + QString::number(clave.numero);
}

std::optional<Corte::Clave> Corte::deCodigo(const QString &codigo)
{
    const qsizetype n = codigo.lastIndexOf(u'-');
    if (n <= 0)
        return std::nullopt;
    const qsizetype a = codigo.lastIndexOf(u'-', n - 1);
    if (a <= 0)
        return std::nullopt;
    bool okAnio = false, okNumero = false;
    Clave c;
    c.terminal = codigo.left(a);
    c.anio = codigo.mid(a + 1, n - a - 1).toInt(&okAnio);
    c.numero = codigo.mid(n + 1).toInt(&okNumero);
    if (!okAnio || !okNumero || c.anio <= 0 || c.numero <= 0)
        return std::nullopt;
    return c;
}

std::optional<Corte::Abierto> Corte::corteAbierto()
{
    db::Connection &c = m_connections.getConnection();
    auto rs = c.openRecordset(QStringLiteral("select term_Clave, corte_Anio, corte_Numero, corte_Fecha from TCORTE "
                                             "where alm_Clave = ? and term_Clave = ? and ecorte_Clave = 'ABIERTO'"),
                              {m_config.getString(QStringLiteral("ALMACEN")),
                               m_config.getString(QStringLiteral("TERMINAL"))});
    if (rs.eof())
        return std::nullopt;
    Abierto a;
    a.clave.terminal = rs.value(0).toString();
    a.clave.anio = rs.value(1).toInt();
    a.clave.numero = rs.value(2).toInt();
    a.fecha = rs.value(3).toDateTime();
    const QString code = codigo(a.clave);
    if (m_config.getString(QStringLiteral("CORTE-CAJA")) != code) {
        m_config.setValue(QStringLiteral("CORTE-CAJA"), code);
        m_config.saveValue(QStringLiteral("CORTE-CAJA"));
    }
    return a;
}

bool Corte::bloqueaAbierto(db::Connection &c, const QString &almacen, const Clave &clave)
{
    // An update that changes nothing takes the row lock on both engines (SQLite's write lock is
    // already held under BEGIN IMMEDIATE).
    return c.execute(QStringLiteral("update TCORTE set ecorte_Clave = ecorte_Clave where alm_Clave = ? and "
                                    "term_Clave = ? and corte_Anio = ? and corte_Numero = ? and "
                                    "ecorte_Clave = 'ABIERTO'"),
                     {almacen, clave.terminal, clave.anio, clave.numero}) == 1;
}

bool Corte::validaCorte()
{
    try {
        if (corteAbierto())
            return true;
        m_prompter.exclamation(kCorteInvalido);
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("Corte.validaCorte: ") + e.description());
        m_prompter.detailedMessage(Prompter::Icon::Exclamation,
                                   QStringLiteral("No fue posible consultar el corte de caja"), e.description());
    }
    return false;
}

std::optional<Corte::Apertura> Corte::preparaApertura()
{
    try {
        if (corteAbierto()) {
            m_prompter.exclamation(kHayAbierto);
            return std::nullopt;
        }
        db::Connection &c = m_connections.getConnection();
        Apertura a;
        a.almacen = m_config.getString(QStringLiteral("ALMACEN"));
        a.terminal = m_config.getString(QStringLiteral("TERMINAL"));
        a.usuario = m_config.getString(QStringLiteral("USUARIO"));
        a.fecha = c.scalar(QStringLiteral("select getdate()")).toDateTime();
        a.anio = a.fecha.date().year();
        a.numero = siguienteNumero(c, a.almacen, a.terminal, a.anio);
        if (m_config.getBool(QStringLiteral("ACUMULA-SALDO-CORTE-DE-CAJA")) && a.numero > 1) {
            const QVariant previo = c.scalar(QStringLiteral("select corte_Total from TCORTE where alm_Clave = ? and "
                                                            "term_Clave = ? and corte_Anio = ? and corte_Numero = ?"),
                                             {a.almacen, a.terminal, a.anio, a.numero - 1});
            if (!previo.isNull())
                a.importeSugerido = Decimal::fromVariant(previo);
        }
        return a;
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("Corte.preparaApertura: ") + e.description());
        m_prompter.detailedMessage(Prompter::Icon::Exclamation, kSinNumero, e.description());
        return std::nullopt;
    }
}

bool Corte::abre(const Apertura &apertura, const QString &importeInicial)
{
    m_importeRechazado = false;
    bool ok = false;
    const Decimal importe = Decimal::fromString(importeInicial.trimmed(), &ok);
    if (importeInicial.trimmed().isEmpty() || !ok || importe.isNegative()) {
        m_importeRechazado = true;
        m_prompter.exclamation(kSinImporte);
        return false;
    }
    Clave clave{apertura.terminal, apertura.anio, apertura.numero};
    try {
        db::Connection &c = m_connections.getConnection();
        db::Transaction t(c);
        // Another station may have opened a cut of this terminal since the window showed its number.
        if (c.scalar(QStringLiteral("select count(*) from TCORTE where alm_Clave = ? and term_Clave = ? and "
                                    "ecorte_Clave = 'ABIERTO'"),
                     {apertura.almacen, apertura.terminal})
                .toInt() > 0)
            throw Rechazo{kHayAbierto};
        // The year is the server's at acceptance: a window left open over New Year's Eve opens
        // cut 1 of the new year, not the next number of the old one.
        clave.anio = c.scalar(QStringLiteral("select getdate()")).toDateTime().date().year();
        clave.numero = siguienteNumero(c, apertura.almacen, apertura.terminal, clave.anio);
        c.execute(QStringLiteral("insert into TCORTE (alm_Clave, term_Clave, corte_Anio, corte_Numero, corte_Fecha, "
                                 "ecorte_Clave, usu_Clave) values (?, ?, ?, ?, getdate(), 'ABIERTO', ?)"),
                  {apertura.almacen, apertura.terminal, clave.anio, clave.numero, apertura.usuario});
        const qint64 movimiento = Secuencias::getNextSequence(
            c, Secuencias::clave(Secuencias::Documento::MovCaja, apertura.almacen, apertura.fecha.date(),
                                 codigo(clave)));
        c.execute(QStringLiteral("insert into tMovCaja (alm_Clave, term_Clave, corte_Anio, corte_Numero, movc_Clave, "
                                 "concepto_Clave, concepto_Nombre, movc_Importe, movc_Fecha, usu_Clave) "
                                 "values (?, ?, ?, ?, ?, 'EFEC_APORTACION', 'IMPORTE INICIAL', ?, getdate(), ?)"),
                  {apertura.almacen, apertura.terminal, clave.anio, clave.numero, movimiento, importe.toQVariant(),
                   apertura.usuario});
        t.commit();
    } catch (const Rechazo &r) {
        m_prompter.exclamation(r.texto);
        return false;
    } catch (const db::DbError &e) {
        // The unique open-cut index: a station that opened the same terminal's cut a moment ago.
        if (e.kind() == db::DbError::ConstraintViolation) {
            m_prompter.exclamation(kHayAbierto);
            return false;
        }
        writeLog(QStringLiteral("Corte.abre: ") + e.description());
        m_prompter.detailedMessage(Prompter::Icon::Exclamation, QStringLiteral("No fue posible generar el corte"),
                                   e.description());
        return false;
    }
    m_config.setValue(QStringLiteral("CORTE-CAJA"), codigo(clave));
    m_config.saveValue(QStringLiteral("CORTE-CAJA"));
    m_prompter.information(QStringLiteral("El corte ha sido generado con éxito"));
    return true;
}
