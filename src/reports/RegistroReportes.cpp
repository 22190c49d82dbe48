#include "RegistroReportes.h"

#include "cObjectFactory.h"
#include "cReporte.h"

void registraReportes(cObjectFactory &factory)
{
    factory.registerClass(QStringLiteral("newcReporte"), [] { return new cReporte; });
}
