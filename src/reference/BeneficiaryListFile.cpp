#include "BeneficiaryListFile.h"

#include "platform/FileNames.h"
#include "platform/SideFile.h"
#include "platform/SingleLineText.h"

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
        name = SingleLineText::flattened(name);
    SideFile::writeLines(FileNames::resolve(programDir, fileName()), names);
}
