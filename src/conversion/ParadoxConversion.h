#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class TableDefinition;

// The conversion of the Paradox tables found in the program directory into the program's own
// tables. Each table is read (in a process of its own) and built aside whole; its original
// files are then copied into "Tables Paradox", and only then does the new table take the
// Paradox table's place, in one rename. Stopped at any moment, the program directory holds
// each table either as it was, offered again at the next start, or converted whole.
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
        QString failure;   // the French reason the table was not written; empty when it was
        QString originals; // the folder keeping the original files of a table converted
    };
    struct Result {
        QString archive; // where the Paradox files were copied; empty if nowhere
        QString failure; // why nothing was done; empty when the tables were taken in turn
        std::vector<TableResult> tables;
        QString summary() const;
        bool complete() const;
    };

    // How far the conversion is: a French line and thousandths of the whole. Also called
    // while a reading gives nothing, so that a window can stay alive.
    using Progress = std::function<void(const QString &label, int permille)>;

    // The program's tables to convert: those whose file in `programDir` is a Paradox table,
    // and those without a file whose original an archive keeps (a conversion that stopped
    // before the new table was in place).
    static std::vector<const TableDefinition *> pending(const QString &programDir);
    static QStringList fileNames(const std::vector<const TableDefinition *> &tables);

    // What a stopped conversion left: hidden tables and copies, and the companion files
    // (.MB, .PX...) left beside a converted table when an archive keeps the same bytes.
    static void removeLeftovers(const QString &programDir);

    // Asked before each step that can still be undone: true stops the conversion there. The
    // table being converted and those after it are left as they were (offered again at the
    // next start); those already converted stay converted.
    using StopRequested = std::function<bool()>;

    static Result run(const QString &programDir, const std::vector<const TableDefinition *> &tables,
                      const Progress &progress = {}, const StopRequested &stopRequested = {});

    // One table: reads the Paradox table `tablePath` (memos from `memoPath`, possibly empty)
    // and writes the program's table at `destination`, where there is no file yet.
    static TableResult convertTable(const TableDefinition &definition, const QString &tablePath,
                                    const QString &memoPath, const QString &destination);
};
