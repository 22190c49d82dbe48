#pragma once

#include "RegistroLeido.h"

#include <QObject>
#include <QVariant>

class ConnectionProvider;
class cObjectFactory;

// A client as event scripts read it: Search loads one by key, the properties give its data and
// Campo any column of the record by name. Read only: clients are written by their window.
//   Set c = xFactory.create("newcCliente")
//   If c.Search("SYS") Then Echo c.Nombre & " " & c.RFC
class cCliente : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isLoad READ isLoad)
    Q_PROPERTY(QString Clave READ clave)
    Q_PROPERTY(QString Nombre READ nombre)
    Q_PROPERTY(QString Estado READ estado)
    Q_PROPERTY(QString TipoCliente READ tipoCliente)
    Q_PROPERTY(double Descuento READ descuento)
    Q_PROPERTY(double Credito READ credito)
    Q_PROPERTY(int Periodo READ periodo)
    Q_PROPERTY(QString TipoPeriodo READ tipoPeriodo)
    Q_PROPERTY(QString RFC READ rfc)
    Q_PROPERTY(QString CURP READ curp)
    Q_PROPERTY(QString NombreFiscal READ nombreFiscal)
    Q_PROPERTY(QString RegimenFiscal READ regimenFiscal)
    Q_PROPERTY(QString UsoCFDI READ usoCfdi)
    Q_PROPERTY(QString CodigoPostalFiscal READ cpFiscal)
    Q_PROPERTY(QString Telefono READ telefono)
    Q_PROPERTY(QString Email READ email)
    Q_PROPERTY(QString TipoEntrega READ tipoEntrega)
    Q_PROPERTY(QString Zona READ zona)
    Q_PROPERTY(QString Ruta READ ruta)
public:
    explicit cCliente(ConnectionProvider &connections, QObject *parent = nullptr);

    // Loads the client under clave; false (and nothing loaded) when there is none.
    Q_INVOKABLE bool Search(const QString &clave);
    // Any column of the client record by name (cli_Calle, usu_ClaveVendedor ...); Empty when
    // nothing is loaded or the column is not one of the record's.
    Q_INVOKABLE QVariant Campo(const QString &columna) const;

    bool isLoad() const { return m_registro.cargado(); }
    QString clave() const { return texto("cli_Clave"); }
    QString nombre() const { return texto("cli_Nombre"); }
    QString estado() const { return texto("edoc_Clave"); }
    QString tipoCliente() const { return texto("tcli_Clave"); }
    double descuento() const { return numero("cli_Descuento"); }
    double credito() const { return numero("cli_Credito"); }
    int periodo() const { return int(numero("cli_Periodo")); }
    QString tipoPeriodo() const { return texto("per_Clave"); }
    QString rfc() const { return texto("cli_RFC"); }
    QString curp() const { return texto("cli_CURP"); }
    QString nombreFiscal() const { return texto("cli_NombreFis"); }
    QString regimenFiscal() const { return texto("cli_RegimenFiscal"); }
    QString usoCfdi() const { return texto("cli_UsoCFDI"); }
    QString cpFiscal() const { return texto("cli_CPFis"); }
    QString telefono() const { return texto("cli_Telefono1"); }
    QString email() const { return texto("cli_email"); }
    QString tipoEntrega() const { return texto("tent_Clave"); }
    QString zona() const { return texto("zona_Clave"); }
    QString ruta() const { return texto("ruta_Clave"); }

private:
    QString texto(const char *columna) const { return m_registro.texto(columna); }
    double numero(const char *columna) const { return m_registro.numero(columna); }

    ConnectionProvider &m_connections;
    RegistroLeido m_registro;
};

// Makes "newcCliente" known to the scripts' object factory.
void registraScriptsClientes(cObjectFactory &factory, ConnectionProvider &connections);
