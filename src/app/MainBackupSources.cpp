#include "MainBackupSources.h"

#include "TFrmPrincipale.h"
#include "TaloWindows.h"

#include "tables/DoctorTable.h"
#include "tables/InsuredTable.h"
#include "reference/TFrmInfos.h"
#include "reference/TFrmMedecins.h"
#include "tables/CareEntryTable.h"

MainBackupSources::MainBackupSources(TFrmPrincipale &main, TaloWindows &windows)
    : main_(main), windows_(windows)
{
}

void MainBackupSources::writeSideFiles()
{
    main_.writeSideFiles();
}

void MainBackupSources::resetRegisterView()
{
    main_.resetRegisterView();
}

QList<BackupSources::TableCopy> MainBackupSources::tableCopies()
{
    return {
        {&main_.tableTous(), &main_.tableCopieTous(), CareEntryTable::indexFieldNames()},
        {&windows_.frmMedecins->tableMedecins(), &windows_.frmMedecins->tableCopieMedecins(),
         DoctorTable::indexFieldNames()},
        {&windows_.frmInfos->tableAssure(), &windows_.frmInfos->tableCopieAssure(),
         InsuredTable::indexFieldNames()},
    };
}
