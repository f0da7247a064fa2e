#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStringList>

// A CSV file as a real parser reads it: Python's csv module with the settings a French
// spreadsheet uses (UTF-8 with its byte-order mark, ";"). Rows of cells; a failure of the
// reader gives one row holding "<error>" and its message.
namespace CsvReadBack
{

inline QList<QStringList> rows(const QString &path)
{
    static const char *script = "import csv, json, sys\n"
                                "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                "    print(json.dumps(list(csv.reader(f, delimiter=';'))))\n";
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QLatin1String(script), path});
    python.waitForFinished(30000);
    if (python.exitCode() != 0)
        return {{QStringLiteral("<error>"), QString::fromUtf8(python.readAllStandardError())}};
    QList<QStringList> result;
    for (const QJsonValue &row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList cells;
        for (const QJsonValue &cell : row.toArray())
            cells.append(cell.toString());
        result.append(cells);
    }
    return result;
}

} // namespace CsvReadBack
