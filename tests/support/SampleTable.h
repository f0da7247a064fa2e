#pragma once

#include "platform/store/Table.h"
#include "platform/store/TableDefinition.h"

#include <QTemporaryDir>

#include <memory>

// A small table with one field of every kind, for tests of the table store.
namespace SampleTable
{

TableDefinition definition();
// A fresh folder holding an empty SAMPLE.DB.
void createIn(const QString &folder);
// A table component opened over SAMPLE.DB in `folder`.
std::unique_ptr<Table> openIn(const QString &folder);
// Appends and posts one row (name, date, amount in cents).
void addRow(Table &table, const QString &name, const QDate &date, qint64 cents);

} // namespace SampleTable
