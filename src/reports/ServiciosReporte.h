#pragma once

#include "easyReport.h"

class AppServices;

// A report's services from the program's: the connection, configuration, value formatting and
// the objects every script sees (built afresh for each run, as event scripts get them).
ReportServices serviciosReporte(AppServices &services, Prompter *prompter);
// The file of a stored image, for drawing it.
std::function<QString(qint64)> rutaImagen(AppServices &services);
