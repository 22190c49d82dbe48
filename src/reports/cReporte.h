#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QVariant>

#include <functional>

// A request for a stored report, as scripts and other windows make one:
//   Set r = xFactory.newcReporte
//   r.Tipo = "FACTURA" : r.addParam "Factura", 2026001 : r.execute
// execute hands the request to the process-wide runner the program installs (it opens the run
// window with the kind, the values, AutoImpresion and the report key); without one it does nothing.
class cReporte : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool AutoImpresion READ autoImpresion WRITE setAutoImpresion)
    Q_PROPERTY(QString Tipo READ tipo WRITE setTipo)
    Q_PROPERTY(QString Reporte READ reporte WRITE setReporte)
public:
    using Ejecutor = std::function<bool(const cReporte &)>;
    struct Valor {
        QString clave;
        QVariant valor, valorExtra;
    };

    explicit cReporte(QObject *parent = nullptr);

    // The runner every request goes to; an empty one leaves requests unanswered.
    static void setEjecutor(Ejecutor ejecutor);

    bool autoImpresion() const { return m_autoImpresion; }
    void setAutoImpresion(bool v) { m_autoImpresion = v; }
    QString tipo() const { return m_tipo; }
    void setTipo(const QString &v) { m_tipo = v.trimmed(); }
    QString reporte() const { return m_reporte; }
    void setReporte(const QString &v) { m_reporte = v.trimmed(); }
    const QList<Valor> &parametros() const { return m_parametros; }

    // A value for the report's parameter of that name (a second value of the same name replaces it).
    Q_INVOKABLE void addParam(const QString &clave, const QVariant &valor,
                              const QVariant &valorExtra = QVariant());
    // True when the runner ran the report.
    Q_INVOKABLE bool execute();

private:
    bool m_autoImpresion = false;
    QString m_tipo, m_reporte;
    QList<Valor> m_parametros;
};
