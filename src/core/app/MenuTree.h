#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What a catalogue entry of the main menu opens in the generic catalogue window.
struct CatalogueTarget {
    QString title;
    QStringList tables;   // the main table first, then the detail table when there is one
    QString filterColumn; // optional restriction: filterColumn = filterValue (bound, never concatenated)
    QString filterValue;
    bool reapplyPermissions = false; // profiles and reports change what the menu may show

    bool isValid() const { return !tables.isEmpty(); }
};

// One entry of the main window's menu: the tree as data, so the window, the rights seed and
// the permission pass all read the same names.
struct MenuEntry {
    enum class Kind {
        Menu,        // a menu or submenu (has children)
        Command,     // a leaf that runs something
        Placeholder, // a leaf kept for the rights tree but never shown (the reports menu anchor)
    };

    QString name;    // objectName and module key, "mnu..."
    QString parent;  // empty for a top-level menu
    QString caption; // with its '&' mnemonic
    Kind kind = Kind::Command;
    bool separatorBefore = false;
    QString opens; // the window or procedure the command opens ("frmConfig", "frmCatalogo" ...)
    CatalogueTarget catalogue;

    // The caption without its mnemonic marker, as module names show it.
    QString plainCaption() const;
    bool isMenu() const { return kind == Kind::Menu; }
};

// A menu entry placed in the rights tree.
struct MenuNode {
    QString key;      // the entry's name
    QString parent;   // parent key, "ZEV" for top-level menus
    QString name;     // caption without mnemonic
    QString path;     // "ZEV.mnuCatalogo.mnuCatalogo_Almacen"
    int sequence = 0; // 1-based order among siblings
    bool isMenu = false;
};

class MenuTree {
public:
    static constexpr const char *kRoot = "ZEV";
    static constexpr const char *kReportsMenu = "mnuReporte";
    static constexpr const char *kCatalogueWindow = "frmCatalogo";

    // Every entry in display order: a parent always comes before its children.
    static const QList<MenuEntry> &entries();
    static const MenuEntry *find(const QString &name);
    static QList<const MenuEntry *> children(const QString &parent);
    static QList<const MenuEntry *> topLevel() { return children(QString()); }
    // Every entry with its rights path under "ZEV", parents before children.
    static QList<MenuNode> nodes();
    // "ZEV" + "." + each ancestor + "." + the name; empty for an unknown name.
    static QString pathOf(const QString &name);
};
