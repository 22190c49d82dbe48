#include "UsuarioEditor.h"

#include "Connection.h"
#include "ConnectionProvider.h"
#include "FechaCapturada.h"
#include "Log.h"
#include "LoginPassword.h"
#include "MensajesMantenimiento.h"
#include "Permisos.h"
#include "Prompter.h"
#include "Transaction.h"
#include "cConfigure.h"

#include <QHash>
#include <QRegularExpression>

namespace {

QString keyOf(const QVariant &v)
{
    return v.toString().section(QLatin1Char('\t'), 0, 0).trimmed();
}

// Columns whose values come from a list: the form hands "key<Tab>name" entries.
const QStringList kKeyed = {"alm_Clave", "perf_Clave", "term_Clave", "eusu_Clave", "rusu_Clave", "id_Clave"};
const QStringList kNumeric = {"hdigital_Clave", "obj_ClaveFoto"};

} // namespace

const QStringList &UsuarioEditor::columns()
{
    static const QStringList c = {
        "usu_Clave",      "usu_Nombre",     "alm_Clave",         "perf_Clave",
        "term_Clave",     "eusu_Clave",     "rusu_Clave",        "usu_Credencial",
        "hdigital_Clave", "obj_ClaveFoto",  "id_Clave",          "usu_Calle",
        "usu_Exterior",   "usu_Interior",   "usu_Colonia",       "usu_DelMun",
        "usu_Ciudad",     "usu_CP",         "usu_Telefono1",     "usu_Telefono2",
        "usu_Email",      "usu_RFC",        "usu_CURP",          "usu_IMSS",
        "usu_INFONAVIT",  "usu_Cedula",     "usu_InstCedula",    "usu_Identificacion",
        "usu_Relacion",   "usu_Referencia", "usu_FecNacimiento", "usu_FecIngreso",
        "usu_FecBaja",    "usu_OtraInfo"};
    return c;
}

const QStringList &UsuarioEditor::dateColumns()
{
    static const QStringList c = {"usu_FecNacimiento", "usu_FecIngreso", "usu_FecBaja"};
    return c;
}

QString UsuarioEditor::titulo(const QString &column)
{
    static const QHash<QString, QString> titulos = {{"usu_Clave", "Clave"},
                                                    {"usu_Nombre", "Nombre"},
                                                    {"alm_Clave", "Almacen"},
                                                    {"perf_Clave", "Perfil"},
                                                    {"term_Clave", "Terminal"},
                                                    {"eusu_Clave", "Estado"},
                                                    {"rusu_Clave", "Relacion"},
                                                    {"usu_Credencial", "Credencial"},
                                                    {"hdigital_Clave", "Huella digital"},
                                                    {"obj_ClaveFoto", "Foto"},
                                                    {"id_Clave", "Tipo de identificacion"},
                                                    {"usu_DelMun", "Delegacion/Municipio"},
                                                    {"usu_CP", "Codigo postal"},
                                                    {"usu_InstCedula", "Institucion de la cedula"},
                                                    {"usu_FecNacimiento", "Fecha de nacimiento"},
                                                    {"usu_FecIngreso", "Fecha de ingreso"},
                                                    {"usu_FecBaja", "Fecha de baja"},
                                                    {"usu_OtraInfo", "Otra informacion"}};
    return titulos.value(column, QString(column).remove(QStringLiteral("usu_")));
}

const QString UsuarioEditor::kSinAcceso = MensajesMantenimiento::sinAcceso();

UsuarioEditor::UsuarioEditor(ConnectionProvider &connections, cConfigure &config, Permisos &permisos,
                             Prompter &prompter, const QString &mode)
    : m_connections(connections), m_config(config), m_permisos(permisos), m_prompter(prompter),
      m_mode(mode.toUpper())
{
}

QString UsuarioEditor::title() const
{
    if (m_mode == QLatin1String("A"))
        return QStringLiteral("Alta de Usuario");
    if (m_mode == QLatin1String("C"))
        return QStringLiteral("Cambio de Usuario");
    return QStringLiteral("Consulta de Usuario");
}

bool UsuarioEditor::allowed() const
{
    return m_permisos.hasPermission(m_mode == QLatin1String("A") ? QStringLiteral("frmUsuario_cmdAlta")
                                                                 : QStringLiteral("frmUsuario_cmdConsulta"));
}

QStringList UsuarioEditor::lista(const QString &table, const QString &keyColumn, const QString &nameColumn)
{
    // Identifiers come from this program's own code, never from the user.
    QStringList out;
    try {
        db::Recordset rs = m_connections.getConnection().openRecordset(
            QStringLiteral("select ") + keyColumn + QStringLiteral(", ") + nameColumn +
            QStringLiteral(" from ") + table + QStringLiteral(" order by ") + keyColumn);
        for (; !rs.eof(); rs.moveNext())
            out << rs.text(keyColumn).trimmed() + QLatin1Char('\t') + rs.text(nameColumn);
    } catch (const std::exception &e) {
        writeLog(QStringLiteral("frmUsuario.lista ") + table + QStringLiteral(": ") +
                 QString::fromUtf8(e.what()));
    }
    return out;
}

QString UsuarioEditor::formatoCredencial(const QString &code, const QString &formato, const QString &prefijo)
{
    QString body = code.trimmed();
    if (!prefijo.isEmpty() && body.startsWith(prefijo))
        body = body.mid(prefijo.size());
    // A picture of '#' and '0' formats a number as the original's Format() did: '0' positions
    // are padded with zeros, '#' ones are not; other text is kept as typed.
    bool numeric = !body.isEmpty();
    for (QChar ch : body)
        numeric = numeric && ch.isDigit();
    bool picture = !formato.isEmpty();
    for (QChar ch : formato)
        picture = picture && (ch == QLatin1Char('#') || ch == QLatin1Char('0'));
    if (numeric && picture) {
        while (body.size() > 1 && body.startsWith(QLatin1Char('0')))
            body.remove(0, 1);
        const int zeros = int(formato.count(QLatin1Char('0')));
        if (body.size() < zeros)
            body = QString(zeros - body.size(), QLatin1Char('0')) + body;
    }
    return body.isEmpty() ? QString() : prefijo + body;
}

QString UsuarioEditor::formatoCredencial(const QString &code) const
{
    return formatoCredencial(code, m_config.getString(QStringLiteral("CREDENCIAL-FORMATO")),
                             m_config.getString(QStringLiteral("CREDENCIAL-CODIGO-DE-BARRAS")));
}

bool UsuarioEditor::consultarRegistro(const QString &clave, QVariantMap &usuario)
{
    try {
        db::Recordset rs = m_connections.getConnection().openRecordset(
            QStringLiteral("select ") + columns().join(QLatin1String(", ")) +
                QStringLiteral(" from tUsuario where usu_Clave = ?"),
            {clave});
        if (rs.eof()) {
            m_prompter.information(MensajesMantenimiento::claveNoExiste());
            return false;
        }
        usuario.clear();
        for (const QString &c : columns())
            usuario.insert(c, kNumeric.contains(c) ? (rs.isNull(c) ? QVariant() : QVariant(rs.integer(c)))
                                                   : rs.value(c));
        return true;
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("frmUsuario.consultarRegistro"),
                    ErrorInfo::fromException(e));
        return false;
    }
}

bool UsuarioEditor::validaDatos(const QVariantMap &u)
{
    static const QList<QPair<QString, QString>> required = {
        {"usu_Clave", "Debe indicar una clave"},
        {"usu_Nombre", "Debe indicar un nombre"},
        {"alm_Clave", "Debe indicar el almacen"},
        {"perf_Clave", "Debe indicar el perfil de acceso"},
        {"term_Clave", "Debe indicar las terminal de acceso"},
        {"eusu_Clave", "Debe indicar el estado del usuario"},
        {"rusu_Clave", "Debe indicar la relacion del empleado"},
    };
    m_campoRechazado.clear();
    const auto rechaza = [this](const QString &column, const QString &message) {
        m_campoRechazado = column;
        m_prompter.information(message);
        return false;
    };
    for (const auto &r : required)
        if (keyOf(u.value(r.first)).isEmpty())
            return rechaza(r.first, r.second);
    // A typed value that is not what its field holds is refused, never stored as NULL.
    for (const QString &c : dateColumns()) {
        const QVariant v = u.value(c);
        const bool vacio = !v.isValid() || v.isNull() || v.toString().trimmed().isEmpty();
        if (!vacio && !fechaCapturada(v).isValid())
            return rechaza(c, QStringLiteral("Debe indicar una fecha valida en ") + titulo(c));
    }
    const QString cp = u.value(QStringLiteral("usu_CP")).toString().trimmed();
    static const QRegularExpression cincoDigitos(QStringLiteral("^[0-9]{5}$"));
    if (!cp.isEmpty() && !cincoDigitos.match(cp).hasMatch())
        return rechaza(QStringLiteral("usu_CP"),
                       QStringLiteral("Debe indicar un codigo postal de 5 digitos en ") +
                           titulo(QStringLiteral("usu_CP")));
    const QString credencial = formatoCredencial(u.value(QStringLiteral("usu_Credencial")).toString());
    if (credencial.isEmpty())
        return true;
    try {
        db::Recordset rs = m_connections.getConnection().openRecordset(
            QStringLiteral("select usu_Nombre from tUsuario where usu_Credencial = ? and usu_Clave <> ?"),
            {credencial, keyOf(u.value(QStringLiteral("usu_Clave")))});
        if (!rs.eof()) {
            m_campoRechazado = QStringLiteral("usu_Credencial");
            m_prompter.exclamation(QStringLiteral("La credencial esta asignada al siguiente usuario ") +
                                   rs.text(QStringLiteral("usu_Nombre")));
            return false;
        }
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("frmUsuario.validaDatos"),
                    ErrorInfo::fromException(e));
        return false;
    }
    return true;
}

bool UsuarioEditor::guardaDatos(QVariantMap u, const QString &password, bool *continuar)
{
    if (m_mode == QLatin1String("Q"))
        return false;
    // The window disables the command too; the rule holds whoever calls it.
    if (!allowed()) {
        m_prompter.exclamation(kSinAcceso);
        return false;
    }
    if (!validaDatos(u))
        return false;
    const bool adding = m_mode == QLatin1String("A");
    for (const QString &c : kKeyed)
        u.insert(c, keyOf(u.value(c)).isEmpty() ? QVariant() : QVariant(keyOf(u.value(c))));
    for (const QString &c : kNumeric) {
        const qint64 n = u.value(c).toLongLong();
        u.insert(c, n > 0 ? QVariant(n) : QVariant());
    }
    const QString credencial = formatoCredencial(u.value(QStringLiteral("usu_Credencial")).toString());
    // NULL, not '', for "no card": the column is unique.
    u.insert(QStringLiteral("usu_Credencial"), credencial.isEmpty() ? QVariant() : QVariant(credencial));
    for (const QString &c : dateColumns()) {
        const QDate d = fechaCapturada(u.value(c));
        u.insert(c, d.isValid() ? QVariant(d) : QVariant()); // validaDatos refused anything else
    }
    const QString clave = keyOf(u.value(QStringLiteral("usu_Clave")));
    u.insert(QStringLiteral("usu_Clave"), clave);

    QStringList cols = columns();
    QVariantList values;
    for (const QString &c : cols)
        values << u.value(c);
    const bool setPassword = adding || !password.isEmpty();
    if (setPassword) {
        cols << QStringLiteral("usu_Psw");
        try {
            values << LoginPassword::hash(password);
        } catch (const LoginPassword::HashFailure &e) {
            // Never the plain text in its place: the user is not saved at all.
            m_prompter.critical(QString::fromUtf8(e.what()));
            return false;
        }
    }
    try {
        db::Connection &conn = m_connections.getConnection();
        db::Transaction tx(conn);
        if (adding) {
            db::Recordset rs = conn.openRecordset(
                QStringLiteral("select usu_Nombre from tUsuario where usu_Clave = ?"), {clave});
            if (!rs.eof()) {
                tx.rollback();
                m_prompter.exclamation(QStringLiteral("La clave ya esta en uso para el siguiente Usuario ") +
                                       rs.text(QStringLiteral("usu_Nombre")));
                return false;
            }
            QStringList marks;
            for (qsizetype i = 0; i < cols.size(); ++i)
                marks << QStringLiteral("?");
            conn.execute(QStringLiteral("insert into tUsuario (") + cols.join(u',') +
                             QStringLiteral(") values (") + marks.join(u',') + u')',
                         values);
        } else {
            QStringList sets;
            QVariantList params;
            for (qsizetype i = 1; i < cols.size(); ++i) {
                sets << cols.at(i) + QStringLiteral(" = ?");
                params << values.at(i);
            }
            params << clave;
            if (conn.execute(QStringLiteral("update tUsuario set ") + sets.join(QLatin1String(", ")) +
                                 QStringLiteral(" where usu_Clave = ?"),
                             params) == 0) {
                tx.rollback();
                m_prompter.information(MensajesMantenimiento::claveNoExiste());
                return false;
            }
        }
        tx.commit();
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("frmUsuario.guardaDatos"),
                    ErrorInfo::fromException(e));
        return false;
    }
    if (adding) {
        const bool more = m_prompter.question(
            QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas Usuarios"),
            true);
        if (continuar)
            *continuar = more;
    } else {
        m_prompter.information(MensajesMantenimiento::actualizado());
    }
    return true;
}

bool UsuarioEditor::eliminarRegistro(const QString &clave)
{
    if (!m_prompter.question(QStringLiteral("Esta seguro de eliminar el Usuario"), false))
        return false;
    try {
        m_connections.getConnection().execute(QStringLiteral("delete from tUsuario where usu_Clave = ?"),
                                              {clave});
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("frmUsuario.eliminarRegistro"),
                    ErrorInfo::fromException(e));
        return false;
    }
    m_prompter.information(MensajesMantenimiento::eliminado());
    return true;
}
