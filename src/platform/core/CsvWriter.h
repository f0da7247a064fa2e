#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A CSV file that a spreadsheet in a French setting opens without asking anything: UTF-8 with
// a byte-order mark, ";" between cells, CR LF between rows, a cell quoted when it holds a
// quote, a ";" or a line break. Texts typed by the family are never taken for formulas.
namespace CsvWriter
{

struct Cell {
    QString text;
    // A free text (a name, a note): neutralised when it could start a formula. Numbers
    // and dates are not, so that "-12,50" stays a negative amount.
    bool freeText = true;
};
using Row = QList<Cell>;

// A free text as written: a leading "=", "+", "-", "@", tab or CR behind an apostrophe,
// line breaks as LF only.
QString neutralised(const QString &text);
// One cell as it stands between separators, quoted when needed.
QString encodedCell(const Cell &cell);
// The whole file: byte-order mark, then every row.
QByteArray document(const QList<Row> &rows);
// The file written whole or not at all (AtomicFileWriter); throws PlatformError.
void write(const QString &path, const QList<Row> &rows);
} // namespace CsvWriter
