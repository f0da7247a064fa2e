#pragma once

#include "platform/store/Record.h"
#include "platform/store/TableDefinition.h"

#include <QString>
#include <vector>

// Puts a converted table file in place with its rows, whole or not at all: the file is built
// under a hidden temporary name beside `destination` and synchronised (build), then renamed
// into place in one step (putInPlace), over the Paradox table it replaces or where there is
// no file. Any other file found there is someone's data and is never replaced. Failures
// throw ConversionError, the temporary file removed.
class ConvertedTableWriter
{
public:
    // Returns the temporary file's path.
    static QString build(const TableDefinition &definition, const QString &destination,
                         const std::vector<Record> &rows);
    static void putInPlace(const QString &built, const QString &destination);
    // A built file that will not be put in place.
    static void discard(const QString &built);

    // build() and putInPlace() in turn.
    static void write(const TableDefinition &definition, const QString &destination,
                      const std::vector<Record> &rows);

    // Hidden tables a conversion stopped before its end left beside `destination` (with their
    // journals): a killed conversion's tables are never half-shown, but they take room.
    static void removeLeftovers(const QString &destination);
};
