#pragma once

// What the client and supplier tests share: the places every master needs, the log kept in a
// temporary folder while a test runs, and the helpers that drive a master window's fields.
#include "Connection.h"
#include "Log.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

namespace maestros {

// Places come with the demo store, not with the schema: two countries, three states.
inline void insertaLugares(db::Connection &c)
{
    c.execute(QStringLiteral("insert into tPais (pais_Clave, pais_Nombre) values ('MEX', 'México')"));
    c.execute(QStringLiteral("insert into tPais (pais_Clave, pais_Nombre) values ('USA', 'Estados Unidos')"));
    for (const auto &[pais, edo] : {std::pair{"MEX", "JAL"}, std::pair{"MEX", "DF"}, std::pair{"USA", "TX"}})
        c.execute(QStringLiteral("insert into tEstado (pais_Clave, edo_Clave, edo_Nombre) values (?, ?, ?)"),
                  {QLatin1String(pais), QLatin1String(edo), QLatin1String(edo)});
}

// The log of a test program, in a folder removed afterwards (initTestCase / cleanupTestCase).
class Bitacora {
public:
    void activa()
    {
        const QString dir = m_dir.path();
        Log::setDirectoryProvider([dir] { return dir; });
    }
    void suelta() { Log::setDirectoryProvider({}); }

private:
    QTemporaryDir m_dir;
};

inline QLineEdit *campo(QWidget &w, const char *nombre)
{
    auto *t = w.findChild<QLineEdit *>(QLatin1String(nombre));
    if (!t)
        qWarning("no field %s", nombre);
    return t;
}

// Types valor over a field's text as the user does.
inline void escribe(QWidget &w, const char *nombre, const QString &valor)
{
    QLineEdit *t = campo(w, nombre);
    t->selectAll();
    QTest::keyClicks(t, valor);
    Q_EMIT t->editingFinished();
}

// Chooses the entry of a list whose key is clave; false when the list or the entry is missing.
inline bool elige(QWidget &w, const QString &nombre, const QString &clave)
{
    auto *cmb = w.findChild<QComboBox *>(nombre);
    if (!cmb)
        return false;
    const int i = cmb->findData(clave);
    if (i < 0)
        return false;
    cmb->setCurrentIndex(i);
    return true;
}

inline QString elegido(QWidget &w, const QString &nombre)
{
    return w.findChild<QComboBox *>(nombre)->currentData().toString();
}

} // namespace maestros
