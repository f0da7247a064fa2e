#pragma once

#include "CsvColumnChoice.h"
#include "CsvTable.h"

#include <QString>

#include <optional>

// The columns a person chose for a bank's CSV files, kept in talo.ini (section
// "ReleveColonnes") so that the next statement of the same bank is read without asking.
// A bank is known by its line of titles (a digest of it: "titres-<16 hex digits>"), or, for a
// table without titles, by its number of columns and separator ("sans-titres-<n>-<sep>").
// The value lists the columns from 1: "date=1;libelle=3;montant=4" or "...;debit=4;credit=5",
// and "debut=N" (the first line of the rows) for a table without titles.
class CsvColumnMemory
{
public:
    explicit CsvColumnMemory(QString iniPath);

    static QString section() { return QStringLiteral("ReleveColonnes"); }

    // The choice remembered for this table's bank, its lines set for this file; nothing when
    // none is remembered (or what is stored does not fit the table). A talo.ini that exists
    // but cannot be read throws PlatformError.
    std::optional<CsvColumnChoice> recall(const CsvTable &table) const;

    // Throws PlatformError when talo.ini cannot be written (the old file intact).
    void remember(const CsvTable &table, const CsvColumnChoice &choice) const;

    static QString keyOf(const CsvTable &table, const CsvColumnChoice &choice);
    static QString valueOf(const CsvColumnChoice &choice);
    static std::optional<CsvColumnChoice> parseValue(const QString &value);

private:
    QString iniPath_;
};
