#pragma once

#include <QString>

// A program directory ready for a first start: the three empty tables made from the program's
// own table definitions and a talo.ini listing the files the backup copies. A file that is
// already there, under any letter case, is never touched: it holds the family's data.
namespace ProgramDirectory
{

// Returns the names of the files it created.
QStringList provision(const QString &directory);

} // namespace ProgramDirectory
