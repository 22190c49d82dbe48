#pragma once

// A report control over a test database, with the object factory scripts build reports with
// and a fixed clock, so page logs are the same on every run.
#include "ConnectionProvider.h"
#include "ReportFactory.h"
#include "ScriptedPrompter.h"
#include "cObjectFactory.h"
#include "cReportPrinter.h"
#include "cString.h"
#include "easyReport.h"

#include "Connection.h"
#include "Engine.h"

#include <QFile>
#include <QTest>

#include <memory>

struct EjecucionReporte {
    explicit EjecucionReporte(db::Connection *c, int paginasEnMemoria = 0) : provider(c)
    {
        registraObjetosReporte(factory);
        ReportServices s;
        s.connections = &provider;
        s.strings = &strings;
        s.prompter = &prompter;
        s.hostObjects = [this](vbs::Engine &e) { e.addObject(QStringLiteral("xFactory"), factory.scriptHost()); };
        s.clock = [] { return QDateTime(QDate(2026, 12, 7), QTime(9, 30, 0)); };
        s.pagesInMemory = paginasEnMemoria;
        report = std::make_unique<easyReport>(s);
    }

    // Every composed page's log, each after a "=== Pagina N" line.
    QString paginas()
    {
        QString out;
        for (int p = 1; p <= report->pageCount(); ++p)
            out += QStringLiteral("=== Pagina %1\n").arg(p) + cReportPrinter::logToText(report->pageLog(p));
        return out;
    }

    // The texts drawn on a page, in order.
    QStringList textos(int page)
    {
        QStringList out;
        for (const ReportLogRecord &r : report->pageLog(page))
            if (r.operation == u"DrawText")
                out << r.arguments.value(4);
        return out;
    }

    FixedConnectionProvider provider;
    ScriptedPrompter prompter;
    cObjectFactory factory;
    cString strings;
    std::unique_ptr<easyReport> report;
};

// Compares text with a file of tests/data/reports; with MDR_REGENERA_REPORTES set the file is
// written instead, to be read and committed on purpose.
inline bool comparaGoldenReporte(const QString &name, const QString &actual)
{
    const QString path = qEnvironmentVariable("MDR_TEST_DATA") + QStringLiteral("/reports/") + name;
    if (qEnvironmentVariableIsSet("MDR_REGENERA_REPORTES")) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write(actual.toUtf8());
        return true;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        qWarning("golden file %s missing", qPrintable(path));
        return false;
    }
    const QString expected = QString::fromUtf8(f.readAll());
    if (expected == actual)
        return true;
    const QStringList a = actual.split(u'\n'), e = expected.split(u'\n');
    for (int i = 0; i < qMax(a.size(), e.size()); ++i)
        if (a.value(i) != e.value(i)) {
            qWarning("line %d differs:\n  expected: %s\n  actual:   %s", i + 1, qPrintable(e.value(i)),
                     qPrintable(a.value(i)));
            break;
        }
    return false;
}
