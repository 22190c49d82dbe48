#pragma once

#include "Cobro.h"

#include "ModeloLista.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

class ConnectionProvider;
class Prompter;
class cConfigure;

// The payment lines of a collection: "Tipo" … "Cliente", "Prorrateo" (the line's folio once written).
class PagosCobroModel : public ModeloLista<PagoCobro> {
    Q_OBJECT
public:
    explicit PagosCobroModel(QObject *parent = nullptr) : ModeloLista(kEncabezados, parent) {}
    static const QStringList kEncabezados;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const QList<PagoCobro> &pagos() const { return filas(); }
    void setProrrateo(int fila, qint64 folio);
};

// The receivables being collected, in the order the paid total is spread over them; the last
// column "Cobro" holds each one's share once the dialog was accepted.
class CuentasCobroModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    static const QStringList kEncabezados;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const QList<CuentaCobro> &cuentas() const { return m_cuentas; }
    void agrega(const CuentaCobro &cuenta);
    void setCobros(const QList<Decimal> &cobros);

private:
    QList<CuentaCobro> m_cuentas;
};

// The rules of the payment dialog (frmCobroDoc) without widgets: the payment lines of every kind
// with their checks, the credit notes, the totals, and on acceptance the spreading of the paid
// total over the receivables. Nothing is written here; Cobranza writes what it holds.
class CobroDoc {
public:
    // What was typed for one payment line; numbers as typed.
    struct Captura {
        QString tipo;
        QString importe;
        QString banco;
        QString cheque;
        QString tarjeta;
        QString folio; // the card terminal's folio
        QString moneda;
        QString importeMoneda;
        QString tipoCambio;
        QString referencia; // other kinds: the reference; "NOTA": the note's folio
    };
    enum class Campo {
        Ninguno,
        Tipo,
        Importe,
        Banco,
        Cheque,
        Tarjeta,
        Folio,
        Moneda,
        ImporteMoneda,
        TipoCambio,
        Referencia
    };
    struct Opcion {
        QString clave, nombre;
    };
    struct Denominacion {
        QString nombre;
        Decimal valor;
    };

    // The kinds with fields of their own, in the order the dialog offers them.
    static const QStringList kTiposFijos; // EFECTIVO, CHEQUE, TARJETA, EXTRANJERA, CREDITO, NOTA
    static const QString kNoHayPagos;
    static const QString kExcede;
    static const QString kParcial;

    CobroDoc(ConnectionProvider &connections, cConfigure &config, Prompter &prompter);

    // Reads the other payment kinds, the denominations, currencies and banks. False (shown) when
    // the database could not be read.
    bool init();
    QList<Opcion> otrosTipos() const { return m_otrosTipos; } // tTipoPago less the fixed kinds
    QList<Denominacion> denominaciones() const { return m_denominaciones; }
    QList<Opcion> monedas() const { return m_monedas; }
    QList<Opcion> bancos() const { return m_bancos; }

    // A receivable, with what is still pending (agregarCuentaPorPagar).
    void agregarCuentaPorPagar(const CuentaCobro &cuenta);
    // A credit note as a "NOTA" payment line of its amount, carrying its client.
    void agregarNota(const NotaCobro &nota);

    // Adds a payment line after the checks of its kind (each refusal shown, campoRechazado()
    // names the field). False when refused.
    bool cmdAgregar(const Captura &captura);
    Campo campoRechazado() const { return m_campo; }
    // The cash amount after pressing a note or coin of the pad.
    QString cmdBillete(int indice, const QString &importe) const;
    // The local amount of a foreign payment: amount times rate, to the cent; nothing until both
    // are numbers.
    static std::optional<Decimal> importeLocal(const QString &importeMoneda, const QString &tipoCambio);
    void quitaPago(int fila);

    // Accepting: refuses without lines or when the paid total exceeds the amount to pay by 0.01
    // or more, asks before a partial payment; then spreads the paid total. True when accepted.
    bool cmdAceptar();
    // Each receivable in grid order gets the smaller of its pending amount and what is left.
    void prorratea();

    Decimal porPagar() const;                       // Σ pending of the receivables
    Decimal pagado() const;                         // Σ payment lines
    Decimal resta() const;                          // never below 0
    static QString formatoMoneda(const Decimal &d); // "$#,##0.00"

    // The client whose receivables are collected (empty before the first one).
    QString cliente() const;
    bool aceptado() const { return m_aceptado; }
    const QList<PagoCobro> &pagos() const { return m_pagos.pagos(); }
    const QList<CuentaCobro> &cuentas() const { return m_cuentas.cuentas(); }
    void setProrrateo(int fila, qint64 folio) { m_pagos.setProrrateo(fila, folio); }
    PagosCobroModel *modeloPagos() { return &m_pagos; }
    CuentasCobroModel *modeloCuentas() { return &m_cuentas; }

private:
    bool rechaza(const QString &texto, Campo campo);
    bool validaNota(const QString &folio, const Decimal &importe, QString *cliente);

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Prompter &m_prompter;
    PagosCobroModel m_pagos;
    CuentasCobroModel m_cuentas;
    QList<Opcion> m_otrosTipos;
    QList<Denominacion> m_denominaciones;
    QList<Opcion> m_monedas;
    QList<Opcion> m_bancos;
    Campo m_campo = Campo::Ninguno;
    bool m_aceptado = false;
};
