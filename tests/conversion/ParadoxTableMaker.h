#pragma once

#include <QString>
#include <QVariant>

#include <vector>

// Writes Paradox tables with pxlib itself, as the tests' own sample files: a value per field,
// QString (written in Windows-1252), QDate, double, qlonglong, or a null QVariant for empty.
namespace ParadoxTableMaker
{

struct Field {
    QString name;
    int type = 0;   // pxlib's field type code
    int length = 0; // bytes in the record
};

// The three tables' fields as the files of the original program hold them.
std::vector<Field> careEntryFields();
std::vector<Field> doctorFields();
std::vector<Field> insuredFields();
// The fields of the table with that file name ("TALO.DB"...).
std::vector<Field> fieldsOf(const QString &tableFile);

// Writes `tablePath` and, when `memoPath` is not empty, its memo file.
void write(const QString &tablePath, const QString &memoPath, const std::vector<Field> &fields,
           const std::vector<std::vector<QVariant>> &rows);

} // namespace ParadoxTableMaker
