#pragma once

#include "support/StoredRows.h"

#include "platform/store/Table.h"
#include "platform/store/TableStorage.h"
#include "tables/DoctorTable.h"
#include "tables/InsuredTable.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

// A program directory for the window tests: table files created empty from the program's own
// definitions, rows put in and read back through components of their own, so that what a
// window saved is checked on disk.
class ProgramFolder
{
public:
    ProgramFolder() = default;

    bool isValid() const { return dir_.isValid(); }
    // With its trailing separator, as the program hands it to the windows.
    QString path() const { return QDir(dir_.path()).filePath(QString()); }
    QString filePath(const QString &name) const { return QDir(dir_.path()).filePath(name); }

    void createDoctors()
    {
        TableStorage::createFile(filePath("MEDECINS.DB"), DoctorTable::definition());
    }
    void createInsured()
    {
        TableStorage::createFile(filePath("ASSURE.DB"), InsuredTable::definition());
    }

    // Values in the order of `fields`.
    void addDoctor(const QStringList &fields, const QStringList &values)
    {
        add(DoctorTable::definition(), fields, values);
    }
    void addInsured(const QStringList &fields, const QStringList &values)
    {
        add(InsuredTable::definition(), fields, values);
    }

    // Every row of the file in key order, the listed fields joined by "|".
    QStringList doctors(const QStringList &fields) const
    {
        return rows(DoctorTable::definition(), DoctorTable::indexFieldNames(), fields);
    }
    QStringList insured(const QStringList &fields) const
    {
        return rows(InsuredTable::definition(), InsuredTable::indexFieldNames(), fields);
    }

private:
    void add(const TableDefinition &def, const QStringList &fields, const QStringList &values)
    {
        StoredRows::Values pairs;
        for (qsizetype i = 0; i < fields.size(); ++i)
            pairs.append({fields[i], values.value(i)});
        StoredRows::add(path(), def, pairs);
    }

    QStringList rows(const TableDefinition &def, const QString &index,
                     const QStringList &fields) const
    {
        return StoredRows::read(path(), def, index, fields);
    }

    QTemporaryDir dir_;
};
