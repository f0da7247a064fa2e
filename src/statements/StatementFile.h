#pragma once

#include "CsvColumnChoice.h"
#include "CsvTable.h"
#include "register/StatementLine.h"

#include <QString>

#include <optional>
#include <vector>

// A bank statement as read: its operations in the file's order, or, for a CSV file whose
// columns were neither recognised from their titles nor remembered for its bank, the table
// read so far, waiting for the person to say which column is which
// (StatementReader::withColumns).
struct StatementFile {
    enum class Format { Ofx, Csv };

    QString path;
    Format format = Format::Csv;
    QString encoding; // CSV: "UTF-8", "UTF-16" or "Windows-1252"
    std::vector<StatementLine> lines;
    CsvTable table;                         // CSV: the records, for the column choice
    std::optional<CsvColumnChoice> columns; // CSV: the columns the lines were read through
    QString columnProblem; // CSV: why the columns remembered for the bank did not read it

    bool needsColumnChoice() const { return format == Format::Csv && !columns; }
};
