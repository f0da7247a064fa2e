#pragma once

#include "SchemaObject.h"

#include <QString>
#include <vector>

class SqliteDatabase;
class TableDefinition;

// The SQL objects of a table file that the program did not put there. A trigger someone added
// would run inside the program's own writes (deleting or changing entries behind its back), so
// a file holding anything but the definition's own objects is refused and left untouched:
// editing the family's file to take them out is left to the person who knows why they are
// there.
namespace ForeignObjects
{

// Objects of the file that are not among `definition.ownObjects()`: compared by kind and name
// (without regard to case, as SQL names are), and for a trigger or a view by its exact
// statement too. SQLite's own objects (sqlite_...) are never foreign.
std::vector<SchemaObject> in(SqliteDatabase &db, const TableDefinition &definition);
// Throws DatabaseError naming the foreign objects and saying how to repair the file.
void refuse(SqliteDatabase &db, const TableDefinition &definition);
// The French reason: what was found, why it is refused, and how to repair.
QString reason(const std::vector<SchemaObject> &foreign);

} // namespace ForeignObjects
