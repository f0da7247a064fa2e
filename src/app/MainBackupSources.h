#pragma once

#include "recovery/BackupSources.h"

class TFrmPrincipale;
struct TaloWindows;

// What the backup copy takes from the running windows: their side files, the register's view
// and the three tables with their copies.
class MainBackupSources : public BackupSources
{
public:
    MainBackupSources(TFrmPrincipale &main, TaloWindows &windows);

    void writeSideFiles() override;
    void resetRegisterView() override;
    QList<TableCopy> tableCopies() override;

private:
    TFrmPrincipale &main_;
    TaloWindows &windows_;
};
