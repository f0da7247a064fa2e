#include "BeneficiaryListFile.h"

#include "platform/FileNames.h"
#include "platform/SideFile.h"

QStringList BeneficiaryListFile::load(const QString &programDir)
{
    return SideFile::readLines(FileNames::resolve(programDir, fileName()));
}

void BeneficiaryListFile::save(const QString &programDir, const QStringList &entries)
{
    SideFile::writeLines(FileNames::resolve(programDir, fileName()), entries);
}
