#pragma once

#include "platform/store/Table.h"
#include "platform/store/TableStorage.h"
#include "tables/DoctorTable.h"
#include "tables/CareEntryTable.h"

#include <QDir>
#include <QFile>

// Real table files for the report forms' tests: empty TALO.DB and MEDECINS.DB in a folder, and
// rows posted through a table component as the windows post them.
namespace ReportFiles
{

// Replaces both files of `folder` by empty ones.
inline bool createEmpty(const QString &folder)
{
    const QDir dir(folder);
    QFile::remove(dir.filePath(QStringLiteral("TALO.DB")));
    QFile::remove(dir.filePath(QStringLiteral("MEDECINS.DB")));
    return TableStorage::createFile(dir.filePath(QStringLiteral("TALO.DB")),
                                    CareEntryTable::definition()) &&
           TableStorage::createFile(dir.filePath(QStringLiteral("MEDECINS.DB")),
                                    DoctorTable::definition());
}

struct Care {
    QString date, beneficiary, doctor, cost, cpam = {}, mutual = {};
};

// Posts one care entry (texts as typed: "15/03/97", "1234,50"; empty leaves a field empty).
inline void addCare(Table &table, const Care &care)
{
    using namespace CareFields;
    table.append();
    table.fieldByName(DateSoins).setAsString(care.date);
    table.fieldByName(Beneficiaire).setAsString(care.beneficiary);
    table.fieldByName(Medecin).setAsString(care.doctor);
    table.fieldByName(Cout).setAsString(care.cost);
    table.fieldByName(MontantCPAM).setAsString(care.cpam);
    if (!care.cpam.isEmpty())
        table.fieldByName(DateCPAM).setAsString(care.date);
    table.fieldByName(MontantMutuelle).setAsString(care.mutual);
    if (!care.mutual.isEmpty())
        table.fieldByName(DateMutuelle).setAsString(care.date);
    table.post();
}

struct Doctor {
    QString name, firstName = {}, speciality = {}, address = {}, town = {}, postCode = {},
                  phone = {};
};

inline void addDoctor(Table &table, const Doctor &doctor)
{
    using namespace DoctorFields;
    table.append();
    table.fieldByName(Nom).setAsString(doctor.name);
    table.fieldByName(Prenom).setAsString(doctor.firstName);
    table.fieldByName(Specialite).setAsString(doctor.speciality);
    table.fieldByName(Adresse).setAsString(doctor.address);
    table.fieldByName(Ville).setAsString(doctor.town);
    table.fieldByName(CodePostal).setAsString(doctor.postCode);
    table.fieldByName(Tel).setAsString(doctor.phone);
    table.post();
}

} // namespace ReportFiles
