#pragma once

#include <QString>
#include <functional>

class SqliteDatabase;
class TableDefinition;
class TableStorage;

// A table file's format version (PRAGMA user_version) against its definition's history
// (TableDefinition::formatHistory). An older file is copied aside, then brought up to date in
// one transaction at open; a newer one is only read, since its added columns and objects mean
// nothing here; a table whose own statement is not exactly its version's (a constraint added
// by hand could replace or drop entries) is refused like a foreign trigger, and left as it was.
namespace FileFormat
{

// The points an upgrade passes, where a test stops the process as a crash would.
enum class Step { CopyWritten, CopyInPlace, Migrated, Committed };
using StopPoint = std::function<void(Step)>;

int versionOf(SqliteDatabase &db);
bool isNewer(SqliteDatabase &db, const TableDefinition &definition);
// The French reason a newer file is opened for reading only.
QString newerReason(int found, int known);
// For the writers of a file's other objects: throws DatabaseError when the file is newer.
void refuseNewer(SqliteDatabase &db, const TableDefinition &definition);
// Throws DatabaseError when `table`'s statement is not that of the file's version (or the
// version is unknown). Nothing is checked for a definition without a history.
void checkTable(SqliteDatabase &db, const TableDefinition &definition, const QString &table);
// Where a file of `version` is copied before it is brought up to date, beside it.
QString asidePath(const QString &path, int version);
// Copies the older file aside (owner-only, complete or not there at all), then runs the
// statements of every later version and stamps the last one, in one transaction: a failure or
// a crash anywhere leaves the file as it was. Throws DatabaseError.
void upgrade(TableStorage &storage, const StopPoint &stop = {});

} // namespace FileFormat
