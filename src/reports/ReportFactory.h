#pragma once

class cObjectFactory;

// Registers the report objects' constructors with the object factory, so report programs can
// write xFactory.NewcPrintField("Importe", 0, 120, 5, 30, 0, 2, "Arial", False, 9, "#,##0.00").
void registraObjetosReporte(cObjectFactory &factory);
