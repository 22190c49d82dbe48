#include "easyReport.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "Prompter.h"
#include "ReportValue.h"
#include "cCollectionContainer.h"
#include "cConfigure.h"
#include "cPrintObjects.h"
#include "cString.h"
#include "AdoObjects.h"

#include "Connection.h"
#include "DbError.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

constexpr int kMaxErrors = 1001;

QString fold(const QString &s)
{
    return s.toCaseFolded();
}

// The suffixes that name the end of a range parameter in the query: [Fecha.Fin].
bool isExtraSuffix(const QString &s)
{
    static const QStringList names = {QStringLiteral("extra"), QStringLiteral("fin"), QStringLiteral("hasta"),
                                      QStringLiteral("valueextra"), QStringLiteral("svalueextra")};
    return names.contains(s.toLower());
}

QString csvField(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QLatin1String("\"\""));
    return u'"' + quoted + u'"';
}

bool looksLikeDatePicture(const QString &picture)
{
    return !picture.contains(u'#') && !picture.contains(u'0') &&
           (picture.contains(u'd', Qt::CaseInsensitive) || picture.contains(u'y', Qt::CaseInsensitive));
}

} // namespace

easyReport::easyReport(ReportServices services, QObject *parent)
    : QObject(parent), m_services(std::move(services)), m_printer(new cReportPrinter(this)),
      m_header(new cPrintSection(this)), m_group(new cPrintSection(this)), m_detail(new cPrintSection(this)),
      m_sumary(new cPrintSection(this)), m_footer(new cPrintSection(this)),
      m_reportFooter(new cPrintSection(this)), m_bag(new cCollectionContainer(this))
{
    m_header->setHeight(20);
    m_footer->setHeight(15);
    checkSizeSections();
    // The reports' printer until the program chooses another.
    if (m_services.config)
        m_printerName = m_services.config->getString(QStringLiteral("IMPRESORA-DE-REPORTES"));
}

easyReport::~easyReport()
{
    // The program's engine holds wrappers of our objects: it goes before them.
    m_program.reset();
}

bool easyReport::EndOfData() const
{
    return !m_haveData || m_rs.eof();
}

void easyReport::addTo(cPrintSection &section, QObject *object, const char *prefix)
{
    auto *o = qobject_cast<cPrintObject *>(object);
    if (!o)
        return;
    if (o->Name().isEmpty()) {
        int n = section.Count();
        QString name;
        do
            name = QString::fromLatin1(prefix) + o->ObjectType() + QString::number(n++);
        while (m_byName.contains(fold(name)));
        o->setName(name);
    }
    section.addObject(o);
    addObject(o);
}

void easyReport::addHeaderObject(QObject *object)
{
    addTo(*m_header, object, "HEAD_");
}
void easyReport::addGroupObject(QObject *object)
{
    addTo(*m_group, object, "GPO_");
}
void easyReport::addDetailObject(QObject *object)
{
    addTo(*m_detail, object, "DET_");
}
void easyReport::addSumaryObject(QObject *object)
{
    addTo(*m_sumary, object, "SUM_");
}
void easyReport::addFooterObject(QObject *object)
{
    addTo(*m_footer, object, "FOO_");
}
void easyReport::addReportFooterObject(QObject *object)
{
    addTo(*m_reportFooter, object, "RFO_");
}

void easyReport::addObject(QObject *object)
{
    auto *o = qobject_cast<cPrintObject *>(object);
    if (!o)
        return;
    if (o->parent() != this)
        o->setParent(this); // the report keeps what scripts made
    if (o->Name().isEmpty()) {
        int n = int(m_objects.size());
        QString name;
        do
            name = QStringLiteral("OBJ_") + o->ObjectType() + QString::number(n++);
        while (m_byName.contains(fold(name)));
        o->setName(name);
    }
    const QString key = fold(o->Name());
    if (m_byName.contains(key))
        return;
    m_byName.insert(key, o);
    m_objects.emplace_back(o);
    m_porClaseValido = false;
    m_bag->addObject(QVariant::fromValue<QObject *>(o), o->Name());
}

bool easyReport::existObject(const QString &name) const
{
    return m_byName.contains(fold(name));
}

QObject *easyReport::getObject(const QString &name) const
{
    return object(name);
}

cPrintObject *easyReport::object(const QString &name) const
{
    return m_byName.value(fold(name), nullptr);
}

void easyReport::setParam(const QString &key, const QVariant &value, const QVariant &extra,
                          const QString &dataType)
{
    cParametroReporte *&p = m_params[fold(key)];
    if (!p)
        p = new cParametroReporte(this);
    p->sKey = key;
    p->sValue = value;
    p->sValueExtra = extra;
    p->dataType = dataType;
}

QObject *easyReport::getParameter(const QString &key) const
{
    return m_params.value(fold(key), nullptr);
}

QVariant easyReport::getParameterValue(const QString &key) const
{
    const cParametroReporte *p = m_params.value(fold(key), nullptr);
    return p ? p->sValue : QVariant();
}

QVariant easyReport::getParameterValueExtra(const QString &key) const
{
    const cParametroReporte *p = m_params.value(fold(key), nullptr);
    return p ? p->sValueExtra : QVariant();
}

QString easyReport::getParameterDataType(const QString &key) const
{
    const cParametroReporte *p = m_params.value(fold(key), nullptr);
    return p ? p->dataType : QString();
}

QString easyReport::getPropertyValueScript(const QString &property) const
{
    const QString p = property.toLower();
    if (p == u"endofdata")
        return EndOfData() ? QStringLiteral("True") : QStringLiteral("False");
    if (p == u"currentpage")
        return QString::number(m_page);
    if (p == u"printdatetime")
        return reportvalue::scriptDate(m_printDateTime);
    return QString();
}

double easyReport::PageWidth() const
{
    if (m_userWidth > 0)
        return m_userWidth;
    const double w = m_printer->pageWidthMm(), h = m_printer->pageHeightMm();
    return m_orientPage == 2 ? qMax(w, h) : qMin(w, h);
}

double easyReport::PageHeight() const
{
    if (m_userHeight > 0)
        return m_userHeight;
    const double w = m_printer->pageWidthMm(), h = m_printer->pageHeightMm();
    return m_orientPage == 2 ? qMin(w, h) : qMax(w, h);
}

void easyReport::setUserPageWidth(double w)
{
    m_userWidth = w;
    if (m_printForm.isEmpty())
        m_printForm = QStringLiteral("ZevF");
    checkSizeSections();
}

void easyReport::setUserPageHeight(double h)
{
    m_userHeight = h;
    if (m_printForm.isEmpty())
        m_printForm = QStringLiteral("ZevF");
    checkSizeSections();
}

void easyReport::setHeaderHeight(double h)
{
    m_header->setHeight(h);
    checkSizeSections();
}

void easyReport::setFooterHeight(double h)
{
    m_footer->setHeight(h);
    checkSizeSections();
}

easyReport::Paper easyReport::paperOf(int code)
{
    switch (code) {
    case 5:
        return {215.9, 355.6, 6.35};
    case 9:
        return {210, 297, 6.35};
    default:
        return {215.9, 279.4, 6.35};
    }
}

void easyReport::setPaperSize(int code)
{
    m_paperSize = code;
    const Paper p = paperOf(code);
    m_printer->setPageSizeMm(p.widthMm - 2 * p.marginMm, p.heightMm - 2 * p.marginMm);
    checkSizeSections();
}

void easyReport::checkSizeSections()
{
    m_header->setTop(0);
    m_detail->setTop(m_header->Height());
    m_detail->setHeight(PageHeight() - (m_header->Height() + m_footer->Height()));
    m_footer->setTop(m_detail->Top() + m_detail->Height());
}

void easyReport::Clear()
{
    m_program.reset();
    for (auto *s : {m_header, m_group, m_detail, m_sumary, m_footer, m_reportFooter}) {
        delete s;
    }
    m_header = new cPrintSection(this);
    m_group = new cPrintSection(this);
    m_detail = new cPrintSection(this);
    m_sumary = new cPrintSection(this);
    m_footer = new cPrintSection(this);
    m_reportFooter = new cPrintSection(this);
    for (const auto &o : m_objects)
        delete o.data();
    m_objects.clear();
    m_porClaseValido = false;
    m_byName.clear();
    m_bag->clear();
    qDeleteAll(m_params);
    m_params.clear();
    m_sql.clear();
    m_rs = db::Recordset();
    m_haveData = false;
    checkSizeSections();
}

bool easyReport::configureScript(const QString &code, QString *error)
{
    m_program = std::make_unique<vbs::Engine>();
    vbs::Engine &engine = *m_program;
    engine.setLocale(2058);
    if (m_services.hostObjects)
        m_services.hostObjects(engine);
    engine.addObject(QStringLiteral("xRpt"), this);
    const auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        writeLog(QStringLiteral("Reporte: ") + text);
        return false;
    };
    if (m_services.connections && m_services.config) {
        const QString library = m_services.config->getString(QStringLiteral("CODIGO-LIBRERIA"));
        if (!library.isEmpty()) {
            try {
                db::Recordset rs = m_services.connections->getConnection().openRecordset(
                    QStringLiteral("select codigo_Text from tCodigo where codigo_Clave = ?"), {library});
                if (!rs.eof() && !engine.addCode(rs.text(QStringLiteral("codigo_Text"))))
                    return fail(engine.errorText());
            } catch (const std::exception &e) {
                return fail(QString::fromUtf8(e.what()));
            }
        }
    }
    if (!engine.addCode(QStringLiteral("sub reporte()\r\n") + code + QStringLiteral("\r\nend sub")))
        return fail(engine.errorText());
    if (!engine.run(QStringLiteral("reporte")))
        return fail(engine.errorText());
    return true;
}

bool easyReport::resolveSql(QString &sql, QList<QVariant> &values, QString *missing) const
{
    sql.clear();
    values.clear();
    const QString serverPicture = m_services.config
                                      ? m_services.config->getString(QStringLiteral("FORMATO-FECHA-SERVIDOR"))
                                      : QStringLiteral("dd/mm/yyyy");
    bool quoted = false;
    for (qsizetype i = 0; i < m_sql.size(); ++i) {
        const QChar c = m_sql.at(i);
        if (c == u'\'')
            quoted = !quoted;
        if (c != u'[' || quoted) {
            sql += c;
            continue;
        }
        const qsizetype close = m_sql.indexOf(u']', i + 1);
        if (close < 0) {
            sql += QStringView(m_sql).mid(i);
            break;
        }
        QString name = m_sql.mid(i + 1, close - i - 1);
        bool extra = false;
        if (const qsizetype dot = name.indexOf(u'.'); dot >= 0 && isExtraSuffix(name.mid(dot + 1))) {
            extra = true;
            name = name.left(dot);
        }
        const cParametroReporte *p = m_params.value(fold(name), nullptr);
        if (!p) {
            if (missing)
                *missing = name;
            return false;
        }
        const QVariant raw = extra ? p->sValueExtra : p->sValue;
        const QString kind = p->dataType.toUpper();
        QVariant bound = raw;
        if (reportvalue::isNull(raw) || !raw.isValid()) {
            bound = QVariant();
        } else if (kind == u"F") {
            const QDateTime d = reportvalue::toDateTime(raw, serverPicture);
            bound = d.isValid() ? QVariant(d) : raw;
        } else if (kind == u"N") {
            bound = reportvalue::leadingNumber(reportvalue::text(raw));
        } else if (!kind.isEmpty()) {
            bound = reportvalue::text(raw);
        }
        values << bound;
        sql += u'?';
        i = close;
    }
    return true;
}

bool easyReport::openData()
{
    QString missing;
    if (!resolveSql(m_resolvedSql, m_resolvedValues, &missing)) {
        if (m_services.prompter)
            m_services.prompter->exclamation(QStringLiteral("Parametro no encontrado [") + missing + u']');
        writeLog(QStringLiteral("Reporte: Parametro no encontrado [") + missing + u']');
        return false;
    }
    m_rs = db::Recordset();
    m_haveData = false;
    m_fieldColumns.clear();
    if (m_resolvedSql.trimmed().isEmpty())
        return true;
    if (!m_services.connections)
        return false;
    try {
        m_rs = m_services.connections->getConnection().openForwardOnly(m_resolvedSql,
                                                                       QVariantList(m_resolvedValues));
        m_haveData = true;
    } catch (const std::exception &e) {
        const QString text = QStringLiteral("No fue posible leer los datos del reporte");
        if (m_services.prompter)
            m_services.prompter->detailedMessage(Prompter::Icon::Critical, text, QString::fromUtf8(e.what()));
        writeLog(text + QStringLiteral(": ") + QString::fromUtf8(e.what()));
        return false;
    }
    const QList<db::FieldInfo> fields = m_rs.fields();
    for (int c = 0; c < fields.size(); ++c) {
        const QString name = fields.at(c).name;
        cPrintObject *existing = object(name);
        if (!existing && m_addAllFields) {
            auto *f = new cPrintField(this);
            f->setName(name);
            f->QObject::setProperty("DataType", reportvalue::kindForAdoType(ado::adoType(fields.at(c))));
            addObject(f);
            existing = f;
        }
        if (existing && existing->ObjectType() == u"cPrintField")
            m_fieldColumns.append({existing, c});
    }
    return true;
}

void easyReport::resetSections()
{
    for (auto *s : {m_header, m_group, m_detail, m_sumary, m_footer, m_reportFooter})
        s->reset();
}

bool easyReport::startRun()
{
    ++m_runId;
    m_printDateTime = m_services.clock ? m_services.clock() : QDateTime::currentDateTime();
    m_printDateTime.setTime(QTime(m_printDateTime.time().hour(), m_printDateTime.time().minute(),
                                  m_printDateTime.time().second()));
    m_printer->setPrintMode(cReportPrinter::Preview);
    m_printer->Cls();
    m_printer->setForeColor(0);
    m_printer->setBackColor(0xFFFFFF);
    m_page = 0;
    m_groupsStarted = false;
    m_firstGroup = false;
    m_rowSerial = 0;
    m_rowLoaded = -1;
    m_pending.clear();
    m_cache.clear();
    m_inMemory.clear();
    m_stalled = false;
    m_stopRequested = false;
    m_formulaErrors.clear();
    m_runStarted = false;
    checkSizeSections();
    resetSections();
    if (!openData())
        return false;
    m_formulas.prepare(
        m_services.hostObjects, m_bag, [this](const QString &name) { return object(name); },
        [this](const QString &property, bool *known) -> vbs::Value {
            const QString p = property.toLower();
            *known = true;
            if (p == u"endofdata")
                return vbs::Value::boolean(EndOfData());
            if (p == u"currentpage")
                return vbs::Value::lng(m_page);
            if (p == u"printdatetime")
                return reportvalue::toScriptValue(m_printDateTime, QStringLiteral("F"));
            *known = false;
            return vbs::Value();
        });
    m_printer->Cls();
    m_runStarted = true;
    return true;
}

const easyReport::PorClase &easyReport::porClase()
{
    // Built when the objects change, not for every row.
    if (!m_porClaseValido) {
        m_porClase = {};
        for (const auto &o : m_objects) {
            if (!o)
                continue;
            const QString tipo = o->ObjectType();
            if (tipo == u"cPrintFormula")
                m_porClase.formulas << o.data();
            else if (tipo == u"cPrintImage")
                m_porClase.imagenes << o.data();
            else if (tipo == u"cPrintSumary")
                m_porClase.sumarios << o.data();
            else if (tipo == u"cPrintGroup")
                m_porClase.grupos << static_cast<cPrintGroup *>(o.data());
        }
        m_porClaseValido = true;
    }
    return m_porClase;
}

void easyReport::moveNext()
{
    if (!m_haveData)
        return;
    try {
        m_rs.moveNext();
    } catch (const std::exception &e) {
        addError(QStringLiteral("No fue posible leer el siguiente registro"), QString::fromUtf8(e.what()));
        m_haveData = false;
    }
    ++m_rowSerial;
}

bool easyReport::loadRow()
{
    if (EndOfData())
        return false;
    // The row a page starts with was loaded at the end of the page before: loading it again
    // would count it twice in every summary that refers to itself.
    if (m_rowLoaded == m_rowSerial)
        return true;
    m_rowLoaded = m_rowSerial;
    for (const auto &[field, column] : std::as_const(m_fieldColumns)) {
        const QVariant v = m_rs.value(column);
        field->setValue(v.isValid() ? v : QVariant::fromValue(nullptr));
    }
    const PorClase &clases = porClase();
    const QList<cPrintObject *> &formulas = clases.formulas;
    const QList<cPrintObject *> &images = clases.imagenes;
    const QList<cPrintGroup *> &groups = clases.grupos;
    for (cPrintObject *o : formulas)
        o->Refresh(*this);
    for (cPrintObject *o : images)
        o->Refresh(*this);
    bool change = false;
    if (!m_groupsStarted) {
        for (cPrintGroup *g : groups) {
            g->reset();
            g->startGroup();
        }
        m_groupsStarted = true;
        m_firstGroup = true;
        change = true;
    } else {
        m_firstGroup = false;
        for (cPrintGroup *g : groups)
            change = change || g->isChangeGroup();
    }
    if (change) {
        printGroupSummary(false);
        for (cPrintGroup *g : groups)
            if (g->isChangeGroup())
                g->startGroup();
        placeInDetail(*m_group, false);
    }
    for (cPrintObject *o : clases.sumarios)
        o->Refresh(*this);
    for (cPrintObject *o : formulas)
        if (o->reCalc())
            o->Refresh(*this);
    for (cPrintObject *o : images)
        if (o->reCalc())
            o->Refresh(*this);
    return true;
}

void easyReport::printGroupSummary(bool atEnd)
{
    // Nothing is summarised before the first group has rows; at the end the last group always is.
    if (!m_groupsStarted || (m_firstGroup && !atEnd))
        return;
    m_sumary->setHeight(m_sumary->MaxHeightControls());
    m_sumary->setHeightCurrent(m_sumary->Height());
    placeInDetail(*m_sumary, true);
}

void easyReport::placeInDetail(cPrintSection &section, bool summary)
{
    section.setTopCurrent(m_detail->topCurrent());
    if (!summary)
        section.setHeightCurrent(m_detail->Height());
    const bool fits =
        m_detail->Top() + m_detail->heightCurrent() > section.topCurrent() + section.MaxHeightControls();
    // Once a section waits for the next page, the ones after it wait too: their order is kept.
    if (!fits || !m_pending.empty()) {
        // A waiting section prints the values it has now, not those of the rows after it.
        PendingSection p{&section, {}};
        for (const auto &o : section.objects())
            if (o)
                p.values.append({o.data(), o->Value()});
        m_pending.push_back(std::move(p));
        return;
    }
    section.printObjects(*this, *m_printer);
    m_detail->setTopCurrent(m_detail->topCurrent() +
                            (summary ? section.MaxHeightControls() : section.MaxHeight()));
}

void easyReport::refreshFormulas()
{
    // Summaries stay out: refreshing one that refers to itself would count the row again.
    const PorClase &clases = porClase();
    for (cPrintObject *o : clases.formulas)
        o->Refresh(*this);
    for (cPrintObject *o : clases.imagenes)
        o->Refresh(*this);
}

void easyReport::printPage()
{
    const int mode = m_printer->PrintMode();
    if (mode == cReportPrinter::Printer) {
        m_printer->NewPage();
        m_printer->setOrient(m_orientPage);
    }
    m_detail->setTopCurrent(m_detail->Top());
    m_sumary->setHeight(m_sumary->MaxHeightControls());
    for (auto *s : {m_header, m_group, m_detail, m_sumary, m_footer, m_reportFooter})
        s->setHeightCurrent(s->Height());
    m_header->setTopCurrent(m_header->Top());
    m_footer->setTopCurrent(m_footer->Top());
    m_printer->Cls();
    ++m_page;
    bool rowsPrinted = false;
    const bool hadPending = !m_pending.empty();
    bool skipDetail = false;
    double rowHeight = m_detail->MaxHeightControls();
    if (!hadPending) {
        if (!loadRow()) {
            storePage(); // no row: the page stays blank
            return;
        }
        // The header's formulas (the page number) are those of this page.
        refreshFormulas();
        m_header->printObjects(*this, *m_printer);
    } else {
        refreshFormulas();
        m_header->printObjects(*this, *m_printer);
        std::vector<PendingSection> pending;
        pending.swap(m_pending);
        for (PendingSection &p : pending) {
            cPrintSection &s = *p.section;
            s.setTopCurrent(m_detail->topCurrent());
            s.setHeightCurrent(m_detail->Height());
            QList<std::pair<cPrintObject *, QVariant>> now;
            for (auto &[o, v] : p.values) {
                now.append({o, o->Value()});
                o->setValue(v);
            }
            s.printObjects(*this, *m_printer);
            for (auto &[o, v] : now)
                o->setValue(v);
            m_detail->setTopCurrent(m_detail->topCurrent() + s.MaxHeight());
        }
        skipDetail = EndOfData();
    }
    if (!skipDetail) {
        while (m_detail->Top() + m_detail->heightCurrent() > m_detail->topCurrent() + 2 * rowHeight &&
               !EndOfData()) {
            m_detail->printObjects(*this, *m_printer);
            rowsPrinted = true;
            m_detail->setTopCurrent(m_detail->topCurrent() + rowHeight);
            moveNext();
            if (EndOfData())
                break;
            loadRow();
        }
        if (EndOfData()) {
            printGroupSummary(true);
            refreshFormulas();
            m_footer->printObjects(*this, *m_printer);
            placeInDetail(*m_reportFooter, false);
        } else {
            refreshFormulas();
            m_footer->printObjects(*this, *m_printer);
        }
        if (!rowsPrinted && m_detail->Height() <= 2 * rowHeight && !EndOfData()) {
            // The detail band cannot hold a row: more pages would never reach the next one.
            m_stalled = true;
            addError(QStringLiteral(
                         "La sección de detalle no cabe en la página; el reporte se detuvo en la página ") +
                     QString::number(m_page));
        }
    } else {
        // The last page holds only what waited for it; it still gets its page footer.
        refreshFormulas();
        m_footer->printObjects(*this, *m_printer);
    }
    if (mode == cReportPrinter::Preview)
        storePage();
    else if (mode == cReportPrinter::Printer && !EndOfData())
        m_endDocByNewPage ? m_printer->EndDoc() : m_printer->EndPage();
}

void easyReport::storePage()
{
    if (m_printer->PrintMode() != cReportPrinter::Preview) {
        m_printer->takeLog();
        return;
    }
    m_cache[m_page].log = m_printer->takeLog();
    m_inMemory.push_back(m_page);
    int limit = m_services.pagesInMemory > 0 ? m_services.pagesInMemory : 60;
    if (m_services.pagesInMemory <= 0 && m_services.config) {
        const int configured = m_services.config->getLong(QStringLiteral("REPORTE-PAGINAS-EN-MEMORIA"));
        if (configured > 0)
            limit = configured;
    }
    while (int(m_inMemory.size()) > limit) {
        const int page = m_inMemory.front();
        m_inMemory.erase(m_inMemory.begin());
        CachedPage &c = m_cache[page];
        auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/zevrepXXXXXX.log"));
        if (!file->open()) {
            m_inMemory.push_back(page); // kept in memory rather than lost
            break;
        }
        file->write(cReportPrinter::logToText(c.log).toUtf8());
        file->flush();
        c.file = std::move(file);
        ReportPageLog().swap(c.log);
    }
}

int easyReport::pagesInMemory() const
{
    return int(m_inMemory.size());
}

ReportPageLog easyReport::pageLog(int page) const
{
    const auto it = m_cache.find(page);
    if (it == m_cache.end())
        return {};
    if (!it->second.file)
        return it->second.log;
    QFile f(it->second.file->fileName());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return cReportPrinter::logFromText(QString::fromUtf8(f.readAll()));
}

bool easyReport::finished() const
{
    if (!m_runStarted)
        return true;
    return m_stalled || (m_page > 0 && EndOfData() && m_pending.empty());
}

bool easyReport::composeNext()
{
    if (finished() || m_stopRequested)
        return false;
    m_printer->setPrintMode(cReportPrinter::Preview);
    printPage();
    return true;
}

bool easyReport::composeUntil(int page)
{
    while (m_page < page && composeNext()) {
    }
    return m_page >= page;
}

bool easyReport::printReport()
{
    writeLog(QStringLiteral("Imprimiendo ..."));
    m_errors.clear();
    m_errorsAsked = 0;
    if (m_cancel)
        return false;
    if (!startRun())
        return false;
    composeUntil(1);
    askErrors();
    return true;
}

bool easyReport::printPages(ReportCanvas &canvas, int copies, int from, int to)
{
    m_printer->setPrinterCanvas(&canvas);
    bool started = false;
    for (int copy = 0; copy < qMax(1, copies) && !m_stopRequested; ++copy) {
        if (!startRun())
            break;
        if (!m_printer->StartDoc()) {
            m_printer->setPrinterCanvas(nullptr);
            return false;
        }
        started = true;
        m_printer->setOrient(m_orientPage);
        while (!finished() && !m_stopRequested) {
            const int next = m_page + 1;
            if (to > 0 && next > to)
                break;
            m_printer->setPrintMode(next < from ? cReportPrinter::Compose : cReportPrinter::Printer);
            printPage();
        }
        m_printer->EndDoc();
    }
    m_printer->setPrintMode(cReportPrinter::Preview);
    m_printer->setPrinterCanvas(nullptr);
    askErrors();
    return started;
}

bool easyReport::exportCsv(const QString &file, QString *error)
{
    QString sql;
    QList<QVariant> values;
    QString missing;
    if (!resolveSql(sql, values, &missing)) {
        if (error)
            *error = QStringLiteral("Parametro no encontrado [") + missing + u']';
        return false;
    }
    if (!m_services.connections || sql.trimmed().isEmpty()) {
        if (error)
            *error = QStringLiteral("El reporte no tiene consulta");
        return false;
    }
    QSaveFile out(file);
    try {
        db::Recordset rs = m_services.connections->getConnection().openForwardOnly(sql, QVariantList(values));
        if (!out.open(QIODevice::WriteOnly)) {
            if (error)
                *error = QStringLiteral("No fue posible escribir el archivo ") + file;
            return false;
        }
        // A byte-order mark so spreadsheet programs read the accents.
        out.write("\xEF\xBB\xBF");
        QStringList names;
        for (int c = 0; c < rs.fieldCount(); ++c)
            names << csvField(rs.fieldName(c));
        out.write((names.join(u',') + QStringLiteral("\r\n")).toUtf8());
        for (; !rs.eof(); rs.moveNext()) {
            QStringList line;
            for (int c = 0; c < rs.fieldCount(); ++c)
                line << csvField(reportvalue::text(rs.value(c)));
            out.write((line.join(u',') + QStringLiteral("\r\n")).toUtf8());
        }
    } catch (const std::exception &e) {
        if (error)
            *error =
                QStringLiteral("No fue posible leer los datos del reporte: ") + QString::fromUtf8(e.what());
        return false;
    }
    if (!out.commit()) {
        if (error)
            *error = QStringLiteral("No fue posible escribir el archivo ") + file;
        return false;
    }
    return true;
}

void easyReport::addError(const QString &text, const QString &detail)
{
    if (m_errors.size() >= kMaxErrors)
        return;
    if (m_errors.size() >= 998) {
        m_errors << QStringLiteral("Demasiados errores");
        return;
    }
    m_errors << (detail.isEmpty() ? text : text + u'\n' + detail);
    writeLog(QStringLiteral("Reporte: ") + m_errors.last());
}

void easyReport::askErrors()
{
    if (m_errors.size() <= m_errorsAsked)
        return;
    m_errorsAsked = int(m_errors.size());
    if (m_services.prompter &&
        m_services.prompter->question(
            QStringLiteral("Ocurrieron errores en la impresion, desea ver la lista de errores"), false))
        showErrorList();
}

void easyReport::showErrorList()
{
    if (m_showErrors)
        m_showErrors(m_errors);
    else if (m_services.prompter)
        m_services.prompter->detailedMessage(
            Prompter::Icon::Exclamation,
            QStringLiteral("Errores del reporte: ") + QString::number(m_errors.size()), m_errors.join(u'\n'));
}

ReportRun::Outcome easyReport::evaluate(cPrintObject &owner, const QString &formula, vbs::Value &result)
{
    QString detail;
    const ReportFormulas::Outcome o = m_formulas.evaluate(formula, result, &detail);
    if (o == ReportFormulas::Outcome::Ok)
        return Outcome::Ok;
    if (o == ReportFormulas::Outcome::MissingReference)
        return Outcome::MissingReference;
    // Listed once per object and run: a bad formula fails on every row alike.
    if (!m_formulaErrors.contains(owner.Name())) {
        m_formulaErrors.insert(owner.Name(), true);
        addError(QStringLiteral("Error al calcular la formula de ") + owner.Name(),
                 u'[' + formula + QStringLiteral("]-[") + detail + QStringLiteral("]-[") + owner.Name() +
                     u']');
    }
    return Outcome::Failed;
}

bool easyReport::runOnPrint(cPrintObject &owner, const QString &statements)
{
    QString missing;
    QString detail;
    const ReportFormulas::Outcome o = m_formulas.run(statements, &missing, &detail);
    if (o == ReportFormulas::Outcome::MissingReference) {
        addError(QStringLiteral("onPrintFormula: Formula no encontrada: [") + missing + u']');
        return false;
    }
    if (o == ReportFormulas::Outcome::Failed)
        addError(QStringLiteral("Error en onPrintFormula de ") + owner.Name(),
                 QStringLiteral("[]-[") + detail + QStringLiteral("]-[") + owner.Name() + u']');
    return true;
}

QString easyReport::format(const QVariant &value, const QString &picture) const
{
    if (!m_services.strings)
        return reportvalue::text(value);
    QVariant v = value;
    if (v.typeId() == QMetaType::QString && looksLikeDatePicture(picture)) {
        const QDateTime d = reportvalue::toDateTime(v);
        if (d.isValid())
            v = d;
    }
    try {
        return m_services.strings->FormatToString(v, picture);
    } catch (const std::exception &) {
        return reportvalue::text(value);
    }
}

QString easyReport::datePicture(bool serverFull) const
{
    if (!m_services.config)
        return serverFull ? QStringLiteral("dd/mm/yyyy HH:nn:ss") : QStringLiteral("dd/mm/yyyy");
    return m_services.config->getString(serverFull ? QStringLiteral("FORMATO-FECHA-SERVIDOR-FULL")
                                                   : QStringLiteral("FORMATO-FECHA-CLIENTE"));
}
