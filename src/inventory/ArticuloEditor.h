#pragma once

#include "Precio.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QVariant>

class ConnectionProvider;
class Prompter;
class cConfigure;

// The rules of the article editor (frmArticulo): defaults of a new article, loading one, the
// price figures recalculated on every change, the list and offer grids, sizes/colours/models,
// assembly rows and maximum/minimum levels, the checks in their order and the writing of the
// whole article in one transaction. The window only binds widgets to it.
class ArticuloEditor {
public:
    enum class Pestana { Identidad, Precios, Listas, Ofertas, Inventario, Paquetes, Resurtido };

    // One line of the list grid (numero = list number) or of the offers grid.
    struct FilaPrecio {
        int numero = 0;
        Decimal cantidad;
        Precio precio;
        QDate inicio, fin; // offers only
        Decimal vendidas;  // offers only
    };
    struct FilaEnsamble {
        QString articulo;
        Decimal cantidad;
    };
    struct FilaMaxMin {
        QString detalle; // perd_Clave of the article's period
        QString nombre;
        Decimal minimo, reorden, maximo;
    };

    // The columns of tArticulo the editor shows and writes, besides the price figures.
    static const QStringList &camposTexto();
    // The column of each figure: art_Costo … art_Total.
    static QString columna(Cifra cifra);

    ArticuloEditor(ConnectionProvider &connections, cConfigure &config, Prompter &prompter,
                   const CalculoPrecio &calculo);

    // A new article with the settings' defaults (supplier, replenishment, method, improvement).
    void nuevo();
    // The article under clave; false (with "La clave no existe") when there is none.
    bool carga(const QString &clave);
    bool esNuevo() const { return m_nuevo; }

    // Text fields by column name (art_Nombre, tart_Clave, art_Separar …), as typed.
    QString texto(const QString &campo) const { return m_texto.value(campo.toLower()); }
    void setTexto(const QString &campo, const QString &valor);

    // A figure as the field shows it ("0.00" after a recalculation, the typed text before).
    QString cifra(Cifra c) const { return m_cifras[int(c)]; }
    // The user typed a figure: the breakdown is recalculated with the article's method
    // (PUBLICO when the public price itself was typed) and shown with two decimals; a cost
    // change recalculates the list and offer lines too. Text that is no number is kept as typed
    // and recalculates nothing (the check on accepting names it).
    void setCifra(Cifra c, const QString &texto);
    // The breakdown as the fields show it (unreadable text counts as 0).
    Precio precio() const;
    // The method's input fields, highlighted by the window.
    QList<Cifra> resaltadas() const { return CalculoPrecio::entradas(texto(QStringLiteral("cambio_Clave"))); }

    QList<FilaPrecio> &listas() { return m_listas; }
    QList<FilaPrecio> &ofertas() { return m_ofertas; }
    // A figure of a grid line typed: that line recalculated as the article's own figures are.
    void setCifraFila(bool oferta, int fila, Cifra c, const Decimal &valor);
    // A new line with the article's current breakdown, numbered after the last one.
    void agregaFila(bool oferta);

    QStringList &tallas() { return m_tallas; }
    QStringList &colores() { return m_colores; }
    QStringList &modelos() { return m_modelos; }
    QList<FilaEnsamble> &ensamble() { return m_ensamble; }
    // One row per period detail of the article's period (per_Clave), in their order.
    QList<FilaMaxMin> &maxMin() { return m_maxMin; }
    void cargaPeriodos();

    // The checks in their order; false after the message, with the tab and field to show.
    bool validaDatos();
    Pestana pestanaRechazada() const { return m_pestana; }
    QString campoRechazado() const { return m_campo; }

    // Validates and writes the article with all its rows in one transaction. After an insert
    // the user is asked whether to go on adding articles: continuar() says the answer.
    bool guardaDatos();
    bool continuar() const { return m_continuar; }

    // Deletes the article after asking; its price, detail and assembly rows go with it. Refused
    // while the warehouses hold stock rows of it, or when another table still refers to it.
    bool eliminarRegistro(const QString &clave);

private:
    bool rechaza(Pestana pestana, const QString &campo, const QString &mensaje);
    bool existe(const QString &tabla, const QString &columna, const QString &clave);
    void recalculaFila(FilaPrecio &fila, const QString &metodo, const Decimal &costo) const;
    void escribe();
    void muestra(const Precio &p);

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Prompter &m_prompter;
    const CalculoPrecio &m_calculo;

    bool m_nuevo = true;
    QHash<QString, QString> m_texto; // lower-case column → text
    QString m_cifras[9];
    QList<FilaPrecio> m_listas, m_ofertas;
    QStringList m_tallas, m_colores, m_modelos;
    QList<FilaEnsamble> m_ensamble;
    QList<FilaMaxMin> m_maxMin;
    QString m_periodoCargado;
    Pestana m_pestana = Pestana::Identidad;
    QString m_campo;
    bool m_continuar = false;
};
