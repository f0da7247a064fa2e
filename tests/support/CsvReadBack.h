#pragma once

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

// CSV files as a real parser reads them: Python's csv module with the settings a French
// spreadsheet uses (UTF-8 with its byte-order mark, ";"). All files are read by one Python
// process (starting one costs far more than reading a file): write every case first, then read
// them back together.
namespace CsvReadBack
{

using Rows = QList<QStringList>;

// Each path's rows of cells; a failure of the reader gives every path one row holding
// "<error>" and its message.
inline QHash<QString, Rows> files(const QStringList &paths)
{
    static const char *script = "import csv, json, sys\n"
                                "out = {}\n"
                                "for path in sys.argv[1:]:\n"
                                "    with open(path, encoding='utf-8-sig', newline='') as f:\n"
                                "        out[path] = list(csv.reader(f, delimiter=';'))\n"
                                "print(json.dumps(out))\n";
    QProcess python;
    python.start(QStringLiteral("python3"),
                 QStringList{QStringLiteral("-c"), QLatin1String(script)} + paths);
    python.waitForFinished(30000);
    QHash<QString, Rows> result;
    if (python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        const QString message = QString::fromUtf8(python.readAllStandardError());
        for (const QString &path : paths)
            result.insert(path, {{QStringLiteral("<error>"), message}});
        return result;
    }
    const QJsonObject read = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    for (auto it = read.begin(); it != read.end(); ++it) {
        Rows rows;
        for (const QJsonValue &row : it.value().toArray()) {
            QStringList cells;
            for (const QJsonValue &cell : row.toArray())
                cells.append(cell.toString());
            rows.append(cells);
        }
        result.insert(it.key(), rows);
    }
    return result;
}

inline Rows rows(const QString &path)
{
    return files({path}).value(path);
}

} // namespace CsvReadBack
