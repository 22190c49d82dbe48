#pragma once

class cObjectFactory;

// Makes the report classes known to the scripts' object factory ("newcReporte").
void registraReportes(cObjectFactory &factory);
