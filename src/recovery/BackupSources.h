#pragma once

#include <QList>
#include <QString>

class Table;

// What the backup needs of the other windows, which own the tables and the texts that the
// copy must carry.
class BackupSources
{
public:
    virtual ~BackupSources() = default;

    // LSTBENEF.LST, talosoc.inf, mutuelle.inf rewritten from the windows (throws).
    virtual void writeSideFiles() = 0;

    // Selectors to "TOUS"/"TOUTES", filter switching, TableTous to its last record.
    virtual void resetRegisterView() = 0;

    struct TableCopy {
        Table *source;
        Table *destination;
        QString keyFields;
    };
    // In order: care entries, doctors, insured persons.
    virtual QList<TableCopy> tableCopies() = 0;
};
