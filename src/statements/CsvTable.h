#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include <vector>

// One record of a CSV file: its cells (blanks around them removed) and the line it starts on.
struct CsvRow {
    int line = 0;
    QStringList cells;

    bool isBlank() const;
    QString cell(int column) const
    {
        return column >= 0 && column < cells.size() ? cells.at(column) : QString();
    }
};

// A CSV file as French banks write it, split into records: ";" "," or tab as separator (the one
// that splits the most lines into the same number of columns), fields in double quotes that may
// hold the separator, doubled quotes and line breaks.
class CsvTable
{
public:
    CsvTable() = default;

    // Throws StatementError naming the line of a quote never closed, of a character that is no
    // text, or line 1 when no separator splits the lines into columns.
    static CsvTable parse(const QString &text);
    static CsvTable parse(const QString &text, QChar separator);

    static QChar detectSeparator(const QString &text);

    QChar separator() const { return separator_; }
    const std::vector<CsvRow> &rows() const { return rows_; }
    // The number of columns most records have (the table's width).
    int columnCount() const { return columnCount_; }
    // The record starting on `line`, or nullptr.
    const CsvRow *rowAt(int line) const;

private:
    QChar separator_ = u';';
    std::vector<CsvRow> rows_;
    int columnCount_ = 0;
};
