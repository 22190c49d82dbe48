#pragma once

#include "ReportFormulas.h"
#include "ReportRun.h"
#include "cPrintSection.h"
#include "cReportPrinter.h"

#include "Recordset.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTemporaryFile>

#include <functional>
#include <map>
#include <memory>

class ConnectionProvider;
class Prompter;
class cCollectionContainer;
class cConfigure;
class cPrintObject;
class cPrintGroup;
class cString;

// A value the report's query and formulas read: the key, the value, the end of a range.
class cParametroReporte : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString sKey MEMBER sKey)
    Q_PROPERTY(QVariant sValue MEMBER sValue)
    Q_PROPERTY(QVariant sValueExtra MEMBER sValueExtra)
    Q_PROPERTY(QString DataType MEMBER dataType)
public:
    using QObject::QObject;
    QString sKey;
    QVariant sValue;
    QVariant sValueExtra;
    QString dataType;
};

// What a report needs from the program: the database, configuration, value formatting,
// messages and the objects scripts see.
struct ReportServices {
    ConnectionProvider *connections = nullptr;
    cConfigure *config = nullptr;                   // none: the defaults (60 pages in memory …)
    cString *strings = nullptr;                     // value formatting; none: plain texts
    Prompter *prompter = nullptr;                   // none: questions are answered No and messages logged
    std::function<void(vbs::Engine &)> hostObjects; // "xConfig", "cn", "xApp", "xFactory" …
    std::function<QDateTime()> clock;               // none: the computer's clock
    int pagesInMemory = 0;                          // 0: REPORTE-PAGINAS-EN-MEMORIA, or 60
};

// The report control: six sections of objects, the query and its parameters, and the banding
// loop that turns rows into pages on the report printer. Composed pages are kept as page logs
// (the oldest in temporary files beyond the in-memory limit) so the preview shows any page again
// without composing it.
class easyReport : public QObject, public ReportRun {
    Q_OBJECT
    Q_PROPERTY(bool EndOfData READ EndOfData)
    Q_PROPERTY(int PaperSize READ paperSize WRITE setPaperSize)
    Q_PROPERTY(bool CancelReport MEMBER m_cancel)
    Q_PROPERTY(QString PrintForm MEMBER m_printForm)
    Q_PROPERTY(double UserPageWidth READ UserPageWidth WRITE setUserPageWidth)
    Q_PROPERTY(double UserPageHeight READ UserPageHeight WRITE setUserPageHeight)
    Q_PROPERTY(bool EndDocByNewPage MEMBER m_endDocByNewPage)
    Q_PROPERTY(bool AddAllFields MEMBER m_addAllFields)
    Q_PROPERTY(int OrientPage READ orientPage WRITE setOrientPage)
    Q_PROPERTY(QString SQL MEMBER m_sql)
    Q_PROPERTY(double HeaderHeight READ HeaderHeight WRITE setHeaderHeight)
    Q_PROPERTY(double FooterHeight READ FooterHeight WRITE setFooterHeight)
    Q_PROPERTY(double PageWidth READ PageWidth)
    Q_PROPERTY(double PageHeight READ PageHeight)
    Q_PROPERTY(int CurrentPage READ currentPage)
    Q_PROPERTY(QObject *ReportPrinter READ reportPrinterObject)
public:
    explicit easyReport(ReportServices services, QObject *parent = nullptr);
    ~easyReport() override;

    Q_INVOKABLE QString ObjectType() const { return QStringLiteral("easyReport"); }
    bool EndOfData() const;

    Q_INVOKABLE void addHeaderObject(QObject *object);
    Q_INVOKABLE void addGroupObject(QObject *object);
    Q_INVOKABLE void addDetailObject(QObject *object);
    Q_INVOKABLE void addSumaryObject(QObject *object);
    Q_INVOKABLE void addFooterObject(QObject *object);
    Q_INVOKABLE void addReportFooterObject(QObject *object);
    Q_INVOKABLE void addObject(QObject *object);
    Q_INVOKABLE bool existObject(const QString &name) const;
    Q_INVOKABLE QObject *getObject(const QString &name) const;
    cPrintObject *object(const QString &name) const;

    Q_INVOKABLE void setPrinter(const QString &deviceName) { m_printerName = deviceName; }
    QString printerName() const { return m_printerName; }
    Q_INVOKABLE void setParam(const QString &key, const QVariant &value, const QVariant &extra = QVariant(),
                              const QString &dataType = QString());
    Q_INVOKABLE QObject *getParameter(const QString &key) const;
    Q_INVOKABLE QVariant getParameterValue(const QString &key) const;
    Q_INVOKABLE QVariant getParameterValueExtra(const QString &key) const;
    Q_INVOKABLE QString getParameterDataType(const QString &key) const;
    Q_INVOKABLE QString getPropertyValueScript(const QString &property) const;
    Q_INVOKABLE void checkSizeSections();
    // Forgets objects, sections' contents, parameters and the query.
    Q_INVOKABLE void Clear();

    double UserPageWidth() const { return m_userWidth; }
    void setUserPageWidth(double w);
    double UserPageHeight() const { return m_userHeight; }
    void setUserPageHeight(double h);
    double HeaderHeight() const { return m_header->Height(); }
    void setHeaderHeight(double h);
    double FooterHeight() const { return m_footer->Height(); }
    void setFooterHeight(double h);
    double PageWidth() const;
    double PageHeight() const;
    int currentPage() const { return m_page; }
    QString printForm() const { return m_printForm; }
    int paperSize() const { return m_paperSize; }
    // VB paper codes: 1 Letter, 5 Legal, 9 A4 (others Letter); the printable area follows.
    void setPaperSize(int code);
    struct Paper {
        double widthMm, heightMm, marginMm;
    };
    static Paper paperOf(int code);
    int orientPage() const { return m_orientPage; }
    void setOrientPage(int orient)
    {
        m_orientPage = orient;
        checkSizeSections();
    }
    QString sql() const { return m_sql; }

    // Runs the report program: "sub reporte()" code "end sub", with the host objects and "xRpt".
    bool configureScript(const QString &code, QString *error = nullptr);

    // Starts a run and composes the first page; false when it could not start.
    bool printReport();
    // The run start alone: parameters bound, query opened, sections reset.
    bool startRun();
    // Composes the next page (preview mode); false when the report has no more pages.
    bool composeNext();
    // Composes pages until page n exists or the report ends; true when page n exists.
    bool composeUntil(int page);
    bool finished() const;
    int pageCount() const { return m_page; }
    // A composed page's log (from memory or its temporary file); empty for an unknown page.
    ReportPageLog pageLog(int page) const;
    int pagesInMemory() const;
    // Prints on the printer canvas: copies, pages from..to (0: to the end), composing the pages
    // before `from` without output. False when the job could not start.
    bool printPages(ReportCanvas &printer, int copies = 1, int from = 1, int to = 0);
    // The report's query as resolved at run start, as RFC 4180 CSV (values with commas, quotes or
    // line breaks quoted).
    bool exportCsv(const QString &file, QString *error = nullptr);

    // Stop flag read between pages.
    void stop() { m_stopRequested = true; }
    bool stopRequested() const { return m_stopRequested; }
    QStringList errors() const { return m_errors; }
    void addError(const QString &text, const QString &detail = QString());
    // Called when composing listed errors and the user wants to see them.
    void setErrorListShower(std::function<void(const QStringList &)> show) { m_showErrors = std::move(show); }
    Q_INVOKABLE void showErrorList();

    cReportPrinter &printer() { return *m_printer; }
    QObject *reportPrinterObject() const { return m_printer; }
    cPrintSection &headerSection() { return *m_header; }
    cPrintSection &groupSection() { return *m_group; }
    cPrintSection &detailSection() { return *m_detail; }
    cPrintSection &sumarySection() { return *m_sumary; }
    cPrintSection &footerSection() { return *m_footer; }
    cPrintSection &reportFooterSection() { return *m_reportFooter; }
    // Formulas compiled in the current run (each text once).
    int compiledFormulas() const { return m_formulas.compiledCount(); }
    // The query with its parameter references replaced by placeholders, and their values.
    bool resolveSql(QString &sql, QList<QVariant> &values, QString *missing) const;

    // ReportRun
    Outcome evaluate(cPrintObject &owner, const QString &formula, vbs::Value &result) override;
    bool runOnPrint(cPrintObject &owner, const QString &statements) override;
    QString format(const QVariant &value, const QString &picture) const override;
    QString datePicture(bool serverFull) const override;

private:
    void addTo(cPrintSection &section, QObject *object, const char *prefix);
    void printPage();
    bool loadRow();
    void moveNext();
    void printGroupSummary(bool atEnd);
    void placeInDetail(cPrintSection &section, bool summary);
    // Formulas and images, not summaries: a summary that refers to itself would count the row again.
    void refreshFormulas();
    void storePage();
    void askErrors();
    void resetSections();
    // The objects that rows refresh, by class, in the order they were added.
    struct PorClase {
        QList<cPrintObject *> formulas, imagenes, sumarios;
        QList<cPrintGroup *> grupos;
    };
    const PorClase &porClase();
    bool openData();

    ReportServices m_services;
    cReportPrinter *m_printer;
    cPrintSection *m_header, *m_group, *m_detail, *m_sumary, *m_footer, *m_reportFooter;
    std::vector<QPointer<cPrintObject>> m_objects; // every object, in the order added
    PorClase m_porClase;
    bool m_porClaseValido = false;
    QHash<QString, cPrintObject *> m_byName;      // folded name -> object
    cCollectionContainer *m_bag;                  // the objects as scripts' "xRpt"
    QHash<QString, cParametroReporte *> m_params; // folded key
    ReportFormulas m_formulas;
    std::unique_ptr<vbs::Engine> m_program;

    QString m_sql;
    QString m_printerName;
    QString m_printForm;
    int m_paperSize = 0;
    int m_orientPage = 1;
    double m_userWidth = -1, m_userHeight = -1;
    bool m_cancel = false, m_addAllFields = true, m_endDocByNewPage = false;

    db::Recordset m_rs;
    bool m_haveData = false;
    QList<std::pair<cPrintObject *, int>> m_fieldColumns; // field -> column index
    QString m_resolvedSql;
    QList<QVariant> m_resolvedValues;
    QDateTime m_printDateTime;
    int m_page = 0;
    qint64 m_rowSerial = 0;  // rows moved to in this run
    qint64 m_rowLoaded = -1; // the row whose values the objects hold
    bool m_groupsStarted = false;
    bool m_firstGroup = false;
    bool m_stalled = false;
    bool m_stopRequested = false;
    bool m_runStarted = false;
    quint64 m_runId = 0;
    struct PendingSection {
        cPrintSection *section;
        QList<std::pair<cPrintObject *, QVariant>> values;
    };
    std::vector<PendingSection> m_pending;
    int m_errorsAsked = 0;

    struct CachedPage {
        ReportPageLog log;
        std::unique_ptr<QTemporaryFile> file; // when the log went to disk
    };
    std::map<int, CachedPage> m_cache;
    std::vector<int> m_inMemory; // pages whose logs are in memory, oldest first

    QStringList m_errors;
    QHash<QString, bool> m_formulaErrors;
    std::function<void(const QStringList &)> m_showErrors;
};
