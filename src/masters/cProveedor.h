#pragma once

#include "RegistroLeido.h"

#include <QObject>
#include <QVariant>

class ConnectionProvider;
class cObjectFactory;

// A supplier as event scripts read it: Search loads one by key, the properties give its data and
// Campo any column of the record by name. Read only: suppliers are written by their window.
//   Set p = xFactory.create("newcProveedor")
//   If p.Search("FANASA") Then Echo p.Nombre & " " & p.RFC
class cProveedor : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isLoad READ isLoad)
    Q_PROPERTY(QString Clave READ clave)
    Q_PROPERTY(QString Nombre READ nombre)
    Q_PROPERTY(QString Abreviatura READ abreviatura)
    Q_PROPERTY(QString RFC READ rfc)
    Q_PROPERTY(QString RegimenFiscal READ regimenFiscal)
    Q_PROPERTY(QString Telefono READ telefono)
    Q_PROPERTY(QString Email READ email)
    Q_PROPERTY(double Descuento READ descuento)
    Q_PROPERTY(double Bonificacion READ bonificacion)
    Q_PROPERTY(QString FormaPago READ formaPago)
    Q_PROPERTY(int Periodo READ periodo)
    Q_PROPERTY(QString TipoPeriodo READ tipoPeriodo)
    Q_PROPERTY(double LimiteCredito READ limiteCredito)
    Q_PROPERTY(double Saldo READ saldo)
    Q_PROPERTY(bool EDI READ edi)
    Q_PROPERTY(int Preferencia READ preferencia)
    Q_PROPERTY(int DiasResurtido READ diasResurtido)
    Q_PROPERTY(int DiasResurtidoMax READ diasResurtidoMax)
public:
    explicit cProveedor(ConnectionProvider &connections, QObject *parent = nullptr);

    // Loads the supplier under clave; false (and nothing loaded) when there is none.
    Q_INVOKABLE bool Search(const QString &clave);
    // Any column of the supplier record by name (prov_Cuenta, banco_Clave ...); Empty when
    // nothing is loaded or the column is not one of the record's.
    Q_INVOKABLE QVariant Campo(const QString &columna) const;
    // Whether the loaded supplier serves the department (its TPROVEEDORTIPOART row).
    Q_INVOKABLE bool SurteDepartamento(const QString &departamento) const;
    // The layout the loaded supplier uses for a kind of exchange; "" when none.
    Q_INVOKABLE QString Layout(const QString &tipoEdi) const;

    bool isLoad() const { return m_registro.cargado(); }
    QString clave() const { return texto("prov_Clave"); }
    QString nombre() const { return texto("prov_Nombre"); }
    QString abreviatura() const { return texto("prov_Abreviatura"); }
    QString rfc() const { return texto("prov_RFC"); }
    QString regimenFiscal() const { return texto("prov_RegimenFiscal"); }
    QString telefono() const { return texto("prov_Tel1"); }
    QString email() const { return texto("prov_email"); }
    double descuento() const { return numero("prov_Descuento"); }
    double bonificacion() const { return numero("prov_Bonificacion"); }
    QString formaPago() const { return texto("tpag_Clave"); }
    int periodo() const { return int(numero("prov_Periodo")); }
    QString tipoPeriodo() const { return texto("per_Clave"); }
    double limiteCredito() const { return numero("prov_LimCredito"); }
    double saldo() const { return numero("prov_Saldo"); }
    bool edi() const { return texto("prov_EDI") == QLatin1String("S"); }
    int preferencia() const { return int(numero("prov_Preferencia")); }
    int diasResurtido() const { return int(numero("prov_DiasResurtido")); }
    int diasResurtidoMax() const { return int(numero("prov_DiasResurtidoMax")); }

private:
    QString texto(const char *columna) const { return m_registro.texto(columna); }
    double numero(const char *columna) const { return m_registro.numero(columna); }

    ConnectionProvider &m_connections;
    RegistroLeido m_registro;
};

// Makes "newcProveedor" known to the scripts' object factory.
void registraScriptsProveedores(cObjectFactory &factory, ConnectionProvider &connections);
