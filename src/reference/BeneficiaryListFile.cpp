#include "BeneficiaryListFile.h"

#include "platform/core/FileNames.h"
#include "platform/core/LineBreaks.h"
#include "platform/core/SideFile.h"

QStringList BeneficiaryListFile::load(const QString &programDir)
{
    return SideFile::readLines(FileNames::resolve(programDir, fileName()));
}

void BeneficiaryListFile::save(const QString &programDir, const QStringList &entries)
{
    // One name a line: a name stored with a line break (before they were kept out of entries)
    // is written with a blank in its place.
    QStringList names = entries;
    for (QString &name : names)
        name = LineBreaks::flattened(name);
    SideFile::writeLines(FileNames::resolve(programDir, fileName()), names);
}
