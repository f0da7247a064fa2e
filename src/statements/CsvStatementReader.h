#pragma once

#include "CsvColumnChoice.h"
#include "CsvTable.h"
#include "register/StatementLine.h"

#include <vector>

// The operations of a CSV statement's table, read through the columns chosen.
//
// A row of the table is an operation when its date cell starts with a digit; it must then be
// whole (date, amount or debit/credit), or the reading stops with the row's line. Blank lines
// are skipped, and so are the lines after the last operation whatever they hold (banks end
// with a balance or a total); a line without a date between two operations stops the reading.
namespace CsvStatementReader
{

// Throws StatementError naming the line; a table without any operation after its first line
// is refused too.
std::vector<StatementLine> read(const CsvTable &table, const CsvColumnChoice &choice);

} // namespace CsvStatementReader
