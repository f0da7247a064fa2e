#include "ProgramDirectory.h"

#include "platform/core/FileNames.h"
#include "platform/core/PlatformError.h"
#include "platform/core/PlatformMessages.h"
#include "platform/core/SideFile.h"
#include "platform/store/TableStorage.h"
#include "tables/DoctorTable.h"
#include "tables/InsuredTable.h"
#include "tables/CareEntryTable.h"

#include <QDir>
#include <QFileInfo>

QStringList ProgramDirectory::provision(const QString &directory)
{
    if (!QDir().mkpath(directory))
        throw PlatformError(PlatformMessages::folderNotCreated(directory));
    QStringList created;
    for (const TableDefinition *def :
         {&CareEntryTable::definition(), &DoctorTable::definition(), &InsuredTable::definition()}) {
        const QString path = FileNames::resolve(directory, def->fileName());
        if (TableStorage::createFile(path, *def))
            created.append(def->fileName());
    }
    const QString ini = FileNames::resolve(directory, QStringLiteral("talo.ini"));
    if (!QFileInfo::exists(ini)) {
        SideFile::writeLines(ini,
                             {QStringLiteral("[ListeFichiers]"), QStringLiteral("1=LSTBENEF.LST"),
                              QStringLiteral("2=talosoc.inf"), QStringLiteral("3=mutuelle.inf"),
                              QStringLiteral("4=talo.ini")});
        created.append(QStringLiteral("talo.ini"));
    }
    return created;
}
