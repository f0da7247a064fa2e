#pragma once

#include "platform/core/CsvWriter.h"

#include <QString>
#include <QVariant>

class Table;
struct FieldDef;

// A table's rows as the window shows them (its filter and order), as CSV rows: a header of the
// fields' display names, then every field but the internal row number, calculated ones
// included, in the forms a French spreadsheet reads as values (1234,50; 31/12/2024; 70%). The
// care table's rows end with the names of their proofs ("Pièces jointes"), read in one query.
namespace TableCsvExport
{

QList<CsvWriter::Row> rows(Table &table);
// The rows written to `path` whole or not at all; returns the number of records written.
int write(Table &table, const QString &path);
// One value as a cell.
CsvWriter::Cell cell(const FieldDef &field, const QVariant &value);
} // namespace TableCsvExport
