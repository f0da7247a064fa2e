#include "CsvWriter.h"

#include "AtomicFileWriter.h"

namespace
{

const QString formulaStarts = QStringLiteral("=+-@\t\r");

} // namespace

QString CsvWriter::neutralised(const QString &text)
{
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!text.isEmpty() && formulaStarts.contains(text.front()))
        result.prepend(QLatin1Char('\''));
    return result;
}

QString CsvWriter::encodedCell(const Cell &cell)
{
    const QString text = cell.freeText ? neutralised(cell.text) : cell.text;
    const bool quoted = text.contains(QLatin1Char('"')) || text.contains(QLatin1Char(';')) ||
                        text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    if (!quoted)
        return text;
    QString escaped = text;
    escaped.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QByteArray CsvWriter::document(const QList<Row> &rows)
{
    QString text;
    for (const Row &row : rows) {
        QStringList cells;
        cells.reserve(row.size());
        for (const Cell &cell : row)
            cells.append(encodedCell(cell));
        text += cells.join(QLatin1Char(';')) + QLatin1String("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

void CsvWriter::write(const QString &path, const QList<Row> &rows)
{
    AtomicFileWriter out(path);
    out.write(document(rows));
    out.commit();
}
