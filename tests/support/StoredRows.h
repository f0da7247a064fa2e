#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

class TableDefinition;

// Rows put into a program directory's table file before a window opens, and read back from
// disk afterwards, each through a table component of its own: what a window saved is checked
// in the file, not in the window.
namespace StoredRows
{

using Values = QList<std::pair<QString, QString>>;

// One row: field name and typed text.
void add(const QString &folder, const TableDefinition &definition, const Values &values);

// Every row in the order of `index`, the listed fields joined by "|"; an empty field reads as
// `nullText`.
QStringList read(const QString &folder, const TableDefinition &definition, const QString &index,
                 const QStringList &fields, const QString &nullText = QString());

} // namespace StoredRows
