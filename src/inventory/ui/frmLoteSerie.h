#pragma once

#include "Decimal.h"
#include "LoteSerie.h"

#include <QDialog>

#include <optional>

class ConnectionProvider;
class Prompter;
class QLabel;
class QLineEdit;
class QStandardItemModel;
class QTableView;

// The lot/serial picker: the lots or serials of an article with stock in a warehouse; the user
// picks one or types it, Enter accepts (an exit is checked against the stock: LoteSerie),
// Escape cancels. Rules in LoteSerie.
class frmLoteSerie : public QDialog {
    Q_OBJECT
public:
    // salida: the lot leaves the warehouse (checked against its stock); otherwise it enters and
    // only a serial already in stock is refused.
    frmLoteSerie(ConnectionProvider &connections, Prompter &prompter, const QString &almacen,
                 const QString &articulo, const Decimal &cantidad, bool salida = true,
                 const QString &inicial = QString(), QWidget *parent = nullptr);
    ~frmLoteSerie() override;

    // The lot or serial chosen and accepted; nothing when cancelled.
    static std::optional<QString> elige(ConnectionProvider &connections, Prompter &prompter,
                                        const QString &almacen, const QString &articulo,
                                        const Decimal &cantidad, bool salida = true,
                                        const QString &inicial = QString(), QWidget *parent = nullptr);

    QString lote() const;
    int filas() const;

public Q_SLOTS:
    void cmdAceptar_Click();

private:
    Prompter &m_prompter;
    LoteSerie m_lotes;
    QString m_almacen, m_articulo;
    Decimal m_cantidad;
    bool m_salida;
    QLineEdit *m_txtLote = nullptr;
    QTableView *m_grdLotes = nullptr;
    QStandardItemModel *m_modelo = nullptr;
};
