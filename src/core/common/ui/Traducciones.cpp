#include "Traducciones.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool cargaTraducciones(QCoreApplication &app)
{
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const QLocale spanish(QLocale::Spanish, QLocale::Mexico);
    bool loaded = false;
    // qtbase holds the widgets' words; qt_es (where present) gathers the other modules.
    for (const char *catalogue : {"qtbase", "qt"}) {
        auto *translator = new QTranslator(&app);
        if (translator->load(spanish, QLatin1String(catalogue), QStringLiteral("_"), dir)) {
            QCoreApplication::installTranslator(translator);
            loaded = true;
        } else {
            delete translator;
        }
    }
    return loaded;
}
