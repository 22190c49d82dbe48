#pragma once

#include "AppServices.h"
#include "CodigoEditor.h"
#include "ConnectionManager.h"
#include "Permisos.h"
#include "ScriptedPrompter.h"
#include "TestDatabase.h"
#include "cConfigure.h"

#include <QTemporaryDir>

// A workstation for the script editor's tests: the program's services with the session's
// profile ADMIN, on a test database once open() connected it.
struct CodigoSession {
    CodigoSession()
        : services(prompter, dir.filePath(QStringLiteral("Mostrador.ini"))),
          permisos(services.connection(), services.config())
    {
        services.config().setValue(QStringLiteral("COMPUTER"), QStringLiteral("CAJA1"));
        services.config().setValue(QStringLiteral("PERFIL"), QStringLiteral("ADMIN"));
    }

    // Connects to db and gives ADMIN the rights; false when the connection failed.
    bool open(TestDatabase &db, const QStringList &rights = {})
    {
        m_db = &db;
        services.config().setValue(QStringLiteral("CONEXION"), db.connectionString());
        if (!services.connection().connectDatabase())
            return false;
        db.connection().execute(QStringLiteral("insert into tPerfil (perf_Clave, perf_Nombre) values ('ADMIN', 'Admin')"));
        grant(rights);
        return true;
    }
    void grant(const QStringList &rights)
    {
        for (const QString &m : rights)
            m_db->connection().execute(
                QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) values ('ADMIN', ?)"), {m});
    }
    CodigoEditor editor(const QString &modo)
    {
        return CodigoEditor(services.connection(), permisos, prompter, modo);
    }

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    AppServices services;
    Permisos permisos;

private:
    TestDatabase *m_db = nullptr;
};

inline const QStringList kCodigoRights = {"frmCodigo_cmdAlta", "frmCodigo_cmdCambio", "frmCodigo_cmdBaja",
                                          "frmCodigo_cmdConsulta"};

inline void insertScript(db::Connection &c, const CodigoEditor::Codigo &s)
{
    c.execute(QStringLiteral("insert into tCodigo (codigo_Clave, codigo_Nombre, codigo_Text, codigo_Activo) "
                             "values (?, ?, ?, ?)"),
              {s.clave, s.nombre, s.text, s.activo});
}
