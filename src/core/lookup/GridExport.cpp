#include "GridExport.h"

#include "Prompter.h"
#include "cAplication.h"
#include "cConfigure.h"

#include <QAbstractItemModel>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

const QString GridExport::kOverwriteQuestion = QStringLiteral("El archivo ya existe, desea sobreescribirlo");

namespace {

// A cell that holds the separator, a quote or a line break is quoted, so it stays one cell.
QString cell(const QVariant &value)
{
    QString text = value.toString();
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
        text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        text = QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text;
}

} // namespace

QString GridExport::toText(const QAbstractItemModel &model, const QList<int> &columns)
{
    QList<int> cols = columns;
    if (cols.isEmpty())
        for (int c = 0; c < model.columnCount(); ++c)
            cols << c;

    QString out;
    QStringList cells;
    for (int c : cols)
        cells << cell(model.headerData(c, Qt::Horizontal, Qt::DisplayRole));
    out += cells.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    for (int r = 0; r < model.rowCount(); ++r) {
        cells.clear();
        for (int c : cols)
            cells << cell(model.data(model.index(r, c), Qt::DisplayRole));
        out += cells.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return out;
}

QString GridExport::exportExtension(const cConfigure &config)
{
    QString ext = config.getValue(QStringLiteral("SETTING-EXPORT-EXTENSION")).toString().trimmed();
    while (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    return ext.isEmpty() ? QStringLiteral("csv") : ext;
}

bool GridExport::write(const QString &fileName, const QString &text)
{
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(text.toUtf8());
    return f.commit();
}

bool GridExport::exportToFile(const QAbstractItemModel &model, const QString &fileName, Prompter &prompter,
                              const QList<int> &columns)
{
    if (fileName.isEmpty())
        return false;
    if (QFileInfo::exists(fileName) && !prompter.question(kOverwriteQuestion, false))
        return false;
    return write(fileName, toText(model, columns));
}

QString GridExport::quickExport(const QAbstractItemModel &model, cAplication &app, const QString &extension,
                                const QList<int> &columns)
{
    app.msgBar(QStringLiteral("Exportando"));
    const QString fileName = app.getTempFile(QStringLiteral("zevexp"), extension);
    if (fileName.isEmpty() || !write(fileName, toText(model, columns)))
        return {};
    app.ShellOperation(fileName, QStringLiteral("open"));
    return fileName;
}
