#include "cConfigure.h"

#include "ConnectionProvider.h"
#include "cConfigureItem.h"
#include "Log.h"
#include "Prompter.h"
#include "SettingsStore.h"

#include "Connection.h"
#include "Transaction.h"
#include "Decimal.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSysInfo>

#include <cmath>

namespace {
QString upper(const QString &key)
{
    return key.trimmed().toUpper();
}

// Column of tConfiguracion that holds a value of each data type.
QString valueColumn(int dataType)
{
    switch (dataType) {
    case cConfigValue::BOOLEAN:
        return QStringLiteral("config_ValorBool");
    case cConfigValue::LONG:
        return QStringLiteral("config_ValorLng");
    case cConfigValue::DOUBLE:
        return QStringLiteral("config_ValorDouble");
    case cConfigValue::DATE:
        return QStringLiteral("config_ValorDate");
    default:
        return QStringLiteral("config_ValorStr");
    }
}

// Directory joins of the defaults: the original joined with "\", this platform uses "/".
QString programDirectory()
{
    return QCoreApplication::applicationDirPath();
}

QString inProgramDirectory(const QString &file)
{
    return programDirectory() + QLatin1Char('/') + file;
}
} // namespace

cConfigure::cConfigure(ConnectionProvider &connections, SettingsStore &settings, Prompter &prompter,
                       QObject *parent)
    : QObject(parent), m_connections(connections), m_settings(settings), m_prompter(prompter)
{
    prepare();
}

cConfigure::~cConfigure() = default;

int cConfigure::getCount() const
{
    return int(m_items.size());
}

cConfigValue *cConfigure::getItemByPos(int i) const
{
    if (i < 0 || i >= int(m_items.size()))
        return nullptr;
    return m_items[size_t(i)].get();
}

cConfigValue *cConfigure::getItemByKey(const QString &key) const
{
    return item(key);
}

QObject *cConfigure::getItemByPos(const QVariant &position) const
{
    bool numeric = false;
    const double i = position.toDouble(&numeric);
    if (!numeric || i < 1 || i > double(m_items.size()))
        return nullptr;
    return scriptItem(m_items[size_t(std::llround(i) - 1)].get());
}

QObject *cConfigure::getItemByKey(const QVariant &key) const
{
    return scriptItem(item(key.toString()));
}

QObject *cConfigure::scriptItem(const cConfigValue *item) const
{
    if (!item)
        return nullptr;
    cConfigureItem *&view = m_scriptItems[item];
    if (!view)
        // Made on first use by a script; the store itself is never a const object.
        view = new cConfigureItem(const_cast<cConfigure &>(*this), *item);
    return view;
}

cConfigValue *cConfigure::item(const QString &key) const
{
    return m_byKey.value(upper(key), nullptr);
}

QString cConfigure::getDataTypeToString(int dataType) const
{
    switch (dataType) {
    case cConfigValue::STRING:
        return QStringLiteral("STRING");
    case cConfigValue::BOOLEAN:
        return QStringLiteral("BOOLEAN");
    case cConfigValue::LONG:
        return QStringLiteral("LONG");
    case cConfigValue::DOUBLE:
        return QStringLiteral("DOUBLE");
    case cConfigValue::DATE:
        return QStringLiteral("DATE");
    default:
        return QString();
    }
}

QString cConfigure::getTypeToString(int category) const
{
    static const char *const names[] = {
        "GLOBAL",   "Usuarios", "Setting", "Operacion", "Impresion", "Crystal",  "Actualizaciones",
        "Database", "Setup",    "Ventas",  "Recepcion", "Resurtido", "Envio",    "Facturacion",
        "Pedidos",  "Catalogo", "Almacen", "Scripts",   "Reportes",  "Consulta", "TiempoAire"};
    if (category < 1 || category > int(std::size(names)))
        return QString();
    return QString::fromLatin1(names[category - 1]);
}

QString cConfigure::sectionName(int category) const
{
    const QString name = getTypeToString(category);
    return name.isEmpty() ? QStringLiteral("Categoria") + QString::number(category) : name;
}

QVariant cConfigure::getValue(const QString &key) const
{
    const cConfigValue *it = item(key);
    return it ? it->value() : QVariant();
}

QString cConfigure::getString(const QString &key) const
{
    return getValue(key).toString();
}

bool cConfigure::getBool(const QString &key) const
{
    return getValue(key).toBool();
}

int cConfigure::getLong(const QString &key) const
{
    return getValue(key).toInt();
}

double cConfigure::getDouble(const QString &key) const
{
    return getValue(key).toDouble();
}

Decimal cConfigure::getDecimal(const QString &key) const
{
    return Decimal::fromVariant(getValue(key));
}

QDateTime cConfigure::getDate(const QString &key) const
{
    return getValue(key).toDateTime();
}

bool cConfigure::existsValue(const QString &key) const
{
    return item(key) != nullptr;
}

bool cConfigure::addValue(int category, const QString &key, const QVariant &defaultValue, int dataType,
                          bool writeBack, bool loadNow, int loadSource, int writeTarget,
                          const QString &choices)
{
    const QString k = upper(key);
    if (k.isEmpty() || m_byKey.contains(k) || dataType < cConfigValue::STRING ||
        dataType > cConfigValue::DATE)
        return false;
    auto owned = std::make_unique<cConfigValue>(category, k, defaultValue, dataType, writeBack, loadSource,
                                                writeTarget, choices);
    cConfigValue *it = owned.get();
    m_items.push_back(std::move(owned));
    m_byKey.insert(k, it);
    Q_EMIT itemAdded(k);
    if (loadNow)
        loadValue(k);
    return true;
}

bool cConfigure::setValue(const QString &key, const QVariant &value)
{
    cConfigValue *it = item(key);
    if (!it || !it->setValue(value))
        return false;
    Q_EMIT valueChanged(it->key());
    return true;
}

void cConfigure::assign(cConfigValue &item, const QVariant &value)
{
    // A stored value that does not fit the data type keeps what the item had.
    if (item.setValue(value))
        Q_EMIT valueChanged(item.key());
}

int cConfigure::resolveStorage(int code, int category)
{
    if (code != cConfigValue::PorCategoria)
        return code;
    if (category == GLOBAL)
        return cConfigValue::PorCategoria;
    if (category == Actualizaciones || category == Database || category == Setup)
        return cConfigValue::Registro;
    return cConfigValue::Tabla;
}

QString cConfigure::storageName(const cConfigValue &item) const
{
    if (!item.writeBack())
        return QStringLiteral("no se guarda");
    switch (resolveStorage(item.writeTarget(), item.category())) {
    case cConfigValue::Tabla:
        return QStringLiteral("tConfiguracion");
    case cConfigValue::Registro:
        return QStringLiteral("settings");
    default:
        return QStringLiteral("no se guarda");
    }
}

// ---- settings store ----

bool cConfigure::loadFromSettings(cConfigValue &item)
{
    const QString section = sectionName(item.category());
    const QString text = m_settings.getEncodedSetting(
        section, item.key(),
        item.defaultValue().isValid() ? cConfigValue::toText(item.defaultValue(), item.dataType())
                                      : QString());
    assign(item, text);
    return true;
}

bool cConfigure::saveToSettings(const cConfigValue &item)
{
    m_settings.saveEncodedSetting(sectionName(item.category()), item.key(), item.toText());
    return true;
}

// ---- database ----

db::Connection *cConfigure::answeringConnection() const
{
    db::Connection *conn = m_connections.currentConnection();
    if (!conn)
        return nullptr;
    try {
        return conn->ping() ? conn : nullptr;
    } catch (const std::exception &) {
        return nullptr;
    }
}

namespace {
QVariant readValue(const db::Recordset &rs, int dataType)
{
    const QVariant v = rs.value(valueColumn(dataType));
    if (dataType == cConfigValue::BOOLEAN)
        return v.toString().trimmed().toUpper() == QLatin1String("S");
    return v;
}
} // namespace

bool cConfigure::loadValue(const QString &key)
{
    cConfigValue *it = item(key);
    if (!it)
        return false;
    if (it->loadSource() == cConfigValue::PorCategoria)
        it->setLoadSource(resolveStorage(it->loadSource(), it->category()));

    if (it->loadSource() == cConfigValue::Registro)
        return loadFromSettings(*it);
    if (it->loadSource() != cConfigValue::Tabla)
        return false;

    db::Connection *conn = answeringConnection();
    if (!conn)
        return false;
    try {
        db::Recordset rs = conn->openRecordset(
            QStringLiteral(
                "SELECT config_ValorStr, config_ValorLng, config_ValorBool, config_ValorDouble, "
                "config_ValorDate FROM tConfiguracion WHERE config_computer = ? AND config_Clave = ?"),
            QVariantList{computer(), it->key()});
        if (rs.eof())
            return false;
        assign(*it, readValue(rs, it->dataType()));
        return true;
    } catch (const std::exception &e) {
        // A key that cannot be read keeps its value; start-up goes on with the defaults.
        writeLog(QStringLiteral("cConfigure.loadValue:") + it->key() + QLatin1Char(':') +
                 QString::fromUtf8(e.what()));
        return false;
    }
}

void cConfigure::loadAll()
{
    QList<cConfigValue *> fromTable;
    for (const auto &owned : m_items) {
        cConfigValue &it = *owned;
        if (!it.writeBack())
            continue;
        if (it.loadSource() == cConfigValue::PorCategoria)
            it.setLoadSource(resolveStorage(it.loadSource(), it.category()));
        if (it.loadSource() == cConfigValue::Registro)
            loadFromSettings(it);
        else if (it.loadSource() == cConfigValue::Tabla)
            fromTable << &it;
    }

    // The workstation's rows in one query instead of one per key: the same outcome, a faster start.
    if (db::Connection *conn = fromTable.isEmpty() ? nullptr : answeringConnection()) {
        try {
            db::Recordset rs = conn->openRecordset(
                QStringLiteral(
                    "SELECT config_Clave, config_ValorStr, config_ValorLng, config_ValorBool, "
                    "config_ValorDouble, config_ValorDate FROM tConfiguracion WHERE config_computer = ?"),
                QVariantList{computer()});
            QHash<QString, cConfigValue *> wanted;
            for (cConfigValue *it : fromTable)
                wanted.insert(it->key(), it);
            while (!rs.eof()) {
                if (cConfigValue *it =
                        wanted.value(upper(rs.value(QStringLiteral("config_Clave")).toString())))
                    assign(*it, readValue(rs, it->dataType()));
                rs.moveNext();
            }
        } catch (const std::exception &e) {
            writeLog(QStringLiteral("cConfigure.loadAll:") + QString::fromUtf8(e.what()));
        }
    }
    traducir();
}

void cConfigure::loadByType(int category)
{
    for (const auto &owned : m_items) {
        if (owned->category() == category && owned->writeBack())
            loadValue(owned->key());
    }
}

void cConfigure::writeRows(db::Connection &conn, const QList<const cConfigValue *> &items) const
{
    for (const cConfigValue *it : items) {
        conn.execute(
            QStringLiteral("DELETE FROM tConfiguracion WHERE config_computer = ? AND config_Clave = ?"),
            QVariantList{computer(), it->key()});
        QVariant str(QMetaType::fromType<QString>());
        QVariant lng(QMetaType::fromType<int>());
        QVariant boo(QMetaType::fromType<QString>());
        QVariant dbl(QMetaType::fromType<double>());
        QVariant dat(QMetaType::fromType<QDateTime>());
        switch (it->dataType()) {
        case cConfigValue::BOOLEAN:
            boo = it->value().toBool() ? QStringLiteral("S") : QStringLiteral("N");
            break;
        case cConfigValue::LONG:
            lng = it->value().toInt();
            break;
        case cConfigValue::DOUBLE:
            dbl = it->value().toDouble();
            break;
        case cConfigValue::DATE:
            // Bound as a date: the layer writes each engine's own form, which is what the
            // server format did for SQL text.
            if (it->value().toDateTime().isValid())
                dat = it->value().toDateTime();
            break;
        default:
            str = it->value().toString();
        }
        conn.execute(
            QStringLiteral("INSERT INTO tConfiguracion (config_computer, config_Clave, tconfig_Clave, "
                           "config_TipoDato, config_Salvar, config_ValorStr, config_ValorLng, "
                           "config_ValorBool, config_ValorDouble, config_ValorDate) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            QVariantList{computer(), it->key(), it->category(), it->dataType(),
                         it->writeBack() ? QStringLiteral("S") : QStringLiteral("N"), str, lng, boo, dbl,
                         dat});
    }
}

bool cConfigure::saveValue(const QString &key)
{
    cConfigValue *it = item(key);
    if (!it)
        return false;
    if (!it->writeBack())
        return true;
    if (it->writeTarget() == cConfigValue::PorCategoria)
        it->setWriteTarget(resolveStorage(it->writeTarget(), it->category()));

    if (it->writeTarget() == cConfigValue::Registro)
        return saveToSettings(*it);
    if (it->writeTarget() != cConfigValue::Tabla)
        return true;
    try {
        db::Connection &conn = m_connections.getConnection();
        db::Transaction tx(conn);
        writeRows(conn, {it});
        tx.commit();
        return true;
    } catch (const std::exception &e) {
        reportError(m_prompter, it->key(), QStringLiteral("cConfigure.saveValue"),
                    ErrorInfo::fromException(e));
        return false;
    }
}

bool cConfigure::saveAll()
{
    QList<const cConfigValue *> toTable;
    for (const auto &owned : m_items) {
        cConfigValue &it = *owned;
        if (!it.writeBack())
            continue;
        if (it.writeTarget() == cConfigValue::PorCategoria)
            it.setWriteTarget(resolveStorage(it.writeTarget(), it.category()));
        if (it.writeTarget() == cConfigValue::Registro)
            saveToSettings(it);
        else if (it.writeTarget() == cConfigValue::Tabla)
            toTable << &it;
    }
    if (toTable.isEmpty())
        return true;
    try {
        db::Connection &conn = m_connections.getConnection();
        db::Transaction tx(conn);
        writeRows(conn, toTable);
        tx.commit();
        return true;
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("saveAll"), QStringLiteral("cConfigure.saveAll"),
                    ErrorInfo::fromException(e));
        return false;
    }
}

// ---- printer control strings ----

QString cConfigure::traduceSecuenciaASCII(const QString &text) const
{
    QString out;
    const QStringList parts = text.split(QLatin1Char(','));
    for (const QString &part : parts) {
        const QString code = part.trimmed();
        if (code.isEmpty())
            break;
        bool ok = false;
        const int n = code.toInt(&ok);
        if (!ok || n < 0 || n > 255)
            break;
        out += QChar(n);
    }
    return out;
}

void cConfigure::traducir()
{
    const struct {
        const char *source;
        const char *target;
    } pairs[] = {{"IMPRIME-CODIGOS-CORTE", "IMPRIME-CODIGOS-CORTE-STRING"},
                 {"IMPRIME-CODIGOS-CAJON", "IMPRIME-CODIGOS-CAJON-STRING"}};
    for (const auto &p : pairs) {
        const QString target = QString::fromLatin1(p.target);
        const QString value = traduceSecuenciaASCII(getString(QString::fromLatin1(p.source)));
        // Derived on every load, never written back.
        if (!existsValue(target))
            addValue(Impresion, target, value, cConfigValue::STRING, false);
        else
            setValue(target, value);
    }
}

// ---- listing ----

QList<int> cConfigure::categories() const
{
    QList<int> out;
    for (int c = GLOBAL; c <= UltimaCategoria; ++c) {
        for (const auto &owned : m_items) {
            if (owned->category() == c) {
                out << c;
                break;
            }
        }
    }
    return out;
}

QString cConfigure::displayText(const QVariant &value, int dataType)
{
    switch (dataType) {
    case cConfigValue::BOOLEAN:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case cConfigValue::DATE: {
        const QDateTime dt = value.toDateTime();
        if (dt.isValid() && dt.date() == QDate(1899, 12, 30))
            return dt.time().toString(QStringLiteral("HH:mm:ss"));
        return cConfigValue::toText(value, dataType);
    }
    default:
        return cConfigValue::toText(value, dataType);
    }
}

QStringList cConfigure::describeAll() const
{
    QStringList lines;
    for (const auto &owned : m_items) {
        const cConfigValue &it = *owned;
        const QString category = getTypeToString(it.category()).isEmpty() ? QString::number(it.category())
                                                                          : getTypeToString(it.category());
        lines << QStringList{it.key(), category, getDataTypeToString(it.dataType()),
                             displayText(it.defaultValue(), it.dataType()), storageName(it)}
                     .join(QLatin1Char('\t'));
    }
    return lines;
}

// ---- registration ----

void cConfigure::prepare()
{
    using V = cConfigValue;
    // Settings-store keys are read at once: they need no database and CONEXION must be known
    // before the connection is opened.
    auto text = [this](int cat, const char *key, const QString &def, const QString &choices = QString()) {
        const bool settings = resolveStorage(0, cat) == V::Registro;
        addValue(cat, QString::fromLatin1(key), def, V::STRING, true, settings, 0, 0, choices);
    };
    auto textSettings = [this](int cat, const char *key, const QString &def) {
        addValue(cat, QString::fromLatin1(key), def, V::STRING, true, true, V::Registro, V::Registro);
    };
    auto flag = [this](int cat, const char *key, bool def) {
        addValue(cat, QString::fromLatin1(key), def, V::BOOLEAN, true, false);
    };
    auto lng = [this](int cat, const char *key, int def) {
        addValue(cat, QString::fromLatin1(key), def, V::LONG, true, false);
    };
    auto dbl = [this](int cat, const char *key, double def) {
        addValue(cat, QString::fromLatin1(key), def, V::DOUBLE, true, false);
    };
    auto date = [this](int cat, const char *key, const QDateTime &def) {
        addValue(cat, QString::fromLatin1(key), def, V::DATE, true, false);
    };
    auto session = [this](const char *key, const QString &def) {
        addValue(GLOBAL, QString::fromLatin1(key), def, V::STRING, false, false);
    };
    const QString empty;
    const QString programDir = programDirectory();

    text(Setup, "CONEXION-PSW", empty);
    // A reserved documentation domain: the store has no web site of its own yet.
    text(Setup, "WEBSITE", QStringLiteral("https://mostrador.example"));
    text(Setup, "PROXY", empty);
    text(Setup, "PROXY-PORT", empty);
    text(Setup, "PROXY-USER", empty);
    text(Setup, "PROXY-PSW", empty);

    text(Actualizaciones, "APPPATH", programDir);
    // Programs carry no ".exe" on this platform: the file name as it is.
    text(Actualizaciones, "EXENAME", QFileInfo(QCoreApplication::applicationFilePath()).fileName());

    session("ALMACEN", empty);
    session("PERFIL", empty);
    session("LAYOUT_PARAM_PATH", empty);
    session("LAYOUT_PARAM_FILE", empty);
    session("COMPUTER", QSysInfo::machineHostName().trimmed());

    // Empty: a connection string that names no database opens nothing by accident (a sqlite:
    // path would create an empty file there); the connection dialog or `make run` sets it.
    text(Database, "CONEXION", empty);
    text(Database, "TERMINAL", QStringLiteral("TERMINAL1"));

    flag(Facturacion, "FACTURACION-FOLIO-REPETIDO-NO-FACTURAR", false);
    flag(Facturacion, "FACTURACION-FOLIO-REPETIDO-AVISO", true);
    flag(Facturacion, "FOLIO-FACTURA-AUTOMATICO", false);
    text(Facturacion, "CONCEPTO-FACTURA-POR-OMISION", QStringLiteral("MEDICAMENTOS"));

    flag(Pedidos, "PEDIDO-CON-LISTA-DE-PRECIOS", false);
    flag(Pedidos, "PEDIDO-PREGUNTA-ARTICULOS-SIN-LISTA-DE-PRECIOS", true);
    flag(Pedidos, "PEDIDO-EXPORTA", false);

    flag(Ventas, "ORDENA-ARTICULOS-VENTA", false);
    flag(Ventas, "COBRO-RAPIDO", false);
    flag(Ventas, "COBRO-PAGO-IGUAL-A-COBRO", false);
    flag(Ventas, "VENDE-NORMAL-EN-INSUFICIENTE-OFERTA", false);
    flag(Ventas, "AVISO-VENDE-NORMAL-EN-INSUFICIENTE-OFERTA", true);
    flag(Ventas, "ACUMULA-SALDO-CORTE-DE-CAJA", false);
    flag(Ventas, "VENTA-PROMISCUA", false);
    flag(Ventas, "VENTA-PROMISCUA-VALIDA-MENU", false);
    flag(Ventas, "ACUMULAR-ARTICULOS-VENTA", true);
    flag(Ventas, "LIMITAR_VENTAS_SIN_EXISTENCIA", false);
    flag(Ventas, "AVISO_VENTAS_SIN_EXISTENCIA", false);
    flag(Ventas, "LIMITAR_VENTAS_ABAJO_DEL_COSTO", false);
    flag(Ventas, "AVISO_VENTAS_ABAJO_DEL_COSTO", false);
    lng(Ventas, "TIMER_VENTAS_MSG", 10000);
    flag(Ventas, "COMISION-TARJETA", true);
    flag(Ventas, "COMISION-TARJETA-PREGUNTA", false);
    text(Ventas, "COMISION-TARJETA-COBRO", QStringLiteral("ARTICULO"),
         QStringLiteral("ARTICULO,DESCUENTO,CONCEPTO"));
    dbl(Ventas, "COMISION-TARJETA-DESCUENTO-MINIMO", 0);
    text(Ventas, "CORTE-CAJA", QStringLiteral("TERMINAL1"));
    flag(Ventas, "MODO-CAJA-CENTRAL", false);
    lng(Ventas, "CAJA-CENTRAL-ACTUALIZACION", 5000);
    flag(Ventas, "PREGUNTA-PAGO-COMPLETO", true);
    flag(Ventas, "OPERACION-CAPTURA-AUTOMATICA", true);
    flag(Ventas, "PREGUNTA-CAMBIO-DE-PRECIO", true);
    text(Ventas, "CLIENTE-POR-OMISION", QStringLiteral("SYS"));
    flag(Ventas, "REDONDEO-POR-ARTICULO", false);
    dbl(Ventas, "REDONDEO-POR-ARTICULO-CANTIDAD", 0);
    flag(Ventas, "REDONDEO-POR-ARTICULO-MEDIO_IMPORTE", true);
    flag(Ventas, "REDONDEO-VENTA", false);
    dbl(Ventas, "REDONDEO-VENTA-CANTIDAD", 0);
    flag(Ventas, "REDONDEO-VENTA-MEDIO_IMPORTE", true);
    flag(Ventas, "SELECCIONA-CLIENTE-AL-INICIAR-LA-VENTA", false);
    flag(Ventas, "VENTA-PENDIENTE-MULTIPLE", false);
    flag(Ventas, "VENTA-DESCUENTO-MAXIMO", false);
    dbl(Ventas, "VENTA-DESCUENTO-MAXIMO-VALOR", 0);
    flag(Ventas, "VENTA-DESCUENTO-MAXIMO-AVISO", false);
    text(Ventas, "CREDITO-REFERENCIA", QStringLiteral("Referencia 1"));
    flag(Ventas, "CREDITO-REQUIERE-REFERENCIA", false);
    text(Ventas, "CREDITO-REFERENCIA-ADIC", QStringLiteral("Referencia 1"));
    flag(Ventas, "CREDITO-REQUIERE-REFERENCIA-ADIC", false);
    flag(Ventas, "VENTA-SOLICITA-DIRECCION-DOMICILIO", true);
    flag(Ventas, "ALTA-RAPIDA-PRECIO-INCLUYE-IVA", false);
    // Mexico's general IVA; 8 in the northern border region.
    dbl(Ventas, "ALTA-RAPIDA-IVA-PORCENTAJE", 16);

    flag(Resurtido, "RESURTIDO", false);
    flag(Resurtido, "RESURTIDO-APLICA-EN-DEVOLUCION", false);
    flag(Resurtido, "RECALCULA-FALTANTES-PORVENTA", false);
    flag(Resurtido, "REVISA-FECHA-FALTANTES", true);
    flag(Resurtido, "ELIMINAR-FALTANTES-CANCELADOS", true);
    lng(Resurtido, "ELIMINAR-FALTANTES-CANCELADOS-MESES", 2);
    flag(Resurtido, "ACTUALIZAR-FALTANTES-SIN-EXISTENCIA", true);

    textSettings(Recepcion, "RECEPCION-ARCHIVO-RECEPCION",
                 inProgramDirectory(QStringLiteral("recepcion.dat")));
    textSettings(Recepcion, "RECEPCION-ARCHIVO-DEVOLUCION",
                 inProgramDirectory(QStringLiteral("devolucion.dat")));
    textSettings(Recepcion, "RECEPCION-ARCHIVO-FALTANTE", inProgramDirectory(QStringLiteral("faltante.dat")));
    textSettings(Recepcion, "RECEPCION-ARCHIVO-SINCARGO", inProgramDirectory(QStringLiteral("sincargo.dat")));
    flag(Recepcion, "PREGUNTA-SIN-PEDIDO", false);
    flag(Recepcion, "RECEPCION-ACTUALIZA-LISTA", false);
    flag(Recepcion, "RECEPCION-IMPRIME-REPORTE", false);
    flag(Recepcion, "RECEPCION-PREGUNTA-IMPRIME-REPORTE", true);
    flag(Recepcion, "REQUIERE-FALTANTE-PARA-RECEPCION", false);
    flag(Recepcion, "REQUIERE-PEDIDO-PARA-RECEPCION", false);
    flag(Recepcion, "AVISO-DEVOLUCIONES-PEDIDO-RECEPCION", true);
    flag(Recepcion, "VERIFICA-PRECIO-PEDIDO-RECEPCION", false);
    dbl(Recepcion, "VERIFICA-PRECIO-PEDIDO-RECEPCION-PORCENTAJE", 1);
    flag(Recepcion, "VERIFICA-CANTIDAD-PEDIDO-RECEPCION", false);
    dbl(Recepcion, "VERIFICA-CANTIDAD-PEDIDO-RECEPCION-PORCENTAJE", 0);
    flag(Recepcion, "PREGUNTA-SIN-FALTANTES", false);
    flag(Recepcion, "AUTOSALVADO", true);
    lng(Recepcion, "AUTOSALVADO-MINUTOS", 5);

    flag(Catalogo, "DATOS-COMPLETOS-ARTICULO", false);
    text(Catalogo, "TIPO-CLIENTE-POR-OMISION", QStringLiteral("SYS"));
    text(Catalogo, "CONTROL-DE-PRECIOS-POR-OMISION", QStringLiteral("ARTICULO"));
    text(Catalogo, "CONTROL-DE-PRECIOS-POR-OMISION-LISTA", empty);
    lng(Catalogo, "MESES-CADUCIDAD-POR-OMISION", 12);
    text(Catalogo, "PROVEEDOR-PREFERENTE", QStringLiteral("FANASA"));
    text(Catalogo, "RESURTIDO-POR-OMISION", QStringLiteral("V"));
    text(Catalogo, "CAMBIO-PRECIO-POR-OMISION", QStringLiteral("PUBLICO"));
    text(Catalogo, "MEJORAR-PRECIO", QStringLiteral("SI"));

    lng(Envio, "TIMER_ENVIO", 0);
    text(Envio, "TIPO-ENTREGA-POR-OMISION", QStringLiteral("MOSTRADOR"));
    flag(Envio, "PREGUNTA-DATOS-CONFIRMACION-COMPLETOS", true);
    flag(Envio, "REQUIERE-REPARTIDOR-ENVIO", false);
    flag(Envio, "PREGUNTA-DATOS-ENTREGA-COMPLETOS", true);
    flag(Envio, "PREGUNTA-DATOS-ENVIO-COMPLETOS", true);
    flag(Envio, "VENTA-REQUIERE-CONFIRMACION-NUEVO-ENVIO", false);
    flag(Envio, "VENTA-REQUIERE-CONFIRMACION-ENTREGA", false);
    flag(Envio, "VENTA-REQUIERE-CONFIRMACION-ENVIO", false);

    flag(Almacen, "KARDEX-ARTICULOS", true);

    text(Scripts, "CODIGO-LIBRERIA", QStringLiteral("LIBRERIA"));
    flag(Scripts, "LOCALE", true);
    text(Scripts, "LOCALE-ID", QStringLiteral("es-mx"));
    // One event script may run this long and grow the memory this much (0: no limit).
    lng(Scripts, "CODIGO-LIMITE-SEGUNDOS", 60);
    lng(Scripts, "CODIGO-LIMITE-MEMORIA-MB", 512);

    flag(Operacion, "EAN15", true);
    flag(Operacion, "PREGUNTAR-CONSULTA-VACIA", true);
    text(Operacion, "CREDENCIAL-CODIGO-DE-BARRAS", empty);

    text(Setting, "CREDENCIAL-FORMATO", QStringLiteral("###############"));
    text(Setting, "SETTING-EXPORT-EXTENSION", QStringLiteral("csv"));
    text(Setting, "SETTING-DIRECTORIO-LOG", programDir);
    text(Setting, "SETTING-DIRECTORIO-RESPALDO", programDir);
    text(Setting, "SETTING-DIRECTORIO-REPORTES", programDir);
    flag(Setting, "MUESTRA-TALLA-COLOR", false);
    text(Setting, "FORMATO-FECHA-SERVIDOR", QStringLiteral("dd/mm/yyyy"));
    text(Setting, "FORMATO-FECHA-SERVIDOR-FULL", QStringLiteral("dd/mm/yyyy HH:nn:ss"));
    text(Setting, "FORMATO-FECHA-CLIENTE", QStringLiteral("dd/mm/yyyy"));
    text(Setting, "FORMATO-FECHA-CLIENTE-FULL", QStringLiteral("dd/mm/yyyy HH:nn:ss"));
    flag(Setting, "SALVAR-CONFIGURACION-AL-SALIR", false);
    text(Setting, "SESION-MODO", QStringLiteral("USUARIO"), QStringLiteral("USUARIO,CREDENCIAL,HUELLA"));
    flag(Setting, "SESION-SIN-PSW", true);

    flag(Impresion, "IMPRIMIR-CORTE-DE-CAJA", false);
    flag(Impresion, "IMPRIMIR-CORTE-DE-CAJA-PREGUNTA", true);
    flag(Impresion, "IMPRIME-TICKET-POR-OMISION", true);
    lng(Impresion, "REPORTE-PAGINAS-EN-MEMORIA", 60);
    flag(Impresion, "PEDIDO-IMPRIME-TICKET", false);
    flag(Impresion, "IMPRIME-MOVIMIENTO-DE-CAJA", true);
    flag(Impresion, "IMPRIMIR-TICKET-EN-FACTURA", false);
    flag(Impresion, "IMPRIMIR-TICKET-EN-NOTA", false);
    flag(Impresion, "IMPRIMIR-NOTA-EN-FACTURA", false);
    flag(Impresion, "IMPRESORA-EN-LINEA", true);
    flag(Impresion, "IMPRESORA-DIRECTO-A-PUERTO", true);
    text(Impresion, "IMPRESORA-PUERTO", QStringLiteral("LPT1"));
    flag(Impresion, "IMPRIME-IMPORTE-EN-LETRAS", true);
    flag(Impresion, "PREGUNTA-REIMPRESION", true);
    flag(Impresion, "PREGUNTA-REIMPRESION-CONSULTORIO", true);
    flag(Impresion, "PREGUNTA-REIMPRESION-PRESUPUESTO", true);
    flag(Impresion, "IMPRIME-CORTE-DE-PAGINA", false);
    text(Impresion, "PUERTO-CORTE-DE-PAGINA", QStringLiteral("LPT1"));
    text(Impresion, "IMPRIME-CODIGOS-CORTE", QStringLiteral("27,105,"));
    flag(Impresion, "IMPRIME-ABRE-CAJON", false);
    text(Impresion, "PUERTO-APERTURA-CAJON", QStringLiteral("LPT1"));
    text(Impresion, "IMPRIME-CODIGOS-CAJON", QStringLiteral("27,112,48,49,"));
    flag(Impresion, "TICKET-SIMPLE", false);
    dbl(Impresion, "TICKET-SIMPLE-IMPORTE-MINIMO", 0);
    flag(Impresion, "TICKET-MINIMO", false);
    dbl(Impresion, "TICKET-MINIMO-IMPORTE", 0);
    flag(Impresion, "IMPRIMIR-VENTA-PENDIENTE", false);
    flag(Impresion, "IMPRIMIR-TICKET-VENTA-PENDIENTE-CONSULTORIO", false);
    flag(Impresion, "IMPRIMIR-VENTA-PENDIENTE-TICKET", false);
    flag(Impresion, "IMPRIMIR-CODIGO-DE-BARRAS", false);
    text(Impresion, "FUENTE-CODIGO-DE-BARRAS", QStringLiteral("Bar Sample 128AB"));
    lng(Impresion, "TAMANIO-FUENTE-CODIGO-DE-BARRAS", 10);
    flag(Impresion, "PREGUNTA-IMPRESION-COBRO", true);
    text(Impresion, "FUENTE-IMPRESION", QStringLiteral("Courier New"));
    lng(Impresion, "TAMANIO-FUENTE-IMPRESION", 10);
    flag(Impresion, "FUENTE-IMPRESION-NEGRITAS", false);
    flag(Impresion, "FUENTE-IMPRESION-ITALICA", false);
    text(Impresion, "IMPRESORA-DE-RECIBOS", empty);
    text(Impresion, "IMPRESORA-DE-REPORTES", empty);
    text(Impresion, "IMPRESORA-DE-NOTAS", empty);
    flag(Impresion, "IMPRESORA-NOTA-EN-LINEA", true);
    text(Impresion, "IMPRESORA-NOTA-FUENTE-IMPRESION", QStringLiteral("Courier New"));
    lng(Impresion, "IMPRESORA-NOTA-TAMANIO-FUENTE-IMPRESION", 10);
    flag(Impresion, "IMPRESORA-NOTA-FUENTE-IMPRESION-NEGRITAS", false);
    flag(Impresion, "IMPRESORA-NOTA-FUENTE-IMPRESION-ITALICA", false);
    flag(Impresion, "IMPRESORA-NOTA-DIRECTO-A-PUERTO", false);
    text(Impresion, "IMPRESORA-NOTA-PUERTO", QStringLiteral("LPT1"));
    flag(Impresion, "IMPRESORA-NOTA-PREGUNTA-REIMPRESION", true);
    // The receipt and note printers' character tables (what ESC t selects and the text is
    // encoded in), and how long a network printer may take to answer, in milliseconds.
    text(Impresion, "IMPRESORA-PAGINA-CODIGOS", QStringLiteral("CP858"));
    text(Impresion, "IMPRESORA-NOTA-PAGINA-CODIGOS", QStringLiteral("CP858"));
    lng(Impresion, "IMPRESORA-ESPERA-RED", 3000);

    flag(Reportes, "EASYREPORT-CUADRICULA", true);
    dbl(Reportes, "EASYREPORT-CUADRICULA-X", 5);
    dbl(Reportes, "EASYREPORT-CUADRICULA-Y", 5);

    flag(Consulta, "BUSQUEDA-LIKE", true);
    flag(Consulta, "BUSQUEDA-SUSPENDIDOS", true);
    flag(Consulta, "BUSQUEDA-SOLO-EXISTENCIA", false);
    lng(Consulta, "BUSQUEDA-COLUMNAS", 25);
    text(Consulta, "BUSQUEDA-COLUMNA-INICIAL", QStringLiteral("art_Nombre"));

    text(Usuarios, "USUARIO", empty);

    lng(22, "VENTANA-FONDO-COLOR-INICIAL", 16763025);
    lng(22, "VENTANA-FONDO-COLOR-FINAL", 36 + 94 * 256 + 220 * 65536); // RGB(36, 94, 220)
    lng(22, "VENTANA-FONDO-COLOR-GRADOS", 360);
    lng(22, "ETIQUETA-FUENTE-COLOR", 360);
    lng(22, "ETIQUETA-FUENTE-TAMANO", 8);

    flag(23, "CAPTURAR-PAGOS", false);

    text(24, "ASISTENCIA-IDENTIFICACION", QStringLiteral("CREDENCIAL"),
         QStringLiteral("CREDENCIAL,HUELLA,NOMBRE"));

    date(25, "AGENDA-NORMAL-HORA-INI", V::timeOfDay(8, 0));
    date(25, "AGENDA-NORMAL-HORA-FIN", V::timeOfDay(18, 0));
    dbl(25, "AGENDA-DURACION-CITA-MINUTOS", 30);
    dbl(25, "AGENDA-COLOR-NORMAL", 30);

    flag(26, "PACIENTE-ALTA-COMO-CLIENTE", true);
    flag(26, "RECETA-SOLICITAR-A-MOSTRADOR", true);
    flag(26, "RECETA-IMPRIMIR-REPORTE", true);

    // Article search columns as "field|caption|width"; the lookup windows split at "|".
    const char *const columns[] = {"tArticulo.art_Clave|Clave|120",
                                   "art_Nombre|Nombre|300",
                                   "art_Importe|Importe|90",
                                   "art_Descuento|Descuento|80",
                                   "art_Total|Total|90",
                                   "art_Descripcion|Descripcion|250",
                                   "med_Clave|Unidad|60",
                                   "art_Referencia|Referencia|120",
                                   "fab_Clave|Fabricante|90",
                                   "tart_Clave|Departamento|90"};
    for (int i = 1; i <= 25; ++i) {
        const QString def = i <= int(std::size(columns)) ? QString::fromLatin1(columns[i - 1]) : QString();
        addValue(Consulta, QStringLiteral("BUSQUEDA-COLUMNA") + QString::number(i), def, V::STRING, true,
                 false);
    }
}
