#pragma once

#include "platform/store/Record.h"
#include "platform/store/TableDefinition.h"

#include <QString>
#include <vector>

// Puts a new table file in place with its rows, whole or not at all: the file is built under
// a hidden temporary name beside `destination`, synchronised, and renamed only once every row
// is in. A file already at `destination` is never replaced. Failures throw ConversionError.
class ConvertedTableWriter
{
public:
    static void write(const TableDefinition &definition, const QString &destination,
                      const std::vector<Record> &rows);
};
