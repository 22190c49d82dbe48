#include "DemoDataSeguridad.h"

#include "Connection.h"

namespace db {

namespace {

// libsodium crypto_pwhash_str (Argon2id, interactive limits) of "admin" and "cajero", computed
// once: the database layer does not link libsodium, and the hashes verify anywhere.
constexpr const char *kAdminHash =
    "$argon2id$v=19$m=65536,t=2,p=1$OBW5jbDnvCSFkJJvjqTGGA$EfX6fJfx7CaK4dTGsZq3fYoFfkXKJ1NV1dHAmfel/qg";
constexpr const char *kCajeroHash =
    "$argon2id$v=19$m=65536,t=2,p=1$Tb5xwMssGyCAv6mXRMbaZw$i6gLO5BdZUQkfIIIDEZVxLpSuO4Y2m43sxwoV9DTLs8";

// What a cashier uses: the counter, the cash cut, clients and the change of user.
const char *const kCajeroModules[] = {
    "ZEV",
    "mnuArchivo",
    "mnuArchivo_Usuario",
    "mnuArchivo_Salir",
    "mnuCatalogo",
    "mnuCatalogo_Clientes",
    "frmCliente_cmdAlta",
    "frmCliente_cmdConsulta",
    "mnuVentas",
    "mnuVentas_Ventas",
    "mnuVentas_Consulta",
    "mnuVentas_Dev",
    "mnuCaja",
    "mnuCaja_Corte",
    "mnuReporte",
    "mnuAsistencia",
    "mnuAsistencia_Registro",
};

bool exists(Connection &c, const QString &sql, const QVariantList &params)
{
    return c.scalar(sql, params).toInt() > 0;
}

void profile(Connection &c, const QString &key, const QString &name)
{
    if (!exists(c, QStringLiteral("select count(*) from tPerfil where perf_Clave = ?"), {key}))
        c.execute(QStringLiteral("insert into tPerfil (perf_Clave, perf_Nombre) values (?, ?)"), {key, name});
}

void user(Connection &c, const QString &key, const QString &name, const QString &hash, const QString &perfil,
          const QString &credencial)
{
    if (exists(c, QStringLiteral("select count(*) from tUsuario where usu_Clave = ?"), {key}))
        return;
    c.execute(QStringLiteral("insert into tUsuario (usu_Clave, usu_Nombre, usu_Psw, alm_Clave, perf_Clave, "
                             "eusu_Clave, term_Clave, usu_Credencial, rusu_Clave) values (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
              {key, name, hash, QStringLiteral("MATRIZ"), perfil, QStringLiteral("ACTIVO"),
               QStringLiteral("TERMINAL1"), credencial, QStringLiteral("EMPLEADO")});
}

} // namespace

void populateDemoSeguridad(Connection &c)
{
    const QString admin = QStringLiteral("ADMINISTRADOR");
    const QString cajero = QStringLiteral("CAJERO");
    profile(c, admin, QStringLiteral("Administrador"));
    profile(c, cajero, QStringLiteral("Cajero"));
    // Every module, including those a later migration adds before the store is filled.
    c.execute(QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) select ?, m.mod_Clave from tModulo m "
                             "where not exists (select 1 from tSeguridad s where s.perf_Clave = ? "
                             "and s.mod_Clave = m.mod_Clave)"),
              {admin, admin});
    for (const char *m : kCajeroModules) {
        const QString key = QString::fromLatin1(m);
        if (!exists(c, QStringLiteral("select count(*) from tSeguridad where perf_Clave = ? and mod_Clave = ?"),
                    {cajero, key}))
            c.execute(QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) values (?, ?)"), {cajero, key});
    }
    user(c, QStringLiteral("ADMIN"), QStringLiteral("Administrador del sistema"), QString::fromLatin1(kAdminHash),
         admin, QStringLiteral("000000000000001"));
    user(c, QStringLiteral("CAJERO"), QStringLiteral("Cajero de mostrador"), QString::fromLatin1(kCajeroHash), cajero,
         QStringLiteral("000000000000002"));
}

} // namespace db
