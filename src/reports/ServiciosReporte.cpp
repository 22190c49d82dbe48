#include "ServiciosReporte.h"

#include "AppServices.h"
#include "ConnectionManager.h"
#include "ScriptObjects.h"
#include "cAplication.h"

ReportServices serviciosReporte(AppServices &services, Prompter *prompter)
{
    ReportServices s;
    s.connections = &services.connection();
    s.config = &services.config();
    s.strings = &services.string();
    s.prompter = prompter;
    s.hostObjects = [&services](vbs::Engine &engine) {
        prepareScriptEngine(engine);
        buildScriptObjects(services.scriptServices()).addTo(engine);
    };
    return s;
}

std::function<QString(qint64)> rutaImagen(AppServices &services)
{
    return [&services](qint64 key) { return services.app().getImage(key); };
}
