#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class TableDefinition;

// The conversion of the Paradox tables found in the program directory into the program's own
// tables. The Paradox files are first moved, untouched, into "Tables Paradox"; each table is
// then read from there and written whole beside them, or not at all.
class ParadoxConversion
{
public:
    struct LeftOutRow {
        int number = 0; // in the Paradox table, 1 first
        QString description;
        QString reason;
    };
    struct TableResult {
        QString tableFile;
        int converted = 0;
        std::vector<LeftOutRow> leftOut;
        QStringList fieldsNotCarried;
        QString failure; // the French reason the table was not written; empty when it was
    };
    struct Result {
        QString archive; // where the Paradox files went; empty if they did not move
        QString failure; // why nothing was done; empty when the tables were taken in turn
        std::vector<TableResult> tables;
        QString summary() const;
        bool complete() const;
    };

    // The program's tables whose file in `programDir` is a Paradox table.
    static std::vector<const TableDefinition *> pending(const QString &programDir);
    static QStringList fileNames(const std::vector<const TableDefinition *> &tables);

    static Result run(const QString &programDir,
                      const std::vector<const TableDefinition *> &tables);

    // One table: reads the Paradox table `tablePath` (memos from `memoPath`, possibly empty)
    // and writes the program's table at `destination`.
    static TableResult convertTable(const TableDefinition &definition, const QString &tablePath,
                                    const QString &memoPath, const QString &destination);
};
