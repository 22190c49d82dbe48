#pragma once

#include "CatalogoDef.h"

#include <QHash>
#include <QList>
#include <QStringList>

struct MenuEntry;

// The descriptions of every catalogue the menu opens, keyed by table and by maintenance window.
class Catalogos {
public:
    static const QList<CatalogoDef> &todos();
    // nullptr when the table has no description.
    static const CatalogoDef *porTabla(const QString &tabla);
    static const CatalogoDef *porVentana(const QString &ventana);
    // Tables kept by a window of their own rather than the generic form.
    static bool tieneVentanaPropia(const CatalogoDef &def);

    // What a catalogue entry of the main menu opens: the description of its detail table (the
    // last one it names); nullptr when the entry waits for a window of a later part.
    static const CatalogoDef *paraMenu(const MenuEntry &entry);
    // The catalogue entries left disabled on purpose, with the reason.
    static const QHash<QString, QString> &pendientes();
};
