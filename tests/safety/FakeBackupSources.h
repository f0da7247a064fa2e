#pragma once

#include "FolderContents.h"

#include "platform/core/SideFile.h"
#include "platform/store/Table.h"
#include "platform/store/TableStorage.h"
#include "recovery/BackupSources.h"
#include "tables/CareEntryTable.h"
#include "tables/DoctorTable.h"
#include "tables/InsuredTable.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

// A program directory in a temporary folder, with the three tables holding a few rows, the
// side files and a talo.ini listing four files; and the windows' part of the backup played by
// plain members. Everything the backup is asked to do is logged in `calls`.
class FakeBackupSources : public BackupSources
{
public:
    FakeBackupSources()
        : care(CareEntryTable::definition()), doctors(DoctorTable::definition()),
          insured(InsuredTable::definition()), careCopy(CareEntryTable::definition()),
          doctorsCopy(DoctorTable::definition()), insuredCopy(InsuredTable::definition())
    {
        programDir = dir.path() + QStringLiteral("/");
        for (const TableDefinition *def : {&CareEntryTable::definition(),
                                           &DoctorTable::definition(), &InsuredTable::definition()})
            TableStorage::createFile(programDir + def->fileName(), *def);
        for (Table *t : {&care, &doctors, &insured}) {
            t->setDatabaseName(programDir);
            t->open();
        }
        care.setIndexFieldNames(CareEntryTable::indexFieldNames());
        addCare(QDate(2024, 1, 15), QStringLiteral("DUPONT"), 2500, QStringLiteral("Dr Aubert"),
                QStringLiteral("Première note\navec deux lignes"));
        addCare(QDate(2024, 3, 2), QStringLiteral("MARTIN"), 4550, QStringLiteral("Dr Blanc"),
                QString());
        addCare(QDate(2025, 6, 30), QStringLiteral("DUPONT"), 12000, QStringLiteral("Dr Caron"),
                QStringLiteral("Clé: \"valeur\"; 100 %"));
        addPerson(doctors, QStringLiteral("AUBERT"), QStringLiteral("Jean"));
        addPerson(doctors, QStringLiteral("BLANC"), QStringLiteral("Élise"));
        addPerson(insured, QStringLiteral("DUPONT"), QStringLiteral("Marie"));

        writeIni({QStringLiteral("[ListeFichiers]"), QStringLiteral("1=LSTBENEF.LST"),
                  QStringLiteral("2=talosoc.inf"), QStringLiteral("3=mutuelle.inf"),
                  QStringLiteral("4=talo.ini")});
        // Stale versions: the backup must refresh them from the windows first.
        SideFile::writeLines(programDir + QStringLiteral("LSTBENEF.LST"),
                             {QStringLiteral("TOUS"), QStringLiteral("ANCIEN")});
        SideFile::writeLines(programDir + QStringLiteral("talosoc.inf"), {QStringLiteral("x")});
        SideFile::writeLines(programDir + QStringLiteral("mutuelle.inf"), {QStringLiteral("y")});
    }

    void writeIni(const QStringList &lines)
    {
        SideFile::writeLines(programDir + QStringLiteral("talo.ini"), lines);
    }

    void addCare(const QDate &date, const QString &who, qint64 cents, const QString &doctor,
                 const QString &note)
    {
        care.append();
        care.fieldByName(CareFields::DateSoins).setAsDate(date);
        care.fieldByName(CareFields::Beneficiaire).setAsString(who);
        care.fieldByName(CareFields::Medecin).setAsString(doctor);
        care.fieldByName(CareFields::Cout).setAsCents(cents);
        care.fieldByName(CareFields::NoteSoins).setAsString(note);
        care.fieldByName(CareFields::MutuelleOuiNon).setAsString(CareFields::Faux);
        care.post();
    }

    static void addPerson(Table &table, const QString &name, const QString &firstName)
    {
        table.append();
        table.fieldByName(QStringLiteral("Nom")).setAsString(name);
        table.fieldByName(QStringLiteral("Prenom")).setAsString(firstName);
        table.post();
    }

    // Shows only DUPONT's entries, as the main window's selector would.
    void filterOnDupont()
    {
        care.onFilterRecord = [](Table &t) {
            return t.fieldByName(CareFields::Beneficiaire).asString() == QLatin1String("DUPONT");
        };
        care.setFiltered(true);
    }

    void writeSideFiles() override
    {
        calls.append(QStringLiteral("writeSideFiles"));
        if (duringBackup)
            duringBackup();
        const QCursor *cursor = QApplication::overrideCursor();
        cursorDuringBackup = cursor ? cursor->shape() : Qt::ArrowCursor;
        SideFile::writeLines(programDir + QStringLiteral("LSTBENEF.LST"), beneficiaries);
        SideFile::writeLines(programDir + QStringLiteral("talosoc.inf"), national);
        SideFile::writeLines(programDir + QStringLiteral("mutuelle.inf"), mutual);
    }

    void resetRegisterView() override
    {
        calls.append(QStringLiteral("resetRegisterView"));
        care.setFiltered(false);
        care.last();
    }

    QList<TableCopy> tableCopies() override
    {
        calls.append(QStringLiteral("tableCopies"));
        return {{&care, &careCopy, CareEntryTable::indexFieldNames()},
                {&doctors, &doctorsCopy, DoctorTable::indexFieldNames()},
                {&insured, &insuredCopy, InsuredTable::indexFieldNames()}};
    }

    // Run as the backup starts: what a person does while it works.
    std::function<void()> duringBackup;
    QTemporaryDir dir;
    QString programDir;
    Table care, doctors, insured;
    Table careCopy, doctorsCopy, insuredCopy;
    QStringList beneficiaries{QStringLiteral("TOUS"), QStringLiteral("DUPONT"),
                              QStringLiteral("MARTIN")};
    QStringList national{QStringLiteral("CPAM"), QStringLiteral("1 23 45"),
                         QStringLiteral("Caisse de Lyon"), QStringLiteral("1 rue Haute")};
    QStringList mutual{QStringLiteral("Mutuelle Générale"), QStringLiteral("2 rue Basse"),
                       QStringLiteral("01 02 03 04 05"), QStringLiteral("987"),
                       QStringLiteral("Tiers payant")};
    QStringList calls;
    Qt::CursorShape cursorDuringBackup = Qt::ArrowCursor;
};
